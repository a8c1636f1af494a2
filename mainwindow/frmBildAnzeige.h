#pragma once
// The picture viewer: a non-modal window over the main window that shows the
// picture a user opened from the list; hidden, not destroyed, when closed.

#include <QDialog>

class QLabel;
class QPushButton;

class frmBildAnzeige : public QDialog {
    Q_OBJECT
public:
    explicit frmBildAnzeige(QWidget* parent = nullptr);
    QLabel* imgViewer;
    QPushButton* cmdOk;

    void cmdOk_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
};

// Shows the picture file in the viewer (a second picture replaces the first).
// False, after its message, when it cannot be shown: a modal window is open,
// or the file is no readable picture.
bool BildAnzeigen(const QString& strDatei);
// The viewer, created hidden on first use with the main window as owner.
frmBildAnzeige* bildAnzeige();
