#include "platform/Laufwerke.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>
#include <fcntl.h>
#include <climits>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace Laufwerke {

namespace {

struct Einhängung {
    dev_t gerät = 0;
    QString punkt;
    QString typ;
    QString quelle;
};

// The mount table and what was learnt from it; both dropped as soon as the
// kernel reports a change of the table (a medium put in or taken out).
struct Tabelle {
    int fd = -1;
    bool geladen = false;
    std::vector<Einhängung> liste;
    QHash<dev_t, Medium> nachGerät;
    QHash<QString, Medium> nachWurzel;
};

Tabelle& tabelle()
{
    static Tabelle t;
    return t;
}

void Laden(Tabelle& t)
{
    t.liste.clear();
    t.nachGerät.clear();
    t.nachWurzel.clear();
    QByteArray text;
    if (t.fd >= 0 && ::lseek(t.fd, 0, SEEK_SET) == 0) {
        char puffer[16384];
        for (;;) {
            const ssize_t r = ::read(t.fd, puffer, sizeof puffer);
            if (r <= 0)
                break;
            text.append(puffer, r);
        }
    }
    for (const QByteArray& zeile : text.split('\n')) {
        const QList<QByteArray> f = zeile.split(' ');
        const qsizetype trenner = f.indexOf(QByteArray("-"));
        if (f.size() < 5 || trenner < 6 || trenner + 2 >= f.size())
            continue;
        const QList<QByteArray> nummern = f[2].split(':');
        if (nummern.size() != 2)
            continue;
        Einhängung e;
        e.gerät = makedev(nummern[0].toUInt(), nummern[1].toUInt());
        e.punkt = MountpunktEntschlüsseln(f[4]);
        e.typ = QString::fromUtf8(f[trenner + 1]);
        e.quelle = MountpunktEntschlüsseln(f[trenner + 2]);
        t.liste.push_back(std::move(e));
    }
}

void Auffrischen()
{
    Tabelle& t = tabelle();
    if (!t.geladen) {
        t.fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        t.geladen = true;
        Laden(t);
        return;
    }
    if (t.fd < 0)
        return;
    pollfd p{t.fd, POLLPRI, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLPRI)))
        Laden(t);
}

bool Unter(const QString& pfad, const QString& wurzel)
{
    if (wurzel == QLatin1String("/"))
        return pfad.startsWith(QLatin1Char('/'));
    return pfad == wurzel || (pfad.startsWith(wurzel) && pfad.at(wurzel.size()) == QLatin1Char('/'));
}

// The mount that holds the path: the longest mount point above it; of
// mounts on the same point the later one covers the earlier.
const Einhängung* EinhängungSuchen(const QString& pfad)
{
    const Einhängung* beste = nullptr;
    for (const Einhängung& e : tabelle().liste)
        if (Unter(pfad, e.punkt) && (!beste || e.punkt.size() >= beste->punkt.size()))
            beste = &e;
    return beste;
}

Medium MediumVon(const Einhängung& e)
{
    Medium m;
    m.wurzel = e.punkt;
    m.wechsel = IstOptischOderEntfernt(e.typ)
             || (e.quelle.startsWith(QLatin1String("/dev/")) && BlockGerätWechselbar(e.quelle, QStringLiteral("/sys/class/block")));
    if (m.wechsel)
        m.name = QStorageInfo(e.punkt).name();
    return m;
}

bool LeerOderFehlt(const QString& ordner)
{
    QDir d(ordner);
    return !d.exists() || d.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// The path as the system would reach it: the links of its longest existing
// part followed (a link whose target is missing leads to that target as
// written), "." and ".." taken as the system takes them; the part after the
// first missing name stays as written.
QString VerknüpfungenAuflösen(const QString& pfad)
{
    constexpr int kSprüngeMax = 40; // as the kernel allows
    QStringList rest = pfad.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString fertig;
    bool vorhanden = true;
    int sprünge = 0;
    while (!rest.isEmpty()) {
        const QString teil = rest.takeFirst();
        if (teil == QLatin1String("."))
            continue;
        if (teil == QLatin1String("..")) {
            fertig.truncate(std::max<qsizetype>(fertig.lastIndexOf(QLatin1Char('/')), 0));
            continue;
        }
        const QString nächster = fertig + QLatin1Char('/') + teil;
        struct stat st;
        if (vorhanden && ::lstat(QFile::encodeName(nächster).constData(), &st) != 0)
            vorhanden = false;
        if (vorhanden && S_ISLNK(st.st_mode)) {
            char ziel[PATH_MAX];
            const ssize_t n = ::readlink(QFile::encodeName(nächster).constData(), ziel, sizeof ziel);
            if (n > 0 && size_t(n) < sizeof ziel && ++sprünge <= kSprüngeMax) {
                const QString zielText = QFile::decodeName(QByteArray(ziel, n));
                rest = zielText.split(QLatin1Char('/'), Qt::SkipEmptyParts) + rest;
                if (zielText.startsWith(QLatin1Char('/')))
                    fertig.clear();
                continue;
            }
            vorhanden = false; // a loop or an unreadable link: taken as written
        }
        fertig = nächster;
    }
    return fertig.isEmpty() ? QStringLiteral("/") : fertig;
}

QString DateiInhalt(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.read(64)).trimmed();
}

} // namespace

