// export INDEXFILE FORMAT OUT [--spalten FELD,FELD,...] [--trenner ZEICHEN] [--anfuehrung 0|1]
// Writes every entry of the index file to OUT with the program's export:
// FORMAT 0 separated text, 1 HTML, 2 playlist (OUT's extension picks m3u or
// pls). The columns are the named fields, by default the index file's own
// column layout. "\t" as separator stands for the tab character. Messages go
// to stderr; the question whether to show the file is answered "Abbrechen"
// without being printed.
// Exit status: 0 written, 2 not written (with the message), 3 wrong use.

#include "core/Einstellungen.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "mainwindow/Spalten.h"
#include "player/Exportieren.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

int falscherAufruf(const char* programm)
{
    std::fprintf(stderr,
                 "usage: %s INDEXFILE FORMAT OUT [--spalten FELD,FELD,...] [--trenner ZEICHEN] [--anfuehrung 0|1]\n",
                 programm);
    return 3;
}

QStringList layoutSpalten(Index& idx)
{
    std::vector<ListenSpalte> spalten;
    bool leiste = true, gitter = false;
    SpaltenAnpassen(idx, spalten, leiste, gitter);
    QStringList namen;
    for (const ListenSpalte& s : spalten)
        namen << SpaltenFeld(s);
    return namen;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 4 || (a.size() - 4) % 2 != 0)
        return falscherAufruf(argv[0]);
    const QString format = a[2];
    if (format != "0" && format != "1" && format != "2")
        return falscherAufruf(argv[0]);
    std::optional<QStringList> spalten;
    QString trenner = QStringLiteral(",");
    QString anführung = QStringLiteral("\"");
    for (qsizetype i = 4; i + 1 < a.size(); i += 2) {
        if (a[i] == "--spalten")
            spalten = a[i + 1].isEmpty() ? QStringList() : a[i + 1].split(QLatin1Char(','));
        else if (a[i] == "--trenner")
            trenner = a[i + 1] == QLatin1String("\\t") ? QStringLiteral("\t") : a[i + 1];
        else if (a[i] == "--anfuehrung" && (a[i + 1] == "0" || a[i + 1] == "1"))
            anführung = a[i + 1] == "1" ? QStringLiteral("\"") : QString();
        else
            return falscherAufruf(argv[0]);
    }

    DienstSetzen<MeldungsDienst>([](const Meldung& m) {
        if (m.knöpfe != Knöpfe::OK)
            return Antwort::Abbrechen;
        std::fprintf(stderr, "Kalvero: %s\n", m.text.toLocal8Bit().constData());
        return Antwort::OK;
    });
    einstellungen() = StandardEinstellungen();
    einstellungen().Mp3TagLesen = QStringLiteral("000");

    Index idx;
    if (!DateiLaden(idx, a[1]))
        return 2;
    std::vector<qint32> einträge;
    for (qint32 e = 1; e <= idx.lngIndexAnzahl; ++e)
        einträge.push_back(e);
    const qint16 f = qint16(format.toInt());
    const QStringList namen = spalten ? *spalten : layoutSpalten(idx);
    return ListeExportieren(idx, einträge, a[3], f, f == ExportText ? anführung : QString(),
                            f == ExportText ? trenner : QString(), namen)
        ? 0
        : 2;
}
