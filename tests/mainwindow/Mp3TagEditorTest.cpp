// The tag editor on made files: automatic saving of both tags when moving on,
// missing files keeping their records, a removed tag not written back,
// copying between the tag pages, skipped entries and the closing steps, a
// declined tag save keeping the index fields, the boxes' typing limits
// that cut what is typed or pasted, never what the program fills in, and an
// unchanged genre keeping its frame, also a number the list has no name
// for, and a file numbered anew on a stick saved as the unchanged file it is.

#include "Mp3TagEditorHilfen.h"
#include "core/Verfuegbarkeit.h"
#include "support/FremderProzess.h"
#include "support/FuseAbbild.h"
#include "tools/MedienInfoJson.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QUuid>
#include <QtEndian>
#include <iostream>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

using namespace Mp3Bauer;

namespace {

class Mp3TagEditor : public Mp3TagFensterTest {
protected:
    QByteArray Mp3(const QString& titel)
    {
        Id3v2Tag t;
        t.frames = {TextFrame("TIT2", titel), TextFrame("TPE1", QStringLiteral("Interpret"))};
        t.padding = 100;
        return t.Bytes() + Frames(Frame(), 50) + Id3v1Block({.titel = titel.toLatin1(), .spur = 2, .genre = 17});
    }
    // Writes `daten` to `name` in the subfolder `unter`.
    QString ImOrdner(const QString& unter, const QString& name, const QByteArray& daten)
    {
        QDir().mkpath(ordner.filePath(unter));
        return Mp3Bauer::DateiSchreiben(ordner, unter + '/' + name, daten);
    }
    // The record as a fresh showing of the file makes it, with the index fields of `felder`.
    MedienInfo AusDateiMitFeldern(const QString& pfad, const MedienInfo& felder)
    {
        MedienInfo m = Lesen(pfad);
        m.Datei_HinzugefügtAm = felder.Datei_HinzugefügtAm;
        m.Datei_AngefordertAnzahl = felder.Datei_AngefordertAnzahl;
        m.Datei_AngefordertGespieltAm = felder.Datei_AngefordertGespieltAm;
        m.Datei_Datenträger = felder.Datei_Datenträger;
        return m;
    }
    // The file holds `inhalt` byte for byte, and TagLib reads `titel` from both tags.
    static void DateiHält(const QString& pfad, const QByteArray& inhalt, const std::string& titel)
    {
        EXPECT_EQ(DateiInhalt(pfad), inhalt) << "no tag written into the file";
        TagLib::MPEG::File t(QFile::encodeName(pfad).constData(), false);
        ASSERT_TRUE(t.ID3v2Tag() && t.ID3v1Tag());
        EXPECT_EQ(t.ID3v2Tag()->title().to8Bit(true), titel);
        EXPECT_EQ(t.ID3v1Tag()->title().to8Bit(true), titel);
    }
};

} // namespace

TEST_F(Mp3TagEditor, AutoSaveOfBothTagsWhenMovingOnEndsInTheFile)
{
    const qint32 a = Eintrag(QStringLiteral("a.mp3"), Mp3(QStringLiteral("Erster")));
    const qint32 b = Eintrag(QStringLiteral("b.mp3"), Mp3(QStringLiteral("Zweiter")));
    ASSERT_TRUE(f->Öffnen({a, b}));
    EXPECT_EQ(f->txtv2Titel->text(), "Erster");
    EXPECT_EQ(f->txtTitelnummer->text(), "2");
    EXPECT_FALSE(f->cmdVorheriger->isEnabled());
    EXPECT_TRUE(f->cmdNächster->isEnabled());
    f->chkAutomatischSpeichern->setChecked(true);
    f->chkAutomatischSpeichernV2->setChecked(true);
    f->chkAutomatischSpeichernFelder->setChecked(true);
    f->txtTitel->setText(QStringLiteral("Neu v1"));
    f->txtv2Titel->setText(QStringLiteral("Neu v2"));
    f->txtv2Kommentar->setText(QStringLiteral("Коммент"));
    f->txtIndexAbspielAnzahl->setText(QStringLiteral("12"));

    f->cmdNächster_Click();
    EXPECT_EQ(f->lngMp3TagPosition, 2);
    EXPECT_EQ(f->txtv2Titel->text(), "Zweiter");
    const MedienInfo m = AusDatei(a);
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "Neu v1");
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "Neu v2");
    EXPECT_EQ(m.Mp3_ID3v2_Kommentar, "Коммент");
    EXPECT_EQ(m.Mp3_ID3v1_Titelnummer, "2");
    const MedienInfo& gespeichert = hauptIndex().IndexDaten[size_t(a)];
    EXPECT_EQ(gespeichert.Mp3_ID3v1_Titel, "Neu v1");
    EXPECT_EQ(gespeichert.Mp3_ID3v2_Titel, "Neu v2");
    EXPECT_EQ(gespeichert.Datei_AngefordertAnzahl, 12);
    EXPECT_EQ(gespeichert.Datei_Größe, QFileInfo(hauptIndex().strIndexPfad[size_t(a)]).size());
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();

    // Back again: "Alles speichern" of the second file, then closing saves
    // nothing more and refreshes the list.
    f->cmdVorheriger_Click();
    EXPECT_EQ(f->txtTitel->text(), "Neu v1");
    f->txtv2Album->setText(QStringLiteral("Album"));
    f->cmdTAGSpeichernAlles_Click();
    EXPECT_TRUE(f->bolMp3TagGespeichert);
    EXPECT_EQ(AusDatei(a).Mp3_ID3v2_Album, "Album");
    TagLib::MPEG::File t(QFile::encodeName(hauptIndex().strIndexPfad[size_t(a)]).constData(), false);
    EXPECT_EQ(QString::fromStdWString(t.ID3v2Tag()->album().toWString()), "Album");
    f->cmdOk_Click();
    EXPECT_EQ(liste.suchen, 1);
    EXPECT_EQ(einstellungen().TAGAutomatischSpeichernV2, 1);
}

