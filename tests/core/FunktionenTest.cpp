#include "core/Funktionen.h"
#include "core/Kodierung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Funktionen, TextErsetzenIgnoriertGroßschreibungUndErsetztNichtErneut)
{
    EXPECT_EQ(TextErsetzen("Abc abc ABC", "abc", "x"), "x x x");
    // The replacement contains the searched text: one pass, each "a" doubled once.
    EXPECT_EQ(TextErsetzen("banana", "a", "aa"), "baanaanaa");
    EXPECT_EQ(TextErsetzen("text", "", "x"), "text");
    EXPECT_EQ(TextErsetzen(QStringLiteral("Äpfel äpfel"), QStringLiteral("ä"), "ae"), "aepfel aepfel");
    // NUL compares exactly.
    EXPECT_EQ(TextErsetzen(QString("a") + QChar(0) + "b", QString(QChar(0)), ""), "ab");
}

TEST(Funktionen, SteuerzeichenUndNullZeichen)
{
    EXPECT_EQ(SteuerzeichenEntfernen("Titel\n  ", false), "Titel");
    EXPECT_EQ(SteuerzeichenEntfernen("Titel\n  ", true), "Titel\n");
    EXPECT_EQ(SteuerzeichenEntfernen(QString("a") + QChar(0) + QChar(1) + "b\r\n c ", false), "ab c");
    EXPECT_EQ(SteuerzeichenEntfernen("\tTab ", false), "\tTab");
    EXPECT_EQ(NullZeichenAbschneiden(QString("abc") + QChar(0) + "def" + QChar(0)), "abc");
    const QString mitte = QString("abc") + QChar(0) + "def";
    EXPECT_EQ(NullZeichenAbschneiden(mitte), mitte);
}

TEST(Funktionen, TextDatensätzeLesenZähltLeereUndNachgestellteDatensätze)
{
    QStringList d;
    EXPECT_TRUE(TextDatensätzeLesen("a,,b", ',', 1, 3, d));
    EXPECT_EQ(d, (QStringList{"a", "", "b"}));
    EXPECT_TRUE(TextDatensätzeLesen("a,b,", ',', 1, 3, d));
    EXPECT_EQ(d, (QStringList{"a", "b", ""}));
    EXPECT_FALSE(TextDatensätzeLesen("a,b,", ',', 1, 2, d));
    EXPECT_EQ(d.size(), 3); // filled even when the count is wrong
    EXPECT_FALSE(TextDatensätzeLesen("", ',', 1, -1, d));
    EXPECT_EQ(d, QStringList{QString()});
    // Start beyond the end of a text without a trailing separator: no record.
    EXPECT_FALSE(TextDatensätzeLesen("abc", ',', 10, 0, d));
    EXPECT_FALSE(TextDatensätzeLesen("abc", ',', 10, 1, d));
    EXPECT_TRUE(TextDatensätzeLesen("abc", ',', 10, -1, d));
    EXPECT_EQ(d, QStringList{QString()});
    EXPECT_TRUE(TextDatensätzeLesen("x=1=2", '=', 3, 2, d));
    EXPECT_EQ(d, (QStringList{"1", "2"}));
}

TEST(Funktionen, WortanfängeGroßSchreibenMitUmlautenUndBeidenModi)
{
    EXPECT_EQ(WortanfängeGroßSchreiben("hello WORLD. foo-bar", false), "Hello World. Foo-Bar");
    EXPECT_EQ(WortanfängeGroßSchreiben("hello WORLD. foo-bar", true), "Hello world. foo-Bar");
    EXPECT_EQ(WortanfängeGroßSchreiben(QStringLiteral("über äpfel (öl)"), false), QStringLiteral("Über Äpfel (Öl)"));
    // ß stays one character (no "SS").
    EXPECT_EQ(WortanfängeGroßSchreiben(QStringLiteral("straße"), false), QStringLiteral("Straße"));
    EXPECT_EQ(WortanfängeGroßSchreiben("it's_a test", false), "It's_a Test");
    EXPECT_EQ(WortanfängeGroßSchreiben("", false), "");
}

