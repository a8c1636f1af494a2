#include "core/frmFortschritt.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Linkfarbe_gui.h"
#include "platform/Farbe_gui.h"
#include "platform/Steuerelemente_gui.h"
#include "platform/Twips.h"
#include "platform/Zeilenlabel_gui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>


frmFortschritt::frmFortschritt(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFortschritt"));
    setWindowTitle(ProgrammTitel());
    lblVorgang = benannt(new QLabel(this), "lblVorgang");
    lblVorgang->setWordWrap(true);
    fettSetzen(lblVorgang);
    // A step's text (mostly a path) is one line, shortened in its middle:
    // the window stays as it is however long the texts of a run are.
    lblProzess = benannt(new Zeilenlabel(this, Qt::ElideMiddle), "lblProzess");
    // The bar grows inside its frame, which has the full width.
    ProgressBar2 = benannt(new QFrame(this), "ProgressBar2");
    ProgressBar2->setFrameShape(QFrame::Box);
    ProgressBar2->setFixedSize(TwipsZuPixel(kBalkenBreiteVoll), TwipsZuPixel(195));
    ProgressBar1 = benannt(new QFrame(ProgressBar2), "ProgressBar1");
    ProgressBar1->setGeometry(0, 0, 0, ProgressBar2->height());
    ProgressBar1->setAutoFillBackground(true);
    QPalette p = ProgressBar1->palette();
    p.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    ProgressBar1->setPalette(p);
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    Label1 = TextLabel(this, "Label1",
                       QStringLiteral("Nutzen Sie die Wartezeit! Besuchen Sie meine Internetseite für mehr Infos und "
                                      "Software..."));
    lblwebsite = benannt(new QLabel(this), "lblwebsite");
    lblwebsite->setToolTip(QStringLiteral("Besuchen Sie meine Internetseite!"));
    lblwebsite->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(Webadresse()));
    lblwebsite->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LinkLabelFärben(lblwebsite, einstellungen().FarbeFunktionen);
    connect(lblwebsite, &QLabel::linkActivated, this, &frmFortschritt::lblwebsite_Click);

    // What a run hides keeps its room: the window does not change while it shows.
    for (QWidget* w : {static_cast<QWidget*>(lblProzess), static_cast<QWidget*>(ProgressBar2),
                       static_cast<QWidget*>(cmdAbbrechen)})
        PlatzHalten(w);
    auto* v = new QVBoxLayout(this);
    v->addWidget(lblVorgang);
    v->addWidget(lblProzess);
    v->addWidget(ProgressBar2, 0, Qt::AlignHCenter);
    v->addWidget(cmdAbbrechen, 0, Qt::AlignHCenter);
    auto* werbung = new QVBoxLayout;
    werbung->setContentsMargins(TwipsZuPixel(675), 0, 0, 0);
    werbung->addWidget(Label1);
    werbung->addWidget(lblwebsite);
    v->addLayout(werbung);
    ProgressBar1->hide();
    ProgressBar2->hide();
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmFortschritt::cmdAbbrechen_Click);
}

void frmFortschritt::Zeigen(QObject* aufrufer, const FortschrittZustand& z)
{
    QWidget* w = qobject_cast<QWidget*>(aufrufer);
    if (w)
        w->setEnabled(false);
    // The caller owns nothing here: it only keeps the window above itself.
    // A dialog that starts a run and is destroyed later must not take the
    // program's one progress window with it.
    adjustSize();
    if (!windowHandle())
        create();
    if (windowHandle())
        windowHandle()->setTransientParent(w && w->window()->windowHandle() ? w->window()->windowHandle() : nullptr);
    if (w && w->isVisible()) {
        const QRect g = w->window()->frameGeometry();
        move(g.left() + g.width() / 2 - width() / 2, g.top() + g.height() / 2 - height() / 2);
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->availableGeometry();
        move(g.width() / 2 - width() / 2, g.height() / 2 - height() / 2);
    }
    setEnabled(true);
    Aktualisieren(z);
    show();
}

void frmFortschritt::Verbergen(QObject* aufrufer)
{
    hide();
    if (QWidget* w = qobject_cast<QWidget*>(aufrufer))
        w->setEnabled(true);
}

void frmFortschritt::Aktualisieren(const FortschrittZustand& z)
{
    if (lblVorgang->text() != z.überschrift)
        lblVorgang->setText(z.überschrift);
    ProgressBar1->setVisible(z.balkenSichtbar);
    ProgressBar2->setVisible(z.balkenSichtbar);
    ProgressBar1->resize(TwipsZuPixel(std::min(z.balkenBreite, kBalkenBreiteVoll)), ProgressBar2->height());
    lblProzess->setVisible(z.textSichtbar);
    if (z.textSichtbar)
        lblProzess->setText(z.text);
    cmdAbbrechen->setVisible(z.abbrechenSichtbar);
}

void frmFortschritt::cmdAbbrechen_Click()
{
    FortschrittAbbrechen();
}

void frmFortschritt::lblwebsite_Click()
{
    LinkLabelFärben(lblwebsite, einstellungen().FarbeFunktionenBesucht);
    MitStandardprogrammÖffnen(Webadresse(), this);
}

void frmFortschritt::closeEvent(QCloseEvent* e)
{
    // Closing by the title bar is a cancel request when cancelling is offered.
    if (cmdAbbrechen->isVisible())
        FortschrittAbbrechen();
    e->ignore();
}

void frmFortschritt::reject()
{
    if (cmdAbbrechen->isVisible())
        FortschrittAbbrechen();
}

namespace {
frmFortschritt* g_fenster = nullptr;
} // namespace

frmFortschritt::~frmFortschritt()
{
    // Whoever ends the window, nothing keeps drawing into it.
    if (g_fenster == this)
        g_fenster = nullptr;
    if (Dienst<FortschrittAnzeigeDienst>() == this)
        DienstSetzen<FortschrittAnzeigeDienst>(nullptr);
}

frmFortschritt* fortschrittsfenster()
{
    if (!g_fenster)
        g_fenster = new frmFortschritt;
    return g_fenster;
}
