#include "core/IndexZeile.h"
#include "core/Standardwerte.h"

#include <gtest/gtest.h>

namespace {

std::string zeile(const QString& pfad, const MedienInfo& m)
{
    std::string s;
    EintragszeileSchreiben(s, pfad, m);
    return s;
}

// Reads a line (with or without its CR LF) as the loader does.
bool lesen(const std::string& z, QString& pfad, MedienInfo& m)
{
    QByteArrayView v(z.data(), qsizetype(z.size()));
    if (v.endsWith("\r\n"))
        v.chop(2);
    TextSpeicher texte;
    return EintragszeileLesen(v, texte, pfad, m);
}

MedienInfo beispiel()
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Titel = "Hi";
    GenreByteSetzen(m, 12);
    m.Datei_Größe = 1000;
    m.Header_Bitrate = 128;
    m.Header_Dauer = 60;
    m.Header_Frequenz = 44100;
    m.Header_Frames = -1;
    m.Datei_HinzugefügtAm = "01.02.2003";
    m.Datei_Typ = 1;
    m.Header_Modus = "Stereo";
    return m;
}

// Every stored field filled, with texts that a careless format would break.
MedienInfo voll()
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Titel = QString::fromUtf8("東京 / タイトル | 1");
    m.Mp3_ID3v1_Interpret = QString::fromUtf8("Künstler 🎸");
    m.Mp3_ID3v1_Album = "a/b|c";
    m.Mp3_ID3v1_Jahr = "0";
    m.Mp3_ID3v1_Kommentar = "-1";
    m.Mp3_ID3v1_Titelnummer = "7";
    GenreByteSetzen(m, 128);
    m.Datei_Größe = 5'000'000'000LL;
    m.Datei_Datenträger = "USB";
    m.Datei_HinzugefügtAm = "29.02.2004";
    m.Datei_Typ = 4;
    m.Datei_AngefordertAnzahl = 0;
    m.Datei_AngefordertGespieltAm = "31.12.2020 23:59:59";
    m.Header_Bitrate = -1;
    m.Header_Frequenz = 48000;
    m.Header_Dauer = 0;
    m.Header_VBR = true;
    m.Header_Modus = "Joint Stereo";
    m.Header_Frames = 123456;
    m.Mp3_ID3v1_Vorhanden = 1;
    m.Mp3_ID3v2_Vorhanden = 1;
    m.Mp3_ID3v2_Version = "2.3.0";
    m.Mp3_ID3v2_TAGGröße = 4096;
    m.Mp3_ID3v2_AbspielZähler = "12";
    m.Mp3_ID3v2_Titelnummer = "7/12";
    m.Mp3_ID3v2_EncodiertVon = "enc";
    m.Mp3_ID3v2_Link = "https://x.example/a|b";
    m.Mp3_ID3v2_Copyright = QString::fromUtf8("© 2001");
    m.Mp3_ID3v2_UrsprünglicherInterpret = "orig";
    m.Mp3_ID3v2_Songschreiber = "comp";
    m.Mp3_ID3v2_Musikrichtung = "(17)Rock";
    m.Mp3_ID3v2_Kommentar = QString(1500, QChar(u'ü'));
    m.Mp3_ID3v2_Jahr = "2001";
    m.Mp3_ID3v2_Album = QString::fromUtf8("アルバム");
    m.Mp3_ID3v2_Interpret = QString::fromUtf8("Künstler 🎸");
    m.Mp3_ID3v2_Titel = QString::fromUtf8("東京 / タイトル | 1 und länger");
    m.Mp3_ID3v2_Sprache = "deu";
    m.Mp3_ID3v2_Länge = "180000";
    m.Mp3_ID3v2_Medientyp = "CD";
    m.Mp3_ID3v2_Herausgeber = "pub";
    m.Mp3_ID3v2_Software = "sw";
    return m;
}

} // namespace

TEST(IndexZeile, BeispielzeileByteFürByte)
{
    EXPECT_EQ(zeile("C:\\a.mp3", beispiel()),
              "#TAG:8////2/2///4//3/2/5/2/1/10/1/6/1/|C:\\a.mp312Hi10001286044100-1001.02.20031Stereo0\r\n");
    QString pfad;
    MedienInfo m;
    ASSERT_TRUE(lesen(zeile("C:\\a.mp3", beispiel()), pfad, m));
    EXPECT_EQ(pfad, "C:\\a.mp3");
    MedienInfo erwartet = beispiel();
    erwartet.Mp3_ID3v1_Vorhanden = 1;
    EXPECT_EQ(m, erwartet);
}

