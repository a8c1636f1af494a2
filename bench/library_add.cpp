// Adds a folder of N made MP3 files (default 10,000, in sub-folders of 100)
// to an index of M entries (default 100,000), warm (the files were read once
// before). Prints "figure NAME VALUE UNIT":
//   add_ms       the whole folder add: scan, duplicate test, reading, append
//   dupcheck_ms  the duplicate test of those files against the index alone
//   move_index_10k_ms  the index work of moving 10,000 of the M entries'
//                files into one folder, every tenth onto a file the index
//                holds (spread over it): the replaced targets' entries
//                found, the moved entries renamed, the replaced ones removed
//   bench_library_add [N] [M]

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/frmFortschritt.h"
#include "core/Funktionen.h"
#include "library/Hinzufuegen.h"
#include "library/Loeschen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

QByteArray SyncSafe(quint32 n)
{
    QByteArray b(4, 0);
    for (int i = 3; i >= 0; --i) {
        b[i] = char(n & 0x7F);
        n >>= 7;
    }
    return b;
}

QByteArray TextFrame(const char* id, const QByteArray& text)
{
    const QByteArray daten = QByteArray(1, '\0') + text;
    QByteArray f(id);
    const quint32 n = quint32(daten.size());
    f += char(n >> 24);
    f += char(n >> 16);
    f += char(n >> 8);
    f += char(n);
    f += QByteArray(2, '\0');
    return f + daten;
}

// An ID3v2.3 tag with title and artist, a few MPEG-1 Layer III frames
// (128 kbit/s, 44.1 kHz) and an ID3v1 block.
QByteArray Mp3(int nr)
{
    const QByteArray rahmen = TextFrame("TIT2", "Titel " + QByteArray::number(nr))
        + TextFrame("TPE1", "Interpret " + QByteArray::number(nr % 97))
        + TextFrame("TALB", "Album " + QByteArray::number(nr % 13));
    const QByteArray tag = QByteArray("ID3\x03\x00\x00", 6) + SyncSafe(quint32(rahmen.size())) + rahmen;
    QByteArray frame(417, char(0x55));
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x44);
    QByteArray v1(128, '\0');
    v1.replace(0, 3, "TAG");
    v1.replace(3, 8, "Titel v1");
    v1[127] = char(nr % 80);
    return tag + frame.repeated(8) + v1;
}

void GrossenIndexMachen(Index& index, int anzahl)
{
    StandardwerteSetzen();
    index = Index();
    index.strDateiTypen = standardwerte().strStandardDateiTypen;
    index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    index.intDateiTypenLeer = 0;
    index.IndexDatenDimensionieren(anzahl, false);
    MedienInfo m = LeereMedienInfo();
    for (int i = 1; i <= anzahl; ++i) {
        m.Mp3_ID3v1_Titel = QStringLiteral("Titel %1").arg(i);
        index.EintragAnhängen(QStringLiteral("/srv/musik/Interpret %1/Album %2/%3 - Titel %4.mp3")
                                  .arg(i % 997)
                                  .arg(i % 31)
                                  .arg(i % 20 + 1, 2, 10, QLatin1Char('0'))
                                  .arg(i),
                              m, 1);
    }
    index.bolIndexGeändert = false;
}

double Ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

