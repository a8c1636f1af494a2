// The remote control against a player process of our own on the session bus
// (the test command provides a private one with dbus-run-session).

#include "SpielerTestHilfen.h"

#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "player/Abspielen.h"
#include "player/SpielerBackend.h"
#include "player/Winamp.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kTestSchnittstelle = QStringLiteral("org.kalvero.Testspieler");
const QString kPfad = QStringLiteral("/org/mpris/MediaPlayer2");

class MprisIntegrationTest : public ::testing::Test {
protected:
    QTemporaryDir ordner;
    Einstellungen gesichert;
    std::unique_ptr<MprisBackend> backend;
    QByteArray altesCache;

    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
        const QString werkzeug = QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/fake-mpris-player");
        if (!QFile::exists(werkzeug))
            GTEST_SKIP() << "fake-mpris-player not built";
        gesichert = einstellungen();
        einstellungen() = StandardEinstellungen();
        altesCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", ordner.filePath("cache").toUtf8());
        backend = std::make_unique<MprisBackend>();
        DienstSetzen<SpielerBackendDienst>(backend.get());
        strWinampDienst.clear();
        m_werkzeug = werkzeug;
        m_eingerichtet = true;
    }
    void TearDown() override
    {
        if (!m_eingerichtet)
            return;
        if (!strWinampDienst.isEmpty()) {
            QDBusInterface wurzel(strWinampDienst, kPfad, QStringLiteral("org.mpris.MediaPlayer2"));
            wurzel.setTimeout(500);
            wurzel.call(QStringLiteral("Quit"));
        }
        DienstSetzen<SpielerBackendDienst>(nullptr);
        strWinampDienst.clear();
        einstellungen() = gesichert;
        qputenv("XDG_CACHE_HOME", altesCache);
    }

    // The fake player under the name of a player we control.
    QString spielerUnter(const QString& name)
    {
        const QString pfad = ordner.filePath(name);
        QFile::link(m_werkzeug, pfad);
        return pfad;
    }
    bool warteBis(const std::function<bool()>& bedingung, int ms = 3000)
    {
        QElapsedTimer t;
        t.start();
        while (!bedingung()) {
            if (t.elapsed() > ms)
                return false;
            backend->Warten(20);
        }
        return true;
    }
    bool abfrageBis(const QString& status)
    {
        return warteBis([&] { return Winamp_Check(false) && WinAMP_GetStatus() == status; });
    }
    QStringList protokoll()
    {
        QDBusInterface test(strWinampDienst, kPfad, kTestSchnittstelle);
        test.setTimeout(1000);
        const QDBusReply<QStringList> r = test.call(QStringLiteral("Protokoll"));
        return r.isValid() ? r.value() : QStringList();
    }
    bool protokollEnthält(const QString& zeile)
    {
        return warteBis([&] { return protokoll().contains(zeile); });
    }
    void setzen(const QString& status, const QString& künstler, const QString& titel, qlonglong längeUs,
                qlonglong positionUs)
    {
        QDBusInterface test(strWinampDienst, kPfad, kTestSchnittstelle);
        test.call(QStringLiteral("Setzen"), status, künstler, titel, QString(), längeUs, positionUs);
    }

    QString m_werkzeug;
    bool m_eingerichtet = false;
};

TEST_F(MprisIntegrationTest, BefehleKommenAnUndWerteKommenZurück)
{
    einstellungen().WinampPfad = spielerUnter("audacious");
    EXPECT_FALSE(Winamp_Check(false));
    EXPECT_EQ(WinAMP_GetStatus(), "");

    ASSERT_TRUE(Winamp_Check(true));
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.audacious");
    ASSERT_TRUE(abfrageBis("STOPPED"));

    setzen("Playing", "Artist", "Song", 215600000, 42500000);
    ASSERT_TRUE(abfrageBis("PLAYING"));
    EXPECT_EQ(WinAMP_GetTrackLength(), 215);
    EXPECT_EQ(WinAMP_GetTrackPosition(), 42);
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "Artist - Song");

    WinAMP_SendCommandMessage(kWinampPause, false);
    WinAMP_SetBalance(-5);
    WinAMP_SendCommandMessage(kWinampPlaylistLeeren, true);
    WinAMP_SetVolume(51);
    WinAMP_SeekToPosition(30);
    ASSERT_TRUE(protokollEnthält("SetPosition /org/kalvero/spur/1 30000000"));
    EXPECT_EQ(protokoll(), QStringList({"Befehlszeile ", "Pause", "Set Volume 0.2",
                                        "SetPosition /org/kalvero/spur/1 30000000"}));
    EXPECT_TRUE(abfrageBis("PAUSED"));

    // Enqueue hands the playlist to the running player on its command line.
    Index idx;
    idx.strDateiTypen = {"mp3=1"};
    idx.strDateiTypArten = {"110"};
    idx.intDateiTypenLeer = 0;
    QStringList pfade;
    for (const char* n : {"eins.mp3", "zwei.mp3"}) {
        pfade << ordner.filePath(QString::fromLatin1(n));
        QFile(pfade.last()).open(QIODevice::WriteOnly);
        MedienInfo m;
        m.Mp3_ID3v1_Vorhanden = 2;
        idx.EintragAnhängen(pfade.last(), m);
    }
    EXPECT_TRUE(AbspielenMediaPlayer(idx, {1, 2}, true, false, false, ""));
    EXPECT_TRUE(protokollEnthält("Datei " + pfade[1]));
    EXPECT_TRUE(protokoll().contains("Datei " + pfade[0]));
    // A player that reports what it plays counts its plays itself.
    EXPECT_EQ(idx.IndexDaten[1].Datei_AngefordertAnzahl, 0);

    // Play: opened, then told to play.
    EXPECT_TRUE(AbspielenMediaPlayer(idx, {2}, false, false, false, ""));
    ASSERT_TRUE(warteBis([&] { return protokoll().count("Datei " + pfade[1]) == 2; }));
    EXPECT_TRUE(protokollEnthält("Play"));

    // The player ends: it is no longer found.
    QDBusInterface wurzel(strWinampDienst, kPfad, QStringLiteral("org.mpris.MediaPlayer2"));
    wurzel.call(QStringLiteral("Quit"));
    EXPECT_TRUE(warteBis([] { return !Winamp_Check(false); }));
    EXPECT_EQ(WinAMP_GetStatus(), "");
    EXPECT_EQ(WinAMP_GetTrackPosition(), 0);
}

