#pragma once
// The 128-byte ID3v1 block at the end of a file:
//   0 "TAG", 3 title (30), 33 artist (30), 63 album (30), 93 year (4),
//   97 comment (28), 125 zero in ID3v1.1 (else comment), 126 track in
//   ID3v1.1 (else comment), 127 genre byte.
// Texts are Windows-1252, end at their first NUL or run to the field's end.

#include "core/MedienInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct Id3v1Ergebnis {
    bool gültig = false;
    QString kennung, titel, interpret, album, jahr, kommentar;
    QString titelnummer; // "" for an ID3v1.0 block or track 0
    int genre = 255;     // the byte as it stands
};

// Parses the block in `block` (its last 128 bytes when longer); not valid
// unless they begin with "TAG". Line breaks are removed from every text but
// the comment, which keeps them (as LF) when `zeilenumbrücheBehalten`.
Id3v1Ergebnis Id3v1Lesen(QByteArrayView block, bool zeilenumbrücheBehalten);

// Writes a parsed block into the record (no block: empty fields, code 2).
void Id3v1Übernehmen(const Id3v1Ergebnis& e, MedienInfo& info);

// The last 128 bytes of a file of at least 128 bytes when they begin with
// "TAG"; empty otherwise (also when the file cannot be read).
QByteArray Mp3tagLesenStr(const QString& strDatei);
