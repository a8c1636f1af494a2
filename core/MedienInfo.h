#pragma once
// The record of one index entry: what a media file tells about itself plus
// what the index keeps about it (size, date added, play statistics).

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct MedienInfo {
    // ID3v1
    QString Mp3_ID3v1_TAG;            // "TAG" when present
    QString Mp3_ID3v1_Titel;
    QString Mp3_ID3v1_Interpret;
    QString Mp3_ID3v1_Album;
    QString Mp3_ID3v1_Jahr;
    QString Mp3_ID3v1_Kommentar;
    QString Mp3_ID3v1_Titelnummer;
    // One character whose code (0..255) is the genre byte; 255 = none, "" = unknown.
    QString Mp3_ID3v1_Musikrichtung;

    // File data
    qint64 Datei_Größe = 0;           // bytes; -1 = not read or missing
    QString Datei_Datenträger;        // volume label of a removable medium
    QString Datei_HinzugefügtAm;      // "dd.mm.yyyy"; "" = unknown, re-read on load
    qint16 Datei_Typ = 0;             // 1 MPEG audio, 2 wma/wmf, 3 wav, 4 no audio, 0 other
    qint32 Datei_AngefordertAnzahl = 0;
    QString Datei_AngefordertGespieltAm; // "dd.mm.yyyy hh:nn:ss"

    // MPEG frame header
    qint32 Header_Bitrate = 0;        // kbit/s
    qint32 Header_Frequenz = 0;       // Hz
    qint32 Header_Dauer = 0;          // seconds
    qint16 Header_Version = 0;        // 1, 2 or 25
    qint16 Header_Layer = 0;          // 1..3
    bool Header_VBR = false;
    bool Header_Original = false;
    QString Header_Emphasis;
    bool Header_Copyright = false;
    QString Header_Modus;
    bool Header_Privat = false;
    bool Header_Padding = false;
    bool Header_CRC = false;
    qint32 Header_Frames = 0;         // -1 = unknown
    qint32 Header_Position = 0;       // 0-based byte position of the first frame

    // Presence: 1 yes, 2 no/unknown, 0 not yet determined
    quint8 Mp3_ID3v1_Vorhanden = 0;
    quint8 Mp3_ID3v2_Vorhanden = 0;

    // ID3v2
    QString Mp3_ID3v2_Version;        // "2.3.0"
    qint32 Mp3_ID3v2_TAGGröße = 0;    // including the 10-byte header; -1 = none
    qint32 Mp3_ID3v2_TAGPosition = 0; // 1-based position of "ID3"; -1 = none
    qint32 Mp3_ID3v2_Ungenutzt = 0;   // tag bytes in front of the padding; the whole tag when it has none
    QString Mp3_ID3v2_AbspielZähler;  // PCNT
    QString Mp3_ID3v2_Titelnummer;    // TRCK
    QString Mp3_ID3v2_EncodiertVon;   // TENC
    QString Mp3_ID3v2_Link;           // WXXX
    QString Mp3_ID3v2_Copyright;      // TCOP
    QString Mp3_ID3v2_UrsprünglicherInterpret; // TOPE
    QString Mp3_ID3v2_Songschreiber;  // TCOM
    QString Mp3_ID3v2_Musikrichtung;  // TCON
    QString Mp3_ID3v2_Kommentar;      // COMM
    QString Mp3_ID3v2_Jahr;           // TYER
    QString Mp3_ID3v2_Album;          // TALB
    QString Mp3_ID3v2_Interpret;      // TPE1
    QString Mp3_ID3v2_Titel;          // TIT2
    QString Mp3_ID3v2_Sprache;        // TLAN
    QString Mp3_ID3v2_Länge;          // TLEN
    QString Mp3_ID3v2_Medientyp;      // TMED
    QString Mp3_ID3v2_Herausgeber;    // TPUB
    QString Mp3_ID3v2_Software;       // TSSE
    // Frames this program does not interpret, kept raw (header and data,
    // de-unsynchronised) so the tag writer can put them back.
    QByteArray Mp3_ID3v2_WeitereFrames;

    bool operator==(const MedienInfo&) const = default;
};

// The genre byte of the ID3v1 record, or -1 when unknown.
inline int GenreByte(const MedienInfo& m)
{
    return m.Mp3_ID3v1_Musikrichtung.isEmpty() ? -1 : m.Mp3_ID3v1_Musikrichtung.at(0).unicode() & 0xFF;
}
inline void GenreByteSetzen(MedienInfo& m, int byte)
{
    m.Mp3_ID3v1_Musikrichtung = byte < 0 ? QString() : QString(QChar(char16_t(byte & 0xFF)));
}
