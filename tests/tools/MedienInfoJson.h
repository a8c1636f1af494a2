#pragma once
// One JSON object per record for the test tools: every field by its record
// name, numbers as numbers, the ID3v1 genre as its byte (-1 unknown), raw
// frames as hex.

#include "core/MedienInfo.h"

#include <QString>
#include <QStringList>

namespace MedienInfoJson {

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

class Objekt {
public:
    void Feld(const char* name, const QString& wert) { Anhängen(name, JsonText(wert)); }
    void Feld(const char* name, qint64 wert) { Anhängen(name, QString::number(wert)); }
    void Feld(const char* name, bool wert) { Anhängen(name, wert ? QStringLiteral("true") : QStringLiteral("false")); }
    QString Text() const { return QLatin1Char('{') + m_teile.join(QLatin1Char(',')) + QLatin1Char('}'); }

private:
    void Anhängen(const char* name, const QString& wert) { m_teile << JsonText(QString::fromUtf8(name)) + QLatin1Char(':') + wert; }
    QStringList m_teile;
};

// Appends every field of `m` to `o`.
inline void Felder(Objekt& o, const MedienInfo& m)
{
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
}

} // namespace MedienInfoJson
