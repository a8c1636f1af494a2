#include "mainwindow/frmSucheErweitert.h"

#include "core/Meldungen.h"
#include "mainwindow/Liste.h"
#include "platform/Steuerelemente_gui.h"
#include "mainwindow/SucheErweitert.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSucheErweitertHinzufuegen.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmSucheErweitert> g_fenster;

QStringList einträge(const QComboBox* box)
{
    QStringList liste;
    for (int i = 0; i < box->count(); ++i)
        liste << box->itemText(i);
    return liste;
}
} // namespace

frmSucheErweitert::frmSucheErweitert(frmMain* haupt) : QDialog(haupt), m_haupt(haupt)
{
    setObjectName(QStringLiteral("frmSucheErweitert"));
    setWindowTitle(QStringLiteral("Erweiterte Suche"));
    setModal(true);

    lblSucheArt = benannt(new QLabel(QStringLiteral("erweiterte suche"), this), "lblSucheArt");
    Label1 = benannt(new QLabel(QStringLiteral("Suchen Sie genauer nach Index-Einträgen"), this), "Label1");
    fettSetzen(Label1);
    Label7 = benannt(new QLabel(QStringLiteral("Liste der gleichzeitigen Suchaufgaben"), this), "Label7");
    lstSucheAuflistung = benannt(new QListWidget(this), "lstSucheAuflistung");
    Label2 = benannt(new QLabel(QStringLiteral("Hinweis: Alle der hier aufgelistenten Suchabfragen müssen auf einen Indexeintrag zutreffen, damit dieser in der Ergebnissliste angezeigt wird (UND)."), this), "Label2");
    Label2->setWordWrap(true);
    cmdSucheNeu = benannt(new QPushButton(QStringLiteral("&Hinzufügen"), this), "cmdSucheNeu");
    cmdSucheÄndern = benannt(new QPushButton(QStringLiteral("&Ändern"), this), "cmdSucheÄndern");
    cmdSucheLöschen = benannt(new QPushButton(QStringLiteral("&Löschen"), this), "cmdSucheLöschen");
    cmdOk = benannt(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk");
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    for (QPushButton* k : {cmdSucheNeu, cmdSucheÄndern, cmdSucheLöschen, cmdAbbrechen})
        k->setAutoDefault(false);
    cmdOk->setDefault(true);

    auto* v = new QVBoxLayout(this);
    v->addWidget(lblSucheArt);
    v->addWidget(Label1);
    v->addWidget(Label7);
    auto* mitte = new QHBoxLayout;
    mitte->addWidget(lstSucheAuflistung, 1);
    auto* rechts = new QVBoxLayout;
    rechts->addWidget(cmdSucheNeu);
    rechts->addWidget(cmdSucheÄndern);
    rechts->addWidget(cmdSucheLöschen);
    rechts->addStretch(1);
    mitte->addLayout(rechts);
    v->addLayout(mitte, 1);
    v->addWidget(Label2);
    auto* knöpfe = new QHBoxLayout;
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    knöpfe->addWidget(cmdAbbrechen);
    v->addLayout(knöpfe);

    m_dialog = new frmSucheErweitertHinzufügen(this);

    connect(cmdSucheNeu, &QPushButton::clicked, this, &frmSucheErweitert::cmdSucheNeu_Click);
    connect(cmdSucheÄndern, &QPushButton::clicked, this, &frmSucheErweitert::cmdSucheÄndern_Click);
    connect(cmdSucheLöschen, &QPushButton::clicked, this, &frmSucheErweitert::cmdSucheLöschen_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmSucheErweitert::cmdOk_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmSucheErweitert::cmdAbbrechen_Click);
    connect(lstSucheAuflistung, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { lstSucheAuflistung_DblClick(); });
    resize(520, 360);
}

void frmSucheErweitert::Vorbereiten()
{
    if (m_dialog->lstSucheArt->count() == 0)
        m_dialog->lstSucheArt->addItems(einträge(m_haupt->cboSuche));
    lstSucheAuflistung->clear();
    lstSucheAuflistung->addItems(SuchAbfrageZeilen(suchZustand().suchbegriffe));
    cmdAbbrechen->setEnabled(true);
}

void frmSucheErweitert::cmdSucheNeu_Click()
{
    frmSucheErweitertHinzufügen* d = m_dialog;
    d->bolHinzufügen = true;
    d->lngAbfrage = 0;
    d->txtSucheBegriff->clear();
    if (d->cboSucheMussDarfNicht->currentIndex() < 0)
        d->cboSucheMussDarfNicht->setCurrentIndex(0);
    if (d->cboSucheUndOder->currentIndex() < 0)
        d->cboSucheUndOder->setCurrentIndex(0);
    if (d->lstSucheArt->currentRow() < 0 && d->lstSucheArt->count() > 0)
        d->lstSucheArt->setCurrentRow(0);
    d->exec();
}

void frmSucheErweitert::cmdSucheÄndern_Click()
{
    const int k = lstSucheAuflistung->currentRow();
    const Suchbegriffe& s = suchZustand().suchbegriffe;
    if (k < 0 || lstSucheAuflistung->selectedItems().isEmpty()) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie eine Suchaufabe."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    const qint32 n = k + 1;
    if (n > s.lngSuchbegriffeAnzahl || size_t(n) >= s.strSuchbegriffeFeld.size()) {
        MeldungZeigen(QStringLiteral("Die Such-Abfrage konnte nicht verarbeitet werden."), Knöpfe::OK, Symbol::Ausruf, this);
        return;
    }
    frmSucheErweitertHinzufügen* d = m_dialog;
    d->bolHinzufügen = false;
    d->lngAbfrage = n;
    const QList<QListWidgetItem*> felder = d->lstSucheArt->findItems(s.strSuchbegriffeFeld[size_t(n)], Qt::MatchExactly);
    if (!felder.isEmpty())
        d->lstSucheArt->setCurrentItem(felder.first());
    d->txtSucheBegriff->setText(s.strSuchbegriffeText[size_t(n)]);
    int muss = 0, oder = 0;
    SuchOptionenLesen(s.strSuchbegriffeOptionen[size_t(n)], muss, oder);
    d->cboSucheMussDarfNicht->setCurrentIndex(muss);
    d->cboSucheUndOder->setCurrentIndex(oder);
    d->exec();
}

void frmSucheErweitert::lstSucheAuflistung_DblClick() { cmdSucheÄndern_Click(); }

void frmSucheErweitert::cmdSucheLöschen_Click()
{
    const int k = lstSucheAuflistung->currentRow();
    if (k < 0 || lstSucheAuflistung->selectedItems().isEmpty()) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie eine Suchaufabe."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    if (MeldungZeigen(QStringLiteral("Möchten Sie diese Such-Abfrage tatsächlich löschen?"), Knöpfe::JaNein,
                      Symbol::Frage, this)
        != Antwort::Ja)
        return;
    if (SuchbegriffeLöschen(suchZustand().suchbegriffe, k + 1))
        delete lstSucheAuflistung->takeItem(k);
    else
        MeldungZeigen(QStringLiteral("Die Such-Abfrage konnte nicht gelöscht werden."), Knöpfe::OK, Symbol::Ausruf, this);
    cmdAbbrechen->setEnabled(false);
}

