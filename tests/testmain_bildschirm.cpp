#include "platform/Stil_gui.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The windows' tests on a screen of the size every window must fit: the
// offscreen platform with one screen of 1280x800 (its default is 800x800,
// and Qt sizes a new window by the screen it opens on), in the program's style.
int main(int argc, char** argv)
{
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("bildschirm.json"));
    QFile f(datei);
    if (!f.open(QIODevice::WriteOnly)
        || f.write(R"({"screens": [{"name": "Bildschirm", "x": 0, "y": 0, "width": 1280, "height": 800,)"
                   R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
            < 0)
        return 2;
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + datei.toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ProgrammstilSetzen();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
