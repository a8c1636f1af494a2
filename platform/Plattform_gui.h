#pragma once
// Installs the desktop's message boxes and document opener for the logic.

class QWidget;
class QString;

void PlattformFensterEinrichten();

// The folder picker: the chosen folder, or "" when cancelled.
QString OrdnerDialogZeigen(const QString& titel);
