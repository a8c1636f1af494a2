// The duplicate finder over N made entries (default 100,000), all selected,
// under the progress window as the user sees it. Prints "figure NAME VALUE
// UNIT": dup_ms_<method> for each method that works on the stored records
// (0-4, 6, 8) and dup_ms, the slowest of them.
//   bench_duplicates [N]

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/frmFortschritt.h"
#include "library/DoppelteDateien.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Entries that agree now and then in each respect: names, paths, tags and sizes.
void IndexMachen(Index& index, int anzahl)
{
    index = Index();
    index.IndexDatenDimensionieren(anzahl, false);
    for (int i = 1; i <= anzahl; ++i) {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Vorhanden = i % 7 == 0 ? 2 : 1;
        m.Mp3_ID3v2_Vorhanden = i % 5 == 0 ? 2 : 1;
        m.Mp3_ID3v1_Interpret = QStringLiteral("Interpret %1").arg(i % 97);
        m.Mp3_ID3v1_Titel = QStringLiteral("Titel %1").arg(i % 500);
        m.Mp3_ID3v2_Interpret = QStringLiteral("INTERPRET %1").arg(i % 89);
        m.Mp3_ID3v2_Titel = QStringLiteral("titel %1").arg(i % 600);
        m.Datei_Größe = i % 11 == 0 ? -1 : 3000000 + (qint64(i) * 7919) % 90000;
        index.EintragAnhängen(QStringLiteral("/srv/musik/Interpret %1/Album %2/%3 - Titel %4.mp3")
                                  .arg((i % 50 == 0 ? i - 1 : i) % 997)
                                  .arg((i % 50 == 0 ? i - 1 : i) % 31)
                                  .arg((i % 50 == 0 ? i - 1 : i) % 20 + 1, 2, 10, QLatin1Char('0'))
                                  .arg(i % 50 == 0 ? i - 1 : i), // now and then the same path twice
                              m, 1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int anzahl = argc > 1 ? std::atoi(argv[1]) : 100000;
    DienstSetzen<MeldungsDienst>([](const Meldung& m) {
        std::fprintf(stderr, "%s\n", m.text.toLocal8Bit().constData());
        return Antwort::OK;
    });
    StandardwerteSetzen();
    einstellungen() = StandardEinstellungen();
    DienstSetzen<FortschrittAnzeigeDienst>(fortschrittsfenster()); // the progress window shows

    Index index;
    IndexMachen(index, anzahl);
    std::vector<qint32> auswahl(static_cast<size_t>(anzahl));
    for (int i = 0; i < anzahl; ++i)
        auswahl[size_t(i)] = i + 1;

    double langsamste = 0;
    for (int methode : {0, 1, 2, 3, 4, 6, 8}) {
        DoppelteErgebnis z;
        QElapsedTimer uhr;
        uhr.start();
        DoppelteDateienSuchen(index, auswahl, methode, anzahl, nullptr, z);
        const double ms = double(uhr.nsecsElapsed()) / 1e6;
        langsamste = std::max(langsamste, ms);
        std::printf("figure dup_ms_%d %.1f ms\n", methode, ms);
        std::printf("figure dup_findings_%d %d count\n", methode, z.Anzahl());
    }
    std::printf("figure dup_ms %.1f ms\n", langsamste);
    std::printf("figure index_entries %d count\n", anzahl);
    return 0;
}
