// A file that cannot be reached (a folder the user may not search, a link
// loop) is no missing file: synchronising, deleting, tidying up and the
// search for missing files keep its entry and say why.

#include "BibliothekTesthilfe.h"
#include "support/NormalerBenutzer.h"

#include "core/Dateihelfer.h"
#include "core/Funktionen.h"
#include "library/DoppelteDateien.h"
#include "library/IndexAufraeumen.h"
#include "library/Loeschen.h"
#include "library/Synchronisieren.h"
#include "library/Verschieben.h"
#include "media/MedienInfosLesen.h"

#include <optional>

using namespace testhilfe;

namespace {

struct Fall {
    const char* name;
    bool gesperrt; // else the files are links onto themselves
    int fehler;
    const char* grund;
};

const Fall kFälle[] = {
    {"GesperrterOrdner", true, EACCES, "Zugriff verweigert (Fehler 13)"},
    {"Linkschleife", false, ELOOP, "Zu viele Ebenen symbolischer Verknüpfungen (Fehler 40)"},
};

class UnerreichbarTest : public ::testing::TestWithParam<Fall>, protected Aufräumumgebung {
protected:
    QString ordner; // holds the unreachable x.mp3, y.mp3 and z.mp3
    std::optional<NormalerBenutzer> benutzer;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        TypenSetzen(index);
        baum.Datei("da/1.mp3");
        ordner = baum.Ordner(GetParam().gesperrt ? "gesperrt" : "schleife");
        for (const QString n : {"x.mp3", "y.mp3", "z.mp3"})
            ASSERT_TRUE(GetParam().gesperrt ? !baum.Datei("gesperrt/" + n).isEmpty() : QFile::link(n, ordner + '/' + n));
        if (GetParam().gesperrt) {
            benutzer.emplace(QStringList{baum.Pfad(), heim.heim.Pfad()});
            if (!benutzer->aktiv)
                GTEST_SKIP() << "no normal user to drop to here";
        }
        ASSERT_TRUE(Sperren(true));
    }
    void TearDown() override
    {
        Sperren(false);
        benutzer.reset();
        IndexStimmig(index);
    }
    // The folder of a locked case refuses its user the search.
    bool Sperren(bool an)
    {
        return ::chmod(QFile::encodeName(ordner).constData(), an && GetParam().gesperrt ? 0 : 0755) == 0;
    }
    QString Unerreichbar(const char* name) const { return ordner + '/' + name; }
    // Still there (as a name: a loop link is a name too), looked at by the
    // folder's owner.
    bool NochDa(const QString& pfad)
    {
        Sperren(false);
        struct stat st;
        const bool da = ::lstat(QFile::encodeName(pfad).constData(), &st) == 0;
        Sperren(true);
        return da;
    }
    QString Grund(const QString& pfad) const { return "'" + pfad + "': " + GetParam().grund; }
    QString NichtErreichbar(const char* name) const
    {
        return "Die Datei '" + Unerreichbar(name) + "' ist nicht erreichbar: " + GetParam().grund;
    }
};

} // namespace

TEST_P(UnerreichbarTest, DieDreiAntwortenDerExistenz)
{
    ASSERT_TRUE(QFile::link("kreis", baum.Pfad("kreis")));
    const struct {
        QString pfad;
        Existenz existenz;
        int fehler;
    } fälle[] = {
        {baum.Pfad("da/1.mp3"), Existenz::Vorhanden, 0},
        {baum.Pfad("weg/1.mp3"), Existenz::Fehlt, 0},                // ENOENT
        {baum.Pfad("da/1.mp3/2.mp3"), Existenz::Fehlt, 0},           // ENOTDIR
        {baum.Pfad("da"), Existenz::Fehlt, 0},                       // a folder is no file
        {Unerreichbar("x.mp3"), Existenz::Unbekannt, GetParam().fehler},
        {baum.Pfad("kreis/x.mp3"), Existenz::Unbekannt, ELOOP},      // a folder link onto itself
    };
    for (const auto& f : fälle) {
        int fehler = -1;
        EXPECT_EQ(DateiExistenz(f.pfad, nullptr, &fehler), f.existenz) << f.pfad.toStdString();
        EXPECT_EQ(fehler, f.fehler) << f.pfad.toStdString();
    }
    // A file behind a folder that may not be searched is not deleted, whatever
    // the deletion believes.
    if (GetParam().gesperrt) {
        EXPECT_FALSE(DateiLöschen(Unerreichbar("x.mp3")));
        EXPECT_TRUE(NochDa(Unerreichbar("x.mp3")));
    }
}

TEST_P(UnerreichbarTest, SucheUndSynchronisierenNehmenNurFehlende)
{
    Fortschrittsattrappe fortschritt;
    Eintrag(baum.Pfad("da/1.mp3"));
    Eintrag(Unerreichbar("x.mp3"));
    const qint32 weg = Eintrag(baum.Pfad("weg/1.mp3"));
    DoppelteErgebnis z;
    EXPECT_TRUE(DoppelteDateienSuchen(index, {1, 2, 3}, SucheNichtVorhanden, 3, nullptr, z));
    EXPECT_EQ(z.zeilen, QStringList({"'1.mp3' existiert nicht"}));
    EXPECT_EQ(z.DoppelteEintrag1, (std::vector<qint32>{0, weg}));
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_TRUE(meldungen.gezeigt[0].text.endsWith(Grund(Unerreichbar("x.mp3"))));

    meldungen.gezeigt.clear();
    Eintrag(baum.Pfad("da/1.mp3/2.mp3"));
    index.intSyncDanachEntfernen = 1;
    EXPECT_EQ(IndexSynchronisieren(index, nullptr).lngEntfernt, 2);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("da/1.mp3"), Unerreichbar("x.mp3")}));
    EXPECT_EQ(status.Text(), "Syncronisation fertig: 2 Datei(en) entfernt, 0 Datei(en) hinzugefügt");
    ASSERT_EQ(meldungen.gezeigt.size(), 2u) << "no sync folders, then the unreachable file";
    EXPECT_EQ(meldungen.gezeigt[1].text, "1 Datei(en) konnten nicht geprüft werden und gelten daher nicht als fehlend; "
                                         "ihre Einträge bleiben erhalten:\n" + Grund(Unerreichbar("x.mp3")));
}

