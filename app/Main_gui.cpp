#include "app/Main_gui.h"

#include "app/Dienste_gui.h"
#include "app/Signale_gui.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/Start.h"
#include "core/StatusMeldung.h"
#include "core/frmFortschritt.h"
#include "library/Befehle_gui.h"
#include "mainwindow/ExportBefehle_gui.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/Fensterbefehle_gui.h"
#include "mainwindow/Spielerleiste_gui.h"
#include "mainwindow/Hauptbefehle_gui.h"
#include "mainwindow/Liste.h"
#include "mainwindow/Tray_gui.h"
#include "mainwindow/frmKleineFenster.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmOptionen.h"
#include "media/Mp3TagBefehl_gui.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QScreen>
#include <exception>

namespace {

// A failing step ends at the point of failure with the start-up message;
// start-up goes on with the next step.
template <typename F>
void schritt(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        MeldungZeigen(QStringLiteral("Das Programm konnte nicht vollständig geladen werden.\n")
                          + FehlerText(QString::fromLocal8Bit(e.what()), 5) + QStringLiteral(".\n\n")
                          + QStringLiteral("Stellen Sie sicher, daß das Programm durch das Setup korrekt installiert wurde.\n")
                          + QStringLiteral("Bitte führen Sie das Setup erneut aus oder installieren Sie die neueste Version des Programmes mit den benötigten Laufzeitdateien von der Internetseite des Autors.\n\n")
                          + QStringLiteral("Bitte kontaktieren Sie den Autor, falls das Problem weiterhin besteht."),
                      Knöpfe::OK, Symbol::Kritisch);
    }
}

bool g_beendet = false;

QRect twipsRechteck(const QRect& px)
{
    return QRect(PixelZuTwips(px.left()), PixelZuTwips(px.top()), PixelZuTwips(px.width()), PixelZuTwips(px.height()));
}

} // namespace

void Main(const QStringList& argumente)
{
    // Every window of the program shows its icon, the main window first.
    QApplication::setWindowIcon(ProgrammSymbol());
    DiensteEinrichten();
    Index& idx = hauptIndex();
    listenZustand().bolMarkierungenBehalten = true;
    idx.datLetzteSpeicherung = QDateTime::currentDateTime();
    schritt([] { StandardwerteSetzen(); });
    Einstellungen& e = einstellungen();
    schritt([&] { EinstellungenLesen(e); });
    frmMain* f = hauptfenster(); // created hidden
    // Once the close path ended the program, every event loop returns at once
    // and start-up stops at its next step.
    f->ProgrammBeenden = [] {
        g_beendet = true;
        QCoreApplication::exit(0);
    };
    FensterDiensteEinrichten(f);
    BeendenSignaleEinrichten(f);
    schritt([&] { FarbenAnwenden(f); });
    schritt([&] { HauptfensterBefehleVerbinden(f); });
    schritt([&] { BibliotheksBefehleVerbinden(f); });
    schritt([&] { Mp3TagBefehleVerbinden(f); });
    schritt([&] { KleineFensterBefehleVerbinden(f); });
    schritt([&] { ExportUndAutoDJVerbinden(f); });
    schritt([&] { OptionenBefehleVerbinden(f); });

    schritt([&] {
        if (auto datei = BefehlszeileAuswerten(BefehlszeileAusArgumenten(argumente)))
            e.Dateiname = *datei;
    });

    schritt([&] { IndexDateiLaden(f); });

    e.WinampLautstärke = LautstärkeBegrenzen(e.WinampLautstärke);
    e.WinampBalance = BalanceBegrenzen(e.WinampBalance);
    f->hscrlBalance->setValue(e.WinampBalance);
    f->hscrlVolume->setValue(e.WinampLautstärke);
    schritt([&] { SpielerleisteEinrichten(f); });
    f->tmrScrollUpdate->start();
    schritt([] { TraySymbolHinzufügen(); });

    schritt([&] {
        QSize bildschirm(1024 * kTwipsProPixel, 768 * kTwipsProPixel);
        if (QScreen* s = QGuiApplication::primaryScreen())
            bildschirm = QSize(PixelZuTwips(s->availableGeometry().width()), PixelZuTwips(s->availableGeometry().height()));
        const Platzierung p = FensterPlatzierungBerechnen(
            e.Start, VersionText(), QRect(e.FensterLeft, e.FensterTop, e.FensterWidth, e.FensterHeight),
            e.FensterMax, twipsRechteck(f->geometry()), bildschirm);
        if (p.art != Platzierung::Art::Entwurf)
            f->setGeometry(TwipsZuPixel(p.rechteck.left()), TwipsZuPixel(p.rechteck.top()),
                           TwipsZuPixel(p.rechteck.width()), TwipsZuPixel(p.rechteck.height()));
        if (p.maximiert)
            f->setWindowState(f->windowState() | Qt::WindowMaximized);
    });

    f->show();
    BeschreibungAktualisieren();
    StatusMeldungZeigen(idx.lngIndexAnzahl > 0
                            ? QStringLiteral("Willkommen zurück! Bitte wählen Sie eine Datei oder suchen Sie")
                            : QStringLiteral("Willkommen! Bitte fügen Sie Dateien zum Index hinzu"),
                        500);
    // The field box's click refills the value list; no search starts here.
    suchZustand().bolSucheGesperrt = true;
    if (f->cboSuche->currentIndex() == 0)
        f->cboSuche_Click();
    else
        f->cboSuche->setCurrentIndex(0);
    suchZustand().bolSucheGesperrt = false;

    if (e.Start < 1) {
        frmWillkommen w(f);
        w.exec();
    }
    if (g_beendet)
        return;

    schritt([&] {
        const int tipp = NächsterTipp(e.TippsAktueller, int(standardwerte().strTipps.size()));
        if (tipp == 0)
            return;
        e.TippsAktueller = tipp;
        frmHinweise h(f);
        h.TippZeigen(tipp);
        h.chkWiederZeigen->setChecked(true);
        h.exec();
    });
    if (g_beendet)
        return;

    e.Start = VersionText().toInt();
    if (f->txtSongname->isEnabled())
        f->txtSongname->setFocus();
}

bool ProgrammBeendet() { return g_beendet; }
