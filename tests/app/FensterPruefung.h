#pragma once
// What a user sees of a window, checked the way he would look at it: the
// window fits the screen, every label, button and group box shows its text
// whole, lists show some rows and each row its text whole, and no visible
// control lies over another.

#include <QApplication>
#include <QCheckBox>
#include <QDebug>
#include <QDialog>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/Zeilenlabel_gui.h"
#include "platform/Klicks.h"

namespace fensterpruefung {

// A 1280x800 screen less the window manager's frame (title bar and edges).
inline const QSize kPlatz(1280 - 8, 800 - 32);

// Posted layout requests and resizes run until nothing is left to do.
inline void setzenLassen()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
}

template <class T>
QString text(const T& wert)
{
    QString s;
    QDebug(&s).nospace().noquote() << wert;
    return s;
}

inline QString name(const QWidget* w)
{
    const QString text = w->property("text").toString().left(40);
    return !w->objectName().isEmpty() ? w->objectName() : !text.isEmpty() ? '"' + text + '"' : w->metaObject()->className();
}

// Controls whose children are their own parts, laid out by Qt.
inline bool zusammengesetzt(const QWidget* w)
{
    for (const char* k : {"QAbstractScrollArea", "QComboBox", "QAbstractSpinBox", "QLineEdit", "QTabBar", "QAbstractButton"})
        if (w->inherits(k))
            return true;
    return false;
}

// Why `w` does not show its text whole: a label or wrapping button is too
// narrow for its longest unbreakable part or too low for its lines; a button
// on one line is smaller than its text needs; a group box is narrower than its title.
inline QString textGeschnitten(const QWidget* w)
{
    QSize nötig, platz = w->size();
    auto* b = qobject_cast<const QAbstractButton*>(w);
    if (auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty() && !dynamic_cast<const Zeilenlabel*>(l))
        nötig = {l->minimumSizeHint().width(), l->heightForWidth(l->width())};
    else if (b && b->hasHeightForWidth())
        nötig = {b->minimumSizeHint().width(), b->heightForWidth(b->width())};
    else if (b && !b->text().isEmpty())
        nötig = b->sizeHint();
    else if (auto* g = qobject_cast<const QGroupBox*>(w); g && !g->title().isEmpty())
        nötig = {g->fontMetrics().size(Qt::TextShowMnemonic, g->title()).width(), 0};
    if (nötig.width() > platz.width() || nötig.height() > platz.height())
        return "needs " + text(nötig) + ", has " + text(platz);
    return {};
}

// Why a row of the list does not show its text whole: the line, centred in
// the row as the styles draw it, reaches beyond the row; besides the row's
// own text its font's capitals with marks and letters with tails must fit.
inline QString zeileGeschnitten(const QAbstractItemView* l)
{
    const QAbstractItemModel* m = l->model();
    for (int z = 0; m && z < m->rowCount(l->rootIndex()); ++z)
        for (int s = 0; s < m->columnCount(l->rootIndex()); ++s) {
            const QModelIndex i = m->index(z, s, l->rootIndex());
            const QRect r = l->visualRect(i);
            if (!r.intersects(l->viewport()->rect()))
                continue;
            const QVariant schrift = i.data(Qt::FontRole);
            const QFontMetrics fm(schrift.canConvert<QFont>() ? schrift.value<QFont>() : l->font());
            const QString t = i.data().toString();
            const QRect glyphen = fm.tightBoundingRect(t + QString::fromUtf8("ÖÄÜgjpq"));
            const int grundlinie = r.top() + (r.height() - fm.height()) / 2 + fm.ascent();
            if (grundlinie + glyphen.top() < r.top() || grundlinie + glyphen.bottom() > r.bottom())
                return QString("row %1 \"%2\" cuts its text: the glyphs need %3 pixels, the row has %4")
                    .arg(z).arg(t.left(40)).arg(glyphen.height()).arg(r.height());
        }
    return {};
}

inline void kinderPrüfen(const QWidget* eltern, const QString& wo, QStringList& befunde)
{
    QList<const QWidget*> sichtbar;
    QHash<const QObject*, int> an; // option buttons that switch each other: one of them on
    for (const QWidget* w : eltern->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() || !w->isVisible() || w->size().isEmpty())
            continue;
        sichtbar << w;
        if (auto* o = qobject_cast<const QRadioButton*>(w); o && o->isChecked() && o->autoExclusive()
            && ++an[o->group() ? static_cast<const QObject*>(o->group()) : eltern] == 2)
            befunde << wo + ": several option buttons are on together, " + name(o);
    }
    for (int i = 0; i < sichtbar.size(); ++i) {
        const QWidget* w = sichtbar[i];
        const QString n = wo + '/' + name(w);
        if (!eltern->rect().contains(w->geometry()))
            befunde << n + " lies outside its parent: " + text(w->geometry());
        for (const QWidget* x : sichtbar.mid(i + 1))
            if (w->geometry().intersects(x->geometry()))
                befunde << n + " overlaps " + name(x) + ": " + text(w->geometry()) + " and " + text(x->geometry());
        if (const QString warum = textGeschnitten(w); !warum.isEmpty())
            befunde << n + " cuts its text: " + warum;
        if (auto* l = qobject_cast<const QAbstractItemView*>(w)) {
            const bool zeilen = l->model() && l->model()->rowCount() > 0;
            if (l->viewport()->height() < 3 * (zeilen ? l->sizeHintForRow(0) : l->fontMetrics().height()))
                befunde << n + " is too low to show three rows: " + text(l->viewport()->size());
            if (const QString warum = zeileGeschnitten(l); !warum.isEmpty())
                befunde << n + ": " + warum;
        }
        if (!zusammengesetzt(w))
            kinderPrüfen(w, n, befunde);
    }
}

// Every finding for the window as it is shown now.
inline QStringList Prüfen(const QWidget* fenster)
{
    QStringList befunde;
    const QSize größte = fenster->size().expandedTo(fenster->minimumSize());
    if (größte.width() > kPlatz.width() || größte.height() > kPlatz.height())
        befunde << "the window is " + text(größte) + ", with its frame larger than the screen";
    kinderPrüfen(fenster, name(fenster), befunde);
    return befunde;
}

// --- opening and closing windows as a user does -------------------------------------

// A click on the button; a check box or option button takes it on its box.
inline void klicken(QAbstractButton* b)
{
    ASSERT_TRUE(b->isVisible() && b->isEnabled()) << b->objectName().toStdString();
    const bool vorher = b->isChecked();
    Klicken(b);
    if (b->isCheckable())
        EXPECT_EQ(b->isChecked(), b->autoExclusive() || !vorher) << b->objectName().toStdString() << " took no click";
}

// Closes a modal window as its cancel button or its title bar would.
inline void schließen(QWidget* w)
{
    if (auto* a = w->findChild<QPushButton*>("cmdAbbrechen"); a && a->isVisible() && a->isEnabled() && a->window() == w)
        a->click();
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
    QObject::connect(&t, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == vorher || !w->isVisible())
            return;
        t.stop();
        gesehen = true;
        rundgang(w);
        schließen(w);
    });
    t.start(5);
    öffnen();
    t.stop();
    EXPECT_TRUE(gesehen) << was << " did not open";
}

} // namespace fensterpruefung