TEST(IndexZeile, JedesFeldÜberlebtDenRundweg)
{
    const MedienInfo m = voll();
    const QString pfad = QString::fromUtf8("/musik/日本/😀 a|b/c.mp3");
    const std::string z = zeile(pfad, m);
    EXPECT_EQ(std::count(z.begin(), z.begin() + qsizetype(z.find('|')), '/'), 39) << "40 lengths";
    QString p;
    MedienInfo gelesen;
    ASSERT_TRUE(lesen(z, p, gelesen));
    EXPECT_EQ(p, pfad);
    EXPECT_EQ(gelesen, m);
    // Shared texts stay equal; identical ID3v1 and ID3v2 titles share one text.
    EXPECT_EQ(gelesen.Mp3_ID3v1_Interpret, gelesen.Mp3_ID3v2_Interpret);
}

TEST(IndexZeile, LeerNullUndMinusEinsBleibenVerschieden)
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Album = "";
    m.Mp3_ID3v1_Interpret = "0";
    m.Mp3_ID3v1_Kommentar = "-1";
    m.Header_Bitrate = 0;
    m.Header_Frames = -1;
    const std::string z = zeile("p", m);
    EXPECT_EQ(z, "#TAG:1//1/2/////2//1/1/1/2/1//1//1/|p0-1-1000-1000\r\n") << "empty text: no length; numbers never empty";
    QString p;
    MedienInfo g;
    ASSERT_TRUE(lesen(z, p, g));
    EXPECT_TRUE(g.Mp3_ID3v1_Album.isEmpty());
    EXPECT_EQ(g.Mp3_ID3v1_Interpret, "0");
    EXPECT_EQ(g.Mp3_ID3v1_Kommentar, "-1");
    EXPECT_EQ(g.Header_Bitrate, 0);
    EXPECT_EQ(g.Header_Frames, -1);
    EXPECT_EQ(g.Datei_Größe, -1);
}

TEST(IndexZeile, ID3v2NurBeiVorhandenEins)
{
    MedienInfo m = voll();
    m.Mp3_ID3v2_Vorhanden = 2;
    const std::string z = zeile("p", m);
    EXPECT_EQ(std::count(z.begin(), z.begin() + qsizetype(z.find('|')), '/'), 19) << "20 lengths despite ID3v2 texts";
    QString p;
    MedienInfo g;
    ASSERT_TRUE(lesen(z, p, g));
    EXPECT_EQ(g.Mp3_ID3v2_Vorhanden, 2);
    EXPECT_TRUE(g.Mp3_ID3v2_Titel.isEmpty());
    EXPECT_EQ(g.Mp3_ID3v1_Titel, m.Mp3_ID3v1_Titel);

    // Presence 1 with every ID3v2 text empty still writes 40 values, and the
    // tag size (a number, never empty) brings presence 1 back.
    MedienInfo leer = LeereMedienInfo();
    leer.Mp3_ID3v2_Vorhanden = 1;
    leer.Mp3_ID3v2_TAGGröße = 0;
    MedienInfo g2;
    ASSERT_TRUE(lesen(zeile("p", leer), p, g2));
    EXPECT_EQ(g2.Mp3_ID3v2_Vorhanden, 1);
    EXPECT_EQ(g2.Mp3_ID3v1_Vorhanden, 2);
}

TEST(IndexZeile, GenreWerte)
{
    for (int g : {0, 128, 255}) {
        MedienInfo m = LeereMedienInfo();
        GenreByteSetzen(m, g);
        const std::string z = zeile("p", m);
        EXPECT_NE(z.find("|p" + std::to_string(g) + "-1"), std::string::npos) << z;
        QString p;
        MedienInfo gelesen;
        ASSERT_TRUE(lesen(z, p, gelesen));
        EXPECT_EQ(GenreByte(gelesen), g);
        EXPECT_EQ(gelesen.Mp3_ID3v1_Vorhanden, 1);
    }
    MedienInfo ohne = LeereMedienInfo();
    const std::string z = zeile("p", ohne);
    EXPECT_EQ(z, "#TAG:1////////2//1/1/1/1/1//1//1/|p-10000000\r\n") << "an empty genre is an empty value";
    QString p;
    MedienInfo gelesen;
    ASSERT_TRUE(lesen(z, p, gelesen));
    EXPECT_EQ(GenreByte(gelesen), -1);
    EXPECT_EQ(gelesen.Mp3_ID3v1_Vorhanden, 2);
}

