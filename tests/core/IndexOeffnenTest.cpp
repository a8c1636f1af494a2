#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/IndexDatei.h"
#include "core/IndexEreignisse.h"
#include "core/IndexOeffnen.h"
#include "core/Meldungen.h"
#include "core/SichereDatei.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"
#include "support/IndexDateiHilfen.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <unistd.h>

using namespace testhilfe;

namespace {

class IndexOeffnenTest : public ::testing::Test {
protected:
    QTemporaryDir ordner;
    QString a, b;
    Index gesichert;
    Fragenskript skript;
    std::deque<Antwort>& antworten = skript.antworten;
    QStringList& meldungen = skript.meldungen;
    QStringList& fragen = skript.fragen;
    StatusSchreiber status;
    std::unique_ptr<DienstErsetzen<StatusDienst>> statusDienst;

    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().StartBildschirm = 0;
        IndexDateiSperreWartezeitSetzen(50);
        gesichert = hauptIndex();
        hauptIndex() = Index();
        status.titelSetzen = [](const QString&) {};
        status.normalerTitel = [] { return QString(); };
        statusDienst = std::make_unique<DienstErsetzen<StatusDienst>>(&status);

        a = ordner.filePath("A.kvx");
        b = ordner.filePath("B.kvx");
        IndexDateiAnlegen(a, {"/m/a1.mp3"});
        IndexDateiAnlegen(b, {"/m/b1.mp3", "/m/b2.mp3"});
        einstellungen().Dateiname = a;
        ASSERT_TRUE(IndexDateiLaden());
        meldungen.clear();
    }
    void TearDown() override
    {
        SichereDatei::FehlerBeimUmbenennen(false);
        IndexDateiSperreWartezeitSetzen(4500);
        hauptIndex() = gesichert;
    }
    // The working index gets an unsaved entry.
    void ändern()
    {
        hauptIndex().EintragAnhängen(QStringLiteral("/m/neu.mp3"), LeereMedienInfo());
        hauptIndex().bolIndexGeändert = true;
    }
};

} // namespace

TEST_F(IndexOeffnenTest, WechselMitGeändertemIndexAufJedemWeg)
{
    const QByteArray bAlt = DateiInhalt(b);

    // Saved without asking.
    einstellungen().DateiAutomatischSpeichern = 1;
    ändern();
    EXPECT_EQ(IndexDateiWechseln(b, nullptr), IndexWechsel::Geladen);
    EXPECT_TRUE(DateiInhalt(a).contains("/m/neu.mp3"));
    EXPECT_EQ(DateiInhalt(b), bAlt);
    EXPECT_EQ(einstellungen().Dateiname, b);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 2);
    EXPECT_TRUE(hauptIndex().bolIndexGeladen);
    EXPECT_FALSE(hauptIndex().bolIndexGeändert);
    EXPECT_EQ(status.strStatusText, QStringLiteral("Die Indexdatei wurde geladen"));
    EXPECT_TRUE(fragen.isEmpty());

    // Yes: saved, then switched.
    einstellungen().DateiAutomatischSpeichern = 0;
    ändern();
    antworten = {Antwort::Ja};
    EXPECT_EQ(IndexDateiWechseln(a, nullptr), IndexWechsel::Geladen);
    ASSERT_EQ(fragen.size(), 1);
    EXPECT_EQ(fragen[0], QStringLiteral("Die Indexdatei wurde geändert.\nMöchten Sie diese speichern?"));
    EXPECT_TRUE(DateiInhalt(b).contains("/m/neu.mp3"));
    EXPECT_EQ(einstellungen().Dateiname, a);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 2);

    // No: the changes are dropped.
    const QByteArray aAlt = DateiInhalt(a);
    hauptIndex().EintragAnhängen(QStringLiteral("/m/verworfen.mp3"), LeereMedienInfo());
    hauptIndex().bolIndexGeändert = true;
    antworten = {Antwort::Nein};
    EXPECT_EQ(IndexDateiWechseln(b, nullptr), IndexWechsel::Geladen);
    EXPECT_EQ(DateiInhalt(a), aAlt);
    EXPECT_EQ(einstellungen().Dateiname, b);

    // Cancel: nothing saved, nothing switched.
    const QByteArray bJetzt = DateiInhalt(b);
    ändern();
    const qint32 anzahl = hauptIndex().lngIndexAnzahl;
    antworten = {Antwort::Abbrechen};
    EXPECT_EQ(IndexDateiWechseln(a, nullptr), IndexWechsel::Abgebrochen);
    EXPECT_EQ(DateiInhalt(b), bJetzt);
    EXPECT_EQ(DateiInhalt(a), aAlt);
    EXPECT_EQ(einstellungen().Dateiname, b);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, anzahl);
    EXPECT_TRUE(hauptIndex().bolIndexGeändert);
    EXPECT_TRUE(hauptIndex().bolIndexGeladen);
}

