// Saves and loads an index of N entries (default 100,000) and reads the same
// file's bytes without parsing, for comparison. Prints "figure NAME VALUE UNIT".
//   bench_index_file [N] [FILE]   (FILE: where the index file is written and kept)

#include "core/Einstellungen.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>

namespace {

// Names as a music collection has them: many tracks per album, many albums
// per artist; every fifth artist with a name in a non-Latin script.
const char* const kWörter[] = {"Love", "Night", "Blue", "Song", "Dream", "Fire", "Heart", "Rain", "Summer",
                               "Road", "Light", "Time", "River", "Dance", "Moon", "Girl", "Home", "Star"};
const char* const kFremd[] = {"東京", "夜の", "さくら", "Москва", "ночь", "青い", "音楽", "Αθήνα", "καρδιά",
                              "서울", "사랑", "月光", "Звезда", "雨"};

QString wörter(std::mt19937& z, int anzahl, bool fremd)
{
    QString s;
    for (int i = 0; i < anzahl; ++i) {
        if (i)
            s += QLatin1Char(' ');
        s += fremd ? QString::fromUtf8(kFremd[z() % std::size(kFremd)]) : QString::fromLatin1(kWörter[z() % std::size(kWörter)]);
    }
    return s;
}

QString datum(std::mt19937& z)
{
    return QStringLiteral("%1.%2.%3")
        .arg(int(z() % 28 + 1), 2, 10, QLatin1Char('0'))
        .arg(int(z() % 12 + 1), 2, 10, QLatin1Char('0'))
        .arg(2004 + int(z() % 20));
}

Index beispielIndex(int n)
{
    std::mt19937 z(42);
    Index idx;
    idx.bolIndexGeladen = true;
    idx.IndexDatenDimensionieren(n, false);
    const int alben = std::max(1, n / 11);
    std::vector<QString> interpreten(size_t(std::max(1, alben / 5)));
    std::vector<QString> albumNamen(static_cast<size_t>(alben));
    for (size_t i = 0; i < interpreten.size(); ++i)
        interpreten[i] = wörter(z, 1 + int(z() % 3), i % 5 == 0);
    for (size_t i = 0; i < albumNamen.size(); ++i)
        albumNamen[i] = wörter(z, 1 + int(z() % 4), (i / 5) % 5 == 0);
    const QString modi[] = {QStringLiteral("Joint Stereo"), QStringLiteral("Stereo"), QStringLiteral("Single Channel")};
    for (int i = 1; i <= n; ++i) {
        const size_t album = size_t((i - 1) / 11) % albumNamen.size();
        const size_t interpret = album / 5 % interpreten.size();
        const bool fremd = interpret % 5 == 0;
        const QString titel = wörter(z, 2 + int(z() % 4), fremd);
        const int nummer = (i - 1) % 11 + 1;
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Titel = titel.left(30);
        m.Mp3_ID3v1_Interpret = interpreten[interpret].left(30);
        m.Mp3_ID3v1_Album = albumNamen[album].left(30);
        m.Mp3_ID3v1_Jahr = QString::number(1960 + int(album % 60));
        m.Mp3_ID3v1_Titelnummer = QString::number(nummer);
        if (z() % 4 == 0)
            m.Mp3_ID3v1_Kommentar = QStringLiteral("Ripped with EAC");
        GenreByteSetzen(m, int(album % 148));
        m.Datei_Größe = 3'000'000 + qint64(z() % 7'000'000);
        m.Datei_HinzugefügtAm = datum(z);
        m.Datei_Typ = 1;
        m.Datei_AngefordertAnzahl = int(z() % 30);
        if (m.Datei_AngefordertAnzahl > 0)
            m.Datei_AngefordertGespieltAm = datum(z) + QStringLiteral(" %1:%2:%3")
                                                           .arg(int(z() % 24), 2, 10, QLatin1Char('0'))
                                                           .arg(int(z() % 60), 2, 10, QLatin1Char('0'))
                                                           .arg(int(z() % 60), 2, 10, QLatin1Char('0'));
        m.Header_Bitrate = 128 + 64 * int(z() % 4);
        m.Header_Dauer = 150 + int(z() % 200);
        m.Header_Frequenz = 44100;
        m.Header_Frames = m.Header_Dauer * 38;
        m.Header_VBR = z() % 3 == 0;
        m.Header_Modus = modi[z() % 3];
        if (z() % 10 < 7) {
            m.Mp3_ID3v2_Vorhanden = 1;
            m.Mp3_ID3v2_Version = QStringLiteral("2.3.0");
            m.Mp3_ID3v2_TAGGröße = 4096;
            m.Mp3_ID3v2_Titel = titel;
            m.Mp3_ID3v2_Interpret = interpreten[interpret];
            m.Mp3_ID3v2_Album = albumNamen[album];
            m.Mp3_ID3v2_Jahr = m.Mp3_ID3v1_Jahr;
            m.Mp3_ID3v2_Titelnummer = QStringLiteral("%1/11").arg(nummer);
            m.Mp3_ID3v2_Musikrichtung = QStringLiteral("Rock");
            m.Mp3_ID3v2_EncodiertVon = QStringLiteral("LAME 3.100");
            m.Mp3_ID3v2_Software = QStringLiteral("LAME");
        }
        idx.strIndexPfad[size_t(i)] = QStringLiteral("/home/benutzer/Musik/") + interpreten[interpret] + QLatin1Char('/')
                                      + albumNamen[album] + QStringLiteral("/%1 - ").arg(nummer, 2, 10, QLatin1Char('0'))
                                      + titel + QStringLiteral(".mp3");
        idx.IndexDaten[size_t(i)] = std::move(m);
        idx.intSuchErgebnis[size_t(i)] = 1;
    }
    idx.lngIndexAnzahl = n;
    idx.intDateiTypenLeer = 0;
    idx.strDateiTypen = standardwerte().strStandardDateiTypen;
    idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    return idx;
}

double rssMb()
{
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("VmRSS:", 0) == 0)
            return std::stod(zeile.substr(6)) / 1024.0;
    return 0;
}

