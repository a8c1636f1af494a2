#include "core/Einstellungen.h"
#include "core/Index.h"
#include "player/AutoDJ.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

const QDateTime kJetzt(QDate(2026, 12, 9), QTime(10, 0, 0));

// Random numbers from a script; 0 once it is used up.
struct Skript {
    std::vector<double> werte;
    size_t pos = 0;
    Zufallszahl zufall()
    {
        return [this] { return pos < werte.size() ? werte[pos++] : 0.0; };
    }
};

// Numbers that leave every slot where it is: j = i.
std::vector<double> ohneMischen(int n)
{
    std::vector<double> v;
    for (int i = 1; i <= n; ++i)
        v.push_back((i - 0.5) / n);
    return v;
}

class AutoDJTest : public ::testing::Test {
protected:
    Index idx;

    qint32 eintrag(qint32 anzahl, int genre = 17, const QString& gespielt = QString(), const QString& genreV2 = QString())
    {
        MedienInfo m;
        const qint32 nr = idx.lngIndexAnzahl + 1;
        m.Mp3_ID3v1_Vorhanden = genre >= 0 ? 1 : 2;
        m.Mp3_ID3v1_Interpret = QStringLiteral("Interpret %1").arg(nr);
        m.Mp3_ID3v1_Titel = QStringLiteral("Titel %1").arg(nr);
        GenreByteSetzen(m, genre);
        if (!genreV2.isNull()) {
            m.Mp3_ID3v2_Vorhanden = 1;
            m.Mp3_ID3v2_Musikrichtung = genreV2;
        } else {
            m.Mp3_ID3v2_Vorhanden = 2;
        }
        m.Datei_AngefordertAnzahl = anzahl;
        m.Datei_AngefordertGespieltAm = gespielt;
        return idx.EintragAnhängen(QStringLiteral("/m/%1.mp3").arg(nr), m);
    }

    AutoDJVorschlag erstellen(const AutoDJKriterien& k, std::vector<double> werte)
    {
        Skript s{std::move(werte)};
        return AutoDJErstellen(idx, k, s.zufall(), kJetzt);
    }
    static AutoDJKriterien rock(double maximum = 100)
    {
        AutoDJKriterien k;
        k.genres = {"rock"};
        k.maximum = maximum;
        return k;
    }
};

TEST_F(AutoDJTest, DurchschnittGerundetZurGeradenZahl)
{
    eintrag(1), eintrag(2), eintrag(2), eintrag(5), eintrag(100, 13 /* Pop */), eintrag(0);
    AutoDJVorschlag v = erstellen(rock(), ohneMischen(6));
    EXPECT_TRUE(v.datenVorhanden);
    EXPECT_EQ(v.gezählt, 4);
    EXPECT_EQ(v.summe, 10);
    EXPECT_EQ(v.durchschnitt, 2) << "2.5 gives 2";
    EXPECT_EQ(v.einträge, std::vector<qint32>({2, 3, 4}));
    EXPECT_EQ(v.texte, QStringList({"Interpret 2 - Titel 2", "Interpret 3 - Titel 3", "Interpret 4 - Titel 4"}));

    idx = Index();
    eintrag(1), eintrag(2);
    v = erstellen(rock(), ohneMischen(2));
    EXPECT_EQ(v.durchschnitt, 2) << "1.5 gives 2";
    EXPECT_EQ(v.einträge, std::vector<qint32>({2}));

    idx = Index();
    eintrag(3), eintrag(4);
    EXPECT_EQ(erstellen(rock(), {}).durchschnitt, 4) << "3.5 gives 4";

    // Play counts are summed in 64 bits.
    idx = Index();
    const qint32 groß = std::numeric_limits<qint32>::max();
    eintrag(groß), eintrag(groß);
    v = erstellen(rock(), ohneMischen(2));
    EXPECT_EQ(v.summe, 2 * qint64(groß));
    EXPECT_EQ(v.durchschnitt, groß);
    EXPECT_EQ(v.einträge.size(), 2u);
}