TEST_F(IndexOeffnenTest, MisslungenesAutomatischesSpeichernWechseltNicht)
{
    // A read-only folder refuses the temporary file (root writes anyway, so
    // the failure is then made at the rename).
    const QString nurLesen = ordner.filePath("nurlesen");
    ASSERT_TRUE(QDir().mkdir(nurLesen));
    const QString c = nurLesen + QStringLiteral("/C.kvx");
    IndexDateiAnlegen(c, {"/m/c1.mp3"});
    einstellungen().Dateiname = c;
    ASSERT_TRUE(IndexDateiLaden());
    QFile::setPermissions(nurLesen, QFile::ReadOwner | QFile::ExeOwner);
    if (geteuid() == 0)
        SichereDatei::FehlerBeimUmbenennen(true);
    const QByteArray cAlt = DateiInhalt(c);

    einstellungen().DateiAutomatischSpeichern = 1;
    ändern();
    EXPECT_EQ(IndexDateiWechseln(b, nullptr), IndexWechsel::Abgebrochen);
    QFile::setPermissions(nurLesen, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(meldungen.isEmpty()); // the writer reported it
    EXPECT_EQ(DateiInhalt(c), cAlt);
    EXPECT_EQ(einstellungen().Dateiname, c);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 2);
    EXPECT_TRUE(hauptIndex().bolIndexGeändert);
    EXPECT_TRUE(hauptIndex().bolIndexGeladen);
}

TEST_F(IndexOeffnenTest, OhneGeladenenIndexWirdNichtsGespeichertOderGefragt)
{
    hauptIndex().bolIndexGeladen = false;
    hauptIndex().bolIndexGeändert = true;
    const QByteArray aAlt = DateiInhalt(a);
    EXPECT_FALSE(IndexDateiSpeichern(nullptr));
    EXPECT_FALSE(IndexDateiSpeichernUnter(ordner.filePath("Kopie.kvx"), nullptr));
    EXPECT_FALSE(QFile::exists(ordner.filePath("Kopie.kvx")));
    EXPECT_EQ(IndexDateiWechseln(b, nullptr), IndexWechsel::Geladen);
    EXPECT_TRUE(fragen.isEmpty());
    EXPECT_FALSE(meldungen.contains(QStringLiteral("Die Indexdatei wurde gespeichert.")));
    EXPECT_EQ(DateiInhalt(a), aAlt);
    EXPECT_EQ(einstellungen().Dateiname, b);
}

TEST_F(IndexOeffnenTest, EinAbgelehntesLadenLässtKeinenIndexGeladen)
{
    // A file of the old format whose question is answered No.
    const QString alt = ordner.filePath("alt.kvx");
    QFile f(alt);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("/m/x.mp3\r\n");
    f.close();
    antworten = {Antwort::Nein};
    EXPECT_EQ(IndexDateiWechseln(alt, nullptr), IndexWechsel::NichtGeladen);
    EXPECT_EQ(einstellungen().Dateiname, alt);
    EXPECT_FALSE(hauptIndex().bolIndexGeladen);
    EXPECT_EQ(DateiInhalt(alt), QByteArray("/m/x.mp3\r\n"));
}

