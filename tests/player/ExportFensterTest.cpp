#include "SpielerTestHilfen.h"

#include "core/Funktionen.h"
#include "player/Exportieren.h"
#include "player/frmAutoDJ.h"
#include "player/frmExportieren.h"
#include "platform/Klicks.h"
#include "support/IndexDateiHilfen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class ExportFensterTest : public SpielerTest {
protected:
    Index gesichertIndex;

    void SetUp() override
    {
        SpielerTest::SetUp();
        gesichertIndex = hauptIndex();
        Index& idx = hauptIndex();
        idx = Index();
        MedienInfo m = TagInfo("Beatles", "Help");
        m.Datei_AngefordertAnzahl = 3;
        m.Datei_AngefordertGespieltAm = "1.2.2020 3:04:05";
        GenreByteSetzen(m, 17);
        idx.EintragAnhängen(ordner.filePath("help.mp3"), m);
        m = TagInfo("Stones", "Angie");
        m.Datei_AngefordertAnzahl = 5;
        GenreByteSetzen(m, 17);
        idx.EintragAnhängen(ordner.filePath("angie.mp3"), m);
        m = TagInfo("Abba", "SOS");
        GenreByteSetzen(m, 13);
        idx.EintragAnhängen(ordner.filePath("sos.mp3"), m);
    }
    void TearDown() override
    {
        hauptIndex() = gesichertIndex;
        SpielerTest::TearDown();
    }
};

TEST_F(ExportFensterTest, VorbereitenAusDenEinstellungen)
{
    Einstellungen& e = einstellungen();
    e.ExportDatei = ordner.filePath("liste.txt");
    e.ExportModus = 0;
    e.ExportUntermodus = 1;
    e.ExportStriche = 0;
    frmExportieren f({1}, {"Titel"});
    f.Vorbereiten();
    EXPECT_TRUE(f.optText->isChecked());
    EXPECT_FALSE(f.optHtml->isChecked() || f.optPlayliste->isChecked());
    EXPECT_FALSE(f.fraTextOptionen->isHidden());
    EXPECT_TRUE(f.optTextTabulator->isChecked());
    EXPECT_FALSE(f.chkTextAnführungszeichen->isChecked());
    EXPECT_EQ(f.txtDatei->text(), ordner.filePath("liste.csv")) << "the stored .txt shows as .csv";

    f.optHtml->setChecked(true);
    EXPECT_TRUE(f.fraTextOptionen->isHidden());
    EXPECT_EQ(f.txtDatei->text(), ordner.filePath("liste.htm"));
    f.txtDatei->setText("ohne_endung");
    f.optPlayliste->setChecked(true);
    EXPECT_EQ(f.txtDatei->text(), "ohne_endung");

    e.ExportModus = 2;
    e.ExportDatei = "/x/liste.pls";
    frmExportieren g({1}, {});
    g.Vorbereiten();
    EXPECT_TRUE(g.optPlayliste->isChecked());
    EXPECT_EQ(g.txtDatei->text(), "/x/liste.m3u");
    EXPECT_TRUE(g.fraTextOptionen->isHidden());

    // An unknown separator setting chooses none.
    e.ExportModus = 0;
    e.ExportUntermodus = 7;
    frmExportieren h({1}, {});
    h.Vorbereiten();
    for (QRadioButton* o : {h.optTextKomma, h.optTextTabulator, h.optTextSemikolon, h.optTextLeerzeichen})
        EXPECT_FALSE(o->isChecked());
    EXPECT_EQ(h.findChild<QRadioButton*>("optTextSemikolon"), h.optTextSemikolon);
}

