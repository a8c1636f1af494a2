// Every file keeps its own tags: after a batch run over one tag of five
// files of one artist, saving the file shown (by "Alles speichern", or by the
// automatic saving when closing or moving on) leaves every file's other tag
// byte for byte as it was, and the other page shows the file's own fields.

#include "Mp3TagEditorHilfen.h"
#include "media/Mp3TagStapel.h"
#include "media/frmMp3TagFeldFuellen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Mp3Bauer;

namespace {

const char* const kTitel[] = {"Eins", "Zwei", "Drei", "Vier", "Fuenf"};

class EigeneTags : public Mp3TagFensterTest {
protected:
    // Five files "Band - <title>.mp3", each with its own ID3v2 and ID3v1
    // fields; the index read the tags by `tags`.
    void DateienAnlegen(const QString& tags)
    {
        einträge.clear();
        v2Länge.clear();
        for (int i = 0; i < 5; ++i) {
            const QString n = QString::number(i + 1);
            Id3v2Tag t;
            t.frames = {TextFrame("TIT2", QStringLiteral("v2 Titel ") + n), TextFrame("TPE1", QStringLiteral("v2 Band ") + n),
                        TextFrame("TALB", QStringLiteral("v2 Album ") + n), TextFrame("TRCK", n + QStringLiteral("/5")),
                        TextFrame("TCON", QStringLiteral("(%1)").arg(i + 7)), KommentarFrame(QStringLiteral("v2 Notiz ") + n)};
            t.padding = 40 + i;
            const QByteArray v2 = t.Bytes();
            v2Länge.push_back(v2.size());
            const QByteArray v1 = Id3v1Block({.titel = "v1 Titel " + n.toLatin1(), .interpret = "v1 Band",
                                              .album = "v1 Album " + n.toLatin1(), .spur = i + 1, .genre = i + 20});
            const QString name = QStringLiteral("Band - %1.mp3").arg(QString::fromLatin1(kTitel[i]));
            einträge.push_back(Eintrag(name, v2 + Frames(Frame(), 10 + i) + v1, tags));
            vorher.push_back(DateiInhalt(Pfad(einträge.back())));
        }
    }
    QByteArray V2Bytes(int i, const QByteArray& d) const { return d.left(v2Länge[size_t(i)]); }
    static QByteArray V1Bytes(const QByteArray& d) { return d.right(128); }

    // AutoTAG by artist and title, or the copy of the first file's title.
    void ÜberAlle(int funktion, int ziel)
    {
        einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% - %Titel%");
        if (funktion == FunktionFelderKopieren)
            ImDialog<frmMp3TagFeldFüllen>(f, [](frmMp3TagFeldFüllen* d) {
                d->lstFelder->clearSelection();
                ZeileKlicken(d->lstFelder, TagFelder::Titel);
                Klicken(d->cmdOk);
            });
        ZeileKlicken(f->cboFunktion, funktion);
        ZeileKlicken(f->cboFunktionTAG, ziel);
        Klicken(f->cmdFunktionAusführen);
    }

    std::vector<qint32> einträge;
    std::vector<int> v2Länge;
    std::vector<QByteArray> vorher;
};

enum class Ende { AllesSpeichern, SchließenAutomatisch, VorherigeAutomatisch };

} // namespace

