#include "BibliothekTesthilfe.h"

#include "core/Funktionen.h"
#include "library/Dateikennung.h"
#include "library/Verschieben.h"
#include "support/FuseAbbild.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace testhilfe;

namespace {

using Fragen = Konfliktskript;

class VerschiebenTest : public ::testing::Test {
protected:
    Baum baum;
    Meldungsskript meldungen;
    Fragen fragen;
    void TearDown() override { KopierFehlerNachBytesSetzen(-1); }

    bool Verschieben(const QString& quelle, QString& ziel, int& modus, QString& meldung)
    {
        return DateiVerschieben(quelle, ziel, modus, meldung);
    }
    // Names left behind in a folder by a failed or finished copy.
    QStringList Reste(const QString& ordner) const
    {
        return QDir(ordner).entryList({"*-neu*"}, QDir::Files | QDir::Hidden);
    }
};

quint64 Gerät(const QString& pfad)
{
    struct stat st;
    return ::stat(pfad.toUtf8().constData(), &st) == 0 ? quint64(st.st_dev) : 0;
}

} // namespace

TEST(DateinameBereinigenTest, ZeichenklassenUndUnbrauchbareNamen)
{
    EXPECT_EQ(DateinameBereinigen("Musik\\Rock", true), "Musik\\Rock");
    EXPECT_EQ(DateinameBereinigen("/home/ich/Musik/Rock", true), "/home/ich/Musik/Rock");
    EXPECT_EQ(DateinameBereinigen("Musik\\\\Rock", true), "");
    EXPECT_EQ(DateinameBereinigen("Musik//Rock", true), "");
    EXPECT_EQ(DateinameBereinigen("Rock\\", true), "Rock\\");
    EXPECT_EQ(DateinameBereinigen("AC/DC - Live.mp3", false), "ACDC - Live.mp3");
    EXPECT_EQ(DateinameBereinigen("Live\\", false), "");
    EXPECT_EQ(DateinameBereinigen("", false), "");
    EXPECT_EQ(DateinameBereinigen("a?b*c<d>e|f\"g:h.mp3", false), "abcdefgh.mp3");
    EXPECT_EQ(DateinameBereinigen("Träume.mp3", false), "Träume.mp3");
    EXPECT_EQ(DateinameBereinigen("a\tb\nc.mp3", false), "a\tb\nc.mp3");
    EXPECT_EQ(DateinameBereinigen(QString::fromUtf8("5 € ‚x‘ ’y’.mp3"), false), QString::fromUtf8("5 € ‚x‘ ’y’.mp3"));
    EXPECT_EQ(DateinameBereinigen(QString("a") + QChar(1) + QChar(0) + QChar(0x7F) + "b", false), "ab");
    EXPECT_EQ(DateinameBereinigen("???", false), "");
    EXPECT_EQ(DateinameBereinigen("..", false), "") << "a name that climbs out of its folder";
    EXPECT_EQ(DateinameBereinigen(".", false), "");
    // Names in other scripts are real names on this system: they stay.
    EXPECT_EQ(DateinameBereinigen(QString::fromUtf8("桜 😀.mp3"), false), QString::fromUtf8("桜 😀.mp3"));
}