TEST(IndexZeile, ZeilenumbruchImWertBrichtDieZeileNicht)
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Kommentar = "eins\r\nzwei\rdrei";
    const std::string z = zeile("p", m);
    EXPECT_EQ(z.find('\r'), z.size() - 2) << "only the line end holds CR";
    QString p;
    MedienInfo g;
    ASSERT_TRUE(lesen(z, p, g));
    EXPECT_EQ(g.Mp3_ID3v1_Kommentar, "eins\n\nzwei\ndrei");
}

TEST(IndexZeile, KaputteZeilenGebenKeinenOderTeilEintrag)
{
    QString p;
    MedienInfo m;
    EXPECT_FALSE(lesen("#TAG:5|abcde", p, m)) << "one length";
    EXPECT_FALSE(lesen("#TAG:|", p, m)) << "no length";
    EXPECT_FALSE(lesen("#TAG:5/3", p, m)) << "no |";
    EXPECT_FALSE(lesen("#TAG:", p, m));
    EXPECT_FALSE(lesen("#tag:1/1|ab", p, m)) << "the prefix is case-sensitive";

    // A length past the end takes what is left; nothing is read beyond.
    MedienInfo a;
    ASSERT_TRUE(lesen("#TAG:3/50|abcdef", p, a));
    EXPECT_EQ(p, "abc");
    EXPECT_EQ(a.Mp3_ID3v1_Album, "def");

    // "x" and -1 take no characters; the next value still lines up.
    MedienInfo b;
    ASSERT_TRUE(lesen("#TAG:1/x/-1/2|pab", p, b));
    EXPECT_EQ(p, "p");
    EXPECT_TRUE(b.Mp3_ID3v1_Album.isEmpty());
    EXPECT_TRUE(b.Mp3_ID3v1_Interpret.isEmpty());
    EXPECT_EQ(b.Mp3_ID3v1_Kommentar, "ab");

    // 42 lengths: the 41st value is skipped, the 42nd ignored.
    std::string z = "#TAG:1";
    for (int k = 2; k <= 42; ++k)
        z += "/1";
    z += "|p" + std::string(41, 'v');
    MedienInfo c;
    ASSERT_TRUE(lesen(z, p, c));
    EXPECT_EQ(c.Mp3_ID3v2_Titel, "v");
    EXPECT_EQ(c.Mp3_ID3v1_Jahr, "v");
    EXPECT_EQ(c.Mp3_ID3v2_Vorhanden, 1);
    EXPECT_EQ(c.Datei_Größe, -1) << "\"v\" is no number";
    EXPECT_TRUE(c.Datei_HinzugefügtAm.isEmpty()) << "\"v\" is no date";

    // Numbers that do not fit their field leave it alone.
    MedienInfo d;
    ASSERT_TRUE(lesen("#TAG:1////3////////////////5|p2569999999999", p, d));
    EXPECT_EQ(GenreByte(d), -1);
    EXPECT_EQ(d.Datei_Typ, 0);
}

TEST(IndexZeile, LangeWerteÜber1000Bytes)
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Kommentar = QString(1500, QLatin1Char('k'));
    m.Mp3_ID3v1_Titel = "danach";
    const std::string z = zeile("p", m);
    EXPECT_NE(z.find("/1500/"), std::string::npos);
    QString p;
    MedienInfo g;
    ASSERT_TRUE(lesen(z, p, g));
    EXPECT_EQ(g.Mp3_ID3v1_Kommentar.size(), 1500);
    EXPECT_EQ(g.Mp3_ID3v1_Titel, "danach") << "the values after a long one are read from their place";
}

TEST(IndexZeile, LängenZählenBytesDerKodierung)
{
    // Windows-1252: one byte per character, "ä" and "€" included.
    QString p;
    MedienInfo m;
    ASSERT_TRUE(lesen("#TAG:2/1|\xE4\x80x", p, m));
    EXPECT_EQ(p, QString::fromUtf8("ä€"));
    EXPECT_EQ(m.Mp3_ID3v1_Album, "x");
    // UTF-8: the same texts take 2 and 3 bytes.
    MedienInfo u;
    ASSERT_TRUE(lesen("#TAG:5/1|\xC3\xA4\xE2\x82\xACx", p, u));
    EXPECT_EQ(p, QString::fromUtf8("ä€"));
    EXPECT_EQ(u.Mp3_ID3v1_Album, "x");
}

