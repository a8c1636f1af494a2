// A file system that ignores letter case (exFAT through FUSE): entries hold
// their paths as the medium spells its folders, and neither a
// synchronisation nor an add takes a file twice under two spellings. The
// inode numbers tell nothing there (each spelling gets one of its own, and
// they change once the kernel forgot the file). The temp folder, which tells
// case apart, is the control.

#include "BibliothekTesthilfe.h"

#include "core/IndexDatei.h"
#include "library/Hinzufuegen.h"
#include "support/FuseAbbild.h"

#include <iostream>
#include <optional>

using namespace testhilfe;

namespace {

class SchreibweiseTest : public ::testing::Test {
protected:
    Baum baum;
    Meldungsskript meldungen;
    Statuszeile status;
    Listenattrappe liste;
    Fortschrittsattrappe fortschritt;
    std::optional<FuseAbbild> exfat{FuseAbbild::Art::ExFat};

    void SetUp() override { EinstellungenFürHinzufügen(); }

    // The roots to run on: the temp folder always, the exFAT image when it mounted.
    QStringList Wurzeln()
    {
        QStringList w{QString()};
        if (exfat->Bereit())
            w << exfat->Pfad();
        else
            std::cout << "[ SKIPPED  ] exFAT: " << exfat->Grund().toStdString() << std::endl;
        return w;
    }
    // Lets the kernel forget the medium's inodes, so that they are numbered anew.
    static void Vergessen(bool medium)
    {
        if (medium)
            FuseAbbild::InodesVergessen();
    }
};

// The entries' paths below `wurzel`, one text (to be read when a comparison fails).
std::string Pfade(const Index& index, const QString& wurzel)
{
    QStringList l;
    for (const QString& p : IndexPfade(index))
        l << (p.startsWith(wurzel + "/") ? p.mid(wurzel.size() + 1) : p);
    return l.join(" | ").toStdString();
}

Index NeuerIndex(const QStringList& pfade)
{
    Index index;
    TypenSetzen(index);
    index.bolIndexGeladen = true;
    for (const QString& p : pfade)
        index.EintragAnhängen(p, LeereMedienInfo(), 1);
    return index;
}

} // namespace

// A move into a folder asked for in another case than the medium spells it
// (or a rename by fields that leads there), then a synchronisation of the
// medium: the tools as processes over an index file, as a script runs them.
// One entry, spelled as the medium spells it.
TEST_F(SchreibweiseTest, SyncNachVerschiebenInAndersGeschriebenenOrdner)
{
    struct Fall {
        const char* quelle;
        const char* vorhanden; // a file that makes the folder exist (not indexed)
        QStringList aufruf;    // the tool and its arguments after the index file ("%1": the root)
        const char* exfat;     // the entry afterwards on exFAT
        const char* temp;      // and on the temp folder
    };
    const Fall fälle[] = {
        {"lied.mp3", "ab/notiz.txt", {"move", "%1/AB"}, "ab/lied.mp3", "AB/lied.mp3"},
        {"q/zwei.mp3", "Musik/Alben/notiz.txt", {"move", "%1/MUSIK/alben"}, "Musik/Alben/zwei.mp3",
         "MUSIK/alben/zwei.mp3"},
        {"q/drei.mp3", "Musik/Alben/notiz.txt", {"move", "%1/Musik/Alben"}, "Musik/Alben/drei.mp3",
         "Musik/Alben/drei.mp3"},
        {"vier.mp3", "abba/notiz.txt", {"rename", "0", "--format", "%Interpret%/%Titel%"}, "abba/Waterloo.mp3",
         "ABBA/Waterloo.mp3"},
    };
    for (const QString& wurzel : Wurzeln()) {
        const bool medium = !wurzel.isEmpty();
        for (const Fall& f : fälle) {
            SCOPED_TRACE(std::string(f.quelle) + (medium ? " (exFAT)" : " (temp)"));
            Baum b(wurzel);
            const QString quelle = b.Datei(f.quelle, "inhalt");
            b.Datei(f.vorhanden, "notiz");
            const QString kvx = baum.Pfad("liste.kvx");
            Index index = NeuerIndex({quelle});
            MedienInfo& m = index.IndexDaten[1];
            m.Mp3_ID3v1_Vorhanden = 1;
            m.Mp3_ID3v1_Interpret = "ABBA";
            m.Mp3_ID3v1_Titel = "Waterloo";
            index.strSyncOrdner = {b.Pfad()};
            index.intSyncUnterordner = {1};
            index.strSyncKopierenInOrdner = {QString()};
            index.intSyncLeer = 0;
            index.intSyncDanachEntfernen = 1;
            ASSERT_TRUE(DateiSpeichern(index, kvx, false));

            QStringList argumente{kvx};
            for (const QString& a : f.aufruf.mid(1))
                argumente << QString(a).replace("%1", b.Pfad());
            QString fehler;
            ASSERT_EQ(WerkzeugStarten(f.aufruf[0], argumente, nullptr, &fehler), 0) << fehler.toStdString();
            const QString erwartet = b.Pfad(medium ? f.exfat : f.temp);
            const std::string erwartetRel = medium ? f.exfat : f.temp;
            Index geladen;
            ASSERT_TRUE(DateiLaden(geladen, kvx));
            EXPECT_EQ(Pfade(geladen, b.Pfad()), erwartetRel) << "the entry holds the medium's spelling";
            EXPECT_EQ(Lesen(erwartet), "inhalt");

            Vergessen(medium);
            ASSERT_EQ(WerkzeugStarten("sync", {kvx}, nullptr, &fehler), 0) << fehler.toStdString();
            EXPECT_TRUE(fehler.contains("Syncronisation fertig: 0 Datei(en) entfernt, 0 Datei(en) hinzugefügt"))
                << fehler.toStdString();
            Index danach;
            ASSERT_TRUE(DateiLaden(danach, kvx));
            EXPECT_EQ(Pfade(danach, b.Pfad()), erwartetRel);
        }
    }
}