// A missing file's index fields show as stored, and every way of saving
// stores that page: the record changes only where the user typed. No tag is
// written from pages the file did not fill, also when it is back by the save.
TEST_F(Mp3TagEditor, AMissingFileKeepsItsRecordThroughOpeningSavingAndMovingOn)
{
    using T = frmMp3Tag;
    enum Zurück { Nie, VorDemKlick, BeiDerFrage };
    const struct {
        QPushButton* T::*knopf; // null: a batch run over both tags of every file
        bool tippen;            // a new medium on the index page
        int danach;             // the entry shown then (-1: closed)
        Zurück zurück = Nie;
        const char* name = "fehlt.mp3";
        int funktion = FunktionGroß; // of the batch run
    } fälle[] = {{&T::cmdTAGSpeichernFelder, false, 0}, {&T::cmdTAGSpeichernFelder, true, 0},
                 {&T::cmdTAGSpeichernAlles, false, 0},  {&T::cmdTAGSpeichernAlles, true, 0},
                 {&T::cmdNächster, false, 1},           {&T::cmdNächster, true, 1},
                 {&T::cmdOk, false, -1},                {nullptr, false, 2},
                 {&T::cmdTAGSpeichernAlles, true, 0, VorDemKlick}, {&T::cmdTAGSpeichernAlles, false, 0, VorDemKlick},
                 {&T::cmdTAGSpeichernFelder, true, 0, VorDemKlick}, {&T::cmdNächster, true, 1, VorDemKlick},
                 {&T::cmdOk, true, -1, VorDemKlick}, {&T::cmdTAGSpeichernAlles, true, 0, BeiDerFrage, "fehlt.wav"},
                 {&T::cmdOk, true, -1, BeiDerFrage, "fehlt.wav"},
                 {nullptr, false, 2, BeiDerFrage, "fehlt.mp3", FunktionZahlAusKommentar},
                 {nullptr, false, 2, BeiDerFrage, "fehlt.wav", FunktionZahlAusKommentar}};
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Titel = QStringLiteral("Gespeicherter Titel");
    alt.Mp3_ID3v1_Kommentar = QStringLiteral("Zeile 1\nZeile 2");
    alt.Mp3_ID3v2_Titel = QStringLiteral("Gespeichert v2");
    alt.Mp3_ID3v1_Vorhanden = 1;
    alt.Mp3_ID3v2_Vorhanden = 1;
    alt.Datei_Größe = 4711;
    alt.Datei_HinzugefügtAm = QStringLiteral("01.02.2003");
    alt.Datei_AngefordertAnzahl = 7;
    alt.Datei_AngefordertGespieltAm = QStringLiteral("04.05.2006 07:08:09");
    alt.Datei_Datenträger = QStringLiteral("CD 7");
    // What another program wrote into the file while it was away.
    const QByteArray neuer = Mp3(QStringLiteral("Neuer Titel"));
    const auto json = [](const MedienInfo& i) { return MedienInfoJson(QString(), i).toStdString(); };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(&fall - fälle);
        NeuerIndex();
        // The file waits in a folder of another name until it comes back,
        // maybe while a save's question (the file's kind, a batch message) is open.
        const QString weg = ordner.filePath(QStringLiteral("weg%1").arg(&fall - fälle)), fehlt = weg + '/' + fall.name;
        const QString bereit = QFileInfo(ImOrdner(QStringLiteral("bereit%1").arg(&fall - fälle), fall.name, neuer)).path();
        bool zurückGelegt = false;
        const auto zurückLegen = [&] { zurückGelegt = zurückGelegt || QDir().rename(bereit, weg); };
        DienstErsetzen<MeldungsDienst> fragen{[&](const Meldung& m) {
            meldungen << m.text;
            if (fall.zurück == BeiDerFrage
                && (m.text.startsWith("Sie sollten ID3-TAGs") || m.text.startsWith("Das Kommentar-Feld")))
                zurückLegen();
            return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Ja;
        }};
        const qint32 m = hauptIndex().EintragAnhängen(fehlt, alt, 1);
        const MedienInfo& ist = hauptIndex().IndexDaten[size_t(m)];
        const qint32 b = Eintrag(QStringLiteral("b.mp3"), Mp3(QStringLiteral("Zweiter")));
        const qint32 c = Eintrag(QStringLiteral("c.mp3"), Mp3(QStringLiteral("Dritter")));
        hauptIndex().bolIndexGeändert = false;

        Öffnen({m, b, c});
        EXPECT_EQ(f->lblTrackInfos->text(), "Diese Datei existiert nicht (mehr).");
        EXPECT_FALSE(f->cmdTAGSpeichern->isEnabled());
        EXPECT_FALSE(f->cmdTagSpeichernV2->isEnabled());
        EXPECT_FALSE(hauptIndex().bolIndexGeändert);
        EXPECT_TRUE(ist == alt) << json(ist) << "\nsoll " << json(alt);
        EXPECT_EQ((QStringList{f->txtIndexHinzugefügtAm->text(), f->txtIndexAbspielAnzahl->text(),
                               f->txtIndexAbspielDatum->text(), f->txtIndexDatenträger->text()}),
                  (QStringList{"01.02.2003", "7", "04.05.2006 07:08:09", "CD 7"}));

        AutomatischSpeichern(fall.knopf == &T::cmdNächster || fall.knopf == &T::cmdOk);
        MedienInfo erwartet = alt;
        Klicken(f->optOptionen[2]);
        if (fall.tippen) {
            f->txtIndexDatenträger->selectAll();
            QTest::keyClicks(f->txtIndexDatenträger, QStringLiteral("CD 8"));
            erwartet.Datei_Datenträger = QStringLiteral("CD 8");
        }
        if (fall.zurück == VorDemKlick)
            zurückLegen();
        if (fall.knopf)
            Klicken(f->*fall.knopf);
        else
            Ausführen(fall.funktion, 5);
        if (fall.danach >= 0)
            EXPECT_EQ(f->txtDateiname->currentIndex(), fall.danach);
        // Back at the save's end: the record is the file's, read afresh.
        const bool gezeigt = zurückGelegt;
        if (gezeigt)
            erwartet = AusDateiMitFeldern(fehlt, erwartet);
        EXPECT_TRUE(ist == erwartet) << json(ist) << "\nsoll " << json(erwartet);
        if (!gezeigt)
            EXPECT_FALSE(QFile::exists(fehlt));
        zurückLegen();
        DateiHält(fehlt, neuer, "Neuer Titel");
        // Where the editor still shows the entry, the save's reload shows the file, whose tags can be saved now.
        if (gezeigt && (fall.knopf == &T::cmdTAGSpeichernFelder || fall.knopf == &T::cmdTAGSpeichernAlles)) {
            EXPECT_EQ(f->txtv2Titel->text(), "Neuer Titel");
            ASSERT_TRUE(f->cmdTagSpeichernV2->isEnabled());
            Klicken(f->optOptionen[1]);
            Überschreiben(f->txtv2Titel, QStringLiteral("Getippt"));
            Klicken(f->cmdTagSpeichernV2);
            EXPECT_EQ(AusDatei(m).Mp3_ID3v2_Titel, "Getippt");
        }
        f->hide();
    }
}

