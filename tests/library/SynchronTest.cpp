#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"
#include "library/Synchronisieren.h"
#include "core/Verfuegbarkeit.h"
#include "core/Liste.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Counts the list refreshes and markings the synchronisation asks for.
struct ZählendeListe : ListenAnzeige {
    int suchen = 0;
    qint32 markiert = -1;
    void SucheAktualisieren(bool) override { ++suchen; }
    void ListeErstellenAktualisieren(qint32, qint32) override {}
    void NeueInListeMarkieren(qint32 n) override { markiert = n; }
    void AuswahlErmitteln() override {}
    void BeschreibungAktualisieren() override {}
};

// Lets every report through, or cancels the run whose heading is `abbrechenBei`.
struct Anzeige : FortschrittAnzeige {
    QString abbrechenBei;
    void Zeigen(QObject*, const FortschrittZustand&) override {}
    void Verbergen(QObject*) override {}
    void Aktualisieren(const FortschrittZustand&) override {}
    void EreignisseVerarbeiten() override
    {
        if (!abbrechenBei.isEmpty() && FortschrittZustandLesen().überschrift == abbrechenBei)
            FortschrittAbbrechen();
    }
};

class Synchron : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    Index idx;
    StatusSchreiber status;
    ZählendeListe liste;
    Anzeige anzeige;
    QStringList meldungen;
    QString a, b;

    void datei(const QString& pfad)
    {
        QDir().mkpath(QFileInfo(pfad).path());
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(600, '\0'));
    }

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        StandardwerteSetzen();
        einstellungen().HinzufügenKeineDoppelten = 1;
        einstellungen().StartBildschirm = 1;
        idx.strDateiTypen = QStringList{"mp3=1"};
        idx.strDateiTypArten = QStringList{"110"};
        idx.intDateiTypenLeer = 0;
        a = tmp.filePath("A");
        b = tmp.filePath("B");
        datei(a + "/eins.mp3");
        datei(a + "/unter/zwei.mp3");
        datei(b + "/drei.mp3");
        datei(b + "/notiz.txt");
        datei(b + "/unter/vier.mp3"); // B is synchronised without sub-folders
        idx.strSyncOrdner = QStringList{a, b};
        idx.intSyncUnterordner = QList<int>{1, 0};
        idx.strSyncKopierenInOrdner = QStringList{QString(), QString()};
        idx.intSyncLeer = 0;
        // Already indexed: one file that is there, one that is gone.
        idx.EintragAnhängen(a + "/eins.mp3", LeereMedienInfo());
        idx.EintragAnhängen(a + "/weg.mp3", LeereMedienInfo());
        DienstSetzen<StatusDienst>(&status);
        DienstSetzen<ListenAnzeigeDienst>(&liste);
        DienstSetzen<FortschrittAnzeigeDienst>(&anzeige);
        DienstSetzen<MeldungsDienst>([this](const Meldung& m) {
            meldungen << m.text;
            return Antwort::OK;
        });
    }
    void TearDown() override
    {
        FortschrittZeigenBeenden(nullptr);
        DienstSetzen<FortschrittAnzeigeDienst>(nullptr);
        DienstSetzen<ListenAnzeigeDienst>(nullptr);
        DienstSetzen<StatusDienst>(nullptr);
        DienstSetzen<MeldungsDienst>(nullptr);
        DienstSetzen<NichtVerfügbarDienst>(nullptr);
    }
    bool hatPfad(const QString& p) const
    {
        for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i)
            if (idx.strIndexPfad[size_t(i)] == p)
                return true;
        return false;
    }
};
} // namespace

TEST_F(Synchron, NeueDateienKommenDazuFehlendeBleibenOhneEntfernenOption)
{
    idx.intSyncDanachEntfernen = 0;
    const SyncErgebnis e = IndexSynchronisieren(idx, nullptr);
    EXPECT_FALSE(e.bolAbgebrochen);
    EXPECT_EQ(e.lngHinzugefügt, 2);
    EXPECT_EQ(idx.lngIndexAnzahl, 4);
    EXPECT_TRUE(hatPfad(a + "/unter/zwei.mp3"));
    EXPECT_TRUE(hatPfad(b + "/drei.mp3"));
    EXPECT_FALSE(hatPfad(b + "/unter/vier.mp3"));
    EXPECT_TRUE(hatPfad(a + "/weg.mp3"));
    EXPECT_EQ(status.strStatusText, "Syncronisation fertig: 0 Datei(en) entfernt, 2 Datei(en) hinzugefügt");
    EXPECT_EQ(liste.suchen, 1);
    EXPECT_EQ(liste.markiert, 2);
    EXPECT_TRUE(meldungen.isEmpty());

    // Again: nothing new, so the list is not searched again.
    liste = ZählendeListe();
    const SyncErgebnis z = IndexSynchronisieren(idx, nullptr);
    EXPECT_EQ(z.lngHinzugefügt, 0);
    EXPECT_EQ(z.lngEntfernt, 0);
    EXPECT_EQ(status.strStatusText, "Syncronisation fertig: 0 Datei(en) entfernt, 0 Datei(en) hinzugefügt");
    EXPECT_EQ(liste.suchen, 0);
}

