#pragma once
// File helpers of the library subsystem.

#include <QString>

// Deletes a file when it exists (clearing its read-only mark first). True when
// the file does not exist afterwards, also when it never existed.
bool DateiLöschen(const QString& strDatei);

// True when the path exists and is a folder.
bool IstOrdner(const QString& pfad);
