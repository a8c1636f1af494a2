#pragma once
// "Same file" means same device and inode: two paths may name one file
// (links, a folder reached through a symlink, a case-insensitive medium).

#include <QHashFunctions>
#include <QString>
#include <optional>

struct DateiKennung {
    quint64 gerät = 0;
    quint64 inode = 0;
    quint64 verweise = 0; // hard links to the inode
    bool ordner = false;
    qint64 größe = 0;

    bool GleicheDatei(const DateiKennung& b) const { return gerät == b.gerät && inode == b.inode; }
};

struct stat;

// The identity from what the file system told about a file.
DateiKennung DateiKennungAus(const struct stat& angaben);

// The identity of what `pfad` names (symlinks followed); nothing when it
// does not exist or cannot be reached.
std::optional<DateiKennung> DateiKennungLesen(const QString& pfad);

// Whether both paths name one existing file or folder.
bool GleicheDatei(const QString& a, const QString& b);

// Key for sets of identities.
struct DateiSchlüssel {
    quint64 gerät = 0;
    quint64 inode = 0;
    explicit DateiSchlüssel(const DateiKennung& k) : gerät(k.gerät), inode(k.inode) {}
    bool operator==(const DateiSchlüssel&) const = default;
};
inline size_t qHash(const DateiSchlüssel& k, size_t seed = 0) { return qHashMulti(seed, k.gerät, k.inode); }
