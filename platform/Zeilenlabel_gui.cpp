#include "platform/Zeilenlabel_gui.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>

namespace {

QString einzeilig(QString t)
{
    for (QChar& c : t)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return t;
}

} // namespace

Zeilenlabel::Zeilenlabel(QWidget* parent, Qt::TextElideMode kürzen) : QLabel(parent), m_kürzen(kürzen)
{
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(zeilenhöhe());
}

int Zeilenlabel::zeilenhöhe() const
{
    // Bold or not, the line keeps the height of the taller form.
    QFont fett = font();
    fett.setBold(true);
    const QMargins m = contentsMargins();
    return std::max(fontMetrics().height(), QFontMetrics(fett).height()) + m.top() + m.bottom();
}

QSize Zeilenlabel::sizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(einzeilig(text())), zeilenhöhe());
}

QSize Zeilenlabel::minimumSizeHint() const { return QSize(0, zeilenhöhe()); }

QString Zeilenlabel::Angezeigt() const
{
    return fontMetrics().elidedText(einzeilig(text()), m_kürzen, contentsRect().width());
}

bool Zeilenlabel::event(QEvent* e)
{
    if (e->type() != QEvent::ToolTip || !m_ganzAlsTooltip || !toolTip().isEmpty())
        return QLabel::event(e);
    if (Angezeigt() != einzeilig(text()))
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
    else
        QToolTip::hideText();
    return true;
}

void Zeilenlabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOption opt;
    opt.initFrom(this);
    style()->drawItemText(&p, contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, opt.palette, isEnabled(), Angezeigt(),
                          foregroundRole());
}

void Zeilenlabel::changeEvent(QEvent* e)
{
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        setFixedHeight(zeilenhöhe());
}
