#include "mainwindow/frmBeenden.h"

#include "core/Einstellungen.h"
#include "platform/Steuerelemente_gui.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

int intBeendenAntwort = 0;

frmBeenden::frmBeenden(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBeenden"));
    setWindowTitle(QStringLiteral("Programm beenden"));
    setModal(true);

    Label3 = benannt(new QLabel(QStringLiteral("Programm beenden"), this), "Label3");
    fettSetzen(Label3);
    Label4 = benannt(new QLabel(QStringLiteral("Was möchten Sie tun?"), this), "Label4");
    lblHinweis = benannt(new QLabel(QStringLiteral("Hinweis: Minimieren Sie den Kalvero, um ohne Ladezeiten Zugriff auf Ihre Mediendateien zu haben."), this), "lblHinweis");
    lblHinweis->setWordWrap(true);
    chkImmer = benannt(new QCheckBox(QStringLiteral("&Immer die folgende Aktion durchführen"), this), "chkImmer");
    Label1 = benannt(new QLabel(QStringLiteral("(dies können Sie in den 'Optionen' wieder ändern)"), this), "Label1");
    Image1 = benannt(new QLabel(this), "Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    cmdTray = benannt(new QPushButton(QStringLiteral("&Tray"), this), "cmdTray");
    cmdMinimieren = benannt(new QPushButton(QStringLiteral("&Minimieren"), this), "cmdMinimieren");
    cmdBeenden = benannt(new QPushButton(QStringLiteral("&Beenden"), this), "cmdBeenden");
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    for (QPushButton* k : {cmdTray, cmdMinimieren, cmdBeenden, cmdAbbrechen})
        k->setAutoDefault(false);
    cmdBeenden->setDefault(true);

    auto* v = new QVBoxLayout(this);
    auto* kopf = new QHBoxLayout;
    kopf->addWidget(Image1, 0, Qt::AlignTop);
    auto* texte = new QVBoxLayout;
    texte->addWidget(Label3);
    texte->addWidget(Label4);
    texte->addWidget(lblHinweis);
    kopf->addLayout(texte, 1);
    v->addLayout(kopf);
    v->addWidget(chkImmer);
    v->addWidget(Label1);
    auto* knöpfe = new QHBoxLayout;
    for (QPushButton* k : {cmdTray, cmdMinimieren, cmdBeenden, cmdAbbrechen})
        knöpfe->addWidget(k);
    v->addLayout(knöpfe);

    connect(cmdTray, &QPushButton::clicked, this, &frmBeenden::cmdTray_Click);
    connect(cmdMinimieren, &QPushButton::clicked, this, &frmBeenden::cmdMinimieren_Click);
    connect(cmdBeenden, &QPushButton::clicked, this, &frmBeenden::cmdBeenden_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmBeenden::cmdAbbrechen_Click);
}

void frmBeenden::antworten(int antwort)
{
    intBeendenAntwort = antwort;
    if (antwort != 0)
        einstellungen().BeendenReaktion = chkImmer->isChecked() ? antwort : 0;
    done(antwort != 0 ? QDialog::Accepted : QDialog::Rejected);
}

void frmBeenden::cmdAbbrechen_Click() { antworten(0); }
void frmBeenden::cmdMinimieren_Click() { antworten(1); }
void frmBeenden::cmdBeenden_Click() { antworten(2); }
void frmBeenden::cmdTray_Click() { antworten(3); }

void frmBeenden::reject()
{
    intBeendenAntwort = 0;
    QDialog::reject();
}

int BeendenFragen(QWidget* besitzer)
{
    static QPointer<frmBeenden> fenster;
    if (!fenster || fenster->parentWidget() != besitzer)
        fenster = new frmBeenden(besitzer);
    fenster->chkImmer->setChecked(false);
    intBeendenAntwort = 0;
    fenster->exec();
    return intBeendenAntwort;
}
