// Whether another program holds a file open for writing: a real second
// process holds it, a writer is seen, a reader is no reason; the same with
// the lease refused (the look into the processes), and as a normal user.

#include "platform/Schreibzugriff.h"
#include "support/FremderProzess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Art = FremderProzess::Art;

QString Anlegen(const QTemporaryDir& ordner, const QString& name)
{
    const QString pfad = ordner.filePath(name);
    QFile f(pfad);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("inhalt");
    return pfad;
}

// The check as the writers ask it, through a descriptor of their own.
bool Prüfen(const QString& pfad, int modus)
{
    const int fd = ::open(QFile::encodeName(pfad).constData(), modus | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ja = AndererProzessSchreibt(fd);
    ::close(fd);
    return ja;
}
bool PrüfenLesend(const QString& pfad) { return Prüfen(pfad, O_RDONLY); }
bool PrüfenOhneLease(const QString& pfad)
{
    SchreibzugriffOhneLease(true);
    return Prüfen(pfad, O_RDONLY);
}

struct Fall {
    const char* was;
    std::optional<Art> andere; // what another process holds
    bool eigeneZweite;         // this process holds a second descriptor for writing
    bool erwartet;
};

const Fall kFälle[] = {
    {"nobody else", std::nullopt, false, false},
    {"a player reading", Art::Lesen, false, false},
    {"a download writing", Art::Schreiben, false, true},
    {"a download appending", Art::Anhängen, false, true},
    {"an editor reading and writing", Art::LesenSchreiben, false, true},
    {"only this process, twice", std::nullopt, true, false},
    {"this process twice and a reader", Art::Lesen, true, false},
};

class Schreibzugriff : public ::testing::TestWithParam<bool> {
protected:
    QTemporaryDir ordner;
    void TearDown() override { SchreibzugriffOhneLease(false); }
};

} // namespace

TEST_P(Schreibzugriff, WriterSeenReaderNoReason)
{
    SchreibzugriffOhneLease(GetParam());
    int n = 0;
    for (const Fall& fall : kFälle) {
        SCOPED_TRACE(fall.was);
        const QString pfad = Anlegen(ordner, QString::number(n++));
        std::optional<FremderProzess> andere;
        if (fall.andere) {
            andere.emplace(pfad, *fall.andere);
            ASSERT_TRUE(andere->Offen());
        }
        const int zweite = fall.eigeneZweite ? ::open(QFile::encodeName(pfad).constData(), O_RDWR | O_CLOEXEC) : -1;
        for (const int modus : {O_RDONLY, O_RDWR})
            EXPECT_EQ(Prüfen(pfad, modus), fall.erwartet) << modus;
        if (zweite >= 0)
            ::close(zweite);
        andere.reset();
        EXPECT_FALSE(Prüfen(pfad, O_RDONLY)) << "the other program is gone";
    }
}

INSTANTIATE_TEST_SUITE_P(MitUndOhneLease, Schreibzugriff, ::testing::Bool());

// As a normal user: the lease on a file of one's own, the look into one's own
// processes where the file is another user's (no lease for that).
TEST(SchreibzugriffAlsBenutzer, OwnAndOthersFiles)
{
    const int niemand = NiemandsBenutzer();
    if (niemand < 0)
        GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir ordner;
    ASSERT_EQ(::chmod(QFile::encodeName(ordner.path()).constData(), 0755), 0);
    const QString eigene = Anlegen(ordner, "eigene.mp3");
    ASSERT_EQ(::chown(QFile::encodeName(eigene).constData(), uid_t(niemand), gid_t(-1)), 0);
    const QString fremde = Anlegen(ordner, "fremde.mp3");
    ASSERT_EQ(::chmod(QFile::encodeName(fremde).constData(), 0666), 0);
    for (const QString& pfad : {eigene, fremde}) {
        SCOPED_TRACE(pfad.toStdString());
        EXPECT_EQ(AlsBenutzer(niemand, PrüfenLesend, pfad), 0);
        {
            FremderProzess spieler(pfad, Art::Lesen, niemand);
            ASSERT_TRUE(spieler.Offen());
            EXPECT_EQ(AlsBenutzer(niemand, PrüfenLesend, pfad), 0) << "a reader";
        }
        FremderProzess download(pfad, Art::Anhängen, niemand);
        ASSERT_TRUE(download.Offen());
        EXPECT_EQ(AlsBenutzer(niemand, PrüfenLesend, pfad), 1);
        EXPECT_EQ(AlsBenutzer(niemand, PrüfenOhneLease, pfad), 1);
    }
}
