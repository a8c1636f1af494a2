// autotag FORMAT PATH [--ziel 0|1|2] [--index FILE] [--unterstrich 0|1]
//         [--felder-loeschen 0|1] [--ausschluss WORT,WORT]
// Runs AutoTAG on PATH, which need not exist: the old record is what the
// program reads from PATH when it exists, else the empty record. The
// automatic mode guesses against the index file FILE (none: an empty
// index). Prints one JSON line: Erfolg, Meldung (the number of the message
// AutoTAG would show, 0 for none) and the result record's fields as
// medieninfo-dump prints them. Exit status: 0 printed, 1 FILE not loaded,
// 2 wrong use.

#include "MedienInfoJson.h"
#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/AutoTag.h"
#include "media/MedienInfosLesen.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

int Falsch(const char* programm)
{
    std::fprintf(stderr,
                 "usage: %s FORMAT PATH [--ziel 0|1|2] [--index FILE] [--unterstrich 0|1] "
                 "[--felder-loeschen 0|1] [--ausschluss WORT,WORT]\n",
                 programm);
    return 2;
}

bool NullEins(const QString& text, bool& wert)
{
    if (text != u"0" && text != u"1")
        return false;
    wert = text == u"1";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3)
        return Falsch(argv[0]);
    DienstSetzen<MeldungsDienst>([](const Meldung& m) {
        const bool frage = m.knöpfe != Knöpfe::OK;
        std::fprintf(stderr, "Kalvero: %s%s\n", m.text.toLocal8Bit().constData(), frage ? " -> Ja" : "");
        return frage ? Antwort::Ja : Antwort::OK;
    });
    StandardwerteSetzen();
    einstellungen() = StandardEinstellungen();
    einstellungen().Mp3TagLesen = QStringLiteral("000"); // the index is not read again from its files

    const QString format = a[1];
    const QString pfad = a[2];
    AutoTagOptionen optionen; // the defaults of the settings
    qint16 ziel = 0;
    QString indexDatei;
    for (qsizetype i = 3; i < a.size(); i += 2) {
        if (i + 1 >= a.size())
            return Falsch(argv[0]);
        const QString& wert = a[i + 1];
        if (a[i] == u"--ziel" && (wert == u"0" || wert == u"1" || wert == u"2"))
            ziel = qint16(wert.toInt());
        else if (a[i] == u"--index")
            indexDatei = wert;
        else if (a[i] == u"--unterstrich" && NullEins(wert, optionen.bolUnterstrichEntfernen))
            continue;
        else if (a[i] == u"--felder-loeschen" && NullEins(wert, optionen.bolFelderLöschen))
            continue;
        else if (a[i] == u"--ausschluss")
            optionen.strAusschluß = wert.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else
            return Falsch(argv[0]);
    }

    Index index = StandardIndex();
    // The loader would create a missing index file.
    if (!indexDatei.isEmpty() && (!DoesExist(indexDatei) || !DateiLaden(index, indexDatei))) {
        std::fprintf(stderr, "%s: index file not loaded\n", argv[0]);
        return 1;
    }

    MedienInfo alt = LeereMedienInfo();
    if (DoesExist(pfad))
        alt = MedienInfosLesen(index, pfad, alt, QStringLiteral("11"), false, QStringLiteral("1"), QStringLiteral("1"));

    const AutoTagErgebnis e = AutoTagVersuchen(pfad, format, alt, ziel, optionen, index);
    // The record's fields behind the two answers, as medieninfo-dump prints them.
    const QString satz = MedienInfoJson(pfad, e.udtErgebnis);
    std::printf("{\"Erfolg\":%s,\"Meldung\":%d,%s\n", e.bolErfolg ? "true" : "false", e.intMeldung,
                satz.mid(1).toUtf8().constData());
    return 0;
}
