#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "mainwindow/Hauptbefehle_gui.h"
#include "mainwindow/Liste.h"
#include "mainwindow/frmMain.h"

#include "support/ListenHilfen.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Aufruf {
    std::vector<qint32> einträge;
    bool anhängen, ausführenMit, leeren;
};

class Befehle : public ::testing::Test {
protected:
    std::unique_ptr<frmMain> f;
    Hauptbefehle* b = nullptr;
    std::vector<Aufruf> aufrufe;
    QList<QUrl> gezogen;
    int züge = 0;
    QStringList meldungen;

    void SetUp() override
    {
        StandardwerteSetzen();
        einstellungen().BeiDoppelklick = 0;
        Index& idx = hauptIndex();
        idx = Index();
        Hinzu(idx, "/musik/a/eins.mp3", Lied("Beatles", "Help"));
        Hinzu(idx, "/musik/a/zwei.mp3", Lied("Beatles", "Yesterday"));
        Hinzu(idx, "/musik/b/drei.mp3", Lied("Stones", "Angie"));
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        DienstSetzen<MeldungsDienst>([this](const Meldung& m) {
            meldungen << m.text;
            return Antwort::Nein;
        });
        f = std::make_unique<frmMain>();
        f->resize(800, 500);
        f->show();
        f->IndexZustandAnzeigen();
        b = HauptfensterBefehleVerbinden(f.get());
        b->abspielen = [this](const std::vector<qint32>& e, bool a, bool m, bool l) { aufrufe.push_back({e, a, m, l}); };
        b->ziehenStarten = [this](QMimeData* d) {
            ++züge;
            gezogen = d->urls();
            delete d;
        };
    }
    void TearDown() override
    {
        f.reset();
        DienstSetzen<MeldungsDienst>(nullptr);
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
    }