TEST_F(ExportFensterTest, OkPrüftSpeichertUndSchreibt)
{
    frmExportieren f({2, 1}, {"Interpret", "Titel"});
    f.Vorbereiten();
    f.txtDatei->clear();
    f.cmdOk_Click();
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_EQ(meldungen[0].text, "Bitte geben Sie einen Dateinamen ein.");

    const QString pfad = ordner.filePath("liste.csv");
    f.txtDatei->setText(pfad);
    f.optText->setChecked(true);
    for (QRadioButton* o : {f.optTextKomma, f.optTextTabulator, f.optTextSemikolon, f.optTextLeerzeichen}) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    f.cmdOk_Click();
    EXPECT_EQ(meldungen.back().text, "Bitte wählen Sie das Unterformat zur Auswahl 'Text'.");

    f.optTextSemikolon->setChecked(true);
    f.chkTextAnführungszeichen->setChecked(true);
    antworten = {Antwort::Abbrechen};
    f.cmdOk_Click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    QFile datei(pfad);
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
    EXPECT_EQ(datei.readAll(), "\xEF\xBB\xBF\"Interpret\";\"Titel\"\r\n\"Stones\";\"Angie\"\r\n\"Beatles\";\"Help\"\r\n");
    const Einstellungen& e = einstellungen();
    EXPECT_EQ(e.ExportModus, 0);
    EXPECT_EQ(e.ExportUntermodus, 2);
    EXPECT_EQ(e.ExportStriche, 1);
    EXPECT_EQ(e.ExportDatei, pfad);

    // An existing file: the question; "Nein" writes nothing.
    const size_t vorher = meldungen.size();
    frmExportieren g({3}, {"Titel"});
    g.Vorbereiten();
    g.optHtml->setChecked(true);
    g.txtDatei->setText(pfad);
    antworten = {Antwort::Nein};
    g.cmdOk_Click();
    ASSERT_EQ(meldungen.size(), vorher + 1);
    EXPECT_EQ(meldungen.back().text, "Die Datei '" + pfad + "' existiert bereits.\nMöchten Sie diese überschreiben?");
    EXPECT_EQ(meldungen.back().symbol, Symbol::Ausruf);
    EXPECT_NE(g.result(), QDialog::Accepted);
    EXPECT_EQ(einstellungen().ExportModus, 1) << "stored before the question";

    // No format at all.
    frmExportieren h({3}, {});
    h.txtDatei->setText(pfad);
    h.cmdOk_Click();
    EXPECT_EQ(meldungen.back().text, "Bitte wählen Sie ein Export-Format.");
}

// The quotes and the separator chosen for text, ticked or not, stay so
// through exports of the other formats: the user exports text, then HTML
// and a playlist, then text again without touching its options.
TEST_F(ExportFensterTest, TextoptionenÜberlebenAndereFormate)
{
    using F = frmExportieren;
    const std::pair<QRadioButton* F::*, const char*> exporte[] = {
        {&F::optText, "l.csv"}, {&F::optHtml, "l.htm"}, {&F::optPlayliste, "l.m3u"}, {&F::optText, "m.csv"}};
    const struct {
        int striche;
        QRadioButton* F::*trenner;
        int untermodus;
        QByteArray kopf;
    } runden[] = {{1, &F::optTextTabulator, 1, "\"Interpret\"\t\"Titel\""},
                  {0, &F::optTextLeerzeichen, 3, "Interpret Titel"},
                  {0, &F::optTextKomma, 0, "Interpret,Titel"}};
    for (const auto& r : runden) {
        einstellungen().ExportModus = 0;
        einstellungen().ExportUntermodus = 2;
        einstellungen().ExportStriche = r.striche;
        for (const auto& [format, datei] : exporte) {
            SCOPED_TRACE(std::to_string(r.untermodus) + " " + datei);
            frmExportieren f({1}, {"Interpret", "Titel"});
            f.Vorbereiten();
            f.show();
            Klicken(f.*format);
            ASSERT_TRUE((f.*format)->isChecked());
            if (datei == exporte[0].second)
                Klicken(f.*r.trenner);
            else if (format == &F::optText)
                EXPECT_TRUE((f.*r.trenner)->isChecked()) << "the stored separator is chosen";
            EXPECT_EQ(f.chkTextAnführungszeichen->isChecked(), r.striche == 1);
            const QString pfad = ordner.filePath(QString::number(r.untermodus) + datei);
            f.txtDatei->setText(pfad);
            antworten = {Antwort::Abbrechen};
            QTest::mouseClick(f.cmdOk, Qt::LeftButton);
            ASSERT_EQ(f.result(), QDialog::Accepted) << (meldungen.empty() ? "" : meldungen.back().text.toStdString());
            EXPECT_EQ(einstellungen().ExportStriche, r.striche);
            EXPECT_EQ(einstellungen().ExportUntermodus, r.untermodus);
            if (format == &F::optText)
                EXPECT_EQ(testhilfe::DateiInhalt(pfad).split('\n').value(0), "\xEF\xBB\xBF" + r.kopf + "\r");
        }
    }
}

