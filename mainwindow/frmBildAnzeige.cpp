#include "mainwindow/frmBildAnzeige.h"

#include "core/Meldungen.h"
#include "mainwindow/frmMain.h"
#include "platform/Steuerelemente_gui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmBildAnzeige::frmBildAnzeige(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBildAnzeige"));
    setWindowTitle(QStringLiteral("Bild-Anzeige"));
    setModal(false);
    auto* v = new QVBoxLayout(this);
    imgViewer = benannt(new QLabel(this), "imgViewer");
    imgViewer->setScaledContents(true);
    imgViewer->setMinimumSize(1, 1);
    imgViewer->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    v->addWidget(imgViewer, 1);
    auto* knöpfe = new QHBoxLayout;
    cmdOk = benannt(new QPushButton(QStringLiteral("Ok"), this), "cmdOk");
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    v->addLayout(knöpfe);
    resize(480, 400);
    connect(cmdOk, &QPushButton::clicked, this, &frmBildAnzeige::cmdOk_Click);
}

void frmBildAnzeige::cmdOk_Click()
{
    imgViewer->clear();
    hide();
}

void frmBildAnzeige::closeEvent(QCloseEvent* e)
{
    e->ignore();
    cmdOk_Click();
}

void frmBildAnzeige::reject() { cmdOk_Click(); }

frmBildAnzeige* bildAnzeige()
{
    static QPointer<frmBildAnzeige> fenster;
    if (!fenster)
        fenster = new frmBildAnzeige(hauptfensterExistiert() ? hauptfenster() : nullptr);
    return fenster;
}

bool BildAnzeigen(const QString& strDatei)
{
    if (QApplication::activeModalWidget()) {
        MeldungZeigen(QStringLiteral("Bilddateien können z.Zt. nicht angezeigt werden."), Knöpfe::OK,
                      Symbol::Information);
        return false;
    }
    QImage bild;
    // Only a regular file is read: a FIFO would block the reader.
    if (QFileInfo(strDatei).isFile()) {
        QImageReader leser(strDatei);
        leser.setAutoTransform(true);
        bild = leser.read();
    }
    if (bild.isNull()) {
        MeldungZeigen(QStringLiteral("Die Datei '") + strDatei
                          + QStringLiteral("' konnte nicht angezeigt werden.\nStellen Sie sicher, daß diese "
                                           "verfügbar und eine gültige Bilddatei ist."),
                      Knöpfe::OK, Symbol::Ausruf);
        return false;
    }
    frmBildAnzeige* f = bildAnzeige();
    f->imgViewer->setPixmap(QPixmap::fromImage(bild));
    f->setWindowTitle(strDatei + QStringLiteral(" - Bild-Anzeige"));
    if (!f->isVisible())
        f->show();
    return true;
}
