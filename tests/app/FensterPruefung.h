#pragma once
// What a user sees of a window, checked the way he would look at it: the
// window fits the screen, every label and button shows its text whole, and
// no visible control lies over another.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QComboBox>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStringList>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "platform/Zeilenlabel_gui.h"

namespace fensterpruefung {

constexpr int kBildschirmBreite = 1280;
constexpr int kBildschirmHöhe = 800;
// The window manager's frame around a window: a title bar and thin edges.
constexpr int kRahmenHöhe = 32;
constexpr int kRahmenBreite = 8;

// Posted layout requests and resizes run until nothing is left to do.
inline void setzenLassen()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
}

inline QString name(const QWidget* w)
{
    QString n = w->objectName();
    if (n.isEmpty()) {
        if (auto* l = qobject_cast<const QLabel*>(w))
            n = QLatin1Char('"') + l->text().left(40) + QLatin1Char('"');
        else if (auto* b = qobject_cast<const QAbstractButton*>(w))
            n = QLatin1Char('"') + b->text().left(40) + QLatin1Char('"');
        else
            n = QString::fromLatin1(w->metaObject()->className());
    }
    return n;
}

inline QString maße(const QSize& s) { return QStringLiteral("%1x%2").arg(s.width()).arg(s.height()); }
inline QString maße(const QRect& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The room a button's text needs and the room its style gives it.
inline bool knopfTextPasst(const QAbstractButton* b, QString& warum)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    QStyle::SubElement teil = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(b))
        teil = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(b))
        teil = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<const QPushButton*>(b))
        return true;
    const QRect platz = b->style()->subElementRect(teil, &opt, b);
    QSize nötig = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    if (!b->icon().isNull())
        nötig.rwidth() += b->iconSize().width() + 4;
    if (nötig.width() > platz.width() || nötig.height() > platz.height()) {
        warum = QStringLiteral("needs %1, has %2").arg(maße(nötig), maße(platz.size()));
        return false;
    }
    return true;
}

// A label shows its whole text: wide enough for its longest unbreakable
// part (the whole line when it does not wrap) and high enough for the lines
// it needs at its width.
inline bool labelTextPasst(const QLabel* l, QString& warum)
{
    const int breite = l->minimumSizeHint().width();
    const int höhe = l->heightForWidth(l->width());
    if (breite > l->width() || höhe > l->height()) {
        warum = QStringLiteral("needs %1 wide and %2 high, has %3")
                    .arg(breite)
                    .arg(höhe)
                    .arg(maße(l->size()));
        return false;
    }
    return true;
}

// Controls whose children are their own parts, laid out by Qt.
inline bool zusammengesetzt(const QWidget* w)
{
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QLineEdit*>(w)
        || qobject_cast<const QTabBar*>(w) || qobject_cast<const QAbstractButton*>(w);
}