TEST(Funktionen, RundenRundetHalbeNachOben)
{
    EXPECT_DOUBLE_EQ(Runden(2.5, 0), 3.0);   // banker's rounding would give 2
    EXPECT_DOUBLE_EQ(Runden(-2.5, 0), -2.0);
    EXPECT_DOUBLE_EQ(Runden(0.5, 0), 1.0);
    EXPECT_DOUBLE_EQ(Runden(1.25, 1), 1.3);
    EXPECT_DOUBLE_EQ(Runden(3.14159, 2), 3.14);
}

TEST(Funktionen, ZahlenUndSchalter)
{
    EXPECT_EQ(ZahlZurückgeben(""), 0);
    EXPECT_EQ(ZahlZurückgeben("abc"), 0);
    EXPECT_EQ(ZahlZurückgeben("123456789012"), 0);
    EXPECT_EQ(ZahlZurückgeben("42"), 42);
    EXPECT_EQ(ZahlZurückgeben("2.5"), 2); // halves to the even neighbour
    EXPECT_TRUE(IstVielfaches(4, 2));
    EXPECT_FALSE(IstVielfaches(3, 2));
    EXPECT_FALSE(IstVielfaches(3, 0));
    for (const QVariant& v : {QVariant(-1), QVariant(1), QVariant(2), QVariant("1"), QVariant(true)})
        EXPECT_TRUE(cbool2(v)) << v.toString().toStdString();
    for (const QVariant& v : {QVariant(0), QVariant(-2), QVariant(0.5), QVariant("abc"), QVariant()})
        EXPECT_FALSE(cbool2(v)) << v.toString().toStdString();
    EXPECT_EQ(CheckboxWertZurückgeben(-2), 1);
    EXPECT_EQ(CheckboxWertZurückgeben(true), 1);
    EXPECT_EQ(CheckboxWertZurückgeben(0.5), 0);
    EXPECT_EQ(CheckboxWertZurückgeben("x"), 0);
}

TEST(Funktionen, ZeitFormatieren)
{
    EXPECT_EQ(ZeitFormatieren(3725, false), "1:02:05");
    EXPECT_EQ(ZeitFormatieren(3725, true), "1:02:05");
    EXPECT_EQ(ZeitFormatieren(125, false), "0:02:05");
    EXPECT_EQ(ZeitFormatieren(125, true), "02:05");
    EXPECT_EQ(ZeitFormatieren(-5, true), "00:00");
    EXPECT_EQ(ZeitFormatieren(360000, false), "100:00:00");
    EXPECT_EQ(ZeitFormatieren(1.5, false), "");
}

TEST(Funktionen, PfadeOhneUndMitTrenner)
{
    EXPECT_EQ(PfadZurückgeben("a.mp3"), "");
    EXPECT_EQ(PfadZurückgeben("/musik/a.mp3"), "/musik");
    EXPECT_EQ(PfadZurückgeben("/a.mp3"), "/");
    EXPECT_EQ(DateinameZurückgeben("/musik/"), "");
    EXPECT_EQ(DateinameZurückgeben("lied.mp3"), "lied.mp3");
    EXPECT_EQ(DateiEndungZurückgeben("/musik.alt/datei"), "");
    EXPECT_EQ(DateiEndungZurückgeben("lied.MP3"), ".MP3");
    EXPECT_EQ(DateiEndungZurückgeben("lied."), ".");
    EXPECT_EQ(PfadVerbinden("/a/", "b"), "/a/b");
    EXPECT_EQ(PfadVerbinden("/a", "b"), "/a/b");
}

