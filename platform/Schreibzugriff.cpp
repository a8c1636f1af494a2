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
#include <optional>
#include <string>
#include <sys/fanotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
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

// The start of a short file of /proc, as text; false where it cannot be read.
bool KurzLesen(int proc, const char* pfad, char (&text)[512])
{
    const int fd = ::openat(proc, pfad, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0)
        return false;
    text[n] = '\0';
    return true;
}

// Whether descriptor `nummer` of process `pid` was opened for writing, from
// the "flags:" line (octal) of its fdinfo.
bool ZumSchreibenOffen(int proc, const char* pid, const char* nummer)
{
    char pfad[320]; // room for any name a directory entry may have
    std::snprintf(pfad, sizeof pfad, "%s/fdinfo/%s", pid, nummer);
    char text[512];
    if (!KurzLesen(proc, pfad, text))
        return false;
    const char* flags = std::strstr(text, "flags:");
    if (!flags)
        return false;
    const long wert = std::strtol(flags + 6, nullptr, 8);
    return (wert & O_ACCMODE) == O_WRONLY || (wert & O_ACCMODE) == O_RDWR;
}

using Datei = std::pair<dev_t, ino_t>; // device, inode

// A line of a process's maps ("start-end perms offset major:minor inode
// path"): the file it maps, if any, and whether shared and writable; with
// `nurSchreibend` only a shared writable one (the others are not parsed).
bool Abbildung(const char* zeile, bool nurSchreibend, Datei& datei, bool& schreibend)
{
    const char* rechte = std::strchr(zeile, ' ');
    if (!rechte || !rechte[1] || !rechte[2] || !rechte[3] || !rechte[4])
        return false;
    schreibend = rechte[2] == 'w' && rechte[4] == 's';
    if (nurSchreibend && !schreibend)
        return false;
    const char* feld = rechte + 1;
    for (int n = 0; n < 2 && feld; ++n)
        if ((feld = std::strchr(feld, ' ')))
            ++feld;
    if (!feld)
        return false;
    char* ende = nullptr;
    const unsigned long haupt = std::strtoul(feld, &ende, 16);
    if (*ende != ':')
        return false;
    const unsigned long neben = std::strtoul(ende + 1, &ende, 16);
    if (*ende != ' ')
        return false;
    const unsigned long long nummer = std::strtoull(ende + 1, &ende, 10);
    if (nummer == 0)
        return false;
    datei = {makedev(haupt, neben), ino_t(nummer)};
    return true;
}

