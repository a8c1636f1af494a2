#pragma once
// The question for a file on a medium that is not there: waits, polling twice
// a second, until the file appears or the user skips it, skips all or aborts.

#include "core/Verfuegbarkeit.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// No Q_OBJECT: moc cannot read a class name with umlauts; the window needs
// no signals of its own.
class frmDateiNichtVerfügbar : public QDialog {
public:
    explicit frmDateiNichtVerfügbar(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QLabel* lblText;
    QPushButton* cmdÜberspringen;
    QPushButton* cmdÜberspringenAlle;
    QPushButton* cmdAbbrechen;
    QTimer* tmrDateiSuchen;

    // The path waited for and the answer given.
    QString NichtVerfügbarPfad;
    NichtVerfügbarAntwort Antwort = NichtVerfügbarAntwort::Abbrechen;

    // Shows the question modally and returns the answer.
    NichtVerfügbarAntwort Fragen(const QString& pfad, const QString& text, QObject* besitzer);

    void cmdÜberspringen_Click();
    void cmdÜberspringenAlle_Click();
    void cmdAbbrechen_Click();
    void tmrDateiSuchen_Timer();

protected:
    // Closing by the title bar or Escape aborts, like "Vorgang abbrechen".
    void reject() override;

private:
    void antworten(NichtVerfügbarAntwort a);
};

// The program's one question window (made on first use).
frmDateiNichtVerfügbar* dateiNichtVerfügbarFenster();

// Installs the window as the availability question.
void DateiNichtVerfügbarFensterEinrichten();
