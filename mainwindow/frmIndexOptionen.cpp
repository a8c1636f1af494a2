#include "mainwindow/frmIndexOptionen.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialoge_gui.h"
#include "platform/Steuerelemente_gui.h"
#include "platform/Umbruchknopf_gui.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kListeneintragWählen = QStringLiteral("Bitte wählen Sie einen Listeneintrag.");
const QString kEintragEntfernen = QStringLiteral("Möchten Sie diesen Listeneintrag entfernen?");

void hinweis(const QString& text, QObject* besitzer)
{
    MeldungZeigen(text, Knöpfe::OK, Symbol::Information, besitzer);
}

QListWidgetItem* haken(QListWidgetItem* item, bool an)
{
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(an ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

frmIndexOptionen::frmIndexOptionen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIndexOptionen"));
    setWindowTitle(QStringLiteral("Index-Optionen einstellen"));
    setModal(true);

    auto* v = new QVBoxLayout(this);
    auto* kopf = benannt(new QLabel(QStringLiteral("index-optionen einstellen"), this), "lblÜberschrift");
    fettSetzen(kopf, 4);
    v->addWidget(kopf);
    v->addWidget(TextLabel(this, "lblUnterüberschrift",
                           QStringLiteral("Diese Optionen gelten für den Dateindex und werden auch darin gespeichert.")));

    auto* mitte = new QHBoxLayout;
    auto* knöpfe = new QVBoxLayout;
    const char* seiten[] = {"Dateitypen", "Synchronisation", "Datei-Liste"};
    for (int i = 0; i < 3; ++i) {
        optOptionen[size_t(i)] = benannt(new QRadioButton(QString::fromUtf8(seiten[i]), this),
                                         QStringLiteral("optOptionen%1").arg(i));
        knöpfe->addWidget(optOptionen[size_t(i)]);
        fraOptionen[size_t(i)] = benannt(new QFrame(this), QStringLiteral("fraOptionen%1").arg(i));
        connect(optOptionen[size_t(i)], &QRadioButton::clicked, this, [this, i] { optOptionen_Click(i); });
    }
    knöpfe->addStretch(1);
    mitte->addLayout(knöpfe);
    mitte->addLayout(Seitenstapel(fraOptionen, optOptionen), 1);
    v->addLayout(mitte, 1);

    // Page "Dateitypen"
    {
        auto* l = new QVBoxLayout(fraOptionen[0]);
        l->addWidget(new QLabel(QStringLiteral("Folgende Dateitypen verwalten"), fraOptionen[0]));
        auto* zeile = new QHBoxLayout;
        lstDateitypen = benannt(new QListWidget(fraOptionen[0]), "lstDateitypen");
        zeile->addWidget(lstDateitypen, 1);
        auto* rechts = new QVBoxLayout;
        cmdDateitypenHinzufügen = benannt(new QPushButton(QStringLiteral("&Hinzufügen"), fraOptionen[0]),
                                          "cmdDateitypenHinzufügen");
        cmdDateitypenEntfernen = benannt(new QPushButton(QStringLiteral("&Entfernen"), fraOptionen[0]),
                                         "cmdDateitypenEntfernen");
        rechts->addWidget(cmdDateitypenHinzufügen);
        rechts->addWidget(cmdDateitypenEntfernen);
        fraDateitypenÄndern = benannt(new QGroupBox(QStringLiteral("Dateityp bearbeiten"), fraOptionen[0]),
                                      "fraDateitypenÄndern");
        auto* r = new QVBoxLayout(fraDateitypenÄndern);
        r->addWidget(new QLabel(QStringLiteral("Datei-Endung eingeben"), fraDateitypenÄndern));
        txtDateitypEndung = benannt(new QLineEdit(fraDateitypenÄndern), "txtDateitypEndung");
        r->addWidget(txtDateitypEndung);
        r->addWidget(new QLabel(QStringLiteral("Optionen wählen"), fraDateitypenÄndern));
        chkDateitypMpegAudio = benannt(new QCheckBox(QStringLiteral("&Datei ist vom Typ 'MPEG Audiodatei'"),
                                                     fraDateitypenÄndern), "chkDateitypMpegAudio");
        chkDateitypAudio = benannt(new QCheckBox(QStringLiteral("&Datei ist vom Typ 'Audiodatei'"), fraDateitypenÄndern),
                                   "chkDateitypAudio");
        chkDateitypBilddatei = benannt(new QCheckBox(QStringLiteral("&Datei ist vom Typ 'Bilddatei'"),
                                                     fraDateitypenÄndern), "chkDateitypBilddatei");
        for (QCheckBox* c : {chkDateitypMpegAudio, chkDateitypAudio, chkDateitypBilddatei}) {
            c->setEnabled(false);
            r->addWidget(c);
        }
        PlatzHalten(fraDateitypenÄndern);
        rechts->addWidget(fraDateitypenÄndern);
        rechts->addStretch(1);
        zeile->addLayout(rechts);
        l->addLayout(zeile, 1);
        l->addWidget(TextLabel(fraOptionen[0], "lblHinweisDateitypen",
                               QStringLiteral("Hinweis: Die markierten Dateiformate werden verwaltet, d.h. Dateien der "
                                              "gewählten Typen werden Hinzufügen eines Ordners oder bei einer "
                                              "Synchronisation beachtet.")));
    }
    // Page "Synchronisation"
    {
        auto* l = new QVBoxLayout(fraOptionen[1]);
        l->addWidget(new QLabel(QStringLiteral("Synchronisation/Automatik"), fraOptionen[1]));
        auto* zeile = new QHBoxLayout;
        lstSyncOrdner = benannt(new QListWidget(fraOptionen[1]), "lstSyncOrdner");
        zeile->addWidget(lstSyncOrdner, 1);
        auto* rechts = new QVBoxLayout;
        cmdSyncOrdnerHinzufügen = benannt(new QPushButton(QStringLiteral("&Hinzufügen"), fraOptionen[1]),
                                          "cmdSyncOrdnerHinzufügen");
        cmdSyncOrdnerÄndern = benannt(new QPushButton(QStringLiteral("Ä&ndern"), fraOptionen[1]), "cmdSyncOrdnerÄndern");
        cmdSyncOrdnerEntfernen = benannt(new QPushButton(QStringLiteral("&Entfernen"), fraOptionen[1]),
                                         "cmdSyncOrdnerEntfernen");
        for (QPushButton* k : {cmdSyncOrdnerHinzufügen, cmdSyncOrdnerÄndern, cmdSyncOrdnerEntfernen})
            rechts->addWidget(k);
        rechts->addStretch(1);
        zeile->addLayout(rechts);
        l->addLayout(zeile, 1);
        l->addWidget(new QLabel(QStringLiteral("Optionen für den aktuellen Ordner"), fraOptionen[1]));
        chkSyncUnterordner = benannt(new Umbrechend<QCheckBox>(QStringLiteral("Die &Unterordner dieses Ordners auch einbeziehen"),
                                                   fraOptionen[1]), "chkSyncUnterordner");
        chkSyncKopierenInOrdner = benannt(new Umbrechend<QCheckBox>(QStringLiteral("Dateien vorher in folgenden Ordner &verschieben"),
                                                        fraOptionen[1]), "chkSyncKopierenInOrdner");
        l->addWidget(chkSyncUnterordner);
        l->addWidget(chkSyncKopierenInOrdner);
        auto* ziel = new QHBoxLayout;
        txtSyncKopierenInOrdner = benannt(new QLineEdit(fraOptionen[1]), "txtSyncKopierenInOrdner");
        cmdOrdnerWählen = benannt(new QPushButton(QStringLiteral("..."), fraOptionen[1]), "cmdOrdnerWählen");
        cmdOrdnerWählen->setToolTip(QStringLiteral("Bitte wählen Sie einen Ordner..."));
        ziel->addWidget(txtSyncKopierenInOrdner, 1);
        ziel->addWidget(cmdOrdnerWählen);
        for (QWidget* w : {static_cast<QWidget*>(chkSyncUnterordner), static_cast<QWidget*>(chkSyncKopierenInOrdner),
                           static_cast<QWidget*>(txtSyncKopierenInOrdner), static_cast<QWidget*>(cmdOrdnerWählen)})
            PlatzHalten(w);
        l->addLayout(ziel);
        l->addWidget(new QLabel(QStringLiteral("Allgemeine Optionen"), fraOptionen[1]));
        chkSyncDanachEntfernen = benannt(
            new Umbrechend<QCheckBox>(QStringLiteral("Nach dem Hinzufügen nicht mehr existierende Dateien aus dem Index entfernen"),
                          fraOptionen[1]),
            "chkSyncDanachEntfernen");
        l->addWidget(chkSyncDanachEntfernen);
        l->addWidget(TextLabel(fraOptionen[1], "lblHinweisSync",
                               QStringLiteral("Hinweis: Die Sychronisation fügt automatisch alle Dateien, deren "
                                              "Verwaltung aktiviert wurde, aus diesen Ordnern zum Index hinzu und "
                                              "entfernt nicht mehr existierende.")));
    }
    // Page "Datei-Liste"
    {
        QFrame* s = fraOptionen[2];
        auto* l = new QVBoxLayout(s);
        auto* überschrift = new QLabel(QStringLiteral("Datei-Liste im Hauptfenster"), s);
        fettSetzen(überschrift);
        l->addWidget(überschrift);
        auto* spalten = new QHBoxLayout;
        auto* links = new QVBoxLayout;
        links->addWidget(new QLabel(QStringLiteral("Diese Spalten anzeigen"), s));
        lstSpalten = benannt(new QListWidget(s), "lstSpalten");
        links->addWidget(lstSpalten, 1);
        links->addWidget(TextLabel(s, "lblHinweisSpalten",
                                   QStringLiteral("Hinweis: Stellen Sie hier die Listenanzeige im Hauptfenster ein. "
                                                  "Spaltenbreiten oder Positionen der Spalten können Sie über die "
                                                  "Spaltentitel im Hauptfenster ändern.")));
        auto* rechts = new QVBoxLayout;
        rechts->addWidget(new QLabel(QStringLiteral("Diese Elemente in der Liste anzeigen"), s));
        chkBeschreibungsleiste = benannt(new QCheckBox(QStringLiteral("&Spaltentitel"), s), "chkBeschreibungsleiste");
        chkGitter = benannt(new QCheckBox(QStringLiteral("&Gitternetz"), s), "chkGitter");
        rechts->addWidget(chkBeschreibungsleiste);
        rechts->addWidget(chkGitter);
        rechts->addWidget(new QLabel(QStringLiteral("Format der benutzerdefinieren Spalte"), s));
        txtSpaltenBenutzerFormat = benannt(new QLineEdit(s), "txtSpaltenBenutzerFormat");
        rechts->addWidget(txtSpaltenBenutzerFormat);
        rechts->addWidget(TextLabel(s, "lblHinweisFormat",
                                    QStringLiteral("Hinweis: Verwenden Sie die nebenstehenden Spaltennamen, "
                                                   "eingeschlossen von '%'-Zeichen als Variablen. Beispiel: "
                                                   "'%Interpret% - %Titel%'")));
        rechts->addWidget(TextLabel(s, "lblHinweisFormat2",
                                    QStringLiteral("Hinweis #2: Um den Inhalt von Spalten anzuzeigen, die sich auf "
                                                   "Datei-TAGs beziehen, müssen Sie das Lesen dieser Informationen in "
                                                   "den \"Optionen\" aktivieren.")));
        rechts->addWidget(new QLabel(QStringLiteral("Doppelklick in Dateiliste bewirkt"), s));
        optDoppelklickMediaPlayer = benannt(new QRadioButton(QStringLiteral("Abspielen mit Audio-Player"), s),
                                            "optDoppelklickMediaPlayer");
        optDoppelklickStandardPlayerPlaylist = benannt(new QRadioButton(QStringLiteral("In Playliste bei Audio-Player"), s),
                                                       "optDoppelklickStandardPlayerPlaylist");
        optDoppelklickID3 = benannt(new QRadioButton(QStringLiteral("ID3-TAG anzeigen"), s), "optDoppelklickID3");
        optDoppelklickAusführen = benannt(new QRadioButton(QStringLiteral("Mit Standard-Programm starten"), s),
                                          "optDoppelklickAusführen");
        for (QRadioButton* o : {optDoppelklickMediaPlayer, optDoppelklickStandardPlayerPlaylist, optDoppelklickID3,
                                optDoppelklickAusführen})
            rechts->addWidget(o);
        rechts->addStretch(1);
        spalten->addLayout(links, 1);
        spalten->addLayout(rechts, 1);
        l->addLayout(spalten, 1);
    }

    auto* unten = new QHBoxLayout;
    unten->addStretch(1);
    cmdOk = benannt(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk");
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    unten->addWidget(cmdOk);
    unten->addWidget(cmdAbbrechen);
    v->addLayout(unten);

    ordnerDialog = [](const QString& titel) { return OrdnerDialogZeigen(titel); };

    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, [this] { cmdAbbrechen_Click(); });
    // The chosen entry is the current one once it is selected too: a mouse
    // press makes the row current first and selects it after, the keyboard
    // does both before the selection is reported.
    connect(lstDateitypen, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_füllen)
            lstDateitypen_Click();
    });
    connect(txtDateitypEndung, &QLineEdit::textEdited, this, [this] { txtDateitypEndung_Change(); });
    connect(cmdDateitypenHinzufügen, &QPushButton::clicked, this, [this] { cmdDateitypenHinzufügen_Click(); });
    connect(cmdDateitypenEntfernen, &QPushButton::clicked, this, [this] { cmdDateitypenEntfernen_Click(); });
    connect(lstSyncOrdner, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_füllen)
            lstSyncOrdner_Click();
    });
    connect(chkSyncUnterordner, &QCheckBox::clicked, this, [this] { chkSyncUnterordner_Click(); });
    connect(chkSyncKopierenInOrdner, &QCheckBox::clicked, this, [this] { chkSyncKopierenInOrdner_Click(); });
    connect(txtSyncKopierenInOrdner, &QLineEdit::textChanged, this, [this] { txtSyncKopierenInOrdner_Change(); });
    connect(cmdOrdnerWählen, &QPushButton::clicked, this, [this] { cmdOrdnerWählen_Click(); });
    connect(cmdSyncOrdnerHinzufügen, &QPushButton::clicked, this, [this] { cmdSyncOrdnerHinzufügen_Click(); });
    connect(cmdSyncOrdnerÄndern, &QPushButton::clicked, this, [this] { cmdSyncOrdnerÄndern_Click(); });
    connect(cmdSyncOrdnerEntfernen, &QPushButton::clicked, this, [this] { cmdSyncOrdnerEntfernen_Click(); });
}

