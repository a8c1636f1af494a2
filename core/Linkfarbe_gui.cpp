#include "core/Linkfarbe_gui.h"

#include "core/Einstellungen.h"
#include "platform/Farbe_gui.h"

#include <QLabel>
#include <QRegularExpression>

void LinkLabelFärben(QLabel* l, qint32 farbe)
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
    static const QRegularExpression anker(QStringLiteral("<a\\s+href=\"([^\"]*)\"[^>]*>(.*)</a>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = anker.match(l->text());
    if (m.hasMatch())
        l->setText(QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:%3\">%4</a>")
                       .arg(m.captured(1), c.name(), unterstrichen ? QStringLiteral("underline") : QStringLiteral("none"),
                            m.captured(2)));
}

void LinkMausVerfolgen(QWidget* link)
{
    if (!link)
        return;
    link->setMouseTracking(true);
    link->setAttribute(Qt::WA_NoMousePropagation);
}

void UnterstreichungSetzen(QWidget* w, bool an)
{
    if (!w || w->font().underline() == an)
        return;
    QFont f = w->font();
    f.setUnderline(an);
    w->setFont(f);
}
