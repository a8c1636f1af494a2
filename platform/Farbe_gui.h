#pragma once
// Stored colours are Windows colour values: red in the low byte, then green, then blue.

#include <QColor>
#include <QPalette>
#include <QWidget>

inline QColor WindowsFarbe(qint32 c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Sets a control's text colour (only where it differs).
inline void TextfarbeSetzen(QWidget* w, qint32 farbe)
{
    const QColor c = WindowsFarbe(farbe);
    if (w->palette().color(QPalette::WindowText) == c)
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}
