#pragma once
// The folded text of the standard search per entry, kept between searches.
// Each cached text remembers the very texts it was made from (shared, so
// they stay alive): any change of those texts in the index replaces them,
// and the entry is folded again on its next use. Nobody has to report a change.
// The folded texts lie in one buffer as UTF-8, so that a search walks little
// memory and building them allocates little.

#include "core/Index.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Appends `text` folded for comparing without regard to case, as UTF-8.
void GefaltetAnhängen(std::string& ziel, QStringView text);
std::string Gefaltet(QStringView text);

class SuchCache {
public:
    // The folded standard search text of entry i (1..count). Valid until the
    // next call.
    std::string_view StandardText(const Index& idx, qint32 i);
    // After the index arrays were reordered: entry von + k now holds what
    // was entry alt[k].
    void Permutieren(qint32 von, const std::vector<qint32>& alt);
    void Leeren();
    // Folds every entry afresh, the work spread over the processor's cores
    // (after a load, so that the first search is as quick as the next). The
    // helpers only read the index and write their own entries; this returns
    // when they are done, so nothing else runs meanwhile.
    void AllesFalten(const Index& idx);
    // How many entries hold a folded text.
    qint32 GefalteteAnzahl() const;

private:
    struct Eintrag {
        std::array<QString, 6> quelle;
        size_t anfang = 0;
        size_t länge = 0;
        bool gültig = false;
    };
    // Folds entry i of idx into e, its text appended to `text`.
    static void Falten(Eintrag& e, const Index& idx, qint32 i, std::string& text);
    void Verdichten();

    std::vector<Eintrag> m_e;
    std::string m_text;
    std::string m_ersatz; // the other buffer for Verdichten, kept with its memory
    size_t m_müll = 0;    // bytes of texts no entry uses any more
};

// The cache for `idx` (one index at a time; another index starts afresh).
SuchCache& suchCache(const Index& idx);
