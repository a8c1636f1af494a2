#include "BibliothekTesthilfe.h"

#include "core/Funktionen.h"
#include "library/Kopieren.h"
#include "library/Umbenennen.h"
#include "library/Verschieben.h"
#include "support/FremderProzess.h"
#include "support/NormalerBenutzer.h"

#include <QProcess>

#include <optional>
#include <sys/stat.h>

using namespace testhilfe;

namespace {

class KopierenTest : public ::testing::Test {
protected:
    Baum baum;
    Index index;
    Listenattrappe liste;
    Meldungsskript meldungen;
    Fortschrittsattrappe fortschritt;
    Konfliktskript konflikte;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        TypenSetzen(index);
    }
    void TearDown() override { IndexStimmig(index); }

    qint32 Eintrag(const QString& pfad, int id3v1 = 2, const QString& interpret = QString(),
                   const QString& album = QString())
    {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Vorhanden = quint8(id3v1);
        m.Mp3_ID3v1_Interpret = interpret;
        m.Mp3_ID3v1_Album = album;
        m.Datei_AngefordertAnzahl = 3;
        return index.EintragAnhängen(pfad, m, 1);
    }
    QString Pfad(qint32 e) const { return index.strIndexPfad[size_t(e)]; }
};

quint64 Gerät(const QString& pfad)
{
    struct stat st;
    return ::stat(QFile::encodeName(pfad).constData(), &st) == 0 ? quint64(st.st_dev) : 0;
}

} // namespace

TEST(KopierenOrdnerTest, NurAbsoluteOrdnerMitTrenner)
{
    QString meldung;
    EXPECT_EQ(KopierenOrdnerPrüfen("", meldung), "");
    EXPECT_EQ(meldung, "Bitte geben Sie einen Zielordner ein.");
    EXPECT_EQ(KopierenOrdnerPrüfen("Musik", meldung), "") << "relative";
    EXPECT_EQ(KopierenOrdnerPrüfen("D:\\Musik", meldung), "");
    EXPECT_EQ(KopierenOrdnerPrüfen("/Musik", meldung), "/Musik/");
    EXPECT_EQ(meldung, "");
    EXPECT_EQ(KopierenOrdnerPrüfen("/Musik/", meldung), "/Musik/");
}

TEST_F(KopierenTest, KopierenLaesstDenEintragAufDerQuelle)
{
    const QString quelle = baum.Datei("a/x.mp3", "inhalt");
    const qint32 e = Eintrag(quelle);
    index.bolIndexGeändert = false;
    DateienKopieren(index, {e}, baum.Pfad("ziel/tief/"), false);
    EXPECT_EQ(Lesen(baum.Pfad("ziel/tief/x.mp3")), "inhalt");
    EXPECT_EQ(Lesen(quelle), "inhalt");
    EXPECT_EQ(Pfad(e), quelle);
    EXPECT_FALSE(index.bolIndexGeändert);
    EXPECT_TRUE(meldungen.gezeigt.empty()) << "a copy leaves no folder empty";
    EXPECT_EQ(einstellungen().KopierenOrdner, baum.Pfad("ziel/tief/"));
    EXPECT_EQ(einstellungen().KopierenModus, 0);
    EXPECT_EQ(liste.aktualisiert, 1);
}

TEST_F(KopierenTest, VerschiebenFolgtDerDateiBisZumEndgueltigenNamen)
{
    const qint32 a = Eintrag(baum.Datei("a/x.mp3", "neu"));
    const qint32 b = Eintrag(baum.Datei("b/a?b.mp3", "zwei"));
    baum.Datei("ziel/x.mp3", "alt");
    konflikte.antworten = {DateiExistiert::Umbenennen};
    DateienKopieren(index, {a, b}, baum.Pfad("ziel/"), true);
    EXPECT_EQ(Pfad(a), baum.Pfad("ziel/x-0.mp3"));
    EXPECT_EQ(Lesen(Pfad(a)), "neu");
    EXPECT_EQ(Lesen(baum.Pfad("ziel/x.mp3")), "alt");
    EXPECT_EQ(Pfad(b), baum.Pfad("ziel/ab.mp3"));
    EXPECT_TRUE(index.bolIndexGeändert);
    EXPECT_EQ(index.IndexDaten[size_t(a)].Datei_AngefordertAnzahl, 3);
    EXPECT_TRUE(meldungen.Enthält("Der Ordner '" + baum.Pfad("a/") + "' ist (nun) leer."));
    EXPECT_FALSE(QDir(baum.Pfad("a")).exists());
    EXPECT_EQ(einstellungen().KopierenModus, 1);
}

