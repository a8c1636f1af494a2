#include "platform/Stil_gui.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QProxyStyle>
#include <QStyleOptionViewItem>

namespace {

class Programmstil : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType art, const QStyleOption* option, const QSize& inhalt,
                           const QWidget* w) const override
    {
        QSize größe = QProxyStyle::sizeFromContents(art, option, inhalt, w);
        if (art == CT_ItemViewItem)
            if (const auto* zeile = qstyleoption_cast<const QStyleOptionViewItem*>(option))
                größe.setHeight(std::max(größe.height(), ZeilenhöheFürSchrift(zeile->font)));
        return größe;
    }
};

} // namespace

void ProgrammstilSetzen()
{
    if (!dynamic_cast<Programmstil*>(QApplication::style()))
        QApplication::setStyle(new Programmstil(QApplication::style()->name()));
}

int ZeilenhöheFürSchrift(const QFont& schrift)
{
    // Measured once a font: lists ask for every row.
    static QHash<QString, int> bekannt;
    const QString schlüssel = schrift.key();
    if (const auto it = bekannt.constFind(schlüssel); it != bekannt.cend())
        return *it;
    const QFontMetrics fm(schrift);
    // Capitals with marks above, letters that reach below the line.
    const QRect glyphen = fm.tightBoundingRect(QStringLiteral("ÂÄÅÉÊÍÎÑÖÜŠŽŸÇ|gjpqyÿ"));
    const int oben = std::max(0, -fm.ascent() - glyphen.top());
    const int unten = std::max(0, glyphen.bottom() - (fm.descent() - 1));
    // Centred, the line gets half of the extra room on each side.
    const int höhe = fm.height() + 2 * std::max(oben, unten);
    bekannt.insert(schlüssel, höhe);
    return höhe;
}