// --- filling and reading back -------------------------------------------------------

void frmIndexOptionen::Anzeigen(const Index& idx, int beiDoppelklick)
{
    const IndexOptionenArbeit a = IndexOptionenLesen(idx, beiDoppelklick);
    m_füllen = true;
    optDoppelklickMediaPlayer->setChecked(a.beiDoppelklick == 0);
    optDoppelklickStandardPlayerPlaylist->setChecked(a.beiDoppelklick == 2);
    optDoppelklickID3->setChecked(a.beiDoppelklick == 3);
    optDoppelklickAusführen->setChecked(a.beiDoppelklick == 4);

    m_sync = a.sync;
    m_syncDanachEntfernen = a.syncDanachEntfernen;
    lstSyncOrdner->clear();
    for (const SyncOrdnerEintrag& o : m_sync)
        lstSyncOrdner->addItem(o.ordner);
    lstSyncOrdner->setCurrentRow(-1);
    for (QWidget* w : {static_cast<QWidget*>(chkSyncUnterordner), static_cast<QWidget*>(chkSyncKopierenInOrdner),
                       static_cast<QWidget*>(txtSyncKopierenInOrdner), static_cast<QWidget*>(cmdOrdnerWählen)})
        w->setVisible(false);
    chkSyncDanachEntfernen->setChecked(a.syncDanachEntfernen == 1);

    m_typen = a.typen;
    fraDateitypenÄndern->setVisible(false);
    typenZeigen(-1);

    chkBeschreibungsleiste->setChecked(a.leiste);
    chkGitter->setChecked(a.gitter);
    lstSpalten->clear();
    for (const OptionenSpalte& s : a.spalten) {
        auto* item = haken(new QListWidgetItem(s.name, lstSpalten), s.an);
        item->setData(Qt::UserRole, s.breite);
    }
    txtSpaltenBenutzerFormat->setText(a.nutzerformat);
    m_füllen = false;
    optOptionen[0]->setChecked(true);
    optOptionen_Click(0);
}

