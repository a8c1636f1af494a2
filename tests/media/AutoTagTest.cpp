// AutoTAG: the format language, the automatic mode against a small index,
// and the path splitter the copy dialog shares.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "media/AutoTag.h"

#include <gtest/gtest.h>

namespace {

class AutoTagTest : public ::testing::Test {
protected:
    void SetUp() override { StandardwerteSetzen(); }

    AutoTagErgebnis Versuchen(const QString& pfad, const QString& format, qint16 ziel = 0,
                              const MedienInfo& alt = LeereMedienInfo())
    {
        return AutoTagVersuchen(pfad, format, alt, ziel, optionen, index);
    }
    // An index entry with an ID3v1 tag.
    void Eintrag(const QString& pfad, const QString& interpret, const QString& album, quint8 vorhanden = 1)
    {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Vorhanden = vorhanden;
        m.Mp3_ID3v1_Interpret = interpret;
        m.Mp3_ID3v1_Album = album;
        index.EintragAnhängen(pfad, m);
    }

    AutoTagOptionen optionen;
    Index index;
};

QStringList Wörter(const QString& name, const QStringList& ausschluß = {})
{
    QStringList w;
    DateinamenLesen(name, w, ausschluß);
    return w;
}

} // namespace

TEST(AutoTagFormat, SplitsPlaceholdersAndTrimmedSeparators)
{
    QStringList p, t;
    ASSERT_TRUE(FormatLesen(QStringLiteral("\\%Interpret% - %Titel% (%Jahr%)"), p, t));
    EXPECT_EQ(p, (QStringList{"%Interpret%", "%Titel%", "%Jahr%"}));
    EXPECT_EQ(t, (QStringList{"\\", "-", "(", ")"}));
    ASSERT_TRUE(FormatLesen(QStringLiteral("%Automatik%"), p, t));
    EXPECT_EQ(p, QStringList{"%Automatik%"});
    EXPECT_EQ(t, (QStringList{"", ""}));
    EXPECT_FALSE(FormatLesen(QStringLiteral("\\%Interpret% - %Titel"), p, t));
    EXPECT_FALSE(FormatLesen(QStringLiteral("Interpret - Titel"), p, t));
    EXPECT_FALSE(FormatLesen(QString(), p, t));
}

TEST(AutoTagFormat, LastOccurrenceUpToTheLimit)
{
    const QString text = QStringLiteral("a-b-c-d");
    EXPECT_EQ(LetztesVorkommenSuchen(7, text, "-", 0), 6);
    EXPECT_EQ(LetztesVorkommenSuchen(5, text, "-", 0), 4);
    EXPECT_EQ(LetztesVorkommenSuchen(1, text, "-", 0), 0);
    EXPECT_EQ(LetztesVorkommenSuchen(0, text, "-", 0), 0);
    EXPECT_EQ(LetztesVorkommenSuchen(100, text, "-", 0), 6);
    EXPECT_EQ(LetztesVorkommenSuchen(4, text, "", 0), 4);
    EXPECT_EQ(LetztesVorkommenSuchen(40, text, "", 0), 7);
    EXPECT_EQ(LetztesVorkommenSuchen(7, text, "B", 0), 0);
    EXPECT_EQ(LetztesVorkommenSuchen(7, text, "B", 1), 3);
    EXPECT_EQ(LetztesVorkommenSuchen(7, QString(), "-", 0), 0);
}

TEST(AutoTagWörter, SplitsWindowsAndLinuxPaths)
{
    EXPECT_EQ(Wörter(QStringLiteral("C:\\Musik\\Band\\07 - 1974 - Lied.mp3")),
              (QStringList{"Musik", "Band", "07", "1974", "Lied"}));
    EXPECT_EQ(Wörter(QStringLiteral("/home/ute/Musik/Band/07 - Lied.mp3")),
              (QStringList{"home", "ute", "Musik", "Band", "07", "Lied"}));
    EXPECT_EQ(Wörter(QStringLiteral("a_b,c")), (QStringList{"a", "b", "c"}));
    // Side by side separators give an empty word.
    EXPECT_EQ(Wörter(QStringLiteral("/x/a--b.mp3")), (QStringList{"x", "a", "", "b"}));
    // A dot in a folder is no extension.
    EXPECT_EQ(Wörter(QStringLiteral("/Vol. 2/Lied")), (QStringList{"Vol. 2", "Lied"}));
    EXPECT_EQ(Wörter(QStringLiteral("Lied.mp3")), QStringList{"Lied"});
}