    void zeilenWählen(std::initializer_list<int> zeilen)
    {
        f->lstSongs->clearSelection();
        for (int z : zeilen)
            f->lstSongs->selectionModel()->select(f->lstSongs->model()->index(z, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        f->AuswahlErmitteln();
    }
    void taste(int key, Qt::KeyboardModifiers zusatz = Qt::NoModifier)
    {
        QKeyEvent drücken(QEvent::KeyPress, key, zusatz);
        QApplication::sendEvent(f->lstSongs, &drücken);
        QKeyEvent loslassen(QEvent::KeyRelease, key, zusatz);
        QApplication::sendEvent(f->lstSongs, &loslassen);
    }
    QPoint zeilenMitte(int zeile) const
    {
        return f->lstSongs->visualRect(f->lstSongs->model()->index(zeile, 0)).center();
    }
    void maus(QEvent::Type art, QPoint p, Qt::MouseButton knopf, Qt::MouseButtons gehalten,
              Qt::KeyboardModifiers zusatz = Qt::NoModifier)
    {
        QWidget* vp = f->lstSongs->viewport();
        QMouseEvent e(art, p, vp->mapToGlobal(p), knopf, gehalten, zusatz);
        QApplication::sendEvent(vp, &e);
    }
};
} // namespace

TEST_F(Befehle, TastenErreichenIhreBefehle)
{
    ASSERT_EQ(f->lstSongs->model()->rowCount(), 3);
    zeilenWählen({1});
    taste(Qt::Key_Return);
    ASSERT_EQ(aufrufe.size(), 1u);
    EXPECT_EQ(aufrufe[0].einträge, std::vector<qint32>{2});
    EXPECT_FALSE(aufrufe[0].anhängen);
    EXPECT_FALSE(aufrufe[0].leeren);

    einstellungen().BeiDoppelklick = 2;
    taste(Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    ASSERT_EQ(aufrufe.size(), 2u);
    EXPECT_TRUE(aufrufe[1].anhängen);
    EXPECT_TRUE(aufrufe[1].leeren) << "Shift held: the player's playlist is cleared first";

    einstellungen().BeiDoppelklick = 4;
    taste(Qt::Key_Return);
    ASSERT_EQ(aufrufe.size(), 3u);
    EXPECT_TRUE(aufrufe[2].ausführenMit);
    EXPECT_FALSE(aufrufe[2].leeren);
}

TEST_F(Befehle, StrgAMarkiertAllesUndLeertDannDiePlaylist)
{
    zeilenWählen({});
    taste(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(listenZustand().lngAuswahlAnzahl, 3);
    f->cmdEintragAbspielen->clicked();
    ASSERT_EQ(aufrufe.size(), 1u);
    EXPECT_EQ(aufrufe[0].einträge, (std::vector<qint32>{1, 2, 3}));
    EXPECT_TRUE(aufrufe[0].leeren) << "Ctrl was held at the last key press";
    f->cmdAnhängen->clicked();
    ASSERT_EQ(aufrufe.size(), 2u);
    EXPECT_TRUE(aufrufe[1].anhängen);
    EXPECT_TRUE(aufrufe[1].leeren);
}

TEST_F(Befehle, DoppelklickSpieltDieAuswahl)
{
    const QPoint p = zeilenMitte(2);
    maus(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    maus(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    maus(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    maus(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    ASSERT_EQ(aufrufe.size(), 1u);
    EXPECT_EQ(aufrufe[0].einträge, std::vector<qint32>{3});
    EXPECT_FALSE(aufrufe[0].anhängen);
}

TEST_F(Befehle, OhneAuswahlTunBefehleNichts)
{
    zeilenWählen({});
    f->cmdEintragAbspielen->clicked();
    f->cmdAnhängen->clicked();
    f->cmdEintragAusführen->clicked();
    f->mnu_kontext_abspielen->trigger();
    f->mnu_kontext_ausführen->trigger();
    bool fensterOffen = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            fensterOffen = true;
            m->close();
        }
    });
    f->cmdEintragAusführenMit->clicked();
    QApplication::processEvents();
    EXPECT_FALSE(fensterOffen) << "open-with needs a selection";
    EXPECT_TRUE(aufrufe.empty());
    // A stale selection whose entries are gone is no selection either.
    zeilenWählen({2});
    hauptIndex().lngIndexAnzahl = 2;
    f->cmdEintragAbspielen->clicked();
    EXPECT_TRUE(aufrufe.empty());
}

TEST_F(Befehle, HerausziehenTrägtDateiUrlsDerAuswahl)
{
    zeilenWählen({0, 2});
    const QPoint p = zeilenMitte(0);
    maus(QEvent::MouseMove, p + QPoint(40, 0), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(züge, 0) << "no drag without a button held";
    maus(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    maus(QEvent::MouseMove, p + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(züge, 0) << "not before the drag distance";
    maus(QEvent::MouseMove, p + QPoint(0, QApplication::startDragDistance() + 5), Qt::NoButton, Qt::LeftButton);
    ASSERT_EQ(züge, 1);
    EXPECT_EQ(gezogen, (QList<QUrl>{QUrl::fromLocalFile("/musik/a/eins.mp3"), QUrl::fromLocalFile("/musik/b/drei.mp3")}));
    EXPECT_EQ(gezogen[0].toString(), "file:///musik/a/eins.mp3");
}

TEST_F(Befehle, AbfrageFrischtDieAuswahlNichtHinterModalemFensterAuf)
{
    zeilenWählen({0});
    // The list changes without the selection being read yet.
    f->lstSongs->selectionModel()->select(f->lstSongs->model()->index(1, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    {
        QDialog modal;
        modal.setModal(true);
        modal.show();
        b->AuswahlAuffrischen();
        EXPECT_EQ(listenZustand().lngAuswahlEintrag[1], 1) << "a modal window is open";
    }
    struct Anzeige : FortschrittAnzeige {
        void Zeigen(QObject*, const FortschrittZustand&) override {}
        void Verbergen(QObject*) override {}
        void Aktualisieren(const FortschrittZustand&) override {}
        void EreignisseVerarbeiten() override {}
    } anzeige;
    einstellungen().StartBildschirm = 1;
    DienstSetzen<FortschrittAnzeigeDienst>(&anzeige);
    ASSERT_TRUE(FortschrittZeigenStarten(3, true, nullptr, true, false, "Test"));
    ASSERT_TRUE(FortschrittLäuft());
    b->AuswahlAuffrischen();
    EXPECT_EQ(listenZustand().lngAuswahlEintrag[1], 1) << "a progress run is active";
    FortschrittZeigenBeenden(nullptr);
    DienstSetzen<FortschrittAnzeigeDienst>(nullptr);
    b->AuswahlAuffrischen();
    EXPECT_EQ(listenZustand().lngAuswahlEintrag[1], 2);
}

TEST_F(Befehle, SpäteFensterBleibenGesperrtEigeneSindVerbunden)
{
    for (LinkLabel* l : {f->cmdEintragAbspielen, f->cmdAnhängen, f->cmdEintragAusführen, f->cmdEintragAusführenMit,
                         f->cmdListeAufräumen, f->cmdSucheMehr})
        EXPECT_TRUE(f->BefehlVerfügbar(l)) << l->objectName().toStdString();
    for (LinkLabel* l : {f->cmdMp3TagAnzeigen, f->cmdUmbenennen, f->cmdDateienKopierenVerschieben, f->cmdExportieren,
                         f->cmdAutoDJ, f->cmdOptionen, f->cmdIndexVerwaltung})
        EXPECT_FALSE(l->isEnabled()) << l->objectName().toStdString();
    EXPECT_FALSE(f->lblIndexdatei->isEnabled());
    EXPECT_EQ(HauptfensterBefehleVerbinden(f.get()), b) << "connected once";
    zeilenWählen({0});
    f->cmdEintragAbspielen->clicked();
    EXPECT_EQ(aufrufe.size(), 1u) << "each command runs once";
}

TEST_F(Befehle, ZwischenablageBekommtDenPfadGenauEinerDatei)
{
    QApplication::clipboard()->setText("vorher");
    zeilenWählen({0, 1});
    f->mnu_song_zwischenablage->trigger();
    EXPECT_EQ(meldungen, QStringList{"Bitte wählen Sie eine Datei."});
    EXPECT_EQ(QApplication::clipboard()->text(), "vorher");
    zeilenWählen({2});
    f->MenüsAktualisieren(false);
    f->mnu_song_zwischenablage->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "/musik/b/drei.mp3");
}
