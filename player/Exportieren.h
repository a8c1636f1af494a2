#pragma once
// Exporting index entries as separated text, an HTML page or a playlist
// (m3u or pls). The columns are field names of the field vocabulary, in the
// order they are written; the caller decides them (the main list's columns).

#include "core/Index.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QObject;

enum ExportFormat : qint16 { ExportText = 0, ExportHtml = 1, ExportPlaylist = 2 };

// "" for an empty value and for a run of one punctuation character ("--",
// "..."); otherwise the trimmed value between two delimiters, a delimiter
// inside it doubled.
QString WertEinfassen(const QString& wert, const QString& begrenzer);

// The bytes of the export file (UTF-8, CR LF). Entry numbers that name no
// entry are passed over. For playlists the extension of `pfad` chooses the
// form: ".pls" in any letter case the pls form, anything else m3u.
QByteArray ExportInhalt(const Index& idx, const std::vector<qint32>& einträge, const QString& pfad, qint16 format,
                        const QString& anführung, const QString& trenner, const QStringList& spalten);

// Writes the export file safely (temporary file, then the rename; the old
// file stays untouched on failure) and offers to show it. False, after its
// message, when the file was not written.
bool ListeExportieren(const Index& idx, const std::vector<qint32>& einträge, const QString& pfad, qint16 format,
                      const QString& anführung, const QString& trenner, const QStringList& spalten,
                      QObject* besitzer = nullptr);
// The same over the program's index.
bool ListeExportieren(const std::vector<qint32>& einträge, const QString& pfad, qint16 format,
                      const QString& anführung, const QString& trenner, const QStringList& spalten,
                      QObject* besitzer = nullptr);

// The first text editor found on PATH ("" when none is).
QString TextEditorFinden();
