#pragma once
// The program options: five pages of settings, a live preview of the
// colours, OK, Cancel and Reset. Nothing here writes the settings file; the
// settings reach it when the program ends.

#include "mainwindow/Optionen.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class frmMain;

class frmOptionen : public QDialog {
    // No Q_OBJECT: moc cannot read names with umlauts.
public:
    explicit frmOptionen(QWidget* parent = nullptr);

    // Page buttons and pages: element k of optOptionen shows fraOptionen(k).
    std::array<QRadioButton*, 5> optOptionen{};
    std::array<QFrame*, 5> fraOptionen{};

    // Page 0 "Allgemeines"
    QLabel* lblIndexdatei;
    QPushButton* cmdIndexdateiÄndern;
    QPushButton* cmdIndexOptionen;
    QCheckBox* chkAutomatischSpeichern;
    QCheckBox* chkRegelmäßigSpeichern;
    QLabel* lblRegelmäßigSpeichern;
    QLineEdit* txtRegelmäßigSpeichern;
    QCheckBox* chkWennNichtListe;
    QCheckBox* chkAuchUnterOrdner;
    QCheckBox* chkNichtVerfügbarZeigen;
    QCheckBox* chkAuswahlliste;
    QCheckBox* chkAutoComplete;
    QCheckBox* chkKeineSucheBeiKlick;
    QCheckBox* chkKeineSucheBeiTAgEditor;
    QComboBox* cboBeendenAktion;
    // Page 1 "Audio"
    QLabel* lblPfadWinamp;
    QLineEdit* txtWinampPfad;
    QPushButton* cmdWinampSuchen;
    QPushButton* cmdWinampAutoSuche;
    QLabel* lblParameterAbspielen;
    QLineEdit* txtParameterAbspielen;
    QLabel* lblParameterHinzufügen;
    QLineEdit* txtParameterHinzufügen;
    QCheckBox* chkPlaylistFürWinamp;
    QCheckBox* chkStatitikSpeichern;
    QPushButton* cmdStatistikLöschen;
    // Page 2 "Anzeigen"
    QCheckBox* chkStartbildschirm;
    QCheckBox* chkStartbildschirmNichtBeiLaden;
    QCheckBox* chkStartbildschirmNichtBeiSpeichern;
    QCheckBox* chkTippsZeigen;
    QPushButton* cmdWillkommen;
    // Page 3 "Farben"
    QComboBox* cboFarbProfile;
    QFrame* shpBeispielFunktionenHintergrund;
    QLabel* lblBeispielFunktionen;
    QLabel* lblBeispielFunktionenBesucht;
    QLabel* lblBeispielÜberschrift;
    QLabel* lblBeispielBeschreibungen;
    QListWidget* lstBeispielListe;
    QCheckBox* chkFunktionenUnterstreichen;
    QPushButton* cmdLinkFarbe;
    QPushButton* cmdLinkFarbeBesucht;
    QPushButton* cmdHintergrundFarbe;
    QPushButton* cmdÜberschriftFarbe;
    QPushButton* cmdBeschreibungFarbe;
    QPushButton* cmdListeFarbe;
    QPushButton* cmdListeTextFarbe;
    // Page 4 "Datei-TAGs"
    QCheckBox* chkID3auslesenV1;
    QCheckBox* chkID3auslesenV2;
    QCheckBox* chkID3auslesenHeader;
    QLineEdit* txtID3v2Reserve;
    QLineEdit* txtID3v2Suchen;
    QCheckBox* chkID3v2SoftwareFeldSchreiben;
    // Below the pages
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;
    QPushButton* cmdRücksetzen;

    // The colours the preview shows: the dialog's working copy.
    FarbWerte Vorschau() const { return m_vorschau; }

    // Choosers and side windows (tests replace them): the colour chooser
    // (an invalid colour when cancelled), the player program chooser ("" when
    // cancelled), the player search, the welcome window, the index file
    // window and the index options window, each over the given owner.
    std::function<QColor(const QColor& anfang)> farbDialog;
    std::function<QString()> programmDialog;
    std::function<QString()> spielerSuchen;
    std::function<void(QWidget*)> willkommenZeigen;
    std::function<void(QWidget*)> indexDateiFensterZeigen;
    std::function<void(QWidget*)> indexOptionenZeigen;

    // Fills every control from the settings.
    void OptionenAnzeigen();

    void cmdOk_Click();
    void cmdAbbrechen_Click();
    void cmdRücksetzen_Click();
    void optOptionen_Click(int index);
    void cboFarbProfile_Click();
    void cmdLinkFarbe_Click();
    void cmdLinkFarbeBesucht_Click();
    void cmdHintergrundFarbe_Click();
    void cmdÜberschriftFarbe_Click();
    void cmdBeschreibungFarbe_Click();
    void cmdListeFarbe_Click();
    void cmdListeTextFarbe_Click();
    void chkAuswahlliste_Click();
    void chkRegelmäßigSpeichern_Click();
    void chkStartbildschirm_Click();
    void chkFunktionenUnterstreichen_Click();
    // The hover look of the link samples: `unterMaus` is a sample or a page.
    void BeispielHervorheben(QWidget* unterMaus);
    void cmdIndexdateiÄndern_Click();
    void cmdIndexOptionen_Click();
    void cmdWillkommen_Click();
    void cmdWinampAutoSuche_Click();
    void cmdWinampSuchen_Click();
    void cmdStatistikLöschen_Click();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    FarbWerte m_vorschau;
    void vorschauZeigen();
    void farbeWählen(qint32& farbe);
};

// The program's options window (created on first use, hidden).
frmOptionen* optionenFenster();

// Fills the options window, selects its first page and shows it modally
// over `besitzer`.
void OptionenZeigen(QWidget* besitzer);

// Connects the options command (also the tray's) and the index file label
// of the main window.
void OptionenBefehleVerbinden(frmMain* f);

// The index file window as the main window's label opens it: its list holds
// the index files of the current index file's folder and its sub-folders.
void IndexDateiFensterVomHauptfenster(frmMain* f);
