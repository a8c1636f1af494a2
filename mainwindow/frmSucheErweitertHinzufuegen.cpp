#include "mainwindow/frmSucheErweitertHinzufuegen.h"

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "mainwindow/Liste.h"
#include "platform/Steuerelemente_gui.h"
#include "mainwindow/SucheErweitert.h"
#include "mainwindow/frmSucheErweitert.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmSucheErweitertHinzufügen::frmSucheErweitertHinzufügen(frmSucheErweitert* liste)
    : QDialog(liste), m_liste(liste)
{
    setObjectName(QStringLiteral("frmSucheErweitertHinzufügen"));
    setWindowTitle(QStringLiteral("Suche"));
    setModal(true);

    Label3 = benannt(new QLabel(QStringLiteral("suche"), this), "Label3");
    Label1 = benannt(new QLabel(QStringLiteral("Erstellen oder ändern Sie eine Suchaufgabe."), this), "Label1");
    Label2 = benannt(new QLabel(QStringLiteral("Daten der Suche eingeben"), this), "Label2");
    Label4 = benannt(new QLabel(QStringLiteral("Art"), this), "Label4");
    Label5 = benannt(new QLabel(QStringLiteral("Suchbegriff und Optionen"), this), "Label5");
    fettSetzen(Label2);
    lstSucheArt = benannt(new QListWidget(this), "lstSucheArt");
    txtSucheBegriff = benannt(new QLineEdit(this), "txtSucheBegriff");
    lstSucheAuswahl = benannt(new QListWidget(this), "lstSucheAuswahl");
    cboSucheMussDarfNicht = benannt(new QComboBox(this), "cboSucheMussDarfNicht");
    cboSucheMussDarfNicht->addItems({QStringLiteral("MUSS enthalten"), QStringLiteral("DARF NICHT enthalten!")});
    cboSucheUndOder = benannt(new QComboBox(this), "cboSucheUndOder");
    cboSucheUndOder->addItems({QStringLiteral("UND"), QStringLiteral("ODER!")});
    cmdOk = benannt(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk");
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    cmdOk->setDefault(true);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Label3);
    v->addWidget(Label1);
    v->addWidget(Label2);
    auto* g = new QGridLayout;
    g->addWidget(Label4, 0, 0);
    g->addWidget(Label5, 0, 1);
    g->addWidget(lstSucheArt, 1, 0, 4, 1);
    g->addWidget(txtSucheBegriff, 1, 1);
    g->addWidget(lstSucheAuswahl, 2, 1);
    auto* optionen = new QHBoxLayout;
    optionen->addWidget(cboSucheMussDarfNicht);
    optionen->addWidget(cboSucheUndOder);
    g->addLayout(optionen, 3, 1);
    v->addLayout(g, 1);
    auto* knöpfe = new QHBoxLayout;
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    knöpfe->addWidget(cmdAbbrechen);
    v->addLayout(knöpfe);

    connect(cmdOk, &QPushButton::clicked, this, &frmSucheErweitertHinzufügen::cmdOk_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmSucheErweitertHinzufügen::cmdAbbrechen_Click);
    connect(lstSucheArt, &QListWidget::currentRowChanged, this, [this](int) { lstSucheArt_Click(); });
    connect(lstSucheAuswahl, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { lstSucheAuswahl_Click(); });
    connect(lstSucheAuswahl, &QListWidget::itemActivated, this, [this](QListWidgetItem*) { lstSucheAuswahl_Click(); });
    connect(txtSucheBegriff, &QLineEdit::textEdited, this, &frmSucheErweitertHinzufügen::txtSucheBegriff_Change);
    resize(480, 340);
}

void frmSucheErweitertHinzufügen::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    m_vorher = txtSucheBegriff->text();
    txtSucheBegriff->setFocus();
}

void frmSucheErweitertHinzufügen::lstSucheArt_Click()
{
    lstSucheAuswahl->clear();
    QListWidgetItem* feld = lstSucheArt->currentItem();
    if (feld && einstellungen().Auswahlliste == 1)
        lstSucheAuswahl->addItems(FeldWerteSammeln(hauptIndex(), feld->text()));
    if (isVisible())
        txtSucheBegriff->setFocus();
}

void frmSucheErweitertHinzufügen::lstSucheAuswahl_Click()
{
    QListWidgetItem* wert = lstSucheAuswahl->currentItem();
    if (wert && !wert->text().isEmpty()) {
        txtSucheBegriff->setText(wert->text());
        m_vorher = wert->text();
    }
    if (isVisible())
        txtSucheBegriff->setFocus();
}

void frmSucheErweitertHinzufügen::txtSucheBegriff_Change(const QString& text)
{
    // Completing after Backspace or Delete would put back what the user
    // just removed: only a text that grew at its end is completed.
    const bool gewachsen = text.size() > m_vorher.size() && text.startsWith(m_vorher);
    m_vorher = text;
    if (!gewachsen || text.isEmpty() || einstellungen().AutoCompleteVerwenden != 1)
        return;
    QStringList werte;
    werte.reserve(lstSucheAuswahl->count());
    for (int i = 0; i < lstSucheAuswahl->count(); ++i)
        werte << lstSucheAuswahl->item(i)->text();
    const qsizetype treffer = AutoCompleteTreffer(werte, text);
    if (treffer < 0)
        return;
    lstSucheAuswahl->setCurrentRow(int(treffer));
    const QString wert = werte[treffer];
    if (wert.size() > text.size()) {
        txtSucheBegriff->setText(wert);
        txtSucheBegriff->setSelection(int(text.size()), int(wert.size() - text.size()));
    }
}

void frmSucheErweitertHinzufügen::cmdAbbrechen_Click() { reject(); }

void frmSucheErweitertHinzufügen::cmdOk_Click()
{
    Suchbegriffe& s = suchZustand().suchbegriffe;
    const QString text = txtSucheBegriff->text();
    const QString feld = lstSucheArt->currentItem() ? lstSucheArt->currentItem()->text() : QString();
    const QString optionen = SuchOptionenCode(cboSucheMussDarfNicht->currentIndex(), cboSucheUndOder->currentIndex());
    m_liste->cmdAbbrechen->setEnabled(false);
    if (bolHinzufügen) {
        if (!SuchbegriffeHinzufügen(s, text, feld, optionen)) {
            MeldungZeigen(QStringLiteral("Die Such-Abfrage konnte nicht gespeichert werden."), Knöpfe::OK, Symbol::Ausruf, this);
            return;
        }
        m_liste->lstSucheAuflistung->addItem(SuchAbfrageZeile(text, feld));
    } else {
        const qint32 n = lngAbfrage;
        if (!SuchbegriffeÄndern(s, n, text, feld, optionen)) {
            MeldungZeigen(QStringLiteral("Die Such-Abfrage konnte nicht geändert werden."), Knöpfe::OK, Symbol::Ausruf, this);
            return;
        }
        if (QListWidgetItem* zeile = m_liste->lstSucheAuflistung->item(n - 1))
            zeile->setText(SuchAbfrageZeile(text, feld));
    }
    accept();
}
