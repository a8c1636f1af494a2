#include "library/Dateikennung.h"

#include "core/Funktionen.h"

#include <QFile>
#include <QHash>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

DateiKennung DateiKennungAus(const struct stat& st)
{
    DateiKennung k;
    k.gerät = quint64(st.st_dev);
    k.inode = quint64(st.st_ino);
    k.verweise = quint64(st.st_nlink);
    k.ordner = S_ISDIR(st.st_mode);
    k.größe = qint64(st.st_size);
    return k;
}

std::optional<DateiKennung> DateiKennungLesen(const QString& pfad)
{
    if (pfad.isEmpty())
        return std::nullopt;
    struct stat st;
    if (::stat(QFile::encodeName(pfad).constData(), &st) != 0)
        return std::nullopt;
    return DateiKennungAus(st);
}

bool GleicheDatei(const QString& a, const QString& b)
{
    const auto ka = DateiKennungLesen(a);
    if (!ka)
        return false;
    const auto kb = DateiKennungLesen(b);
    return kb && ka->GleicheDatei(*kb);
}

QStringList NamenOhneSchreibweise(const QString& ordner, const QString& name)
{
    QStringList namen;
    DIR* d = ::opendir(QFile::encodeName(ordner.isEmpty() ? QStringLiteral("/") : ordner).constData());
    if (!d)
        return namen;
    while (const dirent* e = ::readdir(d)) {
        const QString n = QFile::decodeName(e->d_name);
        if (TextGleich(n, name))
            namen << n;
    }
    ::closedir(d);
    return namen;
}

namespace {
bool GleicherOrdner(const QString& a, const QString& b)
{
    return a == b || GleicheDatei(a, b) || GleicherEintrag(a, b);
}
} // namespace

bool GleicherEintrag(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    if (!TextGleich(a, b) || !GleicherOrdner(PfadZurückgeben(a), PfadZurückgeben(b)))
        return false;
    const QString name = DateinameZurückgeben(a);
    if (name == DateinameZurückgeben(b))
        return true;
    struct stat sa, sb;
    if (::lstat(QFile::encodeName(a).constData(), &sa) != 0 || ::lstat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    if (sa.st_dev != sb.st_dev || (sa.st_mode & S_IFMT) != (sb.st_mode & S_IFMT) || sa.st_size != sb.st_size)
        return false;
    // Two entries that differ in case only would both be listed here.
    return NamenOhneSchreibweise(PfadZurückgeben(a), name).size() == 1;
}

bool SchreibweiseEgal(const QString& pfad, quint64 gerät)
{
    // One thread asks; a device is asked once.
    static QHash<quint64, bool> bekannt;
    if (const auto it = bekannt.constFind(gerät); it != bekannt.cend())
        return *it;
    const QString name = DateinameZurückgeben(pfad);
    QString anders = name;
    for (QChar& c : anders)
        c = c.isLower() ? c.toUpper() : c.toLower();
    const QString ordner = PfadZurückgeben(pfad);
    struct stat o, st;
    // A name without letters tells nothing; a mount point's name lies on the medium above.
    if (anders == name || ::lstat(QFile::encodeName(ordner.isEmpty() ? QStringLiteral("/") : ordner).constData(), &o) != 0
        || quint64(o.st_dev) != gerät)
        return false;
    const QString anderer = PfadVerbinden(ordner, anders);
    bool egal = false;
    if (::lstat(QFile::encodeName(anderer).constData(), &st) == 0)
        egal = quint64(st.st_dev) == gerät && GleicherEintrag(pfad, anderer);
    else if (errno != ENOENT)
        return false;
    bekannt.insert(gerät, egal);
    return egal;
}

QString WieGeschrieben(const QString& pfad, quint64 gerät)
{
    QStringList teile = pfad.split(QChar(kPfadTrenner));
    // From the name upwards, as long as the folder that holds the name lies on the device.
    for (qsizetype i = teile.size() - 1; i >= 1; --i) {
        const QString ordner = QStringList(teile.mid(0, i)).join(QChar(kPfadTrenner));
        struct stat st;
        if (::lstat(QFile::encodeName(ordner.isEmpty() ? QStringLiteral("/") : ordner).constData(), &st) != 0
            || quint64(st.st_dev) != gerät)
            break;
        if (teile[i].isEmpty() || teile[i] == QLatin1String(".") || teile[i] == QLatin1String(".."))
            continue;
        const QStringList namen = NamenOhneSchreibweise(ordner, teile[i]);
        if (namen.size() == 1)
            teile[i] = namen.first();
    }
    return teile.join(QChar(kPfadTrenner));
}
