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

enum class Art { Gesperrt, Schleife };

struct Fall {
    const char* name;
    Art art;
    int fehler;
    const char* grund;
};

void PrintTo(const Fall& f, std::ostream* os) { *os << f.name; }

const Fall kFälle[] = {
    {"GesperrterOrdner", Art::Gesperrt, EACCES, "Zugriff verweigert (Fehler 13)"},
    {"Linkschleife", Art::Schleife, ELOOP, "Zu viele Ebenen symbolischer Verknüpfungen (Fehler 40)"},
};

class UnerreichbarTest : public ::testing::TestWithParam<Fall> {
protected:
    Baum baum;
    Heimordner heim;
    Index index;
    Listenattrappe liste;
    Meldungsskript meldungen;
    Statuszeile status;
    Medienskript medien;
    std::optional<NormalerBenutzer> benutzer;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        TypenSetzen(index);
        baum.Datei("da/1.mp3");
        baum.Ordner("gesperrt");
        for (const char* n : {"x.mp3", "y.mp3", "z.mp3"})
            baum.Datei(QStringLiteral("gesperrt/") + n);
        if (GetParam().art == Art::Gesperrt) {
            benutzer.emplace(QStringList{baum.Pfad(), heim.heim.Pfad()});
            if (!benutzer->aktiv)
                GTEST_SKIP() << "no normal user to drop to here";
            ASSERT_EQ(::chmod(QFile::encodeName(baum.Pfad("gesperrt")).constData(), 0), 0);
        } else {
            baum.Ordner("schleife");
            for (const char* n : {"x.mp3", "y.mp3", "z.mp3"})
                ASSERT_TRUE(QFile::link(n, baum.Pfad(QStringLiteral("schleife/") + n)));
        }
    }
    void TearDown() override
    {
        ::chmod(QFile::encodeName(baum.Pfad("gesperrt")).constData(), 0755);
        benutzer.reset();
        IndexStimmig(index);
    }
    // An unreachable file of this case ("x.mp3", "y.mp3" or "z.mp3").
    QString Unerreichbar(const char* name) const
    {
        return baum.Pfad(QLatin1String(GetParam().art == Art::Gesperrt ? "gesperrt/" : "schleife/") + QLatin1String(name));
    }
    qint32 Eintrag(const QString& pfad) { return index.EintragAnhängen(pfad, LeereMedienInfo(), 1); }
    // Still there (as a name: a loop link is a name too); the locked folder
    // is opened for the look by its owner.
    bool NochDa(const QString& pfad)
    {
        const QByteArray gesperrt = QFile::encodeName(baum.Pfad("gesperrt"));
        const bool öffnen = GetParam().art == Art::Gesperrt;
        if (öffnen)
            ::chmod(gesperrt.constData(), 0755);
        struct stat st;
        const bool da = ::lstat(QFile::encodeName(pfad).constData(), &st) == 0;
        if (öffnen)
            ::chmod(gesperrt.constData(), 0);
        return da;
    }
    QString Grund(const QString& pfad) const { return "'" + pfad + "': " + GetParam().grund; }
};

} // namespace

TEST_P(UnerreichbarTest, DieDreiAntwortenDerExistenz)
{
    struct Erwartet {
        QString pfad;
        Existenz existenz;
        int fehler;
    };
    const Erwartet fälle[] = {
        {baum.Pfad("da/1.mp3"), Existenz::Vorhanden, 0},
        {baum.Pfad("weg/1.mp3"), Existenz::Fehlt, 0},                // ENOENT
        {baum.Pfad("da/1.mp3/2.mp3"), Existenz::Fehlt, 0},           // ENOTDIR
        {baum.Pfad("da"), Existenz::Fehlt, 0},                       // a folder is no file
        {Unerreichbar("x.mp3"), Existenz::Unbekannt, GetParam().fehler},
    };
    for (const Erwartet& f : fälle) {
        int fehler = -1;
        EXPECT_EQ(DateiExistenz(f.pfad, nullptr, &fehler), f.existenz) << f.pfad.toStdString();
        EXPECT_EQ(fehler, f.fehler) << f.pfad.toStdString();
    }
    // A file behind a folder that may not be searched is not deleted, whatever
    // the deletion believes.
    if (GetParam().art == Art::Gesperrt) {
        EXPECT_FALSE(DateiLöschen(Unerreichbar("x.mp3")));
        EXPECT_TRUE(NochDa(Unerreichbar("x.mp3")));
    }
}

