#include "support/FremderProzess.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

FremderProzess::FremderProzess(const QString& pfad, Art art, Start start)
{
    const QByteArray name = QFile::encodeName(pfad);
    // In the order of Art.
    const int flags[] = {O_RDONLY, O_WRONLY, O_WRONLY | O_APPEND, O_RDWR,
                         O_WRONLY | O_APPEND, O_RDWR, O_RDONLY, O_WRONLY | O_TRUNC};
    // One end each: the child says whether it holds the file, then waits
    // until this end closes.
    int ende[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ende) != 0)
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        // Only system calls from here: the parent has threads. Its
        // descriptors go, so that only the file opened here is held.
        ::close_range(3, unsigned(ende[1]) - 1, 0);
        ::close_range(unsigned(ende[1]) + 1, ~0U, 0);
        // Root's saved ids (NormalerBenutzer keeps them) or a change of ids
        // hide a process from its user: it becomes that user wholly.
        const uid_t u = ::getuid();
        const gid_t g = ::getgid();
        const bool ich = ::setresgid(g, g, g) == 0 && ::setresuid(u, u, u) == 0 && ::prctl(PR_SET_DUMPABLE, 1) == 0;
        const int fd = ich ? ::open(name.constData(), flags[int(art)]) : -1;
        bool ok = fd >= 0;
        if (ok && (art == Art::Abbilden || art == Art::AbbildenLesen)) {
            const int schutz = art == Art::Abbilden ? PROT_READ | PROT_WRITE : PROT_READ;
            ok = ::mmap(nullptr, 4096, schutz, MAP_SHARED, fd, 0) != MAP_FAILED;
            ::close(fd);
        }
        const char antwort = ok ? 1 : 0;
        (void)!::write(ende[1], &antwort, 1);
        char ds[1000];
        std::memset(ds, 'd', sizeof ds);
        for (;;) {
            pollfd warten{ende[1], POLLIN, 0};
            const int n = ::poll(&warten, 1, art == Art::Herunterladen ? 1 : -1);
            if (n < 0 && errno == EINTR)
                continue;
            if (n != 0)
                break;
            (void)!::write(fd, ds, sizeof ds);
        }
        ::_exit(0);
    }
    ::close(ende[1]);
    m_halt = ende[0];
    m_gemeldet = m_pid <= 0;
    if (start == Start::Warten)
        Antwort(true);
}

void FremderProzess::Antwort(bool warten)
{
    if (m_gemeldet)
        return;
    pollfd da{m_halt, POLLIN, 0};
    if (!warten && ::poll(&da, 1, 0) <= 0)
        return;
    char ok = 0;
    while (::read(m_halt, &ok, 1) < 0 && errno == EINTR) {
    }
    m_gemeldet = true;
    m_offen = ok == 1;
}

bool FremderProzess::Offen()
{
    Antwort(true);
    return m_offen;
}

bool FremderProzess::Gemeldet()
{
    Antwort(false);
    return m_gemeldet;
}

FremderProzess::~FremderProzess()
{
    if (m_halt >= 0)
        ::close(m_halt);
    int status = 0;
    if (m_pid > 0)
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
}
