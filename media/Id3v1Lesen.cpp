#include "media/Id3v1Lesen.h"

#include "core/Funktionen.h"
#include "core/Kodierung.h"
#include "media/MedienDatei.h"

namespace {

QString Feld(QByteArrayView b, qsizetype ab, qsizetype länge, bool zeilenumbrücheBehalten)
{
    QByteArrayView f = b.sliced(ab, länge);
    const qsizetype nul = f.indexOf('\0');
    if (nul >= 0)
        f = f.first(nul);
    QString text = Cp1252Dekodieren(f);
    if (zeilenumbrücheBehalten) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return SteuerzeichenEntfernen(text, zeilenumbrücheBehalten);
}

} // namespace

Id3v1Ergebnis Id3v1Lesen(QByteArrayView block, bool behalten)
{
    Id3v1Ergebnis e;
    if (block.size() < 128)
        return e;
    const QByteArrayView b = block.last(128);
    if (!b.startsWith("TAG"))
        return e;
    e.gültig = true;
    e.kennung = QStringLiteral("TAG");
    e.titel = Feld(b, 3, 30, false);
    e.interpret = Feld(b, 33, 30, false);
    e.album = Feld(b, 63, 30, false);
    e.jahr = Feld(b, 93, 4, false);
    const auto spur = static_cast<unsigned char>(b[126]);
    if (b[125] == 0 && spur != 0) {
        e.kommentar = Feld(b, 97, 28, behalten);
        e.titelnummer = QString::number(spur);
    } else {
        e.kommentar = Feld(b, 97, 30, behalten);
    }
    e.genre = static_cast<unsigned char>(b[127]);
    return e;
}

void Id3v1Übernehmen(const Id3v1Ergebnis& e, MedienInfo& m)
{
    m.Mp3_ID3v1_TAG = e.kennung;
    m.Mp3_ID3v1_Titel = e.titel;
    m.Mp3_ID3v1_Interpret = e.interpret;
    m.Mp3_ID3v1_Album = e.album;
    m.Mp3_ID3v1_Jahr = e.jahr;
    m.Mp3_ID3v1_Kommentar = e.kommentar;
    m.Mp3_ID3v1_Titelnummer = e.titelnummer;
    if (e.gültig)
        GenreByteSetzen(m, e.genre);
    else
        m.Mp3_ID3v1_Musikrichtung.clear();
    m.Mp3_ID3v1_Vorhanden = e.gültig ? 1 : 2;
}

QByteArray Mp3tagLesenStr(const QString& strDatei)
{
    MedienDatei datei(strDatei);
    return datei.Id3v1Block().toByteArray();
}
