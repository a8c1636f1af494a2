#include "support/FremderProzess.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The group to take with the user, looked up before a fork.
gid_t GruppeVon(int benutzer)
{
    const passwd* p = benutzer >= 0 ? ::getpwuid(uid_t(benutzer)) : nullptr;
    return p ? p->pw_gid : gid_t(benutzer);
}

// In the child: become `benutzer`, and stay a process that its user may look
// into, as one started by that user is (a change of ids alone hides it).
bool Werden(int benutzer, gid_t gruppe)
{
    if (benutzer < 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(gruppe) == 0 && ::setuid(uid_t(benutzer)) == 0
        && ::prctl(PR_SET_DUMPABLE, 1) == 0;
}

int Warten(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

FremderProzess::FremderProzess(const QString& pfad, Art art, int benutzer)
{
    const QByteArray name = QFile::encodeName(pfad);
    const int flags = art == Art::Lesen            ? O_RDONLY
                      : art == Art::Schreiben      ? O_WRONLY
                      : art == Art::Anhängen       ? O_WRONLY | O_APPEND
                                                   : O_RDWR;
    const gid_t gruppe = GruppeVon(benutzer);
    int bereit[2], halt[2];
    if (::pipe2(bereit, O_CLOEXEC) != 0)
        return;
    if (::pipe2(halt, O_CLOEXEC) != 0) {
        ::close(bereit[0]);
        ::close(bereit[1]);
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        // Only system calls from here: the parent has threads. The parent's
        // descriptors go, so that only the file opened here is held.
        const unsigned a = unsigned(std::min(bereit[1], halt[0])), b = unsigned(std::max(bereit[1], halt[0]));
        ::close_range(3, a - 1, 0);
        ::close_range(a + 1, b - 1, 0);
        ::close_range(b + 1, ~0U, 0);
        const int fd = Werden(benutzer, gruppe) ? ::open(name.constData(), flags) : -1;
        const char ok = fd >= 0 ? 1 : 0;
        (void)!::write(bereit[1], &ok, 1);
        char c;
        while (::read(halt[0], &c, 1) < 0 && errno == EINTR) {
        }
        ::_exit(0);
    }
    ::close(bereit[1]);
    ::close(halt[0]);
    m_halt = halt[1];
    char ok = 0;
    if (m_pid > 0)
        while (::read(bereit[0], &ok, 1) < 0 && errno == EINTR) {
        }
    ::close(bereit[0]);
    m_offen = ok == 1;
}

FremderProzess::~FremderProzess()
{
    if (m_halt >= 0)
        ::close(m_halt);
    if (m_pid > 0)
        Warten(m_pid);
}

int AlsBenutzer(int benutzer, bool (*f)(const QString&), const QString& pfad)
{
    const gid_t gruppe = GruppeVon(benutzer);
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(Werden(benutzer, gruppe) ? (f(pfad) ? 1 : 0) : 2);
    if (pid < 0)
        return -1;
    const int status = Warten(pid);
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return -1;
    return WEXITSTATUS(status);
}

int NiemandsBenutzer()
{
    if (::geteuid() != 0)
        return -1;
    const passwd* p = ::getpwnam("nobody");
    return p ? int(p->pw_uid) : -1;
}
