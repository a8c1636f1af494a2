// medieninfo-dump FILE...
// Prints, for each file, the record that MedienInfosLesen fills (all steps
// on, built-in managed types and settings), one JSON object per line with
// every field by its name, so that the reading can be compared with other
// readers. Raw frames are given as hex.

#include "MedienInfoJson.h"

#include "core/Funktionen.h"
#include "media/MedienInfosLesen.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList dateien = app.arguments().mid(1);
    if (dateien.isEmpty()) {
        std::fprintf(stderr, "usage: medieninfo-dump FILE...\n");
        return 2;
    }
    const Index index = StandardIndex();
    for (const QString& datei : dateien) {
        // Only regular files are read (a FIFO or device is refused, never waited on).
        if (QFileInfo::exists(datei) && !DoesExist(datei))
            std::fprintf(stderr, "%s: no regular file, refused\n", QFile::encodeName(datei).constData());
        const MedienInfo m = MedienInfosLesen(index, datei, LeereMedienInfo(), QStringLiteral("11"), false,
                                              QStringLiteral("1"), QStringLiteral("1"));
        std::printf("%s\n", MedienInfoJson(datei, m).toUtf8().constData());
    }
    return 0;
}
