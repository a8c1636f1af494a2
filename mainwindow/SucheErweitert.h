#pragma once
// The extended search's handling of the query store: the lines of its list,
// the option code of its two choice boxes, and the state of the main
// window's search boxes once the queries are applied.

#include "mainwindow/Suche.h"

#include <QString>
#include <QStringList>

// The text of the main window's search box while several queries run.
QString MehrereSuchAbfragenText();

// "Suche nach '<text>' im Feld '<feld>'".
QString SuchAbfrageZeile(const QString& text, const QString& feld);
// One line per stored query, in order.
QStringList SuchAbfrageZeilen(const Suchbegriffe& s);

// The option code from the positions chosen in "MUSS enthalten" / "DARF
// NICHT enthalten!" and "UND" / "ODER!" (anything but 1 counts as 0).
QString SuchOptionenCode(int mussDarfNicht, int undOder);
// The positions back from a code; a missing or unknown character gives 0.
void SuchOptionenLesen(const QString& code, int& mussDarfNicht, int& undOder);

// How the main window's search boxes look after the queries were applied.
struct SuchfelderZustand {
    bool aktiv = true;   // field box and text box enabled
    int feldIndex = -1;  // entry to choose in the field box; -1 none, -2 keep
    QString text;
};
// `felder` are the entries of the field box in order. Several queries:
// boxes disabled, no field, "(Mehrere Such-Abfragen)". One query: enabled,
// its field (kept when the box has no such entry) and text. None: enabled,
// the first field and an empty text, as after clearing the search.
SuchfelderZustand SuchfelderZustandErmitteln(const Suchbegriffe& s, const QStringList& felder);
