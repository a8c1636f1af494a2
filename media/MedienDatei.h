#pragma once
// A media file opened for reading the few bytes its tags and first frames
// take: the head through one reused buffer, the last 128 bytes apart. Reading
// never goes past the file's end and never allocates more than it holds.
// Opened for writing, the tag writers read and write through its one
// descriptor, so a file put in its place meanwhile is never written.

#include "core/Inhaltsabdruck.h"
#include "core/SichereDatei.h"
#include "media/Id3v2Lesen.h"
#include "media/MpegKopf.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <sys/types.h>

// Where an ID3v2 tag header was found.
struct Id3v2Fund {
    qint64 position = -1; // file offset of "ID3"; -1 = none
    Id3v2Kopf kopf;
    // Where the audio may start: behind the tag, or 0 without one.
    qint64 ende() const { return position < 0 ? 0 : position + kopf.GesamtGröße(); }
};

class MedienDatei {
public:
    explicit MedienDatei(const QString& pfad, bool schreiben = false);
    ~MedienDatei();
    MedienDatei(const MedienDatei&) = delete;
    MedienDatei& operator=(const MedienDatei&) = delete;

    bool Offen() const { return m_fd >= 0; }
    qint64 Länge() const { return m_länge; }
    qint64 GeändertAm() const { return m_mtime; } // seconds since the epoch
    dev_t Gerät() const { return m_stand.gerät; }
    // The file as it was opened.
    const DateiStand& Stand() const { return m_stand; }
    mode_t Modus() const { return m_modus; }
    int Deskriptor() const { return m_fd; }
    // The first failure of the open or a read so far: the system's error
    // number, or ESTALE where the file ended before the length it had when
    // opened (cut meanwhile); 0 while every read got its bytes.
    int LeseFehler() const { return m_leseFehler; }
    // Whether the file is still as it was opened (length and modification
    // time, through the same descriptor); sets LeseFehler() when not.
    bool Unverändert();

    // From now on every byte read goes into a fingerprint, its ranges noted:
    // what the reading used, for a later look whether a file numbered anew
    // still holds it.
    void AbdruckFühren() { m_abdruckFühren = true; }
    const Dateibereiche& GeleseneBereiche() const { return m_bereiche; }
    // The fingerprint of the bytes read since AbdruckFühren (once).
    std::array<quint64, 2> Abdruck() { return m_abdruck.Ergebnis(); }

    // Bytes [pos, pos + n) as far as the file holds them. The view stays
    // valid until the next call.
    QByteArrayView Lesen(qint64 pos, qint64 n);
    // The same into an array of the caller's own (a large one read straight
    // into it).
    QByteArray Einlesen(qint64 pos, qint64 n);

    // The last 128 bytes when they begin with "TAG"; empty otherwise.
    QByteArrayView Id3v1Block();
    // End of the audio: in front of an ID3v1 block.
    qint64 AudioEnde() { return m_länge - (Id3v1Block().isEmpty() ? 0 : 128); }

    // The first valid tag header whose "ID3" starts within the first
    // `lngBytes` bytes (all when 0 or less) and in front of the first audio
    // frame.
    Id3v2Fund Id3v2Finden(qint64 lngBytes);

    // The first frame within 100 KiB behind `start`.
    MpegErgebnis ErstenFrameSuchen(qint64 start, qint64 audioEnde);

private:
    int m_fd = -1;
    qint64 m_länge = 0;
    qint64 m_mtime = 0;
    DateiStand m_stand;
    mode_t m_modus = 0;
    QByteArray m_puffer;
    qint64 m_pufferAb = 0;
    qint64 m_pufferLänge = 0;
    QByteArray m_ende;
    bool m_endeGelesen = false;
    int m_leseFehler = 0;
    bool m_abdruckFühren = false;
    Inhaltsabdruck m_abdruck;
    Dateibereiche m_bereiche;
    // Reads up to n bytes at pos, noting a failure (n lies inside the file).
    qint64 lesen(char* ziel, qint64 pos, qint64 n);
};
