#include "library/frmHinzufuegen.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "library/Fensterteile_gui.h"
#include "library/Hinzufuegen.h"
#include "core/Liste.h"
#include "platform/Dialoge_gui.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* bildKnopf(QWidget* parent, const char* name, QStyle::StandardPixmap bild)
{
    auto* k = new QToolButton(parent);
    k->setObjectName(QString::fromUtf8(name));
    k->setIcon(parent->style()->standardIcon(bild));
    k->setIconSize(QSize(32, 32));
    k->setAutoRaise(true);
    return k;
}

} // namespace

QString VerwalteteTypenFilter(const QStringList& strDateiTypen)
{
    QStringList muster;
    for (const QString& typ : strDateiTypen) {
        const qsizetype gleich = typ.indexOf(QLatin1Char('='));
        if (gleich < 0 || typ.mid(gleich + 1, 1) != QLatin1String("1"))
            continue;
        const QString endung = typ.left(gleich);
        if (endung != QLatin1String("*"))
            muster.append(QStringLiteral("*.") + endung);
    }
    if (muster.isEmpty())
        return QString();
    // The file dialog separates its patterns by blanks.
    const QString liste = muster.join(QLatin1Char(' '));
    return QStringLiteral("Unterstützte Dateiformate (") + liste + QStringLiteral(");;Alle Dateien (*.*)");
}

frmHinzufügen::frmHinzufügen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHinzufügen"));
    setWindowTitle(QStringLiteral("Hinzufügen"));
    Label3 = FensterÜberschrift(this, QStringLiteral("dateien hinzufügen"));
    Label4 = BenanntesLabel(this, "Label4", QStringLiteral("Füllen Sie den Dateiindex mit Ihren Mediendateien (z.B. Audio- oder "
                                               "Bilddateien)"));
    cmdDateienHinzufügen = bildKnopf(this, "cmdDateienHinzufügen", QStyle::SP_FileIcon);
    Label1 = BenanntesLabel(this, "Label1", QStringLiteral("Datei hinzufügen"));
    lblInfosGrößen = BenanntesLabel(this, "lblInfosGrößen", QStringLiteral("Fügt eine Datei zum Index hinzu."));
    cmdOrdnerHinzufügen = bildKnopf(this, "cmdOrdnerHinzufügen", QStyle::SP_DirIcon);
    Label5 = BenanntesLabel(this, "Label5", QStringLiteral("Ordner hinzufügen"));
    lblInfosAnzahl = BenanntesLabel(this, "lblInfosAnzahl", QStringLiteral("Fügt in einen Ordner enthaltene Dateien zum Index hinzu. Je "
                                                       "nach Einstellung in den 'Optionen' werden auch die Unterordner "
                                                       "hinzugefügt."));
    cmdImportieren = bildKnopf(this, "cmdImportieren", QStyle::SP_FileDialogDetailedView);
    Label6 = BenanntesLabel(this, "Label6", QStringLiteral("Playliste hinzufügen"));
    lblInfosSpieldauer = BenanntesLabel(this, "lblInfosSpieldauer", QStringLiteral("Fügt in einer Playliste enthaltene Dateien zum Index "
                                                           "hinzu. Um diese zu importieren, speichern Sie diese in "
                                                           "Ihrem Audioplayer."));
    Label2 = BenanntesLabel(this, "Label2", QStringLiteral("Hinweis: Möchten Sie regelmäßig Dateien aus einem Ordner hinzufügen? "
                                               "Klicken Sie im Hauptfenster auf 'Optionen' und auf 'Ändern der "
                                               "Indexeinstellungen'."));
    cmdOk = BenannterKnopf(this, "cmdOk", QStringLiteral("&Abbrechen"));
    for (QLabel* l : {Label4, lblInfosGrößen, lblInfosAnzahl, lblInfosSpieldauer, Label2})
        l->setWordWrap(true);
    // A title is the larger target beside its small picture: it acts as
    // the picture does.
    for (QLabel* l : {Label1, Label5, Label6}) {
        QFont fett = l->font();
        fett.setBold(true);
        l->setFont(fett);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    auto* raster = new QGridLayout;
    int zeile = 0;
    for (auto [knopf, titel, info] : {std::tuple{cmdDateienHinzufügen, Label1, lblInfosGrößen},
                                      std::tuple{cmdOrdnerHinzufügen, Label5, lblInfosAnzahl},
                                      std::tuple{cmdImportieren, Label6, lblInfosSpieldauer}}) {
        raster->addWidget(knopf, zeile, 0, 2, 1, Qt::AlignTop);
        raster->addWidget(titel, zeile, 1);
        raster->addWidget(info, zeile + 1, 1);
        zeile += 2;
    }
    raster->setColumnStretch(1, 1);
    layout->addLayout(raster);
    layout->addWidget(Label2);
    KnopfZeile(layout, {cmdOk});
    resize(6300 / 15, 5000 / 15);

    dateienWählen = [this](const QString& filter) {
        return QFileDialog::getOpenFileNames(this, QStringLiteral("Öffnen"), QString(), filter);
    };
    ordnerWählen = [](const QString& titel) { return OrdnerDialogZeigen(titel); };
    playlistWählen = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Öffnen"), QString(), filter);
    };

    connect(cmdDateienHinzufügen, &QToolButton::clicked, this, &frmHinzufügen::cmdDateienHinzufügen_Click);
    connect(cmdOrdnerHinzufügen, &QToolButton::clicked, this, &frmHinzufügen::cmdOrdnerHinzufügen_Click);
    connect(cmdImportieren, &QToolButton::clicked, this, &frmHinzufügen::cmdImportieren_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmHinzufügen::cmdOk_Click);
}

