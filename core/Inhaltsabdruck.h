#pragma once
// A fingerprint of a file's bytes, the same however they are handed in: some
// file systems (FAT, exFAT, FUSE) give an unchanged file another inode
// number once the kernel forgot it, so where only that number differs the
// bytes decide whether it is still the file as read.

#include <QtGlobal>

#include <array>
#include <string>
#include <utility>
#include <vector>

struct DateiStand;

// Byte ranges of a file: start and length.
using Dateibereiche = std::vector<std::pair<qint64, qint64>>;

// Whether the bytes decide if `jetzt` is still the file `bekannt` was: its
// inode number differs while device and size are the same. FAT, exFAT and
// FUSE number a file anew once the kernel forgot it, and fusefat gives a
// renamed file the rename's time; a file replaced by the same bytes loses
// nothing either.
bool BytesEntscheiden(const DateiStand& jetzt, const DateiStand& bekannt);

class Inhaltsabdruck {
public:
    // Bytes are taken in blocks of this many; pieces of whole blocks are
    // taken without a copy.
    static constexpr qint64 kBlock = 64 * 1024;

    void Hinzufügen(const char* daten, qint64 länge);
    // The fingerprint of everything handed in; the object is used up.
    std::array<quint64, 2> Ergebnis();

    // The fingerprint of what the open file `fd` holds from its start; empty
    // (both zero) when it cannot be read.
    static std::array<quint64, 2> VonDatei(int fd);
    // The fingerprint of the ranges of the open file `fd`, handed in one
    // after the other; empty when one cannot be read whole.
    static std::array<quint64, 2> VonBereichen(int fd, const Dateibereiche& bereiche);

private:
    void block(const char* daten);
    std::string m_rest;
    quint64 m_a = 0x6b616c7665726f31ULL;
    quint64 m_b = 0x9e3779b97f4a7c15ULL;
    qint64 m_länge = 0;
};
