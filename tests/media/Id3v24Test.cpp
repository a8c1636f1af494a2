// ID3v2.4 tags as today's taggers write them (made by mutagen): the year of
// the recording time read, and a save as 2.3 carrying each 2.4 frame in the
// form 2.3 has for it, read back by mutagen and by TagLib.

#include "core/Einstellungen.h"
#include "media/Id3v2Lesen.h"
#include "media/TagSchreiben.h"
#include "support/Mp3Bauer.h"
#include "support/Mutagen.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

using namespace Mp3Bauer;

namespace {

using testhilfe::MutagenPython;
using testhilfe::Python;

// Pairs of path and a list of mutagen frames: each file gets a 2.4 tag of
// a title, an artist and those frames.
const char* const kMachen = R"(
import sys
import mutagen.id3 as m
a = sys.argv[1:]
for pfad, frames in zip(a[0::2], a[1::2]):
    t = m.ID3()
    t.add(m.TIT2(encoding=3, text=['Alt']))
    t.add(m.TPE1(encoding=3, text=['Interpret']))
    for f in eval(frames, vars(m)):
        t.add(f)
    t.save(pfad, v2_version=4)
)";

// Each file's tag as mutagen reads it without converting: its version, then
// every frame but title and artist as "ID@encoding=text", sorted.
const char* const kLesen = R"(
import sys
from mutagen.id3 import ID3
for pfad in sys.argv[1:]:
    t = ID3(pfad, translate=False)
    z = []
    for f in t.values():
        if f.FrameID in ('TIT2', 'TPE1'):
            continue
        if hasattr(f, 'people'):
            w = ','.join(a + ':' + b for a, b in f.people)
        else:
            w = '|'.join(str(x) for x in f.text)
        z.append('%s@%d=%s' % (f.FrameID, f.encoding, w))
    print(' '.join(['%d.%d.%d' % t.version] + sorted(z)))
)";

// TagLib's year, genre and frames, sorted (title and artist left out, and
// TDAT and TIME, which TagLib folds into its TDRC).
QString TagLibLesen(const QString& pfad)
{
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    if (!f.hasID3v2Tag())
        return QStringLiteral("kein Tag");
    QStringList frames;
    for (const TagLib::ID3v2::Frame* frame : f.ID3v2Tag()->frameList()) {
        const QString id = QString::fromLatin1(frame->frameID().data(), int(frame->frameID().size()));
        if (!QStringList{"TIT2", "TPE1", "TDAT", "TIME"}.contains(id))
            frames << id + QLatin1Char('=') + QString::fromStdWString(frame->toString().toWString());
    }
    frames.sort();
    return QStringLiteral("%1 %2 ").arg(f.ID3v2Tag()->year()).arg(QString::fromStdWString(f.ID3v2Tag()->genre().toWString()))
         + frames.join(QLatin1Char(' '));
}

class Id3v24 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        einstellungen().TAGsBytesSuchen = 102400;
        einstellungen().TAGsProzentHinzufügen = 25;
    }
    QTemporaryDir ordner;
};

} // namespace

