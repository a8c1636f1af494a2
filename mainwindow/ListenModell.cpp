#include "mainwindow/ListenModell.h"

#include <algorithm>

ListenModell::ListenModell(Index& idx, QObject* parent) : QAbstractTableModel(parent), m_idx(idx) {}

int ListenModell::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_zeilen.size());
}

int ListenModell::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_spalten.size());
}

QVariant ListenModell::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || size_t(index.column()) >= m_spalten.size())
        return QVariant();
    const qint32 e = Eintrag(index.row());
    if (e == 0)
        return QVariant();
    const Spalte& s = m_spalten[size_t(index.column())];
    QString wert;
    FeldWert(m_idx, e, s.feld, FeldModus::Anzeige, wert, s.feldName);
    return wert;
}

QVariant ListenModell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && size_t(section) < m_spalten.size())
        return m_spalten[size_t(section)].titel;
    return QVariant();
}

void ListenModell::ZeilenSetzen(std::vector<qint32> zeilen)
{
    beginResetModel();
    m_zeilen = std::move(zeilen);
    endResetModel();
}

qint32 ListenModell::Eintrag(int zeile) const
{
    if (zeile < 0 || size_t(zeile) >= m_zeilen.size())
        return 0;
    const qint32 e = m_zeilen[size_t(zeile)];
    return m_idx.GültigerEintrag(e) ? e : 0;
}

int ListenModell::ZeileVon(qint32 eintrag) const
{
    const auto it = std::lower_bound(m_zeilen.begin(), m_zeilen.end(), eintrag);
    return it != m_zeilen.end() && *it == eintrag ? int(it - m_zeilen.begin()) : -1;
}

void ListenModell::ZeilenAktualisieren(qint32 von, qint32 bis)
{
    if (m_spalten.empty() || bis < von)
        return;
    const auto a = std::lower_bound(m_zeilen.begin(), m_zeilen.end(), von);
    const auto b = std::upper_bound(a, m_zeilen.end(), bis);
    if (a == b)
        return;
    Q_EMIT dataChanged(createIndex(int(a - m_zeilen.begin()), 0),
                       createIndex(int(b - m_zeilen.begin()) - 1, int(m_spalten.size()) - 1));
}

ListenModell::Spalte ListenModell::SpalteAus(const ListenSpalte& s)
{
    Spalte sp;
    sp.titel = s.titel;
    sp.tag = s.tag;
    sp.feldName = SpaltenFeld(s);
    sp.feld = FeldErmitteln(sp.feldName);
    return sp;
}

std::vector<ListenSpalte> ListenModell::Spalten() const
{
    std::vector<ListenSpalte> v;
    for (const Spalte& s : m_spalten) {
        ListenSpalte l;
        l.titel = s.titel;
        l.tag = s.tag;
        v.push_back(l);
    }
    return v;
}

void ListenModell::SpaltenÜbernehmen(const std::vector<ListenSpalte>& neu)
{
    // Remove the columns that are gone (from the back, so numbers stay),
    // rename the ones that stay, then append the new ones.
    std::vector<bool> bleibt(m_spalten.size(), false);
    size_t k = 0;
    for (size_t j = 0; j < m_spalten.size() && k < neu.size(); ++j) {
        const bool gleich = m_spalten[j].tag == QLatin1String("b") ? neu[k].tag == QLatin1String("b")
                                                                    : neu[k].tag != QLatin1String("b") && m_spalten[j].titel == neu[k].titel;
        if (gleich) {
            bleibt[j] = true;
            ++k;
        }
    }
    for (size_t j = m_spalten.size(); j-- > 0;) {
        if (bleibt[j])
            continue;
        beginRemoveColumns(QModelIndex(), int(j), int(j));
        m_spalten.erase(m_spalten.begin() + qsizetype(j));
        endRemoveColumns();
    }
    for (size_t j = 0; j < m_spalten.size(); ++j) {
        const Spalte s = SpalteAus(neu[j]);
        if (s.titel != m_spalten[j].titel || s.tag != m_spalten[j].tag) {
            m_spalten[j] = s;
            Q_EMIT headerDataChanged(Qt::Horizontal, int(j), int(j));
            if (!m_zeilen.empty())
                Q_EMIT dataChanged(createIndex(0, int(j)), createIndex(int(m_zeilen.size()) - 1, int(j)));
        }
    }
    if (neu.size() > m_spalten.size()) {
        beginInsertColumns(QModelIndex(), int(m_spalten.size()), int(neu.size()) - 1);
        for (size_t j = m_spalten.size(); j < neu.size(); ++j)
            m_spalten.push_back(SpalteAus(neu[j]));
        endInsertColumns();
    }
}

QString ListenModell::SpaltenFeldName(int spalte) const
{
    return spalte >= 0 && size_t(spalte) < m_spalten.size() ? m_spalten[size_t(spalte)].feldName : QString();
}

// --- rows and selection ------------------------------------------------------

