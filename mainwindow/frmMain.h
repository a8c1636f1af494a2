#pragma once
// The main window: song list, link-style commands, search box, player panel.

#include "mainwindow/Liste.h"
#include "mainwindow/Spalten.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QStringListModel;
class ListenModell;
class StatusSchreiber;
class frmMain;

// A link-style command: a label that acts as a button.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);
Q_SIGNALS:
    void clicked();
protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A part of the main window that watches its widgets for it (an event
// filter, a handler of their signals). Each goes as soon as the window
// begins to go, before the widgets' last events could reach it.
class Hauptfensterhelfer : public QObject {
    Q_OBJECT
public:
    explicit Hauptfensterhelfer(frmMain* f);
};

class frmMain : public QWidget, public ListenAnzeige {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // "Kalvero 1.0 - <index file>"
    QString NormalerTitel() const;
    StatusSchreiber* statusSchreiber() const { return m_status; }

    // The window's Tag: "1" marks an explicit quit.
    QString Tag = QStringLiteral("0");

    // Top strip
    QFrame* fraLinks1;
    LinkLabel* lblIndexdatei;
    QLabel* lblAnwendung;
    QLabel* Label1;
    QLabel* lblIndexdateiUntertitel1;
    QLabel* lblIndexDateiUntertitel2;
    // Left column
    QFrame* fraKnöpfeLinks;
    QFrame* fraLinks2;
    QFrame* fraNurBeiAusgewählt;
    LinkLabel* cmdEintragAusführen;
    LinkLabel* cmdEintragAusführenMit;
    LinkLabel* cmdIndexVerwaltung;
    LinkLabel* cmdAnhängen;
    LinkLabel* cmdEintragAbspielen;
    LinkLabel* cmdExportieren;
    LinkLabel* cmdMp3TagAnzeigen;
    LinkLabel* cmdDateiEntfernen;
    LinkLabel* cmdDateienLöschen;
    LinkLabel* cmdDateienKopierenVerschieben;
    LinkLabel* cmdUmbenennen;
    LinkLabel* cmdAutoDJ;
    LinkLabel* cmdIndexStatistik;
    LinkLabel* cmdIndexErstellen;
    LinkLabel* cmdListeAufräumen;
    LinkLabel* cmdAuswählen;
    QFrame* Line1;
    QFrame* fraLinks4;
    QLabel* lblSucheÜberschrift;
    QComboBox* cboSuche;
    QComboBox* txtSongname; // editable: the search text with its value list
    LinkLabel* cmdSucheLöschen;
    LinkLabel* cmdSucheMehr;
    QLabel* lblDateiAnzahl;
    // Bottom strip
    QFrame* fraLinks5;
    LinkLabel* cmdBeenden;
    LinkLabel* cmdHilfe;
    LinkLabel* cmdOptionen;
    LinkLabel* cmdInfo;
    // Player panel
    QFrame* fraLinks3;
    QLabel* lblWinampSteuerungTitel;
    LinkLabel* cmdAbspielen;
    LinkLabel* cmdAbspielenStopp;
    LinkLabel* cmdWinampVorheriger;
    LinkLabel* cmdWinampNächster;
    QLabel* lblWinampSteuerungPosition;
    QScrollBar* hscrlTrackPos;
    QLabel* lblWinampSteuerungVolumen;
    QScrollBar* hscrlVolume;
    QLabel* lblWinampSteuerungBalance;
    QScrollBar* hscrlBalance;
    // The list and the timers
    QTableView* lstSongs;
    QTimer* tmrScrollUpdate;
    QTimer* tmrListe;

    // The list's context menu
    QMenu* mnu_kontext;
    QAction* mnu_kontext_indexhinzufügen;
    QAction* mnu_kontext_indexentfernen;
    QAction* mnu_kontext_kopieren;
    QAction* mnu_kontext_umbenennen;
    QAction* mnu_kontext_löschen;
    QAction* mnu_kontext_abspielen;
    QAction* mnu_kontext_playlist;
    QAction* mnu_kontext_ausführen;
    QAction* mnu_kontext_ausführenmit;
    QAction* mnu_kontext_infos;
    QAction* mnu_kontext_export;
    // The song menu
    QMenu* mnu_songkontext;
    QAction* mnu_song_titel;
    QAction* mnu_song_allesongsmittitel;
    QAction* mnu_song_allesongsvoninterpret;
    QAction* mnu_song_allesongsvonalbum;
    QAction* mnu_song_allesongsimordner;
    QAction* mnu_song_mitdiesemnamen;
    QAction* mnu_song_zwischenablage;
    QAction* mnu_song_wähletrennzeichen2;
    QAction* mnu_song_InfosInternet;
    // The selection menu
    QMenu* mnu_PopUp1;
    QAction* mnu_wähletop;
    QAction* mnu_wählealle;
    QAction* mnu_wählekeine;
    QAction* mnu_wähleumkehren;
    QAction* mnu_wähleabhier;
    QAction* mnu_wählebishier;

    ListenModell* modell() const { return m_modell; }

    // --- commands built elsewhere -------------------------------------------
    // A command label or menu item starts unavailable (disabled) until the
    // code that carries it out connects here; it is then enabled and runs
    // `aktion` when clicked or triggered.
    void BefehlVerbinden(QObject* befehl, std::function<void()> aktion);
    bool BefehlVerfügbar(const QObject* befehl) const;
    // Runs a command the way its click would (nothing when unavailable).
    void BefehlAuslösen(QObject* befehl);

    // --- the list -------------------------------------------------------------
    void SucheAktualisieren(bool bolAutoComplete) override;
    void ListeErstellenAktualisieren(qint32 lngVon, qint32 lngBis) override;
    void NeueInListeMarkieren(qint32 lngAnzahl) override;
    void AuswahlErmitteln() override;
    void BeschreibungAktualisieren() override;
    void ListeErstellen(bool bolAnzahlZeigen);
    void MenüsAktualisieren(bool bolWinampTitel);
    // The columns as the layout sees them (titles, tags, widths, positions).
    std::vector<ListenSpalte> ListenSpalten() const;
    // The layout of the index onto the list; true when a column came or went.
    bool SpaltenAnpassen();
    // The list's columns back into the index's layout text.
    void SpaltenSpeichern();
    // The state of a loaded index, or of none (after every load).
    void IndexZustandAnzeigen();

    // --- the search -----------------------------------------------------------
    void txtSongname_Change();
    void txtSongname_Click();
    void txtSongname_KeyDown(int taste);
    void cboSuche_Click();
    void tmrListe_Timer();
    void cmdSucheLöschen_Click();
    // The value list of the search box for `feld` (empty when `flag` is 0).
    void AutoCompleteFüllen(const QString& feld, int flag, const QString& feld2 = QString());
    // Completes the search text from its value list.
    bool AutoCompleteAusführen(const QString& text);
    const QStringList& Werteliste() const;

    // --- list events ----------------------------------------------------------
    void lstSongs_ColumnClick(int spalte);
    void lstSongs_KeyDown(int taste, Qt::KeyboardModifiers zusatz);
    void lstSongs_KeyUp();
    void lstSongs_MouseUp(Qt::MouseButton knopf);
    void lstSongs_DblClick();
    void lblIndexdateiUntertitel1_Click();
    void lblIndexDateiUntertitel2_Click();
    void cmdAuswählen_Click();
    void mnu_wählealle_Click();
    void mnu_wählekeine_Click();
    void mnu_wähleumkehren_Click();
    void mnu_wähleabhier_Click();
    void mnu_wählebishier_Click();
    // A search set from the song menu: the field (entry of cboSuche) and the
    // text, replacing the extended search's queries.
    void SongMenüSuche(int feldIndex, const QString& text, bool bolOhneAutoComplete = true);

    // --- closing --------------------------------------------------------------
    // The close request: `Cancel` non-zero keeps the program running;
    // `UnloadMode` 2 = the session ends, 3 = ended from outside.
    void Form_QueryUnload(int& Cancel, int UnloadMode);
    // The desktop session ends (the close path with mode 2). Without leave to
    // ask, a changed index is saved. False when the user cancelled.
    bool SitzungBeenden(bool fragenErlaubt);
    // A close request of `UnloadMode` from outside the window's own close
    // event: carried out at once, or, during a progress run, once after it.
    // Mode 3 asks nothing: a changed index is saved.
    // A request while the close path runs is that same request.
    void SchließenAnfordern(int UnloadMode);
    // How the close path saves the index and ends the program (tests
    // replace them).
    std::function<bool()> IndexSpeichern;
    std::function<void()> ProgrammBeenden;

    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    StatusSchreiber* m_status;
    int m_indexHörer = 0;
    ListenModell* m_modell;
    QStringListModel* m_werte;
    QStringList m_werteListe;
    bool m_ohneFragen = false; // nobody may be asked: the session or a signal ends the program
    bool m_schließtGerade = false; // the close path is running
    int m_schließenNachLauf = -1;  // the mode of a close request held for the run's end
    QTimer* m_schließenWarten = nullptr;
    void SchließenNachLaufAusführen();
    bool m_listeLässtLos = false; // the list view is handling a mouse release
    LinkLabel* link(const QString& name, const QString& text, QWidget* parent);
    void MenüsErstellen();
    void ZeilenBisEndeWählen(bool bisZumEnde);
    void SuchfehlerZeigen(const QString& text);
    QString SuchText() const;
};

// The program's main window (created on first use, hidden).
frmMain* hauptfenster();
bool hauptfensterExistiert();
