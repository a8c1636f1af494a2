#include "platform/Schreibzugriff.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <climits>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/fanotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <unordered_map>
#include <tuple>
#include <utility>
#include <vector>

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
// inode path") is a shared writable mapping of a file; which one.
bool SchreibendeAbbildung(const char* zeile, dev_t& gerät, ino_t& inode)
{
    const char* rechte = std::strchr(zeile, ' ');
    if (!rechte || std::strlen(rechte) < 5 || rechte[2] != 'w' || rechte[4] != 's')
        return false;
    unsigned haupt = 0, neben = 0;
    unsigned long long nummer = 0;
    if (std::sscanf(rechte, " %*s %*s %x:%x %llu", &haupt, &neben, &nummer) != 3 || nummer == 0)
        return false;
    gerät = makedev(haupt, neben);
    inode = ino_t(nummer);
    return true;
}

// What one process writes: the files (device, inode) it holds open for
// writing or maps shared and writable, as of the moment its CPU time was
// `rechenzeit`. A process that has not run since cannot have opened,
// closed or mapped anything, so its list still holds.
struct Prozess {
    ino_t procInode = 0; // its /proc entry: a new process under an old number has another
    long long rechenzeit = -1;
    std::vector<std::pair<dev_t, ino_t>> schreibt;
};

struct Prozesse {
    uid_t ich = uid_t(-1);
    long long letztePid = -1;
    std::unordered_map<pid_t, Prozess> liste;
};

// The CPU time of all threads of process `pid` together, in nanoseconds;
// -1 when it is gone.
long long Rechenzeit(pid_t pid)
{
    // The clock of another process, as clock_getcpuclockid makes it.
    const clockid_t uhr = clockid_t((~unsigned(pid) << 3) | 2);
    timespec t;
    if (::clock_gettime(uhr, &t) != 0)
        return -1;
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

// The number the system gave the newest process or thread of this pid
// namespace (which holds every process this one can see): as long as it
// stays, no process came. -1 where it cannot be read.
long long LetztePid()
{
    static const int fd = ::open("/proc/sys/kernel/ns_last_pid", O_RDONLY | O_CLOEXEC);
    char text[32];
    const ssize_t n = fd < 0 ? -1 : ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0)
        return -1;
    text[n] = '\0';
    return std::atoll(text);
}

