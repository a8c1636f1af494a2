#pragma once
// "Feld für alle festlegen": which fields the batch function "Felder
// kopieren..." copies from the file in the tag editor into the others, with
// a preview of what that file holds in the field clicked.

#include "media/Mp3TagStapel.h"

#include <QDialog>
#include <functional>
#include <utility>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// No Q_OBJECT: moc cannot write a class name with umlauts.
class frmMp3TagFeldFüllen : public QDialog {
public:
    explicit frmMp3TagFeldFüllen(QWidget* besitzer);

    QListWidget* lstFelder;
    QPlainTextEdit* txtInhalt;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;

    // The answer, read after the modal dialog returns.
    bool bolAngenommen = false;
    // The texts the editor's two boxes of field item `i` show (ID3v1, ID3v2).
    std::function<std::pair<QString, QString>(int)> inhalt;

    void lstFelder_Click();
    void cmdOk_Click();
    void cmdAbbrechen_Click();
    std::array<bool, TagFelder::Anzahl> Gewählt() const;

protected:
    void reject() override; // the title bar's close refuses
};
