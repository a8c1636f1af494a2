// Writing and removing tags, read back by TagLib (an independent reader):
// the fields written, the frames kept, the audio untouched, and the original
// file intact whenever a write is refused or fails.

#include "core/Einstellungen.h"
#include "core/SichereDatei.h"
#include "media/Id3v2Lesen.h"
#include "media/TagSchreiben.h"
#include "platform/Schreibzugriff.h"
#include "support/FremderProzess.h"
#include "support/Mp3Bauer.h"
#include "support/Mutagen.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/urllinkframe.h>

using namespace Mp3Bauer;
using testhilfe::MutagenPython;
using testhilfe::Python;

namespace {

QString Q(const TagLib::String& s) { return QString::fromStdWString(s.toWString()); }

QByteArray Inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The audio of a file: from behind its ID3v2 tag (at byte 0) to the end, an
// ID3v1 block left out.
QByteArray Audio(const QByteArray& d)
{
    qint64 start = 0;
    if (const auto k = Id3v2KopfLesen(d))
        start = k->GesamtGröße();
    qint64 ende = d.size();
    if (d.size() - start >= 128 && d.mid(d.size() - 128, 3) == "TAG")
        ende -= 128;
    return d.mid(start, ende - start);
}

QString TagLibText(TagLib::ID3v2::Tag* t, const char* id)
{
    const auto& karte = t->frameListMap();
    const auto it = karte.find(id);
    return it == karte.end() || it->second.isEmpty() ? QString() : Q(it->second.front()->toString());
}

// TagLib's comments in a tag, each "language:description=text", sorted.
QStringList TagLibKommentare(TagLib::ID3v2::Tag* t)
{
    QStringList kommentare;
    for (auto* c : t->frameListMap()["COMM"]) {
        auto* k = static_cast<TagLib::ID3v2::CommentsFrame*>(c);
        kommentare << QString::fromLatin1(k->language().data(), k->language().size()) + ":" + Q(k->description()) + "=" + Q(k->text());
    }
    kommentare.sort();
    return kommentare;
}

// Every frame as TagLib reads it, in its order: id, text, digest of its bytes.
QStringList TagLibFrames(const QString& pfad)
{
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    QStringList frames;
    if (!f.hasID3v2Tag())
        return frames;
    for (const TagLib::ID3v2::Frame* frame : f.ID3v2Tag()->frameList()) {
        const TagLib::ByteVector b = frame->render();
        frames << QString::fromLatin1(frame->frameID().data(), int(frame->frameID().size())) + "=" + Q(frame->toString()) + " "
                      + QCryptographicHash::hash(QByteArrayView(b.data(), b.size()), QCryptographicHash::Sha1).toHex();
    }
    return frames;
}

// The text of a frame, and the pictures of all APIC frames, as TagLib reads them.
QString TagLibText(const QString& pfad, const char* id)
{
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    return f.hasID3v2Tag() ? TagLibText(f.ID3v2Tag(), id) : QString();
}
QByteArray TagLibBilder(const QString& pfad)
{
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    QByteArray bilder;
    for (auto* b : f.hasID3v2Tag() ? f.ID3v2Tag()->frameListMap()["APIC"] : TagLib::ID3v2::FrameList()) {
        const TagLib::ByteVector bild = static_cast<TagLib::ID3v2::AttachedPictureFrame*>(b)->picture();
        bilder += QByteArray(bild.data(), bild.size());
    }
    return bilder;
}

// A frame's bytes as a 2.3 tag holds them.
QByteArray FrameBytes(const Id3v2Frame& f) { return Id3v2Tag{.frames = {f}}.Bytes().mid(10); }

MedienInfo Felder()
{
    MedienInfo m;
    m.Mp3_ID3v2_Titel = QStringLiteral("Über den Wolken");
    m.Mp3_ID3v2_Interpret = QStringLiteral("Reinhard Mey");
    m.Mp3_ID3v2_Album = QStringLiteral("Ankomme Freitag, den 13.");
    m.Mp3_ID3v2_Jahr = QStringLiteral("1974");
    m.Mp3_ID3v2_Titelnummer = QStringLiteral("7/12");
    m.Mp3_ID3v2_Musikrichtung = QStringLiteral("(17)Rock");
    m.Mp3_ID3v2_Kommentar = QStringLiteral("Ein Kommentar");
    m.Mp3_ID3v2_Link = QStringLiteral("https://kalvero.example/");
    m.Mp3_ID3v2_Software = QStringLiteral("kalvero");
    m.Mp3_ID3v2_Songschreiber = QStringLiteral("R. Mey");
    m.Mp3_ID3v2_AbspielZähler = QStringLiteral("42");
    return m;
}

// TagLib sees exactly the fields of `m` in a 2.3.0 tag.
void TagLibPrüfen(const QString& pfad, const MedienInfo& m)
{
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    ASSERT_TRUE(f.isValid());
    ASSERT_TRUE(f.hasID3v2Tag());
    TagLib::ID3v2::Tag* t = f.ID3v2Tag();
    EXPECT_EQ(t->header()->majorVersion(), 3u);
    EXPECT_EQ(TagLibText(t, "TIT2"), m.Mp3_ID3v2_Titel);
    EXPECT_EQ(TagLibText(t, "TPE1"), m.Mp3_ID3v2_Interpret);
    EXPECT_EQ(TagLibText(t, "TALB"), m.Mp3_ID3v2_Album);
    EXPECT_EQ(TagLibText(t, "TDRC"), m.Mp3_ID3v2_Jahr);
    EXPECT_EQ(TagLibText(t, "TRCK"), m.Mp3_ID3v2_Titelnummer);
    EXPECT_EQ(TagLibText(t, "TCOM"), m.Mp3_ID3v2_Songschreiber);
    EXPECT_EQ(TagLibText(t, "TSSE"), m.Mp3_ID3v2_Software);
    EXPECT_EQ(Q(t->comment()), m.Mp3_ID3v2_Kommentar);
    const auto& karte = t->frameListMap();
    const auto link = karte.find("WXXX");
    QString url;
    if (link != karte.end() && !link->second.isEmpty())
        if (auto* u = dynamic_cast<TagLib::ID3v2::UserUrlLinkFrame*>(link->second.front())) {
            url = Q(u->url());
            EXPECT_TRUE(u->description().isEmpty());
        }
    EXPECT_EQ(url, m.Mp3_ID3v2_Link);
}

enum Vorgang { SchreibenV2, SchreibenV1, EntfernenV2, EntfernenV1, SchreibenBeide };
constexpr Vorgang kUmschreiben[] = {SchreibenV2, EntfernenV2, EntfernenV1, SchreibenBeide}; // each through a copy of the file

// True when the write or removal reports success.
bool Ausführen(Vorgang v, const QString& p, QString& meldung)
{
    if (v == SchreibenBeide)
        return Mp3TAGSpeichernBeide(p, Felder(), Id3v1Block({.titel = "Neu"}), meldung);
    if (v == SchreibenV2 || v == SchreibenV1)
        return v == SchreibenV2 ? Mp3TAGSpeichernV2(p, Felder(), meldung) : Mp3TAGSpeichernV1(p, Id3v1Block({.titel = "Neu"}), meldung);
    return (v == EntfernenV2 ? TAGEntfernenV2(p, meldung) : TAGEntfernen(p, meldung)) == TagEntfernenErgebnis::Entfernt;
}

// A test tool run as a process on its arguments: its exit code and what it
// wrote to stderr.
std::pair<int, std::string> Werkzeug(const char* name, const QStringList& argumente)
{
    QProcess werkzeug;
    werkzeug.start(QCoreApplication::applicationDirPath() + "/../tools/" + name, argumente);
    EXPECT_TRUE(werkzeug.waitForFinished(20000));
    return {werkzeug.exitCode(), werkzeug.readAllStandardError().toStdString()};
}

// The removal's message for a failure of the reason `warum`.
QString EntfernenFehlgeschlagen(const QString& pfad, const QString& warum)
{
    return "Die Entfernung des ID3v2-TAGs der Datei '" + pfad + "' konnte nicht abgeschlossen werden.\n" + warum
         + "\n\nStellen Sie sicher, daß die Datei verfügbar ist und nicht durch eine andere Anwendung geöffnet wurde.";
}

// A write of the ID3v2 tag; its message where it fails.
testing::AssertionResult V2Gespeichert(const QString& pfad, const MedienInfo& m)
{
    QString fehler;
    return Mp3TAGSpeichernV2(pfad, m, fehler) ? testing::AssertionSuccess() : testing::AssertionFailure() << fehler.toStdString();
}

class TagSchreiben : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        einstellungen().TAGsBytesSuchen = 102400;
        einstellungen().TAGsProzentHinzufügen = 25;
    }
    void TearDown() override
    {
        TagSchreibenFehlerBeiSchreibvorgang(0);
        TagSchreibenFehlerBeimSynchronisieren(false);
        SichereDatei::FehlerBeiSchreibvorgang(0);
        SichereDatei::FehlerBeimUmbenennen(false);
        SichereDatei::TestHaken({});
        SchreibzugriffOhneLease(false);
    }
    QString Datei(const QByteArray& daten, const QString& name = QStringLiteral("a.mp3"))
    {
        return DateiSchreiben(ordner, name, daten);
    }
    bool KeinNeu(const QString& pfad) { return !QFile::exists(pfad + QStringLiteral("-neu")); }
    // The names in a folder of ordner but the given ones: what a write left behind.
    QStringList Übrige(const QStringList& erwartet, const QString& unter = QString()) const
    {
        QStringList namen = QDir(ordner.filePath(unter)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        namen.removeIf([&](const QString& n) { return erwartet.contains(n); });
        return namen;
    }

    QTemporaryDir ordner;
    QByteArray audio = Frames(Frame(), 200);
    QByteArray v1 = Id3v1Block({.titel = "Alt", .spur = 3, .genre = 17});
    // A file whose new tag does not fit: every write goes through a copy.
    QByteArray kleinerTag = Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("alt"))}}.Bytes() + audio + v1;
};

} // namespace

TEST_F(TagSchreiben, FramesOfOtherIdsSurviveARewriteAsTagLibSeesThem)
{
    const QByteArray bild("\x00image/png\x00\x03\x00\x89PNG\xFF\xFB\x90\x64 data", 26);
    Id3v2Tag alt;
    alt.version = 4;
    Id3v2Frame gruppiert = TextFrame("TIT3", QStringLiteral("Untertitel"));
    gruppiert.daten.prepend('\x07');
    gruppiert.format = 0x40; // grouping byte in front
    Id3v2Frame gepackt = RohFrame("TXXX", Syncsafe(200) + QByteArray("x\x9c zlib data", 12));
    gepackt.format = 0x09; // compressed, data length indicator
    alt.frames = {TextFrame("TIT2", QStringLiteral("alt")), RohFrame("APIC", bild),
                  KommentarFrame(QStringLiteral("erster"), QStringLiteral("eins")),
                  KommentarFrame(QStringLiteral("zweiter"), QStringLiteral("zwei"), Kodierung::Utf16Bom),
                  KommentarFrame(QStringLiteral("Feld")), RohFrame("TXXX", QByteArray("\0key\0value", 10)), gruppiert, gepackt};
    const QString pfad = Datei(alt.Bytes() + audio + v1);
    const MedienInfo m = Felder();
    QString fehler;
    ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m, fehler)) << fehler.toStdString();
    EXPECT_TRUE(KeinNeu(pfad));
    const QByteArray neu = Inhalt(pfad);
    EXPECT_EQ(Audio(neu), audio);
    EXPECT_TRUE(neu.endsWith(v1));
    TagLibPrüfen(pfad, m);

    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    TagLib::ID3v2::Tag* t = f.ID3v2Tag();
    const auto& karte = t->frameListMap();
    ASSERT_NE(karte.find("APIC"), karte.end());
    auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(karte.find("APIC")->second.front());
    ASSERT_NE(apic, nullptr);
    EXPECT_EQ(Q(apic->mimeType()), "image/png");
    EXPECT_EQ(apic->picture(), TagLib::ByteVector("\x89PNG\xFF\xFB\x90\x64 data", 13));
    ASSERT_NE(karte.find("COMM"), karte.end());
    EXPECT_EQ(TagLibKommentare(t), (QStringList{"eng:=Ein Kommentar", "eng:eins=erster", "eng:zwei=zweiter"}));
    ASSERT_NE(karte.find("TXXX"), karte.end());
    EXPECT_EQ(karte.find("TXXX")->second.size(), 2u);
    // The grouped frame is there (TagLib cannot read past a group byte) and
    // keeps its group byte.
    EXPECT_NE(karte.find("TIT3"), karte.end());
    EXPECT_TRUE(Inhalt(pfad).contains(QByteArray("TIT3\0\0\0\x0C\0\x20\x07\0Untertitel", 22)));

    // Written once more (now in place): the same frames again.
    const QByteArray vorher = Inhalt(pfad);
    MedienInfo m2 = m;
    m2.Mp3_ID3v2_Titel = QStringLiteral("Neu");
    ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m2, fehler)) << fehler.toStdString();
    EXPECT_EQ(Inhalt(pfad).size(), vorher.size());
    TagLibPrüfen(pfad, m2);
}

