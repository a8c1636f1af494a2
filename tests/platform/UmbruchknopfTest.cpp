// A check box or option button with a long caption wraps it to the width it
// is given and takes the click anywhere on it, as its plain form does on one line.

#include "platform/Umbruchknopf_gui.h"

#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

const QString kLang = QStringLiteral("Leere Kommantar-Felder mit Hinweis auf diese Software füllen (so helfen Sie "
                                     "bei der Verbreitung dieser kostenlosen Software)");

} // namespace

TEST(Umbruchknopf, LangeBeschriftungBrichtUmUndNimmtDenKlick)
{
    QWidget fenster;
    auto* v = new QVBoxLayout(&fenster);
    auto* box = new Umbrechend<QCheckBox>(kLang, &fenster);
    auto* a = new Umbrechend<QRadioButton>(QStringLiteral("&Erste ") + kLang, &fenster);
    auto* b = new Umbrechend<QRadioButton>(QStringLiteral("Zweite"), &fenster);
    for (QWidget* w : {static_cast<QWidget*>(box), static_cast<QWidget*>(a), static_cast<QWidget*>(b)})
        v->addWidget(w);
    fenster.resize(260, 300);
    fenster.show();
    QApplication::processEvents();

    // Narrow, the caption takes more lines, never more width than its longest word.
    const QCheckBox eine(kLang);
    EXPECT_LT(box->minimumSizeHint().width(), 200);
    EXPECT_LE(box->width(), 260);
    EXPECT_GT(box->heightForWidth(240), box->heightForWidth(2000));
    EXPECT_EQ(box->heightForWidth(100000), eine.sizeHint().height());
    EXPECT_GE(box->height(), box->heightForWidth(box->width()));
    EXPECT_EQ(box->text(), kLang);

    // A click on the caption's last line, the space bar and the mnemonic.
    const QPoint untenRechts(box->width() - 20, box->height() - 4);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, untenRechts);
    EXPECT_TRUE(box->isChecked());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());

    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    EXPECT_TRUE(b->isChecked());
    QTest::mouseClick(a, Qt::LeftButton, Qt::NoModifier, QPoint(a->width() - 20, a->height() - 4));
    EXPECT_TRUE(a->isChecked());
    EXPECT_FALSE(b->isChecked()) << "the option buttons still switch each other";
}
