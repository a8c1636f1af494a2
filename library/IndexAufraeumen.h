#pragma once
// Carrying out the actions chosen in the clean-up window: files deleted,
// sent to the trash or replaced by empty files, and their entries removed
// from the index; entries whose files stay keep their place.

#include "library/Loeschen.h"

#include <QString>
#include <array>
#include <vector>

class QObject;

// The actions, as the action boxes list them.
enum Aktion : qint32 {
    KeineAktion = 0,
    AktionLöschen = 1,
    AktionPapierkorb = 2,
    AktionAusIndexEntfernen = 3,
    AktionLeereDatei = 4,
};

// The extension of the empty files that take the place of replaced ones.
inline constexpr const char* kLeereDateiEndung = "inanderemordner";

// How many entries have each action (element 0: none counted).
using AktionsAnzahl = std::array<qint32, 5>;
AktionsAnzahl AktionenZählen(const std::vector<qint32>& doppelteAktion);
inline qint32 AktionenGesamt(const AktionsAnzahl& a) { return a[1] + a[2] + a[3] + a[4]; }

// The confirmation question listing all four counts.
QString AktionenFrage(const AktionsAnzahl& anzahl);

// What "Ok" asks before the actions are carried out: with no action chosen
// the hint (false), else the confirmation question; true for "Ja".
bool AktionenBestätigen(const std::vector<qint32>& doppelteAktion, QObject* besitzer);

// Carries out every entry's action (`doppelteAktion` by entry number) under a
// progress display of six steps owned by `besitzer`: deletes, trashes,
// replaces, then removes from the index every handled entry. An entry whose
// file was not deleted, trashed or replaced (failed, declined, skipped at
// the question for an absent medium, not reached) stays indexed, and the
// status line says how many stayed instead of "aufgeräumt". `erledigt`, when
// given, tells by entry number (as it was) whose entry left the index.
void IndexAufräumen(Index& index, const std::vector<qint32>& doppelteAktion, QObject* besitzer,
                    std::vector<bool>* erledigt = nullptr);

// The empty file's name: the path with its extension replaced by `endung`.
QString LeererDateiName(const QString& pfad, const QString& endung);

// Replaces each listed entry's file by an empty file named by
// LeererDateiName, one entry at a time: the empty file is created (never over
// an existing one), then the original deleted; when that fails, the empty
// file goes again. A file that already has the new name is emptied in place.
// A file that is gone is left as it is (no empty file), its element kept, so
// that its entry leaves the index as a deleted one's does. Every element
// whose file stays as it was is set to 0; each failure is reported (with the
// system's reason) and the user may end the run there. Returns how many
// files could not be reached (their entries stay).
qint32 DurchLeereDateienErsetzen(Index& index, EintragsListe& lngEinträge, const QString& endung, QObject* besitzer);
