// medieninfo-dump FILE...
// Prints, for each file, the record that MedienInfosLesen fills (all steps
// on, built-in managed types and settings), one JSON object per line with
// every field by its name, so that the reading can be compared with other
// readers. Raw frames are given as hex.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Standardwerte.h"
#include "media/MedienInfosLesen.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

QString JsonText(const QString& s)
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

QString Ausgeben(const QString& pfad, const MedienInfo& m)
{
    Objekt o;
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList dateien = app.arguments().mid(1);
    if (dateien.isEmpty()) {
        std::fprintf(stderr, "usage: medieninfo-dump FILE...\n");
        return 2;
    }
    StandardwerteSetzen();
    Index index;
    index.strDateiTypen = standardwerte().strStandardDateiTypen;
    index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    for (const QString& datei : dateien) {
        const MedienInfo m = MedienInfosLesen(index, datei, LeereMedienInfo(), QStringLiteral("11"), false,
                                              QStringLiteral("1"), QStringLiteral("1"));
        std::printf("%s\n", Ausgeben(datei, m).toUtf8().constData());
    }
    return 0;
}
