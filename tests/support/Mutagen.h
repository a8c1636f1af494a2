#pragma once
// mutagen (python3), the independent reader and maker of tags the tests
// compare with.

#include <QString>
#include <QStringList>

namespace testhilfe {

// A python3 that has mutagen (the one on PATH may be another than the
// system's); empty when there is none.
QString MutagenPython();

// Runs a script with its arguments; its output, one line per argument.
QStringList Python(const QString& python, const char* skript, const QStringList& argumente);

} // namespace testhilfe
