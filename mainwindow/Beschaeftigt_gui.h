#pragma once
// Whether the program is inside a progress run or a modal window: while it
// is, timers and the tray must not start anything of their own (the nested
// event loops of those windows would run it in the middle of another step).

class QWidget;

// True while a progress run shows, a modal window is open, or `fenster`
// (when given) is disabled.
bool ProgrammBeschäftigt(const QWidget* fenster = nullptr);