TEST_F(ExportFensterTest, DateiSuchenMitDemFilterDesFormats)
{
    frmExportieren f({1}, {});
    QString filter;
    f.dateiWählen = [&filter](QWidget*, const QString& fl) {
        filter = fl;
        return QString("/neu/liste.pls");
    };
    f.optPlayliste->setChecked(true);
    f.cmdDateiSuchen_Click();
    EXPECT_EQ(filter, "Playlisten (*.pls);;Playlisten (*.m3u);;Alle Dateien (*)");
    EXPECT_EQ(f.txtDatei->text(), "/neu/liste.pls");
    f.dateiWählen = [](QWidget*, const QString&) { return QString(); };
    f.cmdDateiSuchen_Click();
    EXPECT_EQ(f.txtDatei->text(), "/neu/liste.pls") << "cancelling changes nothing";
}

class AutoDJFensterTest : public ExportFensterTest {
protected:
    std::vector<std::pair<std::vector<qint32>, bool>> gespielt;
    void einrichten(frmAutoDJ& d)
    {
        d.GenresSetzen({"Pop", "Rock"});
        d.txtMaximum->setText("10");
        d.txtZeit->clear();
        d.zufall = [] { return 0.0; };
        d.jetzt = [] { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); };
        d.abspielen = [this](const std::vector<qint32>& e, bool a) { gespielt.push_back({e, a}); };
        d.cmdZurück_Click();
    }
    static void wählen(QListWidget* l, std::initializer_list<int> zeilen)
    {
        l->clearSelection();
        for (int z : zeilen)
            l->item(z)->setSelected(true);
    }
};

TEST_F(AutoDJFensterTest, EingabenWerdenGeprüft)
{
    frmAutoDJ d;
    einrichten(d);
    d.show();
    EXPECT_EQ(d.lstFelder->count(), 3);
    EXPECT_EQ(d.lstFelder->item(2)->text(), "(Dateien ohne Genre)");
    d.cmdErstellen_Click();
    EXPECT_EQ(meldungen.back().text, "Bitte wählen Sie mindestens ein Genre aus der Liste.");
    EXPECT_TRUE(d.lstFelder->hasFocus() || !QApplication::focusWidget());
    d.cmdGenreAlle->click();
    EXPECT_EQ(d.lstFelder->selectedItems().size(), 3);
    d.cmdGenreUmkehren->click();
    EXPECT_EQ(d.lstFelder->selectedItems().size(), 0);
    wählen(d.lstFelder, {1});
    d.txtZeit->setText("bald");
    d.cmdErstellen_Click();
    EXPECT_EQ(meldungen.back().text,
              "Bitte wählen Sie eine Zahl in das Feld 'Auslassen' ein oder leeren Sie dieses.");
    d.txtZeit->clear();
    d.txtMaximum->clear();
    d.cmdErstellen_Click();
    EXPECT_EQ(meldungen.back().text, "Bitte geben Sie eine Zahl in das Feld 'Finde so viele Dateien' ein.");
    EXPECT_FALSE(d.fraSuche->isHidden()) << "the criteria page stays";

    // Pop has no play counts: the message, and the page stays.
    d.txtMaximum->setText("10");
    wählen(d.lstFelder, {0});
    einstellungen().AbspielStatistikSpeichern = 0;
    d.cmdErstellen_Click();
    EXPECT_EQ(meldungen.back().text, AutoDJKeineDatenText(false));
    EXPECT_FALSE(d.fraSuche->isHidden());
    EXPECT_TRUE(d.fraErgebnisse->isHidden());
}

