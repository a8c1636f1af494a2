#include "support/IndexDateiHilfen.h"
#include "support/ListenHilfen.h"
#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "core/frmFortschritt.h"
#include "core/frmIndexOeffnen.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/frmIndexOptionen.h"
#include "mainwindow/frmInfo.h"
#include "mainwindow/frmInternet.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmOptionen.h"
#include "platform/Farbe_gui.h"
#include "platform/Klicks.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>

using namespace testhilfe;

namespace {

class OptionenFenster : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString a, b;
    std::unique_ptr<frmMain> f;
    Fragenskript skript;
    std::deque<Antwort>& antworten = skript.antworten;
    QStringList& meldungen = skript.meldungen;
    QStringList& fragen = skript.fragen;

    void SetUp() override
    {
        Registry::DateiSetzen(dir.filePath(QStringLiteral("k.ini")));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().StartBildschirm = 0;
        einstellungen().AutoCompleteVerwenden = 0;
        IndexDateiSperreWartezeitSetzen(50);
        a = dir.filePath("A.kvx");
        b = dir.filePath("B.kvx");
        IndexDateiAnlegen(a, {"/m/a1.mp3"});
        IndexDateiAnlegen(b, {"/m/b1.mp3", "/m/b2.mp3"});
        hauptIndex() = Index();
        f = std::make_unique<frmMain>();
        f->resize(900, 600);
        einstellungen().Dateiname = a;
        ASSERT_TRUE(IndexDateiLaden(f.get()));
        meldungen.clear();
    }
    void TearDown() override
    {
        IndexDateiSperreWartezeitSetzen(4500);
        f.reset();
        hauptIndex() = Index();
    }
    frmIndexÖffnen* indexFenster(QStringList* dialogAufrufe = nullptr, QString antwort = QString())
    {
        frmIndexÖffnen* w = indexÖffnenFenster();
        w->dateiDialog = [dialogAufrufe, antwort](frmIndexÖffnen::DialogArt art, const QString& start) {
            if (dialogAufrufe)
                *dialogAufrufe << QString::number(int(art)) + QLatin1Char(':') + start;
            return antwort;
        };
        w->Vorbereiten(nullptr);
        return w;
    }
};

} // namespace

// --- the index file window -------------------------------------------------------------

TEST_F(OptionenFenster, NeueDateiFülltNurDasFeld)
{
    const QByteArray bAlt = DateiInhalt(b);
    QStringList aufrufe;
    frmIndexÖffnen* w = indexFenster(&aufrufe, b);
    EXPECT_TRUE(w->cmdSpeichern->isEnabled());
    EXPECT_TRUE(w->cmdIndexdateiSpeichernUnter->isEnabled());
    EXPECT_EQ(w->txtIndexdatei->currentText(), a);
    w->cmdIndexdateiNeu_Click();
    EXPECT_EQ(aufrufe, QStringList{QStringLiteral("0:") + dir.path()});
    EXPECT_EQ(w->txtIndexdatei->currentText(), b);
    EXPECT_FALSE(w->cmdSpeichern->isEnabled());
    EXPECT_FALSE(w->cmdIndexdateiSpeichernUnter->isEnabled());
    EXPECT_EQ(DateiInhalt(b), bAlt);
    EXPECT_TRUE(meldungen.isEmpty());

    // A name that does not exist yet: nothing is created before OK.
    const QString neu = dir.filePath("Neu.kvx");
    w->dateiDialog = [neu](frmIndexÖffnen::DialogArt, const QString&) { return neu; };
    w->cmdIndexdateiNeu_Click();
    EXPECT_FALSE(QFile::exists(neu));
    w->cmdOk_Click();
    EXPECT_TRUE(QFile::exists(neu));
    EXPECT_EQ(einstellungen().Dateiname, neu);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 0);
    EXPECT_TRUE(hauptIndex().bolIndexGeladen);
    EXPECT_EQ(f->lblIndexdatei->text(), QStringLiteral("Neu.kvx"));
}

TEST_F(OptionenFenster, AbgebrochenerDateidialogÄndertNichts)
{
    frmIndexÖffnen* w = indexFenster(nullptr, QString());
    for (auto klick : {&frmIndexÖffnen::cmdIndexdateiNeu_Click, &frmIndexÖffnen::cmdIndexdateiWählen_Click}) {
        (w->*klick)();
        EXPECT_EQ(w->txtIndexdatei->currentText(), a);
        EXPECT_TRUE(w->cmdSpeichern->isEnabled());
    }
    w->cmdIndexdateiSpeichernUnter_Click();
    EXPECT_TRUE(meldungen.isEmpty());
}

TEST_F(OptionenFenster, TippenSperrtDieSpeicherknöpfe)
{
    frmIndexÖffnen* w = indexFenster();
    w->txtIndexdatei->setEditText(QStringLiteral("/x"));
    EXPECT_FALSE(w->cmdSpeichern->isEnabled());
    EXPECT_FALSE(w->cmdIndexdateiSpeichernUnter->isEnabled());
    w->Vorbereiten(nullptr);
    EXPECT_TRUE(w->cmdSpeichern->isEnabled());
    EXPECT_EQ(w->txtIndexdatei->currentText(), a);
}

