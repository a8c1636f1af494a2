// Ending the program from outside: SIGTERM and SIGHUP reach the close path as
// an end from outside, the session's end as a shutdown; neither runs the exit
// reaction, and a changed index is never dropped. A signal asks nothing and
// saves it; the session's end asks where it may. An open tag editor closes as
// by its own button; a close request during a progress run is carried out
// once, after the run.

#include "app/Dienste_gui.h"
#include "app/Signale_gui.h"
#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/frmFortschritt.h"
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "core/Meldungen.h"
#include "library/Besitzer.h"
#include "library/Hinzufuegen.h"
#include "library/Umbenennen.h"
#include "mainwindow/frmKleineFenster.h"
#include "mainwindow/frmMain.h"
#include "media/frmMp3Tag.h"
#include "platform/Registry.h"
#include "support/Mp3Bauer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <QFileInfo>

#include <csignal>
#include <utime.h>
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
    // Lets events run until the close path ended the program, or asked its
    // question when `bisZurFrage` (or time is up).
    void Warten(int ms, bool bisZurFrage = false)
    {
        QElapsedTimer uhr;
        uhr.start();
        while (beendet == 0 && !(bisZurFrage && !fragen.isEmpty()) && uhr.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

} // namespace

// Whoever sends the signal waits for the end, not for an answer.
TEST_F(BeendenVonAussenTest, TermUndHupBeendenOhneFrage)
{
    const struct { int signal; bool geändert; } fälle[] = {{SIGTERM, true}, {SIGHUP, true}, {SIGTERM, false}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(testing::Message() << fall.signal << (fall.geändert ? " changed" : " unchanged"));
        fragen.clear();
        beendet = gespeichert = 0;
        hauptIndex().bolIndexGeändert = fall.geändert;
        f->hide(); // in the tray: the window still gets the close path
        ASSERT_EQ(::raise(fall.signal), 0);
        Warten(5000);
        EXPECT_EQ(beendet, 1) << "the exit reaction kept the program running";
        EXPECT_TRUE(fragen.isEmpty()) << fragen.join("|").toStdString();
        EXPECT_EQ(gespeichert, fall.geändert ? 1 : 0);
    }
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
    ::raise(SIGTERM);
    Warten(600);
    EXPECT_EQ(beendet, 0) << "the close path ran in the middle of a progress run";
    EXPECT_EQ(gespeichert, 0);
    FortschrittZeigenBeenden(nullptr);
    Warten(5000);
    EXPECT_EQ(beendet, 1);
    EXPECT_EQ(gespeichert, 1);
    EXPECT_TRUE(fragen.isEmpty());
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

// Whatever modal window is open, the close path runs at once on top of it,
// and the window closes as if cancelled after the index is saved.
TEST_F(BeendenVonAussenTest, LäuftSofortÜberEinemOffenenFenster)
{
    const struct {
        const char* name;
        bool geändert;
        int automatisch;
        int gespeichert;
    } fälle[] = {{"nichts geändert", false, 0, 0}, {"geändert", true, 0, 1}, {"automatisch", true, 1, 1}};
    f->show();
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        fragen.clear();
        beendet = gespeichert = 0;
        hauptIndex().bolIndexGeändert = fall.geändert;
        einstellungen().DateiAutomatischSpeichern = fall.automatisch;
        frmWillkommen w(f);
        f->IndexSpeichern = [&] {
            EXPECT_TRUE(w.isVisible()) << "the window closed before the index was saved";
            ++gespeichert;
            return true;
        };
        QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        QTimer::singleShot(1500, &w, [&] {
            if (w.isVisible())
                w.done(5);
        });
        EXPECT_EQ(w.exec(), QDialog::Rejected) << "the open window closes as if cancelled when the program ends";
        EXPECT_EQ(beendet, 1);
        EXPECT_EQ(gespeichert, fall.gespeichert);
        EXPECT_TRUE(fragen.isEmpty()) << fragen.join("|").toStdString();
    }
}

// An open tag editor closes as its own "Schließen" does: its automatic-saving
// boxes alone decide whether the file is written and the index takes what
// they store; nobody is asked.
TEST_F(BeendenVonAussenTest, DerTagEditorSchließtWieMitSeinemEigenenSchließen)
{
    const struct {
        const char* name;
        bool v2Box, felderBox; // the editor's automatic saving (ID3v1 always off)
        int indexAutomatisch;  // DateiAutomatischSpeichern
        const char* titelDanach; // ID3v2 title in the file
        int anzahlDanach;        // the record's play count
        int gespeichert;         // index saves
    } fälle[] = {{"Boxen aus, Index automatisch", false, false, 1, "Alt", 0, 0},
                 {"Boxen aus", false, false, 0, "Alt", 0, 0},
                 {"Boxen an", true, true, 0, "AltNeu", 9, 1},
                 {"Boxen an, Index automatisch", true, true, 1, "AltNeu", 9, 1},
                 {"nur Felder", false, true, 0, "Alt", 9, 1},
                 {"nur Felder, Index automatisch", false, true, 1, "Alt", 9, 1}};
    Einstellungen& e = einstellungen();
    e.TAGsSoftwareFeldSchreiben = 0;
    frmMp3Tag* editor = mp3TagFenster();
    f->show();
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        e.TAGAutomatischSpeichern = 0;
        e.TAGAutomatischSpeichernV2 = fall.v2Box;
        e.TAGAutomatischSpeichernFelder = fall.felderBox;
        e.DateiAutomatischSpeichern = fall.indexAutomatisch;
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
        MedienInfo m = LeereMedienInfo();
        m.Datei_HinzugefügtAm = QStringLiteral("01.02.2003");
        const qint32 eintrag = idx.EintragAnhängen(pfad, m, 1);
        fragen.clear();
        beendet = gespeichert = 0;
        QTimer::singleShot(0, [&] {
            idx.bolIndexGeändert = false; // opening took the file's tags in
            QTest::keyClicks(editor->txtTitel, QStringLiteral("Neu"));
            QTest::keyClicks(editor->txtv2Titel, QStringLiteral("Neu"));
            editor->txtIndexAbspielAnzahl->selectAll();
            QTest::keyClicks(editor->txtIndexAbspielAnzahl, QStringLiteral("9"));
            ::raise(SIGTERM);
        });
        // Should the program go on, the editor is closed here (the test fails then).
        QObject dieserFall;
        QTimer::singleShot(2000, &dieserFall, [&] { editor->hide(); });
        Mp3TagAnzeigen({eintrag}, f);

        EXPECT_EQ(beendet, 1);
        EXPECT_TRUE(fragen.isEmpty()) << fragen.join("|").toStdString();
        EXPECT_EQ(gespeichert, fall.gespeichert);
        EXPECT_EQ(idx.IndexDaten[size_t(eintrag)].Datei_AngefordertAnzahl, fall.anzahlDanach);
        TagLib::MPEG::File datei(QFile::encodeName(pfad).constData());
        ASSERT_NE(datei.ID3v2Tag(), nullptr);
        EXPECT_EQ(datei.ID3v2Tag()->title().to8Bit(true), fall.titelDanach);
        EXPECT_FALSE(datei.hasID3v1Tag()) << "the ID3v1 page was written without its box";
        EXPECT_EQ(einstellungen().TAGAutomatischSpeichernV2, fall.v2Box ? 1 : 0);
    }
}

