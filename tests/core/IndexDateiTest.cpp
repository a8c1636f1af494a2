#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/IndexDatei.h"
#include "core/Kodierung.h"
#include "core/Meldungen.h"
#include "core/SichereDatei.h"
#include "core/Standardwerte.h"
#include "media/MedienInfosLesen.h"
#include "support/IndexDateiHilfen.h"
#include "support/FremderProzess.h"
#include "support/FuseAbbild.h"
#include "support/Mp3Bauer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <deque>
#include <functional>
#include <sys/resource.h>
#include <optional>
#include <tuple>
#include <utility>

namespace {

const auto lesen = testhilfe::DateiInhalt;

void schreiben(const QString& pfad, const QByteArray& daten)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(daten);
}

// An entry line as the old program writes it: each value it can hold in
// Windows-1252 in that code page, the lengths counted again.
QByteArray wieDasAlteProgramm(const QByteArray& zeile)
{
    const qsizetype strich = zeile.indexOf('|');
    QByteArrayList längen;
    QByteArray werte;
    qsizetype p = strich + 1;
    for (const QByteArray& länge : zeile.sliced(5, strich - 5).split('/')) {
        const QString text = QString::fromUtf8(zeile.sliced(p, länge.toInt()));
        p += länge.toInt();
        const QByteArray wert = Cp1252Dekodieren(Cp1252Kodieren(text)) == text ? Cp1252Kodieren(text) : text.toUtf8();
        längen << (wert.isEmpty() ? QByteArray() : QByteArray::number(wert.size()));
        werte += wert;
    }
    return "#TAG:" + längen.join('/') + '|' + werte;
}

// A progress display whose event processing plays the user's part.
struct Anzeige : FortschrittAnzeige {
    std::function<void()> beiEreignis;
    void Zeigen(QObject*, const FortschrittZustand&) override {}
    void Verbergen(QObject*) override {}
    void Aktualisieren(const FortschrittZustand&) override {}
    void EreignisseVerarbeiten() override
    {
        if (beiEreignis)
            beiEreignis();
    }
};

// Questions take the scripted `antworten`; every text shown is in `meldungen`.
class IndexDateiTest : public ::testing::Test, protected testhilfe::Fragenskript {
protected:
    QTemporaryDir ordner;
    QString datei;
    Index idx;
    Anzeige anzeige;
    // The loader re-reads incomplete entries with the program's media reader.
    DienstErsetzen<EintragLeserDienst> leser{MedienInfosNachlesen};

    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        datei = ordner.filePath("Test.kvx");
        einstellungen() = StandardEinstellungen();
        IndexDateiSperreWartezeitSetzen(50);
    }
    void TearDown() override
    {
        FortschrittZeigenBeenden(nullptr);
        DienstSetzen<FortschrittAnzeigeDienst>(nullptr);
        SichereDatei::FehlerBeiSchreibvorgang(0);
        SichereDatei::FehlerBeimUmbenennen(false);
        SichereDatei::TestHaken({});
        IndexDateiSperreWartezeitSetzen(4500);
    }

    // An index of `n` entries with a few options, as if loaded.
    void füllen(int n)
    {
        idx = Index();
        idx.bolIndexGeladen = true;
        for (int i = 1; i <= n; ++i) {
            MedienInfo m = LeereMedienInfo();
            m.Mp3_ID3v1_Titel = QString::fromUtf8("Titel %1 ☂").arg(i);
            m.Mp3_ID3v1_Interpret = QStringLiteral("Interpret %1").arg(i % 7);
            m.Mp3_ID3v1_Album = QString::fromUtf8("Grüße aus Köln");
            m.Mp3_ID3v1_Kommentar = QString::fromUtf8("Ärger über Öl\nund Süße");
            m.Datei_Größe = 1000 + i;
            m.Datei_HinzugefügtAm = "01.02.2003";
            m.Header_Modus = "Stereo";
            if (i % 2 == 0) {
                m.Mp3_ID3v2_Vorhanden = 1;
                m.Mp3_ID3v2_Titel = QString::fromUtf8("日本語 %1 😀").arg(i);
                m.Mp3_ID3v2_TAGGröße = 2048;
            }
            idx.EintragAnhängen(QStringLiteral("/musik/%1.mp3").arg(i), m);
        }
        idx.intSyncLeer = 0;
        idx.strSyncOrdner = {"/musik"};
        idx.intSyncUnterordner = {1};
        idx.strSyncKopierenInOrdner = {""};
        idx.intDateiTypenLeer = 0;
        idx.strDateiTypen = {"mp3=1", "jpg=0"};
        idx.strDateiTypArten = {"110", "001"};
        idx.strSpalten = "1,Titel,2000";
        idx.intSpaltenGitter = 1;
        idx.bolIndexGeändert = true;
    }

    bool laden(Index& ziel) { return DateiLaden(ziel, datei); }
};

} // namespace

TEST_F(IndexDateiTest, SpeichernUndLadenGebenDenIndexZurück)
{
    füllen(25000); // enough to be read by several threads
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    EXPECT_FALSE(idx.bolIndexGeändert);
    EXPECT_TRUE(idx.datLetzteSpeicherung.isValid());
    EXPECT_FALSE(QFileInfo::exists(datei + "~"));

    Index neu;
    ASSERT_TRUE(laden(neu));
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join("|").toStdString();
    EXPECT_TRUE(neu.bolIndexGeladen);
    EXPECT_FALSE(neu.bolIndexGeändert);
    ASSERT_EQ(neu.lngIndexAnzahl, 25000);
    EXPECT_EQ(neu.Kapazität(), 25000) << "trimmed to the count";
    for (qint32 i = 1; i <= 25000; ++i) {
        MedienInfo erwartet = idx.IndexDaten[size_t(i)];
        erwartet.Mp3_ID3v1_Vorhanden = 1;
        ASSERT_EQ(neu.strIndexPfad[size_t(i)], idx.strIndexPfad[size_t(i)]);
        ASSERT_EQ(neu.IndexDaten[size_t(i)], erwartet) << i;
        ASSERT_EQ(neu.intSuchErgebnis[size_t(i)], 1);
    }
    EXPECT_EQ(neu.strSyncOrdner, idx.strSyncOrdner);
    EXPECT_EQ(neu.intSyncUnterordner, idx.intSyncUnterordner);
    EXPECT_EQ(neu.strDateiTypen, idx.strDateiTypen);
    EXPECT_EQ(neu.strDateiTypArten, idx.strDateiTypArten);
    EXPECT_EQ(neu.strSpalten, idx.strSpalten);
    EXPECT_EQ(neu.intSpaltenGitter, 1);
    EXPECT_EQ(einstellungen().Dateiname, datei);

    // Saving what was loaded gives the same bytes.
    const QByteArray erst = lesen(datei);
    ASSERT_TRUE(DateiSpeichern(neu, datei, false));
    EXPECT_EQ(lesen(datei), erst);
}

