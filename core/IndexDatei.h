#pragma once
// The index file: writer and loader.

#include "core/Index.h"

#include <QString>

// Loads the index file named by the setting `Dateiname` into the program's
// index (when the name is empty it becomes "Kalvbox.kvx" in the program's
// folder) and brings the main window into the state of a loaded index or of
// none.
void IndexDateiLaden();
