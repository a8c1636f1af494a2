#include "mainwindow/SucheErweitert.h"

QString MehrereSuchAbfragenText() { return QStringLiteral("(Mehrere Such-Abfragen)"); }

QString SuchAbfrageZeile(const QString& text, const QString& feld)
{
    return QStringLiteral("Suche nach '") + text + QStringLiteral("' im Feld '") + feld + QLatin1Char('\'');
}

QStringList SuchAbfrageZeilen(const Suchbegriffe& s)
{
    QStringList zeilen;
    for (qint32 n = 1; n <= s.lngSuchbegriffeAnzahl && size_t(n) < s.strSuchbegriffeText.size()
                       && size_t(n) < s.strSuchbegriffeFeld.size();
         ++n)
        zeilen << SuchAbfrageZeile(s.strSuchbegriffeText[size_t(n)], s.strSuchbegriffeFeld[size_t(n)]);
    return zeilen;
}

QString SuchOptionenCode(int mussDarfNicht, int undOder)
{
    return QString(QLatin1Char(mussDarfNicht == 1 ? '1' : '0')) + QLatin1Char(undOder == 1 ? '1' : '0');
}

void SuchOptionenLesen(const QString& code, int& mussDarfNicht, int& undOder)
{
    mussDarfNicht = code.size() > 0 && code.at(0) == u'1' ? 1 : 0;
    undOder = code.size() > 1 && code.at(1) == u'1' ? 1 : 0;
}

SuchfelderZustand SuchfelderZustandErmitteln(const Suchbegriffe& s, const QStringList& felder)
{
    SuchfelderZustand z;
    if (s.lngSuchbegriffeAnzahl > 1) {
        z.aktiv = false;
        z.feldIndex = -1;
        z.text = MehrereSuchAbfragenText();
    } else if (s.lngSuchbegriffeAnzahl == 1 && s.strSuchbegriffeFeld.size() > 1 && s.strSuchbegriffeText.size() > 1) {
        const qsizetype i = felder.indexOf(s.strSuchbegriffeFeld[1]);
        z.feldIndex = i >= 0 ? int(i) : -2;
        z.text = s.strSuchbegriffeText[1];
    } else {
        z.feldIndex = felder.isEmpty() ? -1 : 0;
    }
    return z;
}
