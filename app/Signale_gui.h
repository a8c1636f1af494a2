#pragma once
// Ending the program from outside: SIGTERM and SIGHUP (a logout, a closed
// terminal, `kill`) reach the main window's close path as an end from outside
// (mode 3): no exit reaction, the save question still asked, at once whatever
// window is open.

class frmMain;

// Installs the handlers once. The close path runs from the event loop, never
// inside the signal, and waits only while a progress run is going on.
void BeendenSignaleEinrichten(frmMain* f);