TEST_F(OptionenFenster, SpeichernUndSpeichernUnter)
{
    hauptIndex().EintragAnhängen(QStringLiteral("/m/neu.mp3"), LeereMedienInfo());
    hauptIndex().bolIndexGeändert = true;
    frmIndexÖffnen* w = indexFenster();
    w->cmdSpeichern_Click();
    EXPECT_TRUE(DateiInhalt(a).contains("/m/neu.mp3"));
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Die Indexdatei wurde gespeichert.")});
    EXPECT_FALSE(hauptIndex().bolIndexGeändert);

    // Save as over an existing file: asked first; No keeps it and the window open.
    hauptIndex().bolIndexGeändert = true;
    const QByteArray bAlt = DateiInhalt(b);
    w = indexFenster(nullptr, b);
    w->show();
    antworten = {Antwort::Nein};
    w->cmdIndexdateiSpeichernUnter_Click();
    EXPECT_EQ(DateiInhalt(b), bAlt);
    EXPECT_TRUE(w->isVisible());
    antworten = {Antwort::Ja};
    w->cmdIndexdateiSpeichernUnter_Click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(DateiInhalt(b).contains("/m/neu.mp3"));
    EXPECT_TRUE(hauptIndex().bolIndexGeändert);
    EXPECT_EQ(einstellungen().Dateiname, a);
}

TEST_F(OptionenFenster, OhneGeladenenIndexSindDieSpeicherknöpfeAus)
{
    hauptIndex().bolIndexGeladen = false;
    hauptIndex().bolIndexGeändert = true;
    const QByteArray aAlt = DateiInhalt(a);
    frmIndexÖffnen* w = indexFenster();
    EXPECT_FALSE(w->cmdSpeichern->isEnabled());
    EXPECT_FALSE(w->cmdIndexdateiSpeichernUnter->isEnabled());
    w->cmdSpeichern_Click();
    w->txtIndexdatei->setEditText(b);
    w->cmdOk_Click();
    EXPECT_TRUE(fragen.isEmpty());
    EXPECT_EQ(DateiInhalt(a), aAlt);
    EXPECT_EQ(einstellungen().Dateiname, b);
    EXPECT_TRUE(hauptIndex().bolIndexGeladen);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 2);
}

TEST_F(OptionenFenster, WechselMitSpeicherfrage)
{
    hauptIndex().EintragAnhängen(QStringLiteral("/m/neu.mp3"), LeereMedienInfo());
    hauptIndex().bolIndexGeändert = true;
    QStringList aufrufe;
    frmIndexÖffnen* w = indexFenster(&aufrufe, b);
    w->cmdIndexdateiWählen_Click();
    EXPECT_EQ(aufrufe, QStringList{QStringLiteral("1:") + dir.path()});
    antworten = {Antwort::Ja};
    w->cmdOk_Click();
    EXPECT_EQ(fragen, QStringList{QStringLiteral("Die Indexdatei wurde geändert.\nMöchten Sie diese speichern?")});
    EXPECT_TRUE(DateiInhalt(a).contains("/m/neu.mp3"));
    EXPECT_EQ(einstellungen().Dateiname, b);
    EXPECT_EQ(f->modell()->rowCount(), 2);
    EXPECT_EQ(f->lblIndexdatei->text(), QStringLiteral("B.kvx"));
}

TEST_F(OptionenFenster, IndexdateiLabelZeigtNurIndexdateien)
{
    QDir(dir.path()).mkdir(QStringLiteral("unter"));
    IndexDateiAnlegen(dir.filePath("unter/C.KVX"), {});
    QFile(dir.filePath("A.kvx~")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("notiz.txt")).open(QIODevice::WriteOnly);
    OptionenBefehleVerbinden(f.get());
    EXPECT_TRUE(f->lblIndexdatei->isEnabled());
    QStringList liste;
    QTimer::singleShot(0, [&] {
        frmIndexÖffnen* w = indexÖffnenFenster();
        for (int i = 0; i < w->txtIndexdatei->count(); ++i)
            liste << w->txtIndexdatei->itemText(i);
        EXPECT_EQ(w->txtIndexdatei->currentText(), a);
        EXPECT_EQ(w->parentWidget(), f.get());
        w->cmdAbbrechen_Click();
    });
    f->BefehlAuslösen(f->lblIndexdatei);
    EXPECT_EQ(liste, QStringList({a, b, dir.filePath("unter/C.KVX")}));
    EXPECT_EQ(einstellungen().Dateiname, a);
}

// Opens the index file window as the user does, by a click on the main
// window's index file label, and runs `schritte` in it.
void imIndexFenster(frmMain* f, const std::function<void(frmIndexÖffnen*)>& schritte)
{
    bool gelaufen = false;
    QTimer::singleShot(0, [&] {
        frmIndexÖffnen* w = indexÖffnenFenster();
        QApplication::setActiveWindow(w); // the offscreen platform does not activate a window shown again
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        schritte(w);
        gelaufen = true;
        if (w->isVisible())
            w->cmdAbbrechen->click();
    });
    QTest::mouseClick(f->lblIndexdatei, Qt::LeftButton);
    EXPECT_TRUE(gelaufen);
}