TEST(IndexZeile, DatumNurWennEsEinesIst)
{
    for (const char* ja : {"01.02.2003", "1.2.2003", "29.02.2004", "31.12.2020 23:59:59", "01.02.03", "2003-02-01",
                           "01.02.2003 7:05", " 01.02.2003 "})
        EXPECT_TRUE(IstDatum(ja)) << ja;
    for (const char* nein : {"", "x", "29.02.2003", "32.01.2003", "01.13.2003", "01.02.2003 24:00:00", "01.02",
                             "01.02.2003x", "2003", "01.02.2003 10:61"})
        EXPECT_FALSE(IstDatum(nein)) << nein;
}

TEST(IndexZeile, OptionszeilenLesen)
{
    Index idx;
    TextSpeicher texte;
    auto opt = [&](const char* z) { OptionszeileLesen(z, texte, idx); };
    opt("#OPT:SYNC=/musik,1,/ziel");
    opt("#opt:sync=/x,0,");                // the prefix must be upper case
    opt("#OPT:sync=/a,b/c,0,");           // a folder with ","
    opt("#OPT:SYNC=/nur/zwei,1");         // does not split: an empty slot
    ASSERT_EQ(idx.intSyncLeer, 0);
    ASSERT_EQ(idx.strSyncOrdner.size(), 3);
    EXPECT_EQ(idx.strSyncOrdner[0], "/musik");
    EXPECT_EQ(idx.intSyncUnterordner[0], 1);
    EXPECT_EQ(idx.strSyncKopierenInOrdner[0], "/ziel");
    EXPECT_EQ(idx.strSyncOrdner[1], "/a,b/c");
    EXPECT_EQ(idx.intSyncUnterordner[1], 0);
    EXPECT_EQ(idx.strSyncKopierenInOrdner[1], "");
    EXPECT_EQ(idx.strSyncOrdner[2], "");
    EXPECT_EQ(idx.intSyncUnterordner[2], 0);

    opt("#OPT:VERWALTEN=mp3=1,110");
    opt("#OPT:VERWALTEN=a,b=0,001");
    opt("#OPT:VERWALTEN=ogg=1,xy");
    ASSERT_EQ(idx.intDateiTypenLeer, 0);
    EXPECT_EQ(idx.strDateiTypen, QStringList({"mp3=1", "a,b=0", "ogg=1"}));
    EXPECT_EQ(idx.strDateiTypArten, QStringList({"110", "001", ""}));

    idx.intSpaltenGitter = 0;
    opt("#OPT:SPALTEN_LEISTE=0");
    opt("#OPT:SPALTEN_GITTER=1");
    opt("#OPT:SYNC_ENTFERNEN=0");
    opt("#OPT:SPALTEN_GITTER=10");        // two characters: ignored
    opt("#OPT:SPALTEN=1,Titel,2000|b");
    opt("#OPT:SPALTEN_NUTZERFORMAT=%Titel% – %Album%");
    opt("#OPT:UNBEKANNT=1");
    opt("#OPT:KODIERUNG=UTF-8");
    EXPECT_EQ(idx.intSpaltenLeiste, 0);
    EXPECT_EQ(idx.intSpaltenGitter, 1);
    EXPECT_EQ(idx.intSyncDanachEntfernen, 0);
    EXPECT_EQ(idx.strSpalten, "1,Titel,2000|b");
    EXPECT_EQ(idx.strSpaltenNutzerformat, QString::fromUtf8("%Titel% – %Album%"));
}

