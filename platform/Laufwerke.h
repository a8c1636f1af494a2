#pragma once
// Drives on Linux: which mounted file system holds a path, whether it is a
// medium that can go away (removable, optical, remote) and its label. A path
// under /media/, /run/media/ or /mnt/ whose medium is not mounted belongs to
// an absent removable medium.

#include <QString>
#include <functional>
#include <sys/types.h>

namespace Laufwerke {

struct Medium {
    QString wurzel;         // mount point, or where the absent medium would be mounted
    QString name;           // volume label ("" when it has none)
    bool wechsel = false;   // removable, optical or remote
    bool eingehängt = true;
};

// The medium that holds `pfad` (an absolute path; the file need not exist),
// judged after the links of the path's longest existing part are followed.
// A relative or foreign path (a stored Windows path) gives an empty root,
// not removable.
Medium MediumZurückgeben(const QString& pfad);

// The same for an existing file whose device number is known (fast: one
// lookup while the mount table stays unchanged).
Medium MediumVonGerät(dev_t gerät, const QString& pfad);

// --- parts, open for tests ---------------------------------------------------
// A mount point of /proc/self/mountinfo with its octal escapes undone.
QString MountpunktEntschlüsseln(const QByteArray& feld);
// File system types of media that can go away.
bool IstOptischOderEntfernt(const QString& dateisystem);
// Where an absent medium of a path under /media/, /run/media/ or /mnt/
// would be mounted (the mount point's folder); "" for other paths. A folder
// /media/<name> is a user's when `istKonto(name)`.
bool KontoVorhanden(const QString& name);
QString WechselWurzelNachRegel(const QString& pfad,
                               const std::function<bool(const QString&)>& istKonto = KontoVorhanden);
// The kernel's removable flag of a block device ("/dev/sdb1" or a link to
// it), looked up below `sysBlock` (normally /sys/class/block); the parent
// device answers for a partition.
bool BlockGerätWechselbar(const QString& gerät, const QString& sysBlock);

} // namespace Laufwerke