TEST(AutoTagWörter, EndsAndExclusions)
{
    // A name ending in a separator has no last word; a one-character last
    // word is kept.
    EXPECT_EQ(Wörter(QStringLiteral("/Band-")), QStringList{"Band"});
    EXPECT_EQ(Wörter(QStringLiteral("/Band-A")), (QStringList{"Band", "A"}));
    EXPECT_EQ(Wörter(QStringLiteral("/Songs/Band - Lied.mp3"), {"songs", "LIED"}), QStringList{"Band"});
    // Only whole words are excluded.
    EXPECT_EQ(Wörter(QStringLiteral("/Songsammlung/Lied.mp3"), {"Songs"}), (QStringList{"Songsammlung", "Lied"}));
    QStringList w;
    EXPECT_FALSE(DateinamenLesen(QStringLiteral("/Lied.mp3"), w, QStringList{"lied"}));
    EXPECT_TRUE(w.isEmpty());
}

TEST(AutoTagWörter, SettingsExclusionListOnlyWhenSwitchedOn)
{
    StandardwerteSetzen();
    Einstellungen& e = einstellungen();
    const Einstellungen alt = e;
    e.AutoTagAusschluß = {"Songs"};
    e.AutoTagAusschlußLeer = 0;
    QStringList w;
    DateinamenLesen(QStringLiteral("/Songs/Lied.mp3"), w, true);
    EXPECT_EQ(w, QStringList{"Lied"});
    DateinamenLesen(QStringLiteral("/Songs/Lied.mp3"), w, false);
    EXPECT_EQ(w, (QStringList{"Songs", "Lied"}));
    e.AutoTagAusschlußLeer = 1;
    DateinamenLesen(QStringLiteral("/Songs/Lied.mp3"), w, true);
    EXPECT_EQ(w, (QStringList{"Songs", "Lied"}));
    e = alt;
}

TEST(AutoTagZiffern, AsciiDigitsWithoutOverflow)
{
    EXPECT_TRUE(IstZiffernfolge(QStringLiteral("007")));
    EXPECT_FALSE(IstZiffernfolge(QString()));
    EXPECT_FALSE(IstZiffernfolge(QStringLiteral("1e3")));
    EXPECT_FALSE(IstZiffernfolge(QStringLiteral(" 12")));
    EXPECT_FALSE(IstZiffernfolge(QStringLiteral("-1")));
    EXPECT_FALSE(IstZiffernfolge(QString::fromUtf8("١٢"))); // Arabic-Indic digits
    EXPECT_EQ(ZiffernWert(QStringLiteral("007"), 255), 7);
    EXPECT_EQ(ZiffernWert(QStringLiteral("255"), 255), 255);
    EXPECT_EQ(ZiffernWert(QStringLiteral("256"), 255), 256);
    EXPECT_EQ(ZiffernWert(QStringLiteral("99999999999999999999999999"), 255), 256);
    EXPECT_EQ(ZiffernWert(QStringLiteral("00000000000000000000000012"), 255), 12);
}

