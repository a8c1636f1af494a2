// The batch panel of the tag editor, run by its buttons on made files: each
// function on the file shown and on all files, per target; the walk that
// saves every file but the last; failed saves and loads; AutoTAG; the
// AutoTAG chooser; the field copy dialog's values reaching every file.

#include "Mp3TagEditorHilfen.h"
#include "core/Verfuegbarkeit.h"
#include "media/ListenEingabe_gui.h"
#include "media/Mp3TagStapel.h"
#include "media/TagSchreiben.h"
#include "media/frmMp3TagAutoTagWaehlen.h"
#include "media/frmMp3TagFeldFuellen.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUuid>

using namespace Mp3Bauer;

namespace {

// The fields the functions work on, without the genre and the year.
TagFelder Felder(const QString& titel, const QString& interpret, const QString& album, const QString& kommentar = {},
                 const QString& track = {})
{
    TagFelder f;
    f[TagFelder::Titel] = titel;
    f[TagFelder::Interpret] = interpret;
    f[TagFelder::Album] = album;
    f[TagFelder::Kommentar] = kommentar;
    f[TagFelder::Titelnummer] = track;
    return f;
}

TagFelder AusDatensatz(const MedienInfo& m, bool v2)
{
    return v2 ? Felder(m.Mp3_ID3v2_Titel, m.Mp3_ID3v2_Interpret, m.Mp3_ID3v2_Album, m.Mp3_ID3v2_Kommentar,
                       m.Mp3_ID3v2_Titelnummer)
              : Felder(m.Mp3_ID3v1_Titel, m.Mp3_ID3v1_Interpret, m.Mp3_ID3v1_Album, m.Mp3_ID3v1_Kommentar,
                       m.Mp3_ID3v1_Titelnummer);
}

std::string Text(const TagFelder& f)
{
    QStringList t;
    for (const QString& s : f.feld)
        t << s;
    return t.join('|').toStdString();
}

class StapelFenster : public Mp3TagFensterTest {
protected:
    void SetUp() override
    {
        Mp3TagFensterTest::SetUp();
        einstellungen().TAGsSoftwareFeldSchreiben = 0;
        bolNichtVerfügbarAlleÜberspringen = false;
    }
    void TearDown() override
    {
        TagSchreibenFehlerBeiSchreibvorgang(0);
        Mp3TagFensterTest::TearDown();
    }

    // Three files of one band, ID3v1 in lower case, ID3v2 in upper case.
    void DateienAnlegen(int anzahl = 3)
    {
        hauptIndex() = Index();
        hauptIndex().strDateiTypen = standardwerte().strStandardDateiTypen;
        hauptIndex().strDateiTypArten = standardwerte().strStandardDateiTypArten;
        einträge.clear();
        const char* const namen[] = {"eins", "zwei", "drei"};
        for (int i = 0; i < anzahl; ++i) {
            const QString n = QString::fromLatin1(namen[i]);
            Id3v2Tag t;
            t.frames = {TextFrame("TIT2", n.toUpper()), TextFrame("TPE1", QStringLiteral("BAND")),
                        TextFrame("TALB", QStringLiteral("PLATTE"))};
            t.padding = 100;
            const QByteArray v1 = Id3v1Block({.titel = n.toLatin1(), .interpret = "band", .album = "platte",
                                              .kommentar = i == 0 ? "Nr. 5 von 12" : ""});
            const QString pfad = QStringLiteral("Band - %1.mp3").arg(n.at(0).toUpper() + n.mid(1));
            einträge.push_back(Eintrag(pfad, t.Bytes() + Frames(Frame(), 20) + v1));
        }
    }
    void Öffnen()
    {
        ASSERT_TRUE(f->Öffnen(einträge));
        f->show();
        meldungen.clear();
    }
    TagFelder Datei(int i, bool v2) { return AusDatensatz(AusDatei(einträge[size_t(i)]), v2); }
    TagFelder Seite(bool v2)
    {
        return v2 ? Felder(f->txtv2Titel->text(), f->txtv2Interpret->text(), f->txtv2Album->text(),
                           f->txtv2Kommentar->text(), f->txtv2Titelnummer->text())
                  : Felder(f->txtTitel->text(), f->txtInterpret->text(), f->txtAlbum->text(), f->txtKommentar->text(),
                           f->txtTitelnummer->text());
    }
    std::vector<QByteArray> Inhalte()
    {
        std::vector<QByteArray> d;
        for (qint32 e : einträge)
            d.push_back(DateiInhalt(Pfad(e)));
        return d;
    }
    void Ausführen(int funktion, int ziel)
    {
        ZeileKlicken(f->cboFunktion, funktion);
        if (ziel >= 0) {
            ZeileKlicken(f->cboFunktionTAG, ziel);
        } else if (GewählteZeile(f->cboFunktionTAG) >= 0) {
            // A second click with Ctrl takes the choice back.
            f->cboFunktionTAG->setVisible(true);
            const int zeile = GewählteZeile(f->cboFunktionTAG);
            QListWidgetItem* item = f->cboFunktionTAG->item(zeile);
            QTest::mouseClick(f->cboFunktionTAG->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              f->cboFunktionTAG->visualItemRect(item).center());
        }
        Klicken(f->cmdFunktionAusführen);
    }
    std::vector<qint32> einträge;
};

const QString kAlleFragen = QStringLiteral("Möchten Sie die Funktion '%1' tatsächlich für '%2' anwenden?");

} // namespace