TEST_F(IndexDateiTest, FortschrittBeimLadenUndNachlesen)
{
    füllen(1001);
    idx.IndexDaten[7].Datei_HinzugefügtAm.clear(); // to be read again
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));

    struct Aufzeichnung : Anzeige {
        QStringList überschriften;
        void Zeigen(QObject*, const FortschrittZustand& z) override { überschriften << z.überschrift; }
        void Aktualisieren(const FortschrittZustand& z) override
        {
            if (überschriften.isEmpty() || überschriften.back() != z.überschrift)
                überschriften << z.überschrift;
        }
    } aufzeichnung;
    DienstSetzen<FortschrittAnzeigeDienst>(&aufzeichnung);
    Index neu;
    qint32 größteKapazität = 0;
    aufzeichnung.beiEreignis = [&] { größteKapazität = std::max(größteKapazität, neu.Kapazität()); };
    ASSERT_TRUE(laden(neu));
    // The re-read reports into the display that is still up.
    EXPECT_EQ(aufzeichnung.überschriften, QStringList({"Lade 'Test.kvx'"}));
    EXPECT_EQ(größteKapazität, 2100) << "capacity grows 1000, 2100, ...";
    EXPECT_EQ(neu.Kapazität(), 1001);
    EXPECT_FALSE(FortschrittLäuft());

    // Not while loading, but the re-read still shows its progress.
    einstellungen().StartBildschirmNichtBeiLaden = 1;
    aufzeichnung.überschriften.clear();
    ASSERT_TRUE(laden(neu));
    EXPECT_EQ(aufzeichnung.überschriften, QStringList({"Datei-Informationen lesen"}));
}

TEST_F(IndexDateiTest, Windows1252DateiDesAltenProgramms)
{
    schreiben(datei, "#TAG:kv102\r\n#OPT:SYNC=C:\\M\xFCsik,1,\r\n"
                     "#TAG:9/5|C:\\\xE4\x80.mp3\xC4rger\r\n");
    ASSERT_TRUE(laden(idx));
    ASSERT_EQ(idx.lngIndexAnzahl, 1);
    EXPECT_EQ(idx.strIndexPfad[1], QString::fromUtf8("C:\\ä€.mp3"));
    EXPECT_EQ(idx.IndexDaten[1].Mp3_ID3v1_Album, QString::fromUtf8("Ärger"));
    EXPECT_EQ(idx.strSyncOrdner.value(0), QString::fromUtf8("C:\\Müsik"));

    // Written back as UTF-8 with the marker, it reads the same.
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    const QByteArray utf8 = lesen(datei);
    EXPECT_TRUE(utf8.contains("#OPT:KODIERUNG=UTF-8\r\n#TAG:12/6/")) << utf8.toStdString();
    EXPECT_TRUE(utf8.contains("|C:\\\xC3\xA4\xE2\x82\xAC.mp3\xC3\x84rger"));
    Index neu;
    ASSERT_TRUE(laden(neu));
    EXPECT_EQ(neu.strIndexPfad[1], idx.strIndexPfad[1]);
    EXPECT_EQ(neu.IndexDaten[1].Mp3_ID3v1_Album, idx.IndexDaten[1].Mp3_ID3v1_Album);

    // In a UTF-8 file (marked, or whose other bytes are UTF-8) a value of
    // another program in Windows-1252 keeps its letters; lengths count bytes.
    const QByteArray björk = "/m/Bj\xF6rk.mp3";                    // Windows-1252
    const QByteArray jp = "/m/\xE6\x97\xA5\xE6\x9C\xAC.mp3"; // UTF-8
    const QByteArray zeilen = "#TAG:" + QByteArray::number(björk.size()) + "/5|" + björk + "\xC4rger\r\n"
                              "#TAG:" + QByteArray::number(jp.size()) + "/6|" + jp + "\xC3\x84rger\r\n";
    const QByteArray markiert = "#TAG:kv102\r\n#OPT:KODIERUNG=UTF-8\r\n" + zeilen;
    for (const QByteArray& inhalt : {markiert, "#TAG:kv102\r\n" + zeilen, QByteArray(markiert).replace("\r\n", "\n"),
                                     "\xEF\xBB\xBF#TAG:kv102\r\n" + zeilen}) {
        SCOPED_TRACE(inhalt.left(40).toStdString());
        schreiben(datei, inhalt);
        Index neu;
        ASSERT_TRUE(laden(neu));
        ASSERT_EQ(neu.lngIndexAnzahl, 2);
        EXPECT_EQ(neu.strIndexPfad[1], QString::fromUtf8("/m/Björk.mp3"));
        EXPECT_EQ(neu.strIndexPfad[2], QString::fromUtf8("/m/日本.mp3"));
        for (size_t i : {1, 2})
            EXPECT_EQ(neu.IndexDaten[i].Mp3_ID3v1_Album, QString::fromUtf8("Ärger"));
    }
}

TEST_F(IndexDateiTest, KaputteZeilenLassenDenRestGeladen)
{
    schreiben(datei, "#TAG:kv102\r\n"
                     "#TAG:5|nurein\r\n"
                     "#TAG:3/2\r\n"
                     "#TAG:1/2|aok\r\n"          // entry 1
                     "#TAG:3/99|xyzab\r\n"       // entry 2: a length past the end
                     "#TAG:x/1|b\r\n"            // entry 3: path length not a number
                     "#TAG:-1/1|c\r\n"           // entry 4
                     "#tag:1/1|ab\r\n"
                     "irgendwas\r\n"
                     "\r\n"
                     "#OPT:SPALTEN_LEISTE=\r\n"
                     "#TAG:1/1|de");             // entry 5, no CR LF at the end
    ASSERT_TRUE(laden(idx));
    ASSERT_EQ(idx.lngIndexAnzahl, 5);
    EXPECT_EQ(idx.strIndexPfad[1], "a");
    EXPECT_EQ(idx.IndexDaten[1].Mp3_ID3v1_Album, "ok");
    EXPECT_EQ(idx.strIndexPfad[2], "xyz");
    EXPECT_EQ(idx.IndexDaten[2].Mp3_ID3v1_Album, "ab");
    EXPECT_EQ(idx.strIndexPfad[3], "");
    EXPECT_EQ(idx.IndexDaten[3].Mp3_ID3v1_Album, "b");
    EXPECT_EQ(idx.IndexDaten[4].Mp3_ID3v1_Album, "c");
    EXPECT_EQ(idx.strIndexPfad[5], "d");
    EXPECT_EQ(idx.intSpaltenLeiste, 1);
}

TEST_F(IndexDateiTest, DateiMitAnderenZeilenenden)
{
    // Edited on a system with LF line ends: no entry may get lost, and a
    // later save must not write an empty index over it.
    schreiben(datei, "#TAG:kv102\n#OPT:SPALTEN_GITTER=1\n#TAG:1/1|ab\n#TAG:1/1|cd\n");
    ASSERT_TRUE(laden(idx));
    EXPECT_EQ(idx.lngIndexAnzahl, 2);
    EXPECT_EQ(idx.intSpaltenGitter, 1);
    schreiben(datei, "#TAG:kv102\r#TAG:1/1|ab\r#TAG:1/1|cd");
    ASSERT_TRUE(laden(idx));
    EXPECT_EQ(idx.lngIndexAnzahl, 2);
    // With any CR LF in the file a lone LF belongs to a value.
    schreiben(datei, "#TAG:kv102\r\n#TAG:1/3|a\nb\nc\r\n");
    ASSERT_TRUE(laden(idx));
    ASSERT_EQ(idx.lngIndexAnzahl, 1);
    EXPECT_EQ(idx.IndexDaten[1].Mp3_ID3v1_Album, "\nb\n");
}

