#pragma once
// The colour settings on the windows, and the look of the link-style commands
// (underline toggled while the mouse is over one, used colour once clicked).

class QWidget;
class frmMain;

// Applies the seven colours and the underline setting to the main window
// and to the web-address labels of the progress, about and web-search
// windows; installs the hover look on first use.
void FarbenAnwenden(frmMain* f);

// Gives the label under the mouse the hover look and every other link of the
// main window its resting look; a control that is no label only rests them.
void LinkHervorheben(frmMain* f, QWidget* unterMaus);

// Whether a control of the main window is a link (tagged "htmstyle").
bool IstLink(const QWidget* w);
