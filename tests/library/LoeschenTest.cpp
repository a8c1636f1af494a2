#include "BibliothekTesthilfe.h"
#include "support/NormalerBenutzer.h"

#include "core/Funktionen.h"
#include "library/Loeschen.h"
#include "core/Verfuegbarkeit.h"


using namespace testhilfe;

namespace {

class LoeschenTest : public ::testing::Test {
protected:
    Baum baum;
    Index index;
    Listenattrappe liste;
    Meldungsskript meldungen;
    Medienskript medien;

    void SetUp() override { EinstellungenFürHinzufügen(); }
    void TearDown() override { IndexStimmig(index); }

    qint32 Eintrag(const QString& pfad)
    {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Titel = DateinameZurückgeben(pfad);
        return index.EintragAnhängen(pfad, m, 1);
    }
};

} // namespace

TEST_F(LoeschenTest, AusIndexEntfernenBehältReihenfolgeUndDateien)
{
    for (int i = 1; i <= 6; ++i)
        Eintrag(baum.Datei(QString("%1.mp3").arg(i)));
    listenZustand().lngAuswahlAnzahl = 2;
    listenZustand().lngAuswahlEintrag = {0, 2, 5};
    index.bolIndexGeändert = false;

    EintragsListe auswahl = {2, 5, 0, 5, 99, -3};
    DateienLöschen(index, auswahl, 0, true);
    ASSERT_EQ(index.lngIndexAnzahl, 4);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("1.mp3"), baum.Pfad("3.mp3"), baum.Pfad("4.mp3"),
                                              baum.Pfad("6.mp3")}));
    EXPECT_EQ(index.IndexDaten[2].Mp3_ID3v1_Titel, "3.mp3") << "records move with their paths";
    EXPECT_TRUE(QFile::exists(baum.Pfad("2.mp3")));
    EXPECT_TRUE(index.bolIndexGeändert);
    EXPECT_EQ(listenZustand().lngAuswahlAnzahl, 0) << "stale entry numbers are forgotten";
    EXPECT_EQ(liste.aktualisiert, 1);
    IndexStimmig(index);

    EintragsListe alle = {1, 2, 3, 4};
    DateienLöschen(index, alle, 0, true);
    EXPECT_EQ(index.lngIndexAnzahl, 0);
}

TEST_F(LoeschenTest, EndgültigLöschenMitFehlschlagUndFrage)
{
    const qint32 a = Eintrag(baum.Datei("a/1.mp3"));
    const QString gesperrt = baum.Ordner("gesperrt");
    const qint32 b = Eintrag(baum.Datei("gesperrt/2.mp3"));
    const qint32 c = Eintrag(baum.Datei("c/3.mp3"));
    QFile::setPermissions(baum.Pfad("c/3.mp3"), QFileDevice::ReadOwner); // read-only goes all the same
    {
        Schreibschutz sperre(gesperrt);
        if (!sperre.aktiv)
            GTEST_SKIP() << "cannot make a folder read-only here";
        meldungen.antworten = {Antwort::Ja, Antwort::Ja, Antwort::Ja}; // folder a, go on, folder c
        EintragsListe liste1 = {a, b, c};
        DateienLöschen(index, liste1, 1, true);
        EXPECT_EQ(liste1, (EintragsListe{a, 0, c}));
    }
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("gesperrt/2.mp3")}));
    EXPECT_FALSE(QFile::exists(baum.Pfad("a/1.mp3")));
    EXPECT_FALSE(QFile::exists(baum.Pfad("c/3.mp3")));
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("a"))) << "the emptied folder went on Yes";
    ASSERT_GE(meldungen.gezeigt.size(), 2u);
    EXPECT_EQ(meldungen.gezeigt[0].text, "Der Ordner '" + baum.Pfad("a/") + "' ist (nun) leer.\nMöchten Sie diesen entfernen?");
    EXPECT_EQ(meldungen.gezeigt[1].text, "Dei Datei '" + baum.Pfad("gesperrt/2.mp3")
                                             + "' konnte nicht gelöscht werden.\nMöchten Sie mit der nächsten fortfahren?");

    // "No" after a failure keeps that entry and all later ones.
    const qint32 d = Eintrag(baum.Datei("d/4.mp3"));
    {
        Schreibschutz sperre(gesperrt);
        meldungen.gezeigt.clear();
        meldungen.antworten = {Antwort::Nein};
        EintragsListe liste2 = {1, d};
        DateienLöschen(index, liste2, 1, true);
    }
    EXPECT_EQ(index.lngIndexAnzahl, 2);
    EXPECT_TRUE(QFile::exists(baum.Pfad("d/4.mp3")));
}

