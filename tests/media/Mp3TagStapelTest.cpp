// The tag editor's batch functions over a fake editor: each function on the
// file shown and on all files, per target; saving between files; the field
// copy's capture and apply.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/Mp3TagStapel.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TagFelder Felder(const char* titel, const char* interpret, const char* album, const char* kommentar = "",
                 const char* track = "", const char* genre = "-1")
{
    TagFelder f;
    f[TagFelder::Titel] = QString::fromUtf8(titel);
    f[TagFelder::Interpret] = QString::fromUtf8(interpret);
    f[TagFelder::Album] = QString::fromUtf8(album);
    f[TagFelder::Kommentar] = QString::fromUtf8(kommentar);
    f[TagFelder::Titelnummer] = QString::fromUtf8(track);
    f[TagFelder::Genre] = QString::fromUtf8(genre);
    return f;
}

// An editor over files in memory: the pages show one file; a save stores
// the pages of the tags asked for into that file.
struct FakeEditor : StapelEditor {
    struct Datei {
        QString pfad;
        std::array<TagFelder, 2> tags;
        bool operator==(const Datei&) const = default;
    };
    std::vector<Datei> dateien;
    int gezeigt = 1;
    std::array<TagFelder, 2> seiten;
    QStringList protokoll;
    int ladenFehlerBei = 0;
    bool v1Fehler = false;
    std::optional<std::array<bool, TagFelder::Anzahl>> wahl;
    MedienInfo angezeigt;

    void Zeigen(int k)
    {
        gezeigt = k;
        seiten = dateien[size_t(k - 1)].tags;
    }
    int DateiAnzahl() override { return int(dateien.size()); }
    int DateiGezeigt() override { return gezeigt; }
    int DateiLaden(int k, const QString& felder) override
    {
        protokoll << QStringLiteral("laden %1 %2").arg(k).arg(felder);
        if (k == ladenFehlerBei)
            return 1;
        Zeigen(k);
        return 0;
    }
    StapelGespeichert Speichern(bool v1, bool v2) override
    {
        protokoll << QStringLiteral("speichern %1 %2%3").arg(gezeigt).arg(int(v1)).arg(int(v2));
        StapelGespeichert g;
        Datei& d = dateien[size_t(gezeigt - 1)];
        if (v1 && !v1Fehler) {
            d.tags[0] = seiten[0];
            g.v1 = true;
        }
        if (v2) {
            d.tags[1] = seiten[1];
            g.v2 = true;
        }
        g.felder = true;
        seiten = d.tags; // shown again as the file now holds it
        return g;
    }
    TagFelder Felder(bool v2) override { return seiten[v2]; }
    void FelderSetzen(bool v2, const TagFelder& f) override { seiten[v2] = f; }
    QString Pfad() override { return dateien[size_t(gezeigt - 1)].pfad; }
    MedienInfo FormularLesen() override
    {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Titel = seiten[0][TagFelder::Titel];
        m.Mp3_ID3v2_Titel = seiten[1][TagFelder::Titel];
        return m;
    }
    bool Anzeigen(const MedienInfo& info) override
    {
        angezeigt = info;
        seiten[0][TagFelder::Titel] = info.Mp3_ID3v1_Titel;
        seiten[0][TagFelder::Interpret] = info.Mp3_ID3v1_Interpret;
        seiten[1][TagFelder::Titel] = info.Mp3_ID3v2_Titel;
        seiten[1][TagFelder::Interpret] = info.Mp3_ID3v2_Interpret;
        return true;
    }
    void AutoTagEinstellen() override { protokoll << QStringLiteral("einstellen"); }
    std::optional<std::array<bool, TagFelder::Anzahl>> FelderWählen() override
    {
        protokoll << QStringLiteral("kopieren %1").arg(gezeigt);
        return wahl;
    }
};

class Stapel : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandardwerteSetzen();
        alt = einstellungen();
        ed.dateien = {
            {"/m/Band - Eins.mp3", {Felder("eins", "band", "platte", "Nr. 5 von 12"), Felder("EINS", "BAND", "PLATTE")}},
            {"/m/Band - Zwei.mp3", {Felder("zwei", "band", "platte"), Felder("ZWEI", "BAND", "PLATTE")}},
            {"/m/Band - Drei.mp3", {Felder("drei", "band", "platte"), Felder("DREI", "BAND", "PLATTE")}},
        };
        ed.Zeigen(2);
    }
    void TearDown() override { einstellungen() = alt; }

    FakeEditor ed;
    Einstellungen alt;
    QStringList meldungen;
    Antwort antwort = Antwort::Ja;
    DienstErsetzen<MeldungsDienst> dienst{[this](const Meldung& m) {
        meldungen << m.text;
        return m.knöpfe == Knöpfe::OK ? Antwort::OK : antwort;
    }};
};