// A stored relative path names no file, whatever the working folder holds:
// the move is refused and the file there stays where it is.
TEST_F(KopierenTest, VerschiebenEinesRelativenPfadsWirdAbgelehnt)
{
    const QString arbeit = baum.Ordner("arbeit"), vorher = QDir::currentPath();
    for (const QString rel : {"x.mp3", "Musik/x.mp3"}) {
        baum.Datei("arbeit/" + rel, "hier");
        const qint32 e = Eintrag(rel);
        meldungen.gezeigt.clear();
        ASSERT_TRUE(QDir::setCurrent(arbeit));
        DateienKopieren(index, {e}, baum.Pfad("ziel/"), true);
        QDir::setCurrent(vorher);
        EXPECT_EQ(Lesen(baum.Pfad("arbeit/" + rel)), "hier") << rel.toStdString();
        EXPECT_FALSE(QFileInfo::exists(baum.Pfad("ziel"))) << rel.toStdString();
        EXPECT_EQ(Pfad(e), rel);
        EXPECT_TRUE(meldungen.Enthält(QuelleFehltMeldung(rel))) << rel.toStdString();
    }
}

TEST_F(KopierenTest, FehlerFragenNachDemWeitermachen)
{
    const qint32 a = Eintrag(baum.Pfad("fehlt.mp3"));
    const qint32 b = Eintrag(baum.Datei("b.mp3"));
    const qint32 c = Eintrag(baum.Pfad("fehlt2.mp3"));
    const qint32 d = Eintrag(baum.Datei("d.mp3"));
    meldungen.antworten = {Antwort::Ja, Antwort::Nein};
    DateienKopieren(index, {a, b, c, d}, baum.Pfad("z/"), true);
    ASSERT_EQ(meldungen.gezeigt.size(), 2u);
    EXPECT_TRUE(meldungen.gezeigt[0].text.startsWith("Beim Kopieren ist ein Fehler aufgetreten: \nDie Datei '"));
    EXPECT_TRUE(meldungen.gezeigt[0].text.endsWith("\n\nMöchten Sie mit der nächsten Datei fortfahren?"));
    EXPECT_EQ(meldungen.gezeigt[0].symbol, Symbol::Ausruf);
    EXPECT_EQ(Pfad(b), baum.Pfad("z/b.mp3"));
    EXPECT_EQ(Pfad(d), baum.Pfad("d.mp3")) << "the user said no";

    // At the last entry the failure is only reported.
    meldungen.gezeigt.clear();
    DateienKopieren(index, {c}, baum.Pfad("z/"), false);
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_EQ(meldungen.gezeigt[0].knöpfe, Knöpfe::OK);
}

TEST_F(KopierenTest, AbbruchImFortschrittLaesstDieListeStehen)
{
    EintragsListe liste5;
    for (int i = 0; i < 5; ++i)
        liste5.push_back(Eintrag(baum.Datei(QString("q/%1.mp3").arg(i))));
    fortschritt.abbrechenWenn = [](const FortschrittZustand&) {
        static int n = 0;
        return ++n == 3;
    };
    DateienKopieren(index, liste5, baum.Pfad("z/"), true);
    int verschoben = 0;
    for (qint32 e : liste5)
        verschoben += Pfad(e).startsWith(baum.Pfad("z/")) ? 1 : 0;
    EXPECT_GE(verschoben, 1);
    EXPECT_LT(verschoben, 5);
    for (qint32 e : liste5)
        EXPECT_TRUE(QFile::exists(Pfad(e)));
    EXPECT_EQ(liste.aktualisiert, 0);
}

TEST_F(KopierenTest, VerschiebenUeberDateisystemgrenzen)
{
    if (!QDir("/dev/shm").exists() || Gerät("/dev/shm") == Gerät(baum.Pfad()))
        GTEST_SKIP() << "no second file system here";
    Baum anderswo("/dev/shm");
    const qint32 e = Eintrag(baum.Datei("x/a.mp3", "über die grenze"));
    DateienKopieren(index, {e}, anderswo.Pfad("ziel/"), true);
    EXPECT_EQ(Pfad(e), anderswo.Pfad("ziel/a.mp3"));
    EXPECT_EQ(Lesen(Pfad(e)), "über die grenze");
    EXPECT_FALSE(QFile::exists(baum.Pfad("x/a.mp3")));
}

