#include "player/frmAutoDJ.h"
#include "platform/Steuerelemente_gui.h"

#include "core/Einstellungen.h"
#include "core/Felder.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "library/Fensterteile_gui.h"
#include "player/Abspielen.h"
#include "player/frmExportieren.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace {

// Marks the list item that stands for files without a genre.
constexpr int kOhneGenre = Qt::UserRole + 1;

DateiInfosDienst::Typ& dateiInfos() { return Dienst<DateiInfosDienst>(); }

void alleWählen(QListWidget* l)
{
    l->selectAll();
}

void keineWählen(QListWidget* l)
{
    l->clearSelection();
}

void umkehren(QListWidget* l)
{
    QItemSelection auswahl;
    for (int i = 0; i < l->count(); ++i) {
        const QModelIndex x = l->model()->index(i, 0);
        auswahl.select(x, x);
    }
    l->selectionModel()->select(auswahl, QItemSelectionModel::Toggle);
}

QPushButton* knopf(QWidget* parent, const char* name, const char* text)
{
    return BenannterKnopf(parent, name, QString::fromUtf8(text));
}

} // namespace

frmAutoDJ::frmAutoDJ(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAutoDJ"));
    setWindowTitle(QStringLiteral("AutoDJ"));
    Label3 = FensterÜberschrift(this, QStringLiteral("auto dj"));
    Label4 = TextLabel(this, "Label4", QStringLiteral("Stellen Sie Mediendateien automatisch nach Kriterien zusammen"));
    cmdZurück = knopf(this, "cmdZurück", "< &Zurück");
    cmdErstellen = knopf(this, "cmdErstellen", "&Weiter >");
    cmdErstellen->setDefault(true);
    cmdAbbrechen = knopf(this, "cmdAbbrechen", "&Schließen");

    fraSuche = benannt(new QGroupBox(QStringLiteral("Einstellungen"), this), "fraSuche");
    lblFelder = BenanntesLabel(fraSuche, "lblFelder", QStringLiteral("Diese Genre suchen (vorhandene)"));
    lstFelder = benannt(new QListWidget(fraSuche), "lstFelder");
    lstFelder->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lblFelder->setBuddy(lstFelder);
    cmdGenreAlle = knopf(fraSuche, "cmdGenreAlle", "&Alle");
    cmdGenreKeine = knopf(fraSuche, "cmdGenreKeine", "&Keine");
    cmdGenreUmkehren = knopf(fraSuche, "cmdGenreUmkehren", "&Umkehren");
    lblMaximum = BenanntesLabel(fraSuche, "lblMaximum",
                                QStringLiteral("Finde so viele Dateien (am besten niedrige Zahlen):"));
    txtMaximum = benannt(new QLineEdit(fraSuche), "txtMaximum");
    lblMaximum->setBuddy(txtMaximum);
    lblZeit1 = BenanntesLabel(fraSuche, "lblZeit1", QStringLiteral("Dateien auslassen, die innerhalb der letzten"));
    txtZeit = benannt(new QLineEdit(fraSuche), "txtZeit");
    lblZeit1->setBuddy(txtZeit);
    cboZeiteinheit = benannt(new QComboBox(fraSuche), "cboZeiteinheit");
    cboZeiteinheit->addItems({QStringLiteral("Minuten"), QStringLiteral("Stunden"), QStringLiteral("Tage")});
    lblZeit2 = BenanntesLabel(fraSuche, "lblZeit2", QStringLiteral("bereits gespielt wurden"));
    chkAlteSeltener = benannt(
        new QCheckBox(QStringLiteral("Dateien, die ich vor kurzem noch häufig gehört habe, seltener finden"), fraSuche),
        "chkAlteSeltener");
    chkSehrAlteHäufiger = benannt(
        new QCheckBox(QStringLiteral("Dateien, die ich vor längerer Zeit oft gehört habe, häufiger finden"), fraSuche),
        "chkSehrAlteHäufiger");
    auto* s = new QGridLayout(fraSuche);
    s->addWidget(lblFelder, 0, 0, 1, 4);
    s->addWidget(lstFelder, 1, 0, 1, 4);
    s->addWidget(cmdGenreAlle, 2, 0);
    s->addWidget(cmdGenreKeine, 2, 1);
    s->addWidget(cmdGenreUmkehren, 2, 2);
    s->addWidget(lblMaximum, 3, 0, 1, 3);
    s->addWidget(txtMaximum, 3, 3);
    s->addWidget(lblZeit1, 4, 0, 1, 2);
    s->addWidget(txtZeit, 4, 2);
    s->addWidget(cboZeiteinheit, 4, 3);
    s->addWidget(lblZeit2, 5, 0, 1, 4);
    s->addWidget(chkAlteSeltener, 6, 0, 1, 4);
    s->addWidget(chkSehrAlteHäufiger, 7, 0, 1, 4);

    fraErgebnisse = benannt(new QGroupBox(QStringLiteral("Vorschläge"), this), "fraErgebnisse");
    lstGefunden = benannt(new QListWidget(fraErgebnisse), "lstGefunden");
    lstGefunden->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lblGefundenAnzahl = BenanntesLabel(fraErgebnisse, "lblGefundenAnzahl", QStringLiteral("0 Datei(en) gefunden"));
    lblDatei1 = BenanntesLabel(fraErgebnisse, "lblDatei1", QStringLiteral("Dateiname"));
    fettSetzen(lblDatei1);
    lblDateiname1 = TextLabel(fraErgebnisse, "lblDateiname1", QString());
    lblStatistikÜberschrift = BenanntesLabel(fraErgebnisse, "lblStatistikÜberschrift", QStringLiteral("Statistik-Daten"));
    fettSetzen(lblStatistikÜberschrift);
    lblStatistik = TextLabel(fraErgebnisse, "lblStatistik", QString());
    cmdAbspielen = knopf(fraErgebnisse, "cmdAbspielen", "A&bspielen");
    cmdInPlaylist = knopf(fraErgebnisse, "cmdInPlaylist", "&In Playlist");
    cmdExport = knopf(fraErgebnisse, "cmdExport", "&Export");
    cmdInfos = knopf(fraErgebnisse, "cmdInfos", "&Datei-Infos");
    cmdWählenAlle = knopf(fraErgebnisse, "cmdWählenAlle", "&Alle wählen");
    cmdWählenKeine = knopf(fraErgebnisse, "cmdWählenKeine", "&Keine wählen");
    cmdWählenUmkehren = knopf(fraErgebnisse, "cmdWählenUmkehren", "&Umkehren");
    lblHinweis = TextLabel(fraErgebnisse, "lblHinweis",
                           QStringLiteral("Hinweis: Hier können Sie ohne viel Arbeit z.B. Ihre Lieblingsmusik hören "
                                          "oder vorführen! Dieses Programm überwacht, was Sie abspielen und stellt "
                                          "Ihre Dateien nach Sparten auf Knopfdruck zusammen."));
    auto* r = new QGridLayout(fraErgebnisse);
    r->addWidget(lstGefunden, 0, 0, 1, 3);
    r->addWidget(lblGefundenAnzahl, 1, 0, 1, 3);
    r->addWidget(cmdWählenAlle, 2, 0);
    r->addWidget(cmdWählenKeine, 2, 1);
    r->addWidget(cmdWählenUmkehren, 2, 2);
    r->addWidget(lblDatei1, 3, 0, 1, 3);
    r->addWidget(lblDateiname1, 4, 0, 1, 3);
    r->addWidget(lblStatistikÜberschrift, 5, 0, 1, 3);
    r->addWidget(lblStatistik, 6, 0, 1, 3);
    auto* aktionen = new QHBoxLayout;
    for (QPushButton* k : {cmdAbspielen, cmdInPlaylist, cmdExport, cmdInfos})
        aktionen->addWidget(k);
    r->addLayout(aktionen, 7, 0, 1, 3);
    r->addWidget(lblHinweis, 8, 0, 1, 3);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Label3);
    v->addWidget(Label4);
    // The two pages lie in one place: the window keeps its size.
    v->addLayout(Seitenstapel(std::array<QWidget*, 2>{fraSuche, fraErgebnisse}), 1);
    KnopfZeile(v, {cmdZurück, cmdErstellen, cmdAbbrechen});
    resize(7200 / 15, 7800 / 15);

    zufall = [] { return QRandomGenerator::global()->generateDouble(); };
    jetzt = [] { return QDateTime::currentDateTime(); };
    abspielen = [this](const std::vector<qint32>& einträge, bool anhängen) {
        AbspielenMediaPlayer(einträge, anhängen, false, false, QString(), this);
    };

    connect(cmdZurück, &QPushButton::clicked, this, [this] { cmdZurück_Click(); });
    connect(cmdErstellen, &QPushButton::clicked, this, [this] { cmdErstellen_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, [this] { cmdAbbrechen_Click(); });
    connect(cmdGenreAlle, &QPushButton::clicked, this, [this] { alleWählen(lstFelder); });
    connect(cmdGenreKeine, &QPushButton::clicked, this, [this] { keineWählen(lstFelder); });
    connect(cmdGenreUmkehren, &QPushButton::clicked, this, [this] { umkehren(lstFelder); });
    connect(cmdWählenAlle, &QPushButton::clicked, this, [this] { alleWählen(lstGefunden); });
    connect(cmdWählenKeine, &QPushButton::clicked, this, [this] { keineWählen(lstGefunden); });
    connect(cmdWählenUmkehren, &QPushButton::clicked, this, [this] { umkehren(lstGefunden); });
    connect(lstGefunden, &QListWidget::itemSelectionChanged, this, [this] { lstGefunden_Click(); });
    connect(lstGefunden, &QListWidget::itemDoubleClicked, this, [this] { lstGefunden_DblClick(); });
    connect(cmdAbspielen, &QPushButton::clicked, this, [this] { cmdAbspielen_Click(); });
    connect(cmdInPlaylist, &QPushButton::clicked, this, [this] { cmdInPlaylist_Click(); });
    connect(cmdExport, &QPushButton::clicked, this, [this] { cmdExport_Click(); });
    connect(cmdInfos, &QPushButton::clicked, this, [this] { cmdInfos_Click(); });
    lstGefunden->installEventFilter(this);
    knöpfeSetzen(false);
}

