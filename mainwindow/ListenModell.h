#pragma once
// The song list's model: one row per listed entry (rows hold entry numbers,
// in entry order), one column per layout column. Cells are computed when the
// view asks for them, so only visible rows cost anything.

#include "core/Index.h"
#include "core/Felder.h"
#include "mainwindow/Liste.h"
#include "mainwindow/Spalten.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <vector>

class ListenModell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListenModell(Index& idx, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    Index& idx() const { return m_idx; }

    // --- rows
    const std::vector<qint32>& Zeilen() const { return m_zeilen; }
    // Replaces all rows at once (one reset, no per-row inserts).
    void ZeilenSetzen(std::vector<qint32> zeilen);
    // The entry of row `zeile` (0-based); 0 when the row or its entry no
    // longer exists (the list can be stale while events run).
    qint32 Eintrag(int zeile) const;
    // The row showing `eintrag`, or -1.
    int ZeileVon(qint32 eintrag) const;
    // The cells of the rows of entries von..bis are to be read again.
    void ZeilenAktualisieren(qint32 von, qint32 bis);

    // --- columns (titles and tags; widths and order live in the view)
    std::vector<ListenSpalte> Spalten() const;
    // Adopts titles and tags of `spalten`: the columns that stay must keep
    // their order (as SpaltenAnpassen leaves them); added ones follow.
    void SpaltenÜbernehmen(const std::vector<ListenSpalte>& spalten);
    QString SpaltenFeldName(int spalte) const;

private:
    struct Spalte {
        QString titel;
        QString tag;
        QString feldName;
        Feld feld = Feld::Unbekannt;
    };
    static Spalte SpalteAus(const ListenSpalte& s);

    Index& m_idx;
    std::vector<qint32> m_zeilen;
    std::vector<Spalte> m_spalten;
};

// The entries of the hits in von..bis (hit flag >= 1), ascending.
std::vector<qint32> TrefferZeilen(const Index& idx, qint32 von, qint32 bis);

// Selected rows (0-based) in list order, read from the selection's ranges.
std::vector<int> AusgewählteZeilen(const QItemSelectionModel& sm);

// Reads the selection into `z` (rows whose entry is gone are left out).
void AuswahlLesen(const QItemSelectionModel& sm, const ListenModell& m, ListenZustand& z);

// Selects exactly `zeilen` (0-based, ascending) in one call.
void ZeilenAuswählen(QItemSelectionModel& sm, const ListenModell& m, const std::vector<int>& zeilen);

// Refills the model with the hits of suchZustand().lngListeVon..lngListeBis, keeping
// the selected entries selected when z.bolMarkierungenBehalten.
void ListeFüllen(ListenModell& m, QItemSelectionModel& sm, ListenZustand& z);

// Selects the rows of the last `anzahl` entries and deselects the others;
// returns the selected row nearest the end (-1 when none, or when `anzahl`
// exceeds the row count and nothing was changed).
int NeueZeilenMarkieren(ListenModell& m, QItemSelectionModel& sm, qint32 anzahl);