// What one process writes: the files (device, inode) it holds open for
// writing or maps shared and writable, as of the moment its CPU time was
// `rechenzeit`. A process that has not run since cannot have opened,
// closed or mapped anything, so its list still holds.
struct Prozess {
    ino_t procInode = 0; // its /proc entry: a new process under an old number has another
    long long rechenzeit = -1;
    std::vector<Datei> schreibt;
    std::vector<Datei> offen;       // every file it holds a descriptor of, in any mode
    // Every file it maps, by inode number (a mapping names the device of the
    // file system, not the one stat names), where `abbildungenBekannt`.
    std::vector<ino_t> abgebildet;
    bool abbildungenBekannt = false;
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

// The files a process maps shared and writable; with `alle` every file it
// maps too.
void Abbildungen(int proc, const char* pid, bool alle, Prozess& p)
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
            Datei datei;
            bool schreibend = false;
            if (!Abbildung(anfang, !alle, datei, schreibend))
                continue;
            // A file's mappings mostly follow each other.
            if (p.abgebildet.empty() || p.abgebildet.back() != datei.second)
                p.abgebildet.push_back(datei.second);
            if (schreibend)
                p.schreibt.push_back(datei);
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
// have closed its descriptor long ago); and which files it holds, those it
// maps with `alleAbbildungen` only. Nothing for a process this one may not
// look into (another user's, unless root): false then.
bool ProzessLesen(int proc, const char* pid, uid_t ich, Prozess& p, bool alleAbbildungen = false)
{
    p.schreibt.clear();
    p.offen.clear();
    p.abgebildet.clear();
    p.abbildungenBekannt = alleAbbildungen;
    struct stat st;
    if (ich != 0 && (::fstatat(proc, pid, &st, 0) != 0 || st.st_uid != ich))
        return false;
    char fdPfad[48];
    std::snprintf(fdPfad, sizeof fdPfad, "%s/fd", pid);
    const int fds = ::openat(proc, fdPfad, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fds < 0)
        return false; // gone meanwhile, or not ours to look into
    if (DIR* liste = ::fdopendir(fds)) {
        while (const dirent* d = ::readdir(liste)) {
            // The entry leads to the open file itself, whatever its name now.
            if (d->d_name[0] == '.' || ::fstatat(fds, d->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue;
            p.offen.emplace_back(st.st_dev, st.st_ino);
            if (ZumSchreibenOffen(proc, pid, d->d_name))
                p.schreibt.emplace_back(st.st_dev, st.st_ino);
        }
        ::closedir(liste);
    } else {
        ::close(fds);
    }
    Abbildungen(proc, pid, alleAbbildungen, p);
    return true;
}

// Whether process `pid` is on a processor or waiting for one: its CPU time
// then may not yet show what it did since its last tick.
bool Läuft(int proc, const char* pid)
{
    char pfad[48];
    std::snprintf(pfad, sizeof pfad, "%s/stat", pid);
    char text[512];
    if (!KurzLesen(proc, pfad, text))
        return false;
    // "pid (name) state ...": the name may hold blanks and parentheses.
    const char* klammer = std::strrchr(text, ')');
    return klammer && klammer[1] == ' ' && klammer[2] == 'R';
}

// Brings the list of processes up to date: new ones are read, and of the
// known ones those that ran since they were read. Every process this one
// may look into but itself. `fürÖffnungen`: to learn who holds a file, also
// those running now (their CPU time may not show their last moments yet)
// and those whose mappings are not known, with every file they map.
void ProzesseAuffrischen(Prozesse& alle, bool fürÖffnungen = false)
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
        char name[24];
        std::snprintf(name, sizeof name, "%d", int(it->first));
        if (zeit != it->second.rechenzeit
            || (fürÖffnungen && (!it->second.abbildungenBekannt || Läuft(proc, name)))) {
            // The time is taken before the process is read: whatever it does
            // meanwhile shows as time at the next look.
            it->second.rechenzeit = zeit;
            ProzessLesen(proc, name, ich, it->second, fürÖffnungen);
        }
        ++it;
    }
    ::close(proc);
}

// Reads process `pid` now, whatever its CPU time, and adds it to the list
// where it is new; null when it is gone.
Prozess* ProzessNeuLesen(Prozesse& alle, pid_t pid, bool& gesehen)
{
    gesehen = false;
    const long long zeit = Rechenzeit(pid);
    const int proc = zeit < 0 ? -1 : ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    char name[24];
    std::snprintf(name, sizeof name, "%d", int(pid));
    struct stat st;
    if (proc < 0 || ::fstatat(proc, name, &st, 0) != 0) {
        if (proc >= 0)
            ::close(proc);
        alle.liste.erase(pid);
        return nullptr;
    }
    const auto [eintrag, neu] = alle.liste.try_emplace(pid);
    Prozess& p = eintrag->second;
    if (neu)
        p.procInode = st.st_ino;
    p.rechenzeit = zeit;
    gesehen = ProzessLesen(proc, name, alle.ich, p, true);
    ::close(proc);
    return &p;
}

// Whether the process holds the file by a descriptor or a mapping.
bool Hält(const Prozess& p, const Datei& datei)
{
    return std::find(p.offen.begin(), p.offen.end(), datei) != p.offen.end()
        || std::find(p.abgebildet.begin(), p.abgebildet.end(), datei.second) != p.abgebildet.end();
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

long long Jetzt()
{
    timespec t;
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

// How long another process's open is waited for: the event comes before
// its descriptor (after a truncation, say, that may take a while).
constexpr long long kWarten = 300'000'000;

// A file as fanotify names it: the file system's id, the handle's type and
// bytes.
std::string Kennung(const void* fsid, int typ, const unsigned char* bytes, size_t anzahl)
{
    std::string k(static_cast<const char*>(fsid), sizeof(fsid_t));
    k.append(reinterpret_cast<const char*>(&typ), sizeof typ);
    k.append(reinterpret_cast<const char*>(bytes), anzahl);
    return k;
}

// Asks for the handle as fanotify makes it (one that need not open the
// file); older kernels know only the other kind, the same for a file system
// fanotify can watch.
#ifdef AT_HANDLE_FID
constexpr int kHandleFid = AT_HANDLE_FID;
#else
constexpr int kHandleFid = 0x200;
#endif

// The file behind `fd` as the events name it; empty where it has no handle.
std::string Dateikennung(int fd)
{
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return {};
    struct {
        file_handle kopf;
        unsigned char bytes[MAX_HANDLE_SZ];
    } h;
    int mount = 0;
    h.kopf.handle_bytes = MAX_HANDLE_SZ;
    if (::name_to_handle_at(fd, "", &h.kopf, &mount, AT_EMPTY_PATH | kHandleFid) != 0) {
        h.kopf.handle_bytes = MAX_HANDLE_SZ;
        if (errno != EINVAL || ::name_to_handle_at(fd, "", &h.kopf, &mount, AT_EMPTY_PATH) != 0)
            return {};
    }
    return Kennung(&fs.f_fsid, h.kopf.handle_type, h.kopf.f_handle, h.kopf.handle_bytes);
}

// The file an event names, from its records behind the head.
std::string EreignisKennung(const char* info, size_t länge)
{
    fanotify_event_info_header kopf;
    for (size_t pos = 0; länge - pos >= sizeof kopf; pos += kopf.len) {
        std::memcpy(&kopf, info + pos, sizeof kopf);
        if (kopf.len < sizeof kopf || kopf.len > länge - pos)
            break;
        fanotify_event_info_fid fid;
        file_handle h;
        if (kopf.info_type != FAN_EVENT_INFO_TYPE_FID || kopf.len < sizeof fid + sizeof h)
            continue;
        std::memcpy(&fid, info + pos, sizeof fid);
        std::memcpy(&h, info + pos + sizeof fid, sizeof h);
        if (h.handle_bytes <= kopf.len - sizeof fid - sizeof h)
            return Kennung(&fid.fsid, h.handle_type,
                           reinterpret_cast<const unsigned char*>(info + pos + sizeof fid + sizeof h), h.handle_bytes);
    }
    return {};
}

// Watches the folders of the files checked (fanotify, which names the
// process behind each event). While nobody but this process moved a file
// in or out of them since the last look at the processes, that look still
// holds for their files, but for those another process opened since: the
// event comes inside open(2) before the descriptor is there, so a look right
// after it may not see it. Such a file's openers are read again at its check
// until each holds a descriptor of it or a close came.
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
        // Opens and closes of its files, names moved in or out, and its own
        // removal.
        if (::fanotify_mark(m_wache, FAN_MARK_ADD,
                            FAN_OPEN | FAN_CLOSE | FAN_MOVE | FAN_DELETE_SELF | FAN_ONDIR | FAN_EVENT_ON_CHILD,
                            AT_FDCWD, pfad)
            == 0)
            m_ordner.emplace(schlüssel, 0);
        else
            m_ordner.emplace(schlüssel, kNie); // not to be watched: every check looks
        return false;
    }

    // Whether the look is to be taken anew: anyone but this process moved a
    // file in the watched folders since the last one, or events were lost.
    bool AndereWaren()
    {
        if (m_wache < 0)
            return true;
        EreignisseLesen();
        return m_andere;
    }

    // Every process is to be read at the next look, whatever its CPU time.
    bool AlleLesen() const { return m_alleLesen; }

    // A look at the processes was taken now: it holds for every folder
    // watched so far.
    void Geblickt()
    {
        ++m_blick;
        for (auto& [ordner, blick] : m_ordner)
            if (blick != kNie)
                blick = m_blick;
        m_andere = m_alleLesen = false;
    }

    bool HatÖffnungen() const { return !m_öffnungen.empty(); }
    long long Gemeldet() const { return m_gemeldet; }

    // Settles the opens of the file `kennung` (`datei`) by other processes:
    // each opener is read again now, whatever its CPU time; while one holds
    // no descriptor of the file yet and has not closed it, again after a
    // moment, the events read in between. False when a process this one can
    // look into still opens it after kWarten: it is taken for a writer.
    bool ÖffnungenKlären(const std::string& kennung, const Datei& datei, Prozesse& alle)
    {
        const long long ende = Jetzt() + kWarten;
        long long pause = 20'000;
        for (;;) {
            // Reading events may have changed the table.
            const auto eintrag = m_öffnungen.find(kennung);
            if (eintrag == m_öffnungen.end())
                return true;
            std::vector<Öffnung>& liste = eintrag->second;
            const long long jetzt = Jetzt();
            const bool um = jetzt >= ende;
            bool öffnet = false, sichtbarÖffnend = false;
            std::optional<bool> irgendwer; // whether any process holds it, for openers not named
            for (size_t i = 0; i < liste.size();) {
                Öffnung& ö = liste[i];
                bool hält = false, sichtbar = false;
                if (ö.pid > 0) {
                    const Prozess* p = ProzessNeuLesen(alle, ö.pid, sichtbar);
                    if (!p) {
                        liste.erase(liste.begin() + std::ptrdiff_t(i));
                        --m_anzahl;
                        continue;
                    }
                    hält = Hält(*p, datei);
                } else {
                    // The opener is among those that ran since they were read
                    // or run now; what the others were read holding holds.
                    if (!irgendwer) {
                        ProzesseAuffrischen(alle, true);
                        irgendwer = std::any_of(alle.liste.begin(), alle.liste.end(),
                                                [&](const auto& e) { return Hält(e.second, datei); });
                    }
                    hält = *irgendwer;
                }
                if (hält) {
                    ö.wartet = false;
                } else if (ö.wartet && ö.pid > 0 && !sichtbar) {
                    ö.wartet = false; // a process this one cannot look into
                } else if (ö.wartet) {
                    if (um && ö.pid == 0)
                        ö.wartet = false; // it may be one this one cannot look into
                    else
                        öffnet = true;
                    sichtbarÖffnend |= ö.pid > 0;
                } else if (jetzt - ö.seit >= kWarten) {
                    liste.erase(liste.begin() + std::ptrdiff_t(i));
                    --m_anzahl;
                    continue;
                }
                ++i;
            }
            if (liste.empty())
                m_öffnungen.erase(eintrag);
            if (!öffnet)
                return true;
            if (um)
                return !sichtbarÖffnend;
            const timespec warten{0, long(pause)};
            ::nanosleep(&warten, nullptr);
            pause = std::min(pause * 2, 10'000'000LL);
            EreignisseLesen();
        }
    }

private:
    // An open of a file by another process, as the events told it.
    struct Öffnung {
        pid_t pid;      // 0: not named (an unprivileged watch names no process but this one)
        bool wartet;    // no descriptor of the file seen since, and no close
        long long seit; // when its last event was read
    };

    void EreignisseLesen()
    {
        const pid_t selbst = ::getpid();
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
                if (e.event_len < sizeof e || e.event_len > size_t(n - pos))
                    break;
                if (e.fd >= 0)
                    ::close(e.fd);
                if (e.mask & FAN_Q_OVERFLOW) {
                    Verloren();
                    continue;
                }
                // A watched folder is gone, and with it its watch (which one
                // the event does not say).
                if (e.mask & FAN_DELETE_SELF) {
                    m_andere = true;
                    m_ordner.clear();
                }
                if (e.pid == selbst)
                    continue;
                if (e.mask & FAN_MOVE)
                    m_andere = true;
                if ((e.mask & (FAN_OPEN | FAN_CLOSE)) && !(e.mask & FAN_ONDIR))
                    Vermerken(EreignisKennung(puffer + pos + sizeof e, e.event_len - sizeof e), e.pid, e.mask);
            }
        }
    }

    // The queue merges the events of one process on one file while they are
    // unread: an open and a close in one event may have come in either order,
    // and its descriptor is not waited for (a later check reads the process
    // again). A close, whose descriptor it was the event does not say (the
    // last holder of an inherited one closes it), ends every wait for that file.
    void Vermerken(const std::string& kennung, pid_t pid, unsigned long long maske)
    {
        if (kennung.empty()) {
            Verloren();
            return;
        }
        const long long jetzt = Jetzt();
        auto eintrag = m_öffnungen.find(kennung);
        if (maske & FAN_CLOSE && eintrag != m_öffnungen.end())
            for (Öffnung& ö : eintrag->second)
                ö = {ö.pid, false, jetzt};
        if (!(maske & FAN_OPEN))
            return;
        ++m_gemeldet;
        if (eintrag == m_öffnungen.end()) {
            if (m_anzahl >= kHöchstensÖffnungen && !Aufgeräumt(jetzt)) {
                Verloren();
                return;
            }
            eintrag = m_öffnungen.emplace(kennung, std::vector<Öffnung>()).first;
        }
        auto& liste = eintrag->second;
        auto ö = std::find_if(liste.begin(), liste.end(), [&](const Öffnung& o) { return o.pid == pid; });
        if (ö == liste.end()) {
            ö = liste.insert(liste.end(), Öffnung{pid, false, 0});
            ++m_anzahl;
        }
        *ö = {pid, !(maske & FAN_CLOSE), jetzt};
    }

    // Room for new opens: those of processes gone and those settled for a
    // while are dropped. False when that leaves no room.
    bool Aufgeräumt(long long jetzt)
    {
        for (auto it = m_öffnungen.begin(); it != m_öffnungen.end();) {
            auto& liste = it->second;
            const auto weg = std::remove_if(liste.begin(), liste.end(), [&](const Öffnung& ö) {
                return (ö.pid > 0 && Rechenzeit(ö.pid) < 0) || (!ö.wartet && jetzt - ö.seit >= kWarten);
            });
            m_anzahl -= size_t(liste.end() - weg);
            liste.erase(weg, liste.end());
            it = liste.empty() ? m_öffnungen.erase(it) : std::next(it);
        }
        return m_anzahl < kHöchstensÖffnungen;
    }

    // Events were lost: nothing seen so far holds.
    void Verloren()
    {
        m_andere = m_alleLesen = true;
        m_ordner.clear();
        m_öffnungen.clear();
        m_anzahl = 0;
    }

    static constexpr size_t kHöchstens = 4096;
    static constexpr size_t kHöchstensÖffnungen = 16384;
    static constexpr long long kNie = -1;
    int m_wache = -1;
    bool m_versucht = false;
    bool m_andere = false;
    bool m_alleLesen = false;
    long long m_blick = 0;
    using Schlüssel = std::tuple<dev_t, ino_t, long long>;
    std::map<Schlüssel, long long> m_ordner;
    std::unordered_map<std::string, std::vector<Öffnung>> m_öffnungen;
    size_t m_anzahl = 0;
    long long m_gemeldet = 0;
};

