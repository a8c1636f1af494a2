#pragma once
// Escaping of search texts for the web-search addresses.

#include <QString>

// Letters A-Z and a-z stay; every other character becomes "%" and two
// upper-case hex digits per byte of its Windows-1252 code (a blank "%20", a
// tab "%09", "ä" "%E4"). A character that code page cannot hold is written
// as the bytes of its UTF-8 form, so nothing of the text is lost.
QString InternetFormat(const QString& text);
