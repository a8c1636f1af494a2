#include "platform/Schreibzugriff.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

bool g_ohneLease = false;

// A write lease is granted only while no one but this descriptor has the
// file open (a mapping keeps a file open too).
bool LeaseNehmen(int fd)
{
    if (g_ohneLease)
        return false;
    // Someone opening the file while the lease is held makes the kernel
    // signal us; SIGIO would end the program, SIGURG is ignored.
    return ::fcntl(fd, F_SETSIG, SIGURG) == 0 && ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0;
}

// Given back at once, the lease only answers the question.
bool NiemandSonstOffen(int fd)
{
    return AlleinigerZugriff(fd).Gehalten();
}

bool NurZiffern(const char* s)
{
    if (!*s)
        return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9')
            return false;
    return true;
}

// Whether descriptor `nummer` of process `pid` was opened for writing, from
// the "flags:" line (octal) of its fdinfo.
bool ZumSchreibenOffen(int proc, const char* pid, const char* nummer)
{
    char pfad[96];
    std::snprintf(pfad, sizeof pfad, "%s/fdinfo/%s", pid, nummer);
    const int fd = ::openat(proc, pfad, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char text[512];
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0)
        return false;
    text[n] = '\0';
    const char* flags = std::strstr(text, "flags:");
    if (!flags)
        return false;
    const long wert = std::strtol(flags + 6, nullptr, 8);
    return (wert & O_ACCMODE) == O_WRONLY || (wert & O_ACCMODE) == O_RDWR;
}

// Whether a line of a process's maps ("start-end perms offset major:minor
// inode path") is a shared writable mapping of the file.
bool SchreibendeAbbildung(const char* zeile, dev_t gerät, ino_t inode)
{
    const char* rechte = std::strchr(zeile, ' ');
    if (!rechte || std::strlen(rechte) < 5 || rechte[2] != 'w' || rechte[4] != 's')
        return false;
    unsigned haupt = 0, neben = 0;
    unsigned long long nummer = 0;
    return std::sscanf(rechte, " %*s %*s %x:%x %llu", &haupt, &neben, &nummer) == 3 && nummer == inode
        && haupt == major(gerät) && neben == minor(gerät);
}

// A program that writes through a shared mapping may have closed its
// descriptor long ago: its maps still name the file.
bool SchreibendAbgebildet(int proc, const char* pid, dev_t gerät, ino_t inode)
{
    char pfad[48];
    std::snprintf(pfad, sizeof pfad, "%s/maps", pid);
    const int fd = ::openat(proc, pfad, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char puffer[16384];
    size_t gefüllt = 0;
    bool gefunden = false;
    while (!gefunden) {
        const ssize_t n = ::read(fd, puffer + gefüllt, sizeof puffer - 1 - gefüllt);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        gefüllt += size_t(n);
        puffer[gefüllt] = '\0';
        char* anfang = puffer;
        for (char* ende; !gefunden && (ende = std::strchr(anfang, '\n')); anfang = ende + 1) {
            *ende = '\0';
            gefunden = SchreibendeAbbildung(anfang, gerät, inode);
        }
        // The unfinished last line moves to the front; one longer than the
        // buffer (a very long name) is dropped.
        gefüllt = anfang == puffer && gefüllt == sizeof puffer - 1 ? 0 : size_t(puffer + gefüllt - anfang);
        std::memmove(puffer, anfang, gefüllt);
    }
    ::close(fd);
    return gefunden;
}

// Looks through the open descriptors and the mappings of every process this
// one may look into (its user's, or all for root) but itself.
bool SchreiberUnterProzessen(dev_t gerät, ino_t inode)
{
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0)
        return false;
    DIR* prozesse = ::fdopendir(proc);
    if (!prozesse) {
        ::close(proc);
        return false;
    }
    char selbst[24];
    std::snprintf(selbst, sizeof selbst, "%d", int(::getpid()));
    const uid_t ich = ::geteuid();
    bool gefunden = false;
    while (!gefunden) {
        const dirent* p = ::readdir(prozesse);
        if (!p)
            break;
        if (!NurZiffern(p->d_name) || std::strcmp(p->d_name, selbst) == 0)
            continue;
        struct stat st;
        if (ich != 0 && (::fstatat(proc, p->d_name, &st, 0) != 0 || st.st_uid != ich))
            continue;
        char fdPfad[48];
        std::snprintf(fdPfad, sizeof fdPfad, "%s/fd", p->d_name);
        const int fds = ::openat(proc, fdPfad, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fds < 0)
            continue; // gone meanwhile, or not ours to look into
        DIR* liste = ::fdopendir(fds);
        if (!liste) {
            ::close(fds);
            continue;
        }
        while (const dirent* d = ::readdir(liste)) {
            // The entry leads to the open file itself, whatever its name now.
            if (d->d_name[0] == '.' || ::fstatat(fds, d->d_name, &st, 0) != 0 || st.st_ino != inode
                || st.st_dev != gerät)
                continue;
            if (ZumSchreibenOffen(proc, p->d_name, d->d_name)) {
                gefunden = true;
                break;
            }
        }
        ::closedir(liste);
        gefunden = gefunden || SchreibendAbgebildet(proc, p->d_name, gerät, inode);
    }
    ::closedir(prozesse);
    return gefunden;
}

} // namespace

void SchreibzugriffOhneLease(bool an) { g_ohneLease = an; }

AlleinigerZugriff::AlleinigerZugriff(int fd)
{
    if (fd >= 0 && LeaseNehmen(fd))
        m_fd = fd;
}

AlleinigerZugriff::~AlleinigerZugriff()
{
    if (m_fd >= 0)
        ::fcntl(m_fd, F_SETLEASE, F_UNLCK);
}

bool AndererProzessSchreibt(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (NiemandSonstOffen(fd))
        return false;
    return SchreiberUnterProzessen(st.st_dev, st.st_ino);
}