void frmHinzufügen::cmdDateienHinzufügen_Click()
{
    const Index& index = hauptIndex();
    if (index.intDateiTypenLeer == 1) {
        MeldungZeigen(QStringLiteral("Sie können keine Dateien hinzufügen, da kein Dateityp eingerichtet wurde.\n"
                                     "Installieren Sie dieses Programm neu, um die Dateitypen wiederherzustellen."),
                      Knöpfe::OK, Symbol::Information, this);
        return;
    }
    const QString filter = VerwalteteTypenFilter(index.strDateiTypen);
    if (filter.isEmpty()) {
        MeldungZeigen(QStringLiteral("Sie können keine Dateien hinzufügen, da kein Dateityp für die Verwaltung "
                                     "freigegeben wurde.\nÄndern Sie diese Einstellung in den 'Optionen'."),
                      Knöpfe::OK, Symbol::Information, this);
        return;
    }
    Gewählt(Auswahl::Dateien, dateienWählen(filter));
}

void frmHinzufügen::cmdOrdnerHinzufügen_Click()
{
    setEnabled(false);
    QString ordner = ordnerWählen(QStringLiteral("Bitte wählen Sie einen Ordner mit Mediendateien..."));
    setEnabled(true);
    update();
    ordner = ordner.left(ordner.indexOf(QChar(0)));
    Gewählt(Auswahl::Ordner, ordner.isEmpty() ? QStringList() : QStringList{ordner});
}

void frmHinzufügen::cmdImportieren_Click()
{
    const QString datei = playlistWählen(QStringLiteral("Alle bekannten Playlisten (*.m3u *.pls);;PLS-Playlisten "
                                                        "(*.pls);;M3U-Playlisten (*.m3u);;Alle Dateien (*.*)"));
    Gewählt(Auswahl::Playlist, datei.isEmpty() ? QStringList() : QStringList{datei});
}

void frmHinzufügen::Gewählt(Auswahl art, const QStringList& gewählt)
{
    // Nothing chosen (the picker was cancelled): the window stays.
    if (gewählt.isEmpty())
        return;
    auswahl = art;
    pfade = gewählt;
    accept();
}

QToolButton* frmHinzufügen::knopfZumTitel(const QObject* o) const
{
    if (o == Label1)
        return cmdDateienHinzufügen;
    if (o == Label5)
        return cmdOrdnerHinzufügen;
    if (o == Label6)
        return cmdImportieren;
    return nullptr;
}

bool frmHinzufügen::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonRelease) {
        auto* m = static_cast<QMouseEvent*>(e);
        auto* titel = static_cast<QWidget*>(o);
        QToolButton* knopf = knopfZumTitel(o);
        if (knopf && m->button() == Qt::LeftButton && titel->rect().contains(m->position().toPoint())
            && knopf->isEnabled()) {
            knopf->click();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void frmHinzufügen::cmdOk_Click()
{
    auswahl = Auswahl::Nichts;
    reject();
}

void HinzufügenZeigen(QWidget* besitzer)
{
    if (HinzufügenLäuft())
        return;
    frmHinzufügen fenster(besitzer);
    if (fenster.exec() != QDialog::Accepted)
        return;
    Index& index = hauptIndex();
    if (fenster.auswahl == frmHinzufügen::Auswahl::Ordner) {
        QString ordner = fenster.pfade.value(0);
        EinfachOrdnerHinzufügen(index, ordner, true, einstellungen().HinzufügenUnterordner, true, QString(), true,
                                false);
    } else {
        // The new entries get the marks, not the rows marked before.
        bool& behalten = listenZustand().bolMarkierungenBehalten;
        behalten = false;
        if (fenster.auswahl == frmHinzufügen::Auswahl::Dateien)
            EinfachDateiHinzufügen(index, fenster.pfade, true, true, true);
        else
            PlaylistLesen(index, fenster.pfade.value(0), true, true);
        behalten = true;
    }
    if (besitzer)
        besitzer->update();
}