TEST(Funktionen, DoesExistNimmtDenNamenWörtlich)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString stern = dir.filePath("*.mp3");
    EXPECT_FALSE(DoesExist(stern)) << "no file is literally named *.mp3 yet";
    QFile a(dir.filePath("a.mp3"));
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.close();
    EXPECT_TRUE(DoesExist(a.fileName()));
    EXPECT_FALSE(DoesExist(stern)) << "a pattern must not match a.mp3";
    EXPECT_FALSE(DoesExist(dir.filePath("?.mp3")));
    QFile s(stern);
    ASSERT_TRUE(s.open(QIODevice::WriteOnly));
    s.close();
    EXPECT_TRUE(DoesExist(stern));
    EXPECT_FALSE(DoesExist(dir.path()));            // a folder is no file
    EXPECT_FALSE(DoesExist(dir.path() + "/"));
    EXPECT_FALSE(DoesExist(""));
    EXPECT_FALSE(DoesExist("C:"));
    QFile versteckt(dir.filePath(".versteckt"));
    ASSERT_TRUE(versteckt.open(QIODevice::WriteOnly));
    versteckt.close();
    EXPECT_TRUE(DoesExist(versteckt.fileName()));
}

TEST(Funktionen, ZeichenCodeUndTexte)
{
    EXPECT_EQ(ZeichenCodeZurückgeben(""), "");
    EXPECT_EQ(ZeichenCodeZurückgeben("A"), "65");
    EXPECT_EQ(ZeichenCodeZurückgeben(QString(QChar(255))), "255");
    EXPECT_EQ(ZeichenCodeZurückgeben(QStringLiteral("€")), "128");
    EXPECT_EQ(MitNullenAuffüllen("7", 3), "007");
    EXPECT_EQ(MitNullenAuffüllen("1234", 3), "1234");
    EXPECT_TRUE(TextGleich("Bach", "BACH"));
    EXPECT_TRUE(TextGleich("", ""));
    EXPECT_FALSE(TextGleich("Bach", "Bache"));
    EXPECT_EQ(NullAlsLeerZurückgeben("0"), "");
    EXPECT_EQ(NullAlsLeerZurückgeben("00"), "00");
}

TEST(Kodierung, Windows1252UndUtf8)
{
    const QByteArray bytes("\xE4\x80\x9F\x81", 4);
    EXPECT_EQ(Cp1252Dekodieren(bytes), QString(QChar(0xE4)) + QChar(0x20AC) + QChar(0x178) + QChar(0x81));
    EXPECT_EQ(Cp1252Kodieren(Cp1252Dekodieren(bytes)), bytes);
    EXPECT_EQ(Cp1252Kodieren(QStringLiteral("日本😀")), QByteArray("???"));
    EXPECT_TRUE(IstGültigesUtf8(QStringLiteral("äöü日本😀").toUtf8()));
    EXPECT_FALSE(IstGültigesUtf8(QByteArray("\xE4pfel")));
    EXPECT_FALSE(IstGültigesUtf8(QByteArray("\xC0\x80")));       // overlong
    EXPECT_FALSE(IstGültigesUtf8(QByteArray("\xED\xA0\x80")));   // surrogate
    EXPECT_FALSE(IstGültigesUtf8(QByteArray("\xE6\x97")));       // truncated
}

// UTF-8 from other programs: the well-formed sequences as UTF-8, every
// byte that belongs to none alone as Windows-1252.
TEST(Kodierung, Utf8MitUngültigenBytenNimmtJedesDieserByteAlsWindows1252)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QString text;
    } fälle[] = {
        {"gültig", QStringLiteral("Grüße 日本 😀").toUtf8(), QStringLiteral("Grüße 日本 😀")},
        {"leer", QByteArray(), QString()},
        {"ein FF vorn", QByteArray("\xFFran d\xC3\xAD" "a"), QStringLiteral("ÿran día")},
        {"abgeschnitten am Ende", QByteArray("Ende \xE6\x97"), QStringLiteral("Ende æ—")},
        {"abgeschnitten mitten", QByteArray("\xE2\x82z\xE2\x82\xAC"), QStringLiteral("â‚z€")},
        {"überlang 2", QByteArray("\xC0\x80x", 3), QStringLiteral("À€x")},
        {"überlang 3", QByteArray("\xE0\x80\xAF"), QStringLiteral("à€¯")},
        {"überlang 4", QByteArray("\xF0\x82\x82\xAC"), QStringLiteral("ð‚‚¬")},
        {"Surrogat", QByteArray("\xED\xA0\x80"), QStringLiteral("í\u00A0€")},
        {"über U+10FFFF", QByteArray("\xF4\x90\x80\x80"), QStringLiteral("ô\u0090€€")},
        {"fünf Byte", QByteArray("\xF8\x88\x80\x80\x80"), QStringLiteral("øˆ€€€")},
        {"Folgebyte allein", QByteArray("a\x80" "b"), QStringLiteral("a€b")},
        {"Emoji neben ungültigem Byte", QByteArray("\xF0\x9F\x98\x80\xFF\xF0\x9F\x98\x80"), QStringLiteral("😀ÿ😀")},
        {"Emoji abgeschnitten", QByteArray("\xF0\x9F\x98"), QStringLiteral("ðŸ˜")},
    };
    for (const auto& f : fälle) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(Utf8Dekodieren(f.bytes).toStdU16String(), f.text.toStdU16String());
    }
}

