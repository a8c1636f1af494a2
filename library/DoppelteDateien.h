#pragma once
// The duplicate and problem finder: searches a list of entries for pairs
// that agree in one respect (name, path, ID3v1 or ID3v2 artist and title,
// size) or for single entries that lack something (file, ID3v1, ID3v2 tag).

#include "core/Index.h"

#include <QString>
#include <QStringList>
#include <vector>

class QObject;

// The methods, numbered as the choice box lists them.
enum Suchmethode : int {
    SucheDateiname = 0,
    SuchePfad = 1,
    SucheID3v1Felder = 2,
    SucheID3v2Felder = 3,
    SucheGröße = 4,
    SucheNichtVorhanden = 5,
    SucheOhneID3v1 = 6,
    SucheOhneID3v1NeuLesen = 7,
    SucheOhneID3v2 = 8,
    SucheOhneID3v2NeuLesen = 9,
};

// The captions of the ten methods, in their order.
QStringList SuchmethodenNamen();

// Whether a method finds pairs (0 to 4); the others find single entries.
bool PaarMethode(int intMethode);

// What one search leaves behind for the clean-up window. Findings count
// from 1 (element 0 unused); row r of the result list is finding r.
struct DoppelteErgebnis {
    std::vector<qint32> DoppelteEintrag1{0};
    // -1 for a single-entry finding.
    std::vector<qint32> DoppelteEintrag2{0};
    // The action chosen per entry number (0 none, 1 delete, 2 trash,
    // 3 remove from the index, 4 replace by an empty file).
    std::vector<qint32> DoppelteAktion{0};
    // The method of the last search (-1: none).
    qint32 lngSuchmethode = -1;
    // One line per finding.
    QStringList zeilen;

    qint32 Anzahl() const { return qint32(DoppelteEintrag1.size()) - 1; }
};

// Searches `einträge` (entry numbers in list order; numbers that name no
// entry are left out) by `intMethode` into `z`, which it empties first (all
// chosen actions are forgotten). A method outside 0..9 finds nothing and
// shows no progress. The progress display runs over `lngFortschrittZiel`
// steps under `besitzer`, one step per entry; a cancel, or an abort at the
// question for an absent medium, ends the search and keeps the findings so
// far. Methods 7 and 9 read the entries' tags again into the index (without
// marking it modified). False when the search was ended early.
//
// Each entry is paired at most once as the first entry, with the first later
// entry that agrees with it: A, B, C alike give (A, B) and (B, C).
// Method 5 finds missing files only; files that could not be checked are
// named in one message at the end.
bool DoppelteDateienSuchen(Index& index, const std::vector<qint32>& einträge, int intMethode,
                           qint32 lngFortschrittZiel, QObject* besitzer, DoppelteErgebnis& z);

// What the two entries of a pair have in common, as the detail pane shows
// it for the method of the search.
QString GleicheDatenText(const Index& index, int intMethode, qint32 lngEintrag);

// The key by which texts are compared: two texts have the same key exactly
// when TextGleich calls them equal.
QString TextSchlüssel(const QString& text);
