#include "BibliothekTesthilfe.h"

#include "library/Hinzufuegen.h"
#include "library/Verschieben.h"

#include <unistd.h>

using namespace testhilfe;

namespace {

class HinzufuegenTest : public ::testing::Test {
protected:
    Baum baum;
    Index index;
    Listenattrappe liste;
    Statuszeile status;
    Meldungsskript meldungen;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        TypenSetzen(index);
        FortschrittTaktSetzen(50);
    }
    void TearDown() override
    {
        FortschrittTaktSetzen(50);
        DienstSetzen<DateiExistiertDienst>(nullptr);
        IndexStimmig(index);
    }

    // Entries whose files do not exist (as a loaded index may hold).
    void AlteEinträge(int n)
    {
        for (int i = 1; i <= n; ++i)
            index.EintragAnhängen(QString("/nicht/da/alt%1.mp3").arg(i), LeereMedienInfo(), 1);
        index.bolIndexGeändert = false;
    }
};

} // namespace

TEST_F(HinzufuegenTest, StapelHängtNachDenVorhandenenAnUndMarkiertNurMitInhalt)
{
    AlteEinträge(10);
    const QString a = baum.Datei("a.mp3"), b = baum.Datei("b.mp3"), c = baum.Datei("c.wav");

    HinzuStapel leer(index);
    leer.DateiListeHinzuStarten();
    EXPECT_FALSE(leer.DateienZurListeHinzufügen(baum.Pfad("fehlt.mp3")));
    EXPECT_FALSE(leer.DateienZurListeHinzufügen(baum.Pfad()));
    EXPECT_EQ(leer.DateiListeHinzuBeenden(), 0);
    EXPECT_FALSE(index.bolIndexGeändert) << "an empty batch changes nothing";
    EXPECT_EQ(index.lngIndexAnzahl, 10);

    HinzuStapel stapel(index);
    stapel.DateiListeHinzuStarten();
    EXPECT_TRUE(stapel.DateienZurListeHinzufügen(c));
    EXPECT_TRUE(stapel.DateienZurListeHinzufügen(a));
    EXPECT_TRUE(stapel.DateienZurListeHinzufügen(b));
    EXPECT_EQ(index.lngIndexAnzahl, 10) << "the index changes only when the batch closes";
    EXPECT_EQ(stapel.DateiListeHinzuBeenden(), 3);
    ASSERT_EQ(index.lngIndexAnzahl, 13);
    EXPECT_TRUE(index.bolIndexGeändert);
    EXPECT_EQ(index.strIndexPfad[11], c);
    EXPECT_EQ(index.strIndexPfad[12], a);
    EXPECT_EQ(index.strIndexPfad[13], b);
    EXPECT_EQ(index.IndexDaten[12].Datei_Größe, KleineMp3().size()) << "the record was read";
    EXPECT_EQ(index.IndexDaten[12].Header_Bitrate, 128);
    EXPECT_FALSE(index.IndexDaten[12].Datei_HinzugefügtAm.isEmpty());
    EXPECT_EQ(index.intSuchErgebnis[13], 0);
}

TEST_F(HinzufuegenTest, DoppelteNachPfadGerätUndInodeAbgewiesen)
{
    const QString a = baum.Datei("musik/a.mp3");
    const QString b = baum.Datei("musik/b.mp3");
    const QString c = baum.Datei("musik/c.mp3");
    const QString gross = baum.Datei("musik/A.mp3", KleineMp3('x')); // another file on a case-sensitive disk
    ASSERT_EQ(::symlink(baum.Pfad("musik").toUtf8().constData(), baum.Pfad("verweis").toUtf8().constData()), 0);
    ASSERT_EQ(::link(c.toUtf8().constData(), baum.Pfad("musik/hart.mp3").toUtf8().constData()), 0);
    index.EintragAnhängen(a, LeereMedienInfo(), 1);
    index.EintragAnhängen(c, LeereMedienInfo(), 1);

    HinzuStapel stapel(index);
    stapel.DateiListeHinzuStarten();
    EXPECT_FALSE(stapel.DateienZurListeHinzufügen(a)) << "same path";
    EXPECT_FALSE(stapel.DateienZurListeHinzufügen(baum.Pfad("verweis/a.mp3"))) << "same file through a folder link";
    EXPECT_FALSE(stapel.DateienZurListeHinzufügen(baum.Pfad("musik/hart.mp3"))) << "a hard link to an indexed file";
    EXPECT_FALSE(stapel.DateienZurListeHinzufügen(baum.Pfad("musik/./a.mp3")));
    EXPECT_TRUE(stapel.DateienZurListeHinzufügen(gross)) << "names differ in case: another file here";
    EXPECT_TRUE(stapel.DateienZurListeHinzufügen(b));
    EXPECT_FALSE(stapel.DateienZurListeHinzufügen(b)) << "twice in one batch";
    EXPECT_FALSE(stapel.DateienZurListeHinzufügen(baum.Pfad("verweis/b.mp3"))) << "the batch's own file by another path";
    EXPECT_EQ(stapel.DateiListeHinzuBeenden(), 2);
    EXPECT_EQ(IndexPfade(index), QStringList({a, c, gross, b}));

    einstellungen().HinzufügenKeineDoppelten = 0;
    stapel.DateiListeHinzuStarten();
    EXPECT_TRUE(stapel.DateienZurListeHinzufügen(a)) << "with the setting off a file is added again";
    EXPECT_EQ(stapel.DateiListeHinzuBeenden(), 1);
}

