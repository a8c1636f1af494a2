// sync INDEXFILE
// Synchronises the index file with its folders as its index options say
// (the folders, their sub-folder and copy-into settings, whether missing
// files are removed afterwards), as the main window's command does; every
// question is answered "Ja". Saves the index file and prints one JSON line
// per entry before or after the run: {"pfad": …, "vorher": true|false,
// "nachher": true|false}, in the order of the index before, then the added
// ones. Messages and the status line go to stderr.
// Exit status: 0 the run went through (also when the index names no folder:
// the message says so, and missing files are looked for all the same), 1 the
// index file was not loaded or not saved, 3 wrong use.

#include "IndexWerkzeug.h"

#include "core/IndexDatei.h"
#include "library/Synchronisieren.h"

#include <QCoreApplication>
#include <QSet>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 2)
        return FalscherAufruf(argv[0], "INDEXFILE");
    const StatusSchreiber& status = WerkzeugEinrichten();

    Index index;
    if (!DateiLaden(index, a[1]))
        return 1;
    const QStringList vorher = IndexPfade(index);
    IndexSynchronisieren(index, nullptr);
    StatusAusgeben(status);
    const QStringList nachher = IndexPfade(index);
    const QSet<QString> bleibt(nachher.cbegin(), nachher.cend());
    const QSet<QString> war(vorher.cbegin(), vorher.cend());
    const auto zeile = [](const QString& pfad, bool v, bool n) {
        JsonObjekt z;
        z.Feld("pfad", pfad);
        z.Feld("vorher", v);
        z.Feld("nachher", n);
        ZeileAusgeben(z);
    };
    for (const QString& p : vorher)
        zeile(p, true, bleibt.contains(p));
    for (const QString& p : nachher)
        if (!war.contains(p))
            zeile(p, false, true);
    return DateiSpeichern(index, a[1], false) ? 0 : 1;
}