TEST_F(VerschiebenTest, VerschiebenLegtOrdnerAnUndBereinigtDenNamenZuerst)
{
    const QString quelle = baum.Datei("a/x.mp3", "inhalt");
    QString ziel = baum.Pfad("neu/rock/a?b.mp3");
    int modus = 1;
    QString meldung;
    ASSERT_TRUE(Verschieben(quelle, ziel, modus, meldung)) << meldung.toStdString();
    EXPECT_EQ(ziel, baum.Pfad("neu/rock/ab.mp3"));
    EXPECT_EQ(Lesen(ziel), "inhalt");
    EXPECT_FALSE(QFile::exists(quelle));
    EXPECT_TRUE(meldung.isEmpty());

    // A name that cleaning leaves empty fails before anything is touched.
    ziel = baum.Pfad("anderswo/tief/???");
    EXPECT_FALSE(Verschieben(baum.Pfad("neu/rock/ab.mp3"), ziel, modus, meldung));
    EXPECT_TRUE(meldung.startsWith("Es ist ein Fehler beim Ändern des Dateinamens '"));
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("anderswo"))) << "no folder was made";
    EXPECT_TRUE(QFile::exists(baum.Pfad("neu/rock/ab.mp3")));

    // The conflict is about the cleaned name: "a?b.mp3" meets the existing "ab.mp3".
    const QString zweite = baum.Datei("b/x.mp3", "zweite");
    ziel = baum.Pfad("neu/rock/a?b.mp3");
    EXPECT_FALSE(Verschieben(zweite, ziel, modus, meldung));
    EXPECT_EQ(fragen.gestellt.size(), 1);
    EXPECT_EQ(Lesen(baum.Pfad("neu/rock/ab.mp3")), "inhalt");
    EXPECT_EQ(Lesen(zweite), "zweite");

    // A missing source.
    ziel = baum.Pfad("c.mp3");
    EXPECT_FALSE(Verschieben(baum.Pfad("fehlt.mp3"), ziel, modus, meldung));
    EXPECT_TRUE(meldung.endsWith("' existiert nicht."));
}

TEST_F(VerschiebenTest, KonfliktFragtUndÜberschreibtNieOhneErsetzen)
{
    const QString quelle = baum.Datei("x.mp3", "neu");
    const QString ziel0 = baum.Datei("ziel/x.mp3", "alt");
    int modus = 1;
    QString meldung;

    QString ziel = ziel0;
    EXPECT_FALSE(Verschieben(quelle, ziel, modus, meldung)) << "no answer means cancel";
    EXPECT_EQ(meldung, "Die Datei '" + quelle + "' kann nicht verschoben oder umbenannt werden.\nDie Zieldatei existiert '"
                           + ziel0 + "' bereits und Umbenennen wurde nicht gewünscht.");
    ASSERT_EQ(fragen.gestellt.size(), 1);
    EXPECT_TRUE(fragen.gestellt[0].startsWith("Die Datei '" + quelle + "' (Größe: 3 Bytes) kann nicht umbenannt werden.\n"
                                              "Die Zieldatei '" + ziel0 + "' (Größe: 3 Bytes) existiert bereits."));
    EXPECT_EQ(Lesen(ziel0), "alt");
    EXPECT_EQ(Lesen(quelle), "neu");

    // Rename: the first free numbered name.
    baum.Datei("ziel/x-0.mp3", "0");
    baum.Datei("ziel/x-1.mp3", "1");
    fragen.antworten = {DateiExistiert::Umbenennen};
    modus = 0;
    ziel = ziel0;
    ASSERT_TRUE(Verschieben(quelle, ziel, modus, meldung));
    EXPECT_EQ(ziel, baum.Pfad("ziel/x-2.mp3"));
    EXPECT_EQ(Lesen(ziel), "neu");
    EXPECT_EQ(Lesen(ziel0), "alt");
    EXPECT_EQ(Lesen(quelle), "neu") << "a copy keeps its source";

    // Replace, copying: the old target is replaced whole, nothing left behind.
    fragen.antworten = {DateiExistiert::Ersetzen};
    ziel = ziel0;
    ASSERT_TRUE(Verschieben(quelle, ziel, modus, meldung));
    EXPECT_EQ(Lesen(ziel0), "neu");
    EXPECT_TRUE(QFile::exists(quelle));
    EXPECT_TRUE(Reste(baum.Pfad("ziel")).isEmpty());

    // Replace, moving.
    const QString andere = baum.Datei("y/x.mp3", "dritte");
    fragen.antworten = {DateiExistiert::Ersetzen};
    modus = 1;
    ziel = ziel0;
    ASSERT_TRUE(Verschieben(andere, ziel, modus, meldung));
    EXPECT_EQ(Lesen(ziel0), "dritte");
    EXPECT_FALSE(QFile::exists(andere));
}

