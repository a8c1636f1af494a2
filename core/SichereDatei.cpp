#include "core/SichereDatei.h"

#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "platform/Schreibzugriff.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {
int g_fehlerNach = 0;
bool g_fehlerUmbenennen = false;
bool g_fehlerSync = false;
std::function<void(SichereDatei::Schritt)> g_testHaken;
qint64 g_kopierFehlerNach = -1;
std::function<void()> g_vorDemUmbenennen;

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

// The group a new file in `ordner` starts with: the folder's where it hands
// its group down, else the process's.
gid_t AnfangsGruppe(const QString& ordner)
{
    struct stat st;
    if (::stat(QFile::encodeName(ordner).constData(), &st) == 0 && (st.st_mode & S_ISGID))
        return st.st_gid;
    return ::getegid();
}

// File systems without Unix modes (FAT, exFAT, NTFS, and NTFS or exFAT
// through FUSE): the owner and bits they show come from the mount, the
// same for the original as for its copy, and a chmod may fail there.
bool OhneUnixModi(int fd, const QString& pfad)
{
    constexpr unsigned long kFat = 0x4d44, kExFat = 0x2011BAB0, kNtfs = 0x5346544e, kFuse = 0x65735546;
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return false;
    const auto typ = static_cast<unsigned long>(fs.f_type);
    if (typ == kFat || typ == kExFat || typ == kNtfs)
        return true;
    if (typ != kFuse)
        return false;
    // FUSE serves both kinds: a block device's file system (ntfs-3g,
    // exfat-fuse) has no Unix modes, an overlay of a folder (bindfs) has.
    return QStorageInfo(pfad).fileSystemType() == "fuseblk";
}

// The POSIX access ACL is an extended attribute: copied with the others, it
// needs no ACL library. Its value: a version (2), then entries of tag,
// permission and id, little-endian.
constexpr char kAcl[] = "system.posix_acl_access";
constexpr quint16 kAclGruppe = 0x04, kAclMaske = 0x10, kAclAndere = 0x20;
constexpr qsizetype kAclKopf = 4, kAclEintrag = 8;

quint16 AclWort(const QByteArray& acl, qsizetype i)
{
    return quint16(quint8(acl[i]) | quint8(acl[i + 1]) << 8);
}

bool AclGültig(const QByteArray& acl)
{
    return acl.size() >= kAclKopf && (acl.size() - kAclKopf) % kAclEintrag == 0 && AclWort(acl, 0) == 2
           && AclWort(acl, 2) == 0;
}

// The permission (rwx as 0-7) of the entry with `tag`; -1 without one.
int AclRecht(const QByteArray& acl, quint16 tag)
{
    for (qsizetype i = kAclKopf; i + kAclEintrag <= acl.size(); i += kAclEintrag)
        if (AclWort(acl, i) == tag)
            return AclWort(acl, i + 2) & 7;
    return -1;
}

// What the file's own group may do under the ACL: its entry, as far as the
// mask lets it.
int AclGruppenRecht(const QByteArray& acl)
{
    const int gruppe = std::max(AclRecht(acl, kAclGruppe), 0);
    const int maske = AclRecht(acl, kAclMaske);
    return maske < 0 ? gruppe : gruppe & maske;
}

// The ACL for a file in another group, as OhneFremdeGruppe does with the
// bits: the new group nothing, others no more than the old group had.
QByteArray AclOhneFremdeGruppe(QByteArray acl)
{
    const int alt = AclGruppenRecht(acl);
    for (qsizetype i = kAclKopf; i + kAclEintrag <= acl.size(); i += kAclEintrag) {
        const quint16 tag = AclWort(acl, i);
        if (tag == kAclGruppe || tag == kAclAndere) {
            const int recht = tag == kAclGruppe ? 0 : AclWort(acl, i + 2) & 7 & alt;
            acl[i + 2] = char(recht);
            acl[i + 3] = 0;
        }
    }
    return acl;
}

