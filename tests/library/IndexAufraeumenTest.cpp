#include "BibliothekTesthilfe.h"

#include "core/Funktionen.h"
#include "core/Verfuegbarkeit.h"
#include "library/IndexAufraeumen.h"

using namespace testhilfe;

namespace {

// Makes one file refuse deletion while its folder stays writable (possible
// for root only: the immutable flag); false when it cannot be done here.
bool DateiSperren(const QString& pfad, bool an)
{
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = an ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

struct Dateisperre {
    QString pfad;
    bool aktiv;
    explicit Dateisperre(const QString& p) : pfad(p), aktiv(::geteuid() == 0 && DateiSperren(p, true)) {}
    ~Dateisperre()
    {
        if (aktiv)
            DateiSperren(pfad, false);
    }
};

class IndexAufraeumenTest : public ::testing::Test, protected Aufräumumgebung {
protected:
    void SetUp() override { EinstellungenFürHinzufügen(); }
    void TearDown() override { IndexStimmig(index); }

    QStringList ImPapierkorb() const { return heim.ImPapierkorb(); }
};

} // namespace

TEST_F(IndexAufraeumenTest, GemischteAktionenBehaltenWasBleibt)
{
    const QString gesperrt = baum.Ordner("gesperrt");
    Eintrag(baum.Datei("a/1.mp3"), AktionLöschen);
    Eintrag(baum.Datei("gesperrt/2.mp3"), AktionLöschen);
    Eintrag(kFehlendesMedium + "/3.mp3", AktionLöschen);
    Eintrag(baum.Datei("d/4.mp3"), AktionAusIndexEntfernen);
    Eintrag(baum.Datei("e/5.mp3"), AktionLeereDatei);
    Eintrag(baum.Datei("k/6.mp3"), KeineAktion);
    Eintrag(baum.Datei("p/7.mp3"), AktionPapierkorb);
    Eintrag(baum.Datei("gesperrt/8.mp3"), AktionLeereDatei);
    Eintrag(baum.Datei("n/9.mp3"), AktionLöschen);
    Eintrag(baum.Datei("n/10.mp3"), AktionLöschen);
    index.bolIndexGeändert = false;

    const AktionsAnzahl anzahl = AktionenZählen(aktion);
    EXPECT_EQ(anzahl, (AktionsAnzahl{0, 5, 1, 1, 2}));
    {
        Schreibschutz sperre(gesperrt);
        if (!sperre.aktiv)
            GTEST_SKIP() << "cannot make a folder read-only here";
        // Folder a empties: Ja; 2.mp3 fails: Ja, go on; 3 is absent: skipped;
        // 9.mp3 goes, folder n is not empty; after 10.mp3 folder n: Nein;
        // the trash: Ja; folder p empties: Nein; 8 cannot be replaced (the
        // last one: reported only).
        meldungen.antworten = {Antwort::Ja, Antwort::Ja, Antwort::Nein, Antwort::Ja, Antwort::Nein, Antwort::Ja};
        IndexAufräumen(index, aktion, nullptr);
    }
    EXPECT_EQ(medien.fragen, 1);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("gesperrt/2.mp3"), kFehlendesMedium + "/3.mp3",
                                              baum.Pfad("k/6.mp3"), baum.Pfad("gesperrt/8.mp3")}))
        << "deleted, removed, replaced and trashed entries leave; failed and skipped ones stay";
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("a")));
    EXPECT_TRUE(QFile::exists(baum.Pfad("gesperrt/2.mp3")));
    EXPECT_TRUE(QFile::exists(baum.Pfad("d/4.mp3"))) << "removed from the index only";
    EXPECT_FALSE(QFile::exists(baum.Pfad("e/5.mp3")));
    EXPECT_TRUE(QFile::exists(baum.Pfad("e/5.inanderemordner")));
    EXPECT_EQ(QFileInfo(baum.Pfad("e/5.inanderemordner")).size(), 0);
    EXPECT_EQ(ImPapierkorb(), QStringList({"7.mp3"}));
    EXPECT_TRUE(QFileInfo::exists(baum.Pfad("p"))) << "declined";
    EXPECT_TRUE(QFileInfo::exists(baum.Pfad("n"))) << "declined";
    EXPECT_EQ(meldungen.gezeigt.size(), 6u);
    EXPECT_TRUE(QFile::exists(baum.Pfad("gesperrt/8.mp3")));
    EXPECT_FALSE(QFile::exists(baum.Pfad("gesperrt/8.inanderemordner")));
    EXPECT_TRUE(meldungen.Enthält("Die Datei '" + baum.Pfad("gesperrt/8.inanderemordner")
                                  + "' konnte nicht erstellt werden."));
    EXPECT_TRUE(index.bolIndexGeändert);
    EXPECT_EQ(status.Text(), "Der Index wurde nicht vollständig aufgeräumt: 2 Datei(en) nicht gelöscht und 1 "
                             "Datei(en) nicht ersetzt, ihre Einträge bleiben im Index");
}

