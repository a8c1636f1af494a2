#include "app/Main_gui.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvero"));
    QApplication::setOrganizationName(QStringLiteral("Kalvero"));
    // The program lives in its main window and the tray; closing a dialog
    // never ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    Main(app.arguments());
    return app.exec();
}
