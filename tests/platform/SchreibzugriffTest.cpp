// Whether another program holds a file open for writing: a real second
// process holds it (or maps it), a writer is seen, a reader is no reason; the same with
// the lease refused (the look into the processes), and as a normal user on a
// file of its own and on another user's (no lease for that).

#include "platform/Schreibzugriff.h"
#include "support/FremderProzess.h"
#include "support/NormalerBenutzer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

using Art = FremderProzess::Art;
using testhilfe::NormalerBenutzer;

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

struct Fall {
    const char* was;
    std::optional<Art> andere; // what another process holds
    bool eigeneZweite;         // this process holds a second descriptor for writing
    bool schreiberGesehen;     // what the check must answer
};

const Fall kFälle[] = {
    {"nobody else", std::nullopt, false, false},
    {"a player reading", Art::Lesen, false, false},
    {"a download writing", Art::Schreiben, false, true},
    {"a download appending", Art::Anhängen, false, true},
    {"an editor reading and writing", Art::LesenSchreiben, false, true},
    {"only this process, twice", std::nullopt, true, false},
    {"this process twice and a reader", Art::Lesen, true, false},
    {"a program writing through a mapping, its descriptor closed", Art::Abbilden, false, true},
    {"a player reading through a mapping", Art::AbbildenLesen, false, false},
};

enum class Wer { DieserProzess, BenutzerMitEigenerDatei, BenutzerMitFremderDatei };
const char* const kWer[] = {"DieserProzess", "BenutzerMitEigenerDatei", "BenutzerMitFremderDatei"};

class Schreibzugriff : public ::testing::TestWithParam<std::tuple<bool, Wer>> {
protected:
    QTemporaryDir ordner;
    void TearDown() override { SchreibzugriffOhneLease(false); }
};

} // namespace

TEST_P(Schreibzugriff, WriterSeenReaderNoReason)
{
    const auto [ohneLease, wer] = GetParam();
    const bool fremd = wer == Wer::BenutzerMitFremderDatei;
    if (fremd && ::geteuid() != 0)
        GTEST_SKIP() << "needs root for another user's file";
    SchreibzugriffOhneLease(ohneLease);
    // Another user's files lie in root's folder, open to all.
    ASSERT_EQ(::chmod(QFile::encodeName(ordner.path()).constData(), 0755), 0);
    for (size_t n = 0; n < std::size(kFälle); ++n) {
        QFile f(ordner.filePath(QString::number(n)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("inhalt");
        if (fremd)
            ASSERT_EQ(::chmod(QFile::encodeName(f.fileName()).constData(), 0666), 0);
    }
    std::optional<NormalerBenutzer> benutzer;
    if (wer != Wer::DieserProzess) {
        benutzer.emplace(fremd ? QStringList() : QStringList{ordner.path()});
        if (!benutzer->aktiv)
            GTEST_SKIP() << "no normal user to drop to here";
    }
    for (size_t n = 0; n < std::size(kFälle); ++n) {
        const Fall& fall = kFälle[n];
        SCOPED_TRACE(fall.was);
        const QString pfad = ordner.filePath(QString::number(n));
        std::optional<FremderProzess> andere;
        if (fall.andere) {
            andere.emplace(pfad, *fall.andere);
            ASSERT_TRUE(andere->Offen());
        }
        const int zweite = fall.eigeneZweite ? ::open(QFile::encodeName(pfad).constData(), O_RDWR | O_CLOEXEC) : -1;
        for (const int modus : {O_RDONLY, O_RDWR})
            EXPECT_EQ(Prüfen(pfad, modus), fall.schreiberGesehen) << modus;
        if (zweite >= 0)
            ::close(zweite);
        andere.reset();
        EXPECT_FALSE(Prüfen(pfad, O_RDONLY)) << "the other program is gone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    MitUndOhneLease, Schreibzugriff,
    ::testing::Combine(::testing::Bool(),
                       ::testing::Values(Wer::DieserProzess, Wer::BenutzerMitEigenerDatei, Wer::BenutzerMitFremderDatei)),
    [](const auto& i) { return (std::get<0>(i.param) ? "OhneLease" : "MitLease") + std::string(kWer[int(std::get<1>(i.param))]); });
