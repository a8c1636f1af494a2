#include "mainwindow/Spielerleiste_gui.h"

#include "mainwindow/Beschaeftigt_gui.h"
#include "platform/Farbe_gui.h"

#include "core/Funktionen.h"
#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/IndexDatei.h"
#include "core/Linkfarbe_gui.h"
#include "core/StatusMeldung.h"
#include "mainwindow/frmMain.h"
#include "player/Spielerabfrage.h"
#include "player/Statistik.h"
#include "player/Winamp.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

std::function<void()>& auswahlHook()
{
    static std::function<void()> hook;
    return hook;
}

std::function<void(const QPoint&)>& songmenüHook()
{
    static std::function<void(const QPoint&)> hook;
    return hook;
}

// A save, a progress run or a selection refresh of the poll's own would run
// inside another one, or behind a modal window's back.
bool eigeneArbeitErlaubt() { return !ProgrammBeschäftigt(); }

} // namespace

void SpielerleisteAuswahlHookSetzen(std::function<void()> hook) { auswahlHook() = std::move(hook); }
void SpielerleisteSongmenüHookSetzen(std::function<void(const QPoint&)> hook) { songmenüHook() = std::move(hook); }

Spielerleiste::Spielerleiste(frmMain* f) : Hauptfensterhelfer(f), m_f(f)
{
    setObjectName(QStringLiteral("Spielerleiste"));
    connect(f->tmrScrollUpdate, &QTimer::timeout, this, &Spielerleiste::tmrScrollUpdate_Timer);
    connect(f->cmdAbspielen, &LinkLabel::clicked, this, &Spielerleiste::cmdAbspielen_Click);
    connect(f->cmdAbspielenStopp, &LinkLabel::clicked, this, &Spielerleiste::cmdAbspielenStopp_Click);
    connect(f->cmdWinampNächster, &LinkLabel::clicked, this, &Spielerleiste::cmdWinampNächster_Click);
    connect(f->cmdWinampVorheriger, &LinkLabel::clicked, this, &Spielerleiste::cmdWinampVorheriger_Click);
    connect(f->hscrlTrackPos, &QScrollBar::sliderMoved, this, &Spielerleiste::hscrlTrackPos_Scroll);
    connect(f->hscrlTrackPos, &QScrollBar::sliderReleased, this, &Spielerleiste::hscrlTrackPos_Loslassen);
    // valueChanged comes while the thumb is dragged too: the level follows it.
    connect(f->hscrlVolume, &QScrollBar::valueChanged, this, &Spielerleiste::hscrlVolume_Change);
    connect(f->hscrlBalance, &QScrollBar::valueChanged, this, &Spielerleiste::hscrlBalance_Change);
    f->lblWinampSteuerungTitel->installEventFilter(this);
}

Spielerleiste* SpielerleisteEinrichten(frmMain* f)
{
    if (!f)
        return nullptr;
    if (auto* da = f->findChild<Spielerleiste*>(QString(), Qt::FindDirectChildrenOnly))
        return da;
    auto* s = new Spielerleiste(f);
    if (Winamp_Check(false))
        s->hscrlVolume_Change();
    return s;
}

void Spielerleiste::tmrScrollUpdate_Timer()
{
    // A slow pass (a save with its progress display lets events run) is
    // never entered twice.
    const bool lief = m_f->tmrScrollUpdate->isActive();
    m_f->tmrScrollUpdate->stop();

    const QDateTime jetzt = JetztSekundengenau();
    const bool ziehen = bolTrackPosZiehen || m_f->hscrlTrackPos->isSliderDown();
    anwenden(SpielerAbfragen(hauptIndex(), m_f->hscrlTrackPos->maximum(), ziehen, jetzt));
    regelmäßigSpeichern(jetzt);
    if (eigeneArbeitErlaubt() && auswahlHook())
        auswahlHook()();

    if (lief)
        m_f->tmrScrollUpdate->start();
}

