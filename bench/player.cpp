// The player's work that grows with the index: recognising a played title
// (once per title, over the whole index) and writing a large playlist.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "player/Abspielen.h"
#include "player/Statistik.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

constexpr int kEinträge = 100000;

Index indexBauen()
{
    Index idx;
    for (int i = 0; i < kEinträge; ++i) {
        MedienInfo m;
        m.Mp3_ID3v1_Vorhanden = i % 3 == 0 ? 2 : 1;
        m.Mp3_ID3v2_Vorhanden = i % 2 == 0 ? 1 : 2;
        m.Mp3_ID3v1_Interpret = QStringLiteral("Interpret %1").arg(i % 977);
        m.Mp3_ID3v1_Titel = QStringLiteral("Ein Titel mit Nummer %1").arg(i);
        m.Mp3_ID3v2_Interpret = m.Mp3_ID3v1_Interpret;
        m.Mp3_ID3v2_Titel = m.Mp3_ID3v1_Titel;
        m.Header_Dauer = 180 + i % 120;
        idx.EintragAnhängen(QStringLiteral("/musik/ordner %1/%2 - Lied %3.mp3").arg(i % 500).arg(i % 977).arg(i),
                            m);
    }
    return idx;
}

// One recognition of `titel` (shown for 31 seconds), in milliseconds.
double erkennen(Index& idx, const QString& titel)
{
    const QDateTime t0 = QDateTime::currentDateTime();
    WinampDateiErkennen(idx, QString(), t0);
    WinampDateiErkennen(idx, titel, t0);
    QElapsedTimer uhr;
    uhr.start();
    WinampDateiErkennen(idx, titel, t0.addSecs(31));
    return uhr.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    einstellungen() = StandardEinstellungen();
    einstellungen().AbspielStatistikSpeichern = 1;
    Index idx = indexBauen();

    std::printf("figure erkennen_tags_100k %.2f ms\n", erkennen(idx, QStringLiteral("Interpret 12 - Nummer 99912")));
    std::printf("figure erkennen_dateiname_100k %.2f ms\n", erkennen(idx, QStringLiteral("Lied 4711")));
    std::printf("figure erkennen_nichts_100k %.2f ms\n", erkennen(idx, QStringLiteral("Niemand - Nirgends")));

    QElapsedTimer uhr;
    uhr.start();
    QByteArray inhalt;
    for (qint32 e = 1; e <= 10000; ++e)
        inhalt += PlaylistZeilen(idx, e, true);
    std::printf("figure playlist_10k_eintraege %.2f ms\n", uhr.nsecsElapsed() / 1e6);
    return inhalt.isEmpty() ? 1 : 0;
}
