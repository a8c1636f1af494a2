#include "library/frmLoeschen.h"

#include "core/Meldungen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmLöschen::frmLöschen(EintragsListe liste, QWidget* parent) : QDialog(parent), einträge(std::move(liste))
{
    setObjectName(QStringLiteral("frmLöschen"));
    setWindowTitle(QStringLiteral("Dateien löschen"));
    Label3 = new QLabel(QStringLiteral("dateien löschen"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont f = Label3->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    Label3->setFont(f);
    Label4 = new QLabel(QStringLiteral("Möchten Sie die Datei(en) tatsächlich löschen?"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label2 = new QLabel(QStringLiteral("Hinweis: Die Funktion 'Löschen' entfernt Dateien dauerhaft vom Datenträger."),
                        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    cmdLöschen = new QPushButton(QStringLiteral("&Löschen (!)"), this);
    cmdLöschen->setObjectName(QStringLiteral("cmdLöschen"));
    cmdPapierkorb = new QPushButton(QStringLiteral("&Papierkorb"), this);
    cmdPapierkorb->setObjectName(QStringLiteral("cmdPapierkorb"));
    cmdAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cmdAbbrechen->setObjectName(QStringLiteral("cmdAbbrechen"));
    cmdAbbrechen->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(Label2);
    auto* knöpfe = new QHBoxLayout;
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdLöschen);
    knöpfe->addWidget(cmdPapierkorb);
    knöpfe->addWidget(cmdAbbrechen);
    layout->addLayout(knöpfe);

    connect(cmdLöschen, &QPushButton::clicked, this, &frmLöschen::cmdLöschen_Click);
    connect(cmdPapierkorb, &QPushButton::clicked, this, &frmLöschen::cmdPapierkorb_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmLöschen::cmdAbbrechen_Click);
}

void frmLöschen::cmdLöschen_Click()
{
    qsizetype anzahl = 0;
    for (qint32 e : einträge)
        anzahl += e > 0 ? 1 : 0;
    if (MeldungZeigen(QStringLiteral("Möchten Sie ") + QString::number(anzahl)
                          + QStringLiteral(" Datei(en) vom Datenträger löschen?"),
                      Knöpfe::JaNein, Symbol::Ausruf, this)
        != Antwort::Ja)
        return;
    modus = 1;
    accept();
}

void frmLöschen::cmdPapierkorb_Click()
{
    modus = 2;
    accept();
}

void frmLöschen::cmdAbbrechen_Click()
{
    modus = 0;
    reject();
}

void LöschenZeigen(const EintragsListe& einträge, QWidget* besitzer)
{
    frmLöschen fenster(einträge, besitzer);
    if (fenster.exec() != QDialog::Accepted || fenster.modus == 0)
        return;
    DateienLöschen(hauptIndex(), fenster.einträge, fenster.modus, true);
    if (besitzer)
        besitzer->update();
}
