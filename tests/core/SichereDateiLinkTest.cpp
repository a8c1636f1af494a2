// Saving through symbolic links: the file the links lead to is replaced, the
// temporary file lies beside it, and the links stay links.

#include "core/SichereDatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <tuple>
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

// A name of 252 to 255 bytes (in characters of one to four bytes) still gets
// its temporary file: the temporary name is cut short, never mid-character.
// A failure gives its reason in German.
TEST(SichereDatei, NamesAtTheSystemsLimitAreSavedThroughAShortenedTemporaryName)
{
    QTemporaryDir t;
    for (const QString& name :
         {QString(84, QChar(0x65E5)), QString::fromUtf8("😀").repeated(63) + "abc", QString(255, QLatin1Char('a'))})
        for (const char* suffix : {"~", "-neu"}) {
            const QString pfad = t.filePath(name), temp = TempNameBilden(pfad, QString::fromLatin1(suffix));
            Schreiben(pfad, "alt");
            EXPECT_TRUE(temp.endsWith(QLatin1String(suffix)));
            EXPECT_EQ(QFile::decodeName(QFile::encodeName(temp)), temp) << "whole characters only";
            EXPECT_TRUE(Speichern(pfad, "neu", suffix)) << name.size() << suffix;
        }
    EXPECT_EQ(TempNameBilden("/a/b.mp3", "-neu"), "/a/b.mp3-neu") << "short names keep the plain suffix";
    SichereDatei ohneOrdner(t.filePath("fehlt/x.mp3"), "~");
    EXPECT_FALSE(ohneOrdner.Öffnen());
    EXPECT_EQ(ohneOrdner.Fehler(), "Datei oder Ordner nicht gefunden");
}

// The temporary copy has the original's owner, group and bits from its
// creation, so that no one else reads a private file's copy.
TEST(SichereDateiRechte, TheCopyHasTheOriginalsModeAndOwnerFromItsFirstByte)
{
    QTemporaryDir t;
    const mode_t maske = ::umask(0);
    const auto rechte = [](const QString& pfad) {
        const struct stat st = Angaben(pfad);
        return std::tuple(st.st_mode & 07777, st.st_uid, st.st_gid);
    };
    for (const mode_t modus : {mode_t(0600), mode_t(0640), mode_t(0604), mode_t(0751), mode_t(0444)}) {
        SCOPED_TRACE(modus);
        const QString pfad = t.filePath(QString::number(modus));
        Schreiben(pfad, "alt");
        ASSERT_EQ(::chmod(QFile::encodeName(pfad).constData(), modus), 0);
        if (::geteuid() == 0) // an owner of its own, where the process may give one
            ASSERT_EQ(::chown(QFile::encodeName(pfad).constData(), 4321, 4322), 0);
        const auto vorher = rechte(pfad);
        SichereDatei s(pfad, QStringLiteral("-neu"));
        ASSERT_TRUE(s.Öffnen() && s.Schreiben(QByteArray("neu")));
        EXPECT_EQ(rechte(s.TempName()), vorher);
        ASSERT_TRUE(s.Fertigstellen());
        EXPECT_EQ(rechte(pfad), vorher);
    }
    // A new file gets the usual mode of new files.
    ::umask(022);
    ASSERT_TRUE(Speichern(t.filePath(QStringLiteral("neu")), "x"));
    EXPECT_EQ(std::get<0>(rechte(t.filePath(QStringLiteral("neu")))), 0644u);
    ::umask(maske);
}

// Appended to, touched or put in another file's place meanwhile: the
// original stays as the other program left it.
TEST(SichereDateiRechte, AnOriginalChangedMeanwhileIsNotReplaced)
{
    QTemporaryDir t;
    const QString pfad = t.filePath(QStringLiteral("a.mp3")), anderer = pfad + "2";
    const auto datieren = [](const QString& p, time_t zeit) {
        const struct timespec zeiten[2] = {{zeit, 0}, {zeit, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), zeiten, 0), 0);
    };
    const std::vector<std::pair<const char*, std::function<void()>>> fälle = {
        {"appended", [&] { QFile f(pfad); ASSERT_TRUE(f.open(QIODevice::Append)); f.write("mehr"); }},
        {"same size, new time", [&] { datieren(pfad, 2000000000); }},
        {"another file of the same size and time",
         [&] { ASSERT_EQ(::rename(QFile::encodeName(anderer).constData(), QFile::encodeName(pfad).constData()), 0); }},
    };
    for (const auto& [name, ändern] : fälle) {
        SCOPED_TRACE(name);
        for (const QString& p : {pfad, anderer}) {
            Schreiben(p, "alt");
            datieren(p, 1000000000);
        }
        QByteArray danach;
        SichereDatei s(pfad, QStringLiteral("-neu"));
        s.UnverändertVerlangen(DateiStandVon(Angaben(pfad)));
        SichereDatei::TestHaken([&](SichereDatei::Schritt) {
            ändern();
            danach = Lesen(pfad);
        });
        EXPECT_FALSE(s.Öffnen() && s.Schreiben(QByteArray("neu")) && s.Fertigstellen());
        SichereDatei::TestHaken({});
        EXPECT_EQ(s.Fehler(), "Die Datei wurde während des Speicherns verändert.");
        EXPECT_EQ(Lesen(pfad), danach);
    }
}

// The temporary copy never takes a name that is already there: a leftover or
// the user's own file of that name stays through every way a rewrite ends.
TEST(SichereDateiTempName, ATakenNameStaysWhateverTheEnd)
{
    enum Ende { Fertig, Schreibfehler, Umbenennfehler, Fallengelassen };
    QTemporaryDir t;
    const QString ziel = t.filePath("a.mp3");
    const QByteArray neu(2 << 20, 'n');
    for (const char* suffix : {"~", "-neu"})
        for (const Ende ende : {Fertig, Schreibfehler, Umbenennfehler, Fallengelassen}) {
            SCOPED_TRACE(testing::Message() << suffix << " " << ende);
            const QString belegt = ziel + QLatin1String(suffix);
            Schreiben(ziel, "alt");
            Schreiben(belegt, "übrig");
            QString temp;
            {
                SichereDatei s(ziel, QString::fromLatin1(suffix));
                ASSERT_TRUE(s.Öffnen());
                temp = s.TempName();
                EXPECT_EQ(temp, belegt + "1");
                SichereDatei::FehlerBeiSchreibvorgang(ende == Schreibfehler ? 1 : 0);
                SichereDatei::FehlerBeimUmbenennen(ende == Umbenennfehler);
                EXPECT_EQ(s.Schreiben(neu) && ende != Fallengelassen && s.Fertigstellen(), ende == Fertig);
                SichereDatei::FehlerBeiSchreibvorgang(0);
                SichereDatei::FehlerBeimUmbenennen(false);
            }
            EXPECT_EQ(Lesen(belegt), "übrig");
            EXPECT_FALSE(QFileInfo::exists(temp));
            EXPECT_EQ(Lesen(ziel), ende == Fertig ? neu : QByteArray("alt"));
        }
}