TEST_F(TagSchreiben, InPlaceWhenTheFramesFitElseRewriteWithPadding)
{
    const MedienInfo m = Felder();
    const qint64 nötig = Id3v2FramesBauen(m).size() + 10;

    // Exact fit: in place, no padding, the length kept.
    for (const qint64 alteGröße : {nötig, nötig - 1}) {
        Id3v2Tag alt;
        alt.frames = {TextFrame("TIT2", QStringLiteral("x"))};
        alt.padding = int(alteGröße - 10 - 12);
        const QByteArray altTag = alt.Bytes();
        ASSERT_EQ(altTag.size(), alteGröße);
        const QString pfad = Datei(altTag + audio + v1);
        QString fehler;
        ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m, fehler)) << fehler.toStdString();
        const QByteArray neu = Inhalt(pfad);
        const auto kopf = Id3v2KopfLesen(neu);
        ASSERT_TRUE(kopf);
        if (alteGröße == nötig) {
            EXPECT_EQ(neu.size(), altTag.size() + audio.size() + 128);
            EXPECT_EQ(kopf->GesamtGröße(), nötig);
        } else {
            // One byte short: rewritten with a quarter more as padding.
            EXPECT_EQ(kopf->GesamtGröße(), nötig + qRound(nötig * 0.25));
        }
        EXPECT_EQ(Audio(neu), audio);
        EXPECT_TRUE(neu.endsWith(v1));
        EXPECT_TRUE(KeinNeu(pfad));
        TagLibPrüfen(pfad, m);
    }

    // No tag: tag + padding + the whole old content.
    const QString ohne = Datei(audio, QStringLiteral("ohne.mp3"));
    QString fehler;
    ASSERT_TRUE(Mp3TAGSpeichernV2(ohne, m, fehler));
    const QByteArray neu = Inhalt(ohne);
    EXPECT_TRUE(neu.endsWith(audio));
    TagLibPrüfen(ohne, m);

    // Only the always-written frames: an empty title and artist, padding 8.
    const QString leer = Datei(audio, QStringLiteral("leer.mp3"));
    ASSERT_TRUE(Mp3TAGSpeichernV2(leer, MedienInfo(), fehler));
    const QByteArray l = Inhalt(leer);
    EXPECT_EQ(l.left(10), QByteArray("ID3\x03\x00\x00\x00\x00\x00\x1E", 10));
    EXPECT_EQ(l.mid(10, 22), QByteArray("TPE1\0\0\0\1\0\0\0TIT2\0\0\0\1\0\0\0", 22));
    EXPECT_EQ(l.mid(32, 8), QByteArray(8, '\0'));
}

TEST_F(TagSchreiben, TagNotAtTheStart)
{
    const MedienInfo m = Felder();
    const QByteArray vorn(300, 'j');
    // Whether it would fit or not, a tag further in is found by no other
    // reader: it moves to the front, the bytes in front follow it, then the audio.
    // Also one holding only the program's own fields and room enough.
    for (const bool gehalten : {true, false})
        for (const int padding : {1000, 0}) {
            SCOPED_TRACE(testing::Message() << padding << " " << gehalten);
            Id3v2Tag alt;
            alt.frames = {TextFrame("TIT2", QStringLiteral("alt"))};
            if (gehalten)
                alt.frames.push_back(RohFrame("TXXX", QByteArray("\0k\0v", 4)));
            alt.padding = padding;
            const QString pfad = Datei(vorn + alt.Bytes() + audio, QStringLiteral("p%1%2.mp3").arg(padding).arg(gehalten));
            ASSERT_TRUE(V2Gespeichert(pfad, m));
            const QByteArray neu = Inhalt(pfad);
            EXPECT_EQ(Audio(neu), vorn + audio);
            EXPECT_EQ(neu.contains(QByteArray("TXXX\0\0\0\4\0\0\0k\0v", 14)), gehalten);
            TagLibPrüfen(pfad, m);
        }
    Id3v2Tag klein;
    klein.frames = {TextFrame("TIT2", QStringLiteral("alt"))};
    QString fehler;

    // Inside a RIFF container a tag belongs to the container: kept as it is.
    const QByteArray riff = QByteArray("RIFF\x10\x00\x00\x00WAVE", 12) + klein.Bytes() + audio;
    const QString wav = Datei(riff, QStringLiteral("c.wav"));
    QString meldung;
    EXPECT_EQ(TAGEntfernenV2(wav, meldung), TagEntfernenErgebnis::Abgelehnt);
    EXPECT_TRUE(meldung.endsWith("Diese enthält keinen ID3v2-TAG."));
    EXPECT_EQ(Inhalt(wav), riff);
    ASSERT_TRUE(Mp3TAGSpeichernV2(wav, m, fehler));
    EXPECT_TRUE(Inhalt(wav).endsWith(riff));
}

TEST_F(TagSchreiben, TextsBeyondLatin1AreUtf16AndCountersAreNumbers)
{
    MedienInfo m = Felder();
    m.Mp3_ID3v2_Titel = QStringLiteral("東京 – Straße 🎵");
    m.Mp3_ID3v2_Kommentar = QStringLiteral("Коммент");
    m.Mp3_ID3v2_Interpret = QStringLiteral("Björk");
    const QByteArray frames = Id3v2FramesBauen(m);
    EXPECT_TRUE(frames.contains(QByteArray("TPE1\0\0\0\x06\0\0\0Bj\xF6rk", 16)));
    EXPECT_TRUE(frames.contains(QByteArray("PCNT\0\0\0\x04\0\0\0\0\0\x2A", 14)));
    EXPECT_TRUE(frames.contains(QByteArray("COMM", 4) + BigEndian32(1 + 3 + 4 + 16) + QByteArray("\0\0\x01" "eng\xFF\xFE\0\0\xFF\xFE", 12)));
    const QString pfad = Datei(audio);
    QString fehler;
    ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m, fehler));
    TagLibPrüfen(pfad, m);

    // A counter that is no number is left out.
    m.Mp3_ID3v2_AbspielZähler = QStringLiteral("12a");
    EXPECT_FALSE(Id3v2FramesBauen(m).contains("PCNT"));
    m.Mp3_ID3v2_AbspielZähler = QStringLiteral("4294967296");
    EXPECT_TRUE(Id3v2FramesBauen(m).contains(QByteArray("PCNT\0\0\0\x08\0\0\0\0\0\x01\0\0\0\0", 18)));
    // Sizes: plain in a frame, syncsafe in the tag header.
    EXPECT_EQ(Mp3TAGSpeichernV2FrameHeaderZurückgeben(201, "TIT2"), QByteArray("TIT2\0\0\0\xC9\0\0", 10));
    EXPECT_EQ(Mp3TAGSpeichernV2TAGHeaderZurückgeben(200), QByteArray("ID3\x03\0\0\0\0\x01\x48", 10));
}

// Kept odd and empty frames stay in front of the program's own: a reader that
// stops at one (as TagLib does) still reads every kept frame it read before.
TEST_F(TagSchreiben, OddAndEmptyFramesStayInFrontOfTheProgramsOwn)
{
    const Id3v2Frame titel = TextFrame("TIT2", QStringLiteral("t")), txxx = RohFrame("TXXX", QByteArray("\0k\0v", 4));
    const Id3v2Frame bild = RohFrame("APIC", QByteArray("\0image/jpeg\0\3\0\xFF\xD8", 15));
    const Id3v2Frame seltsam = RohFrame("Tpe1", QByteArray("\0odd", 4)), leer = RohFrame("XYZW", {});
    const std::vector<Id3v2Frame> fälle[] = {{titel, seltsam, txxx, bild}, {titel, bild, leer, seltsam, txxx}, {leer, titel, txxx}};
    for (const auto& frames : fälle) {
        SCOPED_TRACE(&frames - fälle);
        const QString pfad = Datei(Id3v2Tag{.frames = frames}.Bytes() + audio, QStringLiteral("o%1.mp3").arg(&frames - fälle));
        QStringList taglib = TagLibFrames(pfad);
        taglib.removeIf([](const QString& f) { return f.startsWith("TIT2"); });
        ASSERT_TRUE(V2Gespeichert(pfad, Felder()));
        const QByteArray neu = Inhalt(pfad);
        EXPECT_EQ(Audio(neu), audio);
        qsizetype zuletzt = -1; // the kept frames in their order, in front of the first own one
        for (const Id3v2Frame& g : frames)
            if (g.id != "TIT2") {
                EXPECT_GT(neu.indexOf(FrameBytes(g)), zuletzt) << g.id.constData();
                zuletzt = neu.indexOf(FrameBytes(g));
            }
        EXPECT_LT(zuletzt, neu.indexOf("PCNT"));
        EXPECT_EQ(Id3v2Lesen(neu).felder[12], Felder().Mp3_ID3v2_Titel);
        EXPECT_EQ(TagLibFrames(pfad), taglib);
    }
}

TEST_F(TagSchreiben, Version22FramesAreCarriedOverOrTheWriteRefused)
{
    Id3v2Tag alt;
    alt.version = 2;
    alt.frames = {TextFrame("TT2", QStringLiteral("t")), RohFrame("PIC", QByteArray("\0JPG\3\0\xFF\xD8\xFF", 9)),
                  KommentarFrame(QStringLiteral("mit"), QStringLiteral("beschreibung"), Kodierung::Latin1, "eng", "COM"),
                  TextFrame("TPB", QStringLiteral("Verlag"))};
    const QString pfad = Datei(alt.Bytes() + audio);
    QString fehler;
    MedienInfo m; // the publisher is read as a field, written once
    ASSERT_TRUE(Mp3TAGLesenV2(pfad, m, 0));
    m.Mp3_ID3v2_Kommentar = QStringLiteral("Ein Kommentar");
    ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, m, fehler)) << fehler.toStdString();
    TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
    const auto& karte = f.ID3v2Tag()->frameListMap();
    ASSERT_NE(karte.find("APIC"), karte.end());
    auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(karte.find("APIC")->second.front());
    ASSERT_NE(apic, nullptr);
    EXPECT_EQ(Q(apic->mimeType()), "image/jpeg");
    EXPECT_EQ(apic->picture(), TagLib::ByteVector("\xFF\xD8\xFF", 3));
    EXPECT_EQ(karte.find("COMM")->second.size(), 2u);
    EXPECT_EQ(TagLibText(f.ID3v2Tag(), "TPUB"), "Verlag");
    EXPECT_EQ(karte.find("TPUB")->second.size(), 1u);
    EXPECT_EQ(Audio(Inhalt(pfad)), audio);

    // A frame without a 2.3 counterpart: refused, the file untouched.
    alt.frames.push_back(RohFrame("CRM", QByteArray("owner\0xx", 8)));
    const QByteArray d = alt.Bytes() + audio;
    const QString p2 = Datei(d, QStringLiteral("b.mp3"));
    EXPECT_FALSE(Mp3TAGSpeichernV2(p2, Felder(), fehler));
    EXPECT_TRUE(fehler.contains("übertragen")) << fehler.toStdString();
    EXPECT_EQ(Inhalt(p2), d);
}

// Each refusal says why, through the writer and through the tools as processes.
TEST_F(TagSchreiben, BrokenOldTagsAreRefusedBeforeAnythingIsCut)
{
    Id3v2Tag t;
    t.frames = {TextFrame("TIT2", QStringLiteral("t"))};
    const QString kopf = QStringLiteral("Der Kopf des vorhandenen ID3v2-TAGs ist ungültig.");
    std::vector<std::pair<QByteArray, QString>> fälle;
    Id3v2Tag nichtSyncsafe = t;
    nichtSyncsafe.größenFeld = QByteArray("\x00\x00\x80\x10", 4);
    fälle.emplace_back(nichtSyncsafe.Bytes() + audio, kopf);
    Id3v2Tag flags = t;
    flags.zusatzFlags = 0x01;
    fälle.emplace_back(flags.Bytes() + audio, kopf);
    Id3v2Tag zuLang = t;
    zuLang.größenFeld = Syncsafe(5000);
    fälle.emplace_back(zuLang.Bytes() + QByteArray(100, 'a'), QStringLiteral("Der vorhandene ID3v2-TAG reicht über das Ende der Datei hinaus."));
    int n = 0;
    for (const auto& [d, warum] : fälle) {
        SCOPED_TRACE(n);
        const QString pfad = Datei(d, QStringLiteral("k%1.mp3").arg(n++));
        const QString schreiben = "Der ID3v2-TAG konnte nicht gespeichert werden.\nDer ID3v2-TAG der Datei '" + pfad
                                + "' konnte nicht entfernt werden.\n" + warum;
        QString fehler;
        EXPECT_FALSE(Mp3TAGSpeichernV2(pfad, Felder(), fehler));
        EXPECT_EQ(fehler.toStdString(), schreiben.toStdString());
        EXPECT_EQ(TAGEntfernenV2(pfad, fehler), TagEntfernenErgebnis::Fehlgeschlagen);
        EXPECT_EQ(fehler.toStdString(), EntfernenFehlgeschlagen(pfad, warum).toStdString());
        EXPECT_EQ(Werkzeug("tag-write", {pfad, "v2", "Mp3_ID3v2_Titel=Neu"}), std::pair(2, (schreiben + "\n").toStdString()));
        EXPECT_EQ(Werkzeug("tag-remove", {pfad, "v2"}), std::pair(2, (EntfernenFehlgeschlagen(pfad, warum) + "\n").toStdString()));
        EXPECT_EQ(Inhalt(pfad), d);
        EXPECT_TRUE(KeinNeu(pfad));
    }
}

