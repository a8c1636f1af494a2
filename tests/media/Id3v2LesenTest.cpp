// Reading ID3v2 tags: sizes, encodings, unsynchronisation, extended headers,
// the frames with their own fields and the ones kept raw.

#include "media/Id3v2Lesen.h"
#include "support/Mp3Bauer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Mp3Bauer;

namespace {

constexpr int kTitel = 12, kKommentar = 8, kLink = 3, kZähler = 0, kGenre = 7, kInterpret = 11;

Id3v2Ergebnis Lesen(const Id3v2Tag& t) { return Id3v2Lesen(t.Bytes()); }

Id3v2Ergebnis EinFrame(const Id3v2Frame& f, int version = 3)
{
    Id3v2Tag t;
    t.version = version;
    t.frames = {f};
    return Lesen(t);
}

QString Titel(const QByteArray& daten, int version = 3)
{
    return EinFrame(RohFrame(version == 2 ? "TT2" : "TIT2", daten), version).felder[kTitel];
}

} // namespace

TEST(Id3v2Lesen, HeaderSizeIsTheWhole28BitSyncsafeNumber)
{
    const auto k = Id3v2KopfLesen(QByteArray("ID3\x03\x00\x00\x00\x00\x0F\x76", 10));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->größe, 2038u);
    EXPECT_EQ(k->GesamtGröße(), 2048);
    EXPECT_EQ(k->VersionText(), "2.3.0");
    // A first size byte that is not zero is a large tag, not a broken one.
    EXPECT_EQ(Id3v2KopfLesen(QByteArray("ID3\x04\x00\x00\x01\x00\x00\x00", 10))->größe, 1u << 21);
    EXPECT_EQ(Id3v2KopfLesen(QByteArray("ID3\x04\x00\x10\x00\x00\x00\x05", 10))->GesamtGröße(), 25); // footer
    // Not syncsafe, unknown major versions, revision FF, too short.
    for (const char* roh : {"ID3\x03\x00\x00\x00\x00\x81\x00", "ID3\x05\x00\x00\x00\x00\x00\x00", "ID3\x01\x00\x00\x00\x00\x00\x00",
                            "ID3\x03\xFF\x00\x00\x00\x00\x00"})
        EXPECT_FALSE(Id3v2KopfLesen(QByteArray(roh, 10)));
    EXPECT_FALSE(Id3v2KopfLesen(QByteArray("ID3\x03\x00\x00\x00\x00\x00", 9)));

    qint64 g = 0;
    EXPECT_TRUE(Mp3TAGLesenV2GrößeLesen(QByteArray("\x00\x00\x01\x00", 4), g, false));
    EXPECT_EQ(g, 128);
    EXPECT_TRUE(Mp3TAGLesenV2GrößeLesen(QByteArray("\x00\x00\x81\x00", 4), g, true));
    EXPECT_EQ(g, 33024);
    EXPECT_FALSE(Mp3TAGLesenV2GrößeLesen(QByteArray("\x00\x00\x81\x00", 4), g, false));
    EXPECT_TRUE(Mp3TAGLesenV2GrößeLesen(QByteArray("\x01\x02\x03", 3), g, true));
    EXPECT_EQ(g, 0x010203);
    EXPECT_FALSE(Mp3TAGLesenV2GrößeLesen(QByteArray("\x01\x02", 2), g, true));
}

TEST(Id3v2Lesen, TextEncodings)
{
    const QString text = QStringLiteral("Grüße € 日本");
    EXPECT_EQ(Titel(QByteArray(1, '\1') + TextBytes(text, Kodierung::Utf16Bom)), text);
    EXPECT_EQ(Titel(QByteArray(1, '\1') + TextBytes(text, Kodierung::Utf16BomBE)), text);
    EXPECT_EQ(Titel(QByteArray(1, '\1') + TextBytes(text, Kodierung::Utf16OhneBom)), text);
    EXPECT_EQ(Titel(QByteArray(1, '\2') + TextBytes(text, Kodierung::Utf16BE), 4), text);
    EXPECT_EQ(Titel(QByteArray(1, '\3') + text.toUtf8(), 4), text);
    EXPECT_EQ(Titel(QByteArray("\3\xEF\xBB\xBFok", 6), 4), "ok");
    // Encoding 0 is Windows-1252; invalid UTF-8 falls back to it.
    EXPECT_EQ(Titel(QByteArray("\0\x80 \xE4", 4)), QStringLiteral("€ ä"));
    EXPECT_EQ(Titel(QByteArray("\3\xE4rger", 6), 4), QStringLiteral("ärger"));
    // 2.2 knows encodings 0 and 1 alike.
    EXPECT_EQ(Titel(QByteArray(1, '\1') + TextBytes(text, Kodierung::Utf16Bom), 2), text);
    // An unknown encoding byte: the frame is kept raw, not misread.
    const Id3v2Ergebnis e = EinFrame(RohFrame("TIT2", QByteArray("\x07text", 5)));
    EXPECT_EQ(e.felder[kTitel], "");
    EXPECT_EQ(e.weitereFrames, QByteArray("TIT2\x00\x00\x00\x05\x00\x00\x07text", 15));
}

