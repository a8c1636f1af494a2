// Our reading of made MP3 files against TagLib, an independent reader.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "media/Id3v2Lesen.h"
#include "media/MedienInfosLesen.h"
#include "support/Mp3Bauer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/urllinkframe.h>

using namespace Mp3Bauer;

namespace {

QString Q(const TagLib::String& s) { return QString::fromStdWString(s.toWString()); }

struct Fall {
    const char* name;
    QByteArray daten;
    bool textVergleichen = true;  // TagLib reads the texts of this tag
    bool audioVergleichen = true; // both find the same first frame
    bool tagVergleichen = true;   // both see the same ID3v2 tag (or none)
};

Index StandardIndex()
{
    StandardwerteSetzen();
    Index i;
    i.strDateiTypen = standardwerte().strStandardDateiTypen;
    i.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    return i;
}

MedienInfo Lesen(const QString& pfad)
{
    static const Index index = StandardIndex();
    einstellungen().TAGsBytesSuchen = 102400;
    return MedienInfosLesen(index, pfad, LeereMedienInfo(), QStringLiteral("11"), false, QStringLiteral("1"),
                            QStringLiteral("1"));
}

void Vergleichen(const Fall& fall, const QString& pfad)
{
    SCOPED_TRACE(fall.name);
    const MedienInfo m = Lesen(pfad);
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), true, TagLib::AudioProperties::Accurate);

    // MPEG header
    const TagLib::MPEG::Properties* p = f.isValid() ? f.audioProperties() : nullptr;
    if (fall.audioVergleichen) {
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(m.Header_Bitrate, p->bitrate());
        EXPECT_EQ(m.Header_Frequenz, p->sampleRate());
        EXPECT_NEAR(m.Header_Dauer, p->lengthInSeconds(), 1);
        static const char* const modi[] = {"Stereo", "Joint Stereo", "Dual Channel", "Single Channel"};
        EXPECT_EQ(m.Header_Modus, QLatin1String(modi[p->channelMode()]));
        const int version = p->version() == TagLib::MPEG::Header::Version1 ? 1 : p->version() == TagLib::MPEG::Header::Version2 ? 2 : 25;
        EXPECT_EQ(m.Header_Version, version);
        EXPECT_EQ(m.Header_Layer, p->layer());
        EXPECT_EQ(m.Header_Position, f.firstFrameOffset());
    } else if (p && p->sampleRate() > 0) {
        // TagLib found audio where we found none: that would be our miss.
        EXPECT_GT(m.Header_Frequenz, 0) << "TagLib found a frame at " << f.firstFrameOffset();
    }

    // ID3v1
    EXPECT_EQ(m.Mp3_ID3v1_Vorhanden == 1, f.hasID3v1Tag());
    if (f.hasID3v1Tag()) {
        TagLib::ID3v1::Tag* t = f.ID3v1Tag();
        EXPECT_EQ(m.Mp3_ID3v1_Titel, Q(t->title()));
        EXPECT_EQ(m.Mp3_ID3v1_Interpret, Q(t->artist()));
        EXPECT_EQ(m.Mp3_ID3v1_Album, Q(t->album()));
        EXPECT_EQ(m.Mp3_ID3v1_Jahr.toUInt(), t->year());
        EXPECT_EQ(m.Mp3_ID3v1_Kommentar, Q(t->comment()));
        EXPECT_EQ(m.Mp3_ID3v1_Titelnummer.toUInt(), t->track());
        EXPECT_EQ(GenreByte(m), int(t->genreNumber()));
    }

    // ID3v2
    if (!fall.tagVergleichen)
        return;
    EXPECT_EQ(m.Mp3_ID3v2_Vorhanden == 1, f.hasID3v2Tag());
    if (!f.hasID3v2Tag())
        return;
    TagLib::ID3v2::Tag* t = f.ID3v2Tag();
    EXPECT_EQ(m.Mp3_ID3v2_Version, QStringLiteral("2.%1.%2").arg(t->header()->majorVersion()).arg(t->header()->revisionNumber()));
    EXPECT_EQ(m.Mp3_ID3v2_TAGGröße, qint32(t->header()->completeTagSize()));
    if (!fall.textVergleichen)
        return;
    const auto& karte = t->frameListMap();
    for (const Id3v2FrameFeld& feld : Id3v2FrameFelder()) {
        const QByteArray id = feld.id;
        if (id == "PCNT")
            continue; // TagLib keeps no counter frame
        const QString unser = m.*feld.feld;
        QString ihr;
        if (id == "COMM") {
            ihr = Q(t->comment());
        } else if (id == "WXXX") {
            const auto it = karte.find("WXXX");
            if (it != karte.end() && !it->second.isEmpty())
                if (auto* url = dynamic_cast<TagLib::ID3v2::UserUrlLinkFrame*>(it->second.front()))
                    ihr = Q(url->url());
        } else {
            // TagLib names frames as in 2.4.
            const TagLib::ByteVector tid(id == "TYER" ? "TDRC" : id.constData());
            const auto it = karte.find(tid);
            if (it != karte.end() && !it->second.isEmpty())
                ihr = Q(it->second.back()->toString());
        }
        EXPECT_EQ(unser, ihr) << "frame " << id.constData();
    }
}

