// MedienInfosLesen: which steps run, what a missing file keeps, file type,
// size and date added, and a file another program writes during a reading
// for a writer.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "media/MedienInfosLesen.h"
#include "media/TagSchreiben.h"
#include "support/IndexDateiHilfen.h"
#include "support/Mp3Bauer.h"
#include "support/Mutagen.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

using namespace Mp3Bauer;

namespace {

class MedienInfosLesenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandardwerteSetzen();
        index.strDateiTypen = standardwerte().strStandardDateiTypen;
        index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
        einstellungen().TAGsBytesSuchen = 102400;
        ASSERT_TRUE(dir.isValid());
    }
    MedienInfo Lesen(const QString& pfad, const MedienInfo& alt, const char* tags = "11", const char* kopf = "1",
                     const char* infos = "1", bool umbrüche = false)
    {
        return MedienInfosLesen(index, pfad, alt, QLatin1String(tags), umbrüche, QLatin1String(kopf), QLatin1String(infos));
    }
    QByteArray Voll() const
    {
        Id3v2Tag t;
        t.frames = {TextFrame("TIT2", QStringLiteral("Titel v2")), KommentarFrame(QStringLiteral("a\nb"))};
        t.padding = 100;
        return t.Bytes() + Frames(Frame(), 100) + Id3v1Block({.titel = "Titel v1", .kommentar = "x\r\ny", .spur = 2, .genre = 9});
    }
    Index index;
    QTemporaryDir dir;
};

QString DateiVon(const QDate& d) { return d.toString(QStringLiteral("dd.MM.yyyy")); }

} // namespace

TEST_F(MedienInfosLesenTest, ReadsEverythingWithAllFlagsOn)
{
    const QString pfad = DateiSchreiben(dir, "a.mp3", Voll());
    const MedienInfo m = Lesen(pfad, LeereMedienInfo(), "11", "1", "1", true);
    EXPECT_EQ(m.Mp3_ID3v1_Vorhanden, 1);
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "Titel v1");
    EXPECT_EQ(m.Mp3_ID3v1_Kommentar, "x\ny");
    EXPECT_EQ(m.Mp3_ID3v1_Titelnummer, "2");
    EXPECT_EQ(GenreByte(m), 9);
    EXPECT_EQ(m.Mp3_ID3v2_Vorhanden, 1);
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "Titel v2");
    EXPECT_EQ(m.Mp3_ID3v2_Kommentar, "ab"); // ID3v2 texts never keep line breaks
    EXPECT_EQ(m.Header_Position, m.Mp3_ID3v2_TAGGröße);
    EXPECT_EQ(m.Header_Bitrate, 128);
    EXPECT_EQ(m.Header_Frames, 100); // the ID3v1 block is not audio
    EXPECT_EQ(m.Datei_Größe, Voll().size());
    EXPECT_EQ(m.Datei_Typ, 1);
    EXPECT_EQ(m.Datei_Datenträger, "");
    EXPECT_EQ(m.Datei_HinzugefügtAm, DateiVon(QFileInfo(pfad).lastModified().date()));
}

TEST_F(MedienInfosLesenTest, StepsSwitchedOffKeepTheOldValues)
{
    const QString pfad = DateiSchreiben(dir, "a.mp3", Voll());
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Titel = QStringLiteral("alt1");
    alt.Mp3_ID3v2_Titel = QStringLiteral("alt2");
    alt.Header_Bitrate = 7;
    alt.Datei_Größe = 99;
    alt.Datei_HinzugefügtAm = QStringLiteral("01.02.2003");
    alt.Datei_AngefordertAnzahl = 12;
    alt.Datei_Typ = 3;

    MedienInfo m = Lesen(pfad, alt, "000", "0", "0");
    MedienInfo erwartet = alt;
    erwartet.Datei_Typ = 1;
    EXPECT_EQ(m, erwartet);

    // Any character but "0" switches a tag on, a missing one too; header and
    // file information need exactly "1".
    m = Lesen(pfad, alt, "x", "2", "yes");
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "Titel v1");
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "Titel v2");
    EXPECT_EQ(m.Header_Bitrate, 7);
    EXPECT_EQ(m.Datei_Größe, 99);

    // The default flags "101": the tag is not read, but the audio still starts behind it.
    m = Lesen(pfad, alt, "101", "1", "1");
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "alt2");
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "Titel v1");
    EXPECT_EQ(m.Header_Bitrate, 128);
    EXPECT_GT(m.Header_Position, 0);
    EXPECT_EQ(m.Datei_HinzugefügtAm, "01.02.2003");
    EXPECT_EQ(m.Datei_AngefordertAnzahl, 12);
}

