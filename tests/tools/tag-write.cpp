// tag-write FILE v1|v2|both FIELD=VALUE...
// Reads FILE's record, sets the named record fields (the record's own names,
// e.g. Mp3_ID3v2_Titel=..., Mp3_ID3v1_Musikrichtung=17 as the genre byte),
// saves the chosen tags with the writers the tag editor uses ("both" as one
// save, nothing written when either tag is refused), reads the file
// again and prints the new record as one JSON line. Exit 0 on success, 2
// with the failure message on stderr (also when the reading failed in any
// step or the file changed between the reading and the write).

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
    const QString art = a.size() > 2 ? a[2] : QString();
    if (a.size() < 3 || (art != QLatin1String("v1") && art != QLatin1String("v2") && art != QLatin1String("both"))) {
        std::fprintf(stderr, "usage: tag-write FILE v1|v2|both FIELD=VALUE...\n");
        return 2;
    }
    const Index index = StandardIndex();
    const QString datei = a[1];
    const auto lesen = [&](const MedienInfo& alt, MedienLesung* lesung) {
        return MedienInfosLesen(index, datei, alt, QStringLiteral("11"), false, QStringLiteral("1"), QStringLiteral("1"), lesung);
    };
    // The write goes only into the file as this reading saw it.
    MedienLesung gelesen;
    MedienInfo m = lesen(LeereMedienInfo(), &gelesen);
    for (const QString& zuweisung : a.mid(3)) {
        if (!MedienInfoFeldSetzen(m, zuweisung)) {
            std::fprintf(stderr, "unknown field or bad value: %s\n", zuweisung.toLocal8Bit().constData());
            return 2;
        }
    }
    QString fehler;
    const bool ok = art == QLatin1String("v1")   ? Mp3TAGSpeichernV1(datei, TagV1TextZurückgeben(m), fehler, &gelesen)
                  : art == QLatin1String("v2") ? Mp3TAGSpeichernV2(datei, m, fehler, &gelesen)
                                               : Mp3TAGSpeichernBeide(datei, m, TagV1TextZurückgeben(m), fehler, &gelesen);
    if (!ok) {
        std::fprintf(stderr, "%s\n", fehler.toLocal8Bit().constData());
        return 2;
    }
    std::printf("%s\n", MedienInfoJson(datei, lesen(m, nullptr)).toUtf8().constData());
    return 0;
}