void Spielerleiste::anwenden(const SpielerAnzeige& a)
{
    frmMain* f = m_f;
    const bool leerlauf = a.zustand == SpielerAnzeige::Zustand::Leerlauf;
    if (a.balkenSetzen && (leerlauf || a.einzelheiten)) {
        f->hscrlTrackPos->setRange(0, a.balkenMaximum);
        f->hscrlTrackPos->setValue(a.balkenWert);
    }
    if (f->fraLinks3->isHidden() != !a.leisteSichtbar) {
        f->fraLinks3->setVisible(a.leisteSichtbar);
        f->Form_Resize();
    }
    if (!leerlauf && !a.einzelheiten)
        return;

    const bool zeigen = !leerlauf;
    f->lblWinampSteuerungPosition->setText(a.positionText);
    f->cmdAbspielen->setText(a.knopfText);
    for (QWidget* w : {static_cast<QWidget*>(f->cmdAbspielen), static_cast<QWidget*>(f->cmdAbspielenStopp),
                       static_cast<QWidget*>(f->cmdWinampNächster), static_cast<QWidget*>(f->cmdWinampVorheriger),
                       static_cast<QWidget*>(f->lblWinampSteuerungPosition),
                       static_cast<QWidget*>(f->lblWinampSteuerungBalance),
                       static_cast<QWidget*>(f->lblWinampSteuerungVolumen), static_cast<QWidget*>(f->hscrlTrackPos),
                       static_cast<QWidget*>(f->hscrlBalance), static_cast<QWidget*>(f->hscrlVolume)})
        w->setVisible(zeigen);

    const Einstellungen& e = einstellungen();
    if (leerlauf) {
        f->lblWinampSteuerungTitel->setText(a.titel);
        titelFärben(e.FarbeÜberschrift, false);
    } else if (f->lblWinampSteuerungTitel->text() != a.titel) {
        // The playing title is a link to the song menu.
        f->lblWinampSteuerungTitel->setText(a.titel);
        titelFärben(e.FarbeFunktionen, e.FunktionenUnterstreichen != 0);
    }
}

void Spielerleiste::titelFärben(qint32 farbe, bool unterstrichen)
{
    // Written only where it differs: the idle look is asked for on every pass.
    QLabel* l = m_f->lblWinampSteuerungTitel;
    TextfarbeSetzen(l, farbe);
    UnterstreichungSetzen(l, unterstrichen);
}

void Spielerleiste::regelmäßigSpeichern(const QDateTime& jetzt)
{
    Index& idx = hauptIndex();
    const Einstellungen& e = einstellungen();
    if (!RegelmäßigSpeichernFällig(idx.datLetzteSpeicherung, jetzt, e.RegelmäßigSpeichernAlle))
        return;
    // Put off, not skipped: the next free pass saves.
    if (!eigeneArbeitErlaubt())
        return;
    if (idx.bolIndexGeändert && idx.bolIndexGeladen
        && DateiSpeichern(idx, e.Dateiname, e.StartBildschirm == 1 && e.StartBildschirmNichtBeiSpeichern != 1, m_f))
        StatusMeldungZeigen(QStringLiteral("Die Indexdatei wurde automatisch gespeichert"), 0);
    idx.datLetzteSpeicherung = jetzt;
}

void Spielerleiste::cmdAbspielen_Click()
{
    if (m_f->cmdAbspielen->text() == QLatin1String("Spielen")) {
        WinAMP_SendCommandMessage(kWinampSpielen, false);
        m_f->cmdAbspielen->setText(QStringLiteral("Pause"));
    } else {
        WinAMP_SendCommandMessage(kWinampPause, false);
        m_f->cmdAbspielen->setText(QStringLiteral("Spielen"));
    }
}

void Spielerleiste::cmdAbspielenStopp_Click()
{
    if (Winamp_Check(false))
        WinAMP_SendCommandMessage(kWinampStopp, false);
}

void Spielerleiste::cmdWinampNächster_Click() { WinAMP_SendCommandMessage(kWinampNächster, false); }

void Spielerleiste::cmdWinampVorheriger_Click() { WinAMP_SendCommandMessage(kWinampVorheriger, false); }

void Spielerleiste::hscrlTrackPos_Scroll() { bolTrackPosZiehen = true; }

void Spielerleiste::hscrlTrackPos_Loslassen()
{
    if (!bolTrackPosZiehen)
        return;
    // Without tracking the value follows only after this signal.
    WinAMP_SeekToPosition(m_f->hscrlTrackPos->sliderPosition());
    bolTrackPosZiehen = false;
}

void Spielerleiste::hscrlVolume_Change() { WinAMP_SetVolume(m_f->hscrlVolume->value()); }

void Spielerleiste::hscrlBalance_Change() { WinAMP_SetBalance(m_f->hscrlBalance->value()); }

void Spielerleiste::lblWinampSteuerungTitel_Click()
{
    if (m_f->hscrlTrackPos->isHidden() || m_f->fraLinks3->isHidden())
        return;
    titelFärben(einstellungen().FarbeFunktionenBesucht, m_f->lblWinampSteuerungTitel->font().underline());
    if (songmenüHook())
        songmenüHook()(QCursor::pos());
}

bool Spielerleiste::eventFilter(QObject* o, QEvent* e)
{
    if (o == m_f->lblWinampSteuerungTitel && e->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
        lblWinampSteuerungTitel_Click();
    return QObject::eventFilter(o, e);
}