// A SIGTERM while the editor merely shows a file, every automatic-saving box
// on and the software field on: the file keeps its bytes and its time.
TEST_F(BeendenVonAussenTest, EinGezeigterUnveränderterTagBleibtBeimSignal)
{
    Einstellungen& e = einstellungen();
    e.TAGsSoftwareFeldSchreiben = 1;
    e.TAGAutomatischSpeichern = e.TAGAutomatischSpeichernV2 = e.TAGAutomatischSpeichernFelder = 1;
    e.DateiAutomatischSpeichern = 1;
    frmMp3Tag* editor = mp3TagFenster();
    f->show();
    Index& idx = hauptIndex();
    idx = Index();
    idx.bolIndexGeladen = true;
    idx.strDateiTypen = standardwerte().strStandardDateiTypen;
    idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    Mp3Bauer::Id3v2Tag tag;
    tag.frames = {Mp3Bauer::TextFrame("TIT2", QStringLiteral("Alt"))};
    std::vector<qint32> einträge;
    for (const QByteArray& daten : {tag.Bytes() + Mp3Bauer::Frames(Mp3Bauer::Frame(), 20), Mp3Bauer::Frames(Mp3Bauer::Frame(), 20)}) {
        const QString pfad = Mp3Bauer::DateiSchreiben(dir, QStringLiteral("lied%1.mp3").arg(einträge.size()), daten);
        const utimbuf zeit{1000000000, 1000000000};
        ::utime(QFile::encodeName(pfad).constData(), &zeit);
        einträge.push_back(idx.EintragAnhängen(pfad, LeereMedienInfo(), 1));
    }
    const auto abbild = [&](qint32 eintrag) {
        const QString pfad = idx.strIndexPfad[size_t(eintrag)];
        QFile datei(pfad);
        datei.open(QIODevice::ReadOnly);
        return datei.readAll() + QByteArray::number(QFileInfo(pfad).lastModified().toMSecsSinceEpoch());
    };
    for (const qint32 eintrag : einträge) {
        SCOPED_TRACE(eintrag);
        const QByteArray vorher = abbild(eintrag);
        beendet = 0;
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(editor->txtv2Software->text(), "kalvero");
            ::raise(SIGTERM);
        });
        QObject dieserFall;
        QTimer::singleShot(2000, &dieserFall, [&] { editor->hide(); });
        Mp3TagAnzeigen({eintrag}, f);
        EXPECT_EQ(beendet, 1);
        EXPECT_EQ(abbild(eintrag), vorher) << "merely looking wrote the file";
    }
}

