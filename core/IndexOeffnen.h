#pragma once
// What the index file window decides: switching the program to another
// index file (with the save question), saving the index, writing a copy of
// it elsewhere, and which files it offers. All of it works on the program's
// index and the setting `Dateiname`.

#include <QString>
#include <QStringList>

class QObject;

// A typed path made absolute against the current folder, so that a later
// change of folder never moves the index file; "" stays "".
QString IndexDateinameVervollständigen(const QString& text);

// The index files among found paths: names ending in ".kvx", case ignored
// (a left-over "x.kvx~" is the writer's temporary file, never an index).
QStringList IndexDateienAuswählen(const QStringList& pfade);

// Whether both paths name one existing file (same device and inode).
bool GleicheIndexDatei(const QString& a, const QString& b);

// Saves the index to its own file; tells "Die Indexdatei wurde gespeichert."
// when it was written. False while no index is loaded (nothing is written).
bool IndexDateiSpeichern(QObject* besitzer);

// Whether writing a copy to `ziel` may go ahead: a file there that is not the
// index file itself is replaced only when the user agrees.
bool IndexKopieErlaubt(const QString& ziel, QObject* besitzer);

// Writes a copy of the index to `ziel` (through its temporary file). The
// program keeps working with `Dateiname`; its modified flag and save stamp
// stay as they were, since that file is still unsaved, unless `ziel` is that
// very file. Tells "Die Indexdatei wurde gespeichert." on success.
bool IndexDateiSpeichernUnter(const QString& ziel, QObject* besitzer);

enum class IndexWechsel {
    Abgebrochen, // the save question was cancelled or the save failed: nothing switched
    Geladen,     // `Dateiname` is the new file and it is loaded
    NichtGeladen // `Dateiname` is the new file, but its load was declined or failed
};

// Switches to `neueDatei`: the columns on screen go back into the index
// options, a modified index is saved first (without asking when
// `DateiAutomatischSpeichern` is 1, else after the Yes/No/Cancel question),
// then `Dateiname` becomes the (absolute) new path and it is loaded. With no
// index loaded there is nothing to save and nothing is asked.
IndexWechsel IndexDateiWechseln(const QString& neueDatei, QObject* besitzer);
