#pragma once
// Reordering parallel arrays in place: place von + k receives what was at
// alt[k] (alt holds each place of von..von + n - 1 once). Every element moves
// once, cycle by cycle; no second copy of the arrays is made.

#include <QtGlobal>
#include <cstddef>
#include <vector>

// bewegen(ziel, quelle) moves one element; nehmen(stelle) takes one out
// (the start of a cycle) and ablegen(ziel, wert) puts it back at the end.
template <typename Bewegen, typename Nehmen, typename Ablegen>
void ZyklischAnwenden(const std::vector<qint32>& alt, qint32 von, Bewegen bewegen, Nehmen nehmen, Ablegen ablegen)
{
    const size_t n = alt.size();
    std::vector<bool> fertig(n, false);
    for (size_t s = 0; s < n; ++s) {
        if (fertig[s])
            continue;
        fertig[s] = true;
        const size_t start = size_t(von) + s;
        if (size_t(alt[s]) == start)
            continue;
        auto gemerkt = nehmen(start);
        size_t k = s;
        for (;;) {
            const size_t ziel = size_t(von) + k;
            const size_t quelle = size_t(alt[k]);
            if (quelle == start) {
                ablegen(ziel, std::move(gemerkt));
                break;
            }
            bewegen(ziel, quelle);
            k = quelle - size_t(von);
            fertig[k] = true;
        }
    }
}