// The field holds the current file, an entry of its list; once it had the
// focus, leaving it for a save button must not take the button away. Two
// files whose names differ only in letter case are two files: the save
// button saves the current one, whichever of them the list has first.
TEST_F(OptionenFenster, SpeicherknöpfeSpeichernNachDemFeld)
{
    OptionenBefehleVerbinden(f.get());
    const QString kopie = dir.filePath("Kopie.kvx"), klein = dir.filePath("a.kvx");
    IndexDateiAnlegen(klein, {"/m/k1.mp3"});
    const struct { const char* knopf; QString aktuell, ziel, andere; } fälle[] = {
        {"cmdSpeichern", klein, klein, a}, {"cmdSpeichern", a, a, klein}, {"cmdIndexdateiSpeichernUnter", a, kopie, klein}};
    for (const auto& [knopf, aktuell, ziel, andere] : fälle) {
        SCOPED_TRACE(knopf + (" " + aktuell.toStdString()));
        einstellungen().Dateiname = aktuell;
        ASSERT_TRUE(IndexDateiLaden(f.get()));
        hauptIndex().EintragAnhängen("/m/neu.mp3", LeereMedienInfo());
        hauptIndex().bolIndexGeändert = true;
        const QByteArray andereVorher = DateiInhalt(andere);
        meldungen.clear();
        imIndexFenster(f.get(), [&](frmIndexÖffnen* w) {
            w->dateiDialog = [&](frmIndexÖffnen::DialogArt, const QString&) { return kopie; };
            EXPECT_GE(w->txtIndexdatei->findText(andere), 0) << "both spellings are listed";
            EXPECT_EQ(w->txtIndexdatei->currentText(), aktuell);
            QTest::mouseClick(w->txtIndexdatei->lineEdit(), Qt::LeftButton);
            ASSERT_TRUE(w->txtIndexdatei->lineEdit()->hasFocus());
            QTest::mouseClick(w->findChild<QPushButton*>(knopf), Qt::LeftButton);
            EXPECT_FALSE(w->isVisible());
        });
        EXPECT_TRUE(DateiInhalt(ziel).contains("/m/neu.mp3"));
        EXPECT_EQ(DateiInhalt(andere), andereVorher);
        EXPECT_EQ(meldungen, QStringList{"Die Indexdatei wurde gespeichert."});
        EXPECT_EQ(einstellungen().Dateiname, aktuell);
    }
}

// Picking an entry still takes the save buttons away; a path that differs
// from an entry only in letter case is another file and stays as typed.
TEST_F(OptionenFenster, WählenSperrtDieSpeicherknöpfeGetipptesBleibt)
{
    OptionenBefehleVerbinden(f.get());
    imIndexFenster(f.get(), [&](frmIndexÖffnen* w) {
        w->txtIndexdatei->showPopup();
        QTest::keyClick(w->txtIndexdatei->view(), Qt::Key_Return);
        EXPECT_FALSE(w->cmdSpeichern->isEnabled());
    });
    const QString klein = dir.filePath("b.kvx");
    imIndexFenster(f.get(), [&](frmIndexÖffnen* w) {
        QTest::mouseClick(w->txtIndexdatei->lineEdit(), Qt::LeftButton);
        w->txtIndexdatei->lineEdit()->selectAll();
        QTest::keyClicks(w->txtIndexdatei->lineEdit(), klein);
        QTest::mouseClick(w->cmdAbbrechen, Qt::LeftButton);
        EXPECT_EQ(w->txtIndexdatei->currentText(), klein);
    });
}

// --- the options dialog -----------------------------------------------------------------

