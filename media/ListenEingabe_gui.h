#pragma once
// What the AutoTAG format list and the exclusion list share: the small
// input window for one text, which adds it to its owner's list or replaces
// the list's selected entry, and the list's selection and removal.

#include <QDialog>
#include <QStringList>
#include <functional>

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class ListenEingabe : public QDialog {
public:
    // `textName` names the text box; `neuenWählen`: an added entry becomes
    // the list's selection.
    ListenEingabe(QWidget* besitzer, QListWidget* liste, const char* name, const char* textName, bool neuenWählen);

    QLineEdit* eingabe;
    QCheckBox* chkHinzu; // 1 add, 0 change; set by the opener
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    // Sets the mode, the text and the caption, and shows the window modally.
    void Öffnen(bool hinzufügen, const QString& text, const QString& titel);
    void cmdOk_Click();
    void cmdAbbrechen_Click();

private:
    QListWidget* m_liste;
    bool m_neuenWählen;
};

// Row of the list's selected entry, -1 when none is selected.
int GewählteZeile(const QListWidget* liste);
// The same; without a selection tells the user so and answers -1.
int GewählteZeileVerlangen(const QListWidget* liste, QWidget* besitzer);
// The remove button: asks, then removes the selected entry.
void GewähltenEintragEntfernen(QListWidget* liste, QWidget* besitzer);
QStringList ListenEinträge(const QListWidget* liste);

// The dialog's buttons "&Ok" (the default) and "&Abbrechen", right-aligned
// in a row at the end of `layout`, each calling its handler.
void OkAbbrechenAnfügen(QDialog* d, QBoxLayout* layout, QPushButton*& ok, QPushButton*& abbrechen,
                        std::function<void()> beiOk, std::function<void()> beiAbbrechen);