TEST_F(MedienInfosLesenTest, MissingOrUnreadableFileKeepsTheRecord)
{
    MedienInfo alt = Lesen(DateiSchreiben(dir, "a.mp3", Voll()), LeereMedienInfo());
    alt.Datei_HinzugefügtAm.clear();
    alt.Datei_Datenträger = QStringLiteral("URLAUB");
    const QString fehlt = dir.filePath("weg.mp3");
    MedienInfo m = Lesen(fehlt, alt);
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "Titel v1");
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "Titel v2");
    EXPECT_EQ(m.Header_Bitrate, 128);
    EXPECT_EQ(m.Datei_Größe, -1);
    EXPECT_EQ(m.Datei_Datenträger, "URLAUB");
    EXPECT_EQ(m.Datei_HinzugefügtAm, DateiVon(QDate::currentDate()));
    EXPECT_EQ(m.Datei_Typ, 1); // judged from the name

    // A folder is no file.
    EXPECT_EQ(Lesen(dir.path() + "/", alt).Datei_Größe, -1);

    if (::geteuid() != 0) {
        const QString gesperrt = DateiSchreiben(dir, "gesperrt.mp3", Voll() + "x");
        QFile::setPermissions(gesperrt, QFileDevice::Permissions());
        m = Lesen(gesperrt, alt);
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "Titel v2");
        EXPECT_EQ(m.Datei_Größe, Voll().size() + 1);
    }
}

TEST_F(MedienInfosLesenTest, FileTypeFromTheManagedTypes)
{
    MedienInfo alt = LeereMedienInfo();
    alt.Datei_Typ = 9;
    const auto typ = [&](const char* name) { return Lesen(DateiSchreiben(dir, QLatin1String(name), "x"), alt, "00", "0", "0").Datei_Typ; };
    EXPECT_EQ(typ("a.mp3"), 1);
    EXPECT_EQ(typ("b.AAC"), 1);
    EXPECT_EQ(typ("c.wma"), 2);
    EXPECT_EQ(typ("d.WMF"), 2);
    EXPECT_EQ(typ("e.WAV"), 3);
    EXPECT_EQ(typ("f.vqf"), 9);  // other audio keeps its old type
    EXPECT_EQ(typ("g.jpg"), 4);  // listed, not managed, but no audio
    EXPECT_EQ(typ("h.xyz"), 0);
    EXPECT_EQ(typ("ohne"), 0);
}

TEST_F(MedienInfosLesenTest, DateAddedComesFromTheFileOnce)
{
    const QString pfad = DateiSchreiben(dir, "a.mp3", "x");
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2004, 3, 9), QTime(12, 0)), QFileDevice::FileModificationTime));
    f.close();
    MedienInfo m = Lesen(pfad, LeereMedienInfo(), "00", "0", "0");
    EXPECT_EQ(m.Datei_HinzugefügtAm, "09.03.2004");
    m.Datei_HinzugefügtAm = QStringLiteral("31.12.1999");
    EXPECT_EQ(Lesen(pfad, m).Datei_HinzugefügtAm, "31.12.1999");
}

TEST_F(MedienInfosLesenTest, BadFilesGiveUsableRecords)
{
    Frame f;
    Id3v2Tag riesig;
    riesig.frames = {TextFrame("TIT2", QStringLiteral("t"))};
    riesig.größenFeld = QByteArray("\x7F\x7F\x7F\x7F", 4);
    const std::pair<const char*, QByteArray> dateien[] = {
        {"leer", QByteArray()},
        {"eins", QByteArray(1, '\xFF')},
        {"sync", QByteArray(5000, '\xFF')},
        {"nur tag", riesig.Bytes()},
        {"id3 ohne rest", QByteArray("ID3\x04\x00\x00", 6)},
        {"frame ohne ende", f.Bytes().left(300)},
        {"127", QByteArray(127, 'T')},
    };
    for (const auto& [name, daten] : dateien) {
        const MedienInfo m = Lesen(DateiSchreiben(dir, QLatin1String(name), daten), LeereMedienInfo());
        EXPECT_EQ(m.Datei_Größe, daten.size()) << name;
        EXPECT_EQ(m.Header_Frequenz, 0) << name;
        EXPECT_NE(m.Mp3_ID3v1_Vorhanden, 1) << name;
    }
}