// The medium of a file shown comes back during the save's wait for it, the file changed
// meanwhile: the save asks, and on "Nein" writes no tag; the record keeps its tags and takes
// the page's index fields, and the pages keep what was typed.
TEST_F(Mp3TagEditor, AFileBackOnlyDuringTheWaitForItsMediumGetsOnlyItsIndexFields)
{
    using T = frmMp3Tag;
    const struct {
        QPushButton* T::*knopf; // null: a batch run over both tags of every file
        const char* name = "lied.mp3";
    } fälle[] = {{&T::cmdTAGSpeichernAlles}, {&T::cmdTAGSpeichernAlles, "lied.wav"}, {&T::cmdTAGSpeichern},
                 {&T::cmdTagSpeichernV2},    {&T::cmdNächster},                      {&T::cmdOk},
                 {nullptr},                  {nullptr, "lied.wav"}};
    einstellungen().NichtVerfügbarFragen = 1;
    const QString abwesend = QStringLiteral("/media/kalvero-test-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    const QByteArray neuer = Mp3(QStringLiteral("Neuer Titel"));
    const auto json = [](const MedienInfo& i) { return MedienInfoJson(QString(), i).toStdString(); };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(&fall - fälle);
        NeuerIndex();
        // The entry's path runs through a link to the medium's folder.
        const QString echtName = QStringLiteral("echt%1").arg(&fall - fälle);
        const QString echt = QFileInfo(ImOrdner(echtName, fall.name, Mp3(QStringLiteral("Beim Zeigen")))).path();
        const QString medium = ordner.filePath(QStringLiteral("medium%1").arg(&fall - fälle));
        const auto verbinden = [&](const QString& ziel) {
            QFile::remove(medium);
            return QFile::link(ziel, medium);
        };
        ASSERT_TRUE(verbinden(echt));
        const QString pfad = medium + '/' + fall.name;
        const qint32 e = hauptIndex().EintragAnhängen(pfad, Lesen(pfad), 1);
        const qint32 b = Eintrag(QStringLiteral("b.mp3"), Mp3(QStringLiteral("Zweiter")));
        Öffnen({e, b});
        const MedienInfo vorher = hauptIndex().IndexDaten[size_t(e)];
        ASSERT_TRUE(f->cmdTAGSpeichern->isEnabled());
        int gewartet = 0;
        DienstErsetzen<NichtVerfügbarDienst> warten{[&](const QString& p, const QString&, QObject*) {
            ++gewartet;
            EXPECT_EQ(p, pfad);
            ImOrdner(echtName, fall.name, neuer);
            EXPECT_TRUE(verbinden(echt));
            return NichtVerfügbarAntwort::Verfügbar;
        }};
        // The medium goes once a batch run loaded the file (its message about an empty comment).
        DienstErsetzen<MeldungsDienst> fragen{[&](const Meldung& m) {
            meldungen << m.text;
            if (m.text.startsWith("Das Kommentar-Feld") && f->EintragGezeigt() == e)
                verbinden(abwesend);
            if (m.text.contains("wurde seit dem Anzeigen von einem anderen Programm geändert."))
                return Antwort::Nein;
            return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Ja;
        }};
        if (fall.knopf) {
            AutomatischSpeichern(true);
            Klicken(f->optOptionen[1]);
            Überschreiben(f->txtv2Titel, QStringLiteral("Getippt v2"));
            Klicken(f->optOptionen[0]);
            Überschreiben(f->txtTitel, QStringLiteral("Getippt v1"));
            Klicken(f->optOptionen[2]);
            Überschreiben(f->txtIndexDatenträger, QStringLiteral("CD 9"));
            Klicken(f->optOptionen[f->*fall.knopf == f->cmdTagSpeichernV2 ? 1 : 0]);
            ASSERT_TRUE(verbinden(abwesend));
            Klicken(f->*fall.knopf);
        } else {
            Ausführen(FunktionZahlAusKommentar, 5);
            EXPECT_EQ(f->txtDateiname->currentIndex(), 1);
        }
        EXPECT_EQ(gewartet, 1);
        EXPECT_FALSE(meldungen.join('|').contains("Sie sollten ID3-TAGs")) << "no tag is written: no question about one";
        EXPECT_TRUE(meldungen.join('|').contains("' wurde seit dem Anzeigen von einem anderen Programm geändert."));
        DateiHält(pfad, neuer, "Neuer Titel");
        MedienInfo erwartet = vorher;
        if (fall.knopf)
            erwartet.Datei_Datenträger = QStringLiteral("CD 9");
        const MedienInfo& ist = hauptIndex().IndexDaten[size_t(e)];
        EXPECT_TRUE(ist == erwartet) << json(ist) << "\nsoll " << json(erwartet);
        if (f->isVisible() && f->EintragGezeigt() == e && fall.knopf)
            EXPECT_EQ(f->txtTitel->text() + "|" + f->txtv2Titel->text(), "Getippt v1|Getippt v2") << "the pages keep what was typed";

        f->hide();
    }
}