TEST_F(StapelFenster, PanelLists)
{
    DateienAnlegen();
    Öffnen();
    EXPECT_EQ(f->cboFunktion->count(), 11);
    EXPECT_EQ(f->cboFunktionTAG->count(), 6);
    EXPECT_EQ(f->cmdFunktionAusführen->text(), "&Funktion ausführen");
    ZeileKlicken(f->cboFunktion, FunktionAutoTagEinstellen);
    EXPECT_TRUE(f->cboFunktionTAG->isHidden());
    EXPECT_EQ(f->focusWidget(), f->cmdFunktionAusführen);
    ZeileKlicken(f->cboFunktion, FunktionGroß);
    EXPECT_FALSE(f->cboFunktionTAG->isHidden());
    EXPECT_EQ(f->focusWidget(), f->cboFunktionTAG);
    ZeileKlicken(f->cboFunktionTAG, 2);
    EXPECT_EQ(f->focusWidget(), f->cmdFunktionAusführen);
    f->cboFunktion->setFocus();
    QTest::keyClick(f->cboFunktion, Qt::Key_Home);
    EXPECT_FALSE(f->cboFunktionTAG->isHidden());
    QTest::keyClick(f->cboFunktion, Qt::Key_Down);
    EXPECT_EQ(f->cboFunktion->currentRow(), FunktionAutoTagEinstellen);
    EXPECT_TRUE(f->cboFunktionTAG->isHidden()) << "follows a choice by the keyboard";
}

TEST_F(StapelFenster, NothingChosen)
{
    DateienAnlegen();
    Öffnen();
    ZeileKlicken(f->cboFunktionTAG, 0);
    Ausführen(FunktionKlein, -1);
    // No function: its choice taken back by a click with Ctrl.
    ZeileKlicken(f->cboFunktionTAG, 0);
    QListWidgetItem* item = f->cboFunktion->item(FunktionKlein);
    QTest::mouseClick(f->cboFunktion->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      f->cboFunktion->visualItemRect(item).center());
    ASSERT_EQ(GewählteZeile(f->cboFunktion), -1);
    Klicken(f->cmdFunktionAusführen);
    EXPECT_EQ(meldungen, (QStringList{"Bitte wählen Sie eine Funktion.", "Bitte wählen Sie eine Funktion."}));
    EXPECT_EQ(Seite(false), Felder("eins", "band", "platte", "Nr. 5 von 12"));
}

TEST_F(StapelFenster, NumberFromCommentOfBothTagsOfTheFileShown)
{
    DateienAnlegen();
    Öffnen();
    f->txtKommentar->setText(QStringLiteral("CD 2"));
    Ausführen(FunktionZahlAusKommentar, 2);
    EXPECT_EQ(f->txtTitelnummer->text(), "2");
    EXPECT_EQ(f->txtv2Titelnummer->text(), "");
    EXPECT_EQ(meldungen, QStringList{"Das Kommentar-Feld des ID3v2-TAGs ist leer."});
}

