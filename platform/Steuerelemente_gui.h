#pragma once
// Small helpers for building windows: every control carries its given name
// as its objectName, so code and tests find it by that name.

#include <QFont>
#include <QLabel>
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