// Files of an absent medium passed over (skipped, "skip all", not asked about)
// are still there: their entries stay, and the status line counts them.
TEST_F(IndexAufraeumenTest, ÜbersprungeneDateienBehaltenIhreEinträge)
{
    using A = NichtVerfügbarAntwort;
    // The answers, the setting to ask, the questions then.
    const std::tuple<std::deque<A>, int, int> fälle[] = {{{A::Überspringen, A::Überspringen}, 1, 2}, {{A::AlleÜberspringen}, 1, 1}, {{}, 0, 0}};
    int n = 0;
    for (const Aktion art : {AktionLöschen, AktionPapierkorb})
        for (const auto& [antworten, fragenEinstellung, fragen] : fälle) {
            SCOPED_TRACE(n);
            index = Index();
            aktion = {0};
            medien.fragen = 0;
            medien.antworten = antworten;
            einstellungen().NichtVerfügbarFragen = fragenEinstellung;
            const QString da = QString("da%1/3.mp3").arg(n++);
            Eintrag(kFehlendesMedium + "/1.mp3", art);
            Eintrag(baum.Datei(da), art);
            Eintrag(kFehlendesMedium + "/2.mp3", art);
            Eintrag(baum.Pfad(QString("weg/%1.mp3").arg(n)), art);
            IndexAufräumen(index, aktion, nullptr);
            EXPECT_EQ(medien.fragen, fragen);
            EXPECT_EQ(IndexPfade(index), QStringList({kFehlendesMedium + "/1.mp3", kFehlendesMedium + "/2.mp3"}))
                << "the deleted file and the missing one leave";
            EXPECT_FALSE(QFile::exists(baum.Pfad(da)));
            EXPECT_EQ(status.Text(), "Der Index wurde nicht vollständig aufgeräumt: 2 Datei(en) nicht gelöscht, ihre "
                                     "Einträge bleiben im Index");
        }
    EXPECT_EQ(ImPapierkorb().size(), 3) << "one file of each trash run";
}

TEST_F(IndexAufraeumenTest, NeinNachFehlschlagBehältDenRestDerLöschliste)
{
    const QString gesperrt = baum.Ordner("gesperrt");
    Eintrag(baum.Datei("gesperrt/1.mp3"), AktionLöschen);
    Eintrag(baum.Datei("x/2.mp3"), AktionLöschen);
    Eintrag(baum.Datei("y/3.mp3"), AktionAusIndexEntfernen);
    {
        Schreibschutz sperre(gesperrt);
        if (!sperre.aktiv)
            GTEST_SKIP() << "cannot make a folder read-only here";
        meldungen.antworten = {Antwort::Nein};
        IndexAufräumen(index, aktion, nullptr);
    }
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("gesperrt/1.mp3"), baum.Pfad("x/2.mp3")}));
    EXPECT_TRUE(QFile::exists(baum.Pfad("x/2.mp3")));
}

