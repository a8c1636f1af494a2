#pragma once
// The window that owns the library's progress display and message boxes.
// The main window installs itself; tests and tools run without one.


#include "platform/Dienste.h"

#include <QPointer>

struct BibliotheksBesitzerDienst {
    using Typ = QPointer<QObject>;
};
QObject* BibliotheksBesitzer();
