#include "support/ListenHilfen.h"
#include "mainwindow/Suche.h"

#include <gtest/gtest.h>

namespace {

class SucheTest : public ::testing::Test {
protected:
    Index idx;
    Suchbegriffe s;

    // Runs one search of the given queries (field, text, option) and gives
    // back the hit flags of entries 1..count.
    std::vector<int> Suchen(std::initializer_list<std::array<const char*, 3>> abfragen)
    {
        SuchbegriffeZurücksetzen(s);
        for (const auto& a : abfragen)
            EXPECT_TRUE(SuchbegriffeHinzufügen(s, QString::fromUtf8(a[1]), QString::fromUtf8(a[0]), QString::fromUtf8(a[2])));
        qint32 von = 0, bis = 0;
        SuchErgebnisseZurücksetzen(idx, von, bis);
        EXPECT_TRUE(IndexSucheDurchführen(idx, s, von, bis));
        std::vector<int> erg;
        for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i)
            erg.push_back(idx.intSuchErgebnis[size_t(i)]);
        return erg;
    }
    std::vector<int> Suchen(const char* feld, const char* text) { return Suchen({{feld, text, "00"}}); }
};

using V = std::vector<int>;

TEST_F(SucheTest, QueryStoreKeepsItsArraysInStep)
{
    EXPECT_EQ(s.lngSuchbegriffeAnzahl, 0);
    EXPECT_EQ(s.strSuchbegriffeFeld.size(), 2u) << "element 0 unused, one element";
    SuchbegriffeHinzufügen(s, QStringLiteral("a"), QStringLiteral("Titel"), QStringLiteral("00"));
    SuchbegriffeHinzufügen(s, QStringLiteral("b"), QStringLiteral("Album"), QStringLiteral("10"));
    SuchbegriffeHinzufügen(s, QStringLiteral("c"), QStringLiteral("Jahr"), QStringLiteral("01"));
    EXPECT_TRUE(SuchbegriffeÄndern(s, 2, QStringLiteral("B"), QStringLiteral("Genre"), QStringLiteral("11")));
    EXPECT_TRUE(SuchbegriffeLöschen(s, 1));
    ASSERT_EQ(s.lngSuchbegriffeAnzahl, 2);
    EXPECT_EQ(s.strSuchbegriffeText[1], QStringLiteral("B"));
    EXPECT_EQ(s.strSuchbegriffeFeld[1], QStringLiteral("Genre"));
    EXPECT_EQ(s.strSuchbegriffeOptionen[2], QStringLiteral("01"));
    // Numbers that name no query change nothing.
    EXPECT_FALSE(SuchbegriffeÄndern(s, 3, QString(), QString(), QString()));
    EXPECT_FALSE(SuchbegriffeLöschen(s, 0));
    EXPECT_FALSE(SuchbegriffeLöschen(s, 3));
    EXPECT_EQ(s.lngSuchbegriffeAnzahl, 2);
    EXPECT_TRUE(SuchbegriffeLöschen(s, 2));
    EXPECT_TRUE(SuchbegriffeLöschen(s, 1));
    EXPECT_EQ(s.lngSuchbegriffeAnzahl, 0);
    EXPECT_EQ(s.strSuchbegriffeText.size(), 2u);
}