TEST(Id3v2Lesen, StringsEndAtTheirTerminator)
{
    // A three-letter text followed by its terminator stays.
    EXPECT_EQ(EinFrame(TextFrame("TCON", QStringLiteral("Pop"), Kodierung::Latin1, true)).felder[kGenre], "Pop");
    EXPECT_EQ(EinFrame(TextFrame("TCON", QStringLiteral("Pop"), Kodierung::Utf16Bom, true)).felder[kGenre], "Pop");
    // Several strings are all kept.
    EXPECT_EQ(EinFrame(TextFrame("TPE1", QStringList{"A", "B"}, Kodierung::Utf16Bom), 4).felder[kInterpret], "A / B");
    // Line breaks, characters 0 and 1 and trailing blanks go.
    EXPECT_EQ(Titel(QByteArray("\0a\r\nb\1c  ", 10)), "abc");
    // An empty frame and an encoding byte alone give "".
    EXPECT_EQ(Titel(QByteArray()), "");
    EXPECT_EQ(Titel(QByteArray(1, '\1')), "");
    // UTF-16 with an odd byte count loses the odd byte only.
    EXPECT_EQ(Titel(QByteArray("\1\xFF\xFEH\0i\0!", 8)), "Hi");
}

TEST(Id3v2Lesen, CommentWithoutDescriptionWinsAndOthersStayRaw)
{
    Id3v2Tag t;
    const Id3v2Frame itunes = KommentarFrame(QStringLiteral(" 0000 1234"), QStringLiteral("iTunNORM"));
    t.frames = {itunes, KommentarFrame(QStringLiteral("Der Kommentar\nzweite Zeile"), QString(), Kodierung::Utf16Bom, "deu"),
                KommentarFrame(QStringLiteral("noch einer"), QStringLiteral("x"))};
    Id3v2Ergebnis e = Lesen(t);
    EXPECT_EQ(e.felder[kKommentar], "Der Kommentarzweite Zeile");
    const Id3v2Tag nurItunes{.frames = {itunes}};
    const QByteArray roh = nurItunes.Bytes().mid(10);
    EXPECT_TRUE(e.weitereFrames.startsWith(roh));
    EXPECT_TRUE(e.weitereFrames.contains("noch einer"));

    // Only comments with a description: no field, both kept raw.
    t.frames = {itunes, KommentarFrame(QStringLiteral("b"), QStringLiteral("y"))};
    e = Lesen(t);
    EXPECT_EQ(e.felder[kKommentar], "");
    EXPECT_EQ(e.weitereFrames, t.Bytes().mid(10));
    // A comment body too short for its language is empty, not garbage.
    EXPECT_EQ(EinFrame(RohFrame("COMM", QByteArray("\0en", 3))).felder[kKommentar], "");
    // 2.2 COM has the same structure.
    EXPECT_EQ(EinFrame(KommentarFrame(QStringLiteral("alt"), QString(), Kodierung::Latin1, "eng", "COM"), 2).felder[kKommentar], "alt");
}

