#pragma once
// Work split into pieces that run at once, each in a thread of its own.

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

// How many threads large work takes: one per processor, at most `höchstens`.
inline int ParallelTeile(int höchstens)
{
    return std::clamp(int(std::thread::hardware_concurrency()), 1, std::max(höchstens, 1));
}

// Runs aufgabe(0) .. aufgabe(teile - 1) at once and returns when all have
// ended. Piece 0 runs in the calling thread, and so does a piece whose thread
// cannot be started. What a piece throws is thrown here (the first of them).
template <typename F>
void ParallelAusführen(int teile, F&& aufgabe)
{
    if (teile < 1)
        return;
    std::vector<std::exception_ptr> fehler(static_cast<size_t>(teile));
    auto sicher = [&](int t) {
        try {
            aufgabe(t);
        } catch (...) {
            fehler[size_t(t)] = std::current_exception();
        }
    };
    std::vector<int> selbst{0};
    {
        std::vector<std::jthread> helfer;
        helfer.reserve(static_cast<size_t>(teile));
        for (int t = 1; t < teile; ++t) {
            try {
                helfer.emplace_back(sicher, t);
            } catch (const std::system_error&) {
                selbst.push_back(t);
            }
        }
        for (int t : selbst)
            sicher(t);
    }
    for (const std::exception_ptr& f : fehler)
        if (f)
            std::rethrow_exception(f);
}

// Runs aufgabe(0) .. aufgabe(stücke - 1) on up to `teile` threads, each
// taking the next piece when it is done with one, so that a thread the
// system holds back delays no more than the piece it has.
template <typename F>
void ParallelStückweise(int teile, int stücke, F&& aufgabe)
{
    std::atomic<int> nächstes{0};
    ParallelAusführen(std::min(teile, stücke), [&](int) {
        for (int k; (k = nächstes.fetch_add(1)) < stücke;)
            aufgabe(k);
    });
}
