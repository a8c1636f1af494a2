// What reaches the main window's widgets while they are deleted after its own
// destructor reaches nothing of it; each case also reaches a living window.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "library/Befehle_gui.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/Hauptbefehle_gui.h"
#include "mainwindow/Liste.h"
#include "mainwindow/Spielerleiste_gui.h"
#include "mainwindow/frmMain.h"
#include "platform/Farbe_gui.h"

#include "support/ListenHilfen.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace {

// The window's widgets as the test holds them, and how often the window reacted.
struct Teile {
    QTableView* liste;
    QLabel *spielerTitel, *befehl;
    QLineEdit* suche;
    QTimer* suchUhr;
    int reaktionen = 0;
};

struct Fall {
    const char* name;
    std::function<void(Teile&)> tun; // counts the reactions that call no hook
};

void PrintTo(const Fall& f, std::ostream* os) { *os << f.name; }

void mausAufListe(Teile& t, QEvent::Type art, QPoint p, Qt::MouseButton knopf, Qt::MouseButtons gehalten)
{
    QWidget* vp = t.liste->viewport();
    QMouseEvent e(art, p, vp->mapToGlobal(p), knopf, gehalten, Qt::NoModifier);
    QApplication::sendEvent(vp, &e);
}

const Fall kFälle[] = {
    {"AuswahlAusDerListeZiehen",
     [](Teile& t) {
         const QPoint p = t.liste->visualRect(t.liste->model()->index(0, 0)).center();
         mausAufListe(t, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
         mausAufListe(t, QEvent::MouseMove, p + QPoint(0, 3 * QApplication::startDragDistance()), Qt::NoButton,
                      Qt::LeftButton);
     }},
    {"DateiAufDieListeGezogen",
     [](Teile& t) {
         QMimeData daten;
         daten.setUrls({QUrl::fromLocalFile(QStringLiteral("/musik/neu.mp3"))});
         QWidget* vp = t.liste->viewport();
         QDragEnterEvent e(vp->rect().center(), Qt::CopyAction, &daten, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(vp, &e);
         t.reaktionen += e.isAccepted();
     }},
    {"KlickAufDenSpielertitel", [](Teile& t) { QTest::mouseClick(t.spielerTitel, Qt::LeftButton); }},
    {"DruckAufEinenBefehl",
     [](Teile& t) {
         QTest::mousePress(t.befehl, Qt::LeftButton);
         t.reaktionen += t.befehl->palette().color(QPalette::WindowText) == WindowsFarbe(einstellungen().FarbeFunktionenBesucht);
     }},
    {"SuchtextGetippt",
     [](Teile& t) {
         QTest::keyClicks(t.suche, QStringLiteral("a"));
         t.reaktionen += t.suchUhr->isActive();
     }},
};

class FensterAbbau : public ::testing::TestWithParam<Fall> {
protected:
    std::unique_ptr<frmMain> f;
    Teile t;

    void SetUp() override
    {
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        Index& idx = hauptIndex() = Index();
        Hinzu(idx, "/musik/a/eins.mp3", Lied("Beatles", "Help"));
        Hinzu(idx, "/musik/b/zwei.mp3", Lied("Stones", "Angie"));
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        suchZustand() = SuchZustand();
        DienstSetzen<MeldungsDienst>([](const Meldung&) { return Antwort::Nein; });

        // Wired as the program wires it.
        f = std::make_unique<frmMain>();
        FarbenAnwenden(f.get());
        Hauptbefehle* b = HauptfensterBefehleVerbinden(f.get());
        BibliotheksBefehleVerbinden(f.get());
        SpielerleisteEinrichten(f.get());
        b->ziehenStarten = [this](QMimeData* d) { ++t.reaktionen; delete d; };
        SpielerleisteSongmenüHookSetzen([this](const QPoint&) { ++t.reaktionen; });
        f->resize(800, 500);
        f->show();
        f->IndexZustandAnzeigen();
        // The player panel as it shows while a title plays.
        f->fraLinks3->show();
        f->hscrlTrackPos->show();
        f->lstSongs->selectRow(0);
        f->AuswahlErmitteln();
        t = {f->lstSongs, f->lblWinampSteuerungTitel, f->cmdHilfe, f->txtSongname->lineEdit(), f->tmrListe};
    }
    void TearDown() override
    {
        f.reset();
        SpielerleisteSongmenüHookSetzen(nullptr);
        SpielerleisteAuswahlHookSetzen(nullptr);
        DienstSetzen<MeldungsDienst>(nullptr);
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
    }
};

} // namespace

TEST_P(FensterAbbau, ErreichtDasLebendeFenster)
{
    GetParam().tun(t);
    EXPECT_GT(t.reaktionen, 0);
}

TEST_P(FensterAbbau, ErreichtNichtsMehrWennDasFensterGeht)
{
    // The first strip goes first, the widgets of the cases are still there.
    int reaktionen = -1;
    QObject::connect(f->fraLinks1, &QObject::destroyed, [this, &reaktionen] {
        GetParam().tun(t);
        reaktionen = t.reaktionen;
    });
    f.reset();
    EXPECT_EQ(reaktionen, 0);
}

INSTANTIATE_TEST_SUITE_P(Hauptfenster, FensterAbbau, ::testing::ValuesIn(kFälle),
                         [](const ::testing::TestParamInfo<Fall>& i) { return std::string(i.param.name); });