TEST_F(VerschiebenTest, GroßKleinschreibungEntscheidenGerätUndInode)
{
    int modus = 1;
    QString meldung;

    // Only the case differs and no such file exists: a plain rename.
    const QString klein = baum.Datei("a/lied.mp3", "lied");
    QString ziel = baum.Pfad("a/Lied.mp3");
    ASSERT_TRUE(Verschieben(klein, ziel, modus, meldung));
    EXPECT_TRUE(fragen.gestellt.isEmpty());
    EXPECT_EQ(Lesen(baum.Pfad("a/Lied.mp3")), "lied");
    EXPECT_FALSE(QFile::exists(klein));

    // Only the case differs, but the other name is another file here: asked, kept.
    const QString b1 = baum.Datei("b/song.mp3", "eins");
    const QString b2 = baum.Datei("b/SONG.mp3", "zwei");
    ziel = b2;
    EXPECT_FALSE(Verschieben(b1, ziel, modus, meldung));
    EXPECT_EQ(fragen.gestellt.size(), 1);
    EXPECT_EQ(Lesen(b1), "eins");
    EXPECT_EQ(Lesen(b2), "zwei");

    // The other name is the same file (as on a medium that ignores case): no question, nothing lost.
    const QString c1 = baum.Datei("c/titel.mp3", "drei");
    const QString c2 = baum.Pfad("c/TITEL.mp3");
    ASSERT_EQ(::link(c1.toUtf8().constData(), c2.toUtf8().constData()), 0);
    ziel = c2;
    EXPECT_TRUE(Verschieben(c1, ziel, modus, meldung));
    EXPECT_EQ(fragen.gestellt.size(), 1);
    EXPECT_EQ(Lesen(c2), "drei");
}

