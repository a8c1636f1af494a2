#include "media/frmMp3TagFeldFuellen.h"

#include "core/Meldungen.h"
#include "media/ListenEingabe_gui.h"
#include "platform/Steuerelemente_gui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmMp3TagFeldFüllen::frmMp3TagFeldFüllen(QWidget* besitzer) : QDialog(besitzer)
{
    setObjectName(QStringLiteral("frmMp3TagFeldFüllen"));
    setWindowTitle(QStringLiteral("Feld für alle festlegen"));
    setModal(true);
    Label1 = TextLabel(this, "Label1", QStringLiteral("feld für alle festlegen"));
    fettSetzen(Label1, 4);
    Label2 = TextLabel(this, "Label2", QStringLiteral("Füllen Sie ein Feld bei allen gewählten Dateien mit gleichen Daten"));
    Label3 = TextLabel(this, "Label3", QStringLiteral("Feld"));
    Label4 = TextLabel(this, "Label4", QStringLiteral("Feldinhalt in aktueller Datei"));
    fettSetzen(Label3);
    fettSetzen(Label4);
    lstFelder = benannt(new QListWidget(this), "lstFelder");
    lstFelder->setSelectionMode(QAbstractItemView::MultiSelection);
    lstFelder->addItems(KopierFelder());
    txtInhalt = benannt(new QPlainTextEdit(this), "txtInhalt");
    txtInhalt->setReadOnly(true);

    auto* v = new QVBoxLayout(this);
    v->addWidget(Label1);
    v->addWidget(Label2);
    auto* g = new QGridLayout;
    g->addWidget(Label3, 0, 0);
    g->addWidget(Label4, 0, 1);
    g->addWidget(lstFelder, 1, 0);
    g->addWidget(txtInhalt, 1, 1);
    v->addLayout(g, 1);
    OkAbbrechenAnfügen(this, v, cmdOk, cmdAbbrechen, [this] { cmdOk_Click(); }, [this] { cmdAbbrechen_Click(); });

    connect(lstFelder, &QListWidget::currentRowChanged, this, [this] { lstFelder_Click(); });
    connect(lstFelder, &QListWidget::itemClicked, this, [this] { lstFelder_Click(); });
    resize(460, 300);
}

void frmMp3TagFeldFüllen::lstFelder_Click()
{
    const int zeile = lstFelder->currentRow();
    if (zeile < 0 || !inhalt)
        return;
    const auto [v1, v2] = inhalt(zeile);
    // A text box keeps its lines by LF.
    txtInhalt->setPlainText(QStringLiteral("ID3v1: '") + v1 + QStringLiteral("'\nID3v2: '") + v2 + QLatin1Char('\''));
}

void frmMp3TagFeldFüllen::cmdOk_Click()
{
    if (lstFelder->selectedItems().isEmpty()) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie mindestens einen Listeneintrag."), Knöpfe::OK,
                      Symbol::Information, this);
        return;
    }
    bolAngenommen = true;
    accept();
}

void frmMp3TagFeldFüllen::cmdAbbrechen_Click() { reject(); }

void frmMp3TagFeldFüllen::reject()
{
    bolAngenommen = false;
    QDialog::reject();
}

std::array<bool, TagFelder::Anzahl> frmMp3TagFeldFüllen::Gewählt() const
{
    std::array<bool, TagFelder::Anzahl> g{};
    for (int i = 0; i < TagFelder::Anzahl && i < lstFelder->count(); ++i)
        g[size_t(i)] = lstFelder->item(i)->isSelected();
    return g;
}
