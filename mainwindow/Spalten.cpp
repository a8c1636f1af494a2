#include "mainwindow/Spalten.h"

#include "core/Funktionen.h"
#include "core/Standardwerte.h"
#include "core/Felder.h"
#include "platform/Twips.h"

#include <cmath>

namespace {

const QString kNutzer = QStringLiteral("Benutzerdefiniert");

int AnzahlSpalten() { return standardwerte().AnzahlSpalten(); }
const QString& SpaltenName(int n) { return standardwerte().strSpaltenNamen[size_t(n)]; }

bool Zahl(const QString& t, qint64& wert)
{
    bool ok = false;
    const double d = t.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 2e9)
        return false;
    wert = std::llround(d);
    return true;
}

// The parts of one item with a usable column number (1..N) and width;
// false for an item to skip.
bool ItemLesen(const QString& item, qint64& nummer, qint64& breite, QStringList& teile)
{
    if (!TextDatensätzeLesen(item, QLatin1Char('='), 1, -1, teile) || teile.size() < 2)
        return false;
    return Zahl(teile[0], nummer) && Zahl(teile[1], breite) && nummer >= 1 && nummer <= AnzahlSpalten();
}

// What a layout text says per column number: width (0 hidden) and position
// (0 unknown); the first item for a number counts.
struct Spaltenwert {
    qint64 breite = 0;
    qint64 position = 0;
    bool gesehen = false;
};
std::vector<Spaltenwert> LayoutLesen(const QString& text)
{
    std::vector<Spaltenwert> w(size_t(AnzahlSpalten()) + 1);
    QStringList items, teile;
    if (!TextDatensätzeLesen(text, QLatin1Char(','), 1, -1, items))
        return w;
    for (const QString& item : items) {
        qint64 n = 0, b = 0, p = 0;
        if (!ItemLesen(item, n, b, teile) || w[size_t(n)].gesehen)
            continue;
        Spaltenwert& s = w[size_t(n)];
        s.gesehen = true;
        s.breite = std::max<qint64>(b, 0);
        if (teile.size() >= 3 && Zahl(teile[2], p))
            s.position = p;
    }
    return w;
}

bool GleichesLayout(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    const auto wa = LayoutLesen(a), wb = LayoutLesen(b);
    for (size_t n = 1; n < wa.size(); ++n) {
        const bool ga = wa[n].breite > 0, gb = wb[n].breite > 0;
        if (ga != gb)
            return false;
        if (ga && (wa[n].breite != wb[n].breite || wa[n].position != wb[n].position || wa[n].position == 0))
            return false;
    }
    return true;
}

} // namespace

QString SpaltenFeld(const ListenSpalte& s) { return s.tag == QLatin1String("b") ? kNutzer : s.titel; }

void SpaltenRücksetzen(Index& idx)
{
    QString text;
    int gezeigt = 0;
    const int n = AnzahlSpalten();
    for (int k = 1; k <= n; ++k) {
        const qint32 breite = standardwerte().lngSpaltenBreiten[size_t(k)];
        if (breite > 0)
            ++gezeigt;
        text += QString::number(k) + QLatin1Char('=') + QString::number(breite) + QLatin1Char('=') + QString::number(gezeigt);
        if (k < n)
            text += QLatin1Char(',');
    }
    idx.strSpalten = text;
}