// On exFAT (through FUSE; FAT behaves alike) both spellings find the one entry, each
// with an inode number of its own: a change of case only is a rename of that
// file, never a conflict, and a folder spelled in another case is the same
// folder. The normal temp folder, which tells case apart, is the control.
TEST_F(VerschiebenTest, SchreibweiseAufFatUndExfatIstEinUmbenennen)
{
    using testhilfe::FuseAbbild;
    int geprüft = 0;
    // fusefat hangs when folders are removed: FAT is met by the index file's test.
    for (const std::optional<FuseAbbild::Art> art : {std::optional<FuseAbbild::Art>(), std::optional(FuseAbbild::Art::ExFat)}) {
        SCOPED_TRACE(art ? FuseAbbild::Name(*art) : "temp");
        std::optional<FuseAbbild> medium;
        if (art) {
            medium.emplace(*art);
            if (!medium->Bereit()) {
                std::cout << "[ SKIPPED  ] " << FuseAbbild::Name(*art) << ": " << medium->Grund().toStdString() << std::endl;
                continue;
            }
        }
        {
            Baum b(medium ? medium->Pfad() : QString());
            // The names in the folder that equal `name` apart from case.
            const auto namen = [&](const QString& ordner, const QString& name) {
                QStringList gleich;
                for (const QString& n : QDir(b.Pfad(ordner)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
                    if (n.compare(name, Qt::CaseInsensitive) == 0)
                        gleich << n;
                return gleich;
            };
            fragen.gestellt.clear();
            // (source, target as asked, what the folder then holds, where the file lies,
            // the path the entry then holds on the medium: its folders as the medium spells them)
            const std::tuple<const char*, const char*, const char*, const char*, const char*> fälle[] = {
                {"song one.mp3", "Song one.mp3", "", "Song one.mp3", "Song one.mp3"},
                {"Musik/a.mp3", "musik/a.mp3", "", "Musik", "Musik/a.mp3"},
                {"Alben/b.mp3", "ALBEN/B.mp3", "Alben", "B.mp3", "Alben/B.mp3"},
            };
            for (const auto& [quelle, ziel, ordner, liegt, eintrag] : fälle) {
                SCOPED_TRACE(quelle);
                const QString q = b.Datei(quelle, quelle);
                QString z = b.Pfad(ziel);
                int modus = 1;
                QString meldung;
                ASSERT_TRUE(Verschieben(q, z, modus, meldung)) << meldung.toStdString();
                EXPECT_EQ(z.toStdString(), b.Pfad(medium ? eintrag : ziel).toStdString())
                    << "the entry holds the path as asked for, its folders as the medium spells them";
                EXPECT_TRUE(fragen.gestellt.isEmpty());
                EXPECT_EQ(Lesen(z), quelle);
                EXPECT_FALSE(QFile::exists(b.Pfad(quelle)) && !medium) << "the control tells case apart";
                if (medium)
                    EXPECT_EQ(namen(ordner, liegt), QStringList(liegt)) << "one entry, none replaced, none added";
                EXPECT_TRUE(Reste(b.Pfad(ordner)).isEmpty());
            }
            if (medium) {
                // An entry that holds its folder in other case than the medium
                // (as older runs stored it): still the one file, renamed.
                b.Datei("Lieder/c.mp3", "c");
                QString z = b.Pfad("lieder/C.mp3");
                int modus = 1;
                QString meldung;
                ASSERT_TRUE(Verschieben(b.Pfad("LIEDER/c.mp3"), z, modus, meldung)) << meldung.toStdString();
                EXPECT_EQ(z.toStdString(), b.Pfad("Lieder/C.mp3").toStdString());
                EXPECT_TRUE(fragen.gestellt.isEmpty());
                EXPECT_EQ(namen("Lieder", "c.mp3"), QStringList("C.mp3"));
                EXPECT_EQ(Lesen(z), "c");
            }
        }
        ++geprüft;
    }
    EXPECT_GE(geprüft, 1);
}

TEST_F(VerschiebenTest, KopieAufSichSelbst)
{
    const QString x = baum.Datei("x.mp3", "selbst");
    int modus = 0;
    QString meldung;
    QString ziel = x;
    fragen.antworten = {DateiExistiert::Ersetzen};
    ASSERT_TRUE(Verschieben(x, ziel, modus, meldung));
    EXPECT_EQ(modus, 1) << "replace turns the copy into a rename onto itself";
    EXPECT_EQ(Lesen(x), "selbst");

    modus = 0;
    ziel = x;
    fragen.antworten = {DateiExistiert::Umbenennen};
    ASSERT_TRUE(Verschieben(x, ziel, modus, meldung));
    EXPECT_EQ(ziel, baum.Pfad("x-0.mp3"));
    EXPECT_EQ(Lesen(ziel), "selbst");
    EXPECT_EQ(Lesen(x), "selbst");
}

TEST_F(VerschiebenTest, ZwischenDateisystemenErstKopierenDannLöschen)
{
    Baum anderes("/dev/shm");
    if (!anderes.dir.isValid() || Gerät(anderes.Pfad()) == Gerät(baum.Pfad()))
        GTEST_SKIP() << "no second file system here";
    const QByteArray inhalt = KleineMp3('q').repeated(100);
    const QString quelle = anderes.Datei("a.mp3", inhalt);
    struct stat vorher;
    ASSERT_EQ(::stat(quelle.toUtf8().constData(), &vorher), 0);

    // A copy that fails half way: the source stays, no target, no leftovers.
    KopierFehlerNachBytesSetzen(1000);
    QString ziel = baum.Pfad("ziel/a.mp3");
    int modus = 1;
    QString meldung;
    EXPECT_FALSE(Verschieben(quelle, ziel, modus, meldung));
    EXPECT_TRUE(meldung.startsWith("Es ist ein Fehler beim Ändern des Dateinamens '" + quelle + "' aufgetreten.\n"));
    EXPECT_TRUE(meldung.contains("(Fehler 61)")) << meldung.toStdString();
    EXPECT_EQ(Lesen(quelle), inhalt);
    EXPECT_FALSE(QFile::exists(ziel));
    EXPECT_TRUE(Reste(baum.Pfad("ziel")).isEmpty());

    KopierFehlerNachBytesSetzen(-1);
    ASSERT_TRUE(Verschieben(quelle, ziel, modus, meldung)) << meldung.toStdString();
    EXPECT_EQ(Lesen(ziel), inhalt);
    EXPECT_FALSE(QFile::exists(quelle));
    struct stat nachher;
    ASSERT_EQ(::stat(ziel.toUtf8().constData(), &nachher), 0);
    EXPECT_EQ(nachher.st_mtim.tv_sec, vorher.st_mtim.tv_sec) << "the file keeps its date";
    EXPECT_EQ(nachher.st_mode & 07777, vorher.st_mode & 07777);

    // And back, replacing an existing file over there.
    anderes.Datei("a.mp3", "alt");
    fragen.antworten = {DateiExistiert::Ersetzen};
    QString zurück = anderes.Pfad("a.mp3");
    ASSERT_TRUE(Verschieben(ziel, zurück, modus, meldung));
    EXPECT_EQ(Lesen(zurück), inhalt);
    EXPECT_FALSE(QFile::exists(ziel));
    EXPECT_TRUE(Reste(anderes.Pfad()).isEmpty());
}

TEST_F(VerschiebenTest, SchreibgeschütztesZielVerliertNichts)
{
    const QString quelle = baum.Datei("x.mp3", "quelle");
    const QString gesperrt = baum.Ordner("gesperrt");
    const QString alt = baum.Datei("gesperrt/x.mp3", "alt");
    auto sperre = std::make_unique<Schreibschutz>(gesperrt);
    if (!sperre->aktiv)
        GTEST_SKIP() << "cannot make a folder read-only here";
    int modus = 1;
    QString meldung;
    QString ziel = gesperrt + "/neu.mp3";
    EXPECT_FALSE(Verschieben(quelle, ziel, modus, meldung));
    EXPECT_TRUE(meldung.contains("Auf die Datei kann nicht zugegriffen werden (Fehler 70).")) << meldung.toStdString();

    modus = 0;
    ziel = gesperrt + "/neu.mp3";
    EXPECT_FALSE(Verschieben(quelle, ziel, modus, meldung));

    // Replacing what cannot be replaced: said at once, both files kept.
    fragen.antworten = {DateiExistiert::Ersetzen};
    ziel = alt;
    modus = 1;
    EXPECT_FALSE(Verschieben(quelle, ziel, modus, meldung));
    EXPECT_TRUE(meldungen.Enthält("' konnte nicht überschieben werden, da die Datei nicht gelöscht werden kann."));
    sperre.reset();
    EXPECT_EQ(Lesen(quelle), "quelle");
    EXPECT_EQ(Lesen(alt), "alt");
    EXPECT_EQ(QDir(gesperrt).entryList(QDir::Files), QStringList({"x.mp3"}));
}

TEST(DateinameBereinigenTest, DruckbareZeichenBleibenNurSteuerzeichenGehen)
{
    // Codes 127 to 159 are the control characters U+007F to U+009F, never the
    // Windows-1252 letters and signs that share those numbers.
    for (const char* name : {"Žalm Šostakovič – Live — „Zitat“ 5 € ™ … •.mp3",
                             "Œuvre œ Ÿ š ž ƒ ˆ ‰ ‹ › Dvořák č ř ł.mp3", "日本の歌 a\u00A0b\u00ADc ÿ.mp3"})
        EXPECT_EQ(DateinameBereinigen(QString::fromUtf8(name), false), QString::fromUtf8(name));
    EXPECT_EQ(DateinameBereinigen(QString::fromUtf8("a\u0085b\u0080c\u009Fd\u0090e.mp3"), false), "abcde.mp3");
    EXPECT_EQ(DateinameBereinigen(QString::fromUtf8("Musik/Šlágr: Ž\u0085"), true),
              QString::fromUtf8("Musik/Šlágr: Ž"));
}

// Names hold every character but the control ones and lone surrogates: the
// joiners of emoji sequences and Persian words, other format characters,
// private-use characters and characters newer than Qt's tables all stay.
TEST(DateinameBereinigenTest, FormatPrivatUndNeueZeichenBleiben)
{
    const QChar hoch(0xD83D), tief(0xDE00);
    const struct {
        QString name, erwartet;
    } fälle[] = {
        {QString::fromUtf8("x👨‍👩‍👧.mp3"), {}},                         // U+200D between the people
        {QString::fromUtf8("می‌خواهم.mp3"), {}},                        // U+200C in a Persian word
        {QString::fromUtf8("🫨 Zittern.mp3"), {}},                      // Unicode 15, unknown to Qt 6.4
        {QString::fromUtf8("\U000E0067\U000E0062 \u2060\u202Eabc.mp3"), {}}, // tag characters, word joiner, bidi
        {QString::fromUtf8("\uE000\U000F0001\U0010FFFD.mp3"), {}},       // private use, also beyond the BMP
        {QString::fromUtf8("\U0003FFFD\uFFFE.mp3"), {}},                // unassigned, a noncharacter
        {QString("a") + hoch + "b.mp3", "ab.mp3"},                      // lone surrogates go
        {QString("a") + tief + "b" + tief + hoch + ".mp3", "ab.mp3"},
        {QString("a") + hoch + tief + "b" + hoch, QString("a") + hoch + tief + "b"},
        {QString::fromUtf8("\u200D\u0085\u200C"), QString::fromUtf8("\u200D\u200C")},
    };
    for (const auto& f : fälle) {
        const QString erwartet = f.erwartet.isNull() ? f.name : f.erwartet;
        EXPECT_EQ(DateinameBereinigen(f.name, false), erwartet) << f.name.toStdString();
        EXPECT_EQ(DateinameBereinigen("/m/" + f.name, true), "/m/" + erwartet) << f.name.toStdString();
    }
}

TEST(SystemfehlerTest, JederGenannteFehlerSprichtDeutsch)
{
    // The failures met when moving, copying, renaming, writing and saving.
    for (const int e : {ENOSPC, EDQUOT, EROFS, EACCES, EPERM, ENAMETOOLONG, ENOTDIR, EISDIR, EEXIST, ENOENT, EIO,
                        EFBIG, EMLINK, ELOOP, EBUSY, ETXTBSY, EXDEV, ENOTEMPTY, EMFILE, ENFILE}) {
        const QString system = QString::fromLocal8Bit(std::strerror(e));
        EXPECT_NE(SystemfehlerBeschreibung(e), system) << e;
        EXPECT_NE(FehlerAusErrno(e).beschreibung, system) << e;
    }
    // Others keep the system's own text.
    EXPECT_EQ(SystemfehlerBeschreibung(ENOPROTOOPT), QString::fromLocal8Bit(std::strerror(ENOPROTOOPT)));
}

TEST_F(VerschiebenTest, FehlerDerEchtenWegeSprechenDeutsch)
{
    const QString quelle = baum.Datei("q/x.mp3", "x");
    baum.Datei("datei.mp3", "keine Ordner");
    ::symlink("schleife", QFile::encodeName(baum.Pfad("schleife")).constData());
    const struct {
        QString ziel;
        int modus;
        QString text;
    } fälle[] = {
        {baum.Pfad(QString(256, 'n') + ".mp3"), 1, "Der Dateiname ist zu lang (Fehler 36)."},
        {baum.Pfad("datei.mp3/unter/x.mp3"), 1,
         "Der Ordner '" + baum.Pfad("datei.mp3") + "' kann nicht angelegt werden: Ein Teil des Pfades ist kein Ordner (Fehler 20)."},
        {baum.Pfad("schleife/x.mp3"), 0,
         "Der Ordner '" + baum.Pfad("schleife") + "' kann nicht angelegt werden: Zu viele Ebenen symbolischer Verknüpfungen (Fehler 40)."},
    };
    for (const auto& f : fälle) {
        QString ziel = f.ziel, meldung;
        int modus = f.modus;
        EXPECT_FALSE(Verschieben(quelle, ziel, modus, meldung));
        EXPECT_EQ(meldung, "Es ist ein Fehler beim Ändern des Dateinamens '" + quelle + "' aufgetreten.\n" + f.text)
            << meldung.toStdString();
    }
}

TEST_F(VerschiebenTest, FremderPfadGiltAlsFehlendeDatei)
{
    // A stored Windows path is a missing file here, whatever the target.
    for (const QString& ziel : {baum.Pfad("neu.mp3"), QString("D:\\Neu\\neu.mp3")})
        for (int modus : {0, 1}) {
            QString z = ziel, meldung;
            EXPECT_FALSE(Verschieben("C:\\Musik\\alt.mp3", z, modus, meldung));
            EXPECT_EQ(meldung, "Die Datei 'C:\\Musik\\alt.mp3' (Quelldatei) kann nicht verschoben oder umbenannt "
                               "werden.\nDiese 'C:\\Musik\\alt.mp3' existiert nicht.");
        }
}

TEST_F(VerschiebenTest, VerknüpfungFührtNachDemVerschiebenZurSelbenDatei)
{
    Baum anderes("/dev/shm");
    const QString daten = baum.Datei("daten/lied.mp3", "daten");
    ::chmod(QFile::encodeName(daten).constData(), 0444); // removing the old link must not make it writable
    const QString link = baum.Ordner("links") + "/l.mp3";
    fragen.antworten = {DateiExistiert::Ersetzen};
    // Into another folder, renamed in its folder, to another file system, over a file it replaces.
    for (const QString& neu : {baum.Pfad("neu/tief/a.mp3"), baum.Pfad("links/b.mp3"), anderes.Pfad("c.mp3"),
                               baum.Datei("e/vorhanden.mp3", "alt")}) {
        ASSERT_EQ(::symlink("../daten/lied.mp3", QFile::encodeName(link).constData()), 0);
        QString ziel = neu, meldung;
        int modus = 1;
        ASSERT_TRUE(Verschieben(link, ziel, modus, meldung)) << meldung.toStdString();
        EXPECT_TRUE(QFileInfo(neu).isSymLink() && GleicheDatei(neu, daten)) << neu.toStdString();
        EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the old link went";
        EXPECT_TRUE(Reste(PfadZurückgeben(neu)).isEmpty());
    }
    EXPECT_EQ(Lesen(daten), "daten");
    EXPECT_FALSE(QFileInfo(daten).permissions().testFlag(QFileDevice::WriteOwner));

    // Where no link can be made, the old one stays and the message says why.
    ASSERT_EQ(::symlink("../daten/lied.mp3", QFile::encodeName(link).constData()), 0);
    Schreibschutz sperre(baum.Ordner("gesperrt"));
    if (!sperre.aktiv)
        GTEST_SKIP() << "cannot make a folder read-only here";
    QString ziel = baum.Pfad("gesperrt/l.mp3"), meldung;
    int modus = 1;
    EXPECT_FALSE(Verschieben(link, ziel, modus, meldung));
    EXPECT_TRUE(meldung.startsWith("Es ist ein Fehler beim Ändern des Dateinamens '" + link
                                   + "' aufgetreten.\nDie Datei ist eine symbolische Verknüpfung, die in '"
                                   + sperre.ordner + "' nicht angelegt werden kann: "))
        << meldung.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST_F(VerschiebenTest, NamenBisZurGrenzeVon255Bytes)
{
    Baum anderes("/dev/shm");
    const QString name = QString(84, QChar(0x672C)) + ".ab"; // 255 bytes
    const QString quelle = baum.Datei("lang/" + name, "lang");
    fragen.antworten = {DateiExistiert::Ersetzen};
    // Copied, copied over a file of that name, moved to another file system and back.
    const std::pair<QString, int> fälle[] = {
        {baum.Pfad("kopie/" + name), 0}, {baum.Datei("ersetzt/" + name, "alt"), 0}, {anderes.Pfad(name), 1},
        {quelle, 1}};
    QString von = quelle;
    for (auto [ziel, modus] : fälle) {
        QString meldung;
        ASSERT_TRUE(Verschieben(von, ziel, modus, meldung)) << meldung.toStdString();
        EXPECT_EQ(Lesen(ziel), "lang");
        EXPECT_TRUE(Reste(PfadZurückgeben(ziel)).isEmpty());
        von = modus == 1 ? ziel : von;
    }
}
