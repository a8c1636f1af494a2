#include "BibliothekTesthilfe.h"

#include "core/Verfuegbarkeit.h"
#include "core/frmFortschritt.h"
#include "library/Befehle_gui.h"
#include "library/IndexAufraeumen.h"
#include "library/frmIndexVerwaltung.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace testhilfe;

namespace {

class IndexVerwaltungFensterTest : public ::testing::Test {
protected:
    Baum baum;
    Meldungsskript meldungen;
    Index gesichert;
    std::vector<std::vector<qint32>> gespielt, gezeigt;
    std::optional<DienstErsetzen<IndexVerwaltungAbspielenDienst>> spieler;
    std::optional<DienstErsetzen<DateiInfosDienst>> editor;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        gesichert = hauptIndex();
        hauptIndex() = Index();
        TypenSetzen(hauptIndex());
        spieler.emplace([this](const std::vector<qint32>& e, QWidget*) { gespielt.push_back(e); });
        editor.emplace([this](const std::vector<qint32>& e, QWidget*) { gezeigt.push_back(e); });
    }
    void TearDown() override
    {
        IndexStimmig(hauptIndex());
        hauptIndex() = gesichert;
    }
    qint32 Eintrag(const QString& pfad, qint64 größe = 10)
    {
        MedienInfo m = LeereMedienInfo();
        m.Datei_Größe = größe;
        return hauptIndex().EintragAnhängen(pfad, m, 1);
    }
    // A window over every entry, as the main window opens it.
    std::unique_ptr<frmIndexVerwaltung> Fenster()
    {
        std::vector<qint32> e;
        for (qint32 i = 1; i <= hauptIndex().lngIndexAnzahl; ++i)
            e.push_back(i);
        auto f = std::make_unique<frmIndexVerwaltung>(hauptIndex(), e, qint32(e.size()));
        f->DoppelteDateienSuchen(-1);
        f->show();
        return f;
    }
    static void Suchen(frmIndexVerwaltung& f, int methode)
    {
        f.cboSuchmethode->setCurrentIndex(methode);
        f.cmdSuchen->click();
    }
    // The user picks a finding in the result list.
    static void ZeileKlicken(frmIndexVerwaltung& f, int zeile)
    {
        QListWidget* l = f.lstEinträge;
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(zeile)).center());
    }
    static QStringList Zeilen(const frmIndexVerwaltung& f)
    {
        QStringList l;
        for (int i = 0; i < f.lstEinträge->count(); ++i)
            l.append(f.lstEinträge->item(i)->text());
        return l;
    }
};

} // namespace

TEST_F(IndexVerwaltungFensterTest, ÖffnenOhneSucheUndSuchenFülltAmOrt)
{
    const QString a = baum.Datei("x/Lied.mp3");
    const QString b = baum.Datei("y/lied.MP3");
    Eintrag(a);
    Eintrag(b);
    Eintrag(baum.Pfad("z/fehlt.mp3"), -1);
    auto f = Fenster();
    EXPECT_EQ(f->windowTitle(), "Indexverwaltung");
    EXPECT_EQ(f->cboSuchmethode->currentIndex(), -1);
    EXPECT_EQ(f->cboSuchmethode->count(), 10);
    EXPECT_FALSE(f->cmdSuchen->isEnabled());
    EXPECT_EQ(f->lstEinträge->count(), 0);
    EXPECT_TRUE(f->fraDetails->isHidden());
    EXPECT_EQ(f->lblGefundenAnzahl->text(), "0 Datei(en) gefunden");

    f->cboSuchmethode->setCurrentIndex(SucheDateiname);
    EXPECT_TRUE(f->cmdSuchen->isEnabled());
    QTest::mouseClick(f->cmdSuchen, Qt::LeftButton);
    EXPECT_TRUE(f->isVisible()) << "the window is refilled where it stands";
    EXPECT_EQ(Zeilen(*f), QStringList({"'Lied.mp3' und 'lied.MP3' haben die gleichen Dateinamen"}));
    EXPECT_EQ(f->lblGefundenAnzahl->text(), "1 Datei(en) gefunden");
    // Nothing is picked for the user: the details wait for his choice.
    EXPECT_TRUE(f->lstEinträge->selectedItems().isEmpty());
    EXPECT_TRUE(f->fraDetails->isHidden());
    ZeileKlicken(*f, 0);
    EXPECT_FALSE(f->fraDetails->isHidden());
    EXPECT_EQ(f->lblDateiname1->text(), a);
    EXPECT_EQ(f->lblDatei1->text(), "Dateiname - Eintrag 1");
    EXPECT_EQ(f->lblDateiname2->text(), b);
    EXPECT_EQ(f->lblDatei2->text(), "Dateiname - Eintrag 2");
    EXPECT_EQ(f->lblGleich->text(), "Lied.mp3");
    EXPECT_FALSE(f->cboAktion2->isHidden());

    Suchen(*f, SucheNichtVorhanden);
    EXPECT_EQ(Zeilen(*f), QStringList({"'fehlt.mp3' existiert nicht"}));
    EXPECT_TRUE(f->fraDetails->isHidden()) << "a new search hides the last details";
    ZeileKlicken(*f, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{f->cmdInfos2, f->cmdAbspielen2, f->lblDateiname2, f->lblDatei2,
                                                      f->lblGleichÜberschrift, f->lblGleich, f->cboAktion2})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();

    Suchen(*f, SucheGröße);
    EXPECT_EQ(Zeilen(*f), QStringList({"'Lied.mp3' und 'lied.MP3' haben gleiche Dateigröße"}));
    ZeileKlicken(*f, 0);
    EXPECT_EQ(f->lblGleich->text(), "10");
}