TEST_F(LoeschenTest, AbbruchBeimFehlendenMediumBehältDenRest)
{
    const qint32 a = Eintrag(baum.Datei("a.mp3"));
    const qint32 b = Eintrag(kFehlendesMedium + "/b.mp3");
    const qint32 c = Eintrag(baum.Datei("c.mp3"));
    medien.antworten = {NichtVerfügbarAntwort::Abbrechen};
    EintragsListe liste1 = {a, b, c};
    DateienLöschen(index, liste1, 1, true);
    EXPECT_EQ(medien.fragen, 1);
    EXPECT_EQ(IndexPfade(index), QStringList({kFehlendesMedium + "/b.mp3", baum.Pfad("c.mp3")}));
    EXPECT_TRUE(QFile::exists(baum.Pfad("c.mp3")));

    // Skipping the absent one removes its entry like a deleted one.
    medien.antworten = {NichtVerfügbarAntwort::Überspringen};
    EintragsListe liste2 = {1, 2};
    DateienLöschen(index, liste2, 1, true);
    EXPECT_EQ(index.lngIndexAnzahl, 0);
    EXPECT_FALSE(QFile::exists(baum.Pfad("c.mp3")));
}

class PapierkorbTest : public LoeschenTest {
protected:
    Heimordner heim;
    QStringList ImPapierkorb() const { return heim.ImPapierkorb(); }
};

TEST_F(PapierkorbTest, FragtSelbstUndNeinLässtAllesStehen)
{
    Eintrag(baum.Datei("A/1.mp3"));
    Eintrag(baum.Datei("A/2.mp3"));
    meldungen.antworten = {Antwort::Nein};
    EintragsListe liste1 = {1, 2};
    DateienLöschen(index, liste1, 2, true);
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_EQ(meldungen.gezeigt[0].text, "Möchten Sie diese 2 Elemente wirklich in den Papierkorb verschieben?");
    EXPECT_EQ(meldungen.gezeigt[0].knöpfe, Knöpfe::JaNein);
    EXPECT_EQ(index.lngIndexAnzahl, 2);
    EXPECT_TRUE(ImPapierkorb().isEmpty());
}

TEST_F(PapierkorbTest, InDenPapierkorbUndLeereOrdnerAnbieten)
{
    Eintrag(baum.Datei("A/1.mp3"));
    Eintrag(baum.Datei("A/2.mp3"));
    Eintrag(baum.Datei("B/3.mp3"));
    baum.Datei("C/bleibt.mp3");
    Eintrag(baum.Pfad("C/bleibt.mp3"));
    EintragsListe liste1 = {1, 2, 3};
    DateienLöschen(index, liste1, 2, true);
    EXPECT_EQ(ImPapierkorb(), QStringList({"1.mp3", "2.mp3", "3.mp3"}));
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("C/bleibt.mp3")}));
    ASSERT_EQ(meldungen.gezeigt.size(), 3u);
    EXPECT_EQ(meldungen.gezeigt[0].text, "Möchten Sie diese 3 Elemente wirklich in den Papierkorb verschieben?");
    EXPECT_EQ(meldungen.gezeigt[1].text, "Der Ordner '" + baum.Pfad("A") + "' ist (nun) leer.\nMöchten Sie diesen entfernen?");
    EXPECT_EQ(meldungen.gezeigt[1].symbol, Symbol::Frage);
    EXPECT_EQ(meldungen.gezeigt[2].text, "Der Ordner '" + baum.Pfad("B") + "' ist (nun) leer.\nMöchten Sie diesen entfernen?");
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("A")));
}

