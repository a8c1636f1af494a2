// Tags as other taggers write them: several frames of one text id, a date
// in the other version's frame, a widespread player's 2.2 frames (its sort
// frames among them) and its 2.3 tags with 2.2 ids, UTF-8 with stray bytes,
// compressed frames. Made byte for byte, read by the record reader and by
// medieninfo-dump, written after a title change and a typed year, read back
// by mutagen and by TagLib.

#include "core/Einstellungen.h"
#include "media/Id3v2Lesen.h"
#include "media/TagSchreiben.h"
#include "support/Mp3Bauer.h"
#include "support/Mutagen.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <optional>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

using namespace Mp3Bauer;

namespace {

using testhilfe::MutagenPython;

// Each file's frames as mutagen reads them without converting: the frames
// of one id merged, "ID=value|value", sorted; then its year ("TDRC=...").
const char* const kLesen = R"(
import sys
from mutagen.id3 import ID3
for pfad in sys.argv[1:]:
    t = ID3(pfad, translate=False)
    z = sorted('%s=%s' % (f.FrameID, '|'.join(str(x) for x in f.text)) for f in t.values() if hasattr(f, 'text'))
    j = ID3(pfad).get('TDRC')
    print(' '.join(z) + ' ; TDRC=' + (str(j) if j else ''))
)";

QStringList Mutagen(const QString& python, const QStringList& pfade)
{
    QProcess pr;
    pr.start(python, QStringList{QStringLiteral("-c"), QString::fromUtf8(kLesen)} + pfade);
    EXPECT_TRUE(pr.waitForFinished(60000));
    EXPECT_EQ(pr.exitCode(), 0) << pr.readAllStandardError().toStdString();
    return QString::fromUtf8(pr.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// TagLib's title, artist, album, track and year.
QString TagLibLesen(const QString& pfad)
{
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    if (!f.hasID3v2Tag())
        return QStringLiteral("kein Tag");
    const TagLib::Tag* t = f.ID3v2Tag();
    const auto q = [](const TagLib::String& s) { return QString::fromStdWString(s.toWString()); };
    return QStringLiteral("%1;%2;%3;%4;%5").arg(q(t->title()), q(t->artist()), q(t->album())).arg(t->track()).arg(t->year());
}

// A test tool run as a process: its exit code, output and error output.
struct Lauf {
    int code = -1;
    QByteArray aus, fehler;
};
Lauf Werkzeug(const char* name, const QStringList& argumente)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/../tools/" + name, argumente);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << name;
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// The record medieninfo-dump prints for the file.
QJsonObject Dump(const QString& pfad)
{
    const Lauf l = Werkzeug("medieninfo-dump", {pfad});
    EXPECT_EQ(l.code, 0);
    return QJsonDocument::fromJson(l.aus).object();
}

// tag-write's exit code and the record it prints.
std::pair<int, QJsonObject> TitelSchreiben(const QString& pfad)
{
    const Lauf l = Werkzeug("tag-write", {pfad, "v2", "Mp3_ID3v2_Titel=Neu"});
    EXPECT_EQ(l.code, 0) << l.fehler.toStdString();
    return {l.code, QJsonDocument::fromJson(l.aus).object()};
}

QByteArray Frames23(std::vector<Id3v2Frame> f) { return Id3v2Tag{.frames = std::move(f)}.Bytes().mid(10); }

// The tag at the start of the file, and what lies behind it.
std::pair<QByteArray, QByteArray> Teilen(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray d = f.readAll();
    const auto kopf = Id3v2KopfLesen(d);
    if (!kopf)
        return {{}, d};
    return {d.left(kopf->GesamtGröße()), d.mid(kopf->GesamtGröße())};
}

class FeldFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        einstellungen().TAGsBytesSuchen = 102400;
        einstellungen().TAGsProzentHinzufügen = 25;
        einstellungen().TAGsSoftwareFeldSchreiben = 0;
        python = MutagenPython();
        if (python.isEmpty())
            GTEST_SKIP() << "python3-mutagen is not installed";
        if (!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/../tools/medieninfo-dump"))
            GTEST_SKIP() << "medieninfo-dump not built";
    }
    QTemporaryDir ordner;
    QString python;
    const QByteArray audio = Frames(Frame(), 30);
};

// zlib's stream of the bytes: qCompress without the size it puts in front.
QByteArray Zlib(const QByteArray& d) { return qCompress(d).mid(4); }

// The frame compressed as `version` holds it: 2.3 with the size in front
// (0x80), 2.4 with the data length indicator (0x09); the size it claims and
// its stream the real ones unless given.
Id3v2Frame Gepackt(Id3v2Frame f, int version, std::optional<quint32> größe = {}, std::optional<QByteArray> strom = {})
{
    const quint32 n = größe.value_or(quint32(f.daten.size()));
    f.daten = (version == 4 ? Syncsafe(n) : BigEndian32(n)) + strom.value_or(Zlib(f.daten));
    f.format = version == 4 ? 0x09 : 0x80;
    return f;
}

QStringList Liste(std::initializer_list<const char*> l)
{
    QStringList s;
    for (const char* t : l)
        s << QString::fromUtf8(t);
    return s;
}

} // namespace