TEST_F(IndexAufraeumenTest, ErsetzenDurchLeereDateien)
{
    const qint32 a = Eintrag(baum.Datei("a/lied.mp3"), AktionLeereDatei);
    baum.Datei("b/lied.inanderemordner", "schon da");
    const qint32 b = Eintrag(baum.Datei("b/lied.mp3"), AktionLeereDatei);
    const qint32 c = Eintrag(baum.Datei("c/lied.inanderemordner", "voll"), AktionLeereDatei);
    const qint32 d = Eintrag(baum.Datei("d/ohne"), AktionLeereDatei);
    EintragsListe liste = {a, b, c, d};
    meldungen.antworten = {Antwort::Ja};
    DurchLeereDateienErsetzen(index, liste, "inanderemordner", nullptr);
    EXPECT_EQ(liste, (EintragsListe{a, 0, c, d}));
    EXPECT_FALSE(QFile::exists(baum.Pfad("a/lied.mp3")));
    EXPECT_EQ(Lesen(baum.Pfad("a/lied.inanderemordner")), QByteArray());
    EXPECT_TRUE(QFile::exists(baum.Pfad("a/lied.inanderemordner")));
    EXPECT_EQ(Lesen(baum.Pfad("b/lied.inanderemordner")), "schon da") << "an existing file is never overwritten";
    EXPECT_EQ(Lesen(baum.Pfad("b/lied.mp3")), KleineMp3()) << "its original stays";
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_EQ(meldungen.gezeigt[0].text, "Die Datei '" + baum.Pfad("b/lied.inanderemordner")
                                             + "' konnte nicht erstellt werden.\nDatei existiert bereits (Fehler 58)"
                                               "\nMöchten Sie mit der nächsten Datei fortfahren?");
    EXPECT_TRUE(QFile::exists(baum.Pfad("c/lied.inanderemordner")));
    EXPECT_EQ(QFileInfo(baum.Pfad("c/lied.inanderemordner")).size(), 0) << "the same name: emptied in place";
    EXPECT_FALSE(QFile::exists(baum.Pfad("d/ohne")));
    EXPECT_TRUE(QFile::exists(baum.Pfad("d/ohne.inanderemordner")));
    EXPECT_TRUE(QFileInfo::exists(baum.Pfad("a"))) << "no emptied folder was offered";
    EXPECT_EQ(index.lngIndexAnzahl, 4) << "the entries leave only in the index step";

    // "Nein" after a failure ends the run; the last one only reports.
    const qint32 e = Eintrag(baum.Datei("e/x.mp3"), AktionLeereDatei);
    EintragsListe liste2 = {b, e};
    meldungen.gezeigt.clear();
    meldungen.antworten = {Antwort::Nein};
    DurchLeereDateienErsetzen(index, liste2, "inanderemordner", nullptr);
    EXPECT_EQ(liste2, (EintragsListe{0, 0}));
    EXPECT_TRUE(QFile::exists(baum.Pfad("e/x.mp3")));
    EintragsListe liste3 = {b};
    meldungen.gezeigt.clear();
    DurchLeereDateienErsetzen(index, liste3, "inanderemordner", nullptr);
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_EQ(meldungen.gezeigt[0].knöpfe, Knöpfe::OK);
    EXPECT_EQ(meldungen.gezeigt[0].symbol, Symbol::Ausruf);
}