void frmIndexOptionen::typenZeigen(int wählen)
{
    m_füllen = true;
    lstDateitypen->clear();
    for (const DateitypEintrag& d : m_typen)
        haken(new QListWidgetItem(d.text, lstDateitypen), d.an);
    lstDateitypen->setCurrentRow(wählen);
    m_füllen = false;
}

IndexOptionenArbeit frmIndexOptionen::Arbeitskopie() const
{
    IndexOptionenArbeit a;
    a.beiDoppelklick = optDoppelklickMediaPlayer->isChecked()              ? 0
                       : optDoppelklickStandardPlayerPlaylist->isChecked() ? 2
                       : optDoppelklickID3->isChecked()                    ? 3
                                                                           : 4;
    a.typen = m_typen;
    for (int i = 0; i < lstDateitypen->count() && i < int(a.typen.size()); ++i) {
        a.typen[size_t(i)].text = lstDateitypen->item(i)->text();
        a.typen[size_t(i)].an = lstDateitypen->item(i)->checkState() == Qt::Checked;
    }
    a.sync = m_sync;
    a.syncDanachEntfernen = chkSyncDanachEntfernen->isChecked() ? 1 : 0;
    for (int i = 0; i < lstSpalten->count(); ++i) {
        const QListWidgetItem* item = lstSpalten->item(i);
        a.spalten.push_back({item->text(), item->checkState() == Qt::Checked, item->data(Qt::UserRole).toInt(), i + 1});
    }
    a.leiste = chkBeschreibungsleiste->isChecked();
    a.gitter = chkGitter->isChecked();
    a.nutzerformat = txtSpaltenBenutzerFormat->text();
    return a;
}

