// Whether another program holds a file open for writing: a real second
// process holds it (or maps it), a writer is seen, a reader is no reason; the same with
// the lease refused (the look into the processes), and as a normal user on a
// file of its own and on another user's (no lease for that).

#include "platform/Schreibzugriff.h"
#include "support/FremderProzess.h"
#include "support/NormalerBenutzer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <sys/fanotify.h>
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

// As a normal user, or as this process is.
class SchreibzugriffImStapel : public ::testing::TestWithParam<bool> {};

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

// Where a player holds every file (the lease is refused for real), one look
// at the processes serves many checks: a writer that comes after an earlier
// check of the batch must still be seen at the next one, whether it opens
// a file already checked, another of the same folder, a file of a folder
// not checked yet, a file through a second name in another folder, or maps
// it and closes its descriptor; and one that is gone is no reason any more.
TEST_P(SchreibzugriffImStapel, SpaeterKommenderSchreiberGesehen)
{
    QTemporaryDir ordner;
    ASSERT_EQ(::chmod(QFile::encodeName(ordner.path()).constData(), 0755), 0);
    const QStringList namen = {"a/1", "a/2", "a/3", "b/1", "c/1", "e/1"};
    for (const QString& n : namen) {
        QDir().mkpath(ordner.filePath(n.section('/', 0, 0)));
        QFile f(ordner.filePath(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("inhalt");
    }
    // c/1 has a second name in a folder never looked at, through which its
    // writer opens it.
    ASSERT_TRUE(QDir().mkpath(ordner.filePath("d")));
    ASSERT_EQ(::link(QFile::encodeName(ordner.filePath("c/1")).constData(),
                     QFile::encodeName(ordner.filePath("d/zweiter")).constData()),
              0);
    std::optional<NormalerBenutzer> benutzer;
    if (GetParam()) {
        benutzer.emplace(QStringList{ordner.path()});
        if (!benutzer->aktiv)
            GTEST_SKIP() << "no normal user to drop to here";
    }
    std::vector<std::unique_ptr<FremderProzess>> spieler;
    for (const QString& n : namen) {
        spieler.push_back(std::make_unique<FremderProzess>(ordner.filePath(n), Art::Lesen));
        ASSERT_TRUE(spieler.back()->Offen());
    }
    const auto prüfen = [&](const char* n) { return Prüfen(ordner.filePath(QString::fromUtf8(n)), O_RDWR); };
    // What comes, then what each file's check answers.
    struct Schritt {
        const char* was;
        std::optional<Art> art; // how another program takes up a file
        const char* name;       // the name it opens the file by
        std::vector<std::pair<const char*, bool>> antworten;
    };
    const Schritt schritte[] = {
        {"players only", std::nullopt, "", {{"a/1", false}, {"a/2", false}, {"b/1", false}, {"c/1", false}}},
        {"a download on a file checked before", Art::Schreiben, "a/1", {{"a/1", true}, {"a/2", false}}},
        {"a download on another file of the folder", Art::Anhängen, "a/3", {{"a/3", true}, {"a/2", false}}},
        {"a writer through a mapping", Art::Abbilden, "a/2", {{"a/2", true}, {"a/1", true}}},
        {"a writer through the file's second name", Art::LesenSchreiben, "d/zweiter", {{"c/1", true}, {"b/1", false}}},
        {"a writer on a file of a folder not looked at yet", Art::Schreiben, "e/1", {{"e/1", true}, {"a/3", true}}},
    };
    std::vector<std::unique_ptr<FremderProzess>> schreiber;
    for (const Schritt& s : schritte) {
        SCOPED_TRACE(s.was);
        if (s.art) {
            schreiber.push_back(std::make_unique<FremderProzess>(ordner.filePath(QString::fromUtf8(s.name)), *s.art));
            ASSERT_TRUE(schreiber.back()->Offen());
        }
        for (const auto& [datei, ja] : s.antworten)
            EXPECT_EQ(prüfen(datei), ja) << datei;
    }
    schreiber.clear();
    for (const char* n : {"a/1", "a/2", "a/3", "c/1", "e/1"})
        EXPECT_FALSE(prüfen(n)) << n << ": the writers are gone";
}

INSTANTIATE_TEST_SUITE_P(AlsRootUndBenutzer, SchreibzugriffImStapel, ::testing::Bool(),
                         [](const auto& i) { return i.param ? "NormalerBenutzer" : "DieserProzess"; });

// A writer seen at a look holds a file of another folder; it closes it and the
// file is deleted, and a new file of a folder already looked at gets its inode
// number (as ext4 gives freed numbers out again): that writer is no reason for
// the new file, although nobody did anything in its folder since.
TEST(SchreibzugriffNummern, AWriterOfAFileGoneIsNoReasonForANewFileWithItsNumber)
{
    QTemporaryDir ordner;
    ASSERT_TRUE(QDir(ordner.path()).mkpath("gesehen") && QDir(ordner.path()).mkpath("anderswo"));
    const auto anlegen = [](const QString& pfad) {
        QFile f(pfad);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("inhalt");
    };
    const auto inode = [](const QString& pfad) {
        struct stat st;
        return ::stat(QFile::encodeName(pfad).constData(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    // A second descriptor of this process refuses the lease, as a player's does.
    const auto prüfen = [](const QString& pfad) {
        const int zweite = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC);
        const bool ja = Prüfen(pfad, O_RDWR);
        ::close(zweite);
        return ja;
    };
    const QString erste = ordner.filePath("gesehen/erste"), weg = ordner.filePath("anderswo/download");
    anlegen(erste);
    anlegen(weg);
    const ino_t nummer = inode(weg);
    {
        FremderProzess download(weg, Art::Schreiben);
        ASSERT_TRUE(download.Offen());
        // Its folder is not watched: its close tells nothing.
        EXPECT_FALSE(prüfen(erste));
    }
    ASSERT_TRUE(QFile::remove(weg));
    // The folder's next new file that has the number.
    QString neu;
    for (int n = 0; n < 2000 && neu.isEmpty(); ++n) {
        const QString pfad = ordner.filePath(QStringLiteral("gesehen/%1").arg(n));
        anlegen(pfad);
        if (inode(pfad) == nummer)
            neu = pfad;
    }
    if (neu.isEmpty())
        GTEST_SKIP() << "this file system gave the inode number to no new file";
    EXPECT_FALSE(prüfen(neu));
    EXPECT_FALSE(prüfen(erste));
}

namespace {

// Sees, through a watch of its own on a folder, the moment another process's
// open of a file there has begun (its event comes before the open returns).
class Öffnungszeuge {
public:
    explicit Öffnungszeuge(const QString& ordner)
        : m_fd(::fanotify_init(FAN_CLASS_NOTIF | FAN_CLOEXEC | FAN_NONBLOCK | FAN_REPORT_FID, O_RDONLY))
    {
        if (m_fd >= 0
            && ::fanotify_mark(m_fd, FAN_MARK_ADD, FAN_OPEN | FAN_EVENT_ON_CHILD, AT_FDCWD,
                               QFile::encodeName(ordner).constData())
                   != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~Öffnungszeuge()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Öffnungszeuge(const Öffnungszeuge&) = delete;
    Öffnungszeuge& operator=(const Öffnungszeuge&) = delete;
    bool Aktiv() const { return m_fd >= 0; }
    // Forgets what came so far.
    void Vergessen()
    {
        char puffer[4096];
        while (::read(m_fd, puffer, sizeof puffer) > 0) {
        }
    }
    // Whether another process began to open a file there (waits up to `ms`).
    bool Angefangen(int ms)
    {
        for (;;) {
            pollfd da{m_fd, POLLIN, 0};
            if (::poll(&da, 1, ms) <= 0)
                return false;
            char puffer[4096];
            const ssize_t n = ::read(m_fd, puffer, sizeof puffer);
            fanotify_event_metadata e;
            for (ssize_t pos = 0; n - pos >= ssize_t(sizeof e); pos += e.event_len) {
                std::memcpy(&e, puffer + pos, sizeof e);
                if (e.event_len < sizeof e)
                    break;
                if (e.pid != ::getpid())
                    return true;
            }
        }
    }

private:
    int m_fd;
};

} // namespace

// A batch checks the files of a folder while another program starts writing
// one of them anew, or a player starts playing it; this process holds each
// file open for reading too, as a player does, so the lease is refused. A
// check made as that program's open has begun (its truncation of a few
// megabytes still running) answers for it once it was told of the open, and
// every check after answers for it: whether the batch checks that file
// through one descriptor (as a rewrite checks before the copy and before the
// rename), or checks another file of the folder first. Many rounds, for the
// moments the open is caught in.
class SchreibzugriffWettlauf : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(SchreibzugriffWettlauf, AProgramOpeningTheFileDuringTheBatchCountsAtTheNextCheck)
{
    const auto [andereDatei, normalerBenutzer] = GetParam();
    QTemporaryDir ordner;
    ASSERT_EQ(::chmod(QFile::encodeName(ordner.path()).constData(), 0755), 0);
    std::optional<NormalerBenutzer> benutzer;
    if (normalerBenutzer) {
        benutzer.emplace(QStringList{ordner.path()});
        if (!benutzer->aktiv)
            GTEST_SKIP() << "no normal user to drop to here";
    }
    Öffnungszeuge zeuge(ordner.path());
    if (!zeuge.Aktiv())
        GTEST_SKIP() << "no fanotify here: every check looks at the processes";
    const auto öffnen = [](const QString& pfad, int modus) {
        return ::open(QFile::encodeName(pfad).constData(), modus | O_CLOEXEC);
    };
    struct Programm {
        const char* was;
        Art art;
        bool schreibt;
    };
    const Programm programme[] = {{"a program writing it anew", Art::Überschreiben, true},
                                  {"a player starting to play it", Art::Lesen, false}};
    int erzählt = 0;
    for (int runde = 0; runde < 30 && !HasFailure(); ++runde) {
        for (const Programm& programm : programme) {
            SCOPED_TRACE(testing::Message() << programm.was << ", round " << runde);
            const QString erste = ordner.filePath(QStringLiteral("%1-%2-erste").arg(runde).arg(int(programm.art)));
            const QString zweite = ordner.filePath(QStringLiteral("%1-%2-zweite").arg(runde).arg(int(programm.art)));
            const QString& ziel = andereDatei ? zweite : erste;
            for (const QString& pfad : {erste, zweite}) {
                QFile f(pfad);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                const qint64 größe = pfad == ziel && programm.schreibt ? 8 << 20 : 6;
                ASSERT_EQ(f.write(QByteArray(größe, 'a')), größe);
            }
            const int spielerErste = öffnen(erste, O_RDONLY), spielerZweite = öffnen(zweite, O_RDONLY);
            const int fd = öffnen(erste, O_RDWR);
            ASSERT_GE(fd, 0);
            EXPECT_FALSE(AndererProzessSchreibt(fd));
            // The target's own check, through the descriptor or a new one.
            const auto prüfen = [&] { return andereDatei ? Prüfen(zweite, O_RDWR) : AndererProzessSchreibt(fd); };
            zeuge.Vergessen();
            {
                FremderProzess anderes(ziel, programm.art, FremderProzess::Start::Sofort);
                ASSERT_TRUE(zeuge.Angefangen(30'000)) << "the open never began";
                // The kernel tells one watch after the other: the check may
                // come before it was told.
                const long long vorher = SchreibzugriffFremdeÖffnungen();
                const bool ja = AndererProzessSchreibt(fd);
                if (SchreibzugriffFremdeÖffnungen() > vorher) {
                    ++erzählt;
                    EXPECT_EQ(ja, programm.schreibt && !andereDatei) << "while it opens";
                }
                ASSERT_TRUE(anderes.Offen());
                EXPECT_EQ(prüfen(), programm.schreibt) << "once it holds the file";
            }
            EXPECT_FALSE(prüfen()) << "the program is gone";
            for (const int d : {fd, spielerErste, spielerZweite})
                ::close(d);
        }
    }
    EXPECT_GT(erzählt, 0) << "no check was told of an open as it began";
}

INSTANTIATE_TEST_SUITE_P(
    DieselbeUndEineAndereDatei, SchreibzugriffWettlauf, ::testing::Combine(::testing::Bool(), ::testing::Bool()),
    [](const auto& i) {
        return std::string(std::get<0>(i.param) ? "AndereDatei" : "DieselbeDatei")
             + (std::get<1>(i.param) ? "NormalerBenutzer" : "DieserProzess");
    });