TEST_F(TagSchreiben, FailuresAtEveryWriteLeaveTheOriginal)
{
    Id3v2Tag klein;
    klein.frames = {TextFrame("TIT2", QStringLiteral("alt"))};
    Id3v2Tag groß = klein;
    groß.padding = 2000;
    // A large audio part so that the rewrite takes several writes.
    const QByteArray vielAudio = Frames(Frame(), 8000);
    const QByteArray umschreiben = klein.Bytes() + vielAudio + v1;
    const QByteArray anOrt = groß.Bytes() + audio + v1;
    const MedienInfo m = Felder();
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const QString p = Datei(umschreiben);
        SichereDatei::FehlerBeiSchreibvorgang(n);
        QString fehler;
        const bool ok = Mp3TAGSpeichernV2(p, m, fehler);
        SichereDatei::FehlerBeiSchreibvorgang(0);
        if (!ok) {
            EXPECT_EQ(Inhalt(p), umschreiben);
            EXPECT_TRUE(fehler.startsWith("Der ID3v2-TAG der Datei '" + p + "' konnte nicht gespeichert werden.\n"));
        } else {
            EXPECT_EQ(Audio(Inhalt(p)), vielAudio);
        }
        EXPECT_TRUE(KeinNeu(p));
    }
    // The rename over the original fails.
    {
        const QString p = Datei(umschreiben);
        SichereDatei::FehlerBeimUmbenennen(true);
        QString fehler;
        EXPECT_FALSE(Mp3TAGSpeichernV2(p, m, fehler));
        SichereDatei::FehlerBeimUmbenennen(false);
        EXPECT_EQ(fehler, "Der ID3v2-TAG konnte nicht gespeichert werden.\nDie Datei '" + p + "' konnte nicht gelöscht werden.");
        EXPECT_EQ(Inhalt(p), umschreiben);
        EXPECT_TRUE(KeinNeu(p));
    }
    // The fsync before the rename fails: nothing replaces the original.
    {
        const QString p = Datei(umschreiben);
        SichereDatei::FehlerBeimSynchronisieren(true);
        QString fehler;
        EXPECT_FALSE(Mp3TAGSpeichernV2(p, m, fehler));
        SichereDatei::FehlerBeimSynchronisieren(false);
        EXPECT_FALSE(fehler.isEmpty());
        EXPECT_EQ(Inhalt(p), umschreiben);
        EXPECT_TRUE(KeinNeu(p));
    }
    // In place (ID3v2) and at the end (ID3v1, replaced and appended; both): the write or its fsync fails.
    const QByteArray ohneV1 = groß.Bytes() + audio;
    for (const bool sync : {false, true})
        for (const auto& [d, v] : {std::pair{anOrt, SchreibenV2}, std::pair{anOrt, SchreibenV1}, std::pair{ohneV1, SchreibenV1},
                                   std::pair{anOrt, SchreibenBeide}}) {
            SCOPED_TRACE(testing::Message() << sync << v << d.size());
            const QString p = Datei(d);
            TagSchreibenFehlerBeiSchreibvorgang(sync ? 0 : 1);
            TagSchreibenFehlerBeimSynchronisieren(sync);
            QString fehler;
            EXPECT_FALSE(Ausführen(v, p, fehler));
            EXPECT_EQ(Inhalt(p), d);
            EXPECT_TRUE(fehler.endsWith("\nEin-/Ausgabefehler (Fehler 5).")) << fehler.toStdString();
        }
    TagSchreibenFehlerBeimSynchronisieren(false);
    TagSchreibenFehlerBeiSchreibvorgang(0);
    // Removal, with each write failing in turn.
    for (int n = 1; n <= 3; ++n) {
        const QString p = Datei(umschreiben);
        SichereDatei::FehlerBeiSchreibvorgang(n);
        QString meldung;
        const auto e1 = TAGEntfernenV2(p, meldung);
        SichereDatei::FehlerBeiSchreibvorgang(0);
        if (e1 != TagEntfernenErgebnis::Entfernt) {
            EXPECT_EQ(e1, TagEntfernenErgebnis::Fehlgeschlagen);
            EXPECT_EQ(Inhalt(p), umschreiben);
        }
        EXPECT_TRUE(KeinNeu(p));
    }
}

TEST_F(TagSchreiben, ReadOnlyMissingAndSpecialFilesAreRefused)
{
    const QByteArray d = Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("t"))}}.Bytes() + audio + v1;
    const QString pfad = Datei(d);
    ASSERT_EQ(::chmod(QFile::encodeName(pfad).constData(), 0444), 0);
    QString fehler;
    EXPECT_FALSE(Mp3TAGSpeichernV2(pfad, Felder(), fehler));
    EXPECT_TRUE(fehler.contains("Auf die Datei kann nicht zugegriffen werden (Fehler 13).")) << fehler.toStdString();
    EXPECT_FALSE(Mp3TAGSpeichernV1(pfad, Id3v1Block({}), fehler));
    EXPECT_TRUE(fehler.startsWith("Die ID3v1-TAG der Datei '" + pfad + "' konnte nicht gespeichert werden.\nAuf die Datei"));
    QString meldung;
    EXPECT_EQ(TAGEntfernen(pfad, meldung), TagEntfernenErgebnis::Fehlgeschlagen);
    EXPECT_EQ(TAGEntfernenV2(pfad, meldung), TagEntfernenErgebnis::Fehlgeschlagen);
    EXPECT_EQ(Inhalt(pfad), d);
    EXPECT_TRUE(KeinNeu(pfad));

    const QString fehlt = ordner.filePath(QStringLiteral("fehlt.mp3"));
    EXPECT_FALSE(Mp3TAGSpeichernV2(fehlt, Felder(), fehler));
    EXPECT_EQ(fehler, "Die ID3v2-TAG der Datei '" + fehlt + "' konnte nicht gespeichert werden.\nDie Datei existiert nicht.");
    EXPECT_FALSE(Mp3TAGSpeichernV1(fehlt, Id3v1Block({}), fehler));
    EXPECT_EQ(fehler, "Die ID3v1-TAG der Datei '" + fehlt + "' konnte nicht gespeichert werden.\nDie Datei existiert nicht.");
    EXPECT_EQ(TAGEntfernen(fehlt, meldung), TagEntfernenErgebnis::Abgelehnt);
    EXPECT_EQ(meldung, "Der ID3v1-TAG der Datei '" + fehlt + "' kann nicht entfernt werden.\nDie Datei existiert nicht.");
    EXPECT_FALSE(QFile::exists(fehlt));

    const QString fifo = ordner.filePath(QStringLiteral("fifo.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_FALSE(Mp3TAGSpeichernV2(fifo, Felder(), fehler));
    EXPECT_FALSE(Mp3TAGSpeichernV1(fifo, Id3v1Block({}), fehler));
    EXPECT_EQ(TAGEntfernenV2(fifo, meldung), TagEntfernenErgebnis::Fehlgeschlagen);
}

TEST_F(TagSchreiben, WritingThroughALinkRewritesItsTarget)
{
    Id3v2Tag klein;
    klein.frames = {TextFrame("TIT2", QStringLiteral("alt"))};
    QDir(ordner.path()).mkdir(QStringLiteral("echt"));
    const QString ziel = Datei(klein.Bytes() + audio, QStringLiteral("echt/ziel.mp3"));
    const QString link = ordner.filePath(QStringLiteral("link.mp3"));
    ASSERT_TRUE(QFile::link(QStringLiteral("echt/ziel.mp3"), link));
    QString fehler;
    ASSERT_TRUE(Mp3TAGSpeichernV2(link, Felder(), fehler)) << fehler.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    TagLibPrüfen(ziel, Felder());
    EXPECT_TRUE(KeinNeu(link));
    EXPECT_TRUE(KeinNeu(ziel));
    QString meldung;
    ASSERT_EQ(TAGEntfernenV2(link, meldung), TagEntfernenErgebnis::Entfernt);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Inhalt(ziel), audio);
}

TEST_F(TagSchreiben, Id3v1BlockWrittenReplacedAndAppended)
{
    MedienInfo m;
    m.Mp3_ID3v1_Titel = QStringLiteral("Über den Wolken, ein sehr langer Titel");
    m.Mp3_ID3v1_Interpret = QStringLiteral("Reinhard Mey");
    m.Mp3_ID3v1_Album = QStringLiteral("東京");
    m.Mp3_ID3v1_Jahr = QStringLiteral("1974");
    m.Mp3_ID3v1_Kommentar = QString(30, QLatin1Char('k'));
    m.Mp3_ID3v1_Titelnummer = QStringLiteral("7");
    GenreByteSetzen(m, 17);
    bool gültig = false;
    QByteArray b = TagV1TextZurückgeben(m, &gültig);
    EXPECT_TRUE(gültig);
    ASSERT_EQ(b.size(), 128);
    EXPECT_EQ(b.mid(97, 28), QByteArray(28, 'k'));
    EXPECT_EQ(b.at(125), 0);
    EXPECT_EQ(b.at(126), 7);
    EXPECT_EQ(quint8(b.at(127)), 17);
    EXPECT_EQ(b.mid(63, 3), QByteArray("??\0", 3));

    // Without a track the comment has 30 characters; a bad track writes none.
    m.Mp3_ID3v1_Titelnummer.clear();
    EXPECT_EQ(TagV1TextZurückgeben(m).mid(97, 30), QByteArray(30, 'k'));
    m.Mp3_ID3v1_Titelnummer = QStringLiteral("256");
    b = TagV1TextZurückgeben(m, &gültig);
    EXPECT_FALSE(gültig);
    EXPECT_EQ(b.mid(125, 2), QByteArray(2, '\0'));
    m.Mp3_ID3v1_Musikrichtung.clear();
    EXPECT_EQ(quint8(TagV1TextZurückgeben(m).at(127)), 255);

    m.Mp3_ID3v1_Titelnummer = QStringLiteral("7");
    GenreByteSetzen(m, 17);
    const QByteArray block = TagV1TextZurückgeben(m);
    for (const QByteArray& d : {audio + v1, audio, QByteArray("kurz")}) {
        const QString p = Datei(d);
        QString fehler;
        ASSERT_TRUE(Mp3TAGSpeichernV1(p, block, fehler)) << fehler.toStdString();
        const QByteArray neu = Inhalt(p);
        EXPECT_EQ(neu.size(), (d.endsWith(v1) ? d.size() - 128 : d.size()) + 128);
        EXPECT_TRUE(neu.endsWith(block));
        if (d.size() >= 128) {
            TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
            ASSERT_TRUE(f.hasID3v1Tag());
            EXPECT_EQ(Q(f.ID3v1Tag()->title()), "Über den Wolken, ein sehr lang");
            EXPECT_EQ(f.ID3v1Tag()->track(), 7u);
            EXPECT_EQ(f.ID3v1Tag()->genreNumber(), 17u);
            EXPECT_EQ(Q(f.ID3v1Tag()->comment()), QString(28, QLatin1Char('k')));
        }
    }
}

TEST_F(TagSchreiben, RemovingTags)
{
    Id3v2Tag t;
    t.frames = {TextFrame("TIT2", QStringLiteral("t"))};
    const QByteArray d = t.Bytes() + audio + v1;
    const QString p = Datei(d);
    QString meldung;
    ASSERT_EQ(TAGEntfernen(p, meldung), TagEntfernenErgebnis::Entfernt);
    EXPECT_EQ(Inhalt(p), t.Bytes() + audio);
    EXPECT_EQ(TAGEntfernen(p, meldung), TagEntfernenErgebnis::Abgelehnt);
    EXPECT_EQ(meldung, "Der ID3v1-TAG der Datei '" + p + "' kann nicht entfernt werden.\nDiese enthält keinen ID3v1-TAG.");
    ASSERT_EQ(TAGEntfernenV2(p, meldung), TagEntfernenErgebnis::Entfernt);
    EXPECT_EQ(Inhalt(p), audio);
    EXPECT_EQ(TAGEntfernenV2(p, meldung), TagEntfernenErgebnis::Abgelehnt);
    EXPECT_EQ(meldung, "Der ID3v2-TAG der Datei '" + p + "' kann nicht entfernt werden.\nDiese enthält keinen ID3v2-TAG.");
    EXPECT_TRUE(KeinNeu(p));

    // A tag further in: the bytes in front stay in front.
    const QString p2 = Datei(QByteArray(50, 'x') + t.Bytes() + audio, QStringLiteral("b.mp3"));
    ASSERT_EQ(TAGEntfernenV2(p2, meldung), TagEntfernenErgebnis::Entfernt);
    EXPECT_EQ(Inhalt(p2), QByteArray(50, 'x') + audio);
    EXPECT_TRUE(KeinNeu(p2));
    // A file of 127 bytes has no block.
    const QString p3 = Datei(v1.left(127), QStringLiteral("c.mp3"));
    EXPECT_EQ(TAGEntfernen(p3, meldung), TagEntfernenErgebnis::Abgelehnt);
}

