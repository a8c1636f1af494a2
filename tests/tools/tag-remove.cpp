// tag-remove FILE v1|v2
// Removes that tag of FILE with the removal the tag editor uses, reads the
// file again and prints its record as one JSON line. Exit 0 on success, 2
// with the message on stderr.

#include "MedienInfoJson.h"

#include "core/Einstellungen.h"
#include "media/MedienInfosLesen.h"
#include "media/TagSchreiben.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 3 || (a[2] != QLatin1String("v1") && a[2] != QLatin1String("v2"))) {
        std::fprintf(stderr, "usage: tag-remove FILE v1|v2\n");
        return 2;
    }
    const Index index = StandardIndex();
    const QString datei = a[1];
    QString meldung;
    const TagEntfernenErgebnis e = a[2] == QLatin1String("v1") ? TAGEntfernen(datei, meldung) : TAGEntfernenV2(datei, meldung);
    if (e != TagEntfernenErgebnis::Entfernt) {
        std::fprintf(stderr, "%s\n", meldung.toLocal8Bit().constData());
        return 2;
    }
    const MedienInfo m = MedienInfosLesen(index, datei, LeereMedienInfo(), QStringLiteral("11"), false,
                                          QStringLiteral("1"), QStringLiteral("1"));
    std::printf("%s\n", MedienInfoJson(datei, m).toUtf8().constData());
    return 0;
}
