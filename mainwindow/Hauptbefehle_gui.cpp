#include "mainwindow/Hauptbefehle_gui.h"

#include "mainwindow/frmInfo.h"

#include "core/Index.h"
#include "library/Synchronisieren.h"
#include "mainwindow/Beschaeftigt_gui.h"
#include "mainwindow/Hauptbefehle.h"
#include "mainwindow/Liste.h"
#include "mainwindow/Spielerleiste_gui.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSucheErweitert.h"
#include "player/Abspielen.h"
#include "player/frmAusfuehrenMit.h"
#include "player/Winamp.h"

#include <QApplication>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

Hauptbefehle::Hauptbefehle(frmMain* f) : Hauptfensterhelfer(f), m_f(f)
{
    setObjectName(QStringLiteral("Hauptbefehle"));
    abspielen = [f](const std::vector<qint32>& einträge, bool anhängen, bool ausführenMit, bool leeren) {
        AbspielenMediaPlayer(einträge, anhängen, ausführenMit, leeren, QString(), f);
    };
    ziehenStarten = [f](QMimeData* daten) {
        auto* zug = new QDrag(f->lstSongs);
        zug->setMimeData(daten);
        zug->exec(Qt::CopyAction, Qt::CopyAction);
    };
}

void Hauptbefehle::auswahlAbspielen(bool anhängen, bool ausführenMit, bool leeren)
{
    const std::vector<qint32> einträge = AuswahlEinträge(listenZustand(), hauptIndex());
    if (einträge.empty())
        return;
    abspielen(einträge, anhängen, ausführenMit, leeren);
}

void Hauptbefehle::cmdEintragAbspielen_Click() { auswahlAbspielen(false, false, listenZustand().bolPlaylistLeeren); }
void Hauptbefehle::cmdAnhängen_Click() { auswahlAbspielen(true, false, listenZustand().bolPlaylistLeeren); }
void Hauptbefehle::mnu_kontext_ausführen_Click() { auswahlAbspielen(false, true, false); }

void Hauptbefehle::mnu_kontext_ausführenmit_Click()
{
    const std::vector<qint32> einträge = AuswahlEinträge(listenZustand(), hauptIndex());
    if (einträge.empty())
        return;
    AusführenMitZeigen(einträge, m_f);
    m_f->update();
}

void Hauptbefehle::cmdListeAufräumen_Click()
{
    IndexSynchronisieren(hauptIndex(), m_f);
    m_f->update();
}

void Hauptbefehle::cmdSucheMehr_Click() { SucheErweitertZeigen(m_f); }

void Hauptbefehle::mnu_song_mitdiesemnamen_Click()
{
    m_f->SongMenüSuche(0, SpielerTitelSuchtext(WinampTitelLesen(strWinampDienst)), false);
}

void Hauptbefehle::SpielerTitelMenüZeigen(const QPoint& position)
{
    m_f->MenüsAktualisieren(true);
    m_f->mnu_songkontext->popup(position);
}

void Hauptbefehle::AuswahlAuffrischen()
{
    if (!ProgrammBeschäftigt(m_f))
        m_f->lstSongs_KeyUp();
}

void Hauptbefehle::ziehen()
{
    AuswahlErmitteln();
    BeschreibungAktualisieren();
    const QList<QUrl> urls = DateiUrls(hauptIndex(), AuswahlEinträge(listenZustand(), hauptIndex()));
    if (urls.isEmpty())
        return;
    auto* daten = new QMimeData;
    daten->setUrls(urls);
    ziehenStarten(daten);
}

bool Hauptbefehle::eventFilter(QObject* o, QEvent* e)
{
    if (o != m_f->lstSongs->viewport())
        return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(e);
        m_gedrückt = m->button() == Qt::LeftButton || m->button() == Qt::RightButton;
        m_druckPunkt = m->position().toPoint();
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_gedrückt = false;
        return false;
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        if (!m_gedrückt || !(m->buttons() & (Qt::LeftButton | Qt::RightButton)))
            return false;
        // A move with a button held drags the selection; the view must not
        // turn it into a new selection on the way.
        if ((m->position().toPoint() - m_druckPunkt).manhattanLength() >= QApplication::startDragDistance()) {
            m_gedrückt = false;
            ziehen();
        }
        return true;
    }
    default:
        return false;
    }
}

Hauptbefehle* HauptfensterBefehleVerbinden(frmMain* f)
{
    if (auto* schon = f->findChild<Hauptbefehle*>(QStringLiteral("Hauptbefehle"), Qt::FindDirectChildrenOnly))
        return schon;
    auto* b = new Hauptbefehle(f);
    const auto verbinden = [f](QObject* befehl, std::function<void()> aktion) {
        if (!f->BefehlVerfügbar(befehl))
            f->BefehlVerbinden(befehl, std::move(aktion));
    };
    verbinden(f->cmdEintragAbspielen, [b] { b->cmdEintragAbspielen_Click(); });
    verbinden(f->cmdAnhängen, [b] { b->cmdAnhängen_Click(); });
    verbinden(f->cmdEintragAusführen, [b] { b->mnu_kontext_ausführen_Click(); });
    verbinden(f->cmdEintragAusführenMit, [b] { b->mnu_kontext_ausführenmit_Click(); });
    verbinden(f->cmdListeAufräumen, [b] { b->cmdListeAufräumen_Click(); });
    verbinden(f->cmdSucheMehr, [b] { b->cmdSucheMehr_Click(); });
    verbinden(f->mnu_song_mitdiesemnamen, [b] { b->mnu_song_mitdiesemnamen_Click(); });
    verbinden(f->cmdInfo, [f] {
        static QPointer<frmInfo> info;
        if (!info)
            info = new frmInfo(f);
        info->Zeigen();
    });

    const QPointer<Hauptbefehle> z(b);
    SpielerleisteAuswahlHookSetzen([z] {
        if (z)
            z->AuswahlAuffrischen();
    });
    SpielerleisteSongmenüHookSetzen([z](const QPoint& p) {
        if (z)
            z->SpielerTitelMenüZeigen(p);
    });
    // Pressing on the selection keeps it, so that all of it can be dragged.
    f->lstSongs->setDragEnabled(true);
    f->lstSongs->viewport()->installEventFilter(b);
    return b;
}
