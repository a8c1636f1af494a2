#pragma once
// MPEG audio frame headers: decoding the four header bytes, finding the first
// real frame of a stream and reading a Xing/Info or VBRI header behind it.
// The parsers work on byte spans and never touch a file; Mp3HeaderLesen is
// the file-level entry point.

#include "core/MedienInfo.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <optional>

// The fields of one four-byte frame header.
struct MpegKopf {
    quint32 roh = 0;
    int version = 0;      // 1, 2 or 25 (MPEG-2.5)
    int layer = 0;        // 1..3
    bool crc = false;     // protected by a CRC (protection bit 0)
    int bitrate = 0;      // kbit/s; 0 = free format
    int frequenz = 0;     // Hz
    bool padding = false;
    bool privat = false;
    int modus = 0;        // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    bool copyright = false;
    bool original = false;
    int emphasis = 0;     // 0..3

    int SamplesProFrame() const;
    // Bytes of this frame, padding included; 0 for free format.
    int FrameLänge() const;
    // Frame length without padding as an average (for frame counts).
    double MittlereFrameLänge() const;
    // Where a Xing/Info header starts: behind the side information.
    int XingOffset() const;
    QString ModusText() const;
    QString EmphasisText() const;
};

// Decodes four header bytes; nothing when they are no valid header (no sync,
// reserved version or layer, bitrate index 15, sample-rate index 3).
std::optional<MpegKopf> MpegKopfLesen(QByteArrayView vierBytes);

// What the search behind a frame found.
struct MpegErgebnis {
    enum Status { Gefunden, Keiner, MehrDaten };
    Status status = Keiner;
    qint64 position = -1;   // file offset of the first frame
    qint64 weiterAb = -1;   // MehrDaten: bytes up to here were not enough
    MpegKopf kopf;
    // Xing/Info/VBRI header in the first frame.
    bool xing = false;      // "Xing" or VBRI: variable bitrate
    bool info = false;      // "Info": a constant-bitrate file with a frame count
    qint64 vbrFrames = -1;  // frame count of that header, -1 when it gives none
};

// Searches the first frame whose start lies in [von, bis) and which is
// confirmed by a following header of the same version, layer and sample rate
// at its computed length (or which ends exactly at `audioEnde`). `daten` holds
// the file's bytes from offset `basis`; all positions are file offsets.
// MehrDaten when `daten` ended before a decision could be made while the file
// has more bytes below `audioEnde`.
MpegErgebnis MpegRahmenSuchen(QByteArrayView daten, qint64 basis, qint64 von, qint64 bis, qint64 audioEnde);

// Bitrate, duration and frame count of a stream whose first frame `e` found
// and whose audio ends at `audioEnde`.
struct MpegWerte {
    int bitrate = 0;     // kbit/s
    int dauer = 0;       // whole seconds
    qint32 frames = -1;  // -1 = unknown
};
MpegWerte MpegWerteBerechnen(const MpegErgebnis& e, qint64 audioEnde);

// Writes the header fields of a found frame into the record.
void MpegKopfÜbernehmen(const MpegErgebnis& e, qint64 audioEnde, MedienInfo& info);

// The record with the header fields read from the file; `udtAlt` stays as it
// is. When no frame is found the header fields keep their values.
MedienInfo Mp3HeaderLesen(const QString& strDatei, const MedienInfo& udtAlt);

// --- bit texts ("0"/"1", most significant first) ---------------------------
// Value of a bit text; nothing when it does not fit 32 bits signed.
std::optional<qint32> BinärZuZahl(QStringView strBits);
double BinärZuDouble(QStringView strBits);
// Bit text of four bytes without leading zeros (four zero bytes give "").
QString BytesZuBinär(const quint8 bytes[4]);
// Exactly intBytes * 8 bits; "" for intBytes < 1.
QString ZahlZuBinär(double varZahl, int intBytes);
// "Ja" for true, "Nein" for false and empty values, else the value as text.
QString JaNeinText(const QVariant& varWert);
