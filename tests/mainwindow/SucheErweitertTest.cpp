#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "mainwindow/Liste.h"
#include "mainwindow/SucheErweitert.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSucheErweitert.h"
#include "mainwindow/frmSucheErweitertHinzufuegen.h"

#include "platform/Klicks.h"
#include "support/ListenHilfen.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

class SucheErweitert : public ::testing::Test {
protected:
    std::unique_ptr<frmMain> f;
    frmSucheErweitert* w = nullptr;
    QStringList meldungen;
    Antwort antwort = Antwort::Ja;

    void SetUp() override
    {
        StandardwerteSetzen();
        einstellungen().Auswahlliste = 1;
        einstellungen().AutoCompleteVerwenden = 0;
        Index& idx = hauptIndex();
        idx = Index();
        Hinzu(idx, "/m/1.mp3", Lied("Beatles", "Help"));
        Hinzu(idx, "/m/2.mp3", Lied("The Beatles", "Yesterday"));
        Hinzu(idx, "/m/3.mp3", Lied("Stones", "Angie"));
        Hinzu(idx, "/m/4.mp3", Lied("Beatles", "Help!"));
        Hinzu(idx, "/m/5.mp3", LeereMedienInfo()); // no tag at all
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        DienstSetzen<MeldungsDienst>([this](const Meldung& m) {
            meldungen << m.text;
            return m.knöpfe == Knöpfe::OK ? Antwort::OK : antwort;
        });
        f = std::make_unique<frmMain>();
        f->IndexZustandAnzeigen();
        // As before the first search (that one leaves its own query behind).
        suchZustand().suchbegriffe = Suchbegriffe();
        w = new frmSucheErweitert(f.get());
        w->Vorbereiten();
        w->show();
    }
    void TearDown() override
    {
        f.reset();
        DienstSetzen<MeldungsDienst>(nullptr);
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
    }

    // Fills the query dialog once it runs modally and presses its OK.
    void imDialog(std::function<void(frmSucheErweitertHinzufügen*)> schritte)
    {
        QTimer::singleShot(0, [this, schritte] {
            frmSucheErweitertHinzufügen* d = w->dialog();
            ASSERT_TRUE(d->isVisible());
            schritte(d);
            if (d->isVisible())
                d->cmdOk->click();
        });
    }
    void abfrageNeu(const QString& feld, const QString& text, int muss)
    {
        imDialog([=](frmSucheErweitertHinzufügen* d) {
            d->lstSucheArt->setCurrentItem(d->lstSucheArt->findItems(feld, Qt::MatchExactly).value(0));
            d->txtSucheBegriff->setText(text);
            d->cboSucheMussDarfNicht->setCurrentIndex(muss);
        });
        w->cmdSucheNeu_Click();
    }
    // Lets the main window's delayed search run.
    void sucheAbwarten()
    {
        QElapsedTimer uhr;
        uhr.start();
        while (f->tmrListe->isActive() && uhr.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    std::vector<qint32> treffer() const
    {
        std::vector<qint32> t;
        const Index& idx = hauptIndex();
        for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i)
            if (idx.intSuchErgebnis[size_t(i)] >= 1)
                t.push_back(i);
        return t;
    }
    QStringList zeilen() const
    {
        QStringList z;
        for (int i = 0; i < w->lstSucheAuflistung->count(); ++i)
            z << w->lstSucheAuflistung->item(i)->text();
        return z;
    }
};
} // namespace

TEST_F(SucheErweitert, MussUndDarfNichtÜberMehrereAbfragen)
{
    // "beatl" equals no artist, so no exact hit narrows the first query.
    abfrageNeu("Interpret", "beatl", 0);
    abfrageNeu("Titel", "help", 1);
    EXPECT_EQ(zeilen(), QStringList({"Suche nach 'beatl' im Feld 'Interpret'", "Suche nach 'help' im Feld 'Titel'"}));
    EXPECT_FALSE(w->cmdAbbrechen->isEnabled()) << "the queries are stored at once";
    w->cmdOk_Click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(f->txtSongname->currentText(), "(Mehrere Such-Abfragen)");
    EXPECT_FALSE(f->txtSongname->isEnabled());
    EXPECT_FALSE(f->cboSuche->isEnabled());
    EXPECT_EQ(f->cboSuche->currentIndex(), -1);
    sucheAbwarten();
    EXPECT_EQ(treffer(), std::vector<qint32>{2}) << "Beatles whose title has no 'help'";
    EXPECT_EQ(suchZustand().suchbegriffe.lngSuchbegriffeAnzahl, 2) << "the disabled box leaves the queries alone";
}