// Several frames of one text id are one field of several values, in their
// order. A title change keeps each of them as it stands; a changed field of
// several values is one frame of those values joined as 2.3 joins them.
TEST_F(FeldFrames, SeveralFramesOfOneIdAreOneFieldOfSeveralValues)
{
    const struct Fall {
        const char* name;
        int version;
        std::vector<Id3v2Frame> frames;
        const char* interpret, *titel, *album, *spur; // the record's fields
        const char* nachTitel;                        // mutagen after the title "Neu"
        const char* taglibTitel;
        const char* interpretNeu;                     // typed over the artist
        const char* nachInterpret;                    // mutagen then
    } fälle[] = {
        {"zwei", 3, {TextFrame("TIT2", "Alt"), TextFrame("TPE1", "piman"), TextFrame("TPE1", "jzig", Kodierung::Utf16Bom)},
         "piman / jzig", "Alt", "", "",
         "TIT2=Neu TPE1=piman|jzig ; TDRC=", "Neu;piman;;0;0",
         "piman / jzig / Ōtake", "TIT2=Neu TPE1=piman/jzig/Ōtake ; TDRC="},
        {"zwei in 2.2", 2, {TextFrame("TT2", "Alt"), TextFrame("TP1", "piman"), TextFrame("TP1", "jzig", Kodierung::Utf16Bom)},
         "piman / jzig", "Alt", "", "",
         "TIT2=Neu TPE1=piman|jzig ; TDRC=", "Neu;piman;;0;0",
         "piman / jzig / Ōtake", "TIT2=Neu TPE1=piman/jzig/Ōtake ; TDRC="},
        {"sieben in 2.3", 3,
         {TextFrame("TPE1", Liste({"artist1", "artist2"}), Kodierung::Latin1), TextFrame("TIT2", "Alt"),
          TextFrame("TPE1", "artist3"), TextFrame("TPE1", Liste({"artist4", "artist5"}), Kodierung::Utf16Bom),
          TextFrame("TPE1", Liste({"artist6", "artist7"}), Kodierung::Latin1)},
         "artist1 / artist2 / artist3 / artist4 / artist5 / artist6 / artist7", "Alt", "", "",
         "TIT2=Neu TPE1=artist1|artist2|artist3|artist4|artist5|artist6|artist7 ; TDRC=", "Neu;artist1 artist2;;0;0",
         "artist1 / artist7", "TIT2=Neu TPE1=artist1/artist7 ; TDRC="},
        {"sieben in 2.4", 4,
         {TextFrame("TPE1", Liste({"artist1", "artist2"}), Kodierung::Utf8), TextFrame("TIT2", "Alt"),
          TextFrame("TPE1", "artist3", Kodierung::Utf8), TextFrame("TPE1", Liste({"artist4", "artist5"}), Kodierung::Utf16BE),
          TextFrame("TPE1", Liste({"artist6", "artist7"}), Kodierung::Latin1)},
         "artist1 / artist2 / artist3 / artist4 / artist5 / artist6 / artist7", "Alt", "", "",
         "TIT2=Neu TPE1=artist1/artist2|artist3|artist4/artist5|artist6/artist7 ; TDRC=", "Neu;artist1/artist2;;0;0",
         "artist7", "TIT2=Neu TPE1=artist7 ; TDRC="},
        {"dreimal", 3,
         {TextFrame("TIT2", "t1"), TextFrame("TALB", "a1"), TextFrame("TRCK", "1"), TextFrame("TIT2", "t2"),
          TextFrame("TALB", "a2"), TextFrame("TRCK", "2"), TextFrame("TIT2", "t3"), TextFrame("TALB", "a3"),
          TextFrame("TRCK", "3"), TextFrame("TPE1", "Band")},
         "Band", "t1 / t2 / t3", "a1 / a2 / a3", "1 / 2 / 3",
         "TALB=a1|a2|a3 TIT2=Neu TPE1=Band TRCK=1|2|3 ; TDRC=", "Neu;Band;a1;1;0",
         "Band / Chor", "TALB=a1|a2|a3 TIT2=Neu TPE1=Band/Chor TRCK=1|2|3 ; TDRC="},
    };
    QStringList titelDateien, interpretDateien;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const QByteArray tag = Id3v2Tag{.version = fall.version, .frames = fall.frames, .padding = 64}.Bytes();
        const QString pfad = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + ".mp3", tag + audio);

        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
        EXPECT_EQ(m.Mp3_ID3v2_Interpret, QString::fromUtf8(fall.interpret));
        EXPECT_EQ(m.Mp3_ID3v2_Titel, QString::fromUtf8(fall.titel));
        EXPECT_EQ(m.Mp3_ID3v2_Album, QString::fromUtf8(fall.album));
        EXPECT_EQ(m.Mp3_ID3v2_Titelnummer, QString::fromUtf8(fall.spur));
        const QJsonObject dump = Dump(pfad);
        EXPECT_EQ(dump["Mp3_ID3v2_Interpret"].toString(), QString::fromUtf8(fall.interpret));
        EXPECT_EQ(dump["Mp3_ID3v2_Titel"].toString(), QString::fromUtf8(fall.titel));

        m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
        QString fehler;
        ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m, fehler)) << fehler.toStdString();
        const auto [neu, rest] = Teilen(pfad);
        EXPECT_EQ(rest, audio);
        // The frames other than the title stand in the file as they were
        // (a 2.2 tag's in their 2.3 form).
        for (Id3v2Frame f : fall.frames) {
            if (f.id == "TP1")
                f.id = "TPE1";
            if (fall.version < 4 && f.id != "TIT2" && f.id != "TT2")
                EXPECT_TRUE(neu.contains(Frames23({f}))) << f.id.toStdString() << " " << f.daten.toHex().toStdString();
        }
        EXPECT_EQ(neu.count("TIT2"), 1);
        EXPECT_EQ(TagLibLesen(pfad).toStdString(), fall.taglibTitel);
        titelDateien << pfad;

        // The artist typed: one frame of its values.
        const QString zweiter = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + "-interpret.mp3", tag + audio);
        ASSERT_TRUE(Mp3TAGLesenV2(zweiter, m, 102400));
        m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
        m.Mp3_ID3v2_Interpret = QString::fromUtf8(fall.interpretNeu);
        ASSERT_TRUE(Mp3TAGSpeichernV2(zweiter, m, fehler)) << fehler.toStdString();
        const auto [getippt, audio2] = Teilen(zweiter);
        EXPECT_EQ(audio2, audio);
        EXPECT_EQ(getippt.count("TPE1"), 1);
        ASSERT_TRUE(Mp3TAGLesenV2(zweiter, m, 102400));
        // A 2.3 reader takes the one value of values joined by "/".
        EXPECT_EQ(m.Mp3_ID3v2_Interpret, QString::fromUtf8(fall.interpretNeu).replace(" / ", "/"));
        interpretDateien << zweiter;
    }
    const QStringList titel = Mutagen(python, titelDateien), interpret = Mutagen(python, interpretDateien);
    ASSERT_EQ(titel.size(), qsizetype(std::size(fälle)));
    ASSERT_EQ(interpret.size(), qsizetype(std::size(fälle)));
    for (size_t i = 0; i < std::size(fälle); ++i) {
        SCOPED_TRACE(fälle[i].name);
        EXPECT_EQ(titel[qsizetype(i)].toStdString(), fälle[i].nachTitel);
        EXPECT_EQ(interpret[qsizetype(i)].toStdString(), fälle[i].nachInterpret);
    }
}