// A large file is read, split into lines and its entries filled by several
// threads at once: each value reads as its bytes say (Windows-1252 0x80-0x9F,
// UTF-8 of several bytes, line ends inside), wherever the pieces of that
// work begin, up to the value that ends the file; zero bytes at its end are
// left off, one inside refuses it. So are as many entries in short lines.
TEST_F(IndexDateiTest, GroßeDateiInStücken)
{
    const std::pair<QByteArray, QString> werte[] = {
        {"\x80\x8A\x9F Caf\xE9", QString::fromUtf8("€ŠŸ Café")},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80", QString::fromUtf8("日本😀")},
        {"eins\r\nzwei\n#TAG:1/1|ab\rdrei", "eins\r\nzwei\n#TAG:1/1|ab\rdrei"},
    };
    const int anzahl = 30000;
    const auto pfad = [&](int i) { return "/m/" + QByteArray::number(i) + werte[i % 3].first + ".mp3"; };
    const auto album = [&](int i) { return werte[i / 2 % 3].first; };
    const auto titel = [&](int i) { return werte[(i + 1) % 3].first + QByteArray(300, '-') + QByteArray::number(i); };
    const auto datei_ = [&](const QByteArray& ende) {
        QByteArray t = "#TAG:kv102" + ende + "#OPT:KODIERUNG=UTF-8" + ende;
        for (int i = 1; i <= anzahl; ++i)
            t += "#TAG:" + QByteArray::number(pfad(i).size()) + "/" + QByteArray::number(album(i).size()) + "////"
                 + QByteArray::number(titel(i).size()) + "|" + pfad(i) + album(i) + titel(i) + (i < anzahl ? ende : "");
        return t;
    };
    const QByteArray crlf = datei_("\r\n");
    ASSERT_GT(crlf.size(), 8 << 20);
    const std::tuple<const char*, QByteArray, bool> fälle[] = {
        {"CR LF", crlf, true},
        {"LF", datei_("\n"), true},
        {"CR", datei_("\r"), true},
        {"Nullbytes am Ende", crlf + QByteArray(3, '\0'), true},
        {"Nullbyte mittendrin", crlf.left(crlf.size() / 8 * 7) + '\0' + crlf.mid(crlf.size() / 8 * 7), false},
    };
    for (const auto& [name, inhalt, istIndex] : fälle) {
        SCOPED_TRACE(name);
        schreiben(datei, inhalt);
        meldungen.clear();
        Index neu;
        ASSERT_EQ(laden(neu), istIndex);
        if (!istIndex) {
            ASSERT_EQ(meldungen.size(), 1);
            EXPECT_TRUE(meldungen[0].contains("ist keine Indexdatei")) << meldungen[0].toStdString();
            continue;
        }
        EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join("|").toStdString();
        ASSERT_EQ(neu.lngIndexAnzahl, anzahl);
        for (int i = 1; i <= anzahl; ++i) {
            const MedienInfo& m = neu.IndexDaten[size_t(i)];
            ASSERT_EQ(neu.strIndexPfad[size_t(i)], "/m/" + QString::number(i) + werte[i % 3].second + ".mp3") << i;
            ASSERT_EQ(m.Mp3_ID3v1_Album, werte[i / 2 % 3].second) << i;
            ASSERT_EQ(m.Mp3_ID3v1_Titel, werte[(i + 1) % 3].second + QString(300, '-') + QString::number(i)) << i;
            ASSERT_EQ(std::tuple(m.Mp3_ID3v1_Vorhanden, m.Mp3_ID3v2_Vorhanden, neu.intSuchErgebnis[size_t(i)]),
                      std::tuple(quint8(1), quint8(2), qint16(1)))
                << i;
        }
    }

    // As many entries in lines shorter than a path usually is.
    QByteArray kurz = "#TAG:kv102\r\n";
    for (int i = 0; i < anzahl; ++i)
        kurz += "#TAG:1/1|" + QByteArray(1, char('a' + i % 26)) + "\xE4\r\n";
    schreiben(datei, kurz);
    Index neu;
    ASSERT_TRUE(laden(neu));
    ASSERT_EQ(neu.lngIndexAnzahl, anzahl);
    for (int i = 1; i <= anzahl; ++i)
        ASSERT_EQ(std::pair(neu.strIndexPfad[size_t(i)], neu.IndexDaten[size_t(i)].Mp3_ID3v1_Album),
                  std::pair(QString(QChar(u'a' + (i - 1) % 26)), QString::fromUtf8("ä")))
            << i;
}

TEST_F(IndexDateiTest, AlteVersionenBekommenDieStandardTypen)
{
    for (const char* kopf : {"#TAG:kv100", "#TAG:kv101"}) {
        schreiben(datei, QByteArray(kopf) + "\r\n#TAG:1/1|ab\r\n");
        Index i;
        ASSERT_TRUE(laden(i)) << kopf;
        EXPECT_EQ(i.lngIndexAnzahl, 1);
        EXPECT_EQ(i.intDateiTypenLeer, 0);
        EXPECT_EQ(i.strDateiTypen, standardwerte().strStandardDateiTypen);
        EXPECT_EQ(i.strDateiTypArten, standardwerte().strStandardDateiTypArten);
        EXPECT_TRUE(i.bolIndexGeändert);
    }
    // Version 102 without type lines keeps "no types".
    schreiben(datei, "#TAG:kv102\r\n#TAG:1/1|ab\r\n");
    Index i;
    ASSERT_TRUE(laden(i));
    EXPECT_EQ(i.intDateiTypenLeer, 1);
    EXPECT_FALSE(i.bolIndexGeändert);
}

TEST_F(IndexDateiTest, NeuereVersionMitHinweis)
{
    schreiben(datei, "#TAG:kv103\r\n#TAG:1/1|ab\r\n");
    ASSERT_TRUE(laden(idx));
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].contains("neueren Datei-Format ('103')")) << meldungen[0].toStdString();
    EXPECT_EQ(idx.lngIndexAnzahl, 1);
    EXPECT_EQ(idx.intDateiTypenLeer, 1) << "loads as version 102";

    meldungen.clear();
    schreiben(datei, "#TAG:kv99\r\n");
    ASSERT_TRUE(laden(idx));
    EXPECT_TRUE(meldungen.isEmpty()) << "99 is older than 102";
}

