#pragma once
// The start procedure: builds the tables, reads the settings, loads the
// index, prepares and shows the main window. The program then lives on its
// windows' events.

#include <QStringList>

void Main(const QStringList& argumente);
