#pragma once
// The record of a media file as one JSON line, every field by its name (raw
// frames as hex), and the record's fields set by name; shared by the test
// tools.

#include "core/Index.h"
#include "core/MedienInfo.h"
#include "core/Standardwerte.h"

#include <QString>
#include <QStringList>

// An index with the built-in managed types (the tables set up first).
inline Index StandardIndex()
{
    StandardwerteSetzen();
    Index index;
    index.strDateiTypen = standardwerte().strStandardDateiTypen;
    index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    return index;
}

// The record's text fields, by name.
#define KALVERO_TEXTFELDER(X)                                                                                   \
    X(Mp3_ID3v1_TAG) X(Mp3_ID3v1_Titel) X(Mp3_ID3v1_Interpret) X(Mp3_ID3v1_Album) X(Mp3_ID3v1_Jahr)              \
    X(Mp3_ID3v1_Kommentar) X(Mp3_ID3v1_Titelnummer) X(Datei_Datenträger) X(Datei_HinzugefügtAm)                 \
    X(Datei_AngefordertGespieltAm) X(Header_Emphasis) X(Header_Modus) X(Mp3_ID3v2_Version)                      \
    X(Mp3_ID3v2_AbspielZähler) X(Mp3_ID3v2_Titelnummer) X(Mp3_ID3v2_EncodiertVon) X(Mp3_ID3v2_Link)             \
    X(Mp3_ID3v2_Copyright) X(Mp3_ID3v2_UrsprünglicherInterpret) X(Mp3_ID3v2_Songschreiber)                     \
    X(Mp3_ID3v2_Musikrichtung) X(Mp3_ID3v2_Kommentar) X(Mp3_ID3v2_Jahr) X(Mp3_ID3v2_Album)                      \
    X(Mp3_ID3v2_Interpret) X(Mp3_ID3v2_Titel) X(Mp3_ID3v2_Sprache) X(Mp3_ID3v2_Länge) X(Mp3_ID3v2_Medientyp)    \
    X(Mp3_ID3v2_Herausgeber) X(Mp3_ID3v2_Software)

inline QString JsonText(const QString& s)
{
    QString aus = QStringLiteral("\"");
    for (QChar c : s) {
        switch (c.unicode()) {
        case '"': aus += QLatin1String("\\\""); break;
        case '\\': aus += QLatin1String("\\\\"); break;
        case '\n': aus += QLatin1String("\\n"); break;
        case '\r': aus += QLatin1String("\\r"); break;
        case '\t': aus += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                aus += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                aus += c;
        }
    }
    return aus + QLatin1Char('"');
}

class JsonObjekt {
public:
    void Feld(const char* name, const QString& wert) { Anhängen(name, JsonText(wert)); }
    void Feld(const char* name, qint64 wert) { Anhängen(name, QString::number(wert)); }
    void Feld(const char* name, bool wert) { Anhängen(name, wert ? QStringLiteral("true") : QStringLiteral("false")); }
    QString Text() const { return QLatin1Char('{') + m_teile.join(QLatin1Char(',')) + QLatin1Char('}'); }

private:
    void Anhängen(const char* name, const QString& wert) { m_teile << JsonText(QString::fromUtf8(name)) + QLatin1Char(':') + wert; }
    QStringList m_teile;
};

inline QString MedienInfoJson(const QString& pfad, const MedienInfo& m)
{
    JsonObjekt o;
    o.Feld("Datei", pfad);
#define T(f) o.Feld(#f, m.f);
#define Z(f) o.Feld(#f, qint64(m.f));
#define B(f) o.Feld(#f, bool(m.f));
    T(Mp3_ID3v1_TAG) T(Mp3_ID3v1_Titel) T(Mp3_ID3v1_Interpret) T(Mp3_ID3v1_Album) T(Mp3_ID3v1_Jahr)
    T(Mp3_ID3v1_Kommentar) T(Mp3_ID3v1_Titelnummer)
    o.Feld("Mp3_ID3v1_Musikrichtung", qint64(GenreByte(m)));
    Z(Datei_Größe) T(Datei_Datenträger) T(Datei_HinzugefügtAm) Z(Datei_Typ) Z(Datei_AngefordertAnzahl)
    T(Datei_AngefordertGespieltAm)
    Z(Header_Bitrate) Z(Header_Frequenz) Z(Header_Dauer) Z(Header_Version) Z(Header_Layer) B(Header_VBR)
    B(Header_Original) T(Header_Emphasis) B(Header_Copyright) T(Header_Modus) B(Header_Privat) B(Header_Padding)
    B(Header_CRC) Z(Header_Frames) Z(Header_Position)
    Z(Mp3_ID3v1_Vorhanden) Z(Mp3_ID3v2_Vorhanden)
    T(Mp3_ID3v2_Version) Z(Mp3_ID3v2_TAGGröße) Z(Mp3_ID3v2_TAGPosition) Z(Mp3_ID3v2_Ungenutzt)
    T(Mp3_ID3v2_AbspielZähler) T(Mp3_ID3v2_Titelnummer) T(Mp3_ID3v2_EncodiertVon) T(Mp3_ID3v2_Link)
    T(Mp3_ID3v2_Copyright) T(Mp3_ID3v2_UrsprünglicherInterpret) T(Mp3_ID3v2_Songschreiber)
    T(Mp3_ID3v2_Musikrichtung) T(Mp3_ID3v2_Kommentar) T(Mp3_ID3v2_Jahr) T(Mp3_ID3v2_Album) T(Mp3_ID3v2_Interpret)
    T(Mp3_ID3v2_Titel) T(Mp3_ID3v2_Sprache) T(Mp3_ID3v2_Länge) T(Mp3_ID3v2_Medientyp) T(Mp3_ID3v2_Herausgeber)
    T(Mp3_ID3v2_Software)
#undef T
#undef Z
#undef B
    o.Feld("Mp3_ID3v2_WeitereFrames", QString::fromLatin1(m.Mp3_ID3v2_WeitereFrames.toHex()));
    return o.Text();
}

// Sets a field "Name=Wert" of the record: the text fields as given, the
// ID3v1 genre as its byte value. False for an unknown name or a bad value.
inline bool MedienInfoFeldSetzen(MedienInfo& m, const QString& zuweisung)
{
    const qsizetype gleich = zuweisung.indexOf(QLatin1Char('='));
    if (gleich <= 0)
        return false;
    const QString name = zuweisung.left(gleich);
    const QString wert = zuweisung.mid(gleich + 1);
    if (name == QLatin1String("Mp3_ID3v1_Musikrichtung")) {
        bool ok = false;
        const int byte = wert.toInt(&ok);
        if (!ok || byte < 0 || byte > 255)
            return false;
        GenreByteSetzen(m, byte);
        return true;
    }
#define X(f)                                                                                                   \
    if (name == QString::fromUtf8(#f)) {                                                                       \
        m.f = wert;                                                                                            \
        return true;                                                                                           \
    }
    KALVERO_TEXTFELDER(X)
#undef X
    return false;
}
