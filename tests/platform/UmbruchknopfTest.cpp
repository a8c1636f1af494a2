// A check box or option button with a long caption wraps it to the width it
// is given and takes the click anywhere on it, as its plain form does on one line.

#include "platform/Umbruchknopf_gui.h"

#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(Umbruchknopf, LangeBeschriftungBrichtUmUndNimmtDenKlick)
{
    const QString lang = "Leere Kommantar-Felder mit Hinweis auf diese Software füllen (so helfen Sie bei der "
                         "Verbreitung dieser kostenlosen Software)";
    QWidget fenster;
    auto* v = new QVBoxLayout(&fenster);
    auto* box = new Umbrechend<QCheckBox>(lang, &fenster);
    auto* a = new Umbrechend<QRadioButton>("&Erste " + lang, &fenster);
    auto* b = new Umbrechend<QRadioButton>("Zweite", &fenster);
    for (QWidget* w : std::initializer_list<QWidget*>{box, a, b})
        v->addWidget(w);
    fenster.resize(260, 300);
    fenster.show();
    QApplication::processEvents();

    // Narrow, the caption takes more lines; wide enough, the one line of the plain box.
    EXPECT_LT(box->minimumSizeHint().width(), 200);
    EXPECT_GT(box->heightForWidth(240), box->heightForWidth(2000));
    EXPECT_EQ(box->heightForWidth(100000), QCheckBox(lang).sizeHint().height());
    EXPECT_GE(box->height(), box->heightForWidth(box->width()));

    // A click on the caption's last line, the space bar; the option buttons still switch each other.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 20, box->height() - 4));
    EXPECT_TRUE(box->isChecked());
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(a->width() - 20, a->height() - 4));
    EXPECT_TRUE(a->isChecked() && !b->isChecked());
}