// The year is that of the tag's date frame, TYER or TDRC, in either
// version; where both stand, the one of the tag's own version. A title
// change keeps every date frame; a typed year is the tag's only date frame.
TEST_F(FeldFrames, TheYearOfEitherDateFrameAndATypedYearIsTheOnlyOne)
{
    const Id3v2Frame andere = TextFrame("TXXX", Liste({"Quelle", "Platte"}), Kodierung::Latin1);
    const struct Fall {
        const char* name;
        int version;
        std::vector<Id3v2Frame> frames;
        const char* jahr;
        const char* nachTitel;  // mutagen after a title change
        int taglibTitel;        // TagLib's year then
    } fälle[] = {
        {"tdrc", 3, {TextFrame("TDRC", "1981")}, "1981", "TDRC=1981 TIT2=Neu TXXX=Platte ; TDRC=1981", 1981},
        {"tdrc mit tag", 3, {TextFrame("TDRC", "1981-05-01T10:20", Kodierung::Utf16Bom)}, "1981",
         "TDRC=1981-05-01 10:20 TIT2=Neu TXXX=Platte ; TDRC=1981-05-01 10:20", 1981},
        {"zwei tdrc", 3, {TextFrame("TDRC", "1981"), TextFrame("TDRC", "1982-03")}, "1981 / 1982",
         "TDRC=1981|1982-03 TIT2=Neu TXXX=Platte ; TDRC=1981,1982-03", 1981},
        {"tyer und tdrc", 3, {TextFrame("TDRC", "1985"), TextFrame("TYER", "1981")}, "1981",
         "TDRC=1985 TIT2=Neu TXXX=Platte TYER=1981 ; TDRC=1985", 1985},
        {"tyer tdat time", 3, {TextFrame("TYER", "1981"), TextFrame("TDAT", "0105"), TextFrame("TIME", "1234")}, "1981",
         "TDAT=0105 TIME=1234 TIT2=Neu TXXX=Platte TYER=1981 ; TDRC=1981-05-01 12:34:00", 1981},
        {"tyer in 2.4", 4, {TextFrame("TYER", "1981")}, "1981", "TIT2=Neu TXXX=Platte TYER=1981 ; TDRC=1981", 1981},
    };
    QStringList titelDateien, jahrDateien;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.name);
        std::vector<Id3v2Frame> frames{TextFrame("TIT2", "Alt"), andere};
        frames.insert(frames.begin() + 1, fall.frames.begin(), fall.frames.end());
        const QByteArray tag = Id3v2Tag{.version = fall.version, .frames = frames, .padding = 32}.Bytes();
        for (bool jahrTippen : {false, true}) {
            const QString pfad = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + (jahrTippen ? "-jahr.mp3" : "-titel.mp3"),
                                                tag + audio);
            MedienInfo m;
            ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
            EXPECT_EQ(m.Mp3_ID3v2_Jahr.toStdString(), fall.jahr);
            EXPECT_EQ(Dump(pfad)["Mp3_ID3v2_Jahr"].toString().toStdString(), fall.jahr);
            if (jahrTippen)
                m.Mp3_ID3v2_Jahr = QStringLiteral("2005");
            else
                m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
            QString fehler;
            ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m, fehler)) << fehler.toStdString();
            const auto [neu, rest] = Teilen(pfad);
            EXPECT_EQ(rest, audio);
            EXPECT_TRUE(neu.contains(Frames23({andere})));
            if (!jahrTippen && fall.version == 3)
                for (const Id3v2Frame& f : fall.frames)
                    EXPECT_TRUE(neu.contains(Frames23({f}))) << f.id.toStdString();
            EXPECT_EQ(TagLibLesen(pfad).section(';', 4).toInt(), jahrTippen ? 2005 : fall.taglibTitel);
            ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
            EXPECT_EQ(m.Mp3_ID3v2_Jahr.toStdString(), jahrTippen ? "2005" : fall.jahr);
            (jahrTippen ? jahrDateien : titelDateien) << pfad;
        }
    }
    const QStringList titel = Mutagen(python, titelDateien), jahr = Mutagen(python, jahrDateien);
    ASSERT_EQ(titel.size(), qsizetype(std::size(fälle)));
    ASSERT_EQ(jahr.size(), qsizetype(std::size(fälle)));
    for (size_t i = 0; i < std::size(fälle); ++i) {
        SCOPED_TRACE(fälle[i].name);
        EXPECT_EQ(titel[qsizetype(i)].toStdString(), fälle[i].nachTitel);
        EXPECT_EQ(jahr[qsizetype(i)].toStdString(), "TIT2=Alt TXXX=Platte TYER=2005 ; TDRC=2005");
    }
}

