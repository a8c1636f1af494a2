#pragma once
// AutoDJ's proposal: out of the entries of the chosen genres, those played
// at least as often as the average, not played too recently, shuffled, the
// recently much-played moved back and the long-unplayed favourites forward.
// Random numbers and the current time are handed in, so that a run can be
// repeated.

#include "core/Index.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

struct AutoDJKriterien {
    // Genre names (case ignored); "" stands for files without a genre.
    QStringList genres;
    // Leave out files played within this many units; none when empty.
    std::optional<qint64> auslassen;
    // The unit: 0 minutes, 1 hours, anything else days.
    int zeiteinheit = 2;
    bool alteSeltener = false;
    bool sehrAlteHäufiger = false;
    // Rows wanted; at least one row is listed when there is any candidate.
    double maximum = 10;
};

struct AutoDJVorschlag {
    // False when no entry of the chosen genres has been played.
    bool datenVorhanden = false;
    qint64 gezählt = 0;
    qint64 summe = 0;
    qint64 durchschnitt = 0;
    std::vector<qint32> einträge; // the rows, in order
    QStringList texte;            // "artist - title" of each row
};

// A uniform random number in [0, 1).
using Zufallszahl = std::function<double()>;

AutoDJVorschlag AutoDJErstellen(const Index& idx, const AutoDJKriterien& k, const Zufallszahl& zufall,
                                const QDateTime& jetzt);

// The list item that stands for files without a genre.
QString OhneGenreEintrag();

// The message when no play counts are there; its last sentence depends on
// whether play statistics are kept.
QString AutoDJKeineDatenText(bool statistikAn);

// A number as the input fields take it ("12", " 3 ", "2,5", "1e3"); empty
// when the text is none.
std::optional<double> AutoDJZahl(const QString& text);

// Calendar boundaries between two times: minutes ("n"), hours ("h"),
// days ("d") or months ("m"), counted on the wall clock.
qint64 GrenzenZählen(QChar einheit, const QDateTime& von, const QDateTime& bis);
