#pragma once
// The desktop's standard dialogs as the windows use them.

#include <QString>

// The folder picker: the chosen folder, or "" when cancelled.
QString OrdnerDialogZeigen(const QString& titel);