void frmIndexOptionen::optOptionen_Click(int index)
{
    for (int i = 0; i < int(fraOptionen.size()); ++i)
        fraOptionen[size_t(i)]->setVisible(i == index);
}

// --- file types ----------------------------------------------------------------------

int frmIndexOptionen::gewählterTyp() const
{
    const int k = lstDateitypen->currentRow();
    return k >= 0 && k < int(m_typen.size()) && lstDateitypen->currentItem()->isSelected() ? k : -1;
}

void frmIndexOptionen::lstDateitypen_Click()
{
    const int k = gewählterTyp();
    if (k < 0)
        return;
    const DateitypEintrag& d = m_typen[size_t(k)];
    txtDateitypEndung->setText(lstDateitypen->item(k)->text());
    txtDateitypEndung->setEnabled(!d.eingebaut);
    if (!d.eingebaut) {
        txtDateitypEndung->selectAll();
        txtDateitypEndung->setFocus();
    }
    const QString arten = d.arten;
    chkDateitypMpegAudio->setChecked(arten.mid(0, 1) == QLatin1String("1"));
    chkDateitypAudio->setChecked(arten.mid(1, 1) == QLatin1String("1"));
    chkDateitypBilddatei->setChecked(arten.mid(2, 1) == QLatin1String("1"));
    fraDateitypenÄndern->setVisible(true);
}

