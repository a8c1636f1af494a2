#include "support/ListenHilfen.h"
#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/Liste.h"
#include "mainwindow/Suche.h"
#include "mainwindow/frmMain.h"
#include "platform/Registry.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class Hauptfenster : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<frmMain> f;
    QStringList meldungen;
    Antwort antwort = Antwort::Ja;
    int speichern = 0;
    bool speichernGelingt = true;
    int beendet = 0;
    int suchen = 0; // refills of the list

    void SetUp() override
    {
        Registry::DateiSetzen(dir.filePath(QStringLiteral("k.ini")));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().BeendenReaktion = 2;
        einstellungen().AutoCompleteVerwenden = 0;
        Index& idx = hauptIndex();
        idx = Index();
        Hinzu(idx, QStringLiteral("/musik/a/eins.mp3"), Lied(QStringLiteral("Beatles"), QStringLiteral("Help")));
        Hinzu(idx, QStringLiteral("/musik/a/zwei.mp3"), Lied(QStringLiteral("Beatles"), QStringLiteral("Yesterday")));
        Hinzu(idx, QStringLiteral("/musik/b/drei.mp3"), Lied(QStringLiteral("Stones"), QStringLiteral("Angie")));
        Hinzu(idx, QStringLiteral("/musik/a/c/vier.mp3"), LeereMedienInfo());
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        listenZustand().bolMarkierungenBehalten = true;
        DienstSetzen<MeldungsDienst>([this](const Meldung& m) {
            meldungen << m.text;
            return m.knöpfe == Knöpfe::OK ? Antwort::OK : antwort;
        });
        neuesFenster();
    }
    // A main window as start-up leaves it, on the index as it is.
    void neuesFenster()
    {
        f.reset();
        f = std::make_unique<frmMain>();
        f->IndexSpeichern = [this] {
            ++speichern;
            return speichernGelingt;
        };
        f->ProgrammBeenden = [this] { ++beendet; };
        f->resize(900, 600);
        f->show();
        f->IndexZustandAnzeigen();
        QObject::connect(f->modell(), &QAbstractItemModel::modelReset, [this] { ++suchen; });
        hauptIndex().bolIndexGeändert = false;
        meldungen.clear();
    }
    void TearDown() override
    {
        f.reset();
        DienstSetzen<MeldungsDienst>(nullptr);
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
        Registry::DateiSetzen(QString());
    }

    static void warten(int ms)
    {
        QEventLoop schleife;
        QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
        schleife.exec();
    }
    std::vector<qint32> zeilen() const { return f->modell()->Zeilen(); }
    std::vector<qint32> auswahl() const
    {
        const ListenZustand& z = listenZustand();
        return std::vector<qint32>(z.lngAuswahlEintrag.begin() + 1, z.lngAuswahlEintrag.begin() + 1 + z.lngAuswahlAnzahl);
    }
    void wählen(std::vector<int> z)
    {
        ZeilenAuswählen(*f->lstSongs->selectionModel(), *f->modell(), z);
        f->AuswahlErmitteln();
    }
    void taste(int key, Qt::KeyboardModifiers zusatz = Qt::NoModifier)
    {
        QKeyEvent druck(QEvent::KeyPress, key, zusatz);
        QApplication::sendEvent(f->lstSongs, &druck);
        QKeyEvent los(QEvent::KeyRelease, key, zusatz);
        QApplication::sendEvent(f->lstSongs, &los);
    }
    // The list column that shows `feld`, or -1.
    int spalte(const QString& feld) const
    {
        for (int j = 0; j < f->modell()->columnCount(); ++j)
            if (f->modell()->SpaltenFeldName(j) == feld)
                return j;
        return -1;
    }
    int schließen()
    {
        int abbrechen = 0;
        f->Form_QueryUnload(abbrechen, 0);
        return abbrechen;
    }
};