std::vector<Id3v2Frame> TextFrames(Kodierung k, int version = 3)
{
    std::vector<Id3v2Frame> f;
    const bool v22 = version == 2;
    f.push_back(TextFrame(v22 ? "TT2" : "TIT2", QStringLiteral("Über den Wolken"), k));
    f.push_back(TextFrame(v22 ? "TP1" : "TPE1", QStringLiteral("Reinhard Mey"), k));
    f.push_back(TextFrame(v22 ? "TAL" : "TALB", QStringLiteral("Ankomme Freitag, den 13."), k));
    if (version < 4)
        f.push_back(TextFrame(v22 ? "TYE" : "TYER", QStringLiteral("1974"), k));
    f.push_back(TextFrame(v22 ? "TRK" : "TRCK", QStringLiteral("7/12"), k));
    f.push_back(TextFrame(v22 ? "TCO" : "TCON", QStringLiteral("Liedermacher"), k));
    f.push_back(KommentarFrame(QStringLiteral("Ein Kommentar"), QString(), k, "deu", v22 ? "COM" : "COMM"));
    if (!v22)
        f.push_back(LinkFrame(QStringLiteral("https://kalvero.example/"), QString(), k));
    return f;
}

QByteArray Audio(const Frame& f = Frame(), int anzahl = 400) { return Frames(f, anzahl); }

QByteArray V1()
{
    return Id3v1Block({.titel = "Titel eins", .interpret = "Interpret", .album = "Album", .jahr = "1999",
                       .kommentar = "Kommentar", .spur = 3, .genre = 17});
}

QByteArray Tag(int version, Kodierung k, bool unsync = false, bool erweitert = false)
{
    Id3v2Tag t;
    t.version = version;
    t.frames = TextFrames(k, version);
    t.padding = 256;
    t.unsynchronisiert = unsync;
    t.erweiterterKopf = erweitert;
    return t.Bytes();
}