TEST(Funktionen, SchreibweiseZeichenweiseBehältDieLänge)
{
    EXPECT_EQ(ZeichenweiseGroß(QStringLiteral("straße")), QStringLiteral("STRAßE"));
    EXPECT_EQ(ZeichenweiseKlein(QStringLiteral("İSTANBUL")).size(), 8);
    EXPECT_EQ(WortanfängeGroßSchreiben(QStringLiteral("İSTANBUL GRÜßT"), false), QStringLiteral("İstanbul Grüßt"));
}

// The shipped data beside the program (a build tree, an unpacked archive)
// wins over an installed copy under ../share: a program started from there
// reads its own, never an older installation's, and keeps its files beside
// itself. Only without it is the program taken as installed. Seen by a
// small program over the same functions, copied to the place in question.
TEST(Funktionen, DatenNebenDemProgrammVorDenInstallierten)
{
    const QString werkzeug = QCoreApplication::applicationDirPath() + "/../tools/datenordner";
    ASSERT_TRUE(QFileInfo::exists(werkzeug)) << werkzeug.toStdString();
    const struct {
        const char* name;
        bool daneben, installiert;
        const char* daten;    // the folder found, below the tree; its Ineturl.dat names it
        const char* programm; // where the program keeps its files
    } fälle[] = {{"beide", true, true, "bin/share/kalvero", "bin"},
                 {"nur daneben", true, false, "bin/share/kalvero", "bin"},
                 {"nur installiert", false, true, "share/kalvero", "XDG_DATA_HOME/Kalvero/Kalvero"},
                 {"keine", false, false, "bin/share/kalvero", "bin"}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        QTemporaryDir baum;
        // The program sees its folder with every link resolved.
        const QDir wurzel(QFileInfo(baum.path()).canonicalFilePath());
        ASSERT_TRUE(QDir().mkpath(baum.filePath("bin")));
        const QString programm = baum.filePath("bin/datenordner");
        ASSERT_TRUE(QFile::copy(werkzeug, programm));
        for (const auto& [da, ordner] : {std::pair(fall.daneben, "bin/share/kalvero"), std::pair(fall.installiert, "share/kalvero")}) {
            if (!da)
                continue;
            ASSERT_TRUE(QDir().mkpath(baum.filePath(ordner)));
            QFile f(baum.filePath(QString(ordner) + "/Ineturl.dat"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(ordner);
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", baum.filePath("XDG_DATA_HOME"));
        p.setProcessEnvironment(env);
        p.start(programm, {});
        ASSERT_TRUE(p.waitForFinished(30000));
        ASSERT_EQ(p.exitCode(), 0);
        const QStringList zeilen = QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(zeilen.size(), 2);
        EXPECT_EQ(zeilen[0], "daten=" + wurzel.filePath(fall.daten));
        EXPECT_EQ(zeilen[1], "programm=" + wurzel.filePath(fall.programm));
        QFile gelesen(zeilen[0].mid(6) + "/Ineturl.dat");
        if (fall.daneben || fall.installiert) {
            ASSERT_TRUE(gelesen.open(QIODevice::ReadOnly));
            EXPECT_EQ(gelesen.readAll(), fall.daten);
        }
    }
}
