#pragma once
// Qt's own dialogs and buttons in German.

class QCoreApplication;

// Installs Qt's German translation (qtbase) on the application. False when
// none is installed on this system: Qt's texts then stay English.
bool QtÜbersetzungLaden(QCoreApplication& app);