TEST_F(Hauptfenster, TypingSearchesOnceWhenTheTimerFires)
{
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2, 3, 4}));
    const int vorher = suchen;
    for (const char* t : {"b", "be", "bea"}) {
        f->txtSongname->setEditText(QString::fromUtf8(t));
        warten(50);
    }
    EXPECT_EQ(suchen, vorher) << "nothing before the delay";
    EXPECT_TRUE(f->tmrListe->isActive());
    warten(700);
    EXPECT_EQ(suchen, vorher + 1);
    EXPECT_FALSE(f->tmrListe->isActive());
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2}));
    EXPECT_EQ(suchZustand().suchbegriffe.strSuchbegriffeText[1], QStringLiteral("bea"));
    EXPECT_EQ(f->lblDateiAnzahl->text(), QStringLiteral("4 Datei(en) im Index\n2 Datei(en) gefunden"));
    // An empty text searches at once.
    f->txtSongname->setEditText(QString());
    EXPECT_EQ(suchen, vorher + 2);
    EXPECT_EQ(zeilen().size(), 4u);
    // Choosing a field searches again, unless told not to with an empty text.
    f->cboSuche->setCurrentIndex(3); // "Titel"
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2, 3}));
    einstellungen().SucheNichtBeiAuswahl = 1;
    f->cboSuche->setCurrentIndex(0);
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2, 3})) << "no search";
}

TEST_F(Hauptfenster, TheSongMenuSearchReplacesSeveralQueries)
{
    // Two queries of the extended search: the boxes are disabled.
    Suchbegriffe& s = suchZustand().suchbegriffe;
    ASSERT_TRUE(SuchbegriffeZurücksetzen(s));
    ASSERT_TRUE(SuchbegriffeHinzufügen(s, QStringLiteral("Beatles"), QStringLiteral("Interpret"), QStringLiteral("00")));
    ASSERT_TRUE(SuchbegriffeHinzufügen(s, QStringLiteral("Help"), QStringLiteral("Titel"), QStringLiteral("00")));
    f->cboSuche->setEnabled(false);
    f->txtSongname->setEnabled(false);
    f->IndexZustandAnzeigen(); // a load keeps them disabled
    EXPECT_FALSE(f->txtSongname->isEnabled());

    ASSERT_EQ(zeilen(), (std::vector<qint32>{1}));

    wählen({0});
    f->mnu_song_allesongsvoninterpret->trigger();
    f->tmrListe_Timer();
    EXPECT_EQ(s.lngSuchbegriffeAnzahl, 1);
    EXPECT_EQ(s.strSuchbegriffeText[1], QStringLiteral("Beatles"));
    EXPECT_TRUE(f->txtSongname->isEnabled());
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2}));
}

TEST_F(Hauptfenster, CompletionFromTheValueListAndBackspace)
{
    einstellungen().AutoCompleteVerwenden = 1;
    f->cboSuche->setCurrentIndex(1); // "Interpret"
    EXPECT_EQ(f->Werteliste(), (QStringList{QStringLiteral("Beatles"), QStringLiteral("Stones")}));
    QLineEdit* le = f->txtSongname->lineEdit();
    le->setText(QStringLiteral("bea"));
    EXPECT_EQ(le->text(), QStringLiteral("Beatles"));
    EXPECT_EQ(le->selectedText(), QStringLiteral("tles"));
    EXPECT_EQ(le->cursorPosition(), 3);
    f->txtSongname_KeyDown(Qt::Key_Backspace);
    le->setText(QStringLiteral("bea"));
    EXPECT_EQ(le->text(), QStringLiteral("bea")) << "no completion right after a deletion";
    le->setText(QStringLiteral("st"));
    EXPECT_EQ(le->text(), QStringLiteral("Stones"));
    // A refresh for others never completes.
    le->setText(QString());
    suchZustand().bolSucheGesperrt = true;
    le->setText(QStringLiteral("s"));
    suchZustand().bolSucheGesperrt = false;
    f->SucheAktualisieren(false);
    EXPECT_EQ(le->text(), QStringLiteral("s"));
}