const QString kAlleFragen = QStringLiteral("Möchten Sie die Funktion '%1' tatsächlich für '%2' anwenden?");

} // namespace

TEST(StapelListen, TargetsAndTexts)
{
    EXPECT_EQ(StapelFunktionen().size(), 11);
    EXPECT_EQ(StapelFunktionen()[FunktionFelderKopieren], "Felder kopieren...");
    EXPECT_EQ(StapelZiele()[5], "Alle ID3v1- und ID3v2-TAGs");
    const StapelZiel z = StapelZielErmitteln(4);
    EXPECT_TRUE(!z.v1 && z.v2 && z.alle && z.tagCode == 2);
    EXPECT_EQ(StapelZielErmitteln(2).tagCode, 0);
    EXPECT_EQ(StapelZielErmitteln(0).tagCode, 1);
    const StapelZiel keins = StapelZielErmitteln(-1);
    EXPECT_TRUE(!keins.v1 && !keins.v2 && !keins.alle && keins.tagCode == 0);
}

TEST(StapelZahl, LastDigitRunOfTheComment)
{
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("a5b12c")), "12");
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("Track 07")), "07");
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("1x2")), "2");
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("keine")), "");
    EXPECT_EQ(LetzteZiffernfolge(QString::fromUtf8("٣")), "") << "ASCII digits only";
    EXPECT_EQ(LetzteZiffernfolge(QStringLiteral("99")), "99");
}

TEST_F(Stapel, NumberFromCommentPerTag)
{
    struct Fall {
        const char* kommentar;
        const char* track;
        const char* meldung;
    } fälle[] = {
        {"Nr. 5 von 12", "12", nullptr},
        {"Seite 07", "07", nullptr},
        {"255", "255", nullptr},
        {"256", "", "Die gefundene Zahl im Kommentar-Feld des ID3v1-TAGs '256' ist zu groß."},
        {"x 300", "", "Die gefundene Zahl im Kommentar-Feld des ID3v1-TAGs '300' ist zu groß."},
        {"4294967297", "", "Die gefundene Zahl im Kommentar-Feld des ID3v1-TAGs '4294967297' ist zu groß."},
        {"ohne", "", "Es wurde keine Zahl im Kommentar-Feld des ID3v1-TAGs gefunden."},
        {"", "", "Das Kommentar-Feld des ID3v1-TAGs ist leer."},
    };
    for (const Fall& f : fälle) {
        meldungen.clear();
        TagFelder t = Felder("t", "i", "a", f.kommentar);
        StapelFeldFunktion(FunktionZahlAusKommentar, t, false);
        EXPECT_EQ(t[TagFelder::Titelnummer], f.track) << f.kommentar;
        EXPECT_EQ(t[TagFelder::Kommentar], f.kommentar);
        EXPECT_EQ(meldungen, f.meldung ? QStringList{QString::fromUtf8(f.meldung)} : QStringList()) << f.kommentar;
    }
    // Both tags of the file shown, each with its own message.
    ed.seiten[1][TagFelder::Kommentar].clear();
    ed.seiten[0][TagFelder::Kommentar] = QStringLiteral("CD 2");
    meldungen.clear();
    StapelAusführen(ed, FunktionZahlAusKommentar, 2);
    EXPECT_EQ(ed.seiten[0][TagFelder::Titelnummer], "2");
    EXPECT_EQ(meldungen, QStringList{"Das Kommentar-Feld des ID3v2-TAGs ist leer."});
}

