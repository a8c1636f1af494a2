#pragma once
// The progress protocol for long loops on the interface thread:
//   FortschrittZeigenStarten once, FortschrittZeigen once per step (stop as
//   soon as it returns false), FortschrittZeigenBeenden when the loop ran to
//   its end (a cancelled report has already ended the display).
// There is one progress display for all runs: an inner run that ends hides
// it, and an outer run still reporting then stops at its next report.
// The state lives here; a window (frmFortschritt) only draws it.

#include "platform/Dienste.h"
#include <QString>

class QObject;

// Full width of the bar, twips.
constexpr int kBalkenBreiteVoll = 4500;

struct FortschrittZustand {
    bool sichtbar = false;          // the window shows
    QString überschrift;            // lblVorgang
    QString text;                   // lblProzess
    bool textSichtbar = false;
    bool balkenSichtbar = false;    // ProgressBar1/2
    int balkenBreite = 0;           // twips, 0..4500 (more when positions pass the target)
    bool abbrechenSichtbar = false; // cmdAbbrechen
    // Run parameters, kept between reports.
    qint32 zielwert = 0;
    bool abbrechenMöglich = false;
    bool balkenModus = false;
    bool textZeigen = false;
};

// What draws the state (the progress window). Without one, nothing is shown
// and every report goes on at once.
class FortschrittAnzeige {
public:
    virtual ~FortschrittAnzeige() = default;
    // Disable `aufrufer`, place over it (or centre on the screen) and show.
    virtual void Zeigen(QObject* aufrufer, const FortschrittZustand& z) = 0;
    // Hide and enable `aufrufer` again.
    virtual void Verbergen(QObject* aufrufer) = 0;
    // Redraw from the state (only while shown).
    virtual void Aktualisieren(const FortschrittZustand& z) = 0;
    // Let pending events run (the cancel button is heard only here).
    virtual void EreignisseVerarbeiten();
};

// Set by the cancel button; cleared by the start and end operations.
extern bool bolAbbruch;

struct FortschrittAnzeigeDienst {
    using Typ = FortschrittAnzeige*;
};
const FortschrittZustand& FortschrittZustandLesen();
// Whether a progress run is going on, shown or not (the poll must not start
// its own, a close waits for its end).
bool FortschrittLäuft();

bool FortschrittZeigenStarten(qint32 lngZielwert, bool bolAbbrechenMöglich, QObject* frmAufrufer,
                              bool bolBalkenZurücksetzen, bool bolTextZeigen, const QString& strText);
bool FortschrittZeigen(double varPosition, const QString& strText, QObject* frmAufrufer);
void FortschrittZeigenBeenden(QObject* frmAufrufer);
// The cancel button's handler.
void FortschrittAbbrechen();
