#include "core/frmFortschritt.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Linkfarbe_gui.h"
#include "platform/Farbe_gui.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>


frmFortschritt::frmFortschritt(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFortschritt"));
    setWindowTitle(ProgrammTitel());
    setFixedSize(TwipsZuPixel(4590), TwipsZuPixel(1950));
    auto mk = [this](QWidget* w, const char* name, int l, int t, int wd, int h) {
        w->setObjectName(QString::fromUtf8(name));
        w->setGeometry(TwipsZuPixel(l), TwipsZuPixel(t), TwipsZuPixel(wd), TwipsZuPixel(h));
        return w;
    };
    lblVorgang = static_cast<QLabel*>(mk(new QLabel(this), "lblVorgang", 45, 45, 4515, 240));
    QFont f = lblVorgang->font();
    f.setBold(true);
    lblVorgang->setFont(f);
    lblProzess = static_cast<QLabel*>(mk(new QLabel(this), "lblProzess", 45, 270, 4515, 195));
    ProgressBar2 = static_cast<QFrame*>(mk(new QFrame(this), "ProgressBar2", 45, 495, 4500, 195));
    ProgressBar2->setFrameShape(QFrame::Box);
    ProgressBar1 = static_cast<QFrame*>(mk(new QFrame(this), "ProgressBar1", 45, 495, 0, 195));
    ProgressBar1->setAutoFillBackground(true);
    QPalette p = ProgressBar1->palette();
    p.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    ProgressBar1->setPalette(p);
    cmdAbbrechen = static_cast<QPushButton*>(mk(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen", 1485, 765, 1455, 330));
    Label1 = static_cast<QLabel*>(mk(new QLabel(QStringLiteral("Nutzen Sie die Wartezeit! Besuchen Sie meine Internetseite für mehr Infos und Software..."), this), "Label1", 720, 1260, 3840, 420));
    Label1->setWordWrap(true);
    lblwebsite = static_cast<QLabel*>(mk(new QLabel(Webadresse(), this), "lblwebsite", 720, 1665, 2010, 195));
    lblwebsite->setToolTip(QStringLiteral("Besuchen Sie meine Internetseite!"));
    lblwebsite->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(Webadresse()));
    lblwebsite->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LinkLabelFärben(lblwebsite, einstellungen().FarbeFunktionen);
    connect(lblwebsite, &QLabel::linkActivated, this, &frmFortschritt::lblwebsite_Click);
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
    ProgressBar1->resize(TwipsZuPixel(std::min(z.balkenBreite, kBalkenBreiteVoll)), ProgressBar1->height());
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
    ProgrammStarten(Webadresse(), QString());
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
