#include "core/Einstellungen.h"
#include "core/Fortschritt.h"

#include <gtest/gtest.h>

namespace {
// Records what the window would show; a click on cancel is simulated by
// setting `abbrechenBeiEreignis` before the next report.
struct TestAnzeige : FortschrittAnzeige {
    int gezeigt = 0, verborgen = 0, ereignisse = 0;
    bool abbrechenBeiEreignis = false;
    bool läuftWährendEreignissen = false;
    void Zeigen(QObject*, const FortschrittZustand&) override { ++gezeigt; }
    void Verbergen(QObject*) override { ++verborgen; }
    void Aktualisieren(const FortschrittZustand&) override {}
    void EreignisseVerarbeiten() override
    {
        ++ereignisse;
        läuftWährendEreignissen = FortschrittLäuft();
        if (abbrechenBeiEreignis)
            FortschrittAbbrechen();
    }
};

class FortschrittTest : public ::testing::Test {
protected:
    TestAnzeige anzeige;
    void SetUp() override
    {
        einstellungen().StartBildschirm = 1;
        DienstSetzen<FortschrittAnzeigeDienst>(&anzeige);
        FortschrittZeigenBeenden(nullptr);
        anzeige = TestAnzeige();
    }
    void TearDown() override
    {
        FortschrittZeigenBeenden(nullptr);
        DienstSetzen<FortschrittAnzeigeDienst>(nullptr);
        einstellungen().StartBildschirm = 1;
    }
};
} // namespace

TEST_F(FortschrittTest, BalkenWächstInSchrittenÜberZehnTwips)
{
    ASSERT_TRUE(FortschrittZeigenStarten(100, true, nullptr, true, true, "Lade"));
    EXPECT_EQ(anzeige.gezeigt, 1);
    EXPECT_TRUE(FortschrittZeigen(1, "1", nullptr));
    EXPECT_EQ(FortschrittZustandLesen().balkenBreite, 45);
    EXPECT_TRUE(FortschrittZustandLesen().balkenSichtbar);
    EXPECT_TRUE(FortschrittZeigen(1.2, "x", nullptr)); // 54: only 9 more, bar unchanged
    EXPECT_EQ(FortschrittZustandLesen().balkenBreite, 45);
    EXPECT_TRUE(FortschrittZeigen(100, "100", nullptr));
    EXPECT_EQ(FortschrittZustandLesen().balkenBreite, kBalkenBreiteVoll);
    EXPECT_TRUE(FortschrittZeigen(50, "zurück", nullptr));
    EXPECT_EQ(FortschrittZustandLesen().balkenBreite, kBalkenBreiteVoll) << "the bar never shrinks";
    EXPECT_EQ(FortschrittZustandLesen().text, "zurück");
    FortschrittZeigenBeenden(nullptr);
    EXPECT_EQ(anzeige.verborgen, 1);
    EXPECT_FALSE(FortschrittLäuft());
}

TEST_F(FortschrittTest, ZielNullLässtDenBalkenLeerUndDieSchleifeWeiterlaufen)
{
    ASSERT_TRUE(FortschrittZeigenStarten(0, false, nullptr, true, false, "Leer"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(FortschrittZeigen(i, "", nullptr));
    EXPECT_EQ(FortschrittZustandLesen().balkenBreite, 0);
    EXPECT_TRUE(FortschrittLäuft());
}

TEST_F(FortschrittTest, NegativesZielScheitertOhneBalken)
{
    EXPECT_FALSE(FortschrittZeigenStarten(-1, false, nullptr, true, false, "x"));
    EXPECT_FALSE(FortschrittZustandLesen().balkenSichtbar);
    EXPECT_EQ(anzeige.gezeigt, 0);
}

TEST_F(FortschrittTest, AbbrechenBeendetDieAnzeigeBeimNächstenBericht)
{
    ASSERT_TRUE(FortschrittZeigenStarten(10, true, nullptr, true, true, "x"));
    EXPECT_TRUE(FortschrittZeigen(1, "", nullptr));
    anzeige.abbrechenBeiEreignis = true;
    EXPECT_TRUE(FortschrittZeigen(2, "", nullptr)); // the click arrives while events run
    anzeige.abbrechenBeiEreignis = false;
    EXPECT_TRUE(bolAbbruch);
    EXPECT_FALSE(FortschrittZeigen(3, "", nullptr));
    EXPECT_FALSE(bolAbbruch);
    EXPECT_FALSE(FortschrittLäuft());
    EXPECT_EQ(anzeige.verborgen, 1);
}

TEST_F(FortschrittTest, InnererLaufBeendetDenÄußeren)
{
    ASSERT_TRUE(FortschrittZeigenStarten(10, true, nullptr, true, true, "außen"));
    EXPECT_TRUE(FortschrittZeigen(1, "", nullptr));
    ASSERT_TRUE(FortschrittZeigenStarten(3, false, nullptr, true, true, "innen"));
    EXPECT_EQ(anzeige.gezeigt, 1) << "the shown window is reused";
    EXPECT_FALSE(FortschrittZustandLesen().abbrechenSichtbar);
    EXPECT_TRUE(FortschrittZeigen(1, "", nullptr));
    FortschrittZeigenBeenden(nullptr);
    EXPECT_FALSE(FortschrittZeigen(2, "", nullptr)) << "the outer loop stops at its next report";
}

TEST_F(FortschrittTest, OhneFortschrittsfensterLaufenSchleifenOhneEreignisse)
{
    einstellungen().StartBildschirm = 0;
    ASSERT_TRUE(FortschrittZeigenStarten(10, true, nullptr, true, true, "x"));
    EXPECT_EQ(anzeige.gezeigt, 0);
    // Timers that fire while the start lets events run must see the run, and
    // so must a close that comes while the loop waits on a question.
    EXPECT_TRUE(anzeige.läuftWährendEreignissen);
    EXPECT_TRUE(FortschrittLäuft());
    const int vorher = anzeige.ereignisse;
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(FortschrittZeigen(i, "", nullptr));
    EXPECT_EQ(anzeige.ereignisse, vorher);
    // An inner run ends it; the outer loop, going on, is a run again.
    ASSERT_TRUE(FortschrittZeigenStarten(3, false, nullptr, true, true, "innen"));
    FortschrittZeigenBeenden(nullptr);
    EXPECT_FALSE(FortschrittLäuft());
    EXPECT_TRUE(FortschrittZeigen(5, "", nullptr));
    EXPECT_TRUE(FortschrittLäuft());
    FortschrittZeigenBeenden(nullptr);
    EXPECT_FALSE(FortschrittLäuft());
}

TEST_F(FortschrittTest, AbbrechenKnopfFolgtDemLauf)
{
    ASSERT_TRUE(FortschrittZeigenStarten(10, true, nullptr, false, false, "mit"));
    EXPECT_TRUE(FortschrittZeigen(1, "", nullptr));
    EXPECT_TRUE(FortschrittZustandLesen().abbrechenSichtbar);
    FortschrittZeigenBeenden(nullptr);
    ASSERT_TRUE(FortschrittZeigenStarten(10, false, nullptr, false, false, "ohne"));
    EXPECT_FALSE(FortschrittZustandLesen().abbrechenSichtbar) << "hidden at the start";
    EXPECT_FALSE(FortschrittZustandLesen().balkenSichtbar);
}
