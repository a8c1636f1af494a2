#include "app/Signale_gui.h"

#include "mainwindow/frmMain.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_paar[2] = {-1, -1};

// Only what a signal handler may do: one byte into the pipe.
void signalMelden(int nummer)
{
    const int alt = errno;
    const char c = char(nummer);
    [[maybe_unused]] const ssize_t n = ::write(g_paar[0], &c, 1);
    errno = alt;
}

} // namespace

void BeendenSignaleEinrichten(frmMain* f)
{
    if (g_paar[0] >= 0 || !f)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_paar) != 0) {
        g_paar[0] = g_paar[1] = -1;
        return;
    }
    QPointer<frmMain> fenster(f);
    // The close path runs at once, on top of any open window; during a
    // progress run, once after it.
    auto* leser = new QSocketNotifier(qintptr(g_paar[1]), QSocketNotifier::Read, f);
    QObject::connect(leser, &QSocketNotifier::activated, f, [fenster] {
        char puffer[32];
        while (::read(g_paar[1], puffer, sizeof puffer) > 0) {
        }
        if (fenster)
            fenster->SchließenAnfordern(3);
    });

    struct sigaction sa = {};
    sa.sa_handler = signalMelden;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);
}
