#include "BibliothekTesthilfe.h"

#include "core/Funktionen.h"
#include "library/Befehle_gui.h"
#include "library/frmDateiname.h"
#include "library/frmKopieren.h"
#include "library/frmUmbenennen.h"
#include "library/frmZielordnerVorschlaege.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace testhilfe;

namespace {

class UmbenennenFensterTest : public ::testing::Test {
protected:
    Baum baum;
    Meldungsskript meldungen;
    Listenattrappe liste;
    Index gesichert;
    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        StandardwerteSetzen();
        gesichert = hauptIndex();
        hauptIndex() = Index();
        TypenSetzen(hauptIndex());
    }
    void TearDown() override
    {
        IndexStimmig(hauptIndex());
        hauptIndex() = gesichert;
    }
    qint32 Eintrag(const QString& pfad)
    {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Vorhanden = 1;
        m.Mp3_ID3v1_Interpret = "Abba";
        m.Mp3_ID3v1_Titel = "Waterloo";
        return hauptIndex().EintragAnhängen(pfad, m, 1);
    }
};

// Runs `schritt` on the modal window once it shows, then closes it.
template <typename Fenster, typename F>
void BeiModal(F schritt)
{
    QTimer::singleShot(0, [schritt] {
        auto* f = dynamic_cast<Fenster*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        schritt(f);
        if (f->isVisible())
            f->reject();
    });
}

} // namespace

TEST_F(UmbenennenFensterTest, BefehleSindVerbundenUndZeigenDasVoreingestellteFenster)
{
    frmMain f;
    hauptIndex().bolIndexGeladen = true;
    BibliotheksBefehleVerbinden(&f);
    EXPECT_TRUE(f.BefehlVerfügbar(f.cmdUmbenennen));
    EXPECT_TRUE(f.BefehlVerfügbar(f.cmdDateienKopierenVerschieben));

    const qint32 e = Eintrag(baum.Datei("a.mp3"));
    listenZustand().lngAuswahlAnzahl = 1;
    listenZustand().lngAuswahlEintrag = {0, e};
    einstellungen().UmbenennenEingabeSchreibweise = 4;
    einstellungen().UmbenennenEingabeID3 = "%Titel%";
    einstellungen().UmbenennenAttributeR = 1;
    bool gezeigt = false;
    BeiModal<frmUmbenennen>([&](frmUmbenennen* w) {
        gezeigt = true;
        EXPECT_EQ(w->einträge, EintragsListe{e});
        EXPECT_TRUE(w->optKleinWörterGross->isChecked());
        EXPECT_EQ(w->txtFormat->text(), "%Titel%");
        EXPECT_TRUE(w->chkAttributSchreibschutz->isChecked());
        EXPECT_TRUE(w->txtVariablen->toPlainText().contains("%Interpret% "));
        EXPECT_FALSE(w->txtVariablen->toPlainText().contains("Benutzerdefiniert"));
    });
    UmbenennenZeigen({e}, &f);
    EXPECT_TRUE(gezeigt);

    einstellungen().KopierenOrdner = "/ziel/";
    einstellungen().KopierenModus = 1;
    gezeigt = false;
    BeiModal<frmKopieren>([&](frmKopieren* w) {
        gezeigt = true;
        EXPECT_EQ(w->txtOrdner->text(), "/ziel/");
        EXPECT_TRUE(w->optVerschieben->isChecked());
        EXPECT_FALSE(w->optKopieren->isChecked());
    });
    KopierenZeigen({e}, &f);
    EXPECT_TRUE(gezeigt);

    // Nothing selected: nothing shows.
    UmbenennenZeigen({}, &f);
    KopierenZeigen({}, &f);
    listenZustand().AuswahlLeeren();
}

TEST_F(UmbenennenFensterTest, FunktionenZeigenIhrenRahmenUndPruefenIhreEingaben)
{
    frmUmbenennen w;
    einstellungen().UmbenennenEingabeSchreibweise = 3;
    w.Voreinstellen();
    EXPECT_TRUE(w.optKleinErstenGross->isChecked());
    EXPECT_EQ(w.lstFunktionen->count(), 9);
    w.lstFunktionen->setCurrentRow(5);
    for (int n = 0; n < 9; ++n)
        EXPECT_EQ(w.fraOptionen[size_t(n)]->isHidden(), n != 5) << n;
    EXPECT_EQ(w.EingabenLesen().intFunktion, UmbenennenSchreibweise);
    EXPECT_EQ(w.EingabenLesen().intSchreibweise, 3);

    w.lstFunktionen->setCurrentRow(-1);
    w.cmdOk_Click();
    EXPECT_TRUE(meldungen.Enthält("Bitte wählen Sie eine Methode aus der Liste."));
    w.lstFunktionen->setCurrentRow(0);
    w.txtFormat->clear();
    w.cmdOk_Click();
    EXPECT_TRUE(meldungen.Enthält("Es wurde kein Format bei der ID3-Umbenennung angegeben."));
    EXPECT_EQ(meldungen.gezeigt.back().symbol, Symbol::Information);

    // A valid run renames the window's entries.
    Fortschrittsattrappe fortschritt;
    const qint32 e = Eintrag(baum.Datei("r/x.mp3"));
    w.einträge = {e};
    w.txtFormat->setText("%Interpret% - %Titel%");
    w.cmdOk_Click();
    EXPECT_EQ(hauptIndex().strIndexPfad[size_t(e)], baum.Pfad("r/Abba - Waterloo.mp3"));
    EXPECT_EQ(w.txtErsetzenEndung->text(), "inanderemordner");
}

