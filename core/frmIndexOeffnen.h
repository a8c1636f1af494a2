#pragma once
// The index file window: pick another index file, name a new one, save the
// index in memory or a copy of it.

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;
class QPushButton;

class frmIndexÖffnen : public QDialog {
    // No Q_OBJECT: moc cannot read a name with umlauts.
public:
    explicit frmIndexÖffnen(QWidget* parent = nullptr);

    QComboBox* txtIndexdatei;
    QPushButton* cmdIndexdateiNeu;
    QPushButton* cmdIndexdateiWählen;
    QPushButton* cmdSpeichern;
    QPushButton* cmdIndexdateiSpeichernUnter;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    enum class DialogArt { Neu, Wählen, SpeichernUnter };
    // The file dialogs: the chosen path, "" when cancelled (tests replace it).
    std::function<QString(DialogArt art, const QString& startOrdner)> dateiDialog;

    // Fills the window for an opening: the list of the file field (kept
    // when `liste` is null), the field (the current index file), and the
    // save buttons (only while an index is loaded).
    void Vorbereiten(const QStringList* liste);
    // Shows the window modally over `besitzer`.
    void Zeigen(QWidget* besitzer);

    void cmdIndexdateiNeu_Click();
    void cmdIndexdateiWählen_Click();
    void cmdSpeichern_Click();
    void cmdIndexdateiSpeichernUnter_Click();
    void cmdOk_Click();
    void cmdAbbrechen_Click();
    void txtIndexdatei_Change();

private:
    QString dateiWählen(DialogArt art);
    void feldSetzen(const QString& pfad);
};

// The program's index file window (created on first use, hidden).
frmIndexÖffnen* indexÖffnenFenster();

// Presets the window (`liste` as its field's list unless null) and shows it
// over `besitzer`.
void IndexÖffnenZeigen(QWidget* besitzer, const QStringList* liste);