namespace {

// Every frame of each file as mutagen reads it without converting, sorted
// by its key: texts "key=value|value", a picture "key=mime,type,data".
const char* const kAlleFrames = R"(
import sys
from mutagen.id3 import ID3
for pfad in sys.argv[1:]:
    z = []
    for f in ID3(pfad, translate=False).values():
        if hasattr(f, 'text'):
            z.append('%s=%s' % (f.HashKey, '|'.join(str(x) for x in f.text)))
        elif f.FrameID == 'APIC':
            z.append('%s=%s,%d,%s' % (f.HashKey, f.mime, f.type, f.data.hex()))
        else:
            z.append(f.HashKey)
    print(' '.join(sorted(z)))
)";

// The ids of a 2.3 tag's frames, in their order.
QByteArrayList FrameIds(const QByteArray& tag)
{
    QByteArrayList ids;
    for (qsizetype pos = 10; pos + 10 <= tag.size() && tag[pos] != 0;) {
        ids << tag.mid(pos, 4);
        pos += 10 + qFromBigEndian<quint32>(tag.constData() + pos + 4);
    }
    return ids;
}

// The first frame of the id as TagLib reads it.
QString TagLibFrame(TagLib::ID3v2::Tag* t, const char* id)
{
    const auto& karte = t->frameListMap();
    const auto it = karte.find(id);
    return it == karte.end() || it->second.isEmpty() ? QStringLiteral("fehlt")
                                                     : QString::fromStdWString(it->second.front()->toString().toWString());
}

} // namespace