TEST_F(OptionenFenster, JedeSeiteWirdGefülltUndZurückgenommen)
{
    Einstellungen& e = einstellungen();
    e.WinampPfad = QStringLiteral("/usr/bin/spieler");
    e.WinampParameterAbspielen = QStringLiteral("-p");
    e.DateiAutomatischSpeichern = 1;
    e.HinzufügenUnterordner = 0;
    e.Auswahlliste = 0;
    e.RegelmäßigSpeichernAlle = 0;
    e.BeendenReaktion = 7;
    e.TAGsProzentHinzufügen = 40;
    e.TAGsBytesSuchen = 0;
    e.TippsAktueller = 5;
    e.Mp3TagLesen = QStringLiteral("1");
    e.StartBildschirm = 0;
    frmOptionen* w = optionenFenster();
    w->OptionenAnzeigen();
    EXPECT_EQ(w->txtWinampPfad->text(), QStringLiteral("/usr/bin/spieler"));
    EXPECT_EQ(w->txtParameterAbspielen->text(), QStringLiteral("-p"));
    EXPECT_TRUE(w->chkAutomatischSpeichern->isChecked());
    EXPECT_FALSE(w->chkAuchUnterOrdner->isChecked());
    EXPECT_FALSE(w->chkAuswahlliste->isChecked());
    EXPECT_FALSE(w->chkAutoComplete->isEnabled());
    EXPECT_FALSE(w->chkRegelmäßigSpeichern->isChecked());
    EXPECT_TRUE(w->txtRegelmäßigSpeichern->isHidden());
    EXPECT_TRUE(w->txtRegelmäßigSpeichern->text().isEmpty());
    EXPECT_EQ(w->cboBeendenAktion->currentText(), QStringLiteral("Auswahlfenster"));
    EXPECT_EQ(w->txtID3v2Reserve->text(), QStringLiteral("40"));
    EXPECT_EQ(w->txtID3v2Suchen->text(), QStringLiteral("0"));
    EXPECT_TRUE(w->chkTippsZeigen->isChecked());
    EXPECT_TRUE(w->chkID3auslesenV1->isChecked());
    EXPECT_FALSE(w->chkID3auslesenV2->isChecked());
    EXPECT_TRUE(w->chkID3auslesenHeader->isChecked());
    EXPECT_FALSE(w->chkStartbildschirmNichtBeiLaden->isEnabled());
    EXPECT_EQ(w->cboFarbProfile->count(), 5);
    EXPECT_EQ(w->cboFarbProfile->currentIndex(), -1);

    // Everything changed and taken back.
    w->txtWinampPfad->setText(QStringLiteral("/opt/anderer"));
    w->txtParameterHinzufügen->setText(QStringLiteral("--add"));
    w->chkAutomatischSpeichern->setChecked(false);
    w->chkAuchUnterOrdner->setChecked(true);
    w->chkAuswahlliste->setChecked(true);
    EXPECT_TRUE(w->chkAutoComplete->isEnabled());
    w->chkRegelmäßigSpeichern->setChecked(true);
    EXPECT_FALSE(w->txtRegelmäßigSpeichern->isHidden());
    w->txtRegelmäßigSpeichern->setText(QStringLiteral("5"));
    w->cboBeendenAktion->setCurrentIndex(3);
    w->chkStatitikSpeichern->setChecked(false);
    w->chkKeineSucheBeiKlick->setChecked(true);
    w->chkStartbildschirm->setChecked(true);
    EXPECT_TRUE(w->chkStartbildschirmNichtBeiLaden->isEnabled());
    w->chkStartbildschirmNichtBeiSpeichern->setChecked(true);
    w->chkTippsZeigen->setChecked(false);
    w->txtID3v2Reserve->setText(QStringLiteral("100"));
    w->txtID3v2Suchen->setText(QStringLiteral("4096"));
    w->chkID3v2SoftwareFeldSchreiben->setChecked(false);
    // Shown as "101", but the stored "1" has no third flag: that one counts
    // as newly on.
    w->chkID3auslesenV1->setChecked(false);
    antworten = {Antwort::Nein};
    const QDateTime vorher = QDateTime::currentDateTime().addSecs(-1);
    w->cmdOk_Click();
    EXPECT_EQ(fragen.size(), 1);
    EXPECT_EQ(e.WinampPfad, QStringLiteral("/opt/anderer"));
    EXPECT_EQ(e.WinampParameterHinzufügen, QStringLiteral("--add"));
    EXPECT_EQ(e.DateiAutomatischSpeichern, 0);
    EXPECT_EQ(e.HinzufügenUnterordner, 1);
    EXPECT_EQ(e.Auswahlliste, 1);
    EXPECT_EQ(e.RegelmäßigSpeichernAlle, 5);
    EXPECT_GE(hauptIndex().datLetzteSpeicherung, vorher);
    EXPECT_EQ(e.BeendenReaktion, 3);
    EXPECT_EQ(e.AbspielStatistikSpeichern, 0);
    EXPECT_EQ(e.SucheNichtBeiAuswahl, 1);
    EXPECT_EQ(e.StartBildschirm, 1);
    EXPECT_EQ(e.StartBildschirmNichtBeiSpeichern, 1);
    EXPECT_EQ(e.TippsAktueller, 0);
    EXPECT_EQ(e.TAGsProzentHinzufügen, 100);
    EXPECT_EQ(e.TAGsBytesSuchen, 4096);
    EXPECT_EQ(e.TAGsSoftwareFeldSchreiben, 0);
    EXPECT_EQ(e.Mp3TagLesen, QStringLiteral("001"));

    // "5" to "10" keeps the stamp.
    const QDateTime stempel = QDateTime(QDate(2020, 1, 1), QTime(0, 0));
    hauptIndex().datLetzteSpeicherung = stempel;
    w->OptionenAnzeigen();
    EXPECT_EQ(w->txtRegelmäßigSpeichern->text(), QStringLiteral("5"));
    w->txtRegelmäßigSpeichern->setText(QStringLiteral("10"));
    w->cmdOk_Click();
    EXPECT_EQ(e.RegelmäßigSpeichernAlle, 10);
    EXPECT_EQ(hauptIndex().datLetzteSpeicherung, stempel);
    w->OptionenAnzeigen();
    w->txtRegelmäßigSpeichern->setText(QStringLiteral("abc"));
    w->cmdOk_Click();
    EXPECT_EQ(e.RegelmäßigSpeichernAlle, 0);
}

TEST_F(OptionenFenster, FalscheZahlLässtDenDialogOffen)
{
    frmOptionen* w = optionenFenster();
    w->OptionenAnzeigen();
    w->show();
    w->txtWinampPfad->setText(QStringLiteral("/nicht/übernommen"));
    w->txtID3v2Reserve->setText(QStringLiteral("101"));
    w->cmdOk_Click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].startsWith(QStringLiteral("Bitte geben Sie eine Zahl zwischen 0 und 100")));
    w->txtID3v2Reserve->setText(QStringLiteral("10"));
    w->txtID3v2Suchen->setText(QStringLiteral("viel"));
    w->cmdOk_Click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(meldungen[1].startsWith(QStringLiteral("Bitte geben Sie eine Zahl in das Feld 'Bytes")));
    EXPECT_NE(einstellungen().WinampPfad, QStringLiteral("/nicht/übernommen"));
    w->cmdAbbrechen_Click();
    EXPECT_FALSE(w->isVisible());
}

