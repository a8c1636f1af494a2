#include "BibliothekTesthilfe.h"

#include "library/Befehle_gui.h"
#include "library/frmHinzufuegen.h"
#include "library/frmLoeschen.h"
#include "library/frmVerschiebenDateiExistiert.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

using namespace testhilfe;

namespace {

class BibliothekFensterTest : public ::testing::Test {
protected:
    Baum baum;
    Meldungsskript meldungen;
    Index gesichert;
    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        gesichert = hauptIndex();
        hauptIndex() = Index();
        TypenSetzen(hauptIndex());
    }
    void TearDown() override
    {
        IndexStimmig(hauptIndex());
        hauptIndex() = gesichert;
        DienstSetzen<DateiExistiertDienst>(nullptr);
    }
};

// Processes events until `bedingung` holds or a second has passed.
template <typename F>
bool Warten(F bedingung)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!bedingung() && uhr.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return bedingung();
}

} // namespace

TEST_F(BibliothekFensterTest, AblageAufDerListeWirdNachDemEreignisVerarbeitet)
{
    frmMain f;
    hauptIndex().bolIndexGeladen = true;
    f.IndexZustandAnzeigen();
    BibliotheksBefehleVerbinden(&f);
    const QString a = baum.Datei("a.mp3");
    baum.Datei("ordner/b.mp3");
    QMimeData daten;
    daten.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(baum.Pfad("ordner")), QUrl("https://x.example/c.mp3")});

    QDragEnterEvent hinein(QPoint(5, 5), Qt::CopyAction, &daten, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.lstSongs->viewport(), &hinein);
    EXPECT_TRUE(hinein.isAccepted());

    QDropEvent ablage(QPointF(5, 5), Qt::CopyAction, &daten, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.lstSongs->viewport(), &ablage);
    EXPECT_TRUE(ablage.isAccepted());
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 0) << "nothing is added inside the drop event";
    ASSERT_TRUE(Warten([] { return hauptIndex().lngIndexAnzahl == 2; }));
    EXPECT_EQ(IndexPfade(hauptIndex()), QStringList({baum.Pfad("ordner/b.mp3"), a}));
    EXPECT_TRUE(f.isEnabled());
    EXPECT_EQ(f.lstSongs->model()->rowCount(), 2) << "the list follows";
    EXPECT_EQ(listenZustand().lngAuswahlAnzahl, 2) << "the new entries are marked";

    QMimeData text;
    text.setText("kein Dateiname");
    QDragEnterEvent ohneDateien(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.lstSongs->viewport(), &ohneDateien);
    EXPECT_FALSE(ohneDateien.isAccepted());
}

TEST_F(BibliothekFensterTest, HinzufügenFensterBleibtOffenWennDieAuswahlAbgebrochenWird)
{
    frmHinzufügen fenster;
    fenster.show();
    fenster.dateienWählen = [](const QString&) { return QStringList(); };
    fenster.cmdDateienHinzufügen_Click();
    EXPECT_TRUE(fenster.isVisible());
    EXPECT_EQ(fenster.auswahl, frmHinzufügen::Auswahl::Nichts);

    QString gefragterFilter;
    fenster.dateienWählen = [&](const QString& filter) {
        gefragterFilter = filter;
        return QStringList({"/x/a.mp3"});
    };
    fenster.cmdDateienHinzufügen_Click();
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_EQ(fenster.result(), QDialog::Accepted);
    EXPECT_EQ(fenster.pfade, QStringList({"/x/a.mp3"}));
    EXPECT_EQ(gefragterFilter, "Unterstützte Dateiformate (*.mp3 *.mp2 *.mp1 *.wma *.wmf *.wav *.aac *.vqf);;"
                               "Alle Dateien (*.*)");

    hauptIndex().strDateiTypen = {"mp3=0", "*=1"};
    EXPECT_EQ(VerwalteteTypenFilter(hauptIndex().strDateiTypen), "");
    fenster.show();
    fenster.cmdDateienHinzufügen_Click();
    EXPECT_TRUE(meldungen.Enthält("da kein Dateityp für die Verwaltung freigegeben wurde."));
    hauptIndex().intDateiTypenLeer = 1;
    fenster.cmdDateienHinzufügen_Click();
    EXPECT_TRUE(meldungen.Enthält("da kein Dateityp eingerichtet wurde."));
    EXPECT_TRUE(fenster.isVisible());
}

TEST_F(BibliothekFensterTest, TitelNebenDenBildernWirkenWieDieBilder)
{
    frmHinzufügen fenster;
    fenster.dateienWählen = [](const QString&) { return QStringList{"/x/a.mp3"}; };
    fenster.ordnerWählen = [](const QString&) { return QString("/x/ordner"); };
    fenster.playlistWählen = [](const QString&) { return QString("/x/liste.m3u"); };
    for (const auto& [titel, gewählt] :
         {std::pair{"Label1", "/x/a.mp3"}, {"Label5", "/x/ordner"}, {"Label6", "/x/liste.m3u"}}) {
        fenster.show();
        QTest::mouseClick(fenster.findChild<QLabel*>(titel), Qt::LeftButton);
        EXPECT_FALSE(fenster.isVisible()) << titel;
        EXPECT_EQ(fenster.pfade, QStringList{gewählt}) << titel;
    }
}

