#pragma once
// The welcome window (first start) and the tip-of-the-day window.

#include <QDialog>

class QLabel;
class QPushButton;
class QPlainTextEdit;
class QCheckBox;

class frmWillkommen : public QDialog {
    Q_OBJECT
public:
    explicit frmWillkommen(QWidget* parent = nullptr);
    QPushButton* cmdHilfe;
    QPushButton* cmdOk;
};

class frmHinweise : public QDialog {
    Q_OBJECT
public:
    explicit frmHinweise(QWidget* parent = nullptr);
    QLabel* lblTitel;
    QLabel* Label1;
    QPlainTextEdit* txtTipp;
    QString txtTippTag; // number of the tip shown, as decimal text
    QCheckBox* chkWiederZeigen;
    QPushButton* cmdZurück;
    QPushButton* cmdVor;
    QPushButton* cmdOk;

    void TippZeigen(int nummer);
    void cmdVor_Click();
    void cmdZurück_Click();
    void cmdOk_Click();

protected:
    void reject() override;
};
