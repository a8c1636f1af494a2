#include "mainwindow/frmInfo.h"

#include <QLabel>
#include <gtest/gtest.h>

TEST(Info, NamensanimationTipptErstMusikDannDenProduktnamen)
{
    frmInfo f;
    f.lblMusicTag = QStringLiteral("musik = ");
    f.lblMusic->clear();
    f.Timer2.start();
    QStringList bilder;
    for (int i = 0; i < 40 && f.Timer2.isActive(); ++i) {
        f.Timer2_Timer();
        if (bilder.isEmpty() || bilder.back() != f.lblMusic->text())
            bilder << f.lblMusic->text();
    }
    EXPECT_FALSE(f.Timer2.isActive());
    ASSERT_GE(bilder.size(), 9);
    EXPECT_EQ(bilder.front(), "m");
    EXPECT_EQ(bilder[7], "musik = ");
    EXPECT_EQ(bilder[8], "k");
    EXPECT_EQ(bilder.back(), "kalvero");
    // Closing while it types stops the timer; opening again starts afresh.
    f.lblMusicTag = QStringLiteral("musik = ");
    f.lblMusic->setText("mu");
    f.Timer2.start();
    f.cmdOk_Click();
    EXPECT_FALSE(f.Timer2.isActive());
}