// Closing the main window during a progress run (by its title bar, or by its
// own close as "Ende" makes it, also several times and with a SIGTERM) takes
// the close path once, after the run, and saves the index as the run left it.
TEST_F(BeendenVonAussenTest, SchließenWährendEinesLaufsKommtEinmalNachDemLauf)
{
    // How often it closes by the title bar and by its own close; and a SIGTERM.
    const struct { const char* name; int titelleiste, eigene; bool signal; } fälle[] = {
        {"Titelleiste", 1, 0, false}, {"Ende", 0, 1, false}, {"mehrfach, mit SIGTERM", 2, 1, true}};
    constexpr qint32 kDateien = 20;
    QStringList dateien;
    for (int i = 0; i < kDateien; ++i)
        dateien << Mp3Bauer::DateiSchreiben(dir, QStringLiteral("%1.mp3").arg(i), Mp3Bauer::Frames(Mp3Bauer::Frame(), 5));
    StandardwerteSetzen();
    Einstellungen& e = einstellungen();
    e.BeendenReaktion = 2;
    e.DateiAutomatischSpeichern = 1;
    e.StartBildschirm = 1;
    DienstErsetzen<FortschrittAnzeigeDienst> anzeige(fortschrittsfenster());
    DienstErsetzen<BibliotheksBesitzerDienst> eigner{QPointer<QObject>(f)};
    FortschrittTaktSetzen(0);
    f->show();
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        Index& idx = hauptIndex() = Index();
        idx.bolIndexGeladen = true;
        idx.strDateiTypen = standardwerte().strStandardDateiTypen;
        idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
        beendet = gespeichert = 0;
        bool imLauf = false;
        QTimer::singleShot(0, f, [&] {
            imLauf = FortschrittLäuft() && !f->isEnabled();
            for (int i = 0; i < fall.titelleiste; ++i)
                f->windowHandle()->close();
            for (int i = 0; i < fall.eigene; ++i) {
                f->Tag = QStringLiteral("1");
                f->close();
            }
            if (fall.signal)
                ::raise(SIGTERM);
        });
        EXPECT_TRUE(EinfachDateiHinzufügen(idx, dateien, true, false, false));
        EXPECT_TRUE(imLauf) << "the close came after the run";
        EXPECT_EQ(beendet, 0) << "the program ended in the middle of the run";
        EXPECT_EQ(gespeichert, 0) << "saved in the middle of the run";
        EXPECT_TRUE(f->isVisible());
        Warten(5000);
        QTest::qWait(500); // nothing more comes later
        EXPECT_EQ(beendet, 1);
        EXPECT_EQ(gespeichert, 1);
        EXPECT_EQ(idx.lngIndexAnzahl, kDateien);
        EXPECT_TRUE(fragen.isEmpty()) << fragen.join("|").toStdString();
    }
    FortschrittTaktSetzen(50);
}

