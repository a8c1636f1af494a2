#include "BibliothekTesthilfe.h"

#include "core/Kodierung.h"
#include "library/Hinzufuegen.h"

#include <QUrl>

using namespace testhilfe;

namespace {

class PlaylistTest : public ::testing::Test {
protected:
    Baum baum;
    Index index;
    Listenattrappe liste;
    Statuszeile status;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        TypenSetzen(index);
    }
    void TearDown() override { IndexStimmig(index); }
};

} // namespace

TEST_F(PlaylistTest, RelativeUndAbsoluteZeilenMitJedemZeilenende)
{
    const QString a = baum.Datei("listen/a.mp3");
    const QString b = baum.Datei("listen/sub/b.mp3");
    const QString c = baum.Datei("woanders/c.mp3");
    const QString d = baum.Datei("listen/sub/tief/d.mp3");
    baum.Datei("listen/b.mp", "kurz");
    const QByteArray text = "#EXTM3U\r\n#EXTINF:123,Jemand - a\r\na.mp3\rsub\\b.mp3\n" + c.toUtf8()
        + "\r\nb.mp\nfehlt.mp3\nsub/tief/../tief/d.mp3\nD:\\c.mp3";
    const QString liste = baum.Datei("listen/x.m3u", text);

    PlaylistLesen(index, liste, true, true);
    EXPECT_EQ(IndexPfade(index), QStringList({a, b, c, d}));
    EXPECT_EQ(this->liste.markiert, std::vector<qint32>{4});
    EXPECT_EQ(status.Text(), "4 Datei(en) hinzugefügt");

    // Without refresh: nothing refreshed, the status still given.
    PlaylistLesen(index, liste, false, false);
    EXPECT_EQ(index.lngIndexAnzahl, 4);
    EXPECT_EQ(this->liste.aktualisiert, 1);
    EXPECT_EQ(status.Text(), "0 Datei(en) hinzugefügt");
}

TEST_F(PlaylistTest, Utf8UndWindows1252)
{
    const QString träume = baum.Datei("Träume €.mp3");
    const QString japanisch = baum.Datei("桜.mp3");
    QByteArray cp1252 = Cp1252Kodieren(u"Träume €.mp3");
    ASSERT_EQ(cp1252.size(), 12);
    PlaylistLesen(index, baum.Datei("alt.m3u", cp1252 + "\r\n"), false, false);
    EXPECT_EQ(IndexPfade(index), QStringList({träume}));

    PlaylistLesen(index, baum.Datei("neu.m3u", "\xEF\xBB\xBF" + QString("桜.mp3\nTräume €.mp3\n").toUtf8()), false,
                  false);
    EXPECT_EQ(IndexPfade(index), QStringList({träume, japanisch})) << "BOM skipped; the second is a duplicate";
}

TEST_F(PlaylistTest, PlsDateiZeilenUndKaputteListen)
{
    const QString a = baum.Datei("a.mp3");
    const QString b = baum.Datei("b.mp3");
    PlaylistLesen(index, baum.Datei("x.pls", "[playlist]\nFile1=a.mp3\nTitle1=A\nFile2=" + b.toUtf8()
                                                 + "\nNumberOfEntries=2\nVersion=2\n"),
                  false, false);
    EXPECT_EQ(IndexPfade(index), QStringList({a, b}));

    // Binary junk, an empty file, a missing file, a folder: nothing added, no crash.
    QByteArray müll(4096, '\0');
    for (int i = 0; i < müll.size(); ++i)
        müll[i] = char((i * 37) & 0xFF);
    PlaylistLesen(index, baum.Datei("müll.m3u", müll), false, false);
    PlaylistLesen(index, baum.Datei("leer.m3u", QByteArray()), false, false);
    PlaylistLesen(index, baum.Pfad("fehlt.m3u"), false, false);
    PlaylistLesen(index, baum.Pfad(), false, false);
    EXPECT_EQ(index.lngIndexAnzahl, 2);
    EXPECT_EQ(status.Text(), "0 Datei(en) hinzugefügt");
}

TEST_F(PlaylistTest, DateiAdressenAlsLokalePfade)
{
    const QString a = baum.Datei("mit blank/ä b.mp3");
    const QString b = baum.Datei("c%d.mp3");
    const QString c = baum.Datei("pls.mp3");
    const QByteArray text = "#EXTM3U\n" + QUrl::fromLocalFile(a).toEncoded() + "\r\nFILE://localhost"
        + QUrl::fromLocalFile(b).toEncoded(QUrl::FullyEncoded).mid(7) + "\nfile://anderer-rechner/" + a.toUtf8()
        + "\nfile:///gibt/es/nicht.mp3\n";
    PlaylistLesen(index, baum.Datei("x.m3u", text), false, false);
    EXPECT_EQ(IndexPfade(index), QStringList({a, b})) << "percent-decoded; another host is no local file";
    EXPECT_EQ(status.Text(), "2 Datei(en) hinzugefügt");

    PlaylistLesen(index, baum.Datei("y.pls", "[playlist]\nFile1=" + QUrl::fromLocalFile(c).toEncoded() + "\n"), false,
                  false);
    EXPECT_EQ(IndexPfade(index), QStringList({a, b, c}));
}