TEST_F(AutoTagTest, FormatCutsFromTheEnd)
{
    AutoTagErgebnis e = Versuchen(QStringLiteral("C:\\Musik\\Band - Lied.mp3"), QStringLiteral("\\%Interpret% - %Titel%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.intMeldung, 0);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_TAG, "TAG");

    e = Versuchen(QStringLiteral("C:\\Musik\\Band - Lied.mp3"), QStringLiteral("\\%Interpret%\\%Titel%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Musik");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Band - Lied");
}

TEST_F(AutoTagTest, BuiltInFormatsWorkOnLinuxPaths)
{
    AutoTagErgebnis e = Versuchen(QStringLiteral("/home/ute/Musik/Band/Platte/03 - Band - Lied.mp3"),
                                  QStringLiteral("\\%Interpret%\\%Album%\\%Titelnummer% - %Interpret% - %Titel%"));
    ASSERT_TRUE(e.bolErfolg) << e.strMeldung.toStdString();
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Platte");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titelnummer, "03");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    // A format written with "/" cuts a path with "\" as well.
    e = Versuchen(QStringLiteral("X:\\Band\\Lied.mp3"), QStringLiteral("/%Interpret%/%Titel%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    // A file in the root folder.
    e = Versuchen(QStringLiteral("/Lied.mp3"), QStringLiteral("\\%Titel%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    // A dot in a folder name is not taken for the extension.
    e = Versuchen(QStringLiteral("/m/Vol. 2/Lied"), QStringLiteral("\\%Album%\\%Titel%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Vol. 2");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
}

TEST_F(AutoTagTest, TrailingSeparatorAndElementCount)
{
    const QString format = QStringLiteral("\\%Interpret% - %Titel% (%Jahr%)");
    AutoTagErgebnis e = Versuchen(QStringLiteral("/m/Band - Lied (1974).mp3"), format);
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Jahr, "1974");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");

    e = Versuchen(QStringLiteral("/m/Band - Lied 1974.mp3"), format);
    EXPECT_FALSE(e.bolErfolg);
    EXPECT_EQ(e.intMeldung, 3);
    EXPECT_EQ(e.strMeldung, QString::fromUtf8("Das von Ihnen zu Erkennung des TAGs verwendete Format konnte nicht "
                                              "verarbeitet werden.\nDas letzte Trennzeichen ')' existiert nicht, obwohl "
                                              "es im Format definiert wurde."));

    e = Versuchen(QStringLiteral("/m/Band - Lied.mp3"), QStringLiteral("\\%Interpret% - %Album% - %Titel%"));
    EXPECT_FALSE(e.bolErfolg);
    EXPECT_EQ(e.intMeldung, 4);
    // The extension's dot is never a separator.
    e = Versuchen(QStringLiteral("Band.mp3"), QStringLiteral("%Interpret%.%Titel%"));
    EXPECT_EQ(e.intMeldung, 4);
}

TEST_F(AutoTagTest, FormatWithoutLeadingSeparatorGivesEmptyFirstElement)
{
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Interpret = QStringLiteral("Alt");
    const AutoTagErgebnis e = Versuchen(QStringLiteral("/m/Band - Lied.mp3"), QStringLiteral("%Interpret% - %Titel%"), 0, alt);
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
}

TEST_F(AutoTagTest, MultiCharacterSeparatorIsRemovedWhole)
{
    const AutoTagErgebnis e = Versuchen(QStringLiteral("/m/Band feat. Gast.mp3"), QStringLiteral("\\%Interpret% feat. %Kommentar%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Kommentar, "Gast");
}

TEST_F(AutoTagTest, UnderscoresBySetting)
{
    const QString pfad = QStringLiteral("/m/Band_Lied.mp3");
    const QString format = QStringLiteral("\\%Interpret%_%Titel%");
    AutoTagErgebnis e = Versuchen(pfad, format);
    EXPECT_EQ(e.intMeldung, 4);
    optionen.bolUnterstrichEntfernen = false;
    e = Versuchen(pfad, format);
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    optionen.bolUnterstrichEntfernen = true;
    e = Versuchen(QStringLiteral("/m/Die_Band - Das_Lied.mp3"), QStringLiteral("\\%Interpret% - %Titel%"));
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Die Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Das Lied");
}

TEST_F(AutoTagTest, RefusalMessages)
{
    AutoTagErgebnis e = Versuchen(QStringLiteral("/m/a.mp3"), QString());
    EXPECT_EQ(e.intMeldung, 1);
    EXPECT_EQ(e.strMeldung, QString::fromUtf8("Sie haben kein AutoTAG-Format ausgewählt, nach dem der TAG erkannt werden "
                                              "soll.\nBitte wählen Sie eines im 'Format'-Fenster aus."));
    e = Versuchen(QStringLiteral("/m/a.mp3"), QStringLiteral("%Titel% - %Interpret"));
    EXPECT_EQ(e.intMeldung, 2);
    EXPECT_EQ(e.strMeldung, QString::fromUtf8("Das von Ihnen zu Erkennung des TAGs verwendete Format ('%Titel% - "
                                              "%Interpret') konnte nicht verarbeitet werden.\nÜberprüfen Sie die "
                                              "Schreibweise der Variablen ('%'-Zeichen vergessen?)."));
    e = Versuchen(QStringLiteral("/m/a.mp3"), QStringLiteral("%Automatik% %Titel%"));
    EXPECT_EQ(e.intMeldung, 5);
    EXPECT_EQ(e.strMeldung, QString::fromUtf8("Bei Verwendung der Erkennungs-Variable '%Automatik%' können keine "
                                              "weiteren Variablen verwendet werden."));
    optionen.strAusschluß = {"a"};
    e = Versuchen(QStringLiteral("a_b.mp3"), QStringLiteral("%AUTOMATIK%"));
    EXPECT_EQ(e.intMeldung, 0);
    e = Versuchen(QStringLiteral("a.mp3"), QStringLiteral("%AUTOMATIK%"));
    EXPECT_EQ(e.intMeldung, 6);
    EXPECT_EQ(e.strMeldung, QString::fromUtf8("Der Dateiname 'a.mp3' konnte nicht verarbeitet werden."));
    EXPECT_FALSE(e.bolErfolg);
}

TEST_F(AutoTagTest, DiscardedAndUnknownPlaceholders)
{
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Album = QStringLiteral("Bleibt");
    const AutoTagErgebnis e = Versuchen(QStringLiteral("/m/x - Band - y - Lied.mp3"),
                                        QStringLiteral("\\%Müll% - %INTERPRET% - %Unbekannt% - %titel%"), 0, alt);
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Bleibt");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Kommentar, "");
}

TEST_F(AutoTagTest, GenreByName)
{
    AutoTagErgebnis e = Versuchen(QStringLiteral("/m/rock - Lied.mp3"), QStringLiteral("\\%Genre% - %Track%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(GenreByte(e.udtErgebnis), 17);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Musikrichtung, "Rock");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titelnummer, "Lied");

    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v2_Musikrichtung = QStringLiteral("Eigenes");
    GenreByteSetzen(alt, 9);
    e = Versuchen(QStringLiteral("/m/Polkarock.mp3"), QStringLiteral("\\%Genre%"), 0, alt);
    EXPECT_EQ(GenreByte(e.udtErgebnis), 255);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Musikrichtung, "Eigenes");

    // The ID3v1 genre belongs to targets 0 and 1 only.
    e = Versuchen(QStringLiteral("/m/Jazz.mp3"), QStringLiteral("\\%Genre%"), 2, alt);
    EXPECT_EQ(GenreByte(e.udtErgebnis), 9);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Musikrichtung, "Jazz");
    e = Versuchen(QStringLiteral("/m/Unbekannt.mp3"), QStringLiteral("\\%Genre%"), 2, alt);
    EXPECT_EQ(GenreByte(e.udtErgebnis), 9);
    e = Versuchen(QStringLiteral("/m/Jazz.mp3"), QStringLiteral("\\%Genre%"), 1, alt);
    EXPECT_EQ(GenreByte(e.udtErgebnis), 8);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Musikrichtung, "Eigenes");
}

TEST_F(AutoTagTest, TargetsAndPresence)
{
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Titel = QStringLiteral("alt1");
    alt.Mp3_ID3v2_Titel = QStringLiteral("alt2");
    alt.Mp3_ID3v2_Vorhanden = 1;
    const QString pfad = QStringLiteral("/m/Lied.mp3");
    const QString format = QStringLiteral("\\%Titel%");

    AutoTagErgebnis e = Versuchen(pfad, format, 1, alt);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Titel, "alt2");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Vorhanden, 3);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Vorhanden, 1);
    EXPECT_EQ(GenreByte(e.udtErgebnis), 255);

    e = Versuchen(pfad, format, 2, alt);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "alt1");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Vorhanden, 2);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Vorhanden, 1);

    e = Versuchen(pfad, format, 0, alt);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Vorhanden, 3);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Vorhanden, 1);
}