TEST_F(HinzufuegenTest, OrdnerHinzufügenMeldetZähltUndMarkiert)
{
    baum.Datei("neu/1.mp3");
    baum.Datei("neu/sub/2.mp3");
    baum.Datei("neu/sub/bild.jpg");
    QString ordner = baum.Pfad("neu");
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, true, 1, true, QString(), true, false));
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("neu/1.mp3"), baum.Pfad("neu/sub/2.mp3")}));
    EXPECT_EQ(ordner, baum.Pfad("neu/"));
    EXPECT_EQ(liste.aktualisiert, 1);
    EXPECT_EQ(liste.markiert, std::vector<qint32>{2});
    EXPECT_EQ(status.Text(), "2 Datei(en) hinzugefügt");
    EXPECT_TRUE(status.Verzögert());

    // Again: nothing new, no refresh, the status still counts.
    ordner = baum.Pfad("neu");
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, true, 1, true, QString(), true, false));
    EXPECT_EQ(index.lngIndexAnzahl, 2);
    EXPECT_EQ(liste.aktualisiert, 1);
    EXPECT_EQ(status.Text(), "0 Datei(en) hinzugefügt");
}

TEST_F(HinzufuegenTest, FehlenderOrdnerMeldetUndGiltNichtAlsAbbruch)
{
    QString ordner = baum.Pfad("fehlt");
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, true, 1, true, QString(), true, false));
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_TRUE(meldungen.gezeigt[0].text.startsWith("Beim Hinzufügen des Ordners '" + baum.Pfad("fehlt")));
    EXPECT_EQ(meldungen.gezeigt[0].symbol, Symbol::Ausruf);
    EXPECT_EQ(status.Text(), "Hinzufügen abgebrochen");
    EXPECT_EQ(index.lngIndexAnzahl, 0);
}

TEST_F(HinzufuegenTest, AbbruchBehältWasSchonAngenommenWar)
{
    for (int i = 0; i < 5; ++i)
        baum.Datei(QString("neu/%1.mp3").arg(i));
    Fortschrittsattrappe anzeige;
    FortschrittTaktSetzen(0);
    anzeige.abbrechenWenn = [](const FortschrittZustand& z) { return z.text.endsWith("/2.mp3"); };
    QString ordner = baum.Pfad("neu");
    EXPECT_FALSE(EinfachOrdnerHinzufügen(index, ordner, true, 1, true, QString(), true, false));
    EXPECT_EQ(index.lngIndexAnzahl, 3) << "0, 1 and 2 were accepted before the cancel";
    EXPECT_TRUE(index.bolIndexGeändert);
    EXPECT_EQ(liste.markiert, std::vector<qint32>{3});
    EXPECT_EQ(status.Text(), "Hinzufügen abgebrochen");
    EXPECT_FALSE(FortschrittLäuft());

    // The file list: a cancel before file i leaves i out.
    anzeige.abbrechenWenn = [](const FortschrittZustand& z) { return z.text.endsWith("/4.mp3"); };
    const QStringList dateien = {baum.Pfad("neu/3.mp3"), baum.Pfad("neu/4.mp3")};
    EXPECT_FALSE(EinfachDateiHinzufügen(index, dateien, true, true, true));
    EXPECT_EQ(IndexPfade(index).last(), baum.Pfad("neu/3.mp3"));
    EXPECT_EQ(index.lngIndexAnzahl, 4);
}

