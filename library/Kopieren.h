#pragma once
// Copying or moving the files of index entries into one folder, and the
// folders proposed as targets for a file.

#include "core/Index.h"
#include "library/Loeschen.h"

#include <QString>
#include <QStringList>

// The folder text of the copy window checked and completed: "" and a
// message when it cannot be used (empty, or no absolute path), else the
// folder with its closing separator.
QString KopierenOrdnerPrüfen(const QString& strOrdner, QString& strMeldung);

// Copies (or moves, with `bolVerschieben`) the entries' files into
// `strOrdner` (a folder as KopierenOrdnerPrüfen gives it), with progress,
// availability check and the question to go on after a failure. Moved
// entries take the path the file really arrived at; an entry that named a
// replaced file leaves the index (ZielEinträgeErneuern). Stores the folder
// and the mode in the settings before any file is touched. `ergebnis`, when
// given, tells for each element what became of it.
void DateienKopieren(Index& index, const EintragsListe& einträge, const QString& strOrdner, bool bolVerschieben,
                     std::vector<EintragsErgebnis>* ergebnis = nullptr);

// Folders that may suit the entry's file: its own folder first, then every
// folder of the index whose path contains one of its words (the ID3v1 artist
// and album when it has an ID3v1 tag, else the words of its file name), each
// once without regard to letter case, in index order.
QStringList ZielordnerVorschlagen(const Index& index, qint32 lngEintrag);

// The same for given search words.
QStringList ZielordnerFinden(const Index& index, qint32 lngEintrag, const QStringList& wörter);
