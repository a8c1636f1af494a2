#include "library/frmHinzufuegen.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "library/Hinzufuegen.h"
#include "mainwindow/Liste.h"
#include "platform/Plattform_gui.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T* benannt(T* w, const char* name)
{
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

QToolButton* bildKnopf(QWidget* parent, const char* name, QStyle::StandardPixmap bild)
{
    auto* k = benannt(new QToolButton(parent), name);
    k->setIcon(parent->style()->standardIcon(bild));
    k->setIconSize(QSize(32, 32));
    k->setAutoRaise(true);
    return k;
}

} // namespace

QString VerwalteteTypenFilter(const QStringList& strDateiTypen)
{
    QStringList muster;
    for (const QString& typ : strDateiTypen) {
        const qsizetype gleich = typ.indexOf(QLatin1Char('='));
        if (gleich < 0 || typ.mid(gleich + 1, 1) != QLatin1String("1"))
            continue;
        const QString endung = typ.left(gleich);
        if (endung != QLatin1String("*"))
            muster.append(QStringLiteral("*.") + endung);
    }
    if (muster.isEmpty())
        return QString();
    // The file dialog separates its patterns by blanks.
    const QString liste = muster.join(QLatin1Char(' '));
    return QStringLiteral("Unterstützte Dateiformate (") + liste + QStringLiteral(");;Alle Dateien (*.*)");
}

frmHinzufügen::frmHinzufügen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHinzufügen"));
    setWindowTitle(QStringLiteral("Hinzufügen"));
    Label3 = benannt(new QLabel(QStringLiteral("dateien hinzufügen"), this), "Label3");
    QFont f = Label3->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    Label3->setFont(f);
    Label4 = benannt(new QLabel(QStringLiteral("Füllen Sie den Dateiindex mit Ihren Mediendateien (z.B. Audio- oder "
                                               "Bilddateien)"),
                                this),
                     "Label4");
    cmdDateienHinzufügen = bildKnopf(this, "cmdDateienHinzufügen", QStyle::SP_FileIcon);
    Label1 = benannt(new QLabel(QStringLiteral("Datei hinzufügen"), this), "Label1");
    lblInfosGrößen = benannt(new QLabel(QStringLiteral("Fügt eine Datei zum Index hinzu."), this), "lblInfosGrößen");
    cmdOrdnerHinzufügen = bildKnopf(this, "cmdOrdnerHinzufügen", QStyle::SP_DirIcon);
    Label5 = benannt(new QLabel(QStringLiteral("Ordner hinzufügen"), this), "Label5");
    lblInfosAnzahl = benannt(new QLabel(QStringLiteral("Fügt in einen Ordner enthaltene Dateien zum Index hinzu. Je "
                                                       "nach Einstellung in den 'Optionen' werden auch die Unterordner "
                                                       "hinzugefügt."),
                                        this),
                             "lblInfosAnzahl");
    cmdImportieren = bildKnopf(this, "cmdImportieren", QStyle::SP_FileDialogDetailedView);
    Label6 = benannt(new QLabel(QStringLiteral("Playliste hinzufügen"), this), "Label6");
    lblInfosSpieldauer = benannt(new QLabel(QStringLiteral("Fügt in einer Playliste enthaltene Dateien zum Index "
                                                           "hinzu. Um diese zu importieren, speichern Sie diese in "
                                                           "Ihrem Audioplayer."),
                                            this),
                                 "lblInfosSpieldauer");
    Label2 = benannt(new QLabel(QStringLiteral("Hinweis: Möchten Sie regelmäßig Dateien aus einem Ordner hinzufügen? "
                                               "Klicken Sie im Hauptfenster auf 'Optionen' und auf 'Ändern der "
                                               "Indexeinstellungen'."),
                                this),
                     "Label2");
    cmdOk = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdOk");
    for (QLabel* l : {Label4, lblInfosGrößen, lblInfosAnzahl, lblInfosSpieldauer, Label2})
        l->setWordWrap(true);
    for (QLabel* l : {Label1, Label5, Label6}) {
        QFont fett = l->font();
        fett.setBold(true);
        l->setFont(fett);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    auto* raster = new QGridLayout;
    int zeile = 0;
    for (auto [knopf, titel, info] : {std::tuple{cmdDateienHinzufügen, Label1, lblInfosGrößen},
                                      std::tuple{cmdOrdnerHinzufügen, Label5, lblInfosAnzahl},
                                      std::tuple{cmdImportieren, Label6, lblInfosSpieldauer}}) {
        raster->addWidget(knopf, zeile, 0, 2, 1, Qt::AlignTop);
        raster->addWidget(titel, zeile, 1);
        raster->addWidget(info, zeile + 1, 1);
        zeile += 2;
    }
    raster->setColumnStretch(1, 1);
    layout->addLayout(raster);
    layout->addWidget(Label2);
    auto* unten = new QHBoxLayout;
    unten->addStretch(1);
    unten->addWidget(cmdOk);
    layout->addLayout(unten);
    resize(6300 / 15, 5000 / 15);

    dateienWählen = [this](const QString& filter) {
        return QFileDialog::getOpenFileNames(this, QStringLiteral("Öffnen"), QString(), filter);
    };
    ordnerWählen = [](const QString& titel) { return OrdnerDialogZeigen(titel); };
    playlistWählen = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Öffnen"), QString(), filter);
    };

    connect(cmdDateienHinzufügen, &QToolButton::clicked, this, &frmHinzufügen::cmdDateienHinzufügen_Click);
    connect(cmdOrdnerHinzufügen, &QToolButton::clicked, this, &frmHinzufügen::cmdOrdnerHinzufügen_Click);
    connect(cmdImportieren, &QToolButton::clicked, this, &frmHinzufügen::cmdImportieren_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmHinzufügen::cmdOk_Click);
}