TEST_F(AutoTagTest, ExclusionListLeavesTheFieldAlone)
{
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Album = QStringLiteral("Altes Album");
    optionen.strAusschluß = {"songs"};
    const AutoTagErgebnis e = Versuchen(QStringLiteral("/SONGS/Lied.mp3"), QStringLiteral("\\%Album%\\%Titel%"), 0, alt);
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Altes Album");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
}

TEST_F(AutoTagTest, ClearingFieldsFirst)
{
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Album = QStringLiteral("Müll");
    alt.Mp3_ID3v1_Kommentar = QStringLiteral("Müll");
    GenreByteSetzen(alt, 3);
    alt.Mp3_ID3v2_Album = QStringLiteral("Müll");
    alt.Mp3_ID3v2_Software = QStringLiteral("Müll");
    alt.Mp3_ID3v2_Musikrichtung = QStringLiteral("Müll");
    alt.Mp3_ID3v2_UrsprünglicherInterpret = QStringLiteral("bleibt");
    alt.Mp3_ID3v2_Titel = QStringLiteral("bleibt");
    optionen.bolFelderLöschen = true;

    AutoTagErgebnis e = Versuchen(QStringLiteral("/m/Band.mp3"), QStringLiteral("\\%Interpret%"), 1, alt);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Kommentar, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
    EXPECT_EQ(GenreByte(e.udtErgebnis), 255);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Album, "Müll");

    e = Versuchen(QStringLiteral("/m/Band.mp3"), QStringLiteral("\\%Interpret%"), 2, alt);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Müll");
    EXPECT_EQ(GenreByte(e.udtErgebnis), 3);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Album, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Software, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Musikrichtung, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Interpret, "Band");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_UrsprünglicherInterpret, "bleibt");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Titel, "bleibt");

    optionen.bolFelderLöschen = false;
    e = Versuchen(QStringLiteral("/m/Band.mp3"), QStringLiteral("\\%Interpret%"), 0, alt);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Müll");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Software, "Müll");
}

