// MPEG frame headers, the frame search and the values derived from it.

#include "core/Standardwerte.h"
#include "media/MpegKopf.h"
#include "support/Mp3Bauer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Mp3Bauer;

namespace {

MpegErgebnis Suchen(const QByteArray& d, qint64 von = 0)
{
    return MpegRahmenSuchen(d, 0, von, d.size(), d.size());
}

MedienInfo Übernommen(const QByteArray& d, qint64 audioEnde = -1)
{
    MedienInfo m;
    if (audioEnde < 0)
        audioEnde = d.size();
    MpegKopfÜbernehmen(MpegRahmenSuchen(d, 0, 0, d.size(), audioEnde), audioEnde, m);
    return m;
}

} // namespace

TEST(MpegKopf, DecodesTheFieldsOfAHeader)
{
    const auto k = MpegKopfLesen(QByteArray("\xFF\xFB\x90\x64", 4));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->version, 1);
    EXPECT_EQ(k->layer, 3);
    EXPECT_EQ(k->bitrate, 128);
    EXPECT_EQ(k->frequenz, 44100);
    EXPECT_EQ(k->ModusText(), "Joint Stereo");
    EXPECT_EQ(k->EmphasisText(), "Nein");
    EXPECT_FALSE(k->crc);
    EXPECT_TRUE(k->original);
    EXPECT_FALSE(k->padding);
    EXPECT_EQ(k->FrameLänge(), 417);

    // Reserved version and layer, bitrate index 15, sample-rate index 3, no sync.
    for (const char* roh : {"\xFF\xEB\x90\x64", "\xFF\xF9\x90\x64", "\xFF\xFB\xF0\x64", "\xFF\xFB\x9C\x64", "\xFF\x1B\x90\x64"})
        EXPECT_FALSE(MpegKopfLesen(QByteArray(roh, 4))) << roh;
    EXPECT_FALSE(MpegKopfLesen(QByteArray("\xFF\xFB", 2)));
}

TEST(MpegKopf, RatesLengthsAndSamplesByVersionAndLayer)
{
    struct {
        int version, layer, bitrate, frequenz, samples;
    } fälle[] = {
        {1, 1, 448, 48000, 384}, {1, 2, 384, 32000, 1152}, {1, 3, 320, 44100, 1152}, {2, 1, 256, 24000, 384},
        {2, 2, 160, 16000, 1152}, {2, 3, 8, 22050, 576},   {25, 3, 32, 11025, 576}, {25, 3, 160, 8000, 576},
        {25, 2, 64, 12000, 1152}, {25, 1, 32, 8000, 384},
    };
    for (const auto& f : fälle) {
        for (bool padding : {false, true}) {
            Frame b;
            b.version = f.version;
            b.layer = f.layer;
            b.bitrate = f.bitrate;
            b.frequenz = f.frequenz;
            b.padding = padding;
            const auto k = MpegKopfLesen(b.Kopf());
            ASSERT_TRUE(k) << f.version << "/" << f.layer;
            EXPECT_EQ(k->version, f.version);
            EXPECT_EQ(k->layer, f.layer);
            EXPECT_EQ(k->bitrate, f.bitrate);
            EXPECT_EQ(k->frequenz, f.frequenz);
            EXPECT_EQ(k->SamplesProFrame(), f.samples);
            EXPECT_EQ(k->FrameLänge(), b.Länge());
        }
    }
    // Layer I pads by a slot of four bytes.
    Frame l1;
    l1.layer = 1;
    l1.bitrate = 32;
    l1.frequenz = 44100;
    l1.padding = true;
    EXPECT_EQ(MpegKopfLesen(l1.Kopf())->FrameLänge(), (12 * 32000 / 44100 + 1) * 4);
}