void frmHinzufügen::cmdDateienHinzufügen_Click()
{
    const Index& index = hauptIndex();
    if (index.intDateiTypenLeer == 1) {
        MeldungZeigen(QStringLiteral("Sie können keine Dateien hinzufügen, da kein Dateityp eingerichtet wurde.\n"
                                     "Installieren Sie dieses Programm neu, um die Dateitypen wiederherzustellen."),
                      Knöpfe::OK, Symbol::Information, this);
        return;
    }
    const QString filter = VerwalteteTypenFilter(index.strDateiTypen);
    if (filter.isEmpty()) {
        MeldungZeigen(QStringLiteral("Sie können keine Dateien hinzufügen, da kein Dateityp für die Verwaltung "
                                     "freigegeben wurde.\nÄndern Sie diese Einstellung in den 'Optionen'."),
                      Knöpfe::OK, Symbol::Information, this);
        return;
    }
    const QStringList dateien = dateienWählen(filter);
    if (dateien.isEmpty())
        return;
    auswahl = Auswahl::Dateien;
    pfade = dateien;
    accept();
}

void frmHinzufügen::cmdOrdnerHinzufügen_Click()
{
    setEnabled(false);
    QString ordner = ordnerWählen(QStringLiteral("Bitte wählen Sie einen Ordner mit Mediendateien..."));
    setEnabled(true);
    update();
    ordner = ordner.left(ordner.indexOf(QChar(0)));
    if (ordner.isEmpty())
        return;
    auswahl = Auswahl::Ordner;
    pfade = {ordner};
    accept();
}

void frmHinzufügen::cmdImportieren_Click()
{
    const QString datei = playlistWählen(QStringLiteral("Alle bekannten Playlisten (*.m3u *.pls);;PLS-Playlisten "
                                                        "(*.pls);;M3U-Playlisten (*.m3u);;Alle Dateien (*.*)"));
    if (datei.isEmpty())
        return;
    auswahl = Auswahl::Playlist;
    pfade = {datei};
    accept();
}

void frmHinzufügen::cmdOk_Click()
{
    auswahl = Auswahl::Nichts;
    reject();
}

void HinzufügenZeigen(QWidget* besitzer)
{
    if (HinzufügenLäuft())
        return;
    frmHinzufügen fenster(besitzer);
    if (fenster.exec() != QDialog::Accepted)
        return;
    Index& index = hauptIndex();
    ListenZustand& liste = listenZustand();
    switch (fenster.auswahl) {
    case frmHinzufügen::Auswahl::Dateien:
        liste.bolMarkierungenBehalten = false;
        EinfachDateiHinzufügen(index, fenster.pfade, true, true, true);
        liste.bolMarkierungenBehalten = true;
        break;
    case frmHinzufügen::Auswahl::Ordner: {
        QString ordner = fenster.pfade.value(0);
        EinfachOrdnerHinzufügen(index, ordner, true, einstellungen().HinzufügenUnterordner, true, QString(), true,
                                false);
        break;
    }
    case frmHinzufügen::Auswahl::Playlist:
        liste.bolMarkierungenBehalten = false;
        PlaylistLesen(index, fenster.pfade.value(0), true, true);
        liste.bolMarkierungenBehalten = true;
        break;
    case frmHinzufügen::Auswahl::Nichts:
        break;
    }
    if (besitzer)
        besitzer->update();
}
