#include "platform/Stil_gui.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <gtest/gtest.h>

// Under the program's style a list row, in any font size, shows a line of
// capitals with marks and letters with tails as a row of ample room does.
TEST(StilTest, ListenzeilenZeigenUmlauteUndUnterlängenGanz)
{
    ProgrammstilSetzen();
    ProgrammstilSetzen(); // once is enough; again changes nothing
    const QString text = QString::fromUtf8("Ölicht ÄÜÅ Šž gjpqy Ç");
    // The dark pixels of the text drawn centred in a row of `höhe` pixels.
    const auto tinte = [&](const QFont& schrift, int höhe) {
        QImage bild(400, höhe, QImage::Format_RGB32);
        bild.fill(Qt::white);
        QPainter p(&bild);
        p.setFont(schrift);
        p.drawText(bild.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
        p.end();
        int n = 0;
        for (int y = 0; y < höhe; ++y)
            for (int x = 0; x < bild.width(); ++x)
                n += qGray(bild.pixel(x, y)) < 128;
        return n;
    };
    for (const int punkte : {7, 8, 9, 10, 11, 12, 14, 18, 24}) {
        SCOPED_TRACE(punkte);
        QFont schrift = QApplication::font();
        schrift.setPointSize(punkte);
        QListWidget liste;
        liste.setFont(schrift);
        liste.addItems({text, text});
        liste.resize(400, 200);
        liste.show();
        const QRect zeile = liste.visualItemRect(liste.item(0));
        EXPECT_GE(zeile.height(), ZeilenhöheFürSchrift(schrift));
        EXPECT_EQ(liste.visualItemRect(liste.item(1)).top(), zeile.bottom() + 1);
        EXPECT_EQ(tinte(schrift, zeile.height()), tinte(schrift, zeile.height() + 40));
    }
}
