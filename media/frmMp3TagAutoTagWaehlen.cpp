#include "media/frmMp3TagAutoTagWaehlen.h"

#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "media/AutoTag.h"
#include "media/frmAusschlussliste.h"
#include "platform/Steuerelemente_gui.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmMp3TagAutoTagWählen> g_fenster;
}

frmMp3TagAutoTagHinzufügen::frmMp3TagAutoTagHinzufügen(QWidget* besitzer, QListWidget* liste)
    : ListenEingabe(besitzer, liste, "frmMp3TagAutoTagHinzufügen", "txtFormat", true)
{
    txtFormat = eingabe;
    Label1 = TextLabel(this, "Label1", QStringLiteral("Verwenden Sie folgende Variablen"));
    fettSetzen(Label1);
    Label2 = TextLabel(this, "Label2", QStringLiteral("%Titel% %Interpret% %Album% %Jahr% %Kommentar% %Track% %Genre% %Müll%"));
    Label3 = TextLabel(this, "Label3",
                       QStringLiteral("Hinweis: Trennen Sie Pfade durch \"\\\" und verwenden Sie zusätzlich beliebige "
                                      "weitere Zeichen, die als Trennzeichen verwendet werden sollen. Der Inhalt der "
                                      "Variable '%Müll%' wird verworfen."));
    auto* v = static_cast<QVBoxLayout*>(layout());
    v->insertWidget(0, Label1);
    v->insertWidget(1, Label2);
    v->insertWidget(3, Label3);
    resize(460, 200);
}

frmMp3TagAutoTagWählen::frmMp3TagAutoTagWählen(QWidget* besitzer) : QDialog(besitzer)
{
    setObjectName(QStringLiteral("frmMp3TagAutoTagWählen"));
    setWindowTitle(QStringLiteral("AutoTAG einstellen"));
    setModal(true);
    Label1 = TextLabel(this, "Label1", QStringLiteral("TAG-Erkennungsformate"));
    fettSetzen(Label1, 4);
    Label2 = TextLabel(this, "Label2",
                       QStringLiteral("Wählen oder bearbeiten Sie ein Erkennungsformat und ändern Sie die Einstellungen"));
    lstFormat = benannt(new QListWidget(this), "lstFormat");
    cmdAutoTagHinzufügen = benannt(new QPushButton(QStringLiteral("&Hinzufügen"), this), "cmdAutoTagHinzufügen");
    cmdAutoTagÄndern = benannt(new QPushButton(QStringLiteral("Ä&ndern"), this), "cmdAutoTagÄndern");
    cmdAutoTagEntfernen = benannt(new QPushButton(QStringLiteral("&Entfernen"), this), "cmdAutoTagEntfernen");
    cmdAutomatikHinzufügen =
        benannt(new QPushButton(QStringLiteral("Das Format '%Automatik%'"), this), "cmdAutomatikHinzufügen");
    cmdAusschlußliste = benannt(new QPushButton(QStringLiteral("&Ausschlußliste"), this), "cmdAusschlußliste");
    chkAutoTagFelderLöschen = benannt(
        new QCheckBox(QStringLiteral("Vor dem Einsetzen des erkannten Formates Felder im TAG-Editor &leeren (löscht "
                                     "\"Datenmüll\")"),
                      this),
        "chkAutoTagFelderLöschen");
    chkUnterstricheEntfernen = benannt(
        new QCheckBox(QStringLiteral("&Unterstriche ('_') im Dateinamen als Leerzeichen behandeln (Deaktivierung "
                                     "ermöglicht Verarbeiten von mit Unterstrichen getrennten Dateinamen, z.B. "
                                     "'Interpret_Titel.mp3')"),
                      this),
        "chkUnterstricheEntfernen");
    eingabe = new frmMp3TagAutoTagHinzufügen(this, lstFormat);
    ausschlußliste = new frmAusschlußliste(this);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Label1);
    v->addWidget(Label2);
    auto* mitte = new QHBoxLayout;
    mitte->addWidget(lstFormat, 1);
    auto* rechts = new QVBoxLayout;
    for (QPushButton* k : {cmdAutoTagHinzufügen, cmdAutoTagÄndern, cmdAutoTagEntfernen, cmdAutomatikHinzufügen,
                           cmdAusschlußliste})
        rechts->addWidget(k);
    rechts->addStretch(1);
    mitte->addLayout(rechts);
    v->addLayout(mitte, 1);
    v->addWidget(chkAutoTagFelderLöschen);
    v->addWidget(chkUnterstricheEntfernen);
    OkAbbrechenAnfügen(this, v, cmdOk, cmdAbbrechen, [this] { cmdOk_Click(); }, [this] { cmdAbbrechen_Click(); });

    connect(cmdAutoTagHinzufügen, &QPushButton::clicked, this, [this] { cmdAutoTagHinzufügen_Click(); });
    connect(cmdAutoTagÄndern, &QPushButton::clicked, this, [this] { cmdAutoTagÄndern_Click(); });
    connect(cmdAutoTagEntfernen, &QPushButton::clicked, this, [this] { cmdAutoTagEntfernen_Click(); });
    connect(cmdAutomatikHinzufügen, &QPushButton::clicked, this, [this] { cmdAutomatikHinzufügen_Click(); });
    connect(cmdAusschlußliste, &QPushButton::clicked, this, [this] { cmdAusschlußliste_Click(); });
    connect(lstFormat, &QListWidget::itemDoubleClicked, this, [this] { lstFormat_DblClick(); });
    resize(560, 420);
}

