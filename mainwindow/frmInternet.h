#pragma once
// The web search window: a search service from "Ineturl.dat" and a search
// text, opened in the web browser.

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class frmMain;

class frmInternet : public QDialog {
    Q_OBJECT
public:
    explicit frmInternet(QWidget* parent = nullptr);
    QListWidget* lstListe;
    QLineEdit* txtSuche;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    QLabel* lblwebsite;

    // The services as loaded, parallel to the list's rows.
    QStringList strInternetNamen;
    QStringList strInternetAdressen;

    void cmdOk_Click();
};

// The song menu's "Weitere Infos im Internet suchen...": loads the services
// and shows the window with the artist of the first selected entry.
void InternetSucheZeigen(frmMain* f);