TEST_F(SucheTest, WordsNarrowTheStandardSearch)
{
    Hinzu(idx, QStringLiteral("/m/1.mp3"), Lied(QStringLiteral("The Beatles"), QStringLiteral("Help!")));
    Hinzu(idx, QStringLiteral("/m/2.mp3"), Lied(QStringLiteral("Beatles Tribute"), QStringLiteral("Yesterday")));
    Hinzu(idx, QStringLiteral("/m/help.mp3"), Lied(QStringLiteral("beatles"), QString()));
    Hinzu(idx, QStringLiteral("/m/4.mp3"), Lied(QString(), QString()));
    EXPECT_EQ(Suchen("(Standardsuche)", ""), (V{1, 1, 1, 1}));
    EXPECT_EQ(Suchen("(Standardsuche)", "help BEATLES"), (V{1, 0, 1, 0})) << "any order, any case, paths too";
    EXPECT_EQ(Suchen("(Standardsuche)", "beatles  help"), (V{1, 0, 1, 0})) << "an empty word matches";
    EXPECT_EQ(Suchen("(Standardsuche)", " yesterday"), (V{0, 1, 0, 0}));
    // An empty text in a field lists the entries whose field is not empty.
    EXPECT_EQ(Suchen("Titel", ""), (V{1, 1, 0, 0}));
    EXPECT_EQ(Suchen("Titel", "  "), (V{1, 1, 0, 0}));
    EXPECT_EQ(Suchen("Foo", "x"), (V{0, 0, 0, 0})) << "no such field";
}

TEST_F(SucheTest, NumbersDatesAndDurationsByTheirKind)
{
    Hinzu(idx, QStringLiteral("/m/1.mp3"), Lied(QString(), QString()), [](MedienInfo& m) {
        m.Mp3_ID3v1_Jahr = QStringLiteral("1999");
        m.Datei_HinzugefügtAm = QStringLiteral("05.03.2001");
        m.Header_Dauer = 225;
    });
    Hinzu(idx, QStringLiteral("/m/2.mp3"), Lied(QString(), QString()), [](MedienInfo& m) {
        m.Mp3_ID3v1_Jahr = QStringLiteral("1990");
        m.Datei_HinzugefügtAm = QStringLiteral("03.05.2001");
        m.Header_Dauer = 345;
    });
    EXPECT_EQ(Suchen("Jahr", "199"), (V{0, 0}));
    EXPECT_EQ(Suchen("Jahr", "1999"), (V{2, 0}));
    EXPECT_EQ(Suchen("Hinzufüge-Datum", "03."), (V{0, 0})) << "fewer than four characters";
    EXPECT_EQ(Suchen("Hinzufüge-Datum", "03.2001"), (V{1, 0}));
    EXPECT_EQ(Suchen("Hinzufüge-Datum", "2001"), (V{1, 1})) << "exactly four characters";
    EXPECT_EQ(Suchen("Hinzufüge-Datum", "001"), (V{0, 0}));
    EXPECT_EQ(Suchen("Dauer", "3:45"), (V{1, 0}));
    EXPECT_EQ(Suchen("Dauer", "345"), (V{0, 0}));
}

TEST_F(SucheTest, ExactHitsDropTheSubstringHits)
{
    for (const char* g : {"Pop-Folk", "Pop", "Pop/Funk", "pop"})
        Hinzu(idx, QStringLiteral("/m/x.mp3"), Lied(QString(), QString()), [g](MedienInfo& m) {
            m.Mp3_ID3v2_Vorhanden = 1;
            m.Mp3_ID3v2_Musikrichtung = QString::fromUtf8(g);
            m.Mp3_ID3v1_Titel = m.Mp3_ID3v2_Musikrichtung;
        });
    EXPECT_EQ(Suchen("Genre-ID3v2", "Pop"), (V{0, 2, 0, 2}));
    EXPECT_EQ(Suchen("Genre-ID3v2", "Po"), (V{1, 1, 1, 1}));
    // "ODER!" makes no exact hits; it narrows like any other query.
    EXPECT_EQ(Suchen({{"Genre-ID3v2", "Pop", "01"}}), (V{1, 1, 1, 1}));
    // The standard search never makes an exact hit from its empty word.
    EXPECT_EQ(Suchen("(Standardsuche)", " Pop"), (V{1, 1, 1, 1}));
}