void frmMp3TagAutoTagWählen::Vorbereiten()
{
    const Einstellungen& e = einstellungen();
    lstFormat->clear();
    if (e.AutoTagLeer != 1)
        lstFormat->addItems(e.AutoTagFormate);
    lstFormat->setCurrentRow(-1);
    for (int i = 0; i < lstFormat->count(); ++i)
        if (lstFormat->item(i)->text() == e.AutoTagAktuell) {
            lstFormat->setCurrentRow(i);
            break;
        }
    chkAutoTagFelderLöschen->setChecked(e.AutoTagFelderLöschen == 1);
    chkUnterstricheEntfernen->setChecked(e.AutoTagUnterstrichEntfernen == 1);
}

void frmMp3TagAutoTagWählen::cmdAutoTagHinzufügen_Click()
{
    eingabe->Öffnen(true, QString(), QStringLiteral("Format hinzufügen"));
}

void frmMp3TagAutoTagWählen::cmdAutoTagÄndern_Click()
{
    const int zeile = GewählteZeileVerlangen(lstFormat, this);
    if (zeile >= 0)
        eingabe->Öffnen(false, lstFormat->item(zeile)->text(), QStringLiteral("Format ändern"));
}

void frmMp3TagAutoTagWählen::cmdAutoTagEntfernen_Click() { GewähltenEintragEntfernen(lstFormat, this); }

void frmMp3TagAutoTagWählen::cmdAutomatikHinzufügen_Click()
{
    const QString erklärung = QStringLiteral("Mit diesem können Sie eine intelligente automatische Ereknnung des "
                                             "ID3-TAGs ohne ein spezifisches Format durchführen.");
    const qsizetype zeile = AutomatikFormatSuchen(ListenEinträge(lstFormat));
    if (zeile >= 0) {
        lstFormat->setCurrentRow(int(zeile));
        MeldungZeigen(QStringLiteral("Das Format '%Automatik%' besteht bereits in der Liste.\n") + erklärung,
                      Knöpfe::OK, Symbol::Information, this);
        return;
    }
    lstFormat->addItem(QStringLiteral("%Automatik%"));
    MeldungZeigen(QStringLiteral("Das Format '%Automatik%' wurde hinzugefügt.\n") + erklärung, Knöpfe::OK,
                  Symbol::Information, this);
}

void frmMp3TagAutoTagWählen::cmdAusschlußliste_Click()
{
    ausschlußliste->Vorbereiten();
    ausschlußliste->exec();
}

void frmMp3TagAutoTagWählen::cmdOk_Click()
{
    const int zeile = GewählteZeile(lstFormat);
    if (zeile < 0) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie ein Format oder fügen Sie eines hinzu."), Knöpfe::OK,
                      Symbol::Information, this);
        return;
    }
    accept();
    AutoTagFormateÜbernehmen(einstellungen(), ListenEinträge(lstFormat), lstFormat->item(zeile)->text(),
                             chkAutoTagFelderLöschen->isChecked(), chkUnterstricheEntfernen->isChecked());
}

void frmMp3TagAutoTagWählen::cmdAbbrechen_Click() { reject(); }

void AutoTagEinstellenZeigen(QWidget* besitzer)
{
    if (!g_fenster || g_fenster->parentWidget() != besitzer)
        g_fenster = new frmMp3TagAutoTagWählen(besitzer);
    g_fenster->Vorbereiten();
    g_fenster->exec();
}

frmMp3TagAutoTagWählen* autoTagWählenFenster() { return g_fenster.data(); }
