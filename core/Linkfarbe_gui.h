#pragma once
// The link label of a small window (the progress window's and the about
// box's web address, the web search's help link) in the look of the main
// window's links.

#include <QtGlobal>

class QLabel;

// Shows the link of `l` in colour `farbe` (a stored colour value:
// FarbeFunktionen, or FarbeFunktionenBesucht once used), underlined at rest
// exactly when `FunktionenUnterstreichen` is on; its target and text stay. A
// rich-text link takes its colour from the palette's link roles and its
// underline from its own style, so both are set here.
void LinkLabelFärben(QLabel* l, qint32 farbe);
