// Reading a media file that is no regular file: a FIFO or a device is refused
// at once (the entry keeps its record, as for a missing file), never opened
// and waited on, never read without end.

#include "core/Index.h"
#include "core/Standardwerte.h"
#include "media/MedienInfosLesen.h"
#include "support/Sonderdateien.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

MedienInfo Lesen(const Index& index, const QString& pfad, const MedienInfo& alt)
{
    return MedienInfosLesen(index, pfad, alt, QStringLiteral("11"), false, QStringLiteral("1"), QStringLiteral("1"));
}

} // namespace

TEST(Sonderdateien, FifoUndGerätBehaltenIhrenEintrag)
{
    StandardwerteSetzen();
    Index index;
    index.strDateiTypen = standardwerte().strStandardDateiTypen;
    index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FifoWächter fifo(dir.filePath("pipe.mp3"));
    ASSERT_TRUE(fifo.Angelegt());
    const QString gerät = dir.filePath("zero.mp3");
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(gerät).constData()), 0);

    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Titel = "gespeichert";
    alt.Mp3_ID3v2_Vorhanden = 1;
    alt.Mp3_ID3v2_Titel = "auch";
    alt.Datei_Größe = 4711;
    alt.Datei_HinzugefügtAm = "01.02.2003";
    for (const QString& pfad : {dir.filePath("pipe.mp3"), gerät}) {
        SCOPED_TRACE(pfad.toStdString());
        QElapsedTimer uhr;
        uhr.start();
        const MedienInfo m = Lesen(index, pfad, alt);
        EXPECT_LT(uhr.elapsed(), 2000);
        EXPECT_EQ(m.Mp3_ID3v1_Titel, "gespeichert") << "the stored tags stay";
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "auch");
        EXPECT_EQ(m.Datei_Größe, -1) << "refused as no file";
        EXPECT_EQ(m.Datei_HinzugefügtAm, "01.02.2003");
    }
    EXPECT_FALSE(fifo.Geöffnet()) << "the FIFO was opened and would have blocked";
}

// `medieninfo-dump x.mp3` on a FIFO returns at once and says it refused it.
TEST(Sonderdateien, MedieninfoDumpKehrtBeiFifoSofortZurück)
{
    const QString werkzeug = QCoreApplication::applicationDirPath() + "/../tools/medieninfo-dump";
    if (!QFileInfo::exists(werkzeug))
        GTEST_SKIP() << "medieninfo-dump not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FifoWächter fifo(dir.filePath("x.mp3"));
    ASSERT_TRUE(fifo.Angelegt());
    QProcess p;
    p.start(werkzeug, {dir.filePath("x.mp3")});
    ASSERT_TRUE(p.waitForFinished(10000)) << "medieninfo-dump hangs on a FIFO";
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardError().contains("no regular file, refused"));
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("\"Datei_Größe\":-1")));
    EXPECT_FALSE(fifo.Geöffnet());
}
