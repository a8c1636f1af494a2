#pragma once
// The field vocabulary: every property of an index entry by its name, as
// text in display form (mode "1") or sort form (mode ""), with its kind.

#include "core/Index.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <functional>
#include <vector>

// Kind codes: how callers compare a field's value.
enum WertArt : qint16 {
    WertText = 0,      // substring ignoring case; sorted in upper case
    WertZahl = 1,      // whole-text equality; sorted as numbers
    WertDatum = 2,     // substring of 4+ characters; sorted as text
    WertDatumZeit = 3, // as WertDatum
    WertDauer = 4,     // substring of 4+ characters containing ":"
};

// The fields, for callers that resolve a name once and ask often.
enum class Feld : qint16 {
    Unbekannt,
    Standardsuche, Nummer, Pfad, Dateiname, Interpret, Titel, Album, Jahr, Track, Genre, Kommentar,
    Größe, Bitrate, Dauer, Frequenz, Frames, Wechselmedium, HinzufügeDatum, DateiEndung, AbspielDatum,
    AbspielHäufigkeit, PfadDateiname, Benutzerdefiniert, InterpretV2, TitelV2, AlbumV2, JahrV2, TrackV2,
    GenreV2, KommentarV2, ID3v2Version, ID3v2Größe,
    Format, // a name beginning with "%": the name itself is a user format
};

enum class FeldModus { Sortform, Anzeige, Keiner };

// Names compare exactly (case-sensitive).
Feld FeldErmitteln(const QString& name);
FeldModus FeldModusErmitteln(const QString& strModus);
// The kind a field always has (also when it gives no value).
qint16 FeldWertArt(Feld f);

// The value of field `f` of entry `lngEintrag` ("" when the field's condition
// does not hold or the entry number is out of range); `formatName` is the
// name for Feld::Format. Returns the kind.
qint16 FeldWert(const Index& idx, qint32 lngEintrag, Feld f, FeldModus modus, QString& wert,
                const QString& formatName = QString());

// True for every known name (and every "%" name); false, with "" and kind 0,
// for any other.
bool IndexFeldZurückgeben(const Index& idx, qint32 lngEintrag, const QString& strFeld, const QString& strModus,
                          QString& varWert, qint16& intWertArt);
// The same over the program's index.
bool IndexFeldZurückgeben(qint32 lngEintrag, const QString& strFeld, const QString& strModus, QString& varWert,
                          qint16& intWertArt);

// One piece of a filled format: text of the format itself, or a field's text.
struct FormatTeil {
    QString text;
    bool feld = false;
};

// `format` with every "%name%" of a known field replaced by that field's
// text in `modus` for the entry, in one pass from left to right: replaced
// text is never looked at again, and "%Benutzerdefiniert%" is not a field
// here. The pieces in order (a field that gives "" still has its piece).
std::vector<FormatTeil> DateinamenFormatTeile(const Index& idx, const QString& format, qint32 lngEintrag,
                                              FeldModus modus);

// The pieces joined; `feldFilter`, when given, turns each field text into
// what is put in.
QString DateinamenFormatieren(const Index& idx, const QString& format, qint32 lngEintrag,
                              FeldModus modus = FeldModus::Sortform,
                              const std::function<QString(const QString&)>& feldFilter = {});

// The user column's title: its format without "%".
QString NutzerformatTitel(const QString& format);

// Date texts as the index stores them ("d.m.yyyy", with " h:m[:s]" for date
// and time); false for anything that is no valid date.
bool DatumLesen(const QString& text, bool mitZeit, QDate& datum, QTime& zeit);
