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

#include "MedienInfoJson.h"

#include "core/Einstellungen.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "library/Umbenennen.h"
#include "library/Verschieben.h"

#include <QCoreApplication>
#include <QHash>
#include <cstdio>

namespace {

int falscherAufruf(const char* programm)
{
    std::fprintf(stderr,
                 "usage: %s INDEXFILE FUNKTION [--format TEXT] [--suchen TEXT --ersetzen TEXT] [--modus N] "
                 "[--endung TEXT] [--start TEXT --nummer TEXT --ende TEXT] [--leer-endung TEXT] "
                 "[--konflikt ersetzen|umbenennen|abbrechen]\n",
                 programm);
    return 3;
}

void Ausgeben(const QString& text) { std::fprintf(stderr, "Kalvero: %s\n", text.toLocal8Bit().constData()); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3 || (a.size() - 3) % 2 != 0)
        return falscherAufruf(argv[0]);
    bool zahl = false;
    const int position = a[2].toInt(&zahl);
    if (!zahl)
        return falscherAufruf(argv[0]);

    // The inputs start as the window shows them: from the settings, the case
    // option "first letters" unless another is stored, the empty-file
    // extension as designed.
    einstellungen() = StandardEinstellungen();
    UmbenennenEingaben e = UmbenennenEinstellungenLesen();
    e.intFunktion = UmbenennenFunktionAusPosition(position);
    if (e.intSchreibweise != 1 && e.intSchreibweise != 2 && e.intSchreibweise != 4)
        e.intSchreibweise = 3;
    e.strLeereEndung = QStringLiteral("inanderemordner");
    DateiExistiert konflikt = DateiExistiert::Abbrechen;
    const QHash<QString, DateiExistiert> antworten = {{QStringLiteral("ersetzen"), DateiExistiert::Ersetzen},
                                                     {QStringLiteral("umbenennen"), DateiExistiert::Umbenennen},
                                                     {QStringLiteral("abbrechen"), DateiExistiert::Abbrechen}};
    const QHash<QString, QString*> texte = {
        {QStringLiteral("--format"), &e.strFormat},      {QStringLiteral("--suchen"), &e.strErsetzen},
        {QStringLiteral("--ersetzen"), &e.strErsetzenDurch}, {QStringLiteral("--endung"), &e.strEndung},
        {QStringLiteral("--start"), &e.strAnfang},       {QStringLiteral("--nummer"), &e.strStartZahl},
        {QStringLiteral("--ende"), &e.strEnde},          {QStringLiteral("--leer-endung"), &e.strLeereEndung},
    };
    for (qsizetype i = 3; i + 1 < a.size(); i += 2) {
        const QString& name = a[i];
        const QString& wert = a[i + 1];
        if (texte.contains(name))
            *texte.value(name) = wert;
        else if (name == QLatin1String("--modus"))
            e.intSchreibweise = wert.toInt();
        else if (name == QLatin1String("--konflikt") && antworten.contains(wert))
            konflikt = antworten.value(wert);
        else
            return falscherAufruf(argv[0]);
    }

    DienstSetzen<MeldungsDienst>([](const Meldung& m) {
        const bool frage = m.knöpfe != Knöpfe::OK;
        Ausgeben(m.text + (frage ? QStringLiteral(" -> Ja") : QString()));
        return frage ? Antwort::Ja : Antwort::OK;
    });
    DienstSetzen<DateiExistiertDienst>([konflikt](const QString& beschreibung) {
        Ausgeben(beschreibung);
        return konflikt;
    });

    Index index;
    if (!DateiLaden(index, a[1]))
        return 1;
    if (const QString hinweis = UmbenennenEingabenPrüfen(e); !hinweis.isEmpty()) {
        Ausgeben(hinweis);
        return 2;
    }
    EintragsListe einträge;
    QStringList alt;
    for (qint32 n = 1; n <= index.lngIndexAnzahl; ++n) {
        einträge.push_back(n);
        alt.append(index.strIndexPfad[size_t(n)]);
    }
    std::vector<bool> erledigt;
    DateienUmbenennen(index, einträge, e, &erledigt);
    for (size_t k = 0; k < einträge.size(); ++k) {
        JsonObjekt zeile;
        zeile.Feld("alt", alt[qsizetype(k)]);
        zeile.Feld("neu", index.strIndexPfad[size_t(einträge[k])]);
        zeile.Feld("erledigt", bool(erledigt[k]));
        std::printf("%s\n", zeile.Text().toUtf8().constData());
    }
    return DateiSpeichern(index, a[1], false) ? 0 : 1;
}