void frmIndexOptionen::txtDateitypEndung_Change()
{
    const int k = gewählterTyp();
    if (k >= 0 && !m_typen[size_t(k)].eingebaut)
        lstDateitypen->item(k)->setText(txtDateitypEndung->text());
}

void frmIndexOptionen::cmdDateitypenHinzufügen_Click()
{
    const IndexOptionenArbeit a = Arbeitskopie();
    m_typen = a.typen;
    DateitypEintrag neu;
    neu.text = QStringLiteral("(Neuer Dateityp)");
    m_typen.push_back(neu);
    typenZeigen(int(m_typen.size()) - 1);
    lstDateitypen_Click();
}

bool frmIndexOptionen::entfernenBestätigt(int k, bool eingebaut)
{
    if (k < 0) {
        hinweis(kListeneintragWählen, this);
        return false;
    }
    if (eingebaut) {
        hinweis(QStringLiteral("Nur eigene Einträge können geändert oder gelöscht werden."), this);
        return false;
    }
    return MeldungZeigen(kEintragEntfernen, Knöpfe::JaNein, Symbol::Ausruf, this) == Antwort::Ja;
}

void frmIndexOptionen::cmdDateitypenEntfernen_Click()
{
    const int k = gewählterTyp();
    if (!entfernenBestätigt(k, k >= 0 && m_typen[size_t(k)].eingebaut))
        return;
    m_typen = Arbeitskopie().typen;
    m_typen.erase(m_typen.begin() + k);
    typenZeigen(-1);
    fraDateitypenÄndern->setVisible(false);
}

