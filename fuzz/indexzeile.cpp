// Feeds bytes, as an index file would hold them, to the line splitter and
// the entry-line and option-line readers. Every entry read is written again
// and read back: the two records must agree (presence codes aside, which the
// file does not hold, and CR, which the writer turns into LF).

#include "core/IndexZeile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void crAlsLf(QString& s) { s.replace(QLatin1Char('\r'), QLatin1Char('\n')); }

void vergleichbar(QString& pfad, MedienInfo& m)
{
    crAlsLf(pfad);
    for (QString* t : {&m.Mp3_ID3v1_Titel, &m.Mp3_ID3v1_Interpret, &m.Mp3_ID3v1_Album, &m.Mp3_ID3v1_Jahr,
                       &m.Mp3_ID3v1_Kommentar, &m.Mp3_ID3v1_Titelnummer, &m.Datei_Datenträger,
                       &m.Datei_HinzugefügtAm, &m.Datei_AngefordertGespieltAm, &m.Header_Modus,
                       &m.Mp3_ID3v2_Version, &m.Mp3_ID3v2_AbspielZähler, &m.Mp3_ID3v2_Titelnummer,
                       &m.Mp3_ID3v2_EncodiertVon, &m.Mp3_ID3v2_Link, &m.Mp3_ID3v2_Copyright,
                       &m.Mp3_ID3v2_UrsprünglicherInterpret, &m.Mp3_ID3v2_Songschreiber, &m.Mp3_ID3v2_Musikrichtung,
                       &m.Mp3_ID3v2_Kommentar, &m.Mp3_ID3v2_Jahr, &m.Mp3_ID3v2_Album, &m.Mp3_ID3v2_Interpret,
                       &m.Mp3_ID3v2_Titel, &m.Mp3_ID3v2_Sprache, &m.Mp3_ID3v2_Länge, &m.Mp3_ID3v2_Medientyp,
                       &m.Mp3_ID3v2_Herausgeber, &m.Mp3_ID3v2_Software})
        crAlsLf(*t);
    m.Mp3_ID3v1_Vorhanden = 0;
    m.Mp3_ID3v2_Vorhanden = 0;
}

void zeileLesen(QByteArrayView zeile, TextSpeicher& texte, Index& optionen)
{
    IstDatum(zeile);
    ZahlLesen(zeile);
    OptionszeileLesen(zeile, texte, optionen);

    QString pfad;
    MedienInfo m;
    if (!EintragszeileLesen(zeile, texte, pfad, m))
        return;
    std::string neu;
    EintragszeileSchreiben(neu, pfad, m);
    if (neu.size() < 2 || neu.compare(neu.size() - 2, 2, "\r\n") != 0)
        std::abort();
    TextSpeicher utf8;
    QString pfad2;
    MedienInfo m2;
    if (!EintragszeileLesen(QByteArrayView(neu.data(), qsizetype(neu.size()) - 2), utf8, pfad2, m2))
        std::abort();
    vergleichbar(pfad, m);
    vergleichbar(pfad2, m2);
    if (pfad != pfad2 || !(m == m2))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe)
{
    const QByteArrayView datei(reinterpret_cast<const char*>(daten), qsizetype(größe));
    TextSpeicher texte;
    Index optionen;
    qsizetype weiter = 0;
    const qsizetype erste = ZeileAbgrenzen(datei, ÜblichesZeilenende(datei), weiter);
    if (erste < 0 || erste > datei.size() || weiter < erste || weiter > datei.size())
        std::abort();
    VersionErkennen(datei.first(erste));
    // The lines lie inside the text, one after the other.
    const char* bisher = datei.data();
    for (const QByteArrayView& zeile : ZeilenTeilen(datei)) {
        if (zeile.isEmpty() || zeile.data() < bisher || zeile.data() + zeile.size() > datei.data() + datei.size())
            std::abort();
        bisher = zeile.data() + zeile.size();
        zeileLesen(zeile, texte, optionen);
    }
    // What the options became can be written again.
    std::string kopf;
    KopfzeilenSchreiben(kopf, optionen);
    return 0;
}
