#include "core/Meldungen.h"

#include <cstdio>


Antwort MeldungZeigen(const QString& text, Knöpfe knöpfe, Symbol symbol, QObject* besitzer)
{
    if (const MeldungsHandler& h = Dienst<MeldungsDienst>())
        return h(Meldung{text, knöpfe, symbol, besitzer});
    std::fprintf(stderr, "Kalvero: %s\n", text.toLocal8Bit().constData());
    return (knöpfe == Knöpfe::OK || knöpfe == Knöpfe::OKAbbrechen) ? Antwort::OK : Antwort::Ja;
}

QString FehlerText(const QString& beschreibung, int nummer)
{
    return beschreibung + QStringLiteral(" (Fehler ") + QString::number(nummer) + QLatin1Char(')');
}
