// autotag FORMAT PATH [--ziel 0|1|2] [--index FILE] [--unterstrich 0|1]
//         [--felder-loeschen 0|1] [--ausschluss WORT,WORT]
// Runs AutoTAG on PATH, which need not exist: the old record is what the
// program reads from PATH when it exists, else the empty record. The
// automatic mode guesses against the index file FILE (none: an empty
// index). Prints one JSON line: Erfolg, Meldung (the number of the message
// AutoTAG would show, 0 for none) and the result record's fields as
// medieninfo-dump prints them. Exit status: 0 printed, 1 FILE not loaded,
// 2 wrong use.

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/AutoTag.h"
#include "media/MedienInfosLesen.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

// The record as medieninfo-dump prints it.
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


namespace {

int Falsch(const char* programm)
{
    std::fprintf(stderr,
                 "usage: %s FORMAT PATH [--ziel 0|1|2] [--index FILE] [--unterstrich 0|1] "
                 "[--felder-loeschen 0|1] [--ausschluss WORT,WORT]\n",
                 programm);
    return 2;
}

bool NullEins(const QString& text, bool& wert)
{
    if (text != u"0" && text != u"1")
        return false;
    wert = text == u"1";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3)
        return Falsch(argv[0]);
    DienstSetzen<MeldungsDienst>([](const Meldung& m) {
        const bool frage = m.knöpfe != Knöpfe::OK;
        std::fprintf(stderr, "Kalvero: %s%s\n", m.text.toLocal8Bit().constData(), frage ? " -> Ja" : "");
        return frage ? Antwort::Ja : Antwort::OK;
    });
    StandardwerteSetzen();
    einstellungen() = StandardEinstellungen();
    einstellungen().Mp3TagLesen = QStringLiteral("000"); // the index is not read again from its files

    const QString format = a[1];
    const QString pfad = a[2];
    AutoTagOptionen optionen; // the defaults of the settings
    qint16 ziel = 0;
    QString indexDatei;
    for (qsizetype i = 3; i < a.size(); i += 2) {
        if (i + 1 >= a.size())
            return Falsch(argv[0]);
        const QString& wert = a[i + 1];
        if (a[i] == u"--ziel" && (wert == u"0" || wert == u"1" || wert == u"2"))
            ziel = qint16(wert.toInt());
        else if (a[i] == u"--index")
            indexDatei = wert;
        else if (a[i] == u"--unterstrich" && NullEins(wert, optionen.bolUnterstrichEntfernen))
            continue;
        else if (a[i] == u"--felder-loeschen" && NullEins(wert, optionen.bolFelderLöschen))
            continue;
        else if (a[i] == u"--ausschluss")
            optionen.strAusschluß = wert.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else
            return Falsch(argv[0]);
    }

    Index index;
    index.strDateiTypen = standardwerte().strStandardDateiTypen;
    index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    // The loader would create a missing index file.
    if (!indexDatei.isEmpty() && (!DoesExist(indexDatei) || !DateiLaden(index, indexDatei))) {
        std::fprintf(stderr, "%s: index file not loaded\n", argv[0]);
        return 1;
    }

    MedienInfo alt = LeereMedienInfo();
    if (DoesExist(pfad))
        alt = MedienInfosLesen(index, pfad, alt, QStringLiteral("11"), false, QStringLiteral("1"), QStringLiteral("1"));

    const AutoTagErgebnis e = AutoTagVersuchen(pfad, format, alt, ziel, optionen, index);
    MedienInfoJson::Objekt o;
    o.Feld("Erfolg", e.bolErfolg);
    o.Feld("Meldung", qint64(e.intMeldung));
    MedienInfoJson::Felder(o, e.udtErgebnis);
    std::printf("%s\n", o.Text().toUtf8().constData());
    return 0;
}