TEST_F(SucheErweitert, DarfNichtBehältEinträgeOhneTag)
{
    abfrageNeu("Interpret", "BEATLES", 1);
    w->cmdOk_Click();
    EXPECT_TRUE(f->txtSongname->isEnabled()) << "one query is the simple search";
    EXPECT_EQ(f->cboSuche->currentText(), "Interpret");
    EXPECT_EQ(f->txtSongname->currentText(), "BEATLES");
    sucheAbwarten();
    EXPECT_EQ(treffer(), (std::vector<qint32>{3, 5}));
    EXPECT_EQ(suchZustand().suchbegriffe.strSuchbegriffeOptionen[1], "10") << "the query keeps its option";
}

TEST_F(SucheErweitert, ÄndernSchreibtNurSeineZeileUndVoreinstellungBleibt)
{
    abfrageNeu("Interpret", "a", 0);
    abfrageNeu("Titel", "b", 1);
    abfrageNeu("Album", "c", 0);
    w->lstSucheAuflistung->setCurrentRow(1);
    imDialog([](frmSucheErweitertHinzufügen* d) {
        EXPECT_FALSE(d->bolHinzufügen);
        EXPECT_EQ(d->lngAbfrage, 2);
        EXPECT_EQ(d->lstSucheArt->currentItem()->text(), "Titel");
        EXPECT_EQ(d->txtSucheBegriff->text(), "b");
        EXPECT_EQ(d->cboSucheMussDarfNicht->currentIndex(), 1);
        d->txtSucheBegriff->setText("neu");
        d->cboSucheUndOder->setCurrentIndex(1);
    });
    w->cmdSucheÄndern_Click();
    EXPECT_EQ(zeilen(), QStringList({"Suche nach 'a' im Feld 'Interpret'", "Suche nach 'neu' im Feld 'Titel'",
                                     "Suche nach 'c' im Feld 'Album'"}));
    EXPECT_EQ(suchZustand().suchbegriffe.strSuchbegriffeOptionen[2], "11");
    // A new query starts from the last choices with an empty text.
    imDialog([](frmSucheErweitertHinzufügen* d) {
        EXPECT_TRUE(d->bolHinzufügen);
        EXPECT_EQ(d->txtSucheBegriff->text(), "");
        EXPECT_EQ(d->lstSucheArt->currentItem()->text(), "Titel");
        EXPECT_EQ(d->cboSucheUndOder->currentIndex(), 1);
        d->cmdAbbrechen->click();
    });
    w->cmdSucheNeu_Click();
    EXPECT_EQ(suchZustand().suchbegriffe.lngSuchbegriffeAnzahl, 3) << "cancel stores nothing";
}

