#include "platform/Registry.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

std::unique_ptr<QSettings>& speicherZeiger()
{
    static std::unique_ptr<QSettings> s;
    return s;
}

} // namespace

namespace Registry {

void DateiSetzen(const QString& iniPfad)
{
    auto& s = speicherZeiger();
    if (s)
        s->sync();
    // The user's own file: ~/.config/Kalvero/Kalvero.conf, in INI form.
    const QString pfad = iniPfad.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Kalvero/Kalvero.conf")
        : iniPfad;
    s = std::make_unique<QSettings>(pfad, QSettings::IniFormat);
}

QSettings& Speicher()
{
    auto& s = speicherZeiger();
    if (!s)
        DateiSetzen(QString());
    return *s;
}

bool ValueLesen(const QString& name, QVariant& wert)
{
    QSettings& s = Speicher();
    if (!s.contains(name))
        return false;
    wert = s.value(name);
    return true;
}

bool ValueSchreiben(const QString& name, const QVariant& wert)
{
    QSettings& s = Speicher();
    s.setValue(name, wert);
    return s.status() == QSettings::NoError;
}

bool ValueLöschen(const QString& name)
{
    QSettings& s = Speicher();
    if (!s.contains(name))
        return false;
    s.remove(name);
    return true;
}

bool ValueExistiert(const QString& name)
{
    return Speicher().contains(name);
}

bool Synchronisieren()
{
    QSettings& s = Speicher();
    s.sync();
    return s.status() == QSettings::NoError;
}

} // namespace Registry
