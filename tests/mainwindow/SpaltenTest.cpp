#include "core/Standardwerte.h"
#include "mainwindow/Spalten.h"
#include "platform/Twips.h"

#include <gtest/gtest.h>

namespace {

class SpaltenTest : public ::testing::Test {
protected:
    Index idx;
    std::vector<ListenSpalte> liste{Spalte(QStringLiteral("Anzeige"))}; // the designed list
    bool leiste = false, gitter = true;

    static ListenSpalte Spalte(const QString& titel, int pixel = 100, const QString& tag = QString())
    {
        ListenSpalte s;
        s.titel = titel;
        s.tag = tag;
        s.breitePixel = pixel;
        return s;
    }
    QStringList Titel() const
    {
        QStringList t;
        for (const ListenSpalte& s : liste)
            t << s.titel + (s.tag.isEmpty() ? QString() : QLatin1Char('/') + s.tag);
        return t;
    }
    bool Anpassen(const QString& text)
    {
        idx.strSpalten = text;
        return SpaltenAnpassen(idx, liste, leiste, gitter);
    }
    // Positions as the view would report them: in list order.
    void Speichern()
    {
        for (size_t j = 0; j < liste.size(); ++j)
            liste[j].position = int(j) + 1;
        SpaltenSpeichern(idx, liste, leiste, gitter);
    }
    static QString Versteckt(int von, int bis)
    {
        QStringList t;
        for (int k = von; k <= bis; ++k)
            t << QStringLiteral("%1=0=0").arg(k);
        return t.join(QLatin1Char(','));
    }
};

TEST_F(SpaltenTest, AnEmptyOrOldLayoutGivesTheDefaultColumns)
{
    for (const QString& text : {QString(), QStringLiteral("0"), QStringLiteral("5,4=900=1")}) {
        liste = {Spalte(QStringLiteral("Anzeige"))};
        EXPECT_TRUE(Anpassen(text));
        EXPECT_EQ(Titel(), (QStringList{QStringLiteral("Dateiname"), QStringLiteral("Interpret"), QStringLiteral("Titel"),
                                         QStringLiteral("Album")}));
        EXPECT_EQ(liste[0].breitePixel, TwipsZuPixel(1400));
        EXPECT_TRUE(idx.strSpalten.startsWith(QStringLiteral("1=0=0,2=0=0,3=1400=1,4=1400=2,5=1400=3,6=1400=4,7=0=4,8=0=4")));
        EXPECT_TRUE(idx.strSpalten.endsWith(QStringLiteral("30=0=4")));
    }
    EXPECT_TRUE(leiste) << "title row: the index's default 1";
    EXPECT_FALSE(gitter);
}

TEST_F(SpaltenTest, AShortLayoutIsCompletedAndPositionsOrderNewColumns)
{
    QStringList items;
    for (int k = 1; k <= 20; ++k)
        items << QStringLiteral("%1=0").arg(k);
    items[2] = QStringLiteral("3=1400=2");
    items[3] = QStringLiteral("4=1400=1");
    Anpassen(items.join(QLatin1Char(',')));
    EXPECT_EQ(Titel(), (QStringList{QStringLiteral("Interpret"), QStringLiteral("Dateiname")}));
    EXPECT_TRUE(idx.strSpalten.endsWith(QStringLiteral(",20=0,21=0,22=0,23=0,24=0,25=0,26=0,27=0,28=0,29=0,30=0")));

    // Columns that are there keep their width and place; a later item with
    // the same position wins the slot; bad positions fall back to the item's place.
    liste[1].breitePixel = 133; // "Dateiname", dragged wider
    Anpassen(QStringLiteral("4=900=1,3=1400=1,5=1400=0,6=1400=x,") + Versteckt(5, 30));
    EXPECT_EQ(Titel(), (QStringList{QStringLiteral("Dateiname"), QStringLiteral("Titel"), QStringLiteral("Album")}));
    EXPECT_EQ(liste[0].breitePixel, 133);
    EXPECT_EQ(liste[1].breitePixel, TwipsZuPixel(1400));

    // Every column hidden: the list is left without columns; the next layout
    // adds each shown column once.
    EXPECT_TRUE(Anpassen(Versteckt(1, 30)));
    EXPECT_TRUE(liste.empty());
    EXPECT_TRUE(Anpassen(QStringLiteral("4=1400=1,4=1400=2,") + Versteckt(3, 30)));
    EXPECT_EQ(Titel(), (QStringList{QStringLiteral("Interpret")}));
    EXPECT_FALSE(Anpassen(QStringLiteral("4=1400=1,") + Versteckt(2, 30))) << "nothing added or removed";
}

TEST_F(SpaltenTest, TheHighestColumnNumberIsShownAndSaved)
{
    // Column 30 first, column 1 second; also as the last item of a short text.
    EXPECT_TRUE(Anpassen(Versteckt(2, 29) + QStringLiteral(",30=900=1,1=800=2")));
    EXPECT_EQ(Titel(), (QStringList{QStringLiteral("ID3v2-TAG-Größe"), QStringLiteral("Nummer")}));
    EXPECT_EQ(liste[0].breitePixel, TwipsZuPixel(900));
    Speichern();
    EXPECT_TRUE(idx.strSpalten.startsWith(QStringLiteral("1=800=2,2=0=0,"))) << idx.strSpalten.toStdString();
    EXPECT_TRUE(idx.strSpalten.endsWith(QStringLiteral(",29=0=0,30=900=1"))) << idx.strSpalten.toStdString();

    liste = {Spalte(QStringLiteral("Anzeige"))};
    EXPECT_TRUE(Anpassen(QStringLiteral("30=1000")));
    EXPECT_TRUE(Titel().contains(QStringLiteral("ID3v2-TAG-Größe"))) << Titel().join(',').toStdString();
}

TEST_F(SpaltenTest, TheUserColumnIsKnownByItsTagEvenWhenItsTitleIsAColumnName)
{
    idx.strSpaltenNutzerformat = QStringLiteral("%Interpret% - %Titel%");
    Anpassen(QStringLiteral("5=1400=1,19=2000=2,") + Versteckt(3, 30));
    EXPECT_EQ(Titel(), (QStringList{QStringLiteral("Titel"), QStringLiteral("Interpret - Titel/b")}));
    // A format that equals a column's name renames the user column in
    // place; neither column takes the other's role.
    idx.strSpaltenNutzerformat = QStringLiteral("%Titel%");
    liste = {Spalte(QStringLiteral("Interpret - Titel"), 150, QStringLiteral("b")), Spalte(QStringLiteral("Titel"), 80)};
    EXPECT_FALSE(Anpassen(QStringLiteral("5=1400=1,19=2000=2,") + Versteckt(3, 30)));
    EXPECT_EQ(Titel(), (QStringList{QStringLiteral("Titel/b"), QStringLiteral("Titel")}));
    Speichern();
    EXPECT_TRUE(idx.strSpalten.contains(QStringLiteral(",5=1200=2,")));
    EXPECT_TRUE(idx.strSpalten.contains(QStringLiteral(",19=2250=1,")));
    // Applying the saved text again keeps both.
    EXPECT_FALSE(Anpassen(idx.strSpalten));
    EXPECT_EQ(Titel(), (QStringList{QStringLiteral("Titel/b"), QStringLiteral("Titel")}));
}

TEST_F(SpaltenTest, ReadingBackMarksTheIndexOnlyWhenTheLayoutChanged)
{
    Anpassen(QString());
    leiste = true;
    gitter = false;
    idx.bolIndexGeändert = false;
    Speichern();
    // 1400 twips show as 93 pixels, which would read back as 1395.
    EXPECT_EQ(idx.strSpalten, Versteckt(1, 2) + QStringLiteral(",3=1400=1,4=1400=2,5=1400=3,6=1400=4,") + Versteckt(7, 30));
    EXPECT_FALSE(idx.bolIndexGeändert) << "the reset's hidden positions mean the same";
    Speichern();
    EXPECT_FALSE(idx.bolIndexGeändert);

    liste[1].breitePixel = 120;
    Speichern();
    EXPECT_TRUE(idx.strSpalten.contains(QStringLiteral(",4=1800=2,")));
    EXPECT_TRUE(idx.bolIndexGeändert);

    idx.bolIndexGeändert = false;
    std::swap(liste[0], liste[1]);
    Speichern();
    EXPECT_TRUE(idx.strSpalten.contains(QStringLiteral(",3=1400=2,4=1800=1,")));
    EXPECT_TRUE(idx.bolIndexGeändert);

    idx.bolIndexGeändert = false;
    SpaltenSpeichern(idx, liste, true, true);
    EXPECT_EQ(idx.intSpaltenGitter, 1);
    EXPECT_FALSE(idx.bolIndexGeändert) << "the switches are not part of the text";
}

TEST_F(SpaltenTest, TheOptionsListShowsEveryColumn)
{
    std::vector<OptionenSpalte> l{{QStringLiteral("alt"), true, 5}};
    idx.strSpalten.clear();
    EXPECT_FALSE(OptionenSpaltenEinsetzen(idx, l));
    EXPECT_EQ(l.size(), 1u) << "left as it was";
    idx.strSpalten = QStringLiteral("3=1400=1,x=5,4=0=0,31=100,5=-3");
    ASSERT_TRUE(OptionenSpaltenEinsetzen(idx, l));
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].name, QStringLiteral("Dateiname"));
    EXPECT_TRUE(l[0].an);
    EXPECT_EQ(l[0].breite, 1400);
    EXPECT_EQ(l[1].name, QStringLiteral("Interpret"));
    EXPECT_FALSE(l[1].an);
    EXPECT_EQ(l[2].breite, 0);
}

} // namespace
