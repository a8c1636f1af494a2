// The synchronisation over an index file as it was loaded: names another
// program stored beside ours in its own code page must not make our entries
// look missing, or "remove missing entries" removes the records of files
// that are there.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/IndexDatei.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"
#include "library/Synchronisieren.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct StilleListe : ListenAnzeige {
    void SucheAktualisieren(bool) override {}
    void ListeErstellenAktualisieren(qint32, qint32) override {}
    void NeueInListeMarkieren(qint32) override {}
    void AuswahlErmitteln() override {}
    void BeschreibungAktualisieren() override {}
};

// An entry line of a path and an album, both given as the file's bytes.
QByteArray eintrag(const QByteArray& pfad, const QByteArray& album)
{
    return "#TAG:" + QByteArray::number(pfad.size()) + '/' + QByteArray::number(album.size()) + '|' + pfad + album
           + "\r\n";
}

} // namespace

TEST(SynchronNachLaden, NamenInUtf8NebenWindows1252BleibenVorhanden)
{
    QTemporaryDir ordner;
    ASSERT_TRUE(ordner.isValid());
    StandardwerteSetzen();
    einstellungen().HinzufügenKeineDoppelten = 1;
    einstellungen().Mp3TagLesen = "000";
    StatusSchreiber status;
    StilleListe liste;
    QStringList meldungen;
    DienstErsetzen<StatusDienst> s(&status);
    DienstErsetzen<ListenAnzeigeDienst> l(&liste);
    DienstErsetzen<MeldungsDienst> m([&](const Meldung& x) {
        meldungen << x.text;
        return Antwort::Nein;
    });

    // Ours, in UTF-8; then the old program's, whose albums it wrote in
    // Windows-1252 (more bytes outside UTF-8 than UTF-8 sequences), and
    // without our encoding marker, which it does not know.
    const QByteArray wurzel = QFile::encodeName(ordner.path()) + '/';
    QByteArray text = "#TAG:kv102\r\n#OPT:SYNC=" + wurzel + ",0,\r\n#OPT:SYNC_ENTFERNEN=1\r\n#OPT:VERWALTEN=mp3=1,110\r\n";
    QStringList pfade;
    for (const char* name : {"Björk - Jóga.mp3", "Sigur Rós.mp3", "Mötley Crüe.mp3", "Die Ärzte.mp3", "Café del Mar.mp3"}) {
        pfade << ordner.filePath(QString::fromUtf8(name));
        text += eintrag(wurzel + name, "Gr\xC3\xBC\xC3\x9F" "e");
    }
    for (int i = 0; i < 20; ++i) {
        pfade << ordner.filePath(QStringLiteral("alt%1.mp3").arg(i));
        text += eintrag(wurzel + "alt" + QByteArray::number(i) + ".mp3", "Gr\xFC\xDF" "e aus K\xF6ln");
    }
    for (const QString& p : pfade) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(600, '\0'));
    }
    const QString kvx = ordner.filePath("Kalvbox.kvx");
    {
        QFile f(kvx);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    Index idx;
    ASSERT_TRUE(DateiLaden(idx, kvx));
    ASSERT_EQ(idx.lngIndexAnzahl, 25);
    QStringList geladen;
    for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i)
        geladen << idx.strIndexPfad[size_t(i)];
    EXPECT_EQ(geladen.join('\n').toStdString(), pfade.join('\n').toStdString());
    EXPECT_EQ(idx.IndexDaten[1].Mp3_ID3v1_Album.toStdString(), "Grüße");
    EXPECT_EQ(idx.IndexDaten[6].Mp3_ID3v1_Album.toStdString(), "Grüße aus Köln");

    const SyncErgebnis e = IndexSynchronisieren(idx, nullptr);
    EXPECT_EQ(e.lngEntfernt, 0);
    EXPECT_EQ(e.lngHinzugefügt, 0);
    EXPECT_EQ(idx.lngIndexAnzahl, 25);
    EXPECT_EQ(status.strStatusText.toStdString(), "Syncronisation fertig: 0 Datei(en) entfernt, 0 Datei(en) hinzugefügt");
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join("|").toStdString();
}
