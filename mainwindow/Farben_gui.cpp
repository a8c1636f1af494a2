#include "mainwindow/Farben_gui.h"

#include "core/Einstellungen.h"
#include "core/Linkfarbe_gui.h"
#include "mainwindow/frmMain.h"
#include "platform/Farbe_gui.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QScrollBar>
#include <QTableView>

namespace {

const char* const kLinks[] = {
    "cmdWinampVorheriger", "cmdWinampNächster", "lblWinampSteuerungTitel", "cmdAbspielenStopp", "cmdAbspielen",
    "cmdSucheLöschen", "cmdSucheMehr", "cmdEintragAusführen", "cmdEintragAusführenMit", "cmdIndexVerwaltung",
    "cmdAnhängen", "cmdEintragAbspielen", "cmdExportieren", "cmdMp3TagAnzeigen", "cmdDateiEntfernen",
    "cmdDateienLöschen", "cmdDateienKopierenVerschieben", "cmdUmbenennen", "cmdAutoDJ", "cmdIndexStatistik",
    "cmdIndexErstellen", "cmdListeAufräumen", "cmdAuswählen", "cmdBeenden", "cmdHilfe", "cmdOptionen", "cmdInfo",
    "lblIndexdatei", "lblIndexDateiUntertitel2",
};

const QStringList kWebFenster = {QStringLiteral("frmFortschritt"), QStringLiteral("frmInfo"),
                                  QStringLiteral("frmInternet")};

const char* const kRahmen[] = {"fraKnöpfeLinks", "fraLinks1", "fraLinks2", "fraLinks3",
                               "fraLinks4", "fraLinks5", "fraNurBeiAusgewählt"};

QColor farbe(qint32 windows) { return WindowsFarbe(windows); }

void vordergrund(QWidget* w, qint32 c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe(c));
    p.setColor(QPalette::Text, farbe(c));
    p.setColor(QPalette::ButtonText, farbe(c));
    w->setPalette(p);
}

void hintergrund(QWidget* w, qint32 c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, farbe(c));
    p.setColor(QPalette::Base, farbe(c));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

bool ruhendUnterstrichen() { return einstellungen().FunktionenUnterstreichen != 0; }

// A label that shows as a heading while it has the heading colour.
bool alsÜberschrift(const QWidget* w)
{
    return w->palette().color(QPalette::WindowText) == farbe(einstellungen().FarbeÜberschrift);
}

class LinkBeobachter : public Hauptfensterhelfer {
public:
    explicit LinkBeobachter(frmMain* f) : Hauptfensterhelfer(f), m_f(f) {}
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w)
            return false;
        if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
            const QString n = w->objectName();
            if ((n == QLatin1String("lblIndexdateiUntertitel1") || n == QLatin1String("lblWinampSteuerungTitel"))
                && alsÜberschrift(w))
                return false;
            // The list's moves reach its viewport; the list stands for it.
            LinkHervorheben(m_f, w == m_f->lstSongs->viewport() ? m_f->lstSongs : w);
        } else if (e->type() == QEvent::MouseButtonPress && IstLink(w) && w->isEnabled()) {
            vordergrund(w, einstellungen().FarbeFunktionenBesucht);
        }
        return false;
    }

private:
    frmMain* m_f;
};

void beobachterEinrichten(frmMain* f)
{
    if (f->property("kalveroLinksBeobachtet").toBool())
        return;
    f->setProperty("kalveroLinksBeobachtet", true);
    auto* b = new LinkBeobachter(f);
    for (const char* name : kLinks)
        if (auto* w = f->findChild<QWidget*>(QString::fromUtf8(name))) {
            w->setProperty("Tag", QStringLiteral("htmstyle"));
            w->setCursor(Qt::PointingHandCursor);
            LinkMausVerfolgen(w);
            w->installEventFilter(b);
        }
    // The description heading is a link while it is not in the heading colour.
    LinkMausVerfolgen(f->lblIndexdateiUntertitel1);
    f->lblIndexdateiUntertitel1->installEventFilter(b);
    // Moves over the frames, the window and the list put every link at rest.
    QList<QWidget*> hintergründe = {f, f->lstSongs->viewport()};
    for (const char* name : kRahmen)
        if (auto* w = f->findChild<QWidget*>(QString::fromUtf8(name)))
            hintergründe << w;
    for (QWidget* w : hintergründe) {
        w->setMouseTracking(true);
        w->installEventFilter(b);
    }
}

} // namespace

