#include "library/frmVerschiebenDateiExistiert.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmVerschiebenDateiExistiert::frmVerschiebenDateiExistiert(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVerschiebenDateiExistiert"));
    setWindowTitle(QStringLiteral("Dateien kopieren/verschieben"));
    Label3 = new QLabel(QStringLiteral("Fehler beim Kopieren"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont f = Label3->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    Label3->setFont(f);
    Label4 = new QLabel(QStringLiteral("Es ist ein Fehler beim Kopieren/Verschieben aufgetreten"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    lblBeschreibung = new QLabel(this);
    lblBeschreibung->setObjectName(QStringLiteral("lblBeschreibung"));
    lblBeschreibung->setWordWrap(true);
    lblBeschreibung->setTextFormat(Qt::PlainText);
    cmdOpt1 = new QPushButton(QStringLiteral("&Umbenennen"), this);
    cmdOpt1->setObjectName(QStringLiteral("cmdOpt1"));
    cmdOpt11 = new QPushButton(QStringLiteral("&Ersetzen (!)"), this);
    cmdOpt11->setObjectName(QStringLiteral("cmdOpt11"));
    cmdOpt2 = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cmdOpt2->setObjectName(QStringLiteral("cmdOpt2"));
    cmdOpt1->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(lblBeschreibung, 1);
    auto* knöpfe = new QHBoxLayout;
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOpt1);
    knöpfe->addWidget(cmdOpt11);
    knöpfe->addWidget(cmdOpt2);
    layout->addLayout(knöpfe);
    resize(7000 / 15, 3600 / 15);

    connect(cmdOpt1, &QPushButton::clicked, this, &frmVerschiebenDateiExistiert::cmdOpt1_Click);
    connect(cmdOpt11, &QPushButton::clicked, this, &frmVerschiebenDateiExistiert::cmdOpt11_Click);
    connect(cmdOpt2, &QPushButton::clicked, this, &frmVerschiebenDateiExistiert::cmdOpt2_Click);
}

void frmVerschiebenDateiExistiert::cmdOpt1_Click()
{
    antwort = DateiExistiert::Umbenennen;
    accept();
}

void frmVerschiebenDateiExistiert::cmdOpt11_Click()
{
    antwort = DateiExistiert::Ersetzen;
    accept();
}

void frmVerschiebenDateiExistiert::cmdOpt2_Click()
{
    reject();
}

void frmVerschiebenDateiExistiert::reject()
{
    antwort = DateiExistiert::Abbrechen;
    QDialog::reject();
}

void DateiExistiertFensterEinrichten(QWidget* besitzer)
{
    QPointer<QWidget> b(besitzer);
    DateiExistiertFrageSetzen([b](const QString& beschreibung) {
        frmVerschiebenDateiExistiert fenster(b.data());
        fenster.lblBeschreibung->setText(beschreibung);
        fenster.exec();
        return fenster.antwort;
    });
}
