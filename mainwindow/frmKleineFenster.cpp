#include "mainwindow/frmKleineFenster.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/Start.h"
#include "platform/Steuerelemente_gui.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmWillkommen::frmWillkommen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWillkommen"));
    setWindowTitle(QStringLiteral("Willkommen"));
    auto* v = new QVBoxLayout(this);
    auto* kopf = new QHBoxLayout;
    kopf->addWidget(TextLabel(this, "Label1", QStringLiteral("willkommen beim")));
    QLabel* name = TextLabel(this, "Label2", QStringLiteral("Kalvero"));
    fettSetzen(name, 8);
    kopf->addWidget(name);
    kopf->addStretch(1);
    v->addLayout(kopf);
    auto* worte = new QHBoxLayout;
    const char* namen[3][2] = {{"Label8", "Label4"}, {"Label9", "Label11"}, {"Label10", "Label12"}};
    const QString wörter[3] = {QStringLiteral("professionell"), QStringLiteral("schnell"), QStringLiteral("einfach")};
    for (int i = 0; i < 3; ++i) {
        worte->addWidget(TextLabel(this, namen[i][0], wörter[i]));
        TextLabel(this, namen[i][1], wörter[i])->hide(); // the shadow of the word in the original artwork
    }
    v->addLayout(worte);
    v->addWidget(TextLabel(this, "Label3", QStringLiteral("Jetzt können Sie Mediendateien mit einem Programm verwalten, einsehen, verändern, und abspielen (z.B. auch auf Partys)!")));
    v->addWidget(TextLabel(this, "Label5", QStringLiteral("Füllen Sie einfach den Index mit Dateien oder importieren Sie die Playliste eines Audioplayers. Schon kann's losgehen...")));
    v->addWidget(TextLabel(this, "Label6", QStringLiteral("Es wird eine Index-Datenbank zur Verwaltung verwendet. Das bedeutet: Schnelle und flexible Verwaltung!")));
    v->addWidget(TextLabel(this, "Label7", QStringLiteral("Die Nutzung dieser Software erfolgt unter Anerkennung der Nutzungsbedingungen aus der Infodatei.")));
    auto* knöpfe = new QHBoxLayout;
    cmdHilfe = new QPushButton(QStringLiteral("&Infodatei"), this);
    cmdHilfe->setObjectName(QStringLiteral("cmdHilfe"));
    cmdOk = new QPushButton(QStringLiteral("Ok, dann kann's losgehen"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    knöpfe->addWidget(cmdHilfe);
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    v->addLayout(knöpfe);
    connect(cmdHilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(this); });
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    resize(460, 320);
}

frmHinweise::frmHinweise(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHinweise"));
    setWindowTitle(QStringLiteral("Tipp"));
    auto* v = new QVBoxLayout(this);
    lblTitel = TextLabel(this, "lblTitel", QStringLiteral("tipp"));
    fettSetzen(lblTitel, 8);
    Label1 = TextLabel(this, "Label1", QStringLiteral("schneller|schöner|einfacher|besser"));
    v->addWidget(lblTitel);
    v->addWidget(Label1);
    txtTipp = new QPlainTextEdit(QStringLiteral("(Hinweis-Text)"), this);
    txtTipp->setObjectName(QStringLiteral("txtTipp"));
    txtTipp->setReadOnly(true);
    txtTipp->setFont(QFont(QStringLiteral("Verdana")));
    v->addWidget(txtTipp, 1);
    chkWiederZeigen = new QCheckBox(QStringLiteral("Tipps beim Start zeigen"), this);
    chkWiederZeigen->setObjectName(QStringLiteral("chkWiederZeigen"));
    v->addWidget(chkWiederZeigen);
    auto* h = new QHBoxLayout;
    cmdZurück = new QPushButton(QStringLiteral("<<"), this);
    cmdZurück->setObjectName(QStringLiteral("cmdZurück"));
    cmdVor = new QPushButton(QStringLiteral(">>"), this);
    cmdVor->setObjectName(QStringLiteral("cmdVor"));
    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    h->addWidget(cmdZurück);
    h->addWidget(cmdVor);
    h->addStretch(1);
    h->addWidget(cmdOk);
    v->addLayout(h);
    connect(cmdVor, &QPushButton::clicked, this, &frmHinweise::cmdVor_Click);
    connect(cmdZurück, &QPushButton::clicked, this, &frmHinweise::cmdZurück_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmHinweise::cmdOk_Click);
    resize(420, 260);
}

void frmHinweise::TippZeigen(int nummer)
{
    const QStringList& tipps = standardwerte().strTipps;
    if (nummer < 1 || nummer > tipps.size())
        nummer = 1;
    txtTipp->setPlainText(tipps[nummer - 1]);
    txtTippTag = QString::number(nummer);
}

void frmHinweise::cmdVor_Click()
{
    const int n = txtTippTag.toInt();
    const int anzahl = int(standardwerte().strTipps.size());
    einstellungen().TippsAktueller = n < anzahl ? n + 1 : 1;
    TippZeigen(einstellungen().TippsAktueller);
}

void frmHinweise::cmdZurück_Click()
{
    const int n = txtTippTag.toInt();
    const int anzahl = int(standardwerte().strTipps.size());
    einstellungen().TippsAktueller = n > 1 ? n - 1 : anzahl;
    TippZeigen(einstellungen().TippsAktueller);
}

void frmHinweise::cmdOk_Click()
{
    hide();
    if (!chkWiederZeigen->isChecked()) {
        MeldungZeigen(QStringLiteral("Wenn Sie dieses Fenster wieder sehen möchten, können Sie es in den 'Optionen' wieder aktivieren."),
                      Knöpfe::OK, Symbol::Information, this);
        einstellungen().TippsAktueller = 0;
    } else {
        einstellungen().TippsAktueller = txtTippTag.toInt();
    }
    accept();
}

void frmHinweise::reject()
{
    // Closing by the title bar keeps the choice like OK does.
    cmdOk_Click();
}
