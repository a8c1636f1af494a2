#pragma once
// The export window: format, separator, quotes and file name of an export
// of given entries; the columns are handed in by the caller.

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmExportieren : public QDialog {
public:
    frmExportieren(std::vector<qint32> einträge, QStringList spalten, QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* lblZielformat;
    QRadioButton* optHtml;
    QLabel* lblHtml;
    QRadioButton* optPlayliste;
    QLabel* lblPlayliste;
    QRadioButton* optText;
    QLabel* lblText;
    QGroupBox* fraTextOptionen;
    QRadioButton* optTextKomma;
    QRadioButton* optTextTabulator;
    QRadioButton* optTextSemikolon;
    QRadioButton* optTextLeerzeichen;
    QCheckBox* chkTextAnführungszeichen;
    QLabel* lblDatei;
    QLineEdit* txtDatei;
    QPushButton* cmdDateiSuchen;
    QLabel* lblHinweis;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    std::vector<qint32> einträge;
    QStringList spalten;
    // The file chooser with a filter ("" when cancelled); tests replace it.
    std::function<QString(QWidget*, const QString&)> dateiWählen;

    // The controls from the export settings.
    void Vorbereiten();
    void optHtml_Click();
    void optPlayliste_Click();
    void optText_Click();
    void cmdDateiSuchen_Click();
    void cmdOk_Click();
    void cmdAbbrechen_Click();

private:
    void endungSetzen(const QString& endung);
};

// Shows the export window modally over `besitzer` for the entries, preset
// from the settings. True.
bool ExportierenVorbereiten(const std::vector<qint32>& einträge, const QStringList& spalten, QWidget* besitzer);
