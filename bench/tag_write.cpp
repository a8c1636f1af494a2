// Writes the tags of N made MP3 files (half of them with room for the new
// tag, half needing a rewrite) with our writer and with TagLib, and prints
//   figure write_files_per_s, taglib_write_files_per_s, write_ours_vs_taglib
// (in memory where there is a RAM file system) and write_disk_files_per_s.
// Usage: bench_tag_write [N]   (default 2000)

#include "MachDateien.h"

#include "core/Einstellungen.h"
#include "media/TagSchreiben.h"
#include "platform/Schreibzugriff.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace {

using bench::Syncsafe;
using bench::TextFrame;

// A tag with a picture; with room to spare or just full.
QByteArray Datei(int nummer, bool platz)
{
    QByteArray frames = TextFrame("TIT2", "Titel " + QByteArray::number(nummer)) + TextFrame("TPE1", "Interpret")
                      + TextFrame("TALB", "Album") + TextFrame("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(3000, 'p'));
    if (platz)
        frames.append(QByteArray(1024, '\0'));
    QByteArray d = QByteArray("ID3\x03\x00\x00", 6) + Syncsafe(quint32(frames.size())) + frames;
    QByteArray frame("\xFF\xFB\x90\x64", 4);
    frame.append(QByteArray(413, '\x55'));
    const qsizetype ziel = d.size() + 100 * 1024;
    while (d.size() < ziel)
        d.append(frame);
    return d;
}

QStringList Anlegen(const QTemporaryDir& ordner, const char* vorsilbe, int n)
{
    QStringList pfade;
    for (int i = 0; i < n; ++i) {
        const QString p = ordner.filePath(QStringLiteral("%1%2.mp3").arg(QLatin1String(vorsilbe)).arg(i));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(Datei(i, i % 2 == 0)) < 0)
            return {};
        pfade << p;
    }
    return pfade;
}

// Our writes of the files; seconds taken.
double UnsereSchreiben(const QStringList& pfade)
{
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 0; i < pfade.size(); ++i) {
        MedienInfo m;
        m.Mp3_ID3v2_Titel = QStringLiteral("Neuer Titel %1").arg(i);
        m.Mp3_ID3v2_Interpret = QStringLiteral("Neuer Interpret");
        m.Mp3_ID3v2_Album = QStringLiteral("Album mit einem längeren Namen als vorher");
        m.Mp3_ID3v2_Kommentar = QStringLiteral("kalvero - https://kalvero.example/");
        QString fehler;
        if (!Mp3TAGSpeichernV2(pfade[i], m, fehler)) {
            std::fprintf(stderr, "%s\n", fehler.toLocal8Bit().constData());
            return -1;
        }
    }
    return std::max<qint64>(1, uhr.nsecsElapsed()) / 1e9;
}

double IhreSchreiben(const QStringList& pfade)
{
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 0; i < pfade.size(); ++i) {
        TagLib::MPEG::File f(QFile::encodeName(pfade[i]).constData(), false);
        TagLib::ID3v2::Tag* t = f.ID3v2Tag(true);
        t->setTitle(TagLib::String(QStringLiteral("Neuer Titel %1").arg(i).toStdWString()));
        t->setArtist("Neuer Interpret");
        t->setAlbum(TagLib::String(QStringLiteral("Album mit einem längeren Namen als vorher").toStdWString()));
        t->setComment("kalvero - https://kalvero.example/");
        if (!f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3)) {
            std::fprintf(stderr, "TagLib could not save %s\n", QFile::encodeName(pfade[i]).constData());
            return -1;
        }
    }
    return std::max<qint64>(1, uhr.nsecsElapsed()) / 1e9;
}

// What the check for another program's writing adds to a batch of 1,000
// full rewrites: asked twice a file (before the copy and before the rename)
// through the writer's own descriptor; milliseconds, or -1.
double SchreibzugriffPrüfen1000()
{
    QTemporaryDir ordner;
    std::vector<QByteArray> namen;
    for (int i = 0; i < 1000; ++i) {
        namen.push_back(QFile::encodeName(ordner.filePath(QStringLiteral("%1.mp3").arg(i))));
        QFile f(QFile::decodeName(namen.back()));
        if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(4096, 'a')) < 0)
            return -1;
    }
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(2, std::atoi(argv[1])) : 2000;
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

    // The same on the disk, flushes included.
    if (ram) {
        QTemporaryDir platte;
        const QStringList dateien = Anlegen(platte, "k", n);
        const double zeit = dateien.size() == n ? UnsereSchreiben(dateien) : -1;
        if (zeit < 0)
            return 1;
        std::printf("figure write_disk_files_per_s %.1f files/s\n", n / zeit);
    }

    const double prüfen = SchreibzugriffPrüfen1000();
    if (prüfen < 0)
        return 1;
    std::printf("figure write_open_check_1000_ms %.1f ms\n", prüfen);
    return 0;
}
