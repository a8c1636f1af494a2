#include "library/frmLoeschen.h"

#include "core/Meldungen.h"
#include "library/Fensterteile_gui.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmLöschen::frmLöschen(EintragsListe liste, QWidget* parent) : QDialog(parent), einträge(std::move(liste))
{
    setObjectName(QStringLiteral("frmLöschen"));
    setWindowTitle(QStringLiteral("Dateien löschen"));
    Label3 = FensterÜberschrift(this, QStringLiteral("dateien löschen"));
    Label4 = BenanntesLabel(this, "Label4", QStringLiteral("Möchten Sie die Datei(en) tatsächlich löschen?"));
    Label2 = BenanntesLabel(this, "Label2",
                            QStringLiteral("Hinweis: Die Funktion 'Löschen' entfernt Dateien dauerhaft vom Datenträger."));
    Label2->setWordWrap(true);
    cmdLöschen = BenannterKnopf(this, "cmdLöschen", QStringLiteral("&Löschen (!)"));
    cmdPapierkorb = BenannterKnopf(this, "cmdPapierkorb", QStringLiteral("&Papierkorb"));
    cmdAbbrechen = BenannterKnopf(this, "cmdAbbrechen", QStringLiteral("&Abbrechen"));
    cmdAbbrechen->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(Label2);
    KnopfZeile(layout, {cmdLöschen, cmdPapierkorb, cmdAbbrechen});

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