TEST(MpegKopf, SearchNeedsAConfirmingSecondHeader)
{
    Frame f;
    // A lone sync in junk, then real frames.
    QByteArray d = QByteArray(100, 'x') + f.Kopf() + QByteArray(50, 'y') + Frames(f, 3);
    MpegErgebnis e = Suchen(d);
    ASSERT_EQ(e.status, MpegErgebnis::Gefunden);
    EXPECT_EQ(e.position, 154);

    // Frames of another stream do not confirm (other sample rate).
    Frame anders = f;
    anders.frequenz = 48000;
    d = f.Bytes() + anders.Bytes() + QByteArray(10, 'z');
    EXPECT_EQ(Suchen(d).status, MpegErgebnis::Keiner);

    // One frame that ends exactly where the audio ends stands alone.
    EXPECT_EQ(Suchen(f.Bytes()).status, MpegErgebnis::Gefunden);
    // A frame cut short is no frame.
    EXPECT_EQ(Suchen(f.Bytes().left(300)).status, MpegErgebnis::Keiner);

    // Bytes that end before the decision ask for more.
    d = Frames(f, 3);
    e = MpegRahmenSuchen(QByteArrayView(d).first(419), 0, 0, d.size(), d.size());
    EXPECT_EQ(e.status, MpegErgebnis::MehrDaten);
    EXPECT_EQ(e.weiterAb, 0);

    // Positions are file offsets, also when the bytes start later.
    e = MpegRahmenSuchen(d, 5000, 5000, 5000 + d.size(), 5000 + d.size());
    EXPECT_EQ(e.position, 5000);
}

TEST(MpegKopf, ConstantBitrateValues)
{
    Frame f; // 128 kbit/s, 44.1 kHz, 417.96 bytes a frame on average
    QByteArray d = Frames(f, 10023);
    d.append(QByteArray(4180000 - d.size(), '\x55'));
    MedienInfo m = Übernommen(d);
    EXPECT_EQ(m.Header_Position, 0);
    EXPECT_EQ(m.Header_Bitrate, 128);
    EXPECT_EQ(m.Header_Frames, 10001);
    EXPECT_EQ(m.Header_Dauer, 261);
    EXPECT_FALSE(m.Header_VBR);

    // The audio ends in front of an ID3v1 block.
    m = Übernommen(Frames(f, 1000) + Id3v1Block({}), Frames(f, 1000).size());
    EXPECT_EQ(m.Header_Frames, 998); // 1000 frames of 417 bytes: 998 frames of the average length
    EXPECT_EQ(m.Header_Dauer, 26);
}

TEST(MpegKopf, XingInfoAndVbriHeaders)
{
    for (int modus : {1, 3}) {
        for (int version : {1, 2}) {
            Frame f;
            f.modus = modus;
            f.version = version;
            f.frequenz = version == 1 ? 44100 : 22050;
            f.bitrate = version == 1 ? 128 : 64;
            const QByteArray d = XingFrame(f, 2000, 123456) + Frames(f, 5);
            const MpegErgebnis e = Suchen(d);
            EXPECT_TRUE(e.xing) << modus << version;
            EXPECT_EQ(e.vbrFrames, 2000);
            const MedienInfo m = Übernommen(d);
            EXPECT_TRUE(m.Header_VBR);
            EXPECT_EQ(m.Header_Frames, 2000);
            EXPECT_EQ(m.Header_Dauer, int(2000.0 * f.SamplesProFrame() / f.frequenz));
            // The rate counts the audio bytes only.
            EXPECT_EQ(m.Header_Bitrate, qRound(d.size() * 8.0 / (2000.0 * f.SamplesProFrame() / f.frequenz) / 1000));
        }
    }

    Frame f;
    // Without the frame flag the count is not read; the first frame's rate stands.
    MpegErgebnis e = Suchen(XingFrame(f, std::nullopt, 5000) + Frames(f, 2));
    EXPECT_TRUE(e.xing);
    EXPECT_EQ(e.vbrFrames, -1);
    MedienInfo m = Übernommen(XingFrame(f, std::nullopt, 5000) + Frames(f, 2));
    EXPECT_TRUE(m.Header_VBR);
    EXPECT_EQ(m.Header_Bitrate, 128);
    EXPECT_EQ(m.Header_Frames, 3);

    // "Info" marks a constant bitrate with a frame count.
    m = Übernommen(XingFrame(f, 10000, 1, true) + Frames(f, 2));
    EXPECT_FALSE(m.Header_VBR);
    EXPECT_EQ(m.Header_Frames, 10000);
    EXPECT_EQ(m.Header_Bitrate, 128);
    EXPECT_EQ(m.Header_Dauer, 261);

    // Behind a CRC the header stands two bytes later.
    Frame crc;
    crc.crc = true;
    QByteArray d = crc.Bytes('\0');
    d.replace(crc.XingOffset() + 2, 12, QByteArray("Xing") + BigEndian32(1) + BigEndian32(777));
    EXPECT_EQ(Suchen(d + Frames(crc, 2)).vbrFrames, 777);

    e = Suchen(VbriFrame(f, 4321, 99999) + Frames(f, 2));
    EXPECT_TRUE(e.xing);
    EXPECT_EQ(e.vbrFrames, 4321);

    // A Xing count of zero or beyond 31 bits gives no count.
    EXPECT_EQ(Suchen(XingFrame(f, 0, 1) + Frames(f, 2)).vbrFrames, -1);
    EXPECT_EQ(Suchen(XingFrame(f, 0x80000000u, 1) + Frames(f, 2)).vbrFrames, -1);
}