TEST_F(TagSchreiben, PaddingIsClampedAndHugeTagsRefused)
{
    einstellungen().TAGsProzentHinzufügen = -50;
    const QString p = Datei(audio);
    QString fehler;
    ASSERT_TRUE(Mp3TAGSpeichernV2(p, Felder(), fehler));
    EXPECT_EQ(Id3v2KopfLesen(Inhalt(p))->GesamtGröße(), Id3v2FramesBauen(Felder()).size() + 10);
    einstellungen().TAGsProzentHinzufügen = 1000000;
    const QString p2 = Datei(audio, QStringLiteral("b.mp3"));
    ASSERT_TRUE(Mp3TAGSpeichernV2(p2, Felder(), fehler));
    const qint64 größe = Id3v2KopfLesen(Inhalt(p2))->GesamtGröße();
    EXPECT_LT(größe, qint64(1) << 28);
    EXPECT_EQ(Audio(Inhalt(p2)), audio);
}

// A 2.4 tag with a footer is replaced in place; with a kept frame that
// changes form (unsynchronised here), which a write in place would tear, it
// is rewritten through a copy.
TEST_F(TagSchreiben, Version24TagWithFooterInPlaceUnlessAKeptFrameChanges)
{
    for (const bool weiteres : {false, true}) {
        SCOPED_TRACE(weiteres);
        Id3v2Tag alt{.version = 4, .frames = {TextFrame("TIT2", QStringLiteral("ÿalt"), Kodierung::Utf8)}, .padding = 600,
                     .unsynchronisiert = true, .fußzeile = true};
        if (weiteres)
            alt.frames.push_back(RohFrame("TXXX", QByteArray("\0k\0v\xFF\xE0", 6)));
        const QByteArray d = alt.Bytes() + audio + v1;
        const QString pfad = Datei(d, QStringLiteral("f%1.mp3").arg(weiteres));
        QString fehler;
        ASSERT_TRUE(Mp3TAGSpeichernV2(pfad, Felder(), fehler)) << fehler.toStdString();
        const QByteArray neu = Inhalt(pfad);
        EXPECT_EQ(neu.size() == d.size(), !weiteres);
        EXPECT_EQ(neu.mid(Id3v2KopfLesen(neu)->GesamtGröße()), audio + v1);
        TagLibPrüfen(pfad, Felder());
        // The kept frame is de-unsynchronised, in 2.3 layout.
        EXPECT_EQ(neu.contains(QByteArray("TXXX\0\0\0\x06\0\0\0k\0v\xFF\xE0", 16)), weiteres);
    }
}

// A download still appending or a file put in its place while a tag is
// written or removed: nothing is replaced, cut or written into the other
// file, and the failure says why.
TEST_F(TagSchreiben, AFileChangedWhileItsTagIsWrittenStaysAsTheOtherProgramLeftIt)
{
    using Schritt = SichereDatei::Schritt;
    Id3v2Tag klein;
    klein.frames = {TextFrame("TIT2", QStringLiteral("alt"))};
    Id3v2Tag groß = klein;
    groß.padding = 2000;
    struct Fall {
        Vorgang vorgang;
        QByteArray daten;
        Schritt wann;
        bool ersetzt; // else 22,000 bytes appended
        bool ohneLease = false; // only then can another program open the file while it is written in place
    };
    const std::vector<Fall> fälle = {
        {SchreibenV2, klein.Bytes() + audio, Schritt::VorDemAbschluss, false}, // through a copy
        {EntfernenV2, klein.Bytes() + audio, Schritt::VorDemAbschluss, false},
        {SchreibenV2, groß.Bytes() + audio, Schritt::VorDemAbschluss, false, true}, // in place, after the write
        {SchreibenV1, groß.Bytes() + audio + v1, Schritt::VorDemAbschluss, false, true},
        {SchreibenV1, groß.Bytes() + audio, Schritt::VorDemAbschluss, false, true}, // appended: through a copy
        {SchreibenV1, groß.Bytes() + audio, Schritt::VorDemSchreiben, false}, // where the download goes on
        {SchreibenV2, groß.Bytes() + audio, Schritt::VorDemSchreiben, true}, // into the file moved away
        {SchreibenV1, groß.Bytes() + audio + v1, Schritt::VorDemSchreiben, true},
        {SchreibenBeide, groß.Bytes() + audio + v1, Schritt::VorDemSchreiben, false},
        {SchreibenBeide, klein.Bytes() + audio + v1, Schritt::VorDemAbschluss, false},
    };
    const QByteArray andere = "eine andere Datei" + audio;
    int n = 0;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(n);
        const QString name = QStringLiteral("d%1.mp3").arg(n++), p = Datei(fall.daten, name);
        QByteArray erwartet = fall.daten;
        SchreibzugriffOhneLease(fall.ohneLease);
        SichereDatei::TestHaken([&](Schritt s) {
            if (s != fall.wann)
                return;
            if (fall.ersetzt) {
                ASSERT_EQ(::rename(QFile::encodeName(p).constData(), QFile::encodeName(p + ".weg").constData()), 0);
                Datei(erwartet = andere, name);
                return;
            }
            QFile f(p);
            ASSERT_TRUE(f.open(QIODevice::Append));
            f.write(QByteArray(22000, 'd'));
            erwartet += QByteArray(22000, 'd');
        });
        QString meldung;
        EXPECT_FALSE(Ausführen(fall.vorgang, p, meldung));
        EXPECT_TRUE(meldung.contains("\nDie Datei wurde während des Speicherns verändert.")) << meldung.toStdString();
        EXPECT_EQ(Inhalt(p), erwartet);
        if (fall.ersetzt)
            EXPECT_EQ(Inhalt(p + ".weg"), fall.daten);
        EXPECT_TRUE(KeinNeu(p));
    }
}

// A file that is only a tag, no audio behind it, written in place or anew and
// its tags removed to nothing. Its name is at the limit: the temporary copy's
// name is shortened.
TEST_F(TagSchreiben, AFileThatIsOnlyATag)
{
    for (const int padding : {500, 0}) {
        SCOPED_TRACE(padding);
        const Id3v2Tag t{.frames = {TextFrame("TIT2", QStringLiteral("t"))}, .padding = padding};
        const QString p = Datei(t.Bytes(), QString(84, QChar(0x97F3))); // 252 bytes
        QString fehler;
        ASSERT_TRUE(Mp3TAGSpeichernV2(p, Felder(), fehler)) << fehler.toStdString();
        EXPECT_EQ(Id3v2Lesen(Inhalt(p)).felder[12], Felder().Mp3_ID3v2_Titel);
        ASSERT_TRUE(Mp3TAGSpeichernV1(p, v1, fehler)) << fehler.toStdString();
        ASSERT_EQ(TAGEntfernenV2(p, fehler), TagEntfernenErgebnis::Entfernt) << fehler.toStdString();
        EXPECT_EQ(Inhalt(p), v1);
        ASSERT_EQ(TAGEntfernen(p, fehler), TagEntfernenErgebnis::Entfernt) << fehler.toStdString();
        EXPECT_EQ(Inhalt(p), QByteArray());
    }
}

// An old tag not read to its end, or with a frame 2.3 cannot hold, is never cut:
// its fields are shown, its writes refused saying why, the file left as it is.
TEST_F(TagSchreiben, AnOldTagThe23FormCannotCarryWholeRefusesTheWrite)
{
    const auto frame = [](const char* id, const QByteArray& daten, quint8 format = 0) {
        Id3v2Frame f = RohFrame(id, daten);
        f.format = format;
        return f;
    };
    const Id3v2Tag t{.frames = {TextFrame("TIT2", QStringLiteral("alt")), frame("TXXX", QByteArray("\0k\0v", 4)),
                                frame("PRIV", QByteArray("owner\0data", 10))},
                     .padding = 40};
    const QByteArray heil = t.Bytes(), ohnePadding = Id3v2Tag{.frames = t.frames}.Bytes();
    ASSERT_TRUE(Id3v2Lesen(heil).framesGelesen);
    const auto geändert = [](QByteArray tag, qsizetype stelle, const QByteArray& bytes) { return tag.replace(stelle, bytes.size(), bytes); };
    const auto mit = [](int version, const Id3v2Frame& f) {
        return Id3v2Tag{.version = version,
                        .frames = {TextFrame(version == 2 ? "TT2" : "TIT2", QStringLiteral("alt")), f,
                                   TextFrame(version == 2 ? "TP1" : "TPE1", QStringLiteral("Interpret"))},
                        .padding = 500}
            .Bytes();
    };
    const auto ungelesen = [](const QString& warum) {
        return QStringLiteral("Die Felder des vorhandenen ID3v2-TAGs können nicht gelesen werden. ") + warum;
    };
    const QString imPadding = ungelesen(QStringLiteral("Hinter den Feldern stehen Daten, die kein Feld sind."));
    const QString inDieAudiodaten = ungelesen(QStringLiteral("Der ID3v2-TAG reicht in die Audiodaten hinein."));
    const auto nicht23 = [](int version, const char* id) {
        return QStringLiteral("Der vorhandene ID3v2.%1-TAG enthält das Feld '%2', das nicht in die Version 2.3 übertragen "
                              "werden kann.").arg(version).arg(id);
    };
    // A size that counts bytes of the audio behind the tag too.
    const auto zuGroß = [](Id3v2Tag tag, quint32 mehr) {
        tag.größenFeld = Syncsafe(quint32(tag.Bytes().size() - 10) + mehr);
        return tag.Bytes();
    };
    const std::pair<QByteArray, QString> fälle[] = {
        {geändert(ohnePadding, ohnePadding.size() - 16, BigEndian32(11)), ungelesen(QStringLiteral("Das Feld 'PRIV' ist beschädigt."))},
        {geändert(heil, heil.indexOf("TXXX"), QByteArray(14, '\0')), imPadding},
        {geändert(heil, heil.indexOf("PRIV") + 20, "junk!"), ungelesen(QStringLiteral("Das Feld 'junk' ist beschädigt."))},
        {geändert(heil, heil.size() - 10, "abc"), imPadding},
        {zuGroß(Id3v2Tag{.frames = t.frames}, 5000), inDieAudiodaten},
        {zuGroß(t, 2000), inDieAudiodaten},
        {zuGroß(Id3v2Tag{.version = 4, .frames = t.frames, .padding = 700}, 3000), inDieAudiodaten},
        {mit(4, frame("TXXX", QByteArray("x\x9c zlib", 7), 0x08)), nicht23(4, "TXXX")},
        {mit(4, frame("TIT3", {}, 0x40)), nicht23(4, "TIT3")},
        {mit(4, frame("PRIV", {}, 0x04)), nicht23(4, "PRIV")},
        {mit(4, frame("GEOB", QByteArray("\0\1", 2), 0x01)), nicht23(4, "GEOB")},
        {mit(2, RohFrame("CRM", QByteArray("owner\0xx", 8))), nicht23(2, "CRM")},
    };
    int n = 0;
    for (const auto& [tag, warum] : fälle) {
        SCOPED_TRACE(testing::Message() << n << " " << warum.toStdString());
        const QByteArray d = tag + audio + v1;
        const QString p = Datei(d, QStringLiteral("n%1.mp3").arg(n++));

        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(p, m, 0));
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "alt");
        m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
        const QString erwartet = "Der ID3v2-TAG der Datei '" + p + "' konnte nicht gespeichert werden.\n" + warum + " (Fehler 22).";
        QString fehler;
        EXPECT_FALSE(Mp3TAGSpeichernV2(p, m, fehler));
        EXPECT_EQ(fehler.toStdString(), erwartet.toStdString());
        EXPECT_FALSE(Mp3TAGSpeichernBeide(p, m, Id3v1Block({.titel = "Neu"}), fehler));
        EXPECT_EQ(fehler.toStdString(), erwartet.toStdString());
        EXPECT_EQ(Werkzeug("tag-write", {p, "both", "Mp3_ID3v2_Titel=Neu"}), std::pair(2, (erwartet + "\n").toStdString()));
        EXPECT_EQ(Inhalt(p), d);
        EXPECT_TRUE(KeinNeu(p));
    }
}

