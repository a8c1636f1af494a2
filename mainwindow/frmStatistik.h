#pragma once
// The index statistics window, and the command that fills and shows it.

#include <QDialog>

class QLabel;
class QPushButton;
class frmMain;

class frmStatistik : public QDialog {
    Q_OBJECT
public:
    explicit frmStatistik(QWidget* parent = nullptr);
    QLabel* lblInfosAnzahl;
    QLabel* lblInfosGrößen;
    QLabel* lblInfosSpieldauer;
    QLabel* lblInfosVerwaltung;
    QPushButton* cmdOk;
};

// "Index-Statistiken": computes the figures of the program's index and shows
// them modally over the main window.
void IndexStatistikZeigen(frmMain* f);
