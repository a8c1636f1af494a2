#pragma once
// The column layout of the song list: which columns show, in which order,
// how wide. It travels in the index as the layout text `strSpalten`: items
// "number=width[=position]" joined by ",", widths in twips, 0 = hidden.

#include "core/Index.h"

#include <QString>
#include <vector>

// One column of the list as the layout sees it.
struct ListenSpalte {
    QString titel;
    QString tag;         // "b": the user-defined column
    int breitePixel = 0;
    int position = 0;    // display position from 1 (read back only)
};

// The field a column stands for: "Benutzerdefiniert" for the user column,
// else the field named by its title.
QString SpaltenFeld(const ListenSpalte& s);

// The layout text of the built-in column table.
void SpaltenRücksetzen(Index& idx);

// Makes `spalten` agree with idx.strSpalten (repaired where empty, old or
// short; the repaired text stays): columns already there keep width and
// place, new ones are appended in slot order, others removed. `leiste` and
// `gitter` get the title-row and grid switches. True when a column was added
// or removed.
bool SpaltenAnpassen(Index& idx, std::vector<ListenSpalte>& spalten, bool& leiste, bool& gitter);

// Reads the columns back into idx.strSpalten (and the two switches). A width
// that still rounds to the shown pixels keeps its stored twips. The index is
// marked modified only when the layout changed (width, position or which
// columns show).
void SpaltenSpeichern(Index& idx, const std::vector<ListenSpalte>& spalten, bool leiste, bool gitter);

// One line of the index options' column list.
struct OptionenSpalte {
    QString name;
    bool an = false;
    qint32 breite = 0;
    int nummer = 0; // the column's number (1 to 30)
};
// The column list for the index options dialog; false (list untouched)
// when the layout text is empty.
bool OptionenSpaltenEinsetzen(const Index& idx, std::vector<OptionenSpalte>& liste);
