#include "core/IndexDatei.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"

namespace {
void (*g_hook)() = nullptr;
}

void IndexZustandHookSetzen(void (*hook)()) { g_hook = hook; }
void IndexZustandGeändert()
{
    if (g_hook)
        g_hook();
}

// Placeholders until the file format exists.
bool DateiSpeichern(Index&, const QString&, bool, QObject*) { return false; }

bool DateiLaden(Index& idx, const QString&, QObject*)
{
    idx.IndexDatenDimensionieren(1000, false);
    idx.lngIndexAnzahl = 0;
    idx.bolIndexGeändert = false;
    idx.bolIndexGeladen = true;
    return true;
}

void IndexDateiLaden()
{
    Einstellungen& e = einstellungen();
    if (e.Dateiname.isEmpty())
        e.Dateiname = PfadVerbinden(ProgrammOrdner(), QStringLiteral("Kalvbox.kvx"));
    DateiLaden(hauptIndex(), e.Dateiname);
    IndexZustandGeändert();
}