TEST_F(Stapel, SwapsAndCaseOnTheFileShown)
{
    StapelAusführen(ed, FunktionTitelInterpret, 0);
    EXPECT_EQ(ed.seiten[0], Felder("band", "zwei", "platte"));
    EXPECT_EQ(ed.seiten[1], Felder("ZWEI", "BAND", "PLATTE")) << "ID3v2 not targeted";
    StapelAusführen(ed, FunktionAlbumTitel, 1);
    EXPECT_EQ(ed.seiten[1], Felder("PLATTE", "BAND", "ZWEI"));
    StapelAusführen(ed, FunktionInterpretAlbum, 2);
    EXPECT_EQ(ed.seiten[0], Felder("band", "platte", "zwei"));
    EXPECT_EQ(ed.seiten[1], Felder("PLATTE", "ZWEI", "BAND"));
    EXPECT_TRUE(ed.protokoll.isEmpty()) << "one file: nothing loaded or saved";
    EXPECT_EQ(ed.dateien[1].tags[0], Felder("zwei", "band", "platte"));

    ed.seiten[0] = Felder("der titel (live)", "die BAND", "a-b c", "x.y z", "07");
    StapelAusführen(ed, FunktionErsterGroß, 0);
    EXPECT_EQ(ed.seiten[0], Felder("Der titel (Live)", "Die band", "A-B c", "X.Y z", "07"));
    StapelAusführen(ed, FunktionWörterGroß, 0);
    EXPECT_EQ(ed.seiten[0], Felder("Der Titel (Live)", "Die Band", "A-B C", "X.Y Z", "07"));
    StapelAusführen(ed, FunktionKlein, 0);
    EXPECT_EQ(ed.seiten[0], Felder("der titel (live)", "die band", "a-b c", "x.y z", "07"));
    StapelAusführen(ed, FunktionGroß, 0);
    EXPECT_EQ(ed.seiten[0], Felder("DER TITEL (LIVE)", "DIE BAND", "A-B C", "X.Y Z", "07"));
    EXPECT_EQ(ed.seiten[1], Felder("PLATTE", "ZWEI", "BAND"));

    // Character by character: the length stays.
    ed.seiten[0] = Felder("straße", "İlker", "Ǆemal", "𐐨x");
    StapelAusführen(ed, FunktionGroß, 0);
    EXPECT_EQ(ed.seiten[0], Felder("STRAßE", "İLKER", "ǄEMAL", "𐐀X"));
    StapelAusführen(ed, FunktionKlein, 0);
    EXPECT_EQ(ed.seiten[0], Felder("straße", "İlker", "ǆemal", "𐐨x"));
}

TEST_F(Stapel, NothingChosen)
{
    StapelAusführen(ed, -1, 0);
    StapelAusführen(ed, FunktionKlein, -1);
    EXPECT_EQ(meldungen, (QStringList{"Bitte wählen Sie eine Funktion.", "Bitte wählen Sie eine Funktion."}));
    EXPECT_EQ(ed.seiten[0], Felder("zwei", "band", "platte"));
}

TEST_F(Stapel, AllFilesWalksLoadsAndSavesAllButTheLast)
{
    antwort = Antwort::Nein;
    StapelAusführen(ed, FunktionGroß, 3);
    EXPECT_EQ(meldungen, QStringList{kAlleFragen.arg("Schreibweise: Groß", "Alle ID3v1-TAGs")});
    EXPECT_TRUE(ed.protokoll.isEmpty());

    antwort = Antwort::Ja;
    StapelAusführen(ed, FunktionGroß, 3);
    EXPECT_EQ(ed.protokoll, (QStringList{"laden 1 101", "speichern 1 10", "laden 2 101", "speichern 2 10",
                                         "laden 3 101"}));
    EXPECT_EQ(ed.dateien[0].tags[0], Felder("EINS", "BAND", "PLATTE", "NR. 5 VON 12"));
    EXPECT_EQ(ed.dateien[1].tags[0], Felder("ZWEI", "BAND", "PLATTE"));
    EXPECT_EQ(ed.dateien[2].tags[0], Felder("drei", "band", "platte")) << "the last file stays unsaved";
    EXPECT_EQ(ed.seiten[0], Felder("DREI", "BAND", "PLATTE"));
    EXPECT_EQ(ed.gezeigt, 3);

    ed.protokoll.clear();
    StapelAusführen(ed, FunktionKlein, 5);
    EXPECT_EQ(ed.protokoll, (QStringList{"laden 1 111", "speichern 1 11", "laden 2 111", "speichern 2 11",
                                         "laden 3 111"}));
    EXPECT_EQ(ed.dateien[0].tags[1], Felder("eins", "band", "platte"));
    ed.protokoll.clear();
    StapelAusführen(ed, FunktionKlein, 4);
    EXPECT_EQ(ed.protokoll.first(), "laden 1 011");
    EXPECT_EQ(ed.protokoll[1], "speichern 1 01");
}