TEST(Id3v2Lesen, LinkAndCounterFrames)
{
    EXPECT_EQ(EinFrame(LinkFrame(QStringLiteral("http://a.example/"))).felder[kLink], "http://a.example/");
    // A link with a description stays raw.
    const Id3v2Frame beschrieben = LinkFrame(QStringLiteral("http://a.example/"), QStringLiteral("Seite"), Kodierung::Utf16Bom);
    EXPECT_EQ(EinFrame(beschrieben).felder[kLink], "");
    EXPECT_EQ(EinFrame(beschrieben).weitereFrames, (Id3v2Tag{.frames = {beschrieben}}.Bytes().mid(10)));
    EXPECT_EQ(EinFrame(RohFrame("PCNT", QByteArray("\x00\x00\x01\x00", 4))).felder[kZähler], "256");
    EXPECT_EQ(EinFrame(RohFrame("PCNT", QByteArray("\x01\x00\x00\x00\x00", 5))).felder[kZähler], "4294967296");
    // The form this program wrote: encoding byte and digits.
    EXPECT_EQ(EinFrame(RohFrame("PCNT", QByteArray("\x00" "42", 3))).felder[kZähler], "42");
    EXPECT_EQ(EinFrame(RohFrame("PCNT", QByteArray("\x00" "1234", 5))).felder[kZähler], "1234");
    // A counter too long for 64 bits is kept raw.
    const Id3v2Ergebnis e = EinFrame(RohFrame("PCNT", QByteArray(9, '\x01')));
    EXPECT_EQ(e.felder[kZähler], "");
    EXPECT_EQ(e.weitereFrames.size(), 19);
}

TEST(Id3v2Lesen, UnsynchronisationIsUndone)
{
    // Picture bytes that unsynchronisation changes: FF E0, FF 00, a final FF.
    const QByteArray bild("\x00image/png\x00\x03\x00\xFF\xE0\xFF\x00\x12\xFF", 19);
    for (int version : {3, 4}) {
        Id3v2Tag t;
        t.version = version;
        t.unsynchronisiert = true;
        t.frames = {TextFrame("TIT2", QStringLiteral("ÿÿ"), Kodierung::Utf16Bom), RohFrame("APIC", bild)};
        t.padding = 4;
        ASSERT_NE(t.Bytes().indexOf(QByteArray("\xFF\x00\xE0", 3)), -1);
        const Id3v2Ergebnis e = Lesen(t);
        EXPECT_EQ(e.felder[kTitel], QStringLiteral("ÿÿ")) << version;
        // Kept raw as the frame stands without unsynchronisation, in 2.3 layout.
        EXPECT_EQ(e.weitereFrames, QByteArray("APIC") + BigEndian32(quint32(bild.size())) + QByteArray(2, '\0') + bild) << version;
        EXPECT_EQ(e.ungenutzt, t.Bytes().size() - 4) << version;
    }
}

TEST(Id3v2Lesen, ExtendedHeadersAreSkippedByTheirOwnSize)
{
    for (int version : {3, 4}) {
        Id3v2Tag t;
        t.version = version;
        t.erweiterterKopf = true;
        t.frames = {TextFrame("TIT2", QStringLiteral("hinter dem Kopf"))};
        EXPECT_EQ(Lesen(t).felder[kTitel], "hinter dem Kopf") << version;
    }
    // A 2.3 extended header with CRC: 14 bytes.
    QByteArray körper("\x00\x00\x00\x0A\x80\x00\x00\x00\x00\x00\x12\x34\x56\x78", 14);
    körper.append(QByteArray("TIT2\x00\x00\x00\x03\x00\x00\x00ok", 13));
    QByteArray tag = QByteArray("ID3\x03\x00\x40", 6) + Syncsafe(quint32(körper.size())) + körper;
    EXPECT_EQ(Id3v2Lesen(tag).felder[kTitel], "ok");
    // Flags that are not the extended-header flag skip nothing.
    Id3v2Tag experimentell;
    experimentell.zusatzFlags = 0x20;
    experimentell.frames = {TextFrame("TIT2", QStringLiteral("frei"))};
    EXPECT_EQ(Lesen(experimentell).felder[kTitel], "frei");
    // An extended header larger than the tag leaves no frames, and no crash.
    tag = QByteArray("ID3\x03\x00\x40", 6) + Syncsafe(8) + QByteArray("\x7F\xFF\xFF\xFF\0\0\0\0", 8);
    EXPECT_TRUE(Id3v2Lesen(tag).gültig);
}

