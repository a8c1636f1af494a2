#pragma once
// The program's settings key: QSettings in INI form, user scope,
// organisation and application "Kalvero". Value names are the registry's.

#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

namespace Registry {

// Redirects the settings to an INI file of the caller's (tests); "" restores
// the user's own settings file.
void DateiSetzen(const QString& iniPfad);

// The settings store currently in use.
QSettings& Speicher();

// Reads one value; false when it is missing.
bool ValueLesen(const QString& name, QVariant& wert);
bool ValueSchreiben(const QString& name, const QVariant& wert);
bool ValueLöschen(const QString& name);
bool ValueExistiert(const QString& name);
// Writes pending changes to disk; false when the store cannot be written.
bool Synchronisieren();

} // namespace Registry