TEST_F(MprisIntegrationTest, EinSpielerUnterAnderemNamenWirdGesteuert)
{
    // Under a name of its own, not one of the players known beforehand.
    einstellungen().WinampPfad = spielerUnter("mein-spieler");
    ASSERT_TRUE(Winamp_Check(true));
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.mein-spieler");
    EXPECT_TRUE(SpielerSteuerbar(einstellungen().WinampPfad));
    setzen("Playing", "A", "T", 100000000, 0);
    ASSERT_TRUE(abfrageBis("PLAYING"));
    WinAMP_SendCommandMessage(kWinampStopp, false);
    EXPECT_TRUE(protokollEnthält("Stop"));
    QDBusInterface(strWinampDienst, kPfad, QStringLiteral("org.mpris.MediaPlayer2")).call(QStringLiteral("Quit"));
    ASSERT_TRUE(warteBis([] { return !Winamp_Check(false); }));

    // Registered under another bus name: found by its desktop entry.
    qputenv("KALVERO_TESTSPIELER_BUSNAME", "ganz.anders");
    einstellungen().WinampPfad = spielerUnter("zweiter-spieler");
    const bool gefunden = Winamp_Check(true);
    qunsetenv("KALVERO_TESTSPIELER_BUSNAME");
    ASSERT_TRUE(gefunden);
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.ganz.anders");
    ASSERT_TRUE(abfrageBis("STOPPED"));
}

TEST_F(MprisIntegrationTest, EinHängenderSpielerHältDieAbfrageNichtAuf)
{
    einstellungen().WinampPfad = spielerUnter("vlc");
    ASSERT_TRUE(Winamp_Check(true));
    setzen("Playing", "A", "T", 100000000, 0);
    ASSERT_TRUE(abfrageBis("PLAYING"));

    QDBusInterface test(strWinampDienst, kPfad, kTestSchnittstelle);
    test.call(QStringLiteral("Haengen"), 2500);

    // Every poll answers at once; after the reply timeout the player counts
    // as one that says nothing.
    qint64 längsteAbfrage = 0;
    QElapsedTimer gesamt;
    gesamt.start();
    bool verstummt = false;
    while (gesamt.elapsed() < 2000 && !verstummt) {
        QElapsedTimer t;
        t.start();
        Winamp_Check(false);
        verstummt = WinAMP_GetStatus() == "STOPPED";
        WinAMP_GetTrackPosition();
        WinampTitelLesen(strWinampDienst);
        WinAMP_SetVolume(10);
        WinAMP_SendCommandMessage(kWinampNächster, false);
        längsteAbfrage = std::max(längsteAbfrage, t.elapsed());
        backend->Warten(50);
    }
    EXPECT_TRUE(verstummt);
    EXPECT_LT(gesamt.elapsed(), 1500);
    EXPECT_LT(längsteAbfrage, 100);

    // Once it answers again, so does the poll.
    EXPECT_TRUE(warteBis([&] { return Winamp_Check(false) && WinAMP_GetStatus() == "PLAYING"; }, 5000));
}

TEST(MprisOhneBusTest, OhneBusLeerUndNullenUndKeinAbsturz)
{
    const Einstellungen gesichert = einstellungen();
    QTemporaryDir ordner;
    const QString spieler = ordner.filePath("audacious");
    QFile(spieler).open(QIODevice::WriteOnly); // there, but no program
    einstellungen() = StandardEinstellungen();
    einstellungen().WinampPfad = spieler;
    std::vector<Meldung> meldungen;
    DienstSetzen<MeldungsDienst>([&](const Meldung& m) {
        meldungen.push_back(m);
        return Antwort::OK;
    });

    MprisBackend keinBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/kalvero-bus"),
                                                       QStringLiteral("kalvero-keinbus")));
    DienstSetzen<SpielerBackendDienst>(&keinBus);
    strWinampDienst.clear();
    EXPECT_FALSE(Winamp_Check(false));
    ErwarteKeinenSpieler();
    keinBus.Auffrischen(QStringLiteral("org.mpris.MediaPlayer2.audacious"));
    keinBus.Aufrufen(QStringLiteral("org.mpris.MediaPlayer2.audacious"), QStringLiteral("Play"));

    // The player program cannot be started: reported, and a failure.
    EXPECT_FALSE(Winamp_Check(true));
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_TRUE(meldungen[0].text.contains("ist beim Starten eines Programmes aufgetreten."));

    DienstSetzen<SpielerBackendDienst>(nullptr);
    DienstSetzen<MeldungsDienst>(nullptr);
    einstellungen() = gesichert;
}

} // namespace