TEST_P(UnerreichbarTest, LöschenUndPapierkorbBehaltenDenEintragUndSagenWarum)
{
    const struct {
        int modus;
        std::deque<Antwort> antworten;
        EintragsListe danach;
    } fälle[] = {
        {1, {Antwort::Ja, Antwort::Nein}, {0, 2}},              // go on, keep the emptied folder
        {2, {Antwort::Ja, Antwort::Ja, Antwort::Nein}, {0, 2}}, // go on, trash it, keep the folder
        {1, {Antwort::Nein}, {0, 0}},                           // "Nein" ends the run
    };
    for (const auto& f : fälle) {
        const QString x = Unerreichbar("x.mp3"), da = baum.Datei(QStringLiteral("da/%1.mp3").arg(&f - fälle + 1));
        SCOPED_TRACE(da.toStdString());
        index = Index();
        Eintrag(x);
        Eintrag(da);
        meldungen.gezeigt.clear();
        meldungen.antworten = f.antworten;
        EintragsListe alle = {1, 2};
        EXPECT_EQ(DateienLöschen(index, alle, f.modus, true), 1);
        EXPECT_EQ(alle, f.danach);
        EXPECT_EQ(IndexPfade(index), f.danach[1] ? QStringList({x}) : QStringList({x, da}));
        ASSERT_FALSE(meldungen.gezeigt.empty());
        EXPECT_EQ(meldungen.gezeigt[0].text, NichtErreichbar("x.mp3") + "\nIhr Eintrag bleibt im Index.\n\n"
                                                                       "Möchten Sie mit der nächsten Datei fortfahren?");
        EXPECT_TRUE(meldungen.antworten.empty());
        EXPECT_NE(NochDa(da), bool(f.danach[1]));
        EXPECT_TRUE(NochDa(x));
    }
    EXPECT_EQ(heim.ImPapierkorb(), QStringList({"2.mp3"}));
}

// Whatever the action, an unreachable file stays as it is, nothing takes a
// place beside it, and its entry stays.
TEST_P(UnerreichbarTest, AufräumenMeldetNichtAufgeräumtWennEinträgeBlieben)
{
    Eintrag(Unerreichbar("x.mp3"), AktionLöschen);
    Eintrag(Unerreichbar("y.mp3"), AktionPapierkorb);
    Eintrag(Unerreichbar("z.mp3"), AktionLeereDatei);
    Eintrag(baum.Pfad("da/1.mp3"), AktionLöschen);
    Eintrag(baum.Pfad("weg/1.mp3"), AktionLöschen);
    meldungen.antworten = {Antwort::Ja, Antwort::Nein}; // go on after x.mp3; the emptied folder "da" stays
    IndexAufräumen(index, aktion, nullptr);
    EXPECT_TRUE(meldungen.antworten.empty());
    EXPECT_EQ(IndexPfade(index), QStringList({Unerreichbar("x.mp3"), Unerreichbar("y.mp3"), Unerreichbar("z.mp3")}));
    EXPECT_EQ(status.Text(), "Der Index wurde nicht vollständig aufgeräumt: 3 Datei(en) nicht erreichbar, ihre "
                             "Einträge bleiben im Index");
    for (const char* n : {"x.mp3", "y.mp3", "z.mp3"})
        EXPECT_TRUE(meldungen.Enthält(NichtErreichbar(n))) << n;
    EXPECT_FALSE(NochDa(baum.Pfad("da/1.mp3")));
    Sperren(false);
    EXPECT_EQ(QDir(ordner).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden),
              QStringList({"x.mp3", "y.mp3", "z.mp3"}));
    EXPECT_EQ(Lesen(Unerreichbar("z.mp3")), GetParam().gesperrt ? KleineMp3() : QByteArray());
}

TEST_P(UnerreichbarTest, VerschiebenUndLesenNennenDenGrund)
{
    QString ziel = baum.Pfad("da/neu.mp3");
    int modus = 1;
    QString meldung;
    EXPECT_FALSE(DateiVerschieben(Unerreichbar("x.mp3"), ziel, modus, meldung));
    EXPECT_FALSE(meldung.contains("existiert nicht")) << meldung.toStdString();
    EXPECT_TRUE(meldung.contains(Unerreichbar("x.mp3")));

    // What was read last stays: an unreachable file is no empty one.
    MedienInfo alt = LeereMedienInfo();
    alt.Datei_Größe = 4711;
    alt.Mp3_ID3v1_Titel = "Titel";
    const MedienInfo m = MedienInfosLesen(index, Unerreichbar("x.mp3"), alt, "11", false, "1", "1");
    EXPECT_EQ(m.Datei_Größe, 4711);
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "Titel");
}

INSTANTIATE_TEST_SUITE_P(Arten, UnerreichbarTest, ::testing::ValuesIn(kFälle),
                         [](const ::testing::TestParamInfo<Fall>& i) { return std::string(i.param.name); });
