#include "core/Liste.h"

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

void SucheAktualisieren(bool bolAutoComplete)
{
    if (Dienst<ListenAnzeigeDienst>())
        Dienst<ListenAnzeigeDienst>()->SucheAktualisieren(bolAutoComplete);
}

void ListeErstellenAktualisieren(qint32 lngVon, qint32 lngBis)
{
    if (Dienst<ListenAnzeigeDienst>())
        Dienst<ListenAnzeigeDienst>()->ListeErstellenAktualisieren(lngVon, lngBis);
}

void NeueInListeMarkieren(qint32 lngAnzahl)
{
    if (Dienst<ListenAnzeigeDienst>())
        Dienst<ListenAnzeigeDienst>()->NeueInListeMarkieren(lngAnzahl);
}

void AuswahlErmitteln()
{
    if (Dienst<ListenAnzeigeDienst>())
        Dienst<ListenAnzeigeDienst>()->AuswahlErmitteln();
}

void BeschreibungAktualisieren()
{
    if (Dienst<ListenAnzeigeDienst>())
        Dienst<ListenAnzeigeDienst>()->BeschreibungAktualisieren();
}