TEST_F(Mp3TagEditor, ARemovedTagIsNotWrittenBackUnlessEditedAgain)
{
    const qint32 a = Eintrag(QStringLiteral("a.mp3"), Mp3(QStringLiteral("Erster")));
    const qint32 b = Eintrag(QStringLiteral("b.mp3"), Mp3(QStringLiteral("Zweiter")));
    ASSERT_TRUE(f->Öffnen({a, b}));
    f->chkAutomatischSpeichern->setChecked(true);
    f->chkAutomatischSpeichernV2->setChecked(true);
    f->cmdTAGEntfernen_Click();
    EXPECT_EQ(AusDatei(a).Mp3_ID3v1_Vorhanden, 2);
    EXPECT_EQ(hauptIndex().IndexDaten[size_t(a)].Mp3_ID3v1_Vorhanden, 2);
    EXPECT_FALSE(f->cmdTAGEntfernen->isEnabled());
    f->cmdNächster_Click();
    EXPECT_EQ(AusDatei(a).Mp3_ID3v1_Vorhanden, 2);
    // The ID3v2 tag went on being saved.
    EXPECT_EQ(AusDatei(a).Mp3_ID3v2_Titel, "Erster");

    // Removed, then edited: saved again.
    f->cmdTAGEntfernenv2_Click();
    EXPECT_EQ(AusDatei(b).Mp3_ID3v2_Vorhanden, 2);
    QByteArray ohne;
    {
        QFile d(hauptIndex().strIndexPfad[size_t(b)]);
        ASSERT_TRUE(d.open(QIODevice::ReadOnly));
        ohne = d.readAll();
    }
    EXPECT_FALSE(ohne.startsWith("ID3"));
    f->txtv2Titel->selectAll();
    QTest::keyClicks(f->txtv2Titel, QStringLiteral("wieder"));
    f->cmdOk_Click();
    EXPECT_EQ(AusDatei(b).Mp3_ID3v2_Titel, "wieder");
    EXPECT_EQ(meldungen.size(), 2); // the two questions

    // Removed, then a long title pasted (cut to the box's limit): saved again.
    Öffnen({a});
    AutomatischSpeichern(true);
    Klicken(f->cmdTAGEntfernen);
    ASSERT_EQ(AusDatei(a).Mp3_ID3v1_Vorhanden, 2);
    QApplication::clipboard()->setText(QStringLiteral("Eingefuegt:ein-Titel-mit-35-Zeichen"));
    f->txtTitel->setFocus();
    QTest::keyClick(f->txtTitel, Qt::Key_V, Qt::ControlModifier);
    Klicken(f->cmdOk);
    EXPECT_EQ(AusDatei(a).Mp3_ID3v1_Titel.toStdString(), "Eingefuegt:ein-Titel-mit-35-Ze");
}

TEST_F(Mp3TagEditor, CopyingBetweenThePagesGoesByGenreNumber)
{
    const qint32 a = Eintrag(QStringLiteral("a.mp3"), Mp3(QStringLiteral("Erster")));
    ASSERT_TRUE(f->Öffnen({a}));
    EXPECT_FALSE(f->cmdVorheriger->isEnabled());
    EXPECT_FALSE(f->cmdNächster->isEnabled());
    EXPECT_EQ(f->cboMusikrichtung->currentText(), "Rock");
    f->cmdDatenKopierenNachV2_Click();
    EXPECT_EQ(f->cbov2Musikrichtung->currentText(), "Rock");
    EXPECT_EQ(f->cbov2Musikrichtung->currentData().toInt(), 18);
    EXPECT_EQ(f->txtv2Titelnummer->text(), "2");

    f->cbov2Musikrichtung->setEditText(QStringLiteral("pop"));
    f->cmdDatenKopierenNachV1_Click();
    EXPECT_EQ(f->cboMusikrichtung->currentData().toInt(), 14); // Pop is genre 13
    EXPECT_TRUE(meldungen.isEmpty());
    f->cbov2Musikrichtung->setEditText(QStringLiteral("Eigenes Genre"));
    f->cmdDatenKopierenNachV1_Click();
    EXPECT_EQ(f->cboMusikrichtung->currentIndex(), -1);
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].startsWith("Das Feld 'Genre' kann nicht übertragen werden"));
    // What is typed never becomes an item of the list.
    EXPECT_EQ(f->cbov2Musikrichtung->findText(QStringLiteral("Eigenes Genre")), -1);

    // The genre text goes into the record with its number; "(17)" alone still names Rock.
    MedienInfo m;
    f->cbov2Musikrichtung->setEditText(QStringLiteral("rock"));
    f->TagV2AusFormularLesen(m);
    EXPECT_EQ(m.Mp3_ID3v2_Musikrichtung, "(17)rock");
    MedienInfo g = hauptIndex().IndexDaten[size_t(a)];
    g.Mp3_ID3v2_Musikrichtung = QStringLiteral("(17)");
    f->MedienInfosEintragen(g, hauptIndex().strIndexPfad[size_t(a)], QStringLiteral("000"));
    EXPECT_EQ(f->cbov2Musikrichtung->currentText(), "Rock");
    f->cmdOk_Click();
}

