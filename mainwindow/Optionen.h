#pragma once
// What the two options dialogs decide, apart from their windows: the
// program options' number fields, reading flags and colours, clearing the
// play statistics and re-reading the files; the index options' working copy
// with its checks and its taking back into the index.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "mainwindow/Spalten.h"

#include <QString>
#include <array>
#include <vector>

class QObject;

// --- program options ------------------------------------------------------------

// The three reading flags (ID3v1, ID3v2, file information), 0 or 1 each.
using LeseFlags = std::array<int, 3>;

// The flags as the dialog shows `Mp3TagLesen`: its first three characters
// when it is a number of at least three characters, else 1, 0, 1. A
// character that is no digit counts as 0.
LeseFlags LeseFlagsAnzeigen(const QString& mp3TagLesen);
// "101" and the like.
QString LeseFlagsText(const LeseFlags& flags);
// Whether a flag is on now that was off in `alt` (a missing or non-digit
// character of `alt` counts as 0).
bool LeseFlagsNeuAn(const QString& alt, const LeseFlags& neu);

// The number fields of the tags page: the percent a number from 0 to 100,
// the bytes any number the setting holds (both rounded). The message of the
// first failing check, saying why ("" when both pass); on success `prozent`
// and `bytes` hold the values.
QString TagZahlenPrüfen(const QString& prozentText, const QString& bytesText, qint32& prozent, qint32& bytes);

// The interval of periodic saving: the minutes when the box is ticked and the
// text is a number from 1 to 2147483647 (rounded), else 0.
qint32 SpeichernMinutenLesen(bool angehakt, const QString& text);

// The seven colours and the underline switch, in the order of a colour profile.
struct FarbWerte {
    qint32 Funktionen = 0;
    qint32 FunktionenHintergrund = 0;
    qint32 Listen = 0;
    qint32 ListenHintergrund = 0;
    qint32 Überschrift = 0;
    qint32 Beschreibungen = 0;
    qint32 FunktionenBesucht = 0;
    int Unterstreichen = 0;
    bool operator==(const FarbWerte&) const = default;
};
FarbWerte FarbWerteLesen(const Einstellungen& e);
// Colour profile `nummer` (1 to 5); profile 1 for any other number.
FarbWerte FarbWerteAusProfil(int nummer);
void FarbWerteSetzen(Einstellungen& e, const FarbWerte& f);

// Clears every entry's play count and last-played date; marks the index
// modified when it held entries. False for an empty index.
bool StatistikLöschen(Index& idx);

// Re-reads every entry's file with the reading flags of `Mp3TagLesen` (the
// ID3v1 tag always), asking for absent media as the loader does, under the
// progress display "Lese Dateien". Ends early when the user aborts or cancels;
// entries read so far keep their new records.
void DateienNeuEinlesen(Index& idx, QObject* aufrufer);

// --- texts that go into option lines of the index file -----------------------------

// Whether a text can stand in an option line: no "," and no line break, and
// for an extension no "=" either (they would split the line).
bool OptionsTextErlaubt(const QString& text, bool endung);
// The information box's text for a refused extension or folder.
QString OptionsTextFehler(bool endung);

// --- index options ------------------------------------------------------------------

struct DateitypEintrag {
    QString text;            // the extension; "(Alle weiteren Formate)" for "*"
    bool an = false;         // managed
    bool eingebaut = false;  // a built-in type: neither edited nor removed
    bool alleWeiteren = false;
    QString arten;           // "110": MPEG audio, audio, picture; "" when added here
};

struct SyncOrdnerEintrag {
    QString ordner;
    int unterordner = 0;
    QString kopierenInOrdner; // "" = none
};

// The dialog's working copy; Cancel drops it, OK takes it back.
struct IndexOptionenArbeit {
    std::vector<DateitypEintrag> typen;
    std::vector<SyncOrdnerEintrag> sync; // empty: no sync folders
    int syncDanachEntfernen = 1;
    std::vector<OptionenSpalte> spalten; // column 1 to 30, in number order
    bool leiste = true;
    bool gitter = false;
    QString nutzerformat;
    int beiDoppelklick = 0;              // 0, 2, 3 or 4
};

inline const QString& AlleWeiterenText()
{
    static const QString t = QStringLiteral("(Alle weiteren Formate)");
    return t;
}

// The working copy of the index's options (the columns as the layout text
// has them) and of the double-click setting (1 shows as 0, unknown as 4).
IndexOptionenArbeit IndexOptionenLesen(const Index& idx, int beiDoppelklick);

// The message of the first failing check of OK, "" when all pass.
QString IndexOptionenPrüfen(const IndexOptionenArbeit& a);

// Takes the working copy into the index options and `beiDoppelklick`; marks
// the index modified. True when the user column's format changed.
bool IndexOptionenÜbernehmen(const IndexOptionenArbeit& a, Index& idx, int& beiDoppelklick);
