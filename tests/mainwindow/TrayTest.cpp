#include "core/Einstellungen.h"
#include "mainwindow/Tray_gui.h"
#include "mainwindow/frmBeenden.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Answers the exit choice while its modal loop runs.
int wählen(QPushButton* frmBeenden::*knopf, bool immer, int vorher = 0)
{
    einstellungen().BeendenReaktion = vorher;
    QTimer::singleShot(0, [=] {
        auto* d = qobject_cast<frmBeenden*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(d->chkImmer->isChecked()) << "the choice starts unticked";
        d->chkImmer->setChecked(immer);
        if (knopf)
            (d->*knopf)->click();
        else
            d->close(); // the title bar's close
    });
    QWidget besitzer;
    return BeendenFragen(&besitzer);
}

// Catches the main window's close request instead of running the close path.
struct SchließenAbfangen : QObject {
    int anfragen = 0;
    QString tag;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Close) {
            ++anfragen;
            tag = static_cast<frmMain*>(o)->Tag;
            e->ignore();
            return true;
        }
        return false;
    }
};
} // namespace

TEST(Beenden, JederKnopfGibtSeineAntwortUndMerktSieNurMitHaken)
{
    EXPECT_EQ(wählen(&frmBeenden::cmdMinimieren, false), 1);
    EXPECT_EQ(einstellungen().BeendenReaktion, 0);
    EXPECT_EQ(wählen(&frmBeenden::cmdBeenden, true), 2);
    EXPECT_EQ(einstellungen().BeendenReaktion, 2);
    EXPECT_EQ(wählen(&frmBeenden::cmdTray, true), 3);
    EXPECT_EQ(einstellungen().BeendenReaktion, 3);
    EXPECT_EQ(wählen(&frmBeenden::cmdMinimieren, true), 1);
    EXPECT_EQ(einstellungen().BeendenReaktion, 1);
    EXPECT_EQ(wählen(&frmBeenden::cmdAbbrechen, true, 0), 0);
    EXPECT_EQ(einstellungen().BeendenReaktion, 0) << "Abbrechen never changes the setting";
    einstellungen().BeendenReaktion = 0;
}

TEST(Beenden, SchließenÜberDieTitelleisteHeißtAbbrechen)
{
    ASSERT_EQ(wählen(&frmBeenden::cmdBeenden, false), 2);
    EXPECT_EQ(wählen(nullptr, true), 0) << "an earlier choice must not carry over";
    EXPECT_EQ(intBeendenAntwort, 0);
    EXPECT_EQ(einstellungen().BeendenReaktion, 0);
}

TEST(Tray, MenüUndHinweisText)
{
    frmMain f;
    TraySymbol t(&f);
    EXPECT_EQ(t.symbol->toolTip(), "Kalvero - Hier klicken für Funktionen");
    QStringList texte;
    for (QAction* a : t.mnu_rechtsklick->actions())
        texte << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texte, QStringList({"Programm zeigen", "Optionen...", "Infos...", "-", "Ende..."}));
    EXPECT_EQ(t.mnu_rechtsklick->defaultAction(), t.mnu_rechtsklick_programmzeigen);
    EXPECT_EQ(f.findChild<QMenu*>("mnu_rechtsklick"), t.mnu_rechtsklick);
}

TEST(Tray, KlickHoltVerborgenesOderMinimiertesFensterZurück)
{
    frmMain f;
    TraySymbol t(&f);
    f.hide();
    t.Benachrichtigung(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(f.isVisible());
    f.showMinimized();
    t.Benachrichtigung(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(FensterSichtbar(&f));
    f.hide();
    t.Benachrichtigung(QSystemTrayIcon::MiddleClick);
    EXPECT_FALSE(f.isVisible()) << "other notifications do nothing";
}

TEST(Tray, HäkchenFolgtDemFensterUndProgrammZeigenSchaltetUm)
{
    frmMain f;
    TraySymbol t(&f);
    f.show();
    t.MenüVorbereiten();
    EXPECT_TRUE(t.mnu_rechtsklick_programmzeigen->isChecked());
    t.mnu_rechtsklick_programmzeigen->trigger();
    // The offscreen desktop has no tray: hiding must minimise, never strand the window.
    ASSERT_FALSE(TrayVerfügbar());
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.isMinimized());
    t.MenüVorbereiten();
    EXPECT_FALSE(t.mnu_rechtsklick_programmzeigen->isChecked());
    t.mnu_rechtsklick_programmzeigen->trigger();
    EXPECT_TRUE(FensterSichtbar(&f));
    f.hide();
    t.MenüVorbereiten();
    EXPECT_FALSE(t.mnu_rechtsklick_programmzeigen->isChecked());
    t.mnu_rechtsklick_programmzeigen->trigger();
    EXPECT_TRUE(FensterSichtbar(&f));
}

TEST(Tray, NichtsGeschiehtWährendEinModalesFensterOffenIst)
{
    frmMain f;
    TraySymbol t(&f);
    SchließenAbfangen abfangen;
    f.installEventFilter(&abfangen);
    f.hide();
    QDialog modal;
    modal.setModal(true);
    modal.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &modal);

    t.Benachrichtigung(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(f.isVisible());
    t.MenüVorbereiten();
    for (QAction* a : t.mnu_rechtsklick->actions())
        if (!a->isSeparator())
            EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    t.mnu_rechtsklick_programmzeigen_Click();
    t.mnu_rechtsklick_ende_Click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(abfangen.anfragen, 0);
    EXPECT_EQ(f.Tag, "0");

    modal.hide();
    t.MenüVorbereiten();
    EXPECT_TRUE(t.mnu_rechtsklick_ende->isEnabled());
    t.mnu_rechtsklick_ende->trigger();
    EXPECT_EQ(abfangen.anfragen, 1);
    EXPECT_EQ(abfangen.tag, "1") << "Ende from the tray is an explicit quit";
}

TEST(Tray, MenüpunkteFolgenIhrenBefehlen)
{
    frmMain f;
    TraySymbol t(&f);
    int optionen = 0;
    QObject::connect(f.cmdOptionen, &LinkLabel::clicked, [&] { ++optionen; });
    f.cmdOptionen->setEnabled(false);
    t.MenüVorbereiten();
    EXPECT_FALSE(t.mnu_rechtsklick_optionen->isEnabled());
    t.mnu_rechtsklick_optionen_Click();
    EXPECT_EQ(optionen, 0);
    f.cmdOptionen->setEnabled(true);
    t.MenüVorbereiten();
    t.mnu_rechtsklick_optionen->trigger();
    EXPECT_EQ(optionen, 1);
}

TEST(Tray, SymbolHinzufügenLässtDasProgrammNichtMitDemLetztenDialogEnden)
{
    QApplication::setQuitOnLastWindowClosed(true);
    TraySymbolHinzufügen();
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    ASSERT_NE(traySymbol(), nullptr);
    TraySymbol* erstes = traySymbol();
    TraySymbolHinzufügen();
    EXPECT_EQ(traySymbol(), erstes) << "added once";
    TraySymbolEntfernen();
    EXPECT_EQ(traySymbol(), nullptr);
    TraySymbolEntfernen(); // twice is harmless
}