TEST_F(AutoDJTest, MischenMitSkriptUndJNieÜberN)
{
    eintrag(1), eintrag(2), eintrag(2), eintrag(5), eintrag(7, 13);
    // j = 1 every time: slot i and slot 1 swap, i = 1..5.
    AutoDJVorschlag v = erstellen(rock(), {0, 0, 0, 0, 0});
    EXPECT_EQ(v.einträge, std::vector<qint32>({2, 3, 4}));
    v = erstellen(rock(), {0.9, 0.1, 0.5, 0.3, 0.0});
    // [0,2,3,4,0] -> i1 j5: [0,2,3,4,0]; i2 j1: [2,0,3,4,0]; i3 j3; i4 j2: [2,4,3,0,0]; i5 j1: [0,4,3,0,2]
    EXPECT_EQ(v.einträge, std::vector<qint32>({4, 3, 2}));
    // A generator that comes up with 1.0 (or a product rounded up to N) still stays inside.
    v = erstellen(rock(), {1.0, 1.0, 0.9999999999999999, 1.5, std::nan("")});
    EXPECT_EQ(v.einträge.size(), 3u);
    // No generator at all: j = 1.
    EXPECT_EQ(AutoDJErstellen(idx, rock(), nullptr, kJetzt).einträge, std::vector<qint32>({2, 3, 4}));
}

TEST_F(AutoDJTest, MaximumUndMindestensEineZeile)
{
    for (int i = 0; i < 10; ++i)
        eintrag(4);
    EXPECT_EQ(erstellen(rock(3), ohneMischen(10)).einträge, std::vector<qint32>({1, 2, 3}));
    EXPECT_EQ(erstellen(rock(0), ohneMischen(10)).einträge.size(), 1u);
    EXPECT_EQ(erstellen(rock(-5), ohneMischen(10)).einträge.size(), 1u);
    EXPECT_EQ(erstellen(rock(1e30), ohneMischen(10)).einträge.size(), 10u);
}

TEST_F(AutoDJTest, AuslassenNachKalendergrenzen)
{
    eintrag(3, 17, "08.12.2026 23:59:00");  // yesterday: one day boundary
    eintrag(3, 17, "07.12.2026 10:00:00");  // two days ago
    eintrag(3, 17, "");                     // never played
    eintrag(3, 17, "09.12.2026 09:59:59");  // a second ago: one minute boundary
    AutoDJKriterien k = rock();
    k.auslassen = 1;
    k.zeiteinheit = 2;
    EXPECT_EQ(erstellen(k, ohneMischen(4)).einträge, std::vector<qint32>({2}));
    k.auslassen = 0;
    k.zeiteinheit = 0;
    EXPECT_EQ(erstellen(k, ohneMischen(4)).einträge, std::vector<qint32>({1, 2, 4}));
    k.auslassen = 1;
    k.zeiteinheit = 1;
    EXPECT_EQ(erstellen(k, ohneMischen(4)).einträge, std::vector<qint32>({1, 2}));
    k.auslassen.reset();
    EXPECT_EQ(erstellen(k, ohneMischen(4)).einträge, std::vector<qint32>({1, 2, 3, 4}));

    EXPECT_EQ(GrenzenZählen('m', QDateTime(QDate(2026, 1, 31), QTime(23, 0)), kJetzt), 11);
    EXPECT_EQ(GrenzenZählen('h', QDateTime(QDate(2026, 12, 8), QTime(23, 59)), kJetzt), 11);
    EXPECT_EQ(GrenzenZählen('n', QDateTime(QDate(2026, 12, 9), QTime(9, 59, 59)), kJetzt), 1);
    EXPECT_EQ(GrenzenZählen('d', QDateTime(QDate(2026, 12, 10), QTime(0, 0)), kJetzt), -1);
}

TEST_F(AutoDJTest, GenresOhneUnterschiedDerSchreibweiseUndOhneGenre)
{
    eintrag(2, 17);                     // Rock
    eintrag(2, 13);                     // Pop
    eintrag(2, -1, "", "(17)Rock");    // ID3v2 only: v1 genre text empty
    eintrag(2, 13, "", "ROCK");          // Pop in v1, Rock in v2
    eintrag(2, 13, "", "Pop");           // both set
    AutoDJKriterien k;
    k.genres = {"ROCK"};
    EXPECT_EQ(erstellen(k, ohneMischen(5)).einträge, std::vector<qint32>({1, 3, 4}));
    k.genres = {"(Dateien ohne Genre)"}; // the list item itself is no genre name
    EXPECT_FALSE(erstellen(k, ohneMischen(5)).datenVorhanden);
    k.genres = {""};
    // Entry 1 and 2 have no ID3v2 genre, 3 no ID3v1 genre.
    EXPECT_EQ(erstellen(k, ohneMischen(5)).einträge, std::vector<qint32>({1, 2, 3}));
    k.genres = {"pop", "Rock", "pop"};
    EXPECT_EQ(erstellen(k, ohneMischen(5)).einträge.size(), 5u);
}

