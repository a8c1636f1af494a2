#pragma once
// Text encodings of stored files: Windows-1252 (Qt has no codec for it) and
// UTF-8 validation.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252 bytes to text (0x80-0x9F by the Windows table; the five
// undefined codes map to U+0080.. like the C1 controls).
QString Cp1252Dekodieren(QByteArrayView bytes);

// Text to Windows-1252; characters it cannot hold become `ersatz`.
QByteArray Cp1252Kodieren(QStringView text, char ersatz = '?');

// The Windows-1252 byte of one character, or -1 when it has none.
int Cp1252Byte(char16_t c);

// Whether the bytes are well-formed UTF-8.
bool IstGültigesUtf8(QByteArrayView bytes);

// UTF-8 bytes to text, where each byte that belongs to no well-formed
// sequence (overlong forms, surrogates, values beyond U+10FFFF, cut
// sequences, stray bytes) stands alone as Windows-1252.
QString Utf8Dekodieren(QByteArrayView bytes);

// Bytes of one text: valid UTF-8 as UTF-8, anything else as Windows-1252.
QString Utf8OderCp1252Dekodieren(QByteArrayView bytes);
