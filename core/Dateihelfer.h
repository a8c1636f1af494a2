#pragma once
// File helpers of the library subsystem: the managed-type test and small
// file and folder services. None of them shows a message.

#include <QString>

struct Index;

// Whether the index manages the file's type under the given restrictions.
// The type is the first entry of the index's type list whose extension
// equals the file's (without regard to case); "*=1" stands for unlisted
// types, but only when `bolNurAktive`. With `bolNurAktive` a type marked "0"
// is refused. Then its kind code decides: MPEG audio is refused by
// `bolKeinAudio`; other audio by `bolKeinAudio` and `bolNurMpegAudio`;
// pictures by `bolKeineBilder` and `bolNurMpegAudio`; kind "000" passes.
bool DateiTypPrüfen(const Index& index, const QString& strDatei, bool bolNurMpegAudio, bool bolKeinAudio,
                    bool bolKeineBilder, bool bolNurAktive);

// Deletes a file when it exists (its mode untouched). True when
// the file does not exist afterwards, also when it never existed; false when
// that cannot be told (the path cannot be reached).
bool DateiLöschen(const QString& strDatei);

// True when the path exists and is a folder.
bool IstOrdner(const QString& pfad);

// True when the folder holds any entry (files and folders alike, hidden ones
// too); false when it holds none, does not exist or cannot be read.
bool WeitereDateienInOrdner(const QString& ordner);

// True only for a folder that was listed and found to hold no entry (hidden
// ones count); one that cannot be listed is never taken for empty.
bool OrdnerLeer(const QString& ordner);

// Removes a folder when it is one (only an empty folder goes). True
// afterwards, also when the path is no folder; false when the removal failed.
bool OrdnerLöschen(const QString& pfad);

// The first free path "folder of strPfad / start text, counter, end text,
// extension of strPfad", the counter starting as `strStartZahl` exactly as
// given and counting up (ZählerErhöhen) while the name exists; "" after
// 10,000 increments.
QString FortlaufendenDateinamen(const QString& strPfad, const QString& strAnfang, const QString& strStartZahl,
                                const QString& strEnde);

// The next counter: the text read as a whole number plus one, in decimal
// without leading zeros; "" when the text is no number.
QString ZählerErhöhen(const QString& strZahl);