TEST_F(BibliothekFensterTest, OrdnerÜberDasHinzufügenFenster)
{
    baum.Datei("neu/a.mp3");
    baum.Datei("neu/sub/b.mp3");
    einstellungen().HinzufügenUnterordner = 0;
    QTimer::singleShot(0, [this] {
        auto* fenster = dynamic_cast<frmHinzufügen*>(QApplication::activeModalWidget());
        ASSERT_NE(fenster, nullptr);
        fenster->ordnerWählen = [this](const QString& titel) {
            EXPECT_EQ(titel, "Bitte wählen Sie einen Ordner mit Mediendateien...");
            return baum.Pfad("neu") + QChar(0);
        };
        fenster->cmdOrdnerHinzufügen->click();
    });
    HinzufügenZeigen(nullptr);
    EXPECT_EQ(IndexPfade(hauptIndex()), QStringList({baum.Pfad("neu/a.mp3")})) << "sub-folders only by the setting";
}

TEST_F(BibliothekFensterTest, KonfliktFensterOhneKnopfGeschlossenBrichtAb)
{
    frmVerschiebenDateiExistiert fenster;
    fenster.show();
    fenster.cmdOpt11->click();
    EXPECT_EQ(fenster.antwort, DateiExistiert::Ersetzen);
    fenster.show();
    fenster.reject(); // title bar or Escape
    EXPECT_EQ(fenster.antwort, DateiExistiert::Abbrechen) << "never the answer of an earlier showing";

    DateiExistiertFensterEinrichten(nullptr);
    const QString quelle = baum.Datei("x.mp3", "neu");
    const QString ziel0 = baum.Datei("z/x.mp3", "alt");
    QTimer::singleShot(0, [] {
        auto* f = qobject_cast<frmVerschiebenDateiExistiert*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->lblBeschreibung->text().contains("existiert bereits."));
        f->close();
    });
    QString ziel = ziel0;
    int modus = 1;
    QString meldung;
    EXPECT_FALSE(DateiVerschieben(quelle, ziel, modus, meldung));
    EXPECT_EQ(Lesen(ziel0), "alt");
    EXPECT_TRUE(meldung.endsWith("Umbenennen wurde nicht gewünscht."));
}

TEST_F(BibliothekFensterTest, LöschenFensterFragtVorDemEndgültigenLöschen)
{
    frmLöschen fenster({3, 0, 7});
    fenster.show();
    meldungen.antworten = {Antwort::Nein};
    fenster.cmdLöschen_Click();
    EXPECT_TRUE(fenster.isVisible());
    EXPECT_EQ(fenster.modus, 0);
    EXPECT_EQ(meldungen.gezeigt.back().text, "Möchten Sie 2 Datei(en) vom Datenträger löschen?");
    meldungen.antworten = {Antwort::Ja};
    fenster.cmdLöschen_Click();
    EXPECT_EQ(fenster.modus, 1);
    EXPECT_FALSE(fenster.isVisible());
    fenster.show();
    fenster.cmdPapierkorb_Click();
    EXPECT_EQ(fenster.modus, 2);
}

TEST_F(BibliothekFensterTest, AusIndexEntfernenÜberBefehlUndTaste)
{
    Index& index = hauptIndex();
    for (const char* n : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        index.EintragAnhängen(baum.Datei(n), LeereMedienInfo(), 1);
    index.bolIndexGeladen = true;
    frmMain f;
    f.resize(800, 500);
    f.show();
    f.IndexZustandAnzeigen();
    BibliotheksBefehleVerbinden(&f);
    ASSERT_TRUE(f.BefehlVerfügbar(f.cmdDateiEntfernen));
    ASSERT_TRUE(f.BefehlVerfügbar(f.cmdDateienLöschen));
    ASSERT_TRUE(f.BefehlVerfügbar(f.cmdIndexErstellen));
    ASSERT_EQ(f.lstSongs->model()->rowCount(), 4);

    const auto wählen = [&f](std::initializer_list<int> zeilen) {
        f.lstSongs->clearSelection();
        for (int z : zeilen)
            f.lstSongs->selectionModel()->select(f.lstSongs->model()->index(z, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    wählen({0, 2});
    meldungen.antworten = {Antwort::Nein};
    f.BefehlAuslösen(f.cmdDateiEntfernen);
    EXPECT_EQ(meldungen.gezeigt.back().text, "Möchten die gewählte(n) Datei(en) aus dem Index entfernen?\nDiese "
                                             "bleiben/bleibt weiterhin auf dem Datenträger gespeichert.");
    EXPECT_EQ(index.lngIndexAnzahl, 4);

    meldungen.antworten = {Antwort::Ja};
    f.BefehlAuslösen(f.cmdDateiEntfernen);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("b.mp3"), baum.Pfad("d.mp3")}));
    EXPECT_EQ(f.lstSongs->model()->rowCount(), 2);
    EXPECT_TRUE(QFile::exists(baum.Pfad("a.mp3")));

    wählen({1});
    meldungen.antworten = {Antwort::Ja};
    QKeyEvent entf(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(f.lstSongs, &entf);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("b.mp3")}));

    // "Löschen" opens the delete window over the selection; cancelling it changes nothing.
    wählen({0});
    QTimer::singleShot(0, [] {
        auto* fenster = dynamic_cast<frmLöschen*>(QApplication::activeModalWidget());
        ASSERT_NE(fenster, nullptr);
        EXPECT_EQ(fenster->einträge, EintragsListe{1});
        fenster->cmdAbbrechen->click();
    });
    f.BefehlAuslösen(f.cmdDateienLöschen);
    EXPECT_EQ(index.lngIndexAnzahl, 1);
    EXPECT_TRUE(QFile::exists(baum.Pfad("b.mp3")));
}