void figur(const char* name, double wert, const char* einheit) { std::printf("figure %s %.2f %s\n", name, wert, einheit); }

// Peak memory of the process while one index file with a 50 MB option line
// is loaded and saved again (the peak is reset first, so it counts this alone).
double riesenzeileMb(const QString& datei)
{
    {
        std::ofstream f(datei.toStdString(), std::ios::binary);
        f << "#TAG:kv102\r\n#OPT:SPALTEN_NUTZERFORMAT=";
        const std::string stück(1 << 20, 'x');
        for (int i = 0; i < 50; ++i)
            f << stück;
        f << "\r\n#TAG:1/1|ab\r\n";
    }
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    {
        Index idx;
        if (!DateiLaden(idx, datei) || idx.strSpaltenNutzerformat.size() != 50 << 20)
            return -1;
        idx.bolIndexGeändert = true;
        if (!DateiSpeichern(idx, datei, false))
            return -1;
    }
    QFile::remove(datei);
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("VmHWM:", 0) == 0)
            return std::stod(zeile.substr(6)) / 1024.0;
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    einstellungen() = StandardEinstellungen();
    DienstSetzen<MeldungsDienst>([](const Meldung& m) {
        std::fprintf(stderr, "%s\n", m.text.toLocal8Bit().constData());
        return Antwort::Nein;
    });
    QTemporaryDir ordner;
    const QString datei = argc > 2 ? QString::fromLocal8Bit(argv[2]) : ordner.filePath(QStringLiteral("bench.kvx"));

    // First, while the process holds nothing else.
    const double riesenzeile = riesenzeileMb(ordner.filePath(QStringLiteral("riesenzeile.kvx")));
    if (riesenzeile < 0)
        return 1;

    QElapsedTimer uhr;
    double speichern = 0;
    {
        Index idx = beispielIndex(n);
        uhr.start();
        if (!DateiSpeichern(idx, datei, false))
            return 1;
        speichern = double(uhr.nsecsElapsed()) / 1e6;
    }
    malloc_trim(0);

    // Best of three each, the file in the page cache as after a save.
    double lesen = 1e9, laden = 1e9;
    qint64 bytes = 0;
    for (int runde = 0; runde < 3; ++runde) {
        QFile f(datei);
        uhr.start();
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray daten = f.readAll();
        lesen = std::min(lesen, double(uhr.nsecsElapsed()) / 1e6);
        bytes = daten.size();
    }
    Index geladen;
    for (int runde = 0; runde < 3; ++runde) {
        geladen = Index();
        malloc_trim(0);
        uhr.start();
        if (!DateiLaden(geladen, datei) || geladen.lngIndexAnzahl != n)
            return 1;
        laden = std::min(laden, double(uhr.nsecsElapsed()) / 1e6);
    }
    std::printf("# %d entries, %.1f MB file\n", n, double(bytes) / 1e6);
    figur("save_ms", speichern, "ms");
    figur("load_ms", laden, "ms");
    figur("read_ms", lesen, "ms");
    figur("load_vs_read", laden / lesen, "ratio");
    figur("rss_mb", rssMb(), "MB");
    figur("huge_line_rss_mb", riesenzeile, "MB");
    return 0;
}
