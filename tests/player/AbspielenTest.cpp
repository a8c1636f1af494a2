#include "SpielerTestHilfen.h"

#include "core/Funktionen.h"
#include "player/Abspielen.h"
#include "player/frmAusfuehrenMit.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QUrl>

namespace {

class AbspielenTest : public SpielerTest {
protected:
    Index idx;
    std::vector<QUrl> geöffnet;
    std::vector<QString> bilder;
    QByteArray altesCache;

    void SetUp() override
    {
        SpielerTest::SetUp();
        altesCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", ordner.filePath("cache").toUtf8());
        DienstSetzen<Shell::UrlÖffnerDienst>([this](const QUrl& u) {
            geöffnet.push_back(u);
            return true;
        });
        DienstSetzen<BildAnzeigeDienst>([this](const QString& p) {
            bilder.push_back(p);
            return true;
        });
        idx.strDateiTypen = {"mp3=1", "ogg=0", "jpg=1", "*=1"};
        idx.strDateiTypArten = {"110", "010", "001", "000"};
        idx.intDateiTypenLeer = 0;
        // The player shows up on the bus once it was started.
        spieler.beimStart = [this] { spieler.dienste = {kDienst}; };
    }
    void TearDown() override
    {
        DienstSetzen<BildAnzeigeDienst>(nullptr);
        DienstSetzen<Shell::UrlÖffnerDienst>(nullptr);
        qputenv("XDG_CACHE_HOME", altesCache);
        SpielerTest::TearDown();
    }

