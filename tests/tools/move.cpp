// move INDEXFILE ZIELORDNER [--kopieren] [--konflikt ersetzen|umbenennen|abbrechen]
// Moves (or, with --kopieren, copies) the file of every entry of the index
// file into ZIELORDNER, as the copy and move window does after "Ok": the
// same folder check, availability check, conflict question and messages.
// The question about an existing target gets the --konflikt answer
// (abbrechen by default), every other question "Ja". Saves the index file
// and prints one JSON line per entry: {"alt": …, "neu": …, "erledigt":
// true|false}, "neu" the path the file (or its copy) arrived at. Messages go
// to stderr.
// Exit status: 0 the run went through, 1 the index file was not loaded or
// not saved, 2 the folder was refused, 3 wrong use.

#include "IndexWerkzeug.h"

#include "core/IndexDatei.h"
#include "library/Kopieren.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const char* const aufruf = "INDEXFILE ZIELORDNER [--kopieren] [--konflikt ersetzen|umbenennen|abbrechen]";
    const QStringList a = app.arguments();
    if (a.size() < 3)
        return FalscherAufruf(argv[0], aufruf);
    bool kopieren = false;
    std::optional<DateiExistiert> konflikt = DateiExistiert::Abbrechen;
    for (qsizetype i = 3; i < a.size(); ++i) {
        if (a[i] == QLatin1String("--kopieren"))
            kopieren = true;
        else if (a[i] == QLatin1String("--konflikt") && i + 1 < a.size())
            konflikt = KonfliktAntwort(a[++i]);
        else
            konflikt.reset();
        if (!konflikt)
            return FalscherAufruf(argv[0], aufruf);
    }
    WerkzeugEinrichten(*konflikt);

    Index index;
    if (!DateiLaden(index, a[1]))
        return 1;
    QString meldung;
    const QString ordner = KopierenOrdnerPrüfen(a[2], meldung);
    if (ordner.isEmpty()) {
        Ausgeben(meldung);
        return 2;
    }
    const QStringList alt = IndexPfade(index);
    std::vector<EintragsErgebnis> ergebnis;
    DateienKopieren(index, AlleEinträge(index), ordner, !kopieren, &ergebnis);
    ErgebnisseAusgeben(alt, ergebnis);
    return DateiSpeichern(index, a[1], false) ? 0 : 1;
}
