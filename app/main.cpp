#include "app/Main_gui.h"
#include "app/Uebersetzung_gui.h"
#include "platform/Stil_gui.h"
#include "player/Abspielen.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvero"));
    QApplication::setOrganizationName(QStringLiteral("Kalvero"));
    // The program lives in its main window and the tray; closing a dialog
    // never ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    QtÜbersetzungLaden(app);
    ProgrammstilSetzen();
    Main(app.arguments());
    // An end from outside may come while start-up still waits in a window.
    const int ergebnis = ProgrammBeendet() ? 0 : app.exec();
    // Playlists handed to the player before the last one are of no use now.
    AltePlaylistsEntfernen();
    return ergebnis;
}
