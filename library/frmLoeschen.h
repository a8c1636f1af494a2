#pragma once
// The delete window: the selected entries' files deleted or sent to the trash.

#include "library/Loeschen.h"

#include <QDialog>

class QLabel;
class QPushButton;

class frmLöschen : public QDialog {
    // No Q_OBJECT: moc cannot read a name with umlauts; the window needs no
    // signals of its own.
public:
    // `einträge`: the window's own copy of the selection.
    explicit frmLöschen(EintragsListe einträge, QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label2;
    QPushButton* cmdLöschen;
    QPushButton* cmdPapierkorb;
    QPushButton* cmdAbbrechen;

    EintragsListe einträge;
    // 1 delete, 2 trash; 0 while nothing was chosen.
    int modus = 0;

    void cmdLöschen_Click();
    void cmdPapierkorb_Click();
    void cmdAbbrechen_Click();
};

// Shows the delete window for the entries over `besitzer` and carries out
// the choice on the program's index.
void LöschenZeigen(const EintragsListe& einträge, QWidget* besitzer);
