// datenordner
// Prints where the program, were it at this tool's place, finds its shipped
// data and keeps its own files: "daten=FOLDER" and "programm=FOLDER", one a
// line. Exit status 0.

#include "core/Funktionen.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // As the program names itself: its own files' folder follows from it.
    QCoreApplication::setApplicationName(QStringLiteral("Kalvero"));
    QCoreApplication::setOrganizationName(QStringLiteral("Kalvero"));
    std::printf("daten=%s\nprogramm=%s\n", DatenOrdner().toLocal8Bit().constData(),
                ProgrammOrdner().toLocal8Bit().constData());
    return 0;
}
