#include "SpielerTestHilfen.h"

#include <QDBusObjectPath>

namespace {

using WinampTest = SpielerTest;

TEST_F(WinampTest, NurSpielerMitMprisUnterEigenemNamenGeltenAlsGesteuert)
{
    EXPECT_TRUE(SpielerSteuerbar("/usr/bin/audacious"));
    EXPECT_TRUE(SpielerSteuerbar("/opt/VLC"));
    EXPECT_TRUE(SpielerSteuerbar("vlc"));
    EXPECT_FALSE(SpielerSteuerbar("/usr/bin/audacious2"));
    EXPECT_FALSE(SpielerSteuerbar("/usr/bin/mpv"));
    EXPECT_FALSE(SpielerSteuerbar("/usr/bin/vlc/"));
    EXPECT_FALSE(SpielerSteuerbar(""));
    EXPECT_EQ(SpielerDienstname("/usr/bin/VLC"), "org.mpris.MediaPlayer2.vlc");
}

TEST_F(WinampTest, OhneGefundenenSpielerGehtNichtsHinausUndAllesIstNull)
{
    spieler.Spielt(kDienst, "Playing", 5000, 10000, "A", "T");
    ErwarteKeinenSpieler();
    EXPECT_TRUE(spieler.aufrufe.empty());

    // No program named: nothing is looked for or started.
    einstellungen().WinampPfad = "";
    EXPECT_FALSE(Winamp_Check(true));
    EXPECT_TRUE(spieler.starts.empty());
    EXPECT_TRUE(spieler.aufrufe.empty());
}

TEST_F(WinampTest, JederMprisSpielerDenDasProgrammNenntWirdGesteuert)
{
    // A player of any name, by its own bus name or an instance of it.
    einstellungen().WinampPfad = "/usr/local/bin/Mein-Spieler";
    spieler.Spielt("org.mpris.MediaPlayer2.audacious", "Playing", 0, 1000, "A", "Falsch");
    spieler.Spielt("org.mpris.MediaPlayer2.mein-spieler.instance77", "Playing", 0, 1000, "B", "Richtig");
    EXPECT_TRUE(SpielerSteuerbar(einstellungen().WinampPfad));
    ASSERT_TRUE(Winamp_Check(false));
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.mein-spieler.instance77");
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "B - Richtig");
    WinAMP_SendCommandMessage(kWinampPause, false);
    ASSERT_EQ(spieler.aufrufe.size(), 1u);
    EXPECT_EQ(spieler.aufrufe[0].dienst, "org.mpris.MediaPlayer2.mein-spieler.instance77");

    // Its own bus name comes before an instance.
    spieler.Spielt("org.mpris.MediaPlayer2.mein-spieler", "Paused", 0, 1000, "C", "Eigen");
    ASSERT_TRUE(Winamp_Check(false));
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.mein-spieler");

    // By its desktop entry, also a reverse-domain one, under another bus name.
    spieler.dienste.clear();
    einstellungen().WinampPfad = "/usr/bin/strawberry";
    EXPECT_FALSE(SpielerSteuerbar(einstellungen().WinampPfad)) << "not on the bus: plays counted at hand-over";
    EXPECT_FALSE(Winamp_Check(false));
    spieler.Spielt("org.mpris.MediaPlayer2.clementine", "Playing", 0, 1000, "D", "Nein");
    spieler.Spielt("org.mpris.MediaPlayer2.erdbeere", "Playing", 0, 1000, "E", "Ja");
    spieler.desktop["org.mpris.MediaPlayer2.clementine"] = "org.clementine_player.Clementine";
    spieler.desktop["org.mpris.MediaPlayer2.erdbeere"] = "org.strawberrymusicplayer.Strawberry";
    EXPECT_TRUE(SpielerSteuerbar(einstellungen().WinampPfad));
    ASSERT_TRUE(Winamp_Check(false));
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.erdbeere");
    // A name that only ends like it is another player.
    einstellungen().WinampPfad = "/usr/bin/berry";
    EXPECT_FALSE(Winamp_Check(false));
    EXPECT_EQ(strWinampDienst, "");

    // Not running: any named program is started and waited for.
    einstellungen().WinampPfad = "/usr/bin/mpv";
    spieler.beimStart = [this] { spieler.dienste << "org.mpris.MediaPlayer2.mpv"; };
    EXPECT_TRUE(Winamp_Check(true));
    ASSERT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(spieler.starts[0].programm, "/usr/bin/mpv");
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.mpv");
}

TEST_F(WinampTest, SucheFindetDenSpielerAuchAlsInstanzUndFragtFrischeWerteAn)
{
    einstellungen().WinampPfad = "/usr/bin/vlc";
    spieler.dienste = {"org.mpris.MediaPlayer2.vlcx", "org.mpris.MediaPlayer2.vlc.instance4711"};
    EXPECT_TRUE(Winamp_Check(false));
    EXPECT_EQ(strWinampDienst, "org.mpris.MediaPlayer2.vlc.instance4711");
    EXPECT_EQ(spieler.auffrischungen, 1);

    // The player left: the next search forgets it.
    spieler.dienste.clear();
    EXPECT_FALSE(Winamp_Check(false));
    EXPECT_EQ(strWinampDienst, "");
    EXPECT_EQ(WinAMP_GetStatus(), "");
}

