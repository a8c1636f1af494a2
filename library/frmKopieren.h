#pragma once
// The copy and move window: the selected entries' files into one folder,
// with a folder browser and suggested target folders.

#include "library/Loeschen.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

class frmKopieren : public QDialog {
public:
    explicit frmKopieren(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QGroupBox* fraAktion;
    QRadioButton* optKopieren;
    QRadioButton* optVerschieben;
    QLineEdit* txtOrdner;
    QToolButton* cmdOrdnerSuchen;
    QPushButton* cmdVorschlagen;
    QLabel* lblHinweis;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    // The entries of this opening (the window's own copy of the selection).
    EintragsListe einträge;

    // Folder and mode from the settings.
    void Voreinstellen();

    void cmdOk_Click();
    void cmdAbbrechen_Click();
    void cmdOrdnerSuchen_Click();
    void cmdVorschlagen_Click();
};


// The main window's command: presets the window and shows it for the
// selection; with nothing selected nothing happens.
void KopierenZeigen(const EintragsListe& einträge, QWidget* besitzer);