TEST_F(SucheTest, MustNotWordsRemoveEntriesAlsoAmongExactHits)
{
    for (const char* t : {"Rock", "Rock", "Rock Live", "Jazz"})
        Hinzu(idx, QStringLiteral("/m/x.mp3"), Lied(QString(), QString::fromUtf8(t)));
    idx.strIndexPfad[2] = QStringLiteral("/m/live/x.mp3");
    EXPECT_EQ(Suchen({{"(Standardsuche)", "Live", "10"}}), (V{1, 0, 0, 1}));
    // Exact hits on the title, then a must-not word over the path: the exact
    // hit in the "live" folder goes, the other stays an exact hit.
    EXPECT_EQ(Suchen({{"Titel", "Rock", "00"}, {"Pfad", "live", "10"}}), (V{2, 0, 0, 0}));
    // A must-not word that is absent keeps an exact hit exact: a later word
    // does not drop it as a mere substring hit.
    EXPECT_EQ(Suchen({{"Titel", "Rock", "00"}, {"Pfad", "jazz", "10"}, {"Titel", "Ro", "00"}}), (V{2, 2, 0, 0}));
}

TEST_F(SucheTest, ChangesAfterASearchAreSeenByTheNext)
{
    Hinzu(idx, QStringLiteral("/m/1.mp3"), Lied(QStringLiteral("Abba"), QStringLiteral("Waterloo")));
    Hinzu(idx, QStringLiteral("/m/2.mp3"), Lied(QStringLiteral("Queen"), QStringLiteral("Innuendo")));
    EXPECT_EQ(Suchen("(Standardsuche)", "waterloo"), (V{1, 0}));
    idx.IndexDaten[2].Mp3_ID3v1_Titel = QStringLiteral("Waterloo Sunset");
    idx.IndexDaten[1].Mp3_ID3v1_Titel += QStringLiteral("!");
    idx.IndexDaten[1].Mp3_ID3v1_Titel.replace(0, 5, QStringLiteral("River"));
    EXPECT_EQ(Suchen("(Standardsuche)", "waterloo"), (V{0, 1}));
    std::swap(idx.IndexDaten[1], idx.IndexDaten[2]);
    EXPECT_EQ(Suchen("(Standardsuche)", "waterloo"), (V{1, 0}));
    idx.strIndexPfad[2] = QStringLiteral("/waterloo/2.mp3");
    EXPECT_EQ(Suchen("(Standardsuche)", "waterloo"), (V{1, 1}));
}

TEST_F(SucheTest, AStaleRangeOrAnEmptyIndexIsHarmless)
{
    Suchen("(Standardsuche)", "x");
    for (int i = 0; i < 3; ++i)
        Hinzu(idx, QStringLiteral("/m/a.mp3"), Lied(QStringLiteral("a"), QString()));
    SuchbegriffeZurücksetzen(s);
    SuchbegriffeHinzufügen(s, QStringLiteral("a"), QStringLiteral("(Standardsuche)"), QStringLiteral("00"));
    std::fill(idx.intSuchErgebnis.begin(), idx.intSuchErgebnis.end(), qint16(1));
    qint32 von = 2, bis = 500; // from before entries were removed
    EXPECT_TRUE(IndexSucheDurchführen(idx, s, von, bis));
    EXPECT_EQ(von, 2);
    EXPECT_EQ(bis, 3);
}

TEST_F(SucheTest, ValueListsAreDistinctAndSorted)
{
    for (const char* i : {"beatles", "Abba", "Beatles", "", "abba", "Cher"})
        Hinzu(idx, QStringLiteral("/m/x.mp3"), Lied(QString::fromUtf8(i), QString()));
    const QStringList w = FeldWerteSammeln(idx, QStringLiteral("Interpret"));
    EXPECT_EQ(w, (QStringList{QStringLiteral("Abba"), QStringLiteral("beatles"), QStringLiteral("Cher")}));
    EXPECT_EQ(AutoCompleteTreffer(w, QStringLiteral("BEAT")), 1);
    EXPECT_EQ(AutoCompleteTreffer(w, QStringLiteral("x")), -1);
    EXPECT_EQ(AutoCompleteTreffer(w, QString()), -1);
    EXPECT_TRUE(FeldWerteSammeln(idx, QStringLiteral("(Standardsuche)")).isEmpty());
}

} // namespace