TEST_F(KopierenTest, QuelleDieNichtWeichenKannBleibtImIndex)
{
    Baum anderswo("/dev/shm");
    if (!anderswo.dir.isValid() || Gerät(anderswo.Pfad()) == Gerät(baum.Pfad()))
        GTEST_SKIP() << "no second file system here";
    const QString quelle = baum.Datei("fest/a.mp3", "bleibt");
    QFile::setPermissions(quelle, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const qint32 e = Eintrag(quelle);
    Schreibschutz sperre(baum.Pfad("fest"));
    if (!sperre.aktiv)
        GTEST_SKIP() << "cannot make a folder read-only here";
    DateienKopieren(index, {e}, anderswo.Pfad("ziel/"), true);
    ASSERT_EQ(meldungen.gezeigt.size(), 1u);
    EXPECT_EQ(meldungen.gezeigt[0].text, "Beim Kopieren ist ein Fehler aufgetreten: \nDie Datei '" + quelle
                                             + "' konnte nicht verschoben werden, da sie nicht gelöscht werden kann. "
                                               "Die Kopie '" + anderswo.Pfad("ziel/a.mp3") + "' wurde wieder entfernt.");
    EXPECT_EQ(Pfad(e), quelle) << "the entry names the file that is still there";
    EXPECT_EQ(Lesen(quelle), "bleibt");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(quelle).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u) << "the source keeps its mode";
    EXPECT_FALSE(QFile::exists(anderswo.Pfad("ziel/a.mp3"))) << "the copy goes again";
}

