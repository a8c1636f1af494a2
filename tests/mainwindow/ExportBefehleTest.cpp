#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "mainwindow/ExportBefehle_gui.h"
#include "mainwindow/frmMain.h"
#include "player/frmAutoDJ.h"
#include "player/frmExportieren.h"

#include "support/ListenHilfen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ExportBefehle : public ::testing::Test {
protected:
    std::unique_ptr<frmMain> f;
    Einstellungen gesichert;

    void SetUp() override
    {
        StandardwerteSetzen();
        gesichert = einstellungen();
        Index& idx = hauptIndex();
        idx = Index();
        Hinzu(idx, "/musik/a/eins.mp3", Lied("Beatles", "Help"), [](MedienInfo& m) { GenreByteSetzen(m, 17); });
        Hinzu(idx, "/musik/a/zwei.mp3", Lied("Beatles", "Yesterday"), [](MedienInfo& m) {
            GenreByteSetzen(m, 13);
            m.Mp3_ID3v2_Vorhanden = 1;
            m.Mp3_ID3v2_Musikrichtung = "rock";
        });
        Hinzu(idx, "/musik/b/drei.mp3", Lied("Stones", "Angie"));
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        DienstSetzen<MeldungsDienst>([](const Meldung&) { return Antwort::Abbrechen; });
        f = std::make_unique<frmMain>();
        f->resize(800, 500);
        f->show();
        f->IndexZustandAnzeigen();
    }
    void TearDown() override
    {
        f.reset();
        DienstSetzen<MeldungsDienst>(nullptr);
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
        einstellungen() = gesichert;
    }
    void zeilenWählen(std::initializer_list<int> zeilen)
    {
        f->lstSongs->clearSelection();
        for (int z : zeilen)
            f->lstSongs->selectionModel()->select(f->lstSongs->model()->index(z, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        f->AuswahlErmitteln();
    }
    // Runs `prüfen` on the modal window the command opens, then closes it.
    template <class Fenster>
    bool imFenster(QObject* befehl, std::function<void(Fenster*)> prüfen)
    {
        bool gesehen = false;
        QTimer::singleShot(0, [&] {
            if (auto* w = dynamic_cast<Fenster*>(QApplication::activeModalWidget())) {
                gesehen = true;
                prüfen(w);
                w->reject();
            }
        });
        f->BefehlAuslösen(befehl);
        return gesehen;
    }
};

TEST_F(ExportBefehle, ExportNimmtAuswahlUndSpaltenInIhrerOrdnung)
{
    EXPECT_FALSE(f->BefehlVerfügbar(f->cmdExportieren));
    EXPECT_FALSE(f->BefehlVerfügbar(f->cmdAutoDJ));
    ExportUndAutoDJVerbinden(f.get());
    EXPECT_TRUE(f->BefehlVerfügbar(f->cmdExportieren));
    EXPECT_TRUE(f->BefehlVerfügbar(f->cmdAutoDJ));
    Q_EMIT f->mnu_kontext->aboutToShow();
    EXPECT_TRUE(f->mnu_kontext_export->isEnabled()) << "the menu item follows its label";

    // The columns leftmost first, as the user dragged them.
    QStringList spalten = ExportSpalten(f.get());
    ASSERT_GE(spalten.size(), 2);
    QHeaderView* kopf = f->lstSongs->horizontalHeader();
    kopf->moveSection(kopf->visualIndex(1), 0);
    QStringList erwartet = spalten;
    erwartet.move(1, 0);
    EXPECT_EQ(ExportSpalten(f.get()), erwartet);

    einstellungen().ExportModus = 1;
    zeilenWählen({2, 0});
    std::vector<qint32> einträge;
    QStringList gegeben;
    EXPECT_TRUE(imFenster<frmExportieren>(f->cmdExportieren, [&](frmExportieren* w) {
        einträge = w->einträge;
        gegeben = w->spalten;
        EXPECT_TRUE(w->optHtml->isChecked());
    }));
    EXPECT_EQ(einträge, (std::vector<qint32>{1, 3}));
    EXPECT_EQ(gegeben, erwartet);
    // The menu item opens the same window.
    bool gesehen = false;
    QTimer::singleShot(0, [&] {
        if (auto* w = dynamic_cast<frmExportieren*>(QApplication::activeModalWidget())) {
            gesehen = w->einträge == std::vector<qint32>{1, 3};
            w->reject();
        }
    });
    f->mnu_kontext_export->trigger();
    EXPECT_TRUE(gesehen);

    // Nothing selected: no window.
    zeilenWählen({});
    EXPECT_FALSE(imFenster<frmExportieren>(f->cmdExportieren, [](frmExportieren*) {}));
}

TEST_F(ExportBefehle, AutoDJWirdAusDenEinstellungenVorbereitet)
{
    ExportUndAutoDJVerbinden(f.get());
    Einstellungen& e = einstellungen();
    e.AutoDJFindeAnzahl = "12";
    e.AutoDJAuslassenZeit = "";
    e.AutoDJAuslassenGröße = 9; // out of range: days
    e.AutoDJAuslassenVorKurzem = 1;
    e.AutoDJFindenVorLängerem = 0;
    QStringList genres;
    EXPECT_TRUE(imFenster<frmAutoDJ>(f->cmdAutoDJ, [&](frmAutoDJ* d) {
        for (int i = 0; i < d->lstFelder->count(); ++i)
            genres << d->lstFelder->item(i)->text();
        EXPECT_EQ(d->txtMaximum->text(), "12");
        EXPECT_EQ(d->txtZeit->text(), "");
        EXPECT_EQ(d->cboZeiteinheit->currentIndex(), 2);
        EXPECT_TRUE(d->chkAlteSeltener->isChecked());
        EXPECT_FALSE(d->chkSehrAlteHäufiger->isChecked());
        EXPECT_FALSE(d->fraSuche->isHidden());
        EXPECT_TRUE(d->fraErgebnisse->isHidden());
        EXPECT_FALSE(d->cmdZurück->isEnabled());
        EXPECT_EQ(d->exportSpalten(), ExportSpalten(f.get()));
    }));
    // Both genre fields, each name once whatever its case (the ID3v2 spelling first).
    EXPECT_EQ(genres, QStringList({"Pop", "rock", "(Dateien ohne Genre)"}));
    e.AutoDJAuslassenGröße = 1;
    EXPECT_TRUE(imFenster<frmAutoDJ>(f->cmdAutoDJ, [](frmAutoDJ* d) { EXPECT_EQ(d->cboZeiteinheit->currentIndex(), 1); }));
    EXPECT_EQ(e.AutoDJFindeAnzahl, "12") << "closing stores what the window shows";
}

} // namespace
