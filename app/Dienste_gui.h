#pragma once
// Installs the program's swappable services in one place: the desktop's
// message boxes and document opener, the questions and the progress window
// the logic shows, the media reader the index loader uses, and what the
// player does when an index is loaded.

#include "core/Meldungen.h"

class frmMain;

// The program's message box: the message's buttons, icon and default
// button, the program title as caption; the button pressed.
Antwort MeldungsfensterZeigen(const Meldung& m);

// First of all, before anything may show a message.
void DiensteEinrichten();
// Once the main window exists: the services that it owns.
void FensterDiensteEinrichten(frmMain* f);
