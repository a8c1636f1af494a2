#include "library/Dateikennung.h"

#include <QFile>
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
