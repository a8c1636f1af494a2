#pragma once
// The index options: managed file types, synchronised folders and the look
// of the song list, all of which travel in the index file, and the
// double-click action of the list.

#include "mainwindow/Optionen.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class frmIndexOptionen : public QDialog {
    // No Q_OBJECT: moc cannot read names with umlauts.
public:
    explicit frmIndexOptionen(QWidget* parent = nullptr);

    std::array<QRadioButton*, 3> optOptionen{};
    std::array<QFrame*, 3> fraOptionen{};
    // "Dateitypen"
    QListWidget* lstDateitypen;
    QPushButton* cmdDateitypenHinzufügen;
    QPushButton* cmdDateitypenEntfernen;
    QGroupBox* fraDateitypenÄndern;
    QLineEdit* txtDateitypEndung;
    QCheckBox* chkDateitypMpegAudio;
    QCheckBox* chkDateitypAudio;
    QCheckBox* chkDateitypBilddatei;
    // "Synchronisation"
    QListWidget* lstSyncOrdner;
    QPushButton* cmdSyncOrdnerHinzufügen;
    QPushButton* cmdSyncOrdnerÄndern;
    QPushButton* cmdSyncOrdnerEntfernen;
    QCheckBox* chkSyncUnterordner;
    QCheckBox* chkSyncKopierenInOrdner;
    QLineEdit* txtSyncKopierenInOrdner;
    QPushButton* cmdOrdnerWählen;
    QCheckBox* chkSyncDanachEntfernen;
    // "Datei-Liste"
    QListWidget* lstSpalten;
    QCheckBox* chkBeschreibungsleiste;
    QCheckBox* chkGitter;
    QLineEdit* txtSpaltenBenutzerFormat;
    QRadioButton* optDoppelklickMediaPlayer;
    QRadioButton* optDoppelklickStandardPlayerPlaylist;
    QRadioButton* optDoppelklickID3;
    QRadioButton* optDoppelklickAusführen;

    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    // The folder question ("" when cancelled; tests replace it).
    std::function<QString(const QString& titel)> ordnerDialog;
    // What OK does to the main window's list after the options are taken:
    // apply the layout and refill the list when `neuFüllen` (the main window
    // installs this; without it nothing is shown anywhere).
    std::function<void(bool formatGeändert)> listeAnpassen;

    // Fills every control from the index options and the double-click setting.
    void Anzeigen(const Index& idx, int beiDoppelklick);
    // The controls as a working copy (the sync folders as edited so far).
    IndexOptionenArbeit Arbeitskopie() const;

    void cmdOk_Click();
    void cmdAbbrechen_Click();
    void optOptionen_Click(int index);
    void lstDateitypen_Click();
    void txtDateitypEndung_Change();
    void cmdDateitypenHinzufügen_Click();
    void cmdDateitypenEntfernen_Click();
    void lstSyncOrdner_Click();
    void chkSyncUnterordner_Click();
    void chkSyncKopierenInOrdner_Click();
    void txtSyncKopierenInOrdner_Change();
    void cmdOrdnerWählen_Click();
    void cmdSyncOrdnerHinzufügen_Click();
    void cmdSyncOrdnerÄndern_Click();
    void cmdSyncOrdnerEntfernen_Click();

private:
    std::vector<DateitypEintrag> m_typen; // parallel to lstDateitypen
    std::vector<SyncOrdnerEintrag> m_sync; // parallel to lstSyncOrdner
    int m_syncDanachEntfernen = 1;
    bool m_füllen = false;
    QString ordnerFragen();
    int gewählterTyp() const;
    int gewählterOrdner() const;
    // The checks before a list entry goes: one chosen, one of the user's
    // own, and the user's Yes.
    bool entfernenBestätigt(int k, bool eingebaut);
    void typenZeigen(int wählen);
};

// The program's index options window (created on first use, hidden).
frmIndexOptionen* indexOptionenFenster();

// Opens the index options over `besitzer` (from the program options): only
// with an index loaded; the main window's columns are read back first.
void IndexOptionenZeigen(QWidget* besitzer);
