#pragma once
// The small window that asks for one file's new path.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class frmDateiname : public QDialog {
public:
    explicit frmDateiname(QWidget* parent = nullptr);

    QLabel* lblTitel;
    QLineEdit* txtAlter;
    QLineEdit* txtNeuer;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    // "1" after OK, "0" after cancel or closing.
    QString Tag;

    // Shows `pfad` in both boxes with the bare name selected, modally.
    // True when the user confirmed; `neu` is then the typed path.
    bool Fragen(const QString& pfad, bool bolListeneintrag, QString& neu);

    void cmdOk_Click();
    void cmdAbbrechen_Click();
};

// Installs the window as the question for new paths, owned by `besitzer`.
void DateinameFensterEinrichten(QWidget* besitzer);
