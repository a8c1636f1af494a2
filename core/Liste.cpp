#include "core/Liste.h"

#include <algorithm>

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

std::vector<qint32> AuswahlEinträgeKopieren()
{
    AuswahlErmitteln();
    const ListenZustand& z = listenZustand();
    const qint32 n = std::min<qint32>(z.lngAuswahlAnzahl, qint32(z.lngAuswahlEintrag.size()) - 1);
    std::vector<qint32> liste;
    for (qint32 i = 1; i <= n; ++i)
        liste.push_back(z.lngAuswahlEintrag[size_t(i)]);
    return liste;
}

void BeschreibungAktualisieren()
{
    if (Dienst<ListenAnzeigeDienst>())
        Dienst<ListenAnzeigeDienst>()->BeschreibungAktualisieren();
}
