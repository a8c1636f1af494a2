#pragma once
// Reading ID3v2 tags (versions 2.2, 2.3 and 2.4) from bytes, and the frame
// ids the program knows. The parser works on a byte span; Mp3TAGLesenV2 is
// the file-level entry point.

#include "core/MedienInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// The ten bytes of a tag header.
struct Id3v2Kopf {
    quint8 haupt = 0;      // major version 2..4
    quint8 revision = 0;
    quint8 flags = 0;
    quint32 größe = 0;     // the size field: bytes behind the header (footer not counted)

    bool Unsynchronisiert() const { return flags & 0x80; }
    bool ErweiterterKopf() const { return flags & 0x40; }
    bool Fußzeile() const { return haupt == 4 && (flags & 0x10); }
    // Header, data and footer.
    qint64 GesamtGröße() const { return qint64(größe) + 10 + (Fußzeile() ? 10 : 0); }
    QString VersionText() const;
};

// A valid tag header at the start of `daten`: "ID3", a major version of 2 to
// 4, a revision below 255 and a syncsafe size (no byte with its top bit set).
std::optional<Id3v2Kopf> Id3v2KopfLesen(QByteArrayView daten);

// First position below `bis` where a valid tag header starts (its ten bytes
// lying inside `daten`); -1 when there is none.
qint64 Id3v2KopfSuchen(QByteArrayView daten, qint64 bis);

// A size field of 3 or 4 bytes, big-endian; syncsafe (7 bits a byte) unless
// `bolNichtSyncSafe`. False for fewer than 3 bytes and for a syncsafe field
// holding a byte with its top bit set.
bool Mp3TAGLesenV2GrößeLesen(QByteArrayView bytes, qint64& größe, bool bolNichtSyncSafe);

// The frames that have a field of their own, in the order of the record.
struct Id3v2FrameFeld {
    const char* id; // 2.3 and 2.4; a 2.2 tag's frames count by Id3v2Id23
    QString MedienInfo::*feld;
};
constexpr int kId3v2Felder = 18;
const std::array<Id3v2FrameFeld, kId3v2Felder>& Id3v2FrameFelder();

// The 2.3 id of a 2.2 frame id (the standard's table, with the sort frames
// and the compilation flag a widespread player writes); null when 2.3 has
// none. A 2.3 tag's frame whose id is such an id padded with a zero byte or
// a blank is read as that frame too.
const char* Id3v2Id23(QByteArrayView id22);
// A 2.2 frame (6-byte header) in 2.3 form (a picture's image format as a
// MIME type); none when 2.3 has no form for it or the frame is torn.
std::optional<QByteArray> Id3v2Frame22Für23(QByteArrayView frame);

