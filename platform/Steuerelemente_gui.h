#pragma once
// Small helpers for building windows: every control carries its given name
// as its objectName, so code and tests find it by that name.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFont>
#include <QLabel>
#include <QGridLayout>
#include <QString>
#include <QWidget>

template <typename T>
T* benannt(T* steuerelement, const QString& name)
{
    steuerelement->setObjectName(name);
    return steuerelement;
}

template <typename T>
T* benannt(T* steuerelement, const char* name)
{
    return benannt(steuerelement, QString::fromUtf8(name));
}

// Bold text, as the headings of the dialogs have it; `größer` points larger
// for the product name and window headings.
inline void fettSetzen(QWidget* w, int größer = 0)
{
    QFont f = w->font();
    f.setBold(true);
    if (größer)
        f.setPointSize(f.pointSize() + größer);
    w->setFont(f);
}

// A named, word-wrapping text label.
inline QLabel* TextLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* l = benannt(new QLabel(text, parent), name);
    l->setWordWrap(true);
    return l;
}

// A control shown only in some states keeps its room while hidden: nothing
// around it moves when it comes and goes.
inline void PlatzHalten(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

// Pages that lie on top of each other in one place: the window is as large
// as the largest and keeps its size whichever is shown (the window shows a
// page by showing it and hiding the others).
template <class Seiten>
QGridLayout* Seitenstapel(const Seiten& seiten)
{
    auto* stapel = new QGridLayout;
    stapel->setContentsMargins(0, 0, 0, 0);
    for (QWidget* s : seiten) {
        PlatzHalten(s);
        stapel->addWidget(s, 0, 0);
    }
    return stapel;
}

// The same, chosen by option buttons: these form a group of their own, so
// that option buttons on the pages never switch them, nor they those.
template <class Seiten, class Knöpfe>
QGridLayout* Seitenstapel(const Seiten& seiten, const Knöpfe& knöpfe)
{
    QButtonGroup* gruppe = nullptr;
    for (QAbstractButton* k : knöpfe) {
        if (!gruppe)
            gruppe = new QButtonGroup(k->parent());
        gruppe->addButton(k);
    }
    return Seitenstapel(seiten);
}
