#include "mainwindow/Tray_gui.h"

#include "core/Funktionen.h"
#include "mainwindow/Beschaeftigt_gui.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

namespace {
QPointer<TraySymbol> g_tray;

QAction* eintrag(QMenu* menü, const char* name, const QString& text)
{
    QAction* a = menü->addAction(text);
    a->setObjectName(QString::fromUtf8(name));
    return a;
}
} // namespace

// Built into the program (its resources): the same in the build folder and
// installed. PNG in each size, as nothing reads SVG at run time.
QIcon ProgrammSymbol()
{
    Q_INIT_RESOURCE(kalvero);
    QIcon bild;
    for (const int größe : {16, 32, 48, 64, 128, 256})
        bild.addFile(QStringLiteral(":/kalvero/kalvero-%1.png").arg(größe), QSize(größe, größe));
    return bild;
}

TraySymbol::TraySymbol(frmMain* fenster) : QObject(fenster), m_fenster(fenster)
{
    setObjectName(QStringLiteral("TraySymbol"));
    mnu_rechtsklick = new QMenu(QStringLiteral("&Programm"), fenster);
    mnu_rechtsklick->setObjectName(QStringLiteral("mnu_rechtsklick"));
    mnu_rechtsklick_programmzeigen = eintrag(mnu_rechtsklick, "mnu_rechtsklick_programmzeigen", QStringLiteral("Programm zeigen"));
    mnu_rechtsklick_programmzeigen->setCheckable(true);
    mnu_rechtsklick_optionen = eintrag(mnu_rechtsklick, "mnu_rechtsklick_optionen", QStringLiteral("Optionen..."));
    mnu_rechtsklick_infos = eintrag(mnu_rechtsklick, "mnu_rechtsklick_infos", QStringLiteral("Infos..."));
    mnu_kontext_trenn0 = mnu_rechtsklick->addSeparator();
    mnu_kontext_trenn0->setObjectName(QStringLiteral("mnu_kontext_trenn0"));
    mnu_rechtsklick_ende = eintrag(mnu_rechtsklick, "mnu_rechtsklick_ende", QStringLiteral("Ende..."));
    mnu_rechtsklick->setDefaultAction(mnu_rechtsklick_programmzeigen);

    connect(mnu_rechtsklick, &QMenu::aboutToShow, this, &TraySymbol::MenüVorbereiten);
    connect(mnu_rechtsklick_programmzeigen, &QAction::triggered, this, &TraySymbol::mnu_rechtsklick_programmzeigen_Click);
    connect(mnu_rechtsklick_optionen, &QAction::triggered, this, &TraySymbol::mnu_rechtsklick_optionen_Click);
    connect(mnu_rechtsklick_infos, &QAction::triggered, this, &TraySymbol::mnu_rechtsklick_infos_Click);
    connect(mnu_rechtsklick_ende, &QAction::triggered, this, &TraySymbol::mnu_rechtsklick_ende_Click);

    symbol = new QSystemTrayIcon(ProgrammSymbol(), this);
    symbol->setObjectName(QStringLiteral("picNotifier"));
    symbol->setToolTip(ProgrammTitel() + QStringLiteral(" - Hier klicken für Funktionen"));
    symbol->setContextMenu(mnu_rechtsklick);
    connect(symbol, &QSystemTrayIcon::activated, this, &TraySymbol::Benachrichtigung);
}

TraySymbol::~TraySymbol()
{
    symbol->hide();
    delete mnu_rechtsklick;
}

void TraySymbol::Benachrichtigung(QSystemTrayIcon::ActivationReason grund)
{
    if (ProgrammBeschäftigt(m_fenster) || bolTrayAktiv)
        return;
    bolTrayAktiv = true;
    switch (grund) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        FensterWiederherstellen(m_fenster);
        break;
    case QSystemTrayIcon::Context:
        // The desktop opens the menu itself; it is prepared on showing.
        MenüVorbereiten();
        break;
    default:
        break;
    }
    bolTrayAktiv = false;
}

void TraySymbol::MenüVorbereiten()
{
    const bool frei = !ProgrammBeschäftigt(m_fenster);
    mnu_rechtsklick_programmzeigen->setChecked(FensterSichtbar(m_fenster));
    mnu_rechtsklick_programmzeigen->setEnabled(frei);
    // These follow their commands in the main window, which may not be
    // available yet.
    mnu_rechtsklick_optionen->setEnabled(frei && m_fenster->cmdOptionen->isEnabled());
    mnu_rechtsklick_infos->setEnabled(frei && m_fenster->cmdInfo->isEnabled());
    mnu_rechtsklick_ende->setEnabled(frei);
}

void TraySymbol::mnu_rechtsklick_programmzeigen_Click()
{
    if (ProgrammBeschäftigt(m_fenster))
        return;
    if (FensterSichtbar(m_fenster))
        InTrayVerbergen(m_fenster);
    else
        FensterWiederherstellen(m_fenster);
}

void TraySymbol::mnu_rechtsklick_optionen_Click()
{
    if (!ProgrammBeschäftigt(m_fenster) && m_fenster->cmdOptionen->isEnabled())
        Q_EMIT m_fenster->cmdOptionen->clicked();
}

void TraySymbol::mnu_rechtsklick_infos_Click()
{
    if (!ProgrammBeschäftigt(m_fenster) && m_fenster->cmdInfo->isEnabled())
        Q_EMIT m_fenster->cmdInfo->clicked();
}

void TraySymbol::mnu_rechtsklick_ende_Click()
{
    if (ProgrammBeschäftigt(m_fenster))
        return;
    m_fenster->Tag = QStringLiteral("1");
    m_fenster->close();
}

void TraySymbolHinzufügen()
{
    // With the window hidden to the tray, closing a dialog opened from the
    // menu must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    if (g_tray)
        return;
    g_tray = new TraySymbol(hauptfenster());
    g_tray->symbol->show();
}

void TraySymbolEntfernen()
{
    delete g_tray.data();
}

TraySymbol* traySymbol() { return g_tray.data(); }

bool TrayVerfügbar()
{
    return g_tray && g_tray->symbol->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

bool FensterSichtbar(const QWidget* fenster)
{
    return fenster->isVisible() && !fenster->isMinimized();
}

void InTrayVerbergen(QWidget* fenster)
{
    if (TrayVerfügbar()) {
        fenster->setWindowState(fenster->windowState() & ~Qt::WindowMinimized);
        fenster->hide();
    } else {
        fenster->showMinimized();
    }
}

void FensterWiederherstellen(QWidget* fenster)
{
    if (fenster->isMinimized())
        fenster->setWindowState(fenster->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (fenster->isHidden())
        fenster->show();
    fenster->raise();
    fenster->activateWindow();
}