void frmAutoDJ::GenresSetzen(const QStringList& genres)
{
    lstFelder->clear();
    lstFelder->addItems(genres);
    auto* ohne = new QListWidgetItem(OhneGenreEintrag(), lstFelder);
    ohne->setData(kOhneGenre, true);
}

void frmAutoDJ::knöpfeSetzen(bool an)
{
    cmdAbspielen->setEnabled(an);
    cmdInPlaylist->setEnabled(an);
    cmdExport->setEnabled(an);
    // The tag editor may not be there to open.
    cmdInfos->setEnabled(an && bool(dateiInfos()));
}

void frmAutoDJ::cmdZurück_Click()
{
    fraSuche->show();
    fraErgebnisse->hide();
    cmdErstellen->setEnabled(true);
    cmdZurück->setEnabled(false);
}

void frmAutoDJ::cmdAbbrechen_Click()
{
    hide();
    Einstellungen& e = einstellungen();
    e.AutoDJFindeAnzahl = txtMaximum->text();
    e.AutoDJAuslassenZeit = txtZeit->text();
    e.AutoDJAuslassenGröße = cboZeiteinheit->currentIndex();
    e.AutoDJAuslassenVorKurzem = chkAlteSeltener->isChecked() ? 1 : 0;
    e.AutoDJFindenVorLängerem = chkSehrAlteHäufiger->isChecked() ? 1 : 0;
    QDialog::reject();
}