TEST_F(Stapel, AllFilesOnASingleFileWorksOnTheFileShown)
{
    ed.dateien.resize(1);
    ed.Zeigen(1);
    StapelAusführen(ed, FunktionGroß, 5);
    EXPECT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(ed.protokoll.isEmpty());
    EXPECT_EQ(ed.seiten[1], Felder("EINS", "BAND", "PLATTE"));
    EXPECT_EQ(ed.seiten[0][TagFelder::Titel], "EINS");
}

TEST_F(Stapel, FailedSaveAsksAlsoBeforeTheLastFile)
{
    ed.v1Fehler = true;
    const QString frage = QStringLiteral("Es ist ein Fehler beim Speichern des ID3v1-TAGs aufgetreten.\n"
                                         "Möchten Sie mit der nächsten Datei fortfahren?");
    StapelAusführen(ed, FunktionGroß, 5);
    EXPECT_EQ(meldungen, (QStringList{kAlleFragen.arg("Schreibweise: Groß", "Alle ID3v1- und ID3v2-TAGs"), frage, frage}));
    EXPECT_EQ(ed.gezeigt, 3) << "the last file is worked on after a yes";
    EXPECT_EQ(ed.dateien[0].tags[1], Felder("EINS", "BAND", "PLATTE")) << "ID3v2 saved in the same sequence";

    // No ends the run; the file with the failed save is the one shown.
    ed.Zeigen(1);
    ed.protokoll.clear();
    meldungen.clear();
    int fragen = 0;
    DienstErsetzen<MeldungsDienst> nein{[&](const Meldung& m) {
        meldungen << m.text;
        return ++fragen == 1 ? Antwort::Ja : Antwort::Nein;
    }};
    StapelAusführen(ed, FunktionGroß, 3);
    EXPECT_EQ(ed.protokoll, (QStringList{"laden 1 101", "speichern 1 10"}));
    EXPECT_EQ(meldungen.last(), frage);
}

TEST_F(Stapel, LoadFailureEndsTheRun)
{
    ed.ladenFehlerBei = 2;
    StapelAusführen(ed, FunktionGroß, 3);
    EXPECT_EQ(ed.protokoll, (QStringList{"laden 1 101", "speichern 1 10", "laden 2 101"}));
    EXPECT_EQ(meldungen.size(), 1) << "no message of its own";
}

TEST_F(Stapel, AutoTagByTheCurrentFormat)
{
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% - %Titel%");
    hauptIndex() = Index();
    StapelAusführen(ed, FunktionAutoTag, 1);
    EXPECT_EQ(ed.seiten[1][TagFelder::Titel], "Zwei");
    EXPECT_EQ(ed.seiten[1][TagFelder::Interpret], "Band");
    EXPECT_EQ(ed.seiten[0][TagFelder::Titel], "zwei") << "target ID3v2 only";
    EXPECT_EQ(ed.angezeigt.Mp3_ID3v2_Vorhanden, 3);

    antwort = Antwort::Ja;
    StapelAusführen(ed, FunktionAutoTag, 3);
    EXPECT_EQ(ed.dateien[0].tags[0][TagFelder::Titel], "Eins");
    EXPECT_EQ(ed.dateien[1].tags[0][TagFelder::Interpret], "Band");
    EXPECT_EQ(ed.seiten[0][TagFelder::Titel], "Drei");
}

TEST_F(Stapel, AutoTagFailureAsksToGoOn)
{
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% - %Album% - %Titel%");
    antwort = Antwort::Nein;
    StapelAusführen(ed, FunktionAutoTag, 2);
    ASSERT_EQ(meldungen.size(), 2);
    EXPECT_TRUE(meldungen[0].contains("nicht gleich viele Elemente"));
    EXPECT_EQ(meldungen[1], "Es ist ein Fehler in der Funktion 'AutoTAG' aufgetreten.\n"
                            "Möchten Sie mit der nächsten Datei fortfahren?");

    meldungen.clear();
    antwort = Antwort::Ja;
    StapelAusführen(ed, FunktionAutoTag, 5);
    EXPECT_EQ(meldungen.size(), 1 + 3 * 2) << "each file's refusal and question";
    EXPECT_EQ(ed.gezeigt, 3);
}