TEST_F(PapierkorbTest, AbbruchMittendrinEntferntNurWasBehandeltWurde)
{
    const qint32 a = Eintrag(baum.Datei("a.mp3"));
    const qint32 b = Eintrag(kFehlendesMedium + "/b.mp3");
    const qint32 c = Eintrag(baum.Datei("c.mp3"));
    const qint32 d = Eintrag(kFehlendesMedium + "/d.mp3");
    medien.antworten = {NichtVerfügbarAntwort::Abbrechen};
    EintragsListe liste1 = {a, b, c, d};
    DateienLöschen(index, liste1, 2, true);
    EXPECT_EQ(liste1, (EintragsListe{a, 0, 0, 0}));
    EXPECT_EQ(ImPapierkorb(), QStringList({"a.mp3"}));
    EXPECT_EQ(IndexPfade(index), QStringList({kFehlendesMedium + "/b.mp3", baum.Pfad("c.mp3"),
                                              kFehlendesMedium + "/d.mp3"}))
        << "entries the run never reached stay, even those whose files are missing";
    EXPECT_EQ(meldungen.gezeigt.front().text,
              "Möchten Sie die Datei '" + baum.Pfad("a.mp3") + "' wirklich in den Papierkorb verschieben?");

    // Nothing collected: no question, nothing removed.
    meldungen.gezeigt.clear();
    medien.antworten = {NichtVerfügbarAntwort::Abbrechen};
    EintragsListe liste2 = {1};
    DateienLöschen(index, liste2, 2, true);
    EXPECT_TRUE(meldungen.gezeigt.empty());
    EXPECT_EQ(index.lngIndexAnzahl, 3);
}

TEST_F(LoeschenTest, OrdnerLöschenFragenNurBeiLeeremOrdner)
{
    baum.Datei("versteckt/.hidden", "x");
    EXPECT_FALSE(OrdnerLöschenFragen(baum.Pfad("versteckt")));
    EXPECT_FALSE(OrdnerLöschenFragen(baum.Pfad("fehlt")));
    EXPECT_TRUE(meldungen.gezeigt.empty());
    baum.Ordner("leer");
    meldungen.antworten = {Antwort::Nein};
    EXPECT_TRUE(OrdnerLöschenFragen(baum.Pfad("leer")));
    EXPECT_TRUE(QFileInfo::exists(baum.Pfad("leer")));
    EXPECT_EQ(meldungen.gezeigt.back().symbol, Symbol::Ausruf);
    EXPECT_TRUE(OrdnerLöschenFragen(baum.Pfad("leer/")));
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("leer")));
}

TEST_F(PapierkorbTest, FehlgeschlagenerPapierkorbMeldetSichUndBehältDenEintrag)
{
    Eintrag(baum.Datei("A/1.mp3"));
    Eintrag(baum.Datei("A/2.mp3"));
    Eintrag(baum.Datei("A/3.mp3"));
    // No trash can be made where a plain file stands in its way.
    heim.heim.Datei(".local/share/Trash", "kein Ordner");
    meldungen.antworten = {Antwort::Ja, Antwort::Ja, Antwort::Nein};
    EintragsListe liste1 = {1, 2, 3};
    DateienLöschen(index, liste1, 2, true);
    ASSERT_GE(meldungen.gezeigt.size(), 3u);
    EXPECT_EQ(meldungen.gezeigt[1].text, "Dei Datei '" + baum.Pfad("A/1.mp3")
                                             + "' konnte nicht gelöscht werden.\nMöchten Sie mit der nächsten fortfahren?");
    EXPECT_EQ(meldungen.gezeigt[1].symbol, Symbol::Ausruf);
    EXPECT_EQ(meldungen.gezeigt[2].text, "Dei Datei '" + baum.Pfad("A/2.mp3")
                                             + "' konnte nicht gelöscht werden.\nMöchten Sie mit der nächsten fortfahren?");
    EXPECT_EQ(meldungen.gezeigt.size(), 3u) << "No: the third file is not tried, the full folder not offered";
    EXPECT_EQ(liste1, (EintragsListe{0, 0, 0}));
    EXPECT_EQ(index.lngIndexAnzahl, 3);
    // Every file is where it was, none strayed into the working folder.
    for (const char* n : {"A/1.mp3", "A/2.mp3", "A/3.mp3"})
        EXPECT_TRUE(QFile::exists(baum.Pfad(n))) << n;
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("files")));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("info")));
}