void frmAutoDJ::reject() { cmdAbbrechen_Click(); }

void frmAutoDJ::cmdErstellen_Click()
{
    const auto melden = [this](const QString& text, QWidget* fokus) {
        MeldungZeigen(text, Knöpfe::OK, Symbol::Information, this);
        fokus->setFocus();
    };
    const QList<QListWidgetItem*> gewählt = lstFelder->selectedItems();
    if (gewählt.isEmpty())
        return melden(QStringLiteral("Bitte wählen Sie mindestens ein Genre aus der Liste."), lstFelder);
    const std::optional<double> zeit = AutoDJZahl(txtZeit->text());
    if (!txtZeit->text().isEmpty() && !zeit)
        return melden(QStringLiteral("Bitte wählen Sie eine Zahl in das Feld 'Auslassen' ein oder leeren Sie dieses."),
                      txtZeit);
    const std::optional<double> maximum = AutoDJZahl(txtMaximum->text());
    if (!maximum)
        return melden(QStringLiteral("Bitte geben Sie eine Zahl in das Feld 'Finde so viele Dateien' ein."),
                      txtMaximum);

    AutoDJKriterien k;
    // In list order, as the rows stand.
    for (int i = 0; i < lstFelder->count(); ++i) {
        const QListWidgetItem* it = lstFelder->item(i);
        if (it->isSelected())
            k.genres << (it->data(kOhneGenre).toBool() ? QString() : it->text());
    }
    if (zeit) {
        // Whole number, halves to the even one.
        const double z = std::nearbyint(*zeit);
        k.auslassen = qint64(std::clamp(z, -9.0e18, 9.0e18));
    }
    k.zeiteinheit = cboZeiteinheit->currentIndex();
    k.alteSeltener = chkAlteSeltener->isChecked();
    k.sehrAlteHäufiger = chkSehrAlteHäufiger->isChecked();
    k.maximum = *maximum;

    const AutoDJVorschlag v = AutoDJErstellen(hauptIndex(), k, zufall, jetzt ? jetzt() : QDateTime::currentDateTime());
    if (!v.datenVorhanden) {
        MeldungZeigen(AutoDJKeineDatenText(einstellungen().AbspielStatistikSpeichern != 0), Knöpfe::OK,
                      Symbol::Information, this);
        return;
    }
    {
        const QSignalBlocker sperre(lstGefunden);
        lstGefunden->clear();
        for (size_t i = 0; i < v.einträge.size(); ++i) {
            auto* it = new QListWidgetItem(v.texte[qsizetype(i)], lstGefunden);
            it->setData(Qt::UserRole, v.einträge[i]);
        }
    }
    lblGefundenAnzahl->setText(QString::number(lstGefunden->count()) + QStringLiteral(" Datei(en) gefunden"));
    lblDateiname1->setText(QString());
    lblDatei1->setText(QStringLiteral("Dateiname"));
    lblStatistik->setText(QString());
    knöpfeSetzen(false);
    fraSuche->hide();
    fraErgebnisse->show();
    cmdErstellen->setEnabled(false);
    cmdZurück->setEnabled(true);
}

