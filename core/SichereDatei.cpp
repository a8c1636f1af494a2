#include "core/SichereDatei.h"

#include "core/Meldungen.h"
#include "platform/Schreibzugriff.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int g_fehlerNach = 0;
bool g_fehlerUmbenennen = false;
bool g_fehlerSync = false;
std::function<void(SichereDatei::Schritt)> g_testHaken;

int synchronisieren(int fd)
{
    if (g_fehlerSync) {
        errno = EIO;
        return -1;
    }
    return ::fsync(fd);
}
constexpr qsizetype kPuffer = 1 << 20;
constexpr qint64 kDirekt = 64 << 10;
// The bits for a copy whose group is not the original's: the new group gets
// nothing, and others only what the old group had too, since the old
// group's members now count among them. Nobody can read the copy who could
// not read the original.
mode_t OhneFremdeGruppe(mode_t modus)
{
    const mode_t gruppe = (modus & S_IRWXG) >> 3;
    return (modus & (S_IRWXU | S_ISUID | S_ISVTX)) | (modus & S_IRWXO & gruppe);
}
} // namespace

void SichereDatei::systemFehler()
{
    m_fehlerNummer = errno;
    m_fehler = SystemfehlerBeschreibung(m_fehlerNummer);
}

void SichereDatei::FehlerBeiSchreibvorgang(int n) { g_fehlerNach = n; }
void SichereDatei::FehlerBeimUmbenennen(bool an) { g_fehlerUmbenennen = an; }
void SichereDatei::FehlerBeimSynchronisieren(bool an) { g_fehlerSync = an; }
void SichereDatei::TestHaken(std::function<void(Schritt)> haken) { g_testHaken = std::move(haken); }
void SichereDatei::TestHakenAusführen(Schritt schritt)
{
    if (g_testHaken)
        g_testHaken(schritt);
}