TEST_P(UnerreichbarTest, SynchronisierenEntferntNurFehlende)
{
    Eintrag(baum.Pfad("da/1.mp3"));
    Eintrag(Unerreichbar("x.mp3"));
    Eintrag(baum.Pfad("weg/1.mp3"));
    Eintrag(baum.Pfad("da/1.mp3/2.mp3"));
    index.intSyncDanachEntfernen = 1;
    const SyncErgebnis e = IndexSynchronisieren(index, nullptr);
    EXPECT_EQ(e.lngEntfernt, 2);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("da/1.mp3"), Unerreichbar("x.mp3")}));
    EXPECT_EQ(status.Text(), "Syncronisation fertig: 2 Datei(en) entfernt, 0 Datei(en) hinzugefügt");
    ASSERT_EQ(meldungen.gezeigt.size(), 2u) << "no sync folders, then the unreachable file";
    EXPECT_EQ(meldungen.gezeigt[1].text, "1 Datei(en) konnten nicht geprüft werden und gelten daher nicht als fehlend; "
                                         "ihre Einträge bleiben erhalten:\n" + Grund(Unerreichbar("x.mp3")));
}

TEST_P(UnerreichbarTest, LöschenUndPapierkorbBehaltenDenEintragUndSagenWarum)
{
    for (const int modus : {1, 2}) {
        index = Index();
        const QString da = baum.Datei(QStringLiteral("da/%1.mp3").arg(modus));
        Eintrag(Unerreichbar("x.mp3"));
        Eintrag(da);
        meldungen.gezeigt.clear();
        // Go on after the unreachable file, (trash it,) keep the emptied folder.
        meldungen.antworten = modus == 1 ? std::deque{Antwort::Ja, Antwort::Nein}
                                         : std::deque{Antwort::Ja, Antwort::Ja, Antwort::Nein};
        EintragsListe alle = {1, 2};
        EXPECT_EQ(DateienLöschen(index, alle, modus, true), 1) << modus;
        EXPECT_EQ(alle, (EintragsListe{0, 2})) << modus;
        EXPECT_EQ(IndexPfade(index), QStringList({Unerreichbar("x.mp3")})) << modus;
        ASSERT_FALSE(meldungen.gezeigt.empty());
        EXPECT_EQ(meldungen.gezeigt[0].text, "Die Datei '" + Unerreichbar("x.mp3") + "' ist nicht erreichbar: "
                                                 + GetParam().grund
                                                 + "\nIhr Eintrag bleibt im Index.\n\nMöchten Sie mit der nächsten "
                                                   "Datei fortfahren?");
        EXPECT_TRUE(meldungen.antworten.empty()) << modus;
        EXPECT_FALSE(NochDa(da)) << modus;
        EXPECT_TRUE(NochDa(Unerreichbar("x.mp3"))) << modus;
    }
    EXPECT_EQ(heim.ImPapierkorb(), QStringList({"2.mp3"}));

    // "Nein" after an unreachable file ends the run.
    index = Index();
    Eintrag(Unerreichbar("x.mp3"));
    Eintrag(baum.Datei("da/3.mp3"));
    meldungen.antworten = {Antwort::Nein};
    EintragsListe beide = {1, 2};
    DateienLöschen(index, beide, 1, true);
    EXPECT_EQ(beide, (EintragsListe{0, 0}));
    EXPECT_EQ(index.lngIndexAnzahl, 2);
    EXPECT_TRUE(NochDa(baum.Pfad("da/3.mp3")));
}

TEST_P(UnerreichbarTest, AufräumenMeldetNichtAufgeräumtWennEinträgeBlieben)
{
    std::vector<qint32> aktion{0};
    const auto mit = [&](const QString& pfad, qint32 a) {
        aktion.push_back(a);
        return Eintrag(pfad);
    };
    mit(Unerreichbar("x.mp3"), AktionLöschen);
    mit(Unerreichbar("y.mp3"), AktionPapierkorb);
    mit(Unerreichbar("z.mp3"), AktionLeereDatei);
    mit(baum.Pfad("da/1.mp3"), AktionLöschen);
    mit(baum.Pfad("weg/1.mp3"), AktionLöschen);
    meldungen.antworten = {Antwort::Ja, Antwort::Nein}; // go on after x.mp3; the emptied folder "da" stays
    IndexAufräumen(index, aktion, nullptr);
    EXPECT_TRUE(meldungen.antworten.empty());
    EXPECT_EQ(IndexPfade(index), QStringList({Unerreichbar("x.mp3"), Unerreichbar("y.mp3"), Unerreichbar("z.mp3")}));
    EXPECT_EQ(status.Text(), "Der Index wurde nicht vollständig aufgeräumt: 3 Datei(en) nicht erreichbar, ihre "
                             "Einträge bleiben im Index");
    for (const char* n : {"x.mp3", "y.mp3", "z.mp3"})
        EXPECT_TRUE(NochDa(Unerreichbar(n))) << n;
    EXPECT_FALSE(NochDa(Unerreichbar("z.inanderemordner")));
    EXPECT_FALSE(NochDa(baum.Pfad("da/1.mp3")));
    EXPECT_TRUE(meldungen.Enthält(GetParam().grund));
}

TEST_P(UnerreichbarTest, SucheNachFehlendenNenntNurFehlende)
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