// The bytes field takes any number typed into it; what it refuses is said
// with its reason, and the dialog stays open.
TEST_F(OptionenFenster, BytesFeldNimmtJedeZahl)
{
    frmOptionen* w = optionenFenster();
    for (const auto& [eingabe, gespeichert] : {std::pair{"-1", -1}, std::pair{"3000000000", 777}}) {
        einstellungen().TAGsBytesSuchen = 777;
        meldungen.clear();
        w->OptionenAnzeigen();
        w->show();
        QTest::mouseClick(w->optOptionen[4], Qt::LeftButton, Qt::NoModifier, QPoint(8, w->optOptionen[4]->height() / 2));
        w->txtID3v2Suchen->selectAll();
        QTest::keyClicks(w->txtID3v2Suchen, eingabe);
        QTest::mouseClick(w->cmdOk, Qt::LeftButton);
        const bool abgelehnt = gespeichert == 777;
        EXPECT_EQ(einstellungen().TAGsBytesSuchen, gespeichert) << eingabe;
        EXPECT_EQ(w->isVisible(), abgelehnt) << eingabe;
        EXPECT_EQ(meldungen.size(), abgelehnt ? 1 : 0) << meldungen.join("|").toStdString();
        EXPECT_EQ(meldungen.join("").contains("ist zu groß"), abgelehnt);
        w->cmdAbbrechen_Click();
    }
}

TEST_F(OptionenFenster, LeseFlagsFragenNachDemNeuEinlesen)
{
    einstellungen().Mp3TagLesen = QStringLiteral("101");
    frmOptionen* w = optionenFenster();
    w->OptionenAnzeigen();
    w->chkID3auslesenV2->setChecked(true);
    antworten = {Antwort::Nein};
    w->cmdOk_Click();
    ASSERT_EQ(fragen.size(), 1);
    EXPECT_TRUE(fragen[0].startsWith(QStringLiteral("Es wurden Einstellungen für das Lesen von Datei-Informationen aktiviert.")));
    EXPECT_EQ(einstellungen().Mp3TagLesen, QStringLiteral("111"));
    EXPECT_FALSE(hauptIndex().bolIndexGeändert);

    w->OptionenAnzeigen();
    w->chkID3auslesenV2->setChecked(false);
    w->cmdOk_Click();
    EXPECT_EQ(fragen.size(), 1);
    EXPECT_EQ(einstellungen().Mp3TagLesen, QStringLiteral("101"));

    // Yes re-reads: the entry's missing file is passed over and its record kept.
    hauptIndex().IndexDaten[1].Mp3_ID3v1_Titel = QStringLiteral("bleibt");
    w->OptionenAnzeigen();
    w->chkID3auslesenV2->setChecked(true);
    antworten = {Antwort::Ja};
    w->cmdOk_Click();
    EXPECT_EQ(fragen.size(), 2);
    EXPECT_EQ(hauptIndex().IndexDaten[1].Mp3_ID3v1_Titel, QStringLiteral("bleibt"));
    EXPECT_FALSE(hauptIndex().bolIndexGeändert);
}

TEST_F(OptionenFenster, RücksetzenBehältDieIndexdatei)
{
    Einstellungen& e = einstellungen();
    e.WinampPfad = QStringLiteral("/alt");
    e.TAGsProzentHinzufügen = 3;
    e.FarbeFunktionen = 12345;
    frmOptionen* w = optionenFenster();
    w->spielerSuchen = [] { return QString(); };
    w->OptionenAnzeigen();
    antworten = {Antwort::Nein};
    w->cmdRücksetzen_Click();
    EXPECT_EQ(e.TAGsProzentHinzufügen, 3);
    antworten = {Antwort::Ja};
    w->cmdRücksetzen_Click();
    EXPECT_EQ(fragen.last(), QStringLiteral("Möchten Sie tatsächlich alle Programmeinstellungen zurücksetzen?"));
    EXPECT_EQ(e.Dateiname, a);
    EXPECT_EQ(e.TAGsProzentHinzufügen, 25);
    EXPECT_EQ(w->txtID3v2Reserve->text(), QStringLiteral("25"));
    EXPECT_EQ(e.FarbeFunktionen, FarbWerteAusProfil(1).Funktionen);
    // No player found: the controls are refilled first, then the message.
    EXPECT_TRUE(w->txtWinampPfad->text().isEmpty());
    EXPECT_EQ(meldungen.last(), QStringLiteral("Der Autdioplayer 'Winamp' wurde nicht gefunden.Tragen Sie stattdessen "
                                               "einfach den Pfad eines anderen Audioplayers ein."));
    EXPECT_FALSE(EinstellungenRücksetzenAktiv);
}

TEST_F(OptionenFenster, StatistikLöschenFragtUndMarkiert)
{
    hauptIndex().IndexDaten[1].Datei_AngefordertAnzahl = 4;
    frmOptionen* w = optionenFenster();
    antworten = {Antwort::Nein};
    w->cmdStatistikLöschen_Click();
    EXPECT_EQ(hauptIndex().IndexDaten[1].Datei_AngefordertAnzahl, 4);
    antworten = {Antwort::Ja};
    w->cmdStatistikLöschen_Click();
    EXPECT_EQ(hauptIndex().IndexDaten[1].Datei_AngefordertAnzahl, 0);
    EXPECT_TRUE(hauptIndex().bolIndexGeändert);
    EXPECT_EQ(meldungen.last(), QStringLiteral("Die Daten wurden gelöscht."));

    hauptIndex().lngIndexAnzahl = 0;
    w->cmdStatistikLöschen_Click();
    EXPECT_EQ(meldungen.last(),
              QStringLiteral("Es befinden sich keine Dateien im Index.\nDiese Funktion kann nicht ausgeführt werden."));
}

