#pragma once
// The AutoDJ window: a criteria page (genres, how many, what to leave out,
// the two ageing options) and a results page whose proposals are played,
// enqueued, exported or shown in the tag editor.

#include "media/frmMp3Tag.h"
#include "platform/Dienste.h"
#include "player/AutoDJ.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmAutoDJ : public QDialog {
public:
    explicit frmAutoDJ(QWidget* parent = nullptr);

    QLabel* Label3;
    QLabel* Label4;
    QPushButton* cmdZurück;
    QPushButton* cmdErstellen;
    QPushButton* cmdAbbrechen;
    // Criteria page
    QGroupBox* fraSuche;
    QLabel* lblFelder;
    QListWidget* lstFelder;
    QPushButton* cmdGenreAlle;
    QPushButton* cmdGenreKeine;
    QPushButton* cmdGenreUmkehren;
    QLabel* lblMaximum;
    QLineEdit* txtMaximum;
    QLabel* lblZeit1;
    QLineEdit* txtZeit;
    QComboBox* cboZeiteinheit;
    QLabel* lblZeit2;
    QCheckBox* chkAlteSeltener;
    QCheckBox* chkSehrAlteHäufiger;
    // Results page
    QGroupBox* fraErgebnisse;
    QListWidget* lstGefunden;
    QLabel* lblGefundenAnzahl;
    QLabel* lblDatei1;
    QLabel* lblDateiname1;
    QLabel* lblStatistikÜberschrift;
    QLabel* lblStatistik;
    QPushButton* cmdAbspielen;
    QPushButton* cmdInPlaylist;
    QPushButton* cmdExport;
    QPushButton* cmdInfos;
    QPushButton* cmdWählenAlle;
    QPushButton* cmdWählenKeine;
    QPushButton* cmdWählenUmkehren;
    QLabel* lblHinweis;

    // The entries of the selected proposals, in list order.
    std::vector<qint32> lngAutoDJAuswahl;

    // What the search draws and takes as now (tests replace them).
    Zufallszahl zufall;
    std::function<QDateTime()> jetzt;
    // The columns an export writes (the main list's).
    std::function<QStringList()> exportSpalten;
    // Where play and enqueue go: entries, enqueue (tests replace it).
    std::function<void(const std::vector<qint32>&, bool)> abspielen;

    // Fills the genre list: the names, then the item for files without one.
    void GenresSetzen(const QStringList& genres);

    void cmdZurück_Click();
    void cmdAbbrechen_Click();
    void cmdErstellen_Click();
    void lstGefunden_Click();
    void lstGefunden_DblClick();
    void cmdAbspielen_Click();
    void cmdInPlaylist_Click();
    void cmdExport_Click();
    void cmdInfos_Click();
    // Closing by the frame or Escape is "Schließen".
    void reject() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void knöpfeSetzen(bool an);
};

