#pragma once
// The open-with window: the entries are opened with a program the user
// names (each file its own start, the file its only argument).

#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

class frmAusführenMit : public QDialog {
    // No Q_OBJECT: moc cannot read a name with umlauts; the window needs no
    // signals of its own.
public:
    // `einträge`: the window's own copy of the selection.
    explicit frmAusführenMit(std::vector<qint32> einträge, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* txtSuche;
    QPushButton* cmdProgrammSuchen;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    std::vector<qint32> einträge;
    // The file chooser ("" when cancelled); tests replace it.
    std::function<QString(QWidget*)> dateiWählen;

    void cmdProgrammSuchen_Click();
    void cmdOk_Click();
    void cmdAbbrechen_Click();
};

// Shows the open-with window modally over `besitzer` for the entries, its
// program preset from the setting `AusführenPfad`.
void AusführenMitZeigen(const std::vector<qint32>& einträge, QWidget* besitzer);