TEST_F(OptionenFenster, ProgrammWahlUndSpielersuche)
{
    frmOptionen* w = optionenFenster();
    w->OptionenAnzeigen();
    w->txtWinampPfad->setText(QStringLiteral("/bleibt"));
    w->programmDialog = [] { return QString(); };
    w->cmdWinampSuchen_Click();
    EXPECT_EQ(w->txtWinampPfad->text(), QStringLiteral("/bleibt"));
    w->programmDialog = [] { return QStringLiteral("/usr/bin/vlc"); };
    w->cmdWinampSuchen_Click();
    EXPECT_EQ(w->txtWinampPfad->text(), QStringLiteral("/usr/bin/vlc"));
    w->spielerSuchen = [] { return QStringLiteral("/usr/bin/audacious"); };
    w->cmdWinampAutoSuche_Click();
    EXPECT_EQ(w->txtWinampPfad->text(), QStringLiteral("/usr/bin/audacious"));
    EXPECT_TRUE(meldungen.isEmpty());
}

TEST_F(OptionenFenster, FarbprofilErstMitOkUndAufAlleLinks)
{
    FarbenAnwenden(f.get());
    frmInfo info(f.get());
    frmInternet suche(f.get());
    frmOptionen* w = optionenFenster();
    w->OptionenAnzeigen();
    const QColor vorher = f->cmdAutoDJ->palette().color(QPalette::WindowText);

    // A profile and Cancel: nothing applied.
    w->cboFarbProfile->setCurrentIndex(3);
    w->cboFarbProfile_Click();
    EXPECT_EQ(w->lblBeispielFunktionen->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(w->lstBeispielListe->palette().color(QPalette::Base), QColor(Qt::black));
    w->cmdAbbrechen_Click();
    EXPECT_EQ(f->cmdAutoDJ->palette().color(QPalette::WindowText), vorher);

    // A cancelled colour chooser leaves the preview colour.
    w->OptionenAnzeigen();
    w->cboFarbProfile->setCurrentIndex(3);
    w->cboFarbProfile_Click();
    w->farbDialog = [](const QColor&) { return QColor(); };
    w->cmdLinkFarbeBesucht_Click();
    EXPECT_EQ(w->Vorschau().FunktionenBesucht, FarbWerteAusProfil(4).FunktionenBesucht);
    w->farbDialog = [](const QColor&) { return QColor(1, 2, 3); };
    w->cmdListeTextFarbe_Click();
    EXPECT_EQ(w->Vorschau().Listen, RGBFarbe(1, 2, 3));
    w->cmdOk_Click();
    EXPECT_EQ(einstellungen().FarbeFunktionen, FarbWerteAusProfil(4).Funktionen);
    EXPECT_EQ(einstellungen().FarbeListen, RGBFarbe(1, 2, 3));
    EXPECT_EQ(f->cmdAutoDJ->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(f->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(f->lstSongs->palette().color(QPalette::Text), QColor(1, 2, 3));
    // The web addresses: rich-text links take the palette's link colour.
    for (QLabel* l : {info.lblwebsite, fortschrittsfenster()->lblwebsite, suche.lblwebsite}) {
        EXPECT_EQ(l->palette().color(QPalette::Link), QColor(Qt::white));
        EXPECT_TRUE(l->text().contains(QStringLiteral("color:#ffffff")));
    }
    // Each keeps its own target and text.
    EXPECT_TRUE(info.lblwebsite->text().contains(Webadresse()));
    EXPECT_TRUE(suche.lblwebsite->text().contains(QStringLiteral("Infodatei</a>")));
    EXPECT_FALSE(suche.lblwebsite->text().contains(Webadresse()));
    w->OptionenAnzeigen();
    w->cboFarbProfile->setCurrentIndex(0);
    w->cboFarbProfile_Click();
    w->cmdOk_Click();
    EXPECT_EQ(info.lblwebsite->palette().color(QPalette::Link), WindowsFarbe(FarbWerteAusProfil(1).Funktionen));
}

TEST_F(OptionenFenster, UnterstreichungDerBeispiele)
{
    frmOptionen* w = optionenFenster();
    einstellungen().FunktionenUnterstreichen = 1;
    w->OptionenAnzeigen();
    EXPECT_TRUE(w->lblBeispielFunktionen->font().underline());
    w->BeispielHervorheben(w->lblBeispielFunktionen);
    EXPECT_FALSE(w->lblBeispielFunktionen->font().underline());
    EXPECT_TRUE(w->lblBeispielFunktionenBesucht->font().underline());
    w->BeispielHervorheben(w->fraOptionen[3]);
    EXPECT_TRUE(w->lblBeispielFunktionen->font().underline());
    w->chkFunktionenUnterstreichen->setChecked(false);
    EXPECT_FALSE(w->lblBeispielFunktionen->font().underline());
    EXPECT_FALSE(w->lblBeispielFunktionenBesucht->font().underline());
}

TEST_F(OptionenFenster, IndexdateiFensterÜberDenOptionenUndZurück)
{
    OptionenBefehleVerbinden(f.get());
    bool geprüft = false;
    QTimer::singleShot(0, [&] {
        frmOptionen* w = optionenFenster();
        w->txtWinampPfad->setText(QStringLiteral("/eingetippt"));
        w->optOptionen[0]->click();
        QTimer::singleShot(0, [&] {
            frmIndexÖffnen* i = indexÖffnenFenster();
            EXPECT_TRUE(i->isVisible());
            EXPECT_EQ(i->parentWidget(), optionenFenster());
            EXPECT_TRUE(i->cmdSpeichern->isEnabled());
            i->cmdAbbrechen_Click();
        });
        w->cmdIndexdateiÄndern->click();
        // The options dialog is still open, its controls as they were.
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->txtWinampPfad->text(), QStringLiteral("/eingetippt"));
        geprüft = true;
        w->cmdAbbrechen_Click();
    });
    f->BefehlAuslösen(f->cmdOptionen);
    EXPECT_TRUE(geprüft);
    EXPECT_NE(einstellungen().WinampPfad, QStringLiteral("/eingetippt"));
}

// --- the index options dialog --------------------------------------------------------------

TEST_F(OptionenFenster, IndexOptionenOhneIndexOeffnenNicht)
{
    hauptIndex().bolIndexGeladen = false;
    IndexOptionenZeigen(f.get());
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Es wurde keine Indexdatei geladen.\nBitte laden Sie eine "
                                                    "Indexdatei, um diese Funktion zu nutzen.")});
}

