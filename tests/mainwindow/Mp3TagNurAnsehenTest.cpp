// The tag editor writes only what the user changed, only into the file as
// it was shown: merely looking (closing, moving on, choosing another file)
// leaves every file byte for byte and its time; "Alles speichern" makes no
// tag from a page nobody changed; a file another program wrote meanwhile is
// overwritten only when the user says so; a refused save keeps what was
// typed and tells why.

#include "Mp3TagEditorHilfen.h"
#include "core/Funktionen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRadioButton>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <sys/stat.h>
#include <utime.h>

using namespace Mp3Bauer;

namespace {

// A file's bytes and modification time.
struct Abbild {
    QByteArray inhalt;
    qint64 geändertNs = 0;
    bool operator==(const Abbild&) const = default;
};

Abbild AbbildVon(const QString& pfad)
{
    struct stat st {};
    ::stat(QFile::encodeName(pfad).constData(), &st);
    return {DateiInhalt(pfad), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

class Mp3TagNurAnsehen : public Mp3TagFensterTest {
protected:
    void SetUp() override
    {
        Mp3TagFensterTest::SetUp();
        // As the issue met it: the program's own fills on the pages.
        einstellungen().TAGsSoftwareFeldSchreiben = 1;
    }
    // A file of a year ago, so that any write shows in its time.
    qint32 AlteDatei(const QString& name, const QByteArray& daten)
    {
        const qint32 e = Eintrag(name, daten);
        const utimbuf zeit{1000000000, 1000000000};
        ::utime(QFile::encodeName(Pfad(e)).constData(), &zeit);
        return e;
    }
    // Three kinds of file: both tags, none at all, a 2.4 tag alone.
    std::vector<qint32> DreiDateien()
    {
        Id3v2Tag beide{.frames = {TextFrame("TIT2", QStringLiteral("Eins")), TextFrame("TCON", QStringLiteral("Rock"))},
                       .padding = 50};
        Id3v2Tag v24{.version = 4, .frames = {TextFrame("TIT2", QStringLiteral("Drei"))}};
        return {AlteDatei("eins.mp3", beide.Bytes() + Frames(Frame(), 20) + Id3v1Block({.titel = "Eins", .genre = 17})),
                AlteDatei("zwei.mp3", Frames(Frame(), 20)), AlteDatei("drei.mp3", v24.Bytes() + Frames(Frame(), 20))};
    }
    std::vector<Abbild> Abbilder(const std::vector<qint32>& e)
    {
        std::vector<Abbild> a;
        for (qint32 x : e)
            a.push_back(AbbildVon(Pfad(x)));
        return a;
    }
    static bool HatV1(const QString& pfad)
    {
        TagLib::MPEG::File t(QFile::encodeName(pfad).constData(), false);
        return t.hasID3v1Tag();
    }
};

} // namespace

// With all three automatic-saving boxes on and the software field on, each
// way of leaving a file shown, untouched, keeps it as it was.
TEST_F(Mp3TagNurAnsehen, LookingAtFilesNeverWritesThem)
{
    const struct {
        const char* name;
        std::function<void(frmMp3Tag*)> gehen;
    } fälle[] = {
        {"Schließen je Datei", nullptr},
        {"Nächste und Vorige",
         [](frmMp3Tag* f) {
             Klicken(f->cmdNächster);
             Klicken(f->cmdNächster);
             Klicken(f->cmdVorheriger);
             Klicken(f->cmdVorheriger);
             Klicken(f->cmdOk);
         }},
        {"Wahl in der Liste",
         [](frmMp3Tag* f) {
             f->txtDateiname->setFocus();
             QTest::keyClick(f->txtDateiname, Qt::Key_End);
             QTest::keyClick(f->txtDateiname, Qt::Key_Up);
             QTest::keyClick(f->txtDateiname, Qt::Key_Home);
             Klicken(f->cmdOk);
         }},
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        NeuerIndex();
        const std::vector<qint32> e = DreiDateien();
        const std::vector<Abbild> vorher = Abbilder(e);
        einstellungen().TAGAutomatischSpeichern = einstellungen().TAGAutomatischSpeichernV2 =
            einstellungen().TAGAutomatischSpeichernFelder = 1;
        if (!fall.gehen) {
            for (qint32 x : e) {
                Öffnen({x});
                EXPECT_EQ(f->txtv2Software->text(), "kalvero") << "the program's fill is on the page";
                Klicken(f->cmdOk);
            }
        } else {
            Öffnen(e);
            fall.gehen(f);
        }
        EXPECT_FALSE(f->isVisible());
        for (size_t i = 0; i < e.size(); ++i)
            EXPECT_TRUE(AbbildVon(Pfad(e[i])) == vorher[i]) << Pfad(e[i]).toStdString() << " was written";
        EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();
    }
}

// "Alles speichern" after a change of the ID3v2 title only: the file gets
// no ID3v1 tag it did not have.
TEST_F(Mp3TagNurAnsehen, SavingAllMakesNoTagFromAnUntouchedPage)
{
    const std::vector<qint32> e = DreiDateien();
    const QString pfad = Pfad(e[2]);
    Öffnen({e[2]});
    Klicken(f->optOptionen[1]);
    Überschreiben(f->txtv2Titel, QStringLiteral("Neu"));
    Klicken(f->cmdTAGSpeichernAlles);
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();
    EXPECT_EQ(AusDatei(e[2]).Mp3_ID3v2_Titel, "Neu");
    EXPECT_FALSE(HatV1(pfad)) << "an ID3v1 tag was made from the untouched page";
    // The page's own button writes it, its fills included.
    Klicken(f->optOptionen[0]);
    Klicken(f->cmdTAGSpeichern);
    EXPECT_TRUE(HatV1(pfad));
    EXPECT_EQ(AusDatei(e[2]).Mp3_ID3v1_Kommentar, Webadresse().left(30));
}

// Another program writes the title while the editor shows the file: a save
// asks first, "Nein" being the default; "Nein" leaves the file and the
// pages, "Ja" writes what the editor holds.
TEST_F(Mp3TagNurAnsehen, AFileWrittenByAnotherProgramMeanwhileIsOverwrittenOnlyOnYes)
{
    einstellungen().TAGsSoftwareFeldSchreiben = 0;
    const struct {
        QPushButton* frmMp3Tag::*knopf;
        Antwort antwort;
    } fälle[] = {{&frmMp3Tag::cmdTagSpeichernV2, Antwort::Nein},
                 {&frmMp3Tag::cmdTagSpeichernV2, Antwort::Ja},
                 {&frmMp3Tag::cmdTAGSpeichernAlles, Antwort::Nein},
                 {&frmMp3Tag::cmdOk, Antwort::Nein}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(&fall - fälle);
        NeuerIndex();
        const std::vector<qint32> e = DreiDateien();
        const QString pfad = Pfad(e[0]);
        einstellungen().TAGAutomatischSpeichernV2 = 1;
        Öffnen({e[0]});
        Klicken(f->optOptionen[1]);
        Überschreiben(f->txtv2Titel, QStringLiteral("Getippt"));
        QProcess anderes;
        anderes.start(QCoreApplication::applicationDirPath() + "/../tools/tag-write", {pfad, "v2", "Mp3_ID3v2_Titel=Anderes"});
        ASSERT_TRUE(anderes.waitForFinished(20000));
        ASSERT_EQ(anderes.exitCode(), 0) << anderes.readAllStandardError().toStdString();
        const Abbild danach = AbbildVon(pfad);
        std::optional<Antwort> standard;
        DienstErsetzen<MeldungsDienst> fragen{[&](const Meldung& m) {
            meldungen << m.text;
            standard = m.standard;
            return m.knöpfe == Knöpfe::OK ? Antwort::OK : fall.antwort;
        }};
        Klicken(f->*fall.knopf);
        ASSERT_EQ(meldungen.size(), 1) << meldungen.join('|').toStdString();
        EXPECT_TRUE(meldungen[0].startsWith("Die Datei '" + pfad + "' wurde seit dem Anzeigen von einem anderen Programm geändert."))
            << meldungen[0].toStdString();
        EXPECT_EQ(standard, Antwort::Nein);
        if (fall.antwort == Antwort::Nein) {
            EXPECT_TRUE(AbbildVon(pfad) == danach) << "the other program's title was overwritten";
            if (f->isVisible())
                EXPECT_EQ(f->txtv2Titel->text(), "Getippt");
        } else {
            EXPECT_EQ(AusDatei(e[0]).Mp3_ID3v2_Titel, "Getippt");
            EXPECT_EQ(f->txtv2Titel->text(), "Getippt");
        }
        f->hide();
    }
}

// A save refused because the file's folder was renamed away: the user is
// told, and the typed title stays on the page.
TEST_F(Mp3TagNurAnsehen, ARefusedSaveKeepsWhatWasTypedAndTellsWhy)
{
    einstellungen().TAGsSoftwareFeldSchreiben = 0;
    for (QPushButton* frmMp3Tag::*knopf : {&frmMp3Tag::cmdTagSpeichernV2, &frmMp3Tag::cmdTAGSpeichernAlles}) {
        SCOPED_TRACE(knopf == &frmMp3Tag::cmdTagSpeichernV2 ? "TAGv2" : "Alles");
        NeuerIndex();
        QDir().mkpath(ordner.filePath("da"));
        const QString pfad = DateiSchreiben(ordner, "da/lied.mp3", Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("Alt"))}}.Bytes()
                                                                  + Frames(Frame(), 20));
        const qint32 e = hauptIndex().EintragAnhängen(pfad, Lesen(pfad), 1);
        Öffnen({e});
        Klicken(f->optOptionen[1]);
        Überschreiben(f->txtv2Titel, QStringLiteral("Getippt"));
        ASSERT_TRUE(QDir().rename(ordner.filePath("da"), ordner.filePath("weg")));
        Klicken(f->*knopf);
        ASSERT_EQ(meldungen.size(), 1);
        EXPECT_TRUE(meldungen[0].contains("'" + pfad + "'") && meldungen[0].contains("Die Datei existiert nicht."))
            << meldungen[0].toStdString();
        EXPECT_EQ(f->txtv2Titel->text(), "Getippt");
        ASSERT_TRUE(QDir().rename(ordner.filePath("weg"), ordner.filePath("da")));
        meldungen.clear();
        f->hide();
    }
}

