#pragma once
// The about box: version, notices, the web page, and the product name typed
// in as a small animation.

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

class frmInfo : public QDialog {
    Q_OBJECT
public:
    explicit frmInfo(QWidget* parent = nullptr);

    QLabel* lblProgrammversion;
    QLabel* lblProgrammCopyright;
    QLabel* lblMusic;
    QString lblMusicTag; // state of the animation: "musik = ", "kalvero" or done
    QLabel* lblwebsite;
    QPushButton* cmdUpdate;
    QPushButton* cmdOk;
    QTimer Timer2;

    // Opens the box with the animation from its beginning.
    void Zeigen();
    void Timer2_Timer();
    void cmdOk_Click();
    void cmdUpdate_Click();
    void lblwebsite_Click();

protected:
    void reject() override;
};