TEST_F(Mp3TagEditor, SkippedEntriesAndClosingSteps)
{
    einstellungen().SucheNichtBeiTAGEditor = 1;
    const qint32 a = Eintrag(QStringLiteral("a.mp3"), Mp3(QStringLiteral("A")));
    const qint32 b = Eintrag(QStringLiteral("b.mp3"), Mp3(QStringLiteral("B")));
    const qint32 c = Eintrag(QStringLiteral("c.mp3"), Mp3(QStringLiteral("C")));
    // An entry number that names no entry is passed over.
    ASSERT_TRUE(f->Öffnen({0, c, a}));
    EXPECT_EQ(f->lngMp3TagPosition, 2);
    EXPECT_EQ(f->txtDateiname->currentIndex(), 1);
    EXPECT_TRUE(f->cmdVorheriger->isEnabled());
    f->cmdOk_Click();
    EXPECT_EQ(liste.zeilen, std::make_pair(a, c));
    (void)b;

    // Nothing to show: the editor stays hidden, its closing steps run.
    liste.zeilen = {0, 0};
    f->chkAutomatischSpeichernFelder->setChecked(true);
    einstellungen().TAGAutomatischSpeichernFelder = 1;
    EXPECT_FALSE(f->Öffnen({0, 99}));
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(einstellungen().TAGAutomatischSpeichernFelder, 1);
}

TEST_F(Mp3TagEditor, SavingAskedForTheKindOfTheFileBeingSaved)
{
    const qint32 a = Eintrag(QStringLiteral("a.mp3"), Mp3(QStringLiteral("A")));
    const qint32 bild = Eintrag(QStringLiteral("b.jpg"), QByteArray("\xFF\xD8\xFF\xE0 kein mp3", 13));
    ASSERT_TRUE(f->Öffnen({a, bild}));
    f->chkAutomatischSpeichernV2->setChecked(true);
    f->txtv2Titel->setText(QStringLiteral("ok"));
    // Leaving the MP3 for the picture asks nothing.
    f->cmdNächster_Click();
    EXPECT_TRUE(meldungen.isEmpty());
    EXPECT_EQ(AusDatei(a).Mp3_ID3v2_Titel, "ok");
    // Leaving the picture with a change asks about the picture.
    f->txtv2Titel->setText(QStringLiteral("Bild"));
    f->cmdVorheriger_Click();
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].startsWith("Sie sollten ID3-TAGs nur in Dateien des Typs 'MPEG Audio/AAC' speichern."));
    f->chkAutomatischSpeichernV2->setChecked(false);
    f->cmdOk_Click();
}

TEST_F(Mp3TagEditor, DecliningTagsInAFileOfAnotherKindStillStoresTheIndexFields)
{
    antworten = [](const QString& t) {
        return t.startsWith("Sie sollten ID3-TAGs nur in Dateien des Typs") ? Antwort::Nein : Antwort::Ja;
    };
    for (QPushButton* knopf : {f->cmdTAGSpeichernAlles, f->cmdTAGSpeichernFelder, f->cmdTAGSpeichern}) {
        SCOPED_TRACE(knopf->objectName().toStdString());
        NeuerIndex();
        const qint32 e = Eintrag(QStringLiteral("lied.wav"), Mp3(QStringLiteral("Alt")));
        const QByteArray vorher = DateiInhalt(Pfad(e));
        Öffnen({e});
        f->txtTitel->selectAll();
        QTest::keyClicks(f->txtTitel, QStringLiteral("Neu"));
        f->optOptionen_Click(2);
        for (auto [box, text] : {std::pair{f->txtIndexAbspielAnzahl, "7"}, std::pair{f->txtIndexDatenträger, "CD 3"},
                                 std::pair{f->txtIndexAbspielDatum, "01.02.2020 10:11:12"}}) {
            box->selectAll();
            QTest::keyClicks(box, QString::fromLatin1(text));
        }
        Klicken(knopf);
        // The kind is asked about for tags only; no failure is reported.
        EXPECT_EQ(meldungen.size(), knopf == f->cmdTAGSpeichernFelder ? 0 : 1);
        EXPECT_EQ(DateiInhalt(Pfad(e)), vorher);
        const MedienInfo& m = hauptIndex().IndexDaten[size_t(e)];
        EXPECT_EQ(m.Datei_AngefordertAnzahl, 7);
        EXPECT_EQ(m.Datei_Datenträger, "CD 3");
        EXPECT_EQ(m.Datei_AngefordertGespieltAm, "01.02.2020 10:11:12");
        EXPECT_EQ(m.Mp3_ID3v1_Titel, "Alt");
        if (knopf != f->cmdTAGSpeichernFelder)
            EXPECT_EQ(f->txtTitel->text(), "Neu") << "what was typed stays on the page";
    }

    // A batch run passes the file over for its tags; its index fields are no failure.
    NeuerIndex();
    const qint32 wav = Eintrag(QStringLiteral("a.wav"), Mp3(QStringLiteral("eins")));
    const QByteArray vorher = DateiInhalt(Pfad(wav));
    Öffnen({wav, Eintrag(QStringLiteral("b.mp3"), Mp3(QStringLiteral("zwei")))});
    Ausführen(FunktionGroß, 3);
    EXPECT_EQ(f->txtDateiname->currentIndex(), 1);
    EXPECT_FALSE(meldungen.join('|').contains("Index-Felder")) << meldungen.join('|').toStdString();
    EXPECT_EQ(DateiInhalt(Pfad(wav)), vorher);
}

TEST_F(Mp3TagEditor, TextsTheProgramFillsInAreNeverCutByTheTypingLimit)
{
    const qint32 e = Eintrag(QStringLiteral("0012 - Lied.mp3"), Mp3(QStringLiteral("Alt")));
    Öffnen({e});
    const auto v1Track = [&] {
        Klicken(f->cmdTAGSpeichern);
        return AusDatei(e).Mp3_ID3v1_Titelnummer;
    };
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Titelnummer% - %Titel%");
    Ausführen(FunktionAutoTag, 0);
    EXPECT_EQ(f->txtTitelnummer->text(), "0012");
    EXPECT_EQ(v1Track(), "12");
    f->txtKommentar->setText(QStringLiteral("Track 0012"));
    f->txtTitelnummer->clear();
    Ausführen(FunktionZahlAusKommentar, 0);
    EXPECT_EQ(f->txtTitelnummer->text(), "0012");
    EXPECT_EQ(v1Track(), "12");

    const QString lang = QStringLiteral("Ein Titel, der weit mehr als dreissig Zeichen hat");
    f->txtv2Titelnummer->setText(QStringLiteral("4/12"));
    f->txtv2Titel->setText(lang);
    Klicken(f->cmdDatenKopierenNachV1);
    EXPECT_EQ(f->txtTitelnummer->text(), "4/12");
    EXPECT_EQ(f->txtTitel->text(), lang);
    Ausführen(FunktionGroß, 0);
    EXPECT_EQ(f->txtTitel->text(), lang.toUpper());
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();
}