TEST(IndexZeile, KopfzeilenInDerRichtigenReihenfolge)
{
    Index idx;
    std::string s;
    KopfzeilenSchreiben(s, idx);
    EXPECT_EQ(s, "#TAG:kv102\r\n#OPT:SYNC_ENTFERNEN=1\r\n#OPT:SPALTEN_LEISTE=1\r\n#OPT:SPALTEN_GITTER=0\r\n"
                 "#OPT:SPALTEN=0\r\n#OPT:SPALTEN_NUTZERFORMAT=%Interpret% - %Titel%\r\n#OPT:KODIERUNG=UTF-8\r\n");

    idx.intSyncLeer = 0;
    idx.strSyncOrdner = {"/m", "/n"};
    idx.intSyncUnterordner = {1, 0};
    idx.strSyncKopierenInOrdner = {"", "/z"};
    idx.intDateiTypenLeer = 0;
    idx.strDateiTypen = {"mp3=1"};
    idx.strDateiTypArten = {"110"};
    idx.strSpalten = "a\r\nb";
    s.clear();
    KopfzeilenSchreiben(s, idx);
    EXPECT_EQ(s, "#TAG:kv102\r\n#OPT:SYNC=/m,1,\r\n#OPT:SYNC=/n,0,/z\r\n#OPT:SYNC_ENTFERNEN=1\r\n"
                 "#OPT:VERWALTEN=mp3=1,110\r\n#OPT:SPALTEN_LEISTE=1\r\n#OPT:SPALTEN_GITTER=0\r\n"
                 "#OPT:SPALTEN=a\n\nb\r\n#OPT:SPALTEN_NUTZERFORMAT=%Interpret% - %Titel%\r\n#OPT:KODIERUNG=UTF-8\r\n");
}

TEST(IndexZeile, VersionenVergleichenAlsZahlen)
{
    struct Fall {
        const char* zeile;
        int code;
        bool neuer;
    };
    for (const Fall& f : {Fall{"#TAG:kv102", 2, false}, Fall{"#tag:KV102", 2, false}, Fall{"#TAG:kv101", 1, false},
                          Fall{"#TAG:kv100", 0, false}, Fall{"#TAG:kv103", 2, true}, Fall{"#TAG:kv99", 2, false},
                          Fall{"#TAG:kv1000", 2, true}, Fall{"#TAG:kv1010", 2, true},
                          Fall{"#TAG:kv99999999999999999999", 2, true}, Fall{"#TAG:kv102abc", 2, false},
                          Fall{"#TAG:kv", 2, false}, Fall{"#TAG:xy", -1, false}, Fall{"/musik/a.mp3", -1, false},
                          Fall{"", -1, false}}) {
        const IndexVersion v = VersionErkennen(f.zeile);
        EXPECT_EQ(v.code, f.code) << f.zeile;
        EXPECT_EQ(v.neuer, f.neuer) << f.zeile;
    }
    EXPECT_EQ(VersionErkennen("#TAG:kv103").versionText, "103");
}

// Each value on its own, whatever the others and the file's marker are:
// valid UTF-8 is UTF-8, anything else Windows-1252 (the whole value).
TEST(IndexZeile, JederWertFürSich)
{
    const std::pair<QByteArray, QString> fälle[] = {
        {"Bj\xC3\xB6rk", QString::fromUtf8("Björk")},
        {"Bj\xF6rk", QString::fromUtf8("Björk")},
        {"\xE6\x97\xA5\xE6\x9C\xAC", QString::fromUtf8("日本")},
        {"\xC3\xA4\xE4", QString::fromUtf8("Ã¤ä")},         // one valid sequence does not make it UTF-8
        {"\xC0\x80", QString::fromUtf8("À€")},                // overlong
        {"\xED\xA0\x80", QString::fromUtf8("í\u00A0€")},     // a surrogate's form
        {"\xE6\x97", QString::fromUtf8("æ—")},                // cut short
        {"\xEF\xBF\xBD", QString(QChar::ReplacementCharacter)}, // valid: the character itself
        {"abc", "abc"},
        {"Sp\x7F\x01 plain ASCII, longer than a word", "Sp\x7F\x01 plain ASCII, longer than a word"},
        {"ASCII at first, then Bj\xF6rk", QString::fromUtf8("ASCII at first, then Björk")},
        {"ASCII at first, then Bj\xC3\xB6rk", QString::fromUtf8("ASCII at first, then Björk")},
        {"\x80\x8A\x9F after that ASCII", QString::fromUtf8("€ŠŸ after that ASCII")},
        {"", ""}};
    for (const auto& [bytes, text] : fälle) {
        TextSpeicher texte;
        EXPECT_EQ(texte.Text(bytes), text) << bytes.toHex().toStdString();
        EXPECT_EQ(texte.Geteilt(bytes), text) << bytes.toHex().toStdString();
    }
}