// A widespread player writes 2.2 tags with sort frames of its own, and
// older versions of it wrote 2.3 tags whose frames carry the 2.2 ids padded
// to four bytes. Both are read as the 2.2 frames they are; a title change
// writes every frame in its 2.3 form and keeps all of them; the removal of
// the tag leaves the audio as it was.
TEST_F(FeldFrames, APlayersVersion22FramesTakeTheir23Form)
{
    const QByteArray bild("\xFF\xD8\xFF\x00\xE0\x10", 6);
    const struct SpielerFrame {
        // The 2.2 body and, where it differs (the picture), the 2.3 one,
        // which a padded frame carries as other readers take it.
        QByteArray id22, id23, körper22, körper23;
    } frames[] = {
        {"TT2", "TIT2", TextFrame("", "Alt").daten, {}},
        {"TP1", "TPE1", TextFrame("", "Interpretin", Kodierung::Utf16Bom).daten, {}},
        {"TAL", "TALB", TextFrame("", "Album").daten, {}},
        {"TYE", "TYER", TextFrame("", "1999").daten, {}},
        {"TRK", "TRCK", TextFrame("", "3/12").daten, {}},
        {"TCO", "TCON", TextFrame("", "Rock").daten, {}},
        {"COM", "COMM", KommentarFrame("Kommentar").daten, {}},
        {"TST", "TSOT", TextFrame("", "Titel, Der").daten, {}},
        {"TSA", "TSOA", TextFrame("", "Album, Das").daten, {}},
        {"TSP", "TSOP", TextFrame("", "Interpretin, Die").daten, {}},
        {"TS2", "TSO2", TextFrame("", "Alle, Die").daten, {}},
        {"TSC", "TSOC", TextFrame("", "Komponist, Der").daten, {}},
        {"TCP", "TCMP", TextFrame("", "1").daten, {}},
        {"GP1", "GRP1", TextFrame("", "Gruppe").daten, {}},
        {"MVN", "MVNM", TextFrame("", "Satz").daten, {}},
        {"MVI", "MVIN", TextFrame("", "2/4").daten, {}},
        {"TXX", "TXXX", TextFrame("", Liste({"Quelle", "Platte"}), Kodierung::Latin1).daten, {}},
        {"PIC", "APIC", QByteArray("\0JPG\3Cover\0", 11) + bild, QByteArray("\0image/jpeg\0\3Cover\0", 19) + bild},
        {"RVA", "RVAD", QByteArray("\3\x10\1\0\1\0\0\0\0\0", 10), {}},
    };
    const auto körper23 = [](const SpielerFrame& f) { return f.körper23.isEmpty() ? f.körper22 : f.körper23; };
    const struct Fall {
        const char* name;
        int version;
        QByteArray polster; // behind the 2.2 id in a 2.3 tag
    } fälle[] = {
        {"2.2", 2, {}},
        {"2.3 mit Nullbyte", 3, QByteArray(1, '\0')},
        {"2.3 mit Leerzeichen", 3, " "},
    };
    const std::string mutagenNachher =
        "APIC:Cover=image/jpeg,3,ffd8ff00e010 COMM::eng=Kommentar GRP1=Gruppe MVIN=2/4 MVNM=Satz RVAD TALB=Album TCMP=1 TCON=Rock TIT2=Neu "
        "TPE1=Interpretin TRCK=3/12 TSO2=Alle, Die TSOA=Album, Das TSOC=Komponist, Der TSOP=Interpretin, Die "
        "TSOT=Titel, Der TXXX:Quelle=Platte TYER=1999";

    QStringList geschrieben;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.name);
        Id3v2Tag alt{.version = fall.version, .padding = 64};
        for (const SpielerFrame& f : frames)
            alt.frames.push_back(fall.version == 2 ? RohFrame(f.id22, f.körper22) : RohFrame(f.id22 + fall.polster, körper23(f)));
        const QByteArray datei = alt.Bytes() + audio;
        const QString pfad = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + ".mp3", datei);

        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "Alt");
        EXPECT_EQ(m.Mp3_ID3v2_Interpret, "Interpretin");
        EXPECT_EQ(m.Mp3_ID3v2_Album, "Album");
        EXPECT_EQ(m.Mp3_ID3v2_Jahr, "1999");
        EXPECT_EQ(m.Mp3_ID3v2_Titelnummer, "3/12");
        EXPECT_EQ(m.Mp3_ID3v2_Musikrichtung, "Rock");
        EXPECT_EQ(m.Mp3_ID3v2_Kommentar, "Kommentar");
        const QJsonObject dump = Dump(pfad);
        EXPECT_EQ(dump["Mp3_ID3v2_Titel"].toString(), "Alt");
        EXPECT_EQ(dump["Mp3_ID3v2_Interpret"].toString(), "Interpretin");
        EXPECT_EQ(dump["Mp3_ID3v2_Jahr"].toString(), "1999");

        const auto [code, nachher] = TitelSchreiben(pfad);
        if (code != 0)
            continue;
        EXPECT_EQ(nachher["Mp3_ID3v2_Titel"].toString(), "Neu");
        EXPECT_EQ(nachher["Mp3_ID3v2_Interpret"].toString(), "Interpretin");
        EXPECT_EQ(nachher["Mp3_ID3v2_Jahr"].toString(), "1999");
        const auto [neu, rest] = Teilen(pfad);
        EXPECT_EQ(rest, audio);
        ASSERT_GT(neu.size(), 10);
        EXPECT_EQ(neu[3], 3);
        // Every frame but the title stands in its 2.3 form, each once, no
        // 2.2 id is left.
        const QByteArrayList ids = FrameIds(neu);
        for (const SpielerFrame& f : frames) {
            if (f.id23 != "TIT2")
                EXPECT_TRUE(neu.contains(Frames23({RohFrame(f.id23, körper23(f))}))) << f.id23.toStdString();
            EXPECT_EQ(ids.count(f.id23), 1) << f.id23.toStdString();
        }
        EXPECT_EQ(ids.size(), qsizetype(std::size(frames)) + (ids.contains("PRIV") ? 1 : 0)) << ids.join(',').toStdString();

        TagLib::MPEG::File t(QFile::encodeName(pfad).constData(), false);
        ASSERT_TRUE(t.hasID3v2Tag());
        TagLib::ID3v2::Tag* tag = t.ID3v2Tag();
        EXPECT_EQ(TagLibLesen(pfad), "Neu;Interpretin;Album;3;1999");
        EXPECT_EQ(TagLibFrame(tag, "TSOT"), "Titel, Der");
        EXPECT_EQ(TagLibFrame(tag, "TSOA"), "Album, Das");
        EXPECT_EQ(TagLibFrame(tag, "TSOP"), "Interpretin, Die");
        EXPECT_EQ(TagLibFrame(tag, "TSO2"), "Alle, Die");
        EXPECT_EQ(TagLibFrame(tag, "TSOC"), "Komponist, Der");
        EXPECT_EQ(TagLibFrame(tag, "TCMP"), "1");
        EXPECT_NE(TagLibFrame(tag, "RVAD"), "fehlt");
        const auto bilder = tag->frameListMap()["APIC"];
        ASSERT_EQ(bilder.size(), 1u);
        const auto* apic = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(bilder.front());
        ASSERT_NE(apic, nullptr);
        EXPECT_EQ(apic->mimeType(), "image/jpeg");
        EXPECT_EQ(apic->type(), TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        EXPECT_EQ(apic->picture(), TagLib::ByteVector(bild.constData(), unsigned(bild.size())));
        geschrieben << pfad;

        // Removing the tag leaves the audio byte for byte.
        const QString ohne = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + "-ohne.mp3", datei);
        ASSERT_EQ(Werkzeug("tag-remove", {ohne, "v2"}).code, 0);
        QFile f(ohne);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), audio);
    }
    const QStringList gelesen = testhilfe::Python(python, kAlleFrames, geschrieben);
    ASSERT_EQ(gelesen.size(), qsizetype(std::size(fälle)));
    for (size_t i = 0; i < std::size(fälle); ++i)
        EXPECT_EQ(gelesen[qsizetype(i)].toStdString(), mutagenNachher) << fälle[i].name;
}