// --- sync folders --------------------------------------------------------------------

int frmIndexOptionen::gewählterOrdner() const
{
    const int k = lstSyncOrdner->currentRow();
    return k >= 0 && k < int(m_sync.size()) && lstSyncOrdner->currentItem()->isSelected() ? k : -1;
}

QString frmIndexOptionen::ordnerFragen()
{
    setEnabled(false);
    const QString antwort = NullZeichenAbschneiden(ordnerDialog ? ordnerDialog(QStringLiteral("Bitte wählen Sie einen Ordner...")) : QString());
    setEnabled(true);
    if (antwort.isEmpty())
        return QString();
    // The folder goes into an option line of the index file.
    if (!OptionsTextErlaubt(antwort, false)) {
        hinweis(OptionsTextFehler(false), this);
        return QString();
    }
    return antwort;
}

void frmIndexOptionen::lstSyncOrdner_Click()
{
    const int k = gewählterOrdner();
    const bool gewählt = k >= 0;
    chkSyncUnterordner->setVisible(gewählt);
    chkSyncKopierenInOrdner->setVisible(gewählt);
    if (!gewählt) {
        txtSyncKopierenInOrdner->setVisible(false);
        cmdOrdnerWählen->setVisible(false);
        return;
    }
    const SyncOrdnerEintrag o = m_sync[size_t(k)];
    chkSyncUnterordner->setChecked(o.unterordner == 1);
    chkSyncKopierenInOrdner->setChecked(!o.kopierenInOrdner.isEmpty());
    txtSyncKopierenInOrdner->setText(o.kopierenInOrdner);
    txtSyncKopierenInOrdner->setVisible(!o.kopierenInOrdner.isEmpty());
    cmdOrdnerWählen->setVisible(!o.kopierenInOrdner.isEmpty());
}

void frmIndexOptionen::chkSyncUnterordner_Click()
{
    if (const int k = gewählterOrdner(); k >= 0)
        m_sync[size_t(k)].unterordner = chkSyncUnterordner->isChecked() ? 1 : 0;
}

