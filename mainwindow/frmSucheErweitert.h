#pragma once
// The extended search: the list of queries that narrow the search together.

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class frmMain;
class frmSucheErweitertHinzufügen;

class frmSucheErweitert : public QDialog {
    Q_OBJECT
public:
    explicit frmSucheErweitert(frmMain* haupt);

    QListWidget* lstSucheAuflistung;
    QPushButton* cmdSucheNeu;
    QPushButton* cmdSucheÄndern;
    QPushButton* cmdSucheLöschen;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    QLabel* Label1;
    QLabel* Label7;
    QLabel* Label2;
    QLabel* lblSucheArt;

    frmSucheErweitertHinzufügen* dialog() const { return m_dialog; }

    // Fills the list from the query store and the dialog's field list from
    // the main window's field box (once), enables "Abbrechen".
    void Vorbereiten();

    void cmdSucheNeu_Click();
    void cmdSucheÄndern_Click();
    void cmdSucheLöschen_Click();
    void lstSucheAuflistung_DblClick();
    void cmdOk_Click();
    void cmdAbbrechen_Click();

protected:
    // Closed by the title bar or Escape: after changes the queries are
    // applied as by OK, so the search never differs from what the list
    // shows; without changes it is a cancel.
    void reject() override;

private:
    frmMain* m_haupt;
    frmSucheErweitertHinzufügen* m_dialog;
    // Puts the stored queries into the main window's search boxes and runs
    // the search.
    void anwenden();
};

// The main window's "Erweiterte Suche": prepares the window and shows it
// modally.
void SucheErweitertZeigen(frmMain* haupt);
// The window, when it was created (loading an index hides it).
frmSucheErweitert* sucheErweitertFenster();
