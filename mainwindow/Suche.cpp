#include "mainwindow/Suche.h"

#include "core/Funktionen.h"
#include "core/Felder.h"
#include "mainwindow/SuchCache.h"

#include <QSet>
#include <algorithm>
#include <cstring>
#include <exception>

// --- the query store -------------------------------------------------------

namespace {
void Dimensionieren(Suchbegriffe& s, qint32 anzahl)
{
    const size_t n = size_t(std::max<qint32>(anzahl, 1)) + 1;
    s.strSuchbegriffeFeld.resize(n);
    s.strSuchbegriffeText.resize(n);
    s.strSuchbegriffeOptionen.resize(n);
}
} // namespace

bool SuchbegriffeZurücksetzen(Suchbegriffe& s)
{
    s = Suchbegriffe();
    return true;
}

bool SuchbegriffeHinzufügen(Suchbegriffe& s, const QString& text, const QString& feld, const QString& option)
{
    if (s.lngSuchbegriffeAnzahl <= 0)
        s = Suchbegriffe();
    const qint32 n = std::max<qint32>(s.lngSuchbegriffeAnzahl, 0) + 1;
    Dimensionieren(s, n);
    s.lngSuchbegriffeAnzahl = n;
    return SuchbegriffeÄndern(s, n, text, feld, option);
}

bool SuchbegriffeÄndern(Suchbegriffe& s, qint32 n, const QString& text, const QString& feld, const QString& option)
{
    if (n < 1 || n > s.lngSuchbegriffeAnzahl || size_t(n) >= s.strSuchbegriffeFeld.size())
        return false;
    s.strSuchbegriffeFeld[size_t(n)] = feld;
    s.strSuchbegriffeText[size_t(n)] = text;
    s.strSuchbegriffeOptionen[size_t(n)] = option;
    return true;
}

bool SuchbegriffeLöschen(Suchbegriffe& s, qint32 n)
{
    if (n < 1 || n > s.lngSuchbegriffeAnzahl)
        return false;
    for (auto* a : {&s.strSuchbegriffeFeld, &s.strSuchbegriffeText, &s.strSuchbegriffeOptionen})
        a->erase(a->begin() + n);
    --s.lngSuchbegriffeAnzahl;
    Dimensionieren(s, s.lngSuchbegriffeAnzahl);
    return true;
}

// --- the engine -------------------------------------------------------------

namespace {

// One word of a query, prepared once for all entries.
struct Wort {
    QString text;
    std::string gefaltet; // for the standard search's folded texts
    bool erstes = false;
};

// Where the folded word lies in the folded text, or -1.
qsizetype GefaltetFinden(std::string_view text, const std::string& wort)
{
    const void* p = memmem(text.data(), text.size(), wort.data(), wort.size());
    return p ? static_cast<const char*>(p) - text.data() : -1;
}

// Position (0-based) where `wort` matches a value of `art`, or -1.
qsizetype Treffer(const QString& wert, qint16 art, const Wort& w)
{
    if (wert.isEmpty())
        return -1;
    if (w.text.isEmpty())
        return 0;
    switch (art) {
    case WertZahl:
        return wert == w.text ? 0 : -1;
    case WertDatum:
    case WertDatumZeit:
        return w.text.size() >= 4 ? wert.indexOf(w.text) : -1;
    case WertDauer:
        return w.text.size() >= 4 && w.text.contains(QLatin1Char(':')) ? wert.indexOf(w.text) : -1;
    default:
        return wert.indexOf(w.text, 0, Qt::CaseInsensitive);
    }
}

} // namespace

