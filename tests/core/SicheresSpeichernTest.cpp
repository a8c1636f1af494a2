// The index file against hostile files and failing disks: special files as
// index files, file names with line breaks, a left-over temporary file taken
// over, and the faults of the saving path that only a real failure shows
// (fsync, rename); the bits of a rewritten file whose group cannot be kept.

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/IndexDatei.h"
#include "core/IndexZeile.h"
#include "core/Meldungen.h"
#include "core/SichereDatei.h"
#include "core/Standardwerte.h"
#include "support/Mp3Bauer.h"
#include "support/NormalerBenutzer.h"
#include "support/Sonderdateien.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

class SicheresSpeichernTest : public ::testing::Test {
protected:
    QTemporaryDir ordner;
    QString datei;
    QStringList meldungen;
    QList<Antwort> antworten;
    DienstErsetzen<MeldungsDienst> meldungsDienst{[this](const Meldung& m) {
        meldungen << m.text;
        if (m.knöpfe == Knöpfe::OK)
            return Antwort::OK;
        if (antworten.isEmpty()) {
            ADD_FAILURE() << "unexpected question: " << m.text.toStdString();
            return Antwort::Nein;
        }
        return antworten.takeFirst();
    }};

    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        datei = ordner.filePath("Test.kvx");
        einstellungen() = StandardEinstellungen();
        IndexDateiSperreWartezeitSetzen(50);
    }
    void TearDown() override
    {
        SichereDatei::FehlerBeimSynchronisieren(false);
        IndexDateiSperreWartezeitSetzen(4500);
    }
};

} // namespace

// A FIFO, a socket or a device named as the index file: the load says it
// cannot read it (never waits on it, never takes it for an empty index), and
// since nothing was loaded nothing is ever saved over it.
TEST_F(SicheresSpeichernTest, SonderdateiAlsIndexdateiWirdAbgelehnt)
{
    const QString fifo = ordner.filePath("fifo.kvx");
    FifoWächter wächter(fifo);
    ASSERT_TRUE(wächter.Angelegt());
    const QString socket = ordner.filePath("sock.kvx");
    const int sfd = SocketAnlegen(socket);
    ASSERT_GE(sfd, 0);
    // Devices through links in a folder of our own: a name the user may give.
    const QString null = ordner.filePath("null.kvx");
    const QString zero = ordner.filePath("zero.kvx");
    ASSERT_EQ(::symlink("/dev/null", QFile::encodeName(null).constData()), 0);
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(zero).constData()), 0);

    for (const QString& pfad : {fifo, socket, null, zero}) {
        SCOPED_TRACE(pfad.toStdString());
        meldungen.clear();
        Index idx;
        EXPECT_FALSE(DateiLaden(idx, pfad));
        EXPECT_FALSE(idx.bolIndexGeladen);
        EXPECT_EQ(idx.lngIndexAnzahl, 0);
        ASSERT_EQ(meldungen.size(), 1);
        EXPECT_TRUE(meldungen[0].startsWith("Die Indexdatei '" + pfad + "' konnte nicht gelesen werden.\n"))
            << meldungen[0].toStdString();
        idx.bolIndexGeändert = true;
        EXPECT_FALSE(DateiSpeichern(idx, pfad, false));
    }
    EXPECT_FALSE(wächter.Geöffnet()) << "the FIFO was opened and would have blocked";
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(QFileInfo(null).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(fifo + "~"));
    ::close(sfd);
}

// A CR in a file name stays a CR (only tag texts have CR turned into LF), also
// where the name holds a whole CR LF or ends in CR before a text that starts
// with LF: every entry is found again at its own path.
TEST_F(SicheresSpeichernTest, ZeilenumbruchImPfadBleibtByteFürByte)
{
    Index idx;
    idx.bolIndexGeladen = true;
    const QStringList pfade = {"/m/a\rb.mp3", "/m/x\r\ny.mp3", "/m/ende\r", "/m/\r\n#TAG:1/1|zz", "/m/normal.mp3"};
    for (const QString& p : pfade) {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Titel = "T\r1";
        m.Datei_HinzugefügtAm = "01.02.2003";
        if (p.endsWith('\r'))
            m.Mp3_ID3v1_Kommentar = "\nzweite Zeile"; // right behind the path in the line
        idx.EintragAnhängen(p, m);
    }
    ASSERT_TRUE(DateiSpeichern(idx, datei, false));
    const QByteArray bytes = lesen(datei);
    EXPECT_TRUE(bytes.contains("/m/a\rb.mp3")) << "the CR itself is written";

    Index neu;
    ASSERT_TRUE(DateiLaden(neu, datei));
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join("|").toStdString();
    ASSERT_EQ(neu.lngIndexAnzahl, pfade.size());
    for (int i = 0; i < pfade.size(); ++i) {
        EXPECT_EQ(neu.strIndexPfad[size_t(i + 1)], pfade[i]) << i;
        EXPECT_EQ(neu.IndexDaten[size_t(i + 1)].Mp3_ID3v1_Titel, "T\n1") << "tag texts follow the line rule";
    }
    EXPECT_EQ(neu.IndexDaten[3].Mp3_ID3v1_Kommentar, "\nzweite Zeile");

    // Saved again: the same bytes.
    ASSERT_TRUE(DateiSpeichern(neu, datei, false));
    EXPECT_EQ(lesen(datei), bytes);
}