TEST(MpegKopf, FreeFormatHasNoDurationAndNoFrameCount)
{
    Frame f;
    f.bitrate = 0;
    f.freieLänge = 600;
    const QByteArray d = Frames(f, 4);
    const MpegErgebnis e = Suchen(d);
    ASSERT_EQ(e.status, MpegErgebnis::Gefunden);
    const MedienInfo m = Übernommen(d);
    EXPECT_EQ(m.Header_Bitrate, 0);
    EXPECT_EQ(m.Header_Dauer, 0);
    EXPECT_EQ(m.Header_Frames, -1);
    EXPECT_EQ(m.Header_Frequenz, 44100);
    // A lone free-format header is not taken.
    EXPECT_EQ(Suchen(f.Kopf() + QByteArray(3000, 'a')).status, MpegErgebnis::Keiner);
}

TEST(MpegKopf, FileSearchStartsBehindTheTagAndLooks100KiBFar)
{
    QTemporaryDir dir;
    Frame f;
    Id3v2Tag tag;
    tag.frames = {TextFrame("TIT2", QStringLiteral("x"))};
    tag.padding = 2038 - 12;
    const QByteArray kopf = tag.Bytes();
    ASSERT_EQ(kopf.size(), 2048);
    MedienInfo alt;
    alt.Header_Position = 77;
    alt.Header_Bitrate = 5;

    MedienInfo m = Mp3HeaderLesen(DateiSchreiben(dir, "a.mp3", kopf + Frames(f, 20)), alt);
    EXPECT_EQ(m.Header_Position, 2048);

    // Far behind the tag, but within 100 KiB of its end: found (the file is read in steps).
    m = Mp3HeaderLesen(DateiSchreiben(dir, "b.mp3", kopf + QByteArray(100000, '\0') + Frames(f, 20)), alt);
    EXPECT_EQ(m.Header_Position, 2048 + 100000);
    // Beyond: nothing found, the record keeps its header values.
    m = Mp3HeaderLesen(DateiSchreiben(dir, "c.mp3", kopf + QByteArray(103000, '\0') + Frames(f, 20)), alt);
    EXPECT_EQ(m.Header_Position, 77);
    EXPECT_EQ(m.Header_Bitrate, 5);
    // A missing file changes nothing.
    EXPECT_EQ(Mp3HeaderLesen(dir.filePath("fehlt.mp3"), alt), alt);
}

TEST(MpegKopf, BitTexts)
{
    EXPECT_EQ(*BinärZuZahl(u""), 0);
    EXPECT_EQ(*BinärZuZahl(u"1011"), 11);
    EXPECT_EQ(*BinärZuZahl(QString(31, QLatin1Char('1'))), 2147483647);
    EXPECT_FALSE(BinärZuZahl(u"10000000000000000000000000000000"));
    EXPECT_EQ(BinärZuDouble(QString(32, QLatin1Char('1'))), 4294967295.0);

    const quint8 null[4] = {0, 0, 0, 0};
    EXPECT_EQ(BytesZuBinär(null), "");
    const quint8 klein[4] = {0, 0, 1, 2};
    EXPECT_EQ(BytesZuBinär(klein), "100000010");
    const quint8 kopf[4] = {0xFF, 0xFB, 0x90, 0x64};
    EXPECT_EQ(BytesZuBinär(kopf).size(), 32);

    EXPECT_EQ(ZahlZuBinär(200, 4), "00000000000000000000000011001000");
    EXPECT_EQ(ZahlZuBinär(5, 0), "");

    EXPECT_EQ(JaNeinText(true), "Ja");
    EXPECT_EQ(JaNeinText(-1), "Ja");
    EXPECT_EQ(JaNeinText(false), "Nein");
    EXPECT_EQ(JaNeinText(QVariant()), "Nein");
    EXPECT_EQ(JaNeinText(5), "5");
}
