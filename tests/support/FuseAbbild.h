#pragma once
// A FAT or exFAT file system in an image file of a temporary folder, mounted
// through FUSE (fusefat, exfat-fuse), so that tests meet these file systems
// without a kernel driver: names that ignore letter case, inode numbers that
// change once the kernel forgot a file. Always unmounted again (and its loop
// device let go) when the object dies. Where a tool, /dev/fuse or the right
// to mount is missing, `Bereit()` is false and `Grund()` says why.

#include <QString>
#include <QTemporaryDir>

namespace testhilfe {

class FuseAbbild {
public:
    enum class Art { Fat, ExFat };
    explicit FuseAbbild(Art art);
    ~FuseAbbild();
    FuseAbbild(const FuseAbbild&) = delete;
    FuseAbbild& operator=(const FuseAbbild&) = delete;

    bool Bereit() const { return m_eingehängt; }
    QString Grund() const { return m_grund; }
    // The mount point: the file system's root.
    QString Pfad() const { return m_punkt; }
    static const char* Name(Art art) { return art == Art::Fat ? "FAT" : "exFAT"; }

    // Makes the kernel forget unused inodes (as root); false where it may not.
    static bool InodesVergessen();

private:
    QTemporaryDir m_ordner;
    QString m_punkt;
    QString m_schleife; // the loop device exfat-fuse needs as root
    QString m_grund;
    bool m_eingehängt = false;
};

} // namespace testhilfe