TEST_F(IndexDateiTest, AltesFormatNachFrage)
{
    // An entry line among the paths is read as the entry it is.
    schreiben(datei, "/musik/eins.mp3\r\n\r\n/musik/zwei.mp3\n#TAG:1/1|ab\r/musik/drei.mp3\r\n#TAG:kv102");
    antworten = {Antwort::Ja};
    einstellungen().Mp3TagLesen = "000";
    ASSERT_TRUE(laden(idx));
    ASSERT_EQ(idx.lngIndexAnzahl, 4);
    EXPECT_EQ(idx.strIndexPfad[1], "/musik/eins.mp3");
    EXPECT_EQ(idx.strIndexPfad[3], "a");
    EXPECT_EQ(idx.IndexDaten[3].Mp3_ID3v1_Album, "b");
    EXPECT_EQ(idx.strIndexPfad[4], "/musik/drei.mp3");
    EXPECT_EQ(idx.IndexDaten[2].Mp3_ID3v1_Vorhanden, 0);
    EXPECT_EQ(idx.IndexDaten[2].Datei_Größe, 0);
    EXPECT_EQ(idx.intSuchErgebnis[2], 1);
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(idx.intDateiTypenLeer, 0);

    // Declined: nothing is loaded, and nothing may be saved over the file.
    const QByteArray vorher = lesen(datei);
    antworten = {Antwort::Nein};
    EXPECT_FALSE(laden(idx));
    EXPECT_FALSE(idx.bolIndexGeladen);
    EXPECT_EQ(idx.lngIndexAnzahl, 0);
    EXPECT_FALSE(idx.bolIndexGeändert);
    idx.bolIndexGeändert = true;
    EXPECT_FALSE(DateiSpeichern(idx, datei, true));
    EXPECT_EQ(lesen(datei), vorher);
    EXPECT_FALSE(QFileInfo::exists(datei + "~"));

    // Accepted, it is not saved over while the index holds none of the
    // entries read from it, whatever their paths became: an entry added
    // under the path of one of them is not one of them.
    const QByteArray alt = "\r\n#TAG:kv102\r\n#TAG:2/1|/ab\r\n/musik/alt.mp3\r\n/musik/noch.mp3\r\n";
    schreiben(datei, alt);
    antworten = {Antwort::Ja};
    ASSERT_TRUE(laden(idx));
    ASSERT_EQ(idx.lngIndexAnzahl, 3);
    const QString erster = idx.strIndexPfad[1];
    idx.EintragAnhängen("/musik/fremd.mp3", LeereMedienInfo());
    idx.EinträgeEntfernen({1, 2});
    idx.strIndexPfad[1] = "/musik/umbenannt.mp3"; // entry 3 of the file, renamed
    meldungen.clear();
    EXPECT_TRUE(DateiSpeichern(idx, ordner.filePath("anders.kvx"), false));
    EXPECT_EQ(lesen(datei), alt);
    idx.EinträgeEntfernen({1});
    idx.EintragAnhängen(erster, LeereMedienInfo());
    idx.bolIndexGeändert = true;
    EXPECT_FALSE(DateiSpeichern(idx, datei, false));
    EXPECT_EQ(lesen(datei), alt);
    EXPECT_EQ(meldungen, QStringList("Die Indexdatei '" + datei
                                     + "' wurde nicht gespeichert: Sie wurde aus einem älteren oder ungültigen "
                                       "Dateiformat geladen, und der Index enthält keinen ihrer Einträge mehr.\n"
                                       "Speichern Sie den Index bei Bedarf unter einem anderen Dateinamen."));
    EXPECT_TRUE(idx.bolIndexGeändert);
    // Under another name it is saved.
    EXPECT_TRUE(DateiSpeichern(idx, ordner.filePath("anders.kvx"), false));

    // Saved over while one is left; afterwards the file is a current index.
    schreiben(datei, alt);
    antworten = {Antwort::Ja};
    ASSERT_TRUE(laden(idx));
    idx.strIndexPfad[2] = "/musik/verschoben/alt.mp3";
    idx.EinträgeEntfernen({1, 3});
    EXPECT_TRUE(DateiSpeichern(idx, datei, false));
    EXPECT_TRUE(lesen(datei).contains("|/musik/verschoben/alt.mp3"));
    idx.EinträgeEntfernen({1});
    idx.EintragAnhängen("/musik/fremd.mp3", LeereMedienInfo());
    EXPECT_TRUE(DateiSpeichern(idx, datei, false)) << "the file is a current index now";
}

TEST_F(IndexDateiTest, FehlendeDateiWirdAngelegt)
{
    // A new file that cannot be written whole (the disk is full) goes again:
    // the next start finds no empty file to ask about.
    rlimit alt{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &alt), 0);
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    for (const rlim_t grenze : {rlim_t(0), rlim_t(5)}) {
        rlimit voll = alt;
        voll.rlim_cur = grenze;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &voll), 0);
        meldungen.clear();
        const bool geladen = laden(idx);
        ::setrlimit(RLIMIT_FSIZE, &alt);
        EXPECT_FALSE(geladen) << grenze;
        EXPECT_FALSE(QFileInfo::exists(datei)) << grenze;
        EXPECT_EQ(meldungen, QStringList("Die Indexdatei '" + datei
                                         + "' konnte nicht erstellt werden.\nDie Datei ist zu groß (Fehler 27)"));
    }
    std::signal(SIGXFSZ, signal);
    meldungen.clear();
    ASSERT_TRUE(laden(idx));
    EXPECT_EQ(lesen(datei), "#TAG:kv100\r\n");
    EXPECT_EQ(idx.lngIndexAnzahl, 0);
    EXPECT_TRUE(idx.bolIndexGeladen);
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(idx.strDateiTypen, standardwerte().strStandardDateiTypen);

    // A name that cannot become a file: told, and no index loaded.
    Index i;
    EXPECT_FALSE(DateiLaden(i, ordner.filePath("fehlt/x.kvx")));
    EXPECT_FALSE(i.bolIndexGeladen);
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].contains("konnte nicht erstellt werden"));

    // No name at all never touches a "~" of the working folder.
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(ordner.path());
    schreiben("~", "fremd");
    EXPECT_FALSE(DateiLaden(i, QString()));
    idx.bolIndexGeladen = true;
    EXPECT_FALSE(DateiSpeichern(idx, QString(), false));
    EXPECT_EQ(lesen("~"), "fremd");
    QDir::setCurrent(vorher);
    EXPECT_EQ(meldungen.size(), 3);
}

TEST_F(IndexDateiTest, SperreNeinLässtAllesStehen)
{
    schreiben(datei, "#TAG:kv102\r\n#TAG:1/1|ab\r\n");
    schreiben(datei + "~", "#TAG:kv102\r\n#TAG:1/1|cd\r\n");
    antworten = {Antwort::Nein};
    EXPECT_FALSE(laden(idx));
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].startsWith("Kalvero wurde entweder nicht korrekt beendet"));
    EXPECT_FALSE(idx.bolIndexGeladen);
    EXPECT_TRUE(QFileInfo::exists(datei + "~"));
    EXPECT_FALSE(DateiSpeichern(idx, datei, false));
    EXPECT_EQ(lesen(datei), "#TAG:kv102\r\n#TAG:1/1|ab\r\n");
}

TEST_F(IndexDateiTest, SperreJaLöschtDieUnfertigeKopie)
{
    schreiben(datei, "#TAG:kv102\r\n#TAG:1/1|ab\r\n");
    schreiben(datei + "~", "#TAG:kv102\r\n#TA");
    antworten = {Antwort::Ja};
    ASSERT_TRUE(laden(idx));
    EXPECT_FALSE(QFileInfo::exists(datei + "~"));
    EXPECT_EQ(idx.strIndexPfad[1], "a");
}

