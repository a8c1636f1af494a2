#pragma once
// Sorting the index by a field: the index arrays themselves are reordered,
// so the list (which shows hits in entry order) and the saved file follow.

#include "core/Index.h"

#include <QString>
#include <functional>
#include <vector>

// Sorts entries lngVon..lngBis ascending by the field's sort form (text in
// upper case by character codes, numbers as numbers, dates by their sortable
// text, "Dauer" by the stored seconds). Each key is computed once; paths,
// hit flags and records then move together in one permutation, during which
// no events run. `fortschritt` is asked during the key computation with the
// number of keys done (it may let events run); when it answers false nothing
// is moved and the result is false.
bool IndexSortieren(Index& idx, const QString& strFeld, qint32 lngVon, qint32 lngBis,
                    const std::function<bool(qint32)>& fortschritt = {});

// A click on the column of `strFeld`: the whole index sorted, ascending, or
// descending when the last click was on the same column and ascending (as
// IndexSortieren followed by QSort, but in one permutation). False after a
// cancel; then nothing moved and the toggle is as it was.
bool SpalteSortieren(Index& idx, const QString& strFeld, QString& strLetzteSortierSpalte, qint16& intSortierungUmkehren,
                     const std::function<bool(qint32)>& fortschritt = {});

// The direction toggle after a sort by `strFeld`: the second sort by the
// same field in a row reverses the whole index.
void QSort(Index& idx, const QString& strFeld, QString& strLetzteSortierSpalte, qint16& intSortierungUmkehren);

// Reverses the order of all entries.
void IndexUmkehren(Index& idx);

// Sorts texts[von..bis] ascending ignoring case (compared in upper case),
// moving the parallel numbers along.
void TextListeSortieren(std::vector<QString>& strListe, std::vector<qint16>& intIndex, qint32 lngVon, qint32 lngBis);