// A paste keeps its first characters up to the limit; inside a longer text
// the program filled in, an edit that does not lengthen it is taken.
TEST_F(Mp3TagEditor, TheTypingLimitsHoldForTheKeyboardAndPastes)
{
    Öffnen({Eintrag(QStringLiteral("a.mp3"), Mp3(QStringLiteral("Alt")))});
    const QString lang40 = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789ABCD");
    const QString p35 = QStringLiteral("Eingefuegt-ein-Text-aus-35-Zeichen!");
    const QString emoji = QStringLiteral("\U0001F600");                 // a surrogate pair
    const QString zwj = QStringLiteral("\U0001F469\u200D\U0001F4BB");   // one picture of five units
    const QString flagge = QStringLiteral("\U0001F1E9\U0001F1EA");      // two regional indicators
    const struct {
        QLineEdit* box;
        const char* getippt;
        QString erwartet, eingefügt = {}; // pasted before the typing
        QString vorher = {};              // as the program filled it in
        int von = 0, länge = 0;           // the selection
    } fälle[] = {
        {f->txtTitel, "1234567890123456789012345678901234", "123456789012345678901234567890"},
        {f->txtKommentar, "abcdefghijklmnopqrstuvwxyzABCDEFG", "abcdefghijklmnopqrstuvwxyzABCD"},
        {f->txtJahr, "19999", "1999"},
        {f->txtTitelnummer, "1a2.b4", "12."},
        {f->txtIndexDatenträger, "Ein Datentraeger mit langem Namen", "Ein Datentraeger mit langem Na"},
        {f->txtTitel, "", p35.left(30), p35}, {f->txtTitel, "xy", p35.left(30), p35},
        {f->txtKommentar, "", "Anf" + p35.left(24) + "ang", p35, "Anfang", 3},
        {f->txtJahr, "", "2023", "2023-05-01"}, {f->txtTitelnummer, "", "123", "1a2b3c4"},
        {f->txtIndexDatenträger, "", p35.left(30), p35},
        {f->txtTitel, "X", lang40.left(5) + "X" + lang40.mid(6), "", lang40, 5, 1},
        {f->txtTitel, "", lang40.left(5) + "123" + lang40.mid(8), "123456", lang40, 5, 3},
        {f->txtTitel, "Z", lang40, "123", lang40, 40},
        {f->txtTitelnummer, "", "7/12", "7", "4/12", 0, 1}, {f->txtTitelnummer, "5", "4/12", "", "4/12", 4},
        // The cut never splits a character: what does not fit whole stays out.
        {f->txtIndexDatenträger, "", p35.left(29), p35.left(29) + emoji},
        {f->txtIndexDatenträger, "", p35.left(28) + emoji, p35.left(28) + emoji + "x"},
        {f->txtTitel, "", p35.left(29), p35.left(29) + QStringLiteral("e\u0301")},
        {f->txtTitel, "", p35.left(28) + QStringLiteral("e\u0301"), p35.left(28) + QStringLiteral("e\u0301!")},
        {f->txtKommentar, "", p35.left(27), p35.left(27) + zwj},
        {f->txtKommentar, "", p35.left(27), p35.left(27) + flagge},
        {f->txtTitel, "", "Anf" + p35.left(23) + "ang", p35.left(23) + emoji + emoji, "Anfang", 3},
    };
    for (const auto& fall : fälle) {
        f->optOptionen_Click(fall.box == f->txtIndexDatenträger ? 2 : 0);
        fall.box->setText(fall.vorher);
        fall.box->setFocus();
        fall.box->setSelection(fall.von, fall.länge);
        if (!fall.eingefügt.isEmpty()) {
            QApplication::clipboard()->setText(fall.eingefügt);
            QTest::keyClick(fall.box, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClicks(fall.box, QString::fromUtf8(fall.getippt));
        EXPECT_EQ(fall.box->text().toStdString(), fall.erwartet.toStdString()) << fall.eingefügt.toStdString();
    }
    // A longer text the program filled in: typing adds nothing, Backspace and Delete shorten it.
    f->optOptionen_Click(0);
    f->txtTitelnummer->setText(QStringLiteral("0012"));
    f->txtTitelnummer->setFocus();
    f->txtTitelnummer->end(false);
    QTest::keyClicks(f->txtTitelnummer, QStringLiteral("5x"));
    EXPECT_EQ(f->txtTitelnummer->text(), "0012");
    QTest::keyClick(f->txtTitelnummer, Qt::Key_Backspace);
    QTest::keyClick(f->txtTitelnummer, Qt::Key_Home);
    QTest::keyClick(f->txtTitelnummer, Qt::Key_Delete);
    EXPECT_EQ(f->txtTitelnummer->text(), "01");
}

// "Alles speichern" writes both tags or neither (a kept frame 2.3 cannot hold,
// another program writing the file), and the one message says why.
TEST_F(Mp3TagEditor, SavingAllWritesBothTagsOrNeither)
{
    Id3v2Frame gepackt = RohFrame("TXXX", QByteArray("x\x9c zlib", 7));
    gepackt.format = 0x08; // compressed without a data-length indicator
    const Id3v2Tag v24{.version = 4, .frames = {TextFrame("TIT2", QStringLiteral("Alt")), gepackt}, .padding = 200};
    const std::tuple<const char*, QByteArray, bool> fälle[] = { // the message, the file, another program writing it
        {"das nicht in die Version 2.3 übertragen werden kann", v24.Bytes() + Frames(Frame(), 50) + Id3v1Block({.titel = "Alt"}), false},
        {"von einem anderen Programm geschrieben", Mp3(QStringLiteral("Alt")), true},
    };
    for (const auto& [meldung, daten, fremderSchreiber] : fälle) {
        SCOPED_TRACE(meldung);
        NeuerIndex();
        const qint32 e = Eintrag(QStringLiteral("f%1.mp3").arg(fremderSchreiber), daten);
        Öffnen({e});
        std::optional<FremderProzess> schreiber;
        if (fremderSchreiber)
            schreiber.emplace(Pfad(e), FremderProzess::Art::Schreiben);
        Klicken(f->optOptionen[0]);
        Überschreiben(f->txtTitel, QStringLiteral("Neu"));
        Klicken(f->optOptionen[1]);
        Überschreiben(f->txtv2Titel, QStringLiteral("Neu"));
        Klicken(f->cmdTAGSpeichernAlles);
        ASSERT_EQ(meldungen.size(), 1) << meldungen.join('|').toStdString();
        EXPECT_TRUE(meldungen[0].contains(QString::fromUtf8(meldung))) << meldungen[0].toStdString();
        EXPECT_FALSE(f->bolV1Gespeichert || f->bolV2Gespeichert);
        schreiber.reset();
        DateiHält(Pfad(e), daten, "Alt");
        EXPECT_EQ(hauptIndex().IndexDaten[size_t(e)].Mp3_ID3v1_Titel, "Alt");
    }
}

// A genre that is what was read keeps its frame byte for byte when only the
// title is typed and saved with the page's button; a genre the user typed
// goes in with its number.
TEST_F(Mp3TagEditor, AnUnchangedGenreKeepsItsFrameWhenTheTitleIsSaved)
{
    const struct {
        const char* gelesen;
        const char* getippt; // into the genre box; null: left alone
        const char* geschrieben;
    } fälle[] = {{"Rock", nullptr, "Rock"},           {"(17)", nullptr, "(17)"},
                 {"rock", nullptr, "rock"},           {"(17)Rock", nullptr, "(17)Rock"},
                 {"Eigenes Genre", nullptr, "Eigenes Genre"}, {"Rock", "Pop", "(13)Pop"}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.gelesen + std::string(" ") + (fall.getippt ? fall.getippt : ""));
        NeuerIndex();
        const Id3v2Tag tag{.frames = {TextFrame("TIT2", QStringLiteral("Alt")), TextFrame("TPE1", QStringLiteral("Interpret")),
                                      TextFrame("TCON", QString::fromUtf8(fall.gelesen))},
                           .padding = 100};
        const qint32 e = Eintrag(QStringLiteral("genre%1.mp3").arg(&fall - fälle), tag.Bytes() + Frames(Frame(), 50));
        Öffnen({e});
        Klicken(f->optOptionen[1]);
        Überschreiben(f->txtv2Titel, QStringLiteral("Neu"));
        if (fall.getippt)
            Überschreiben(f->cbov2Musikrichtung->lineEdit(), QString::fromUtf8(fall.getippt));
        Klicken(f->cmdTagSpeichernV2);
        EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();

        const QByteArray datei = DateiInhalt(Pfad(e));
        const qsizetype tcon = datei.indexOf("TCON");
        ASSERT_GE(tcon, 0);
        const qsizetype größe = qFromBigEndian<quint32>(datei.constData() + tcon + 4);
        EXPECT_EQ(datei.mid(tcon, 10 + größe), (Id3v2Tag{.frames = {TextFrame("TCON", QString::fromUtf8(fall.geschrieben))}}.Bytes().mid(10)));
        EXPECT_EQ(datei.indexOf("TCON", tcon + 1), -1);
        EXPECT_EQ(AusDatei(e).Mp3_ID3v2_Titel, "Neu");
    }
}

// A genre number the editor's list has no name for, and the Remix and Cover
// codes: the box shows it as read, and a save of the title alone keeps it
// (TagLib reads the same genre before and after).
TEST_F(Mp3TagEditor, AGenreNumberWithoutANameInTheListStaysAsRead)
{
    const struct {
        int version;
        const char* gelesen;
        const char* gezeigt;
        const char* geschrieben; // the 2.3 frame the save writes
    } fälle[] = {{4, "147", "(147)", "(147)"}, {3, "(147)", "(147)", "(147)"}, {3, "(255)", "(255)", "(255)"}, {4, "200", "(200)", "(200)"},
                 {4, "RX", "(RX)", "(RX)"},    {3, "(RX)", "(RX)", "(RX)"},    {4, "CR", "(CR)", "(CR)"},
                 {3, "(CR)", "(CR)", "(CR)"}};
    const auto genre = [](const QString& pfad) {
        TagLib::MPEG::File t(QFile::encodeName(pfad).constData(), false);
        return t.ID3v2Tag() ? t.ID3v2Tag()->genre().to8Bit(true) : std::string("(kein Tag)");
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(std::to_string(fall.version) + " " + fall.gelesen);
        NeuerIndex();
        const Id3v2Tag tag{.version = fall.version,
                           .frames = {TextFrame("TIT2", QStringLiteral("Alt")), TextFrame("TCON", QString::fromUtf8(fall.gelesen))},
                           .padding = 100};
        const qint32 e = Eintrag(QStringLiteral("nummer%1.mp3").arg(&fall - fälle), tag.Bytes() + Frames(Frame(), 50));
        const std::string vorher = genre(Pfad(e));
        Öffnen({e});
        Klicken(f->optOptionen[1]);
        EXPECT_EQ(f->cbov2Musikrichtung->currentText(), fall.gezeigt);
        Überschreiben(f->txtv2Titel, QStringLiteral("Neu"));
        Klicken(f->cmdTagSpeichernV2);
        EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();

        const QByteArray datei = DateiInhalt(Pfad(e));
        const qsizetype tcon = datei.indexOf("TCON");
        EXPECT_GE(tcon, 0) << "the genre was dropped";
        if (tcon >= 0) {
            const qsizetype größe = qFromBigEndian<quint32>(datei.constData() + tcon + 4);
            EXPECT_EQ(datei.mid(tcon, 10 + größe), (Id3v2Tag{.frames = {TextFrame("TCON", QString::fromUtf8(fall.geschrieben))}}.Bytes().mid(10)));
        }
        EXPECT_EQ(genre(Pfad(e)), vorher);
        EXPECT_EQ(AusDatei(e).Mp3_ID3v2_Titel, "Neu");
        EXPECT_EQ(f->cbov2Musikrichtung->currentText(), fall.gezeigt) << "shown again after the save";
        f->hide();
    }
}

// FAT and exFAT through FUSE number a file anew once the kernel forgot it:
// an untouched file renumbered between showing and saving is saved without
// a question, by its button and on closing; one another program wrote in
// place, keeping its time, is asked about, and "Nein" leaves it as that
// program left it. The temporary folder is the control.
TEST_F(Mp3TagEditor, AFileNumberedAnewOnAStickIsDecidedByItsBytes)
{
    using testhilfe::FuseAbbild;
    if (!FuseAbbild::InodesVergessen())
        GTEST_SKIP() << "cannot write /proc/sys/vm/drop_caches (needs root)";
    const auto inode = [](const QString& pfad) {
        struct stat st {};
        ::stat(QFile::encodeName(pfad).constData(), &st);
        return st.st_ino;
    };
    enum class Tat { Vergessen, Überschreiben };
    const auto anderesProgramm = [&](const QString& pfad, Tat tat, bool fuse) {
        struct stat vorher {};
        ASSERT_EQ(::stat(QFile::encodeName(pfad).constData(), &vorher), 0);
        if (tat == Tat::Überschreiben) {
            const qsizetype stelle = DateiInhalt(pfad).indexOf("Alt");
            ASSERT_GT(stelle, 0);
            const int fd = ::open(QFile::encodeName(pfad).constData(), O_WRONLY);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::pwrite(fd, "Neu", 3, stelle), 3);
            ::close(fd);
            const timespec zeiten[2] = {vorher.st_atim, vorher.st_mtim};
            ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(pfad).constData(), zeiten, 0), 0);
        }
        // The kernel may keep a node a while: asked again until it let go.
        for (int i = 0; i < 20; ++i) {
            ASSERT_TRUE(FuseAbbild::InodesVergessen());
            if (!fuse || inode(pfad) != vorher.st_ino)
                break;
            ::usleep(50 * 1000);
        }
        if (fuse)
            EXPECT_NE(inode(pfad), vorher.st_ino) << "the file system keeps its numbers: nothing is tested";
    };
    struct Ort {
        const char* name;
        std::optional<FuseAbbild::Art> art;
    };
    int nummer = 0;
    for (const Ort& ort : {Ort{"temp", std::nullopt}, Ort{"FAT", FuseAbbild::Art::Fat}, Ort{"exFAT", FuseAbbild::Art::ExFat}}) {
        SCOPED_TRACE(ort.name);
        std::optional<FuseAbbild> medium;
        if (ort.art) {
            medium.emplace(*ort.art);
            if (!medium->Bereit()) {
                std::cout << "[ SKIPPED  ] " << ort.name << ": " << medium->Grund().toStdString() << std::endl;
                continue;
            }
        }
        for (const Tat tat : {Tat::Vergessen, Tat::Überschreiben}) {
            // Where the number stays, an edit that keeps the time is not looked for.
            if (!medium && tat == Tat::Überschreiben)
                continue;
            for (QPushButton* frmMp3Tag::*knopf : {&frmMp3Tag::cmdTagSpeichernV2, &frmMp3Tag::cmdOk}) {
                SCOPED_TRACE(std::string(tat == Tat::Vergessen ? "vergessen" : "überschrieben")
                             + (knopf == &frmMp3Tag::cmdOk ? ", beim Schließen" : ", TAGv2 speichern"));
                NeuerIndex();
                const QString name = QStringLiteral("lied%1.mp3").arg(nummer++);
                const QString pfad = medium ? medium->Pfad() + '/' + name : ordner.filePath(name);
                {
                    QFile datei(pfad);
                    ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
                    ASSERT_GT(datei.write(Mp3(QStringLiteral("Alt"))), 0);
                }
                const qint32 e = hauptIndex().EintragAnhängen(pfad, Lesen(pfad), 1);
                einstellungen().TAGAutomatischSpeichernV2 = 1;
                Öffnen({e});
                Klicken(f->optOptionen[1]);
                Überschreiben(f->txtv2Titel, QStringLiteral("Getippt"));
                anderesProgramm(pfad, tat, medium.has_value());
                const QByteArray danach = DateiInhalt(pfad);
                antworten = [](const QString&) { return Antwort::Nein; };
                Klicken(f->*knopf);
                TagLib::MPEG::File t(QFile::encodeName(pfad).constData(), false);
                ASSERT_TRUE(t.ID3v2Tag());
                if (tat == Tat::Vergessen) {
                    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();
                    EXPECT_EQ(t.ID3v2Tag()->title().to8Bit(true), "Getippt") << "the typed title was not written";
                } else {
                    ASSERT_EQ(meldungen.size(), 1) << meldungen.join('|').toStdString();
                    EXPECT_TRUE(meldungen[0].startsWith("Die Datei '" + pfad + "' wurde seit dem Anzeigen von einem anderen Programm geändert."))
                        << meldungen[0].toStdString();
                    EXPECT_EQ(DateiInhalt(pfad), danach) << "the other program's change was overwritten";
                    EXPECT_EQ(t.ID3v2Tag()->title().to8Bit(true), "Neu");
                }
                f->hide();
                meldungen.clear();
            }
        }
    }
}