TEST_F(Synchron, MitEntfernenOptionVerschwindenNurFehlendeDateien)
{
    idx.intSyncDanachEntfernen = 1;
    const SyncErgebnis e = IndexSynchronisieren(idx, nullptr);
    EXPECT_EQ(e.lngEntfernt, 1);
    EXPECT_EQ(e.lngHinzugefügt, 2);
    EXPECT_EQ(idx.lngIndexAnzahl, 3);
    EXPECT_FALSE(hatPfad(a + "/weg.mp3"));
    EXPECT_TRUE(hatPfad(a + "/eins.mp3"));
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(status.strStatusText, "Syncronisation fertig: 1 Datei(en) entfernt, 2 Datei(en) hinzugefügt");
    EXPECT_EQ(liste.markiert, 2);
}

TEST_F(Synchron, AbbruchBeimPrüfenEntferntNichtsUndBehältDasHinzugefügte)
{
    idx.intSyncDanachEntfernen = 1;
    anzeige.abbrechenBei = QStringLiteral("Datei-Existenzen prüfen");
    const SyncErgebnis e = IndexSynchronisieren(idx, nullptr);
    EXPECT_TRUE(e.bolAbgebrochen);
    EXPECT_EQ(e.lngEntfernt, 0);
    EXPECT_EQ(idx.lngIndexAnzahl, 4);
    EXPECT_TRUE(hatPfad(a + "/weg.mp3"));
    EXPECT_EQ(status.strStatusText, "Synchronisation abgebrochen: 0 Datei(en) entfernt, 2 Datei(en) hinzugefügt");
    EXPECT_EQ(liste.markiert, 2) << "what was added is still shown";
    EXPECT_FALSE(FortschrittLäuft());
}

TEST_F(Synchron, AbbruchBeimOrdnerSuchenMeldetDasBisDahinHinzugefügte)
{
    idx.intSyncDanachEntfernen = 1;
    anzeige.abbrechenBei = QStringLiteral("Durchsuche Ordner");
    const SyncErgebnis e = IndexSynchronisieren(idx, nullptr);
    EXPECT_TRUE(e.bolAbgebrochen);
    EXPECT_EQ(idx.lngIndexAnzahl, 2) << "nothing removed";
    EXPECT_EQ(status.strStatusText, "Synchronisation abgebrochen: 0 Datei(en) entfernt, 0 Datei(en) hinzugefügt");
    EXPECT_EQ(liste.suchen, 0);
    EXPECT_FALSE(FortschrittLäuft());
}

TEST_F(Synchron, AbwesenderDatenträgerÜberspringenBehältAbbrechenBrichtAb)
{
    idx.intSyncDanachEntfernen = 1;
    idx.intSyncLeer = 1; // only the check
    idx.EintragAnhängen("/media/kalvero-nicht-eingelegt/lied.mp3", LeereMedienInfo());
    einstellungen().NichtVerfügbarFragen = 1;
    NichtVerfügbarAntwort antwort = NichtVerfügbarAntwort::Überspringen;
    DienstSetzen<NichtVerfügbarDienst>([&](const QString&, const QString&, QObject*) { return antwort; });

    IndexSynchronisieren(idx, nullptr);
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].startsWith("Diese Funktion synchronisiert Ordner mit dem Index")) << "no sync folders";
    EXPECT_TRUE(hatPfad("/media/kalvero-nicht-eingelegt/lied.mp3")) << "an absent medium is no missing file";
    EXPECT_FALSE(hatPfad(a + "/weg.mp3"));
    EXPECT_EQ(status.strStatusText, "Syncronisation fertig: 1 Datei(en) entfernt, 0 Datei(en) hinzugefügt");

    idx.EintragAnhängen(a + "/auch-weg.mp3", LeereMedienInfo());
    antwort = NichtVerfügbarAntwort::Abbrechen;
    const SyncErgebnis e = IndexSynchronisieren(idx, nullptr);
    EXPECT_TRUE(e.bolAbgebrochen);
    EXPECT_TRUE(hatPfad(a + "/auch-weg.mp3")) << "an aborted run removes nothing";
}
