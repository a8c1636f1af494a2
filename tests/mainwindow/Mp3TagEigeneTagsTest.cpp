// Every file keeps its own tags: after a batch run over one tag of five
// files, saving the file shown (by "Alles speichern", or automatically on
// closing or moving on) leaves every file's other tag byte for byte as it
// was (also where there is none, or where its block holds bytes a rewrite
// would not give back), and the other page shows the file's own fields and
// padding.

#include "Mp3TagEditorHilfen.h"
#include "media/frmMp3TagFeldFuellen.h"

#include <QLabel>

using namespace Mp3Bauer;
using EigeneTags = Mp3TagFensterTest;

TEST_F(EigeneTags, ABatchOverOneTagLeavesEveryFilesOtherTagAsItWas)
{
    enum Ende { Alles, Schließen, Vorheriger };
    // The files' tags: both, one of them, or an ID3v1 block with bytes behind
    // a title's zero, a space-padded artist and a comment with a track byte.
    enum Art { Beide, NurV2, NurV1, EigenerV1 };
    const struct {
        int ziel;         // 3: all ID3v1 tags, 4: all ID3v2 tags
        const char* tags; // what the index read when the files were added
        Ende ende;
        int funktion = FunktionAutoTag;
        bool tippen = false; // the user edits the other page's album
        Art art = Beide;
    } fälle[] = {
        {3, "10", Alles}, {3, "10", Schließen}, {3, "10", Vorheriger}, {3, "11", Alles},
        {4, "01", Alles}, {4, "01", Schließen}, {4, "01", Vorheriger}, {4, "11", Schließen},
        {3, "10", Alles, FunktionAutoTag, true},
        {3, "11", Alles, FunktionFelderKopieren},
        {4, "11", Schließen, FunktionFelderKopieren},
        {4, "01", Alles, FunktionAutoTag, false, NurV2}, {4, "01", Schließen, FunktionAutoTag, false, NurV2},
        {4, "11", Vorheriger, FunktionAutoTag, false, NurV2}, {3, "10", Alles, FunktionAutoTag, false, NurV1},
        {3, "11", Schließen, FunktionAutoTag, false, NurV1}, {4, "11", Alles, FunktionAutoTag, false, EigenerV1},
        {4, "11", Schließen, FunktionAutoTag, false, EigenerV1}, {4, "11", Vorheriger, FunktionAutoTag, false, EigenerV1},
    };
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% - %Titel%");
    for (const auto& fall : fälle) {
        SCOPED_TRACE(&fall - fälle);
        const bool v1 = fall.ziel == 3, kopie = fall.funktion == FunktionFelderKopieren;
        // What the run puts into the title of file i (the copy: the first file's).
        const auto titel = [&](int i) {
            return kopie ? QStringLiteral("v%1 Titel 1").arg(v1 ? 1 : 2) : QStringLiteral("T%1").arg(i);
        };
        NeuerIndex();
        std::vector<qint32> einträge;
        std::vector<QByteArray> vorher;
        for (int i = 1; i <= 5; ++i) {
            const QString n = QString::number(i);
            Id3v2Tag t;
            t.frames = {TextFrame("TIT2", "v2 Titel " + n), TextFrame("TPE1", "v2 Band"), TextFrame("TALB", "v2 Album"),
                        TextFrame("TRCK", n + "/5"), TextFrame("TCON", QStringLiteral("(%1)").arg(i + 7)),
                        KommentarFrame("v2 Notiz " + n)};
            t.padding = 40 + i;
            const bool roh = fall.art == EigenerV1;
            const QByteArray v1Tag = Id3v1Block({.titel = "v1 Titel " + n.toLatin1() + (roh ? QByteArray("\0Rest", 5) : ""),
                                                 .interpret = "v1 Band" + QByteArray(roh ? 23 : 0, ' '), .album = "v1 Album",
                                                 .kommentar = roh ? QByteArray("Notiz\0xy", 8) : "", .spur = i, .genre = i + 20});
            const QByteArray daten = (fall.art == NurV1 ? QByteArray() : t.Bytes()) + Frames(Frame(), 10 + i)
                                   + (fall.art == NurV2 ? QByteArray() : v1Tag);
            einträge.push_back(Eintrag("Band - T" + n + ".mp3", daten, QString::fromLatin1(fall.tags)));
            vorher.push_back(DateiInhalt(Pfad(einträge.back())));
        }
        Öffnen(einträge);
        AutomatischSpeichern(fall.ende != Alles);
        if (kopie)
            ImDialog<frmMp3TagFeldFüllen>(f, [](frmMp3TagFeldFüllen* d) {
                d->lstFelder->clearSelection();
                ZeileKlicken(d->lstFelder, TagFelder::Titel);
                Klicken(d->cmdOk);
            });
        Ausführen(fall.funktion, fall.ziel);
        ASSERT_EQ(f->txtDateiname->currentIndex(), 4);
        // The page the run did not read shows the last file's own tag.
        EXPECT_EQ(f->txtv2Titel->text(), !v1 ? titel(5) : fall.art == NurV1 ? "" : "v2 Titel 5");
        EXPECT_EQ(f->txtTitel->text(), v1 ? titel(5) : fall.art == NurV2 ? "" : "v1 Titel 5");
        if (fall.art != NurV1)
            EXPECT_TRUE(f->lblID3v2Info->text().endsWith(" 45 Bytes sind ungenutzt."))
                << f->lblID3v2Info->text().toStdString();
        if (fall.tippen) {
            f->optOptionen_Click(1);
            f->txtv2Album->selectAll();
            QTest::keyClicks(f->txtv2Album, QStringLiteral("Neu"));
        }
        Klicken(fall.ende == Alles ? f->cmdTAGSpeichernAlles : fall.ende == Schließen ? f->cmdOk : f->cmdVorheriger);
        EXPECT_EQ(meldungen.size(), 1) << "more than the run's question: " << meldungen.join('|').toStdString();

        for (int i = 0; i < 5; ++i) {
            const QByteArray jetzt = DateiInhalt(Pfad(einträge[size_t(i)]));
            const MedienInfo m = AusDatei(einträge[size_t(i)]);
            EXPECT_EQ(v1 ? m.Mp3_ID3v1_Titel : m.Mp3_ID3v2_Titel, titel(i + 1)) << i;
            if (fall.tippen && i == 4)
                EXPECT_EQ(m.Mp3_ID3v2_Album + m.Mp3_ID3v2_Titel, "Neuv2 Titel 5") << "the user's edit is saved";
            else if (v1)
                EXPECT_EQ(jetzt.chopped(128), vorher[size_t(i)].chopped(128)) << i;
            else
                EXPECT_EQ(jetzt.right(128), vorher[size_t(i)].right(128)) << i;
        }
        f->hide();
    }
}
