#pragma once
// The start procedure: builds the tables, reads the settings, loads the
// index, prepares and shows the main window. The program then lives on its
// windows' events.

#include <QStringList>

void Main(const QStringList& argumente);

// Whether the close path has ended the program (during start-up, too: the
// main event loop must then not start).
bool ProgrammBeendet();
