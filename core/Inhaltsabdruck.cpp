#include "core/Inhaltsabdruck.h"

#include "core/SichereDatei.h"

#include <QByteArrayView>
#include <QHashFunctions>

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>


void Inhaltsabdruck::block(const char* daten)
{
    // Two chains of Qt's byte hash (AES-accelerated where the CPU has it).
    const QByteArrayView v(daten, qsizetype(kBlock));
    m_a = quint64(qHash(v, size_t(m_a)));
    m_b = quint64(qHash(v, size_t(m_b ^ 0x5bd1e995ULL))) * 0xff51afd7ed558ccdULL;
}

void Inhaltsabdruck::Hinzufügen(const char* daten, qint64 länge)
{
    if (länge <= 0)
        return;
    m_länge += länge;
    if (!m_rest.empty()) {
        const qint64 n = std::min<qint64>(länge, kBlock - qint64(m_rest.size()));
        m_rest.append(daten, size_t(n));
        daten += n;
        länge -= n;
        if (qint64(m_rest.size()) < kBlock)
            return;
        block(m_rest.data());
        m_rest.clear();
    }
    for (; länge >= kBlock; daten += kBlock, länge -= kBlock)
        block(daten);
    m_rest.assign(daten, size_t(länge));
}

std::array<quint64, 2> Inhaltsabdruck::Ergebnis()
{
    const QByteArrayView rest(m_rest.data(), qsizetype(m_rest.size()));
    const quint64 a = quint64(qHash(rest, size_t(m_a))) ^ quint64(m_länge);
    const quint64 b = quint64(qHash(rest, size_t(m_b))) + quint64(m_länge) * 0xc4ceb9fe1a85ec53ULL;
    m_rest.clear();
    return {a | 1, b}; // never both zero
}

std::array<quint64, 2> Inhaltsabdruck::VonDatei(int fd)
{
    Inhaltsabdruck abdruck;
    std::vector<char> puffer(size_t(16 * kBlock));
    for (off_t pos = 0;;) {
        const ssize_t n = ::pread(fd, puffer.data(), puffer.size(), pos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {};
        if (n == 0)
            break;
        abdruck.Hinzufügen(puffer.data(), n);
        pos += n;
    }
    return abdruck.Ergebnis();
}

std::array<quint64, 2> Inhaltsabdruck::VonBereichen(int fd, const Dateibereiche& bereiche)
{
    Inhaltsabdruck abdruck;
    std::vector<char> puffer;
    for (const auto& [start, länge] : bereiche) {
        puffer.resize(size_t(std::max<qint64>(länge, 0)));
        for (qint64 gelesen = 0; gelesen < länge;) {
            const ssize_t n = ::pread(fd, puffer.data() + gelesen, size_t(länge - gelesen), off_t(start + gelesen));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return {};
            gelesen += n;
        }
        abdruck.Hinzufügen(puffer.data(), länge);
    }
    return abdruck.Ergebnis();
}

bool BytesEntscheiden(const DateiStand& jetzt, const DateiStand& bekannt)
{
    return jetzt.inode != bekannt.inode && jetzt.gerät == bekannt.gerät && jetzt.größe == bekannt.größe;
}