TEST_F(StapelFenster, SwapsAndCaseOnTheFileShown)
{
    DateienAnlegen();
    Öffnen();
    f->cmdNächster_Click();
    const auto vorher = Inhalte();
    Ausführen(FunktionTitelInterpret, 0);
    EXPECT_EQ(Seite(false), Felder("band", "zwei", "platte"));
    EXPECT_EQ(Seite(true), Felder("ZWEI", "BAND", "PLATTE")) << "ID3v2 not targeted";
    Ausführen(FunktionAlbumTitel, 1);
    EXPECT_EQ(Seite(true), Felder("PLATTE", "BAND", "ZWEI"));
    Ausführen(FunktionInterpretAlbum, 2);
    EXPECT_EQ(Seite(false), Felder("band", "platte", "zwei"));
    EXPECT_EQ(Seite(true), Felder("PLATTE", "ZWEI", "BAND"));

    f->txtTitel->setText(QStringLiteral("der titel (live)"));
    f->txtInterpret->setText(QStringLiteral("die BAND"));
    f->txtAlbum->setText(QStringLiteral("a-b c"));
    f->txtKommentar->setText(QStringLiteral("x.y z"));
    f->txtTitelnummer->setText(QStringLiteral("07"));
    const struct {
        int funktion;
        TagFelder erwartet;
    } fälle[] = {
        {FunktionErsterGroß, Felder("Der titel (Live)", "Die band", "A-B c", "X.Y z", "07")},
        {FunktionWörterGroß, Felder("Der Titel (Live)", "Die Band", "A-B C", "X.Y Z", "07")},
        {FunktionKlein, Felder("der titel (live)", "die band", "a-b c", "x.y z", "07")},
        {FunktionGroß, Felder("DER TITEL (LIVE)", "DIE BAND", "A-B C", "X.Y Z", "07")},
    };
    for (const auto& fall : fälle) {
        Ausführen(fall.funktion, 0);
        EXPECT_EQ(Seite(false), fall.erwartet) << fall.funktion << ": " << Text(Seite(false));
        EXPECT_EQ(Seite(true), Felder("PLATTE", "ZWEI", "BAND"));
    }
    EXPECT_EQ(Inhalte(), vorher) << "one file: nothing saved";
    EXPECT_EQ(f->txtDateiname->currentIndex(), 1) << "nothing loaded";
    EXPECT_TRUE(meldungen.isEmpty());
}

TEST_F(StapelFenster, AllFilesWalksAndSavesAllButTheLast)
{
    DateienAnlegen();
    Öffnen();
    f->cmdNächster_Click();
    const auto vorher = Inhalte();
    antworten = [](const QString&) { return Antwort::Nein; };
    Ausführen(FunktionGroß, 3);
    EXPECT_EQ(meldungen, QStringList{kAlleFragen.arg("Schreibweise: Groß", "Alle ID3v1-TAGs")});
    EXPECT_EQ(Inhalte(), vorher);
    EXPECT_EQ(f->txtDateiname->currentIndex(), 1);

    antworten = [](const QString&) { return Antwort::Ja; };
    Ausführen(FunktionGroß, 3);
    EXPECT_EQ(Datei(0, false), Felder("EINS", "BAND", "PLATTE", "NR. 5 VON 12"));
    EXPECT_EQ(Datei(1, false), Felder("ZWEI", "BAND", "PLATTE"));
    EXPECT_EQ(Datei(2, false), Felder("drei", "band", "platte")) << "the last file stays unsaved";
    EXPECT_EQ(Seite(false), Felder("DREI", "BAND", "PLATTE"));
    EXPECT_EQ(f->txtDateiname->currentIndex(), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Inhalte()[size_t(i)].left(120), vorher[size_t(i)].left(120)) << i << ": ID3v2 not targeted";

    Ausführen(FunktionKlein, 5);
    EXPECT_EQ(Datei(0, true), Felder("eins", "band", "platte"));
    EXPECT_EQ(Datei(1, false), Felder("zwei", "band", "platte"));
    EXPECT_EQ(Datei(2, true), Felder("DREI", "BAND", "PLATTE"));
    Ausführen(FunktionGroß, 4);
    EXPECT_EQ(Datei(0, true), Felder("EINS", "BAND", "PLATTE"));
    EXPECT_EQ(Datei(0, false), Felder("eins", "band", "platte", "nr. 5 von 12"));
}

TEST_F(StapelFenster, AllFilesOnASingleFileWorksOnTheFileShown)
{
    DateienAnlegen(1);
    Öffnen();
    const auto vorher = Inhalte();
    Ausführen(FunktionGroß, 5);
    EXPECT_EQ(meldungen.size(), 1);
    EXPECT_EQ(Inhalte(), vorher);
    EXPECT_EQ(Seite(true), Felder("EINS", "BAND", "PLATTE"));
    EXPECT_EQ(Seite(false)[TagFelder::Titel], "EINS");
}

