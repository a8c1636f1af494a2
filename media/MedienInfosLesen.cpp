#include "media/MedienInfosLesen.h"

#include <QFileInfo>

// Placeholder until the tag and header readers exist: file data only.
MedienInfo MedienInfosLesen(const Index&, const QString& strDatei, const MedienInfo& udtAlt,
                            const QString&, bool, const QString&, const QString& strDateiInfosLesen)
{
    MedienInfo m = udtAlt;
    const QFileInfo info(strDatei);
    if (strDateiInfosLesen == QLatin1String("1"))
        m.Datei_Größe = info.exists() ? info.size() : -1;
    if (m.Datei_HinzugefügtAm.isEmpty())
        m.Datei_HinzugefügtAm = (info.exists() ? info.lastModified().date() : QDate::currentDate())
                                    .toString(QStringLiteral("dd.MM.yyyy"));
    return m;
}
