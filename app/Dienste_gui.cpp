#include "app/Dienste_gui.h"

#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/IndexDatei.h"
#include "core/IndexEreignisse.h"
#include "core/Meldungen.h"
#include "core/frmFortschritt.h"
#include "library/Besitzer.h"
#include "library/frmDateiNichtVerfuegbar.h"
#include "library/frmDateiname.h"
#include "library/frmIndexVerwaltung.h"
#include "library/frmVerschiebenDateiExistiert.h"
#include "mainwindow/frmBildAnzeige.h"
#include "mainwindow/frmMain.h"
#include "media/MedienInfosLesen.h"
#include "media/frmMp3Tag.h"
#include "player/Abspielen.h"
#include "player/Statistik.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

Antwort MeldungsfensterZeigen(const Meldung& m)
{
    QWidget* besitzer = qobject_cast<QWidget*>(m.besitzer);
    if (!besitzer)
        besitzer = QApplication::activeWindow();
    QMessageBox box(besitzer);
    box.setWindowTitle(ProgrammTitel());
    box.setText(m.text);
    switch (m.symbol) {
    case Symbol::Information: box.setIcon(QMessageBox::Information); break;
    case Symbol::Ausruf: box.setIcon(QMessageBox::Warning); break;
    case Symbol::Frage: box.setIcon(QMessageBox::Question); break;
    case Symbol::Kritisch: box.setIcon(QMessageBox::Critical); break;
    }
    QPushButton* ja = nullptr;
    QPushButton* nein = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* abbrechen = nullptr;
    switch (m.knöpfe) {
    case Knöpfe::OK:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Knöpfe::OKAbbrechen:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        abbrechen = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case Knöpfe::JaNein:
        ja = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        nein = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        break;
    case Knöpfe::JaNeinAbbrechen:
        ja = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        nein = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        abbrechen = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    }
    box.setEscapeButton(abbrechen ? abbrechen : (nein ? nein : ok));
    // Enter presses the default button: the one the message names, else the first.
    QPushButton* standard = ja ? ja : ok;
    if (m.standard == Antwort::Nein && nein)
        standard = nein;
    else if (m.standard == Antwort::Abbrechen && abbrechen)
        standard = abbrechen;
    else if (m.standard == Antwort::OK && ok)
        standard = ok;
    box.setDefaultButton(standard);
    box.exec();
    QAbstractButton* k = box.clickedButton();
    if (k && k == ja) return Antwort::Ja;
    if (k && k == nein) return Antwort::Nein;
    if (k && k == ok) return Antwort::OK;
    return abbrechen ? Antwort::Abbrechen : (nein ? Antwort::Nein : Antwort::OK);
}

void DiensteEinrichten()
{
    // A handler put in before start-up (a test's answers) stays.
    if (!Dienst<MeldungsDienst>())
        DienstSetzen<MeldungsDienst>(MeldungsfensterZeigen);
    DateiNichtVerfügbarFensterEinrichten();
    DienstSetzen<EintragLeserDienst>(MedienInfosNachlesen);
    DienstSetzen<IndexVerwaltungAbspielenDienst>([](const std::vector<qint32>& einträge, QWidget* besitzer) {
        AbspielenMediaPlayer(einträge, false, false, false, QString(), besitzer);
    });
    // A newly loaded index has not seen the playing title yet.
    IndexHörerAnmelden([](IndexEreignis ereignis, Index& idx) {
        if (ereignis == IndexEreignis::Geladen && &idx == &hauptIndex())
            bolWinampTitelBearbeitet = false;
    });
}

void FensterDiensteEinrichten(frmMain* f)
{
    DateiExistiertFensterEinrichten(f);
    DateinameFensterEinrichten(f);
    DienstSetzen<FortschrittAnzeigeDienst>(fortschrittsfenster());
    DienstSetzen<BibliotheksBesitzerDienst>(f);
    DienstSetzen<BildAnzeigeDienst>(BildAnzeigen);
    DienstSetzen<DateiInfosDienst>([](const std::vector<qint32>& einträge, QWidget* besitzer) {
        Mp3TagAnzeigen(einträge, besitzer);
    });
}
