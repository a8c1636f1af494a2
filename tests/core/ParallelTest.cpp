#include "core/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

// Every piece runs once, piece 0 in the calling thread; what a piece throws
// reaches the caller once all pieces have ended.
TEST(Parallel, JedesStückEinmalUndFehlerBeimAufrufer)
{
    for (const int teile : {0, 1, 3, 8}) {
        std::vector<std::atomic<int>> gelaufen(8);
        std::thread::id erstes;
        ParallelAusführen(teile, [&](int t) {
            if (t == 0)
                erstes = std::this_thread::get_id();
            ++gelaufen[size_t(t)];
        });
        for (int t = 0; t < 8; ++t)
            EXPECT_EQ(gelaufen[size_t(t)], t < teile ? 1 : 0) << teile << " " << t;
        if (teile > 0)
            EXPECT_EQ(erstes, std::this_thread::get_id());
    }

    std::atomic<int> fertig{0};
    EXPECT_THROW(ParallelAusführen(4,
                                   [&](int t) {
                                       if (t == 2)
                                           throw std::runtime_error("Stück 2");
                                       ++fertig;
                                   }),
                 std::runtime_error);
    EXPECT_EQ(fertig, 3);

    // Pieces taken one after the other by fewer threads: each exactly once.
    for (const auto& [teile, stücke] : {std::pair{1, 5}, std::pair{3, 40}, std::pair{8, 3}, std::pair{4, 0}}) {
        std::vector<std::atomic<int>> gelaufen(static_cast<size_t>(stücke));
        ParallelStückweise(teile, stücke, [&](int k) { ++gelaufen[size_t(k)]; });
        for (int k = 0; k < stücke; ++k)
            EXPECT_EQ(gelaufen[size_t(k)], 1) << teile << " " << stücke << " " << k;
    }
}
