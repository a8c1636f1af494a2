// The managed-type test and the small file and folder helpers.

#include "core/Index.h"
#include "core/Standardwerte.h"
#include "core/Dateihelfer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Anlegen(const QString& pfad)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(DateiTypPruefen, MarkAndKindDecide)
{
    Index i;
    i.strDateiTypen = {"mp3=1", "wav=1", "jpg=0", "txt=1"};
    i.strDateiTypArten = {"110", "010", "001", "000"};
    // Extension case does not matter; unrestricted, every listed type passes.
    EXPECT_TRUE(DateiTypPrüfen(i, "/m/song.MP3", false, false, false, true));
    EXPECT_TRUE(DateiTypPrüfen(i, "/m/bild.jpg", false, false, false, false));
    // Marked "0": refused only when only active types count.
    EXPECT_FALSE(DateiTypPrüfen(i, "/m/bild.jpg", false, false, false, true));
    // MPEG audio: refused only by "no audio".
    EXPECT_TRUE(DateiTypPrüfen(i, "a.mp3", true, false, true, true));
    EXPECT_FALSE(DateiTypPrüfen(i, "a.mp3", false, true, false, true));
    // Other audio: refused by "no audio" and "only MPEG audio".
    EXPECT_FALSE(DateiTypPrüfen(i, "a.wav", true, false, false, true));
    EXPECT_FALSE(DateiTypPrüfen(i, "a.wav", false, true, false, true));
    EXPECT_TRUE(DateiTypPrüfen(i, "a.wav", false, false, true, true));
    // Pictures: refused by "no pictures" and "only MPEG audio".
    EXPECT_FALSE(DateiTypPrüfen(i, "a.jpg", false, false, true, false));
    EXPECT_FALSE(DateiTypPrüfen(i, "a.jpg", true, false, false, false));
    EXPECT_TRUE(DateiTypPrüfen(i, "a.jpg", false, true, false, false));
    // Kind "000" passes every restriction.
    EXPECT_TRUE(DateiTypPrüfen(i, "a.txt", true, true, true, true));

    // Unlisted types pass only through "*=1" and only when active types count.
    EXPECT_FALSE(DateiTypPrüfen(i, "x.abc", false, false, false, true));
    i.strDateiTypen.insert(0, "*=1");
    i.strDateiTypArten.insert(0, "000");
    EXPECT_TRUE(DateiTypPrüfen(i, "x.abc", false, false, false, true));
    EXPECT_FALSE(DateiTypPrüfen(i, "x.abc", false, false, false, false));
    EXPECT_FALSE(DateiTypPrüfen(i, "ohne_endung", false, false, false, false));
    // A dot in a folder name is no extension.
    EXPECT_FALSE(DateiTypPrüfen(i, "/musik.mp3/datei", false, false, false, false));

    // The built-in list.
    StandardwerteSetzen();
    Index s;
    s.strDateiTypen = standardwerte().strStandardDateiTypen;
    s.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    EXPECT_TRUE(DateiTypPrüfen(s, "a.mp2", true, false, false, true));
    EXPECT_FALSE(DateiTypPrüfen(s, "a.gif", false, false, false, true));
    EXPECT_FALSE(DateiTypPrüfen(s, "a.xyz", false, false, false, true)); // "*=0"
}

TEST(Dateihelfer, FoldersAndDeletion)
{
    QTemporaryDir dir;
    const QString ordner = dir.filePath("o");
    ASSERT_TRUE(QDir().mkdir(ordner));
    EXPECT_TRUE(IstOrdner(ordner));
    EXPECT_FALSE(WeitereDateienInOrdner(ordner));
    EXPECT_FALSE(WeitereDateienInOrdner(ordner + "/"));
    EXPECT_FALSE(WeitereDateienInOrdner(dir.filePath("fehlt")));

    // A folder holding only an empty sub-folder, or only a hidden file, is not empty.
    ASSERT_TRUE(QDir().mkdir(ordner + "/leer"));
    EXPECT_TRUE(WeitereDateienInOrdner(ordner + "/"));
    EXPECT_FALSE(OrdnerLöschen(ordner));
    EXPECT_TRUE(OrdnerLöschen(ordner + "/leer"));
    Anlegen(ordner + "/.versteckt");
    EXPECT_TRUE(WeitereDateienInOrdner(ordner));

    // A read-only file is deleted too; a missing one counts as deleted.
    const QString datei = ordner + "/.versteckt";
    QFile::setPermissions(datei, QFileDevice::ReadOwner);
    EXPECT_FALSE(IstOrdner(datei));
    EXPECT_TRUE(OrdnerLöschen(datei)); // no folder: nothing to do
    EXPECT_TRUE(DateiLöschen(datei));
    EXPECT_FALSE(QFile::exists(datei));
    EXPECT_TRUE(DateiLöschen(datei));
    EXPECT_FALSE(DateiLöschen(ordner)); // a folder is not deleted as a file
    EXPECT_TRUE(OrdnerLöschen(ordner));
    EXPECT_FALSE(IstOrdner(ordner));
    EXPECT_TRUE(OrdnerLöschen(ordner));
}

TEST(Dateihelfer, SequentialNames)
{
    EXPECT_EQ(ZählerErhöhen("007"), "8");
    EXPECT_EQ(ZählerErhöhen(" 41 "), "42");
    EXPECT_EQ(ZählerErhöhen("-1"), "0");
    EXPECT_EQ(ZählerErhöhen("abc"), "");
    EXPECT_EQ(ZählerErhöhen(""), "");
    EXPECT_EQ(ZählerErhöhen("2147483647"), ""); // would not fit
    EXPECT_EQ(ZählerErhöhen("99999999999"), "");

    QTemporaryDir dir;
    const QString alt = dir.filePath("irgendwas.mp3");
    EXPECT_EQ(FortlaufendenDateinamen(alt, "Track", "007", ""), dir.filePath("Track007.mp3"));
    Anlegen(dir.filePath("Track007.mp3"));
    Anlegen(dir.filePath("Track8.mp3"));
    EXPECT_EQ(FortlaufendenDateinamen(alt, "Track", "007", " (neu)"), dir.filePath("Track007 (neu).mp3"));
    EXPECT_EQ(FortlaufendenDateinamen(alt, "Track", "007", ""), dir.filePath("Track9.mp3"));
    // A counter that is no number stays without a number; when that name is
    // taken the search gives up.
    Anlegen(dir.filePath("Trackx.mp3"));
    Anlegen(dir.filePath("Track.mp3"));
    EXPECT_EQ(FortlaufendenDateinamen(alt, "Track", "x", ""), "");
}