TEST_F(IndexVerwaltungFensterTest, AktionGehörtZumEintragUndWirdGefärbt)
{
    // Three of one size: (1, 2) and (2, 3); entry 2 is in both.
    for (const char* n : {"a.mp3", "b.mp3", "c.mp3"})
        Eintrag(baum.Datei(n));
    auto f = Fenster();
    Suchen(*f, SucheGröße);
    ASSERT_EQ(f->lstEinträge->count(), 2);

    f->lstEinträge->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    f->cboAktion1->setCurrentIndex(AktionLöschen);
    f->cboAktion1->activated(AktionLöschen);
    f->lstEinträge->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(f->cboAktion2->currentIndex(), AktionLöschen) << "entry 2 shows its action in the other finding";
    EXPECT_EQ(f->cboAktion1->currentIndex(), KeineAktion);
    EXPECT_EQ(f->cboAktion2->palette().color(QPalette::ButtonText), QColor(128, 0, 0));
    EXPECT_EQ(f->cboAktion1->palette().color(QPalette::ButtonText), QColor(0, 0, 128));

    // Several selected: both boxes show no choice; a choice sets every first entry.
    f->cmdWählenAlle->click();
    EXPECT_EQ(f->lblDateiname1->text(), "2 Dateien gewählt");
    EXPECT_EQ(f->lblDatei1->text(), "Dateiname");
    EXPECT_EQ(f->cboAktion1->currentIndex(), -1);
    f->cboAktion1->setCurrentIndex(AktionPapierkorb);
    f->cboAktion1->activated(AktionPapierkorb);
    EXPECT_EQ(f->ergebnis.DoppelteAktion, (std::vector<qint32>{0, 2, 2, 0}));
    f->lstEinträge->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(f->cboAktion1->currentIndex(), AktionPapierkorb);

    // Play and information buttons hand over the selected findings' entries.
    f->cmdWählenAlle->click();
    f->cmdAbspielen2->click();
    f->cmdInfos1->click();
    EXPECT_EQ(gespielt, (std::vector<std::vector<qint32>>{{2, 3}}));
    EXPECT_EQ(gezeigt, (std::vector<std::vector<qint32>>{{1, 2}}));

    // Enter in the list plays the first entries (BeiDoppelklick 0).
    einstellungen().BeiDoppelklick = 0;
    f->lstEinträge->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f->lstEinträge, &enter);
    EXPECT_EQ(gespielt.back(), std::vector<qint32>{1});
    einstellungen().BeiDoppelklick = 3;
    QApplication::sendEvent(f->lstEinträge, &enter);
    EXPECT_EQ(gezeigt.back(), std::vector<qint32>{1});

    // A new search forgets every action.
    Suchen(*f, SucheGröße);
    EXPECT_EQ(f->ergebnis.DoppelteAktion, (std::vector<qint32>{0, 0, 0, 0}));
}

TEST_F(IndexVerwaltungFensterTest, WählenKnöpfeÄndernDieAuswahlInEinemSchritt)
{
    for (int i = 0; i < 2000; ++i)
        Eintrag(baum.Pfad(QString("o%1/gleich.mp3").arg(i)));
    auto f = Fenster();
    Suchen(*f, SucheDateiname);
    ASSERT_EQ(f->lstEinträge->count(), 1999);
    int läufe = 0;
    QObject::connect(f->lstEinträge, &QListWidget::itemSelectionChanged, [&läufe] { ++läufe; });
    f->cmdWählenAlle->click();
    EXPECT_EQ(läufe, 1);
    EXPECT_EQ(f->DoppelteZeile.size(), 2000u);
    f->lstEinträge->setCurrentRow(3, QItemSelectionModel::ClearAndSelect);
    läufe = 0;
    f->cmdWählenUmkehren->click();
    EXPECT_EQ(läufe, 1);
    EXPECT_EQ(f->DoppelteZeile.size(), 1999u);
    EXPECT_EQ(f->DoppelteZeile[4], 5) << "row 4 (counted from 1) is the one left out";
    läufe = 0;
    f->cmdWählenKeine->click();
    EXPECT_EQ(läufe, 1);
    EXPECT_TRUE(f->fraDetails->isHidden());
}

