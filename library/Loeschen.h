#pragma once
// Entries leaving the index: removed only, deleted with their files, or with
// their files sent to the trash; emptied folders are offered for removal.

#include "core/Index.h"

#include <QString>
#include <unordered_map>
#include <utility>
#include <vector>

class QObject;

// A list of entry numbers; an element of 0 or less leaves that entry alone.
using EintragsListe = std::vector<qint32>;

// intModus 0: no file operation; 1: delete the files; 2: to the trash.
// `lngEinträge` is the caller's own copy: every element whose file stays
// (failed, declined, aborted or not reached) is set to 0, so that with
// `bolAusIndexEntfernen` only the handled entries leave the index. A file
// that could not be reached (DateiExistenz: unknown) is neither deleted nor
// removed; the user is told why. Returns how many such files there were.
// A file skipped at the question for an absent medium keeps its element
// (its entry leaves like a deleted one's), unless `bolÜbersprungeneBehalten`.
qint32 DateienLöschen(Index& index, EintragsListe& lngEinträge, int intModus, bool bolAusIndexEntfernen,
                      bool bolÜbersprungeneBehalten = false);

// Sends the entries' files to the trash after asking, then offers emptied
// folders. Elements whose file was not sent (declined, aborted, not reached)
// are set to 0; skipped unavailable files keep their element unless
// `bolÜbersprungeneBehalten`. Returns how many files could not be reached.
qint32 DateiInPapierkorb(Index& index, EintragsListe& lngEinträge, bool bolÜbersprungeneBehalten = false);

// Sets the elements from `ab` on to 0 (a run that ends keeps them).
void ListeAbNullen(EintragsListe& lngEinträge, size_t ab);

// The availability of element i in a run over the list (missing files
// skipped unless `bolFehlendÜberspringen` is false): 0 go on, 1 skip; 2 the
// run ends here, element i and all later ones are set to 0. An element that
// names no entry is set to 0 and skipped.
int LaufVerfügbarkeit(const Index& index, EintragsListe& lngEinträge, size_t i, QObject* besitzer,
                      bool bolFehlendÜberspringen = true);

// Where a run that acts on the listed files stands with element i.
enum class LaufDatei {
    Da,             // the file is there: act on it
    Fehlt,          // missing (also a stored path of another system)
    Übersprungen,   // skipped at the question for an absent medium
    Unerreichbar,   // could not be reached: element set to 0, the user told why and chose to go on
    Ende,           // the run ends here: element i and all later ones set to 0
};
// Asks the availability (missing files reach the caller) and then the file
// system; `unerreichbar` counts the files that could not be reached.
LaufDatei LaufDateiPrüfen(const Index& index, EintragsListe& lngEinträge, size_t i, QObject* besitzer,
                          qint32& unerreichbar);

// Reports a file that could not be deleted and asks whether to go on with
// the next one; true for "Ja".
bool LöschfehlerWeiterFragen(const QString& pfad, QObject* besitzer);

// When the path names a real folder (a link to one is none) that was listed
// and found empty: asks whether to remove it. True when it was removed or
// the user declined; false when it does not exist, is a link, cannot be
// listed, is not empty, or could not be removed.
bool OrdnerLöschenFragen(const QString& strOrdner);

// Removes the listed entries from the index (the others keep their order),
// forgets the selection and refreshes the list.
void DateienAusListeEntfernenStarten(Index& index, const EintragsListe& lngEinträge);

// A run's own list after the entries `entfernt` left the index: their
// elements become 0, the others take the entries' new numbers.
void EintragsNummernAnpassen(EintragsListe& lngEinträge, const EintragsListe& entfernt);

// After a move or copy put a file at `strZiel`, every other entry of that
// path told of the file that was there before. With such entries, one entry
// names the path afterwards, with the file's freshly read record: the moved
// entry `lngVerschoben` (keeping what the index keeps about it, the play
// statistics), or after a copy (0) the first of them, read as an add reads
// a new file. The others leave the index. Returns their numbers as they
// were before.
EintragsListe ZielEinträgeErneuern(Index& index, const QString& strZiel, qint32 lngVerschoben);

// The same for a run that moves or copies many files: entries are found by
// their path, and those that leave the index go in one pass when the run
// ends (Abschließen, or at the latest the destructor), as
// DateienAusListeEntfernenStarten would have removed them one by one.
// Meanwhile every entry keeps its number; one that is to leave counts as
// gone (Entfernt). Paths of the index change only through PfadSetzen.
class ZielEinträgeLauf {
public:
    explicit ZielEinträgeLauf(Index& index) : m_index(index) {}
    ~ZielEinträgeLauf() { Abschließen(); }
    ZielEinträgeLauf(const ZielEinträgeLauf&) = delete;
    ZielEinträgeLauf& operator=(const ZielEinträgeLauf&) = delete;

    // The entry now names `pfad` (a moved file).
    void PfadSetzen(qint32 eintrag, const QString& pfad);
    // As ZielEinträgeErneuern; the entries that leave are only marked.
    void ZielErneuern(const QString& strZiel, qint32 lngVerschoben);
    bool Entfernt(qint32 eintrag) const
    {
        return eintrag > 0 && size_t(eintrag) < m_weg.size() && m_weg[size_t(eintrag)];
    }
    // Removes the marked entries; returns their numbers as they were.
    EintragsListe Abschließen();

private:
    void nachschlagenBauen();
    Index& m_index;
    bool m_gebaut = false;
    // The entries by the hash of their path when the run began, sorted, and
    // of the paths set since; a hit counts only while the entry names that
    // path now.
    std::vector<std::pair<size_t, qint32>> m_anfang;
    std::unordered_multimap<size_t, qint32> m_gesetzt;
    std::vector<char> m_weg;
    EintragsListe m_entfernt;
};

// What a run over a list did with each element: whether the entry was
// handled, and the path its file has afterwards (a copy's: the new file's).
struct EintragsErgebnis {
    bool erledigt = false;
    QString pfad;
    bool operator==(const EintragsErgebnis&) const = default;
};
// A run's results before it starts: nothing handled, every entry's file
// where its entry says (nothing when not asked for).
void ErgebnisseVorbereiten(std::vector<EintragsErgebnis>* ergebnis, const Index& index,
                           const EintragsListe& lngEinträge);
