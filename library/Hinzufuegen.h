#pragma once
// Filling the index: the folder scan, the add batch, and the ways of adding
// (a folder, chosen files, a playlist, dropped paths). Everything works on
// the index it is given; the list is refreshed through the main window's
// hooks (mainwindow/Liste.h).

#include "core/Index.h"
#include "library/Dateikennung.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// --- the found-file list -----------------------------------------------------

// The program's found-file list (its count is its size).
extern QStringList strGefundeneDateien;

// Mode 1 empties the list (the path is ignored); any other mode appends the
// path. Always true.
bool GefundeneDateiMerken(const QString& strPfad, int intModus);

// --- the folder scan ---------------------------------------------------------

// Appends the files of `strOrdner` to `ziel`: the folder's own files first,
// then (intUnterordner == 1) those of its sub-folders, depth first; names are
// sorted within each folder. `strOrdner` gets a trailing separator (and, on a
// medium that ignores case, the medium's spelling).
// strFilter: an empty first element takes every file; otherwise a name must
// hold one of the filters, ignoring case, within its last (filter length + 1)
// characters. Hidden entries (names beginning with ".") are passed over, and
// a folder already met in this scan (a symlink loop) is not entered again;
// neither is `ohneOrdner` when given.
// bolFortschritt: reports to the progress display (at most every 50 ms) and
// stops when the user cancels. False only when cancelled.
// Names that are no valid text cannot be stored in the index file: such files
// (and the files below such folders) are passed over; with `übergangen` they
// are listed there (their names shown as far as they can be).
bool DateienSuchenAPI(QString& strOrdner, const QStringList& strFilter, int intUnterordner,
                      bool bolFortschritt, QStringList& ziel = strGefundeneDateien,
                      const QString& ohneOrdner = QString(), QStringList* übergangen = nullptr);

// --- the add batch -----------------------------------------------------------

class Doppelprüfung;

// One batch of new files for `index`: offer each candidate, then close the
// batch, which appends all accepted files at once after the existing entries.
class HinzuStapel {
public:
    explicit HinzuStapel(Index& index);
    ~HinzuStapel();
    HinzuStapel(const HinzuStapel&) = delete;
    HinzuStapel& operator=(const HinzuStapel&) = delete;

    void DateiListeHinzuStarten();
    // True when the file was accepted: it exists, is a managed type and (with
    // `HinzufügenKeineDoppelten`) is neither in the index nor in this batch
    // already, by path or by device and inode (in the index also under a
    // spelling in other case that finds the same entry). On a medium that
    // ignores case the file is taken as the medium spells its path, unless
    // `bolGefunden` says the path comes from a folder scan (spelled so already).
    bool DateienZurListeHinzufügen(const QString& strDatei, bool bolGefunden = false);
    // Appends the batch to the index; returns the number appended. The
    // modified flag is set only when something was appended.
    qint32 DateiListeHinzuBeenden();

    // Whether the index or this batch holds the file already (whatever the
    // duplicate setting says); the second form for a caller that has looked
    // at the file already.
    bool SchonImIndex(const QString& strDatei);
    bool SchonImIndex(const QString& strDatei, const DateiKennung& kennung);

    // After a move replaced the file at `strDatei`: every entry (and batch
    // file) of that path gets the moved file's freshly read record, as an add
    // would read it. The number of entries renewed (the index is then marked
    // modified).
    qint32 ErsetzteEinträgeNeuLesen(const QString& strDatei);

    qint32 lngNeuAnzahl() const { return qint32(m_neuPfad.size()); }

private:
    Doppelprüfung& prüfung();
    // The record of a file as the batch reads it.
    MedienInfo NeuLesen(const QString& strDatei) const;

    Index& m_index;
    std::vector<QString> m_neuPfad;
    std::vector<MedienInfo> m_neuDaten;
    std::unique_ptr<Doppelprüfung> m_doppelt;
};

// Marks the index modified and refreshes the list.
void IndexGeändertAnzeigen(Index& index);

// The record of a file as an add reads it (the setting `Mp3TagLesen`), over
// `alt` for the fields not read.
MedienInfo WieBeimHinzufügenLesen(const Index& index, const QString& strDatei, const MedienInfo& alt);

// --- the ways of adding ------------------------------------------------------

// Whether an adding operation is running (a second one must not start while
// the first lets events run).
bool HinzufügenLäuft();

// Adds the managed files of a folder. With a copy-into folder each found file
// that is not indexed yet is first moved there (keeping the sub-folder
// structure below `strOrdner`); the copy-into folder itself is not scanned.
// False only when the user cancelled; true also after an invalid folder.
bool EinfachOrdnerHinzufügen(Index& index, QString& strOrdner, bool bolMeldung, int intUnterordner,
                             bool bolAktualisieren, const QString& strKopierenInOrdner, bool bolMarkieren,
                             bool bolFortschrittOffen);

// Adds a list of files. False when the user cancelled.
bool EinfachDateiHinzufügen(Index& index, const QStringList& strDateien, bool bolAktualisieren, bool bolMeldung,
                            bool bolMarkieren);

// Adds each file a playlist names (".m3u" lines, or the "FileN=" lines of a
// ".pls"); lines end in CR LF, CR or LF; UTF-8 or Windows-1252 text; relative
// lines ("\" or "/") are looked up beside the playlist, then from the root of
// its file system.
void PlaylistLesen(Index& index, const QString& strPlaylist, bool bolAktualisieren, bool bolMarkieren);

// Adds dropped paths: playlists, then folders, in the order dropped, then
// the remaining existing files; refreshes and marks what was added.
void DragDropVerarbeiten(Index& index, const QStringList& strPfade);

// --- for tests ---------------------------------------------------------------

// The least time between two progress reports (ms); 50 unless a test changes it.
void FortschrittTaktSetzen(int ms);