TEST_F(AutoDJTest, KeineDaten)
{
    eintrag(0), eintrag(5, 13);
    const AutoDJVorschlag v = erstellen(rock(), {});
    EXPECT_FALSE(v.datenVorhanden);
    EXPECT_TRUE(v.einträge.empty());
    EXPECT_EQ(AutoDJKeineDatenText(false),
              "Die Funktion 'AutoDJ' kann nicht ausgeführt werden.\n\nEs liegen z.Zt. keine Nutzungsdaten für Dateien "
              "der gewählten Genre vor.\nAktivieren Sie in den 'Optionen' die 'Speicherung von Abspiel-Statitsiken', "
              "um Nutzungsdaten zu speichern.");
    EXPECT_TRUE(AutoDJKeineDatenText(true).endsWith(
        "vor.\nLassen Sie dieses Programm einfach einige Tage im Hintergrund neben Winamp laufen, um Nutzungsdaten zu "
        "speichern."));
}

class AutoDJAlterTest : public AutoDJTest {
protected:
    // 100 entries of count 1; `stelle` played often `monate` months ago.
    void bauen(qint32 stelle, int monate)
    {
        const QString datum = kJetzt.addMonths(-monate).toString("dd.MM.yyyy hh:mm:ss");
        for (qint32 i = 1; i <= 100; ++i)
            eintrag(i == stelle ? 10 : 1, 17, datum);
    }
    std::vector<qint32> reihe(const AutoDJKriterien& k, std::vector<double> nachMischen)
    {
        std::vector<double> w = ohneMischen(100);
        w.insert(w.end(), nachMischen.begin(), nachMischen.end());
        Skript s{w};
        const AutoDJVorschlag v = AutoDJErstellen(idx, k, s.zufall(), kJetzt);
        EXPECT_EQ(s.pos, w.size()) << "each qualifying slot draws one number";
        return v.einträge;
    }
};

TEST_F(AutoDJAlterTest, KürzlichOftGehörteWandernNachHinten)
{
    bauen(20, 2);
    AutoDJKriterien k = rock();
    k.alteSeltener = true;
    std::vector<qint32> r = reihe(k, {0.3}); // factor 2
    EXPECT_EQ(r[39], 20);
    EXPECT_EQ(r[19], 40);

    idx = Index();
    bauen(40, 6);
    r = reihe(k, {0.3}); // target 80; twice that is beyond 100
    EXPECT_EQ(r[99], 40);
    EXPECT_EQ(r[39], 100);

    // Played this month, or the option off: nothing moves, nothing drawn.
    idx = Index();
    bauen(20, 0);
    EXPECT_EQ(reihe(k, {})[19], 20);
    idx = Index();
    bauen(20, 2);
    k.alteSeltener = false;
    EXPECT_EQ(reihe(k, {})[19], 20);
}

TEST_F(AutoDJAlterTest, LangeNichtGehörteWandernNachVorne)
{
    bauen(50, 7);
    AutoDJKriterien k = rock();
    k.sehrAlteHäufiger = true;
    std::vector<qint32> r = reihe(k, {0.8}); // factor 4: 12.5 rounds up to 13
    EXPECT_EQ(r[12], 50);
    EXPECT_EQ(r[49], 13);

    idx = Index();
    bauen(1, 12);
    r = reihe(k, {0.99}); // 1 / 4 rounds to 0: slot 1
    EXPECT_EQ(r[0], 1);

    // Six months is not long ago.
    idx = Index();
    bauen(50, 6);
    EXPECT_EQ(reihe(k, {})[49], 50);
    k.alteSeltener = true;
    EXPECT_EQ(reihe(k, {0.0})[49], 50) << "factor 1 keeps the slot";
}

TEST_F(AutoDJTest, Zahlen)
{
    EXPECT_EQ(AutoDJZahl(" 12 "), 12.0);
    EXPECT_EQ(AutoDJZahl("2,5"), 2.5);
    EXPECT_EQ(AutoDJZahl("1e3"), 1000.0);
    EXPECT_EQ(AutoDJZahl("-3"), -3.0);
    EXPECT_FALSE(AutoDJZahl(""));
    EXPECT_FALSE(AutoDJZahl("zehn"));
    EXPECT_FALSE(AutoDJZahl("inf"));
    EXPECT_FALSE(AutoDJZahl("nan"));
}

} // namespace