// The value of one extended attribute; false where it cannot be read.
bool AttributLesen(int fd, const QByteArray& pfad, const QByteArray& name, QByteArray& wert)
{
    for (int versuch = 0; versuch < 10; ++versuch) {
        const ssize_t n = fd >= 0 ? ::fgetxattr(fd, name.constData(), nullptr, 0)
                                  : ::getxattr(pfad.constData(), name.constData(), nullptr, 0);
        if (n < 0)
            return false;
        wert.resize(qsizetype(n));
        const ssize_t m = fd >= 0 ? ::fgetxattr(fd, name.constData(), wert.data(), size_t(n))
                                  : ::getxattr(pfad.constData(), name.constData(), wert.data(), size_t(n));
        if (m >= 0) {
            wert.resize(qsizetype(m));
            return true;
        }
        if (errno != ERANGE) // else it grew meanwhile
            return false;
    }
    return false;
}

// Every extended attribute of the file the process may read, from `fd` or,
// without one, from the path (links followed). Those it may not read
// (another's security or trusted ones) are not there for it.
QList<std::pair<QByteArray, QByteArray>> AttributeLesen(int fd, const QByteArray& pfad)
{
    QList<std::pair<QByteArray, QByteArray>> alle;
    QByteArray namen;
    for (int versuch = 0;; ++versuch) {
        const ssize_t n = fd >= 0 ? ::flistxattr(fd, nullptr, 0) : ::listxattr(pfad.constData(), nullptr, 0);
        if (n <= 0 || versuch == 10)
            return alle;
        namen.resize(qsizetype(n));
        const ssize_t m = fd >= 0 ? ::flistxattr(fd, namen.data(), size_t(n)) : ::listxattr(pfad.constData(), namen.data(), size_t(n));
        if (m >= 0) {
            namen.resize(qsizetype(m));
            break;
        }
        if (errno != ERANGE)
            return alle;
    }
    for (const QByteArray& name : namen.split('\0')) {
        QByteArray wert;
        if (!name.isEmpty() && AttributLesen(fd, pfad, name, wert))
            alle.append({name, wert});
    }
    return alle;
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
QString FremderBesitzerText() { return QStringLiteral("Die Datei gehört einem anderen Benutzer."); }

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

SichereDatei::SichereDatei(const QString& ziel, const QString& tempSuffix, bool linksFolgen)
    : m_ziel(linksFolgen ? SymlinkZielAuflösen(ziel) : ziel), m_suffix(tempSuffix), m_temp(TempNameBilden(m_ziel, tempSuffix))
{
}

SichereDatei::~SichereDatei()
{
    if (!m_fertig)
        Verwerfen();
}

void SichereDatei::RechteVon(const struct stat& vorlage, bool besitzerNötig)
{
    m_eigeneVorlage = true;
    m_besitzerNötig = besitzerNötig;
    m_uid = vorlage.st_uid;
    m_gid = vorlage.st_gid;
    m_modus = vorlage.st_mode & 07777;
}

// The bits without the ACL: the group's those of its entry, not the mask's
// that the mode shows under an ACL.
mode_t SichereDatei::grundModus() const
{
    if (m_acl.isEmpty())
        return m_modus;
    return (m_modus & ~mode_t(S_IRWXG)) | mode_t(AclGruppenRecht(m_acl) << 3);
}

void SichereDatei::ZeitenVon(const struct stat& vorlage)
{
    m_zeiten = true;
    m_zeitenWerte[0] = vorlage.st_atim;
    m_zeitenWerte[1] = vorlage.st_mtim;
}

bool SichereDatei::Öffnen()
{
    m_anzahl = 0;
    // A rewrite keeps the target's own; a new file is the process's.
    bool vorlage = m_eigeneVorlage;
    if (!vorlage) {
        struct stat st;
        vorlage = ::stat(QFile::encodeName(m_ziel).constData(), &st) == 0 && S_ISREG(st.st_mode);
        if (vorlage) {
            RechteVon(st, true);
            m_eigeneVorlage = false;
        }
    }
    m_attribute.clear();
    m_acl.clear();
    // A rewrite reads the target's own (through the descriptor it read).
    if (vorlage && (m_attributQuelle >= 0 || !m_eigeneVorlage)) {
        const int quelle = m_attributQuelle >= 0 ? m_attributQuelle : m_original;
        m_attribute = AttributeLesen(quelle, QFile::encodeName(m_ziel));
        for (const auto& [name, wert] : std::as_const(m_attribute))
            if (name == kAcl && AclGültig(wert))
                m_acl = wert;
    }
    // The original's bits from the first byte: its own where the new file
    // starts in its group, else those that open it to no one the original
    // kept out. Exclusive: a name that is taken (a link, a leftover, the
    // user's own file) stays as it is and the next name is tried.
    const mode_t anfang = !vorlage ? 0666
                          : AnfangsGruppe(QFileInfo(m_ziel).absolutePath()) == m_gid ? (grundModus() & 0777)
                                                                                   : (OhneFremdeGruppe(grundModus()) & 0777);
    const int e = TempAnlegen(
        m_ziel, m_suffix,
        [&](const QString& t) {
            m_fd = ::open(QFile::encodeName(t).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, anfang);
            return m_fd < 0 ? errno : 0;
        },
        m_temp);
    if (e != 0) {
        m_fehlerNummer = e;
        m_fehler = SystemfehlerBeschreibung(e);
        return false;
    }
    m_angelegt = true;
    if (vorlage && !rechteSetzen()) {
        Verwerfen();
        return false;
    }
    return true;
}

// Owner and group where the process may set them, else the group alone
// (before the bits, since a change of owner clears set-id bits), then the
// bits; what the file then shows must be what was asked for.
bool SichereDatei::rechteSetzen()
{
    struct stat neu;
    if (::fstat(m_fd, &neu) != 0) {
        systemFehler();
        return false;
    }
    const bool ohneModi = OhneUnixModi(m_fd, m_temp);
    // An ACL handed down by the folder would open the file to others than
    // the original's ACL (or bits) did.
    if (::fgetxattr(m_fd, kAcl, nullptr, 0) >= 0 && ::fremovexattr(m_fd, kAcl) != 0) {
        systemFehler();
        return false;
    }
    int fehler = 0;
    if ((neu.st_uid != m_uid || neu.st_gid != m_gid) && ::fchown(m_fd, m_uid, m_gid) != 0) {
        fehler = errno;
        if (neu.st_gid != m_gid)
            (void)!::fchown(m_fd, uid_t(-1), m_gid);
    }
    if (::fstat(m_fd, &neu) != 0) {
        systemFehler();
        return false;
    }
    if (neu.st_uid != m_uid && m_besitzerNötig && !ohneModi) {
        // Not permitted: another user's file; any other failure is told as it is.
        m_fremderBesitzer = fehler == EPERM || fehler == 0;
        m_fehlerNummer = m_fremderBesitzer ? EPERM : fehler;
        m_fehler = m_fremderBesitzer ? FremderBesitzerText() : SystemfehlerBeschreibung(fehler);
        return false;
    }
    if (!attributeSetzen(neu))
        return false;
    const mode_t soll = neu.st_gid == m_gid ? grundModus() : OhneFremdeGruppe(grundModus());
    if ((neu.st_mode & 07777) != soll && ::fchmod(m_fd, soll) != 0)
        fehler = errno;
    if (::fstat(m_fd, &neu) != 0) {
        systemFehler();
        return false;
    }
    if ((neu.st_mode & 07777) != soll && !ohneModi) {
        m_fehlerNummer = fehler ? fehler : EPERM;
        m_fehler = SystemfehlerBeschreibung(m_fehlerNummer);
        return false;
    }
    return aclSetzen(neu.st_gid == m_gid, soll);
}

// The original's attributes but its ACL (set once the bits are, since a
// chmod changes its mask). A rewrite that cannot set one fails, unless the
// new file has it already (a security label the system gives); a copy goes
// on without it. `neu`: the new file's state, as it is afterwards.
bool SichereDatei::attributeSetzen(struct stat& neu)
{
    const bool umschreiben = !m_eigeneVorlage;
    bool gesetzt = false;
    for (const auto& [name, wert] : std::as_const(m_attribute)) {
        if (name == kAcl)
            continue;
        // A user's attribute needs a file its owner may write (the bits
        // follow after), as `cp -a` does it.
        if (!gesetzt && !(neu.st_mode & S_IWUSR))
            (void)!::fchmod(m_fd, S_IRUSR | S_IWUSR);
        gesetzt = true;
        if (::fsetxattr(m_fd, name.constData(), wert.constData(), size_t(wert.size()), 0) == 0 || !umschreiben)
            continue;
        const int e = errno;
        if (QByteArray da; AttributLesen(m_fd, {}, name, da) && da == wert)
            continue;
        errno = e;
        systemFehler();
        return false;
    }
    if (gesetzt && ::fstat(m_fd, &neu) != 0) {
        systemFehler();
        return false;
    }
    return true;
}

bool SichereDatei::aclSetzen(bool gruppeBehalten, mode_t soll)
{
    const bool umschreiben = !m_eigeneVorlage;
    if (m_acl.isEmpty())
        return true;
    const QByteArray acl = gruppeBehalten ? m_acl : AclOhneFremdeGruppe(m_acl);
    if (::fsetxattr(m_fd, kAcl, acl.constData(), size_t(acl.size()), 0) != 0) {
        if (!umschreiben)
            return true; // the bits above stand for it
        systemFehler();
        return false;
    }
    // Setting the ACL may clear the set-group-id bit; the bits it set stay.
    struct stat neu;
    if (::fstat(m_fd, &neu) != 0) {
        systemFehler();
        return false;
    }
    const mode_t mitAcl = (neu.st_mode & 0777) | (soll & 07000);
    if ((neu.st_mode & 07777) != mitAcl) {
        errno = 0;
        if (::fchmod(m_fd, mitAcl) != 0 || ::fstat(m_fd, &neu) != 0 || (neu.st_mode & 07777) != mitAcl) {
            m_fehlerNummer = errno ? errno : EPERM;
            m_fehler = SystemfehlerBeschreibung(m_fehlerNummer);
            return false;
        }
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
    m_anzahl += länge;
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
    if (!pufferLeeren() || (m_zeiten && ::futimens(m_fd, m_zeitenWerte) != 0) || synchronisieren(m_fd) != 0) {
        if (m_fehler.isEmpty())
            systemFehler();
        Verwerfen();
        return false;
    }
    const QByteArray ziel = QFile::encodeName(m_ziel);
    struct stat geschrieben;
    if (::fstat(m_fd, &geschrieben) != 0) {
        systemFehler();
        Verwerfen();
        return false;
    }
    // Every byte handed over is on the disk, no more and no less.
    if (qint64(geschrieben.st_size) != m_anzahl) {
        m_fehlerNummer = EIO;
        m_fehler = SystemfehlerBeschreibung(EIO);
        Verwerfen();
        return false;
    }
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
    if (m_prüfung) {
        if (const int e = m_prüfung(); e != 0) {
            m_fehlerNummer = e;
            m_fehler = e == EAGAIN ? InBenutzungText() : SystemfehlerBeschreibung(e);
            Verwerfen();
            return false;
        }
    }
    int e = 0;
    if (g_fehlerUmbenennen)
        e = EACCES;
    else if (!m_ersetzen)
        e = UmbenennenOhneErsetzen(m_temp, m_ziel);
    else if (::rename(QFile::encodeName(m_temp).constData(), ziel.constData()) != 0)
        e = errno;
    if (e != 0) {
        m_fehlerNummer = e;
        m_fehler = g_fehlerUmbenennen ? QStringLiteral("Umbenennen fehlgeschlagen") : SystemfehlerBeschreibung(e);
        m_umbenennenFehlgeschlagen = true;
        Verwerfen();
        return false;
    }
    m_angelegt = false;
    // Make the rename itself durable.
    OrdnerSynchronisieren(QFileInfo(m_ziel).absolutePath());
    // FAT through FUSE gives the file the rename's time: the file known from
    // now on is the one its name shows.
    if (::stat(ziel.constData(), &st) == 0) {
        const DateiStand jetzt = DateiStandVon(st);
        if (jetzt.gerät == m_geschrieben.gerät && jetzt.inode == m_geschrieben.inode && jetzt.größe == m_geschrieben.größe)
            m_geschrieben = jetzt;
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

void OrdnerSynchronisieren(const QString& ordner)
{
    const int fd = ::open(QFile::encodeName(ordner.isEmpty() ? QStringLiteral(".") : ordner).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int UmbenennenOhneErsetzen(const QString& von, const QString& nach)
{
    const QByteArray a = QFile::encodeName(von);
    const QByteArray b = QFile::encodeName(nach);
    if (g_vorDemUmbenennen)
        g_vorDemUmbenennen();
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    // A file system without that flag: a hard link refuses an existing name
    // as well; where there are no links, test and rename.
    if (::link(a.constData(), b.constData()) == 0) {
        ::unlink(a.constData());
        return 0;
    }
    if (errno == EEXIST)
        return EEXIST;
    struct stat st;
    if (::lstat(b.constData(), &st) == 0)
        return EEXIST;
    return ::rename(a.constData(), b.constData()) == 0 ? 0 : errno;
}

void DateiKopierenFehlerNachBytes(qint64 bytes) { g_kopierFehlerNach = bytes; }
void VorDemUmbenennenOhneErsetzen(std::function<void()> f) { g_vorDemUmbenennen = std::move(f); }

Kopiervorgang DateiKopieren(const QString& quelle, const QString& ziel, bool ersetzen, bool verschieben)
{
    Kopiervorgang k;
    const auto fehler = [&k](int e, const QString& text = QString()) {
        k.fehler = e;
        k.text = text.isEmpty() ? SystemfehlerBeschreibung(e) : text;
        return k;
    };
    // Only a regular file is copied: a FIFO would block, a device never end.
    struct stat st;
    const int ein = ReguläreDateiÖffnen(quelle, &st);
    if (ein < 0)
        return fehler(errno);
    k.kopiert = DateiStandVon(st);
    struct Schließen {
        int fd;
        ~Schließen() { ::close(fd); }
    } schließen{ein};

    SichereDatei neu(ziel, QStringLiteral("-neu"), false);
    neu.RechteVon(st, verschieben);
    neu.ZeitenVon(st);
    neu.AttributeVon(ein);
    if (!ersetzen)
        neu.OhneErsetzen();
    // Checked before the copy takes a place (it may replace a file); the
    // move checks again before the source goes.
    if (verschieben)
        neu.VorDemUmbenennen([&] {
            struct stat jetzt;
            return ::stat(QFile::encodeName(quelle).constData(), &jetzt) == 0 && DateiStandVon(jetzt) == k.kopiert
                    && !AndererProzessSchreibt(ein)
                ? 0
                : EAGAIN;
        });
    if (!neu.Öffnen()) {
        k.fremderBesitzer = neu.FremderBesitzer();
        return fehler(neu.FehlerNummer(), neu.Fehler());
    }
    qint64 gelesen = 0;
    std::vector<char> puffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(ein, puffer.data(), puffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fehler(errno);
        if (n == 0)
            break;
        if (g_kopierFehlerNach >= 0 && gelesen + n > g_kopierFehlerNach)
            return fehler(ENOSPC);
        if (!neu.Schreiben(puffer.data(), n))
            return fehler(neu.FehlerNummer(), neu.Fehler());
        gelesen += n;
    }
    // A source that grew or changed while it was read gave no true copy.
    if (struct stat danach; gelesen != qint64(st.st_size) || ::fstat(ein, &danach) != 0
                            || DateiStandVon(danach) != k.kopiert)
        return fehler(EAGAIN, InBenutzungText());
    if (!neu.Fertigstellen()) {
        k.umbenennenFehler = neu.UmbenennenFehlgeschlagen();
        return fehler(neu.FehlerNummer(), neu.Fehler());
    }
    return k;
}