std::vector<Fall> Fälle()
{
    std::vector<Fall> fälle;
    fälle.push_back({"v2.2 latin1", Tag(2, Kodierung::Latin1) + Audio() + V1()});
    fälle.push_back({"v2.2 utf16", Tag(2, Kodierung::Utf16Bom) + Audio()});
    fälle.push_back({"v2.3 latin1", Tag(3, Kodierung::Latin1) + Audio() + V1()});
    fälle.push_back({"v2.3 utf16 bom", Tag(3, Kodierung::Utf16Bom) + Audio()});
    fälle.push_back({"v2.3 utf16 bom be", Tag(3, Kodierung::Utf16BomBE) + Audio()});
    fälle.push_back({"v2.4 utf16be", Tag(4, Kodierung::Utf16BE) + Audio()});
    fälle.push_back({"v2.4 utf8", Tag(4, Kodierung::Utf8) + Audio() + V1()});
    // TagLib cannot read UTF-16 without a byte-order mark; we read little-endian.
    fälle.push_back({"v2.3 utf16 ohne bom", Tag(3, Kodierung::Utf16OhneBom) + Audio(), false});
    // TagLib takes the size of a 2.3 extended header as counting itself and
    // so misses the frames; the size excludes itself in 2.3.
    fälle.push_back({"v2.3 extended header", Tag(3, Kodierung::Latin1, false, true) + Audio(), false});
    fälle.push_back({"v2.4 extended header", Tag(4, Kodierung::Utf8, false, true) + Audio()});
    fälle.push_back({"v2.4 extended header unsync", Tag(4, Kodierung::Utf16Bom, true, true) + Audio()});
    {
        Id3v2Tag t;
        t.frames = {TextFrame("TIT2", QStringLiteral("ÿÿ Tëst ÿ"), Kodierung::Utf16Bom), TextFrame("TPE1", QStringLiteral("ÿ"), Kodierung::Latin1)};
        t.unsynchronisiert = true;
        t.padding = 10;
        fälle.push_back({"v2.3 unsync utf16", t.Bytes() + Audio()});
        t.version = 4;
        fälle.push_back({"v2.4 unsync utf16", t.Bytes() + Audio()});
    }
    for (bool plain : {false, true}) {
        Id3v2Tag t;
        t.version = 4;
        t.plainGrößen = plain;
        t.frames = {TextFrame("TCOM", QString(200, QLatin1Char('k'))), TextFrame("TIT2", QStringLiteral("Nach dem langen Frame"))};
        fälle.push_back({plain ? "v2.4 plain sizes" : "v2.4 syncsafe sizes", t.Bytes() + Audio()});
    }
    {
        // A cover of more than 2 MiB that contains frame syncs.
        QByteArray bild("\x00image/jpeg\x00\x03\x00", 14);
        for (int i = 0; bild.size() < 2200000; ++i)
            bild.append(i % 7 == 0 ? QByteArray("\xFF\xFB\x90\x64", 4) : QByteArray(97, char(i)));
        Id3v2Tag t;
        t.frames = {TextFrame("TIT2", QStringLiteral("Groß")), RohFrame("APIC", bild)};
        fälle.push_back({"tag over 2 MiB", t.Bytes() + Audio()});
        Id3v2Tag klein;
        klein.frames = {TextFrame("TIT2", QStringLiteral("Bild")), RohFrame("APIC", bild.left(20000))};
        fälle.push_back({"cover with FF FB", klein.Bytes() + Audio()});
    }
    fälle.push_back({"junk before the tag", QByteArray(1000, 'j') + Tag(3, Kodierung::Latin1) + Audio()});
    {
        Frame mpeg2;
        mpeg2.version = 2;
        mpeg2.frequenz = 22050;
        mpeg2.bitrate = 64;
        fälle.push_back({"mpeg-2 layer III", Tag(3, Kodierung::Latin1) + Audio(mpeg2) + V1()});
        Frame mpeg25;
        mpeg25.version = 25;
        mpeg25.frequenz = 11025;
        mpeg25.bitrate = 32;
        fälle.push_back({"mpeg-2.5 layer III", Tag(3, Kodierung::Latin1) + Audio(mpeg25)});
        mpeg25.frequenz = 8000;
        mpeg25.modus = 3;
        fälle.push_back({"mpeg-2.5 8 kHz mono", Audio(mpeg25)});
        Frame layer2;
        layer2.layer = 2;
        layer2.bitrate = 192;
        layer2.frequenz = 48000;
        layer2.modus = 0;
        fälle.push_back({"mpeg-1 layer II", Tag(3, Kodierung::Latin1) + Audio(layer2)});
        Frame layer1;
        layer1.layer = 1;
        layer1.bitrate = 384;
        layer1.frequenz = 32000;
        layer1.modus = 2;
        // Without a CRC the second header byte is FF, which TagLib never takes for a sync.
        layer1.crc = true;
        fälle.push_back({"mpeg-1 layer I", Audio(layer1, 1000)});
    }
    {
        // Variable bitrate: frames of three rates behind a Xing frame.
        const auto vbr = [](Frame basis, bool mitFrames, bool mitBytes) {
            QByteArray audio;
            for (int i = 0; i < 600; ++i) {
                Frame f = basis;
                f.bitrate = basis.version == 1 ? (i % 3 == 0 ? 128 : i % 3 == 1 ? 192 : 256) : (i % 2 ? 64 : 96);
                audio.append(f.Bytes());
            }
            const QByteArray erster = XingFrame(basis, 0, 0);
            const quint32 bytes = quint32(erster.size() + audio.size());
            return XingFrame(basis, mitFrames ? std::optional<quint32>(600) : std::nullopt,
                             mitBytes ? std::optional<quint32>(bytes) : std::nullopt) + audio;
        };
        Frame stereo;
        fälle.push_back({"xing stereo", Tag(3, Kodierung::Latin1) + vbr(stereo, true, true) + V1()});
        Frame mono;
        mono.modus = 3;
        fälle.push_back({"xing mono", Tag(3, Kodierung::Latin1) + vbr(mono, true, true)});
        Frame mpeg2mono;
        mpeg2mono.version = 2;
        mpeg2mono.frequenz = 24000;
        mpeg2mono.bitrate = 64;
        mpeg2mono.modus = 3;
        fälle.push_back({"xing mpeg-2 mono", vbr(mpeg2mono, true, true)});
        fälle.push_back({"xing without frame count", Tag(3, Kodierung::Latin1) + vbr(stereo, false, true)});
        QByteArray audio;
        for (int i = 0; i < 500; ++i) {
            Frame f;
            f.bitrate = i % 2 ? 160 : 224;
            audio.append(f.Bytes());
        }
        const QByteArray erster = VbriFrame(stereo, 0, 0);
        fälle.push_back({"vbri", Tag(3, Kodierung::Latin1) + VbriFrame(stereo, 500, quint32(erster.size() + audio.size())) + audio});
        const QByteArray info = XingFrame(stereo, 400, quint32(stereo.Länge() * 401), true);
        fälle.push_back({"info (cbr)", info + Audio()});
    }
    {
        const QByteArray ganz = Tag(3, Kodierung::Latin1) + Audio();
        fälle.push_back({"cut in the audio", ganz.left(ganz.size() - 200)});
        fälle.push_back({"cut in the tag", ganz.left(300), false, false});
        fälle.push_back({"empty file", QByteArray(), false, false});
        Id3v2Tag feindlich;
        feindlich.frames = TextFrames(Kodierung::Latin1);
        feindlich.größenFeld = QByteArray("\xFF\xFF\xFF\xFF", 4);
        // TagLib takes a size field that is not syncsafe as an empty tag; for
        // us it is no tag. Both find the same first frame.
        fälle.push_back({"hostile tag size", feindlich.Bytes() + Audio(), false, true, false});
        Id3v2Tag riesig;
        riesig.frames = {RohFrame("TIT2", QByteArray("\x00Titel", 6))};
        riesig.größenFeld = QByteArray("\x7F\x7F\x7F\x7F", 4);
        fälle.push_back({"tag larger than the file", riesig.Bytes() + Audio(), false, false});
        fälle.push_back({"127 bytes", V1().left(127), false, false});
        fälle.push_back({"128 bytes", V1(), false, false});
    }
    return fälle;
}

} // namespace

TEST(TagLibVergleich, GemachteDateienLesenWieTagLib)
{
    QTemporaryDir ordner;
    ASSERT_TRUE(ordner.isValid());
    int n = 0;
    for (const Fall& fall : Fälle())
        Vergleichen(fall, DateiSchreiben(ordner, QStringLiteral("f%1.mp3").arg(n++), fall.daten));
}
