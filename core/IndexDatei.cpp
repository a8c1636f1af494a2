#include "core/IndexDatei.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"

void IndexDateiLaden()
{
    Einstellungen& e = einstellungen();
    if (e.Dateiname.isEmpty())
        e.Dateiname = PfadVerbinden(ProgrammOrdner(), QStringLiteral("Kalvbox.kvx"));
    Index& idx = hauptIndex();
    idx.IndexDatenDimensionieren(1000, false);
    idx.lngIndexAnzahl = 0;
    idx.bolIndexGeändert = false;
    idx.bolIndexGeladen = true;
}
