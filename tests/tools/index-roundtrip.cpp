// index-roundtrip IN OUT
// Loads the index file IN with the program's loader and saves it as OUT with
// its writer, so that a hand-made file can be checked against the format.
// No window is shown: messages go to stderr, and questions are answered
// "Ja" (an old-format file is converted; a file another program writes is
// not waited for). Entries are not read again from
// their media files. Exit status: 0 success, 1 IN not loaded, 2 OUT not
// written, 3 wrong use.

#include "core/Einstellungen.h"
#include "core/IndexDatei.h"
#include "IndexWerkzeug.h"
#include "core/Meldungen.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN OUT\n", argv[0]);
        return 3;
    }
    const QString ein = QString::fromLocal8Bit(argv[1]);
    const QString aus = QString::fromLocal8Bit(argv[2]);
    if (!QFileInfo(ein).isFile()) {
        std::fprintf(stderr, "%s: no such file\n", argv[1]);
        return 1;
    }
    DienstSetzen<MeldungsDienst>(WerkzeugAntwort);
    einstellungen() = StandardEinstellungen();
    einstellungen().Mp3TagLesen = QStringLiteral("000");

    Index index;
    if (!DateiLaden(index, ein))
        return 1;
    std::fprintf(stderr, "%d entries loaded\n", index.lngIndexAnzahl);
    return DateiSpeichern(index, aus, false) ? 0 : 2;
}