TEST_F(StapelFenster, AFailedSaveAsksAlsoBeforeTheLastFile)
{
    const QString frage = QStringLiteral("Es ist ein Fehler beim Speichern des ID3v1-TAGs aufgetreten.\n"
                                         "Möchten Sie mit der nächsten Datei fortfahren?");
    for (Antwort antwort : {Antwort::Ja, Antwort::Nein}) {
        DateienAnlegen(2);
        Öffnen();
        antworten = [&](const QString& t) { return t == frage ? antwort : Antwort::Ja; };
        // The first write into the file, its ID3v1 block, fails.
        TagSchreibenFehlerBeiSchreibvorgang(1);
        Ausführen(FunktionGroß, 5);
        ASSERT_EQ(meldungen.size(), 3) << meldungen.join('|').toStdString();
        EXPECT_EQ(meldungen[0], kAlleFragen.arg("Schreibweise: Groß", "Alle ID3v1- und ID3v2-TAGs"));
        EXPECT_TRUE(meldungen[1].startsWith("Der ID3v1-TAG der Datei")) << meldungen.join('|').toStdString();
        EXPECT_EQ(meldungen[2], frage);
        EXPECT_EQ(Datei(0, true), Felder("EINS", "BAND", "PLATTE")) << "ID3v2 saved in the same sequence";
        if (antwort == Antwort::Ja) {
            EXPECT_EQ(f->txtDateiname->currentIndex(), 1) << "the last file is worked on";
            EXPECT_EQ(Seite(false)[TagFelder::Titel], "ZWEI");
        } else {
            EXPECT_EQ(f->txtDateiname->currentIndex(), 0) << "the file whose save failed stays";
            EXPECT_EQ(Datei(1, false)[TagFelder::Titel], "zwei");
        }
        f->hide();
    }
}

TEST_F(StapelFenster, AFileThatCannotBeLoadedEndsTheRun)
{
    DateienAnlegen();
    // The second entry lies on a medium that is not there; the user skips it.
    MedienInfo m = LeereMedienInfo();
    m.Datei_Datenträger = QStringLiteral("URLAUB");
    einträge[1] = hauptIndex().EintragAnhängen(
        QStringLiteral("/media/kalvero-test-%1/Band - Zwei.mp3").arg(QUuid::createUuid().toString(QUuid::Id128)), m, 1);
    einstellungen().NichtVerfügbarFragen = 1;
    int gefragt = 0;
    DienstErsetzen<NichtVerfügbarDienst> abwesend{[&](const QString&, const QString&, QObject*) {
        ++gefragt;
        return NichtVerfügbarAntwort::Überspringen;
    }};
    Öffnen();
    Ausführen(FunktionGroß, 3);
    EXPECT_EQ(gefragt, 1);
    EXPECT_EQ(meldungen.size(), 1) << "no message of its own";
    EXPECT_EQ(Datei(0, false)[TagFelder::Titel], "EINS");
    EXPECT_EQ(Datei(2, false)[TagFelder::Titel], "drei") << "the run ended";
    EXPECT_EQ(f->txtDateiname->currentIndex(), 0);
    EXPECT_EQ(Seite(false)[TagFelder::Titel], "EINS") << "the first file, saved and shown again";
}

TEST_F(StapelFenster, AutoTagByTheCurrentFormat)
{
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% - %Titel%");
    DateienAnlegen();
    Öffnen();
    f->cmdNächster_Click();
    Ausführen(FunktionAutoTag, 1);
    EXPECT_EQ(Seite(true), Felder("Zwei", "Band", "PLATTE"));
    EXPECT_EQ(Seite(false), Felder("zwei", "band", "platte")) << "target ID3v2 only";
    EXPECT_EQ(Datei(1, true)[TagFelder::Titel], "ZWEI") << "nothing saved for one file";

    Ausführen(FunktionAutoTag, 3);
    EXPECT_EQ(Datei(0, false), Felder("Eins", "Band", "platte", "Nr. 5 von 12"));
    EXPECT_EQ(Datei(1, false)[TagFelder::Interpret], "Band");
    EXPECT_EQ(Seite(false)[TagFelder::Titel], "Drei");
}

