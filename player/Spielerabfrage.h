#pragma once
// What the main window's player panel shows after one poll of the player,
// decided without a window.

#include "core/Index.h"

#include <QDateTime>
#include <QString>

struct SpielerAnzeige {
    enum class Zustand { Spielt, Pausiert, Leerlauf };
    Zustand zustand = Zustand::Leerlauf;
    // The panel shows (playing or paused).
    bool leisteSichtbar = false;
    // Texts, buttons and bars are rewritten; false while a title of unknown
    // length plays (they keep what they showed).
    bool einzelheiten = true;
    QString titel;
    // The position bar, unless the user holds its thumb.
    bool balkenSetzen = false;
    qint32 balkenMaximum = 0;
    qint32 balkenWert = 0;
    QString positionText;
    QString knopfText; // the play/pause button
};

// One poll: asks the player for its state, position, length and title, and
// lets the statistics look at the title. `balkenMaximum` is the position
// bar's maximum now; `bolZiehen` that the user holds its thumb.
SpielerAnzeige SpielerAbfragen(Index& index, qint32 balkenMaximum, bool bolZiehen, const QDateTime& datJetzt);

// Whether the saving interval has run out: the whole minutes from the last
// save to now (both cut to the minute) reach `lngMinuten` (> 0).
bool RegelmäßigSpeichernFällig(const QDateTime& datLetzte, const QDateTime& datJetzt, qint32 lngMinuten);