// The add batch refuses a file the index holds under another spelling of
// its folder or name (on exFAT the one entry that both names find); a
// folder, a file or a playlist line given in another case is entered as the
// medium spells it. On the temp folder the spellings are files of their own
// and all come in.
TEST_F(SchreibweiseTest, HinzufügenOhneDoppelteInAndererSchreibweise)
{
    enum class Weg { Ordner, Datei, Playlist };
    struct Fall {
        QStringList indiziert; // the index before
        Weg weg;
        const char* gegeben;   // what is added
        const char* temp;      // the other spelling made on the temp folder
        std::string nachExfat; // the entries afterwards on exFAT
        std::string nachTemp;  // and on the temp folder
    };
    const Fall fälle[] = {
        {{"ab/lied.mp3"}, Weg::Ordner, "AB", "AB/lied.mp3", "ab/lied.mp3", "ab/lied.mp3 | AB/lied.mp3"},
        {{"AB/lied.mp3"}, Weg::Ordner, "ab", "AB/lied.mp3", "AB/lied.mp3", "AB/lied.mp3 | ab/lied.mp3"},
        {{"ab/lied.mp3"}, Weg::Datei, "AB/LIED.mp3", "AB/LIED.mp3", "ab/lied.mp3", "ab/lied.mp3 | AB/LIED.mp3"},
        {{"AB/LIED.mp3"}, Weg::Datei, "ab/lied.mp3", "AB/LIED.mp3", "AB/LIED.mp3", "AB/LIED.mp3 | ab/lied.mp3"},
        {{"AB/LIED.mp3"}, Weg::Playlist, "aB/Lied.mp3", "aB/Lied.mp3", "AB/LIED.mp3", "AB/LIED.mp3 | aB/Lied.mp3"},
        {{}, Weg::Ordner, "AB", "AB/lied.mp3", "ab/lied.mp3", "AB/lied.mp3"},
        {{}, Weg::Datei, "AB/LIED.mp3", "AB/LIED.mp3", "ab/lied.mp3", "AB/LIED.mp3"},
        {{}, Weg::Playlist, "Ab/lieD.mp3", "Ab/lieD.mp3", "ab/lied.mp3", "Ab/lieD.mp3"},
    };
    for (const QString& wurzel : Wurzeln()) {
        const bool medium = !wurzel.isEmpty();
        for (const Fall& f : fälle) {
            SCOPED_TRACE(QString("%1 (way %2) after '%3'%4")
                             .arg(f.gegeben)
                             .arg(int(f.weg))
                             .arg(f.indiziert.join(','), medium ? " (exFAT)" : " (temp)")
                             .toStdString());
            Baum b(wurzel);
            // On exFAT every spelling finds this one file; the control has one file per spelling.
            b.Datei("ab/lied.mp3");
            if (!medium)
                b.Datei(f.temp, KleineMp3('x'));
            QStringList vorher;
            for (const QString& p : f.indiziert)
                vorher << b.Pfad(p);
            Index index = NeuerIndex(vorher);
            Vergessen(medium);
            switch (f.weg) {
            case Weg::Ordner: {
                QString ordner = b.Pfad(f.gegeben);
                ASSERT_TRUE(EinfachOrdnerHinzufügen(index, ordner, false, 1, false, QString(), false, false));
                break;
            }
            case Weg::Datei:
                ASSERT_TRUE(EinfachDateiHinzufügen(index, {b.Pfad(f.gegeben)}, false, false, false));
                break;
            case Weg::Playlist:
                PlaylistLesen(index, baum.Datei("liste.m3u", "#EXTM3U\r\n" + b.Pfad(f.gegeben).toUtf8() + "\r\n"), false,
                              false);
                break;
            }
            EXPECT_EQ(Pfade(index, b.Pfad()), medium ? f.nachExfat : f.nachTemp);
            IndexStimmig(index);
        }
    }
}