TEST_F(IndexVerwaltungFensterTest, OkUndAbbrechenFragenErst)
{
    Eintrag(baum.Datei("a.mp3"));
    Eintrag(baum.Datei("b.mp3"));
    auto f = Fenster();
    f->cmdOk->click();
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_EQ(meldungen.gezeigt[0].text, "Bitte wählen Sie eine Aktion für mindestens eine gefundene Datei.");
    EXPECT_EQ(meldungen.gezeigt[0].symbol, Symbol::Information);
    EXPECT_TRUE(f->isVisible());

    Suchen(*f, SucheGröße);
    ZeileKlicken(*f, 0);
    f->cboAktion2->setCurrentIndex(AktionAusIndexEntfernen);
    f->cboAktion2->activated(AktionAusIndexEntfernen);
    meldungen.antworten = {Antwort::Nein};
    f->cmdAbbrechen->click();
    EXPECT_TRUE(f->isVisible()) << "No keeps the window and its actions";
    EXPECT_EQ(meldungen.gezeigt.back().text, "Möchten Sie die noch nicht durchgeführten Änderungen am Index verwerfen "
                                             "und dieses Fenster schließen?");
    EXPECT_EQ(meldungen.gezeigt.back().symbol, Symbol::Frage);
    meldungen.antworten = {Antwort::Nein};
    f->cmdOk->click();
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(meldungen.gezeigt.back().text, AktionenFrage({0, 0, 0, 1, 0}));
    EXPECT_EQ(meldungen.gezeigt.back().symbol, Symbol::Ausruf);
    f->cmdOk->click(); // Ja
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 2) << "the window itself changes nothing";
}

TEST_F(IndexVerwaltungFensterTest, BefehlDesHauptfenstersÖffnetUndRäumtAuf)
{
    Index& index = hauptIndex();
    for (const char* n : {"a/1.mp3", "b/1.mp3", "c/2.mp3"})
        Eintrag(baum.Datei(n));
    index.bolIndexGeladen = true;
    frmMain f;
    f.resize(800, 500);
    f.show();
    f.IndexZustandAnzeigen();
    BibliotheksBefehleVerbinden(&f);
    ASSERT_TRUE(f.BefehlVerfügbar(f.cmdIndexVerwaltung));
    f.lstSongs->selectAll();

    bool geprüft = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* fenster = dynamic_cast<frmIndexVerwaltung*>(d);
        ASSERT_NE(fenster, nullptr);
        geprüft = true;
        EXPECT_EQ(fenster->lblGefundenAnzahl->text(), "0 Datei(en) gefunden");
        Suchen(*fenster, SucheDateiname);
        EXPECT_EQ(QApplication::activeModalWidget(), fenster) << "a search keeps the same window open";
        ASSERT_EQ(fenster->lstEinträge->count(), 1);
        ZeileKlicken(*fenster, 0);
        fenster->cboAktion2->setCurrentIndex(AktionLöschen);
        fenster->cboAktion2->activated(AktionLöschen);
        meldungen.antworten = {Antwort::Ja, Antwort::Nein}; // confirm; keep the emptied folder b
        fenster->cmdOk->click();
    });
    f.BefehlAuslösen(f.cmdIndexVerwaltung);
    ASSERT_TRUE(geprüft);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("a/1.mp3"), baum.Pfad("c/2.mp3")}));
    EXPECT_FALSE(QFile::exists(baum.Pfad("b/1.mp3")));
    EXPECT_EQ(f.lstSongs->model()->rowCount(), 2);
}

TEST_F(IndexVerwaltungFensterTest, FortschrittsfensterÜberlebtDasFenster)
{
    // The progress window stands in front of the clean-up window during a
    // search (and settles on it); it must outlive it.
    Eintrag(baum.Datei("a.mp3"));
    QPointer<frmFortschritt> fortschritt = fortschrittsfenster();
    DienstErsetzen<FortschrittAnzeigeDienst> anzeige(fortschritt.data());
    {
        auto f = Fenster();
        Suchen(*f, SucheNichtVorhanden);
        EXPECT_FALSE(fortschritt->isVisible());
        EXPECT_TRUE(f->isEnabled());
    }
    ASSERT_FALSE(fortschritt.isNull());
    EXPECT_EQ(fortschritt->parent(), nullptr);
}