    // An entry for a file that exists.
    qint32 datei(const QString& name, qint32 dauer = 180, const QString& interpret = "Artist",
                 const QString& titel = "Song")
    {
        const QString pfad = ordner.filePath(name);
        QDir().mkpath(QFileInfo(pfad).absolutePath());
        QFile f(pfad);
        f.open(QIODevice::WriteOnly);
        f.close();
        MedienInfo m = TagInfo(interpret, titel);
        m.Header_Dauer = dauer;
        return idx.EintragAnhängen(pfad, m);
    }
    QString pfad(qint32 e) const { return idx.strIndexPfad[size_t(e)]; }
    qint32 plays(qint32 e) const { return idx.IndexDaten[size_t(e)].Datei_AngefordertAnzahl; }
    QStringList playlistZeilen(size_t start) const
    {
        return QString::fromUtf8(spieler.starts.at(start).playlist).split('\n', Qt::SkipEmptyParts);
    }
};

TEST_F(AbspielenTest, SpielenStartetDieErsteSofortUndHängtDieAnderenAn)
{
    const qint32 a = datei("a.mp3"), b = datei("b.mp3", 0), c = datei("c.mp3");
    EXPECT_TRUE(AbspielenMediaPlayer(idx, {a, b, c}, false, false, false, ""));

    ASSERT_EQ(spieler.starts.size(), 2u);
    // The first goes to the player to be played at once, then is played.
    EXPECT_EQ(spieler.starts[0].programm, spielerPfad);
    ASSERT_EQ(spieler.starts[0].argumente.size(), 1);
    EXPECT_EQ(playlistZeilen(0), QStringList({"#EXTM3U", "#EXTINF:180,Artist - Song", pfad(a)}));
    EXPECT_EQ(spieler.methoden(), QStringList({"Play"}));
    // The others in one further hand-over, enqueued; duration 0 gets no #EXTINF.
    EXPECT_EQ(spieler.starts[1].argumente.first(), "-e");
    EXPECT_EQ(playlistZeilen(1), QStringList({"#EXTM3U", pfad(b), "#EXTINF:180,Artist - Song", pfad(c)}));

    // Each hand-over has its own file in the cache folder.
    const QString f0 = spieler.starts[0].argumente.last(), f1 = spieler.starts[1].argumente.last();
    EXPECT_NE(f0, f1);
    EXPECT_EQ(QFileInfo(f0).absolutePath(), QDir(PlaylistOrdner()).absolutePath());
    EXPECT_TRUE(PlaylistOrdner().startsWith(ordner.filePath("cache")));
    EXPECT_TRUE(f0.endsWith(".m3u"));
    EXPECT_EQ(statusText(), "Dateien in Playlist bei 'audacious'");

    // A controlled player counts its plays itself.
    EXPECT_EQ(plays(a) + plays(b) + plays(c), 0);
    EXPECT_FALSE(idx.bolIndexGeändert);
}

TEST_F(AbspielenTest, AnhängenGibtAlleInEinerPlaylistOhneSpielbefehl)
{
    const qint32 a = datei("a.mp3"), b = datei("b.ogg", 10, "", "");
    einstellungen().PlaylistFürWinamp = 1;
    EXPECT_TRUE(AbspielenMediaPlayer(idx, {0, a, 99, b, -3}, true, false, true, ""));
    ASSERT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(spieler.starts[0].argumente, QStringList({"-e", spieler.starts[0].argumente.last()}));
    // No ID3v1 tag: only its path.
    EXPECT_EQ(playlistZeilen(0), QStringList({"#EXTM3U", "#EXTINF:180,Artist - Song", pfad(a), pfad(b)}));
    EXPECT_TRUE(spieler.aufrufe.empty());
}

TEST_F(AbspielenTest, EinfachePlaylistUndEigeneParameter)
{
    const qint32 a = datei("a.mp3");
    einstellungen().PlaylistFürWinamp = 0;
    einstellungen().WinampParameterHinzufügen = "";
    AbspielenMediaPlayer(idx, {a}, true, false, false, "");
    einstellungen().WinampParameterHinzufügen = "--enqueue --quiet";
    einstellungen().WinampParameterAbspielen = "-p";
    AbspielenMediaPlayer(idx, {a}, true, false, false, "");
    AbspielenMediaPlayer(idx, {a}, false, false, false, "");
    ASSERT_EQ(spieler.starts.size(), 3u);
    EXPECT_EQ(spieler.starts[0].argumente.size(), 1);
    EXPECT_EQ(playlistZeilen(0), QStringList({pfad(a)}));
    EXPECT_EQ(spieler.starts[1].argumente.mid(0, 2), QStringList({"--enqueue", "--quiet"}));
    EXPECT_EQ(spieler.starts[2].argumente.first(), "-p");
}

TEST_F(AbspielenTest, AndererSpielerZähltJedeÜbergebeneDatei)
{
    const QString mpv = ordner.filePath("mpv");
    QFile(mpv).open(QIODevice::WriteOnly);
    einstellungen().WinampPfad = mpv;
    const qint32 a = datei("a.mp3"), b = datei("b.mp3"), bild = datei("c.jpg");
    const QDateTime vorher = QDateTime::currentDateTime().addSecs(-1);
    EXPECT_TRUE(AbspielenMediaPlayer(idx, {a, b, bild}, false, false, false, ""));
    EXPECT_EQ(plays(a), 1);
    EXPECT_EQ(plays(b), 1);
    EXPECT_EQ(plays(bild), 0);
    EXPECT_TRUE(idx.bolIndexGeändert);
    const QDateTime gespielt =
        QDateTime::fromString(idx.IndexDaten[size_t(a)].Datei_AngefordertGespieltAm, "dd.MM.yyyy hh:mm:ss");
    EXPECT_GE(gespielt, vorher);
    // Not a player that speaks MPRIS: no waiting, no commands.
    EXPECT_TRUE(spieler.aufrufe.empty());

    einstellungen().AbspielStatistikSpeichern = 0;
    AbspielenMediaPlayer(idx, {a}, true, false, false, "");
    EXPECT_EQ(plays(a), 1);
}

TEST_F(AbspielenTest, NichtSchreibbarePlaylistHältAnUndZähltNichts)
{
    einstellungen().WinampPfad = ordner.filePath("mpv");
    QFile(einstellungen().WinampPfad).open(QIODevice::WriteOnly);
    const qint32 a = datei("a.mp3"), b = datei("b.mp3");
    // The cache folder cannot be made: a file stands in its way.
    QFile(ordner.filePath("hindernis")).open(QIODevice::WriteOnly);
    qputenv("XDG_CACHE_HOME", ordner.filePath("hindernis/cache").toUtf8());
    EXPECT_FALSE(AbspielenMediaPlayer(idx, {a, b}, false, false, false, ""));
    EXPECT_TRUE(spieler.starts.empty());
    EXPECT_EQ(plays(a) + plays(b), 0);
    EXPECT_FALSE(idx.bolIndexGeändert);
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_EQ(meldungen[0].symbol, Symbol::Ausruf);
    EXPECT_TRUE(meldungen[0].text.startsWith("Eine Datei konnte nicht angezeigt werden.\n"));
    EXPECT_TRUE(meldungen[0].text.endsWith(" (Fehler: 75)."));
}

TEST_F(AbspielenTest, FehlgeschlagenerStartIstEinFehlschlag)
{
    einstellungen().WinampPfad = ordner.filePath("mpv");
    QFile(einstellungen().WinampPfad).open(QIODevice::WriteOnly);
    const qint32 a = datei("a.mp3"), b = datei("b.mp3");
    spieler.startGelingt = false;
    EXPECT_FALSE(AbspielenMediaPlayer(idx, {a, b}, false, false, false, ""));
    EXPECT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(plays(a) + plays(b), 0);
    EXPECT_EQ(statusText(), "");
    EXPECT_FALSE(QFile::exists(spieler.starts[0].argumente.last()));

    spieler.starts.clear();
    EXPECT_FALSE(AbspielenMediaPlayer(idx, {a, b}, true, false, false, ""));
    EXPECT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(plays(a) + plays(b), 0);
}

TEST_F(AbspielenTest, FehlenderSpielerWirdGemeldet)
{
    einstellungen().WinampPfad = ordner.filePath("gibtsnicht/audacious");
    const qint32 a = datei("a.mp3");
    EXPECT_FALSE(AbspielenMediaPlayer(idx, {a}, true, false, false, ""));
    EXPECT_TRUE(spieler.starts.empty());
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_TRUE(meldungen[0].text.startsWith("Sie benötigen einen Audioplayer für diese Funktion.\n"));
    EXPECT_EQ(meldungen[0].symbol, Symbol::Information);
}

TEST_F(AbspielenTest, FehlendeDateienUndFremdeFormate)
{
    const qint32 a = datei("a.mp3");
    const qint32 weg = idx.EintragAnhängen(ordner.filePath("weg.mp3"), MedienInfo());
    const qint32 text1 = datei("liesmich.txt"), text2 = datei("notiz.txt");
    antworten = {Antwort::Ja, Antwort::Nein};
    EXPECT_TRUE(AbspielenMediaPlayer(idx, {weg, text1, text2, a}, true, false, false, ""));
    ASSERT_EQ(meldungen.size(), 2u);
    EXPECT_EQ(meldungen[0].text, "Das Dateiformat der Datei '" + pfad(text1)
                                     + "' wird z.Zt. nicht unterstützt.\n"
                                       "Möchten Sie die Datei mit dem Standard-Programm anzeigen?");
    EXPECT_EQ(meldungen[0].knöpfe, Knöpfe::JaNein);
    ASSERT_EQ(geöffnet.size(), 1u);
    EXPECT_EQ(geöffnet[0].toLocalFile(), pfad(text1));
    ASSERT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(playlistZeilen(0).last(), pfad(a));
    EXPECT_EQ(playlistZeilen(0).size(), 3);
}

TEST_F(AbspielenTest, AusführenMitGibtJedeDateiAlsEigenesArgument)
{
    const qint32 a = datei("mit \"Anführung\" und 'Strich'.mp3"), b = datei("b.jpg");
    const QString programm = ordner.filePath("betrachter");
    EXPECT_TRUE(AbspielenMediaPlayer(idx, {a, b}, false, true, false, programm));
    ASSERT_EQ(spieler.starts.size(), 2u);
    EXPECT_EQ(spieler.starts[0].programm, programm);
    EXPECT_EQ(spieler.starts[0].argumente, QStringList({pfad(a)}));
    EXPECT_EQ(spieler.starts[1].argumente, QStringList({pfad(b)}));
    EXPECT_TRUE(bilder.empty());

    spieler.starts.clear();
    AbspielenMediaPlayer(idx, {a}, false, true, false, "");
    EXPECT_TRUE(spieler.starts.empty());
    ASSERT_EQ(geöffnet.size(), 1u);
    EXPECT_EQ(geöffnet[0].toLocalFile(), pfad(a));
}

TEST_F(AbspielenTest, NurDasLetzteBildWirdGezeigt)
{
    const qint32 b1 = datei("1.jpg"), a = datei("a.mp3"), b2 = datei("2.jpg");
    AbspielenMediaPlayer(idx, {b1, a, b2}, false, false, false, "");
    EXPECT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(bilder, std::vector<QString>({pfad(b2)}));
}

TEST_F(AbspielenTest, ZeilenumbrücheBrechenKeinePlaylistzeile)
{
    const qint32 a = datei("zwei\nzeilen.mp3", 60, "Art\rist", "Ti\ntel");
    AbspielenMediaPlayer(idx, {a}, true, false, false, "");
    ASSERT_EQ(spieler.starts.size(), 1u);
    const QStringList z = playlistZeilen(0);
    ASSERT_EQ(z.size(), 3);
    EXPECT_EQ(z[1], "#EXTINF:60,Artist - Titel");
    EXPECT_EQ(QUrl(z[2]).toLocalFile(), pfad(a));
}

TEST_F(AbspielenTest, AltePlaylistsWerdenAufgeräumt)
{
    // One cache folder of the program's own name, not a folder within it.
    EXPECT_EQ(QDir(PlaylistOrdner()).absolutePath(), QDir(ordner.filePath("cache/Kalvero")).absolutePath());
    const qint32 a = datei("a.mp3");
    // A file of an earlier run, and one older still.
    QDir().mkpath(PlaylistOrdner());
    const QString frühere = PlaylistOrdner() + "/" + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    for (int tage : {3, 2}) {
        QFile f(frühere + QStringLiteral("-alt%1.m3u").arg(tage));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setFileTime(QDateTime::currentDateTime().addDays(-tage), QFileDevice::FileModificationTime);
    }
    const QString fremd = PlaylistOrdner() + "/fremd.txt";
    QFile(fremd).open(QIODevice::WriteOnly);

    AbspielenMediaPlayer(idx, {a}, true, false, false, "");
    EXPECT_FALSE(QFile::exists(frühere + "-alt3.m3u"));
    EXPECT_TRUE(QFile::exists(frühere + "-alt2.m3u")) << "the last hand-over before this one";
    AbspielenMediaPlayer(idx, {a}, true, false, false, "");
    EXPECT_FALSE(QFile::exists(frühere + "-alt2.m3u"));
    const QString erste = spieler.starts[0].argumente.last(), zweite = spieler.starts[1].argumente.last();
    EXPECT_TRUE(QFile::exists(erste)) << "the player may still read the last hand-over's file";
    AbspielenMediaPlayer(idx, {a}, true, false, false, "");
    EXPECT_FALSE(QFile::exists(erste));
    EXPECT_TRUE(QFile::exists(zweite));
    const QString dritte = spieler.starts[2].argumente.last();

    // At the end only the last hand-over's file stays; other files are not ours.
    AltePlaylistsEntfernen();
    EXPECT_FALSE(QFile::exists(zweite));
    EXPECT_TRUE(QFile::exists(dritte));
    EXPECT_TRUE(QFile::exists(fremd));
}

} // namespace