TEST_F(EigeneTags, ABatchOverOneTagLeavesEveryFilesOtherTagAsItWas)
{
    struct Fall {
        int ziel;           // position in the target list
        const char* tags;   // what the index read when the files were added
        Ende ende;
        int funktion = FunktionAutoTag;
    } fälle[] = {
        {3, "10", Ende::AllesSpeichern},       {3, "10", Ende::SchließenAutomatisch},
        {3, "10", Ende::VorherigeAutomatisch}, {3, "11", Ende::AllesSpeichern},
        {4, "01", Ende::AllesSpeichern},       {4, "01", Ende::SchließenAutomatisch},
        {4, "01", Ende::VorherigeAutomatisch}, {4, "11", Ende::SchließenAutomatisch},
        {3, "11", Ende::AllesSpeichern, FunktionFelderKopieren},
        {4, "11", Ende::SchließenAutomatisch, FunktionFelderKopieren},
    };
    for (const Fall& fall : fälle) {
        const bool v1Ziel = fall.ziel == 3;
        const bool kopie = fall.funktion == FunktionFelderKopieren;
        // What the run puts into the title of file i.
        const auto titel = [&](int i) {
            return kopie ? QStringLiteral("%1 Titel 1").arg(v1Ziel ? "v1" : "v2") : QString::fromLatin1(kTitel[i]);
        };
        const std::string was = std::to_string(fall.ziel) + " " + fall.tags + " " + std::to_string(int(fall.ende)) +
                                " " + std::to_string(fall.funktion);
        hauptIndex() = Index();
        hauptIndex().strDateiTypen = standardwerte().strStandardDateiTypen;
        hauptIndex().strDateiTypArten = standardwerte().strStandardDateiTypArten;
        vorher.clear();
        DateienAnlegen(QString::fromLatin1(fall.tags));
        ASSERT_TRUE(f->Öffnen(einträge));
        f->show();
        if (fall.ende != Ende::AllesSpeichern)
            for (QCheckBox* c : {f->chkAutomatischSpeichern, f->chkAutomatischSpeichernV2, f->chkAutomatischSpeichernFelder})
                c->setChecked(true);
        meldungen.clear();

        ÜberAlle(fall.funktion, fall.ziel);
        ASSERT_EQ(meldungen.size(), 1) << was << ": " << meldungen.join('|').toStdString();
        ASSERT_EQ(f->txtDateiname->currentIndex(), 4) << was;
        // The page the run did not read shows the last file's own tag.
        EXPECT_EQ(f->txtv2Titel->text(), v1Ziel ? QStringLiteral("v2 Titel 5") : titel(4)) << was;
        EXPECT_EQ(f->txtv2Titelnummer->text(), "5/5") << was;
        EXPECT_EQ(f->txtTitel->text(), v1Ziel ? titel(4) : QStringLiteral("v1 Titel 5")) << was;
        EXPECT_EQ(f->txtTitelnummer->text(), "5") << was;

        switch (fall.ende) {
        case Ende::AllesSpeichern: Klicken(f->cmdTAGSpeichernAlles); break;
        case Ende::SchließenAutomatisch: Klicken(f->cmdOk); break;
        case Ende::VorherigeAutomatisch: Klicken(f->cmdVorheriger); break;
        }
        EXPECT_EQ(meldungen.size(), 1) << was << ": " << meldungen.join('|').toStdString();

        for (int i = 0; i < 5; ++i) {
            const QByteArray jetzt = DateiInhalt(Pfad(einträge[size_t(i)]));
            const MedienInfo m = AusDatei(einträge[size_t(i)]);
            if (v1Ziel) {
                EXPECT_EQ(V2Bytes(i, jetzt), V2Bytes(i, vorher[size_t(i)])) << was << " file " << i;
                EXPECT_EQ(m.Mp3_ID3v1_Titel, titel(i)) << was << " file " << i;
            } else {
                EXPECT_EQ(V1Bytes(jetzt), V1Bytes(vorher[size_t(i)])) << was << " file " << i;
                EXPECT_EQ(m.Mp3_ID3v2_Titel, titel(i)) << was << " file " << i;
            }
        }
        if (f->isVisible())
            f->hide();
    }
}

TEST_F(EigeneTags, TheOtherPageCountsAsUnchangedUntilItIsEdited)
{
    DateienAnlegen(QStringLiteral("10"));
    ASSERT_TRUE(f->Öffnen(einträge));
    f->show();
    ZeileKlicken(f->cboFunktion, FunktionGroß);
    ZeileKlicken(f->cboFunktionTAG, 3);
    Klicken(f->cmdFunktionAusführen);
    ASSERT_EQ(f->txtDateiname->currentIndex(), 4);

    // Typed by the user: that edit is the file's to keep.
    f->optOptionen_Click(1);
    f->txtv2Album->selectAll();
    QTest::keyClicks(f->txtv2Album, QStringLiteral("Neu"));
    Klicken(f->cmdTAGSpeichernAlles);
    const MedienInfo m = AusDatei(einträge[4]);
    EXPECT_EQ(m.Mp3_ID3v2_Album, "Neu");
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "v2 Titel 5");
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "V1 TITEL 5");
    // The third file was saved by the run in its ID3v1 tag only.
    EXPECT_EQ(V2Bytes(2, DateiInhalt(Pfad(einträge[2]))), V2Bytes(2, vorher[2]));
}

TEST_F(EigeneTags, ABatchShowsThePaddingTheTagHas)
{
    // An index file keeps no count of unused bytes: the record says 0.
    for (const char* name : {"a.mp3", "b.mp3"}) {
        Id3v2Tag t;
        t.frames = {TextFrame("TIT2", QStringLiteral("Titel"))};
        t.padding = 306;
        const qint32 e = Eintrag(QString::fromLatin1(name), t.Bytes() + Frames(Frame(), 10));
        hauptIndex().IndexDaten[size_t(e)].Mp3_ID3v2_Ungenutzt = 0;
        einträge.push_back(e);
    }
    ASSERT_TRUE(f->Öffnen(einträge));
    f->show();
    EXPECT_TRUE(f->lblID3v2Info->text().endsWith(" 306 Bytes sind ungenutzt.")) << f->lblID3v2Info->text().toStdString();
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Titel%");
    for (int funktion : {FunktionKlein, FunktionAutoTag})
        for (int ziel : {3, 4, 5}) {
            ZeileKlicken(f->cboFunktion, funktion);
            ZeileKlicken(f->cboFunktionTAG, ziel);
            Klicken(f->cmdFunktionAusführen);
            ASSERT_EQ(f->txtDateiname->currentIndex(), 1);
            EXPECT_TRUE(f->lblID3v2Info->text().endsWith(" 306 Bytes sind ungenutzt."))
                << funktion << "/" << ziel << ": " << f->lblID3v2Info->text().toStdString();
        }
}