// The writable shared mappings of a process's maps.
void SchreibendeAbbildungen(int proc, const char* pid, std::vector<std::pair<dev_t, ino_t>>& schreibt)
{
    char pfad[48];
    std::snprintf(pfad, sizeof pfad, "%s/maps", pid);
    const int fd = ::openat(proc, pfad, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    char puffer[16384];
    size_t gefüllt = 0;
    for (;;) {
        const ssize_t n = ::read(fd, puffer + gefüllt, sizeof puffer - 1 - gefüllt);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        gefüllt += size_t(n);
        puffer[gefüllt] = '\0';
        char* anfang = puffer;
        for (char* ende; (ende = std::strchr(anfang, '\n')); anfang = ende + 1) {
            *ende = '\0';
            dev_t gerät = 0;
            ino_t inode = 0;
            if (SchreibendeAbbildung(anfang, gerät, inode))
                schreibt.emplace_back(gerät, inode);
        }
        // The unfinished last line moves to the front; one longer than the
        // buffer (a very long name) is dropped.
        gefüllt = anfang == puffer && gefüllt == sizeof puffer - 1 ? 0 : size_t(puffer + gefüllt - anfang);
        std::memmove(puffer, anfang, gefüllt);
    }
    ::close(fd);
}

// Reads what process `pid` writes: its descriptors opened for writing and
// its writable shared mappings (a program writing through a mapping may
// have closed its descriptor long ago). Nothing for a process this one may
// not look into (another user's, unless root).
void ProzessLesen(int proc, const char* pid, uid_t ich, Prozess& p)
{
    p.schreibt.clear();
    struct stat st;
    if (ich != 0 && (::fstatat(proc, pid, &st, 0) != 0 || st.st_uid != ich))
        return;
    char fdPfad[48];
    std::snprintf(fdPfad, sizeof fdPfad, "%s/fd", pid);
    const int fds = ::openat(proc, fdPfad, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fds < 0)
        return; // gone meanwhile, or not ours to look into
    if (DIR* liste = ::fdopendir(fds)) {
        while (const dirent* d = ::readdir(liste)) {
            // The entry leads to the open file itself, whatever its name now.
            if (d->d_name[0] != '.' && ::fstatat(fds, d->d_name, &st, 0) == 0 && S_ISREG(st.st_mode)
                && ZumSchreibenOffen(proc, pid, d->d_name))
                p.schreibt.emplace_back(st.st_dev, st.st_ino);
        }
        ::closedir(liste);
    } else {
        ::close(fds);
    }
    SchreibendeAbbildungen(proc, pid, p.schreibt);
}

// Brings the list of processes up to date: new ones are read, and of the
// known ones those that ran since they were read. Every process this one
// may look into but itself.
void ProzesseAuffrischen(Prozesse& alle)
{
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) {
        alle.liste.clear();
        return;
    }
    const uid_t ich = ::geteuid();
    if (ich != alle.ich) {
        alle = Prozesse();
        alle.ich = ich;
    }
    const pid_t selbst = ::getpid();
    const long long letzte = LetztePid();
    if (letzte < 0 || letzte != alle.letztePid) {
        // Processes came (or went): the list is read anew, each process
        // known by its number and its /proc entry.
        alle.letztePid = letzte;
        std::unordered_map<pid_t, Prozess> neu;
        const int kopie = ::fcntl(proc, F_DUPFD_CLOEXEC, 0);
        DIR* prozesse = kopie < 0 ? nullptr : ::fdopendir(kopie);
        if (!prozesse && kopie >= 0)
            ::close(kopie);
        if (prozesse) {
            while (const dirent* d = ::readdir(prozesse)) {
                if (!NurZiffern(d->d_name))
                    continue;
                const pid_t pid = pid_t(std::atoi(d->d_name));
                if (pid == selbst)
                    continue;
                const auto alt = alle.liste.find(pid);
                if (alt != alle.liste.end() && alt->second.procInode == d->d_ino)
                    neu.emplace(pid, std::move(alt->second));
                else
                    neu[pid].procInode = d->d_ino;
            }
            ::closedir(prozesse);
        }
        alle.liste.swap(neu);
    }
    for (auto it = alle.liste.begin(); it != alle.liste.end();) {
        const long long zeit = Rechenzeit(it->first);
        if (zeit < 0) {
            it = alle.liste.erase(it);
            continue;
        }
        if (zeit != it->second.rechenzeit) {
            // The time is taken before the process is read: whatever it does
            // meanwhile shows as time at the next look.
            it->second.rechenzeit = zeit;
            char name[24];
            std::snprintf(name, sizeof name, "%d", int(it->first));
            ProzessLesen(proc, name, ich, it->second);
        }
        ++it;
    }
    ::close(proc);
}