bool SpaltenAnpassen(Index& idx, std::vector<ListenSpalte>& spalten, bool& leiste, bool& gitter)
{
    bool erfolg = false;
    const int n = AnzahlSpalten();
    std::vector<QString> slotName(size_t(n) + 1);
    std::vector<qint64> slotBreite(size_t(n) + 1, 0);

    leiste = idx.intSpaltenLeiste == 1;
    gitter = idx.intSpaltenGitter == 1;

    QStringList items;
    if (!TextDatensätzeLesen(idx.strSpalten, QLatin1Char(','), 1, -1, items) || !items[0].contains(QLatin1Char('='))) {
        SpaltenRücksetzen(idx);
        if (!TextDatensätzeLesen(idx.strSpalten, QLatin1Char(','), 1, -1, items))
            return false;
    }
    if (items.size() < n) {
        for (qsizetype k = items.size() + 1; k <= n; ++k)
            idx.strSpalten += QLatin1Char(',') + QString::number(k) + QLatin1Char('=')
                + QString::number(standardwerte().lngSpaltenBreiten[size_t(k)]);
        if (!TextDatensätzeLesen(idx.strSpalten, QLatin1Char(','), 1, -1, items))
            return false;
    }

    QStringList teile;
    for (qsizetype i = 0; i < items.size(); ++i) {
        qint64 nummer = 0, breite = 0, pos = 0;
        if (!ItemLesen(items[i], nummer, breite, teile) || breite <= 0)
            continue;
        qint64 slot = i + 1;
        if (teile.size() >= 3 && Zahl(teile[2], pos) && pos >= 1 && pos <= n)
            slot = pos;
        if (slot > n)
            continue;
        slotName[size_t(slot)] = SpaltenName(int(nummer));
        slotBreite[size_t(slot)] = breite;
    }

    for (ListenSpalte& s : spalten)
        s.tag.prepend(QLatin1Char('e'));

    const QString nutzerTitel = NutzerformatTitel(idx.strSpaltenNutzerformat);
    for (int p = 1; p <= n; ++p) {
        const QString& name = slotName[size_t(p)];
        if (name.isEmpty())
            continue;
        const bool nutzer = name == kNutzer;
        bool gefunden = false;
        for (ListenSpalte& s : spalten) {
            // The user column is known by its tag alone: its title is the
            // user's format and may equal any column name.
            if (s.tag.endsWith(QLatin1Char('b'))) {
                if (!nutzer)
                    continue;
                s.titel = nutzerTitel;
                s.tag = QStringLiteral("b");
            } else if (s.titel == name && !nutzer) {
                s.tag.clear();
            } else {
                continue;
            }
            gefunden = true;
            break;
        }
        if (!gefunden) {
            ListenSpalte neu;
            neu.titel = nutzer ? nutzerTitel : name;
            neu.tag = nutzer ? QStringLiteral("b") : QString();
            neu.breitePixel = TwipsZuPixel(double(slotBreite[size_t(p)]));
            spalten.push_back(neu);
            erfolg = true;
        }
    }

    const auto alt = spalten.size();
    std::erase_if(spalten, [](const ListenSpalte& s) { return s.tag.startsWith(QLatin1Char('e')); });
    if (spalten.size() != alt)
        erfolg = true;
    return erfolg;
}

void SpaltenSpeichern(Index& idx, const std::vector<ListenSpalte>& spalten, bool leiste, bool gitter)
{
    idx.intSpaltenLeiste = leiste ? 1 : 0;
    idx.intSpaltenGitter = gitter ? 1 : 0;
    const int n = AnzahlSpalten();
    const auto gespeichert = LayoutLesen(idx.strSpalten);
    std::vector<QString> items(size_t(n) + 1);
    for (const ListenSpalte& s : spalten) {
        const bool nutzer = s.tag == QLatin1String("b");
        for (int k = 1; k <= n; ++k) {
            if (nutzer ? SpaltenName(k) != kNutzer : s.titel != SpaltenName(k))
                continue;
            const qint64 alt = gespeichert[size_t(k)].breite;
            const int breite = alt > 0 && alt <= 1e9 ? TwipsBehalten(int(alt), s.breitePixel) : PixelZuTwips(s.breitePixel);
            items[size_t(k)] = QString::number(k) + QLatin1Char('=') + QString::number(breite) + QLatin1Char('=')
                + QString::number(s.position);
            break;
        }
    }
    QStringList teile;
    for (int k = 1; k <= n; ++k)
        teile << (items[size_t(k)].isEmpty() ? QString::number(k) + QStringLiteral("=0=0") : items[size_t(k)]);
    const QString text = teile.join(QLatin1Char(','));
    if (!GleichesLayout(text, idx.strSpalten))
        idx.bolIndexGeändert = true;
    idx.strSpalten = text;
}

bool OptionenSpaltenEinsetzen(const Index& idx, std::vector<OptionenSpalte>& liste)
{
    QStringList items, teile;
    if (!TextDatensätzeLesen(idx.strSpalten, QLatin1Char(','), 1, -1, items))
        return false;
    liste.clear();
    for (const QString& item : items) {
        qint64 nummer = 0, breite = 0;
        if (!ItemLesen(item, nummer, breite, teile))
            continue;
        OptionenSpalte s;
        s.name = SpaltenName(int(nummer));
        s.an = breite > 0;
        s.breite = s.an ? qint32(breite) : 0;
        s.nummer = int(nummer);
        liste.push_back(s);
    }
    return true;
}