// Tags whose frames are not walked at all say why too.
TEST_F(TagSchreiben, ATagWhoseFramesAreNotWalkedSaysWhy)
{
    Id3v2Tag komprimiert{.version = 2, .frames = {TextFrame("TT2", QStringLiteral("alt"))}};
    komprimiert.zusatzFlags = 0x40;
    QByteArray erweitert = Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("alt"))}, .padding = 20, .erweiterterKopf = true}.Bytes();
    erweitert.replace(10, 4, BigEndian32(5000)); // the extended header's size runs past the tag
    const std::pair<QByteArray, const char*> fälle[] = {
        {komprimiert.Bytes(), "Der ID3v2.2-TAG ist als Ganzes komprimiert."},
        {erweitert, "Der erweiterte Kopf des ID3v2-TAGs ist ungültig."},
    };
    int n = 0;
    for (const auto& [tag, warum] : fälle) {
        SCOPED_TRACE(warum);
        const QByteArray d = tag + audio + v1;
        const QString p = Datei(d, QStringLiteral("w%1.mp3").arg(n++));
        const QString erwartet = "Der ID3v2-TAG der Datei '" + p
                               + "' konnte nicht gespeichert werden.\nDie Felder des vorhandenen ID3v2-TAGs können nicht gelesen werden. "
                               + QString::fromUtf8(warum) + " (Fehler 22).";
        QString fehler;
        EXPECT_FALSE(Mp3TAGSpeichernV2(p, Felder(), fehler));
        EXPECT_EQ(fehler.toStdString(), erwartet.toStdString());
        EXPECT_EQ(Werkzeug("tag-write", {p, "v2", "Mp3_ID3v2_Titel=Neu"}), std::pair(2, (erwartet + "\n").toStdString()));
        EXPECT_EQ(Inhalt(p), d);
        EXPECT_TRUE(KeinNeu(p));
    }
}

// Tags one behind the other at the start, as taggers leave them that add a
// tag instead of replacing the old one: the record is the first tag's, a
// write replaces the first only (the others stay behind it byte for byte),
// and the removal takes them all, the audio and the ID3v1 block staying as
// they are. Bytes behind a tag that are no whole tag stay.
TEST_F(TagSchreiben, TagsOneBehindTheOtherAreRemovedTogether)
{
    const QString python = MutagenPython();
    if (python.isEmpty())
        GTEST_SKIP() << "python3-mutagen is not installed";
    const char* const lesen = R"(
import sys
from mutagen.id3 import ID3, ID3NoHeaderError
for pfad in sys.argv[1:]:
    try:
        print(' '.join(sorted('%s=%s' % (f.FrameID, f) for f in ID3(pfad, load_v1=False).values())))
    except ID3NoHeaderError:
        print('kein Tag')
)";
    const auto mutagen = [&](const QString& pfad) { return Python(python, lesen, {pfad}).join('|').toStdString(); };
    const QByteArray erster =
        Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("Neu")), TextFrame("TPE1", QStringLiteral("Interpret"))}, .padding = 300}.Bytes();
    const QByteArray zweiter = Id3v2Tag{.version = 4,
                                        .frames = {TextFrame("TIT2", QStringLiteral("Alt")), TextFrame("TALB", QStringLiteral("Altes Album")),
                                                   RohFrame("APIC", QByteArray("\0image/png\0\3\0\x89PNG", 16))}}
                                   .Bytes();
    const QByteArray dritter = Id3v2Tag{.version = 2, .frames = {TextFrame("TT2", QStringLiteral("Uralt"))}, .padding = 10}.Bytes();
    const QByteArray keinTag("ID3\x05\0\0\0\0\0\x10 sixteen  bytes.", 26); // a version no tag has
    struct Fall {
        const char* was;
        QByteArray hinten; // behind the first tag
        QByteArray bleibt; // what the removal leaves of it
    };
    const Fall fälle[] = {
        {"two tags", zweiter + audio + v1, audio + v1},
        {"three tags", zweiter + dritter + audio + v1, audio + v1},
        {"no whole tag behind", keinTag + audio + v1, keinTag + audio + v1},
    };
    int n = 0;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(fall.was);
        const QByteArray d = erster + fall.hinten;
        const auto datei = [&](const char* wozu) { return Datei(d, QStringLiteral("%1-%2.mp3").arg(n).arg(wozu)); };
        const QString gelesen = datei("lesen"), anOrt = datei("anort"), neu = datei("neu"), entfernt = datei("entfernt"),
                      werkzeug = datei("werkzeug");
        ++n;
        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(gelesen, m, 0));
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "Neu");
        EXPECT_EQ(m.Mp3_ID3v2_Interpret, "Interpret");
        EXPECT_EQ(m.Mp3_ID3v2_Album, "");
        EXPECT_EQ(mutagen(gelesen), "TIT2=Neu TPE1=Interpret");

        // A title written in place, and one too long for it written anew.
        for (const auto& [pfad, titel] : {std::pair(anOrt, QStringLiteral("Neuer Titel")), std::pair(neu, QString(400, QLatin1Char('t')))}) {
            MedienInfo t = m;
            t.Mp3_ID3v2_Titel = titel;
            ASSERT_TRUE(V2Gespeichert(pfad, t));
            const QByteArray geschrieben = Inhalt(pfad);
            const qint64 ende = Id3v2KopfLesen(geschrieben)->GesamtGröße();
            EXPECT_EQ(ende == erster.size(), pfad == anOrt);
            EXPECT_EQ(geschrieben.mid(ende), fall.hinten);
            EXPECT_EQ(TagLibText(pfad, "TIT2"), titel);
            EXPECT_EQ(mutagen(pfad), ("TIT2=" + titel + " TPE1=Interpret").toStdString());
        }

        QString meldung;
        ASSERT_EQ(TAGEntfernenV2(entfernt, meldung), TagEntfernenErgebnis::Entfernt) << meldung.toStdString();
        EXPECT_EQ(Werkzeug("tag-remove", {werkzeug, "v2"}), std::pair(0, std::string()));
        for (const QString& pfad : {anOrt, neu})
            ASSERT_EQ(TAGEntfernenV2(pfad, meldung), TagEntfernenErgebnis::Entfernt) << meldung.toStdString();
        for (const QString& pfad : {entfernt, werkzeug, anOrt, neu}) {
            SCOPED_TRACE(pfad.toStdString());
            EXPECT_EQ(Inhalt(pfad), fall.bleibt);
            EXPECT_TRUE(KeinNeu(pfad));
            if (fall.bleibt.startsWith("ID3"))
                continue;
            EXPECT_EQ(mutagen(pfad), "kein Tag");
            TagLib::MPEG::File f(QFile::encodeName(pfad).constData(), false);
            EXPECT_FALSE(f.hasID3v2Tag());
            EXPECT_EQ(Q(f.ID3v1Tag()->title()), "Alt");
        }
    }
}

// Texts of a 2.4 tag in UTF-8 or UTF-16BE, which 2.3 lacks, are written as
// UTF-16 with a byte-order mark, and TagLib reads them as they were.
TEST_F(TagSchreiben, Version24TextsInUtf8OrUtf16BEBecomeUtf16)
{
    const QString s = QStringLiteral("Grüße, 東京 🎵");
    for (const Kodierung k : {Kodierung::Utf8, Kodierung::Utf16BE}) {
        SCOPED_TRACE(int(k));
        Id3v2Tag alt;
        alt.version = 4;
        alt.frames = {TextFrame("TXXX", QStringList{"Schlüssel " + s, "Wert " + s}, k),
                      KommentarFrame("Kommentar " + s, "Beschreibung " + s, k, "deu"),
                      KommentarFrame("Liedtext " + s, "Lied " + s, k, "deu", "USLT")};
        // Text frames whose ids do not begin with T, and one that does.
        for (const char* id : {"GRP1", "MVNM", "MVIN", "TSOP"})
            alt.frames.push_back(TextFrame(id, QString::fromLatin1(id) + " " + s, k));
        const QString p = Datei(alt.Bytes() + audio);
        QString fehler;
        ASSERT_TRUE(Mp3TAGSpeichernV2(p, Felder(), fehler)) << fehler.toStdString();
        EXPECT_FALSE(Inhalt(p).contains(TextBytes(s, k)));
        TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
        EXPECT_EQ(TagLibText(f.ID3v2Tag(), "TXXX"), "[Schlüssel " + s + "] Wert " + s);
        EXPECT_EQ(TagLibText(f.ID3v2Tag(), "USLT"), "Liedtext " + s);
        EXPECT_TRUE(TagLibKommentare(f.ID3v2Tag()).contains("deu:Beschreibung " + s + "=Kommentar " + s));
        for (const char* id : {"GRP1", "MVNM", "MVIN", "TSOP"}) {
            EXPECT_EQ(TagLibText(f.ID3v2Tag(), id), QString::fromLatin1(id) + " " + s);
            EXPECT_TRUE(Inhalt(p).contains(FrameBytes(TextFrame(id, QString::fromLatin1(id) + " " + s, Kodierung::Utf16Bom)))) << id;
        }
    }
}

// The comment and the link are one frame each, the first without a
// description, for the reader and the writer alike. Saving replaces exactly
// that frame, its language bytes as they stand (a comment that had none gets
// "eng"), and drops no other, also not a second without a description; a
// save of the title alone keeps them all, so what is shown never flips.
// Frames that carry nothing are copied as they stand.
TEST_F(TagSchreiben, CommentAndLinkReplaceTheFrameTheyWereReadFromAndNoOther)
{
    const auto kommentar = [](const char* text, const QByteArray& sprache, Kodierung k = Kodierung::Latin1) {
        return KommentarFrame(QString::fromUtf8(text), QString(), k, sprache);
    };
    const QByteArray nullen(3, '\0');
    const Id3v2Frame beschrieben = KommentarFrame(QStringLiteral("x"), QStringLiteral("mit"));
    struct Fall {
        std::vector<Id3v2Frame> frames;
        QString erst;       // the comment as first read
        QByteArray sprache; // the language of its frame ("" when none), kept when it is written
        QStringList andere; // the other comments, language:description=text
        // Behind an empty frame, where TagLib stops (as the links do then).
        QStringList dahinter = {};
    };
    const std::vector<Fall> fälle = {
        {{kommentar("erst", "eng"), kommentar("dann", "eng")}, "erst", "eng", {"eng:=dann"}},
        {{kommentar("erst", "   "), kommentar("dann", "eng")}, "erst", "   ", {"eng:=dann"}},
        {{kommentar("erst", nullen), kommentar("dann", "eng")}, "erst", nullen, {"eng:=dann"}},
        {{kommentar("erst", "de "), kommentar("dann", "eng")}, "erst", "de ", {"eng:=dann"}},
        {{kommentar("erst", "XXX", Kodierung::Utf16Bom), kommentar("dann", "eng")}, "erst", "XXX", {"eng:=dann"}},
        {{kommentar("erst", "deu"), RohFrame("COMM", {}), kommentar("dann", "eng")}, "erst", "deu", {}, {"eng:=dann"}},
        {{beschrieben, kommentar("erst", "fra", Kodierung::Utf16Bom), RohFrame("COMM", QByteArray(1, '\0')),
          RohFrame("XYZW", {}), kommentar("dann", "fra")},
         "erst", "fra", {":=", "eng:mit=x"}, {"fra:=dann"}}, // the one-byte comment has no language
        {{beschrieben, kommentar("", "deu")}, "", "deu", {"eng:mit=x"}},
        {{beschrieben}, "", "", {"eng:mit=x"}},
    };
    int n = 0;
    for (const Fall& fall : fälle) {
        SCOPED_TRACE(n);
        Id3v2Tag alt;
        alt.frames = fall.frames;
        alt.frames.push_back(LinkFrame(QStringLiteral("https://erst.example/")));
        alt.frames.push_back(LinkFrame(QStringLiteral("https://dann.example/")));
        const QString p = Datei(alt.Bytes() + audio, QStringLiteral("c%1.mp3").arg(n++));
        MedienInfo m;
        ASSERT_TRUE(Mp3TAGLesenV2(p, m, 0));
        ASSERT_EQ(m.Mp3_ID3v2_Kommentar + " " + m.Mp3_ID3v2_Link, fall.erst + " https://erst.example/");
        // The title alone, then comment and link, then the title alone again
        // (in place): each time both readers show what was saved.
        for (const bool neu : {false, true, true}) {
            m.Mp3_ID3v2_Titel += QStringLiteral("+");
            SCOPED_TRACE(m.Mp3_ID3v2_Titel.toStdString());
            if (neu) {
                m.Mp3_ID3v2_Kommentar = QStringLiteral("Neu");
                m.Mp3_ID3v2_Link = QStringLiteral("https://neu.example/");
            }
            QString fehler;
            ASSERT_TRUE(Mp3TAGSpeichernV2(p, m, fehler)) << fehler.toStdString();
            MedienInfo gelesen;
            ASSERT_TRUE(Mp3TAGLesenV2(p, gelesen, 0));
            EXPECT_EQ(gelesen.Mp3_ID3v2_Kommentar + " " + gelesen.Mp3_ID3v2_Link, m.Mp3_ID3v2_Kommentar + " " + m.Mp3_ID3v2_Link);
            TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
            if (!m.Mp3_ID3v2_Kommentar.isEmpty())
                EXPECT_EQ(Q(f.ID3v2Tag()->comment()), m.Mp3_ID3v2_Kommentar);
            QStringList kommentare = fall.andere;
            if (neu || !fall.sprache.isEmpty())
                kommentare << QString::fromLatin1(fall.sprache.isEmpty() ? "eng" : fall.sprache) + ":=" + m.Mp3_ID3v2_Kommentar;
            kommentare.sort();
            EXPECT_EQ(TagLibKommentare(f.ID3v2Tag()), kommentare);
            QStringList links;
            for (auto* l : f.ID3v2Tag()->frameListMap()["WXXX"])
                links << Q(static_cast<TagLib::ID3v2::UserUrlLinkFrame*>(l)->url());
            EXPECT_EQ(links, (fall.dahinter.isEmpty() ? QStringList{m.Mp3_ID3v2_Link, "https://dann.example/"} : QStringList()));
        }
        const QByteArray sprache = fall.sprache.isEmpty() ? QByteArray("eng") : fall.sprache;
        EXPECT_TRUE(Inhalt(p).contains(FrameBytes(KommentarFrame(QStringLiteral("Neu"), QString(), Kodierung::Latin1, sprache))));
        for (const Id3v2Frame& leer : fall.frames)
            if (leer.daten.size() <= 1)
                EXPECT_TRUE(Inhalt(p).contains(leer.id + BigEndian32(quint32(leer.daten.size())) + QByteArray(2, '\0') + leer.daten));
    }
}

