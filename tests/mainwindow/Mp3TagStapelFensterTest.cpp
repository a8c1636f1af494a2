// The batch panel of the tag editor, run by its buttons on made files: each
// function on the file shown and on all files, per target; the walk that
// saves every file but the last; failed saves and loads; AutoTAG and its
// chooser; the field copy dialog's values reaching every file.

#include "Mp3TagEditorHilfen.h"
#include "core/Verfuegbarkeit.h"
#include "media/TagSchreiben.h"
#include "media/frmMp3TagAutoTagWaehlen.h"
#include "media/frmMp3TagFeldFuellen.h"
#include "support/Mutagen.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QUuid>

using namespace Mp3Bauer;

namespace {

TagFelder Felder(const QString& titel, const QString& interpret, const QString& album, const QString& kommentar = {},
                 const QString& track = {})
{
    return {{titel, interpret, album, {}, track, {}, kommentar}};
}

const QString kAlleFragen = QStringLiteral("Möchten Sie die Funktion '%1' tatsächlich für '%2' anwenden?");

class StapelFenster : public Mp3TagFensterTest {
protected:
    void SetUp() override
    {
        Mp3TagFensterTest::SetUp();
        bolNichtVerfügbarAlleÜberspringen = false;
    }
    void TearDown() override
    {
        TagSchreibenFehlerBeiSchreibvorgang(0);
        Mp3TagFensterTest::TearDown();
    }

    // Files "Band - Eins.mp3" ... of one band, ID3v1 in lower case, ID3v2 in
    // upper case, opened in the editor.
    void Anlegen(int anzahl = 3)
    {
        NeuerIndex();
        einträge.clear();
        for (int i = 0; i < anzahl; ++i) {
            const QString n = QStringList{"eins", "zwei", "drei"}[i];
            Id3v2Tag t;
            t.frames = {TextFrame("TIT2", n.toUpper()), TextFrame("TPE1", "BAND"), TextFrame("TALB", "PLATTE")};
            t.padding = 100;
            const QByteArray v1 = Id3v1Block({.titel = n.toLatin1(), .interpret = "band", .album = "platte",
                                              .kommentar = i == 0 ? "Nr. 5 von 12" : ""});
            const QString name = "Band - " + n.left(1).toUpper() + n.mid(1) + ".mp3";
            einträge.push_back(Eintrag(name, t.Bytes() + Frames(Frame(), 20) + v1));
        }
        Öffnen(einträge);
    }
    static TagFelder Tag(const MedienInfo& m, bool v2)
    {
        return v2 ? Felder(m.Mp3_ID3v2_Titel, m.Mp3_ID3v2_Interpret, m.Mp3_ID3v2_Album, m.Mp3_ID3v2_Kommentar,
                           m.Mp3_ID3v2_Titelnummer)
                  : Felder(m.Mp3_ID3v1_Titel, m.Mp3_ID3v1_Interpret, m.Mp3_ID3v1_Album, m.Mp3_ID3v1_Kommentar,
                           m.Mp3_ID3v1_Titelnummer);
    }
    TagFelder Datei(int i, bool v2) { return Tag(AusDatei(einträge[size_t(i)]), v2); }
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
    // A function run with no target: a click with Ctrl took its choice back.
    void OhneZiel(int funktion)
    {
        ZeileKlicken(f->cboFunktion, FunktionKlein);
        if (const int z = GewählteZeile(f->cboFunktionTAG); z >= 0)
            ZeileKlicken(f->cboFunktionTAG, z, Qt::ControlModifier);
        ZeileKlicken(f->cboFunktion, funktion);
        Klicken(f->cmdFunktionAusführen);
    }
    std::vector<qint32> einträge;
};

} // namespace