TEST_F(Stapel, SetupOpensTheChooserWhateverTheTarget)
{
    StapelAusführen(ed, FunktionAutoTagEinstellen, -1);
    EXPECT_EQ(ed.protokoll, QStringList{"einstellen"});
    ed.protokoll.clear();
    StapelAusführen(ed, FunktionAutoTagEinstellen, 3);
    EXPECT_EQ(ed.protokoll, (QStringList{"laden 1 101", "einstellen"}));
}

TEST_F(Stapel, FieldCopyRefusedWritesNothing)
{
    ed.wahl.reset();
    StapelAusführen(ed, FunktionFelderKopieren, 5);
    EXPECT_EQ(ed.protokoll, (QStringList{"laden 1 111", "kopieren 1"}));
    EXPECT_EQ(ed.dateien[1].tags[0], Felder("zwei", "band", "platte"));
}

TEST_F(Stapel, FieldCopyFromTheFirstFileIntoAll)
{
    ed.dateien[0].tags = {Felder("eins", "Quelle", "Album A", "k", "3", "17"), Felder("EINS", "QUELLE", "ALBUM A", "", "", "Eigenes")};
    std::array<bool, TagFelder::Anzahl> wahl{};
    wahl[TagFelder::Interpret] = wahl[TagFelder::Genre] = true;
    ed.wahl = wahl;
    StapelAusführen(ed, FunktionFelderKopieren, 4);
    EXPECT_EQ(ed.protokoll, (QStringList{"laden 1 011", "kopieren 1", "speichern 1 01", "laden 2 011",
                                         "speichern 2 01", "laden 3 011"}));
    EXPECT_EQ(ed.dateien[1].tags[1], Felder("ZWEI", "QUELLE", "PLATTE", "", "", "Eigenes"));
    EXPECT_EQ(ed.dateien[1].tags[0], Felder("zwei", "band", "platte")) << "only ID3v2 is saved";
    // An all-files run writes the ID3v1 boxes too; the last file shows both.
    EXPECT_EQ(ed.seiten[0], Felder("drei", "Quelle", "platte", "", "", "17"));
    EXPECT_EQ(ed.seiten[1], Felder("DREI", "QUELLE", "PLATTE", "", "", "Eigenes"));
    EXPECT_EQ(ed.dateien[0].tags[1][TagFelder::Interpret], "QUELLE") << "the first file gets its own values back";
}

TEST_F(Stapel, FieldCopyOnOneFileLeavesItAsItWas)
{
    std::array<bool, TagFelder::Anzahl> wahl{};
    wahl.fill(true);
    ed.wahl = wahl;
    const auto vorher = ed.seiten;
    StapelAusführen(ed, FunktionFelderKopieren, 0);
    EXPECT_EQ(ed.protokoll, QStringList{"kopieren 2"});
    EXPECT_EQ(ed.seiten, vorher);
}

TEST_F(Stapel, EveryFieldFunctionOnEveryTarget)
{
    const auto anfang = ed.dateien;
    for (int funktion = FunktionTitelInterpret; funktion <= FunktionGroß; ++funktion) {
        for (int zielPos = 0; zielPos < 6; ++zielPos) {
            ed.dateien = anfang;
            ed.Zeigen(2);
            meldungen.clear();
            StapelAusführen(ed, funktion, zielPos);
            const StapelZiel ziel = StapelZielErmitteln(zielPos);
            const auto erwartet = [&](int datei, bool v2) {
                TagFelder t = anfang[size_t(datei)].tags[v2];
                if (v2 ? ziel.v2 : ziel.v1)
                    StapelFeldFunktion(funktion, t, v2);
                return t;
            };
            const std::string fall = std::to_string(funktion) + "/" + std::to_string(zielPos);
            if (!ziel.alle) {
                EXPECT_EQ(ed.seiten[0], erwartet(1, false)) << fall;
                EXPECT_EQ(ed.seiten[1], erwartet(1, true)) << fall;
                EXPECT_EQ(ed.dateien, anfang) << fall;
                continue;
            }
            for (int d : {0, 1})
                for (bool v2 : {false, true})
                    EXPECT_EQ(ed.dateien[size_t(d)].tags[v2], erwartet(d, v2)) << fall << " file " << d;
            EXPECT_EQ(ed.dateien[2].tags, anfang[2].tags) << fall;
            EXPECT_EQ(ed.seiten[0], erwartet(2, false)) << fall;
            EXPECT_EQ(ed.seiten[1], erwartet(2, true)) << fall;
        }
    }
}