// Texts and counters read back as written, by our reader and by TagLib: a
// title with the characters U+0080 to U+009F (which encoding 0 would make
// Windows-1252 characters) goes as UTF-16; a counter whose bytes look like
// the digits counters were once written as stays a number.
TEST_F(TagSchreiben, TitlesAndCountersReadBackAsWritten)
{
    const std::tuple<QString, Kodierung, QString> fälle[] = {
        {QStringLiteral("\u0080\u0081\u008D\u0090\u009F"), Kodierung::Utf16Bom, "42"},
        {QStringLiteral("Ça va \u0085 \u0092"), Kodierung::Utf16Bom, "3224115"}, // 00 31 32 33
        {QStringLiteral("ÿ \u009C"), Kodierung::Utf16Bom, "15259255208031798"},   // 00 36 36 36 36 36 36 36
        {QStringLiteral("äöü ÿ"), Kodierung::Latin1, "4294967296"},
    };
    for (const auto& [titel, kodierung, zähler] : fälle) {
        SCOPED_TRACE(zähler.toStdString());
        MedienInfo m = Felder();
        m.Mp3_ID3v2_Titel = titel;
        m.Mp3_ID3v2_AbspielZähler = zähler;
        const QString p = Datei(audio);
        QString fehler;
        ASSERT_TRUE(Mp3TAGSpeichernV2(p, m, fehler)) << fehler.toStdString();
        EXPECT_TRUE(Inhalt(p).contains(FrameBytes(TextFrame("TIT2", titel, kodierung))));
        MedienInfo gelesen;
        ASSERT_TRUE(Mp3TAGLesenV2(p, gelesen, 0));
        EXPECT_EQ(gelesen.Mp3_ID3v2_Titel + " " + gelesen.Mp3_ID3v2_AbspielZähler, titel + " " + zähler);
        TagLibPrüfen(p, m);
    }
}

// A kill or a power cut may stop a write at any byte. Whatever the moment,
// the picture, the lyrics, every other kept frame and the audio are as they
// were, and the tag reads: in place only the program's own frames change
// (they stand behind the kept ones), and a write that would move a kept
// frame goes through a copy. After one such copy a text edit stays in place.
TEST_F(TagSchreiben, AWriteStoppedAnywhereLeavesKeptFramesAndAudioWhole)
{
    QByteArray bild(300000, Qt::Uninitialized); // varies like an image's bytes: no runs, every value
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(bild.data()), bild.size() / 4);
    const QString liedtext = QStringLiteral("Über den Wolken muss die Freiheit wohl grenzenlos sein");
    const std::vector<Id3v2Frame> gehalten = {RohFrame("APIC", QByteArray("\0image/png\0\3\0", 13) + bild),
                                              KommentarFrame(liedtext, QString(), Kodierung::Utf16Bom, "deu", "USLT"),
                                              RohFrame("PRIV", QByteArray("owner\0data", 10))};
    const auto inode = [](const QString& p) {
        struct stat st {};
        return ::stat(QFile::encodeName(p).constData(), &st) == 0 ? st.st_ino : 0;
    };
    // Old title, new title, the kept frames in front of the texts (so written in place).
    const std::tuple<QString, QString, bool> fälle[] = {
        {"Alt", "Ein viel längerer neuer Titel", false}, {"Alter Titel", "Neu", false}, {"Alt", "Neu", false},
        {"Alt", "Ein viel längerer neuer Titel", true},  {"Alter Titel", "Neu", true}};
    for (const auto& [titel, neuerTitel, gehaltenVorn] : fälle) {
        SCOPED_TRACE(testing::Message() << titel.toStdString() << " -> " << neuerTitel.toStdString() << " " << gehaltenVorn);
        Id3v2Tag alt{.frames = {TextFrame("TIT2", titel), TextFrame("TPE1", QStringLiteral("Reinhard Mey"))}, .padding = 4000};
        alt.frames.insert(gehaltenVorn ? alt.frames.begin() : alt.frames.end(), gehalten.begin(), gehalten.end());
        MedienInfo m;
        m.Mp3_ID3v2_Titel = neuerTitel;
        m.Mp3_ID3v2_Interpret = QStringLiteral("Reinhard Mey");
        for (int halt = 1;; ++halt) {
            SCOPED_TRACE(halt);
            const QString p = Datei(alt.Bytes() + audio + v1);
            const auto vorher = inode(p);
            int schritte = 0;
            SichereDatei::TestHaken([&](SichereDatei::Schritt s) {
                const bool anhaltbar = s == SichereDatei::Schritt::MittenImSchreiben || s == SichereDatei::Schritt::VorDemAbschluss;
                if (anhaltbar && ++schritte == halt)
                    throw halt;
            });
            bool angehalten = false;
            QString fehler;
            try {
                EXPECT_TRUE(Mp3TAGSpeichernV2(p, m, fehler)) << fehler.toStdString();
            } catch (int) {
                angehalten = true;
            }
            const QByteArray neu = Inhalt(p);
            const auto kopf = Id3v2KopfLesen(neu);
            ASSERT_TRUE(kopf);
            EXPECT_EQ(neu.mid(kopf->GesamtGröße()), audio + v1);
            const Id3v2Ergebnis gelesen = Id3v2Lesen(neu.left(kopf->GesamtGröße()));
            EXPECT_TRUE(gelesen.framesGelesen);
            for (const Id3v2Frame& g : gehalten)
                EXPECT_TRUE(gelesen.weitereFrames.contains(FrameBytes(g))) << g.id.constData();
            TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
            const auto bilder = f.ID3v2Tag()->frameListMap()["APIC"];
            ASSERT_EQ(bilder.size(), 1u);
            EXPECT_TRUE(static_cast<TagLib::ID3v2::AttachedPictureFrame*>(bilder.front())->picture()
                        == TagLib::ByteVector(bild.constData(), uint(bild.size())));
            EXPECT_EQ(TagLibText(f.ID3v2Tag(), "USLT"), liedtext);
            if (!angehalten) {
                EXPECT_EQ(gelesen.felder[12], neuerTitel);
                EXPECT_EQ(inode(p) == vorher, gehaltenVorn);
                EXPECT_GT(halt, 1); // it was stopped at least once
                break;
            }
            ASSERT_LT(halt, 10);
        }
    }
}

// The name the temporary copy would take may hold the user's own file, a
// read-only one, a link (dangling too) or a folder: it stays as it is and the
// copy takes a free name, also when the temporary name is cut to the limit.
TEST_F(TagSchreiben, ATakenTemporaryNameStaysAndAFreeOneIsUsed)
{
    const QString fremd = Datei("fremde Daten", QStringLiteral("fremd.txt"));
    const std::function<void(const QString&)> belegungen[] = {
        [&](const QString& n) { Datei("eigene Datei", n); },
        [&](const QString& n) { QFile::setPermissions(Datei("schreibgeschützt", n), QFileDevice::ReadOwner); },
        [&](const QString& n) { QFile::link(fremd, ordner.filePath(n)); },
        [&](const QString& n) { QFile::link(QStringLiteral("nirgends"), ordner.filePath(n)); },
        [&](const QString& n) { QDir(ordner.path()).mkdir(n); },
    };
    const auto zustand = [](const QString& p) { // a link's target, a folder, or a file's permissions and bytes; "" for none
        const QFileInfo i(p);
        return i.isSymLink() ? i.symLinkTarget() : i.isDir() ? "/" : i.exists() ? QString::number(i.permissions()) + Inhalt(p) : "";
    };
    int n = 0;
    for (const auto& belegen : belegungen)
        for (const Vorgang v : kUmschreiben)
            for (const QString& name : {QStringLiteral("a.mp3"), QString(251, QLatin1Char('l')) + ".mp3"}) { // 255 bytes
                SCOPED_TRACE(n);
                const QString unter = QString::number(n++);
                ASSERT_TRUE(QDir(ordner.path()).mkdir(unter));
                const QString pfad = Datei(kleinerTag, unter + "/" + name);
                const QString belegt = QFileInfo(TempNameBilden(pfad, QStringLiteral("-neu"))).fileName();
                belegen(unter + "/" + belegt);
                const QString vorher = zustand(ordner.filePath(unter + "/" + belegt));
                ASSERT_FALSE(vorher.isEmpty());
                QString meldung;
                EXPECT_TRUE(Ausführen(v, pfad, meldung)) << meldung.toStdString();
                EXPECT_NE(Inhalt(pfad), kleinerTag);
                EXPECT_EQ(zustand(ordner.filePath(unter + "/" + belegt)), vorher);
                EXPECT_EQ(Übrige({name, belegt}, unter), QStringList()) << "the copy took a name of its own and is gone";
            }
    EXPECT_EQ(Inhalt(fremd), "fremde Daten");
}

TEST_F(TagSchreiben, EveryTemporaryNameTakenRefusesAndRemovesNone)
{
    const QString pfad = Datei(kleinerTag);
    QStringList namen = {"a.mp3"};
    for (int k = 0; k < 100; ++k)
        Datei("belegt", namen.emplaceBack(QStringLiteral("a.mp3-neu") + (k ? QString::number(k) : QString())));
    for (const Vorgang v : kUmschreiben) {
        QString meldung;
        EXPECT_FALSE(Ausführen(v, pfad, meldung));
        EXPECT_EQ(Inhalt(pfad), kleinerTag);
        for (const QString& n : namen.mid(1))
            ASSERT_EQ(Inhalt(ordner.filePath(n)), "belegt") << n.toStdString();
        EXPECT_EQ(Übrige(namen), QStringList());
    }
}

// A second process holds the file: open for writing (before the rewrite, or
// opened just as the copy is complete) the file is left alone and no copy
// stays; a reader is no reason.
TEST_F(TagSchreiben, AFileAnotherProgramWritesIsNotReplaced)
{
    using Art = FremderProzess::Art;
    // Held open from before the rewrite; opened right before the rename; written all the same.
    const std::tuple<std::optional<Art>, std::optional<Art>, bool> fälle[] = {
        {Art::Anhängen, {}, false}, {Art::Schreiben, {}, false}, {Art::LesenSchreiben, {}, false}, {{}, Art::Anhängen, false},
        {Art::Lesen, Art::Schreiben, false}, {Art::Lesen, {}, true}, {{}, Art::Lesen, true}};
    int n = 0;
    for (const auto& [vorher, amEnde, geschrieben] : fälle)
        for (const Vorgang v : kUmschreiben) {
            SCOPED_TRACE(n);
            const QString name = QStringLiteral("d%1.mp3").arg(n++), pfad = Datei(kleinerTag, name);
            std::optional<FremderProzess> früh, spät;
            if (vorher)
                ASSERT_TRUE(früh.emplace(pfad, *vorher).Offen());
            SichereDatei::TestHaken([&](SichereDatei::Schritt s) {
                if (s == SichereDatei::Schritt::VorDemAbschluss && amEnde)
                    spät.emplace(pfad, *amEnde);
            });
            QString meldung;
            EXPECT_EQ(Ausführen(v, pfad, meldung), geschrieben) << meldung.toStdString();
            ASSERT_EQ(spät && spät->Offen(), amEnde.has_value());
            EXPECT_EQ(Inhalt(pfad) == kleinerTag, !geschrieben);
            EXPECT_EQ(meldung.contains("\nDie Datei wird gerade von einem anderen Programm geschrieben."), !geschrieben)
                << meldung.toStdString();
            EXPECT_EQ(Übrige({name}), QStringList()) << "no copy left";
            QFile::remove(pfad);
        }
}