TEST(Id3v2Lesen, Version24FrameSizesSyncsafeOrPlain)
{
    // 128 bytes: plain 00 00 00 80 is no syncsafe number; 256 bytes: plain
    // 00 00 01 00 reads as a syncsafe 128 that leads into the middle of the frame.
    for (int länge : {127, 255, 1000}) {
        for (bool plain : {false, true}) {
            Id3v2Tag t;
            t.version = 4;
            t.plainGrößen = plain;
            t.frames = {TextFrame("TCOM", QString(länge, QLatin1Char('k'))), TextFrame("TIT2", QStringLiteral("danach"))};
            t.padding = 100;
            const Id3v2Ergebnis e = Lesen(t);
            EXPECT_EQ(e.felder[kTitel], "danach") << länge << plain;
            EXPECT_EQ(e.felder[6], QString(länge, QLatin1Char('k'))) << länge << plain;
            EXPECT_EQ(e.ungenutzt, t.Bytes().size() - 100) << länge << plain;
        }
    }
    // 2.3 sizes are plain numbers.
    Id3v2Tag v23;
    v23.frames = {TextFrame("TCOM", QString(300, QLatin1Char('k'))), TextFrame("TIT2", QStringLiteral("auch"))};
    EXPECT_EQ(Lesen(v23).felder[kTitel], "auch");
}

TEST(Id3v2Lesen, Version24FrameFlags)
{
    // Grouping byte and data-length indicator in front of the text.
    Id3v2Tag t;
    t.version = 4;
    Id3v2Frame titel = RohFrame("TIT2", QByteArray("\x05") + Syncsafe(4) + QByteArray("\0abc", 4));
    titel.format = 0x41;
    // A compressed frame whose data do not decompress: kept raw with 2.3
    // flags and its size in front, the tag not read whole.
    Id3v2Frame gepackt = RohFrame("TPE1", Syncsafe(100) + QByteArray("zlib", 4));
    gepackt.format = 0x09;
    gepackt.status = 0x40;
    t.frames = {titel, gepackt};
    const Id3v2Ergebnis e = Lesen(t);
    EXPECT_EQ(e.felder[kTitel], "abc");
    EXPECT_EQ(e.felder[kInterpret], "");
    EXPECT_EQ(e.weitereFrames, QByteArray("TPE1") + BigEndian32(8) + QByteArray("\x80\x80", 2) + BigEndian32(100) + QByteArray("zlib"));
}

// Compressed frames are read where their data decompress, behind a group
// byte too, whatever size they claim within what their stream can give;
// encrypted ones and 2.4 ones without a data length indicator are not.
TEST(Id3v2Lesen, CompressedFrames)
{
    const QByteArray körper = TextFrame("TIT2", QStringLiteral("gepackt")).daten;
    const QByteArray strom = qCompress(körper).mid(4);
    const quint32 n = quint32(körper.size());
    const auto frame = [](const QByteArray& daten, quint8 format) {
        Id3v2Frame f = RohFrame("TIT2", daten);
        f.format = format;
        return f;
    };
    const struct Fall {
        const char* name;
        int version;
        Id3v2Frame frame;
        const char* titel;
        const char* unlesbar; // the frame that stops a write
    } fälle[] = {
        {"2.3", 3, frame(BigEndian32(n) + strom, 0x80), "gepackt", ""},
        {"2.3 mit Gruppe", 3, frame(BigEndian32(n) + '\x07' + strom, 0xA0), "gepackt", ""},
        {"2.3 andere Größe", 3, frame(BigEndian32(1) + strom, 0x80), "gepackt", ""},
        {"2.3 verschlüsselt", 3, frame(BigEndian32(n) + '\x01' + strom, 0xC0), "", ""},
        {"2.3 ohne Daten", 3, frame(QByteArray(2, '\0'), 0x80), "", "TIT2"},
        {"2.3 zu groß", 3, frame(BigEndian32(1032 * quint32(strom.size()) + 1025) + strom, 0x80), "", "TIT2"},
        {"2.4", 4, frame(Syncsafe(n) + strom, 0x09), "gepackt", ""},
        {"2.4 mit Gruppe", 4, frame('\x07' + Syncsafe(n) + strom, 0x49), "gepackt", ""},
        {"2.4 ohne Datenlänge", 4, frame(strom, 0x08), "", ""},
        {"2.4 verschlüsselt", 4, frame('\x07' + Syncsafe(n) + strom, 0x0D), "", ""},
    };
    for (const Fall& f : fälle) {
        SCOPED_TRACE(f.name);
        const Id3v2Ergebnis e = EinFrame(f.frame, f.version);
        EXPECT_EQ(e.felder[kTitel], QString::fromUtf8(f.titel));
        EXPECT_EQ(e.unlesbarerFrame, QByteArray(f.unlesbar));
        EXPECT_EQ(e.framesGelesen, !*f.unlesbar);
    }
}

