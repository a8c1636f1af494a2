// AutoDJ's proposal over a large index with play statistics (a few genres
// and 1,000 genres chosen), and the HTML export of the same index.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "player/AutoDJ.h"
#include "player/Exportieren.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kEinträge = 100000;
const QDateTime kJetzt(QDate(2026, 12, 9), QTime(12, 0));

Index indexBauen()
{
    Index idx;
    for (int i = 0; i < kEinträge; ++i) {
        MedienInfo m;
        m.Mp3_ID3v1_Vorhanden = 1;
        m.Mp3_ID3v2_Vorhanden = i % 2 == 0 ? 1 : 2;
        m.Mp3_ID3v1_Interpret = QStringLiteral("Interpret %1").arg(i % 977);
        m.Mp3_ID3v1_Titel = QStringLiteral("Ein Titel mit Nummer %1").arg(i);
        m.Mp3_ID3v1_Album = QStringLiteral("Album %1").arg(i % 3001);
        m.Mp3_ID3v2_Interpret = m.Mp3_ID3v1_Interpret;
        m.Mp3_ID3v2_Titel = m.Mp3_ID3v1_Titel;
        m.Mp3_ID3v2_Musikrichtung = QStringLiteral("Genre %1").arg(i % 1000);
        GenreByteSetzen(m, i % 148);
        m.Header_Dauer = 180 + i % 120;
        m.Header_Bitrate = 192;
        m.Datei_Größe = 4000000 + i;
        m.Datei_AngefordertAnzahl = i % 7;
        m.Datei_AngefordertGespieltAm = kJetzt.addSecs(-qint64(i) * 3719).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        idx.EintragAnhängen(QStringLiteral("/musik/ordner %1/%2 - Lied %3.mp3").arg(i % 500).arg(i % 977).arg(i), m);
    }
    return idx;
}

double vorschlagMs(const Index& idx, const QStringList& genres)
{
    AutoDJKriterien k;
    k.genres = genres;
    k.auslassen = 1;
    k.alteSeltener = true;
    k.sehrAlteHäufiger = true;
    k.maximum = 50;
    QRandomGenerator zufall(4711);
    QElapsedTimer uhr;
    uhr.start();
    const AutoDJVorschlag v = AutoDJErstellen(idx, k, [&zufall] { return zufall.generateDouble(); }, kJetzt);
    const double ms = uhr.nsecsElapsed() / 1e6;
    if (v.einträge.empty())
        std::fprintf(stderr, "no proposal\n");
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    einstellungen() = StandardEinstellungen();
    DienstSetzen<MeldungsDienst>([](const Meldung& m) { return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Abbrechen; });
    const Index idx = indexBauen();

    std::printf("figure autodj_ms %.2f ms\n", vorschlagMs(idx, {"Rock", "Pop", "", "Genre 7"}));
    QStringList tausend;
    for (int g = 0; g < 1000; ++g)
        tausend << QStringLiteral("genre %1").arg(g);
    std::printf("figure autodj_1000_genres_ms %.2f ms\n", vorschlagMs(idx, tausend));

    std::vector<qint32> alle;
    for (qint32 e = 1; e <= idx.lngIndexAnzahl; ++e)
        alle.push_back(e);
    const QStringList spalten = {"Interpret", "Titel", "Album", "Dauer", "Bitrate", "Größe", "Genre", "Pfad+Dateiname"};
    QTemporaryDir ordner;
    QElapsedTimer uhr;
    uhr.start();
    const bool ok = ListeExportieren(idx, alle, ordner.filePath("liste.htm"), ExportHtml, QString(), QString(), spalten);
    std::printf("figure export_html_ms %.2f ms\n", uhr.nsecsElapsed() / 1e6);
    return ok ? 0 : 1;
}