TEST_F(UmbenennenFensterTest, EndungMitTrennerLaesstDasFensterOffen)
{
    Fortschrittsattrappe fortschritt;
    frmUmbenennen w;
    w.Voreinstellen();
    w.einträge = {Eintrag(baum.Datei("t/song.mp3"))};
    w.show();
    QListWidget* l = w.lstFunktionen;
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(6)).center());
    w.txtDateiendung->selectAll();
    QTest::keyClicks(w.txtDateiendung, "ogg/evil");
    QTest::mouseClick(w.cmdOk, Qt::LeftButton);
    EXPECT_TRUE(meldungen.Enthält("Bitte geben Sie eine neue Datei-Endung ein."));
    EXPECT_TRUE(w.isVisible()) << "the window stays open for another input";
    EXPECT_EQ(QDir(baum.Pfad("t")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"song.mp3"}));
}

TEST_F(UmbenennenFensterTest, KopierenFensterUndVorschlaege)
{
    Fortschrittsattrappe fortschritt;
    frmKopieren w;
    const qint32 e = Eintrag(baum.Datei("k/x.mp3", "daten"));
    w.einträge = {e};
    w.txtOrdner->setText("");
    w.cmdOk_Click();
    EXPECT_TRUE(meldungen.Enthält("Bitte geben Sie einen Zielordner ein."));
    w.txtOrdner->setText(baum.Pfad("kopie"));
    w.optKopieren->setChecked(true);
    w.cmdOk_Click();
    EXPECT_EQ(w.txtOrdner->text(), baum.Pfad("kopie/"));
    EXPECT_EQ(Lesen(baum.Pfad("kopie/x.mp3")), "daten");
    EXPECT_EQ(hauptIndex().strIndexPfad[size_t(e)], baum.Pfad("k/x.mp3"));

    frmZielordnerVorschläge v;
    v.lstOrdner->addItem("/a");
    v.lstOrdner->clearSelection();
    v.cmdOk_Click();
    EXPECT_TRUE(meldungen.Enthält("Bitte wählen Sie einen Listeneintrag."));

    // The suggestion chosen goes into the folder box.
    BeiModal<frmZielordnerVorschläge>([](frmZielordnerVorschläge* f) {
        ASSERT_EQ(f->lstOrdner->count(), 1);
        EXPECT_EQ(f->lstOrdner->currentRow(), 0);
        f->cmdOk_Click();
    });
    w.cmdVorschlagen_Click();
    EXPECT_EQ(w.txtOrdner->text(), baum.Pfad("k"));
}

TEST_F(UmbenennenFensterTest, DateinameZeigtDenBlossenNamenMarkiert)
{
    QWidget besitzer;
    frmDateiname w(&besitzer);
    besitzer.setEnabled(false); // as a progress run does it
    const QString pfad = "/musik/Ab.c/Lied.mp3";
    BeiModal<frmDateiname>([&](frmDateiname* f) {
        EXPECT_TRUE(f->isEnabled());
        EXPECT_EQ(f->windowTitle(), "Listeneintrag ändern");
        EXPECT_EQ(f->lblTitel->text(), "ändern");
        EXPECT_EQ(f->txtAlter->text(), pfad);
        EXPECT_EQ(f->txtNeuer->selectedText(), "Lied");
        f->txtNeuer->setText("/musik/neu.mp3");
        f->cmdOk_Click();
    });
    QString neu;
    EXPECT_TRUE(w.Fragen(pfad, true, neu));
    EXPECT_EQ(neu, "/musik/neu.mp3");
    EXPECT_EQ(w.Tag, "1");

    BeiModal<frmDateiname>([](frmDateiname* f) { EXPECT_EQ(f->windowTitle(), "Datei umbenennen"); });
    EXPECT_FALSE(w.Fragen(pfad, false, neu)) << "closed without OK";
}
