// Writes the tags of N made MP3 files (half of them laid out as this writer
// leaves a tag, with room for the new one, half needing a rewrite) with our
// writer and with TagLib, and prints
//   figure write_files_per_s, taglib_write_files_per_s, write_ours_vs_taglib
// (in memory where there is a RAM file system), write_in_place_files_per_s
// (the half with room alone) and write_disk_files_per_s.
// Then files with a picture as other programs write them (text frames, then
// a 1 MiB picture, no room to spare, 5 MB of audio), each title edited twice
// to other lengths, read and written by us and by TagLib, in CPU time:
//   figure write_picture_ours_vs_taglib
// and reading plus writing the title of such a file of 50 MB with an 8 MiB
// picture (the first edit, through a copy):
//   figure write_8mib_picture_ms (CPU, the best of three).
// Where the write lease is refused (a process holds the files open for
// reading, as a player does) with 300 idle processes running, on the disk:
//   figure write_disk_refused_vs_granted (1,000 writes, time against the
//   same writes with the lease granted)
//   figure write_open_check_refused_1000_ms (the check alone, twice a file)
// Usage: bench_tag_write [N] [picture files]   (default 2000, 20)

#include "MachDateien.h"

#include "core/Einstellungen.h"
#include "media/Id3v2Lesen.h"
#include "media/TagSchreiben.h"
#include "platform/Schreibzugriff.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace {

using bench::Syncsafe;
using bench::TextFrame;

QByteArray Audio(qint64 größe)
{
    QByteArray frame("\xFF\xFB\x90\x64", 4);
    frame.append(QByteArray(413, '\x55'));
    QByteArray d;
    d.reserve(größe + frame.size());
    while (d.size() < größe)
        d.append(frame);
    return d;
}

QByteArray Tag(const QByteArray& frames) { return QByteArray("ID3\x03\x00\x00", 6) + Syncsafe(quint32(frames.size())) + frames; }

// A picture frame of `größe` bytes of image data.
QByteArray Bild(qint64 größe)
{
    QByteArray daten(größe, '\0');
    for (qint64 i = 0; i < größe; ++i)
        daten[i] = char((i * 131 + i / 977) & 0xFF);
    return TextFrame("APIC", QByteArray("image/jpeg\0\x03\0", 13) + daten);
}

// A tag with a small picture: with room to spare, kept frames first as this
// writer leaves them, or just full with the picture behind the texts.
QByteArray Datei(int nummer, bool platz)
{
    static const QByteArray bild = Bild(3000);
    const QByteArray texte = TextFrame("TIT2", "Titel " + QByteArray::number(nummer)) + TextFrame("TPE1", "Interpret")
                           + TextFrame("TALB", "Album");
    const QByteArray frames = platz ? bild + texte + QByteArray(1024, '\0') : texte + bild;
    return Tag(frames) + Audio(100 * 1024);
}

QStringList Anlegen(const QTemporaryDir& ordner, const char* vorsilbe, int n, const std::function<QByteArray(int)>& inhalt)
{
    QStringList pfade;
    for (int i = 0; i < n; ++i) {
        const QString p = ordner.filePath(QStringLiteral("%1%2.mp3").arg(QLatin1String(vorsilbe)).arg(i));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(inhalt(i)) < 0)
            return {};
        pfade << p;
    }
    return pfade;
}
QStringList Anlegen(const QTemporaryDir& ordner, const char* vorsilbe, int n)
{
    return Anlegen(ordner, vorsilbe, n, [](int i) { return Datei(i, i % 2 == 0); });
}

double CpuSekunden()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

bool UnsereSchreiben(const QString& pfad, const MedienInfo& m)
{
    QString fehler;
    if (Mp3TAGSpeichernV2(pfad, m, fehler))
        return true;
    std::fprintf(stderr, "%s\n", fehler.toLocal8Bit().constData());
    return false;
}

MedienInfo NeueFelder(int i)
{
    MedienInfo m;
    m.Mp3_ID3v2_Titel = QStringLiteral("Neuer Titel %1").arg(i);
    m.Mp3_ID3v2_Interpret = QStringLiteral("Neuer Interpret");
    m.Mp3_ID3v2_Album = QStringLiteral("Album mit einem längeren Namen als vorher");
    m.Mp3_ID3v2_Kommentar = QStringLiteral("kalvero - https://kalvero.example/");
    return m;
}

