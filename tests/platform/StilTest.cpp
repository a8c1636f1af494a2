#include "platform/Stil_gui.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QProxyStyle>
#include <gtest/gtest.h>

namespace {

// The dark pixels of `text` drawn centred in a row of `höhe` pixels.
int tinte(const QFont& schrift, const QString& text, int höhe)
{
    QImage bild(400, höhe, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setFont(schrift);
    p.setPen(Qt::black);
    p.drawText(bild.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.end();
    int n = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            n += qGray(bild.pixel(x, y)) < 128;
    return n;
}

} // namespace

// A row of the measured height shows a line of capitals with marks and
// letters with tails as a row of ample room does: nothing is cut.
TEST(StilTest, ZeilenhöheZeigtUmlauteUndUnterlängenGanz)
{
    const QString text = QString::fromUtf8("Ölicht ÄÜÅ Šž gjpqy Ç");
    for (const int punkte : {7, 8, 9, 10, 11, 12, 14, 18, 24}) {
        QFont schrift = QApplication::font();
        schrift.setPointSize(punkte);
        const int höhe = ZeilenhöheFürSchrift(schrift);
        SCOPED_TRACE(punkte);
        EXPECT_GE(höhe, QFontMetrics(schrift).height());
        EXPECT_EQ(tinte(schrift, text, höhe), tinte(schrift, text, höhe + 40));
    }
}

// The program's style gives the rows of a list that height.
TEST(StilTest, ListenzeilenHabenDieGemesseneHöhe)
{
    ProgrammstilSetzen();
    ProgrammstilSetzen(); // once is enough; again changes nothing
    ASSERT_NE(qobject_cast<QProxyStyle*>(QApplication::style()), nullptr);
    QListWidget liste;
    liste.addItems({QString::fromUtf8("Ölicht"), "gjpqy"});
    liste.resize(200, 200);
    liste.show();
    EXPECT_EQ(liste.visualItemRect(liste.item(0)).height(), ZeilenhöheFürSchrift(liste.font()));
    EXPECT_EQ(liste.visualItemRect(liste.item(1)).top(), liste.visualItemRect(liste.item(0)).bottom() + 1);
}
