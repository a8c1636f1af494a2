#include "core/Einstellungen.h"
#include "core/Standardwerte.h"
#include "platform/Registry.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class EinstellungenTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    void SetUp() override { Registry::DateiSetzen(dir.filePath("Kalvero.conf")); }
    void TearDown() override { Registry::DateiSetzen(dir.filePath("leer.conf")); }
};
} // namespace

TEST_F(EinstellungenTest, ErsterStartGibtJedenStandardwert)
{
    Einstellungen e;
    EinstellungenLesen(e);
    EXPECT_EQ(e.Mp3TagLesen, "101");
    EXPECT_EQ(e.WinampParameterHinzufügen, "-e");
    EXPECT_EQ(e.HinzufügenKeineDoppelten, 1);
    EXPECT_EQ(e.WinampLautstärke, 128);
    EXPECT_EQ(e.TAGsBytesSuchen, 102400);
    EXPECT_EQ(e.UmbenennenEingabeID3, "%Interpret% - %Titel%");
    EXPECT_EQ(e.UmbenennenEingabeErsetzenDateiEndung, "inanderemordner");
    EXPECT_EQ(e.TippsAktueller, 1);
    EXPECT_EQ(e.Start, 0);
    EXPECT_EQ(e.FarbeFunktionen, RGBFarbe(0, 0, 192));
    EXPECT_EQ(e.FarbeFunktionenHintergrund, RGBFarbe(238, 238, 238));
    EXPECT_EQ(e.FarbeFunktionenBesucht, RGBFarbe(128, 0, 0));
    EXPECT_EQ(e.FunktionenUnterstreichen, 0);
    EXPECT_EQ(e.AutoTagAusschlußLeer, 1);
    EXPECT_TRUE(e.AutoTagAusschluß.isEmpty());
    EXPECT_EQ(e.AutoTagLeer, 0);
    EXPECT_EQ(e.AutoTagFormate, standardwerte().strAutoTagStandardFormate);
    EXPECT_EQ(e.AutoTagFormate.size(), 23);
}

TEST_F(EinstellungenTest, WerteKommenGenauSoZurückWieGespeichert)
{
    Einstellungen e = StandardEinstellungen();
    e.Mp3TagLesen = "000";
    e.Dateiname = QStringLiteral("/musik/alle, außer 日本.kvx");
    e.KopierenOrdner = "  mit Leerzeichen  ";
    e.FensterLeft = -300;
    e.AutoDJFindeAnzahl = "010";
    e.Start = 10;
    EinstellungenSpeichern(e);
    Einstellungen r;
    EinstellungenLesen(r);
    EXPECT_EQ(r.Mp3TagLesen, "000");
    EXPECT_EQ(r.Dateiname, e.Dateiname);
    EXPECT_EQ(r.KopierenOrdner, e.KopierenOrdner);
    EXPECT_EQ(r.FensterLeft, -300);
    EXPECT_EQ(r.AutoDJFindeAnzahl, "010");
    EXPECT_EQ(r.AutoTagAusschlußLeer, 1);
}

TEST_F(EinstellungenTest, WertVomFalschenTypFälltAufDenStandard)
{
    QSettings& s = Registry::Speicher();
    s.setValue("WinampLautstärke", "laut");
    s.setValue("FensterMax", 70000);       // beyond a 16-bit Integer
    s.setValue("TAGsBytesSuchen", "12.5");
    s.setValue("Mp3TagLesen", "");
    s.setValue("BeendenReaktion", 3);
    Einstellungen e;
    EinstellungenLesen(e);
    EXPECT_EQ(e.WinampLautstärke, 128);
    EXPECT_EQ(e.FensterMax, 0);
    EXPECT_EQ(e.TAGsBytesSuchen, 102400);
    EXPECT_EQ(e.Mp3TagLesen, "101");
    EXPECT_EQ(e.BeendenReaktion, 3);
    s.setValue("Mp3TagLesen", "0");
    EinstellungenLesen(e);
    EXPECT_EQ(e.Mp3TagLesen, "001");
}

TEST_F(EinstellungenTest, ListeVonFünfAufZweiLässtKeineAltenWerte)
{
    Einstellungen e = StandardEinstellungen();
    e.AutoTagAusschluß = {"a", "b", "c", "d", "e"};
    e.AutoTagAusschlußLeer = 0;
    e.AutoTagFormate = {"\\%Titel%", "\\%Interpret%"};
    e.AutoTagLeer = 0;
    EinstellungenSpeichern(e);
    e.AutoTagAusschluß = {"x", "y"};
    EinstellungenSpeichern(e);
    QSettings& s = Registry::Speicher();
    EXPECT_TRUE(s.contains(QStringLiteral("AutoTagAusschluß2")));
    for (int n = 3; n <= 5; ++n)
        EXPECT_FALSE(s.contains(QStringLiteral("AutoTagAusschluß%1").arg(n))) << n;
    Einstellungen r;
    EinstellungenLesen(r);
    EXPECT_EQ(r.AutoTagAusschluß, (QStringList{"x", "y"}));
    EXPECT_EQ(r.AutoTagAusschlußLeer, 0);
    EXPECT_EQ(r.AutoTagFormate, e.AutoTagFormate);

    // Emptied: flag 1 and every numbered value gone.
    e.AutoTagAusschluß.clear();
    e.AutoTagAusschlußLeer = 1;
    EinstellungenSpeichern(e);
    EXPECT_FALSE(s.contains(QStringLiteral("AutoTagAusschluß1")));
    EinstellungenLesen(r);
    EXPECT_TRUE(r.AutoTagAusschluß.isEmpty());
    EXPECT_EQ(r.AutoTagAusschlußLeer, 1);
}

TEST_F(EinstellungenTest, ZurücksetzenBehältDenDateinamen)
{
    Einstellungen e = StandardEinstellungen();
    e.Dateiname = "/musik/mein.kvx";
    e.WinampLautstärke = 20;
    e.Start = 10;
    e.AutoTagAusschluß = {"feat"};
    e.AutoTagAusschlußLeer = 0;
    EinstellungenSpeichern(e);
    EinstellungenLesen(e);
    ASSERT_EQ(e.WinampLautstärke, 20);
    EinstellungenRücksetzenAktiv = true;
    EinstellungenLesen(e);
    EinstellungenRücksetzenAktiv = false;
    EXPECT_EQ(e.Dateiname, "/musik/mein.kvx");
    EXPECT_EQ(e.WinampLautstärke, 128);
    EXPECT_EQ(e.Start, 0);
    EXPECT_TRUE(e.AutoTagAusschluß.isEmpty());
    EXPECT_EQ(e.AutoTagFormate.size(), 23);
    // The store itself is unchanged until the next save.
    Einstellungen r;
    EinstellungenLesen(r);
    EXPECT_EQ(r.WinampLautstärke, 20);
}