TEST_F(Hauptfenster, TheSelectionSurvivesARefill)
{
    wählen({1, 3});
    EXPECT_EQ(auswahl(), (std::vector<qint32>{2, 4}));
    f->txtSongname->setEditText(QStringLiteral("a"));
    f->tmrListe_Timer(); // entries 1, 2 (/musik/a), 3 ("Angie"), 4
    hauptIndex().IndexDaten[4].Mp3_ID3v1_Titel = QStringLiteral("x");
    SucheAktualisieren(false);
    EXPECT_EQ(auswahl(), (std::vector<qint32>{2, 4}));
    EXPECT_EQ(listenZustand().lngAuswahlPosition[2], 4);
    // Rows of entries that are no longer hits lose their mark.
    f->txtSongname->setEditText(QStringLiteral("zwei"));
    f->tmrListe_Timer();
    EXPECT_EQ(auswahl(), (std::vector<qint32>{2}));
    listenZustand().bolMarkierungenBehalten = false;
    SucheAktualisieren(false);
    EXPECT_TRUE(auswahl().empty());
}

TEST_F(Hauptfenster, StaleRowsAreCheckedAgainstTheIndex)
{
    wählen({0, 3});
    hauptIndex().EinträgeEntfernen({2, 3}); // the list still shows four rows
    f->AuswahlErmitteln();
    EXPECT_EQ(auswahl(), (std::vector<qint32>{1})) << "row 4 names an entry that is gone";
    EXPECT_FALSE(f->modell()->data(f->modell()->index(3, 0)).isValid());
    f->BeschreibungAktualisieren();
    f->lstSongs->viewport()->repaint();
    f->ListeErstellenAktualisieren(1, 10);
    SucheAktualisieren(false);
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2}));
}

TEST_F(Hauptfenster, NewEntriesAreMarked)
{
    wählen({0});
    Hinzu(hauptIndex(), QStringLiteral("/n/5.mp3"));
    Hinzu(hauptIndex(), QStringLiteral("/n/6.mp3"));
    SucheAktualisieren(false);
    NeueInListeMarkieren(2);
    EXPECT_EQ(auswahl(), (std::vector<qint32>{5, 6}));
    NeueInListeMarkieren(7); // more than the list shows: nothing changes
    EXPECT_EQ(auswahl(), (std::vector<qint32>{5, 6}));
}

TEST_F(Hauptfenster, ColumnClicksSortTheIndex)
{
    const int titel = spalte(QStringLiteral("Titel"));
    ASSERT_GE(titel, 0);
    wählen({0});
    f->lstSongs_ColumnClick(titel);
    const Index& idx = hauptIndex();
    EXPECT_EQ(idx.strIndexPfad[1], QStringLiteral("/musik/a/c/vier.mp3")) << "no title first";
    EXPECT_EQ(idx.IndexDaten[2].Mp3_ID3v1_Titel, QStringLiteral("Angie"));
    EXPECT_EQ(idx.strIndexPfad[2], QStringLiteral("/musik/b/drei.mp3"));
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(listenZustand().lngAuswahlAnzahl, 0) << "entry numbers changed";
    f->lstSongs_ColumnClick(titel);
    EXPECT_EQ(idx.IndexDaten[1].Mp3_ID3v1_Titel, QStringLiteral("Yesterday"));
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2, 3, 4}));

    // A column without a title cannot be sorted.
    hauptIndex().strSpaltenNutzerformat.clear();
    QStringList items;
    for (int k = 1; k <= 30; ++k)
        items << QStringLiteral("%1=0=0").arg(k);
    items[18] = QStringLiteral("19=1000=1");
    items[2] = QStringLiteral("3=1000=2");
    hauptIndex().strSpalten = items.join(QLatin1Char(','));
    f->SpaltenAnpassen();
    ASSERT_EQ(f->modell()->columnCount(), 2);
    EXPECT_EQ(f->modell()->headerData(1, Qt::Horizontal).toString(), QString());
    f->lstSongs_ColumnClick(1);
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Diese Spalte kann nicht sortiert werden.")});
}

namespace {
// A progress display whose user cancels at the first report.
class SofortAbbrechen : public FortschrittAnzeige {
public:
    void Zeigen(QObject*, const FortschrittZustand&) override {}
    void Verbergen(QObject*) override {}
    void Aktualisieren(const FortschrittZustand&) override { FortschrittAbbrechen(); }
};
} // namespace