// A title typed before such a tag was read stands behind the old padded
// one: both are the title's values, and the next typed title is its only
// frame.
TEST_F(FeldFrames, ATitleBesideAPaddedOneIsOneFieldUntilTypedAgain)
{
    const Id3v2Tag alt{.frames = {RohFrame(QByteArray("TT2\0", 4), TextFrame("", "Alt").daten),
                                  RohFrame("TP1 ", TextFrame("", "Interpretin").daten), TextFrame("TIT2", "Getippt")},
                       .padding = 16};
    const QString pfad = DateiSchreiben(ordner, "getippt.mp3", alt.Bytes() + audio);
    EXPECT_EQ(Dump(pfad)["Mp3_ID3v2_Titel"].toString(), "Alt / Getippt");
    const auto [code, nachher] = TitelSchreiben(pfad);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(nachher["Mp3_ID3v2_Titel"].toString(), "Neu");
    const auto [neu, rest] = Teilen(pfad);
    EXPECT_EQ(rest, audio);
    QByteArrayList ids = FrameIds(neu);
    ids.removeAll("PRIV");
    EXPECT_EQ(ids, QByteArrayList({"TPE1", "TIT2"}));
    EXPECT_EQ(TagLibLesen(pfad), "Neu;Interpretin;;0;0");
    EXPECT_EQ(testhilfe::Python(python, kAlleFrames, {pfad}), QStringList{"TIT2=Neu TPE1=Interpretin"});
}

// UTF-8 from other programs with stray bytes: the well-formed sequences as
// UTF-8, each stray byte alone as Windows-1252. Unchanged, the field keeps
// its frame (in the UTF-16 a 2.3 tag holds); typed, it is the program's own.
TEST_F(FeldFrames, Utf8WithStrayBytesReadsEachOfThemAsWindows1252)
{
    const struct Fall {
        const char* name;
        int version;
        QByteArray titel; // the title's bytes behind encoding 3
        const char* gelesen;
    } fälle[] = {
        {"ff vorn", 4, "\xFFran d\xC3\xAD" "a", "ÿran día"},
        {"ff vorn in 2.3", 3, "\xFFran d\xC3\xAD" "a", "ÿran día"},
        {"emoji neben ungültigen", 4, "\xF0\x9F\x8E\xB5 \xE6\x97 \xC0\xAF \xED\xA0\x80 \xF0\x9F\x8E\xB5", "🎵 æ— À¯ í\u00A0€ 🎵"},
    };
    QStringList jahrDateien;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const QString gelesen = QString::fromUtf8(fall.gelesen);
        const QByteArray tag = Id3v2Tag{.version = fall.version,
                                        .frames = {RohFrame("TIT2", '\3' + fall.titel), TextFrame("TPE1", "Band"),
                                                   TextFrame("TALB", QStringLiteral("Café"), Kodierung::Utf8)},
                                        .padding = 64}
                                   .Bytes();
        const auto datei = [&](const char* art) {
            return DateiSchreiben(ordner, QString::fromUtf8(fall.name) + QString::fromUtf8(art), tag + audio);
        };
        const QString jahr = datei("-jahr.mp3"), titel = datei("-titel.mp3"), ohne = datei("-ohne.mp3");
        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(jahr, m, 102400));
        EXPECT_EQ(m.Mp3_ID3v2_Titel, gelesen);
        EXPECT_EQ(m.Mp3_ID3v2_Album, QStringLiteral("Café"));
        EXPECT_EQ(Dump(jahr)["Mp3_ID3v2_Titel"].toString(), gelesen);

        const Lauf j = Werkzeug("tag-write", {jahr, "v2", "Mp3_ID3v2_Jahr=1999"});
        ASSERT_EQ(j.code, 0) << j.fehler.toStdString();
        const auto [neu, rest] = Teilen(jahr);
        EXPECT_EQ(rest, audio);
        EXPECT_TRUE(neu.contains(Frames23({TextFrame("TIT2", gelesen, Kodierung::Utf16Bom)})));
        EXPECT_EQ(TagLibLesen(jahr), gelesen + ";Band;Café;0;1999");
        jahrDateien << jahr;

        const Lauf t = Werkzeug("tag-write", {titel, "v2", "Mp3_ID3v2_Titel=Neu"});
        ASSERT_EQ(t.code, 0) << t.fehler.toStdString();
        EXPECT_EQ(Teilen(titel).first.count("TIT2"), 1);
        EXPECT_EQ(Teilen(titel).second, audio);
        EXPECT_EQ(TagLibLesen(titel), "Neu;Band;Café;0;0");

        EXPECT_EQ(Werkzeug("tag-remove", {ohne, "v2"}).code, 0);
        EXPECT_EQ(Teilen(ohne), std::pair(QByteArray(), audio));
    }
    const QStringList jahr = Mutagen(python, jahrDateien);
    ASSERT_EQ(jahr.size(), qsizetype(std::size(fälle)));
    for (size_t i = 0; i < std::size(fälle); ++i)
        EXPECT_EQ(jahr[qsizetype(i)], "TALB=Café TIT2=" + QString::fromUtf8(fälle[i].gelesen) + " TPE1=Band TYER=1999 ; TDRC=1999");
}

