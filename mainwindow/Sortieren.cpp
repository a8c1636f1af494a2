#include "mainwindow/Sortieren.h"

#include "core/Funktionen.h"
#include "core/Felder.h"
#include "mainwindow/Permutation.h"
#include "mainwindow/SuchCache.h"

#include <algorithm>
#include <numeric>

namespace {

// Puts the entries named by `alt` (alt[k] = old number of the entry that
// goes to place von + k) into places von..bis of the per-entry arrays. The
// records are large: each moves once, without a second copy of the index.
void Anwenden(Index& idx, qint32 von, const std::vector<qint32>& alt)
{
    struct Teile {
        QString pfad;
        MedienInfo daten;
        qint16 flag;
        bool umgewandelt;
    };
    ZyklischAnwenden(
        alt, von,
        [&idx](size_t ziel, size_t quelle) {
            idx.strIndexPfad[ziel] = std::move(idx.strIndexPfad[quelle]);
            idx.IndexDaten[ziel] = std::move(idx.IndexDaten[quelle]);
            idx.intSuchErgebnis[ziel] = idx.intSuchErgebnis[quelle];
            idx.bolAusUmgewandelterDatei[ziel] = idx.bolAusUmgewandelterDatei[quelle];
        },
        [&idx](size_t stelle) {
            return Teile{std::move(idx.strIndexPfad[stelle]), std::move(idx.IndexDaten[stelle]), idx.intSuchErgebnis[stelle],
                         idx.bolAusUmgewandelterDatei[stelle]};
        },
        [&idx](size_t ziel, Teile&& t) {
            idx.strIndexPfad[ziel] = std::move(t.pfad);
            idx.IndexDaten[ziel] = std::move(t.daten);
            idx.intSuchErgebnis[ziel] = t.flag;
            idx.bolAusUmgewandelterDatei[ziel] = t.umgewandelt;
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

namespace {

// Appends `text` in upper case, character by character (so "ß" stays one
// character and every key keeps its length).
void GroßAnhängen(std::u16string& ziel, QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            ziel += char16_t(c >= 'a' && c <= 'z' ? c - 32 : c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            const char32_t g = QChar::toUpper(QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ziel += QChar::highSurrogate(g);
            ziel += QChar::lowSurrogate(g);
            ++i;
        } else {
            ziel += char16_t(QChar::toUpper(char32_t(c)));
        }
    }
}

// A text key: its first four code units packed so that most comparisons
// need not look further.
struct TextSchlüssel {
    quint64 präfix;
    quint32 anfang;
    quint32 länge;
    qint32 nummer;
};

} // namespace

namespace {

bool Sortieren(Index& idx, const QString& strFeld, qint32 von, qint32 bis,
               const std::function<bool(qint32)>& fortschritt, bool absteigend)
{
    if (!Gültig(idx, von, bis))
        return true;
    const Feld f = FeldErmitteln(strFeld);
    const qint16 art = f == Feld::Unbekannt ? qint16(WertText) : FeldWertArt(f);
    const bool zahl = art == WertZahl || art == WertDauer;
    const size_t n = size_t(bis - von) + 1;
    // Text keys lie one after another in one buffer (kept for the next sort,
    // so that its memory is not fetched afresh each time).
    static std::u16string s_texte;
    s_texte.clear();
    std::vector<std::pair<qint64, qint32>> zahlen(zahl ? n : 0);
    std::vector<TextSchlüssel> texte(zahl ? 0 : n);
    QString wert;
    for (size_t k = 0; k < n; ++k) {
        if (fortschritt && (k & 4095) == 0 && !fortschritt(qint32(k)))
            return false;
        const qint32 i = von + qint32(k);
        const MedienInfo& m = idx.IndexDaten[size_t(i)];
        if (zahl) {
            qint64 z;
            if (f == Feld::Größe) {
                z = std::max<qint64>(m.Datei_Größe, 0);
            } else if (f == Feld::Dauer) {
                z = m.Header_Dauer;
            } else if (f == Feld::Nummer) {
                z = i;
            } else {
                FeldWert(idx, i, f, FeldModus::Sortform, wert, strFeld);
                z = ZahlZurückgeben(wert);
            }
            zahlen[k] = {z, i};
            continue;
        }
        FeldWert(idx, i, f, FeldModus::Sortform, wert, strFeld);
        TextSchlüssel& t = texte[k];
        t.anfang = quint32(s_texte.size());
        if (art == WertText)
            GroßAnhängen(s_texte, wert);
        else
            s_texte.append(reinterpret_cast<const char16_t*>(wert.constData()), size_t(wert.size()));
        t.länge = quint32(s_texte.size() - t.anfang);
        t.präfix = 0;
        for (quint32 j = 0; j < 4; ++j)
            t.präfix = (t.präfix << 16) | (j < t.länge ? s_texte[t.anfang + j] : 0);
        t.nummer = i;
    }
    // A cancel during the keys must not leave the index changed under us.
    if (!Gültig(idx, von, bis) || size_t(bis - von) + 1 != n)
        return false;

    std::vector<qint32> alt(n);
    if (zahl) {
        std::stable_sort(zahlen.begin(), zahlen.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t k = 0; k < n; ++k)
            alt[k] = zahlen[k].second;
    } else {
        const std::u16string_view puffer(s_texte);
        std::stable_sort(texte.begin(), texte.end(), [&puffer](const TextSchlüssel& a, const TextSchlüssel& b) {
            if (a.präfix != b.präfix)
                return a.präfix < b.präfix;
            return puffer.substr(a.anfang, a.länge) < puffer.substr(b.anfang, b.länge);
        });
        for (size_t k = 0; k < n; ++k)
            alt[k] = texte[k].nummer;
    }
    if (absteigend)
        std::reverse(alt.begin(), alt.end());
    Anwenden(idx, von, alt);
    idx.bolIndexGeändert = true;
    return true;
}

} // namespace

bool IndexSortieren(Index& idx, const QString& strFeld, qint32 von, qint32 bis,
                    const std::function<bool(qint32)>& fortschritt)
{
    return Sortieren(idx, strFeld, von, bis, fortschritt, false);
}

bool SpalteSortieren(Index& idx, const QString& strFeld, QString& strLetzteSortierSpalte, qint16& intSortierungUmkehren,
                     const std::function<bool(qint32)>& fortschritt)
{
    // The toggle's reversal is folded into the sort: one permutation.
    const bool absteigend = strFeld == strLetzteSortierSpalte && intSortierungUmkehren == 1;
    if (!Sortieren(idx, strFeld, 1, idx.lngIndexAnzahl, fortschritt, absteigend))
        return false;
    strLetzteSortierSpalte = strFeld;
    intSortierungUmkehren = absteigend || intSortierungUmkehren != 0 ? 0 : 1;
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