TEST_F(Hauptfenster, ACancelledColumnSortSaysNothing)
{
    const int titel = spalte(QStringLiteral("Titel"));
    ASSERT_GE(titel, 0);
    einstellungen().StartBildschirm = 1;
    SofortAbbrechen anzeige;
    DienstSetzen<FortschrittAnzeigeDienst>(&anzeige);
    f->lstSongs_ColumnClick(titel);
    DienstSetzen<FortschrittAnzeigeDienst>(nullptr);
    EXPECT_EQ(hauptIndex().strIndexPfad[1], QStringLiteral("/musik/a/eins.mp3")) << "nothing moved";
    EXPECT_FALSE(hauptIndex().bolIndexGeändert);
    EXPECT_EQ(f->statusSchreiber()->strStatusText, QString());

    f->lstSongs_ColumnClick(titel);
    EXPECT_EQ(f->statusSchreiber()->strStatusText, QStringLiteral("Die Liste wurde sortiert nach der Spalte 'Titel'"));
}

TEST_F(Hauptfenster, TheLayoutTextSurvivesALoadAndClose)
{
    Index& idx = hauptIndex();
    QStringList items;
    for (int k = 1; k <= 30; ++k)
        items << QStringLiteral("%1=0=0").arg(k);
    items[5] = QStringLiteral("6=1400=1");
    items[2] = QStringLiteral("3=2003=2");
    items[18] = QStringLiteral("19=1000=3");
    const QString text = items.join(QLatin1Char(','));
    idx.strSpalten = text;
    idx.intSpaltenGitter = 1;
    neuesFenster(); // the designed list receives the layout
    QStringList titel;
    for (int j = 0; j < f->modell()->columnCount(); ++j)
        titel << f->modell()->headerData(j, Qt::Horizontal).toString();
    EXPECT_EQ(titel, (QStringList{QStringLiteral("Album"), QStringLiteral("Dateiname"), QStringLiteral("Interpret - Titel")}));
    EXPECT_TRUE(f->lstSongs->showGrid());
    idx.bolIndexGeändert = false;
    EXPECT_EQ(schließen(), 0);
    EXPECT_EQ(idx.strSpalten, text);
    EXPECT_FALSE(idx.bolIndexGeändert);
    EXPECT_TRUE(meldungen.isEmpty()) << "no save question";
    EXPECT_EQ(beendet, 1);
    EXPECT_EQ(speichern, 0);
}

TEST_F(Hauptfenster, TheSaveQuestionDecidesTheClose)
{
    Index& idx = hauptIndex();
    const QString frage = QStringLiteral("Die Indexdatei wurde geändert.\nMöchten Sie diese speichern?");
    idx.bolIndexGeändert = true;
    antwort = Antwort::Abbrechen;
    f->Tag = QStringLiteral("1");
    EXPECT_EQ(schließen(), 1);
    EXPECT_EQ(meldungen, QStringList{frage});
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(f->Tag, QStringLiteral("0"));
    EXPECT_EQ(speichern + beendet, 0);

    antwort = Antwort::Nein;
    EXPECT_EQ(schließen(), 0);
    EXPECT_EQ(speichern, 0);
    EXPECT_EQ(beendet, 1);

    antwort = Antwort::Ja;
    einstellungen().WinampLautstärke = 3;
    f->hscrlVolume->setValue(200);
    EXPECT_EQ(schließen(), 0);
    EXPECT_EQ(speichern, 1);
    EXPECT_EQ(beendet, 2);
    QVariant v;
    ASSERT_TRUE(Registry::ValueLesen(QStringLiteral("WinampLautstärke"), v));
    EXPECT_EQ(v.toInt(), 200);

    // A failed save keeps the program running and writes no settings.
    Registry::ValueSchreiben(QStringLiteral("WinampLautstärke"), 5);
    speichernGelingt = false;
    f->hide();
    EXPECT_EQ(schließen(), 1);
    EXPECT_EQ(speichern, 2);
    EXPECT_EQ(beendet, 2);
    EXPECT_TRUE(f->isVisible());
    ASSERT_TRUE(Registry::ValueLesen(QStringLiteral("WinampLautstärke"), v));
    EXPECT_EQ(v.toInt(), 5);

    // With automatic saving nothing is asked; without a loaded index nothing is saved.
    meldungen.clear();
    speichernGelingt = true;
    einstellungen().DateiAutomatischSpeichern = 1;
    EXPECT_EQ(schließen(), 0);
    EXPECT_EQ(speichern, 3);
    idx.bolIndexGeladen = false;
    EXPECT_EQ(schließen(), 0);
    EXPECT_EQ(speichern, 3);
    EXPECT_TRUE(meldungen.isEmpty());
}

