#pragma once
// The web search: escaping of search texts for the services' addresses, and
// the list of services shipped in "Ineturl.dat".

#include <QString>
#include <QStringList>

// Letters A-Z and a-z stay; every other character becomes "%" and two
// upper-case hex digits per byte of its UTF-8 form (a blank "%20", a tab
// "%09", "ö" "%C3%B6"), as the shipped search services expect.
QString InternetFormat(const QString& text);

// Reads the address file: a header line "InetURLs100" (any letter case),
// then per service a line "#name" and its address line, in which "%Suche%"
// marks the search text; empty lines and lines beginning with "'" are
// comments. True when the file holds at least one service. A missing file
// or a wrong header is reported; any other fault (an empty file, an address
// before the first service) gives false without a word.
bool InternetAdressenLaden(const QString& strDatei, QStringList& strAdressen, QStringList& strNamen);

// The address of a service's template with every "%Suche%" replaced by the
// escaped search text.
QString InternetSuchAdresse(const QString& vorlage, const QString& suche);
