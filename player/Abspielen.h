#pragma once
// Every play, enqueue, open and open-with action: index entries go to the
// audio player through a playlist file on its command line, to a program, or
// to the picture window.

#include "platform/Dienste.h"
#include "core/Index.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class QObject;

// Walks the entries in order (0 and numbers that are no entry are left
// alone): unreachable files are skipped or end the walk, files of types the
// index does not manage are offered to their standard program, audio files
// go to the player (the first of a play action starts at once, the others
// are enqueued behind it), and the last picture met is shown. Plays handed
// to a player that does not report what it plays are counted at once.
// False when a hand-over to the player failed (reported; nothing of it is
// counted and the walk stops there).
bool AbspielenMediaPlayer(Index& index, std::vector<qint32> einträge, bool bolAnhängen, bool bolAusführenMit,
                          bool bolPlaylistLeeren, const QString& strProgramm, QObject* besitzer = nullptr);
// The same over the program's index.
bool AbspielenMediaPlayer(std::vector<qint32> einträge, bool bolAnhängen, bool bolAusführenMit,
                          bool bolPlaylistLeeren, const QString& strProgramm, QObject* besitzer = nullptr);

// The playlist of one hand-over: a new file in the user's cache folder each
// time, so a player still reading the last one never sees it change.
class SpielerPlaylist {
public:
    // Checks that the player program exists (else the player-missing
    // message) and creates the file (else the failure message). False: no
    // hand-over is possible.
    bool Öffnen();
    // The entry's lines.
    void Hinzufügen(const Index& index, qint32 lngEintrag);
    // Writes the file and starts the player with it: to play it at once
    // (`WinampParameterAbspielen`) or to enqueue it (`WinampParameterHinzufügen`).
    // False after a failure (reported).
    bool Abspielen(bool bolSofort);

    const QString& Datei() const { return m_datei; }
    const std::vector<qint32>& Einträge() const { return m_einträge; }

private:
    QString m_datei;
    QByteArray m_inhalt;
    std::vector<qint32> m_einträge;
};

// The lines of one entry in the player's playlist file.
QByteArray PlaylistZeilen(const Index& index, qint32 lngEintrag, bool bolErweitert);

// A path as one playlist line (without its line end).
QByteArray PlaylistPfad(const QString& pfad);

// The folder of the playlist files (~/.cache/Kalvero).
QString PlaylistOrdner();
// Removes the playlist files older than the last hand-over's (at each
// hand-over and when the program ends).
void AltePlaylistsEntfernen();

// Shows a picture (the picture window installs itself here).
struct BildAnzeigeDienst {
    using Typ = std::function<bool(const QString&)>;
};