// Compressed frames (2.3: the size in front; 2.4: the data length
// indicator, unsynchronised or not) read as TagLib and mutagen read them.
// Unchanged they stay as they stand, compressed (a 2.4 frame in its 2.3
// form); a typed field is the program's own frame, the only one of its id.
TEST_F(FeldFrames, CompressedFramesAreReadAndKeptUntilTheirFieldIsTyped)
{
    const Id3v2Frame titel = TextFrame("TIT2", "Alter Titel 1003");
    // Its stream ends in FF: unsynchronisation has work to do.
    ASSERT_TRUE(Zlib(titel.daten).endsWith('\xFF'));
    const QString interpret = QStringLiteral("Interpret Ōtake");
    const Id3v2Frame album = TextFrame("TALB", "Album"), andere = TextFrame("TXXX", Liste({"Quelle", "Platte"}), Kodierung::Latin1);
    const struct Fall {
        const char* name;
        int version;
        bool unsynchronisiert;
        Kodierung kodierung;  // of the artist
        bool bleibtGepackt;   // the artist's frame in the 2.3 tag
    } fälle[] = {
        {"2.3", 3, false, Kodierung::Utf16Bom, true},
        {"2.3 unsynchronisiert", 3, true, Kodierung::Utf16Bom, true},
        {"2.4", 4, false, Kodierung::Utf16Bom, true},
        {"2.4 unsynchronisiert", 4, true, Kodierung::Utf16Bom, true},
        // 2.3 holds no UTF-8: the frame becomes UTF-16, uncompressed.
        {"2.4 utf-8", 4, false, Kodierung::Utf8, false},
    };
    QStringList titelDateien, jahrDateien;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const Id3v2Frame tpe1 = TextFrame("TPE1", interpret, fall.kodierung);
        const QByteArray tag = Id3v2Tag{.version = fall.version,
                                        .frames = {Gepackt(tpe1, fall.version), album, Gepackt(andere, fall.version),
                                                   Gepackt(titel, fall.version)},
                                        .padding = 40,
                                        .unsynchronisiert = fall.unsynchronisiert}
                                   .Bytes();
        const QByteArray interpret23 = Frames23({fall.bleibtGepackt ? Gepackt(tpe1, 3) : TextFrame("TPE1", interpret, Kodierung::Utf16Bom)});
        for (const char* änderung : {"Mp3_ID3v2_Titel=Neu", "Mp3_ID3v2_Jahr=1999"}) {
            const bool jahr = QByteArrayView(änderung).startsWith("Mp3_ID3v2_Jahr");
            SCOPED_TRACE(änderung);
            const QString pfad = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + (jahr ? "-jahr.mp3" : "-titel.mp3"), tag + audio);
            MedienInfo m;
            ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
            EXPECT_EQ(m.Mp3_ID3v2_Titel, "Alter Titel 1003");
            EXPECT_EQ(m.Mp3_ID3v2_Interpret, interpret);
            const QJsonObject dump = Dump(pfad);
            EXPECT_EQ(dump["Mp3_ID3v2_Titel"].toString(), "Alter Titel 1003");
            EXPECT_EQ(dump["Mp3_ID3v2_Interpret"].toString(), interpret);

            const Lauf l = Werkzeug("tag-write", {pfad, "v2", änderung});
            ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
            const auto [neu, rest] = Teilen(pfad);
            EXPECT_EQ(rest, audio);
            EXPECT_EQ(neu.count("TIT2"), 1);
            EXPECT_EQ(neu.count("TPE1"), 1);
            EXPECT_TRUE(neu.contains(interpret23));
            EXPECT_EQ(neu.contains(Frames23({Gepackt(titel, 3)})), jahr);
            EXPECT_TRUE(neu.contains(Frames23({album})));
            EXPECT_TRUE(neu.contains(Frames23({Gepackt(andere, 3)})));
            EXPECT_EQ(TagLibLesen(pfad), jahr ? "Alter Titel 1003;" + interpret + ";Album;0;1999" : "Neu;" + interpret + ";Album;0;0");
            (jahr ? jahrDateien : titelDateien) << pfad;
        }
        const QString ohne = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + "-ohne.mp3", tag + audio);
        EXPECT_EQ(Werkzeug("tag-remove", {ohne, "v2"}).code, 0);
        EXPECT_EQ(Teilen(ohne), std::pair(QByteArray(), audio));
    }
    const QStringList nachTitel = Mutagen(python, titelDateien), nachJahr = Mutagen(python, jahrDateien);
    ASSERT_EQ(nachTitel.size(), qsizetype(std::size(fälle)));
    ASSERT_EQ(nachJahr.size(), qsizetype(std::size(fälle)));
    for (size_t i = 0; i < std::size(fälle); ++i) {
        SCOPED_TRACE(fälle[i].name);
        EXPECT_EQ(nachTitel[qsizetype(i)], "TALB=Album TIT2=Neu TPE1=" + interpret + " TXXX=Platte ; TDRC=");
        EXPECT_EQ(nachJahr[qsizetype(i)], "TALB=Album TIT2=Alter Titel 1003 TPE1=" + interpret + " TXXX=Platte TYER=1999 ; TDRC=1999");
    }
}

