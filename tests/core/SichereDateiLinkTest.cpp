// Saving through symbolic links: the file the links lead to is replaced, the
// temporary file lies beside it, and the links stay links.

#include "core/SichereDatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Schreiben(const QString& pfad, const QByteArray& d)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(d);
}

QByteArray Lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Speichern(const QString& pfad, const QByteArray& d, const char* suffix = "~")
{
    SichereDatei s(pfad, QString::fromLatin1(suffix));
    return s.Öffnen() && s.Schreiben(d) && s.Fertigstellen();
}

} // namespace

TEST(SichereDateiLink, ChainsOfRelativeAndAbsoluteLinksReachTheirTarget)
{
    QTemporaryDir t;
    ASSERT_TRUE(t.isValid());
    QDir d(t.path());
    d.mkpath(QStringLiteral("echt/tief"));
    d.mkpath(QStringLiteral("links"));
    const QString ziel = t.filePath(QStringLiteral("echt/tief/index.kvx"));
    Schreiben(ziel, "alt");
    // links/a -> ../echt/tief/index.kvx (relative), b -> links/a (absolute)
    ASSERT_TRUE(QFile::link(QStringLiteral("../echt/tief/index.kvx"), t.filePath(QStringLiteral("links/a"))));
    ASSERT_TRUE(QFile::link(t.filePath(QStringLiteral("links/a")), t.filePath(QStringLiteral("b"))));
    const QString b = t.filePath(QStringLiteral("b"));
    EXPECT_EQ(QFileInfo(SymlinkZielAuflösen(b)).canonicalFilePath(), QFileInfo(ziel).canonicalFilePath());
    {
        SichereDatei s(b, QStringLiteral("-neu"));
        EXPECT_EQ(QFileInfo(s.TempName()).absolutePath(), QFileInfo(ziel).absolutePath());
    }

    ASSERT_TRUE(Speichern(b, "neu"));
    EXPECT_TRUE(QFileInfo(b).isSymLink());
    EXPECT_TRUE(QFileInfo(t.filePath(QStringLiteral("links/a"))).isSymLink());
    EXPECT_EQ(Lesen(ziel), "neu");
    EXPECT_EQ(Lesen(b), "neu");
    // No temporary file left anywhere.
    EXPECT_FALSE(QFile::exists(b + QStringLiteral("~")));
    EXPECT_FALSE(QFile::exists(ziel + QStringLiteral("~")));

    // A failed rename leaves the target and the links as they were.
    SichereDatei::FehlerBeimUmbenennen(true);
    EXPECT_FALSE(Speichern(b, "verloren"));
    SichereDatei::FehlerBeimUmbenennen(false);
    EXPECT_EQ(Lesen(ziel), "neu");
    EXPECT_TRUE(QFileInfo(b).isSymLink());
    EXPECT_FALSE(QFile::exists(ziel + QStringLiteral("~")));

    // A plain file is its own target; a link to a missing file creates it.
    const QString plain = t.filePath(QStringLiteral("plain"));
    EXPECT_EQ(SymlinkZielAuflösen(plain), plain);
    const QString hängend = t.filePath(QStringLiteral("haengend"));
    ASSERT_TRUE(QFile::link(QStringLiteral("echt/neu.kvx"), hängend));
    ASSERT_TRUE(Speichern(hängend, "x"));
    EXPECT_TRUE(QFileInfo(hängend).isSymLink());
    EXPECT_EQ(Lesen(t.filePath(QStringLiteral("echt/neu.kvx"))), "x");
    // A loop of links is not followed for ever.
    ASSERT_TRUE(QFile::link(t.filePath(QStringLiteral("s2")), t.filePath(QStringLiteral("s1"))));
    ASSERT_TRUE(QFile::link(t.filePath(QStringLiteral("s1")), t.filePath(QStringLiteral("s2"))));
    SymlinkZielAuflösen(t.filePath(QStringLiteral("s1")));
}

// A name of 252 to 255 bytes still gets its temporary file: the temporary
// name is cut short (never mid-character) instead of failing.
TEST(SichereDatei, NamesAtTheSystemsLimitAreSavedThroughAShortenedTemporaryName)
{
    QTemporaryDir t;
    // 252 and 255 bytes, in characters of one to four bytes.
    for (const QString& name :
         {QString(84, QChar(0x65E5)), QString::fromUtf8("😀").repeated(63) + "abc", QString(255, QLatin1Char('a'))})
        for (const char* suffix : {"~", "-neu"}) {
            const QString pfad = t.filePath(name), temp = TempNameBilden(pfad, QString::fromLatin1(suffix));
            Schreiben(pfad, "alt");
            EXPECT_TRUE(temp.endsWith(QLatin1String(suffix)));
            EXPECT_EQ(QFile::decodeName(QFile::encodeName(temp)), temp) << "whole characters only";
            ASSERT_TRUE(Speichern(pfad, "neu", suffix)) << name.size() << suffix;
            EXPECT_EQ(Lesen(pfad), "neu");
            EXPECT_FALSE(QFile::exists(temp));
        }
    EXPECT_EQ(TempNameBilden("/a/b.mp3", "-neu"), "/a/b.mp3-neu") << "short names keep the plain suffix";
}

TEST(SichereDatei, AFailureGivesItsReasonInGerman)
{
    QTemporaryDir t;
    SichereDatei ohneOrdner(t.filePath("fehlt/x.mp3"), "~");
    EXPECT_FALSE(ohneOrdner.Öffnen());
    EXPECT_EQ(ohneOrdner.Fehler(), "Datei oder Ordner nicht gefunden");
}