// Texts that repeat are decoded once and shared: each value still reads as
// its own bytes say, whatever stood before it in its place or elsewhere.
TEST(IndexZeile, GeteilteTexteNachIhrenBytes)
{
    const QByteArray lang(20, 'a');
    const std::tuple<int, QByteArray, QString> folge[] = {
        {1, "Rock", "Rock"},
        {1, "Rock", "Rock"},         // again in its place
        {1, "Rick", "Rick"},         // as long, other bytes
        {2, "Rock", "Rock"},         // in another place
        {1, lang + "b", lang + "b"}, // longer than what is kept beside the table
        {1, lang + "c", lang + "c"}, // differs only behind that
        {3, lang + "b", lang + "b"},
        {3, lang + "c", lang + "c"},
        {1, "\x80", QString::fromUtf8("€")},
        {2, "\xE2\x82\xAC", QString::fromUtf8("€")},
        {1, "\xE2\x82\xAC", QString::fromUtf8("€")},
        {-1, "\x80", QString::fromUtf8("€")},
        {2, "", ""},
        {2, "Rock", "Rock"},
    };
    TextSpeicher texte;
    for (const auto& [feld, bytes, text] : folge)
        EXPECT_EQ(texte.Geteilt(bytes, feld), text) << feld << " " << bytes.toHex().toStdString();

    // Many texts: all found again, from any place.
    std::vector<QByteArray> viele;
    for (int i = 0; i < 5000; ++i)
        viele.push_back(QByteArray::number(i * 7919) + (i % 2 ? "\xE4" : "\xC3\xA4"));
    for (int runde = 0; runde < 2; ++runde)
        for (size_t i = 0; i < viele.size(); ++i)
            ASSERT_EQ(texte.Geteilt(viele[i], runde * 5 + int(i % 3)),
                      QString::number(i * 7919) + QString::fromUtf8("ä"))
                << runde << " " << i;
}

// A large text is split into lines in pieces at once. Wherever a piece
// begins, the lines are those that were written, in their order: also where
// it begins inside a value holding line ends and what reads like lines, one
// of them an entry line whose lengths lead to the same place in the next
// line, and from there to the next, and so on (`falle`: a walk begun there
// never meets a line that was written). The last value ends the text.
TEST(IndexZeile, GroßerTextInStückenWieAmStück)
{
    for (const QByteArray ende : {"\r\n", "\n", "\r"}) {
        for (const bool falle : {false, true}) {
            SCOPED_TRACE(ende.toHex().toStdString() + (falle ? " falle" : ""));
            QByteArray falsch = "#TAG:1/1|ab";
            // Every line as long as the others.
            const auto zeile = [&](int i) {
                const QByteArray pfad = "/m/" + QByteArray::number(i).rightJustified(7, '0') + "\xE6\x97\xA5";
                const QByteArray album = QByteArray(150, 'x') + ende + falsch + ende + "#OPT:SPALTEN=9" + ende
                                         + QByteArray(150, 'y') + "\x80\x9F";
                return "#TAG:" + QByteArray::number(pfad.size()) + "/" + QByteArray::number(album.size()) + "|" + pfad
                       + album;
            };
            for (qsizetype länge = 0; falle && falsch != "#TAG:" + QByteArray::number(länge) + "/|";) {
                falsch = "#TAG:" + QByteArray::number(länge) + "/|";
                länge = zeile(0).size() - falsch.size();
            }
            QByteArray text = "#TAG:kv102" + ende;
            QByteArrayList einträge, optionen;
            for (int i = 0; text.size() < 9 << 20; ++i) {
                if (i % 1000 == 0 && (!falle || i == 0)) {
                    optionen << "#OPT:SPALTEN=" + QByteArray::number(i);
                    text += optionen.back() + ende;
                }
                einträge << zeile(i);
                text += einträge.back() + ende;
            }
            text.chop(ende.size());
            for (int teile : {1, 2, 3, 5, 8}) {
                std::vector<QByteArrayView> e, o;
                IndexzeilenTeilen(text, teile, e, o);
                ASSERT_EQ(e.size(), size_t(einträge.size())) << teile;
                for (size_t i = 0; i < e.size(); ++i)
                    ASSERT_EQ(e[i], einträge[qsizetype(i)]) << teile << " " << i;
                ASSERT_EQ(o.size(), size_t(optionen.size())) << teile;
                for (size_t i = 0; i < o.size(); ++i)
                    ASSERT_EQ(o[i], optionen[qsizetype(i)]) << teile << " " << i;
            }
        }
    }
}