TEST_F(AutoTagTest, AutomaticWithoutTaggedEntries)
{
    Eintrag(QStringLiteral("/x/ohne.mp3"), QStringLiteral("Band"), QString(), 2);
    for (const char* pfad : {"C:\\Musik\\Band\\07 - 1974 - Lied.mp3", "/Musik/Band/07 - 1974 - Lied.mp3"}) {
        const AutoTagErgebnis e = Versuchen(QString::fromUtf8(pfad), QStringLiteral("%Automatik%"));
        ASSERT_TRUE(e.bolErfolg) << pfad;
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Jahr, "1974");
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titelnummer, "07");
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Band");
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "");
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Interpret, "Band");
    }
}

TEST_F(AutoTagTest, AutomaticFindsArtistAndAlbumPrefixes)
{
    Eintrag(QStringLiteral("/a/1.mp3"), QStringLiteral("Zorbatrio und Gäste"), QStringLiteral("Nebelhorn Live"));
    const AutoTagErgebnis e = Versuchen(QStringLiteral("/m/zorbatrio - nebelhorn - Lied.mp3"), QStringLiteral("%Automatik%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "zorbatrio");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "nebelhorn");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
}

TEST_F(AutoTagTest, AutomaticCrossChecksWithWhatThisRunFound)
{
    // "Kappa" is an album of another artist: with the artist Zorbatrio known,
    // it is no album here.
    Eintrag(QStringLiteral("/a/1.mp3"), QStringLiteral("Zorbatrio"), QStringLiteral("Nebelhorn"));
    Eintrag(QStringLiteral("/a/2.mp3"), QStringLiteral("Quarkband"), QStringLiteral("Kappa"));
    AutoTagErgebnis e = Versuchen(QStringLiteral("/m/Kappa - Zorbatrio.mp3"), QStringLiteral("%Automatik%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Zorbatrio");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Kappa");

    // The check is against the album found now, not the record's old one.
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Album = QStringLiteral("Ganz anderes");
    e = Versuchen(QStringLiteral("/m/Quarkband - Kappa.mp3"), QStringLiteral("%Automatik%"), 0, alt);
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Kappa");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Quarkband");
    // ...also when only ID3v2 is filled.
    e = Versuchen(QStringLiteral("/m/Quarkband - Kappa.mp3"), QStringLiteral("%Automatik%"), 2, alt);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Album, "Kappa");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Interpret, "Quarkband");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "Ganz anderes");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "");
}

