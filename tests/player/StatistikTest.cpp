#include "SpielerTestHilfen.h"

#include "platform/Registry.h"
#include "player/Spielerabfrage.h"
#include "player/Statistik.h"

namespace {

class StatistikTest : public SpielerTest {
protected:
    Index idx;
    const QDateTime t0 = QDateTime(QDate(2024, 5, 17), QTime(20, 15, 0));

    qint32 neu(const QString& pfad, const MedienInfo& m = MedienInfo()) { return idx.EintragAnhängen(pfad, m); }
    qint32 plays(qint32 e) const { return idx.IndexDaten[size_t(e)].Datei_AngefordertAnzahl; }

    // The title shows at t0 and is looked at again `sekunden` later.
    void spielen(const QString& titel, int sekunden = 31)
    {
        ASSERT_TRUE(WinampDateiErkennen(idx, titel, t0));
        ASSERT_TRUE(WinampDateiErkennen(idx, titel, t0.addSecs(sekunden)));
    }
};

TEST_F(StatistikTest, ZähltErstNachMehrAlsDreißigSekundenUndNurEinmal)
{
    const qint32 e = neu("/musik/a.mp3", TagInfo("Artist", "Song"));
    WinampDateiErkennen(idx, "Artist - Song", t0);
    WinampDateiErkennen(idx, "Artist - Song", t0.addSecs(30));
    EXPECT_EQ(plays(e), 0);
    EXPECT_FALSE(bolWinampTitelBearbeitet);
    EXPECT_FALSE(idx.bolIndexGeändert);

    WinampDateiErkennen(idx, "Artist - Song", t0.addSecs(31));
    EXPECT_EQ(plays(e), 1);
    EXPECT_EQ(idx.IndexDaten[size_t(e)].Datei_AngefordertGespieltAm, "17.05.2024 20:15:31");
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_TRUE(bolWinampDateiErkannt);
    EXPECT_EQ(statusText(), "Die derzeit abgespielte Datei wurde 1 Mal erkannt");

    // Still showing (also while paused): counted once.
    WinampDateiErkennen(idx, "Artist - Song", t0.addSecs(300));
    EXPECT_EQ(plays(e), 1);

    // Another title in between: the same song counts again.
    WinampDateiErkennen(idx, "Anderer - Titel", t0.addSecs(301));
    EXPECT_FALSE(bolWinampDateiErkannt);
    WinampDateiErkennen(idx, "Artist - Song", t0.addSecs(302));
    WinampDateiErkennen(idx, "Artist - Song", t0.addSecs(340));
    EXPECT_EQ(plays(e), 2);
}

TEST_F(StatistikTest, TagsPassenAlsTeiltextOhneRücksichtAufGroßschreibung)
{
    const qint32 v1 = neu("/m/1.mp3", TagInfo("The ARTIST A", "Song S (Remix)"));
    const qint32 v2 = neu("/m/2.mp3", TagInfo("", "", "artist a", "song s"));
    const qint32 zwilling = neu("/m/3.mp3", TagInfo("Artist A", "Song S"));
    const qint32 anders = neu("/m/4.mp3", TagInfo("Artist B", "Song S"));
    // Stale fields of a file whose tags are gone are not looked at.
    MedienInfo ohne = TagInfo("Artist A", "Song S");
    ohne.Mp3_ID3v1_Vorhanden = 2;
    const qint32 ohneTag = neu("/m/5.mp3", ohne);
    spielen("Artist A - Song S");
    EXPECT_EQ(plays(v1), 1);
    EXPECT_EQ(plays(v2), 1);
    EXPECT_EQ(plays(zwilling), 1);
    EXPECT_EQ(plays(anders), 0);
    EXPECT_EQ(plays(ohneTag), 0);
    EXPECT_EQ(statusText(), "Die derzeit abgespielte Datei wurde 3 Mal erkannt");
}

TEST_F(StatistikTest, DateinamenNurWennDieTagsNichtsFinden)
{
    const qint32 tag = neu("/m/x.mp3", TagInfo("Artist", "Song"));
    const qint32 name = neu("/m/Artist - Song.mp3");
    spielen("Artist - Song");
    EXPECT_EQ(plays(tag), 1);
    EXPECT_EQ(plays(name), 0);

    Index zweiter;
    std::swap(idx, zweiter);
    const qint32 n1 = neu("/m/Artist - Song.mp3");
    const qint32 n2 = neu("/m/other/artist - song (live).MP3");
    const qint32 n3 = neu("/m/song.artist.mp3"); // both parts, but not the first
    const qint32 n4 = neu("/m/Song.mp3");
    spielen("Artist - Song 2");
    spielen("Artist - Song");
    EXPECT_EQ(plays(n1), 1);
    EXPECT_EQ(plays(n2), 1);
    EXPECT_EQ(plays(n3), 0);
    EXPECT_EQ(plays(n4), 0);
}

TEST_F(StatistikTest, ImDateinamenZähltNurDerErsteMitBeidenTeilenAberJederMitDemGanzenTitel)
{
    const qint32 beide1 = neu("/m/Song by Artist.mp3");
    const qint32 beide2 = neu("/m/Artist, Song.mp3");
    const qint32 ganz = neu("/m/01 Artist - Song.mp3");
    spielen("Artist - Song");
    EXPECT_EQ(plays(beide1), 1);
    EXPECT_EQ(plays(beide2), 0);
    EXPECT_EQ(plays(ganz), 1);
    EXPECT_EQ(statusText(), "Die derzeit abgespielte Datei wurde 2 Mal erkannt");
}

TEST_F(StatistikTest, TitelOhneTeileFindetNurDenGanzenTitelImDateinamen)
{
    const qint32 tag = neu("/m/a.mp3", TagInfo("Radio", "Jingle"));
    const qint32 name = neu("/m/Radio Jingle.mp3");
    spielen("Radio Jingle");
    EXPECT_EQ(plays(tag), 0);
    EXPECT_EQ(plays(name), 1);

    spielen("Unbekannt");
    EXPECT_FALSE(bolWinampDateiErkannt);
    EXPECT_TRUE(bolWinampTitelBearbeitet);
    EXPECT_EQ(statusText(), "Die derzeit abgespielte Datei wurde nicht erkannt");
}

TEST_F(StatistikTest, LeererTitelUndLeererTeilZählenNichts)
{
    const qint32 a = neu("/m/a.mp3", TagInfo("X", "Lied eins"));
    const qint32 b = neu("/m/b.mp3", TagInfo("Y", "Lied zwei"));
    spielen("");
    spielen("   ");
    spielen("X - ");
    spielen(" - Lied");
    EXPECT_EQ(plays(a), 0);
    EXPECT_EQ(plays(b), 0);
    EXPECT_FALSE(idx.bolIndexGeändert);
    EXPECT_EQ(statusText(), "Die derzeit abgespielte Datei wurde nicht erkannt");
}

TEST_F(StatistikTest, AbgeschaltetZähltNichtsUndIstNichtErkannt)
{
    const qint32 e = neu("/m/a.mp3", TagInfo("Artist", "Song"));
    spielen("Artist - Song");
    ASSERT_TRUE(bolWinampDateiErkannt);
    einstellungen().AbspielStatistikSpeichern = 0;
    EXPECT_TRUE(WinampDateiErkennen(idx, "Artist - Song", t0.addSecs(100)));
    EXPECT_FALSE(bolWinampDateiErkannt);
    spielen("Artist - Song");
    EXPECT_EQ(plays(e), 1);
}

// Restarted while the player plays on, the program does not count that playback
// again (the settings keep what it counted last and when); one begun since it does.
TEST_F(StatistikTest, NachEinemNeustartZähltDieselbeWiedergabeNichtNochEinmal)
{
    Registry::DateiSetzen(ordner.filePath("Kalvero.conf"));
    struct Zurück {
        ~Zurück() { Registry::DateiSetzen(QString()); }
    } zurück;
    einstellungen().Start = 1; // the player stays the one set
    const qint32 e = neu("/m/a.mp3", TagInfo("Artist", "Song"));
    const auto abfragen = [&](qint64 sekunden, qint64 position) {
        spieler.Spielt(kDienst, "Playing", position * 1000, 300000, "Artist", "Song");
        return SpielerAbfragen(idx, 100, false, t0.addSecs(sekunden)).titel;
    };
    // The player's position at t0 + 200 (after the restart), and the playbacks counted.
    const struct {
        const char* fall;
        qint64 positionNachDemStart;
        int plays;
    } fälle[] = {{"played on", 200, 1}, {"begun again after the count", 100, 2}, {"begun again after the restart", 5, 2}};
    for (const auto& f : fälle) {
        SCOPED_TRACE(f.fall);
        strWinampTitel.clear();
        datWinampTitelSeit = QDateTime();
        const qint32 vorher = plays(e);
        abfragen(0, 0);
        abfragen(31, 31);
        ASSERT_EQ(plays(e), vorher + 1);
        EXPECT_EQ(einstellungen().AbspielStatistikTitel, "Artist - Song");
        EXPECT_EQ(einstellungen().AbspielStatistikGezählt, "17.05.2024 20:15:31");

        // The restart: the settings written at the end, read at the start; the player's state new.
        EinstellungenSpeichern();
        einstellungen() = StandardEinstellungen();
        strWinampTitel.clear();
        datWinampTitelSeit = QDateTime();
        bolWinampTitelBearbeitet = false;
        bolWinampDateiErkannt = false;
        EinstellungenLesen();

        const QString titel = abfragen(200, f.positionNachDemStart);
        EXPECT_EQ(titel.endsWith("[Erkannt]"), f.plays == 1) << titel.toStdString();
        abfragen(240, f.positionNachDemStart + 40);
        EXPECT_EQ(plays(e), vorher + f.plays);
    }
}

} // namespace
