#pragma once
// The add window: a file, a folder or a playlist into the index.

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QToolButton;
class QPushButton;

class frmHinzufügen : public QDialog {
    // No Q_OBJECT: moc cannot read a name with umlauts; the window needs no
    // signals of its own.
public:
    explicit frmHinzufügen(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QToolButton* cmdDateienHinzufügen;
    QLabel* Label1;
    QLabel* lblInfosGrößen;
    QToolButton* cmdOrdnerHinzufügen;
    QLabel* Label5;
    QLabel* lblInfosAnzahl;
    QToolButton* cmdImportieren;
    QLabel* Label6;
    QLabel* lblInfosSpieldauer;
    QLabel* Label2;
    QPushButton* cmdOk;

    // What the user chose; the window closes once there is something to add.
    enum class Auswahl { Nichts, Dateien, Ordner, Playlist };
    Auswahl auswahl = Auswahl::Nichts;
    QStringList pfade;

    // The pickers (file dialogs; tests replace them). Each returns nothing
    // when the user cancels.
    std::function<QStringList(const QString& filter)> dateienWählen;
    std::function<QString(const QString& titel)> ordnerWählen;
    std::function<QString(const QString& filter)> playlistWählen;

    void cmdDateienHinzufügen_Click();
    void cmdOrdnerHinzufügen_Click();
    void cmdImportieren_Click();
    void cmdOk_Click();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Gewählt(Auswahl art, const QStringList& gewählt);
    // The picture button whose title `o` is (null for anything else).
    QToolButton* knopfZumTitel(const QObject* o) const;
};

// The file-dialog filter of the managed types ("" when none is managed).
QString VerwalteteTypenFilter(const QStringList& strDateiTypen);

// Shows the add window over `besitzer` and adds what the user chose to the
// program's index.
void HinzufügenZeigen(QWidget* besitzer);