void frmSucheErweitert::cmdAbbrechen_Click()
{
    // Changes act on the store at once; after one the button is disabled.
    if (cmdAbbrechen->isEnabled())
        QDialog::reject();
}

void frmSucheErweitert::cmdOk_Click()
{
    if (suchZustand().suchbegriffe.lngSuchbegriffeAnzahl <= 0) {
        MeldungZeigen(QStringLiteral("Bitte fügen Sie mindestens eine Such-Abfrage hinzu."), Knöpfe::OK,
                      Symbol::Information, this);
        return;
    }
    anwenden();
}

void frmSucheErweitert::reject()
{
    if (cmdAbbrechen->isEnabled())
        QDialog::reject();
    else
        anwenden();
}

void frmSucheErweitert::anwenden()
{
    const SuchfelderZustand neu = SuchfelderZustandErmitteln(suchZustand().suchbegriffe, einträge(m_haupt->cboSuche));
    suchZustand().bolSucheGesperrt = true;
    m_haupt->cboSuche->setEnabled(neu.aktiv);
    m_haupt->txtSongname->setEnabled(neu.aktiv);
    if (neu.feldIndex != -2)
        m_haupt->cboSuche->setCurrentIndex(neu.feldIndex);
    m_haupt->txtSongname->setEditText(neu.text);
    suchZustand().bolSucheGesperrt = false;
    accept();
    QApplication::processEvents();
    m_haupt->txtSongname_Change();
}

void SucheErweitertZeigen(frmMain* haupt)
{
    if (!g_fenster || g_fenster->parentWidget() != haupt)
        g_fenster = new frmSucheErweitert(haupt);
    g_fenster->Vorbereiten();
    g_fenster->exec();
}

frmSucheErweitert* sucheErweitertFenster() { return g_fenster.data(); }
