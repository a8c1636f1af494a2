#pragma once
// The question when a file is to be put where another file already is.

#include "library/Verschieben.h"

#include <QDialog>

class QLabel;
class QPushButton;

class frmVerschiebenDateiExistiert : public QDialog {
    Q_OBJECT
public:
    explicit frmVerschiebenDateiExistiert(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QLabel* lblBeschreibung;
    QPushButton* cmdOpt1;
    QPushButton* cmdOpt11;
    QPushButton* cmdOpt2;

    // Closing the window any other way than by a button cancels.
    DateiExistiert antwort = DateiExistiert::Abbrechen;

    void cmdOpt1_Click();
    void cmdOpt11_Click();
    void cmdOpt2_Click();
    void reject() override;
};

// Installs the window as the question of `DateiVerschieben`, owned by `besitzer`.
void DateiExistiertFensterEinrichten(QWidget* besitzer);
