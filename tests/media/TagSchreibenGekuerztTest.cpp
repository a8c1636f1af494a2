// A file that another program shortens while its tag is rewritten: the write
// is refused saying that the file was changed, and the file stays as the
// other program left it.
#include "core/SichereDatei.h"
#include "media/TagSchreiben.h"
#include "platform/Schreibzugriff.h"
#include "support/Mp3Bauer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Mp3Bauer;

TEST(TagSchreibenGekürzt, EineVonAußenGekürzteDateiMeldetDieÄnderung)
{
    QTemporaryDir ordner;
    const QString p = ordner.filePath("lied.mp3");
    // Padding lets the in-place write be tried first; the appended ID3v1 tag
    // then needs a rewrite (no lease here), which copies the shortened file.
    const QByteArray daten = Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("alt"))}, .padding = 2000}.Bytes()
                           + Frames(Frame(), 400);
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(daten), daten.size());
    }
    const QByteArray gekürzt = daten.left(daten.size() / 2);
    SchreibzugriffOhneLease(true);
    SichereDatei::TestHaken([&](SichereDatei::Schritt s) {
        if (s == SichereDatei::Schritt::VorDemSchreiben)
            QFile::resize(p, gekürzt.size());
    });
    QString meldung;
    const bool ok = Mp3TAGSpeichernV1(p, Id3v1Block({.titel = "Neu"}), meldung);
    SichereDatei::TestHaken({});
    SchreibzugriffOhneLease(false);

    EXPECT_FALSE(ok);
    EXPECT_TRUE(meldung.contains("\nDie Datei wurde während des Speicherns verändert.")) << meldung.toStdString();
    EXPECT_FALSE(meldung.contains("Ein-/Ausgabefehler")) << meldung.toStdString();
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), gekürzt);
    EXPECT_FALSE(QFile::exists(p + "-neu"));
}