TEST_F(StapelFenster, PanelLists)
{
    Anlegen();
    EXPECT_EQ(f->cboFunktion->count(), 11);
    EXPECT_EQ(f->cboFunktionTAG->count(), 6);
    EXPECT_EQ(f->cmdFunktionAusführen->text(), "&Funktion ausführen");
    ZeileKlicken(f->cboFunktion, FunktionAutoTagEinstellen);
    EXPECT_TRUE(f->cboFunktionTAG->isHidden());
    EXPECT_EQ(f->focusWidget(), f->cboFunktion);
    ZeileKlicken(f->cboFunktion, FunktionGroß);
    EXPECT_FALSE(f->cboFunktionTAG->isHidden());
    EXPECT_EQ(f->focusWidget(), f->cboFunktion);
    ZeileKlicken(f->cboFunktionTAG, 2);
    EXPECT_EQ(f->focusWidget(), f->cmdFunktionAusführen);
    // Chosen by the keyboard: the target list follows.
    f->cboFunktion->setFocus();
    QTest::keyClick(f->cboFunktion, Qt::Key_Home);
    EXPECT_FALSE(f->cboFunktionTAG->isHidden());
    QTest::keyClick(f->cboFunktion, Qt::Key_Down);
    EXPECT_TRUE(f->cboFunktionTAG->isHidden());
}

