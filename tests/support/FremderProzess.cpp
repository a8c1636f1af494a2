#include "support/FremderProzess.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

FremderProzess::FremderProzess(const QString& pfad, Art art)
{
    const QByteArray name = QFile::encodeName(pfad);
    const int flags[] = {O_RDONLY, O_WRONLY, O_WRONLY | O_APPEND, O_RDWR}; // in the order of Art
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
        const char ok = ich && ::open(name.constData(), flags[int(art)]) >= 0 ? 1 : 0;
        (void)!::write(ende[1], &ok, 1);
        char c;
        while (::read(ende[1], &c, 1) < 0 && errno == EINTR) {
        }
        ::_exit(0);
    }
    ::close(ende[1]);
    m_halt = ende[0];
    char ok = 0;
    if (m_pid > 0)
        while (::read(m_halt, &ok, 1) < 0 && errno == EINTR) {
        }
    m_offen = ok == 1;
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
