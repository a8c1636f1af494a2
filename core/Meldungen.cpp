#include "core/Meldungen.h"

#include <cstdio>

namespace {
MeldungsHandler& handler()
{
    static MeldungsHandler h;
    return h;
}
} // namespace

Antwort MeldungZeigen(const QString& text, Knöpfe knöpfe, Symbol symbol, QObject* besitzer)
{
    if (handler())
        return handler()(Meldung{text, knöpfe, symbol, besitzer});
    std::fprintf(stderr, "Kalvero: %s\n", text.toLocal8Bit().constData());
    return (knöpfe == Knöpfe::OK || knöpfe == Knöpfe::OKAbbrechen) ? Antwort::OK : Antwort::Ja;
}

MeldungsHandler MeldungsHandlerSetzen(MeldungsHandler neu)
{
    MeldungsHandler alt = std::move(handler());
    handler() = std::move(neu);
    return alt;
}

QString FehlerText(const QString& beschreibung, int nummer)
{
    return beschreibung + QStringLiteral(" (Fehler ") + QString::number(nummer) + QLatin1Char(')');
}