TEST_F(WinampTest, StatusLängePositionUndTitelAusDenMprisWerten)
{
    spieler.Spielt(kDienst, "Playing", 1999, 215600, "Artist", "Song");
    ASSERT_TRUE(Winamp_Check(false));
    EXPECT_EQ(WinAMP_GetStatus(), "PLAYING");
    EXPECT_EQ(WinAMP_GetTrackPosition(), 1);
    EXPECT_EQ(WinAMP_GetTrackLength(), 215);
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "Artist - Song");

    spieler.werte[kDienst]["PlaybackStatus"] = "Paused";
    EXPECT_EQ(WinAMP_GetStatus(), "PAUSED");
    spieler.werte[kDienst]["PlaybackStatus"] = "Stopped";
    EXPECT_EQ(WinAMP_GetStatus(), "STOPPED");
    // Nothing answered yet counts as stopped.
    spieler.werte.remove(kDienst);
    EXPECT_EQ(WinAMP_GetStatus(), "STOPPED");
    EXPECT_EQ(WinAMP_GetTrackPosition(), 0);
    EXPECT_EQ(WinAMP_GetTrackLength(), -1);

    spieler.Spielt(kDienst, "Playing", -1, -1, "", "");
    EXPECT_EQ(WinAMP_GetTrackPosition(), -1);
    EXPECT_EQ(WinAMP_GetTrackLength(), -1);
}

TEST_F(WinampTest, TitelOhneKünstlerOhneTitelUndMitZeilenumbruch)
{
    spieler.Spielt(kDienst, "Playing", 0, 1000, "", "Nur Titel");
    ASSERT_TRUE(Winamp_Check(false));
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "Nur Titel");

    spieler.Spielt(kDienst, "Playing", 0, 1000, "Artist", "", "file:///musik/Mein%20Lied.live.mp3");
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "Mein Lied.live");

    spieler.Spielt(kDienst, "Playing", 0, 1000, "Zeile\r\n", "Zwei\nTeile ");
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "Zeile - ZweiTeile");

    QVariantMap meta = spieler.werte[kDienst]["Metadata"].toMap();
    meta["xesam:artist"] = QStringList{"A", "B"};
    spieler.werte[kDienst]["Metadata"] = meta;
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "A, B - ZweiTeile");
}

TEST_F(WinampTest, BefehleLautstärkeSprungUndBalance)
{
    spieler.Spielt(kDienst, "Playing", 0, 200000, "A", "T");
    ASSERT_TRUE(Winamp_Check(false));
    for (qint32 b : {kWinampVorheriger, kWinampSpielen, kWinampPause, kWinampStopp, kWinampNächster})
        WinAMP_SendCommandMessage(b, false);
    // No MPRIS counterpart: clearing the playlist, jumping to its end, balance.
    WinAMP_SendCommandMessage(kWinampPlaylistLeeren, true);
    WinAMP_SendCommandMessage(kWinampZumEnde, false);
    WinAMP_SendCommandMessage(12345, false);
    WinAMP_SetBalance(-1);
    WinAMP_SetBalance(127);
    EXPECT_EQ(spieler.methoden(), QStringList({"Previous", "Play", "Pause", "Stop", "Next"}));
    for (const auto& a : spieler.aufrufe)
        EXPECT_EQ(a.dienst, kDienst);

    spieler.aufrufe.clear();
    WinAMP_SetVolume(255);
    WinAMP_SetVolume(51);
    WinAMP_SetVolume(256);
    WinAMP_SetVolume(-1);
    ASSERT_EQ(spieler.aufrufe.size(), 2u);
    EXPECT_EQ(spieler.aufrufe[0].methode, "Set Volume");
    EXPECT_DOUBLE_EQ(spieler.aufrufe[0].argumente[0].toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(spieler.aufrufe[1].argumente[0].toDouble(), 0.2);

    spieler.aufrufe.clear();
    WinAMP_SeekToPosition(200); // exactly the length
    WinAMP_SeekToPosition(201);
    WinAMP_SeekToPosition(-1);
    ASSERT_EQ(spieler.aufrufe.size(), 1u);
    EXPECT_EQ(spieler.aufrufe[0].methode, "SetPosition");
    EXPECT_EQ(spieler.aufrufe[0].argumente[0].value<QDBusObjectPath>().path(), "/org/kalvero/spur/1");
    EXPECT_EQ(spieler.aufrufe[0].argumente[1].toLongLong(), 200000000LL);

    // Length not known: never a seek.
    spieler.aufrufe.clear();
    spieler.Spielt(kDienst, "Playing", 0, -1, "A", "T");
    WinAMP_SeekToPosition(0);
    EXPECT_TRUE(spieler.aufrufe.empty());
}

TEST_F(WinampTest, StartNurWennGewünschtUndWartetHöchstensFünfSekunden)
{
    EXPECT_FALSE(Winamp_Check(false));
    EXPECT_TRUE(spieler.starts.empty());

    // Started, but it never shows up.
    EXPECT_FALSE(Winamp_Check(true));
    ASSERT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(spieler.starts[0].programm, spielerPfad);
    EXPECT_TRUE(spieler.starts[0].argumente.isEmpty());
    EXPECT_GE(spieler.uhr, 4000);
    EXPECT_LE(spieler.uhr, 5000);

    // Shows up a second after the start.
    spieler.uhr = 0;
    spieler.beimWarten = [this] {
        if (spieler.uhr >= 1000)
            spieler.dienste = {kDienst};
    };
    EXPECT_TRUE(Winamp_Check(true));
    EXPECT_EQ(spieler.starts.size(), 2u);
    EXPECT_EQ(strWinampDienst, kDienst);
    EXPECT_LT(spieler.uhr, 1500);

    // A start that fails is not waited for.
    spieler.dienste.clear();
    spieler.beimWarten = nullptr;
    spieler.startGelingt = false;
    spieler.uhr = 0;
    EXPECT_FALSE(Winamp_Check(true));
    EXPECT_EQ(spieler.uhr, 0);
}

} // namespace