struct Id3v2Ergebnis {
    bool gültig = false;
    Id3v2Kopf kopf;
    // Tag bytes in front of the padding; the whole tag when it has none.
    qint64 ungenutzt = 0;
    // In a 2.4 tag the year is that of TDRC (in a 2.3 tag where it has no
    // TYER), the genre numbers read "(17)". Several frames of one text id
    // are one field of their values.
    std::array<QString, kId3v2Felder> felder;
    // Frames without a field of their own, in tag order, in 2.3 layout
    // (plain sizes, no unsynchronisation, texts in 2.3 encodings:
    // Id3v2FrameFür23, a compressed frame uncompressed where that changes
    // it; 2.4's TDOR as TORY, TIPL and TMCL as one IPLS; a padded 2.2 id of
    // a 2.3 tag as its 2.3 id);
    // " " for a 2.2 tag that has such frames. Frames with
    // odd ids are among them; ids not beginning with a letter are not. Of
    // several comments (or links) without a description the first is the
    // field, the others are here. Left empty when not gathered.
    QByteArray weitereFrames;
    // Not gathered (for the writer): the same frames one by one, 2.3 layout
    // or for a 2.2 tag as they stand (6-byte headers). A frame that stands in
    // the bytes read as it is kept refers to them (QByteArray::fromRawData)
    // and is valid only as long as they are: a picture is never copied.
    std::vector<QByteArray> weitere;
    // Not gathered: the frame each field was read from, in the form of
    // `weitere` (a 2.4 frame as 2.3 holds it: its values joined with "/",
    // genre numbers as "(17)", the recording time TDRC as TYER with TDAT and
    // TIME); several frames of one id one behind the other, in their order;
    // a 2.3 tag's TDRC where it has no TYER; empty when the field had none
    // or its frame carries nothing.
    std::array<QByteArray, kId3v2Felder> feldFrames;
    // Where the comment's and the link's frames stood: their index in
    // `weitere` with both of them put back.
    qsizetype kommentarStelle = -1;
    qsizetype linkStelle = -1;
    // The language bytes of the comment that is the field ("" when none),
    // which a rewrite of that comment keeps as they stand.
    QByteArray kommentarSprache;
    // The same frames of a 2.2 tag as they stand (6-byte headers).
    QByteArray weitereFrames22;
    // False when the frames could not all be walked (a 2.2 tag compressed as
    // a whole, a broken extended header, a torn or unreadable frame with
    // bytes behind it) or a field's compressed frame could not be read: a
    // rewrite would lose what was not read.
    bool framesGelesen = false;
    // Where the walk went wrong, when it did: the offset in the tag (from
    // its header; in the frames as they read without unsynchronisation) of
    // the first byte not read as a frame, a run of odd ids in front of it
    // counted in (where a walk into other data has led), and the id of the
    // frame it stopped at (empty when it stopped in the padding). -1 when
    // no frame was walked (the cases above).
    qint64 unlesbarAb = -1;
    QByteArray unlesbarId;
    // The id of the first frame read for a field whose compressed data do
    // not decompress (or claim more than they can hold); empty when there
    // is none. The walk went on behind it; the frame is kept as it stands.
    QByteArray unlesbarerFrame;
    // The id of the first frame of a 2.4 tag that the 2.3 form cannot hold
    // (it is not among the frames above); empty when there is none.
    QByteArray nichtÜbertragbar;
};

// Parses the tag whose header starts at tag[0]. `tag` may end before the
// size the header declares (a cut file): only frames that lie wholly inside
// it are read. Without `sammeln` the kept frames are only listed
// (`weitere`), not gathered into one block.
Id3v2Ergebnis Id3v2Lesen(QByteArrayView tag, bool sammeln = true);

// What the record shows between the values of one field (a frame's
// several strings, several frames of one id); never written into a tag.
const QString& Id3v2WerteFuge();

// A text as UTF-16 with a byte-order mark (little-endian), no terminator.
QByteArray Id3v2Utf16(const QString& text);

// A frame in 2.3 layout (10-byte header) with its texts in encodings a 2.3
// tag knows: UTF-8 and UTF-16BE without mark (2.4's encodings 3 and 2)
// become UTF-16 with a mark, string by string, in every frame whose body
// begins with the encoding byte. Any other frame, one with an odd id and
// one compressed or encrypted come back as they stand.
QByteArray Id3v2FrameFür23(QByteArrayView frame);

// Whether a COMM or WXXX frame in 2.3 layout can be read (a compressed one
// uncompressed) and has an empty description: readers take the first such
// frame for the field.
bool Id3v2OhneBeschreibung(QByteArrayView frame);

// The placeholder the writer may put in front of its own frames, so that
// they start where a later edit stays inside one block of the file: a PRIV
// frame whose owner is this (the program's web address and its terminator),
// zero bytes behind it. The reader keeps it out of the frames it gathers.
QByteArray Id3v2PlatzhalterBesitzer();
bool Id3v2IstPlatzhalter(QByteArrayView frame);

// The ID3v2 fields of a record as for a file without a tag.
void Id3v2Zurücksetzen(MedienInfo& info);
// Writes a parsed tag found at the 0-based file offset `position`.
void Id3v2Übernehmen(const Id3v2Ergebnis& e, qint64 position, MedienInfo& info);

// Reads the tag of `strDatei` into the ID3v2 fields of `udtInfo`; "ID3" is
// looked for in the first `lngBytes` bytes (all when 0 or less), in front of
// the first audio frame. True when a tag was read. A file that cannot be read
// leaves the record as it was.
bool Mp3TAGLesenV2(const QString& strDatei, MedienInfo& udtInfo, qint64 lngBytes);
