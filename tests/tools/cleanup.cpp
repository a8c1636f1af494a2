// cleanup INDEXFILE AKTION
// Carries out the clean-up window's action AKTION (1 delete the file, 2 to
// the trash, 3 remove from the index only, 4 replace by an empty file with
// another extension) for every entry of the index file, as the window does
// after "Ok": the same question, runs and messages; every question is
// answered "Ja". Saves the index file and prints one JSON line per entry:
// {"pfad": …, "erledigt": true|false}, erledigt when the entry left the
// index. Messages and the status line go to stderr.
// Exit status: 0 the run went through, 1 the index file was not loaded or
// not saved, 2 no action for any entry (an empty index, AKTION 0), 3 wrong
// use.

#include "IndexWerkzeug.h"

#include "core/IndexDatei.h"
#include "library/IndexAufraeumen.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    bool zahl = false;
    const int aktion = a.size() == 3 ? a[2].toInt(&zahl) : -1;
    if (!zahl || aktion < KeineAktion || aktion > AktionLeereDatei)
        return FalscherAufruf(argv[0], "INDEXFILE AKTION");
    const StatusSchreiber& status = WerkzeugEinrichten();

    Index index;
    if (!DateiLaden(index, a[1]))
        return 1;
    std::vector<qint32> aktionen(size_t(index.lngIndexAnzahl) + 1, aktion);
    aktionen[0] = KeineAktion;
    if (!AktionenBestätigen(aktionen, nullptr))
        return 2;
    const QStringList pfade = IndexPfade(index);
    std::vector<bool> erledigt;
    IndexAufräumen(index, aktionen, nullptr, &erledigt);
    StatusAusgeben(status);
    for (qsizetype k = 0; k < pfade.size(); ++k) {
        JsonObjekt zeile;
        zeile.Feld("pfad", pfade[k]);
        zeile.Feld("erledigt", bool(erledigt[size_t(k) + 1]));
        ZeileAusgeben(zeile);
    }
    return DateiSpeichern(index, a[1], false) ? 0 : 1;
}