// Our writes of the files (every `schritt`-th from `ab`); seconds taken.
double UnsereSchreiben(const QStringList& pfade, int ab = 0, int schritt = 1)
{
    QElapsedTimer uhr;
    uhr.start();
    for (int i = ab; i < pfade.size(); i += schritt)
        if (!UnsereSchreiben(pfade[i], NeueFelder(i)))
            return -1;
    return std::max<qint64>(1, uhr.nsecsElapsed()) / 1e9;
}

bool IhreSchreiben(const QString& pfad, const std::function<void(TagLib::ID3v2::Tag*)>& ändern)
{
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    ändern(f.ID3v2Tag(true));
    if (f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3))
        return true;
    std::fprintf(stderr, "TagLib could not save %s\n", QFile::encodeName(pfad).constData());
    return false;
}

double IhreSchreiben(const QStringList& pfade)
{
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 0; i < pfade.size(); ++i) {
        const bool ok = IhreSchreiben(pfade[i], [i](TagLib::ID3v2::Tag* t) {
            const MedienInfo m = NeueFelder(i);
            t->setTitle(TagLib::String(m.Mp3_ID3v2_Titel.toStdWString()));
            t->setArtist(TagLib::String(m.Mp3_ID3v2_Interpret.toStdWString()));
            t->setAlbum(TagLib::String(m.Mp3_ID3v2_Album.toStdWString()));
            t->setComment(TagLib::String(m.Mp3_ID3v2_Kommentar.toStdWString()));
        });
        if (!ok)
            return -1;
    }
    return std::max<qint64>(1, uhr.nsecsElapsed()) / 1e9;
}

// Processes started for a measurement (only system calls in the child, the
// parent may have threads); ended and reaped when the object dies.
class Kinder {
public:
    ~Kinder()
    {
        for (const pid_t p : m_pids)
            ::kill(p, SIGKILL);
        for (const pid_t p : m_pids)
            while (::waitpid(p, nullptr, 0) < 0 && errno == EINTR) {
            }
    }
    // `n` idle programs, as a desktop runs them.
    bool Leerlauf(int n)
    {
        const QByteArray sleep = QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("sleep")));
        for (int i = 0; i < n; ++i) {
            const pid_t p = ::fork();
            if (p == 0) {
                if (!sleep.isEmpty())
                    ::execl(sleep.constData(), "sleep", "1000000", static_cast<char*>(nullptr));
                for (;;)
                    ::pause();
            }
            if (p < 0)
                return false;
            m_pids.push_back(p);
        }
        return true;
    }
    // A process that holds the files open for reading, as a player holds
    // the file it plays: the write lease is refused for each of them.
    bool Lesen(const std::vector<QByteArray>& namen)
    {
        int rohr[2];
        if (::pipe2(rohr, O_CLOEXEC) != 0)
            return false;
        const pid_t p = ::fork();
        if (p == 0) {
            rlimit grenze;
            if (::getrlimit(RLIMIT_NOFILE, &grenze) == 0) {
                grenze.rlim_cur = grenze.rlim_max;
                ::setrlimit(RLIMIT_NOFILE, &grenze);
            }
            char ok = 1;
            for (const QByteArray& n : namen)
                if (::open(n.constData(), O_RDONLY) < 0)
                    ok = 0;
            (void)!::write(rohr[1], &ok, 1);
            for (;;)
                ::pause();
        }
        ::close(rohr[1]);
        char ok = 0;
        if (p > 0) {
            m_pids.push_back(p);
            while (::read(rohr[0], &ok, 1) < 0 && errno == EINTR) {
            }
        }
        ::close(rohr[0]);
        return ok == 1;
    }

private:
    std::vector<pid_t> m_pids;
};

std::vector<QByteArray> Namen(const QStringList& pfade)
{
    std::vector<QByteArray> namen;
    for (const QString& p : pfade)
        namen.push_back(QFile::encodeName(p));
    return namen;
}

// Whether the write lease is refused for the file, as it must be for the
// measurement of the refused case.
bool LeaseVerweigert(const QString& pfad)
{
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDWR | O_CLOEXEC);
    const bool verweigert = fd >= 0 && !AlleinigerZugriff(fd).Gehalten();
    if (fd >= 0)
        ::close(fd);
    return verweigert;
}