// A source another program still writes (a download) is not deleted by a
// move across file systems: the move is refused, the copy goes again and the
// entry keeps the source; a player only reading it is no reason.
TEST_F(KopierenTest, QuelleDieNochGeschriebenWirdBleibt)
{
    Baum anderswo("/dev/shm");
    if (!anderswo.dir.isValid() || Gerät(anderswo.Pfad()) == Gerät(baum.Pfad()))
        GTEST_SKIP() << "no second file system here";
    using Art = FremderProzess::Art;
    const struct {
        std::optional<Art> vorher; // held from before the move
        std::optional<Art> amEnde; // opened once the copy is complete
        bool verschoben;
    } fälle[] = {
        {Art::Anhängen, {}, false}, {Art::LesenSchreiben, {}, false}, {{}, Art::Schreiben, false},
        {Art::Lesen, {}, true},     {{}, Art::Lesen, true},
    };
    for (const auto& fall : fälle) {
        const QString name = QString("d%1.mp3").arg(&fall - fälle), ziel = anderswo.Pfad("ziel/" + name);
        const QString quelle = baum.Datei("laden/" + name, "noch im Werden");
        SCOPED_TRACE(name.toStdString());
        const qint32 e = Eintrag(quelle);
        std::optional<FremderProzess> vorher, amEnde;
        if (fall.vorher)
            ASSERT_TRUE(vorher.emplace(quelle, *fall.vorher).Offen());
        // The first rename meets the other file system; the second puts the copy in place.
        int umbenennen = 0;
        VorDemUmbenennenSetzen([&] {
            if (++umbenennen == 2 && fall.amEnde)
                amEnde.emplace(quelle, *fall.amEnde);
        });
        meldungen.gezeigt.clear();
        DateienKopieren(index, {e}, anderswo.Pfad("ziel/"), true);
        VorDemUmbenennenSetzen({});
        ASSERT_EQ(amEnde.has_value(), fall.amEnde.has_value());
        EXPECT_EQ(Pfad(e), fall.verschoben ? ziel : quelle);
        EXPECT_EQ(Lesen(fall.verschoben ? ziel : quelle), "noch im Werden");
        EXPECT_NE(QFile::exists(quelle), fall.verschoben);
        if (fall.verschoben)
            continue;
        ASSERT_EQ(meldungen.gezeigt.size(), 1u);
        EXPECT_EQ(meldungen.gezeigt[0].text, "Beim Kopieren ist ein Fehler aufgetreten: \nEs ist ein Fehler beim Ändern "
                                             "des Dateinamens '" + quelle + "' aufgetreten.\nDie Datei wird gerade von "
                                             "einem anderen Programm geschrieben. (Fehler 11).");
        EXPECT_EQ(QDir(anderswo.Pfad("ziel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList())
            << "the copy is gone again";
    }
}

// Nor when another program wrote it while the copy was synced and closed it
// again: the source is not what was copied, so it stays and the copy goes.
TEST_F(KopierenTest, QuelleDieWährendDesKopierensGeschriebenWurdeBleibt)
{
    Baum laden("/dev/shm");
    if (!laden.dir.isValid() || Gerät(laden.Pfad()) == Gerät(baum.Pfad()))
        GTEST_SKIP() << "no second file system here";
    // The other program, run with the source as $1: a download appending its
    // last block, a tag editor writing in place or putting a new file there.
    const struct {
        const char *name, *befehl;
    } fälle[] = {
        {"angehaengt", "head -c 4096 /dev/urandom >> \"$1\""},
        {"ueberschrieben", "printf X | dd of=\"$1\" conv=notrunc status=none"},
        {"ersetzt", "cp -p \"$1\" \"$1.x\" && mv \"$1.x\" \"$1\""},
    };
    const QByteArray inhalt = KleineMp3().repeated(100);
    const struct timespec alt[2] = {{1000000000, 0}, {1000000000, 0}}; // any later write gives another date
    for (const auto& fall : fälle)
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(laden.Datei(QString(fall.name) + ".mp3", inhalt)).constData(), alt, 0), 0);
    NormalerBenutzer benutzer({baum.Pfad(), laden.Pfad()});
    if (!benutzer.aktiv)
        GTEST_SKIP() << "no normal user here";
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const QString quelle = laden.Pfad(QString(fall.name) + ".mp3");
        const qint32 e = Eintrag(quelle);
        // The first rename meets the other file system; the second puts the synced copy in place.
        int umbenennen = 0;
        QByteArray geschrieben;
        VorDemUmbenennenSetzen([&] {
            if (++umbenennen != 2)
                return;
            ASSERT_EQ(QProcess::execute("/bin/sh", {"-c", fall.befehl, "sh", quelle}), 0);
            geschrieben = Lesen(quelle);
        });
        meldungen.gezeigt.clear();
        DateienKopieren(index, {e}, baum.Pfad("ziel/"), true);
        VorDemUmbenennenSetzen({});
        EXPECT_EQ(umbenennen, 2);
        EXPECT_EQ(Pfad(e), quelle);
        EXPECT_EQ(Lesen(quelle), geschrieben);
        EXPECT_EQ(geschrieben.size(), inhalt.size() + (&fall == fälle ? 4096 : 0));
        ASSERT_EQ(meldungen.gezeigt.size(), 1u);
        EXPECT_EQ(meldungen.gezeigt[0].text, "Beim Kopieren ist ein Fehler aufgetreten: \nEs ist ein Fehler beim Ändern "
                                             "des Dateinamens '" + quelle + "' aufgetreten.\nDie Datei wird gerade von "
                                             "einem anderen Programm geschrieben. (Fehler 11).");
    }
    EXPECT_EQ(QDir(baum.Pfad("ziel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList())
        << "the copies are gone again";
}

// "Ersetzen" over an indexed file leaves one entry for its path, its record
// read afresh (a moved one keeps its count); later entries stay what they were.
TEST_F(KopierenTest, ErsetzenÜberIndizierteDateiLässtEinenEintrag)
{
    const QByteArray neu = KleineMp3().repeated(2) + Mp3Bauer::Id3v1Block({.titel = "Neu"});
    for (const std::string lauf : {"verschieben", "kopieren", "umbenennen"}) {
        SCOPED_TRACE(lauf);
        const bool verschoben = lauf != "kopieren";
        const Baum b;
        index = Index();
        TypenSetzen(index);
        const QString ziel = b.Datei("z/x.mp3", KleineMp3('\x11')), ziel2 = b.Pfad("z/y.mp3");
        const QString quelle = b.Datei("q/x.mp3", neu), quelle2 = b.Datei("q/y.mp3", "zwei");
        for (const auto& [pfad, titel, gespielt] : {std::tuple{ziel, "Alt", 9}, std::tuple{quelle, "x", 3}, std::tuple{quelle2, "y", 4}}) {
            MedienInfo m = LeereMedienInfo();
            m.Mp3_ID3v1_Vorhanden = 1;
            m.Mp3_ID3v1_Titel = titel;
            m.Datei_AngefordertAnzahl = gespielt;
            index.EintragAnhängen(pfad, m, 1);
        }
        konflikte.antworten = {DateiExistiert::Ersetzen};
        UmbenennenEingaben ein;
        ein.intFunktion = UmbenennenFelder;
        ein.strFormat = b.Pfad("z/") + "%Titel%";
        if (lauf == "umbenennen")
            DateienUmbenennen(index, {2, 3}, ein);
        else
            DateienKopieren(index, {2, 3}, b.Pfad("z/"), verschoben);
        EXPECT_TRUE(konflikte.antworten.empty());
        EXPECT_EQ(Lesen(ziel), neu);
        EXPECT_EQ(IndexPfade(index), verschoben ? QStringList({ziel, ziel2}) : QStringList({ziel, quelle, quelle2}));
        const MedienInfo& m = index.IndexDaten[1];
        EXPECT_EQ(m.Mp3_ID3v1_Titel, "Neu");
        EXPECT_EQ(m.Datei_Größe, neu.size());
        EXPECT_EQ(m.Datei_AngefordertAnzahl, verschoben ? 3 : 0);
        if (verschoben) {
            EXPECT_EQ(index.IndexDaten[2].Mp3_ID3v1_Titel, "y") << "the next entry is the one it was";
            EXPECT_EQ(Lesen(ziel2), "zwei");
        }
        EXPECT_TRUE(index.bolIndexGeändert);
    }
}

// Several files of one run land on paths the index holds (one of them twice),
// and an entry that leaves early is still listed: which entry stays, with
// which record, the order of the rest, what each element did, the selection.
TEST_F(KopierenTest, MehrereZieleImIndexInEinemLauf)
{
    struct Fall {
        bool verschieben;
        EintragsListe auswahl;
        QStringList pfade;         // the index afterwards, relative
        QStringList titel;         // the ID3v1 title of each entry afterwards
        QList<int> gespielt;       // its play count afterwards
        QList<bool> erledigt;      // per element of the run
    };
    const Fall fälle[] = {
        {true, {2, 4, 6, 1, 7},
         {"z/a.mp3", "z/b.mp3", "z/c.mp3", "z/d.mp3"}, {"a", "b", "c", "d"}, {1, 2, 6, 7},
         {true, true, true, false, true}},
        {false, {2, 4, 6, 7},
         {"z/a.mp3", "q/a.mp3", "z/b.mp3", "q/b.mp3", "q/c.mp3", "w/d.mp3"}, {"a", "a", "b", "b", "c", "d"},
         {0, 1, 0, 2, 6, 7}, {true, true, true, true}},
    };
    for (const Fall& f : fälle) {
        SCOPED_TRACE(f.verschieben ? "verschieben" : "kopieren");
        const Baum b;
        index = Index();
        TypenSetzen(index);
        const auto datei = [&](const char* rel, const char* titel) {
            return b.Datei(rel, KleineMp3() + Mp3Bauer::Id3v1Block({.titel = titel}));
        };
        const std::tuple<QString, const char*, int> einträge[] = {
            {datei("z/a.mp3", "alt a"), "alt a", 9}, {datei("q/a.mp3", "a"), "a", 1},
            {datei("z/b.mp3", "alt b"), "alt b", 8}, {datei("q/b.mp3", "b"), "b", 2},
            {b.Pfad("z/b.mp3"), "alt b zwei", 5},   {datei("q/c.mp3", "c"), "c", 6},
            {datei("w/d.mp3", "d"), "d", 7},
        };
        for (const auto& [pfad, titel, gespielt] : einträge) {
            MedienInfo m = LeereMedienInfo();
            m.Mp3_ID3v1_Vorhanden = 1;
            m.Mp3_ID3v1_Titel = titel;
            m.Datei_AngefordertAnzahl = gespielt;
            index.EintragAnhängen(pfad, m, 1);
        }
        listenZustand().lngAuswahlAnzahl = 2;
        listenZustand().lngAuswahlEintrag = {0, 2, 4};
        listenZustand().lngAuswahlPosition = {0, 2, 4};
        konflikte.antworten = {DateiExistiert::Ersetzen, DateiExistiert::Ersetzen};
        std::vector<EintragsErgebnis> ergebnis;
        DateienKopieren(index, f.auswahl, b.Pfad("z/"), f.verschieben, &ergebnis);

        EXPECT_TRUE(konflikte.antworten.empty());
        QStringList pfade, titel;
        QList<int> gespielt;
        for (qint32 e = 1; e <= index.lngIndexAnzahl; ++e) {
            pfade.append(index.strIndexPfad[size_t(e)].mid(b.Pfad().size() + 1));
            titel.append(index.IndexDaten[size_t(e)].Mp3_ID3v1_Titel);
            gespielt.append(index.IndexDaten[size_t(e)].Datei_AngefordertAnzahl);
        }
        EXPECT_EQ(pfade, f.pfade);
        EXPECT_EQ(titel, f.titel);
        EXPECT_EQ(gespielt, f.gespielt);
        QList<bool> erledigt;
        for (const EintragsErgebnis& r : ergebnis)
            erledigt.append(r.erledigt);
        EXPECT_EQ(erledigt, f.erledigt);
        EXPECT_EQ(ergebnis[0].pfad, b.Pfad("z/a.mp3"));
        // Numbers of the old index must not survive a removal.
        EXPECT_EQ(listenZustand().lngAuswahlAnzahl, 0);
        EXPECT_EQ(listenZustand().lngAuswahlEintrag, std::vector<qint32>({0, 0}));
        EXPECT_TRUE(index.bolIndexGeändert);
        IndexStimmig(index);
    }
}

TEST_F(KopierenTest, VorschlaegeAusInterpretUndAlbum)
{
    const qint32 e = Eintrag(baum.Datei("Eingang/x.mp3"), 1, "Queen", "");
    Eintrag("/m/Musik/QUEEN/a.mp3");
    Eintrag("/m/Musik/Queen/b.mp3");
    Eintrag("/m/Musik/QUEEN/c.mp3");
    Eintrag("/m/Rock/Queensryche/d.mp3");
    Eintrag("/m/Pop/e.mp3");
    EXPECT_EQ(ZielordnerVorschlagen(index, e),
              QStringList({baum.Pfad("Eingang"), "/m/Musik/QUEEN", "/m/Rock/Queensryche"}));

    // With a tag but no words, only the file's own folder.
    index.IndexDaten[size_t(e)].Mp3_ID3v1_Interpret.clear();
    EXPECT_EQ(ZielordnerVorschlagen(index, e), QStringList{baum.Pfad("Eingang")});
    // Empty words say nothing.
    EXPECT_EQ(ZielordnerFinden(index, e, {"", " "}), QStringList{baum.Pfad("Eingang")});
    EXPECT_EQ(ZielordnerFinden(index, e, {"pop", "ein"}), QStringList({baum.Pfad("Eingang"), "/m/Pop"}));
}

TEST_F(KopierenTest, VorschlaegeOhneTagAusDenWoertenDesDateinamens)
{
    // Only the file name counts, not the folders above it.
    const qint32 e = Eintrag(baum.Datei("Musik/Eingang/abba - waterloo_live.mp3"), 2);
    Eintrag(baum.Datei("Sammlung/ABBA/a.mp3"));
    Eintrag("/m/Live/b.mp3");
    Eintrag("/m/Musik/c.mp3");
    Eintrag("/m/Waterloo Sunset/d.mp3");
    EXPECT_EQ(ZielordnerVorschlagen(index, e),
              QStringList({baum.Pfad("Musik/Eingang"), baum.Pfad("Sammlung/ABBA"), "/m/Live", "/m/Waterloo Sunset"}));

    // Moved into the suggested folder, the entry follows its file.
    QString meldung;
    DateienKopieren(index, {e}, KopierenOrdnerPrüfen(ZielordnerVorschlagen(index, e).at(1), meldung), true);
    EXPECT_EQ(Pfad(e), baum.Pfad("Sammlung/ABBA/abba - waterloo_live.mp3"));
    EXPECT_TRUE(QFile::exists(Pfad(e)));
}
