#include "library/frmDateiNichtVerfuegbar.h"
#include "platform/Steuerelemente_gui.h"

#include "core/Funktionen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>


frmDateiNichtVerfügbar::frmDateiNichtVerfügbar(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDateiNichtVerfügbar"));
    setWindowTitle(QStringLiteral("Datei nicht verfügbar"));
    setModal(true);

    Label3 = benannt(new QLabel(QStringLiteral("datei nicht verfügbar"), this), "Label3");
    QFont fett = Label3->font();
    fett.setBold(true);
    Label3->setFont(fett);
    Label4 = benannt(new QLabel(QStringLiteral("Auf eine Datei (Wechselmedium/Netzwerk) ist kein Zugriff möglich."), this), "Label4");
    lblText = benannt(new QLabel(this), "lblText");
    lblText->setWordWrap(true);
    lblText->setMinimumWidth(420);
    cmdÜberspringen = benannt(new QPushButton(QStringLiteral("Ü&berspringen"), this), "cmdÜberspringen");
    cmdÜberspringenAlle = benannt(new QPushButton(QStringLiteral("&Alle überspringen"), this), "cmdÜberspringenAlle");
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("Vorgang abbrechen"), this), "cmdAbbrechen");
    tmrDateiSuchen = benannt(new QTimer(this), "tmrDateiSuchen");
    tmrDateiSuchen->setInterval(500);

    auto* bild = new QLabel(this);
    bild->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    auto* v = new QVBoxLayout(this);
    auto* kopf = new QHBoxLayout;
    kopf->addWidget(bild, 0, Qt::AlignTop);
    auto* texte = new QVBoxLayout;
    texte->addWidget(Label3);
    texte->addWidget(Label4);
    kopf->addLayout(texte, 1);
    v->addLayout(kopf);
    v->addWidget(lblText);
    auto* knöpfe = new QHBoxLayout;
    knöpfe->addStretch(1);
    for (QPushButton* k : {cmdÜberspringen, cmdÜberspringenAlle, cmdAbbrechen}) {
        k->setAutoDefault(false);
        knöpfe->addWidget(k);
    }
    v->addLayout(knöpfe);

    connect(cmdÜberspringen, &QPushButton::clicked, this, &frmDateiNichtVerfügbar::cmdÜberspringen_Click);
    connect(cmdÜberspringenAlle, &QPushButton::clicked, this, &frmDateiNichtVerfügbar::cmdÜberspringenAlle_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmDateiNichtVerfügbar::cmdAbbrechen_Click);
    connect(tmrDateiSuchen, &QTimer::timeout, this, &frmDateiNichtVerfügbar::tmrDateiSuchen_Timer);
}

NichtVerfügbarAntwort frmDateiNichtVerfügbar::Fragen(const QString& pfad, const QString& text, QObject* besitzer)
{
    NichtVerfügbarPfad = pfad;
    lblText->setText(text);
    Antwort = NichtVerfügbarAntwort::Abbrechen;
    if (QWidget* w = qobject_cast<QWidget*>(besitzer); w && w->isVisible()) {
        adjustSize();
        const QRect g = w->window()->frameGeometry();
        move(g.center() - rect().center());
    }
    tmrDateiSuchen->start();
    exec();
    tmrDateiSuchen->stop();
    return Antwort;
}

void frmDateiNichtVerfügbar::antworten(NichtVerfügbarAntwort a)
{
    tmrDateiSuchen->stop();
    Antwort = a;
    hide();
    done(QDialog::Accepted);
}

void frmDateiNichtVerfügbar::cmdÜberspringen_Click() { antworten(NichtVerfügbarAntwort::Überspringen); }
void frmDateiNichtVerfügbar::cmdÜberspringenAlle_Click() { antworten(NichtVerfügbarAntwort::AlleÜberspringen); }
void frmDateiNichtVerfügbar::cmdAbbrechen_Click() { antworten(NichtVerfügbarAntwort::Abbrechen); }
void frmDateiNichtVerfügbar::reject() { antworten(NichtVerfügbarAntwort::Abbrechen); }

void frmDateiNichtVerfügbar::tmrDateiSuchen_Timer()
{
    tmrDateiSuchen->stop();
    if (DoesExist(NichtVerfügbarPfad))
        antworten(NichtVerfügbarAntwort::Verfügbar);
    else
        tmrDateiSuchen->start();
}

frmDateiNichtVerfügbar* dateiNichtVerfügbarFenster()
{
    static frmDateiNichtVerfügbar* fenster = new frmDateiNichtVerfügbar;
    return fenster;
}

void DateiNichtVerfügbarFensterEinrichten()
{
    DienstSetzen<NichtVerfügbarDienst>([](const QString& pfad, const QString& text, QObject* besitzer) {
        return dateiNichtVerfügbarFenster()->Fragen(pfad, text, besitzer);
    });
}
