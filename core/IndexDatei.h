#pragma once
// The index file: writer and loader.

#include "core/Index.h"
#include "platform/Dienste.h"

#include <QString>
#include <functional>

class QObject;

// Writes `index` to `strDateiname` (version 102) through the "~" temporary
// file; with `bolFortschrittZeigen` a progress display runs (owner
// `aufrufer`). The file this index loaded or last saved is replaced only
// while it is still as it was then, unless the user lets a newer one go.
// False after any failure (reported to the user), after a cancel or a "Nein"
// (not reported) and while no index is loaded (nothing is written then); the
// old file then stays as it was.
bool DateiSpeichern(Index& index, const QString& strDateiname, bool bolFortschrittZeigen,
                    QObject* aufrufer = nullptr);

// Loads `strDateiname` into `index`; a file another program is writing is
// not read until the user tries again. False when the load was declined or
// failed; the index is then in the state "no index loaded".
bool DateiLaden(Index& index, const QString& strDateiname, QObject* aufrufer = nullptr);

// Loads the index file named by the setting `Dateiname` into the program's
// index (when the name is empty it becomes "Kalvbox.kvx" in the program's
// folder) and brings the main window into the state of a loaded index or of
// none (through IndexZustandGeändert). Questions and progress belong to
// `aufrufer`. True when the file was loaded.
bool IndexDateiLaden(QObject* aufrufer = nullptr);

// Tells the listeners of the program's index (IndexEreignis::Geladen); called
// after every load and by whoever else changes which index file is loaded.
void IndexZustandGeändert();

// Reads an entry's file again for the loader (the media reader; installed at
// start-up). Arguments: the index, the path, the stored record, which tags to
// read ("00": none), whether to read the MPEG header ("1"). Without a reader
// incomplete entries stay as stored.
struct EintragLeserDienst {
    using Typ = std::function<MedienInfo(const Index&, const QString&, const MedienInfo&, const QString&,
                                         const QString&)>;
};

// How long the loader waits for a "~" temporary file to go away before it
// asks (milliseconds; tests shorten it).
void IndexDateiSperreWartezeitSetzen(int ms);
