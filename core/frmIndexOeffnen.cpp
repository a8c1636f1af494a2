#include "core/frmIndexOeffnen.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/IndexOeffnen.h"
#include "platform/Steuerelemente_gui.h"

#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmIndexÖffnen::frmIndexÖffnen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIndexÖffnen"));
    setWindowTitle(QStringLiteral("Indexdatei"));
    setModal(true);

    auto* v = new QVBoxLayout(this);
    auto* kopf = new QHBoxLayout;
    auto* dekor = benannt(new QLabel(QStringLiteral("indexdatei"), this), "lblDekor");
    fettSetzen(dekor, 8);
    kopf->addWidget(dekor);
    auto* texte = new QVBoxLayout;
    auto* überschrift = benannt(new QLabel(QStringLiteral("Indexdatei wählen"), this), "lblÜberschrift");
    fettSetzen(überschrift);
    texte->addWidget(überschrift);
    texte->addWidget(TextLabel(this, "lblHinweis", QStringLiteral("Öffnen, speichern oder erstellen Sie eine Indexdatei.")));
    kopf->addLayout(texte, 1);
    v->addLayout(kopf);

    txtIndexdatei = benannt(new QComboBox(this), "txtIndexdatei");
    txtIndexdatei->setEditable(true);
    txtIndexdatei->setInsertPolicy(QComboBox::NoInsert);
    // Paths differ by letter case: neither completing nor matching the
    // list may turn a typed name into another file's.
    if (QCompleter* c = txtIndexdatei->completer())
        c->setCaseSensitivity(Qt::CaseSensitive);
    txtIndexdatei->setMinimumWidth(360);
    v->addWidget(txtIndexdatei);

    auto* knöpfe = new QGridLayout;
    cmdIndexdateiNeu = benannt(new QPushButton(QStringLiteral("&Neue Datei..."), this), "cmdIndexdateiNeu");
    cmdIndexdateiWählen = benannt(new QPushButton(QStringLiteral("Datei &suchen..."), this), "cmdIndexdateiWählen");
    cmdSpeichern = benannt(new QPushButton(QStringLiteral("Datei s&peichern"), this), "cmdSpeichern");
    cmdIndexdateiSpeichernUnter =
        benannt(new QPushButton(QStringLiteral("Datei speichern &unter..."), this), "cmdIndexdateiSpeichernUnter");
    knöpfe->addWidget(cmdIndexdateiNeu, 0, 0);
    knöpfe->addWidget(cmdIndexdateiWählen, 0, 1);
    knöpfe->addWidget(cmdSpeichern, 1, 0);
    knöpfe->addWidget(cmdIndexdateiSpeichernUnter, 1, 1);
    v->addLayout(knöpfe);

    auto* unten = new QHBoxLayout;
    unten->addStretch(1);
    cmdOk = benannt(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk");
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    cmdOk->setDefault(true);
    unten->addWidget(cmdOk);
    unten->addWidget(cmdAbbrechen);
    v->addLayout(unten);

    dateiDialog = [this](DialogArt art, const QString& startOrdner) {
        const QString kvx = QStringLiteral("Indexdateien (*.kvx)");
        // The window itself asks before a copy replaces a file; choosing a
        // name for a new file never touches an existing one.
        switch (art) {
        case DialogArt::Neu:
            return QFileDialog::getSaveFileName(this, QString(), startOrdner, kvx, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
        case DialogArt::Wählen:
            return QFileDialog::getOpenFileName(this, QString(), startOrdner,
                                                kvx + QStringLiteral(";;Alle Dateien (*)"));
        case DialogArt::SpeichernUnter:
            return QFileDialog::getSaveFileName(this, QString(), startOrdner, kvx, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
        }
        return QString();
    };

    connect(cmdIndexdateiNeu, &QPushButton::clicked, this, [this] { cmdIndexdateiNeu_Click(); });
    connect(cmdIndexdateiWählen, &QPushButton::clicked, this, [this] { cmdIndexdateiWählen_Click(); });
    connect(cmdSpeichern, &QPushButton::clicked, this, [this] { cmdSpeichern_Click(); });
    connect(cmdIndexdateiSpeichernUnter, &QPushButton::clicked, this, [this] { cmdIndexdateiSpeichernUnter_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, [this] { cmdAbbrechen_Click(); });
    // Typing and picking a list entry alike.
    connect(txtIndexdatei, &QComboBox::editTextChanged, this, [this] { txtIndexdatei_Change(); });
    connect(txtIndexdatei, &QComboBox::activated, this, [this] { txtIndexdatei_Change(); });
}

void frmIndexÖffnen::Vorbereiten(const QStringList* liste)
{
    if (liste) {
        txtIndexdatei->clear();
        txtIndexdatei->addItems(*liste);
    }
    // The field names the current file as the entry of its list that it is:
    // Qt reports a field left with the text of an entry other than the
    // current one as that entry picked, which would disable the save buttons
    // as soon as the user moves from the field to one of them.
    const QString& datei = einstellungen().Dateiname;
    txtIndexdatei->setCurrentIndex(txtIndexdatei->findText(datei, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    txtIndexdatei->setEditText(datei);
    // The save buttons act on the index in memory: without one they would
    // only be refused.
    const bool geladen = hauptIndex().bolIndexGeladen;
    cmdSpeichern->setEnabled(geladen);
    cmdIndexdateiSpeichernUnter->setEnabled(geladen);
}

void frmIndexÖffnen::Zeigen(QWidget* besitzer)
{
    if (besitzer && parentWidget() != besitzer)
        setParent(besitzer, windowFlags());
    exec();
}

QString frmIndexÖffnen::dateiWählen(DialogArt art)
{
    const QString datei = einstellungen().Dateiname;
    return dateiDialog ? dateiDialog(art, datei.isEmpty() ? QString() : PfadZurückgeben(datei)) : QString();
}

void frmIndexÖffnen::feldSetzen(const QString& pfad)
{
    txtIndexdatei->setEditText(pfad);
    txtIndexdatei_Change();
}

void frmIndexÖffnen::cmdIndexdateiNeu_Click()
{
    // Only the name: OK loads it, and the loader creates a missing file.
    const QString pfad = dateiWählen(DialogArt::Neu);
    if (!pfad.isEmpty())
        feldSetzen(pfad);
}

void frmIndexÖffnen::cmdIndexdateiWählen_Click()
{
    const QString pfad = dateiWählen(DialogArt::Wählen);
    if (!pfad.isEmpty())
        feldSetzen(pfad);
}

void frmIndexÖffnen::txtIndexdatei_Change()
{
    cmdSpeichern->setEnabled(false);
    cmdIndexdateiSpeichernUnter->setEnabled(false);
}

void frmIndexÖffnen::cmdSpeichern_Click()
{
    if (!cmdSpeichern->isEnabled())
        return;
    hide();
    IndexDateiSpeichern(parentWidget());
}

void frmIndexÖffnen::cmdIndexdateiSpeichernUnter_Click()
{
    if (!cmdIndexdateiSpeichernUnter->isEnabled())
        return;
    const QString ziel = dateiWählen(DialogArt::SpeichernUnter);
    if (ziel.isEmpty() || !IndexKopieErlaubt(ziel, this))
        return;
    hide();
    IndexDateiSpeichernUnter(ziel, parentWidget());
}

void frmIndexÖffnen::cmdOk_Click()
{
    hide();
    IndexDateiWechseln(txtIndexdatei->currentText(), parentWidget());
}

void frmIndexÖffnen::cmdAbbrechen_Click() { hide(); }

frmIndexÖffnen* indexÖffnenFenster()
{
    static QPointer<frmIndexÖffnen> fenster;
    if (!fenster)
        fenster = new frmIndexÖffnen;
    return fenster;
}

void IndexÖffnenZeigen(QWidget* besitzer, const QStringList* liste)
{
    frmIndexÖffnen* f = indexÖffnenFenster();
    f->Vorbereiten(liste);
    f->Zeigen(besitzer);
}