TEST_F(AutoTagTest, AutomaticSkipsTheFileItselfAndUntaggedEntries)
{
    const QString pfad = QStringLiteral("/m/Zorbatrio - Lied.mp3");
    Eintrag(pfad, QStringLiteral("Lied"), QString());
    Eintrag(QStringLiteral("/m/ohne.mp3"), QStringLiteral("Lied"), QString(), 3);
    const AutoTagErgebnis e = Versuchen(pfad, QStringLiteral("%Automatik%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "Zorbatrio");
}

TEST_F(AutoTagTest, AutomaticSkipsEmptyWords)
{
    Eintrag(QStringLiteral("/a/1.mp3"), QStringLiteral("Zorbatrio"), QStringLiteral("Nebelhorn"));
    const AutoTagErgebnis e = Versuchen(QStringLiteral("/m/Lied - - .mp3"), QStringLiteral("%Automatik%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "m");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Album, "");
}

TEST_F(AutoTagTest, AutomaticNumbers)
{
    // 4294967303 wraps to 7 in 32 bits: it is no track number.
    AutoTagErgebnis e = Versuchen(QStringLiteral("/m/4294967303 - 2001 - 256 - Lied.mp3"), QStringLiteral("%Automatik%"));
    ASSERT_TRUE(e.bolErfolg);
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, "Lied");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Jahr, "2001");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titelnummer, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "256");
    e = Versuchen(QStringLiteral("/m/4294967303 - Lied.mp3"), QStringLiteral("%Automatik%"));
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titelnummer, "");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "4294967303");
    e = Versuchen(QStringLiteral("/m/0 - 12 - Lied.mp3"), QStringLiteral("%Automatik%"));
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titelnummer, "12");
    EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, "0");
}

// Elements of one character are kept; the automatic mode takes tracks 0 to 255.
TEST_F(AutoTagTest, ShortElementsAndTrack255)
{
    const struct {
        const char* pfad;
        const char* format;
        const char* track;
        const char* interpret;
        const char* titel;
    } fälle[] = {
        {"/m/7 - Song.mp3", "\\%Titelnummer% - %Titel%", "7", "", "Song"},
        {"C:\\Musik\\7 - Song.mp3", "\\%Titelnummer% - %Titel%", "7", "", "Song"},
        {"/m/7-S.mp3", "\\%Titelnummer%-%Titel%", "7", "", "S"},
        {"/m/3 - B - Lied.mp3", "\\%Titelnummer% - %Interpret% - %Titel%", "3", "B", "Lied"},
        {"/m/B/1.mp3", "\\%Interpret%\\%Titelnummer%", "1", "B", ""},
        {"/m/Band - L (9).mp3", "\\%Interpret% - %Titel% (%Track%)", "9", "Band", "L"},
        {"/m/255 - Lied.mp3", "%Automatik%", "255", "m", "Lied"},
        {"/m/0 - Lied.mp3", "%Automatik%", "0", "m", "Lied"},
        {"/m/256 - Lied.mp3", "%Automatik%", "", "256", "Lied"},
        {"/m/255 - 256 - Lied.mp3", "%Automatik%", "255", "256", "Lied"},
        {"/m/0255 - Lied.mp3", "%Automatik%", "0255", "m", "Lied"},
    };
    for (const auto& f : fälle) {
        const AutoTagErgebnis e = Versuchen(QString::fromUtf8(f.pfad), QString::fromUtf8(f.format));
        ASSERT_TRUE(e.bolErfolg) << f.pfad;
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titelnummer, f.track) << f.pfad;
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v2_Titelnummer, f.track) << f.pfad;
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Interpret, f.interpret) << f.pfad;
        EXPECT_EQ(e.udtErgebnis.Mp3_ID3v1_Titel, f.titel) << f.pfad;
    }
}