bool IstLink(const QWidget* w)
{
    return w && w->property("Tag").toString() == QLatin1String("htmstyle");
}

void FarbenAnwenden(frmMain* f)
{
    if (!f)
        return;
    beobachterEinrichten(f);
    const Einstellungen& e = einstellungen();
    for (QLabel* l : f->findChildren<QLabel*>()) {
        if (!IstLink(l))
            continue;
        vordergrund(l, e.FarbeFunktionen);
        UnterstreichungSetzen(l, ruhendUnterstrichen());
    }
    // The web-address labels of the small windows that exist; the others
    // take the colours when they are made.
    for (QWidget* fenster : QApplication::topLevelWidgets())
        if (kWebFenster.contains(fenster->objectName()))
            LinkLabelFärben(fenster->findChild<QLabel*>(QStringLiteral("lblwebsite")), e.FarbeFunktionen);
    vordergrund(f->lblDateiAnzahl, e.FarbeFunktionenBesucht);
    hintergrund(f, e.FarbeFunktionenHintergrund);
    for (const char* name : kRahmen)
        if (auto* w = f->findChild<QWidget*>(QString::fromUtf8(name)))
            hintergrund(w, e.FarbeFunktionenHintergrund);
    for (QWidget* w : {static_cast<QWidget*>(f->lstSongs), static_cast<QWidget*>(f->txtSongname),
                       static_cast<QWidget*>(f->cboSuche)}) {
        vordergrund(w, e.FarbeListen);
        hintergrund(w, e.FarbeListenHintergrund);
    }
    // A closed search box, the list's column titles and the arrows of its
    // scroll bars are drawn as buttons: they take the list's colours, or the
    // list's text colour would stand on the desktop's button grey.
    for (QWidget* w : {static_cast<QWidget*>(f->cboSuche), static_cast<QWidget*>(f->txtSongname),
                       static_cast<QWidget*>(f->lstSongs->horizontalHeader()),
                       static_cast<QWidget*>(f->lstSongs->verticalScrollBar()),
                       static_cast<QWidget*>(f->lstSongs->horizontalScrollBar())}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Button, farbe(e.FarbeListenHintergrund));
        p.setColor(QPalette::ButtonText, farbe(e.FarbeListen));
        w->setPalette(p);
    }
    f->BeschreibungAktualisieren();
    for (QWidget* w : {static_cast<QWidget*>(f->lblWinampSteuerungBalance), static_cast<QWidget*>(f->lblWinampSteuerungPosition),
                       static_cast<QWidget*>(f->lblWinampSteuerungVolumen)})
        vordergrund(w, e.FarbeBeschreibungen);
    vordergrund(f->lblSucheÜberschrift, e.FarbeÜberschrift);
    // The program's name heads the window.
    for (QLabel* l : {f->lblAnwendung, f->Label1})
        vordergrund(l, e.FarbeÜberschrift);
}

void LinkHervorheben(frmMain* f, QWidget* unterMaus)
{
    if (!f)
        return;
    const bool ruhend = ruhendUnterstrichen();
    for (QLabel* l : f->findChildren<QLabel*>()) {
        if (l == unterMaus)
            continue;
        if (IstLink(l) || (l->objectName() == QLatin1String("lblIndexdateiUntertitel1") && !alsÜberschrift(l)))
            UnterstreichungSetzen(l, ruhend);
    }
    if (qobject_cast<QLabel*>(unterMaus))
        UnterstreichungSetzen(unterMaus, !ruhend);
}
