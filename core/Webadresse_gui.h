#pragma once
// The web-address label of the small windows (progress, about box, web
// search) in the look of the main window's links.

#include <QtGlobal>

class QLabel;

// Shows the program's web address in `l` as a link of colour `farbe` (a
// stored colour value: FarbeFunktionen, or FarbeFunktionenBesucht once
// used), underlined at rest exactly when `FunktionenUnterstreichen` is on.
// A rich-text link takes its colour from the palette's link roles and its
// underline from its own style, so both are set here.
void WebadresseFärben(QLabel* l, qint32 farbe);