namespace {

// Bytes that vary like an image's: no runs, every value.
QByteArray Bildbytes(qsizetype n, quint32 saat)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator(saat).fillRange(reinterpret_cast<quint32*>(b.data()), n / 4);
    return b;
}

// Runs `schreiben` in a child killed with SIGKILL at the hook's n-th step, or
// (aimed) by this process once the child reports it; false when it finished first.
bool SchreibenUndTöten(const std::function<void()>& schreiben, int n, bool gezielt)
{
    int melden[2];
    if (::pipe2(melden, O_CLOEXEC) != 0)
        return false;
    const pid_t kind = ::fork();
    if (kind == 0) {
        int schritt = 0;
        SichereDatei::TestHaken([&](SichereDatei::Schritt) {
            if (++schritt == n)
                gezielt ? (void)!::write(melden[1], "x", 1) : (void)::kill(::getpid(), SIGKILL);
        });
        schreiben();
        ::_exit(0);
    }
    ::close(melden[1]);
    char c;
    if (::read(melden[0], &c, 1) == 1)
        ::kill(kind, SIGKILL);
    ::close(melden[0]);
    int status = 0;
    while (::waitpid(kind, &status, 0) < 0 && errno == EINTR)
        ;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

ino_t Inode(const QString& p)
{
    struct stat st {};
    return ::stat(QFile::encodeName(p).constData(), &st) == 0 ? st.st_ino : 0;
}

// A write of the ID3v2 tag in place: the same file, changed inside one block of 4096 bytes.
testing::AssertionResult ImPlatzGeschrieben(const QString& pfad, const MedienInfo& m)
{
    const QByteArray vorher = Inhalt(pfad);
    const ino_t inode = Inode(pfad);
    if (auto ok = V2Gespeichert(pfad, m); !ok)
        return ok;
    const QByteArray nachher = Inhalt(pfad);
    qsizetype erst = -1, letzt = -1;
    for (qsizetype i = 0; i < std::min(vorher.size(), nachher.size()); ++i)
        if (vorher[i] != nachher[i])
            (erst < 0 ? erst : letzt) = letzt = i;
    if (Inode(pfad) == inode && vorher.size() == nachher.size() && erst >= 0 && erst / 4096 == letzt / 4096)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "not in place inside one block: bytes " << erst << " to " << letzt;
}

// The fields as our reader reads them from the file.
MedienInfo GelesenV2(const QString& pfad)
{
    MedienInfo m;
    EXPECT_TRUE(Mp3TAGLesenV2(pfad, m, 0)) << pfad.toStdString();
    return m;
}

} // namespace

// A kill at any step of a write in place, or aimed at the write itself, leaves
// the old tag or the new one, byte for byte and for TagLib.
TEST_F(TagSchreiben, AKillAtAnyMomentOfAWriteInPlaceLeavesTheOldTagOrTheNew)
{
    const QString kurz = QStringLiteral("Kurz"), lang = QStringLiteral("Ein deutlich laengerer Titel");
    const auto bild = [](qsizetype n) { return RohFrame("APIC", QByteArray("\0image/png\0\3\0", 13) + Bildbytes(n, 11)); };
    // The frames kept in front of the program's own, the old title, the new one.
    const std::tuple<const char*, std::vector<Id3v2Frame>, QString, QString> fälle[] = {
        {"small tag", {}, kurz, lang},
        {"small tag, shorter", {}, lang, kurz},
        {"1 MiB picture", {bild(1 << 20)}, lang, kurz},
        {"8 MiB picture", {bild(8 << 20)}, kurz, lang},
        {"odd and empty frames", {RohFrame("Tpe1", QByteArray("\0odd", 4)), RohFrame("XYZW", {}), RohFrame("TXXX", QByteArray("\0k\0v", 4))}, kurz, lang},
    };
    for (const auto& [was, gehalten, alt, neu] : fälle) {
        SCOPED_TRACE(was);
        Id3v2Tag t{.frames = gehalten, .padding = 2000};
        t.frames.push_back(TextFrame("TPE1", QStringLiteral("Interpretin")));
        t.frames.push_back(TextFrame("TIT2", alt));
        const QByteArray vorher = t.Bytes() + audio + v1;
        MedienInfo m;
        m.Mp3_ID3v2_Interpret = QStringLiteral("Interpretin");
        m.Mp3_ID3v2_Titel = neu;
        // The same write, not killed.
        const QString ohne = Datei(vorher, QStringLiteral("ohne.mp3"));
        const QStringList taglibVorher = TagLibFrames(ohne);
        ASSERT_TRUE(ImPlatzGeschrieben(ohne, m));
        const QByteArray nachher = Inhalt(ohne);
        const QStringList taglibNachher = TagLibFrames(ohne);
        for (const bool gezielt : {false, true})
            for (int n = 1;; ++n) {
                SCOPED_TRACE(testing::Message() << (gezielt ? "aimed after step " : "at step ") << n);
                const QString p = Datei(vorher);
                QString fehler;
                const bool getötet = SchreibenUndTöten([&] { Mp3TAGSpeichernV2(p, m, fehler); }, n, gezielt);
                const QByteArray jetzt = Inhalt(p);
                EXPECT_TRUE(jetzt == vorher || jetzt == nachher);
                const QStringList gelesen = TagLibFrames(p);
                EXPECT_TRUE(gelesen == taglibVorher || gelesen == taglibNachher) << gelesen.join('\n').toStdString();
                if (!getötet)
                    break;
                ASSERT_LT(n, 10);
            }
    }
}

// A rewrite lays the program's own frames out so that the next text edit stays
// inside one block; a write in place that would reach over a block's end is a copy.
TEST_F(TagSchreiben, ARewriteLaysTheOwnFramesOutForTheNextEditInOneBlock)
{
    const QString langerTitel = QStringLiteral("Ein neuer, viel laengerer Titel als der alte es war");
    // The own frames start well inside a block, just in front of its end, or right behind one.
    for (const qsizetype größe : {qsizetype(1 << 20), qsizetype((1 << 20) - 83), qsizetype((8 << 20) - 500), qsizetype(4000)}) {
        SCOPED_TRACE(größe);
        const QByteArray bild = Bildbytes(größe, 5);
        const Id3v2Frame apic = RohFrame("APIC", QByteArray("\0image/png\0\3\0", 13) + bild);
        // As other programs write it: the texts, then the picture, no room.
        const QString p = Datei(Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("Alt")), TextFrame("TPE1", QStringLiteral("Interpret")),
                                                    TextFrame("TALB", QStringLiteral("Album")), apic}}
                                    .Bytes()
                                + audio + v1);
        MedienInfo m = GelesenV2(p);
        m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
        ASSERT_TRUE(V2Gespeichert(p, m));
        m.Mp3_ID3v2_Titel = langerTitel;
        ASSERT_TRUE(ImPlatzGeschrieben(p, m)) << "the second edit";
        const QByteArray zweit = Inhalt(p);
        EXPECT_EQ(Audio(zweit), audio);
        // Our reader keeps the placeholder out of the frames it gathers.
        EXPECT_EQ(TagLibText(p, "TIT2"), langerTitel);
        EXPECT_EQ(TagLibBilder(p), bild);
        EXPECT_EQ(Id3v2Lesen(zweit).weitereFrames, FrameBytes(apic));
    }

    // Another writer's own frames reach over a block's end: a copy, then in place.
    const QByteArray d = Id3v2Tag{.frames = {RohFrame("PRIV", QByteArray("owner\0", 6) + Bildbytes(4054, 3)),
                                             TextFrame("TPE1", QStringLiteral("Interpret")), TextFrame("TIT2", QStringLiteral("Alt"))},
                                  .padding = 3000}
                             .Bytes()
                         + audio;
    ASSERT_LT(d.indexOf("TPE1"), 4096);
    ASSERT_GT(d.indexOf("TIT2"), 4096);
    const QString p = Datei(d, QStringLiteral("quer.mp3"));
    const ino_t inode = Inode(p);
    MedienInfo m;
    m.Mp3_ID3v2_Interpret = QStringLiteral("Interpretin");
    m.Mp3_ID3v2_Titel = QStringLiteral("Alt");
    ASSERT_TRUE(V2Gespeichert(p, m));
    EXPECT_NE(Inode(p), inode);
    m.Mp3_ID3v2_Titel = langerTitel;
    EXPECT_TRUE(ImPlatzGeschrieben(p, m));
    EXPECT_EQ(TagLibText(p, "TIT2"), langerTitel);
}

// No write into the file itself while another program writes it (a descriptor,
// a download, a shared mapping): the file holds what it held and what that added.
TEST_F(TagSchreiben, NoWriteIntoTheFileWhileAnotherProgramWritesIt)
{
    using Art = FremderProzess::Art;
    const QByteArray groß = Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("alt"))}, .padding = 2000}.Bytes() + audio;
    const std::pair<Vorgang, QByteArray> vorgänge[] = {{SchreibenV2, groß + v1}, {SchreibenV1, groß + v1}, {SchreibenV1, groß}, {SchreibenBeide, groß + v1}};
    const std::pair<Art, bool> andere[] = {{Art::Schreiben, false}, {Art::Anhängen, false}, {Art::Herunterladen, false},
                                           {Art::Abbilden, false},  {Art::Lesen, true},     {Art::AbbildenLesen, true}};
    int n = 0;
    for (const auto& [v, daten] : vorgänge)
        for (const auto& [art, geschrieben] : andere) {
            SCOPED_TRACE(testing::Message() << v << " " << daten.size() << ", other program " << int(art));
            const QString name = QStringLiteral("w%1.mp3").arg(n++), p = Datei(daten, name);
            std::optional<FremderProzess> fremd;
            ASSERT_TRUE(fremd.emplace(p, art).Offen());
            if (art == Art::Herunterladen)
                ::usleep(5000); // well under way
            QString meldung;
            EXPECT_EQ(Ausführen(v, p, meldung), geschrieben) << meldung.toStdString();
            fremd.reset();
            const QByteArray jetzt = Inhalt(p);
            QFile::remove(p);
            if (geschrieben) {
                EXPECT_TRUE(jetzt.endsWith(v == SchreibenV2 ? v1 : Id3v1Block({.titel = "Neu"})));
                continue;
            }
            EXPECT_TRUE(meldung.endsWith("\nDie Datei wird gerade von einem anderen Programm geschrieben. (Fehler 11)."))
                << meldung.toStdString();
            EXPECT_EQ(jetzt, daten + QByteArray(jetzt.size() - daten.size(), 'd'));
            EXPECT_EQ(Übrige({}), QStringList()) << "no copy left";
        }
}

// A program opening the file during a write in place waits: what it appends follows the new tag.
TEST_F(TagSchreiben, AProgramOpeningTheFileDuringAWriteInPlaceWaitsForIt)
{
    const QByteArray daten = Id3v2Tag{.frames = {TextFrame("TIT2", QStringLiteral("alt"))}, .padding = 2000}.Bytes() + audio + v1;
    for (const Vorgang v : {SchreibenV2, SchreibenV1}) {
        SCOPED_TRACE(v);
        const QString p = Datei(daten);
        const QByteArray name = QFile::encodeName(p);
        pid_t kind = -1;
        SichereDatei::TestHaken([&](SichereDatei::Schritt s) {
            if (s != SichereDatei::Schritt::MittenImSchreiben || kind >= 0)
                return;
            kind = ::fork();
            if (kind == 0) {
                const int fd = ::open(name.constData(), O_WRONLY | O_APPEND);
                ::_exit(fd >= 0 && ::write(fd, "heruntergeladen", 15) == 15 ? 0 : 1);
            }
            ::usleep(20000); // its open has reached the file by now
        });
        QString fehler;
        EXPECT_TRUE(Ausführen(v, p, fehler)) << fehler.toStdString();
        SichereDatei::TestHaken({});
        ASSERT_GT(kind, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(kind, &status, 0), kind);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const QByteArray jetzt = Inhalt(p);
        EXPECT_TRUE(jetzt.endsWith((v == SchreibenV2 ? v1 : Id3v1Block({.titel = "Neu"})) + "heruntergeladen"));
        if (v == SchreibenV2) {
            TagLibPrüfen(p, Felder());
            EXPECT_EQ(jetzt.size(), daten.size() + 15);
        }
    }
}

