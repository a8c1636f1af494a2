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
// player's title, the time of the tick and the position in the title (whole
// seconds, -1 not known). True when it ran to its end (also with statistics
// off), false after a failure.
// The title counted last and when are kept with the settings: the first
// title of a run that is that title and has played since before that count
// is the same playback, counted already.
bool WinampDateiErkennen(Index& index, const QString& strTitel, const QDateTime& datJetzt, qint32 lngPosition = -1);

// One play of an entry at `datJetzt`: count + 1, last played, index modified.
void AbspielenZählen(Index& index, qint32 lngEintrag, const QDateTime& datJetzt);

