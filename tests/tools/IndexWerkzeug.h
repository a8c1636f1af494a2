#pragma once
// What the tools that run a window's operation over an index file share:
// messages and the status line on stderr, questions answered "Ja" (not the
// offer to wait for another program's writing), the
// question about an existing target answered as told, and one JSON line per
// entry on stdout. Exit status: 0 the run went through, 1 the index file was
// not loaded or not saved, 2 the inputs were refused, 3 wrong use.

#include "MedienInfoJson.h"

#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "library/Loeschen.h"
#include "library/Verschieben.h"

#include <QHash>
#include <cstdio>
#include <optional>
#include <vector>

inline void Ausgeben(const QString& text) { std::fprintf(stderr, "Kalvero: %s\n", text.toLocal8Bit().constData()); }

inline int FalscherAufruf(const char* programm, const char* aufruf)
{
    std::fprintf(stderr, "usage: %s %s\n", programm, aufruf);
    return 3;
}

// A message on stderr; a question gets "Ja", except the offer to try loading
// an index file again that another program writes: a tool does not wait.
inline Antwort WerkzeugAntwort(const Meldung& m)
{
    if (m.knöpfe == Knöpfe::OK) {
        Ausgeben(m.text);
        return Antwort::OK;
    }
    const bool warten = m.text.endsWith(QStringLiteral("Möchten Sie den Ladevorgang erneut versuchen?"));
    Ausgeben(m.text + (warten ? QStringLiteral(" -> Nein") : QStringLiteral(" -> Ja")));
    return warten ? Antwort::Nein : Antwort::Ja;
}

// The answer named by a --konflikt value; nothing for another text.
inline std::optional<DateiExistiert> KonfliktAntwort(const QString& wert)
{
    static const QHash<QString, DateiExistiert> antworten = {{QStringLiteral("ersetzen"), DateiExistiert::Ersetzen},
                                                            {QStringLiteral("umbenennen"), DateiExistiert::Umbenennen},
                                                            {QStringLiteral("abbrechen"), DateiExistiert::Abbrechen}};
    const auto a = antworten.constFind(wert);
    return a == antworten.cend() ? std::nullopt : std::optional<DateiExistiert>(*a);
}

// The program's settings as a fresh start has them; messages go to stderr,
// a question gets "Ja", the one about an existing target `konflikt`.
// Returns the status line, which the caller prints with StatusAusgeben.
inline StatusSchreiber& WerkzeugEinrichten(DateiExistiert konflikt = DateiExistiert::Abbrechen)
{
    einstellungen() = StandardEinstellungen();
    DienstSetzen<MeldungsDienst>(WerkzeugAntwort);
    DienstSetzen<DateiExistiertDienst>([konflikt](const QString& beschreibung) {
        Ausgeben(beschreibung);
        return konflikt;
    });
    static StatusSchreiber status;
    DienstSetzen<StatusDienst>(&status);
    return status;
}

inline void StatusAusgeben(const StatusSchreiber& status)
{
    if (!status.strStatusText.isEmpty())
        Ausgeben(status.strStatusText);
}

inline EintragsListe AlleEinträge(const Index& index)
{
    EintragsListe einträge;
    for (qint32 n = 1; n <= index.lngIndexAnzahl; ++n)
        einträge.push_back(n);
    return einträge;
}

inline QStringList IndexPfade(const Index& index)
{
    QStringList pfade;
    for (qint32 n = 1; n <= index.lngIndexAnzahl; ++n)
        pfade.append(index.strIndexPfad[size_t(n)]);
    return pfade;
}

inline void ZeileAusgeben(const JsonObjekt& zeile) { std::printf("%s\n", zeile.Text().toUtf8().constData()); }

// {"alt": path before, "neu": path afterwards, "erledigt": true|false} per entry.
inline void ErgebnisseAusgeben(const QStringList& alt, const std::vector<EintragsErgebnis>& ergebnis)
{
    for (size_t k = 0; k < ergebnis.size(); ++k) {
        JsonObjekt zeile;
        zeile.Feld("alt", alt.value(qsizetype(k)));
        zeile.Feld("neu", ergebnis[k].pfad);
        zeile.Feld("erledigt", ergebnis[k].erledigt);
        ZeileAusgeben(zeile);
    }
}