TEST_F(IndexAufraeumenTest, OriginalDasNichtWeichtBehältSeinenEintrag)
{
    const qint32 a = Eintrag(baum.Datei("a/fest.mp3"), AktionLeereDatei);
    const qint32 b = Eintrag(baum.Datei("a/geht.mp3"), AktionLeereDatei);
    Dateisperre sperre(baum.Pfad("a/fest.mp3"));
    if (!sperre.aktiv)
        GTEST_SKIP() << "cannot make a file undeletable here";
    meldungen.antworten = {Antwort::Ja};
    IndexAufräumen(index, aktion, nullptr);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("a/fest.mp3")}));
    EXPECT_TRUE(QFile::exists(baum.Pfad("a/fest.mp3")));
    EXPECT_FALSE(QFile::exists(baum.Pfad("a/fest.inanderemordner"))) << "the new file went again";
    EXPECT_TRUE(QFile::exists(baum.Pfad("a/geht.inanderemordner")));
    ASSERT_FALSE(meldungen.gezeigt.empty());
    EXPECT_EQ(meldungen.gezeigt[0].text, "Dei Datei '" + baum.Pfad("a/fest.mp3")
                                             + "' konnte nicht gelöscht werden.\nMöchten Sie mit der nächsten fortfahren?");
    (void)a;
    (void)b;
}

TEST_F(IndexAufraeumenTest, ErsetzenEinerFehlendenDateiEntferntDenEintrag)
{
    // As deleting does: a file that is gone leaves the index, and nothing is
    // made in its place (nor in the working folder for a foreign path).
    Eintrag(baum.Ordner("a") + "/fehlt.mp3", AktionLeereDatei);
    Eintrag("C:\\Musik\\alt.mp3", AktionLeereDatei);
    Eintrag(baum.Datei("d/bleibt.mp3"), KeineAktion);
    const QString vorher = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(baum.Ordner("arbeit")));
    IndexAufräumen(index, aktion, nullptr);
    EXPECT_TRUE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QDir::setCurrent(vorher);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("d/bleibt.mp3")}));
    EXPECT_TRUE(QDir(baum.Pfad("a")).isEmpty());
    EXPECT_TRUE(meldungen.gezeigt.empty());
}

TEST_F(IndexAufraeumenTest, AbwesendesMediumBeimErsetzen)
{
    Eintrag(kFehlendesMedium + "/1.mp3", AktionLeereDatei);
    Eintrag(kFehlendesMedium + "/2.mp3", AktionLeereDatei);
    Eintrag(baum.Datei("3.mp3"), AktionLeereDatei);
    medien.antworten = {NichtVerfügbarAntwort::Überspringen, NichtVerfügbarAntwort::Abbrechen};
    IndexAufräumen(index, aktion, nullptr);
    EXPECT_EQ(IndexPfade(index), QStringList({kFehlendesMedium + "/1.mp3", kFehlendesMedium + "/2.mp3",
                                              baum.Pfad("3.mp3")}))
        << "nothing replaced: every entry stays";
    EXPECT_TRUE(QFile::exists(baum.Pfad("3.mp3")));
}

TEST_F(IndexAufraeumenTest, FrageNenntAlleVierAktionen)
{
    EXPECT_EQ(AktionenFrage({0, 2, 0, 1, 0}),
              "Sie haben folgende Aktionen gewählt:\n"
              " - 2 Datei(en) löschen und aus dem Index entfernen\n"
              " - 0 Datei(en) in den Papierkob verschieben und aus dem Index entfernen\n"
              " - 1 Datei(en) aus dem Index entfernen, ohne diese zu löschen\n"
              " - 0 Datei(en) durch eine leere Datei mit anderer Datei-Endung ersetzen und aus dem Index entfernen\n"
              "\nMöchten Sie diese Aktionen durchführen?");
    EXPECT_EQ(AktionenZählen({0, 1, 9, -1, 4, 4, 0}), (AktionsAnzahl{0, 1, 0, 0, 2}));
    EXPECT_EQ(LeererDateiName("/a/b.c/lied.MP3", "x"), "/a/b.c/lied.x");
    EXPECT_EQ(LeererDateiName("/a/b.c/lied", "x"), "/a/b.c/lied.x");
}
