#include "mainwindow/frmInternet.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/Linkfarbe_gui.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "mainwindow/Internet.h"
#include "mainwindow/frmMain.h"
#include "platform/Steuerelemente_gui.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmInternet::frmInternet(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInternet"));
    setWindowTitle(QStringLiteral("Im Internet suchen"));
    auto* v = new QVBoxLayout(this);
    QLabel* titel = TextLabel(this, "Label3", QStringLiteral("Suchen Sie nach weiteren Infos zu Ihrer Musik"));
    fettSetzen(titel, 2);
    v->addWidget(titel);
    v->addWidget(TextLabel(this, "Label1", QStringLiteral("Suche über folgendem Dienst")));
    lstListe = benannt(new QListWidget(this), "lstListe");
    v->addWidget(lstListe, 1);
    v->addWidget(TextLabel(this, "Label2", QStringLiteral("Suche nach")));
    txtSuche = benannt(new QLineEdit(this), "txtSuche");
    txtSuche->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    v->addWidget(txtSuche);
    v->addWidget(TextLabel(this, "Label4",
                           QStringLiteral("Für den Inhalt der verlinkten Seiten sind ausschließlich deren Autoren "
                                          "verantwortlich.")));
    auto* knöpfe = new QHBoxLayout;
    lblwebsite = TextLabel(this, "lblwebsite", QStringLiteral("<a href=\"#\">Infodatei</a>"));
    lblwebsite->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LinkLabelFärben(lblwebsite, einstellungen().FarbeFunktionen);
    cmdOk = benannt(new QPushButton(QStringLiteral("Ok"), this), "cmdOk");
    cmdOk->setDefault(true);
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    knöpfe->addWidget(lblwebsite);
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    knöpfe->addWidget(cmdAbbrechen);
    v->addLayout(knöpfe);
    resize(420, 360);
    connect(cmdOk, &QPushButton::clicked, this, &frmInternet::cmdOk_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstListe, &QListWidget::itemDoubleClicked, this, &frmInternet::cmdOk_Click);
    connect(lblwebsite, &QLabel::linkActivated, this, [this] {
        LinkLabelFärben(lblwebsite, einstellungen().FarbeFunktionenBesucht);
        HilfeAnzeigen(this);
    });
}

void frmInternet::cmdOk_Click()
{
    const int zeile = lstListe->currentRow();
    if (zeile < 0 || !lstListe->currentItem() || !lstListe->currentItem()->isSelected()) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie einen Eintrag."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    if (txtSuche->text().isEmpty()) {
        MeldungZeigen(QStringLiteral("Bitte geben Sie einen Such-Text ein."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    if (zeile < strInternetAdressen.size())
        MitStandardprogrammÖffnen(InternetSuchAdresse(strInternetAdressen.at(zeile), txtSuche->text()), this);
    accept();
}

void InternetSucheZeigen(frmMain* f)
{
    frmInternet fenster(f);
    if (!InternetAdressenLaden(PfadVerbinden(DatenOrdner(), QStringLiteral("Ineturl.dat")),
                               fenster.strInternetAdressen, fenster.strInternetNamen))
        return;
    fenster.lstListe->addItems(fenster.strInternetNamen);
    AuswahlErmitteln();
    const ListenZustand& z = listenZustand();
    const Index& idx = hauptIndex();
    if (z.lngAuswahlAnzahl > 0 && idx.GültigerEintrag(z.lngAuswahlEintrag[1]))
        fenster.txtSuche->setText(idx.IndexDaten[size_t(z.lngAuswahlEintrag[1])].Mp3_ID3v1_Interpret);
    fenster.exec();
}
