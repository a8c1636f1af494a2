#pragma once
// Listening statistics from what the player reports playing: a title that
// stays for more than 30 seconds gives every index entry it names one more
// play and the time of this play.

#include "core/Index.h"

#include <QDateTime>
#include <QString>

// The last title seen and since when.
extern QString strWinampTitel;
extern QDateTime datWinampTitelSeit;
// The current title has been looked up (found or not); cleared when an
// index file is loaded.
extern bool bolWinampTitelBearbeitet;
// The current title was found in the index.
extern bool bolWinampDateiErkannt;

// Called by the poll on every tick while the player plays or pauses, with the
// player's title and the time of the tick. True when it ran to its end (also
// with statistics off), false after a failure.
bool WinampDateiErkennen(Index& index, const QString& strTitel, const QDateTime& datJetzt);

// One play of an entry at `datJetzt`: count + 1, last played, index modified.
void AbspielenZählen(Index& index, qint32 lngEintrag, const QDateTime& datJetzt);

