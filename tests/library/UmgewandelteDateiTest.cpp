// An index converted from the old format is saved over its file while it
// holds an entry read from it, under whatever name that entry's file has
// now: renamed and moved entries are still the file's own.

#include "BibliothekTesthilfe.h"

#include "core/IndexDatei.h"
#include "library/Kopieren.h"
#include "library/Umbenennen.h"

using namespace testhilfe;

TEST(UmgewandelteDatei, UmbenannteUndVerschobeneEinträgeBleibenIhreEigenen)
{
    Baum baum;
    EinstellungenFürHinzufügen();
    einstellungen().Mp3TagLesen = QStringLiteral("000");
    Meldungsskript meldungen;
    Fortschrittsattrappe fortschritt;
    Listenattrappe liste;
    Statuszeile status;
    const QStringList alt = {baum.Datei("alt/1.mp3"), baum.Datei("alt/2.mp3"), baum.Datei("alt/3.mp3")};
    const QString kvx = baum.Datei("Kalvbox.kvx", QFile::encodeName(alt.join("\r\n") + "\r\n"));

    Index index;
    TypenSetzen(index);
    meldungen.antworten = {Antwort::Ja};
    ASSERT_TRUE(DateiLaden(index, kvx));
    ASSERT_TRUE(meldungen.Enthält("liegt in einem älteren Dateiformat vor oder ist ungültig."));
    ASSERT_EQ(IndexPfade(index), alt);
    for (size_t i : {1, 2}) {
        index.IndexDaten[i].Mp3_ID3v1_Vorhanden = 1;
        index.IndexDaten[i].Mp3_ID3v1_Titel = QStringLiteral("Lied %1").arg(i);
    }

    // Two renamed by their titles, the third moved into another folder.
    UmbenennenEingaben ein;
    ein.intFunktion = UmbenennenFelder;
    ein.strFormat = "%Titel%";
    ASSERT_EQ(DateienUmbenennen(index, {1, 2}, ein), 2);
    DateienKopieren(index, {3}, baum.Ordner("neu") + "/", true);
    const QStringList jetzt = {baum.Pfad("alt/Lied 1.mp3"), baum.Pfad("alt/Lied 2.mp3"), baum.Pfad("neu/3.mp3")};
    ASSERT_EQ(IndexPfade(index), jetzt);

    meldungen.gezeigt.clear();
    EXPECT_TRUE(DateiSpeichern(index, kvx, false));
    EXPECT_FALSE(meldungen.Enthält("enthält keinen ihrer Einträge mehr"));
    Index neu;
    ASSERT_TRUE(DateiLaden(neu, kvx));
    EXPECT_EQ(IndexPfade(neu), jetzt) << "the file names the files as they are called now";
    IndexStimmig(index);
}
