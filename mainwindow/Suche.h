#pragma once
// The search over the index: the query store and the engine that narrows
// the hit flags query by query and word by word.

#include "core/Index.h"

#include <QString>
#include <QStringList>
#include <vector>

// The queries of the current search: parallel 1-based arrays (element 0
// unused, always at least one element), `lngSuchbegriffeAnzahl` of them valid.
// Option code: character 1 "0" must contain, "1" must not contain;
// character 2 "0" AND, "1" OR.
struct Suchbegriffe {
    qint32 lngSuchbegriffeAnzahl = 0;
    std::vector<QString> strSuchbegriffeFeld{2};
    std::vector<QString> strSuchbegriffeText{2};
    std::vector<QString> strSuchbegriffeOptionen{2};
};

// Count 0, each array one element.
bool SuchbegriffeZurücksetzen(Suchbegriffe& s);
// Appends a query (note: text before field).
bool SuchbegriffeHinzufügen(Suchbegriffe& s, const QString& text, const QString& feld, const QString& option);
// Replaces query n; false (nothing changed) when n names no query.
bool SuchbegriffeÄndern(Suchbegriffe& s, qint32 n, const QString& text, const QString& feld, const QString& option);
// Removes query n; false (nothing changed) when n names no query.
bool SuchbegriffeLöschen(Suchbegriffe& s, qint32 n);

// Narrows `intSuchErgebnis` of `idx` (1 hit, 2 exact hit, 0 none) by every
// query; `von`/`bis` are the first and last hit (von -1 = from the start) and
// come back as the range still holding hits (0 when none is left).
bool IndexSucheDurchführen(Index& idx, const Suchbegriffe& s, qint32& von, qint32& bis);

// Sets every hit flag to 1 and the range to the whole index: the state a
// search starts from.
void SuchErgebnisseZurücksetzen(Index& idx, qint32& von, qint32& bis);

// The distinct display values (first spelling wins, case ignored) of one or
// two fields, sorted alphabetically ignoring case: the value list of a search
// box. Empty for "(Standardsuche)", an empty field or an empty index.
QStringList FeldWerteSammeln(const Index& idx, const QString& feld, const QString& feld2 = QString());

// The first item of a list sorted by FeldWerteSammeln that begins with
// `text` (case ignored); -1 when none does.
qsizetype AutoCompleteTreffer(const QStringList& sortierteWerte, const QString& text);

// The comparison the value lists are sorted by.
bool WerteVergleich(const QString& a, const QString& b);