// Another program (mutagen in a process of its own) writes the title while
// a reading for the editor is between its last read and its end: the
// reading is no whole record, and a save from it is refused with why,
// leaving the file as that program left it. Untouched, the save goes in.
// Some taggers put the file's time back after a write; its length then
// tells.
TEST_F(MedienInfosLesenTest, AFileWrittenDuringAReadingForAWriterGivesNoWholeRecord)
{
    const char* const skript = R"(
import os, sys
import mutagen.id3 as m
if len(sys.argv) > 2:
    vorher = os.stat(sys.argv[1])
    t = m.ID3(sys.argv[1])
    t.add(m.TIT2(encoding=3, text=[sys.argv[2]]))
    t.save(v2_version=3)
    if len(sys.argv) > 3:
        os.utime(sys.argv[1], ns=(vorher.st_atime_ns, vorher.st_mtime_ns))
        assert os.stat(sys.argv[1]).st_mtime_ns == vorher.st_mtime_ns
print(m.ID3(sys.argv[1])['TIT2'].text[0])
)";
    const QString python = testhilfe::MutagenPython();
    if (python.isEmpty())
        GTEST_SKIP() << "no python3 with mutagen";
    // Writes the title when one is given; the title as mutagen reads it.
    const auto mutagen = [&](const QString& pfad, const QStringList& titel = {}) {
        QProcess pr;
        pr.start(python, QStringList{QStringLiteral("-c"), QString::fromUtf8(skript), pfad} + titel);
        EXPECT_TRUE(pr.waitForFinished(60000));
        EXPECT_EQ(pr.exitCode(), 0) << pr.readAllStandardError().toStdString();
        return QString::fromUtf8(pr.readAllStandardOutput()).trimmed();
    };
    const QByteArray langerTitel(300, 'L'); // more than the tag's padding
    const struct {
        const char* name;
        const char* titel; // the other program's; null: none writes
        bool zeitBehalten; // it puts the file's time back
    } fälle[] = {{"unverändert", nullptr, false},
                 {"gleich lang", "Titel v3", false},
                 {"länger", "Ein viel längerer Titel", false},
                 {"länger, Zeit behalten", langerTitel.constData(), true}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const QString pfad = DateiSchreiben(dir, QStringLiteral("w%1.mp3").arg(&fall - fälle), Voll());
        MedienInfosLesenTestHaken([&] {
            if (fall.titel) {
                const qint64 länge = QFileInfo(pfad).size();
                QStringList argumente{QString::fromUtf8(fall.titel)};
                if (fall.zeitBehalten)
                    argumente << QStringLiteral("zeit");
                EXPECT_EQ(mutagen(pfad, argumente), fall.titel);
                if (fall.zeitBehalten)
                    EXPECT_NE(QFileInfo(pfad).size(), länge) << "the length is what tells";
            }
        });
        MedienLesung lesung;
        MedienInfo m = MedienInfosLesen(index, pfad, LeereMedienInfo(), QStringLiteral("11"), false, QStringLiteral("1"),
                                        QStringLiteral("0"), &lesung);
        MedienInfosLesenTestHaken({});
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "Titel v2") << "read before the other program wrote";
        m.Mp3_ID3v2_Titel = QStringLiteral("Getippt");
        QString fehler;
        const bool geschrieben = Mp3TAGSpeichernV2(pfad, m, fehler, &lesung);
        if (!fall.titel) {
            EXPECT_TRUE(lesung.Vollständig());
            EXPECT_TRUE(geschrieben) << fehler.toStdString();
            EXPECT_EQ(mutagen(pfad), "Getippt");
            continue;
        }
        EXPECT_EQ(lesung.fehler, ESTALE) << "the change during the reading was not seen";
        EXPECT_FALSE(geschrieben);
        EXPECT_TRUE(fehler.contains("Die Datei wurde beim Lesen verändert und konnte nicht vollständig gelesen werden"))
            << fehler.toStdString();
        EXPECT_EQ(mutagen(pfad), fall.titel) << "the other program's title was overwritten";
        EXPECT_FALSE(testhilfe::DateiInhalt(pfad).contains("Getippt"));
    }
}

// A file known by another inode number (as FAT, exFAT and FUSE give an
// unchanged file once the kernel forgot it) is the file read while the bytes
// its reading used are the same; any other difference of its state is a
// change without a look at the bytes.
TEST_F(MedienInfosLesenTest, AFileKnownByAnotherNumberIsDecidedByTheBytesItsReadingUsed)
{
    const QByteArray voll = Voll();
    const qsizetype titel = voll.indexOf("Titel v2");
    const struct {
        const char* name;
        qsizetype stelle; // the byte another program changes; -1: none
        bool andereNummer;
        bool andereGröße;
        bool wieGelesen;
    } fälle[] = {
        {"gleich", -1, false, false, true},
        {"neue Nummer", -1, true, false, true},
        {"neue Nummer, Titel geändert", titel + 6, true, false, false},
        {"neue Nummer, ID3v1 geändert", voll.size() - 100, true, false, false},
        // The audio behind the first frames is no part of what was shown.
        {"neue Nummer, Audio am Ende geändert", voll.size() - 200, true, false, true},
        {"neue Nummer, andere Größe", -1, true, true, false},
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const QString pfad = DateiSchreiben(dir, QStringLiteral("n%1.mp3").arg(&fall - fälle), voll);
        MedienLesung lesung;
        MedienInfosLesen(index, pfad, LeereMedienInfo(), QStringLiteral("11"), false, QStringLiteral("1"), QStringLiteral("0"), &lesung);
        ASSERT_TRUE(lesung.Vollständig());
        DateiStand jetzt = lesung.stand;
        if (fall.stelle >= 0) {
            QByteArray anders = voll;
            anders[fall.stelle] = anders[fall.stelle] == 'x' ? 'y' : 'x';
            QFile f(pfad);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(anders), anders.size());
        }
        if (fall.andereNummer)
            jetzt.inode += 1;
        if (fall.andereGröße)
            jetzt.größe += 1;
        EXPECT_EQ(lesung.WieGelesen(jetzt, pfad), fall.wieGelesen);
        const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(lesung.WieGelesen(jetzt, fd), fall.wieGelesen);
        ::close(fd);
    }
}
