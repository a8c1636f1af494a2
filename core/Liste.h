#pragma once
// The song list as the rest of the program uses it: the current selection
// and the refresh operations. The window behind it installs a ListenAnzeige;
// the search boxes' state stays with the window.
//
// Whoever changes the index (adding, removing, tag editing, loading) calls
// SucheAktualisieren(false) afterwards; an adding operation then calls
// NeueInListeMarkieren with the number of entries it appended.

#include "platform/Dienste.h"
#include <QtGlobal>
#include <vector>

struct ListenZustand {
    // The selection, in list order (1-based, element 0 unused). Read
    // lngAuswahlAnzahl first; code that walks the selection while events may
    // run copies the vector.
    qint32 lngAuswahlAnzahl = 0;
    std::vector<qint32> lngAuswahlEintrag{0, 0};
    std::vector<qint32> lngAuswahlPosition{0, 0};
    // Keep the marked rows when the list is refilled.
    bool bolMarkierungenBehalten = false;

    // Set by the list's key presses (Ctrl, or Shift): the player clears its
    // playlist before a play request.
    bool bolPlaylistLeeren = false;

    // The selection as nothing selected (both arrays one element).
    void AuswahlLeeren();
};

// The state of the program's list.
ListenZustand& listenZustand();

// Runs the current search again at once and refills the list (autocomplete
// of the search text only when `bolAutoComplete`).
void SucheAktualisieren(bool bolAutoComplete);
// Rewrites the rows of entries lngVon..lngBis from the current records.
void ListeErstellenAktualisieren(qint32 lngVon, qint32 lngBis);
// Selects the rows of the last `lngAnzahl` entries (after SucheAktualisieren),
// deselects all others, scrolls them into view and updates the selection.
void NeueInListeMarkieren(qint32 lngAnzahl);
// Reads the selected rows of the list into listenZustand().
void AuswahlErmitteln();
// AuswahlErmitteln, then the selected entry numbers as a list of their own
// (a window works on its copy while the shared one may be rewritten).
std::vector<qint32> AuswahlEinträgeKopieren();
// Rewrites the description bar from the selection.
void BeschreibungAktualisieren();

// What the window provides to the functions above. Without one (tools,
// tests without a window) SucheAktualisieren only re-runs the search over
// the index and the others do nothing.
class ListenAnzeige {
public:
    virtual ~ListenAnzeige() = default;
    virtual void SucheAktualisieren(bool bolAutoComplete) = 0;
    virtual void ListeErstellenAktualisieren(qint32 lngVon, qint32 lngBis) = 0;
    virtual void NeueInListeMarkieren(qint32 lngAnzahl) = 0;
    virtual void AuswahlErmitteln() = 0;
    virtual void BeschreibungAktualisieren() = 0;
};
struct ListenAnzeigeDienst {
    using Typ = ListenAnzeige*;
};
