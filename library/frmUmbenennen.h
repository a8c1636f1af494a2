#pragma once
// The rename window: a function, its options, and the run over the selection.

#include "library/Umbenennen.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class frmUmbenennen : public QDialog {
public:
    explicit frmUmbenennen(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QListWidget* lstFunktionen;
    // Element n holds the options of list position n.
    std::array<QGroupBox*, 9> fraOptionen{};
    QLineEdit* txtFormat;
    QPlainTextEdit* txtVariablen;
    QLineEdit* txtErsetzen;
    QLineEdit* txtErsetzenDurch;
    QLineEdit* txtFortlaufendBasis1;
    QLineEdit* txtFortlaufendZählen1;
    QLineEdit* txtFortlaufendBasis2;
    QRadioButton* optKleinschreibung;
    QRadioButton* optGrossschreibung;
    QRadioButton* optKleinErstenGross;
    QRadioButton* optKleinWörterGross;
    QLineEdit* txtDateiendung;
    QCheckBox* chkAttributSchreibschutz;
    QCheckBox* chkAttributVersteckt;
    QCheckBox* chkAttributSystem;
    QCheckBox* chkAttributArchiv;
    QLineEdit* txtErsetzenEndung;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    // The entries of this opening (the window's own copy of the selection).
    EintragsListe einträge;

    // Fills the inputs from the settings (not the empty-file extension).
    void Voreinstellen();
    // The inputs as the engine takes them.
    UmbenennenEingaben EingabenLesen() const;

    void lstFunktionen_Click();
    void cmdOk_Click();
    void cmdAbbrechen_Click();
};


// The main window's command: presets the window and shows it for the
// selection; with nothing selected nothing happens.
void UmbenennenZeigen(const EintragsListe& einträge, QWidget* besitzer);