TEST_F(AutoDJFensterTest, VorschlägeUndIhreAuswahl)
{
    frmAutoDJ d;
    einrichten(d);
    wählen(d.lstFelder, {1});
    d.cmdErstellen_Click();
    // Counts 3 and 5: average 4, only entry 2.
    EXPECT_TRUE(d.fraSuche->isHidden());
    EXPECT_FALSE(d.fraErgebnisse->isHidden());
    EXPECT_FALSE(d.cmdErstellen->isEnabled());
    EXPECT_TRUE(d.cmdZurück->isEnabled());
    ASSERT_EQ(d.lstGefunden->count(), 1);
    EXPECT_EQ(d.lstGefunden->item(0)->text(), "Stones - Angie");
    EXPECT_EQ(d.lblGefundenAnzahl->text(), "1 Datei(en) gefunden");
    EXPECT_FALSE(d.cmdAbspielen->isEnabled());

    d.cmdZurück_Click();
    wählen(d.lstFelder, {1, 2});
    d.txtMaximum->setText("2");
    hauptIndex().IndexDaten[2].Datei_AngefordertAnzahl = 3;
    hauptIndex().IndexDaten[3].Datei_AngefordertAnzahl = 3;
    d.cmdErstellen_Click();
    // All three match (no ID3v2 genre); j = 1 each time gives 3, 1, 2.
    ASSERT_EQ(d.lstGefunden->count(), 2);
    EXPECT_EQ(d.lblGefundenAnzahl->text(), "2 Datei(en) gefunden");

    wählen(d.lstGefunden, {1});
    EXPECT_EQ(d.lngAutoDJAuswahl, std::vector<qint32>({1}));
    EXPECT_EQ(d.lblDatei1->text(), "Dateiname - Eintrag 1");
    EXPECT_EQ(d.lblDateiname1->text(), hauptIndex().strIndexPfad[1]);
    EXPECT_EQ(d.lblStatistik->text(), "Zuletzt gespielt am 01.02.2020 03:04:05, insgesamt 3 Mal");
    EXPECT_TRUE(d.cmdAbspielen->isEnabled());
    EXPECT_TRUE(d.cmdExport->isEnabled());
    EXPECT_FALSE(d.cmdInfos->isEnabled()) << "no tag editor to open";

    d.cmdWählenAlle->click();
    EXPECT_EQ(d.lngAutoDJAuswahl.size(), 2u);
    EXPECT_EQ(d.lblDateiname1->text(), "(2 Dateien)");
    EXPECT_EQ(d.lblStatistik->text(), "(2 Dateien)");
    EXPECT_EQ(d.lblDatei1->text(), "Dateiname");

    d.cmdInPlaylist->click();
    einstellungen().BeiDoppelklick = 1;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(d.lstGefunden, &enter);
    ASSERT_EQ(gespielt.size(), 2u);
    EXPECT_TRUE(gespielt[0].second);
    EXPECT_FALSE(gespielt[1].second);
    EXPECT_EQ(gespielt[1].first, d.lngAutoDJAuswahl);

    // Nothing selected: the labels empty, the buttons off, the old choice kept.
    d.cmdWählenKeine->click();
    EXPECT_EQ(d.lblDateiname1->text(), "");
    EXPECT_FALSE(d.cmdInPlaylist->isEnabled());
    EXPECT_EQ(d.lngAutoDJAuswahl.size(), 2u);

    // With a tag editor to open, "Datei-Infos" works and double clicks go there.
    std::vector<qint32> infos;
    DienstErsetzen<DateiInfosDienst> editor([&infos](const std::vector<qint32>& e, QWidget*) { infos = e; });
    d.cmdWählenAlle->click();
    EXPECT_TRUE(d.cmdInfos->isEnabled());
    einstellungen().BeiDoppelklick = 3;
    d.lstGefunden_DblClick();
    EXPECT_EQ(infos, d.lngAutoDJAuswahl);
}

TEST_F(AutoDJFensterTest, SchließenSpeichertDieEinstellungen)
{
    frmAutoDJ d;
    einrichten(d);
    d.txtMaximum->setText("7");
    d.txtZeit->setText("3");
    d.cboZeiteinheit->setCurrentIndex(1);
    d.chkAlteSeltener->setChecked(true);
    d.chkSehrAlteHäufiger->setChecked(false);
    d.show();
    d.cmdAbbrechen->click();
    EXPECT_FALSE(d.isVisible());
    const Einstellungen& e = einstellungen();
    EXPECT_EQ(e.AutoDJFindeAnzahl, "7");
    EXPECT_EQ(e.AutoDJAuslassenZeit, "3");
    EXPECT_EQ(e.AutoDJAuslassenGröße, 1);
    EXPECT_EQ(e.AutoDJAuslassenVorKurzem, 1);
    EXPECT_EQ(e.AutoDJFindenVorLängerem, 0);
    // Escape closes the same way.
    d.txtMaximum->setText("8");
    d.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&d, &esc);
    EXPECT_EQ(einstellungen().AutoDJFindeAnzahl, "8");
}

} // namespace