TEST_F(StapelFenster, AutoTagFailureAsksToGoOn)
{
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% ~ %Titel%");
    DateienAnlegen();
    Öffnen();
    antworten = [](const QString&) { return Antwort::Nein; };
    Ausführen(FunktionAutoTag, 2);
    ASSERT_EQ(meldungen.size(), 2);
    EXPECT_TRUE(meldungen[0].contains("nicht gleich viele Elemente"));
    EXPECT_EQ(meldungen[1], "Es ist ein Fehler in der Funktion 'AutoTAG' aufgetreten.\n"
                            "Möchten Sie mit der nächsten Datei fortfahren?");

    meldungen.clear();
    antworten = [](const QString&) { return Antwort::Ja; };
    Ausführen(FunktionAutoTag, 5);
    EXPECT_EQ(meldungen.size(), 1 + 3 * 2) << "each file's refusal and question";
    EXPECT_EQ(f->txtDateiname->currentIndex(), 2);
}

TEST_F(StapelFenster, SetupOpensTheChooserOverTheEditor)
{
    DateienAnlegen();
    Öffnen();
    f->cmdNächster_Click();
    einstellungen().AutoTagAktuell.clear();
    // No target chosen: the chooser at once.
    ImDialog<frmMp3TagAutoTagWählen>(f, [&](frmMp3TagAutoTagWählen* w) {
        EXPECT_EQ(w->lstFormat->count(), einstellungen().AutoTagFormate.size());
        ZeileKlicken(w->lstFormat, 2);
        Klicken(w->cmdOk);
    });
    Ausführen(FunktionAutoTagEinstellen, -1);
    EXPECT_EQ(einstellungen().AutoTagAktuell, einstellungen().AutoTagFormate.value(2));
    EXPECT_TRUE(meldungen.isEmpty());
    EXPECT_EQ(f->txtDateiname->currentIndex(), 1);

    // An all-files target left chosen: asked, and the first file is loaded
    // before the chooser opens.
    ZeileKlicken(f->cboFunktion, FunktionGroß);
    ZeileKlicken(f->cboFunktionTAG, 3);
    ImDialog<frmMp3TagAutoTagWählen>(f, [&](frmMp3TagAutoTagWählen* w) {
        EXPECT_EQ(f->txtDateiname->currentIndex(), 0);
        Klicken(w->cmdAbbrechen);
    });
    ZeileKlicken(f->cboFunktion, FunktionAutoTagEinstellen);
    Klicken(f->cmdFunktionAusführen);
    EXPECT_EQ(meldungen, QStringList{kAlleFragen.arg("AutoTAG einstellen...", "Alle ID3v1-TAGs")});
}

TEST_F(StapelFenster, FieldCopyRefusedWritesNothing)
{
    DateienAnlegen();
    Öffnen();
    f->cmdNächster_Click();
    const auto vorher = Inhalte();
    ImDialog<frmMp3TagFeldFüllen>(f, [&](frmMp3TagFeldFüllen* d) { Klicken(d->cmdAbbrechen); });
    Ausführen(FunktionFelderKopieren, 5);
    EXPECT_EQ(Inhalte(), vorher);
    EXPECT_EQ(f->txtDateiname->currentIndex(), 0) << "the source was loaded";
}

