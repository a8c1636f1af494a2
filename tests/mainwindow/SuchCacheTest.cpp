// The folded texts of the standard search: built with a load in pieces on
// several threads, they equal what folding one entry at a time gives, and a
// change after them is seen by the next search.

#include "core/Einstellungen.h"
#include "core/IndexDatei.h"
#include "mainwindow/SuchCache.h"
#include "mainwindow/frmMain.h"
#include "support/IndexDateiHilfen.h"
#include "support/ListenHilfen.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Texts of every kind the folding meets: plain, umlauts and ß, other scripts,
// a character outside the basic plane, empty fields.
const QString kTexte[] = {QStringLiteral("Die Ärzte"), QStringLiteral("STRASSE straße"), QStringLiteral("Москва"),
                          QStringLiteral("東京 Tokyo"), QStringLiteral("𝄞 Notenschlüssel"), QString(),
                          QStringLiteral("ABBA")};

void Füllen(Index& idx, qint32 anzahl)
{
    for (qint32 i = 1; i <= anzahl; ++i) {
        MedienInfo m = Lied(kTexte[i % 7], kTexte[(i * 3) % 7] + QString::number(i), kTexte[(i * 5) % 7]);
        if (i % 2) {
            m.Mp3_ID3v2_Interpret = kTexte[(i + 1) % 7];
            m.Mp3_ID3v2_Titel = m.Mp3_ID3v1_Titel;
        }
        Hinzu(idx, QStringLiteral("/Musik/%1/%2.mp3").arg(kTexte[(i + 2) % 7]).arg(i), m);
    }
}

} // namespace

TEST(SuchCacheTest, AllesFaltenGleichtDemFaltenEinzeln)
{
    // Sizes around the pieces the work is split into.
    for (qint32 anzahl : {0, 1, 4095, 4096 * 2 + 1, 4096 * 9 + 17}) {
        SCOPED_TRACE(anzahl);
        Index idx;
        Füllen(idx, anzahl);
        SuchCache alle, einzeln;
        alle.AllesFalten(idx);
        EXPECT_EQ(alle.GefalteteAnzahl(), anzahl);
        for (qint32 i = 1; i <= anzahl; ++i) {
            const std::string erwartet(einzeln.StandardText(idx, i));
            ASSERT_EQ(alle.StandardText(idx, i), erwartet) << "entry " << i;
        }
        if (anzahl == 0)
            continue;

        // A change after the folding is seen, the neighbours stay as they were.
        const qint32 mitte = (anzahl + 1) / 2;
        idx.IndexDaten[size_t(mitte)].Mp3_ID3v1_Titel = QStringLiteral("Neuer Titel");
        EXPECT_NE(alle.StandardText(idx, mitte).find("neuer titel"), std::string::npos);
        EXPECT_EQ(alle.StandardText(idx, anzahl), std::string(einzeln.StandardText(idx, anzahl)));
    }
}

// The main window folds the texts with the load, before any idle time: the
// first search does not have to.
TEST(SuchCacheTest, MitDemLadenGefaltet)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString datei = dir.filePath("lieder.kvx");
    {
        Index idx;
        Füllen(idx, 5000);
        idx.bolIndexGeladen = true;
        ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    }
    hauptfenster();
    const QString vorher = einstellungen().Dateiname;
    einstellungen().Dateiname = datei;
    ASSERT_TRUE(IndexDateiLaden());
    EXPECT_EQ(suchCache(hauptIndex()).GefalteteAnzahl(), 5000);
    einstellungen().Dateiname = vorher;
    hauptIndex() = Index();
}
