// Ending the program from outside: SIGTERM and SIGHUP reach the close path as
// an end from outside, the session's end as a shutdown; neither runs the exit
// reaction, and a changed index is never dropped without the question.

#include "app/Signale_gui.h"
#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "mainwindow/frmMain.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <deque>

namespace {

class BeendenVonAussenTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QStringList fragen;
    std::deque<Antwort> antworten;
    int beendet = 0;
    int gespeichert = 0;
    frmMain* f = nullptr;
    DienstErsetzen<MeldungsDienst> meldungen{[this](const Meldung& m) {
        fragen << m.text;
        if (antworten.empty())
            return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Nein;
        const Antwort a = antworten.front();
        antworten.pop_front();
        return a;
    }};

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Registry::DateiSetzen(dir.filePath("Kalvero.conf"));
        f = hauptfenster();
        f->ProgrammBeenden = [this] { ++beendet; };
        f->IndexSpeichern = [this] {
            ++gespeichert;
            hauptIndex().bolIndexGeändert = false;
            return true;
        };
        Einstellungen& e = einstellungen();
        e.BeendenReaktion = 3; // an ordinary close would only hide the window
        e.DateiAutomatischSpeichern = 0;
        hauptIndex().bolIndexGeladen = true;
        hauptIndex().bolIndexGeändert = true;
        BeendenSignaleEinrichten(f);
    }
    void TearDown() override
    {
        f->ProgrammBeenden = [] {};
        f->IndexSpeichern = [] { return true; };
        hauptIndex().bolIndexGeändert = false;
        Registry::DateiSetzen(dir.filePath("leer.conf"));
    }
    // Lets events run until the close path ended the program (or time is up).
    void Warten(int ms)
    {
        QElapsedTimer uhr;
        uhr.start();
        while (beendet == 0 && uhr.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

} // namespace

TEST_F(BeendenVonAussenTest, TermUndHupFragenUndBeenden)
{
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        fragen.clear();
        beendet = 0;
        hauptIndex().bolIndexGeändert = true;
        f->hide(); // in the tray: the window still gets the close path
        antworten = {Antwort::Nein};
        ASSERT_EQ(::raise(signal), 0);
        Warten(5000);
        EXPECT_EQ(beendet, 1) << "the exit reaction kept the program running";
        ASSERT_EQ(fragen.size(), 1);
        EXPECT_EQ(fragen[0], "Die Indexdatei wurde geändert.\nMöchten Sie diese speichern?");
    }

    // Cancel keeps the program running with its changes.
    fragen.clear();
    beendet = 0;
    hauptIndex().bolIndexGeändert = true;
    antworten = {Antwort::Abbrechen};
    ::raise(SIGTERM);
    Warten(1000);
    EXPECT_EQ(beendet, 0);
    EXPECT_EQ(fragen.size(), 1);
    EXPECT_TRUE(hauptIndex().bolIndexGeändert);

    // Yes saves, then ends.
    antworten = {Antwort::Ja};
    ::raise(SIGTERM);
    Warten(5000);
    EXPECT_EQ(beendet, 1);
    EXPECT_EQ(gespeichert, 1);
}

TEST_F(BeendenVonAussenTest, WartetBisDerFortschrittEndet)
{
    struct Anzeige : FortschrittAnzeige {
        void Zeigen(QObject*, const FortschrittZustand&) override {}
        void Verbergen(QObject*) override {}
        void Aktualisieren(const FortschrittZustand&) override {}
    } anzeige;
    DienstErsetzen<FortschrittAnzeigeDienst> dienst(&anzeige);
    einstellungen().StartBildschirm = 1;
    ASSERT_TRUE(FortschrittZeigenStarten(10, true, nullptr, true, true, "läuft"));
    antworten = {Antwort::Nein};
    ::raise(SIGTERM);
    Warten(600);
    EXPECT_EQ(beendet, 0) << "the close path ran in the middle of a progress run";
    EXPECT_TRUE(fragen.isEmpty());
    FortschrittZeigenBeenden(nullptr);
    Warten(5000);
    EXPECT_EQ(beendet, 1);
    EXPECT_EQ(fragen.size(), 1);
}

TEST_F(BeendenVonAussenTest, SitzungsendeFragtWoEsDarfUndSpeichertSonst)
{
    f->show();
    // The session lets us ask: the question, and Cancel stops the logout.
    antworten = {Antwort::Abbrechen};
    EXPECT_FALSE(f->SitzungBeenden(true));
    EXPECT_EQ(fragen.size(), 1);
    EXPECT_EQ(beendet, 0);
    EXPECT_TRUE(f->isVisible()) << "no exit reaction at the session's end";

    // No leave to ask: the change is saved, not dropped.
    fragen.clear();
    EXPECT_TRUE(f->SitzungBeenden(false));
    EXPECT_TRUE(fragen.isEmpty());
    EXPECT_EQ(gespeichert, 1);
    EXPECT_EQ(beendet, 1);
}
