#include "player/frmExportieren.h"
#include "platform/Steuerelemente_gui.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "library/Fensterteile_gui.h"
#include "player/Exportieren.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Auto-exclusive buttons cannot be switched off one by one.
void ausschalten(std::initializer_list<QRadioButton*> knöpfe)
{
    for (QRadioButton* k : knöpfe) {
        k->setAutoExclusive(false);
        k->setChecked(false);
        k->setAutoExclusive(true);
    }
}

} // namespace

frmExportieren::frmExportieren(std::vector<qint32> e, QStringList s, QWidget* parent)
    : QDialog(parent), einträge(std::move(e)), spalten(std::move(s))
{
    setObjectName(QStringLiteral("frmExportieren"));
    setWindowTitle(QStringLiteral("Exportieren"));
    Label3 = FensterÜberschrift(this, QStringLiteral("daten exportieren"));
    lblZielformat = BenanntesLabel(this, "lblZielformat", QStringLiteral("Zielformat"));
    fettSetzen(lblZielformat);

    // The three formats share a box of their own, so that the separators
    // below do not switch them off.
    auto* formate = new QWidget(this);
    optHtml = benannt(new QRadioButton(QStringLiteral("HTML-Datei (*.htm/*.html)"), formate), "optHtml");
    lblHtml = TextLabel(formate, "lblHtml",
                        QStringLiteral("Betrachten Sie diese Datei in Ihrem Internet-Browser oder geben Sie diese an "
                                       "Bekannte weiter."));
    optPlayliste = benannt(new QRadioButton(QStringLiteral("Playliste (*.pls/*.m3u)"), formate), "optPlayliste");
    lblPlayliste = TextLabel(formate, "lblPlayliste",
                             QStringLiteral("Fügen Sie diese Datei in Ihren Audioplayer ein, um sich die Musik "
                                            "anzuhören."));
    optText = benannt(new QRadioButton(QStringLiteral("Durch ein Zeichen getrennte Textdatei (*.txt/*.csv)"), formate),
                      "optText");
    lblText = TextLabel(formate, "lblText",
                        QStringLiteral("Fügen Sie diese Datei z.B. in Ihre Tabellenkalkulation oder in Ihr "
                                       "Datenbankprogramm ein."));
    auto* fl = new QVBoxLayout(formate);
    fl->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(optHtml), static_cast<QWidget*>(lblHtml),
                       static_cast<QWidget*>(optPlayliste), static_cast<QWidget*>(lblPlayliste),
                       static_cast<QWidget*>(optText), static_cast<QWidget*>(lblText)})
        fl->addWidget(w);
    for (QLabel* l : {lblHtml, lblPlayliste, lblText})
        l->setContentsMargins(20, 0, 0, 4);

    fraTextOptionen = benannt(new QGroupBox(this), "fraTextOptionen");
    optTextKomma = benannt(new QRadioButton(QStringLiteral("Komma"), fraTextOptionen), "optTextKomma");
    optTextTabulator = benannt(new QRadioButton(QStringLiteral("Tabulator"), fraTextOptionen), "optTextTabulator");
    optTextSemikolon =
        benannt(new QRadioButton(QStringLiteral("Semikolon (Standard)"), fraTextOptionen), "optTextSemikolon");
    optTextLeerzeichen = benannt(new QRadioButton(QStringLiteral("Leerzeichen (sieht besser aus)"), fraTextOptionen),
                                 "optTextLeerzeichen");
    chkTextAnführungszeichen = benannt(
        new QCheckBox(QStringLiteral("Werte in Anführungszeichen setzen (vermeidet Fehler)"), fraTextOptionen),
        "chkTextAnführungszeichen");
    auto* tl = new QGridLayout(fraTextOptionen);
    tl->addWidget(optTextKomma, 0, 0);
    tl->addWidget(optTextTabulator, 0, 1);
    tl->addWidget(optTextSemikolon, 1, 0);
    tl->addWidget(optTextLeerzeichen, 1, 1);
    tl->addWidget(chkTextAnführungszeichen, 2, 0, 1, 2);
    // Hidden for the other formats, the text options keep their room: the
    // controls below stay where they are.
    PlatzHalten(fraTextOptionen);

    lblDatei = BenanntesLabel(this, "lblDatei", QStringLiteral("Dateiname"));
    fettSetzen(lblDatei);
    txtDatei = benannt(new QLineEdit(this), "txtDatei");
    lblDatei->setBuddy(txtDatei);
    cmdDateiSuchen = BenannterKnopf(this, "cmdDateiSuchen", QStringLiteral("..."));
    cmdDateiSuchen->setToolTip(QStringLiteral("Datei suchen"));
    lblHinweis = TextLabel(this, "lblHinweis",
                           QStringLiteral("Hinweis: Welche Daten-Spalten exportiert werden, wird durch die "
                                          "Spalteneinstellung im Hauptfenster bestimmt."));
    cmdOk = BenannterKnopf(this, "cmdOk", QStringLiteral("Ok"));
    cmdOk->setDefault(true);
    cmdAbbrechen = BenannterKnopf(this, "cmdAbbrechen", QStringLiteral("Abbrechen"));

    auto* v = new QVBoxLayout(this);
    v->addWidget(Label3);
    v->addWidget(lblZielformat);
    v->addWidget(formate);
    v->addWidget(fraTextOptionen);
    v->addWidget(lblDatei);
    auto* datei = new QHBoxLayout;
    datei->addWidget(txtDatei, 1);
    datei->addWidget(cmdDateiSuchen);
    v->addLayout(datei);
    v->addWidget(lblHinweis);
    KnopfZeile(v, {cmdOk, cmdAbbrechen});
    resize(6600 / 15, sizeHint().height());

    dateiWählen = [](QWidget* besitzer, const QString& filter) {
        return QFileDialog::getSaveFileName(besitzer, QString(), QString(), filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    connect(optHtml, &QRadioButton::toggled, this, [this](bool an) {
        if (an)
            optHtml_Click();
    });
    connect(optPlayliste, &QRadioButton::toggled, this, [this](bool an) {
        if (an)
            optPlayliste_Click();
    });
    connect(optText, &QRadioButton::toggled, this, [this](bool an) {
        if (an)
            optText_Click();
    });
    connect(cmdDateiSuchen, &QPushButton::clicked, this, [this] { cmdDateiSuchen_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, [this] { cmdAbbrechen_Click(); });
}

void frmExportieren::Vorbereiten()
{
    const Einstellungen& e = einstellungen();
    txtDatei->setText(e.ExportDatei);
    ausschalten({optText, optHtml, optPlayliste});
    fraTextOptionen->hide();
    // The quotes setting is stored with every export: the hidden box keeps it
    // for the next text export.
    chkTextAnführungszeichen->setChecked(e.ExportStriche != 0);
    // The separator too, whatever the format: the dialog is made anew for
    // each export, and a switch to text shows the stored one.
    ausschalten({optTextKomma, optTextTabulator, optTextSemikolon, optTextLeerzeichen});
    QRadioButton* const trenner[] = {optTextKomma, optTextTabulator, optTextSemikolon, optTextLeerzeichen};
    if (e.ExportUntermodus >= 0 && e.ExportUntermodus <= 3)
        trenner[e.ExportUntermodus]->setChecked(true);
    if (e.ExportModus == ExportText) {
        optText->setChecked(true);
    } else if (e.ExportModus == ExportHtml) {
        optHtml->setChecked(true);
    } else {
        optPlayliste->setChecked(true);
    }
}

void frmExportieren::endungSetzen(const QString& endung)
{
    const QString text = txtDatei->text();
    const QString alt = DateiEndungZurückgeben(text);
    if (!alt.isEmpty())
        txtDatei->setText(text.left(text.size() - alt.size()) + endung);
}

void frmExportieren::optHtml_Click()
{
    fraTextOptionen->hide();
    endungSetzen(QStringLiteral(".htm"));
}

void frmExportieren::optPlayliste_Click()
{
    fraTextOptionen->hide();
    endungSetzen(QStringLiteral(".m3u"));
}

void frmExportieren::optText_Click()
{
    fraTextOptionen->show();
    endungSetzen(QStringLiteral(".csv"));
}

void frmExportieren::cmdDateiSuchen_Click()
{
    QString filter;
    if (optHtml->isChecked())
        filter = QStringLiteral("HTML-Dateien (*.htm);;Alle Dateien (*)");
    else if (optPlayliste->isChecked())
        filter = QStringLiteral("Playlisten (*.pls);;Playlisten (*.m3u);;Alle Dateien (*)");
    else if (optText->isChecked())
        filter = QStringLiteral("Textdateien (*.csv);;Textdateien (*.txt);;Alle Dateien (*)");
    const QString datei = dateiWählen ? dateiWählen(this, filter) : QString();
    if (!datei.isEmpty())
        txtDatei->setText(datei);
}

void frmExportieren::cmdOk_Click()
{
    const QString pfad = txtDatei->text();
    if (pfad.isEmpty()) {
        MeldungZeigen(QStringLiteral("Bitte geben Sie einen Dateinamen ein."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    Einstellungen& e = einstellungen();
    qint16 format = ExportText;
    QString anführung, trenner;
    if (optText->isChecked()) {
        if (optTextKomma->isChecked()) {
            trenner = QStringLiteral(",");
            e.ExportUntermodus = 0;
        } else if (optTextSemikolon->isChecked()) {
            trenner = QStringLiteral(";");
            e.ExportUntermodus = 2;
        } else if (optTextTabulator->isChecked()) {
            trenner = QStringLiteral("\t");
            e.ExportUntermodus = 1;
        } else if (optTextLeerzeichen->isChecked()) {
            trenner = QStringLiteral(" ");
            e.ExportUntermodus = 3;
        } else {
            MeldungZeigen(QStringLiteral("Bitte wählen Sie das Unterformat zur Auswahl 'Text'."), Knöpfe::OK,
                          Symbol::Information, this);
            return;
        }
        if (chkTextAnführungszeichen->isChecked())
            anführung = QStringLiteral("\"");
    } else if (optHtml->isChecked()) {
        format = ExportHtml;
    } else if (optPlayliste->isChecked()) {
        format = ExportPlaylist;
    } else {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie ein Export-Format."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    e.ExportModus = format;
    e.ExportStriche = chkTextAnführungszeichen->isChecked() ? 1 : 0;
    e.ExportDatei = pfad;
    if (DoesExist(pfad)
        && MeldungZeigen(QStringLiteral("Die Datei '") + pfad
                             + QStringLiteral("' existiert bereits.\nMöchten Sie diese überschreiben?"),
                         Knöpfe::JaNein, Symbol::Ausruf, this)
            != Antwort::Ja)
        return;
    if (ListeExportieren(einträge, pfad, format, anführung, trenner, spalten, this))
        accept();
}

void frmExportieren::cmdAbbrechen_Click() { reject(); }

bool ExportierenVorbereiten(const std::vector<qint32>& einträge, const QStringList& spalten, QWidget* besitzer)
{
    frmExportieren f(einträge, spalten, besitzer);
    f.Vorbereiten();
    f.exec();
    return true;
}
