#include "core/Einstellungen.h"

#include "core/Standardwerte.h"
#include "platform/Registry.h"

#include <QStandardPaths>
#include <limits>

bool EinstellungenRücksetzenAktiv = false;

namespace {

const QString kAusschluss = QStringLiteral("AutoTagAusschluß");
const QString kFormate = QStringLiteral("AutoTagFormate");

// The default text of a value: colour defaults come from profile 1.
QString standardText(const char* def)
{
    const QString d = QString::fromUtf8(def);
    if (!d.startsWith(QLatin1String("FARBE")))
        return d;
    const int n = d.mid(5).toInt();
    const FarbProfil& p = standardwerte().FarbProfile[1];
    return QString::number(n < 7 ? p.Farben[n] : p.Unterstreichen);
}

// A stored value of another type than the setting's falls back to the default.
bool zahlLesen(const QVariant& v, qint64 min, qint64 max, qint64& aus)
{
    bool ok = false;
    const qint64 z = v.toString().trimmed().toLongLong(&ok);
    if (!ok || z < min || z > max)
        return false;
    aus = z;
    return true;
}

void wertLesen(int& ziel, const QString& name, const QString& def, qint64 min, qint64 max)
{
    QVariant v;
    qint64 z = 0;
    if (!EinstellungenRücksetzenAktiv && Registry::ValueLesen(name, v) && zahlLesen(v, min, max, z))
        ziel = int(z);
    else
        ziel = def.toInt();
}

void lesen(char kind, int& ziel, const QString& name, const QString& def)
{
    if (kind == 'I')
        wertLesen(ziel, name, def, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    else
        wertLesen(ziel, name, def, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
}

void lesen(char, QString& ziel, const QString& name, const QString& def)
{
    QVariant v;
    if (EinstellungenRücksetzenAktiv || !Registry::ValueLesen(name, v)) {
        ziel = def;
        return;
    }
    // An unquoted text with commas comes back from an INI file as a list.
    if (v.typeId() == QMetaType::QStringList)
        ziel = v.toStringList().join(QLatin1Char(','));
    else
        ziel = v.toString();
}

// Reads "<basis>1", "<basis>2", ... until the first missing number.
QStringList listeLesen(const QString& basis)
{
    QStringList liste;
    for (int n = 1;; ++n) {
        QVariant v;
        if (!Registry::ValueLesen(basis + QString::number(n), v))
            break;
        liste << (v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString());
    }
    return liste;
}

// Writes the entries and deletes numbered values beyond them, up to the first gap.
void listeSpeichern(const QString& basis, const QStringList& liste, int leer)
{
    int n = 1;
    if (leer != 1) {
        for (const QString& s : liste)
            Registry::ValueSchreiben(basis + QString::number(n++), s);
    }
    while (Registry::ValueLöschen(basis + QString::number(n)))
        ++n;
}

} // namespace

Einstellungen& einstellungen()
{
    static Einstellungen e = StandardEinstellungen();
    return e;
}

Einstellungen StandardEinstellungen()
{
    Einstellungen e;
    const bool alt = EinstellungenRücksetzenAktiv;
    EinstellungenRücksetzenAktiv = true;
#define X(kind, name, def) lesen(#kind[0], e.name, QStringLiteral(#name), standardText(def));
    KALVERO_EINSTELLUNGEN(X)
#undef X
    EinstellungenRücksetzenAktiv = alt;
    e.AutoTagAusschlußLeer = 1;
    e.AutoTagFormate = standardwerte().strAutoTagStandardFormate;
    e.AutoTagLeer = 0;
    return e;
}

void EinstellungenLesen(Einstellungen& e)
{
    const QString dateiname = e.Dateiname;
#define X(kind, name, def) lesen(#kind[0], e.name, QStringLiteral(#name), standardText(def));
    KALVERO_EINSTELLUNGEN(X)
#undef X
    if (EinstellungenRücksetzenAktiv)
        e.Dateiname = dateiname; // a reset keeps the index file in use

    if (e.Start == 0)
        e.WinampPfad = WinampPfadErmitteln();
    if (e.Mp3TagLesen.isEmpty())
        e.Mp3TagLesen = QStringLiteral("101");
    else if (e.Mp3TagLesen.size() == 1)
        e.Mp3TagLesen += QStringLiteral("01");

    e.AutoTagAusschluß.clear();
    if (!EinstellungenRücksetzenAktiv && e.AutoTagAusschlußLeer == 0) {
        e.AutoTagAusschluß = listeLesen(kAusschluss);
        e.AutoTagAusschlußLeer = e.AutoTagAusschluß.isEmpty() ? 1 : 0;
    } else if (EinstellungenRücksetzenAktiv || e.AutoTagAusschlußLeer != 1) {
        e.AutoTagAusschlußLeer = 1;
    }

    e.AutoTagFormate.clear();
    if (!EinstellungenRücksetzenAktiv && e.AutoTagLeer == 0) {
        e.AutoTagFormate = listeLesen(kFormate);
        e.AutoTagLeer = e.AutoTagFormate.isEmpty() ? 1 : 0;
    } else if (EinstellungenRücksetzenAktiv || e.AutoTagLeer != 1) {
        e.AutoTagFormate = standardwerte().strAutoTagStandardFormate;
        e.AutoTagLeer = 0;
    }
}

void EinstellungenSpeichern(const Einstellungen& e)
{
#define X(kind, name, def) Registry::ValueSchreiben(QStringLiteral(#name), QVariant(e.name));
    KALVERO_EINSTELLUNGEN(X)
#undef X
    listeSpeichern(kAusschluss, e.AutoTagAusschluß, e.AutoTagAusschlußLeer);
    listeSpeichern(kFormate, e.AutoTagFormate, e.AutoTagLeer);
    Registry::Synchronisieren();
}

QString WinampPfadErmitteln()
{
    for (const char* name : {"audacious", "vlc"}) {
        const QString pfad = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!pfad.isEmpty())
            return pfad;
    }
    return QString();
}
