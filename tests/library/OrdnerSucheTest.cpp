#include "BibliothekTesthilfe.h"

#include "library/Hinzufuegen.h"

#include <QThread>
#include <unistd.h>

using namespace testhilfe;

namespace {

class OrdnerSucheTest : public ::testing::Test {
protected:
    Baum baum;
    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        FortschrittTaktSetzen(50);
    }
    void TearDown() override { FortschrittTaktSetzen(50); }

    QStringList Relativ(const QStringList& pfade) const
    {
        QStringList r;
        for (const QString& p : pfade)
            r.append(p.mid(baum.Pfad().size() + 1));
        return r;
    }
};

} // namespace

TEST_F(OrdnerSucheTest, EigeneDateienVorUnterordnernNamenSortiertVersteckteAusgelassen)
{
    baum.Datei("b.mp3");
    baum.Datei("A.mp3");
    baum.Datei("c.txt");
    baum.Datei(".versteckt.mp3");
    baum.Datei(".Trash-1000/files/weg.mp3");
    baum.Datei("z/tief/x.mp3");
    baum.Datei("z/y.mp3");
    baum.Datei("m/a.mp3");
    baum.Ordner("leer");

    QString ordner = baum.Pfad();
    QStringList gefunden;
    ASSERT_TRUE(DateienSuchenAPI(ordner, {QString()}, 1, false, gefunden));
    EXPECT_EQ(ordner, baum.Pfad() + "/") << "the folder comes back with its separator";
    EXPECT_EQ(Relativ(gefunden),
              QStringList({"A.mp3", "b.mp3", "c.txt", "m/a.mp3", "z/y.mp3", "z/tief/x.mp3"}));

    QStringList nurOben;
    ASSERT_TRUE(DateienSuchenAPI(ordner, {QString()}, 0, false, nurOben));
    EXPECT_EQ(ordner, baum.Pfad() + "/") << "a separator is not added twice";
    EXPECT_EQ(Relativ(nurOben), QStringList({"A.mp3", "b.mp3", "c.txt"}));
}

TEST_F(OrdnerSucheTest, FilterGiltFürDasEndeDesNamensOhneRücksichtAufSchreibung)
{
    for (const char* n : {"a.mp3", "b.MP3", "c.mp3x", "d.mp3xy", "e.mp3.txt", "mp3"})
        baum.Datei(n);
    QString ordner = baum.Pfad();
    QStringList gefunden;
    ASSERT_TRUE(DateienSuchenAPI(ordner, {".mp3"}, 0, false, gefunden));
    EXPECT_EQ(Relativ(gefunden), QStringList({"a.mp3", "b.MP3", "c.mp3x"}));
}

TEST_F(OrdnerSucheTest, LeererOderFehlenderOrdnerFindetNichtsUndLäuftZuEnde)
{
    QString leer = baum.Ordner("leer");
    QStringList gefunden;
    EXPECT_TRUE(DateienSuchenAPI(leer, {QString()}, 1, true, gefunden));
    QString fehlt = baum.Pfad("gibt-es-nicht");
    EXPECT_TRUE(DateienSuchenAPI(fehlt, {QString()}, 1, true, gefunden));
    EXPECT_TRUE(gefunden.isEmpty());
}

TEST_F(OrdnerSucheTest, SymlinkSchleifeUndDoppelterWegWerdenNurEinmalDurchsucht)
{
    baum.Datei("musik/rock/a.mp3");
    baum.Datei("musik/pop/b.mp3");
    // A loop back to the top, a link to a sibling, a dangling link.
    ASSERT_EQ(::symlink(baum.Pfad("musik").toUtf8().constData(), baum.Pfad("musik/rock/zurück").toUtf8().constData()), 0);
    ASSERT_EQ(::symlink(baum.Pfad("musik/pop").toUtf8().constData(), baum.Pfad("musik/zweitweg").toUtf8().constData()), 0);
    ASSERT_EQ(::symlink(baum.Pfad("nirgends").toUtf8().constData(), baum.Pfad("musik/tot.mp3").toUtf8().constData()), 0);

    QString ordner = baum.Pfad("musik");
    QStringList gefunden;
    ASSERT_TRUE(DateienSuchenAPI(ordner, {QString()}, 1, false, gefunden));
    EXPECT_EQ(Relativ(gefunden), QStringList({"musik/pop/b.mp3", "musik/rock/a.mp3"}));
}

TEST_F(OrdnerSucheTest, AusgelassenerOrdnerWirdNichtBetreten)
{
    baum.Datei("neu/a.mp3");
    baum.Datei("neu/eingang/schon.mp3");
    QString ordner = baum.Pfad("neu");
    QStringList gefunden;
    ASSERT_TRUE(DateienSuchenAPI(ordner, {QString()}, 1, false, gefunden, baum.Pfad("neu/eingang")));
    EXPECT_EQ(Relativ(gefunden), QStringList({"neu/a.mp3"}));
}

TEST_F(OrdnerSucheTest, AbbruchTiefImBaumBeendetDieGanzeSuche)
{
    baum.Datei("a/b/c/d/tief.mp3");
    baum.Datei("a/b/c/d/e/tiefer.mp3");
    baum.Datei("z/später.mp3");
    Fortschrittsattrappe anzeige;
    FortschrittTaktSetzen(0);
    anzeige.abbrechenWenn = [](const FortschrittZustand& z) { return z.text.endsWith("/d/"); };
    ASSERT_TRUE(FortschrittZeigenStarten(0, true, nullptr, false, true, "Durchsuche Ordner"));

    QString ordner = baum.Pfad();
    QStringList gefunden;
    EXPECT_FALSE(DateienSuchenAPI(ordner, {QString()}, 1, true, gefunden));
    EXPECT_FALSE(gefunden.contains(baum.Pfad("z/später.mp3")));
    EXPECT_FALSE(FortschrittLäuft()) << "a cancel ends the display";
}

TEST_F(OrdnerSucheTest, BerichtetHöchstensAlle50msUndHörtDenAbbruchTrotzdem)
{
    for (int i = 0; i < 2000; ++i)
        baum.Datei(QString("viele/%1.mp3").arg(i), "x");
    Fortschrittsattrappe anzeige;
    ASSERT_TRUE(FortschrittZeigenStarten(0, true, nullptr, false, true, "Durchsuche Ordner"));
    QElapsedTimer uhr;
    uhr.start();
    QString ordner = baum.Pfad();
    QStringList gefunden;
    ASSERT_TRUE(DateienSuchenAPI(ordner, {QString()}, 1, true, gefunden));
    EXPECT_EQ(gefunden.size(), 2000);
    EXPECT_LE(anzeige.berichte, uhr.elapsed() / 50 + 2) << "2000 entries, but reports only every 50 ms";
    EXPECT_GE(anzeige.berichte, 1);

    // A cancel pressed between reports is heard at the very next entry.
    anzeige.berichte = 0;
    anzeige.abbrechenWenn = [](const FortschrittZustand&) { return true; };
    ASSERT_TRUE(FortschrittZeigenStarten(0, true, nullptr, false, true, "Durchsuche Ordner"));
    FortschrittAbbrechen();
    gefunden.clear();
    EXPECT_FALSE(DateienSuchenAPI(ordner, {QString()}, 1, true, gefunden));
    EXPECT_TRUE(gefunden.isEmpty());
}