// A compressed frame that cannot be read (a broken stream, a size that no
// stream of its length can give): the reading goes on behind it and shows
// the field empty; a write is refused saying which frame, the file stays as
// it was; the tag can still be removed.
TEST_F(FeldFrames, ACompressedFrameThatCannotBeReadRefusesTheWrite)
{
    const Id3v2Frame titel = TextFrame("TIT2", "Alter Titel");
    QByteArray kaputt = Zlib(titel.daten);
    kaputt[kaputt.size() / 2] = char(kaputt[kaputt.size() / 2] ^ 0x55);
    const struct Fall {
        const char* name;
        int version;
        Id3v2Frame frame;
    } fälle[] = {
        {"2.3 kaputter Strom", 3, Gepackt(titel, 3, {}, kaputt)},
        {"2.3 abgeschnittener Strom", 3, Gepackt(titel, 3, {}, Zlib(titel.daten).chopped(4))},
        {"2.3 2 GiB", 3, Gepackt(titel, 3, 0x80000000u)},
        {"2.4 256 MiB", 4, Gepackt(titel, 4, 0x0FFFFFFFu)},
        {"2.4 kein zlib", 4, Gepackt(titel, 4, 100, QByteArray("zlib"))},
    };
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.name);
        const QByteArray d
            = Id3v2Tag{.version = fall.version, .frames = {fall.frame, TextFrame("TPE1", "Interpret")}, .padding = 100}.Bytes() + audio;
        const QString pfad = DateiSchreiben(ordner, QString::fromUtf8(fall.name) + ".mp3", d);
        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "");
        EXPECT_EQ(m.Mp3_ID3v2_Interpret, "Interpret");
        const QJsonObject dump = Dump(pfad);
        EXPECT_EQ(dump["Mp3_ID3v2_Titel"].toString(), "");
        EXPECT_EQ(dump["Mp3_ID3v2_Interpret"].toString(), "Interpret");

        for (const char* änderung : {"Mp3_ID3v2_Titel=Neu", "Mp3_ID3v2_Jahr=1999"}) {
            const Lauf l = Werkzeug("tag-write", {pfad, "v2", änderung});
            EXPECT_EQ(l.code, 2);
            EXPECT_TRUE(l.fehler.endsWith("Der ID3v2-TAG der Datei '" + pfad.toUtf8()
                                          + "' konnte nicht gespeichert werden.\nDie Felder des vorhandenen ID3v2-TAGs können "
                                            "nicht gelesen werden. Das Feld 'TIT2' ist beschädigt. (Fehler 22).\n"))
                << l.fehler.toStdString();
            EXPECT_EQ(Teilen(pfad), std::pair(d.left(d.size() - audio.size()), audio));
        }
        EXPECT_EQ(Werkzeug("tag-remove", {pfad, "v2"}).code, 0);
        EXPECT_EQ(Teilen(pfad), std::pair(QByteArray(), audio));
    }
}

// A compressed comment without a description is one for the writer too: a
// typed comment takes the place of the one it replaces, in front of it, so
// that every reader takes the typed one.
TEST_F(FeldFrames, ATypedCommentStaysInFrontOfACompressedOne)
{
    for (const int version : {3, 4}) {
        SCOPED_TRACE(version);
        const Id3v2Frame zweiter = KommentarFrame(QStringLiteral("Zweiter"));
        const QString pfad = DateiSchreiben(
            ordner, QStringLiteral("k%1.mp3").arg(version),
            Id3v2Tag{.version = version, .frames = {KommentarFrame(QStringLiteral("Erster")), Gepackt(zweiter, version), TextFrame("TIT2", "T")}}
                    .Bytes()
                + audio);
        const Lauf l = Werkzeug("tag-write", {pfad, "v2", "Mp3_ID3v2_Kommentar=Neu"});
        ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 102400));
        EXPECT_EQ(m.Mp3_ID3v2_Kommentar, "Neu");
        TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
        ASSERT_TRUE(f.hasID3v2Tag());
        EXPECT_EQ(QString::fromStdWString(f.ID3v2Tag()->comment().toWString()), "Neu");
        EXPECT_TRUE(Teilen(pfad).first.contains(Frames23({Gepackt(zweiter, 3)})));
        EXPECT_EQ(Teilen(pfad).second, audio);
    }
}