TEST_F(Hauptfenster, AFailureWhileClosingCancelsIt)
{
    hauptIndex().bolIndexGeändert = true;
    f->IndexSpeichern = []() -> bool { throw std::runtime_error("kaputt"); };
    EXPECT_EQ(schließen(), 1);
    ASSERT_EQ(meldungen.size(), 2);
    EXPECT_TRUE(meldungen[1].contains(QStringLiteral("kaputt (Fehler "))) << meldungen[1].toStdString();
    EXPECT_EQ(beendet, 0);
}

TEST_F(Hauptfenster, ExitReactionsMinimiseInsteadOfClosing)
{
    for (int reaktion : {1, 3}) {
        einstellungen().BeendenReaktion = reaktion;
        f->showNormal();
        EXPECT_EQ(schließen(), 1) << reaktion;
        EXPECT_TRUE(f->isMinimized()) << "no tray here: the window is minimised, never lost";
        EXPECT_FALSE(f->isHidden());
    }
    // An explicit quit skips the reaction.
    f->Tag = QStringLiteral("1");
    EXPECT_EQ(schließen(), 0);
    EXPECT_EQ(beendet, 1);
    EXPECT_EQ(einstellungen().FensterMax, 0);
}

TEST_F(Hauptfenster, TheDescriptionBarFollowsTheSelection)
{
    f->BeschreibungAktualisieren();
    EXPECT_TRUE(f->lblIndexdateiUntertitel1->text().startsWith(QStringLiteral("Markieren Sie eine Datei")));
    EXPECT_TRUE(f->fraNurBeiAusgewählt->isHidden());
    wählen({0});
    f->BeschreibungAktualisieren();
    EXPECT_EQ(f->lblIndexdateiUntertitel1->text(), QStringLiteral("eins.mp3"));
    EXPECT_EQ(f->lblIndexDateiUntertitel2->text(), QStringLiteral("/musik/a"));
    EXPECT_FALSE(f->fraNurBeiAusgewählt->isHidden());
    wählen({0, 1});
    f->BeschreibungAktualisieren();
    EXPECT_EQ(f->lblIndexdateiUntertitel1->text(), QStringLiteral("Es wurden 2 Dateien gewählt."));
    EXPECT_EQ(f->lblIndexDateiUntertitel2->text(), QStringLiteral("/musik/a"));
    wählen({0, 3}); // a folder above its own sub-folder: no common folder
    f->BeschreibungAktualisieren();
    EXPECT_EQ(f->lblIndexDateiUntertitel2->text(), QString());
    wählen({0, 2});
    f->BeschreibungAktualisieren();
    EXPECT_EQ(f->lblIndexDateiUntertitel2->text(), QString());
    hauptIndex() = Index();
    hauptIndex().bolIndexGeladen = true;
    SucheAktualisieren(false);
    EXPECT_EQ(f->lblIndexdateiUntertitel1->text(), QStringLiteral("Fügen Sie Dateien zum Index hinzu, um dieses Programm zu nutzen."));
    EXPECT_EQ(f->lblDateiAnzahl->text(), QStringLiteral("0 Datei(en) im Index\n0 Datei(en) gefunden"));
}

