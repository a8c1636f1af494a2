#include "support/ListenHilfen.h"
#include "core/Felder.h"

#include <QLocale>
#include <gtest/gtest.h>

QString Feldwert(const Index& idx, qint32 eintrag, const QString& feld, const QString& modus, qint16* art)
{
    QString wert = QStringLiteral("unberührt");
    qint16 a = -1;
    IndexFeldZurückgeben(idx, eintrag, feld, modus, wert, a);
    if (art)
        *art = a;
    return wert;
}

namespace {

class FelderTest : public ::testing::Test {
protected:
    Index idx;
    qint32 Neu(const std::function<void(MedienInfo&)>& f)
    {
        return Hinzu(idx, QStringLiteral("/musik/a/lied.mp3"), Lied(QStringLiteral("Abba"), QStringLiteral("Waterloo")), f);
    }
};

TEST_F(FelderTest, SizeIsGroupedByTheLocaleAndEmptyWhenUnknown)
{
    const QLocale vorher;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const qint32 gross = Neu([](MedienInfo& m) { m.Datei_Größe = 5'123'456'789LL; });
    const qint32 null = Neu([](MedienInfo& m) { m.Datei_Größe = 0; });
    const qint32 fehlt = Neu([](MedienInfo& m) { m.Datei_Größe = -1; });
    qint16 art = 0;
    EXPECT_EQ(Feldwert(idx, gross, QStringLiteral("Größe"), QStringLiteral("1"), &art), QStringLiteral("5.123.456.789"));
    EXPECT_EQ(art, WertZahl);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Feldwert(idx, gross, QStringLiteral("Größe")), QStringLiteral("5,123,456,789"));
    EXPECT_EQ(Feldwert(idx, null, QStringLiteral("Größe"), QStringLiteral("1"), &art), QString());
    EXPECT_EQ(art, WertZahl) << "the kind is set without a value";
    EXPECT_EQ(Feldwert(idx, fehlt, QStringLiteral("Größe")), QString());
    QLocale::setDefault(vorher);
}

TEST_F(FelderTest, DatesHaveADisplayAndASortableForm)
{
    const qint32 e = Neu([](MedienInfo& m) {
        m.Datei_HinzugefügtAm = QStringLiteral("05.03.2001");
        m.Datei_AngefordertGespieltAm = QStringLiteral("5.3.2001 7:08:09");
    });
    const qint32 kaputt = Neu([](MedienInfo& m) {
        m.Datei_HinzugefügtAm = QStringLiteral("-");
        m.Datei_AngefordertGespieltAm = QStringLiteral("31.02.2001 10:00:00");
    });
    qint16 art = 0;
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Hinzufüge-Datum"), QStringLiteral("1"), &art), QStringLiteral("05.03.2001"));
    EXPECT_EQ(art, WertDatum);
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Hinzufüge-Datum"), QString()), QStringLiteral("2001|03|05"));
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Abspiel-Datum"), QStringLiteral("1"), &art), QStringLiteral("05.03.2001 07:08:09"));
    EXPECT_EQ(art, WertDatumZeit);
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Abspiel-Datum"), QString()), QStringLiteral("2001|03|05 07:08:09"));
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Hinzufüge-Datum"), QStringLiteral("x"), &art), QString());
    EXPECT_EQ(art, WertDatum) << "another mode gives no value but the kind";
    // Texts that are no date come back unchanged in both forms.
    EXPECT_EQ(Feldwert(idx, kaputt, QStringLiteral("Hinzufüge-Datum"), QString()), QStringLiteral("-"));
    EXPECT_EQ(Feldwert(idx, kaputt, QStringLiteral("Abspiel-Datum")), QStringLiteral("31.02.2001 10:00:00"));
}

TEST_F(FelderTest, BitrateDurationFrequencyAndFrames)
{
    const qint32 vbr = Neu([](MedienInfo& m) {
        m.Header_Bitrate = 192;
        m.Header_VBR = true;
        m.Header_Dauer = 3725;
        m.Header_Frequenz = 44100;
        m.Header_Modus = QStringLiteral("Joint Stereo");
        m.Header_Frames = 1234;
    });
    const qint32 cbr = Neu([](MedienInfo& m) {
        m.Header_Bitrate = 128;
        m.Header_Dauer = 125;
        m.Header_Frequenz = 22050;
        m.Header_Frames = -1;
    });
    const qint32 leer = Neu([](MedienInfo& m) {
        m.Header_Bitrate = 0;
        m.Header_Dauer = 0;
    });
    const qint32 unbekannt = Neu([](MedienInfo& m) { m.Header_Dauer = -1; });
    qint16 art = 0;
    EXPECT_EQ(Feldwert(idx, vbr, QStringLiteral("Bitrate"), QStringLiteral("1"), &art), QStringLiteral("192 VBR"));
    EXPECT_EQ(art, WertText);
    EXPECT_EQ(Feldwert(idx, cbr, QStringLiteral("Bitrate")), QStringLiteral("128 CBR"));
    EXPECT_EQ(Feldwert(idx, leer, QStringLiteral("Bitrate")), QString());
    EXPECT_EQ(Feldwert(idx, vbr, QStringLiteral("Dauer"), QStringLiteral("1"), &art), QStringLiteral("1:02:05"));
    EXPECT_EQ(art, WertDauer);
    EXPECT_EQ(Feldwert(idx, cbr, QStringLiteral("Dauer")), QStringLiteral("02:05"));
    EXPECT_EQ(Feldwert(idx, leer, QStringLiteral("Dauer")), QStringLiteral("00:00"));
    EXPECT_EQ(Feldwert(idx, unbekannt, QStringLiteral("Dauer"), QStringLiteral("1"), &art), QString());
    EXPECT_EQ(art, WertDauer);
    EXPECT_EQ(Feldwert(idx, vbr, QStringLiteral("Frequenz")), QStringLiteral("44100 Hz, Joint Stereo"));
    EXPECT_EQ(Feldwert(idx, cbr, QStringLiteral("Frequenz")), QStringLiteral("22050 Hz"));
    EXPECT_EQ(Feldwert(idx, vbr, QStringLiteral("Frames")), QStringLiteral("1234"));
    EXPECT_EQ(Feldwert(idx, cbr, QStringLiteral("Frames")), QString());
}

TEST_F(FelderTest, GenreCodesAndTheSecondTagsGenre)
{
    const auto genre = [&](int byte) {
        const qint32 e = Neu([byte](MedienInfo& m) { GenreByteSetzen(m, byte); });
        return Feldwert(idx, e, QStringLiteral("Genre"));
    };
    EXPECT_EQ(genre(0), QStringLiteral("Blues"));
    EXPECT_EQ(genre(144), standardwerte().strGenres[145]);
    EXPECT_FALSE(genre(144).isEmpty());
    EXPECT_EQ(genre(145), QString());
    EXPECT_EQ(genre(255), QString());
    EXPECT_EQ(genre(-1), QString()) << "an empty genre field";

    const auto v2 = [&](const QString& tcon) {
        const qint32 e = Neu([&](MedienInfo& m) {
            m.Mp3_ID3v2_Vorhanden = 1;
            m.Mp3_ID3v2_Musikrichtung = tcon;
        });
        return Feldwert(idx, e, QStringLiteral("Genre-ID3v2"));
    };
    EXPECT_EQ(v2(QStringLiteral("(13)")), QString());
    EXPECT_EQ(v2(QStringLiteral("(17)Rock")), QStringLiteral("Rock"));
    EXPECT_EQ(v2(QStringLiteral("Pop")), QStringLiteral("Pop"));
}

TEST_F(FelderTest, TagFieldsNeedTheirTagAndTracksArePadded)
{
    const qint32 ohne = Neu([](MedienInfo& m) {
        m.Mp3_ID3v1_Vorhanden = 2;
        m.Mp3_ID3v1_Titelnummer = QStringLiteral("7");
        m.Mp3_ID3v2_Interpret = QStringLiteral("V2");
    });
    for (const char* feld : {"Interpret", "Titel", "Album", "Jahr", "Track", "Genre", "Kommentar", "Interpret-ID3v2"})
        EXPECT_EQ(Feldwert(idx, ohne, QString::fromUtf8(feld)), QString()) << feld;
    // The standard search text does not look at the presence codes.
    EXPECT_EQ(Feldwert(idx, ohne, QStringLiteral("(Standardsuche)")),
              QStringLiteral("V2  Abba Waterloo  /musik/a/lied.mp3"));

    const auto track = [&](const QString& t) {
        const qint32 e = Neu([&](MedienInfo& m) { m.Mp3_ID3v1_Titelnummer = t; });
        qint16 art = 0;
        const QString w = Feldwert(idx, e, QStringLiteral("Titelnummer"), QStringLiteral("1"), &art);
        EXPECT_EQ(art, WertZahl);
        return w;
    };
    EXPECT_EQ(track(QStringLiteral("7")), QStringLiteral("07"));
    EXPECT_EQ(track(QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(track(QStringLiteral("3/12")), QStringLiteral("3/12"));
    EXPECT_EQ(track(QString()), QString());

    const qint32 v2 = Neu([](MedienInfo& m) {
        m.Mp3_ID3v2_Vorhanden = 1;
        m.Mp3_ID3v2_Version = QStringLiteral(".3.0");
    });
    EXPECT_EQ(Feldwert(idx, v2, QStringLiteral("ID3v2-TAG-Version")), QStringLiteral("2.3.0"));
    EXPECT_EQ(Feldwert(idx, v2, QStringLiteral("Pfad")), QStringLiteral("/musik/a"));
    EXPECT_EQ(Feldwert(idx, v2, QStringLiteral("Dateiname")), QStringLiteral("lied.mp3"));
    EXPECT_EQ(Feldwert(idx, v2, QStringLiteral("Datei-Endung")), QStringLiteral(".mp3"));
    EXPECT_EQ(Feldwert(idx, v2, QStringLiteral("Nummer")), QString::number(v2));
}

TEST_F(FelderTest, UnknownNamesAndBadEntryNumbers)
{
    const qint32 e = Neu({});
    QString wert = QStringLiteral("x");
    qint16 art = 3;
    EXPECT_FALSE(IndexFeldZurückgeben(idx, e, QStringLiteral("Foo"), QStringLiteral("1"), wert, art));
    EXPECT_EQ(wert, QString());
    EXPECT_EQ(art, 0);
    EXPECT_FALSE(IndexFeldZurückgeben(idx, e, QStringLiteral("interpret"), QStringLiteral("1"), wert, art));
    // An entry number outside the index gives nothing, and no crash.
    EXPECT_TRUE(IndexFeldZurückgeben(idx, 0, QStringLiteral("Titel"), QStringLiteral("1"), wert, art));
    EXPECT_EQ(wert, QString());
    EXPECT_TRUE(IndexFeldZurückgeben(idx, e + 100, QStringLiteral("%Titel%"), QStringLiteral("1"), wert, art));
    EXPECT_EQ(wert, QString());
}

TEST_F(FelderTest, UserFormatsAreFilledInOnePass)
{
    const qint32 e = Neu([](MedienInfo& m) {
        m.Datei_HinzugefügtAm = QStringLiteral("05.03.2001");
        m.Mp3_ID3v1_Album = QStringLiteral("%Titel% %Album%");
    });
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("%Interpret% - %Titel%")), QStringLiteral("Abba - Waterloo"));
    // Dates come in the form asked for.
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("%Hinzufüge-Datum%"), QString(), nullptr), QStringLiteral("2001|03|05"));
    // A field text holding references is copied, never filled again.
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("%Album%!%Album%")), QStringLiteral("%Titel% %Album%!%Titel% %Album%"));
    // Unknown names and lone signs stay; a sign may start the next reference.
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("%100% %Titel% %")), QStringLiteral("%100% Waterloo %"));
    // The user column inside a format is no field (it would call itself).
    idx.strSpaltenNutzerformat = QStringLiteral("[%Benutzerdefiniert%|%Titel%]");
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Benutzerdefiniert")), QStringLiteral("[%Benutzerdefiniert%|Waterloo]"));
    idx.strSpaltenNutzerformat.clear();
    qint16 art = 9;
    QString wert;
    EXPECT_TRUE(IndexFeldZurückgeben(idx, e, QStringLiteral("Benutzerdefiniert"), QStringLiteral("1"), wert, art));
    EXPECT_EQ(wert, QString());
    EXPECT_EQ(NutzerformatTitel(QStringLiteral("%Interpret% - %Titel%")), QStringLiteral("Interpret - Titel"));

    // The display form reaches formats and the user column; a filter sees each field text.
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("%Hinzufüge-Datum%")), QStringLiteral("05.03.2001"));
    idx.strSpaltenNutzerformat = QStringLiteral("%Hinzufüge-Datum%");
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Benutzerdefiniert")), QStringLiteral("05.03.2001"));
    EXPECT_EQ(Feldwert(idx, e, QStringLiteral("Benutzerdefiniert"), QString(), nullptr), QStringLiteral("2001|03|05"));
    EXPECT_EQ(DateinamenFormatieren(idx, QStringLiteral("[%Titel%|%Album%]"), e, FeldModus::Anzeige,
                                    [](const QString& w) { return QStringLiteral("<") + w + QStringLiteral(">"); }),
              QStringLiteral("[<Waterloo>|<%Titel% %Album%>]"));
}

} // namespace