TEST(Id3v2Lesen, RawFramesAndPadding)
{
    Id3v2Tag t;
    const Id3v2Frame bild = RohFrame("APIC", QByteArray("\x00image/jpeg\x00\x03\x00\xFF\xD8\xFF\xFB", 17));
    t.frames = {TextFrame("TIT2", QStringLiteral("a")), bild, RohFrame("TXXX", QByteArray("\0k\0v", 4))};
    t.padding = 50;
    Id3v2Ergebnis e = Lesen(t);
    const QByteArray erwartet = Id3v2Tag{.frames = {bild, t.frames[2]}}.Bytes().mid(10);
    EXPECT_EQ(e.weitereFrames, erwartet);
    EXPECT_EQ(e.ungenutzt, e.kopf.GesamtGröße() - 50);
    // No padding: the whole tag is in use.
    t.padding = 0;
    e = Lesen(t);
    EXPECT_EQ(e.ungenutzt, e.kopf.GesamtGröße());

    // 2.2: frames without a field of their own make " ".
    Id3v2Tag alt;
    alt.version = 2;
    alt.frames = {TextFrame("TT2", QStringLiteral("t")), RohFrame("PIC", QByteArray("\0JPG\3\0xyz", 9))};
    e = Lesen(alt);
    EXPECT_EQ(e.felder[kTitel], "t");
    EXPECT_EQ(e.weitereFrames, " ");
    // Two frames with one id are one field of two values.
    t.frames = {TextFrame("TIT2", QStringLiteral("erst")), TextFrame("TIT2", QStringLiteral("dann"))};
    EXPECT_EQ(Lesen(t).felder[kTitel], "erst / dann");
    // A frame with an odd id is kept raw and the frames behind it are read.
    t.frames = {TextFrame("TIT2", QStringLiteral("gut")), RohFrame("ab!c", "xx"), TextFrame("TPE1", QStringLiteral("auch"))};
    e = Lesen(t);
    EXPECT_EQ(e.felder[kTitel], "gut");
    EXPECT_EQ(e.felder[kInterpret], "auch");
    EXPECT_EQ(e.weitereFrames, (Id3v2Tag{.frames = {t.frames[1]}}.Bytes().mid(10)));
}

TEST(Id3v2Lesen, OddFrameIdsAreKeptAndTheWalkGoesOn)
{
    const Id3v2Frame bild = RohFrame("APIC", QByteArray("\x00image/jpeg\x00\x03\x00\xFF\xD8", 15));
    for (int version : {3, 4}) {
        SCOPED_TRACE(version);
        Id3v2Tag t;
        t.version = version;
        // "Tpe1" is kept raw; "1abc" (not beginning with a letter) is skipped.
        t.frames = {TextFrame("TIT2", QStringLiteral("Titel")), RohFrame("Tpe1", QByteArray("\0odd", 4)),
                    RohFrame("1abc", QByteArray("\0skip", 5)), TextFrame("TALB", QStringLiteral("Album")), bild};
        t.padding = 20;
        const Id3v2Ergebnis e = Lesen(t);
        EXPECT_TRUE(e.framesGelesen);
        EXPECT_EQ(e.felder[kTitel], "Titel");
        EXPECT_EQ(e.felder[10], "Album");
        EXPECT_EQ(e.weitereFrames, (Id3v2Tag{.frames = {t.frames[1], bild}}.Bytes().mid(10)));
        EXPECT_EQ(e.ungenutzt, e.kopf.GesamtGröße() - 20);
    }
    // A frame running past the tag ends the walk; what lies behind is not a frame.
    QByteArray körper = TextFrame("TIT2", QStringLiteral("a")).id + BigEndian32(2) + QByteArray("\0\0\0a", 4)
                      + QByteArray("APIC") + BigEndian32(500) + QByteArray(2, '\0') + QByteArray("TPE1\0\0\0\2\0\0\0b", 12);
    const QByteArray tag = QByteArray("ID3\x03\x00\x00", 6) + Syncsafe(quint32(körper.size())) + körper;
    const Id3v2Ergebnis e = Id3v2Lesen(tag);
    EXPECT_EQ(e.felder[kTitel], "a");
    EXPECT_EQ(e.felder[kInterpret], "");
    EXPECT_TRUE(e.weitereFrames.isEmpty());
    EXPECT_EQ(e.ungenutzt, e.kopf.GesamtGröße());

    // 2.2: odd and unknown frames are kept as they stand for the writer.
    Id3v2Tag alt;
    alt.version = 2;
    const Id3v2Frame bild22 = RohFrame("PIC", QByteArray("\0JPG\3\0xyz", 9));
    alt.frames = {TextFrame("TT2", QStringLiteral("t")), RohFrame("Pic", QByteArray("\0a", 2)), bild22,
                  KommentarFrame(QStringLiteral("k"), QStringLiteral("mit"), Kodierung::Latin1, "eng", "COM")};
    const Id3v2Ergebnis e22 = Lesen(alt);
    EXPECT_EQ(e22.weitereFrames, " ");
    EXPECT_EQ(e22.weitereFrames22, (Id3v2Tag{.version = 2, .frames = {alt.frames[1], bild22, alt.frames[3]}}.Bytes().mid(10)));

    // 2.4 with plain sizes and an odd id: the plain walk is taken.
    Id3v2Tag plain;
    plain.version = 4;
    plain.plainGrößen = true;
    plain.frames = {TextFrame("TCOM", QString(200, QLatin1Char('k'))), RohFrame("Xyz1", QByteArray("\0v", 2)),
                    TextFrame("TIT2", QStringLiteral("Hinten"))};
    const Id3v2Ergebnis ep = Lesen(plain);
    EXPECT_EQ(ep.felder[kTitel], "Hinten");
    EXPECT_EQ(ep.weitereFrames.left(4), "Xyz1");
    // A tag whose frames cannot be walked says so.
    Id3v2Tag gepackt22;
    gepackt22.version = 2;
    gepackt22.zusatzFlags = 0x40;
    gepackt22.frames = {TextFrame("TT2", QStringLiteral("t"))};
    EXPECT_FALSE(Lesen(gepackt22).framesGelesen);
}