TEST_F(Hauptfenster, MenusFollowTheSelectionAndWhatIsAvailable)
{
    wählen({0});
    f->MenüsAktualisieren(false);
    EXPECT_TRUE(f->mnu_song_allesongsmittitel->isEnabled());
    EXPECT_TRUE(f->mnu_song_zwischenablage->isEnabled());
    EXPECT_FALSE(f->mnu_song_InfosInternet->isEnabled()) << "no web search here yet";
    EXPECT_TRUE(f->mnu_wähleabhier->isEnabled());
    wählen({3}); // no ID3v1 tag
    f->MenüsAktualisieren(false);
    EXPECT_FALSE(f->mnu_song_allesongsmittitel->isEnabled());
    EXPECT_TRUE(f->mnu_song_allesongsimordner->isEnabled());
    EXPECT_TRUE(f->mnu_song_zwischenablage->isEnabled());
    wählen({});
    f->MenüsAktualisieren(false);
    EXPECT_FALSE(f->mnu_song_allesongsimordner->isEnabled());
    EXPECT_FALSE(f->mnu_wählebishier->isEnabled());

    // The song menu's search over the selected entry.
    wählen({1});
    f->MenüsAktualisieren(false);
    f->mnu_song_allesongsvoninterpret->trigger();
    EXPECT_EQ(f->cboSuche->currentText(), QStringLiteral("Interpret"));
    warten(700);
    EXPECT_EQ(zeilen(), (std::vector<qint32>{1, 2}));
}

TEST_F(Hauptfenster, ListKeysAndSelectionCommands)
{
    int entfernt = 0, gespielt = 0;
    f->BefehlVerbinden(f->cmdDateiEntfernen, [&] { ++entfernt; });
    f->BefehlVerbinden(f->cmdEintragAbspielen, [&] { ++gespielt; });
    taste(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(listenZustand().lngAuswahlAnzahl, 4);
    EXPECT_TRUE(listenZustand().bolPlaylistLeeren);
    taste(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(listenZustand().bolPlaylistLeeren);
    taste(Qt::Key_Delete);
    EXPECT_FALSE(listenZustand().bolPlaylistLeeren);
    EXPECT_EQ(entfernt, 1);
    taste(Qt::Key_Return);
    EXPECT_EQ(gespielt, 1);
    // Commands nobody carries out stay disabled and do nothing.
    EXPECT_FALSE(f->cmdMp3TagAnzeigen->isEnabled());
    einstellungen().BeiDoppelklick = 3;
    f->lstSongs_DblClick();

    wählen({1});
    f->mnu_wähleumkehren->trigger();
    EXPECT_EQ(auswahl(), (std::vector<qint32>{1, 3, 4}));
    wählen({1});
    f->mnu_wähleabhier->trigger();
    EXPECT_EQ(auswahl(), (std::vector<qint32>{2, 3, 4}));
    wählen({2});
    f->mnu_wählebishier->trigger();
    EXPECT_EQ(auswahl(), (std::vector<qint32>{1, 2, 3}));
    f->mnu_wählekeine->trigger();
    EXPECT_TRUE(auswahl().empty());
}

} // namespace

// A click on one row of a selection leaves that row alone selected, and the
// program's selection (which every command acts on) says so at once: the view
// applies such a click on release. A right click keeps the selection for its menu.
TEST_F(Hauptfenster, AClickIntoASelectionLeavesOnlyTheClickedRowSelected)
{
    for (Qt::MouseButton knopf : {Qt::LeftButton, Qt::RightButton}) {
        wählen({0, 1});
        if (knopf == Qt::RightButton)
            QTimer::singleShot(0, [] { if (QWidget* m = QApplication::activePopupWidget()) m->close(); });
        QTest::mouseClick(f->lstSongs->viewport(), knopf, {}, f->lstSongs->visualRect(f->modell()->index(1, 0)).center());
        const auto erwartet = knopf == Qt::LeftButton ? std::vector{zeilen()[1]} : std::vector{zeilen()[0], zeilen()[1]};
        EXPECT_EQ(auswahl(), erwartet) << int(knopf);
        EXPECT_EQ(f->lblIndexdateiUntertitel1->text().startsWith("Es wurden"), erwartet.size() > 1) << int(knopf);
    }
}
