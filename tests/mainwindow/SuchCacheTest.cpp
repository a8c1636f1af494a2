// The folded texts of the standard search: built with a load in pieces on
// several threads, they equal what folding one entry at a time gives, and a
// change after them is seen by the next search.

#include "core/Einstellungen.h"
#include "core/IndexDatei.h"
#include "mainwindow/SuchCache.h"
#include "mainwindow/frmMain.h"
#include "support/ListenHilfen.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Texts of every kind the folding meets: plain, umlauts and ß, other scripts,
// a character outside the basic plane, empty fields.
Index Gefüllt(qint32 anzahl)
{
    const QString t[] = {"Die Ärzte", "STRASSE straße", "Москва", "東京 Tokyo", "𝄞 Notenschlüssel", "", "ABBA"};
    Index idx;
    for (qint32 i = 1; i <= anzahl; ++i) {
        MedienInfo m = Lied(t[i % 7], t[(i * 3) % 7] + QString::number(i), t[(i * 5) % 7]);
        if (i % 2) // half of them with an ID3v2 tag too
            m.Mp3_ID3v2_Interpret = t[(i + 1) % 7];
        Hinzu(idx, QString("/Musik/%1/%2.mp3").arg(t[(i + 2) % 7]).arg(i), m);
    }
    idx.bolIndexGeladen = true;
    return idx;
}

} // namespace

TEST(SuchCacheTest, AllesFaltenGleichtDemFaltenEinzeln)
{
    // Sizes around the pieces the work is split into.
    for (qint32 anzahl : {0, 1, 4095, 4096 * 2 + 1, 4096 * 9 + 17}) {
        SCOPED_TRACE(anzahl);
        Index idx = Gefüllt(anzahl);
        SuchCache alle, einzeln;
        alle.AllesFalten(idx);
        EXPECT_EQ(alle.GefalteteAnzahl(), anzahl);
        for (qint32 i = 1; i <= anzahl; ++i)
            ASSERT_EQ(alle.StandardText(idx, i), std::string(einzeln.StandardText(idx, i))) << "entry " << i;
        // A change after the folding is seen.
        if (anzahl > 0) {
            idx.IndexDaten[size_t(anzahl)].Mp3_ID3v1_Titel = "Neuer Titel";
            EXPECT_NE(alle.StandardText(idx, anzahl).find("neuer titel"), std::string::npos);
        }
    }
}

// The main window folds the texts with the load: the first search does not have to.
TEST(SuchCacheTest, MitDemLadenGefaltet)
{
    QTemporaryDir dir;
    const QString datei = dir.filePath("lieder.kvx"), vorher = einstellungen().Dateiname;
    Index idx = Gefüllt(5000);
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    hauptfenster();
    einstellungen().Dateiname = datei;
    ASSERT_TRUE(IndexDateiLaden());
    EXPECT_EQ(suchCache(hauptIndex()).GefalteteAnzahl(), 5000);
    einstellungen().Dateiname = vorher;
    hauptIndex() = Index();
}
