#include "support/ListenHilfen.h"
#include "mainwindow/Sortieren.h"

#include <gtest/gtest.h>

namespace {

class SortierenTest : public ::testing::Test {
protected:
    Index idx;
    QString letzte;
    qint16 umkehren = 0;

    // Adds one entry per value; the path names the value's place, the hit
    // flag is its place modulo 3, every second one is marked as read from a
    // converted file, so all four can be followed.
    void Füllen(const std::vector<std::function<void(MedienInfo&)>>& werte)
    {
        for (size_t k = 0; k < werte.size(); ++k) {
            Hinzu(idx, QStringLiteral("/m/%1.mp3").arg(k), Lied(QString(), QStringLiteral("t%1").arg(k)), werte[k]);
            idx.intSuchErgebnis[k + 1] = qint16(k % 3);
            idx.bolAusUmgewandelterDatei[k + 1] = k % 2 == 1;
        }
    }
    // The original places in the order the index holds them now; checks that
    // path, record, flag and mark of every entry stayed together.
    std::vector<int> Reihenfolge()
    {
        std::vector<int> r;
        for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i) {
            const int k = idx.strIndexPfad[size_t(i)].mid(3).section(QLatin1Char('.'), 0, 0).toInt();
            EXPECT_EQ(idx.IndexDaten[size_t(i)].Mp3_ID3v1_Titel, QStringLiteral("t%1").arg(k));
            EXPECT_EQ(idx.intSuchErgebnis[size_t(i)], k % 3);
            EXPECT_EQ(idx.bolAusUmgewandelterDatei[size_t(i)], k % 2 == 1);
            r.push_back(k);
        }
        return r;
    }
    std::vector<int> Sortiert(const QString& feld)
    {
        EXPECT_TRUE(IndexSortieren(idx, feld, 1, idx.lngIndexAnzahl));
        return Reihenfolge();
    }
};

using V = std::vector<int>;

TEST_F(SortierenTest, TextsInUpperCaseByCharacterCodes)
{
    Füllen({[](MedienInfo& m) { m.Mp3_ID3v1_Interpret = QStringLiteral("beta"); },
            [](MedienInfo& m) { m.Mp3_ID3v1_Interpret = QStringLiteral("Alpha"); },
            [](MedienInfo& m) { m.Mp3_ID3v1_Interpret = QStringLiteral("ÄRZTE"); },
            [](MedienInfo& m) { m.Mp3_ID3v1_Interpret = QStringLiteral("ALPHA2"); },
            [](MedienInfo& m) { m.Mp3_ID3v1_Vorhanden = 2; }});
    idx.bolIndexGeändert = false;
    EXPECT_EQ(Sortiert(QStringLiteral("Interpret")), (V{4, 1, 3, 0, 2}));
    EXPECT_TRUE(idx.bolIndexGeändert);
    // Bitrate is text: "96 CBR" comes after "320 CBR".
    idx = Index();
    Füllen({[](MedienInfo& m) { m.Header_Bitrate = 96; }, [](MedienInfo& m) { m.Header_Bitrate = 320; }});
    EXPECT_EQ(Sortiert(QStringLiteral("Bitrate")), (V{1, 0}));
}

TEST_F(SortierenTest, NumbersDurationsAndDates)
{
    Füllen({[](MedienInfo& m) {
                m.Datei_Größe = 5'000'000'000LL;
                m.Header_Dauer = 600;
                m.Datei_HinzugefügtAm = QStringLiteral("01.02.2003");
                m.Datei_AngefordertGespieltAm = QStringLiteral("01.02.2003 10:00:00");
                m.Mp3_ID3v1_Jahr = QStringLiteral("1999");
            },
            [](MedienInfo& m) {
                m.Datei_Größe = 999;
                m.Header_Dauer = 3725;
                m.Datei_HinzugefügtAm = QStringLiteral("-");
                m.Datei_AngefordertGespieltAm = QStringLiteral("01.02.2003 9:00:00");
                m.Mp3_ID3v1_Jahr = QStringLiteral("200");
            },
            [](MedienInfo& m) {
                m.Datei_Größe = 1'234'567;
                m.Header_Dauer = 59;
                m.Datei_HinzugefügtAm = QStringLiteral("31.12.1999");
                m.Datei_AngefordertGespieltAm = QStringLiteral("31.12.2003 00:00:00");
                m.Mp3_ID3v1_Jahr = QStringLiteral("x");
            }});
    EXPECT_EQ(Sortiert(QStringLiteral("Größe")), (V{1, 2, 0})) << "as numbers, beyond 32 bits";
    // "1:02:05" sorts after "10:00": by the stored seconds, not the text.
    EXPECT_EQ(Sortiert(QStringLiteral("Dauer")), (V{2, 0, 1}));
    EXPECT_EQ(Sortiert(QStringLiteral("Jahr")), (V{2, 1, 0})) << "no number counts as 0";
    EXPECT_EQ(Sortiert(QStringLiteral("Hinzufüge-Datum")), (V{1, 2, 0})) << "a text that is no date sorts as text";
    EXPECT_EQ(Sortiert(QStringLiteral("Abspiel-Datum")), (V{1, 0, 2}));
    // Descending: the second click on the same column.
    for (int klick = 0; klick < 2; ++klick)
        EXPECT_TRUE(SpalteSortieren(idx, QStringLiteral("Größe"), letzte, umkehren));
    EXPECT_EQ(Reihenfolge(), (V{0, 2, 1}));
    for (int klick = 0; klick < 2; ++klick)
        SpalteSortieren(idx, QStringLiteral("Abspiel-Datum"), letzte, umkehren);
    EXPECT_EQ(Reihenfolge(), (V{2, 0, 1}));
}

