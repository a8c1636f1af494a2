#pragma once
// Writing and removing the tags of a media file: the ID3v2.3 tag at the
// front and the 128-byte ID3v1 block at the end. A tag is written in place
// when it fits the extent of an old tag at the file's first byte and no
// frame kept from it (a picture, lyrics, anything the user cannot type
// again) moves: the kept frames stand first, the program's own frames
// behind them, and only the bytes that change are written, through the one
// descriptor the old tag was read by; a kill or power cut can tear at most
// the program's own frames. Otherwise the whole file goes to "<file>-neu"
// and is renamed over the original (core/SichereDatei.h) only when the
// original is still as it was read, so a failure at any step, or another
// program changing the file meanwhile, leaves the original as it is. The
// calls work on a path and show nothing: each answers with the message text
// for the caller.
//
// The frames this program does not interpret are taken from the file itself
// at write time (the record of an index file no longer holds them). The
// comment and the link replace the frame they were read from (the first
// without a description), which stays as it stands while the field is
// unchanged; no other comment or link is dropped.

#include "core/MedienInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The header of a 2.3.0 tag whose frames and padding take `lngGröße` bytes
// (syncsafe; only the low 28 bits fit).
QByteArray Mp3TAGSpeichernV2TAGHeaderZurückgeben(quint32 lngGröße);
// A frame header: the id, the body size as a plain big-endian number, no flags.
QByteArray Mp3TAGSpeichernV2FrameHeaderZurückgeben(quint32 lngGröße, QByteArrayView strFrameID);

// The frames of the record's eighteen fields in the fixed order; title and
// artist are always written, every other field only when it is not empty.
// The comment has the language `sprache` (three bytes as they stand, else
// "eng").
// Latin-1 texts (without U+0080..U+009F, which readers take as
// Windows-1252) are ISO-8859-1, others UTF-16 with a byte-order mark.
QByteArray Id3v2FramesBauen(const MedienInfo& udtInfo, QByteArrayView sprache = "eng");

// The 128-byte ID3v1 block of the record's ID3v1 fields (Windows-1252, "?"
// for what it cannot hold, cut to the field widths). A track number (decimal
// text 0..255 in Mp3_ID3v1_Titelnummer) makes it an ID3v1.1 block with a
// 28-character comment; without one the comment has 30. `titelnummerGültig`
// is false when a track was given that is no such number (none is written).
QByteArray TagV1TextZurückgeben(const MedienInfo& udtInfo, bool* titelnummerGültig = nullptr);

// Writes the ID3v2.3 tag of the record's fields into the file. False with
// the message text in `strFehler` when it was refused or failed.
bool Mp3TAGSpeichernV2(const QString& strDatei, const MedienInfo& udtInfo, QString& strFehler);

// Replaces the file's ID3v1 block with `strTAG` (128 bytes beginning with
// "TAG"), or appends it when the file has none.
bool Mp3TAGSpeichernV1(const QString& strDatei, const QByteArray& strTAG, QString& strFehler);

// Removing a tag: Entfernt, or Abgelehnt (missing file, no such tag: an
// information) or Fehlgeschlagen (a warning), with the text in `strMeldung`.
enum class TagEntfernenErgebnis { Entfernt, Abgelehnt, Fehlgeschlagen };
TagEntfernenErgebnis TAGEntfernen(const QString& strDatei, QString& strMeldung);
TagEntfernenErgebnis TAGEntfernenV2(const QString& strDatei, QString& strMeldung);

// Tests: the n-th write into an existing file from now on fails (0 = none).
void TagSchreibenFehlerBeiSchreibvorgang(int n);