TEST(Id3v2Lesen, HostileAndTruncatedTags)
{
    // A frame size far beyond the tag reads nothing of it.
    QByteArray körper = QByteArray("TIT2\x00\x00\x00\x03\x00\x00\x00ok", 13) + QByteArray("TPE1\xFF\xFF\xFF\xFF\x00\x00\x00xyz", 13);
    QByteArray tag = QByteArray("ID3\x03\x00\x00", 6) + Syncsafe(quint32(körper.size())) + körper;
    Id3v2Ergebnis e = Id3v2Lesen(tag);
    EXPECT_EQ(e.felder[kTitel], "ok");
    EXPECT_EQ(e.felder[kInterpret], "");
    EXPECT_EQ(e.ungenutzt, e.kopf.GesamtGröße());

    // A tag cut short: frames inside what is there are read, the cut one is not.
    Id3v2Tag t;
    t.frames = {TextFrame("TIT2", QStringLiteral("ganz")), TextFrame("TPE1", QStringLiteral("abgeschnitten"))};
    const QByteArray voll = t.Bytes();
    e = Id3v2Lesen(QByteArrayView(voll).first(voll.size() - 4));
    EXPECT_EQ(e.felder[kTitel], "ganz");
    EXPECT_EQ(e.felder[kInterpret], "");
    EXPECT_EQ(e.kopf.GesamtGröße(), voll.size());

    // Every prefix of a tag parses without harm.
    Id3v2Tag reich;
    reich.version = 4;
    reich.unsynchronisiert = true;
    reich.erweiterterKopf = true;
    reich.frames = {TextFrame("TIT2", QStringLiteral("ÿa"), Kodierung::Utf16Bom), KommentarFrame(QStringLiteral("k"), QStringLiteral("d"), Kodierung::Utf16BE)};
    const QByteArray r = reich.Bytes();
    for (qsizetype n = 0; n <= r.size(); ++n)
        Id3v2Lesen(QByteArrayView(r).first(n));
}

