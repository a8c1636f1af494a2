#pragma once
// The index file: writer and loader.

#include "core/Index.h"

#include <QString>

class QObject;

// Writes `index` to `strDateiname` (version 102) through the "~" temporary
// file; with `bolFortschrittZeigen` a progress display runs (owner
// `aufrufer`). False after any failure (reported to the user), after a cancel
// (not reported) and while no index is loaded (nothing is written then); the
// old file then stays as it was.
bool DateiSpeichern(Index& index, const QString& strDateiname, bool bolFortschrittZeigen,
                    QObject* aufrufer = nullptr);

// Loads `strDateiname` into `index`. False when the load was declined or
// failed; the index is then in the state "no index loaded".
bool DateiLaden(Index& index, const QString& strDateiname, QObject* aufrufer = nullptr);

// Loads the index file named by the setting `Dateiname` into the program's
// index (when the name is empty it becomes "Kalvbox.kvx" in the program's
// folder) and brings the main window into the state of a loaded index or of
// none (through IndexZustandGeändert).
void IndexDateiLaden();

// Called after every load (and by whoever else changes which index file is
// loaded); the main window installs its refresh here.
void IndexZustandHookSetzen(void (*hook)());
void IndexZustandGeändert();

// Called by every save before the column options are written: the main
// window takes the columns on screen back into the index options here.
void SpaltenSpeichernHookSetzen(void (*hook)(Index&));

// How long the loader waits for a "~" temporary file to go away before it
// asks (milliseconds; tests shorten it).
void IndexDateiSperreWartezeitSetzen(int ms);
