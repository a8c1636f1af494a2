#include "mainwindow/Liste.h"

namespace {
ListenAnzeige* g_anzeige = nullptr;
}

void ListenZustand::AuswahlLeeren()
{
    lngAuswahlAnzahl = 0;
    lngAuswahlEintrag.assign(2, 0);
    lngAuswahlPosition.assign(2, 0);
}

ListenZustand& listenZustand()
{
    static ListenZustand z;
    return z;
}

void ListenAnzeigeSetzen(ListenAnzeige* anzeige) { g_anzeige = anzeige; }

void SucheAktualisieren(bool bolAutoComplete)
{
    if (g_anzeige) {
        g_anzeige->SucheAktualisieren(bolAutoComplete);
        return;
    }
    ListenZustand& z = listenZustand();
    Index& idx = hauptIndex();
    SuchErgebnisseZurücksetzen(idx, z.lngListeVon, z.lngListeBis);
    if (z.suchbegriffe.lngSuchbegriffeAnzahl > 0)
        IndexSucheDurchführen(idx, z.suchbegriffe, z.lngListeVon, z.lngListeBis);
}

void ListeErstellenAktualisieren(qint32 lngVon, qint32 lngBis)
{
    if (g_anzeige)
        g_anzeige->ListeErstellenAktualisieren(lngVon, lngBis);
}

void NeueInListeMarkieren(qint32 lngAnzahl)
{
    if (g_anzeige)
        g_anzeige->NeueInListeMarkieren(lngAnzahl);
}

void AuswahlErmitteln()
{
    if (g_anzeige)
        g_anzeige->AuswahlErmitteln();
}

void BeschreibungAktualisieren()
{
    if (g_anzeige)
        g_anzeige->BeschreibungAktualisieren();
}
