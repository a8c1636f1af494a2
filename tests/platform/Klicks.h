#pragma once
// Clicks as a user makes them: a button on its face, a check box or option
// button on its box, a list row on its own rectangle once scrolled to it.

#include <QAbstractButton>
#include <QListWidget>
#include <QTest>

inline void Klicken(QWidget* w)
{
    const auto* b = qobject_cast<QAbstractButton*>(w);
    QTest::mouseClick(w, Qt::LeftButton, {}, b && b->isCheckable() ? QPoint(8, w->height() / 2) : w->rect().center());
}

// With Ctrl on a chosen row it takes the choice back.
inline void ZeileKlicken(QListWidget* l, int zeile, Qt::KeyboardModifiers m = {})
{
    QListWidgetItem* item = l->item(zeile);
    l->scrollToItem(item);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, m, l->visualItemRect(item).center());
}
