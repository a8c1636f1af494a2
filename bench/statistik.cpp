// The index statistics over 100,000 made entries.
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "mainwindow/IndexStatistik.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint32 n = argc > 1 ? qint32(std::atoi(argv[1])) : 100000;
    Index idx;
    const QDate start(2015, 1, 1);
    for (qint32 i = 0; i < n; ++i) {
        MedienInfo m = LeereMedienInfo();
        m.Datei_Größe = i % 97 == 0 ? -1 : 3000000 + i;
        m.Header_Dauer = i % 89 == 0 ? -1 : 120 + i % 300;
        m.Datei_HinzugefügtAm = start.addDays(i % 4000).toString(QStringLiteral("dd.MM.yyyy"));
        if (i % 13 == 0)
            m.Datei_Datenträger = QStringLiteral("CD");
        idx.EintragAnhängen(QStringLiteral("/musik/%1.mp3").arg(i), m);
    }
    QElapsedTimer uhr;
    uhr.start();
    const int runden = 5;
    qint64 länge = 0;
    for (int r = 0; r < runden; ++r)
        länge += IndexStatistikBerechnen(idx, QDate(2026, 12, 9)).verwaltung.size();
    std::printf("figure statistik_ms %.1f ms\n", double(uhr.nsecsElapsed()) / 1e6 / runden);
    return länge > 0 ? 0 : 1;
}