std::mutex g_sperre;
Prozesse g_prozesse;
Ordnerwache g_wache;

// Whether another process holds the file open for writing or maps it
// writable. The look at the processes is taken only when the file's folder
// was not watched before the last one, or someone else moved files there
// since; and then only the processes that ran since are read again. Those
// that opened the file since are read in any case.
bool SchreiberUnterProzessen(int fd, const struct stat& st)
{
    const std::lock_guard<std::mutex> halten(g_sperre);
    const bool andere = g_wache.AndereWaren();
    bool gedeckt = g_wache.Gedeckt(fd, st);
    std::string kennung;
    if (g_wache.HatÖffnungen() && (kennung = Dateikennung(fd)).empty())
        gedeckt = false;
    if (andere || !gedeckt || ::geteuid() != g_prozesse.ich) {
        if (g_wache.AlleLesen())
            for (auto& [pid, p] : g_prozesse.liste)
                p.rechenzeit = -1;
        ProzesseAuffrischen(g_prozesse);
        g_wache.Geblickt();
    }
    const Datei datei(st.st_dev, st.st_ino);
    if (!kennung.empty() && !g_wache.ÖffnungenKlären(kennung, datei, g_prozesse))
        return true;
    return SchreiberUnter(g_prozesse, st.st_dev, st.st_ino);
}

} // namespace

void SchreibzugriffOhneLease(bool an) { g_ohneLease = an; }

long long SchreibzugriffFremdeÖffnungen()
{
    const std::lock_guard<std::mutex> halten(g_sperre);
    return g_wache.Gemeldet();
}

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
