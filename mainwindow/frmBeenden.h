#pragma once
// The exit choice: what closing the main window should do, optionally kept
// as the default reaction.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

// The answer of the exit choice: 0 cancel, 1 minimise, 2 quit, 3 tray.
extern int intBeendenAntwort;

class frmBeenden : public QDialog {
    Q_OBJECT
public:
    explicit frmBeenden(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QLabel* lblHinweis;
    QCheckBox* chkImmer;
    QLabel* Label1;
    QLabel* Image1;
    QPushButton* cmdTray;
    QPushButton* cmdMinimieren;
    QPushButton* cmdBeenden;
    QPushButton* cmdAbbrechen;

    void cmdAbbrechen_Click();
    void cmdMinimieren_Click();
    void cmdBeenden_Click();
    void cmdTray_Click();

protected:
    // The title bar's close and Escape mean cancel, whatever was chosen before.
    void reject() override;

private:
    void antworten(int antwort);
};

// Shows the exit choice modally over `besitzer` (with "always" unticked) and
// returns `intBeendenAntwort`.
int BeendenFragen(QWidget* besitzer);