// The line splitting by lengths never swallows a following line when the
// lengths lie (a hand-edited file), never reads outside the text, and ends
// an entry line at whatever line end follows its values.
TEST_F(SicheresSpeichernTest, LängenFindenDasZeilenende)
{
    using Zeilen = std::vector<QByteArray>;
    const std::pair<QByteArray, Zeilen> fälle[] = {
        {"#TAG:4/1|a\r\nbc\r\n#TAG:1/1|de\r\n", {"#TAG:4/1|a\r\nbc", "#TAG:1/1|de"}}, // values past a CR LF
        {"#TAG:4/1|a\r\nbc", {"#TAG:4/1|a\r\nbc"}},                                 // the text ends right there
        {"#TAG:1/1|ab\r\n", {"#TAG:1/1|ab"}},
        {"#TAG:3/1|a\r\nbcd\r\n", {"#TAG:3/1|a", "bcd"}},          // no line end where the lengths end
        {"#TAG:99999999999999999999/1|a\r\nb\r\n", {"#TAG:99999999999999999999/1|a", "b"}},
        {"#TAG:9223372036854775807/9223372036854775807|a\r\nb", {"#TAG:9223372036854775807/9223372036854775807|a", "b"}},
        {"#TAG: 1 / 1 |ab\n#TAG:1/1|cd\r\n", {"#TAG: 1 / 1 |ab", "#TAG:1/1|cd"}}, // lengths written otherwise
        {"#OPT:SPALTEN=1\r\n#TAG:1/1|ab\r\n", {"#OPT:SPALTEN=1", "#TAG:1/1|ab"}},
        // Whatever the other lines use: LF after CR LF lines, CR LF after LF lines, CR.
        {"#TAG:1/1|ab\r\n#TAG:1/1|cd\n#TAG:1/1|ef\n", {"#TAG:1/1|ab", "#TAG:1/1|cd", "#TAG:1/1|ef"}},
        {"#TAG:1/1|ab\n#TAG:1/1|cd\r\n#TAG:1/1|ef\n", {"#TAG:1/1|ab", "#TAG:1/1|cd", "#TAG:1/1|ef"}},
        {"#TAG:1/1|ab\r#TAG:1/1|cd\r\n", {"#TAG:1/1|ab", "#TAG:1/1|cd"}},
        // A line break inside a value's length stays in the value.
        {"#TAG:1/3|a\nb\n\r\n#TAG:1/1|cd\n", {"#TAG:1/3|a\nb\n", "#TAG:1/1|cd"}},
        {"#TAG:1/3|a\nb\nc\r\n", {"#TAG:1/3|a\nb\nc"}},
        {"#TAG:1/4|a\r\nbc\n#TAG:1/1|de", {"#TAG:1/4|a\r\nbc", "#TAG:1/1|de"}},
        // Other lines end at the file's line end, or at a lone LF before a line of the format.
        {"#OPT:SPALTEN=a\nb\r\n#TAG:1/1|ab", {"#OPT:SPALTEN=a\nb", "#TAG:1/1|ab"}},
        {"#OPT:SPALTEN_GITTER=1\n#TAG:1/1|ab\r\n", {"#OPT:SPALTEN_GITTER=1", "#TAG:1/1|ab"}},
        {"#OPT:KODIERUNG=UTF-8\n#OPT:SPALTEN=1\r\n", {"#OPT:KODIERUNG=UTF-8", "#OPT:SPALTEN=1"}},
        {"\r\n\n\r\n#TAG:/|\r\n", {"\n", "#TAG:/|"}},
    };
    for (const auto& [text, erwartet] : fälle) {
        Zeilen zeilen;
        for (const QByteArrayView& z : ZeilenTeilen(text))
            zeilen.push_back(z.toByteArray());
        EXPECT_EQ(zeilen, erwartet) << text.toStdString();
    }
}

