// Hostile files in the library: special files as playlists and as copy or
// move sources, names that are no valid text in a folder add, and a target
// that appears between the move's test and its rename.

#include "BibliothekTesthilfe.h"

#include "library/Hinzufuegen.h"
#include "library/Verschieben.h"
#include "support/Sonderdateien.h"

#include <unistd.h>

using namespace testhilfe;

namespace {

class SonderdateienTest : public ::testing::Test {
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
    }
    void TearDown() override
    {
        VorDemUmbenennenSetzen({});
        IndexStimmig(index);
    }

    // A file whose name holds bytes that are no UTF-8 (Latin-1 "ä").
    QString RoheDatei(const QByteArray& ordner, const QByteArray& name)
    {
        const QByteArray pfad = QFile::encodeName(baum.Pfad()) + "/" + ordner;
        ::mkdir(pfad.constData(), 0755);
        const QByteArray voll = pfad + "/" + name;
        const int fd = ::open(voll.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        EXPECT_GE(fd, 0) << voll.constData();
        const QByteArray mp3 = KleineMp3();
        EXPECT_EQ(::write(fd, mp3.constData(), size_t(mp3.size())), mp3.size());
        ::close(fd);
        return QFile::decodeName(voll);
    }
};

} // namespace

// A FIFO among the files, named in a playlist, or as the playlist itself:
// nothing waits on it, nothing is added for it, the rest goes on.
TEST_F(SonderdateienTest, FifoWirdNirgendsGeöffnet)
{
    const QString gut = baum.Datei("gut.mp3");
    FifoWächter fifo(baum.Pfad("pipe.mp3"));
    ASSERT_TRUE(fifo.Angelegt());
    FifoWächter liste(baum.Pfad("liste.m3u"));
    ASSERT_TRUE(liste.Angelegt());

    PlaylistLesen(index, baum.Pfad("liste.m3u"), false, false);
    EXPECT_EQ(index.lngIndexAnzahl, 0);
    EXPECT_EQ(status.Text(), "0 Datei(en) hinzugefügt");

    PlaylistLesen(index, baum.Datei("echt.m3u", "pipe.mp3\ngut.mp3\n"), false, false);
    EXPECT_EQ(IndexPfade(index), QStringList{gut});

    QString ordner = baum.Pfad();
    index = Index();
    TypenSetzen(index);
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, true, 1, false, QString(), false, false));
    EXPECT_EQ(IndexPfade(index), QStringList{gut});

    index = Index();
    TypenSetzen(index);
    EXPECT_TRUE(EinfachDateiHinzufügen(index, {baum.Pfad("pipe.mp3"), gut}, false, false, false));
    EXPECT_EQ(IndexPfade(index), QStringList{gut});

    EXPECT_FALSE(fifo.Geöffnet()) << "a FIFO was opened and would have blocked";
    EXPECT_FALSE(liste.Geöffnet()) << "the playlist FIFO was opened and would have blocked";
}

// A FIFO as the source of a copy or a move: refused with the source message,
// never opened, and the target never made.
TEST_F(SonderdateienTest, FifoAlsQuelleWirdAbgelehnt)
{
    FifoWächter fifo(baum.Pfad("pipe.mp3"));
    ASSERT_TRUE(fifo.Angelegt());
    for (int modus : {0, 1}) {
        QString ziel = baum.Pfad("ziel/kopie.mp3");
        QString meldung;
        int m = modus;
        EXPECT_FALSE(DateiVerschieben(baum.Pfad("pipe.mp3"), ziel, m, meldung)) << modus;
        EXPECT_TRUE(meldung.contains("(Quelldatei) kann nicht verschoben oder umbenannt werden")) << meldung.toStdString();
        EXPECT_FALSE(QFileInfo::exists(baum.Pfad("ziel/kopie.mp3")));
    }
    EXPECT_TRUE(QFileInfo(baum.Pfad("pipe.mp3")).exists()) << "the FIFO itself stays";
    EXPECT_FALSE(fifo.Geöffnet());
}

// A target that appears after the move looked for it is never overwritten:
// the rename itself refuses an existing name, for a move and for a copy.
TEST_F(SonderdateienTest, ZielDasNachDerPrüfungEntstehtBleibt)
{
    for (int modus : {1, 0}) {
        SCOPED_TRACE(modus);
        const QString quelle = baum.Datei(QString("q%1.mp3").arg(modus), "quelle");
        const QString zielPfad = baum.Pfad(QString("z%1.mp3").arg(modus));
        VorDemUmbenennenSetzen([&] {
            if (!QFileInfo::exists(zielPfad))
                baum.Datei(QString("z%1.mp3").arg(modus), "fremd");
        });
        QString ziel = zielPfad;
        QString meldung;
        int m = modus;
        EXPECT_FALSE(DateiVerschieben(quelle, ziel, m, meldung));
        VorDemUmbenennenSetzen({});
        EXPECT_EQ(Lesen(zielPfad), "fremd") << "the file that appeared was overwritten";
        EXPECT_EQ(Lesen(quelle), "quelle");
        EXPECT_FALSE(meldung.isEmpty());
        EXPECT_TRUE(QDir(baum.Pfad()).entryList({"*-neu*"}, QDir::Files).isEmpty());
    }
}

// Names that are no valid text cannot be stored in the index file: the add
// passes them over and its result says how many (also those in a folder whose
// own name is such), never reporting them as nothing.
TEST_F(SonderdateienTest, UngültigeNamenWerdenGezähltUndGemeldet)
{
    const QString gut = baum.Datei("gut.mp3");
    RoheDatei("", "schlecht-\xE4.mp3");
    RoheDatei("", "nicht-verwaltet-\xE4.xyz");
    RoheDatei("ordner-\xFC", "a.mp3");
    RoheDatei("ordner-\xFC", "b-\xE4.mp3");

    QStringList gefunden, übergangen;
    QString ordner = baum.Pfad();
    ASSERT_TRUE(DateienSuchenAPI(ordner, {QString()}, 1, false, gefunden, QString(), &übergangen));
    EXPECT_EQ(gefunden, QStringList{gut});
    EXPECT_EQ(übergangen.size(), 4);

    ordner = baum.Pfad();
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, true, 1, false, QString(), false, false));
    EXPECT_EQ(IndexPfade(index), QStringList{gut});
    EXPECT_EQ(status.Text(), "1 Datei(en) hinzugefügt, 3 Datei(en) mit ungültigem Dateinamen übergangen");

    // Without sub-folders only the folder's own file counts.
    index = Index();
    TypenSetzen(index);
    ordner = baum.Pfad();
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, true, 0, false, QString(), false, false));
    EXPECT_EQ(status.Text(), "1 Datei(en) hinzugefügt, 1 Datei(en) mit ungültigem Dateinamen übergangen");

    // A drop of the folder says it as well.
    index = Index();
    TypenSetzen(index);
    DragDropVerarbeiten(index, {baum.Pfad()});
    EXPECT_EQ(status.Text(), "1 Datei(en) hinzugefügt, 3 Datei(en) mit ungültigem Dateinamen übergangen");

    // All valid: the usual text.
    QTemporaryDir sauber;
    QFile f(sauber.filePath("x.mp3"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(KleineMp3());
    f.close();
    index = Index();
    TypenSetzen(index);
    ordner = sauber.path();
    EXPECT_TRUE(EinfachOrdnerHinzufügen(index, ordner, true, 1, false, QString(), false, false));
    EXPECT_EQ(status.Text(), "1 Datei(en) hinzugefügt");
}
