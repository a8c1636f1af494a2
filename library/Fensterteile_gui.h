#pragma once
// Controls of the library's windows: each carries its name as objectName.

#include <QPointer>
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
// The buttons "&Ok" (the default) and "&Abbrechen" of a dialog.
void OkAbbrechenKnöpfe(QWidget* parent, QPushButton*& cmdOk, QPushButton*& cmdAbbrechen);

// Shows a window for a list of entries modally: made on first use (owned by
// `besitzer`) and kept, preset (`Voreinstellen`) and given the entries on
// each opening. An empty list shows nothing.
template <class Fenster, class Liste>
void FensterFürEinträgeZeigen(QPointer<Fenster>& fenster, const Liste& einträge, QWidget* besitzer)
{
    if (einträge.empty())
        return;
    if (!fenster)
        fenster = new Fenster(besitzer);
    fenster->Voreinstellen();
    fenster->einträge = einträge;
    fenster->exec();
}
