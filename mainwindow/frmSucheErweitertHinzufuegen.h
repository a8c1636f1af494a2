#pragma once
// The dialog that creates or changes one query of the extended search.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class frmSucheErweitert;

// No Q_OBJECT: moc cannot write a class name with umlauts, and the dialog
// declares no signals of its own.
class frmSucheErweitertHinzufügen : public QDialog {
public:
    explicit frmSucheErweitertHinzufügen(frmSucheErweitert* liste);

    QListWidget* lstSucheArt;
    QLineEdit* txtSucheBegriff;
    QListWidget* lstSucheAuswahl;
    QComboBox* cboSucheMussDarfNicht;
    QComboBox* cboSucheUndOder;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;

    // The mode: a new query, or a change of query `lngAbfrage`.
    bool bolHinzufügen = true;
    qint32 lngAbfrage = 0;

    void cmdOk_Click();
    void cmdAbbrechen_Click();
    void lstSucheArt_Click();
    void lstSucheAuswahl_Click();
    void txtSucheBegriff_Change(const QString& text);

protected:
    void showEvent(QShowEvent* e) override;

private:
    frmSucheErweitert* m_liste;
    QString m_vorher; // the text before the last edit
};
