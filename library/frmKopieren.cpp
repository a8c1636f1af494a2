#include "library/frmKopieren.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "library/Fensterteile_gui.h"
#include "library/Kopieren.h"
#include "library/frmZielordnerVorschlaege.h"
#include "platform/Dialoge_gui.h"
#include "platform/Steuerelemente_gui.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

frmKopieren::frmKopieren(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmKopieren"));
    setWindowTitle(QStringLiteral("Datei(en) kopieren/verschieben"));
    Label3 = FensterÜberschrift(this, QStringLiteral("datei(en) kopieren/verschieben"));
    Label4 = BenanntesLabel(this, "Label4", QStringLiteral("Ändern Sie die Position von Dateien auf dem Datenträger."));
    fraAktion = benannt(new QGroupBox(QStringLiteral("Aktion"), this), "fraAktion");
    optKopieren = benannt(new QRadioButton(QStringLiteral("In einen Ordner &kopieren"), fraAktion), "optKopieren");
    optVerschieben =
        benannt(new QRadioButton(QStringLiteral("In einen Ordner &verschieben"), fraAktion), "optVerschieben");
    optKopieren->setChecked(true);
    auto* aktion = new QVBoxLayout(fraAktion);
    aktion->addWidget(optKopieren);
    aktion->addWidget(optVerschieben);
    txtOrdner = benannt(new QLineEdit(this), "txtOrdner");
    cmdOrdnerSuchen = benannt(new QToolButton(this), "cmdOrdnerSuchen");
    cmdOrdnerSuchen->setText(QStringLiteral("..."));
    cmdVorschlagen =
        BenannterKnopf(this, "cmdVorschlagen", QStringLiteral("&Zielordner für die erste Datei vorschlagen..."));
    lblHinweis = BenanntesLabel(this, "lblHinweis",
                                QStringLiteral("Hinweis: Verwenden Sie die Funktion 'Umbenennen', um Dateien "
                                               "automatisch in Ordner einzusortieren."));
    lblHinweis->setWordWrap(true);
    OkAbbrechenKnöpfe(this, cmdOk, cmdAbbrechen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(fraAktion);
    auto* ordner = new QHBoxLayout;
    ordner->addWidget(new QLabel(QStringLiteral("In Ordner "), this));
    ordner->addWidget(txtOrdner, 1);
    ordner->addWidget(cmdOrdnerSuchen);
    layout->addLayout(ordner);
    layout->addWidget(cmdVorschlagen, 0, Qt::AlignLeft);
    auto* neu = new QLabel(QStringLiteral("Hinweis: Existiert der Zielordner noch nicht, wird er erstellt."), this);
    neu->setWordWrap(true);
    layout->addWidget(neu);
    layout->addWidget(lblHinweis);
    KnopfZeile(layout, {cmdOk, cmdAbbrechen});
    setMinimumWidth(480);

    connect(cmdOk, &QPushButton::clicked, this, &frmKopieren::cmdOk_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmKopieren::cmdAbbrechen_Click);
    connect(cmdOrdnerSuchen, &QToolButton::clicked, this, &frmKopieren::cmdOrdnerSuchen_Click);
    connect(cmdVorschlagen, &QPushButton::clicked, this, &frmKopieren::cmdVorschlagen_Click);
}

void frmKopieren::Voreinstellen()
{
    txtOrdner->setText(einstellungen().KopierenOrdner);
    if (einstellungen().KopierenModus != 0)
        optVerschieben->setChecked(true);
    else
        optKopieren->setChecked(true);
}

void frmKopieren::cmdOk_Click()
{
    QString meldung;
    const QString ordner = KopierenOrdnerPrüfen(txtOrdner->text(), meldung);
    if (ordner.isEmpty()) {
        MeldungZeigen(meldung, Knöpfe::OK, Symbol::Information, this);
        return;
    }
    txtOrdner->setText(ordner);
    accept();
    DateienKopieren(hauptIndex(), einträge, ordner, !optKopieren->isChecked());
    if (parentWidget())
        parentWidget()->update();
}

void frmKopieren::cmdAbbrechen_Click() { reject(); }

void frmKopieren::cmdOrdnerSuchen_Click()
{
    setEnabled(false);
    const QString ordner = NullZeichenAbschneiden(OrdnerDialogZeigen(QStringLiteral("Bitte wählen Sie einen Zielordner...")));
    setEnabled(true);
    update();
    if (!ordner.isEmpty() && ordner != QString(QChar(0)))
        txtOrdner->setText(ordner);
}

void frmKopieren::cmdVorschlagen_Click()
{
    if (einträge.empty() || !hauptIndex().GültigerEintrag(einträge.front()))
        return;
    frmZielordnerVorschläge fenster(this);
    const QString ordner = fenster.Fragen(ZielordnerVorschlagen(hauptIndex(), einträge.front()));
    if (!ordner.isEmpty())
        txtOrdner->setText(ordner);
}

void KopierenZeigen(const EintragsListe& einträge, QWidget* besitzer)
{
    static QPointer<frmKopieren> fenster;
    FensterFürEinträgeZeigen(fenster, einträge, besitzer);
}
