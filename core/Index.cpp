#include "core/Index.h"

#include <algorithm>

void Index::IndexDatenDimensionieren(qint32 anzahl, bool behalten)
{
    const size_t n = size_t(std::max<qint32>(anzahl, 0)) + 1;
    if (!behalten) {
        strIndexPfad.assign(n, QString());
        intSuchErgebnis.assign(n, 0);
        IndexDaten.assign(n, MedienInfo());
        bolAusUmgewandelterDatei.assign(n, false);
        return;
    }
    strIndexPfad.resize(n);
    intSuchErgebnis.resize(n, 0);
    IndexDaten.resize(n);
    bolAusUmgewandelterDatei.resize(n, false);
}

qint32 Index::EintragAnhängen(const QString& pfad, const MedienInfo& info, qint16 suchErgebnis)
{
    const qint32 nr = lngIndexAnzahl + 1;
    if (nr > Kapazität())
        IndexDatenDimensionieren(std::max<qint32>(nr, Kapazität() + Kapazität() / 2 + 16), true);
    strIndexPfad[nr] = pfad;
    IndexDaten[nr] = info;
    intSuchErgebnis[nr] = suchErgebnis;
    bolAusUmgewandelterDatei[nr] = false;
    lngIndexAnzahl = nr;
    return nr;
}

qint32 Index::EinträgeEntfernen(std::vector<qint32> einträge)
{
    std::vector<char> weg(size_t(lngIndexAnzahl) + 1, 0);
    qint32 anzahl = 0;
    for (qint32 e : einträge) {
        if (GültigerEintrag(e) && !weg[size_t(e)]) {
            weg[size_t(e)] = 1;
            ++anzahl;
        }
    }
    if (anzahl == 0)
        return 0;
    qint32 ziel = 1;
    for (qint32 i = 1; i <= lngIndexAnzahl; ++i) {
        if (weg[size_t(i)])
            continue;
        if (ziel != i) {
            strIndexPfad[size_t(ziel)] = std::move(strIndexPfad[size_t(i)]);
            IndexDaten[size_t(ziel)] = std::move(IndexDaten[size_t(i)]);
            intSuchErgebnis[size_t(ziel)] = intSuchErgebnis[size_t(i)];
            bolAusUmgewandelterDatei[size_t(ziel)] = bolAusUmgewandelterDatei[size_t(i)];
        }
        ++ziel;
    }
    for (qint32 i = ziel; i <= lngIndexAnzahl; ++i) {
        strIndexPfad[size_t(i)].clear();
        IndexDaten[size_t(i)] = MedienInfo();
        intSuchErgebnis[size_t(i)] = 0;
        bolAusUmgewandelterDatei[size_t(i)] = false;
    }
    lngIndexAnzahl -= anzahl;
    bolIndexGeändert = true;
    return anzahl;
}

Index& hauptIndex()
{
    static Index index;
    return index;
}
