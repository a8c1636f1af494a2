#pragma once
// "Same file" means same device and inode (two paths may name one file:
// links, a folder reached through a symlink), or, on a file system that
// ignores letter case, the one directory entry that both names find (each
// spelling may get an inode number of its own there).

#include <QHashFunctions>
#include <QString>
#include <QStringList>
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

// The names in `ordner` equal to `name` apart from letter case.
QStringList NamenOhneSchreibweise(const QString& ordner, const QString& name);

// Whether `a` and `b` name the one directory entry, spelled in other letter
// case (or spelled alike): a file system that ignores case (FAT, exFAT)
// finds the entry under both names, yet may give each name an inode number
// of its own. So: the same folder, names equal apart from case, both found
// as the same kind of file, and one entry of that name in the folder,
// whatever its case.
bool GleicherEintrag(const QString& a, const QString& b);

// Whether the file system of the existing `pfad` (on device `gerät`) ignores
// letter case. Asked of each device once (the path's name looked up in
// other letter case), then remembered.
bool SchreibweiseEgal(const QString& pfad, quint64 gerät);

// The existing `pfad` (absolute, on device `gerät`) with each name that lies
// on that device spelled as its folder spells it; for a file system that
// ignores case, where a path spelled otherwise finds the file as well.
QString WieGeschrieben(const QString& pfad, quint64 gerät);

// Key for sets of identities.
struct DateiSchlüssel {
    quint64 gerät = 0;
    quint64 inode = 0;
    explicit DateiSchlüssel(const DateiKennung& k) : gerät(k.gerät), inode(k.inode) {}
    bool operator==(const DateiSchlüssel&) const = default;
};
inline size_t qHash(const DateiSchlüssel& k, size_t seed = 0) { return qHashMulti(seed, k.gerät, k.inode); }