TEST_F(OptionenFenster, IndexOptionenTypenOrdnerUndSpalten)
{
    Index& idx = hauptIndex();
    idx.strDateiTypen = standardwerte().strStandardDateiTypen;
    idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    idx.intDateiTypenLeer = 0;
    f->SpaltenSpeichern();
    const int spaltenVorher = f->lstSongs->model()->columnCount();
    frmIndexOptionen* w = indexOptionenFenster();
    w->Anzeigen(idx, einstellungen().BeiDoppelklick);
    const int typen = w->lstDateitypen->count();
    ASSERT_GT(typen, 0);

    // A built-in type can be neither edited nor removed.
    w->lstDateitypen->setCurrentRow(0);
    EXPECT_FALSE(w->txtDateitypEndung->isEnabled());
    EXPECT_FALSE(w->fraDateitypenÄndern->isHidden());
    w->cmdDateitypenEntfernen_Click();
    EXPECT_EQ(meldungen.last(), QStringLiteral("Nur eigene Einträge können geändert oder gelöscht werden."));

    // An own type: added, typed, ticked.
    w->cmdDateitypenHinzufügen_Click();
    EXPECT_EQ(w->lstDateitypen->count(), typen + 1);
    EXPECT_TRUE(w->txtDateitypEndung->isEnabled());
    w->txtDateitypEndung->setText(QStringLiteral("ogg"));
    w->txtDateitypEndung_Change();
    w->lstDateitypen->item(typen)->setCheckState(Qt::Checked);

    // Sync folders: one refused for its comma, one added with a move target.
    QStringList ordner = {QStringLiteral("/musik,alt"), QStringLiteral("/musik")};
    w->ordnerDialog = [&](const QString&) { return ordner.takeFirst(); };
    w->cmdSyncOrdnerHinzufügen_Click();
    EXPECT_EQ(w->lstSyncOrdner->count(), 0);
    EXPECT_EQ(meldungen.last(), OptionsTextFehler(false));
    w->cmdSyncOrdnerHinzufügen_Click();
    ASSERT_EQ(w->lstSyncOrdner->count(), 1);
    EXPECT_FALSE(w->chkSyncUnterordner->isHidden());
    EXPECT_TRUE(w->txtSyncKopierenInOrdner->isHidden());
    w->chkSyncUnterordner->click();
    w->chkSyncKopierenInOrdner->click();
    EXPECT_FALSE(w->txtSyncKopierenInOrdner->isHidden());
    w->txtSyncKopierenInOrdner->setText(QStringLiteral("/ziel"));

    // Columns: the fifth one more.
    ASSERT_EQ(w->lstSpalten->count(), 30);
    const bool fünfteAn = w->lstSpalten->item(4)->checkState() == Qt::Checked;
    w->lstSpalten->item(4)->setCheckState(fünfteAn ? Qt::Unchecked : Qt::Checked);
    w->optDoppelklickID3->setChecked(true);
    idx.bolIndexGeändert = false;
    w->cmdOk_Click();

    EXPECT_EQ(idx.strDateiTypen.last(), QStringLiteral("ogg=1"));
    EXPECT_EQ(idx.strDateiTypArten.last(), QStringLiteral("000"));
    EXPECT_EQ(idx.intSyncLeer, 0);
    EXPECT_EQ(idx.strSyncOrdner, QStringList{QStringLiteral("/musik")});
    EXPECT_EQ(idx.intSyncUnterordner, QList<int>{1});
    EXPECT_EQ(idx.strSyncKopierenInOrdner, QStringList{QStringLiteral("/ziel")});
    EXPECT_EQ(einstellungen().BeiDoppelklick, 3);
    EXPECT_TRUE(idx.bolIndexGeändert);
    // The list follows.
    EXPECT_EQ(f->lstSongs->model()->columnCount(), spaltenVorher + (fünfteAn ? -1 : 1));

    // Through a save and a load the options stay.
    ASSERT_TRUE(DateiSpeichern(idx, a, false));
    ASSERT_TRUE(IndexDateiLaden(f.get()));
    EXPECT_EQ(hauptIndex().strSyncKopierenInOrdner, QStringList{QStringLiteral("/ziel")});
    EXPECT_EQ(hauptIndex().strDateiTypen.last(), QStringLiteral("ogg=1"));
    EXPECT_EQ(f->lstSongs->model()->columnCount(), spaltenVorher + (fünfteAn ? -1 : 1));

    // Removing the only folder, then Cancel: nothing taken.
    w->Anzeigen(hauptIndex(), 3);
    w->lstSyncOrdner->setCurrentRow(0);
    antworten = {Antwort::Ja};
    w->cmdSyncOrdnerEntfernen_Click();
    EXPECT_EQ(w->lstSyncOrdner->count(), 0);
    EXPECT_TRUE(w->chkSyncUnterordner->isHidden());
    w->cmdAbbrechen_Click();
    EXPECT_EQ(hauptIndex().strSyncOrdner, QStringList{QStringLiteral("/musik")});
    // ... and with OK the index has no sync folders.
    w->Anzeigen(hauptIndex(), 3);
    w->lstSyncOrdner->setCurrentRow(0);
    antworten = {Antwort::Ja};
    w->cmdSyncOrdnerEntfernen_Click();
    w->cmdOk_Click();
    EXPECT_EQ(hauptIndex().intSyncLeer, 1);
}