void frmAutoDJ::lstGefunden_Click()
{
    std::vector<qint32> auswahl;
    for (int i = 0; i < lstGefunden->count(); ++i)
        if (lstGefunden->item(i)->isSelected())
            auswahl.push_back(lstGefunden->item(i)->data(Qt::UserRole).toInt());
    if (auswahl.empty()) {
        lblDateiname1->setText(QString());
        lblDatei1->setText(QStringLiteral("Dateiname"));
        lblStatistik->setText(QString());
        knöpfeSetzen(false);
        return;
    }
    lngAutoDJAuswahl = auswahl;
    const Index& idx = hauptIndex();
    if (auswahl.size() == 1 && idx.GültigerEintrag(auswahl[0])) {
        const qint32 e = auswahl[0];
        QString gespielt;
        FeldWert(idx, e, Feld::AbspielDatum, FeldModus::Anzeige, gespielt);
        lblDateiname1->setText(idx.strIndexPfad[size_t(e)]);
        lblDatei1->setText(QStringLiteral("Dateiname - Eintrag ") + QString::number(e));
        lblStatistik->setText(QStringLiteral("Zuletzt gespielt am ") + gespielt + QStringLiteral(", insgesamt ")
                              + QString::number(idx.IndexDaten[size_t(e)].Datei_AngefordertAnzahl)
                              + QStringLiteral(" Mal"));
    } else {
        const QString n = QLatin1Char('(') + QString::number(auswahl.size()) + QStringLiteral(" Dateien)");
        lblDateiname1->setText(n);
        lblStatistik->setText(n);
        lblDatei1->setText(QStringLiteral("Dateiname"));
    }
    knöpfeSetzen(true);
}

void frmAutoDJ::lstGefunden_DblClick()
{
    if (lstGefunden->selectedItems().isEmpty())
        return;
    switch (einstellungen().BeiDoppelklick) {
    case 0:
    case 1:
        cmdAbspielen_Click();
        break;
    case 2:
        cmdInPlaylist_Click();
        break;
    case 3:
        cmdInfos_Click();
        break;
    default:
        break;
    }
}

bool frmAutoDJ::eventFilter(QObject* o, QEvent* e)
{
    if (o == lstGefunden && e->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(e)->key();
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            lstGefunden_DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void frmAutoDJ::cmdAbspielen_Click()
{
    if (abspielen && !lngAutoDJAuswahl.empty())
        abspielen(std::vector<qint32>(lngAutoDJAuswahl), false);
}

void frmAutoDJ::cmdInPlaylist_Click()
{
    if (abspielen && !lngAutoDJAuswahl.empty())
        abspielen(std::vector<qint32>(lngAutoDJAuswahl), true);
}

void frmAutoDJ::cmdExport_Click()
{
    if (!lngAutoDJAuswahl.empty())
        ExportierenVorbereiten(std::vector<qint32>(lngAutoDJAuswahl), exportSpalten ? exportSpalten() : QStringList(),
                               this);
}

void frmAutoDJ::cmdInfos_Click()
{
    if (dateiInfos() && !lngAutoDJAuswahl.empty())
        dateiInfos()(std::vector<qint32>(lngAutoDJAuswahl), this);
}
