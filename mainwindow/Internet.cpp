#include "mainwindow/Internet.h"

#include "core/Funktionen.h"
#include "core/Meldungen.h"

#include <QFile>

namespace {
void byteAnhängen(QString& ziel, unsigned char b)
{
    static const char ziffern[] = "0123456789ABCDEF";
    ziel += QLatin1Char('%');
    ziel += QLatin1Char(ziffern[b >> 4]);
    ziel += QLatin1Char(ziffern[b & 0x0F]);
}

void adressdateiMeldung(const QString& datei, const QString& grund)
{
    MeldungZeigen(QStringLiteral("Die Adressdatei '") + datei + QStringLiteral("' kann nicht geladen werden, da ")
                      + grund
                      + QStringLiteral("\nDiese wird zur Anzeige der gewünschten Informationen benötigt. Bitte "
                                       "installieren Sie die Datei erneut."),
                  Knöpfe::OK, Symbol::Information);
}
} // namespace

QString InternetFormat(const QString& text)
{
    QString ergebnis;
    ergebnis.reserve(text.size() * 3);
    const QByteArray utf8 = text.toUtf8();
    for (const char z : utf8) {
        const auto b = static_cast<unsigned char>(z);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
            ergebnis += QLatin1Char(char(b));
        else
            byteAnhängen(ergebnis, b);
    }
    return ergebnis;
}

bool InternetAdressenLaden(const QString& strDatei, QStringList& strAdressen, QStringList& strNamen)
{
    strAdressen.clear();
    strNamen.clear();
    int unerreichbar = 0;
    if (DateiExistenz(strDatei, nullptr, &unerreichbar) != Existenz::Vorhanden) {
        adressdateiMeldung(strDatei, unerreichbar ? QStringLiteral("diese nicht gelesen werden kann: ")
                                                        + FehlerText(SystemfehlerBeschreibung(unerreichbar), unerreichbar)
                                                        + QLatin1Char('.')
                                                  : QStringLiteral("diese nicht existiert."));
        return false;
    }
    QFile datei(strDatei);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    QString inhalt = QString::fromUtf8(datei.readAll());
    if (inhalt.isEmpty())
        return false; // nothing to read is no wrong format
    if (inhalt.startsWith(QChar(0xFEFF)))
        inhalt.remove(0, 1);
    inhalt.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    inhalt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList zeilen = inhalt.split(QLatin1Char('\n'));
    const QString kopf = QStringLiteral("InetURLs100");
    if (zeilen.first().size() != kopf.size() || zeilen.first().compare(kopf, Qt::CaseInsensitive) != 0) {
        adressdateiMeldung(strDatei, QStringLiteral("ihr Format nicht korrekt ist."));
        return false;
    }
    QStringList adressen, namen;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QString& zeile = zeilen.at(i);
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char('\'')))
            continue;
        if (zeile.startsWith(QLatin1Char('#'))) {
            namen.append(zeile.mid(1));
            adressen.append(QString());
        } else if (namen.isEmpty()) {
            return false; // an address that belongs to no service
        } else {
            adressen.last() = zeile;
        }
    }
    if (namen.isEmpty())
        return false;
    strAdressen = adressen;
    strNamen = namen;
    return true;
}

QString InternetSuchAdresse(const QString& vorlage, const QString& suche)
{
    return TextErsetzen(vorlage, QStringLiteral("%Suche%"), InternetFormat(suche));
}