inline void kinderPrüfen(const QWidget* eltern, const QString& wo, QStringList& befunde)
{
    QList<const QWidget*> sichtbar;
    for (QObject* o : eltern->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisible() || w->width() <= 0 || w->height() <= 0)
            continue;
        sichtbar.push_back(w);
    }
    // Option buttons that switch each other: at most one of them is on.
    QHash<const QObject*, int> an;
    for (const QWidget* w : sichtbar)
        if (auto* o = qobject_cast<const QRadioButton*>(w); o && o->isChecked() && o->autoExclusive())
            if (++an[o->group() ? static_cast<const QObject*>(o->group()) : eltern] == 2)
                befunde << wo + QStringLiteral(": several option buttons are on together, ") + name(o);
    const QRect innen = eltern->rect();
    for (int i = 0; i < sichtbar.size(); ++i) {
        const QWidget* w = sichtbar[i];
        const QString n = wo + QLatin1Char('/') + name(w);
        if (!innen.contains(w->geometry()))
            befunde << n + QStringLiteral(" lies outside its parent: ") + maße(w->geometry()) + QStringLiteral(" in ")
                           + maße(innen.size());
        for (int k = i + 1; k < sichtbar.size(); ++k)
            if (w->geometry().intersects(sichtbar[k]->geometry()))
                befunde << n + QStringLiteral(" overlaps ") + name(sichtbar[k]) + QStringLiteral(": ")
                               + maße(w->geometry()) + QStringLiteral(" and ") + maße(sichtbar[k]->geometry());
        QString warum;
        if (auto* l = qobject_cast<const QLabel*>(w)) {
            if (!dynamic_cast<const Zeilenlabel*>(l) && !l->text().isEmpty() && !labelTextPasst(l, warum))
                befunde << n + QStringLiteral(" cuts its text: ") + warum;
        } else if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
            if (b->hasHeightForWidth()) {
                if (b->minimumSizeHint().width() > b->width() || b->heightForWidth(b->width()) > b->height())
                    befunde << n + QStringLiteral(" cuts its text: needs %1 wide and %2 high, has %3")
                                       .arg(b->minimumSizeHint().width())
                                       .arg(b->heightForWidth(b->width()))
                                       .arg(maße(b->size()));
            } else if (!b->text().isEmpty() && !knopfTextPasst(b, warum))
                befunde << n + QStringLiteral(" cuts its text: ") + warum;
        } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
            if (!g->title().isEmpty()
                && g->fontMetrics().size(Qt::TextShowMnemonic, g->title()).width() > g->width())
                befunde << n + QStringLiteral(" cuts its title");
        }
        if (auto* liste = qobject_cast<const QAbstractItemView*>(w)) {
            const int zeile = liste->model() && liste->model()->rowCount() > 0 ? liste->sizeHintForRow(0)
                                                                                : liste->fontMetrics().height();
            if (liste->viewport()->height() < 3 * zeile)
                befunde << n + QStringLiteral(" is too low to show three rows: %1 high").arg(liste->viewport()->height());
        }
        if (!zusammengesetzt(w))
            kinderPrüfen(w, n, befunde);
    }
}

// Every finding for the window as it is shown now.
inline QStringList Prüfen(const QWidget* fenster)
{
    QStringList befunde;
    const QSize platz(kBildschirmBreite - kRahmenBreite, kBildschirmHöhe - kRahmenHöhe);
    if (fenster->width() > platz.width() || fenster->height() > platz.height())
        befunde << QStringLiteral("the window is %1, with its frame larger than the screen").arg(maße(fenster->size()));
    if (fenster->minimumSize().width() > platz.width() || fenster->minimumSize().height() > platz.height())
        befunde << QStringLiteral("the window needs at least %1").arg(maße(fenster->minimumSize()));
    kinderPrüfen(fenster, name(fenster), befunde);
    return befunde;
}

// --- opening and closing windows as a user does -------------------------------------

inline void klicken(QAbstractButton* b)
{
    ASSERT_TRUE(b->isVisible() && b->isEnabled()) << b->objectName().toStdString();
    // A check box or option button takes the click on its box, whatever its width.
    QPoint ort = b->rect().center();
    if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        ort = b->style()
                  ->subElementRect(qobject_cast<QRadioButton*>(b) ? QStyle::SE_RadioButtonIndicator
                                                                  : QStyle::SE_CheckBoxIndicator,
                                   &opt, b)
                  .center();
    }
    const bool vorher = b->isChecked();
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, ort);
    if (qobject_cast<QRadioButton*>(b))
        EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString() << " took no click";
    else if (b->isCheckable())
        EXPECT_NE(b->isChecked(), vorher) << b->objectName().toStdString() << " took no click";
}

// Closes a modal window as its cancel button or its title bar would.
inline void schließen(QWidget* w)
{
    if (auto* abbrechen = w->findChild<QPushButton*>(QStringLiteral("cmdAbbrechen"));
        abbrechen && abbrechen->isVisible() && abbrechen->isEnabled() && abbrechen->window() == w)
        abbrechen->click();
    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
        d->reject();
    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
        d->QDialog::done(QDialog::Rejected);
}

// Runs `öffnen`, which shows a window modally, walks the window with
// `rundgang` while it is open and closes it.
inline void modal(const char* was, const std::function<void()>& öffnen, const std::function<void(QWidget*)>& rundgang)
{
    QWidget* vorher = QApplication::activeModalWidget();
    bool gesehen = false;
    QTimer t;
    t.setInterval(5);
    QObject::connect(&t, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == vorher || !w->isVisible())
            return;
        t.stop();
        gesehen = true;
        rundgang(w);
        schließen(w);
    });
    t.start();
    öffnen();
    t.stop();
    EXPECT_TRUE(gesehen) << was << " did not open";
}

} // namespace fensterpruefung