DateiStand DateiStandVon(const struct stat& st)
{
    return {st.st_dev, st.st_ino, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

QString VerändertText() { return QStringLiteral("Die Datei wurde während des Speicherns verändert."); }
QString InBenutzungText() { return QStringLiteral("Die Datei wird gerade von einem anderen Programm geschrieben."); }

QString SymlinkZielAuflösen(const QString& pfad)
{
    QString p = pfad;
    // As the kernel does, give up on a loop after 40 links.
    for (int i = 0; i < 40; ++i) {
        char ziel[PATH_MAX];
        const ssize_t n = ::readlink(QFile::encodeName(p).constData(), ziel, sizeof ziel);
        if (n <= 0 || n >= ssize_t(sizeof ziel))
            return p;
        QString weiter = QFile::decodeName(QByteArray(ziel, qsizetype(n)));
        if (!weiter.startsWith(QLatin1Char('/'))) {
            const qsizetype strich = p.lastIndexOf(QLatin1Char('/'));
            weiter = (strich < 0 ? QString() : p.left(strich + 1)) + weiter;
        }
        p = weiter;
    }
    return p;
}

QString TempNameBilden(const QString& ziel, const QString& suffix)
{
    constexpr qsizetype kNamensGrenze = 255;
    const qsizetype strich = ziel.lastIndexOf(QLatin1Char('/'));
    const QString ordner = ziel.left(strich + 1);
    QString name = ziel.mid(strich + 1);
    const qsizetype platz = kNamensGrenze - QFile::encodeName(suffix).size();
    while (!name.isEmpty() && QFile::encodeName(name).size() > platz) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return ordner + name + suffix;
}

int TempAnlegen(const QString& ziel, const QString& suffix, const std::function<int(const QString&)>& anlegen,
                QString& temp)
{
    int e = EEXIST;
    for (int k = 0; k < 100 && e == EEXIST; ++k) {
        temp = TempNameBilden(ziel, suffix + (k ? QString::number(k) : QString()));
        e = anlegen(temp);
    }
    return e;
}

SichereDatei::SichereDatei(const QString& ziel, const QString& tempSuffix)
    : m_ziel(SymlinkZielAuflösen(ziel)), m_suffix(tempSuffix), m_temp(TempNameBilden(m_ziel, tempSuffix))
{
}

SichereDatei::~SichereDatei()
{
    if (!m_fertig)
        Verwerfen();
}

bool SichereDatei::Öffnen()
{
    struct stat st;
    const bool original = ::stat(QFile::encodeName(m_ziel).constData(), &st) == 0 && S_ISREG(st.st_mode);
    // Private until it has the original's owner and bits, so that no one
    // else can read a private file's copy, not even one left by a crash.
    // Exclusive: a name that is taken (a link, a leftover, the user's own
    // file) stays as it is and the next name is tried.
    const int e = TempAnlegen(
        m_ziel, m_suffix,
        [&](const QString& t) {
            m_fd = ::open(QFile::encodeName(t).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          original ? 0600 : 0666);
            return m_fd < 0 ? errno : 0;
        },
        m_temp);
    if (e != 0) {
        m_fehlerNummer = e;
        m_fehler = SystemfehlerBeschreibung(e);
        return false;
    }
    m_angelegt = true;
    if (original) {
        // Where the process may: owner and group, else the group alone
        // (before the bits, since a change of owner clears set-id bits).
        if (::fchown(m_fd, st.st_uid, st.st_gid) != 0)
            (void)!::fchown(m_fd, uid_t(-1), st.st_gid);
        struct stat neu;
        ::fchmod(m_fd, ::fstat(m_fd, &neu) == 0 && neu.st_gid == st.st_gid ? st.st_mode & 07777
                                                                            : OhneFremdeGruppe(st.st_mode));
    }
    return true;
}

void SichereDatei::UnverändertVerlangen(const DateiStand& stand, int fd)
{
    m_standPrüfen = true;
    m_stand = stand;
    m_original = fd;
}

bool SichereDatei::ZielFrei()
{
    if (m_original < 0 || !AndererProzessSchreibt(m_original))
        return true;
    m_fehlerNummer = EAGAIN;
    m_fehler = InBenutzungText();
    return false;
}

bool SichereDatei::alleSchreiben(const char* p, qsizetype rest)
{
    while (rest > 0) {
        if (g_fehlerNach > 0 && --g_fehlerNach == 0) {
            m_fehlerNummer = EIO;
            m_fehler = QStringLiteral("Schreibfehler");
            return false;
        }
        const ssize_t n = ::write(m_fd, p, size_t(rest));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            systemFehler();
            return false;
        }
        p += n;
        rest -= n;
    }
    return true;
}

bool SichereDatei::pufferLeeren()
{
    if (!alleSchreiben(m_puffer.constData(), m_puffer.size()))
        return false;
    m_puffer.truncate(0); // keeps its memory for the next megabyte
    return true;
}

bool SichereDatei::Schreiben(const char* daten, qint64 länge)
{
    if (m_fd < 0)
        return false;
    // A large block goes to the file as it is, without a copy.
    const bool direkt = länge >= kDirekt;
    if (!direkt)
        m_puffer.append(daten, qsizetype(länge));
    if ((direkt || m_puffer.size() >= kPuffer) && !pufferLeeren()) {
        Verwerfen();
        return false;
    }
    if (direkt && !alleSchreiben(daten, qsizetype(länge))) {
        Verwerfen();
        return false;
    }
    return true;
}

bool SichereDatei::Fertigstellen()
{
    if (m_fd < 0)
        return false;
    if (!pufferLeeren() || synchronisieren(m_fd) != 0) {
        if (m_fehler.isEmpty())
            systemFehler();
        Verwerfen();
        return false;
    }
    const QByteArray ziel = QFile::encodeName(m_ziel);
    struct stat geschrieben;
    if (::fstat(m_fd, &geschrieben) == 0)
        m_geschrieben = DateiStandVon(geschrieben);
    if (::close(m_fd) != 0) {
        m_fd = -1;
        systemFehler();
        Verwerfen();
        return false;
    }
    m_fd = -1;
    TestHakenAusführen(Schritt::VorDemAbschluss);
    // A program still writing the original would go on writing a file that
    // no longer has its name.
    if (!ZielFrei()) {
        Verwerfen();
        return false;
    }
    // A download still appending, another editor saving: their bytes are not
    // in our copy, so the copy must not replace the file.
    struct stat st;
    if (m_standPrüfen && (::stat(ziel.constData(), &st) != 0 || !(DateiStandVon(st) == m_stand))) {
        m_fehlerNummer = ESTALE;
        m_fehler = VerändertText();
        Verwerfen();
        return false;
    }
    if (g_fehlerUmbenennen || ::rename(QFile::encodeName(m_temp).constData(), ziel.constData()) != 0) {
        if (g_fehlerUmbenennen) {
            m_fehlerNummer = EACCES;
            m_fehler = QStringLiteral("Umbenennen fehlgeschlagen");
        } else {
            systemFehler();
        }
        m_umbenennenFehlgeschlagen = true;
        Verwerfen();
        return false;
    }
    m_angelegt = false;
    // Make the rename itself durable.
    const QByteArray ordner = QFile::encodeName(QFileInfo(m_ziel).absolutePath());
    const int dfd = ::open(ordner.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    m_fertig = true;
    return true;
}

void SichereDatei::Verwerfen()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_puffer.clear();
    if (m_angelegt)
        ::unlink(QFile::encodeName(m_temp).constData());
    m_angelegt = false;
    m_fertig = true;
}
