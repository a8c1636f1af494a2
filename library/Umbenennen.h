#pragma once
// Renaming the files of index entries by patterns, and the other changes the
// rename window offers: the list entry only, letter case, extension,
// attributes, and replacing a file by an empty one. Every new path goes
// through DateiVerschieben, so nothing is overwritten unless the user chose it.

#include "core/Index.h"
#include "library/Loeschen.h"
#include "platform/Dienste.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

// The engine's function codes (the window's list shows them in another order).
enum UmbenennenFunktion : int {
    UmbenennenFelder = 0,
    UmbenennenErsetzen = 1,
    UmbenennenFortlaufend = 2,
    UmbenennenManuell = 3,
    UmbenennenSchreibweise = 4,
    UmbenennenListeneintrag = 5,
    UmbenennenEndung = 6,
    UmbenennenAttribute = 7,
    UmbenennenLeereDatei = 8,
};

// The list texts of the functions in list order, and the engine code of a
// list position (-1 outside the list).
const QStringList& UmbenennenFunktionsTexte();
int UmbenennenFunktionAusPosition(int position);

// Case modes: 1 lower, 2 upper, 3 first letters, 4 each word.
struct UmbenennenEingaben {
    int intFunktion = -1;
    QString strFormat;
    QString strErsetzen;
    QString strErsetzenDurch;
    QString strAnfang;
    QString strStartZahl;
    QString strEnde;
    int intSchreibweise = 0;
    QString strEndung;
    int intSchreibschutz = 0;
    int intArchiv = 0;
    int intSystem = 0;
    int intVersteckt = 0;
    QString strLeereEndung;
};

// The hint for inputs of the chosen function that cannot be used; "" when
// the run may start.
QString UmbenennenEingabenPrüfen(const UmbenennenEingaben& e);

// The settings that remember the inputs (all but the empty-file extension).
UmbenennenEingaben UmbenennenEinstellungenLesen();
void UmbenennenEinstellungenSpeichern(const UmbenennenEingaben& e);

// The placeholders offered for the field format: "%name% " for every column
// name except the user column and empty names.
QString UmbenennenPlatzhalter();

// Asks for a new path (manual input, list entry): shows `alt`, puts the
// answer into `neu`; false when the user declined. The window installs
// itself; without one every question is declined.
using DateinameAbfrage = std::function<bool(const QString& alt, QString& neu, bool bolListeneintrag)>;
struct DateinameAbfrageDienst {
    using Typ = DateinameAbfrage;
};

// What a run carries from file to file: for sequential names the next
// counter per target folder and extension; the entries that left the index
// in the last step (they named a file that was replaced); the files left
// alone for want of field text.
struct UmbenennenLauf {
    QHash<QString, QString> nächsterZähler;
    EintragsListe entfernt;
    // Files left as they are since every field of the format was empty.
    qint32 ohneFelder = 0;
};

// Applies the function to one entry. True when the entry was handled; a
// failure has been reported to the user. A file moved over an indexed one
// leaves one entry for its path (ZielEinträgeErneuern; `lauf.entfernt`).
bool DateiNachKriterienUmbenennen(Index& index, qint32 lngEintrag, const UmbenennenEingaben& e,
                                  UmbenennenLauf& lauf);

// The run over the entries (the caller's own copy of the selection) with
// progress, availability check and the question to go on; stores the inputs,
// reports the number of entries handled and refreshes the list. Returns that
// number; `ergebnis` (when given) tells for each element what became of it.
// With the empty-file function missing files are passed over.
qint32 DateienUmbenennen(Index& index, const EintragsListe& einträge, const UmbenennenEingaben& e,
                         std::vector<EintragsErgebnis>* ergebnis = nullptr);

// Read-only is the write permission; hidden, system and archive do not
// exist here and are refused with the message. True on success.
bool DateiAttributeSetzen(const QString& strPfad, int intSchreibschutz, int intArchiv, int intSystem,
                          int intVersteckt, QString& strMeldung);

// Puts an empty file named like `strPfad` with the extension `strEndung` in
// its place. The new file is made first and never truncates another (an
// existing one is asked about), then, with `bolLöschen`, the old file is
// deleted; when that fails the new file goes again. A path that is not
// absolute and an extension holding a separator are refused. On failure
// `strFehlerPfad` names the file that could not be made or deleted, and
// `intFehler` the system's error number of making it (0 when none is known).
bool LeereDateiMitEndungErstellen(const QString& strPfad, const QString& strEndung, bool bolLöschen,
                                  QString* strFehlerPfad = nullptr, int* intFehler = nullptr);

