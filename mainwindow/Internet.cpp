#include "mainwindow/Internet.h"

#include "core/Kodierung.h"

namespace {
void byteAnhängen(QString& ziel, unsigned char b)
{
    static const char ziffern[] = "0123456789ABCDEF";
    ziel += QLatin1Char('%');
    ziel += QLatin1Char(ziffern[b >> 4]);
    ziel += QLatin1Char(ziffern[b & 0x0F]);
}
} // namespace

QString InternetFormat(const QString& text)
{
    QString ergebnis;
    ergebnis.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) {
            ergebnis += c;
            continue;
        }
        const int ansi = Cp1252Byte(c.unicode());
        if (ansi >= 0) {
            byteAnhängen(ergebnis, static_cast<unsigned char>(ansi));
            continue;
        }
        // A surrogate pair is one character: take both halves together.
        qsizetype länge = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            länge = 2;
        for (const char b : QStringView(text).mid(i, länge).toUtf8())
            byteAnhängen(ergebnis, static_cast<unsigned char>(b));
        i += länge - 1;
    }
    return ergebnis;
}
