// rename INDEXFILE FUNKTION [--format TEXT] [--suchen TEXT --ersetzen TEXT] [--modus N] [--endung TEXT]
//        [--start TEXT --nummer TEXT --ende TEXT] [--leer-endung TEXT]
//        [--konflikt ersetzen|umbenennen|abbrechen]
// Runs the rename window's function at list position FUNKTION (0 to 8) over
// every entry of the index file, as the window does after "Ok": the same
// checks, engine and messages. The question about an existing target gets
// the --konflikt answer (abbrechen by default), every other question "Ja";
// the manual functions get no input and leave their entries. Saves the index
// file and prints one JSON line per entry: {"alt": …, "neu": …, "erledigt":
// true|false}. Messages go to stderr.
// Exit status: 0 the run went through, 1 the index file was not loaded or
// not saved, 2 the inputs were refused, 3 wrong use.

#include "IndexWerkzeug.h"

#include "core/IndexDatei.h"
#include "library/Umbenennen.h"

#include <QCoreApplication>

namespace {

const char* const kAufruf = "INDEXFILE FUNKTION [--format TEXT] [--suchen TEXT --ersetzen TEXT] [--modus N] "
                            "[--endung TEXT] [--start TEXT --nummer TEXT --ende TEXT] [--leer-endung TEXT] "
                            "[--konflikt ersetzen|umbenennen|abbrechen]";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3 || (a.size() - 3) % 2 != 0)
        return FalscherAufruf(argv[0], kAufruf);
    bool zahl = false;
    const int position = a[2].toInt(&zahl);
    if (!zahl)
        return FalscherAufruf(argv[0], kAufruf);

    QHash<QString, QString> werte;
    for (qsizetype i = 3; i + 1 < a.size(); i += 2)
        werte.insert(a[i], a[i + 1]);
    const auto konflikt = KonfliktAntwort(werte.value(QStringLiteral("--konflikt"), QStringLiteral("abbrechen")));
    if (!konflikt)
        return FalscherAufruf(argv[0], kAufruf);
    WerkzeugEinrichten(*konflikt);

    // The inputs start as the window shows them: from the settings, the case
    // option "first letters" unless another is stored, the empty-file
    // extension as designed.
    UmbenennenEingaben e = UmbenennenEinstellungenLesen();
    e.intFunktion = UmbenennenFunktionAusPosition(position);
    if (e.intSchreibweise != 1 && e.intSchreibweise != 2 && e.intSchreibweise != 4)
        e.intSchreibweise = 3;
    e.strLeereEndung = QStringLiteral("inanderemordner");
    const QHash<QString, QString*> texte = {
        {QStringLiteral("--format"), &e.strFormat},      {QStringLiteral("--suchen"), &e.strErsetzen},
        {QStringLiteral("--ersetzen"), &e.strErsetzenDurch}, {QStringLiteral("--endung"), &e.strEndung},
        {QStringLiteral("--start"), &e.strAnfang},       {QStringLiteral("--nummer"), &e.strStartZahl},
        {QStringLiteral("--ende"), &e.strEnde},          {QStringLiteral("--leer-endung"), &e.strLeereEndung},
    };
    for (auto w = werte.cbegin(); w != werte.cend(); ++w) {
        if (texte.contains(w.key()))
            *texte.value(w.key()) = w.value();
        else if (w.key() == QLatin1String("--modus"))
            e.intSchreibweise = w.value().toInt();
        else if (w.key() != QLatin1String("--konflikt"))
            return FalscherAufruf(argv[0], kAufruf);
    }

    Index index;
    if (!DateiLaden(index, a[1]))
        return 1;
    if (const QString hinweis = UmbenennenEingabenPrüfen(e); !hinweis.isEmpty()) {
        Ausgeben(hinweis);
        return 2;
    }
    const EintragsListe einträge = AlleEinträge(index);
    const QStringList alt = IndexPfade(index);
    std::vector<EintragsErgebnis> ergebnis;
    DateienUmbenennen(index, einträge, e, &ergebnis);
    ErgebnisseAusgeben(alt, ergebnis);
    return DateiSpeichern(index, a[1], false) ? 0 : 1;
}
