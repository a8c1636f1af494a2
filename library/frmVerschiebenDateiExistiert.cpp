#include "library/frmVerschiebenDateiExistiert.h"

#include "library/Fensterteile_gui.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmVerschiebenDateiExistiert::frmVerschiebenDateiExistiert(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVerschiebenDateiExistiert"));
    setWindowTitle(QStringLiteral("Dateien kopieren/verschieben"));
    Label3 = FensterÜberschrift(this, QStringLiteral("Fehler beim Kopieren"));
    Label4 = BenanntesLabel(this, "Label4", QStringLiteral("Es ist ein Fehler beim Kopieren/Verschieben aufgetreten"));
    lblBeschreibung = BenanntesLabel(this, "lblBeschreibung", QString());
    lblBeschreibung->setWordWrap(true);
    lblBeschreibung->setTextFormat(Qt::PlainText);
    cmdOpt1 = BenannterKnopf(this, "cmdOpt1", QStringLiteral("&Umbenennen"));
    cmdOpt11 = BenannterKnopf(this, "cmdOpt11", QStringLiteral("&Ersetzen (!)"));
    cmdOpt2 = BenannterKnopf(this, "cmdOpt2", QStringLiteral("&Abbrechen"));
    cmdOpt1->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(lblBeschreibung, 1);
    KnopfZeile(layout, {cmdOpt1, cmdOpt11, cmdOpt2});
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
    DienstSetzen<DateiExistiertDienst>([b](const QString& beschreibung) {
        frmVerschiebenDateiExistiert fenster(b.data());
        fenster.lblBeschreibung->setText(beschreibung);
        fenster.exec();
        return fenster.antwort;
    });
}
