#pragma once
// The main window's export and AutoDJ commands.

#include <QStringList>

class frmAutoDJ;
class frmMain;

// Connects "Export" (and its menu item) and "AutoDJ".
void ExportUndAutoDJVerbinden(frmMain* f);

// The export window for the selection.
void BefehlExportieren(frmMain* f);
// The AutoDJ window, preset and shown.
void BefehlAutoDJ(frmMain* f);

// The field names of the list's columns, leftmost first: what an export writes.
QStringList ExportSpalten(const frmMain* f);
// Presets the AutoDJ window: the genres of the index, the settings, the
// criteria page.
void AutoDJVorbereiten(frmAutoDJ* d, const frmMain* f);