// A text too long to be given room for three bytes per character is measured
// first: the measure must fit what is written exactly (pairs, lone halves,
// CR), or the writer runs past its room.
TEST(Utf8Schreiben, LangerTextWieKurzeStücke)
{
    const QString stück = QString::fromUtf8("aä€😀\r") + QChar(0xD800) + QStringLiteral("x") + QChar(0xDC00);
    QString lang;
    std::string erwartet = "#";
    for (int i = 0; i < 20000; ++i) {
        lang += stück;
        Utf8Anhängen(erwartet, stück);
    }
    ASSERT_GT(lang.size(), 64 * 1024);
    std::string aus = "#";
    Utf8Anhängen(aus, lang);
    EXPECT_EQ(aus, erwartet);
    EXPECT_EQ(aus.size(), 1 + 20000 * size_t(1 + 2 + 3 + 4 + 1 + 3 + 1 + 3));
    aus.push_back('|');
    EXPECT_LT(aus.capacity(), 2 * aus.size()) << "the next small append does not double the buffer";
    std::string roh;
    Utf8Anhängen(roh, lang, false);
    EXPECT_EQ(std::count(roh.begin(), roh.end(), '\r'), 20000) << "a path keeps its CR";
}

// The index file is gone and only the "~" file is there: the question says
// that it may be a save cut short before it is taken over.
TEST_F(SicheresSpeichernTest, ÜbernahmeDerTempDateiSagtDassSieUnvollständigSeinKann)
{
    Mp3Bauer::DateiSchreiben(ordner, "Test.kvx~", "#TAG:kv102\r\n#TAG:1/1|cd\r\n");
    antworten = {Antwort::Nein};
    Index idx;
    EXPECT_FALSE(DateiLaden(idx, datei));
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_EQ(meldungen[0],
              "Kalvero wurde entweder nicht korrekt beendet oder speichert gerade Ihre Indexdatei.\n"
              "Die Indexdatei '" + datei + "' fehlt, es gibt nur die temporäre Datei '" + datei
                  + "~'. Diese stammt möglicherweise von einem abgebrochenen Speicher-Vorgang und könnte "
                    "unvollständig sein.\n\n"
                    "Möchten Sie die temporäre Datei als Indexdatei übernehmen und den Ladevorgang fortsetzen?");
    EXPECT_FALSE(QFileInfo::exists(datei)) << "declined: nothing taken over";
    EXPECT_TRUE(QFileInfo::exists(datei + "~"));

    meldungen.clear();
    antworten = {Antwort::Ja};
    ASSERT_TRUE(DateiLaden(idx, datei));
    EXPECT_EQ(idx.strIndexPfad[1], "c");
    EXPECT_FALSE(QFileInfo::exists(datei + "~"));

    // With the index file there, the usual question (the copy is deleted).
    Mp3Bauer::DateiSchreiben(ordner, "Test.kvx~", "x");
    meldungen.clear();
    antworten = {Antwort::Ja};
    ASSERT_TRUE(DateiLaden(idx, datei));
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].endsWith("Möchten Sie den Ladevorgang fortsetzen?"));
    EXPECT_FALSE(meldungen[0].contains("übernehmen"));
}

// The data must be on the disk before the rename: a failing fsync fails the
// save and leaves the old file (a dropped fsync lets this save succeed).
TEST_F(SicheresSpeichernTest, FsyncFehlerLässtDasOriginal)
{
    Mp3Bauer::DateiSchreiben(ordner, "Test.kvx", "alt");
    {
        SichereDatei d(datei, "~");
        ASSERT_TRUE(d.Öffnen());
        ASSERT_TRUE(d.Schreiben(QByteArray("neu")));
        SichereDatei::FehlerBeimSynchronisieren(true);
        EXPECT_FALSE(d.Fertigstellen());
        SichereDatei::FehlerBeimSynchronisieren(false);
        EXPECT_EQ(d.FehlerNummer(), EIO);
        EXPECT_FALSE(d.UmbenennenFehlgeschlagen());
    }
    EXPECT_EQ(lesen(datei), "alt");
    EXPECT_FALSE(QFileInfo::exists(datei + "~"));

    // The index writer reports it and keeps its changes.
    Index idx;
    idx.bolIndexGeladen = true;
    idx.bolIndexGeändert = true;
    idx.EintragAnhängen("/a.mp3", LeereMedienInfo());
    SichereDatei::FehlerBeimSynchronisieren(true);
    EXPECT_FALSE(DateiSpeichern(idx, datei, false));
    SichereDatei::FehlerBeimSynchronisieren(false);
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(lesen(datei), "alt");
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].startsWith("Es ist ein Fehler beim Speichern der Indexdatei aufgetreten.\n"));
    EXPECT_TRUE(meldungen[0].endsWith("Ein-/Ausgabefehler (Fehler 5)")) << meldungen[0].toStdString();
}

