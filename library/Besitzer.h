#pragma once
// The window that owns the library's progress display and message boxes.
// The main window installs itself; tests and tools run without one.

class QObject;

void BibliotheksBesitzerSetzen(QObject* besitzer);
QObject* BibliotheksBesitzer();
