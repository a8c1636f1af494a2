#pragma once
// A fingerprint of a file's bytes, the same however they are handed in: some
// file systems (FAT, exFAT, FUSE) give an unchanged file another inode
// number once the kernel forgot it, so where only that number differs the
// bytes decide whether it is still the file as read.

#include <QtGlobal>

#include <array>
#include <string>

class Inhaltsabdruck {
public:
    void Hinzufügen(const char* daten, qint64 länge);
    // The fingerprint of everything handed in; the object is used up.
    std::array<quint64, 2> Ergebnis();

    // The fingerprint of what the open file `fd` holds from its start; empty
    // (both zero) when it cannot be read.
    static std::array<quint64, 2> VonDatei(int fd);

private:
    void block(const char* daten);
    std::string m_rest;
    quint64 m_a = 0x6b616c7665726f31ULL;
    quint64 m_b = 0x9e3779b97f4a7c15ULL;
    qint64 m_länge = 0;
};
