#pragma once
// The main window's commands that are carried out here: play, enqueue and
// open the selection (also with a chosen program), synchronise the index, the extended search, the
// player-title search of the song menu, the poll's selection refresh, and
// dragging the selected files out of the list.

#include "mainwindow/frmMain.h"

#include <QObject>
#include <QPoint>
#include <functional>
#include <vector>

class QMimeData;

class Hauptbefehle : public Hauptfensterhelfer {
    Q_OBJECT
public:
    explicit Hauptbefehle(frmMain* f);

    // Where a play request goes: the entries, append, open with a program,
    // clear the player's playlist first (tests replace it).
    std::function<void(const std::vector<qint32>&, bool, bool, bool)> abspielen;
    // Starts the drag of the data (tests replace it; it takes the data).
    std::function<void(QMimeData*)> ziehenStarten;

    void cmdEintragAbspielen_Click();
    void cmdAnhängen_Click();
    // Opens the selection with the programs of its file types.
    void mnu_kontext_ausführen_Click();
    // The open-with window for the selection.
    void mnu_kontext_ausführenmit_Click();
    void cmdListeAufräumen_Click();
    void cmdSucheMehr_Click();
    void mnu_song_mitdiesemnamen_Click();
    // The song menu for the player's title, at a screen position.
    void SpielerTitelMenüZeigen(const QPoint& position);
    // The poll's refresh of the selection and the description bar; nothing
    // while a progress run or a modal window is active.
    void AuswahlAuffrischen();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    frmMain* m_f;
    QPoint m_druckPunkt;
    bool m_gedrückt = false;
    void auswahlAbspielen(bool anhängen, bool ausführenMit, bool leeren);
    void ziehen();
};

// Connects the commands above to the main window (once; a command another
// part has connected already is left alone) and returns them.
Hauptbefehle* HauptfensterBefehleVerbinden(frmMain* f);
