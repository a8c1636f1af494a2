#pragma once
// Builds MP3 byte streams for tests: MPEG audio frames of any version and
// layer (with Xing/Info or VBRI headers), ID3v1 blocks and ID3v2 tags of
// versions 2.2 to 2.4 with every text encoding, unsynchronisation, extended
// headers, footers and deliberately broken size fields.
//
//   using namespace Mp3Bauer;
//   Id3v2Tag tag;                       // 2.3.0 by default
//   tag.frames.push_back(TextFrame("TIT2", u"Titel", Kodierung::Utf16Bom));
//   Frame f;                            // MPEG-1 layer III, 128 kbit/s, 44.1 kHz
//   QByteArray datei = tag.Bytes() + Frames(f, 100) + Id3v1Block({.titel = "T"});
//   QString pfad = DateiSchreiben(dir, "a.mp3", datei);

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class QTemporaryDir;

namespace Mp3Bauer {

// --- MPEG audio frames ---------------------------------------------------------

struct Frame {
    int version = 1;        // 1, 2 or 25 (MPEG-2.5)
    int layer = 3;          // 1..3
    int bitrate = 128;      // kbit/s; 0 = free format
    int frequenz = 44100;   // Hz (must belong to the version)
    int modus = 1;          // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    bool crc = false;
    bool padding = false;
    bool privat = false;
    bool copyright = false;
    bool original = true;
    int emphasis = 0;
    int freieLänge = 417;   // bytes per frame in free format

    // The four header bytes.
    QByteArray Kopf() const;
    // Frame length in bytes, padding included.
    int Länge() const;
    int SamplesProFrame() const;
    // Byte offset of a Xing/Info header in this frame (behind the side information).
    int XingOffset() const;
    // Header and a payload of `füllung` bytes (never FF, so no false syncs).
    QByteArray Bytes(char füllung = 0x55) const;
};

// `anzahl` frames of `f` in a row.
QByteArray Frames(const Frame& f, int anzahl);

// The first frame of a stream carrying a Xing ("Xing", or "Info" when
// `info`) header with the given frame count and byte count; a field left
// out is not flagged.
QByteArray XingFrame(const Frame& f, std::optional<quint32> frames, std::optional<quint32> bytes, bool info = false);
// The same with a VBRI header (36 bytes behind the frame start).
QByteArray VbriFrame(const Frame& f, quint32 frames, quint32 bytes);

// --- ID3v1 ---------------------------------------------------------------------

struct Id3v1 {
    QByteArray titel, interpret, album, jahr, kommentar; // raw bytes, cut to the field
    int spur = -1;          // ID3v1.1 track (byte 125 = 0, 126 = track); -1 = ID3v1.0
    int genre = 255;
};
// The 128-byte block.
QByteArray Id3v1Block(const Id3v1& t);

// --- ID3v2 ---------------------------------------------------------------------

enum class Kodierung {
    Latin1,         // 0
    Utf16Bom,       // 1, FF FE and little-endian
    Utf16BomBE,     // 1, FE FF and big-endian
    Utf16OhneBom,   // 1 without a byte-order mark (little-endian)
    Utf16BE,        // 2
    Utf8,           // 3
};
// The encoding byte of a text.
char KodierungsByte(Kodierung k);
// A text in the encoding (with its byte-order mark, without terminator).
QByteArray TextBytes(const QString& text, Kodierung k);
// The terminator of the encoding (one or two zero bytes).
QByteArray Terminator(Kodierung k);

struct Id3v2Frame {
    QByteArray id;          // 4 characters (3 in a 2.2 tag)
    QByteArray daten;       // the body as it stands before unsynchronisation
    quint8 status = 0;      // first flag byte (2.3/2.4)
    quint8 format = 0;      // second flag byte (2.3/2.4)
};
// A text frame: the encoding byte and the text; several texts give several
// strings, each with its terminator except the last (`mitTerminator` adds one
// behind the last too).
Id3v2Frame TextFrame(const QByteArray& id, const QString& text, Kodierung k = Kodierung::Latin1, bool mitTerminator = false);
Id3v2Frame TextFrame(const QByteArray& id, const QStringList& texte, Kodierung k);
// COMM (COM in 2.2): encoding, language, description, text.
Id3v2Frame KommentarFrame(const QString& text, const QString& beschreibung = QString(),
                          Kodierung k = Kodierung::Latin1, const QByteArray& sprache = "eng", const QByteArray& id = "COMM");
// WXXX: encoding, description, address in Latin-1.
Id3v2Frame LinkFrame(const QString& adresse, const QString& beschreibung = QString(), Kodierung k = Kodierung::Latin1);
// Any body.
Id3v2Frame RohFrame(const QByteArray& id, const QByteArray& daten);

struct Id3v2Tag {
    int version = 3;        // major version 2, 3 or 4
    int revision = 0;
    std::vector<Id3v2Frame> frames;
    int padding = 0;        // zero bytes behind the frames
    // 2.2/2.3: the whole tag body is unsynchronised and the header says so;
    // 2.4: every frame is unsynchronised and flagged (0x02), the header flag set too.
    bool unsynchronisiert = false;
    // An extended header of its version's form (2.3: 10 bytes, 2.4: 6 bytes).
    bool erweiterterKopf = false;
    bool fußzeile = false;  // 2.4 footer "3DI"
    // 2.4 frame sizes written as plain numbers, as some writers do.
    bool plainGrößen = false;
    // Written instead of the real size field (raw four bytes), for hostile headers.
    std::optional<QByteArray> größenFeld;
    // Extra header flag bits to set.
    quint8 zusatzFlags = 0;

    // The tag bytes.
    QByteArray Bytes() const;
};

// Unsynchronisation: a 00 behind every FF that is followed by a byte of
// 111xxxxx or by 00, and behind a final FF.
QByteArray Unsynchronisieren(const QByteArray& d);
// A 28-bit number as four syncsafe bytes.
QByteArray Syncsafe(quint32 n);
QByteArray BigEndian32(quint32 n);

// --- files -------------------------------------------------------------------

// Writes `daten` to `name` in the folder and returns the path.
QString DateiSchreiben(const QTemporaryDir& ordner, const QString& name, const QByteArray& daten);

} // namespace Mp3Bauer