// A rename that really fails (the target is a folder that is not empty): the
// failure is seen, the folder and its content stay, no temporary file is left.
TEST_F(SicheresSpeichernTest, EchterUmbenennenFehlerWirdBemerkt)
{
    const QString ziel = ordner.filePath("ordner.kvx");
    ASSERT_TRUE(QDir().mkdir(ziel));
    Mp3Bauer::DateiSchreiben(ordner, "ordner.kvx/drin", "inhalt");
    {
        SichereDatei d(ziel, "~");
        ASSERT_TRUE(d.Öffnen());
        ASSERT_TRUE(d.Schreiben(QByteArray("neu")));
        EXPECT_FALSE(d.Fertigstellen());
        EXPECT_TRUE(d.UmbenennenFehlgeschlagen());
        EXPECT_NE(d.FehlerNummer(), 0);
    }
    EXPECT_TRUE(QFileInfo(ziel).isDir());
    EXPECT_EQ(lesen(ziel + "/drin"), "inhalt");
    EXPECT_FALSE(QFileInfo::exists(ziel + "~"));

    Index idx;
    idx.bolIndexGeladen = true;
    idx.bolIndexGeändert = true;
    EXPECT_FALSE(DateiSpeichern(idx, ziel, false));
    EXPECT_TRUE(idx.bolIndexGeändert);
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_EQ(meldungen[0], "Die Datei '" + ziel
                                + "' konnte nicht gespeichert werden, da die bestehende Datei nicht überschrieben werden konnte.");
    EXPECT_FALSE(QFileInfo::exists(ziel + "~"));
}

// A copy rewritten by a normal user cannot keep a group it is not in: it gets no
// group bits, and others only what the old group had too. Its own group and root keep them.
TEST_F(SicheresSpeichernTest, EineFremdeGruppeGibtNiemandemMehrZugriff)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file another group";
    const passwd* nobody = ::getpwnam("nobody");
    const group* fremd = ::getgrnam("audio");
    if (!nobody || !fremd || fremd->gr_gid == nobody->pw_gid)
        GTEST_SKIP() << "no normal user and foreign group here";
    ASSERT_EQ(::chown(QFile::encodeName(ordner.path()).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    const struct {
        mode_t vorher, nachher;
        bool eigeneGruppe = false, alsRoot = false;
    } fälle[] = {
        {0640, 0600}, {0644, 0604}, {0664, 0604}, {0604, 0600}, {0660, 0600}, {0666, 0606}, {0755, 0705}, {02640, 0600},
        {0640, 0640, true}, {0644, 0644, false, true},
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(testing::Message() << std::oct << fall.vorher << " " << fall.eigeneGruppe << fall.alsRoot);
        const QString pfad = Mp3Bauer::DateiSchreiben(ordner, QStringLiteral("g%1.mp3").arg(&fall - fälle), "alt");
        const QByteArray name = QFile::encodeName(pfad);
        const gid_t gruppe = fall.eigeneGruppe ? nobody->pw_gid : fremd->gr_gid;
        ASSERT_EQ(::chown(name.constData(), nobody->pw_uid, gruppe), 0);
        ASSERT_EQ(::chmod(name.constData(), fall.vorher), 0);
        std::optional<testhilfe::NormalerBenutzer> benutzer;
        if (!fall.alsRoot && !benutzer.emplace(QStringList()).aktiv)
            GTEST_SKIP() << "no normal user to drop to here";
        SichereDatei neu(pfad, QStringLiteral("-neu"));
        ASSERT_TRUE(neu.Öffnen()) << neu.Fehler().toStdString();
        struct stat kopie {}, ergebnis {};
        ASSERT_EQ(::stat(QFile::encodeName(neu.TempName()).constData(), &kopie), 0);
        ASSERT_TRUE(neu.Schreiben(QByteArray("neu")));
        ASSERT_TRUE(neu.Fertigstellen()) << neu.Fehler().toStdString();
        benutzer.reset();
        ASSERT_EQ(::stat(name.constData(), &ergebnis), 0);
        for (const struct stat& st : {kopie, ergebnis}) {
            EXPECT_EQ(st.st_mode & 07777, fall.nachher) << std::oct << (st.st_mode & 07777);
            EXPECT_EQ(st.st_gid, fall.nachher == fall.vorher ? gruppe : nobody->pw_gid);
        }
        EXPECT_EQ(lesen(pfad), "neu");
    }
}
