#include "player/frmAusfuehrenMit.h"
#include "platform/Steuerelemente_gui.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/Verfuegbarkeit.h"
#include "player/Abspielen.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmAusführenMit::frmAusführenMit(std::vector<qint32> e, QWidget* parent) : QDialog(parent), einträge(std::move(e))
{
    setObjectName(QStringLiteral("frmAusführenMit"));
    setWindowTitle(QStringLiteral("Ausführen"));
    Label1 = benannt(new QLabel(QStringLiteral("ausführen"), this), QStringLiteral("Label1"));
    fettSetzen(Label1, 4);
    Label2 = benannt(new QLabel(QStringLiteral("Öffnen Sie Dateien mit einem Programm"), this), QStringLiteral("Label2"));
    Label3 = benannt(new QLabel(QStringLiteral("Programm-Pfad"), this), QStringLiteral("Label3"));
    txtSuche = benannt(new QLineEdit(this), QStringLiteral("txtSuche"));
    Label3->setBuddy(txtSuche);
    cmdProgrammSuchen = benannt(new QPushButton(QStringLiteral("Datei suchen"), this), QStringLiteral("cmdProgrammSuchen"));
    cmdOk = benannt(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), QStringLiteral("cmdAbbrechen"));

    auto* g = new QGridLayout(this);
    g->addWidget(Label1, 0, 0, 1, 2);
    g->addWidget(Label2, 1, 0, 1, 2);
    g->addWidget(Label3, 2, 0, 1, 2);
    g->addWidget(txtSuche, 3, 0);
    g->addWidget(cmdProgrammSuchen, 3, 1);
    auto* knöpfe = new QHBoxLayout;
    knöpfe->addStretch(1);
    knöpfe->addWidget(cmdOk);
    knöpfe->addWidget(cmdAbbrechen);
    g->addLayout(knöpfe, 4, 0, 1, 2);
    resize(6000 / 15, height());

    dateiWählen = [](QWidget* besitzer) {
        return QFileDialog::getOpenFileName(besitzer, QString(), ProgrammOrdner(),
                                            QStringLiteral("Programme (*);;Alle Dateien (*)"));
    };
    connect(cmdProgrammSuchen, &QPushButton::clicked, this, [this] { cmdProgrammSuchen_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, [this] { cmdAbbrechen_Click(); });
}

void frmAusführenMit::cmdProgrammSuchen_Click()
{
    const QString datei = dateiWählen ? dateiWählen(this) : QString();
    if (!datei.isEmpty())
        txtSuche->setText(datei);
}

void frmAusführenMit::cmdOk_Click()
{
    const QString programm = txtSuche->text();
    if (programm.isEmpty()) {
        MeldungZeigen(QStringLiteral("Bitte geben Sie ein Programm an."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    int unerreichbar = 0;
    if (DateiExistenz(programm, nullptr, &unerreichbar) != Existenz::Vorhanden) {
        MeldungZeigen(unerreichbar ? NichtErreichbarText(programm, unerreichbar)
                                   : QStringLiteral("Die angegebene Datei '") + programm + QStringLiteral("' existiert nicht."),
                      Knöpfe::OK, Symbol::Information, this);
        return;
    }
    hide();
    einstellungen().AusführenPfad = programm;
    QCoreApplication::processEvents();
    AbspielenMediaPlayer(einträge, false, true, false, programm, parentWidget());
    accept();
}

void frmAusführenMit::cmdAbbrechen_Click() { reject(); }

void AusführenMitZeigen(const std::vector<qint32>& einträge, QWidget* besitzer)
{
    frmAusführenMit f(einträge, besitzer);
    f.txtSuche->setText(einstellungen().AusführenPfad);
    f.exec();
}
