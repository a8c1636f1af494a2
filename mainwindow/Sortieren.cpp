#include "mainwindow/Sortieren.h"

#include "core/Funktionen.h"
#include "mainwindow/Felder.h"
#include "mainwindow/Permutation.h"
#include "mainwindow/SuchCache.h"

#include <algorithm>
#include <numeric>

namespace {

// Puts the entries named by `alt` (alt[k] = old number of the entry that
// goes to place von + k) into places von..bis of the three arrays. The
// records are large: each moves once, without a second copy of the index.
void Anwenden(Index& idx, qint32 von, const std::vector<qint32>& alt)
{
    struct Teile {
        QString pfad;
        MedienInfo daten;
        qint16 flag;
    };
    ZyklischAnwenden(
        alt, von,
        [&idx](size_t ziel, size_t quelle) {
            idx.strIndexPfad[ziel] = std::move(idx.strIndexPfad[quelle]);
            idx.IndexDaten[ziel] = std::move(idx.IndexDaten[quelle]);
            idx.intSuchErgebnis[ziel] = idx.intSuchErgebnis[quelle];
        },
        [&idx](size_t stelle) {
            return Teile{std::move(idx.strIndexPfad[stelle]), std::move(idx.IndexDaten[stelle]), idx.intSuchErgebnis[stelle]};
        },
        [&idx](size_t ziel, Teile&& t) {
            idx.strIndexPfad[ziel] = std::move(t.pfad);
            idx.IndexDaten[ziel] = std::move(t.daten);
            idx.intSuchErgebnis[ziel] = t.flag;
        });
    suchCache(idx).Permutieren(von, alt);
}

bool Gültig(const Index& idx, qint32& von, qint32& bis)
{
    const qint32 anzahl = std::min<qint32>(idx.lngIndexAnzahl, idx.Kapazität());
    von = std::max<qint32>(von, 1);
    bis = std::min<qint32>(bis, anzahl);
    return bis > von;
}

} // namespace

bool IndexSortieren(Index& idx, const QString& strFeld, qint32 von, qint32 bis,
                    const std::function<bool(qint32)>& fortschritt)
{
    if (!Gültig(idx, von, bis))
        return true;
    const Feld f = FeldErmitteln(strFeld);
    const qint16 art = f == Feld::Unbekannt ? qint16(WertText) : FeldWertArt(f);
    const bool zahl = art == WertZahl || art == WertDauer;
    const size_t n = size_t(bis - von) + 1;
    // Text keys lie one after another in one buffer (kept for the next sort,
    // so its memory is not fetched afresh each time).
    static std::u16string s_texte;
    s_texte.clear();
    std::vector<qint64> zahlen(n);
    std::vector<size_t> anfang(zahl ? 0 : n + 1);
    QString wert;
    for (size_t k = 0; k < n; ++k) {
        if (fortschritt && (k & 4095) == 0 && !fortschritt(qint32(k)))
            return false;
        const qint32 i = von + qint32(k);
        const MedienInfo& m = idx.IndexDaten[size_t(i)];
        if (f == Feld::Größe) {
            zahlen[k] = std::max<qint64>(m.Datei_Größe, 0);
        } else if (f == Feld::Dauer) {
            zahlen[k] = m.Header_Dauer;
        } else if (f == Feld::Nummer) {
            zahlen[k] = i;
        } else {
            FeldWert(idx, i, f, FeldModus::Sortform, wert, strFeld);
            if (zahl) {
                zahlen[k] = ZahlZurückgeben(wert);
            } else {
                anfang[k] = s_texte.size();
                if (art == WertText)
                    wert = std::move(wert).toUpper();
                s_texte.append(reinterpret_cast<const char16_t*>(wert.constData()), size_t(wert.size()));
            }
        }
    }
    if (!zahl)
        anfang[n] = s_texte.size();
    // A cancel during the keys must not leave the index changed under us.
    if (!Gültig(idx, von, bis) || size_t(bis - von) + 1 != n)
        return false;

    std::vector<qint32> ordnung(n);
    std::iota(ordnung.begin(), ordnung.end(), 0);
    if (zahl) {
        std::stable_sort(ordnung.begin(), ordnung.end(),
                         [&](qint32 a, qint32 b) { return zahlen[size_t(a)] < zahlen[size_t(b)]; });
    } else {
        const std::u16string_view t(s_texte);
        const auto schlüssel = [&](qint32 k) { return t.substr(anfang[size_t(k)], anfang[size_t(k) + 1] - anfang[size_t(k)]); };
        std::stable_sort(ordnung.begin(), ordnung.end(), [&](qint32 a, qint32 b) { return schlüssel(a) < schlüssel(b); });
    }
    for (qint32& o : ordnung)
        o += von;
    Anwenden(idx, von, ordnung);
    idx.bolIndexGeändert = true;
    return true;
}

void IndexUmkehren(Index& idx)
{
    qint32 von = 1, bis = idx.lngIndexAnzahl;
    if (!Gültig(idx, von, bis))
        return;
    std::vector<qint32> alt(size_t(bis - von) + 1);
    for (size_t k = 0; k < alt.size(); ++k)
        alt[k] = bis - qint32(k);
    Anwenden(idx, von, alt);
    idx.bolIndexGeändert = true;
}

void QSort(Index& idx, const QString& strFeld, QString& strLetzteSortierSpalte, qint16& intSortierungUmkehren)
{
    if (strFeld != strLetzteSortierSpalte || intSortierungUmkehren != 1) {
        strLetzteSortierSpalte = strFeld;
        intSortierungUmkehren = intSortierungUmkehren == 0 ? 1 : 0;
        return;
    }
    IndexUmkehren(idx);
    strLetzteSortierSpalte = strFeld;
    intSortierungUmkehren = 0;
}

void TextListeSortieren(std::vector<QString>& liste, std::vector<qint16>& index, qint32 von, qint32 bis)
{
    von = std::max<qint32>(von, 0);
    bis = std::min<qint32>(bis, qint32(std::min(liste.size(), index.size())) - 1);
    if (bis <= von)
        return;
    std::vector<std::pair<QString, qint16>> paare;
    for (qint32 i = von; i <= bis; ++i)
        paare.emplace_back(liste[size_t(i)], index[size_t(i)]);
    std::vector<QString> gross;
    for (const auto& p : paare)
        gross.push_back(p.first.toUpper());
    std::vector<size_t> ordnung(paare.size());
    std::iota(ordnung.begin(), ordnung.end(), 0);
    std::stable_sort(ordnung.begin(), ordnung.end(),
                     [&](size_t a, size_t b) { return QStringView(gross[a]).compare(gross[b]) < 0; });
    for (size_t k = 0; k < ordnung.size(); ++k) {
        liste[size_t(von) + k] = paare[ordnung[k]].first;
        index[size_t(von) + k] = paare[ordnung[k]].second;
    }
}
