#pragma once
// The AutoTAG chooser: the list of formats, the current one, and the two
// options the engine reads. Opened by the tag editor's "AutoTAG einstellen...".

#include "media/ListenEingabe_gui.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class frmAusschlußliste;

// The input window for one format.
class frmMp3TagAutoTagHinzufügen : public ListenEingabe {
public:
    frmMp3TagAutoTagHinzufügen(QWidget* besitzer, QListWidget* liste);
    QLineEdit* txtFormat;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
};

// No Q_OBJECT: moc cannot write a class name with umlauts.
class frmMp3TagAutoTagWählen : public QDialog {
public:
    explicit frmMp3TagAutoTagWählen(QWidget* besitzer);

    QListWidget* lstFormat;
    QPushButton* cmdAutoTagHinzufügen;
    QPushButton* cmdAutoTagÄndern;
    QPushButton* cmdAutoTagEntfernen;
    QPushButton* cmdAutomatikHinzufügen;
    QPushButton* cmdAusschlußliste;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    QCheckBox* chkAutoTagFelderLöschen;
    QCheckBox* chkUnterstricheEntfernen;
    QLabel* Label1;
    QLabel* Label2;
    frmMp3TagAutoTagHinzufügen* eingabe;
    frmAusschlußliste* ausschlußliste;

    // Fills the list and the options from the settings and selects the
    // current format.
    void Vorbereiten();
    void cmdAutoTagHinzufügen_Click();
    void cmdAutoTagÄndern_Click();
    void cmdAutoTagEntfernen_Click();
    void cmdAutomatikHinzufügen_Click();
    void cmdAusschlußliste_Click();
    void cmdOk_Click();
    void lstFormat_DblClick() { cmdOk_Click(); }
    void cmdAbbrechen_Click();
};

// Prepares the chooser (created on first use, owned by `besitzer`) and shows
// it modally.
void AutoTagEinstellenZeigen(QWidget* besitzer);
// The chooser, when it was created.
frmMp3TagAutoTagWählen* autoTagWählenFenster();
