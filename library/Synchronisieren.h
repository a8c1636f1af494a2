#pragma once
// Synchronising the index with its sync folders: new files of the folders
// are added, and (when the index option says so) entries whose files are
// gone are removed.

#include "core/Index.h"

class QObject;

struct SyncErgebnis {
    qint32 lngHinzugefügt = 0;
    qint32 lngEntfernt = 0;
    bool bolAbgebrochen = false;
};

// Runs the synchronisation over `index` and reports it in the status line.
// A cancel (folder scan, progress window, or the answer "abort" for an
// absent medium) keeps what was added and removes nothing. Afterwards the
// list is searched again and the added entries are marked, when anything
// changed. `aufrufer` owns the progress display.
SyncErgebnis IndexSynchronisieren(Index& index, QObject* aufrufer);