TEST_F(SortierenTest, ClicksOnTheSameColumnToggleTheDirection)
{
    Füllen({[](MedienInfo& m) { m.Mp3_ID3v1_Album = QStringLiteral("b"); },
            [](MedienInfo& m) { m.Mp3_ID3v1_Album = QStringLiteral("a"); },
            [](MedienInfo& m) { m.Mp3_ID3v1_Album = QStringLiteral("c"); }});
    const auto klick = [&](const QString& feld) {
        IndexSortieren(idx, feld, 1, idx.lngIndexAnzahl);
        QSort(idx, feld, letzte, umkehren);
        return Reihenfolge();
    };
    EXPECT_EQ(klick(QStringLiteral("Titel")), (V{0, 1, 2}));
    EXPECT_EQ(klick(QStringLiteral("Titel")), (V{2, 1, 0}));
    EXPECT_EQ(klick(QStringLiteral("Titel")), (V{0, 1, 2}));
    EXPECT_EQ(klick(QStringLiteral("Album")), (V{1, 0, 2}));

    // The column click does the same in one permutation.
    const auto spalte = [&](const QString& feld) {
        EXPECT_TRUE(SpalteSortieren(idx, feld, letzte, umkehren));
        return Reihenfolge();
    };
    // The flag was flipped by the change of column: two more clicks to descend.
    EXPECT_EQ(spalte(QStringLiteral("Album")), (V{1, 0, 2}));
    EXPECT_EQ(spalte(QStringLiteral("Album")), (V{2, 0, 1}));
    EXPECT_EQ(spalte(QStringLiteral("Titel")), (V{0, 1, 2}));
    EXPECT_EQ(spalte(QStringLiteral("Titel")), (V{2, 1, 0}));
    EXPECT_FALSE(SpalteSortieren(idx, QStringLiteral("Titel"), letzte, umkehren, [](qint32) { return false; }));
    EXPECT_EQ(umkehren, 0) << "a cancel leaves the toggle alone";

    // Column A, then column B twice while the toggle is 1: the change of
    // column flips it to 0, so B stays ascending on its second click.
    EXPECT_EQ(spalte(QStringLiteral("Titel")), (V{0, 1, 2}));
    ASSERT_EQ(umkehren, 1);
    EXPECT_EQ(spalte(QStringLiteral("Album")), (V{1, 0, 2}));
    EXPECT_EQ(umkehren, 0);
    EXPECT_EQ(spalte(QStringLiteral("Album")), (V{1, 0, 2}));
    EXPECT_EQ(spalte(QStringLiteral("Album")), (V{2, 0, 1}));
    // The same with the two steps of QSort.
    umkehren = 1;
    letzte = QStringLiteral("Titel");
    EXPECT_EQ(klick(QStringLiteral("Album")), (V{1, 0, 2}));
    EXPECT_EQ(klick(QStringLiteral("Album")), (V{1, 0, 2}));
    EXPECT_EQ(klick(QStringLiteral("Album")), (V{2, 0, 1}));
}

TEST_F(SortierenTest, ACancelMovesNothing)
{
    Füllen({[](MedienInfo&) {}, [](MedienInfo&) {}});
    std::swap(idx.IndexDaten[1].Mp3_ID3v1_Interpret, idx.IndexDaten[2].Mp3_ID3v1_Interpret);
    idx.IndexDaten[1].Mp3_ID3v1_Interpret = QStringLiteral("z");
    idx.bolIndexGeändert = false;
    EXPECT_FALSE(IndexSortieren(idx, QStringLiteral("Interpret"), 1, 2, [](qint32) { return false; }));
    EXPECT_EQ(Reihenfolge(), (V{0, 1}));
    EXPECT_FALSE(idx.bolIndexGeändert);
}

TEST_F(SortierenTest, LargeSortedInputNeedsNoDeepRecursion)
{
    for (int k = 0; k < 100'000; ++k)
        Hinzu(idx, QStringLiteral("/m/x.mp3"), Lied(QString(), QStringLiteral("gleich")));
    EXPECT_TRUE(IndexSortieren(idx, QStringLiteral("Titel"), 1, idx.lngIndexAnzahl));
    EXPECT_TRUE(IndexSortieren(idx, QStringLiteral("Nummer"), 1, idx.lngIndexAnzahl));
    EXPECT_EQ(idx.lngIndexAnzahl, 100'000);
    // Ranges beyond the index are cut to it.
    EXPECT_TRUE(IndexSortieren(idx, QStringLiteral("Titel"), -5, 900'000));
}

TEST_F(SortierenTest, TextListsCarryTheirNumbers)
{
    std::vector<QString> texte{QStringLiteral("x"), QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("BETA0")};
    std::vector<qint16> nummern{9, 1, 2, 3};
    TextListeSortieren(texte, nummern, 1, 3);
    EXPECT_EQ(texte, (std::vector<QString>{QStringLiteral("x"), QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("BETA0")}));
    EXPECT_EQ(nummern, (std::vector<qint16>{9, 2, 1, 3}));
    TextListeSortieren(texte, nummern, 2, 99); // out of range: cut, no crash
}

} // namespace