TEST_F(HinzufuegenTest, KopierenInOrdnerVerschiebtNurNeueUndDurchsuchtSichNichtSelbst)
{
    const QString alt = baum.Datei("neu/alt.mp3");
    baum.Datei("neu/rock/a.mp3");
    baum.Datei("neu/eingang/liegt-schon.mp3");
    index.EintragAnhängen(alt, LeereMedienInfo(), 1);
    einstellungen().HinzufügenKeineDoppelten = 0; // an indexed file still must not move
    const QString eingang = baum.Pfad("neu/eingang");

    QString ordner = baum.Pfad("neu");
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, false, 1, false, eingang, true, false));
    EXPECT_TRUE(QFile::exists(alt)) << "an indexed file stays where its entry points";
    EXPECT_TRUE(QFile::exists(baum.Pfad("neu/eingang/rock/a.mp3")));
    EXPECT_FALSE(QFile::exists(baum.Pfad("neu/rock/a.mp3")));
    EXPECT_FALSE(QFile::exists(baum.Pfad("neu/eingang/eingang/liegt-schon.mp3"))) << "the copy-into folder is not scanned";
    EXPECT_TRUE(QFile::exists(baum.Pfad("neu/eingang/liegt-schon.mp3")));
    EXPECT_EQ(IndexPfade(index), QStringList({alt, alt, baum.Pfad("neu/eingang/rock/a.mp3")}));
    EXPECT_TRUE(meldungen.Enthält("Der Ordner '" + baum.Pfad("neu/rock/") + "' ist (nun) leer."));
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("neu/rock"))) << "the emptied folder was removed on Yes";
}

// "Ersetzen" over a file that is in the index: its entry tells of the moved
// file afterwards (as freshly read), and no second entry is made for it.
TEST_F(HinzufuegenTest, ErsetzenEinesIndiziertenZielsLiestDessenEintragNeu)
{
    const QByteArray neu = KleineMp3().repeated(2) + Mp3Bauer::Id3v1Block({.titel = "Neu"});
    MedienInfo alt = LeereMedienInfo();
    alt.Mp3_ID3v1_Titel = "Alt";
    alt.Datei_Größe = KleineMp3().size();
    alt.Datei_AngefordertAnzahl = 7;
    for (const int keineDoppelten : {1, 0}) {
        SCOPED_TRACE(keineDoppelten);
        index = Index();
        TypenSetzen(index);
        einstellungen().HinzufügenKeineDoppelten = keineDoppelten;
        const QString ziel = baum.Datei("eingang/a.mp3", KleineMp3('\x11'));
        index.EintragAnhängen(ziel, alt, 1);
        index.bolIndexGeändert = false;
        baum.Datei("neu/a.mp3", neu);
        Konfliktskript konflikt;
        konflikt.antworten = {DateiExistiert::Ersetzen};
        liste.aktualisiert = 0;
        QString ordner = baum.Pfad("neu");
        EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, false, 1, false, baum.Pfad("eingang"), true, false));
        EXPECT_EQ(konflikt.gestellt.size(), 1);
        EXPECT_EQ(Lesen(ziel), neu);
        ASSERT_EQ(IndexPfade(index), QStringList({ziel}));
        const MedienInfo& m = index.IndexDaten[1];
        EXPECT_EQ(m.Mp3_ID3v1_Titel, "Neu");
        EXPECT_EQ(m.Datei_Größe, neu.size());
        EXPECT_EQ(m.Datei_AngefordertAnzahl, 0) << "the replaced file's record is gone";
        EXPECT_TRUE(index.bolIndexGeändert);
        EXPECT_EQ(liste.aktualisiert, 1) << "the list shows the renewed entry";
    }
}

TEST_F(HinzufuegenTest, KopierenInOrdnerMitUngültigemNamenHörtAuf)
{
    baum.Datei("neu/a.mp3");
    QString ordner = baum.Pfad("neu");
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, false, 1, false, baum.Pfad("ein*gang"), true, false));
    EXPECT_TRUE(meldungen.Enthält("enthält ungültige Zeichen."));
    EXPECT_TRUE(QFile::exists(baum.Pfad("neu/a.mp3")));
    EXPECT_EQ(index.lngIndexAnzahl, 0);
}

TEST_F(HinzufuegenTest, AblageFügtOrdnerVorDateienHinzuUndPlaylistNurMitKleinerEndung)
{
    const QString d1 = baum.Datei("lose/x.mp3");
    const QString d2 = baum.Datei("lose/y.mp3");
    baum.Datei("ordner/o.mp3");
    const QString gross = baum.Datei("liste.M3U", "#EXTM3U\nlose/x.mp3\n");
    DragDropVerarbeiten(index, {d1, baum.Pfad("ordner"), gross, d2, baum.Pfad("fehlt.mp3")});
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("ordner/o.mp3"), d1, d2}));
    EXPECT_EQ(liste.markiert.back(), 3);
    EXPECT_EQ(status.Text(), "3 Datei(en) hinzugefügt");

    DragDropVerarbeiten(index, {d1});
    EXPECT_EQ(index.lngIndexAnzahl, 3);
    EXPECT_EQ(status.Text(), "0 Datei(en) hinzugefügt");
}
