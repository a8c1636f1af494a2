#include "mainwindow/frmStatistik.h"

#include "core/Index.h"
#include "mainwindow/IndexStatistik.h"
#include "mainwindow/frmMain.h"
#include "platform/Steuerelemente_gui.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmStatistik::frmStatistik(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStatistik"));
    setWindowTitle(QStringLiteral("Index-Statistik"));
    auto* v = new QVBoxLayout(this);
    QLabel* titel = TextLabel(this, "Label3", QStringLiteral("index-statistik"));
    fettSetzen(titel, 4);
    v->addWidget(titel);
    v->addWidget(TextLabel(this, "Label2", QStringLiteral("Hier finden Sie einige Informationen über den Index.")));
    const auto abschnitt = [&](const char* name, const char* überschriftName, const QString& überschrift) {
        QLabel* kopf = TextLabel(this, überschriftName, überschrift);
        fettSetzen(kopf);
        v->addSpacing(6);
        v->addWidget(kopf);
        QLabel* wert = TextLabel(this, name, QString());
        wert->setTextInteractionFlags(Qt::TextSelectableByMouse);
        v->addWidget(wert);
        return wert;
    };
    lblInfosAnzahl = abschnitt("lblInfosAnzahl", "lblÜberschriftAnzahl", QStringLiteral("Gesamtanzahl aller Dateien"));
    lblInfosGrößen = abschnitt("lblInfosGrößen", "lblÜberschriftGrößen", QStringLiteral("Gesamtgröße"));
    lblInfosSpieldauer = abschnitt("lblInfosSpieldauer", "lblÜberschriftSpieldauer", QStringLiteral("Gesamtspieldauer"));
    lblInfosVerwaltung = abschnitt("lblInfosVerwaltung", "lblÜberschriftVerwaltung", QStringLiteral("Verwaltung"));
    auto* knöpfe = new QHBoxLayout;
    cmdOk = benannt(new QPushButton(QStringLiteral("Ok"), this), "cmdOk");
    cmdOk->setDefault(true);
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    v->addLayout(knöpfe);
    setMinimumWidth(420);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
}

void IndexStatistikZeigen(frmMain* f)
{
    const IndexStatistikTexte t = IndexStatistikBerechnen(hauptIndex(), QDate::currentDate());
    frmStatistik fenster(f);
    fenster.lblInfosAnzahl->setText(t.anzahl);
    fenster.lblInfosGrößen->setText(t.größen);
    fenster.lblInfosSpieldauer->setText(t.spieldauer);
    fenster.lblInfosVerwaltung->setText(t.verwaltung);
    fenster.exec();
    if (f)
        f->update();
}