// A folder the user may change but not list (write and search rights only)
// is never called empty after a file left it: it may hold others.
TEST_F(PapierkorbTest, UnlesbarerOrdnerGiltNichtAlsLeer)
{
    for (const char* n : {"a.mp3", "b.mp3"})
        Eintrag(baum.Datei(QStringLiteral("halb/") + n));
    baum.Datei("halb/bleibt.mp3");
    NormalerBenutzer benutzer({baum.Pfad(), heim.heim.Pfad()});
    if (!benutzer.aktiv)
        GTEST_SKIP() << "no normal user to drop to here";
    const QByteArray halb = QFile::encodeName(baum.Pfad("halb"));
    ASSERT_EQ(::chmod(halb.constData(), 0300), 0);
    EintragsListe eins = {1}, zwei = {1};
    DateienLöschen(index, eins, 1, true);
    EXPECT_FALSE(OrdnerLöschenFragen(baum.Pfad("halb")));
    meldungen.antworten = {Antwort::Ja};
    DateienLöschen(index, zwei, 2, true);
    ::chmod(halb.constData(), 0755);
    benutzer.Zurück();
    EXPECT_EQ(index.lngIndexAnzahl, 0);
    EXPECT_EQ(ImPapierkorb(), QStringList({"b.mp3"}));
    EXPECT_TRUE(QFile::exists(baum.Pfad("halb/bleibt.mp3")));
    EXPECT_FALSE(meldungen.Enthält("ist (nun) leer")) << "the folder could not be listed";
    EXPECT_EQ(meldungen.gezeigt.size(), 1u) << "only the trash question";
}

// A folder reached through a link is no folder to remove: neither it nor its
// target is offered once its last file went; a real one emptied beside it is.
TEST_F(PapierkorbTest, OrdnerHinterEinerVerknüpfungWirdNichtAngeboten)
{
    for (const int modus : {1, 2}) { // deleted, trashed
        SCOPED_TRACE(modus);
        const QString n = QString::number(modus), echt = baum.Ordner("echt" + n), link = baum.Pfad("link" + n);
        ASSERT_TRUE(QFile::link(echt, link));
        index = Index();
        baum.Datei("echt" + n + "/a.mp3");
        Eintrag(link + "/a.mp3");
        Eintrag(baum.Datei("leer" + n + "/b.mp3"));
        meldungen.gezeigt.clear();
        EintragsListe liste1 = {1, 2};
        DateienLöschen(index, liste1, modus, true);
        EXPECT_FALSE(QFile::exists(link + "/a.mp3"));
        EXPECT_FALSE(meldungen.Enthält("Der Ordner '" + link)) << "the link is not offered";
        EXPECT_FALSE(meldungen.Enthält("Der Ordner '" + echt)) << "nor the folder it leads to";
        EXPECT_FALSE(meldungen.Enthält("konnte nicht gelöscht werden"));
        EXPECT_TRUE(meldungen.Enthält("Der Ordner '" + baum.Pfad("leer" + n)));
        EXPECT_TRUE(QFileInfo(link).isSymLink() && QFileInfo(echt).isDir());
        EXPECT_FALSE(QFileInfo::exists(baum.Pfad("leer" + n)));
    }
    meldungen.gezeigt.clear();
    EXPECT_FALSE(OrdnerLöschenFragen(baum.Pfad("link1")));
    EXPECT_FALSE(OrdnerLöschenFragen(baum.Pfad("link1/")));
    EXPECT_TRUE(meldungen.gezeigt.empty());
}

// A trashed file whose folder another program closed after the question is
// not gone: its entry stays and the user hears of the failure.
TEST_F(PapierkorbTest, UnerreichbarNachDerFrageBleibtImIndex)
{
    Eintrag(baum.Datei("zu/a.mp3"));
    Eintrag(baum.Datei("offen/b.mp3"));
    NormalerBenutzer benutzer({baum.Pfad(), heim.heim.Pfad()});
    if (!benutzer.aktiv)
        GTEST_SKIP() << "no normal user to drop to here";
    const QByteArray zu = QFile::encodeName(baum.Pfad("zu"));
    DienstErsetzen<MeldungsDienst> antwort([&](const Meldung& m) {
        meldungen.gezeigt.push_back(m);
        if (m.text.startsWith("Möchten Sie diese 2 Elemente"))
            ::chmod(zu.constData(), 0);
        return Antwort::Ja;
    });
    EintragsListe liste1 = {1, 2};
    DateienLöschen(index, liste1, 2, true);
    ::chmod(zu.constData(), 0755);
    benutzer.Zurück();
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("zu/a.mp3")}));
    EXPECT_TRUE(QFile::exists(baum.Pfad("zu/a.mp3")));
    EXPECT_EQ(ImPapierkorb(), QStringList({"b.mp3"}));
    EXPECT_TRUE(meldungen.Enthält("Dei Datei '" + baum.Pfad("zu/a.mp3") + "' konnte nicht gelöscht werden."));
}