void frmIndexOptionen::chkSyncKopierenInOrdner_Click()
{
    const bool an = chkSyncKopierenInOrdner->isChecked();
    txtSyncKopierenInOrdner->setVisible(an);
    cmdOrdnerWählen->setVisible(an);
    if (!an)
        txtSyncKopierenInOrdner->clear();
}

void frmIndexOptionen::txtSyncKopierenInOrdner_Change()
{
    if (const int k = gewählterOrdner(); k >= 0)
        m_sync[size_t(k)].kopierenInOrdner = txtSyncKopierenInOrdner->text();
}

void frmIndexOptionen::cmdOrdnerWählen_Click()
{
    const QString ordner = ordnerFragen();
    if (!ordner.isEmpty())
        txtSyncKopierenInOrdner->setText(ordner);
}

void frmIndexOptionen::cmdSyncOrdnerHinzufügen_Click()
{
    const QString ordner = ordnerFragen();
    if (ordner.isEmpty())
        return;
    m_sync.push_back({ordner, 0, QString()});
    lstSyncOrdner->addItem(ordner);
    lstSyncOrdner->setCurrentRow(lstSyncOrdner->count() - 1);
    lstSyncOrdner_Click();
}

void frmIndexOptionen::cmdSyncOrdnerÄndern_Click()
{
    const int k = gewählterOrdner();
    if (k < 0) {
        hinweis(kListeneintragWählen, this);
        return;
    }
    const QString ordner = ordnerFragen();
    if (ordner.isEmpty())
        return;
    m_sync[size_t(k)].ordner = ordner;
    lstSyncOrdner->item(k)->setText(ordner);
    lstSyncOrdner_Click();
}

void frmIndexOptionen::cmdSyncOrdnerEntfernen_Click()
{
    const int k = gewählterOrdner();
    if (!entfernenBestätigt(k, false))
        return;
    m_sync.erase(m_sync.begin() + k);
    m_füllen = true;
    delete lstSyncOrdner->takeItem(k);
    lstSyncOrdner->setCurrentRow(-1);
    m_füllen = false;
    lstSyncOrdner_Click();
}

// --- OK and Cancel -------------------------------------------------------------------

void frmIndexOptionen::cmdOk_Click()
{
    const IndexOptionenArbeit a = Arbeitskopie();
    if (const QString fehler = IndexOptionenPrüfen(a); !fehler.isEmpty()) {
        hinweis(fehler, this);
        return;
    }
    hide();
    Index& idx = hauptIndex();
    const bool formatGeändert = IndexOptionenÜbernehmen(a, idx, einstellungen().BeiDoppelklick);
    bool spaltenGeändert = false;
    if (hauptfensterExistiert()) {
        frmMain* f = hauptfenster();
        spaltenGeändert = f->SpaltenAnpassen();
        f->SpaltenSpeichern();
    }
    StatusMeldungZeigen(QStringLiteral("Die Index-Optionen wurden übernommen"), 0);
    idx.bolIndexGeändert = true;
    if (spaltenGeändert || formatGeändert)
        SucheAktualisieren(true);
}

void frmIndexOptionen::cmdAbbrechen_Click() { hide(); }

frmIndexOptionen* indexOptionenFenster()
{
    static QPointer<frmIndexOptionen> fenster;
    if (!fenster)
        fenster = new frmIndexOptionen;
    return fenster;
}

void IndexOptionenZeigen(QWidget* besitzer)
{
    if (!hauptIndex().bolIndexGeladen) {
        hinweis(QStringLiteral("Es wurde keine Indexdatei geladen.\nBitte laden Sie eine Indexdatei, um diese "
                               "Funktion zu nutzen."),
                besitzer);
        return;
    }
    // The list shows the widths and order on screen.
    if (hauptfensterExistiert())
        hauptfenster()->SpaltenSpeichern();
    frmIndexOptionen* f = indexOptionenFenster();
    f->Anzeigen(hauptIndex(), einstellungen().BeiDoppelklick);
    if (besitzer && f->parentWidget() != besitzer)
        f->setParent(besitzer, f->windowFlags());
    f->exec();
}