// Whether a process of the list writes the file. One the list names is read
// again first: the list may be older than this file (a look kept for its
// folder; a running process's CPU time moves only at the scheduler's next
// tick), and a file that process closed and deleted since may have left this
// one its inode number.
bool SchreiberUnter(Prozesse& alle, dev_t gerät, ino_t inode)
{
    const auto nennt = [&](const Prozess& p) {
        return std::find(p.schreibt.begin(), p.schreibt.end(), std::pair(gerät, inode)) != p.schreibt.end();
    };
    int proc = -1;
    bool ja = false;
    for (auto& [pid, p] : alle.liste) {
        if (!nennt(p))
            continue;
        if (proc < 0 && (proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0)
            return true;
        char name[24];
        std::snprintf(name, sizeof name, "%d", int(pid));
        p.rechenzeit = Rechenzeit(pid);
        ProzessLesen(proc, name, alle.ich, p);
        if ((ja = nennt(p)))
            break;
    }
    if (proc >= 0)
        ::close(proc);
    return ja;
}

// Tells whether anyone but this process opened, closed after writing, or
// moved a file in the folders watched since the last look at the processes
// (fanotify, which names the process behind each event). While nobody did,
// that look still holds for every file of those folders.
class Ordnerwache {
public:
    // Watches the folder that holds the file behind `fd` (one name only);
    // true when it was watched already before the last look.
    bool Gedeckt(int fd, const struct stat& st)
    {
        if (m_wache < 0 && !m_versucht) {
            m_versucht = true;
            m_wache = ::fanotify_init(FAN_CLASS_NOTIF | FAN_CLOEXEC | FAN_NONBLOCK | FAN_REPORT_FID, O_RDONLY);
        }
        if (m_wache < 0 || st.st_nlink != 1)
            return false;
        char link[48];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        char pfad[PATH_MAX];
        const ssize_t n = ::readlink(link, pfad, sizeof pfad - 1);
        if (n <= 0 || pfad[0] != '/')
            return false;
        pfad[n] = '\0';
        // The file still has that name, and the folder is known by its inode
        // (a folder renamed meanwhile is the same folder).
        struct stat name;
        if (::stat(pfad, &name) != 0 || name.st_ino != st.st_ino || name.st_dev != st.st_dev)
            return false;
        char* strich = std::strrchr(pfad, '/');
        *(strich == pfad ? strich + 1 : strich) = '\0';
        // A folder's inode number may come again for a new folder once the
        // old one is gone: its birth time tells them apart where the file
        // system keeps one (and the old one's removal is an event).
        struct statx mehr;
        if (::statx(AT_FDCWD, pfad, 0, STATX_INO | STATX_BTIME, &mehr) != 0)
            return false;
        const long long geboren =
            mehr.stx_mask & STATX_BTIME ? mehr.stx_btime.tv_sec * 1000000000LL + mehr.stx_btime.tv_nsec : 0;
        const Schlüssel schlüssel{makedev(mehr.stx_dev_major, mehr.stx_dev_minor), ino_t(mehr.stx_ino), geboren};
        const auto gesehen = m_ordner.find(schlüssel);
        if (gesehen != m_ordner.end())
            return gesehen->second == m_blick && m_blick > 0;
        if (m_ordner.size() >= kHöchstens) {
            ::fanotify_mark(m_wache, FAN_MARK_FLUSH, 0, AT_FDCWD, nullptr);
            m_ordner.clear();
        }
        // Opens of its files, the last close of a writer, names moved in or
        // out, and its own removal.
        if (::fanotify_mark(m_wache, FAN_MARK_ADD,
                            FAN_OPEN | FAN_CLOSE_WRITE | FAN_MOVE | FAN_DELETE_SELF | FAN_ONDIR | FAN_EVENT_ON_CHILD,
                            AT_FDCWD, pfad)
            == 0)
            m_ordner.emplace(schlüssel, 0);
        else
            m_ordner.emplace(schlüssel, kNie); // not to be watched: every check looks
        return false;
    }

    // Whether anyone but this process did something there since the last
    // look (or events were lost); reads the events that came.
    bool AndereWaren()
    {
        if (m_wache < 0)
            return true;
        bool andere = false;
        char puffer[8192];
        for (;;) {
            const ssize_t n = ::read(m_wache, puffer, sizeof puffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            // Events are aligned to 4 bytes only: each one's head is copied.
            fanotify_event_metadata e;
            for (ssize_t pos = 0; n - pos >= ssize_t(sizeof e); pos += e.event_len) {
                std::memcpy(&e, puffer + pos, sizeof e);
                if (e.event_len < sizeof e)
                    break;
                if (e.fd >= 0)
                    ::close(e.fd);
                // Another user's process shows as 0 to a normal user.
                if (e.pid != ::getpid())
                    andere = true;
                // A watched folder is gone, and with it its watch (which one
                // the event does not say); or events were lost.
                if (e.mask & (FAN_DELETE_SELF | FAN_Q_OVERFLOW)) {
                    andere = true;
                    m_ordner.clear();
                }
            }
        }
        return andere;
    }

    // A look at the processes was taken now: it holds for every folder
    // watched so far.
    void Geblickt()
    {
        ++m_blick;
        for (auto& [ordner, blick] : m_ordner)
            if (blick != kNie)
                blick = m_blick;
    }

private:
    static constexpr size_t kHöchstens = 4096;
    static constexpr long long kNie = -1;
    int m_wache = -1;
    bool m_versucht = false;
    long long m_blick = 0;
    using Schlüssel = std::tuple<dev_t, ino_t, long long>;
    std::map<Schlüssel, long long> m_ordner;
};

std::mutex g_sperre;
Prozesse g_prozesse;
Ordnerwache g_wache;

// Whether another process holds the file open for writing or maps it
// writable. The look at the processes is taken only when the file's folder
// was not watched before the last one, or someone else did something in
// the watched folders since; and then only the processes that ran since
// are read again.
bool SchreiberUnterProzessen(int fd, const struct stat& st)
{
    const std::lock_guard<std::mutex> halten(g_sperre);
    const bool andere = g_wache.AndereWaren();
    const bool gedeckt = g_wache.Gedeckt(fd, st);
    if (andere || !gedeckt || ::geteuid() != g_prozesse.ich) {
        ProzesseAuffrischen(g_prozesse);
        g_wache.Geblickt();
    }
    return SchreiberUnter(g_prozesse, st.st_dev, st.st_ino);
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
    return SchreiberUnterProzessen(fd, st);
}
