#include "library/Dateihelfer.h"

#include <QFile>
#include <QFileInfo>

bool DateiLöschen(const QString& strDatei)
{
    if (strDatei.isEmpty())
        return true;
    QFileInfo info(strDatei);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir())
        return false;
    QFile f(strDatei);
    f.setPermissions(f.permissions() | QFileDevice::WriteOwner);
    f.remove();
    return !QFileInfo::exists(strDatei) && !QFileInfo(strDatei).isSymLink();
}

bool IstOrdner(const QString& pfad)
{
    return !pfad.isEmpty() && QFileInfo(pfad).isDir();
}