// Another program retitles the file while the editor shows it; the user
// leaves it untouched with every automatic-saving box on: no page is saved,
// so the index keeps its record as stored and is not marked changed.
TEST_F(Mp3TagNurAnsehen, LeavingAFileAnotherProgramRetitledLeavesTheIndexAsItWas)
{
    einstellungen().TAGsSoftwareFeldSchreiben = 0;
    const struct {
        const char* name;
        std::function<void(frmMp3Tag*)> gehen;
    } fälle[] = {
        {"Schließen", [](frmMp3Tag* f) { Klicken(f->cmdOk); }},
        {"Nächste", [](frmMp3Tag* f) { Klicken(f->cmdNächster); }},
        {"Seite der Indexfelder, dann Schließen",
         [](frmMp3Tag* f) {
             Klicken(f->optOptionen[2]);
             Klicken(f->cmdOk);
         }},
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        NeuerIndex();
        const std::vector<qint32> e = DreiDateien();
        const QString pfad = Pfad(e[0]);
        const MedienInfo gespeichert = hauptIndex().IndexDaten[size_t(e[0])];
        hauptIndex().bolIndexGeändert = false;
        einstellungen().TAGAutomatischSpeichern = einstellungen().TAGAutomatischSpeichernV2 =
            einstellungen().TAGAutomatischSpeichernFelder = 1;
        Öffnen(e);
        ASSERT_TRUE(f->chkAutomatischSpeichernFelder->isChecked());
        QProcess anderes;
        anderes.start(QCoreApplication::applicationDirPath() + "/../tools/tag-write", {pfad, "v2", "Mp3_ID3v2_Titel=Anderes"});
        ASSERT_TRUE(anderes.waitForFinished(20000));
        ASSERT_EQ(anderes.exitCode(), 0) << anderes.readAllStandardError().toStdString();
        const Abbild danach = AbbildVon(pfad);
        fall.gehen(f);
        f->hide();
        EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join('|').toStdString();
        EXPECT_FALSE(hauptIndex().bolIndexGeändert) << "the index was marked changed by looking";
        EXPECT_EQ(hauptIndex().IndexDaten[size_t(e[0])].Mp3_ID3v2_Titel, "Eins") << "the record was read again";
        EXPECT_TRUE(hauptIndex().IndexDaten[size_t(e[0])] == gespeichert);
        EXPECT_TRUE(AbbildVon(pfad) == danach) << "the other program's title was overwritten";
    }
}