// What the check for another program's writing adds to a batch of 1,000
// full rewrites: asked twice a file (before the copy and before the rename)
// through the writer's own descriptor; milliseconds, or -1. With `kinder`,
// a reader started there holds the files, so that the lease is refused.
double SchreibzugriffPrüfen1000(Kinder* kinder = nullptr)
{
    QTemporaryDir ordner;
    QStringList pfade;
    for (int i = 0; i < 1000; ++i) {
        pfade << ordner.filePath(QStringLiteral("%1.mp3").arg(i));
        QFile f(pfade.back());
        if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(4096, 'a')) < 0)
            return -1;
    }
    const std::vector<QByteArray> namen = Namen(pfade);
    if (kinder && (!kinder->Lesen(namen) || !LeaseVerweigert(pfade[0])))
        return -1;
    QElapsedTimer uhr;
    uhr.start();
    for (const QByteArray& name : namen) {
        const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return -1;
        const bool belegt = AndererProzessSchreibt(fd) || AndererProzessSchreibt(fd);
        ::close(fd);
        if (belegt)
            return -1;
    }
    return uhr.nsecsElapsed() / 1e6;
}

// 1,000 writes on the disk with the lease refused (a reader holds the
// files) against the same writes with it granted, 300 idle processes
// running throughout; in ten alternating rounds, so that the disk's own
// drift and the order fall on both alike. The ratio of the times, or -1.
double VerweigertGegenGewährt(Kinder& kinder)
{
    QTemporaryDir platte;
    const QStringList gewährt = Anlegen(platte, "g", 1000);
    const QStringList verweigert = Anlegen(platte, "v", 1000);
    if (gewährt.size() != 1000 || verweigert.size() != 1000 || !kinder.Lesen(Namen(verweigert))
        || !LeaseVerweigert(verweigert[0]) || LeaseVerweigert(gewährt[0]))
        return -1;
    ::sync();
    double mitLease = 0, ohneLease = 0;
    for (int runde = 0; runde < 10; ++runde) {
        // Each kind goes first in every other round.
        const bool gewährtZuerst = runde % 2 == 0;
        const double erste = UnsereSchreiben((gewährtZuerst ? gewährt : verweigert).mid(runde * 100, 100));
        const double zweite = UnsereSchreiben((gewährtZuerst ? verweigert : gewährt).mid(runde * 100, 100));
        const double g = gewährtZuerst ? erste : zweite;
        const double v = gewährtZuerst ? zweite : erste;
        if (g < 0 || v < 0)
            return -1;
        mitLease += g;
        ohneLease += v;
    }
    std::fprintf(stderr, "disk writes: lease granted %.0f ms, refused %.0f ms\n", mitLease * 1e3, ohneLease * 1e3);
    return ohneLease / mitLease;
}

// A file as other programs write it: the texts, then the picture, then the
// audio.
QByteArray BildDatei(int nummer, qint64 bildGröße, qint64 audioGröße)
{
    const QByteArray frames = TextFrame("TIT2", "Titel " + QByteArray::number(nummer)) + TextFrame("TPE1", "Interpret")
                            + TextFrame("TALB", "Album") + Bild(bildGröße);
    return Tag(frames) + Audio(audioGröße);
}

const QString kTitel[2] = {QStringLiteral("Ein neuer, viel längerer Titel Nummer %1"), QStringLiteral("Kurz %1")};

// The title edited as the tag editor does it: the tag read, then written.
bool UnsereTitelÄndern(const QString& pfad, const QString& titel)
{
    MedienInfo m;
    if (!Mp3TAGLesenV2(pfad, m, 0))
        return false;
    m.Mp3_ID3v2_Titel = titel;
    return UnsereSchreiben(pfad, m);
}

// CPU seconds of both edits of every file.
double BilderUnsere(const QStringList& pfade)
{
    const double start = CpuSekunden();
    for (const QString& titel : kTitel)
        for (int i = 0; i < pfade.size(); ++i)
            if (!UnsereTitelÄndern(pfade[i], titel.arg(i)))
                return -1;
    return CpuSekunden() - start;
}