TEST(Id3v2Lesen, FileLevelReading)
{
    QTemporaryDir dir;
    Id3v2Tag t;
    t.frames = {TextFrame("TIT2", QStringLiteral("Titel"))};
    t.padding = 20;
    Frame f;
    MedienInfo m;
    m.Mp3_ID3v1_Titel = QStringLiteral("bleibt");

    // Behind 4999 bytes of other data: position 5000 (counted from 1).
    const QString hinten = DateiSchreiben(dir, "hinten.mp3", QByteArray(4999, 'j') + t.Bytes() + Frames(f, 3));
    ASSERT_TRUE(Mp3TAGLesenV2(hinten, m, 102400));
    EXPECT_EQ(m.Mp3_ID3v2_TAGPosition, 5000);
    EXPECT_EQ(m.Mp3_ID3v2_TAGGröße, t.Bytes().size());
    EXPECT_EQ(m.Mp3_ID3v2_Version, "2.3.0");
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "Titel");
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "bleibt");
    // Outside the bytes searched: none (and reset).
    EXPECT_FALSE(Mp3TAGLesenV2(hinten, m, 4000));
    EXPECT_EQ(m.Mp3_ID3v2_Vorhanden, 2);
    EXPECT_EQ(m.Mp3_ID3v2_TAGGröße, -1);
    EXPECT_EQ(m.Mp3_ID3v2_TAGPosition, -1);
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "");
    EXPECT_TRUE(Mp3TAGLesenV2(hinten, m, 0));

    // "ID3" inside the audio is no tag of the file.
    const QString imAudio = DateiSchreiben(dir, "audio.mp3", Frames(f, 3) + t.Bytes() + Frames(f, 3));
    EXPECT_FALSE(Mp3TAGLesenV2(imAudio, m, 0));

    // A header that claims 256 MiB in a small file reads only what is there.
    Id3v2Tag riesig = t;
    riesig.größenFeld = QByteArray("\x7F\x7F\x7F\x7F", 4);
    ASSERT_TRUE(Mp3TAGLesenV2(DateiSchreiben(dir, "riesig.mp3", riesig.Bytes()), m, 0));
    EXPECT_EQ(m.Mp3_ID3v2_Titel, "Titel");
    EXPECT_EQ(m.Mp3_ID3v2_TAGGröße, 0x0FFFFFFF + 10);

    // A file that cannot be read leaves the record alone.
    const MedienInfo vorher = m;
    EXPECT_FALSE(Mp3TAGLesenV2(dir.filePath("fehlt.mp3"), m, 0));
    EXPECT_EQ(m, vorher);
}

// The 2.2 publisher, length, counter and link are the fields they become in
// 2.3; only a link with a description is left for the writer to carry.
TEST(Id3v2Lesen, Version22FieldsOfTheFramesTheyBecome)
{
    const Id3v2Frame mitBeschreibung = RohFrame("WXX", QByteArray("\0mit\0https://d.example/", 23));
    const Id3v2Ergebnis e = Lesen({.version = 2,
                                   .frames = {TextFrame("TPB", QStringLiteral("Verlag")), TextFrame("TLE", QStringLiteral("215000")),
                                              RohFrame("CNT", QByteArray("\0\0\1\0", 4)),
                                              RohFrame("WXX", QByteArray("\0\0https://c.example/", 21)), mitBeschreibung}});
    EXPECT_EQ((QStringList{e.felder[16], e.felder[14], e.felder[kZähler], e.felder[kLink]}),
              (QStringList{"Verlag", "215000", "256", "https://c.example/"}));
    EXPECT_EQ(e.weitereFrames22, (Id3v2Tag{.version = 2, .frames = {mitBeschreibung}}.Bytes().mid(10)));
}

