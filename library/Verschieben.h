#pragma once
// Putting a file at a new path: moving, renaming and copying, never losing
// or overwriting a file the user did not choose to replace.

#include "platform/Dienste.h"
#include <QString>
#include <functional>

// The answer to the question about an existing target.
enum class DateiExistiert { Umbenennen = 1, Ersetzen = 2, Abbrechen = 3 };

// Asks what to do when the target exists (the conflict window installs
// itself here; tests script it). Without a handler the answer is Abbrechen.
using DateiExistiertFrage = std::function<DateiExistiert(const QString& beschreibung)>;
struct DateiExistiertDienst {
    using Typ = DateiExistiertFrage;
};

// Moves (intModus 1) or copies (any other mode) `strQuelle` to `strZiel`.
// The target's file name is cleaned first (`DateinameBereinigen`) and
// `strZiel` reads the final target afterwards; missing folders are made.
// An existing target leads to the question: rename the new file (numbered
// free name), replace (only then is a file overwritten, atomically through a
// temporary file), or cancel. A copy onto the file itself answered with
// "replace" becomes a move (intModus is set to 1). A move across file
// systems copies, checks the size, syncs, and only then deletes the source,
// and only while it is still what was copied (same file, size and
// modification time) and no other program writes it; otherwise the copy
// goes again and the message says the file is being written. When the
// source cannot be deleted the move counts as failed (both files stay). A symbolic link moved to another folder is made anew there, leading
// to the same file. A source that is no absolute path counts as missing; a
// target that is none is refused before anything is touched.
// True when the file is at the target afterwards; otherwise `strMeldung`
// says why ("" when the reason was already shown or nothing was reported).
bool DateiVerschieben(const QString& strQuelle, QString& strZiel, int& intModus, QString& strMeldung);

// Asks the question about an existing target `strZiel` for `strQuelle`
// (Abbrechen without a handler).
DateiExistiert DateiExistiertFragen(const QString& strQuelle, const QString& strZiel);

// A system failure as the messages name it: a number and a German
// description (SystemfehlerBeschreibung for those without a number of their
// own), and both as one text: description, " (Fehler ", number, ")".
struct Laufzeitfehler {
    int nummer = 0;
    QString beschreibung;
};
Laufzeitfehler FehlerAusErrno(int e);
QString SystemfehlerText(int e);

// The message for a source that is not there (also a stored path of another
// system, which names no file here).
QString QuelleFehltMeldung(const QString& strQuelle);

// The text with every character removed that a file name (or, with
// `bolPfadeErlaubt`, a path) must not hold; "" when the text cannot be used
// (empty, a doubled separator, or a bare name that ends in a separator or
// is "." or "..").
QString DateinameBereinigen(const QString& strText, bool bolPfadeErlaubt);

// --- for tests ---------------------------------------------------------------

// Makes the copy fail after this many bytes (-1 = never), as a full or
// failing target medium would.
void KopierFehlerNachBytesSetzen(qint64 bytes);

// Runs right before each rename that must not replace a file, after every
// test the move made (tests put a file at the target there); empty = none.
void VorDemUmbenennenSetzen(std::function<void()> f);