// The edit boxes show the entry the mouse picked, and a change goes only to
// that entry; the keyboard picks alike.
TEST_F(OptionenFenster, IndexOptionenListenFolgenDemMausklick)
{
    Index& idx = hauptIndex();
    idx.strDateiTypen = standardwerte().strStandardDateiTypen;
    idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    idx.intDateiTypenLeer = 0;
    frmIndexOptionen* w = indexOptionenFenster();
    w->Anzeigen(idx, 0);
    w->show();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));

    // File types: two own ones typed in, the first typed on after a pick.
    QListWidget* typen = w->lstDateitypen;
    for (const char* endung : {"abc", "def"}) {
        Klicken(w->cmdDateitypenHinzufügen);
        QTest::keyClicks(QApplication::focusWidget(), endung);
    }
    ZeileKlicken(typen, typen->count() - 2);
    EXPECT_EQ(w->txtDateitypEndung->text(), "abc");
    EXPECT_EQ(QApplication::focusWidget(), w->txtDateitypEndung);
    QTest::keyClicks(w->txtDateitypEndung, "Q");
    EXPECT_EQ(typen->item(typen->count() - 2)->text(), w->txtDateitypEndung->text());
    // A built-in type picked by the mouse cannot be typed over.
    ZeileKlicken(typen, 0);
    EXPECT_EQ(w->txtDateitypEndung->text(), typen->item(0)->text());
    EXPECT_FALSE(w->txtDateitypEndung->isEnabled());
    typen->setFocus();
    QTest::keyClick(typen, Qt::Key_End);
    EXPECT_EQ(w->txtDateitypEndung->text(), "def");

    // Sync folders: the second gets a copy target, the first its subfolders.
    Klicken(w->optOptionen[1]);
    QStringList ordner = {"/eins", "/zwei"};
    w->ordnerDialog = [&](const QString&) { return ordner.takeFirst(); };
    Klicken(w->cmdSyncOrdnerHinzufügen);
    Klicken(w->cmdSyncOrdnerHinzufügen);
    Klicken(w->chkSyncKopierenInOrdner);
    QTest::keyClicks(w->txtSyncKopierenInOrdner, "/ziel");
    ZeileKlicken(w->lstSyncOrdner, 0);
    EXPECT_TRUE(w->chkSyncUnterordner->isVisible());
    EXPECT_FALSE(w->chkSyncKopierenInOrdner->isChecked());
    EXPECT_FALSE(w->txtSyncKopierenInOrdner->isVisible());
    Klicken(w->chkSyncUnterordner);
    ZeileKlicken(w->lstSyncOrdner, 1);
    EXPECT_FALSE(w->chkSyncUnterordner->isChecked());
    EXPECT_TRUE(w->chkSyncKopierenInOrdner->isChecked());
    EXPECT_EQ(w->txtSyncKopierenInOrdner->text(), "/ziel");

    Klicken(w->cmdOk);
    EXPECT_FALSE(w->isVisible()) << meldungen.join('\n').toStdString();
    EXPECT_EQ(idx.strSyncOrdner, QStringList({"/eins", "/zwei"}));
    EXPECT_EQ(idx.intSyncUnterordner, QList<int>({1, 0}));
    EXPECT_EQ(idx.strSyncKopierenInOrdner, QStringList({"", "/ziel"}));
    const QStringList eigene = idx.strDateiTypen.mid(idx.strDateiTypen.size() - 2);
    EXPECT_TRUE(eigene.size() == 2 && eigene[0].endsWith("Q=0") && eigene[1] == "def=0") << eigene.join(' ').toStdString();
}

TEST_F(OptionenFenster, IndexOptionenPrüfungHältDenDialogOffen)
{
    frmIndexOptionen* w = indexOptionenFenster();
    w->Anzeigen(hauptIndex(), 0);
    w->show();
    const QString vorher = hauptIndex().strSpaltenNutzerformat;
    for (int i = 0; i < w->lstSpalten->count(); ++i)
        w->lstSpalten->item(i)->setCheckState(Qt::Unchecked);
    w->txtSpaltenBenutzerFormat->setText(QStringLiteral("%Titel%"));
    w->cmdOk_Click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(meldungen.last(), QStringLiteral("Bitte wählen Sie mindestens eine Spalte zur Anzeige aus."));
    EXPECT_EQ(hauptIndex().strSpaltenNutzerformat, vorher);

    // A typed extension with "=" is refused.
    w->lstSpalten->item(0)->setCheckState(Qt::Checked);
    w->cmdDateitypenHinzufügen_Click();
    w->txtDateitypEndung->setText(QStringLiteral("a=b"));
    w->txtDateitypEndung_Change();
    w->cmdOk_Click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(meldungen.last(), OptionsTextFehler(true));
    w->cmdAbbrechen_Click();
    EXPECT_FALSE(w->isVisible());
}
