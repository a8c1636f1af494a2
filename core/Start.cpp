#include "core/Start.h"

#include <QFileInfo>
#include <QUrl>

std::optional<QString> BefehlszeileAuswerten(const QString& befehlszeile)
{
    QString s = befehlszeile;
    if (s.isEmpty())
        return std::nullopt;
    if (s.size() >= 2 && s.front() == QLatin1Char('"') && s.back() == QLatin1Char('"'))
        s = s.mid(1, s.size() - 2);
    else if (s == QLatin1String("\""))
        return std::nullopt;
    if (s.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) {
        const QUrl url(s);
        if (url.isLocalFile())
            s = url.toLocalFile();
    }
    if (s.isEmpty())
        return std::nullopt;
    // A name relative to the folder the program was started from is stored
    // as the whole path, so that the next start finds the same file.
    return QFileInfo(s).absoluteFilePath();
}

QString BefehlszeileAusArgumenten(const QStringList& argumente)
{
    return argumente.mid(1).join(QLatin1Char(' '));
}

int LautstärkeBegrenzen(int v) { return (v < 0 || v > 255) ? 128 : v; }
int BalanceBegrenzen(int b) { return (b < -128 || b > 128) ? 0 : b; }

Platzierung FensterPlatzierungBerechnen(int start, const QString& versionText, QRect gespeichert,
                                       int fensterMax, QRect entwurf, QSize bildschirm)
{
    Platzierung p{Platzierung::Art::Entwurf, entwurf, fensterMax == 1};
    if (QString::number(start) != versionText) {
        p.art = Platzierung::Art::Zentriert;
        const double left = bildschirm.width() / 2.0 - entwurf.width() / 2.0;
        const double top = bildschirm.height() / 2.0 - entwurf.height() / 2.0;
        p.rechteck = QRect(int(left), int(top), entwurf.width(), entwurf.height());
    } else if (gespeichert.width() != 0 && gespeichert.height() != 0) {
        p.art = Platzierung::Art::Gespeichert;
        p.rechteck = gespeichert;
    }
    return p;
}

int NächsterTipp(int aktuell, int anzahlTipps)
{
    if (aktuell == 0)
        return 0;
    if (aktuell < 0 || aktuell >= anzahlTipps)
        return 1;
    return aktuell + 1;
}
