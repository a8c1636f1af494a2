#include "media/frmAusschlussliste.h"

#include "core/Einstellungen.h"
#include "media/AutoTag.h"
#include "platform/Steuerelemente_gui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmAusschlußlisteHinzufügen::frmAusschlußlisteHinzufügen(QWidget* besitzer, QListWidget* liste)
    : ListenEingabe(besitzer, liste, "frmAusschlußlisteHinzufügen", "txtText", false)
{
    txtText = eingabe;
    Label1 = TextLabel(this, "Label1", QStringLiteral("Folgende Zeichenfolge von der Erkennung ausschließen"));
    fettSetzen(Label1);
    Label2 = TextLabel(this, "Label2", QStringLiteral("Geben Sie eine Zeichenfolge ein."));
    auto* v = static_cast<QVBoxLayout*>(layout());
    v->insertWidget(0, Label1);
    v->insertWidget(1, Label2);
    resize(380, 140);
}

frmAusschlußliste::frmAusschlußliste(QWidget* besitzer) : QDialog(besitzer)
{
    setObjectName(QStringLiteral("frmAusschlußliste"));
    setWindowTitle(QStringLiteral("Ausschlußliste"));
    setModal(true);
    Label1 = TextLabel(this, "Label1", QStringLiteral("Ignorieren Sie Zeichenfolgen bei der Erkennung"));
    fettSetzen(Label1);
    Label2 = TextLabel(this, "Label2",
                       QStringLiteral("Hinweis: 'AutoTAG' verarbeitet Teile des Dateinamens incl. den Namen der "
                                      "Unterordner. Wenn z.B. Dateien in einem Ordner liegen, der 'Songs' heißt, "
                                      "sollten Sie diesen bei der Erkennung ignorieren, damit solche Texte nicht in "
                                      "den TAG übernommen werden."));
    lstListe = benannt(new QListWidget(this), "lstListe");
    cmdHinzufügen = benannt(new QPushButton(QStringLiteral("&Hinzufügen"), this), "cmdHinzufügen");
    cmdÄndern = benannt(new QPushButton(QStringLiteral("Ä&ndern"), this), "cmdÄndern");
    cmdEntfernen = benannt(new QPushButton(QStringLiteral("&Entfernen"), this), "cmdEntfernen");
    eingabe = new frmAusschlußlisteHinzufügen(this, lstListe);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Label1);
    auto* mitte = new QHBoxLayout;
    mitte->addWidget(lstListe, 1);
    auto* rechts = new QVBoxLayout;
    rechts->addWidget(cmdHinzufügen);
    rechts->addWidget(cmdÄndern);
    rechts->addWidget(cmdEntfernen);
    rechts->addStretch(1);
    mitte->addLayout(rechts);
    v->addLayout(mitte, 1);
    v->addWidget(Label2);
    OkAbbrechenAnfügen(this, v, cmdOk, cmdAbbrechen, [this] { cmdOk_Click(); }, [this] { cmdAbbrechen_Click(); });

    connect(cmdHinzufügen, &QPushButton::clicked, this, [this] { cmdHinzufügen_Click(); });
    connect(cmdÄndern, &QPushButton::clicked, this, [this] { cmdÄndern_Click(); });
    connect(cmdEntfernen, &QPushButton::clicked, this, [this] { cmdEntfernen_Click(); });
    connect(lstListe, &QListWidget::itemDoubleClicked, this, [this] { lstListe_DblClick(); });
    resize(420, 360);
}

void frmAusschlußliste::Vorbereiten()
{
    lstListe->clear();
    lstListe->addItems(AutoTagAusschlussliste(einstellungen()));
}

void frmAusschlußliste::cmdHinzufügen_Click()
{
    eingabe->Öffnen(true, QString(), QStringLiteral("Ausschlußzeichenfolge hinzufügen"));
}

void frmAusschlußliste::cmdÄndern_Click()
{
    const int zeile = GewählteZeileVerlangen(lstListe, this);
    if (zeile >= 0)
        eingabe->Öffnen(false, lstListe->item(zeile)->text(), QStringLiteral("Ausschlußzeichenfolge ändern"));
}

void frmAusschlußliste::cmdEntfernen_Click() { GewähltenEintragEntfernen(lstListe, this); }

void frmAusschlußliste::cmdOk_Click()
{
    AutoTagAusschlussÜbernehmen(einstellungen(), ListenEinträge(lstListe));
    accept();
}

void frmAusschlußliste::cmdAbbrechen_Click() { reject(); }
