// Reads N made MP3 files (each an ID3v2 tag, 100 KB of audio frames and an
// ID3v1 block) with MedienInfosLesen and with TagLib, warm, and prints
//   figure ours_files_per_s, taglib_files_per_s, ours_vs_taglib.
// Usage: bench_media_read [N]   (default 10000)

#include "MachDateien.h"

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "media/MedienInfosLesen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>

namespace {

using bench::Syncsafe;
using bench::TextFrame;

QByteArray Datei(int nummer)
{
    QByteArray frames = TextFrame("TIT2", "Titel Nummer " + QByteArray::number(nummer)) + TextFrame("TPE1", "Ein Interpret")
                      + TextFrame("TALB", "Ein Album") + TextFrame("TYER", "2001") + TextFrame("TRCK", QByteArray::number(nummer % 20 + 1))
                      + TextFrame("TCON", "Rock") + QByteArray(512, '\0');
    QByteArray d = QByteArray("ID3\x03\x00\x00", 6) + Syncsafe(quint32(frames.size())) + frames;
    // MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417 bytes a frame.
    QByteArray frame("\xFF\xFB\x90\x64", 4);
    frame.append(QByteArray(413, '\x55'));
    while (d.size() < 100 * 1024 + frames.size())
        d.append(frame);
    QByteArray v1(128, '\0');
    v1.replace(0, 8, "TAGTitel");
    v1[127] = 17;
    return d + v1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    QTemporaryDir ordner;
    if (!ordner.isValid())
        return 1;
    QStringList pfade;
    for (int i = 0; i < n; ++i) {
        const QString pfad = ordner.filePath(QStringLiteral("%1.mp3").arg(i));
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly) || f.write(Datei(i)) < 0)
            return 1;
        pfade << pfad;
    }

    StandardwerteSetzen();
    Index index;
    index.strDateiTypen = standardwerte().strStandardDateiTypen;
    index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    const auto unsere = [&] {
        qint64 summe = 0;
        for (const QString& p : pfade) {
            const MedienInfo m = MedienInfosLesen(index, p, LeereMedienInfo(), QStringLiteral("11"), false,
                                                  QStringLiteral("1"), QStringLiteral("1"));
            summe += m.Header_Bitrate + m.Mp3_ID3v2_Titel.size() + m.Mp3_ID3v1_Titel.size();
        }
        return summe;
    };
    const auto taglib = [&] {
        qint64 summe = 0;
        for (const QString& p : pfade) {
            TagLib::MPEG::File f(QFile::encodeName(p).constData(), true, TagLib::AudioProperties::Average);
            if (f.audioProperties())
                summe += f.audioProperties()->bitrate();
            if (f.ID3v2Tag())
                summe += f.ID3v2Tag()->title().size();
            if (f.ID3v1Tag())
                summe += f.ID3v1Tag()->title().size();
        }
        return summe;
    };
    // Warm: every file is in the page cache before the clocks run.
    const qint64 prüfUns = unsere();
    const qint64 prüfTaglib = taglib();
    if (prüfUns != prüfTaglib)
        std::fprintf(stderr, "note: the readers disagree (%lld vs %lld)\n", (long long)prüfUns, (long long)prüfTaglib);

    QElapsedTimer uhr;
    uhr.start();
    unsere();
    const double unsereSekunden = uhr.nsecsElapsed() / 1e9;
    uhr.restart();
    taglib();
    const double taglibSekunden = uhr.nsecsElapsed() / 1e9;

    const double unsereRate = n / unsereSekunden;
    const double taglibRate = n / taglibSekunden;
    std::printf("figure ours_files_per_s %.0f files/s\n", unsereRate);
    std::printf("figure taglib_files_per_s %.0f files/s\n", taglibRate);
    std::printf("figure ours_vs_taglib %.2f ratio\n", unsereRate / taglibRate);
    return 0;
}
