#include "mainwindow/frmInfo.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Linkfarbe_gui.h"
#include "platform/Steuerelemente_gui.h"
#include "platform/Farbe_gui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>


frmInfo::frmInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Info"));
    auto* v = new QVBoxLayout(this);
    auto* kopf = new QHBoxLayout;
    QLabel* spruch = TextLabel(this, "lblSpruch1", ProgrammTitel());
    fettSetzen(spruch, 8);
    lblMusic = TextLabel(this, "lblMusic", QString());
    lblMusic->setFont(spruch->font());
    kopf->addWidget(spruch);
    kopf->addWidget(lblMusic, 1);
    v->addLayout(kopf);
    v->addWidget(TextLabel(this, "lblWerbung", QStringLiteral("mediendatei-management ganz einfach")));
    lblProgrammversion = TextLabel(this, "lblProgrammversion", QStringLiteral("Version %1.%2.0").arg(VersionMajor()).arg(VersionMinor()));
    lblProgrammCopyright = TextLabel(this, "lblProgrammCopyright", QStringLiteral("Copyright © die Kalvero-Entwickler"));
    v->addWidget(lblProgrammversion);
    v->addWidget(lblProgrammCopyright);
    v->addWidget(TextLabel(this, "Label1", QStringLiteral("Teile oder Funktionen dieses Programmes unterliegen den Rechten verschiedener Firmen (siehe Infodatei).")));
    v->addWidget(TextLabel(this, "lblDisclaimer2", QStringLiteral("Bitte beachten Sie die Rechte der Künstler, deren Musik Sie mit diesem Programm verwalten!")));
    v->addWidget(TextLabel(this, "Label2", QStringLiteral("Die Benutzung erfolgt unter Anerkennung der Nutzungsbedingungen aus der Infodatei!")));
    v->addWidget(TextLabel(this, "lblDisclaimer", QStringLiteral("Dank an die Helfer mit Informationen zum MPEG-Datei-Header und zu ID3v2-TAGs, an den Hersteller des Audio-Players für seine Unterstützung und an die Software-Tester.")));
    lblwebsite = TextLabel(this, "lblwebsite", QStringLiteral("<a href=\"%1\">%1</a>").arg(Webadresse()));
    lblwebsite->setToolTip(QStringLiteral("Besuchen Sie meine Internetseite!"));
    lblwebsite->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LinkLabelFärben(lblwebsite, einstellungen().FarbeFunktionen);
    v->addWidget(lblwebsite);
    auto* knöpfe = new QHBoxLayout;
    cmdUpdate = benannt(new QPushButton(QStringLiteral("&Update suchen"), this), "cmdUpdate");
    cmdOk = benannt(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk");
    cmdOk->setDefault(true);
    knöpfe->addWidget(cmdUpdate);
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    v->addLayout(knöpfe);

    Timer2.setInterval(200);
    connect(&Timer2, &QTimer::timeout, this, &frmInfo::Timer2_Timer);
    connect(cmdOk, &QPushButton::clicked, this, &frmInfo::cmdOk_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmInfo::cmdUpdate_Click);
    connect(lblwebsite, &QLabel::linkActivated, this, &frmInfo::lblwebsite_Click);
}

void frmInfo::Zeigen()
{
    lblMusicTag = QStringLiteral("musik = ");
    lblMusic->clear();
    Timer2.start();
    exec();
}

void frmInfo::Timer2_Timer()
{
    const QString text = lblMusic->text();
    if (lblMusicTag == QLatin1String("musik = ")) {
        if (text.size() < lblMusicTag.size())
            lblMusic->setText(lblMusicTag.left(text.size() + 1));
        else
            lblMusicTag = QStringLiteral("kalvero");
    } else if (lblMusicTag == QLatin1String("kalvero")) {
        QString t = text == QLatin1String("musik = ") ? QString() : text;
        if (t.size() < lblMusicTag.size())
            lblMusic->setText(lblMusicTag.left(t.size() + 1));
        else
            lblMusicTag.clear();
    } else {
        Timer2.stop();
    }
}

void frmInfo::cmdOk_Click()
{
    Timer2.stop();
    hide();
    accept();
}

void frmInfo::reject()
{
    cmdOk_Click();
}

void frmInfo::cmdUpdate_Click()
{
    MitStandardprogrammÖffnen(Webadresse(), this);
}

void frmInfo::lblwebsite_Click()
{
    LinkLabelFärben(lblwebsite, einstellungen().FarbeFunktionenBesucht);
    cmdUpdate_Click();
}
