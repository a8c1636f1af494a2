#pragma once
// The tag editor's batch functions: AutoTAG, swapping fields, the track
// number from the comment, case changes and copying fields, on the file
// shown or on every file of the editor, in ID3v1, ID3v2 or both. The run
// works on the editor through `StapelEditor`, so it runs without a window.

#include "core/MedienInfo.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class QObject;

// The boxes of one tag the functions touch, in the order of the field copy
// list. Genre: on the ID3v1 side the genre list's position as decimal text
// ("-1" none), on the ID3v2 side the genre box's text.
struct TagFelder {
    enum { Titel, Interpret, Album, Jahr, Titelnummer, Genre, Kommentar, Anzahl };
    std::array<QString, Anzahl> feld;
    QString& operator[](int i) { return feld[size_t(i)]; }
    const QString& operator[](int i) const { return feld[size_t(i)]; }
    bool operator==(const TagFelder&) const = default;
};

// The function list and the target list, by position.
const QStringList& StapelFunktionen();
const QStringList& StapelZiele();
// The names of the field copy list.
const QStringList& KopierFelder();

enum StapelFunktion {
    FunktionAutoTag, FunktionAutoTagEinstellen, FunktionTitelInterpret, FunktionAlbumTitel, FunktionInterpretAlbum,
    FunktionZahlAusKommentar, FunktionErsterGroß, FunktionWörterGroß, FunktionKlein, FunktionGroß,
    FunktionFelderKopieren,
};

struct StapelZiel {
    bool v1 = false;
    bool v2 = false;
    bool alle = false;
    qint16 tagCode = 0; // for AutoTAG: 0 both, 1 ID3v1, 2 ID3v2
};
// The target at a position of the target list (none for any other).
StapelZiel StapelZielErmitteln(int position);

// The last run of ASCII digits in `text` ("" when it holds none).
QString LetzteZiffernfolge(const QString& text);

// Functions 2 to 9 on one tag's fields. Messages of function 5 go to the
// user; they do not stop a run.
void StapelFeldFunktion(int funktion, TagFelder& f, bool v2, QObject* besitzer = nullptr);

// What a save of the batch run achieved, per part.
struct StapelGespeichert {
    bool v1 = false;
    bool v2 = false;
    bool felder = false;
};

// The tag editor as the run uses it.
class StapelEditor {
public:
    virtual ~StapelEditor() = default;
    virtual int DateiAnzahl() = 0;
    // Position (from 1) of the file shown.
    virtual int DateiGezeigt() = 0;
    // Loads file position `k` with the read flags; 0 when it is shown.
    virtual int DateiLaden(int k, const QString& felder) = 0;
    // Saves the file shown in one sequence: the pages read once, the tags
    // asked for written, then the index fields, then one re-display.
    virtual StapelGespeichert Speichern(bool v1, bool v2) = 0;
    // Lets pending events run with the editor disabled.
    virtual void EreignisseLaufenLassen() {}
    virtual TagFelder Felder(bool v2) = 0;
    // Writes the boxes that differ from `f`.
    virtual void FelderSetzen(bool v2, const TagFelder& f) = 0;
    // The path of the file shown, and its pages as a record.
    virtual QString Pfad() = 0;
    virtual MedienInfo FormularLesen() = 0;
    // Shows a record in the pages without reading the file.
    virtual bool Anzeigen(const MedienInfo& info) = 0;
    // The AutoTAG chooser, modally.
    virtual void AutoTagEinstellen() = 0;
    // The field copy dialog, modally: the chosen items of the field list,
    // nothing when it was refused.
    virtual std::optional<std::array<bool, TagFelder::Anzahl>> FelderWählen() = 0;
    // Owner of the message boxes.
    virtual QObject* Besitzer() { return nullptr; }
};

// Runs the function at `funktion` on the target at `ziel` (-1 none chosen).
void StapelAusführen(StapelEditor& editor, int funktion, int ziel);
