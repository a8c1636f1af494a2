#pragma once
// The main window's player panel (buttons, position, volume and balance
// bars, title) and its 500 ms poll `tmrScrollUpdate`, which also saves the
// index at the chosen interval and refreshes the selection display.

#include "mainwindow/frmMain.h"

#include <QObject>
#include <QPoint>
#include <functional>

class QDateTime;
struct SpielerAnzeige;

class Spielerleiste : public Hauptfensterhelfer {
    Q_OBJECT
public:
    explicit Spielerleiste(frmMain* f);

    void tmrScrollUpdate_Timer();
    void cmdAbspielen_Click();
    void cmdAbspielenStopp_Click();
    void cmdWinampNächster_Click();
    void cmdWinampVorheriger_Click();
    void hscrlTrackPos_Scroll();
    // The thumb was let go: one seek, only after a drag.
    void hscrlTrackPos_Loslassen();
    void hscrlVolume_Change();
    void hscrlBalance_Change();
    void lblWinampSteuerungTitel_Click();

    // The user drags the position bar's thumb: the poll leaves the bar alone.
    bool bolTrackPosZiehen = false;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void anwenden(const SpielerAnzeige& a);
    void regelmäßigSpeichern(const QDateTime& jetzt);
    void titelFärben(qint32 farbe, bool unterstrichen);

    frmMain* m_f;
};

// Connects the player panel and the poll of the main window (once; later
// calls return the same panel). Call it at start-up when the volume and
// balance bars hold their stored values: a running player gets the volume.
Spielerleiste* SpielerleisteEinrichten(frmMain* f);

// What the poll runs at the end of each pass to refresh the selection and
// the description bar (the list's key handler with no key); not while a
// progress run or a modal window is active.
void SpielerleisteAuswahlHookSetzen(std::function<void()> hook);
// Shows the song menu at a screen position, its items brought up to date
// first; the title link opens it.
void SpielerleisteSongmenüHookSetzen(std::function<void(const QPoint&)> hook);
