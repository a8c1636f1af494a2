#pragma once
// mutagen (python3) as an independent reader and maker of tags in tests.

#include <QString>
#include <QStringList>

// A python3 that has mutagen (the one on PATH may be another than the
// system's); empty when there is none.
QString MutagenPython();

// Runs a script with its arguments; its output, one line per argument.
QStringList Python(const QString& python, const char* skript, const QStringList& argumente);
