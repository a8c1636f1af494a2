#include "support/Sonderdateien.h"

#include <QFile>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

FifoWächter::FifoWächter(const QString& pfad) : m_pfad(pfad)
{
    const QByteArray name = QFile::encodeName(pfad);
    m_angelegt = ::mkfifo(name.constData(), 0644) == 0;
    if (!m_angelegt)
        return;
    m_faden = std::thread([this, name] {
        while (!m_ende) {
            // Succeeds only while a reader waits in its open.
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_geöffnet = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
}

FifoWächter::~FifoWächter()
{
    m_ende = true;
    if (m_faden.joinable())
        m_faden.join();
}

int SocketAnlegen(const QString& pfad)
{
    const QByteArray name = QFile::encodeName(pfad);
    sockaddr_un adresse = {};
    adresse.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof adresse.sun_path)
        return -1;
    std::memcpy(adresse.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse) != 0 || ::listen(fd, 1) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
