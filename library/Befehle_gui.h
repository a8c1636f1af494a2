#pragma once
// The main window's commands that lead to the library's windows, and files
// dropped on the song list.

#include <QStringList>

class frmMain;

// Connects "Zum Index hinzufügen", "Aus Index entfernen", "Löschen",
// "Umbenennen", "Kopieren/verschieben", "Index-Verwaltung" and drops
// on the list to the library; installs the main window as owner of the
// library's progress and questions.
void BibliotheksBefehleVerbinden(frmMain* f);

// The commands (also for menus and keys); each acts on the current selection.
void BefehlHinzufügen(frmMain* f);
void BefehlAusIndexEntfernen(frmMain* f);
void BefehlLöschen(frmMain* f);
void BefehlIndexVerwaltung(frmMain* f);

// Adds dropped paths (called once the drop event has returned).
void DragDrop(frmMain* f, const QStringList& pfade);
