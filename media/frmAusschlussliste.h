#pragma once
// The AutoTAG exclusion list: strings that AutoTAG ignores in file names.

#include "media/ListenEingabe_gui.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

// The input window for one excluded string.
class frmAusschlußlisteHinzufügen : public ListenEingabe {
public:
    frmAusschlußlisteHinzufügen(QWidget* besitzer, QListWidget* liste);
    QLineEdit* txtText;
    QLabel* Label1;
    QLabel* Label2;
};

// No Q_OBJECT: moc cannot write a class name with umlauts, and the windows
// declare no signals of their own.
class frmAusschlußliste : public QDialog {
public:
    explicit frmAusschlußliste(QWidget* besitzer);

    QListWidget* lstListe;
    QPushButton* cmdHinzufügen;
    QPushButton* cmdÄndern;
    QPushButton* cmdEntfernen;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    QLabel* Label1;
    QLabel* Label2;
    frmAusschlußlisteHinzufügen* eingabe;

    // Fills the list from the settings.
    void Vorbereiten();
    void cmdHinzufügen_Click();
    void cmdÄndern_Click();
    void cmdEntfernen_Click();
    // Takes the list over into the settings at once.
    void cmdOk_Click();
    void lstListe_DblClick() { cmdOk_Click(); }
    void cmdAbbrechen_Click();
};
