#pragma once
// Writing and removing the tags of a media file: the ID3v2.3 tag at the
// front and the 128-byte ID3v1 block at the end. A tag is written in place
// when it fits the extent of an old tag at the file's first byte, no frame
// kept from it (a picture, lyrics, anything the user cannot type again)
// moves and every byte that changes lies inside one aligned 4 KiB block of
// the file: that change is one write through the descriptor the old tag was
// read by, which a kill or power cut leaves done or not done, never torn.
// The kept frames stand first (odd and empty ones among them), the
// program's own frames behind them; a rewrite starts the own frames where
// the next text edit stays inside one block. Otherwise the whole file goes
// to "<file>-neu" and is renamed over the original (core/SichereDatei.h)
// only when the original is still as it was read, so a failure at any
// step, or another program changing the file meanwhile, leaves the original
// as it is. No write starts while another program writes the file. The
// calls work on a path and show nothing: each answers with the message text
// for the caller.
//
// The frames this program does not interpret are taken from the file itself
// at write time (the record of an index file no longer holds them). A field
// whose text is what was read from its frame keeps that frame (several
// values, line breaks, blanks; from a 2.4 tag in the form 2.3 holds it), or
// its frames, where the tag held several of its id. A changed field of
// several values is one frame of them joined with "/"; a changed year
// leaves no other date frame (TDRC, TDAT, TIME) beside its TYER. The
// comment and the link replace the frame they were read from (the first
// without a description); no other comment or link is dropped. A 2.2
// tag's frames, and the 2.2 ids a 2.3 tag holds padded to four bytes, take
// their 2.3 form. A compressed frame stays compressed while its field is
// unchanged. A frame the 2.3 form cannot hold, an old tag not read to its
// end, or a field's compressed frame that does not decompress, refuses the
// write.

#include "core/MedienInfo.h"
#include "media/MedienInfosLesen.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

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

// A text frame of one or more values (separated by terminators) as the
// writer encodes texts.
QByteArray Id3v2TextFrameBauen(QByteArrayView id, const QStringList& texte);

// The 128-byte ID3v1 block of the record's ID3v1 fields (Windows-1252, "?"
// for what it cannot hold, cut to the field widths). A track number (decimal
// text 0..255 in Mp3_ID3v1_Titelnummer) makes it an ID3v1.1 block with a
// 28-character comment; without one the comment has 30. `titelnummerGültig`
// is false when a track was given that is no such number (none is written).
QByteArray TagV1TextZurückgeben(const MedienInfo& udtInfo, bool* titelnummerGültig = nullptr);

// Writes the ID3v2.3 tag of the record's fields into the file. False with
// the message text in `strFehler` when it was refused or failed. With
// `gelesen`, how the record was read: a reading that failed in any step, or
// a file that is no longer the one it read, refuses the write.
bool Mp3TAGSpeichernV2(const QString& strDatei, const MedienInfo& udtInfo, QString& strFehler,
                       const MedienLesung* gelesen = nullptr);

// Replaces the file's ID3v1 block with `strTAG` (128 bytes beginning with
// "TAG"), or appends it when the file has none.
bool Mp3TAGSpeichernV1(const QString& strDatei, const QByteArray& strTAG, QString& strFehler,
                       const MedienLesung* gelesen = nullptr);

// Both tags as one save: the ID3v2 tag of the record and the ID3v1 block
// `strTAG`. Nothing is written when either would be refused (the file
// missing or changed since it was read, another program writing it, a tag
// that cannot be written): all is checked before the first byte. In place
// the two changes are written one after the other and undone together;
// otherwise both go into one copy that replaces the file with one rename.
// False with the message of the refused tag, or, for a failure of the file
// itself, the ID3v2 tag's.
bool Mp3TAGSpeichernBeide(const QString& strDatei, const MedienInfo& udtInfo, const QByteArray& strTAG, QString& strFehler,
                          const MedienLesung* gelesen = nullptr);

// Whether the file at the path is no longer the one a whole reading read
// (another file, size or modification time, as MedienLesung::WieGelesen
// decides); `jetzt` gets its state. A
// file that cannot be looked at is not "changed": the write says why.
bool SeitDemLesenVerändert(const QString& strDatei, const MedienLesung& gelesen, DateiStand* jetzt = nullptr);

// Removing a tag: Entfernt, or Abgelehnt (missing file, no such tag: an
// information) or Fehlgeschlagen (a warning), with the text in `strMeldung`.
// The ID3v2 removal takes with the tag every whole tag that stands right
// behind it (a tagger that adds a tag instead of replacing one leaves the
// old one there); a write replaces the first only.
enum class TagEntfernenErgebnis { Entfernt, Abgelehnt, Fehlgeschlagen };
TagEntfernenErgebnis TAGEntfernen(const QString& strDatei, QString& strMeldung);
TagEntfernenErgebnis TAGEntfernenV2(const QString& strDatei, QString& strMeldung);

// Tests: the n-th write into an existing file from now on fails (0 = none);
// the fsync of a write in place fails (EIO).
void TagSchreibenFehlerBeiSchreibvorgang(int n);
void TagSchreibenFehlerBeimSynchronisieren(bool an);
