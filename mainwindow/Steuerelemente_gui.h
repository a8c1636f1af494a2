#pragma once
// Small helpers for building windows: every control carries its given name
// as its objectName, so code and tests find it by that name.

#include <QFont>
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

// Bold text, as the headings of the dialogs have it.
inline void fettSetzen(QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}
