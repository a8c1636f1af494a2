#pragma once
// The main window's search state: what the search boxes hold, the current
// hits and the sort toggle. The selection and the list refresh that other
// subsystems use are in core/Liste.h.

#include "core/Liste.h"
#include "mainwindow/Suche.h"

#include <QString>

struct SuchZustand {
    Suchbegriffe suchbegriffe;
    bool bolSucheGesperrt = false;      // code is setting the search boxes
    bool bolSucheSofort = false;        // search without the delay
    bool bolAutoCompleteAus = false;    // Backspace/Delete: skip the next completion
    bool bolAutoCompleteErlaubt = true; // completion allowed now
    qint32 lngListeVon = -1;            // first and last hit (< 1: nothing to list)
    qint32 lngListeBis = 0;

    // Direction toggle of the column sort.
    QString strLetzteSortierSpalte;
    qint16 intSortierungUmkehren = 0;
};

SuchZustand& suchZustand();