bool IndexSucheDurchführen(Index& idx, const Suchbegriffe& s, qint32& von, qint32& bis)
{
    try {
        if (von == -1)
            von = 1;
        const qint32 anzahl = std::min<qint32>(idx.lngIndexAnzahl, idx.Kapazität());
        if (bis == 0 || anzahl <= 0)
            return true;
        // A range from before a change of the index is clamped to it.
        von = std::clamp<qint32>(von, 1, anzahl);
        bis = std::clamp<qint32>(bis, 1, anzahl);
        std::vector<qint16>& erg = idx.intSuchErgebnis;
        SuchCache& cache = suchCache(idx);
        bool exakt = false;
        QString wert;

        const qint32 qAnzahl = std::min<qint32>(s.lngSuchbegriffeAnzahl, qint32(s.strSuchbegriffeFeld.size()) - 1);
        for (qint32 q = 1; q <= qAnzahl; ++q) {
            const QString& feldName = s.strSuchbegriffeFeld[size_t(q)];
            const QString& text = s.strSuchbegriffeText[size_t(q)];
            const QString& option = s.strSuchbegriffeOptionen[size_t(q)];
            const Feld feld = FeldErmitteln(feldName);
            const bool standard = feld == Feld::Standardsuche;
            const bool muss = option.startsWith(QLatin1Char('0'));
            const bool oder = option.size() >= 2 && option[1] == QLatin1Char('1');
            const bool genauMöglich = option == QLatin1String("00") && !text.isEmpty();
            const std::string textGefaltet = Gefaltet(text);

            QStringList wörter;
            TextDatensätzeLesen(text, QLatin1Char(' '), 1, -1, wörter);
            for (qsizetype wi = 0; wi < wörter.size(); ++wi) {
                Wort w;
                w.text = wörter[wi];
                w.gefaltet = Gefaltet(w.text);
                w.erstes = wi == 0;

                const qint32 a = oder ? 1 : von;
                const qint32 b = oder ? anzahl : bis;
                qint32 neuVon = 0, neuBis = 0;
                for (qint32 i = a; i <= b; ++i) {
                    qint16& e = erg[size_t(i)];
                    if (e < 1)
                        continue;
                    bool trifft;
                    bool genau = false;
                    if (standard && w.text.isEmpty()) {
                        trifft = true;
                    } else if (standard) {
                        const std::string_view t = cache.StandardText(idx, i);
                        const qsizetype p = GefaltetFinden(t, w.gefaltet);
                        trifft = p >= 0;
                        genau = p == 0 && genauMöglich && w.erstes && t == textGefaltet;
                    } else {
                        const qint16 art = FeldWert(idx, i, feld, FeldModus::Anzeige, wert, feldName);
                        const qsizetype p = Treffer(wert, art, w);
                        trifft = p >= 0;
                        genau = p == 0 && genauMöglich && w.erstes && TextGleich(wert, text);
                    }

                    if (!trifft) {
                        // A must-not word that is absent keeps the entry as it was.
                        if (muss)
                            e = 0;
                    } else if (muss) {
                        if (genau) {
                            if (!exakt) {
                                exakt = true;
                                std::fill(erg.begin() + 1, erg.begin() + i, qint16(0));
                                neuVon = i;
                            }
                            e = 2;
                        } else {
                            e = exakt ? (e == 2 ? 2 : 0) : 1;
                        }
                    } else {
                        e = 0; // a must-not word is there, exact hit or not
                    }
                    if (e >= 1) {
                        if (neuVon == 0)
                            neuVon = i;
                        neuBis = i;
                    }
                }
                von = neuVon;
                bis = neuBis;
                if (von == 0 || bis == 0)
                    return true;
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void SuchErgebnisseZurücksetzen(Index& idx, qint32& von, qint32& bis)
{
    von = -1;
    bis = idx.lngIndexAnzahl;
    idx.intSuchErgebnis.resize(std::max<size_t>(idx.intSuchErgebnis.size(), size_t(idx.lngIndexAnzahl) + 1));
    std::fill(idx.intSuchErgebnis.begin() + 1, idx.intSuchErgebnis.end(), qint16(1));
}

// --- value lists -----------------------------------------------------------

bool WerteVergleich(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; }

QStringList FeldWerteSammeln(const Index& idx, const QString& feld, const QString& feld2)
{
    QStringList werte;
    if (idx.lngIndexAnzahl <= 0 || feld.isEmpty() || feld == QLatin1String("(Standardsuche)"))
        return werte;
    QSet<QString> gesehen;
    QString wert;
    for (const QString& name : {feld, feld2}) {
        if (name.isEmpty())
            continue;
        const Feld f = FeldErmitteln(name);
        for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i) {
            FeldWert(idx, i, f, FeldModus::Anzeige, wert, name);
            wert = NullZeichenAbschneiden(wert);
            if (wert.isEmpty())
                continue;
            const QString schlüssel = wert.toCaseFolded();
            if (gesehen.contains(schlüssel))
                continue;
            gesehen.insert(schlüssel);
            werte << wert;
        }
    }
    std::sort(werte.begin(), werte.end(), WerteVergleich);
    return werte;
}

qsizetype AutoCompleteTreffer(const QStringList& werte, const QString& text)
{
    if (text.isEmpty())
        return -1;
    for (qsizetype i = 0; i < werte.size(); ++i)
        if (werte[i].startsWith(text, Qt::CaseInsensitive))
            return i;
    return -1;
}
