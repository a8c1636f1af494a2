#include "library/frmZielordnerVorschlaege.h"

#include "core/Meldungen.h"
#include "library/Fensterteile_gui.h"
#include "platform/Steuerelemente_gui.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmZielordnerVorschläge::frmZielordnerVorschläge(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmZielordnerVorschläge"));
    setWindowTitle(QStringLiteral("Zielordner wählen"));
    Label3 = FensterÜberschrift(this, QStringLiteral("zielordner wählen"));
    Label4 = BenanntesLabel(
        this, "Label4",
        QStringLiteral("Der Dateiname der ersten Datei wurde untersucht. Folgende Zielordner könnten passen."));
    Label4->setWordWrap(true);
    fraOrdner = benannt(new QGroupBox(QStringLiteral("Mögliche Zielordner"), this), "fraOrdner");
    lstOrdner = benannt(new QListWidget(fraOrdner), "lstOrdner");
    auto* rahmen = new QVBoxLayout(fraOrdner);
    rahmen->addWidget(lstOrdner);
    OkAbbrechenKnöpfe(this, cmdOk, cmdAbbrechen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(fraOrdner, 1);
    KnopfZeile(layout, {cmdOk, cmdAbbrechen});
    resize(520, 360);

    connect(cmdOk, &QPushButton::clicked, this, &frmZielordnerVorschläge::cmdOk_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmZielordnerVorschläge::cmdAbbrechen_Click);
    connect(lstOrdner, &QListWidget::itemDoubleClicked, this, [this] { lstOrdner_DblClick(); });
}

QString frmZielordnerVorschläge::Fragen(const QStringList& ordner)
{
    lstOrdner->clear();
    lstOrdner->addItems(ordner);
    if (lstOrdner->count() > 0)
        lstOrdner->setCurrentRow(0);
    gewählt.clear();
    exec();
    return gewählt;
}

void frmZielordnerVorschläge::cmdOk_Click()
{
    const QListWidgetItem* eintrag = lstOrdner->currentItem();
    if (!eintrag || !eintrag->isSelected()) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie einen Listeneintrag."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    gewählt = eintrag->text();
    accept();
}

void frmZielordnerVorschläge::cmdAbbrechen_Click()
{
    gewählt.clear();
    reject();
}

void frmZielordnerVorschläge::lstOrdner_DblClick() { cmdOk_Click(); }
