#pragma once
// Remote control of the audio player named by the setting `WinampPfad`,
// over its MPRIS2 interface on the session bus. The procedures keep the
// names and answers of the player's old window messages.

#include <QString>

// Player commands (the old window command numbers).
enum WinampBefehl : qint32 {
    kWinampVorheriger = 40044,
    kWinampSpielen = 40045,
    kWinampPause = 40046,
    kWinampStopp = 40047,
    kWinampNächster = 40048,
    kWinampZumEnde = 40158,       // jump to the end of the playlist
    kWinampPlaylistLeeren = 101,  // as user message
};

// The bus name of the player found by the last search ("" = none known).
// Only the search writes it; every other procedure does nothing without it.
extern QString strWinampDienst;

// Whether the program file is a player this program controls: one known to
// speak MPRIS under its own name, or one on the bus now whose bus name or
// desktop entry matches the program's file name. Such a player's plays are
// counted from what it reports playing; any other player's when files are
// handed to it.
bool SpielerSteuerbar(const QString& strProgramm);

// The MPRIS bus name the player registers (without an instance suffix).
QString SpielerDienstname(const QString& strProgramm);

// Commands without an MPRIS counterpart (clearing the playlist, jumping to
// its end) send nothing.
void WinAMP_SendCommandMessage(qint32 lngBefehl, bool bolBenutzerNachricht);
// Sends the seek only when 0 <= seconds <= the track length.
void WinAMP_SeekToPosition(qint32 lngSekunden);
// Seconds; -1 not known; 0 without a player.
qint32 WinAMP_GetTrackLength();
// Whole seconds (cut towards zero); -1 not known; 0 without a player.
qint32 WinAMP_GetTrackPosition();
// "PLAYING", "PAUSED", "STOPPED"; "" without a player.
QString WinAMP_GetStatus();
// 0..255, sent as 0..1; other values are ignored.
void WinAMP_SetVolume(qint32 lngLautstärke);
// Balance has no MPRIS counterpart: nothing is sent.
void WinAMP_SetBalance(qint32 lngBalance);

// Whether the player the setting names is there to be controlled (leaves its
// bus name in strWinampDienst); with bolStarten, a player not running is
// started and waited for.
bool Winamp_Check(bool bolStarten);
// One look on the bus; with bolWarten, looks again (letting events run)
// until the player appears or about five seconds have passed.
bool WinAMP_FensterSuchen(bool bolWarten);
// Starts the player program without parameters (false without a program name).
bool WinAMP_Start();
// "artist - title" of what the player plays (the title alone without an
// artist; the file name without extension without a title); "" when unknown.
QString WinampTitelLesen(const QString& strDienst);
