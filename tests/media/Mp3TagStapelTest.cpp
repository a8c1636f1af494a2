// The tag editor's batch functions without a window: the lists, the last
// run of digits, and functions 2 to 9 on one tag's fields. Their runs over
// the editor's files are tested on the window itself
// (tests/mainwindow/Mp3TagStapelFensterTest.cpp).

#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/Mp3TagStapel.h"

#include <gtest/gtest.h>

namespace {

TagFelder Felder(const char* titel, const char* interpret, const char* album, const char* kommentar = "",
                 const char* track = "", const char* genre = "-1")
{
    TagFelder f;
    f[TagFelder::Titel] = QString::fromUtf8(titel);
    f[TagFelder::Interpret] = QString::fromUtf8(interpret);
    f[TagFelder::Album] = QString::fromUtf8(album);
    f[TagFelder::Kommentar] = QString::fromUtf8(kommentar);
    f[TagFelder::Titelnummer] = QString::fromUtf8(track);
    f[TagFelder::Genre] = QString::fromUtf8(genre);
    return f;
}

class Stapel : public ::testing::Test {
protected:
    void SetUp() override { StandardwerteSetzen(); }
    QStringList meldungen;
    DienstErsetzen<MeldungsDienst> dienst{[this](const Meldung& m) {
        meldungen << m.text;
        return Antwort::OK;
    }};
};

} // namespace

TEST(StapelListen, TargetsAndTexts)
{
    EXPECT_EQ(StapelFunktionen().size(), 11);
    EXPECT_EQ(StapelFunktionen()[FunktionFelderKopieren], "Felder kopieren...");
    EXPECT_EQ(StapelZiele()[5], "Alle ID3v1- und ID3v2-TAGs");
    const StapelZiel z = StapelZielErmitteln(4);
    EXPECT_TRUE(!z.v1 && z.v2 && z.alle && z.tagCode == 2);
    EXPECT_EQ(StapelZielErmitteln(2).tagCode, 0);
    EXPECT_EQ(StapelZielErmitteln(0).tagCode, 1);
    const StapelZiel keins = StapelZielErmitteln(-1);
    EXPECT_TRUE(!keins.v1 && !keins.v2 && !keins.alle && keins.tagCode == 0);
}

TEST(StapelZahl, LastDigitRunOfTheComment)
{
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("a5b12c")), "12");
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("Track 07")), "07");
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("1x2")), "2");
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("keine")), "");
    EXPECT_EQ(LetzteZiffernfolge(QString::fromUtf8("٣")), "") << "ASCII digits only";
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("99")), "99");
}

TEST_F(Stapel, NumberFromCommentPerTag)
{
    struct Fall {
        const char* kommentar;
        const char* track;
        const char* meldung;
    } fälle[] = {
        {"Nr. 5 von 12", "12", nullptr},
        {"Seite 07", "07", nullptr},
        {"255", "255", nullptr},
        {"256", "", "Die gefundene Zahl im Kommentar-Feld des ID3v1-TAGs '256' ist zu groß."},
        {"x 300", "", "Die gefundene Zahl im Kommentar-Feld des ID3v1-TAGs '300' ist zu groß."},
        {"4294967297", "", "Die gefundene Zahl im Kommentar-Feld des ID3v1-TAGs '4294967297' ist zu groß."},
        {"ohne", "", "Es wurde keine Zahl im Kommentar-Feld des ID3v1-TAGs gefunden."},
        {"", "", "Das Kommentar-Feld des ID3v1-TAGs ist leer."},
    };
    for (const Fall& f : fälle) {
        meldungen.clear();
        TagFelder t = Felder("t", "i", "a", f.kommentar);
        StapelFeldFunktion(FunktionZahlAusKommentar, t, false);
        EXPECT_EQ(t[TagFelder::Titelnummer], f.track) << f.kommentar;
        EXPECT_EQ(t[TagFelder::Kommentar], f.kommentar);
        EXPECT_EQ(meldungen, f.meldung ? QStringList{QString::fromUtf8(f.meldung)} : QStringList()) << f.kommentar;
    }
    meldungen.clear();
    TagFelder t = Felder("t", "i", "a");
    StapelFeldFunktion(FunktionZahlAusKommentar, t, true);
    EXPECT_EQ(meldungen, QStringList{"Das Kommentar-Feld des ID3v2-TAGs ist leer."});
}

TEST_F(Stapel, SwapsAndCase)
{
    const struct {
        int funktion;
        TagFelder erwartet;
    } fälle[] = {
        {FunktionTitelInterpret, Felder("die BAND", "der titel (live)", "a-b c", "x.y z", "07")},
        {FunktionAlbumTitel, Felder("a-b c", "die BAND", "der titel (live)", "x.y z", "07")},
        {FunktionInterpretAlbum, Felder("der titel (live)", "a-b c", "die BAND", "x.y z", "07")},
        {FunktionErsterGroß, Felder("Der titel (Live)", "Die band", "A-B c", "X.Y z", "07")},
        {FunktionWörterGroß, Felder("Der Titel (Live)", "Die Band", "A-B C", "X.Y Z", "07")},
        {FunktionKlein, Felder("der titel (live)", "die band", "a-b c", "x.y z", "07")},
        {FunktionGroß, Felder("DER TITEL (LIVE)", "DIE BAND", "A-B C", "X.Y Z", "07")},
    };
    for (const auto& fall : fälle) {
        TagFelder t = Felder("der titel (live)", "die BAND", "a-b c", "x.y z", "07");
        StapelFeldFunktion(fall.funktion, t, false);
        EXPECT_EQ(t, fall.erwartet) << fall.funktion;
    }
    EXPECT_TRUE(meldungen.isEmpty());
}

TEST_F(Stapel, CaseChangesCharacterByCharacter)
{
    TagFelder f = Felder("straße", "İlker", "Ǆemal", "𐐨x", "07");
    StapelFeldFunktion(FunktionGroß, f, false);
    EXPECT_EQ(f, Felder("STRAßE", "İLKER", "ǄEMAL", "𐐀X", "07")) << "the length stays, the track is not touched";
    StapelFeldFunktion(FunktionKlein, f, true);
    EXPECT_EQ(f, Felder("straße", "İlker", "ǆemal", "𐐨x", "07"));
    EXPECT_TRUE(meldungen.isEmpty());
}
