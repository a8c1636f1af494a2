#pragma once
// The progress window: draws the progress state, offers the cancel button.

#include "core/Fortschritt.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QFrame;

class frmFortschritt : public QDialog, public FortschrittAnzeige {
    Q_OBJECT
public:
    explicit frmFortschritt(QWidget* parent = nullptr);
    ~frmFortschritt() override;

    void Zeigen(QObject* aufrufer, const FortschrittZustand& z) override;
    void Verbergen(QObject* aufrufer) override;
    void Aktualisieren(const FortschrittZustand& z) override;

    QLabel* lblVorgang;
    QLabel* lblProzess;
    QFrame* ProgressBar2; // frame of the bar, full width
    QFrame* ProgressBar1; // the bar
    QPushButton* cmdAbbrechen;
    QLabel* Label1;
    QLabel* lblwebsite;

    void cmdAbbrechen_Click();
    void lblwebsite_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
};

// The program's one progress window, created on first use. No window owns
// it (the callers only keep it above themselves), so it lives as long as the
// program.
frmFortschritt* fortschrittsfenster();
