#include "library/frmDateiname.h"

#include "core/Funktionen.h"
#include "library/Fensterteile_gui.h"
#include "library/Umbenennen.h"
#include "platform/Steuerelemente_gui.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmDateiname::frmDateiname(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDateiname"));
    lblTitel = FensterÜberschrift(this, QStringLiteral("umbenennen"));
    lblTitel->setObjectName(QStringLiteral("lblTitel"));
    txtAlter = benannt(new QLineEdit(this), "txtAlter");
    txtAlter->setReadOnly(true);
    txtNeuer = benannt(new QLineEdit(this), "txtNeuer");
    txtNeuer->setToolTip(QStringLiteral("Geben Sie hier einen neuen Dateinamen ein."));
    OkAbbrechenKnöpfe(this, cmdOk, cmdAbbrechen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitel);
    auto* felder = new QGridLayout;
    felder->addWidget(BenanntesLabel(this, "lblAlter", QStringLiteral("Alter Dateiname")), 0, 0);
    felder->addWidget(txtAlter, 0, 1);
    felder->addWidget(BenanntesLabel(this, "lblNeuer", QStringLiteral("Neuer Dateiname")), 1, 0);
    felder->addWidget(txtNeuer, 1, 1);
    layout->addLayout(felder);
    KnopfZeile(layout, {cmdOk, cmdAbbrechen});
    setMinimumWidth(520);

    connect(cmdOk, &QPushButton::clicked, this, &frmDateiname::cmdOk_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmDateiname::cmdAbbrechen_Click);
}

bool frmDateiname::Fragen(const QString& pfad, bool bolListeneintrag, QString& neu)
{
    setWindowTitle(bolListeneintrag ? QStringLiteral("Listeneintrag ändern") : QStringLiteral("Datei umbenennen"));
    lblTitel->setText(bolListeneintrag ? QStringLiteral("ändern") : QStringLiteral("umbenennen"));
    txtAlter->setText(pfad);
    txtNeuer->setText(pfad);
    const QString name = DateinameZurückgeben(pfad);
    const qsizetype bloß = name.size() - DateiEndungZurückgeben(pfad).size();
    txtNeuer->setSelection(int(pfad.size() - name.size()), int(bloß));
    txtNeuer->setFocus();
    Tag = QStringLiteral("0");
    // Asked during a progress run, which disables the owner and with it
    // the windows it already owns.
    setEnabled(true);
    exec();
    if (Tag != QLatin1String("1"))
        return false;
    neu = txtNeuer->text();
    return true;
}

void frmDateiname::cmdOk_Click()
{
    Tag = QStringLiteral("1");
    accept();
}

void frmDateiname::cmdAbbrechen_Click()
{
    Tag = QStringLiteral("0");
    reject();
}

void DateinameFensterEinrichten(QWidget* besitzer)
{
    QPointer<QWidget> b(besitzer);
    DienstSetzen<DateinameAbfrageDienst>([b](const QString& alt, QString& neu, bool listeneintrag) {
        static QPointer<frmDateiname> fenster;
        if (!fenster)
            fenster = new frmDateiname(b);
        return fenster->Fragen(alt, listeneintrag, neu);
    });
}
