#pragma once
// The look of link labels: the web-address link of a small window (the
// progress window's and the about box's, the web search's help link) in the
// look of the main window's links, and what every link's hover look is made
// of.

#include <QtGlobal>

class QLabel;
class QWidget;

// Shows the link of `l` in colour `farbe` (a stored colour value:
// FarbeFunktionen, or FarbeFunktionenBesucht once used), underlined at rest
// exactly when `FunktionenUnterstreichen` is on; its target and text stay. A
// rich-text link takes its colour from the palette's link roles and its
// underline from its own style, so both are set here.
void LinkLabelFärben(QLabel* l, qint32 farbe);

// The hover look of a link (its underline turned while the mouse is over
// it) is kept by the moves over the link and over what lies behind it. A
// link so sees every move over it, and none of them reaches the frame behind
// it, whose own moves put the links back at rest.
void LinkMausVerfolgen(QWidget* link);

// Sets the underline, only where it differs: this runs on every mouse move.
void UnterstreichungSetzen(QWidget* w, bool an);
