#include "library/Befehle_gui.h"

#include "core/Index.h"
#include "core/Meldungen.h"
#include "library/Besitzer.h"
#include "library/Hinzufuegen.h"
#include "library/Loeschen.h"
#include "library/frmHinzufuegen.h"
#include "library/frmKopieren.h"
#include "library/frmIndexVerwaltung.h"
#include "library/frmLoeschen.h"
#include "library/frmUmbenennen.h"
#include "library/frmVerschiebenDateiExistiert.h"
#include "core/Liste.h"
#include "mainwindow/frmMain.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace {

QStringList LokaleDateien(const QMimeData* daten)
{
    QStringList pfade;
    if (!daten || !daten->hasUrls())
        return pfade;
    for (const QUrl& url : daten->urls()) {
        if (url.isLocalFile())
            pfade.append(url.toLocalFile());
    }
    return pfade;
}

// Takes files dropped on the list; the adding runs after the drop event
// has returned, so that the dragging program is not held up.
class ListenAblage : public Hauptfensterhelfer {
public:
    ListenAblage(frmMain* f) : Hauptfensterhelfer(f), m_f(f) {}

protected:
    bool eventFilter(QObject* objekt, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* d = static_cast<QDropEvent*>(e);
            // The list's own selection dragged over itself is no drop.
            if (d->source() == m_f->lstSongs || d->source() == m_f->lstSongs->viewport()
                || LokaleDateien(d->mimeData()).isEmpty()) {
                d->ignore();
            } else {
                d->setDropAction(Qt::CopyAction);
                d->accept();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* d = static_cast<QDropEvent*>(e);
            const QStringList pfade = LokaleDateien(d->mimeData());
            if (pfade.isEmpty() || d->source() == m_f->lstSongs || d->source() == m_f->lstSongs->viewport()) {
                d->ignore();
                return true;
            }
            d->setDropAction(Qt::CopyAction);
            d->accept();
            QPointer<frmMain> f(m_f);
            QTimer::singleShot(0, m_f, [f, pfade] {
                if (f)
                    DragDrop(f, pfade);
            });
            return true;
        }
        default:
            return QObject::eventFilter(objekt, e);
        }
    }

private:
    frmMain* m_f;
};

} // namespace

void BefehlHinzufügen(frmMain* f)
{
    HinzufügenZeigen(f);
}

void BefehlAusIndexEntfernen(frmMain* f)
{
    EintragsListe liste = AuswahlEinträgeKopieren();
    if (liste.empty())
        return;
    if (MeldungZeigen(QStringLiteral("Möchten die gewählte(n) Datei(en) aus dem Index entfernen?\nDiese "
                                     "bleiben/bleibt weiterhin auf dem Datenträger gespeichert."),
                      Knöpfe::JaNein, Symbol::Ausruf, f)
        != Antwort::Ja)
        return;
    DateienLöschen(hauptIndex(), liste, 0, true);
}

void BefehlLöschen(frmMain* f)
{
    const EintragsListe liste = AuswahlEinträgeKopieren();
    if (!liste.empty())
        LöschenZeigen(liste, f);
}

void BefehlIndexVerwaltung(frmMain* f)
{
    const EintragsListe liste = AuswahlEinträgeKopieren();
    if (!liste.empty())
        IndexVerwaltungZeigen(liste, qint32(f->lstSongs->model()->rowCount()), f);
}

void DragDrop(frmMain* f, const QStringList& pfade)
{
    if (pfade.isEmpty() || HinzufügenLäuft())
        return;
    f->setEnabled(false);
    QCoreApplication::processEvents();
    f->setEnabled(true);
    DragDropVerarbeiten(hauptIndex(), pfade);
    f->update();
}

void BibliotheksBefehleVerbinden(frmMain* f)
{
    f->BefehlVerbinden(f->cmdIndexErstellen, [f] { BefehlHinzufügen(f); });
    f->BefehlVerbinden(f->cmdDateiEntfernen, [f] { BefehlAusIndexEntfernen(f); });
    f->BefehlVerbinden(f->cmdDateienLöschen, [f] { BefehlLöschen(f); });
    f->BefehlVerbinden(f->cmdUmbenennen, [f] { UmbenennenZeigen(AuswahlEinträgeKopieren(), f); });
    f->BefehlVerbinden(f->cmdDateienKopierenVerschieben, [f] { KopierenZeigen(AuswahlEinträgeKopieren(), f); });
    f->BefehlVerbinden(f->cmdIndexVerwaltung, [f] { BefehlIndexVerwaltung(f); });
    f->lstSongs->setAcceptDrops(true);
    f->lstSongs->viewport()->setAcceptDrops(true);
    f->lstSongs->viewport()->installEventFilter(new ListenAblage(f));
}
