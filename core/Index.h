#pragma once
// The in-memory index: parallel arrays indexed by entry number from 1
// (element 0 is unused), the count, the modified flag and the index options
// that travel in the index file.

#include "core/MedienInfo.h"
#include "core/SichereDatei.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <array>
#include <vector>

struct Index {
    std::vector<QString> strIndexPfad{1};
    std::vector<MedienInfo> IndexDaten{1};
    std::vector<qint16> intSuchErgebnis{1}; // 0 no hit, 1 hit, 2 exact hit
    qint32 lngIndexAnzahl = 0;
    bool bolIndexGeändert = false;
    QDateTime datLetzteSpeicherung;

    // False while no index file is loaded (a load was declined or failed):
    // then nothing may ever be saved over `Dateiname`.
    bool bolIndexGeladen = false;
    // The index file as this index loaded or last saved it: a save replaces
    // it only while it is still that file, or when the user lets it go.
    QString strBekannteDatei;
    DateiStand BekannterStand;
    // Its bytes' fingerprint, for a file system that renumbers inodes.
    std::array<quint64, 2> BekannterInhalt{};

    // Set by a load that took its file for the old format (or damaged): that
    // file's name, and per entry whether it was read from it (the mark goes
    // with the entry through sorting, renames, moves and edits of its path).
    // A save over that file is refused while no entry is marked.
    QString strUmgewandelteDatei;
    std::vector<bool> bolAusUmgewandelterDatei{false};

    // Index options (0-based lists here; the file numbers them from 1).
    QStringList strDateiTypen;          // "mp3=1"
    QStringList strDateiTypArten;       // "110": MPEG audio, audio, picture
    int intDateiTypenLeer = 1;
    QStringList strSyncOrdner;
    QList<int> intSyncUnterordner;
    QStringList strSyncKopierenInOrdner;
    int intSyncLeer = 1;
    int intSyncDanachEntfernen = 1;
    QString strSpalten = QStringLiteral("0");
    QString strSpaltenNutzerformat = QStringLiteral("%Interpret% - %Titel%");
    int intSpaltenLeiste = 1;
    int intSpaltenGitter = 0;

    // Capacity = upper bound of the arrays (entries 1..capacity exist).
    qint32 Kapazität() const { return qint32(strIndexPfad.size()) - 1; }

    // Sets the bounds of the per-entry arrays to 1..anzahl; keeps the contents up
    // to the new bound when `behalten`, else every element becomes fresh.
    // Does not change lngIndexAnzahl.
    void IndexDatenDimensionieren(qint32 anzahl, bool behalten);

    // Whether `eintrag` names a valid entry now (the list can be stale while
    // events run, so readers of rows check).
    bool GültigerEintrag(qint64 eintrag) const { return eintrag >= 1 && eintrag <= lngIndexAnzahl; }

    // Appends an entry at lngIndexAnzahl + 1, growing the capacity as needed;
    // returns its number.
    qint32 EintragAnhängen(const QString& pfad, const MedienInfo& info, qint16 suchErgebnis = 1);

    // Removes the given entries (numbers <= 0 or out of range ignored),
    // keeping the order of the others. Returns the number removed.
    qint32 EinträgeEntfernen(std::vector<qint32> einträge);
};

// The program's own index (the one the main window shows).
Index& hauptIndex();