// A close that comes while a run waits on a question (a rename of ten files, the
// third with a name too long) is held until the run's end, with or without progress window.
TEST_F(BeendenVonAussenTest, SchließenWährendEinerFrageImLaufKommtNachDemLauf)
{
    enum class Art { Titelleiste, Ende, Signal };
    constexpr qint32 kDateien = 10;
    StandardwerteSetzen();
    Einstellungen& e = einstellungen();
    e.BeendenReaktion = 2;
    e.DateiAutomatischSpeichern = 1;
    DienstErsetzen<FortschrittAnzeigeDienst> anzeige(fortschrittsfenster());
    DienstErsetzen<BibliotheksBesitzerDienst> eigner{QPointer<QObject>(f)};
    DienstErsetzen<MeldungsDienst> echteFenster(MeldungsfensterZeigen);
    f->show();
    for (const int startBildschirm : {1, 0})
        for (const Art art : {Art::Titelleiste, Art::Ende, Art::Signal}) {
            SCOPED_TRACE(testing::Message() << "progress window " << startBildschirm << ", close " << int(art));
            e.StartBildschirm = startBildschirm;
            QTemporaryDir ordner;
            Index& idx = hauptIndex() = Index();
            idx.bolIndexGeladen = true;
            EintragsListe einträge;
            for (int i = 0; i < kDateien; ++i) {
                MedienInfo m = LeereMedienInfo();
                m.Mp3_ID3v1_Vorhanden = 1;
                // The third name is too long for the file system: its rename fails and the run asks.
                m.Mp3_ID3v1_Titel = i == 2 ? QString(300, QLatin1Char('x')) : QStringLiteral("Lied %1").arg(i);
                m.Datei_HinzugefügtAm = QStringLiteral("01.02.2003");
                const QString pfad = Mp3Bauer::DateiSchreiben(ordner, QStringLiteral("%1.mp3").arg(i), Mp3Bauer::Frames(Mp3Bauer::Frame(), 2));
                einträge.push_back(idx.EintragAnhängen(pfad, m));
            }
            beendet = gespeichert = 0;
            int gefragt = 0, danachBeendet = -1, danachGespeichert = -1;
            // The user closes while the question is open, then answers "Ja"; any other message is confirmed.
            QTimer benutzer;
            QObject::connect(&benutzer, &QTimer::timeout, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                if (!box->text().contains("Möchten Sie mit der nächsten Datei fortfahren?"))
                    return QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
                ++gefragt;
                if (art == Art::Ende)
                    f->Tag = QStringLiteral("1");
                if (art == Art::Signal)
                    ::raise(SIGTERM);
                else if (art == Art::Titelleiste)
                    f->windowHandle()->close();
                else
                    f->close();
                QTest::qWait(300); // what the close did while the question was still open
                danachBeendet = beendet;
                danachGespeichert = gespeichert;
                for (QAbstractButton* k : box->buttons())
                    if (k->text() == "Ja")
                        QTest::mouseClick(k, Qt::LeftButton);
            });
            benutzer.start(20);
            UmbenennenEingaben ein;
            ein.intFunktion = UmbenennenFelder;
            ein.strFormat = "%Titel%";
            EXPECT_EQ(DateienUmbenennen(idx, einträge, ein), kDateien - 1);
            benutzer.stop();
            EXPECT_EQ(gefragt, 1);
            EXPECT_EQ(std::pair(danachBeendet, danachGespeichert), std::pair(0, 0))
                << "the program ended or saved while the run waited on its question";
            EXPECT_EQ(beendet, 0);
            Warten(5000);
            QTest::qWait(300); // nothing more comes later
            EXPECT_EQ(std::pair(beendet, gespeichert), std::pair(1, 1));
            EXPECT_EQ(idx.strIndexPfad[size_t(kDateien)], ordner.filePath(QStringLiteral("Lied %1.mp3").arg(kDateien - 1)))
                << "the run went on to its end before the close";
        }
    e.StartBildschirm = 1;
}
