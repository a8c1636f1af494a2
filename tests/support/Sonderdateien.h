#pragma once
// Files that are no regular files, for the tests of every place that opens a
// user's file: a FIFO that notices whoever opens it for reading (and frees
// them, so that a faulty open fails the test instead of hanging it), and a
// socket.

#include <QString>
#include <atomic>
#include <thread>

class FifoWächter {
public:
    // Makes the FIFO at `pfad`.
    explicit FifoWächter(const QString& pfad);
    ~FifoWächter();
    FifoWächter(const FifoWächter&) = delete;
    FifoWächter& operator=(const FifoWächter&) = delete;

    bool Angelegt() const { return m_angelegt; }
    // Whether anybody opened the FIFO for reading (and would have blocked).
    bool Geöffnet() const { return m_geöffnet; }

private:
    QString m_pfad;
    bool m_angelegt = false;
    std::atomic<bool> m_geöffnet{false};
    std::atomic<bool> m_ende{false};
    std::thread m_faden;
};

// Makes a listening UNIX socket at `pfad`; its descriptor (closed by the
// caller), or -1.
int SocketAnlegen(const QString& pfad);
