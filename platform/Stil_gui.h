#pragma once
// The program's look on top of the desktop's own style: a row of an item
// list is as tall as the glyphs of its font reach. Fonts draw the dots of
// "Ö" and the tails of "g" beyond the line height they report, and a row
// of just that height cuts them off.

class QFont;

// Puts the program's style over the application's present one; once,
// after the QApplication exists.
void ProgrammstilSetzen();

// The height a row needs to show one line of `schrift` whole, the line
// centred in it as the styles draw it.
int ZeilenhöheFürSchrift(const QFont& schrift);