// Each list answers the keys while it has the focus; Enter leads on to the next
// one, never to a default button of the window ("< Vorherige" is live here).
TEST_F(StapelFenster, EachListAnswersTheKeysWhileItHasTheFocus)
{
    Anlegen();
    f->cmdNächster_Click();
    // The offscreen window system keeps a window it hid as its focus window,
    // so the editor shown again is not activated for its widgets; another
    // window takes the focus first, as a desktop's would.
    {
        QWidget anderes;
        anderes.show();
        anderes.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&anderes));
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    }
    ASSERT_EQ(QApplication::activeWindow(), f);
    const auto taste = [](std::initializer_list<Qt::Key> tasten) {
        for (const Qt::Key k : tasten)
            QTest::keyClick(QApplication::focusWidget(), k);
    };
    f->cboFunktionTAG->setCurrentRow(3);
    ZeileKlicken(f->cboFunktion, FunktionTitelInterpret);
    EXPECT_EQ(QApplication::focusWidget(), f->cboFunktion);
    taste({Qt::Key_Down, Qt::Key_Down});
    EXPECT_EQ(std::pair(GewählteZeile(f->cboFunktion), GewählteZeile(f->cboFunktionTAG)), std::pair(int(FunktionInterpretAlbum), 3));
    for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        f->cboFunktion->setFocus();
        taste({enter});
        EXPECT_EQ(QApplication::focusWidget(), f->cboFunktionTAG);
    }
    taste({Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(std::pair(GewählteZeile(f->cboFunktion), GewählteZeile(f->cboFunktionTAG)), std::pair(int(FunktionInterpretAlbum), 0));
    taste({Qt::Key_Return});
    EXPECT_EQ(QApplication::focusWidget(), f->cmdFunktionAusführen);
    EXPECT_EQ(f->txtDateiname->currentIndex(), 1) << "nothing ran";
    EXPECT_EQ(Seite(false), Felder("zwei", "band", "platte"));
    taste({Qt::Key_Return}); // on the button: runs the function chosen
    EXPECT_EQ(Seite(false), Felder("zwei", "platte", "band"));
    EXPECT_EQ(Seite(true), Felder("ZWEI", "BAND", "PLATTE"));

    ZeileKlicken(f->cboFunktion, FunktionAutoTagEinstellen);
    ASSERT_EQ(QApplication::focusWidget(), f->cboFunktion); // (on the button, Enter would open the chooser)
    taste({Qt::Key_Return});

    EXPECT_EQ(QApplication::focusWidget(), f->cmdFunktionAusführen);
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();
    EXPECT_EQ(f->txtDateiname->currentIndex(), 1);
}

TEST_F(StapelFenster, NothingChosen)
{
    Anlegen();
    OhneZiel(FunktionKlein);
    ZeileKlicken(f->cboFunktionTAG, 0);
    ZeileKlicken(f->cboFunktion, FunktionKlein, Qt::ControlModifier);
    ASSERT_EQ(GewählteZeile(f->cboFunktion), -1);
    Klicken(f->cmdFunktionAusführen);
    EXPECT_EQ(meldungen, (QStringList{"Bitte wählen Sie eine Funktion.", "Bitte wählen Sie eine Funktion."}));
    EXPECT_EQ(Seite(false), Felder("eins", "band", "platte", "Nr. 5 von 12"));
}

TEST_F(StapelFenster, EveryFieldFunctionOnEveryTarget)
{
    for (int funktion = FunktionTitelInterpret; funktion <= FunktionGroß; ++funktion)
        for (int zielPos = 0; zielPos < 6; ++zielPos) {
            SCOPED_TRACE(std::to_string(funktion) + "/" + std::to_string(zielPos));
            Anlegen();
            std::array<std::array<TagFelder, 2>, 3> anfang;
            for (int d = 0; d < 3; ++d)
                anfang[size_t(d)] = {Datei(d, false), Datei(d, true)};
            f->cmdNächster_Click();
            Ausführen(funktion, zielPos);
            const StapelZiel ziel = StapelZielErmitteln(zielPos);
            const auto erwartet = [&](int datei, bool v2) {
                TagFelder t = anfang[size_t(datei)][v2];
                if (v2 ? ziel.v2 : ziel.v1)
                    StapelFeldFunktion(funktion, t, v2);
                return t;
            };
            // One file: the one shown, nothing loaded or saved. All files: all
            // saved but the last, which is shown.
            const int gezeigt = ziel.alle ? 2 : 1;
            EXPECT_EQ(f->txtDateiname->currentIndex(), gezeigt);
            for (bool v2 : {false, true}) {
                EXPECT_EQ(Seite(v2), erwartet(gezeigt, v2)) << v2;
                for (int d = 0; d < 3; ++d)
                    EXPECT_EQ(Datei(d, v2), ziel.alle && d < 2 ? erwartet(d, v2) : anfang[size_t(d)][v2]) << d << v2;
            }
            f->hide();
        }
}

TEST_F(StapelFenster, AllFilesAsksFirst)
{
    // No: nothing happens. One file only: worked on where it is shown.
    for (int anzahl : {3, 1}) {
        Anlegen(anzahl);
        const auto vorher = Inhalte();
        antworten = [&](const QString&) { return anzahl == 3 ? Antwort::Nein : Antwort::Ja; };
        Ausführen(FunktionGroß, 3);
        EXPECT_EQ(meldungen, QStringList{kAlleFragen.arg("Schreibweise: Groß", "Alle ID3v1-TAGs")});
        EXPECT_EQ(Inhalte(), vorher);
        EXPECT_EQ(Seite(false)[TagFelder::Titel], anzahl == 3 ? "eins" : "EINS");
    }
}

TEST_F(StapelFenster, AFailedSaveAsksAlsoBeforeTheLastFile)
{
    const QString frage = QStringLiteral("Es ist ein Fehler beim Speichern des ID3v1-TAGs aufgetreten.\n"
                                         "Möchten Sie mit der nächsten Datei fortfahren?");
    for (Antwort antwort : {Antwort::Ja, Antwort::Nein}) {
        Anlegen(2);
        antworten = [&](const QString& t) { return t == frage ? antwort : Antwort::Ja; };
        // The first write fails: both tags are one save, neither is written, each is asked about.

        TagSchreibenFehlerBeiSchreibvorgang(1);
        const QByteArray vorher = DateiInhalt(Pfad(einträge[0]));
        Ausführen(FunktionGroß, 5);
        ASSERT_EQ(meldungen.size(), antwort == Antwort::Ja ? 4 : 3) << meldungen.join('|').toStdString();
        EXPECT_EQ(meldungen[0], kAlleFragen.arg("Schreibweise: Groß", "Alle ID3v1- und ID3v2-TAGs"));
        EXPECT_TRUE(meldungen[1].contains("konnte nicht gespeichert werden.")) << meldungen[1].toStdString();
        EXPECT_EQ(meldungen[2], frage);
        if (antwort == Antwort::Ja)
            EXPECT_EQ(meldungen[3], QString(frage).replace("ID3v1", "ID3v2"));
        EXPECT_EQ(DateiInhalt(Pfad(einträge[0])), vorher) << "neither tag written";
        // Yes: the last file is worked on; No: the file whose save failed stays.
        EXPECT_EQ(f->txtDateiname->currentIndex(), antwort == Antwort::Ja ? 1 : 0);
        EXPECT_EQ(Datei(1, false)[TagFelder::Titel], "zwei");
        if (antwort == Antwort::Ja)
            EXPECT_EQ(Seite(false)[TagFelder::Titel], "ZWEI");
    }
}

TEST_F(StapelFenster, AFileThatCannotBeLoadedEndsTheRun)
{
    Anlegen();
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
    Öffnen(einträge);
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
    Anlegen();
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% - %Titel%");
    f->cmdNächster_Click();
    Ausführen(FunktionAutoTag, 1);
    EXPECT_EQ(Seite(true), Felder("Zwei", "Band", "PLATTE"));
    EXPECT_EQ(Seite(false), Felder("zwei", "band", "platte")) << "target ID3v2 only";
    EXPECT_EQ(Datei(1, true)[TagFelder::Titel], "ZWEI") << "nothing saved for one file";
    Ausführen(FunktionAutoTag, 3);
    EXPECT_EQ(Datei(0, false), Felder("Eins", "Band", "platte", "Nr. 5 von 12"));
    EXPECT_EQ(Seite(false)[TagFelder::Titel], "Drei");

    // A name the format does not fit: refused, and asked whether to go on.
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% ~ %Titel%");
    for (Antwort weiter : {Antwort::Nein, Antwort::Ja}) {
        meldungen.clear();
        antworten = [&](const QString& t) { return t.startsWith("Es ist ein Fehler") ? weiter : Antwort::Ja; };
        Ausführen(FunktionAutoTag, 5);
        ASSERT_EQ(meldungen.size(), weiter == Antwort::Ja ? 1 + 3 * 2 : 3) << meldungen.join('|').toStdString();
        EXPECT_TRUE(meldungen[1].contains("nicht gleich viele Elemente"));
        EXPECT_EQ(meldungen[2], "Es ist ein Fehler in der Funktion 'AutoTAG' aufgetreten.\n"
                                "Möchten Sie mit der nächsten Datei fortfahren?");
        EXPECT_EQ(f->txtDateiname->currentIndex(), weiter == Antwort::Ja ? 2 : 0);
    }
}

TEST_F(StapelFenster, SetupOpensTheChooserOverTheEditor)
{
    Anlegen();
    f->cmdNächster_Click();
    einstellungen().AutoTagAktuell.clear();
    // No target chosen: the chooser at once.
    ImDialog<frmMp3TagAutoTagWählen>(f, [&](frmMp3TagAutoTagWählen* w) {
        EXPECT_EQ(w->lstFormat->count(), einstellungen().AutoTagFormate.size());
        ZeileKlicken(w->lstFormat, 2);
        Klicken(w->cmdOk);
    });
    OhneZiel(FunktionAutoTagEinstellen);
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

TEST_F(StapelFenster, FieldCopyThatChangesNothing)
{
    // Cancelled over all files (the first file was loaded as the source), or
    // every field of the file shown into itself.
    for (int ziel : {5, 0}) {
        Anlegen();
        f->cmdNächster_Click();
        const TagFelder v1 = Seite(false), v2 = Seite(true);
        const auto vorher = Inhalte();
        ImDialog<frmMp3TagFeldFüllen>(f, [&](frmMp3TagFeldFüllen* d) {
            for (int i = 0; i < d->lstFelder->count(); ++i)
                d->lstFelder->item(i)->setSelected(true);
            Klicken(ziel ? d->cmdAbbrechen : d->cmdOk);
        });
        Ausführen(FunktionFelderKopieren, ziel);
        EXPECT_EQ(Inhalte(), vorher);
        EXPECT_EQ(f->txtDateiname->currentIndex(), ziel ? 0 : 1);
        if (!ziel)
            EXPECT_TRUE(Seite(false) == v1 && Seite(true) == v2);
    }
}

TEST_F(StapelFenster, FieldCopyFromTheFirstFileIntoAll)
{
    Anlegen();
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
    EXPECT_EQ(Tag(zwei, true), Felder("ZWEI", "QUELLE", "PLATTE"));
    EXPECT_EQ(zwei.Mp3_ID3v2_Musikrichtung, "Eigenes");
    EXPECT_EQ(Tag(zwei, false), Felder("zwei", "band", "platte")) << "only ID3v2 is saved";
    EXPECT_EQ(AusDatei(einträge[0]).Mp3_ID3v2_Interpret, "QUELLE") << "the first file gets its own values back";
    EXPECT_EQ(AusDatei(einträge[2]).Mp3_ID3v2_Interpret, "BAND") << "the last file is left to the user";
    // The last file's ID3v1 page keeps its own fields.
    EXPECT_EQ(Seite(false), Felder("drei", "band", "platte"));
    EXPECT_EQ(f->cboMusikrichtung->currentIndex(), -1);
    EXPECT_EQ(Seite(true), Felder("DREI", "QUELLE", "PLATTE"));
    EXPECT_EQ(f->cbov2Musikrichtung->currentText(), "Eigenes");
}

// A case change over fields of several values (a 2.4 list, two frames of a
// 2.3 tag) keeps them several values: written as 2.3 joins them, never with
// the blanks around the slash that the page shows between them.
TEST_F(StapelFenster, ACaseChangeKeepsSeveralArtistsSeveralValues)
{
    const QString python = testhilfe::MutagenPython();
    if (python.isEmpty())
        GTEST_SKIP() << "python3-mutagen is not installed";
    NeuerIndex();
    einträge.clear();
    const Id3v2Frame liste = TextFrame("TPE1", QStringList{"Anna Alpha", "Bert Beta"}, Kodierung::Utf8);
    const Id3v2Frame anna = TextFrame("TPE1", "Anna Alpha"), bert = TextFrame("TPE1", "Bert Beta", Kodierung::Utf16Bom);
    const Id3v2Tag tags[] = {
        {.version = 4, .frames = {TextFrame("TIT2", "eins", Kodierung::Utf8), liste}, .padding = 100},
        {.version = 3, .frames = {anna, TextFrame("TIT2", "zwei"), bert}, .padding = 100},
        {.version = 4, .frames = {liste, TextFrame("TIT2", "drei", Kodierung::Utf8)}},
        {.version = 3, .frames = {TextFrame("TIT2", "vier"), anna, bert}},
    };
    for (const Id3v2Tag& t : tags)
        einträge.push_back(Eintrag(QStringLiteral("Lied %1.mp3").arg(einträge.size() + 1), t.Bytes() + Frames(Frame(), 20)));
    Öffnen(einträge);
    EXPECT_EQ(f->txtv2Interpret->text(), "Anna Alpha / Bert Beta");
    Ausführen(FunktionGroß, 4);
    ASSERT_EQ(f->txtDateiname->currentIndex(), 3);
    EXPECT_EQ(f->txtv2Interpret->text(), "ANNA ALPHA / BERT BETA");
    Klicken(f->cmdTagSpeichernV2); // the last file is saved by the user
    EXPECT_EQ(meldungen, QStringList{kAlleFragen.arg("Schreibweise: Groß", "Alle ID3v2-TAGs")});

    // mutagen's values, a 2.3 tag's split at "/" as 2.3 joins them.
    QProcess pr;
    QStringList argumente{QStringLiteral("-c"), QStringLiteral(R"(
import sys
from mutagen.id3 import ID3
for pfad in sys.argv[1:]:
    t = ID3(pfad)
    print(repr([w for x in t['TPE1'].text for w in x.split('/')] + [str(t['TIT2'])]))
)")};
    for (qint32 e : einträge)
        argumente << Pfad(e);
    pr.start(python, argumente);
    ASSERT_TRUE(pr.waitForFinished(60000));
    EXPECT_EQ(pr.exitCode(), 0) << pr.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(pr.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
              (QStringList{"['ANNA ALPHA', 'BERT BETA', 'EINS']", "['ANNA ALPHA', 'BERT BETA', 'ZWEI']",
                           "['ANNA ALPHA', 'BERT BETA', 'DREI']", "['ANNA ALPHA', 'BERT BETA', 'VIER']"}));
}
