#pragma once
// The rules of start-up that do not need a window.

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

// The index file named on the command line (the raw text after the program's
// path): quotes are stripped only where there is one at each end; a lone
// quote or an empty text names no file; a file:// URL becomes a local path;
// a relative name is made absolute against the current folder.
std::optional<QString> BefehlszeileAuswerten(const QString& befehlszeile);
// The raw text from argv (arguments after the program, joined by blanks).
QString BefehlszeileAusArgumenten(const QStringList& argumente);

// Volume outside 0..255 becomes 128; balance outside -128..128 becomes 0.
int LautstärkeBegrenzen(int v);
int BalanceBegrenzen(int b);

// Where the main window goes (all twips).
struct Platzierung {
    enum class Art { Zentriert, Gespeichert, Entwurf } art;
    QRect rechteck;
    bool maximiert = false;
};
Platzierung FensterPlatzierungBerechnen(int start, const QString& versionText, QRect gespeichert,
                                       int fensterMax, QRect entwurf, QSize bildschirm);

// The tip shown at start-up after `aktuell`: 0 = none; past the last (or a
// negative number) starts again at 1.
int NächsterTipp(int aktuell, int anzahlTipps);