TEST_F(IndexDateiTest, SperreJaOhneIndexdateiNimmtDieKopie)
{
    schreiben(datei + "~", "#TAG:kv102\r\n#TAG:1/1|cd\r\n");
    antworten = {Antwort::Ja};
    ASSERT_TRUE(laden(idx));
    EXPECT_EQ(idx.lngIndexAnzahl, 1);
    EXPECT_EQ(idx.strIndexPfad[1], "c");
    EXPECT_EQ(lesen(datei), "#TAG:kv102\r\n#TAG:1/1|cd\r\n") << "the only copy became the index file";
    EXPECT_FALSE(QFileInfo::exists(datei + "~"));
}

TEST_F(IndexDateiTest, SperreEndetWennDieKopieVerschwindet)
{
    schreiben(datei, "#TAG:kv102\r\n#TAG:1/1|ab\r\n");
    schreiben(datei + "~", "x");
    IndexDateiSperreWartezeitSetzen(60'000);
    DienstSetzen<FortschrittAnzeigeDienst>(&anzeige);
    int runden = 0;
    anzeige.beiEreignis = [&] {
        if (++runden == 3)
            QFile::remove(datei + "~"); // the other save finished
    };
    ASSERT_TRUE(laden(idx));
    EXPECT_TRUE(meldungen.isEmpty());
    EXPECT_EQ(idx.lngIndexAnzahl, 1);
}

TEST_F(IndexDateiTest, AbbruchBeimSpeichernLässtDieAlteDatei)
{
    füllen(300);
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    const QByteArray alt = lesen(datei);
    idx.IndexDaten[1].Mp3_ID3v1_Titel = "geändert";
    idx.bolIndexGeändert = true;
    const QDateTime gespeichert = idx.datLetzteSpeicherung;

    DienstSetzen<FortschrittAnzeigeDienst>(&anzeige);
    anzeige.beiEreignis = [] { FortschrittAbbrechen(); };
    EXPECT_FALSE(DateiSpeichern(idx, datei, true));
    EXPECT_TRUE(meldungen.isEmpty()) << "a cancel is not reported";
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(idx.datLetzteSpeicherung, gespeichert);
    EXPECT_EQ(lesen(datei), alt);
    EXPECT_FALSE(QFileInfo::exists(datei + "~"));
    EXPECT_FALSE(FortschrittLäuft());
}

// A "~" that is already there (a killed run's leftover, the user's own file,
// a link, a folder) stays as it is: the copy takes a free name beside it.
TEST_F(IndexDateiTest, BelegterTempNameBleibtStehen)
{
    füllen(3);
    const QString fremd = ordner.filePath("fremd.txt"), temp = datei + "~";
    schreiben(fremd, "fremd");
    for (int art = 0; art < 4; ++art) { // a file, a read-only file, a link, a folder
        SCOPED_TRACE(art);
        if (art < 2)
            schreiben(temp, "alt");
        ASSERT_TRUE(art != 1 || QFile::setPermissions(temp, QFileDevice::ReadOwner));
        ASSERT_TRUE(art != 2 || QFile::link(fremd, temp));
        ASSERT_TRUE(art != 3 || QDir().mkdir(temp));
        const QFileInfo vorher(temp);
        const QByteArray inhalt = lesen(temp);
        ASSERT_TRUE(DateiSpeichern(idx, datei, false));
        EXPECT_TRUE(meldungen.isEmpty());
        EXPECT_TRUE(lesen(datei).startsWith("#TAG:kv102\r\n"));
        EXPECT_EQ(std::pair(QFileInfo(temp).isSymLink(), QFileInfo(temp).isDir()), std::pair(vorher.isSymLink(), vorher.isDir()));
        EXPECT_EQ(lesen(temp), inhalt);
        EXPECT_EQ(lesen(fremd), "fremd");
        EXPECT_EQ(QDir(ordner.path()).entryList({"Test.kvx~*"}, QDir::AllEntries | QDir::System), QStringList{"Test.kvx~"});
        QFile::setPermissions(temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!QFile::remove(temp))
            QDir().rmdir(temp);
    }

    // Only when no free name is left does the save fail; nothing is removed.
    for (int k = 0; k < 100; ++k)
        schreiben(temp + (k ? QString::number(k) : QString()), "belegt");
    idx.bolIndexGeändert = true;
    const QByteArray gespeichert = lesen(datei);
    EXPECT_FALSE(DateiSpeichern(idx, datei, false));
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_EQ(meldungen[0], "Die Indexdatei '" + datei + "' konnte nicht gespeichert werden, da die temporäre Datei '"
                                + datei + "~' nicht überschrieben werden konnte.");
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(lesen(datei), gespeichert);
    EXPECT_EQ(QDir(ordner.path()).entryList({"Test.kvx~*"}, QDir::Files).size(), 100);
    EXPECT_EQ(lesen(temp + "99"), "belegt");
}

TEST_F(IndexDateiTest, FehlschlagBeiJedemSchreibvorgangLässtAltOderNeuGanz)
{
    // Large enough for several writes.
    füllen(30000);
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    const QByteArray alt = lesen(datei);
    ASSERT_GT(alt.size(), 3 << 20);
    idx.IndexDaten[30000].Mp3_ID3v1_Titel = "neu";
    idx.bolIndexGeändert = true;

    int fehlschläge = 0;
    for (int n = 1;; ++n) {
        meldungen.clear();
        SichereDatei::FehlerBeiSchreibvorgang(n);
        const bool ok = DateiSpeichern(idx, datei, false);
        SichereDatei::FehlerBeiSchreibvorgang(0);
        EXPECT_FALSE(QFileInfo::exists(datei + "~")) << n;
        if (ok)
            break;
        ++fehlschläge;
        ASSERT_LT(n, 100);
        EXPECT_EQ(lesen(datei), alt) << "write " << n;
        EXPECT_TRUE(idx.bolIndexGeändert);
        ASSERT_EQ(meldungen.size(), 1);
        EXPECT_TRUE(meldungen[0].startsWith("Es ist ein Fehler beim Speichern der Indexdatei aufgetreten.\n"));
        EXPECT_TRUE(meldungen[0].endsWith("(Fehler 5)")) << meldungen[0].toStdString();
    }
    EXPECT_GE(fehlschläge, 3);
    EXPECT_FALSE(idx.bolIndexGeändert);
    Index neu;
    ASSERT_TRUE(laden(neu));
    EXPECT_EQ(neu.IndexDaten[30000].Mp3_ID3v1_Titel, "neu");
}

TEST_F(IndexDateiTest, UmbenennenScheitertAlteDateiBleibt)
{
    füllen(5);
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    const QByteArray alt = lesen(datei);
    idx.bolIndexGeändert = true;
    idx.strIndexPfad[1] = "/anders.mp3";
    SichereDatei::FehlerBeimUmbenennen(true);
    EXPECT_FALSE(DateiSpeichern(idx, datei, false));
    EXPECT_EQ(lesen(datei), alt);
    EXPECT_TRUE(idx.bolIndexGeändert);
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_EQ(meldungen[0], "Die Datei '" + datei
                                + "' konnte nicht gespeichert werden, da die bestehende Datei nicht überschrieben werden konnte.");
}

TEST_F(IndexDateiTest, UnvollständigeEinträgeWerdenNachgelesen)
{
    const QString da = ordner.filePath("da.mp3");
    schreiben(da, QByteArray(1234, 'x'));
    const QByteArray pfad = da.toUtf8();
    const QByteArray fehlt = ordner.filePath("fehlt.mp3").toUtf8();
    // Entry 1: no date added, entry 2: complete, entry 3: missing file.
    schreiben(datei, "#TAG:kv102\r\n"
                     "#TAG:" + QByteArray::number(pfad.size()) + "////////2|" + pfad + "-1\r\n"
                     "#TAG:" + QByteArray::number(pfad.size()) + "////////1///////10|" + pfad + "501.02.2003\r\n"
                     "#TAG:" + QByteArray::number(fehlt.size()) + "////////2|" + fehlt + "-1\r\n");
    ASSERT_TRUE(laden(idx));
    ASSERT_EQ(idx.lngIndexAnzahl, 3);
    EXPECT_FALSE(idx.IndexDaten[1].Datei_HinzugefügtAm.isEmpty());
    EXPECT_EQ(idx.IndexDaten[1].Datei_Größe, 1234);
    EXPECT_EQ(idx.IndexDaten[2].Datei_Größe, 5) << "complete entries stay as stored";
    EXPECT_EQ(idx.IndexDaten[3].Datei_Größe, -1) << "a missing file keeps its record";
    EXPECT_TRUE(idx.IndexDaten[3].Datei_HinzugefügtAm.isEmpty());
    EXPECT_TRUE(idx.bolIndexGeändert);

    // With nothing to read, nothing is read.
    einstellungen().Mp3TagLesen = "000";
    Index i;
    ASSERT_TRUE(laden(i));
    EXPECT_TRUE(i.IndexDaten[1].Datei_HinzugefügtAm.isEmpty());
    EXPECT_FALSE(i.bolIndexGeändert);
}

// A current index whose first line got damaged is asked about as the old
// format is, and then read whole: every entry and option stays, and saving
// writes them all back. So is a current file whose lines end in any mix of
// CR LF, LF and CR, or whose values another program wrote in Windows-1252
// (without asking). A file that is no text is no index file: refused with a
// message, never asked about, never saved over.
TEST_F(IndexDateiTest, BeschädigteKöpfeUndFremdeDateien)
{
    füllen(30);
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    const QByteArray gut = lesen(datei);
    for (size_t i = 1; i <= 30; ++i)
        idx.IndexDaten[i].Mp3_ID3v1_Vorhanden = 1; // as read back
    const QByteArray mp3 = Mp3Bauer::Id3v2Tag{.frames = {Mp3Bauer::TextFrame("TIT2", QStringLiteral("Titel"))}}.Bytes()
                           + Mp3Bauer::Frames(Mp3Bauer::Frame(), 20);
    // The file's lines (a value holds an LF), each with the end `ende` gives it
    // ("" drops it); with `alt` entries 6 to 30 as the old program writes them.
    QByteArrayList zeilen;
    for (qsizetype a = 0, e; (e = gut.indexOf("\r\n", a)) >= 0; a = e + 2)
        zeilen << gut.sliced(a, e - a);
    const qsizetype eintrag1 = zeilen.size() - 30, gitter = zeilen.indexOf("#OPT:SPALTEN_GITTER=1"),
                    kennung = zeilen.indexOf("#OPT:KODIERUNG=UTF-8");
    const auto text = [&](const std::function<QByteArray(qsizetype)>& ende, bool alt = false) {
        QByteArray t;
        for (qsizetype i = 0; i < zeilen.size(); ++i)
            if (const QByteArray e = ende(i); !e.isEmpty())
                t += (alt && i >= eintrag1 + 5 ? wieDasAlteProgramm(zeilen[i]) : zeilen[i]) + e;
        return t;
    };
    const auto nur = [](qsizetype stelle, const char* hier, const char* sonst = "\r\n") {
        return [=](qsizetype i) { return QByteArray(i == stelle ? hier : sonst); };
    };
    enum Art { Gefragt, Gelesen, KeinIndex };
    const std::tuple<const char*, QByteArray, Art> fälle[] = {
        {"Leerzeile", "\r\n" + gut, Gefragt},
        {"Leerzeichen vor dem Kopf", " " + gut, Gefragt},
        {"zweites BOM", "\xEF\xBB\xBF\xEF\xBB\xBF" + gut, Gefragt},
        {"Nullbytes am Anfang", QByteArray(4096, '\0') + gut, Gefragt},
        {"Zeilen mit LF", "\n" + QByteArray(gut).replace("\r\n", "\n"), Gefragt},
        {"nur LF", QByteArray(gut).replace("\r\n", "\n"), Gelesen},
        {"nur CR", QByteArray(gut).replace("\r\n", "\r"), Gelesen},
        {"die letzten 5 Zeilen mit LF", text([&](qsizetype i) { return QByteArray(i >= zeilen.size() - 5 ? "\n" : "\r\n"); }), Gelesen},
        {"eine Zeile mit CR LF unter LF", text(nur(eintrag1 + 14, "\r\n", "\n")), Gelesen},
        {"eine Zeile mit CR", text(nur(eintrag1 + 3, "\r")), Gelesen},
        {"Optionszeile mit LF", text(nur(gitter, "\n")), Gelesen},
        {"Kennung mit LF", text(nur(kennung, "\n")), Gelesen},
        // The old program keeps our entries' bytes and drops the marker it does not know.
        {"ohne Kennung, Einträge des alten Programms", text(nur(kennung, ""), true), Gelesen},
        {"Kennung mit LF, Einträge des alten Programms", text(nur(kennung, "\n"), true), Gelesen},
        {"MP3", mp3, KeinIndex},
        {"Nullbytes mittendrin", gut.left(200) + QByteArray(8, '\0') + gut.mid(200), KeinIndex},
        {"nur Nullbytes", QByteArray(4096, '\0'), KeinIndex},
    };
    for (const auto& [name, inhalt, art] : fälle) {
        SCOPED_TRACE(name);
        schreiben(datei, inhalt);
        meldungen.clear();
        if (art == Gefragt)
            antworten = {Antwort::Ja};
        Index neu;
        const bool istIndex = art != KeinIndex;
        ASSERT_EQ(laden(neu), istIndex);
        ASSERT_EQ(meldungen.size(), art == Gelesen ? 0 : 1) << meldungen.join("|").toStdString();
        if (!istIndex) {
            EXPECT_EQ(meldungen[0], "Die Datei '" + datei
                                        + "' ist keine Indexdatei: Sie enthält keinen Text (Nullbytes) und wird daher "
                                          "nicht geladen.");
            neu.bolIndexGeändert = true;
            EXPECT_FALSE(DateiSpeichern(neu, datei, false));
            EXPECT_EQ(lesen(datei), inhalt);
            continue;
        }
        if (art == Gefragt)
            EXPECT_TRUE(meldungen[0].contains("älteren Dateiformat vor oder ist ungültig"));
        ASSERT_EQ(neu.lngIndexAnzahl, 30);
        for (size_t i = 1; i <= 30; ++i) {
            EXPECT_EQ(neu.strIndexPfad[i], idx.strIndexPfad[i]);
            EXPECT_EQ(neu.IndexDaten[i], idx.IndexDaten[i]) << i;
        }
        EXPECT_EQ(std::tuple(neu.strSyncOrdner, neu.strDateiTypen, neu.strSpalten, neu.intSpaltenGitter),
                  std::tuple(idx.strSyncOrdner, idx.strDateiTypen, idx.strSpalten, 1));
        EXPECT_EQ(neu.bolIndexGeändert, art == Gefragt);
        neu.bolIndexGeändert = true;
        ASSERT_TRUE(DateiSpeichern(neu, datei, false));
        EXPECT_EQ(lesen(datei), gut) << "saved whole, and in the current format";
    }
}

// A file another program still writes (a backup being copied in) is not
// loaded half: the user is told why and tries again once it is whole.
TEST_F(IndexDateiTest, DateiDieEinAnderesProgrammSchreibtWirdNichtHalbGeladen)
{
    füllen(1000);
    const QString ganz = ordner.filePath("ganz.kvx"), anfang = ordner.filePath("anfang"), rest = ordner.filePath("rest");
    ASSERT_TRUE(DateiSpeichern(idx, ganz, false));
    const QByteArray bytes = lesen(ganz);
    schreiben(anfang, bytes.left(bytes.size() / 2));
    schreiben(rest, bytes.mid(bytes.size() / 2));
    // The copy writes half, says so, and goes on when told to.
    QProcess kopie;
    kopie.start("/bin/sh", {"-c", "exec 3>>\"$1\"; cat \"$2\" >&3; echo halb; read weiter; cat \"$3\" >&3", "sh", datei, anfang, rest});
    ASSERT_TRUE(kopie.waitForReadyRead(10000));
    ASSERT_EQ(QFileInfo(datei).size(), bytes.size() / 2);
    QList<Meldung> gezeigt;
    Antwort antwort = Antwort::Ja;
    DienstErsetzen<MeldungsDienst> fragen([&](const Meldung& m) {
        gezeigt << m;
        if (gezeigt.size() == 2) { // the copy ends before the second try
            kopie.write("weiter\n");
            kopie.closeWriteChannel();
            EXPECT_TRUE(kopie.waitForFinished());
        }
        return antwort;
    });
    Index neu;
    ASSERT_TRUE(DateiLaden(neu, datei));
    ASSERT_EQ(gezeigt.size(), 2) << "asked again while the copy still wrote";
    for (const Meldung& m : gezeigt)
        EXPECT_EQ(std::tuple(m.text, m.knöpfe, m.symbol),
                  std::tuple("Die Indexdatei '" + datei + "' wird gerade von einem anderen Programm geschrieben und kann daher "
                                 "nicht geladen werden.\nWarten Sie, bis das andere Programm damit fertig ist.\n\n"
                                 "Möchten Sie den Ladevorgang erneut versuchen?",
                             Knöpfe::JaNein, Symbol::Ausruf));
    EXPECT_EQ(neu.lngIndexAnzahl, 1000);

    // "Nein": nothing is loaded, and nothing is saved over it.
    gezeigt.clear();
    antwort = Antwort::Nein;
    FremderProzess schreiber(datei, FremderProzess::Art::Anhängen);
    ASSERT_TRUE(schreiber.Offen());
    EXPECT_FALSE(DateiLaden(neu, datei));
    EXPECT_EQ(gezeigt.size(), 1);
    EXPECT_FALSE(neu.bolIndexGeladen);
    EXPECT_EQ(neu.lngIndexAnzahl, 0);
    neu.bolIndexGeändert = true;
    EXPECT_FALSE(DateiSpeichern(neu, datei, false));
    EXPECT_EQ(lesen(datei), bytes);
}

// A save replaces the index file only while it is the file this index loaded
// or last saved; else only when the user says so, "Nein" being the default.
TEST_F(IndexDateiTest, SpeichernErsetztKeineNeuereDateiOhneFrage)
{
    const char* anhängen = "printf '#TAG:1/1|xy\\r\\n' >> \"$1\"";
    // Another program's change, and whether it comes while the copy is written.
    const std::tuple<const char*, const char*, bool> fälle[] = {
        {"angehängt", anhängen, false},
        {"ersetzt", "cp \"$1\" \"$1.neu\" && printf Q | dd of=\"$1.neu\" bs=1 seek=40 conv=notrunc 2>/dev/null && mv \"$1.neu\" \"$1\"", false},
        {"überschrieben", "printf Q | dd of=\"$1\" bs=1 seek=40 conv=notrunc 2>/dev/null", false},
        {"angehängt während des Schreibens", anhängen, true},
    };
    const auto anderesProgramm = [&](const char* befehl) {
        ASSERT_EQ(QProcess::execute("/bin/sh", {"-c", befehl, "sh", datei}), 0) << befehl;
    };
    for (const auto& [name, befehl, währendDesSchreibens] : fälle)
        for (const Antwort antwort : {Antwort::Nein, Antwort::Ja}) {
            SCOPED_TRACE(std::string(name) + (antwort == Antwort::Ja ? ", Ja" : ", Nein"));
            füllen(30);
            ASSERT_TRUE(DateiSpeichern(idx, datei, false));
            Index geladen;
            ASSERT_TRUE(laden(geladen));
            geladen.IndexDaten[1].Mp3_ID3v1_Titel = "geändert";
            geladen.bolIndexGeändert = true;
            bool einmal = false;
            SichereDatei::TestHaken([&, befehl = befehl, während = währendDesSchreibens](SichereDatei::Schritt s) {
                if (während && s == SichereDatei::Schritt::VorDemAbschluss && !std::exchange(einmal, true))
                    anderesProgramm(befehl);
            });
            if (!währendDesSchreibens)
                anderesProgramm(befehl);
            QList<Meldung> gezeigt;
            QByteArray beimFragen;
            DienstErsetzen<MeldungsDienst> fragen([&](const Meldung& m) {
                gezeigt << m;
                beimFragen = lesen(datei);
                return antwort;
            });
            EXPECT_EQ(DateiSpeichern(geladen, datei, false), antwort == Antwort::Ja);
            SichereDatei::TestHaken({});
            ASSERT_EQ(gezeigt.size(), 1);
            EXPECT_EQ(std::tuple(gezeigt[0].text, gezeigt[0].knöpfe, gezeigt[0].symbol, gezeigt[0].standard),
                      std::tuple("Die Indexdatei '" + datei + "' wurde seit dem Laden oder letzten Speichern von einem anderen "
                                     "Programm geändert.\nBeim Speichern gehen diese Änderungen verloren.\n\n"
                                     "Möchten Sie die neuere Datei trotzdem ersetzen?",
                                 Knöpfe::JaNein, Symbol::Ausruf, std::optional(Antwort::Nein)));
            EXPECT_FALSE(QFileInfo::exists(datei + "~"));
            if (antwort == Antwort::Nein) {
                EXPECT_EQ(lesen(datei), beimFragen) << "nothing is written";
                EXPECT_TRUE(geladen.bolIndexGeändert);
                continue;
            }
            Index zurück;
            ASSERT_TRUE(laden(zurück));
            EXPECT_EQ(std::tuple(zurück.lngIndexAnzahl, zurück.IndexDaten[1].Mp3_ID3v1_Titel), std::tuple(30, QString("geändert")));
            // From now on the file is the one this index saved.
            gezeigt.clear();
            geladen.bolIndexGeändert = true;
            EXPECT_TRUE(DateiSpeichern(geladen, datei, false));
            EXPECT_TRUE(gezeigt.isEmpty());
        }

    // A program that holds the file open for writing keeps it: the save fails and says why.
    füllen(3);
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    const QByteArray vorher = lesen(datei);
    FremderProzess schreiber(datei, FremderProzess::Art::Schreiben);
    ASSERT_TRUE(schreiber.Offen());
    meldungen.clear();
    idx.bolIndexGeändert = true;
    EXPECT_FALSE(DateiSpeichern(idx, datei, false));
    EXPECT_EQ(meldungen, QStringList("Es ist ein Fehler beim Speichern der Indexdatei aufgetreten.\n"
                                     "Die Datei wird gerade von einem anderen Programm geschrieben. (Fehler 11)"));
    EXPECT_EQ(lesen(datei), vorher);
    EXPECT_TRUE(idx.bolIndexGeändert);
}

// FAT and exFAT through FUSE give the unchanged index file another inode
// number once the kernel forgot it: a save asks nothing then, after a load
// as after a save, also where its rename gave it a later time. A file
// replaced meanwhile, or edited in place, with the same size and time still
// is a change and asked about. A large index is
// written in several pieces and read back in several reads; the other
// program's byte lies near its end. The normal temp folder is the control.
TEST_F(IndexDateiTest, NeueInodeNummerAlleinIstKeineÄnderung)
{
    if (!testhilfe::FuseAbbild::InodesVergessen())
        GTEST_SKIP() << "cannot write /proc/sys/vm/drop_caches (needs root)";
    using testhilfe::FuseAbbild;
    const auto inode = [](const QString& pfad) {
        struct stat st {};
        ::stat(QFile::encodeName(pfad).constData(), &st);
        return st.st_ino;
    };
    // Sets the file's time back to `st`'s, as a program that keeps it does.
    const auto zeitZurück = [](const QString& pfad, const struct stat& st) {
        const timespec zeiten[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(pfad).constData(), zeiten, 0), 0);
    };
    enum class Tat { Vergessen, Ersetzen, Überschreiben };
    const auto anderesProgramm = [&](const QString& pfad, Tat tat, bool fuse) {
        struct stat vorher {};
        ASSERT_EQ(::stat(QFile::encodeName(pfad).constData(), &vorher), 0);
        QByteArray inhalt = lesen(pfad);
        inhalt[inhalt.size() - 3] = inhalt[inhalt.size() - 3] == 'x' ? 'y' : 'x';
        if (tat == Tat::Ersetzen) {
            schreiben(pfad + ".neu", inhalt);
            zeitZurück(pfad + ".neu", vorher);
            ASSERT_EQ(::rename(QFile::encodeName(pfad + ".neu").constData(), QFile::encodeName(pfad).constData()), 0);
        } else if (tat == Tat::Überschreiben) {
            const int fd = ::open(QFile::encodeName(pfad).constData(), O_WRONLY);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::pwrite(fd, inhalt.constData() + inhalt.size() - 3, 1, inhalt.size() - 3), 1);
            ::close(fd);
            zeitZurück(pfad, vorher);
        }
        // The kernel may keep a node a while: asked again until it let go
        // (where the number stays, as on the control, nothing changes).
        for (int i = 0; i < 20; ++i) {
            ASSERT_TRUE(FuseAbbild::InodesVergessen());
            if (!fuse || inode(pfad) != vorher.st_ino)
                break;
            ::usleep(50 * 1000);
        }
    };
    struct Ort {
        const char* name;
        std::optional<FuseAbbild::Art> art;
    };
    int geprüft = 0;
    for (const Ort& ort : {Ort{"temp", std::nullopt}, Ort{"FAT", FuseAbbild::Art::Fat}, Ort{"exFAT", FuseAbbild::Art::ExFat}}) {
        SCOPED_TRACE(ort.name);
        std::optional<FuseAbbild> medium;
        if (ort.art) {
            medium.emplace(*ort.art);
            if (!medium->Bereit()) {
                std::cout << "[ SKIPPED  ] " << ort.name << ": " << medium->Grund().toStdString() << std::endl;
                continue;
            }
        }
        const QString pfad = medium ? medium->Pfad() + "/Index.kvx" : datei;
        for (const int einträge : {30, 12000})
        for (const Tat tat : {Tat::Vergessen, Tat::Ersetzen, Tat::Überschreiben}) {
            // An edit in place that keeps the time is no change where the
            // inode number stays: there nothing but the number is looked at.
            if (!medium && tat == Tat::Überschreiben)
                continue;
            SCOPED_TRACE(testing::Message() << einträge << " entries, " << int(tat));
            füllen(einträge);
            ASSERT_TRUE(DateiSpeichern(idx, pfad, false));
            if (einträge > 30)
                ASSERT_GT(QFileInfo(pfad).size(), 1 << 20) << "more than one piece and one read";
            Index geladen;
            ASSERT_TRUE(DateiLaden(geladen, pfad));
            // Known from the load, then from a save of its own.
            for (int runde = 0; runde < 2; ++runde) {
                const ino_t alt = inode(pfad);
                anderesProgramm(pfad, tat, medium.has_value());
                if (medium && tat == Tat::Vergessen)
                    EXPECT_NE(inode(pfad), alt) << "the file system keeps its numbers: nothing is tested";
                const QByteArray jetzt = lesen(pfad);
                QList<Meldung> gezeigt;
                DienstErsetzen<MeldungsDienst> fragen([&](const Meldung& m) {
                    gezeigt << m;
                    return Antwort::Nein;
                });
                geladen.IndexDaten[1].Mp3_ID3v1_Titel = QStringLiteral("Runde %1").arg(runde);
                geladen.bolIndexGeändert = true;
                // fusefat gives a renamed file the rename's time, in steps of
                // two seconds: the save waits before its rename for the next.
                if (medium && tat == Tat::Vergessen && einträge == 30)
                    SichereDatei::TestHaken([](SichereDatei::Schritt s) {
                        if (s == SichereDatei::Schritt::VorDemAbschluss)
                            QThread::msleep(2100 - QDateTime::currentMSecsSinceEpoch() % 2000);
                    });
                const bool gespeichert = DateiSpeichern(geladen, pfad, false);
                SichereDatei::TestHaken({});
                if (tat == Tat::Vergessen) {
                    EXPECT_TRUE(gespeichert);
                    EXPECT_TRUE(gezeigt.isEmpty()) << gezeigt.value(0).text.toStdString();
                    continue;
                }
                EXPECT_FALSE(gespeichert);
                ASSERT_EQ(gezeigt.size(), 1);
                EXPECT_TRUE(gezeigt[0].text.contains("wurde seit dem Laden oder letzten Speichern von einem anderen Programm geändert"));
                EXPECT_EQ(lesen(pfad), jetzt) << "nothing is written";
                break;
            }
        }
        ++geprüft;
    }
    EXPECT_GE(geprüft, 1);
}