// An unchanged field keeps the frame it was read from, a 2.4 one changed only as
// far as 2.3 requires; a changed field is written from its text.
TEST_F(TagSchreiben, UnchangedFieldsKeepTheFrameTheyWereReadFrom)
{
    const QStringList interpreten = {QStringLiteral("Künstlerin A"), QStringLiteral("Künstler B")};
    const QString album = QStringLiteral("Album\nmit Zeilenumbruch"), komponist = QStringLiteral("Komponist  ");
    const auto ohneTitel = [](QStringList frames) {
        frames.removeIf([](const QString& f) { return f.startsWith("TIT2"); });
        frames.sort();
        return frames;
    };
    for (const auto& [version, kodierung] : {std::pair{3, Kodierung::Latin1}, std::pair{3, Kodierung::Utf16Bom},
                                             std::pair{4, Kodierung::Latin1}, std::pair{4, Kodierung::Utf8}}) {
        SCOPED_TRACE(testing::Message() << version << " " << int(kodierung));
        const std::vector<Id3v2Frame> frames = {
            TextFrame("TPE1", interpreten, kodierung), TextFrame("TCON", QStringList{"Rock", "Pop"}, kodierung),
            TextFrame("TALB", album, kodierung), TextFrame("TCOM", komponist, kodierung),
            TextFrame("TIT2", QStringLiteral("Alt"), kodierung)};
        const QString p = Datei(Id3v2Tag{.version = version, .frames = frames, .padding = 200}.Bytes() + audio);
        const QStringList vorher = TagLibFrames(p);
        MedienInfo m = GelesenV2(p);
        EXPECT_EQ(m.Mp3_ID3v2_Interpret, "Künstlerin A / Künstler B");
        m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
        ASSERT_TRUE(V2Gespeichert(p, m));
        const QByteArray neu = Inhalt(p);
        EXPECT_TRUE(neu.contains(FrameBytes(TextFrame("TIT2", QStringLiteral("Neu")))));
        // From 2.3 as they stood (TagLib reads them as before), from 2.4 in 2.3 form.
        const Kodierung k23 = kodierung == Kodierung::Latin1 ? Kodierung::Latin1 : Kodierung::Utf16Bom;
        const std::vector<Id3v2Frame> erwartet =
            version == 3 ? std::vector<Id3v2Frame>(frames.begin(), frames.begin() + 4)
                         : std::vector<Id3v2Frame>{TextFrame("TPE1", interpreten.join('/'), k23), TextFrame("TCON", QStringLiteral("Rock/Pop"), k23),
                                                   TextFrame("TALB", album, k23), TextFrame("TCOM", komponist, k23)};
        for (const Id3v2Frame& f : erwartet)
            EXPECT_TRUE(neu.contains(FrameBytes(f))) << f.id.constData();
        if (version == 3)
            EXPECT_EQ(ohneTitel(TagLibFrames(p)), ohneTitel(vorher));
        m.Mp3_ID3v2_Interpret = QStringLiteral("Eine");
        ASSERT_TRUE(V2Gespeichert(p, m));
        EXPECT_TRUE(Inhalt(p).contains(FrameBytes(TextFrame("TPE1", QStringLiteral("Eine")))));
        EXPECT_EQ(TagLibText(p, "TPE1"), "Eine");
    }
}

// A 2.4 tag unsynchronised by its header alone is read so, and a rewrite keeps
// every frame's content as TagLib read it before.
TEST_F(TagSchreiben, AnUnsynchronised24TagKeepsEveryFrameOnARewrite)
{
    QByteArray bild = Bildbytes(60000, 9);
    for (qsizetype i = 0; i + 1 < bild.size(); i += 97) // many that unsynchronisation changes
        bild.replace(i, 2, i % 2 ? "\xFF\xE7" : "\xFF\x00");
    const QByteArray apic = QByteArray("\0image/png\0\3\0", 13) + bild;
    const QString titel = QStringLiteral("ÿÿ Titel");
    Id3v2Tag t{.version = 4, .frames = {RohFrame("APIC", Unsynchronisieren(apic)),
                                        RohFrame("TIT2", Unsynchronisieren(TextFrame("TIT2", titel, Kodierung::Utf16Bom).daten)),
                                        RohFrame("TPE1", Unsynchronisieren(TextFrame("TPE1", QStringLiteral("Interpret")).daten))},
               .padding = 100, .zusatzFlags = 0x80};
    const QString p = Datei(t.Bytes() + audio);

    const QStringList vorher = TagLibFrames(p);
    ASSERT_EQ(TagLibBilder(p), bild) << "TagLib reads the 2.4 tag as the standard says";
    MedienInfo m = GelesenV2(p);
    EXPECT_EQ(m.Mp3_ID3v2_Titel, titel);
    EXPECT_EQ(m.Mp3_ID3v2_Interpret, "Interpret");
    m.Mp3_ID3v2_Album = QStringLiteral("Album");
    ASSERT_TRUE(V2Gespeichert(p, m));
    EXPECT_TRUE(Inhalt(p).contains(FrameBytes(RohFrame("APIC", apic))));
    EXPECT_EQ(TagLibBilder(p), bild);
    EXPECT_EQ(TagLibText(p, "TIT2"), titel);
    EXPECT_EQ(TagLibText(p, "TALB"), "Album");
    const auto inhalte = [](const QStringList& frames) {
        QStringList l;
        for (const QString& f : frames)
            if (!f.startsWith("TALB") && !f.startsWith("PRIV"))
                l << f.section(' ', 0, -2);
        l.sort();
        return l;
    };
    EXPECT_EQ(inhalte(TagLibFrames(p)), inhalte(vorher));
}

// Fields written shorter in place: the tag holds its header, the new frames and zeros to its old end.
TEST_F(TagSchreiben, AShorterTagInPlaceLeavesOnlyZerosBehindItsFrames)
{
    MedienInfo lang = Felder();
    lang.Mp3_ID3v2_Titel = QStringLiteral("Ein sehr langer Titel, der nachher kürzer wird");
    const std::function<void(MedienInfo&)> änderungen[] = {
        [](MedienInfo& m) { m.Mp3_ID3v2_Titel = QStringLiteral("Kurz"); },
        [](MedienInfo& m) { m.Mp3_ID3v2_Titel = QStringLiteral("東京"); }, // UTF-16, shorter all the same
        [](MedienInfo& m) { m.Mp3_ID3v2_Songschreiber.clear(); },        // a frame left out
        [](MedienInfo& m) { m = MedienInfo(); },                         // only the empty title and artist
    };
    for (const auto& ändern : änderungen) {
        SCOPED_TRACE(&ändern - änderungen);
        const QString p = Datei(audio + v1, QStringLiteral("k%1.mp3").arg(&ändern - änderungen));
        ASSERT_TRUE(V2Gespeichert(p, lang));
        const qint64 größe = Id3v2KopfLesen(Inhalt(p))->GesamtGröße();
        MedienInfo m = lang;
        ändern(m);
        ASSERT_TRUE(V2Gespeichert(p, m));
        QByteArray erwartet = Mp3TAGSpeichernV2TAGHeaderZurückgeben(quint32(größe - 10)) + Id3v2FramesBauen(m);
        erwartet += QByteArray(qsizetype(größe) - erwartet.size(), '\0');
        EXPECT_EQ(Inhalt(p), erwartet + audio + v1);
    }
}

// An empty COMM frame in front of a real one is no comment: the real one is
// shown and replaced, the empty one stays where it stood.
TEST_F(TagSchreiben, AnEmptyCommentInFrontOfARealOneIsNoComment)
{
    const Id3v2Frame leer = RohFrame("COMM", {});
    for (const QByteArray sprache : {QByteArray("deu"), QByteArray("eng")}) {
        SCOPED_TRACE(sprache.constData());
        const Id3v2Tag t{.frames = {leer, KommentarFrame(QStringLiteral("Echt"), QString(), Kodierung::Latin1, sprache),
                                    TextFrame("TIT2", QStringLiteral("t"))},
                         .padding = 100};
        const QString p = Datei(t.Bytes() + audio);
        MedienInfo m = GelesenV2(p);
        EXPECT_EQ(m.Mp3_ID3v2_Kommentar, "Echt");
        m.Mp3_ID3v2_Kommentar = QStringLiteral("Neu");
        ASSERT_TRUE(V2Gespeichert(p, m));
        EXPECT_EQ(GelesenV2(p).Mp3_ID3v2_Kommentar, "Neu");
        const QByteArray neu = Inhalt(p);
        EXPECT_EQ(neu.count("COMM"), 2);
        EXPECT_EQ(neu.count(FrameBytes(KommentarFrame(QStringLiteral("Neu"), QString(), Kodierung::Latin1, sprache))), 1);
        EXPECT_EQ(neu.count(FrameBytes(leer)), 1);
        EXPECT_LT(neu.indexOf(FrameBytes(leer)), neu.indexOf("Neu"));
    }
}

// Both tags as one save: written together or, when either is refused, neither.
TEST_F(TagSchreiben, BothTagsAreSavedTogetherOrNotAtAll)
{
    const Id3v2Tag groß{.frames = {TextFrame("TIT2", QStringLiteral("alt"))}, .padding = 2000};
    const Id3v2Tag v22{.version = 2, .frames = {TextFrame("TT2", QStringLiteral("alt")), RohFrame("CRM", QByteArray("o\0x", 3))}};
    const QByteArray block = Id3v1Block({.titel = "Neu", .interpret = "Band"});
    // Audio that ends where an appended block would reach over a block's end.
    const QByteArray quer = groß.Bytes() + audio.left(4096 * 3 - groß.Bytes().size() - 60);
    // The file, whether it is written and in place, the block when not `block`.
    const std::tuple<const char*, QByteArray, bool, bool, QByteArray> fälle[] = {
        {"in place", groß.Bytes() + audio + v1, true, true, {}},
        {"ID3v1 appended in place", groß.Bytes() + audio, true, true, {}},
        {"through one copy", kleinerTag, true, false, {}},
        {"the block would reach over a block's end: one copy", quer, true, false, {}},
        {"a 2.2 frame without a 2.3 id, a copy", v22.Bytes() + audio + v1, false, false, {}},
        {"a bad ID3v1 block", groß.Bytes() + audio + v1, false, true, QByteArray(128, 'x')},
    };
    int n = 0;
    for (const auto& [was, daten, geschrieben, anOrt, anderer] : fälle) {
        SCOPED_TRACE(was);
        const QString name = QStringLiteral("b%1.mp3").arg(n++), p = Datei(daten, name);
        const ino_t inode = Inode(p);
        MedienInfo m;
        Mp3TAGLesenV2(p, m, 0);
        m.Mp3_ID3v2_Titel = QStringLiteral("Neu");
        QString fehler;
        EXPECT_EQ(Mp3TAGSpeichernBeide(p, m, anderer.isEmpty() ? block : anderer, fehler), geschrieben) << fehler.toStdString();
        EXPECT_EQ(QDir(ordner.path()).entryList({name + "-neu*"}), QStringList()) << "no copy left";
        if (!geschrieben) {
            EXPECT_EQ(Inhalt(p), daten);
            EXPECT_FALSE(fehler.isEmpty());
            continue;
        }
        EXPECT_EQ(Inode(p) == inode, anOrt);
        const QByteArray neu = Inhalt(p);
        EXPECT_TRUE(neu.endsWith(block));
        EXPECT_EQ(neu.size() - 128 - Id3v2KopfLesen(neu)->GesamtGröße(), Audio(daten).size());
        EXPECT_EQ(TagLibText(p, "TIT2"), "Neu");
    }
}

// tools/tag-write saves "both" with that one save.

TEST_F(TagSchreiben, TheTagWriteToolSavesBothOrNeither)
{
    Id3v2Frame gepackt = RohFrame("TXXX", QByteArray("zlib", 4));
    gepackt.format = 0x08;
    for (const bool refused : {true, false}) {
        SCOPED_TRACE(refused);
        Id3v2Tag t{.version = 4, .frames = {TextFrame("TIT2", QStringLiteral("alt"))}, .padding = 500};
        if (refused)
            t.frames.push_back(gepackt);
        const QByteArray d = t.Bytes() + audio + v1;
        const QString p = Datei(d);
        QProcess werkzeug;
        werkzeug.start(QCoreApplication::applicationDirPath() + "/../tools/tag-write",
                       {p, "both", "Mp3_ID3v2_Titel=Neu", "Mp3_ID3v1_Titel=Neu"});
        ASSERT_TRUE(werkzeug.waitForFinished(20000));
        EXPECT_EQ(werkzeug.exitCode(), refused ? 2 : 0) << werkzeug.readAllStandardError().toStdString();
        EXPECT_EQ(Inhalt(p) == d, refused);
        TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
        EXPECT_EQ(TagLibText(f.ID3v2Tag(), "TIT2"), refused ? "alt" : "Neu");
        EXPECT_EQ(Q(f.ID3v1Tag()->title()), refused ? "Alt" : "Neu");
    }
}