// Kept frames hold only the encodings of 2.3: UTF-8 and UTF-16BE strings
// become UTF-16 with a byte-order mark; what cannot be seen into
// (compressed, encrypted) or has no encoding byte stays as it is.
TEST(Id3v2Lesen, KeptFramesIn23Encodings)
{
    const auto f = [](const char* id, const QByteArray& körper, quint8 format = 0) {
        return QByteArray(id, 4) + BigEndian32(quint32(körper.size())) + QByteArray(1, '\0') + char(format) + körper;
    };
    const QByteArray u = Id3v2Utf16(QStringLiteral("ä")), n2("\0\0", 2);
    const std::vector<std::pair<QByteArray, QByteArray>> fälle = {
        {f("TXXX", QByteArray("\3k\0\xC3\xA4", 5)), f("TXXX", "\1" + Id3v2Utf16("k") + n2 + u)},
        {f("TXXX", QByteArray("\2\0k\0\0", 5)), f("TXXX", "\1" + Id3v2Utf16("k") + n2)},
        // Language, Latin-1 parts and a group byte stay; bad UTF-8 is Windows-1252.
        {f("COMM", QByteArray("\3deud\0\x80", 7)), f("COMM", "\1deu" + Id3v2Utf16("d") + n2 + Id3v2Utf16("€"))},
        {f("APIC", QByteArray("\3image/png\0\3\xC3\xA4\0\xFF\xD8", 17)),
         f("APIC", QByteArray("\1image/png\0\3", 12) + u + n2 + QByteArray("\xFF\xD8"))},
        {f("WXXX", QByteArray("\3d\0https://e.example/", 21)), f("WXXX", "\1" + Id3v2Utf16("d") + n2 + "https://e.example/")},
        {f("SYLT", QByteArray("\3deu\2\1\0\xC3\xA4\0\0\0\0\x07", 14)),
         f("SYLT", "\1deu\2\1" + Id3v2Utf16("") + n2 + u + n2 + QByteArray("\0\0\0\x07", 4))},
        {f("GEOB", QByteArray("\3t/p\0n\0\xC3\xA4\0x", 11)), f("GEOB", QByteArray("\1t/p\0", 5) + Id3v2Utf16("n") + n2 + u + n2 + "x")},
        {f("TIT3", QByteArray("\x09\3a", 3), 0x20), f("TIT3", "\x09\1" + Id3v2Utf16("a"), 0x20)},
        // Text frames of other writers whose ids do not begin with T.
        {f("GRP1", QByteArray("\3\xC3\xA4", 3)), f("GRP1", "\1" + u)},
        {f("MVNM", QByteArray("\2\0k\0\0\0a", 7)), f("MVNM", "\1" + Id3v2Utf16("k") + n2 + Id3v2Utf16("a"))},
        {f("MVIN", QByteArray("\3" "3/12", 5)), f("MVIN", "\1" + Id3v2Utf16("3/12"))},
        {f("TSOP", QByteArray("\3\xC3\xA4", 3)), f("TSOP", "\1" + u)},
        // Left alone: compressed, no encoding byte.
        {f("TIT3", QByteArray("\3a", 2), 0x80), f("TIT3", QByteArray("\3a", 2), 0x80)},
        {f("PRIV", QByteArray("\3own\0x", 6)), f("PRIV", QByteArray("\3own\0x", 6))},
    };
    for (const auto& [vorher, nachher] : fälle) {
        SCOPED_TRACE(vorher.toHex().toStdString());
        EXPECT_EQ(Id3v2FrameFür23(vorher).toHex(), nachher.toHex());
        // As the reader keeps it from a 2.3 tag.
        const QByteArray tag = QByteArray("ID3\3\0\0", 6) + Syncsafe(quint32(vorher.size())) + vorher;
        EXPECT_EQ(Id3v2Lesen(tag).weitereFrames.toHex(), nachher.toHex());
    }
}

// What the reader tells the writer beside its fields: the frame each field came
// from, the frames it keeps (not the writer's placeholder), an empty COMM no comment.
TEST(Id3v2Lesen, WhatTheWriterIsTold)
{
    const Id3v2Frame titel = TextFrame("TIT2", QStringLiteral("t"));
    const Id3v2Frame platzhalter = RohFrame("PRIV", Id3v2PlatzhalterBesitzer() + QByteArray(50, '\0'));
    const Id3v2Frame fremdesPriv = RohFrame("PRIV", QByteArray("owner\0data", 10));
    // The result's kept frames refer to the bytes read: they stay alive.
    const QByteArray gelesen = Id3v2Tag{.frames = {RohFrame("COMM", {}), KommentarFrame(QStringLiteral("echt")),
                                                   fremdesPriv, platzhalter, titel}}.Bytes();
    const Id3v2Ergebnis e = Id3v2Lesen(gelesen, false);
    EXPECT_TRUE(e.framesGelesen);
    EXPECT_EQ(e.felder[kKommentar], "echt");
    EXPECT_EQ(e.feldFrames[kKommentar], Id3v2Tag{.frames = {KommentarFrame(QStringLiteral("echt"))}}.Bytes().mid(10));
    EXPECT_EQ(e.feldFrames[kTitel], Id3v2Tag{.frames = {titel}}.Bytes().mid(10));
    EXPECT_EQ(e.weitere.size(), 3u) << "the empty COMM, the PRIV frames";
    EXPECT_EQ(Lesen(Id3v2Tag{.frames = {fremdesPriv, platzhalter}}).weitereFrames, Id3v2Tag{.frames = {fremdesPriv}}.Bytes().mid(10));
}
