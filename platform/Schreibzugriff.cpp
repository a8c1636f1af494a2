#include "platform/Schreibzugriff.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool g_ohneLease = false;

// A write lease is granted only while no one but this descriptor has the
// file open; it is given back at once, so it only answers the question.
bool NiemandSonstOffen(int fd)
{
    if (g_ohneLease)
        return false;
    // Someone opening the file in the instant the lease is held makes the
    // kernel signal us; SIGIO would end the program, SIGURG is ignored.
    if (::fcntl(fd, F_SETSIG, SIGURG) != 0 || ::fcntl(fd, F_SETLEASE, F_WRLCK) != 0)
        return false;
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    return true;
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

// Looks through the open descriptors of every process this one may look
// into (its user's, or all for root) but itself.
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
    }
    ::closedir(prozesse);
    return gefunden;
}

} // namespace

void SchreibzugriffOhneLease(bool an) { g_ohneLease = an; }

bool AndererProzessSchreibt(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (NiemandSonstOffen(fd))
        return false;
    return SchreiberUnterProzessen(st.st_dev, st.st_ino);
}