namespace {

TEST_F(AbspielenTest, AusführenMitFenster)
{
    const qint32 a = datei("a.mp3");
    const Index gesichert = hauptIndex();
    hauptIndex() = idx;
    const QString programm = ordner.filePath("betrachter");
    QFile(programm).open(QIODevice::WriteOnly);

    frmAusführenMit f({a});
    f.dateiWählen = [](QWidget*) { return QString(); };
    f.txtSuche->setText("vorher");
    f.cmdProgrammSuchen_Click(); // cancelled: unchanged, no message
    EXPECT_EQ(f.txtSuche->text(), "vorher");

    f.txtSuche->clear();
    f.cmdOk_Click();
    f.txtSuche->setText(ordner.filePath("fehlt"));
    f.cmdOk_Click();
    ASSERT_EQ(meldungen.size(), 2u);
    EXPECT_EQ(meldungen[0].text, "Bitte geben Sie ein Programm an.");
    EXPECT_EQ(meldungen[1].text, "Die angegebene Datei '" + ordner.filePath("fehlt") + "' existiert nicht.");
    EXPECT_TRUE(spieler.starts.empty());

    f.dateiWählen = [&](QWidget*) { return programm; };
    f.cmdProgrammSuchen_Click();
    f.cmdOk_Click();
    EXPECT_EQ(einstellungen().AusführenPfad, programm);
    ASSERT_EQ(spieler.starts.size(), 1u);
    EXPECT_EQ(spieler.starts[0].programm, programm);
    EXPECT_EQ(spieler.starts[0].argumente, QStringList({pfad(a)}));
    EXPECT_EQ(f.result(), QDialog::Accepted);
    hauptIndex() = gesichert;
}

} // namespace
