#pragma once
// The choice among suggested target folders.

#include <QDialog>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmZielordnerVorschläge : public QDialog {
public:
    explicit frmZielordnerVorschläge(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QGroupBox* fraOrdner;
    QListWidget* lstOrdner;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    // The folder chosen by OK or a double click; "" otherwise.
    QString gewählt;

    // Lists the folders with the first one selected and asks modally; the
    // chosen folder, or "" when cancelled.
    QString Fragen(const QStringList& ordner);

    void cmdOk_Click();
    void cmdAbbrechen_Click();
    void lstOrdner_DblClick();
};