// The index work of a move run as DateienKopieren does it, without the
// files: milliseconds, or -1 when the index came out wrong.
double VerschiebenIndexMs(Index& index, int einträge)
{
    GrossenIndexMachen(index, einträge);
    const int n = std::min(10000, einträge / 10);
    EintragsListe liste;
    QStringList ziele;
    for (int k = 0; k < n; ++k) {
        liste.push_back(1 + k * (einträge / n));
        ziele << QStringLiteral("/srv/musik/Neu/") + DateinameZurückgeben(index.strIndexPfad[size_t(liste.back())]);
    }
    // Every tenth target is the file of the entry behind the moved one.
    for (int k = 0; k < n; k += 10)
        index.strIndexPfad[size_t(liste[size_t(k)] + 1)] = ziele[k];
    QElapsedTimer uhr;
    uhr.start();
    {
        ZielEinträgeLauf lauf(index);
        for (int k = 0; k < n; ++k) {
            const qint32 e = liste[size_t(k)];
            if (!index.GültigerEintrag(e) || lauf.Entfernt(e))
                continue;
            lauf.PfadSetzen(e, ziele[k]);
            lauf.ZielErneuern(ziele[k], e);
        }
        lauf.Abschließen();
    }
    const double ms = Ms(uhr);
    int angekommen = 0;
    for (qint32 e = 1; e <= index.lngIndexAnzahl; ++e)
        angekommen += index.strIndexPfad[size_t(e)].startsWith(QStringLiteral("/srv/musik/Neu/")) ? 1 : 0;
    return index.lngIndexAnzahl == einträge - (n + 9) / 10 && angekommen == n ? ms : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int dateien = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int einträge = argc > 2 ? std::atoi(argv[2]) : 100000;
    DienstSetzen<MeldungsDienst>([](const Meldung& m) {
        std::fprintf(stderr, "%s\n", m.text.toLocal8Bit().constData());
        return Antwort::OK;
    });
    einstellungen() = StandardEinstellungen();
    DienstSetzen<FortschrittAnzeigeDienst>(fortschrittsfenster()); // the progress window shows, as for the user

    QTemporaryDir dir;
    const QString ordner = dir.path() + QStringLiteral("/neu");
    for (int i = 0; i < dateien; ++i) {
        const QString unter = ordner + QStringLiteral("/%1").arg(i / 100, 3, 10, QLatin1Char('0'));
        if (i % 100 == 0)
            QDir().mkpath(unter);
        QFile f(unter + QStringLiteral("/Titel %1.mp3").arg(i));
        if (!f.open(QIODevice::WriteOnly) || f.write(Mp3(i)) < 0) {
            std::fprintf(stderr, "cannot write the test files\n");
            return 1;
        }
    }

    Index index;
    // Warm-up: the files and folders are read once.
    GrossenIndexMachen(index, einträge);
    QString o = ordner;
    EinfachOrdnerHinzufügen(index, o, false, 1, false, QString(), false, false);
    if (index.lngIndexAnzahl != einträge + dateien) {
        std::fprintf(stderr, "added %d of %d files\n", index.lngIndexAnzahl - einträge, dateien);
        return 1;
    }

    GrossenIndexMachen(index, einträge);
    QElapsedTimer uhr;
    uhr.start();
    o = ordner;
    EinfachOrdnerHinzufügen(index, o, false, 1, false, QString(), false, false);
    const double addMs = Ms(uhr);

    // The duplicate test alone: the set over the index, then one look-up per
    // file. Each file's identity comes from its existence test, which the
    // add makes anyway.
    GrossenIndexMachen(index, einträge);
    QStringList gefunden;
    o = ordner;
    DateienSuchenAPI(o, {QString()}, 1, false, gefunden);
    std::vector<DateiKennung> kennungen;
    for (const QString& datei : gefunden)
        kennungen.push_back(DateiKennungLesen(datei).value_or(DateiKennung()));
    uhr.restart();
    int doppelt = 0;
    {
        HinzuStapel stapel(index);
        stapel.DateiListeHinzuStarten();
        for (qsizetype i = 0; i < gefunden.size(); ++i)
            doppelt += stapel.SchonImIndex(gefunden[i], kennungen[size_t(i)]) ? 1 : 0;
    }
    const double dupMs = Ms(uhr);
    if (doppelt != 0)
        std::fprintf(stderr, "%d files taken for duplicates\n", doppelt);

    const double verschiebenMs = VerschiebenIndexMs(index, einträge);
    if (verschiebenMs < 0) {
        std::fprintf(stderr, "the moves left the index wrong\n");
        return 1;
    }

    std::printf("figure add_ms %.1f ms\n", addMs);
    std::printf("figure dupcheck_ms %.1f ms\n", dupMs);
    std::printf("figure move_index_10k_ms %.1f ms\n", verschiebenMs);
    std::printf("figure files %d count\n", dateien);
    std::printf("figure index_entries %d count\n", einträge);
    return 0;
}