TEST_F(Id3v24, DatesListsAndGenresTakeTheirV23FormAndATypedYearIsTheOnlyYear)
{
    const QString python = MutagenPython();
    if (python.isEmpty())
        GTEST_SKIP() << "python3-mutagen is not installed";
    const struct Fall {
        const char* name;
        const char* frames;      // mutagen's 2.4 frames
        const char* jahr;        // the year and genre read
        const char* genre;
        const char* nachTitel;   // mutagen's frames after a title change
        const char* nachJahr;    // after the year 2005 was typed
        const char* taglibTitel; // TagLib after the title change
        const char* taglibJahr;  // after the typed year
    } fälle[] = {
        {"jahr", "[TDRC(encoding=3, text=['1999'])]", "1999", "",
         "TYER@0=1999", "TYER@0=2005", "1999  TDRC=1999", "2005  TDRC=2005"},
        {"datum", "[TDRC(encoding=3, text=['1999-05-01'])]", "1999", "",
         "TDAT@0=0105 TYER@0=1999", "TYER@0=2005", "1999  TDRC=1999-05-01", "2005  TDRC=2005"},
        {"zeit", "[TDRC(encoding=3, text=['1999-05-01T12:34:56'])]", "1999", "",
         "TDAT@0=0105 TIME@0=1234 TYER@0=1999", "TYER@0=2005", "1999  TDRC=1999-05-01T12:34", "2005  TDRC=2005"},
        {"erstausgabe", "[TDRC(encoding=1, text=['2001-02']), TDOR(encoding=3, text=['1987-03-02'])]", "2001", "",
         "TORY@0=1987 TYER@0=2001", "TORY@0=1987 TYER@0=2005", "2001  TDOR=1987 TDRC=2001", "2005  TDOR=1987 TDRC=2005"},
        {"beteiligte", "[TIPL(encoding=3, people=[['producer', 'Anna'], ['mix', 'Bernd']])]", "", "",
         "IPLS@0=producer:Anna,mix:Bernd", "IPLS@0=producer:Anna,mix:Bernd TYER@0=2005",
         "0  TIPL=producer Anna mix Bernd", "2005  TDRC=2005 TIPL=producer Anna mix Bernd"},
        {"musiker", "[TMCL(encoding=3, people=[['Gitarre', 'Ōtake']])]", "", "",
         "IPLS@1=Gitarre:Ōtake", "IPLS@1=Gitarre:Ōtake TYER@0=2005",
         "0  TIPL=Gitarre Ōtake", "2005  TDRC=2005 TIPL=Gitarre Ōtake"},
        {"beide", "[TIPL(encoding=3, people=[['producer', 'Anna']]), TMCL(encoding=3, people=[['bass', 'Carla']])]", "", "",
         "IPLS@0=producer:Anna,bass:Carla", "IPLS@0=producer:Anna,bass:Carla TYER@0=2005",
         "0  TIPL=producer Anna bass Carla", "2005  TDRC=2005 TIPL=producer Anna bass Carla"},
        {"genretext", "[TCON(encoding=3, text=['Rock'])]", "", "Rock",
         "TCON@1=Rock", "TCON@1=Rock TYER@0=2005", "0 Rock TCON=Rock", "2005 Rock TCON=Rock TDRC=2005"},
        {"genrenummer", "[TCON(encoding=3, text=['17'])]", "", "(17)",
         "TCON@0=(17)", "TCON@0=(17) TYER@0=2005", "0 Rock TCON=17", "2005 Rock TCON=17 TDRC=2005"},
        {"genrebeides", "[TCON(encoding=3, text=['17', 'Britpop'])]", "", "(17)Britpop",
         "TCON@0=(17)Britpop", "TCON@0=(17)Britpop TYER@0=2005", "0 Rock Britpop TCON=17 Britpop",
         "2005 Rock Britpop TCON=17 Britpop TDRC=2005"},
        {"ohnegegenstueck", "[TSOP(encoding=3, text=['Mey, Reinhard']), TDRC(encoding=3, text=['1974'])]", "1974", "",
         "TSOP@1=Mey, Reinhard TYER@0=1974", "TSOP@1=Mey, Reinhard TYER@0=2005",
         "1974  TDRC=1974 TSOP=Mey, Reinhard", "2005  TDRC=2005 TSOP=Mey, Reinhard"},
    };
    const QByteArray audio = Frames(Frame(), 40);
    QStringList machen, titelDateien, jahrDateien;
    for (const Fall& fall : fälle) {
        for (bool jahrTippen : {false, true}) {
            const QString pfad = DateiSchreiben(ordner, QLatin1String(fall.name) + (jahrTippen ? "-jahr.mp3" : "-titel.mp3"), audio);
            machen << pfad << QString::fromUtf8(fall.frames);
            (jahrTippen ? jahrDateien : titelDateien) << pfad;
        }
    }
    Python(python, kMachen, machen);

    for (size_t i = 0; i < std::size(fälle); ++i) {
        const Fall& fall = fälle[i];
        SCOPED_TRACE(fall.name);
        for (const QString& pfad : {titelDateien[qsizetype(i)], jahrDateien[qsizetype(i)]}) {
            MedienInfo m;
            ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
            ASSERT_EQ(m.Mp3_ID3v2_Version, "2.4.0");
            EXPECT_EQ(m.Mp3_ID3v2_Jahr.toStdString(), fall.jahr);
            EXPECT_EQ(m.Mp3_ID3v2_Musikrichtung.toStdString(), fall.genre);
            if (pfad == titelDateien[qsizetype(i)])
                m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
            else
                m.Mp3_ID3v2_Jahr = QStringLiteral("2005");
            QString fehler;
            ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m, fehler)) << fehler.toStdString();
        }
        EXPECT_EQ(TagLibLesen(titelDateien[qsizetype(i)]).toStdString(), fall.taglibTitel);
        EXPECT_EQ(TagLibLesen(jahrDateien[qsizetype(i)]).toStdString(), fall.taglibJahr);
    }
    const QStringList titel = Python(python, kLesen, titelDateien);
    const QStringList jahr = Python(python, kLesen, jahrDateien);
    ASSERT_EQ(titel.size(), qsizetype(std::size(fälle)));
    ASSERT_EQ(jahr.size(), qsizetype(std::size(fälle)));
    for (size_t i = 0; i < std::size(fälle); ++i) {
        SCOPED_TRACE(fälle[i].name);
        EXPECT_EQ(titel[qsizetype(i)].toStdString(), std::string("2.3.0 ") + fälle[i].nachTitel);
        EXPECT_EQ(jahr[qsizetype(i)].toStdString(), std::string("2.3.0 ") + fälle[i].nachJahr);
    }
}

