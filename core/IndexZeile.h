#pragma once
// The lines of an index file, read from and written to bytes: entry lines
// ("#TAG:" lengths "|" values), option lines ("#OPT:KEY=value"), the version
// line, and where a file's text splits into lines. No file access here, so
// that every byte a file may hold can be fed to these functions directly.

#include "core/Index.h"
#include "core/MedienInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

// The most values an entry line carries (the 41st is skipped on reading).
inline constexpr int kIndexWerteMax = 41;
inline constexpr char kKodierungsOption[] = "#OPT:KODIERUNG=UTF-8";

// Decodes the values of one load, each on its own: a value that is valid
// UTF-8 is UTF-8, any other Windows-1252 (whatever else the file holds, so
// that entries another program added in its code page keep their letters
// beside ours). Texts that repeat across entries (artist, album, year,
// dates, ...) are decoded once per object and shared; the keys of its table
// point into the loaded bytes, which must outlive the object. One object
// serves one thread.
class TextSpeicher {
public:
    TextSpeicher();
    QString Text(QByteArrayView bytes) const;
    // `feld`: the value's place in its entry line; what the entry before had
    // there is tried first (neighbouring entries share album, artist, ...).
    QString Geteilt(QByteArrayView bytes, int feld = -1);
    // The genre of an ID3v1 record: the character of code `byte` (0..255).
    QString Genre(int byte);

private:
    struct Zuletzt {
        QByteArrayView bytes;
        QString text;
    };
    struct Eintrag {
        quint64 streuwert;
        QByteArrayView bytes;
        QString text;
        // Short keys once more, beside the rest: comparing them does not
        // reach into the far corners of the loaded bytes.
        quint64 kurz[2];
    };
    std::array<Zuletzt, kIndexWerteMax> m_zuletzt;
    // Open addressing: 1 + the number of an entry in m_einträge, 0 free.
    std::vector<quint32> m_plätze;
    std::vector<Eintrag> m_einträge;
    quint64 m_saat;
    std::array<QString, 256> m_genres;
};

// Whether `zeile` (without its CR LF) is an entry line that gives an entry:
// "#TAG:", at least two lengths and the "|" that ends them.
bool IstEintragszeile(QByteArrayView zeile);

// Reads an entry line into `pfad` and `m`, which must be fresh (default
// values). False when the line gives no entry. Lengths count bytes of the
// encoded values; a length that runs past the line takes what is left; no
// read goes outside `zeile`.
bool EintragszeileLesen(QByteArrayView zeile, TextSpeicher& texte, QString& pfad, MedienInfo& m);

// Applies one option line ("#OPT:" ...) to the index options; unknown keys
// and values that do not convert change nothing.
void OptionszeileLesen(QByteArrayView zeile, const TextSpeicher& texte, Index& index);

// Appends the entry line of `pfad` and `m` (UTF-8, with CR LF). CR inside a
// text value becomes LF, so that a tag text cannot break its line; the path
// keeps its bytes (a CR LF in a file name is found again by the lengths, see
// ZeileAbgrenzen).
void EintragszeileSchreiben(std::string& aus, const QString& pfad, const MedienInfo& m);

// How the lines of `text` end where no entry's lengths tell: CR LF when any
// line ends so, else LF, else CR.
QByteArrayView ÜblichesZeilenende(QByteArrayView text);

// The line that begins `text`: its length, and in `weiter` where the line
// after it begins. An entry line ends where its lengths say its values end,
// at CR LF, LF, CR or the end of the text, whatever the other lines use; a
// line break inside a value's length stays in the value. Any other line (and
// an entry line whose lengths lead to no line end) ends at its first line
// end of the kind `üblich` (ÜblichesZeilenende), or at a lone LF or CR that a
// line of the format ("#TAG:", "#OPT:") follows.
qsizetype ZeileAbgrenzen(QByteArrayView text, QByteArrayView üblich, qsizetype& weiter);

// The lines of `text` as ZeileAbgrenzen finds them; empty lines are left out.
std::vector<QByteArrayView> ZeilenTeilen(QByteArrayView text);

// The entry lines (IstEintragszeile) and the option lines ("#OPT:") among
// the lines of `text` (ZeilenTeilen), each in file order. A large text is
// looked through in pieces by up to `teile` threads at once.
void IndexzeilenTeilen(QByteArrayView text, int teile, std::vector<QByteArrayView>& einträge,
                       std::vector<QByteArrayView>& optionen);

// Appends the version line and every option line (UTF-8, each with CR LF),
// the encoding marker last.
void KopfzeilenSchreiben(std::string& aus, const Index& index);

// Appends `text` as UTF-8, CR turned into LF unless `crAlsLf` is false.
void Utf8Anhängen(std::string& aus, QStringView text, bool crAlsLf = true);

struct IndexVersion {
    int code = -1;           // -1 old format without tags, 0 = 100, 1 = 101, 2 = 102 and later
    bool neuer = false;      // a later version than this program writes
    QString versionText;     // what follows "#TAG:kv"
};
// The version of a file from its first line (without CR LF, BOM removed).
IndexVersion VersionErkennen(QByteArrayView ersteZeile);

// Whether a value reads as a date, or a date with a time ("01.02.2003",
// "01.02.2003 10:20:30", "2003-02-01").
bool IstDatum(QByteArrayView text);

// A whole number, surrounding blanks allowed; nothing when the text is not
// one or does not fit in 64 bits.
std::optional<qint64> ZahlLesen(QByteArrayView text);
