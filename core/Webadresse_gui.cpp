#include "core/Webadresse_gui.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "platform/Farbe_gui.h"

#include <QLabel>

void WebadresseFärben(QLabel* l, qint32 farbe)
{
    if (!l)
        return;
    const QColor c = WindowsFarbe(farbe);
    const bool unterstrichen = einstellungen().FunktionenUnterstreichen != 0;
    QPalette p = l->palette();
    for (QPalette::ColorRole rolle : {QPalette::WindowText, QPalette::Link, QPalette::LinkVisited})
        p.setColor(rolle, c);
    l->setPalette(p);
    QFont f = l->font();
    f.setUnderline(unterstrichen);
    l->setFont(f);
    l->setCursor(Qt::PointingHandCursor);
    l->setText(QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:%3\">%1</a>")
                   .arg(Webadresse(), c.name(), unterstrichen ? QStringLiteral("underline") : QStringLiteral("none")));
}
