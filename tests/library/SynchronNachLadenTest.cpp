// The synchronisation over an index file as loaded: names another program
// stored beside ours in its own code page do not make our entries look missing.

#include "BibliothekTesthilfe.h"

#include "core/IndexDatei.h"
#include "library/Synchronisieren.h"

using namespace testhilfe;

TEST(SynchronNachLaden, NamenInUtf8NebenWindows1252BleibenVorhanden)
{
    Baum baum;
    StandardwerteSetzen();
    einstellungen().HinzufügenKeineDoppelten = 1;
    einstellungen().Mp3TagLesen = "000";
    Statuszeile status;
    Listenattrappe liste;
    Meldungsskript meldungen;
    // Ours, in UTF-8; then the old program's, whose albums it wrote in Windows-1252
    // (more bytes outside UTF-8 than UTF-8 sequences), without our encoding marker.
    const QByteArray wurzel = QFile::encodeName(baum.Pfad()) + '/';
    QByteArray text = "#TAG:kv102\r\n#OPT:SYNC=" + wurzel + ",0,\r\n#OPT:SYNC_ENTFERNEN=1\r\n#OPT:VERWALTEN=mp3=1,110\r\n";
    QStringList pfade;
    const auto eintrag = [&](const QByteArray& name, const QByteArray& album) {
        pfade << baum.Datei(QString::fromUtf8(name), QByteArray(600, '\0'));
        text += "#TAG:" + QByteArray::number(wurzel.size() + name.size()) + '/' + QByteArray::number(album.size()) + '|'
                + wurzel + name + album + "\r\n";
    };
    for (const char* name : {"Björk - Jóga.mp3", "Sigur Rós.mp3", "Mötley Crüe.mp3", "Die Ärzte.mp3", "Café del Mar.mp3"})
        eintrag(name, "Gr\xC3\xBC\xC3\x9F" "e");
    for (int i = 0; i < 20; ++i)
        eintrag("alt" + QByteArray::number(i) + ".mp3", "Gr\xFC\xDF" "e aus K\xF6ln");
    const QString kvx = baum.Datei("Kalvbox.kvx", text);

    Index idx;
    ASSERT_TRUE(DateiLaden(idx, kvx));
    EXPECT_EQ(IndexPfade(idx).join('\n').toStdString(), pfade.join('\n').toStdString());
    EXPECT_EQ(idx.IndexDaten[1].Mp3_ID3v1_Album.toStdString(), "Grüße");
    EXPECT_EQ(idx.IndexDaten[6].Mp3_ID3v1_Album.toStdString(), "Grüße aus Köln");
    const SyncErgebnis e = IndexSynchronisieren(idx, nullptr);
    EXPECT_EQ(std::pair(e.lngEntfernt, e.lngHinzugefügt), std::pair(0, 0));
    EXPECT_EQ(idx.lngIndexAnzahl, 25);
    EXPECT_EQ(status.Text().toStdString(), "Syncronisation fertig: 0 Datei(en) entfernt, 0 Datei(en) hinzugefügt");
    EXPECT_EQ(meldungen.gezeigt.size(), 0u) << meldungen.gezeigt[0].text.toStdString();
}
