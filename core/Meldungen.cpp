#include "core/Meldungen.h"

#include <cerrno>
#include <cstdio>
#include <cstring>


Antwort MeldungZeigen(const QString& text, Knöpfe knöpfe, Symbol symbol, QObject* besitzer,
                      std::optional<Antwort> standard)
{
    if (const MeldungsHandler& h = Dienst<MeldungsDienst>())
        return h(Meldung{text, knöpfe, symbol, besitzer, standard});
    std::fprintf(stderr, "Kalvero: %s\n", text.toLocal8Bit().constData());
    if (standard)
        return *standard;
    return (knöpfe == Knöpfe::OK || knöpfe == Knöpfe::OKAbbrechen) ? Antwort::OK : Antwort::Ja;
}

QString FehlerText(const QString& beschreibung, int nummer)
{
    return beschreibung + QStringLiteral(" (Fehler ") + QString::number(nummer) + QLatin1Char(')');
}

QString SystemfehlerBeschreibung(int nummer)
{
    switch (nummer) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr");
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent ist erschöpft");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt");
    case EACCES:
        return QStringLiteral("Zugriff verweigert");
    case EPERM:
        return QStringLiteral("Vorgang nicht erlaubt");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner");
    case EISDIR:
        return QStringLiteral("Der Pfad ist ein Ordner");
    case EEXIST:
        return QStringLiteral("Die Datei existiert bereits");
    case ENOENT:
        return QStringLiteral("Datei oder Ordner nicht gefunden");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß");
    case EMLINK:
        return QStringLiteral("Zu viele Verknüpfungen");
    case ELOOP:
        return QStringLiteral("Zu viele Ebenen symbolischer Verknüpfungen");
    case EBUSY:
        return QStringLiteral("Das Gerät oder die Datei ist belegt");
    case ETXTBSY:
        return QStringLiteral("Die Datei ist belegt");
    case EXDEV:
        return QStringLiteral("Umbenennen über Dateisystemgrenzen hinweg ist nicht möglich");
    case ENOTEMPTY:
        return QStringLiteral("Der Ordner ist nicht leer");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele geöffnete Dateien");
    case ESTALE:
        return QStringLiteral("Die Verbindung zum Netzlaufwerk ist veraltet");
    case ENOTCONN:
        return QStringLiteral("Das Laufwerk ist nicht verbunden");
    case ETIMEDOUT:
        return QStringLiteral("Zeitüberschreitung beim Zugriff");
    case ENODEV:
    case ENXIO:
        return QStringLiteral("Das Gerät ist nicht vorhanden");
    default:
        return QString::fromLocal8Bit(std::strerror(nummer));
    }
}
