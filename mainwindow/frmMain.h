#pragma once
// The main window: song list, link-style commands, search box, player panel.

#include <QFrame>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QWidget>

class StatusSchreiber;

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

class frmMain : public QWidget {
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
    QLabel* lblIndexdatei;
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

    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    StatusSchreiber* m_status;
    LinkLabel* link(const QString& name, const QString& text, QWidget* parent);
};

// The program's main window (created on first use, hidden).
frmMain* hauptfenster();
bool hauptfensterExistiert();
