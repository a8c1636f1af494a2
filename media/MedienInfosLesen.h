#pragma once
// Reading what a media file tells about itself into its index record.

#include "core/Index.h"
#include "core/Inhaltsabdruck.h"
#include "core/MedienInfo.h"
#include "core/SichereDatei.h"

#include <QString>
#include <cerrno>
#include <functional>

// How the reading of a record went, for a writer that takes the record as
// the file's content: `fehler` is the errno of the first step that failed
// (the open, a read, a short read, a length or time that changed while it
// was read; ENOENT for a missing file), 0 when every step succeeded;
// `stand` is the file as the open that read it saw it; `bereiche` the byte
// ranges the reading used and `inhalt` their fingerprint.
struct MedienLesung {
    int fehler = ENOENT;
    DateiStand stand;
    Dateibereiche bereiche;
    std::array<quint64, 2> inhalt{};
    bool Vollständig() const { return fehler == 0; }
    // Whether the file, now as `jetzt` (open at `fd`, or at `pfad`), is the
    // one that was read: the same state, or, where it differs in its inode
    // number alone (FAT, exFAT and FUSE number an unchanged file anew once
    // the kernel forgot it), the same bytes in the ranges the reading used.
    // Only then are they read again.
    bool WieGelesen(const DateiStand& jetzt, int fd) const;
    bool WieGelesen(const DateiStand& jetzt, const QString& pfad) const;
};

// Builds the record of `strDatei`, starting from a copy of `udtAlt`.
// strTAGsLesen: two flag characters (ID3v1, ID3v2); strHeaderLesen and
// strDateiInfosLesen: "1" or "0". The managed types of `index` decide
// `Datei_Typ`. Fields not read keep the values of `udtAlt`; failing steps are
// passed over, the call reports no failure. A missing or unreadable file
// keeps its tag and header fields (a missing one gets size -1). `lesung`
// tells whether a step failed.
MedienInfo MedienInfosLesen(const Index& index, const QString& strDatei, const MedienInfo& udtAlt,
                            const QString& strTAGsLesen, bool bolZeilenumbrücheBehalten,
                            const QString& strHeaderLesen, const QString& strDateiInfosLesen,
                            MedienLesung* lesung = nullptr);

// The index loader's re-read of an incomplete entry (EintragLeserDienst):
// the given tags, and the header and file information by `strHeaderLesen`.
MedienInfo MedienInfosNachlesen(const Index& index, const QString& strDatei, const MedienInfo& udtAlt,
                                const QString& strTAGsLesen, const QString& strHeaderLesen);

// Tests: a function run when a reading for a writer has read every step,
// right before it looks whether the file is still as it was opened (empty:
// none).
void MedienInfosLesenTestHaken(std::function<void()> haken);