QString MountpunktEntschlüsseln(const QByteArray& feld)
{
    QByteArray aus;
    aus.reserve(feld.size());
    for (qsizetype i = 0; i < feld.size(); ++i) {
        if (feld[i] == '\\' && i + 3 < feld.size()) {
            const QByteArray oktal = feld.mid(i + 1, 3);
            bool ok = false;
            const int wert = oktal.toInt(&ok, 8);
            if (ok && oktal.size() == 3) {
                aus.append(char(wert));
                i += 3;
                continue;
            }
        }
        aus.append(feld[i]);
    }
    return QString::fromUtf8(aus);
}

bool IstOptischOderEntfernt(const QString& typ)
{
    static const QStringList typen = {QStringLiteral("iso9660"), QStringLiteral("udf"), QStringLiteral("nfs"),
                                      QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb3"),
                                      QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs")};
    return typen.contains(typ);
}

bool KontoVorhanden(const QString& name)
{
    // Asked once per name: the answer goes through the system's user database.
    static QHash<QString, bool> bekannt;
    const auto it = bekannt.constFind(name);
    if (it != bekannt.constEnd())
        return *it;
    return *bekannt.insert(name, !name.isEmpty() && ::getpwnam(QFile::encodeName(name).constData()) != nullptr);
}

QString WechselWurzelNachRegel(const QString& pfad, const std::function<bool(const QString&)>& istKonto)
{
    const QStringList teile = QDir::cleanPath(pfad).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!pfad.startsWith(QLatin1Char('/')) || teile.size() < 2)
        return QString();
    const auto wurzel = [&](int n) { return QLatin1Char('/') + teile.mid(0, n).join(QLatin1Char('/')); };
    if (teile[0] == QLatin1String("run") && teile[1] == QLatin1String("media"))
        return teile.size() >= 4 ? wurzel(4) : QString();
    if (teile[0] == QLatin1String("media")) {
        // A desktop mounts below the folder of the account it runs for,
        // whoever runs this program.
        if (istKonto(teile[1]))
            return teile.size() >= 3 ? wurzel(3) : QString();
        return wurzel(2);
    }
    if (teile[0] == QLatin1String("mnt"))
        return wurzel(2);
    return QString();
}

bool BlockGerätWechselbar(const QString& gerät, const QString& sysBlock)
{
    const QString echt = QFileInfo(gerät).canonicalFilePath();
    const QString name = QFileInfo(echt.isEmpty() ? gerät : echt).fileName();
    if (name.isEmpty())
        return false;
    const QString eintrag = sysBlock + QLatin1Char('/') + name;
    QString wert = DateiInhalt(eintrag + QStringLiteral("/removable"));
    if (wert.isEmpty()) {
        // A partition: its disk is the folder above it.
        const QString ort = QFileInfo(eintrag).canonicalFilePath();
        if (!ort.isEmpty())
            wert = DateiInhalt(QFileInfo(ort).absolutePath() + QStringLiteral("/removable"));
    }
    return wert == QLatin1String("1");
}

Medium MediumZurückgeben(const QString& rohPfad)
{
    if (!rohPfad.startsWith(QLatin1Char('/'))) {
        Medium m;
        m.eingehängt = false;
        return m;
    }
    // An entry reached through a link lies on the medium the link leads to.
    const QString pfad = VerknüpfungenAuflösen(rohPfad);
    Auffrischen();
    const Einhängung* e = EinhängungSuchen(pfad);
    const QString regel = WechselWurzelNachRegel(pfad);
    if (!regel.isEmpty() && (!e || e->punkt.size() < regel.size()) && LeerOderFehlt(regel)) {
        Medium m;
        m.wurzel = regel;
        m.wechsel = true;
        m.eingehängt = false;
        return m;
    }
    if (!e) {
        Medium m;
        m.wurzel = QStringLiteral("/");
        return m;
    }
    Tabelle& t = tabelle();
    const auto it = t.nachWurzel.constFind(e->punkt);
    if (it != t.nachWurzel.constEnd())
        return *it;
    return *t.nachWurzel.insert(e->punkt, MediumVon(*e));
}

Medium MediumVonGerät(dev_t gerät, const QString& pfad)
{
    Auffrischen();
    Tabelle& t = tabelle();
    const auto it = t.nachGerät.constFind(gerät);
    if (it != t.nachGerät.constEnd())
        return *it;
    const Einhängung* gefunden = nullptr;
    for (const Einhängung& e : t.liste)
        if (e.gerät == gerät && (!gefunden || Unter(pfad, e.punkt)))
            gefunden = &e;
    // A device the table does not name (a btrfs subvolume): go by the path.
    const Medium m = gefunden ? MediumVon(*gefunden) : MediumZurückgeben(pfad);
    if (gefunden)
        t.nachGerät.insert(gerät, m);
    return m;
}

} // namespace Laufwerke