// What the 2.4 tag already holds decides: a TDRC beside a TYER is the one
// year, a day or time of the tag's own is not made twice, a text that is no
// time stamp is the year as it stands, a TDOR beside a TORY stays as it is,
// and the lists merged into one IPLS leave the comment that is the field
// where it was found.
TEST(Id3v24Lesen, TheV23FormsWithWhatTheTagAlreadyHolds)
{
    constexpr int kJahr = 9, kKommentar = 8;
    const auto frames23 = [](std::vector<Id3v2Frame> f) { return Id3v2Tag{.frames = std::move(f)}.Bytes().mid(10); };
    const struct {
        const char* name;
        std::vector<Id3v2Frame> frames;
        const char* jahr;
        QByteArray jahrFrames, weitere;
    } fälle[] = {
        {"tyer daneben", {TextFrame("TYER", QStringLiteral("1980")), TextFrame("TDRC", QStringLiteral("1999-05-01"), Kodierung::Utf8),
                          TextFrame("TYER", QStringLiteral("1981"))},
         "1999", frames23({TextFrame("TYER", QStringLiteral("1999")), TextFrame("TDAT", QStringLiteral("0105"))}), {}},
        {"eigener tag", {TextFrame("TDRC", QStringLiteral("1999-05-01T10:20")), TextFrame("TDAT", QStringLiteral("3112"))},
         "1999", frames23({TextFrame("TYER", QStringLiteral("1999")), TextFrame("TIME", QStringLiteral("1020"))}),
         frames23({TextFrame("TDAT", QStringLiteral("3112"))})},
        {"kein zeitstempel", {TextFrame("TDRC", QStringLiteral("Mai 1999"))}, "Mai 1999",
         frames23({TextFrame("TYER", QStringLiteral("Mai 1999"))}), {}},
        {"tory daneben", {TextFrame("TDOR", QStringLiteral("1987")), TextFrame("TORY", QStringLiteral("1986"))}, "", {},
         frames23({TextFrame("TDOR", QStringLiteral("1987")), TextFrame("TORY", QStringLiteral("1986"))})},
        {"listen und kommentare",
         {TextFrame("TIPL", QStringList{"Mix", "Anna"}, Kodierung::Utf8), KommentarFrame(QStringLiteral("b"), QStringLiteral("Notiz")),
          TextFrame("TMCL", QStringList{"Bass", "Ōtake"}, Kodierung::Utf16BE), KommentarFrame(QStringLiteral("Feld")),
          KommentarFrame(QStringLiteral("c"))},
         "", {},
         frames23({TextFrame("IPLS", QStringList{"Mix", "Anna", "Bass", "Ōtake"}, Kodierung::Utf16Bom),
                   KommentarFrame(QStringLiteral("b"), QStringLiteral("Notiz")), KommentarFrame(QStringLiteral("c"))})},
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const QByteArray tag = Id3v2Tag{.version = 4, .frames = fall.frames}.Bytes();
        const Id3v2Ergebnis gesammelt = Id3v2Lesen(tag);
        EXPECT_EQ(gesammelt.felder[kJahr].toStdString(), fall.jahr);
        EXPECT_EQ(gesammelt.weitereFrames.toHex(), fall.weitere.toHex());
        const Id3v2Ergebnis einzeln = Id3v2Lesen(tag, false);
        EXPECT_EQ(QByteArray(einzeln.feldFrames[kJahr]).toHex(), fall.jahrFrames.toHex());
        if (fall.frames.size() == 5) {
            EXPECT_EQ(gesammelt.felder[kKommentar], "Feld");
            EXPECT_EQ(QByteArray(einzeln.feldFrames[kKommentar]), frames23({KommentarFrame(QStringLiteral("Feld"))}));
        }
    }
}
