#pragma once
// AutoTAG: tag fields from a file's path. A format of placeholders and
// separators ("\%Interpret% - %Titel%") cuts the path from its end; the
// format "%Automatik%" splits the path into words and guesses each one's
// field by its form and by the artists and albums already in the index.
// "\" and "/" both separate folders, in the path and in the format.

#include "core/Index.h"
#include "core/MedienInfo.h"

#include <QString>
#include <QStringList>

class QObject;
struct Einstellungen;

// What the engine reads of the settings.
struct AutoTagOptionen {
    bool bolUnterstrichEntfernen = true; // "_" in the path reads as a blank
    bool bolFelderLöschen = false;       // clear the target's fields first
    QStringList strAusschluß;            // excluded words; empty = list off
};
// The options as the settings hold them; the exclusion list only when its
// empty flag is not 1.
AutoTagOptionen AutoTagOptionenLesen(const Einstellungen& e);
// The exclusion list in force (empty when switched off).
QStringList AutoTagAusschlussliste(const Einstellungen& e);

struct AutoTagErgebnis {
    bool bolErfolg = false;
    int intMeldung = 0;     // number of the refusal (1..7), 0 on success
    QString strMeldung;     // its text
    MedienInfo udtErgebnis; // to be used only on success
};

// Derives the fields of `udtAlt` from `strDateiname` by `strFormat`.
// intZiel: 0 ID3v1 and ID3v2, 1 ID3v1 only, 2 ID3v2 only. `index` is what
// the automatic mode guesses against (the file's own entry is passed over).
AutoTagErgebnis AutoTagVersuchen(const QString& strDateiname, const QString& strFormat, const MedienInfo& udtAlt,
                                 qint16 intZiel, const AutoTagOptionen& optionen, const Index& index);

// The same over the program's settings and index; a refusal is shown as an
// information box owned by `besitzer`. True when `udtErgebnis` was filled.
bool AutoTagVersuchen(const QString& strDateiname, const QString& strFormat, MedienInfo& udtErgebnis,
                      const MedienInfo& udtAlt, qint16 intZiel, QObject* besitzer = nullptr);

// Splits a format into its placeholders (each with its "%" signs) and the
// n + 1 separators around them, all trimmed. False for a format without "%"
// or with an odd number of them.
bool FormatLesen(const QString& strFormat, QStringList& strPlatzhalter, QStringList& strTrennzeichen);

// 1-based position of the last occurrence of `strSuchen` in `strText` that
// starts at or before `lngGrenze`; 0 when none. lngVergleich 0 exact, 1
// ignoring case. An empty search text answers the limit (at most the
// text's length).
qint32 LetztesVorkommenSuchen(qint32 lngGrenze, const QString& strText, const QString& strSuchen, qint32 lngVergleich);

// The words of a path: the texts between the separators "-", "_", ",", "\"
// and "/", trimmed, behind a leading "X:\" or root "/"; the last word
// without its extension. Words equal to one of `strAusschluß` (ignoring
// case) are left out; empty words (two separators side by side) are kept.
// True when at least one word was found.
bool DateinamenLesen(const QString& strDateiname, QStringList& strWörter, const QStringList& strAusschluß = {});
// The same; the settings' exclusion list applies when `bolIgnorierListe`.
bool DateinamenLesen(const QString& strDateiname, QStringList& strWörter, bool bolIgnorierListe);

// Whether `text` is one or more ASCII digits.
bool IstZiffernfolge(const QString& text);
// The value of a run of ASCII digits, or grenze + 1 when it is larger than
// `grenze` (however long the run).
int ZiffernWert(const QString& ziffern, int grenze);

// --- the settings of the format and exclusion lists ---------------------------
// Position of the automatic format in `formate` ("%Automatik%" in any case),
// -1 when it is not there.
qsizetype AutomatikFormatSuchen(const QStringList& formate);
// The chooser's OK: the current format, the two options and the whole list.
void AutoTagFormateÜbernehmen(Einstellungen& e, const QStringList& formate, const QString& aktuell,
                              bool felderLöschen, bool unterstricheEntfernen);
// The exclusion list's OK: an empty list switches the list off.
void AutoTagAusschlussÜbernehmen(Einstellungen& e, const QStringList& wörter);
