#pragma once
// The icon in the notification area and its menu. A click brings the main
// window back; the menu shows it, opens the options or the about box, or
// quits.

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class QAction;
class QMenu;
class QWidget;
class frmMain;

class TraySymbol : public QObject {
    Q_OBJECT
public:
    explicit TraySymbol(frmMain* fenster);
    ~TraySymbol() override;

    QSystemTrayIcon* symbol;
    QMenu* mnu_rechtsklick; // child of the main window
    QAction* mnu_rechtsklick_programmzeigen;
    QAction* mnu_rechtsklick_optionen;
    QAction* mnu_rechtsklick_infos;
    QAction* mnu_kontext_trenn0;
    QAction* mnu_rechtsklick_ende;

    // A notification from the icon (click, double click, context).
    void Benachrichtigung(QSystemTrayIcon::ActivationReason grund);
    // Sets the check mark of "Programm zeigen" and what can be chosen now.
    void MenüVorbereiten();

    void mnu_rechtsklick_programmzeigen_Click();
    void mnu_rechtsklick_optionen_Click();
    void mnu_rechtsklick_infos_Click();
    void mnu_rechtsklick_ende_Click();

private:
    frmMain* m_fenster;
    bool bolTrayAktiv = false;
};

// The program's own icon, for its windows and the tray.
QIcon ProgrammSymbol();

// Adds the icon (once; the program then never ends by closing its last
// window), and removes it.
void TraySymbolHinzufügen();
void TraySymbolEntfernen();
// The icon while it is there, else nullptr.
TraySymbol* traySymbol();

// Whether the desktop shows our icon, so that a hidden window can come back.
bool TrayVerfügbar();
// Hides `fenster` to the notification area; where there is none, it is
// minimised instead, so it can never become unreachable.
void InTrayVerbergen(QWidget* fenster);
// Brings a hidden or minimised window back to normal and to the front.
void FensterWiederherstellen(QWidget* fenster);
// Visible and not minimised.
bool FensterSichtbar(const QWidget* fenster);