double BilderIhre(const QStringList& pfade)
{
    const double start = CpuSekunden();
    for (const QString& titel : kTitel)
        for (int i = 0; i < pfade.size(); ++i)
            if (!IhreSchreiben(pfade[i], [&](TagLib::ID3v2::Tag* t) { t->setTitle(TagLib::String(titel.arg(i).toStdWString())); }))
                return -1;
    return CpuSekunden() - start;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(2, std::atoi(argv[1])) : 2000;
    const int bilder = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    einstellungen().TAGsBytesSuchen = 102400;
    einstellungen().TAGsProzentHinzufügen = 25;

    // The comparison runs in memory where it can: our writer fsyncs every
    // file before and after its rename, TagLib does not, and on a disk the
    // flushes would hide what the writers themselves cost.
    const bool ram = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    QTemporaryDir ordner(ram ? QStringLiteral("/dev/shm/kalvero-bench-XXXXXX") : QString());
    const QStringList unsere = Anlegen(ordner, "k", n);
    const QStringList ihre = Anlegen(ordner, "t", n);
    if (unsere.size() != n || ihre.size() != n) {
        std::fprintf(stderr, "cannot make the files\n");
        return 1;
    }
    const double unsereZeit = UnsereSchreiben(unsere);
    const double ihreZeit = IhreSchreiben(ihre);
    if (unsereZeit < 0 || ihreZeit < 0)
        return 1;
    const double unsereRate = n / unsereZeit;
    const double ihreRate = n / ihreZeit;
    std::printf("figure write_files_per_s %.1f files/s\n", unsereRate);
    std::printf("figure taglib_write_files_per_s %.1f files/s\n", ihreRate);
    std::printf("figure write_ours_vs_taglib %.2f ratio\n", unsereRate / ihreRate);
    {
        const QStringList anOrt = Anlegen(ordner, "i", n);
        const double zeit = anOrt.size() == n ? UnsereSchreiben(anOrt, 0, 2) : -1;
        if (zeit < 0)
            return 1;
        std::printf("figure write_in_place_files_per_s %.1f files/s\n", (n + 1) / 2 / zeit);
    }

    // The same on the disk, flushes included.
    if (ram) {
        QTemporaryDir platte;
        const QStringList dateien = Anlegen(platte, "k", n);
        const double zeit = dateien.size() == n ? UnsereSchreiben(dateien) : -1;
        if (zeit < 0)
            return 1;
        std::printf("figure write_disk_files_per_s %.1f files/s\n", n / zeit);
    }

    // Pictures: 1 MiB behind the texts, 5 MB of audio, two edits each.
    {
        const auto inhalt = [](int i) { return BildDatei(i, 1 << 20, 5'000'000); };
        const QStringList uns = Anlegen(ordner, "bk", bilder, inhalt);
        const QStringList sie = Anlegen(ordner, "bt", bilder, inhalt);
        if (uns.size() != bilder || sie.size() != bilder)
            return 1;
        const double wir = BilderUnsere(uns);
        const double taglib = BilderIhre(sie);
        if (wir < 0 || taglib < 0)
            return 1;
        std::fprintf(stderr, "picture edits: ours %.1f ms, TagLib %.1f ms of CPU for %d files\n", wir * 1e3, taglib * 1e3, bilder);
        std::printf("figure write_picture_ours_vs_taglib %.2f ratio\n", taglib / wir);
        for (const QString& p : uns + sie)
            QFile::remove(p);
    }

    // An 8 MiB picture in a 50 MB file: the tag read and the title written.
    {
        const QByteArray d = BildDatei(0, 8 << 20, 50'000'000 - (8 << 20));
        double bester = 1e9;
        for (int mal = 0; mal < 3; ++mal) {
            const QStringList p = Anlegen(ordner, "gross", 1, [&](int) { return d; });
            if (p.size() != 1)
                return 1;
            const double start = CpuSekunden();
            if (!UnsereTitelÄndern(p[0], QStringLiteral("Ein neuer Titel")))
                return 1;
            bester = std::min(bester, CpuSekunden() - start);
            QFile::remove(p[0]);
        }
        std::printf("figure write_8mib_picture_ms %.1f ms\n", bester * 1e3);
    }

    const double prüfen = SchreibzugriffPrüfen1000();
    if (prüfen < 0)
        return 1;
    std::printf("figure write_open_check_1000_ms %.1f ms\n", prüfen);

    // The lease refused, among 300 idle processes.
    Kinder kinder;
    if (!kinder.Leerlauf(300)) {
        std::fprintf(stderr, "cannot start the idle processes\n");
        return 1;
    }
    const double verweigertPrüfen = SchreibzugriffPrüfen1000(&kinder);
    const double verhältnis = verweigertPrüfen < 0 ? -1 : VerweigertGegenGewährt(kinder);
    if (verhältnis < 0) {
        std::fprintf(stderr, "cannot measure with the lease refused\n");
        return 1;
    }
    std::printf("figure write_open_check_refused_1000_ms %.1f ms\n", verweigertPrüfen);
    std::printf("figure write_disk_refused_vs_granted %.2f ratio\n", verhältnis);
    return 0;
}