TEST_F(IndexOeffnenTest, SpeichernUnterLässtDieArbeitsdateiUngespeichert)
{
    ändern();
    const QDateTime stempel = QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5));
    hauptIndex().datLetzteSpeicherung = stempel;
    const QByteArray aAlt = DateiInhalt(a);
    const QString kopie = ordner.filePath("Kopie.kvx");

    EXPECT_TRUE(IndexKopieErlaubt(kopie, nullptr));
    EXPECT_TRUE(IndexDateiSpeichernUnter(kopie, nullptr));
    EXPECT_TRUE(DateiInhalt(kopie).contains("/m/neu.mp3"));
    EXPECT_FALSE(QFile::exists(kopie + QLatin1Char('~')));
    EXPECT_EQ(DateiInhalt(a), aAlt);
    EXPECT_EQ(einstellungen().Dateiname, a);
    EXPECT_TRUE(hauptIndex().bolIndexGeändert);
    EXPECT_EQ(hauptIndex().datLetzteSpeicherung, stempel);
    EXPECT_TRUE(meldungen.contains(QStringLiteral("Die Indexdatei wurde gespeichert.")));

    // An existing file is replaced only after Yes.
    const QByteArray bAlt = DateiInhalt(b);
    antworten = {Antwort::Nein};
    EXPECT_FALSE(IndexKopieErlaubt(b, nullptr));
    ASSERT_EQ(fragen.size(), 1);
    EXPECT_TRUE(fragen[0].startsWith(QStringLiteral("Die Datei '") + b + QStringLiteral("' existiert bereits.")));
    EXPECT_EQ(DateiInhalt(b), bAlt);
    antworten = {Antwort::Ja};
    EXPECT_TRUE(IndexKopieErlaubt(b, nullptr));

    // The working file itself (also through a link) is a plain save: no
    // question, and the index counts as saved.
    const QString verweis = ordner.filePath("Verweis.kvx");
    ASSERT_TRUE(QFile::link(a, verweis));
    fragen.clear();
    EXPECT_TRUE(IndexKopieErlaubt(verweis, nullptr));
    EXPECT_TRUE(fragen.isEmpty());
    EXPECT_TRUE(IndexDateiSpeichernUnter(verweis, nullptr));
    EXPECT_TRUE(DateiInhalt(a).contains("/m/neu.mp3"));
    EXPECT_FALSE(hauptIndex().bolIndexGeändert);
    EXPECT_NE(hauptIndex().datLetzteSpeicherung, stempel);
    EXPECT_TRUE(QFileInfo(verweis).isSymLink());
}

TEST_F(IndexOeffnenTest, SpeichernUnterBehältDieMarkeEinerGeändertenSpaltenfolge)
{
    // The columns come back from the list before the copy; a changed layout
    // keeps the working file marked modified.
    const int hörer = IndexHörerAnmelden([](IndexEreignis e, Index& i) {
        if (e == IndexEreignis::VorDemSpeichern && i.strSpalten != QLatin1String("1=100")) {
            i.strSpalten = QStringLiteral("1=100");
            i.bolIndexGeändert = true;
        }
    });
    EXPECT_FALSE(hauptIndex().bolIndexGeändert);
    EXPECT_TRUE(IndexDateiSpeichernUnter(ordner.filePath("Kopie.kvx"), nullptr));
    IndexHörerAbmelden(hörer);
    EXPECT_TRUE(hauptIndex().bolIndexGeändert);
    EXPECT_TRUE(DateiInhalt(ordner.filePath("Kopie.kvx")).contains("#OPT:SPALTEN=1=100"));
}

TEST_F(IndexOeffnenTest, RelativerPfadWirdAbsolut)
{
    const QString vorher = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ordner.path()));
    EXPECT_EQ(IndexDateinameVervollständigen(QStringLiteral("B.kvx")), b);
    EXPECT_EQ(IndexDateinameVervollständigen(QString()), QString());
    EXPECT_EQ(IndexDateinameVervollständigen(b), b);
    EXPECT_EQ(IndexDateiWechseln(QStringLiteral("B.kvx"), nullptr), IndexWechsel::Geladen);
    QDir::setCurrent(vorher);
    EXPECT_EQ(einstellungen().Dateiname, b);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 2);
}

TEST(IndexDateiListe, NurNamenAufKvx)
{
    EXPECT_EQ(IndexDateienAuswählen({"/a/x.kvx", "/a/x.kvx~", "/a/Y.KVX", "/a/kvx", "/a/z.kvx.bak", "/a/w.Kvx"}),
              QStringList({"/a/x.kvx", "/a/Y.KVX", "/a/w.Kvx"}));
}
