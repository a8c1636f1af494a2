#include "library/frmIndexVerwaltung.h"

#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "core/frmFortschritt.h"
#include "library/Fensterteile_gui.h"
#include "library/IndexAufraeumen.h"
#include "platform/Steuerelemente_gui.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const EinträgeAktion& Übergabe(int art)
{
    return art == 0 ? Dienst<IndexVerwaltungAbspielenDienst>() : Dienst<DateiInfosDienst>();
}

QComboBox* AktionsBox(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->addItems({QStringLiteral("Keine Aktion"), QStringLiteral("Datei löschen"), QStringLiteral("Datei in Papierkorb"),
                 QStringLiteral("Datei aus Index entfernen"),
                 QStringLiteral("Datei ersetzen durch leere Datei mit anderer Endung")});
    return c;
}

} // namespace

frmIndexVerwaltung::frmIndexVerwaltung(Index& index, std::vector<qint32> einträge, qint32 listenZeilen,
                                       QWidget* parent)
    : QDialog(parent), m_index(index), m_einträge(std::move(einträge)), m_listenZeilen(listenZeilen)
{
    setObjectName(QStringLiteral("frmIndexVerwaltung"));
    setWindowTitle(QStringLiteral("Indexverwaltung"));

    Label1 = FensterÜberschrift(this, QStringLiteral(
                                          "Räumen Sie den Index auf: Finden Sie doppelte oder unnötige "
                                          "Indexeinträge/Dateien"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label2 = BenanntesLabel(this, "Label2", QStringLiteral("Wählen Sie eine Suchmethode"));
    cboSuchmethode = new QComboBox(this);
    cboSuchmethode->setObjectName(QStringLiteral("cboSuchmethode"));
    cboSuchmethode->addItems(SuchmethodenNamen());
    cboSuchmethode->setCurrentIndex(-1);
    cmdSuchen = BenannterKnopf(this, "cmdSuchen", QStringLiteral("Suche starten"));
    cmdSuchen->setEnabled(false);

    Label4 = BenanntesLabel(this, "Label4", QStringLiteral("Diese Index-Einträge wurden gefunden"));
    lstEinträge = new QListWidget(this);
    lstEinträge->setObjectName(QStringLiteral("lstEinträge"));
    lstEinträge->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstEinträge->setUniformItemSizes(true);
    lblGefundenAnzahl = BenanntesLabel(this, "lblGefundenAnzahl", QStringLiteral("0 Datei(en) gefunden"));
    cmdWählenAlle = BenannterKnopf(this, "cmdWählenAlle", QStringLiteral("Alle wählen"));
    cmdWählenKeine = BenannterKnopf(this, "cmdWählenKeine", QStringLiteral("Keine wählen"));
    cmdWählenUmkehren = BenannterKnopf(this, "cmdWählenUmkehren", QStringLiteral("Umkehren"));

    Label5 = BenanntesLabel(this, "Label5", QStringLiteral("Wählen Sie einen Eintrag für Details"));
    fraDetails = new QGroupBox(this);
    fraDetails->setObjectName(QStringLiteral("fraDetails"));
    lblDatei1 = BenanntesLabel(fraDetails, "lblDatei1", QStringLiteral("Dateiname"));
    lblDateiname1 = BenanntesLabel(fraDetails, "lblDateiname1", QString());
    cboAktion1 = AktionsBox(fraDetails, "cboAktion1");
    cmdAbspielen1 = BenannterKnopf(fraDetails, "cmdAbspielen1", QStringLiteral("Abspielen"));
    cmdInfos1 = BenannterKnopf(fraDetails, "cmdInfos1", QStringLiteral("Datei-Infos"));
    lblDatei2 = BenanntesLabel(fraDetails, "lblDatei2", QStringLiteral("Dateiname"));
    lblDateiname2 = BenanntesLabel(fraDetails, "lblDateiname2", QString());
    cboAktion2 = AktionsBox(fraDetails, "cboAktion2");
    cmdAbspielen2 = BenannterKnopf(fraDetails, "cmdAbspielen2", QStringLiteral("Abspielen"));
    cmdInfos2 = BenannterKnopf(fraDetails, "cmdInfos2", QStringLiteral("Datei-Infos"));
    lblGleichÜberschrift = BenanntesLabel(fraDetails, "lblGleichÜberschrift", QStringLiteral("Gleiche Daten"));
    lblGleich = BenanntesLabel(fraDetails, "lblGleich", QString());
    for (QLabel* l : {lblDateiname1, lblDateiname2, lblGleich}) {
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    fettSetzen(lblDatei1);
    fettSetzen(lblDatei2);
    fettSetzen(lblGleichÜberschrift);
    // Player and tag editor are other folders' business; without them these
    // buttons would do nothing.
    cmdAbspielen1->setEnabled(bool(Übergabe(0)));
    cmdAbspielen2->setEnabled(bool(Übergabe(0)));
    cmdInfos1->setEnabled(bool(Übergabe(1)));
    cmdInfos2->setEnabled(bool(Übergabe(1)));
    fraDetails->hide();

    Label6 = BenanntesLabel(this, "Label6",
                            QStringLiteral("Hinweis: Seien Sie vorsichtig mit dem Löschen von Dateien! Änderungen "
                                           "werden erst mit der Schaltfläche 'Ok' übernommen. Gegenstand der Suche "
                                           "sind alle im Hauptfenster markierten Dateien."));
    Label6->setWordWrap(true);
    cmdOk = BenannterKnopf(this, "cmdOk", QStringLiteral("Ok"));
    cmdAbbrechen = BenannterKnopf(this, "cmdAbbrechen", QStringLiteral("Abbrechen"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    auto* suche = new QHBoxLayout;
    suche->addWidget(cboSuchmethode, 1);
    suche->addWidget(cmdSuchen);
    layout->addLayout(suche);
    layout->addWidget(Label4);
    layout->addWidget(lstEinträge, 1);
    auto* wählen = new QHBoxLayout;
    wählen->addWidget(lblGefundenAnzahl, 1);
    wählen->addWidget(cmdWählenAlle);
    wählen->addWidget(cmdWählenKeine);
    wählen->addWidget(cmdWählenUmkehren);
    layout->addLayout(wählen);
    layout->addWidget(Label5);
    auto* details = new QGridLayout(fraDetails);
    details->addWidget(lblDatei1, 0, 0, 1, 3);
    details->addWidget(lblDateiname1, 1, 0, 1, 3);
    details->addWidget(cboAktion1, 2, 0);
    details->addWidget(cmdAbspielen1, 2, 1);
    details->addWidget(cmdInfos1, 2, 2);
    details->addWidget(lblDatei2, 3, 0, 1, 3);
    details->addWidget(lblDateiname2, 4, 0, 1, 3);
    details->addWidget(cboAktion2, 5, 0);
    details->addWidget(cmdAbspielen2, 5, 1);
    details->addWidget(cmdInfos2, 5, 2);
    details->addWidget(lblGleichÜberschrift, 6, 0, 1, 3);
    details->addWidget(lblGleich, 7, 0, 1, 3);
    details->setColumnStretch(0, 1);
    layout->addWidget(fraDetails);
    layout->addWidget(Label6);
    KnopfZeile(layout, {cmdOk, cmdAbbrechen});
    resize(640, 560);

    connect(cboSuchmethode, &QComboBox::currentIndexChanged, this, [this] { cboSuchmethode_Click(); });
    connect(cmdSuchen, &QPushButton::clicked, this, [this] { cmdSuchen_Click(); });
    connect(lstEinträge, &QListWidget::itemSelectionChanged, this, [this] { lstEinträge_Click(); });
    connect(lstEinträge, &QListWidget::itemDoubleClicked, this, [this] { lstEinträge_DblClick(); });
    lstEinträge->installEventFilter(this);
    // Only the user's choice stores an action; showing one just colours it.
    connect(cboAktion1, &QComboBox::activated, this, [this](int i) { cboAktion_Click(1, i); });
    connect(cboAktion2, &QComboBox::activated, this, [this](int i) { cboAktion_Click(2, i); });
    connect(cmdAbspielen1, &QPushButton::clicked, this, [this] { cmdAbspielen_Click(1); });
    connect(cmdAbspielen2, &QPushButton::clicked, this, [this] { cmdAbspielen_Click(2); });
    connect(cmdInfos1, &QPushButton::clicked, this, [this] { cmdInfos_Click(1); });
    connect(cmdInfos2, &QPushButton::clicked, this, [this] { cmdInfos_Click(2); });
    connect(cmdWählenAlle, &QPushButton::clicked, this, [this] { cmdWählenAlle_Click(); });
    connect(cmdWählenKeine, &QPushButton::clicked, this, [this] { cmdWählenKeine_Click(); });
    connect(cmdWählenUmkehren, &QPushButton::clicked, this, [this] { cmdWählenUmkehren_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, [this] { cmdAbbrechen_Click(); });
}

frmIndexVerwaltung::~frmIndexVerwaltung()
{
    // The progress window settles on the window that ran a search; it lives
    // on after this one.
    for (QObject* kind : children()) {
        if (auto* f = qobject_cast<frmFortschritt*>(kind))
            f->setParent(nullptr);
    }
}

void frmIndexVerwaltung::DoppelteDateienSuchen(int intMethode)
{
    lstEinträge->clear();
    fraDetails->hide();
    DoppelteZeile.assign(1, 0);
    // The progress display stands in front of this window while it is open.
    QWidget* aufrufer = isVisible() ? static_cast<QWidget*>(this) : parentWidget();
    ::DoppelteDateienSuchen(m_index, m_einträge, intMethode, m_listenZeilen, aufrufer, ergebnis);
    lstEinträge->addItems(ergebnis.zeilen);
    // No finding is chosen for the user: the details wait for his pick.
    lblGefundenAnzahl->setText(QString::number(ergebnis.Anzahl()) + QStringLiteral(" Datei(en) gefunden"));
}

void frmIndexVerwaltung::cboSuchmethode_Click()
{
    const bool gewählt = cboSuchmethode->currentIndex() >= 0;
    cmdSuchen->setEnabled(gewählt);
    if (gewählt)
        cmdSuchen->setFocus();
}

void frmIndexVerwaltung::cmdSuchen_Click()
{
    if (cboSuchmethode->currentIndex() >= 0)
        DoppelteDateienSuchen(cboSuchmethode->currentIndex());
}

void frmIndexVerwaltung::lstEinträge_Click()
{
    std::vector<qint32> zeilen;
    for (const QItemSelectionRange& r : lstEinträge->selectionModel()->selection()) {
        for (int z = r.top(); z <= r.bottom(); ++z)
            zeilen.push_back(z + 1);
    }
    if (zeilen.empty()) {
        fraDetails->hide();
        return;
    }
    std::sort(zeilen.begin(), zeilen.end());
    zeilen.erase(std::unique(zeilen.begin(), zeilen.end()), zeilen.end());
    DoppelteZeile.assign(1, 0);
    DoppelteZeile.insert(DoppelteZeile.end(), zeilen.begin(), zeilen.end());

    const qint32 erste = DoppelteZeile[1];
    if (erste > ergebnis.Anzahl())
        return;
    const qint32 e1 = ergebnis.DoppelteEintrag1[size_t(erste)];
    const qint32 e2 = ergebnis.DoppelteEintrag2[size_t(erste)];
    const bool paar = e2 != -1;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdInfos2, cmdAbspielen2, lblDateiname2, lblDatei2,
                                                      lblGleichÜberschrift, lblGleich, cboAktion2})
        w->setVisible(paar);

    const auto pfad = [this](qint32 e) {
        return m_index.GültigerEintrag(e) ? m_index.strIndexPfad[size_t(e)] : QString();
    };
    const auto aktion = [this](qint32 e) {
        return e > 0 && size_t(e) < ergebnis.DoppelteAktion.size() ? ergebnis.DoppelteAktion[size_t(e)] : 0;
    };
    if (zeilen.size() == 1) {
        lblDateiname1->setText(pfad(e1));
        lblDatei1->setText(QStringLiteral("Dateiname - Eintrag ") + QString::number(e1));
        AktionZeigen(cboAktion1, aktion(e1));
        if (paar) {
            lblDateiname2->setText(pfad(e2));
            lblDatei2->setText(QStringLiteral("Dateiname - Eintrag ") + QString::number(e2));
            lblGleich->setText(GleicheDatenText(m_index, ergebnis.lngSuchmethode, e1));
            AktionZeigen(cboAktion2, aktion(e2));
        }
    } else {
        const QString gewählt = QString::number(zeilen.size()) + QStringLiteral(" Dateien gewählt");
        lblDateiname1->setText(gewählt);
        lblDateiname2->setText(gewählt);
        lblGleich->setText(gewählt);
        lblDatei1->setText(QStringLiteral("Dateiname"));
        lblDatei2->setText(QStringLiteral("Dateiname"));
        AktionZeigen(cboAktion1, -1);
        AktionZeigen(cboAktion2, -1);
    }
    fraDetails->show();
}

void frmIndexVerwaltung::AktionZeigen(QComboBox* box, int aktion)
{
    box->setCurrentIndex(aktion);
    AktionFärben(box);
}

void frmIndexVerwaltung::AktionFärben(QComboBox* box)
{
    const QColor farbe = box->currentIndex() > 0 ? QColor(128, 0, 0) : QColor(0, 0, 128);
    QPalette p = box->palette();
    p.setColor(QPalette::Text, farbe);
    p.setColor(QPalette::ButtonText, farbe);
    box->setPalette(p);
}

void frmIndexVerwaltung::cboAktion_Click(int nummer, int index)
{
    QComboBox* box = nummer == 1 ? cboAktion1 : cboAktion2;
    AktionFärben(box);
    if (index < 0)
        return;
    // An action belongs to the entry: every finding it takes part in shows it.
    for (const qint32 e : GewählteEinträge(nummer)) {
        if (e > 0 && size_t(e) < ergebnis.DoppelteAktion.size())
            ergebnis.DoppelteAktion[size_t(e)] = index;
    }
}

std::vector<qint32> frmIndexVerwaltung::GewählteEinträge(int nummer) const
{
    std::vector<qint32> einträge;
    for (size_t k = 1; k < DoppelteZeile.size(); ++k) {
        const qint32 r = DoppelteZeile[k];
        if (r < 1 || r > ergebnis.Anzahl())
            continue;
        const qint32 e = nummer == 1 ? ergebnis.DoppelteEintrag1[size_t(r)] : ergebnis.DoppelteEintrag2[size_t(r)];
        if (e > 0)
            einträge.push_back(e);
    }
    return einträge;
}

void frmIndexVerwaltung::cmdAbspielen_Click(int nummer)
{
    const std::vector<qint32> einträge = GewählteEinträge(nummer);
    if (!einträge.empty() && Übergabe(0))
        Übergabe(0)(einträge, this);
}

void frmIndexVerwaltung::cmdInfos_Click(int nummer)
{
    const std::vector<qint32> einträge = GewählteEinträge(nummer);
    if (!einträge.empty() && Übergabe(1))
        Übergabe(1)(einträge, this);
}

void frmIndexVerwaltung::lstEinträge_DblClick()
{
    if (lstEinträge->selectionModel()->selection().isEmpty())
        return;
    switch (einstellungen().BeiDoppelklick) {
    case 0:
    case 1:
        cmdAbspielen_Click(1);
        break;
    case 3:
        cmdInfos_Click(1);
        break;
    default:
        break;
    }
}

bool frmIndexVerwaltung::eventFilter(QObject* objekt, QEvent* e)
{
    if (objekt == lstEinträge && e->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(e)->key();
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            lstEinträge_DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(objekt, e);
}

void frmIndexVerwaltung::cmdWählenAlle_Click()
{
    lstEinträge->selectAll();
}

void frmIndexVerwaltung::cmdWählenKeine_Click()
{
    lstEinträge->clearSelection();
}

void frmIndexVerwaltung::cmdWählenUmkehren_Click()
{
    const int n = lstEinträge->count();
    if (n == 0)
        return;
    // One change of the whole range: the handler runs once.
    QAbstractItemModel* m = lstEinträge->model();
    lstEinträge->selectionModel()->select(QItemSelection(m->index(0, 0), m->index(n - 1, 0)),
                                          QItemSelectionModel::Toggle);
}

void frmIndexVerwaltung::cmdOk_Click()
{
    if (AktionenBestätigen(ergebnis.DoppelteAktion, this))
        accept();
}

void frmIndexVerwaltung::cmdAbbrechen_Click()
{
    reject();
}

void frmIndexVerwaltung::reject()
{
    if (AktionenGesamt(AktionenZählen(ergebnis.DoppelteAktion)) > 0
        && MeldungZeigen(QStringLiteral("Möchten Sie die noch nicht durchgeführten Änderungen am Index verwerfen und "
                                        "dieses Fenster schließen?"),
                         Knöpfe::JaNein, Symbol::Frage, this)
            != Antwort::Ja)
        return;
    QDialog::reject();
}

void IndexVerwaltungZeigen(const std::vector<qint32>& einträge, qint32 listenZeilen, QWidget* besitzer)
{
    frmIndexVerwaltung fenster(hauptIndex(), einträge, listenZeilen, besitzer);
    fenster.DoppelteDateienSuchen(-1);
    const bool ok = fenster.exec() == QDialog::Accepted;
    if (ok)
        IndexAufräumen(hauptIndex(), fenster.ergebnis.DoppelteAktion, besitzer);
    if (besitzer)
        besitzer->update();
}