std::vector<qint32> TrefferZeilen(const Index& idx, qint32 von, qint32 bis)
{
    std::vector<qint32> zeilen;
    if (von < 1)
        return zeilen;
    bis = std::min<qint32>({bis, idx.lngIndexAnzahl, qint32(idx.intSuchErgebnis.size()) - 1});
    for (qint32 i = von; i <= bis; ++i)
        if (idx.intSuchErgebnis[size_t(i)] >= 1)
            zeilen.push_back(i);
    return zeilen;
}

std::vector<int> AusgewählteZeilen(const QItemSelectionModel& sm)
{
    const QItemSelection sel = sm.selection();
    std::vector<std::pair<int, int>> bereiche;
    bereiche.reserve(size_t(sel.size()));
    for (const QItemSelectionRange& r : sel)
        if (r.isValid())
            bereiche.emplace_back(r.top(), r.bottom());
    std::sort(bereiche.begin(), bereiche.end());
    std::vector<int> zeilen;
    int nächste = 0; // rows below this are taken already
    for (const auto& [oben, unten] : bereiche) {
        for (int z = std::max(oben, nächste); z <= unten; ++z)
            zeilen.push_back(z);
        nächste = std::max(nächste, unten + 1);
    }
    return zeilen;
}

void AuswahlLesen(const QItemSelectionModel& sm, const ListenModell& m, ListenZustand& z)
{
    const std::vector<int> zeilen = AusgewählteZeilen(sm);
    z.lngAuswahlAnzahl = 0;
    z.lngAuswahlEintrag.assign(zeilen.size() + 1, 0);
    z.lngAuswahlPosition.assign(zeilen.size() + 1, 0);
    for (int zeile : zeilen) {
        const qint32 e = m.Eintrag(zeile);
        if (e == 0)
            continue;
        ++z.lngAuswahlAnzahl;
        z.lngAuswahlEintrag[size_t(z.lngAuswahlAnzahl)] = e;
        z.lngAuswahlPosition[size_t(z.lngAuswahlAnzahl)] = zeile + 1;
    }
    const size_t n = size_t(std::max<qint32>(z.lngAuswahlAnzahl, 1)) + 1;
    z.lngAuswahlEintrag.resize(n);
    z.lngAuswahlPosition.resize(n);
}

void ZeilenAuswählen(QItemSelectionModel& sm, const ListenModell& m, const std::vector<int>& zeilen)
{
    QItemSelection sel;
    const int letzteSpalte = m.columnCount() - 1;
    if (letzteSpalte >= 0) {
        size_t k = 0;
        while (k < zeilen.size()) {
            size_t e = k;
            while (e + 1 < zeilen.size() && zeilen[e + 1] == zeilen[e] + 1)
                ++e;
            sel.append(QItemSelectionRange(m.index(zeilen[k], 0), m.index(zeilen[e], letzteSpalte)));
            k = e + 1;
        }
    }
    sm.select(sel, QItemSelectionModel::ClearAndSelect);
}

void ListeFüllen(ListenModell& m, QItemSelectionModel& sm, ListenZustand& z)
{
    const Index& idx = m.idx();
    std::vector<qint32> gemerkt;
    if (idx.lngIndexAnzahl > 0 && z.lngAuswahlAnzahl >= 1 && z.bolMarkierungenBehalten)
        for (int zeile : AusgewählteZeilen(sm))
            if (const qint32 e = m.Eintrag(zeile))
                gemerkt.push_back(e);

    m.ZeilenSetzen(TrefferZeilen(idx, suchZustand().lngListeVon, suchZustand().lngListeBis));

    if (gemerkt.empty())
        return;
    // One forward merge of the saved entries (ascending) with the rows.
    const std::vector<qint32>& zeilen = m.Zeilen();
    std::vector<int> wahl;
    size_t g = 0;
    for (size_t r = 0; r < zeilen.size() && g < gemerkt.size(); ++r) {
        while (g < gemerkt.size() && gemerkt[g] < zeilen[r])
            ++g;
        if (g < gemerkt.size() && gemerkt[g] == zeilen[r])
            wahl.push_back(int(r));
    }
    if (!wahl.empty())
        ZeilenAuswählen(sm, m, wahl);
}

int NeueZeilenMarkieren(ListenModell& m, QItemSelectionModel& sm, qint32 anzahl)
{
    const std::vector<qint32>& zeilen = m.Zeilen();
    if (anzahl < 0 || size_t(anzahl) > zeilen.size())
        return -1;
    const qint32 grenze = m.idx().lngIndexAnzahl - anzahl;
    std::vector<int> wahl;
    for (size_t r = 0; r < zeilen.size(); ++r)
        if (zeilen[r] > grenze && m.idx().GültigerEintrag(zeilen[r]))
            wahl.push_back(int(r));
    ZeilenAuswählen(sm, m, wahl);
    return wahl.empty() ? -1 : wahl.back();
}
