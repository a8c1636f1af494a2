#pragma once
// The folded text of the standard search per entry, kept between searches.
// Each cached text remembers the very texts it was made from (shared, so
// they stay alive): any change of those texts in the index replaces them,
// and the entry is folded again on its next use. Nobody has to report a change.

#include "core/Index.h"

#include <array>
#include <vector>

class SuchCache {
public:
    // The standard search text of entry i (1..count), folded for comparing
    // without regard to case.
    const QString& StandardText(const Index& idx, qint32 i);
    // After the index arrays were reordered: element k now holds what was at
    // alt[k] (1-based, alt[0] unused).
    void Permutieren(const std::vector<qint32>& alt);
    void Leeren() { m_e.clear(); }

private:
    struct Eintrag {
        std::array<QString, 6> quelle;
        QString gefaltet;
        bool gültig = false;
    };
    std::vector<Eintrag> m_e;
};

// The cache for `idx` (one index at a time; another index starts afresh).
SuchCache& suchCache(const Index& idx);