TEST_F(StapelFenster, FieldCopyFromTheFirstFileIntoAll)
{
    DateienAnlegen();
    Öffnen();
    // The first file's own values, saved before the run.
    f->txtInterpret->setText(QStringLiteral("Quelle"));
    f->cboMusikrichtung->setCurrentIndex(f->cboMusikrichtung->findText(QStringLiteral("Rock")));
    f->txtv2Interpret->setText(QStringLiteral("QUELLE"));
    f->cbov2Musikrichtung->setEditText(QStringLiteral("Eigenes"));
    Klicken(f->cmdTAGSpeichernAlles);
    f->cmdNächster_Click();
    ImDialog<frmMp3TagFeldFüllen>(f, [&](frmMp3TagFeldFüllen* d) {
        d->lstFelder->setCurrentRow(TagFelder::Interpret);
        EXPECT_EQ(d->txtInhalt->toPlainText(), "ID3v1: 'Quelle'\nID3v2: 'QUELLE'") << "the preview of the first file";
        d->lstFelder->setCurrentRow(TagFelder::Genre);
        EXPECT_EQ(d->txtInhalt->toPlainText(), "ID3v1: 'Rock'\nID3v2: 'Eigenes'");
        d->lstFelder->clearSelection();
        ZeileKlicken(d->lstFelder, TagFelder::Interpret);
        ZeileKlicken(d->lstFelder, TagFelder::Genre);
        Klicken(d->cmdOk);
    });
    Ausführen(FunktionFelderKopieren, 4);
    const MedienInfo zwei = AusDatei(einträge[1]);
    EXPECT_EQ(AusDatensatz(zwei, true), Felder("ZWEI", "QUELLE", "PLATTE"));
    EXPECT_EQ(zwei.Mp3_ID3v2_Musikrichtung, "Eigenes");
    EXPECT_EQ(AusDatensatz(zwei, false), Felder("zwei", "band", "platte")) << "only ID3v2 is saved";
    EXPECT_EQ(AusDatei(einträge[0]).Mp3_ID3v2_Interpret, "QUELLE") << "the first file gets its own values back";
    // The ID3v1 page of the last file keeps its own fields.
    EXPECT_EQ(Seite(false), Felder("drei", "band", "platte"));
    EXPECT_EQ(f->cboMusikrichtung->currentIndex(), -1);
    EXPECT_EQ(Seite(true), Felder("DREI", "QUELLE", "PLATTE"));
    EXPECT_EQ(f->cbov2Musikrichtung->currentText(), "Eigenes");
    EXPECT_EQ(AusDatei(einträge[2]).Mp3_ID3v2_Interpret, "BAND") << "the last file is left to the user";
}

TEST_F(StapelFenster, FieldCopyOnOneFileLeavesItAsItWas)
{
    DateienAnlegen();
    Öffnen();
    f->cmdNächster_Click();
    const TagFelder v1 = Seite(false), v2 = Seite(true);
    const auto vorher = Inhalte();
    ImDialog<frmMp3TagFeldFüllen>(f, [&](frmMp3TagFeldFüllen* d) {
        for (int i = 0; i < d->lstFelder->count(); ++i)
            d->lstFelder->item(i)->setSelected(true);
        Klicken(d->cmdOk);
    });
    Ausführen(FunktionFelderKopieren, 0);
    EXPECT_EQ(Seite(false), v1);
    EXPECT_EQ(Seite(true), v2);
    EXPECT_EQ(Inhalte(), vorher);
}

TEST_F(StapelFenster, EveryFieldFunctionOnEveryTarget)
{
    for (int funktion = FunktionTitelInterpret; funktion <= FunktionGroß; ++funktion) {
        for (int zielPos = 0; zielPos < 6; ++zielPos) {
            DateienAnlegen();
            std::array<std::array<TagFelder, 2>, 3> anfang;
            for (int d = 0; d < 3; ++d)
                anfang[size_t(d)] = {Datei(d, false), Datei(d, true)};
            Öffnen();
            f->cmdNächster_Click();
            Ausführen(funktion, zielPos);
            const StapelZiel ziel = StapelZielErmitteln(zielPos);
            const auto erwartet = [&](int datei, bool v2) {
                TagFelder t = anfang[size_t(datei)][v2];
                if (v2 ? ziel.v2 : ziel.v1)
                    StapelFeldFunktion(funktion, t, v2);
                return t;
            };
            const std::string fall = std::to_string(funktion) + "/" + std::to_string(zielPos);
            if (!ziel.alle) {
                EXPECT_EQ(Seite(false), erwartet(1, false)) << fall;
                EXPECT_EQ(Seite(true), erwartet(1, true)) << fall;
                for (int d = 0; d < 3; ++d)
                    for (bool v2 : {false, true})
                        EXPECT_EQ(Datei(d, v2), anfang[size_t(d)][v2]) << fall;
            } else {
                for (int d : {0, 1})
                    for (bool v2 : {false, true})
                        EXPECT_EQ(Datei(d, v2), erwartet(d, v2)) << fall << " file " << d << ": " << Text(Datei(d, v2));
                EXPECT_EQ(Datei(2, false), anfang[2][0]) << fall;
                EXPECT_EQ(Datei(2, true), anfang[2][1]) << fall;
                EXPECT_EQ(Seite(false), erwartet(2, false)) << fall;
                EXPECT_EQ(Seite(true), erwartet(2, true)) << fall;
            }
            f->hide();
        }
    }
}