TEST_F(SucheErweitert, OhneWahlUndOhneAbfragenGibtEsHinweise)
{
    w->cmdSucheÄndern_Click();
    w->cmdSucheLöschen_Click();
    w->cmdOk_Click();
    EXPECT_EQ(meldungen, QStringList({"Bitte wählen Sie eine Suchaufabe.", "Bitte wählen Sie eine Suchaufabe.",
                                      "Bitte fügen Sie mindestens eine Such-Abfrage hinzu."}));
    EXPECT_TRUE(w->isVisible()) << "OK without a query keeps the window open";
    EXPECT_TRUE(w->cmdAbbrechen->isEnabled());
    w->cmdAbbrechen->click();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(SucheErweitert, TitelleisteNachÄnderungenWirktWieOk)
{
    abfrageNeu("Interpret", "beatl", 0);
    abfrageNeu("Titel", "help", 1);
    w->cmdOk_Click();
    sucheAbwarten();
    w->Vorbereiten();
    w->show();
    // Deleting the second query, then closing by the title bar.
    w->lstSucheAuflistung->setCurrentRow(1);
    antwort = Antwort::Nein;
    w->cmdSucheLöschen_Click();
    EXPECT_EQ(zeilen().size(), 2) << "No keeps the query";
    EXPECT_TRUE(w->cmdAbbrechen->isEnabled());
    antwort = Antwort::Ja;
    w->cmdSucheLöschen_Click();
    EXPECT_EQ(zeilen(), QStringList({"Suche nach 'beatl' im Feld 'Interpret'"}));
    EXPECT_FALSE(w->cmdAbbrechen->isEnabled());
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(f->txtSongname->isEnabled()) << "the search box shows what is searched";
    EXPECT_EQ(f->txtSongname->currentText(), "beatl");
    sucheAbwarten();
    EXPECT_EQ(treffer(), (std::vector<qint32>{1, 2, 4}));
}

TEST_F(SucheErweitert, TitelleisteOhneÄnderungenÄndertNichts)
{
    f->txtSongname->setEditText("Stones");
    sucheAbwarten();
    w->Vorbereiten();
    EXPECT_EQ(zeilen(), QStringList({"Suche nach 'Stones' im Feld '(Standardsuche)'"}));
    w->close();
    EXPECT_EQ(f->txtSongname->currentText(), "Stones");
    EXPECT_EQ(treffer(), std::vector<qint32>{3});
}

TEST_F(SucheErweitert, AlleAbfragenGelöschtUndGeschlossenHebtDieSucheAuf)
{
    abfrageNeu("Interpret", "beatles", 0);
    abfrageNeu("Titel", "help", 0);
    w->cmdOk_Click();
    sucheAbwarten();
    w->Vorbereiten();
    w->show();
    for (int i = 0; i < 2; ++i) {
        w->lstSucheAuflistung->setCurrentRow(0);
        w->cmdSucheLöschen_Click();
    }
    w->close();
    EXPECT_TRUE(f->txtSongname->isEnabled());
    EXPECT_TRUE(f->cboSuche->isEnabled());
    EXPECT_EQ(f->cboSuche->currentIndex(), 0);
    EXPECT_EQ(f->txtSongname->currentText(), "");
    sucheAbwarten();
    EXPECT_EQ(treffer().size(), 5u);
}

TEST_F(SucheErweitert, WertelisteUndVervollständigung)
{
    einstellungen().AutoCompleteVerwenden = 1;
    imDialog([](frmSucheErweitertHinzufügen* d) {
        // The user picks the field and a value by the mouse.
        ZeileKlicken(d->lstSucheArt, d->lstSucheArt->row(d->lstSucheArt->findItems("Interpret", Qt::MatchExactly).value(0)));
        ASSERT_EQ(d->lstSucheAuswahl->count(), 3);
        EXPECT_EQ(d->lstSucheAuswahl->item(0)->text(), "Beatles");
        d->txtSucheBegriff->clear();
        d->txtSucheBegriff->insert("st");
        EXPECT_EQ(d->txtSucheBegriff->text(), "Stones");
        EXPECT_EQ(d->txtSucheBegriff->selectedText(), "ones");
        d->txtSucheBegriff->backspace(); // removes the completed tail
        EXPECT_EQ(d->txtSucheBegriff->text(), "St") << "no completion after a deletion";
        ZeileKlicken(d->lstSucheAuswahl, 2);
        EXPECT_EQ(d->txtSucheBegriff->text(), "The Beatles");
        ZeileKlicken(d->lstSucheArt, 0);
        EXPECT_EQ(d->lstSucheAuswahl->count(), 0) << "(Standardsuche) has no value list";
        d->cmdAbbrechen->click();
    });
    w->cmdSucheNeu_Click();
}

TEST(SucheErweitertLogik, OptionscodeUndSuchfelder)
{
    int m = -1, o = -1;
    SuchOptionenLesen("10", m, o);
    EXPECT_EQ(m, 1);
    EXPECT_EQ(o, 0);
    SuchOptionenLesen("x", m, o); // a broken code never picks a missing item
    EXPECT_EQ(m, 0);
    EXPECT_EQ(o, 0);
    EXPECT_EQ(SuchOptionenCode(1, 1), "11");
    EXPECT_EQ(SuchOptionenCode(-1, 7), "00");

    const QStringList felder{"(Standardsuche)", "Interpret", "Titel"};
    Suchbegriffe s;
    SuchbegriffeHinzufügen(s, "x", "Pfad", "00");
    SuchfelderZustand z = SuchfelderZustandErmitteln(s, felder);
    EXPECT_TRUE(z.aktiv);
    EXPECT_EQ(z.feldIndex, -2) << "a field the box does not offer keeps its choice";
    EXPECT_EQ(z.text, "x");
    SuchbegriffeHinzufügen(s, "y", "Titel", "10");
    z = SuchfelderZustandErmitteln(s, felder);
    EXPECT_FALSE(z.aktiv);
    EXPECT_EQ(z.feldIndex, -1);
    EXPECT_EQ(z.text, "(Mehrere Such-Abfragen)");
}
