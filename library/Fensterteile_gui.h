#pragma once
// Controls of the library's windows: each carries its name as objectName.

#include <QString>
#include <initializer_list>

class QBoxLayout;

class QLabel;
class QPushButton;
class QWidget;

// A label; `name` is its objectName.
QLabel* BenanntesLabel(QWidget* parent, const char* name, const QString& text);
// The window's heading "Label3" in a larger bold font.
QLabel* FensterÜberschrift(QWidget* parent, const QString& text);
QPushButton* BenannterKnopf(QWidget* parent, const char* name, const QString& text);
// A row of buttons at the right edge, added to `layout`.
void KnopfZeile(QBoxLayout* layout, std::initializer_list<QWidget*> knöpfe);
