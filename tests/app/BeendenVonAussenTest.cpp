// Ending the program from outside: SIGTERM and SIGHUP reach the close path as
// an end from outside, the session's end as a shutdown; neither runs the exit
// reaction, and a changed index is never dropped without the question.

#include "app/Signale_gui.h"
#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "core/Meldungen.h"
#include "mainwindow/frmKleineFenster.h"
#include "mainwindow/frmMain.h"
#include "media/frmMp3Tag.h"
#include "platform/Registry.h"
#include "support/Mp3Bauer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <csignal>
#include <deque>

namespace {

class BeendenVonAussenTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QStringList fragen;
    QList<QObject*> besitzer; // over which window each message was shown
    std::deque<Antwort> antworten;
    int beendet = 0;
    int gespeichert = 0;
    frmMain* f = nullptr;
    DienstErsetzen<MeldungsDienst> meldungen{[this](const Meldung& m) {
        fragen << m.text;
        besitzer << m.besitzer;
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

// Whatever modal window is open, the close path runs at once on top of it:
// with nothing changed the window closes as if cancelled; else the question
// is asked over it and the answer carried out before it closes.
TEST_F(BeendenVonAussenTest, LäuftSofortÜberEinemOffenenFenster)
{
    const struct {
        const char* name;
        bool geändert;
        int automatisch;
        std::optional<Antwort> antwort; // to the save question, when it is asked
        int gespeichert;
    } fälle[] = {{"nichts geändert", false, 0, {}, 0}, {"Nein", true, 0, Antwort::Nein, 0}, {"Ja", true, 0, Antwort::Ja, 1},
                 {"Abbrechen", true, 0, Antwort::Abbrechen, 0}, {"automatisch", true, 1, {}, 1}};
    f->show();
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        fragen.clear();
        besitzer.clear();
        beendet = gespeichert = 0;
        hauptIndex().bolIndexGeändert = fall.geändert;
        einstellungen().DateiAutomatischSpeichern = fall.automatisch;
        antworten.assign(fall.antwort ? 1 : 0, fall.antwort.value_or(Antwort::OK));
        frmWillkommen w(f);
        f->IndexSpeichern = [&] {
            EXPECT_TRUE(w.isVisible()) << "the window closed before the answer was carried out";
            ++gespeichert;
            return true;
        };
        QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        QTimer::singleShot(1500, &w, [&] {
            if (w.isVisible())
                w.done(5);
        });
        const bool endet = fall.antwort != Antwort::Abbrechen;
        EXPECT_EQ(w.exec(), endet ? QDialog::Rejected : 5) << "the open window closes as if cancelled when the program ends";
        EXPECT_EQ(beendet, endet ? 1 : 0);
        EXPECT_EQ(gespeichert, fall.gespeichert);
        ASSERT_EQ(fragen.size(), fall.antwort ? 1 : 0);
        if (fall.antwort)
            EXPECT_EQ(besitzer[0], &w) << "the question is not over the open window";
    }
}

// Fields typed into an open tag editor are a change too: saved into the file
// only when the answer says so; the editor's own automatic saving never runs.
TEST_F(BeendenVonAussenTest, GeänderteFelderDesTagEditorsZählenAlsÄnderung)
{
    const struct {
        const char* tippen; // into the ID3v2 title
        std::deque<Antwort> antworten;
        const char* titelDanach;
    } fälle[] = {{"", {}, "Alt"}, {"Neu", {Antwort::Ja}, "AltNeu"}, {"Neu", {Antwort::Nein}, "Alt"}};
    Einstellungen& e = einstellungen();
    e.TAGsSoftwareFeldSchreiben = 0;
    e.TAGAutomatischSpeichern = e.TAGAutomatischSpeichernV2 = e.TAGAutomatischSpeichernFelder = 1;
    frmMp3Tag* editor = mp3TagFenster();
    f->show();
    for (const auto& fall : fälle) {
        SCOPED_TRACE(&fall - fälle);
        Mp3Bauer::Id3v2Tag tag;
        tag.frames = {Mp3Bauer::TextFrame("TIT2", QStringLiteral("Alt"))};
        tag.padding = 100;
        const QString pfad =
            Mp3Bauer::DateiSchreiben(dir, "lied.mp3", tag.Bytes() + Mp3Bauer::Frames(Mp3Bauer::Frame(), 20));
        Index& idx = hauptIndex();
        idx = Index();
        idx.bolIndexGeladen = true;
        idx.strDateiTypen = standardwerte().strStandardDateiTypen;
        idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
        const qint32 eintrag = idx.EintragAnhängen(pfad, LeereMedienInfo(), 1);
        fragen.clear();
        beendet = gespeichert = 0;
        antworten = fall.antworten;
        QTimer::singleShot(0, [&] {
            idx.bolIndexGeändert = false; // opening took the file's tags in
            QTest::keyClicks(editor->txtv2Titel, QString::fromLatin1(fall.tippen));
            ::raise(SIGTERM);
        });
        QTimer::singleShot(2000, editor, [&] { editor->hide(); });
        Mp3TagAnzeigen({eintrag}, f);

        EXPECT_EQ(beendet, 1);
        EXPECT_EQ(fragen.size(), fall.antworten.size()) << fragen.join("|").toStdString();
        EXPECT_EQ(gespeichert, fall.antworten == std::deque{Antwort::Ja} ? 1 : 0);
        TagLib::MPEG::File datei(QFile::encodeName(pfad).constData());
        ASSERT_NE(datei.ID3v2Tag(), nullptr);
        EXPECT_EQ(datei.ID3v2Tag()->title().to8Bit(true), fall.titelDanach);
        EXPECT_FALSE(datei.hasID3v1Tag()) << "an untouched page was written";
    }
}
