// Saving through symbolic links: the file the links lead to is replaced, the
// temporary file lies beside it, and the links stay links. The temporary
// file is private from its creation, with the original's owner, group and
// permission bits before its first byte; and the original is replaced only
// while it is still as it was read.

#include "core/SichereDatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

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

struct stat Angaben(const QString& pfad)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(pfad).constData(), &st), 0);
    return st;
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


TEST(SichereDateiRechte, TheCopyHasTheOriginalsModeAndOwnerFromItsFirstByte)
{
    QTemporaryDir t;
    ASSERT_TRUE(t.isValid());
    const mode_t maske = ::umask(0);
    const bool root = ::geteuid() == 0;
    int n = 0;
    for (const mode_t modus : {mode_t(0600), mode_t(0640), mode_t(0604), mode_t(0751), mode_t(0444)}) {
        SCOPED_TRACE(modus);
        const QString pfad = t.filePath(QStringLiteral("f%1").arg(n++));
        Schreiben(pfad, "alt");
        ASSERT_EQ(::chmod(QFile::encodeName(pfad).constData(), modus), 0);
        if (root)
            ASSERT_EQ(::chown(QFile::encodeName(pfad).constData(), 4321, 4322), 0);
        SichereDatei s(pfad, QStringLiteral("-neu"));
        ASSERT_TRUE(s.Öffnen());
        ASSERT_TRUE(s.Schreiben(QByteArray("n")));
        const struct stat temp = Angaben(s.TempName());
        EXPECT_EQ(temp.st_mode & 07777, modus);
        ASSERT_TRUE(s.Schreiben(QByteArray("eu")));
        ASSERT_TRUE(s.Fertigstellen());
        const struct stat st = Angaben(pfad);
        EXPECT_EQ(st.st_mode & 07777, modus);
        if (root) {
            EXPECT_EQ(temp.st_uid, 4321u);
            EXPECT_EQ(st.st_uid, 4321u);
            EXPECT_EQ(st.st_gid, 4322u);
        }
        EXPECT_EQ(Lesen(pfad), "neu");
    }
    // A new file gets the usual mode of new files.
    ::umask(022);
    const QString neu = t.filePath(QStringLiteral("neu"));
    SichereDatei s(neu, QStringLiteral("~"));
    ASSERT_TRUE(s.Öffnen() && s.Schreiben(QByteArray("x")) && s.Fertigstellen());
    EXPECT_EQ(Angaben(neu).st_mode & 07777, 0644u);
    ::umask(maske);
}

TEST(SichereDateiRechte, AnOriginalChangedMeanwhileIsNotReplaced)
{
    QTemporaryDir t;
    ASSERT_TRUE(t.isValid());
    const QString pfad = t.filePath(QStringLiteral("a.mp3"));
    struct Fall {
        const char* name;
        std::function<void()> ändern; // nothing: unchanged
        bool ersetzt;
    };
    const std::vector<Fall> fälle = {
        {"unchanged", {}, true},
        {"appended", [&] { QFile f(pfad); ASSERT_TRUE(f.open(QIODevice::Append)); f.write("mehr"); }, false},
        {"same size, new time", [&] {
             const struct timespec zeiten[2] = {{0, UTIME_OMIT}, {2000000000, 5}};
             ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(pfad).constData(), zeiten, 0), 0);
         }, false},
        {"another file", [&] {
             Schreiben(pfad + "2", "alt");
             const struct stat alt = Angaben(pfad);
             const struct timespec zeiten[2] = {alt.st_atim, alt.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(pfad + "2").constData(), zeiten, 0), 0);
             ASSERT_EQ(::rename(QFile::encodeName(pfad + "2").constData(), QFile::encodeName(pfad).constData()), 0);
         }, false},
    };
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.name);
        Schreiben(pfad, "alt");
        QByteArray erwartet;
        SichereDatei s(pfad, QStringLiteral("-neu"));
        s.UnverändertVerlangen(DateiStandVon(Angaben(pfad)));
        SichereDatei::TestHaken([&](SichereDatei::Schritt) {
            if (fall.ändern)
                fall.ändern();
            erwartet = Lesen(pfad);
        });
        ASSERT_TRUE(s.Öffnen() && s.Schreiben(QByteArray("neu")));
        const bool ok = s.Fertigstellen();
        SichereDatei::TestHaken({});
        EXPECT_EQ(ok, fall.ersetzt);
        EXPECT_EQ(Lesen(pfad), fall.ersetzt ? QByteArray("neu") : erwartet);
        EXPECT_FALSE(QFile::exists(pfad + "-neu"));
        if (!ok) {
            EXPECT_EQ(s.FehlerNummer(), ESTALE);
            EXPECT_EQ(s.Fehler(), "Die Datei wurde während des Speicherns verändert.");
            EXPECT_FALSE(s.UmbenennenFehlgeschlagen());
        }
    }
}
