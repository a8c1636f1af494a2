#include "media/AutoTag.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"

#include <exception>
#include <vector>

namespace {

// The fields a placeholder can name.
enum class Platz { Müll, Titel, Interpret, Album, Jahr, Kommentar, Titelnummer, Genre };

Platz PlatzErmitteln(const QString& platzhalter)
{
    const QString p = platzhalter.toLower();
    if (p == u"%titel%") return Platz::Titel;
    if (p == u"%interpret%") return Platz::Interpret;
    if (p == u"%album%") return Platz::Album;
    if (p == u"%jahr%") return Platz::Jahr;
    if (p == u"%kommentar%") return Platz::Kommentar;
    if (p == u"%titelnummer%" || p == u"%track%") return Platz::Titelnummer;
    if (p == u"%genre%") return Platz::Genre;
    return Platz::Müll; // %müll% and every unknown name
}

bool IstAutomatik(const QString& platzhalter) { return platzhalter.toLower() == u"%automatik%"; }

bool ZielV1(qint16 ziel) { return ziel == 0 || ziel == 1; }
bool ZielV2(qint16 ziel) { return ziel == 0 || ziel == 2; }

// Sets a text field in the tags the target covers.
void FeldSetzen(MedienInfo& m, Platz p, const QString& wert, qint16 ziel)
{
    QString* v1 = nullptr;
    QString* v2 = nullptr;
    switch (p) {
    case Platz::Titel: v1 = &m.Mp3_ID3v1_Titel; v2 = &m.Mp3_ID3v2_Titel; break;
    case Platz::Interpret: v1 = &m.Mp3_ID3v1_Interpret; v2 = &m.Mp3_ID3v2_Interpret; break;
    case Platz::Album: v1 = &m.Mp3_ID3v1_Album; v2 = &m.Mp3_ID3v2_Album; break;
    case Platz::Jahr: v1 = &m.Mp3_ID3v1_Jahr; v2 = &m.Mp3_ID3v2_Jahr; break;
    case Platz::Kommentar: v1 = &m.Mp3_ID3v1_Kommentar; v2 = &m.Mp3_ID3v2_Kommentar; break;
    case Platz::Titelnummer: v1 = &m.Mp3_ID3v1_Titelnummer; v2 = &m.Mp3_ID3v2_Titelnummer; break;
    case Platz::Genre:
    case Platz::Müll: return;
    }
    if (ZielV1(ziel))
        *v1 = wert;
    if (ZielV2(ziel))
        *v2 = wert;
}

void GenreSetzen(MedienInfo& m, const QString& wert, qint16 ziel)
{
    const Standardwerte& s = standardwerte();
    for (int j = 1; j <= 145; ++j) {
        if (TextGleich(s.strGenres[size_t(j)], wert)) {
            if (ZielV1(ziel))
                GenreByteSetzen(m, j - 1);
            if (ZielV2(ziel))
                m.Mp3_ID3v2_Musikrichtung = s.strGenres[size_t(j)];
            return;
        }
    }
    if (ZielV1(ziel))
        GenreByteSetzen(m, 255);
}

void FelderLöschen(MedienInfo& m, qint16 ziel)
{
    if (ZielV1(ziel)) {
        for (QString* f : {&m.Mp3_ID3v1_Titel, &m.Mp3_ID3v1_Interpret, &m.Mp3_ID3v1_Album, &m.Mp3_ID3v1_Jahr,
                           &m.Mp3_ID3v1_Kommentar, &m.Mp3_ID3v1_Titelnummer})
            f->clear();
        GenreByteSetzen(m, 255);
    }
    if (ZielV2(ziel)) {
        // The original artist (TOPE) and the title (TIT2) stay.
        for (QString* f : {&m.Mp3_ID3v2_AbspielZähler, &m.Mp3_ID3v2_Titelnummer, &m.Mp3_ID3v2_EncodiertVon,
                           &m.Mp3_ID3v2_Link, &m.Mp3_ID3v2_Copyright, &m.Mp3_ID3v2_Songschreiber,
                           &m.Mp3_ID3v2_Musikrichtung, &m.Mp3_ID3v2_Kommentar, &m.Mp3_ID3v2_Jahr,
                           &m.Mp3_ID3v2_Album, &m.Mp3_ID3v2_Interpret, &m.Mp3_ID3v2_Sprache, &m.Mp3_ID3v2_Länge,
                           &m.Mp3_ID3v2_Medientyp, &m.Mp3_ID3v2_Herausgeber, &m.Mp3_ID3v2_Software})
            f->clear();
    }
}

bool Ausgeschlossen(const QString& text, const QStringList& ausschluß)
{
    for (const QString& w : ausschluß)
        if (TextGleich(text, w))
            return true;
    return false;
}

// Both folder separators as the native one, so that the formats written
// with "\" cut Linux paths.
QString TrennerVereinheitlichen(QString text)
{
    return text.replace(QLatin1Char('\\'), QChar(kPfadTrenner));
}

// Characters `von`..`bis` (1-based, inclusive) of `text`.
QString Teil(const QString& text, qint32 von, qint32 bis)
{
    if (von < 1)
        von = 1;
    if (bis > text.size())
        bis = qint32(text.size());
    return bis < von ? QString() : text.mid(von - 1, bis - von + 1);
}

// Whether an index entry other than the file itself, with an ID3v1 tag, has
// a field beginning with `wort`; an entry whose other field contradicts
// what this run found already (`gegen`, when not empty) does not count.
bool IndexTreffer(const Index& index, const QString& datei, const QString& wort, bool interpret, const QString& gegen)
{
    const qint32 n = qMin<qint32>(index.lngIndexAnzahl, index.Kapazität());
    for (qint32 i = 1; i <= n; ++i) {
        const MedienInfo& m = index.IndexDaten[size_t(i)];
        if (m.Mp3_ID3v1_Vorhanden != 1 || index.strIndexPfad[size_t(i)] == datei)
            continue;
        const QString& feld = interpret ? m.Mp3_ID3v1_Interpret : m.Mp3_ID3v1_Album;
        if (!feld.startsWith(wort, Qt::CaseInsensitive))
            continue;
        const QString& anderes = interpret ? m.Mp3_ID3v1_Album : m.Mp3_ID3v1_Interpret;
        if (!gegen.isEmpty() && !anderes.isEmpty() && !anderes.startsWith(gegen, Qt::CaseInsensitive))
            continue;
        return true;
    }
    return false;
}

void Automatik(const QStringList& wörter, const QString& datei, qint16 ziel, const Index& index, MedienInfo& r)
{
    std::vector<bool> benutzt(size_t(wörter.size()), false);
    bool track = false, jahr = false, titel = false;
    QString interpret, album; // as found in this run
    for (qsizetype w = wörter.size() - 1; w >= 0; --w) {
        const QString& wort = wörter[w];
        // An empty word would match every artist as a prefix.
        if (wort.isEmpty())
            continue;
        if (IstZiffernfolge(wort)) {
            if (!track && ZiffernWert(wort, 255) <= 255) {
                FeldSetzen(r, Platz::Titelnummer, wort, ziel);
                track = benutzt[size_t(w)] = true;
                continue;
            }
            if (!jahr && wort.size() == 4) {
                FeldSetzen(r, Platz::Jahr, wort, ziel);
                jahr = benutzt[size_t(w)] = true;
                continue;
            }
        }
        if (interpret.isEmpty() && IndexTreffer(index, datei, wort, true, album)) {
            FeldSetzen(r, Platz::Interpret, wort, ziel);
            interpret = wort;
            benutzt[size_t(w)] = true;
            continue;
        }
        if (album.isEmpty() && IndexTreffer(index, datei, wort, false, interpret)) {
            FeldSetzen(r, Platz::Album, wort, ziel);
            album = wort;
            benutzt[size_t(w)] = true;
            continue;
        }
        if (!titel) {
            FeldSetzen(r, Platz::Titel, wort, ziel);
            titel = benutzt[size_t(w)] = true;
        }
    }
    for (qsizetype w = wörter.size() - 1; w >= 0; --w) {
        const QString& wort = wörter[w];
        if (benutzt[size_t(w)] || wort.isEmpty())
            continue;
        if (!titel) {
            FeldSetzen(r, Platz::Titel, wort, ziel);
            titel = true;
        } else if (interpret.isEmpty()) {
            FeldSetzen(r, Platz::Interpret, wort, ziel);
            interpret = wort;
        }
    }
}

const char* const kFormatFehler = "Das von Ihnen zu Erkennung des TAGs verwendete Format konnte nicht verarbeitet werden.\n";

AutoTagErgebnis Verweigern(AutoTagErgebnis e, int nummer, const QString& text)
{
    e.bolErfolg = false;
    e.intMeldung = nummer;
    e.strMeldung = text;
    return e;
}

AutoTagErgebnis Versuchen(const QString& strDateiname, const QString& strFormat, const MedienInfo& udtAlt,
                          qint16 intZiel, const AutoTagOptionen& optionen, const Index& index)
{
    AutoTagErgebnis e;
    QString arbeitsname = strDateiname;
    if (optionen.bolUnterstrichEntfernen)
        arbeitsname.replace(QLatin1Char('_'), QLatin1Char(' '));
    e.udtErgebnis = udtAlt;

    if (strFormat.isEmpty())
        return Verweigern(e, 1, QStringLiteral("Sie haben kein AutoTAG-Format ausgewählt, nach dem der TAG erkannt werden soll.\n"
                                               "Bitte wählen Sie eines im 'Format'-Fenster aus."));
    QStringList platzhalter, trennzeichen;
    if (!FormatLesen(strFormat, platzhalter, trennzeichen))
        return Verweigern(e, 2, QStringLiteral("Das von Ihnen zu Erkennung des TAGs verwendete Format ('") + strFormat +
                                    QStringLiteral("') konnte nicht verarbeitet werden.\nÜberprüfen Sie die Schreibweise "
                                                   "der Variablen ('%'-Zeichen vergessen?)."));
    const qint32 n = qint32(platzhalter.size());
    const QString name = TrennerVereinheitlichen(arbeitsname);
    QStringList elemente(n), wörter;

    if (!IstAutomatik(platzhalter[0])) {
        // The extension is never part of an element.
        qint32 ende = qint32(name.size() - DateiEndungZurückgeben(name).size());
        for (qint32 i = n - 1; i >= 0; --i) {
            if (i == n - 1 && !trennzeichen[n].isEmpty()) {
                const qint32 q = LetztesVorkommenSuchen(ende, name, TrennerVereinheitlichen(trennzeichen[n]), 0);
                if (q == 0)
                    return Verweigern(e, 3, QString::fromUtf8(kFormatFehler) + QStringLiteral("Das letzte Trennzeichen '") +
                                                trennzeichen[n] +
                                                QStringLiteral("' existiert nicht, obwohl es im Format definiert wurde."));
                ende = q - 1;
            }
            const QString trenner = TrennerVereinheitlichen(trennzeichen[i]);
            const qint32 p = LetztesVorkommenSuchen(ende, name, trenner, 0);
            if (p == 0)
                return Verweigern(e, 4, QString::fromUtf8(kFormatFehler) +
                                            QStringLiteral("Der zu erkennende Dateiname enthält nicht gleich viele Elemente "
                                                           "wie das Format (z.B. Datei 'AB - CD.mp3' = 2 und Format "
                                                           "'%AB% - %CD% - %EF%' = 3)."));
            // The whole separator goes, not only its first character.
            elemente[i] = Teil(name, p + qMax<qint32>(1, qint32(trenner.size())), ende).trimmed();
            ende = p - 1;
        }
    } else {
        if (n > 1)
            return Verweigern(e, 5, QStringLiteral("Bei Verwendung der Erkennungs-Variable '%Automatik%' können keine "
                                                   "weiteren Variablen verwendet werden."));
        if (!DateinamenLesen(arbeitsname, wörter, optionen.strAusschluß))
            return Verweigern(e, 6, QStringLiteral("Der Dateiname '") + arbeitsname +
                                        QStringLiteral("' konnte nicht verarbeitet werden."));
    }

    MedienInfo& r = e.udtErgebnis;
    r.Mp3_ID3v1_TAG = QStringLiteral("TAG");
    if (optionen.bolFelderLöschen)
        FelderLöschen(r, intZiel);

    if (!IstAutomatik(platzhalter[0])) {
        for (qint32 i = 0; i < n; ++i) {
            if (Ausgeschlossen(elemente[i], optionen.strAusschluß))
                continue;
            const Platz p = PlatzErmitteln(platzhalter[i]);
            if (p == Platz::Genre)
                GenreSetzen(r, elemente[i], intZiel);
            else
                FeldSetzen(r, p, elemente[i], intZiel);
        }
    } else {
        Automatik(wörter, strDateiname, intZiel, index, r);
    }

    if (r.Mp3_ID3v1_Musikrichtung.isEmpty())
        GenreByteSetzen(r, 255);
    if (ZielV1(intZiel) && r.Mp3_ID3v1_Vorhanden != 1)
        r.Mp3_ID3v1_Vorhanden = 3;
    if (ZielV2(intZiel) && r.Mp3_ID3v2_Vorhanden != 1)
        r.Mp3_ID3v2_Vorhanden = 3;
    e.bolErfolg = true;
    return e;
}

} // namespace

QStringList AutoTagAusschlussliste(const Einstellungen& e)
{
    return e.AutoTagAusschlußLeer == 1 ? QStringList() : e.AutoTagAusschluß;
}

AutoTagOptionen AutoTagOptionenLesen(const Einstellungen& e)
{
    AutoTagOptionen o;
    o.bolUnterstrichEntfernen = e.AutoTagUnterstrichEntfernen == 1;
    o.bolFelderLöschen = e.AutoTagFelderLöschen == 1;
    o.strAusschluß = AutoTagAusschlussliste(e);
    return o;
}

AutoTagErgebnis AutoTagVersuchen(const QString& strDateiname, const QString& strFormat, const MedienInfo& udtAlt,
                                 qint16 intZiel, const AutoTagOptionen& optionen, const Index& index)
{
    try {
        return Versuchen(strDateiname, strFormat, udtAlt, intZiel, optionen, index);
    } catch (const std::exception&) {
        AutoTagErgebnis e;
        e.udtErgebnis = udtAlt;
        return Verweigern(e, 7, QStringLiteral("Das von Ihnen zu Erkennung des TAGs verwendete Format konnte nicht auf "
                                               "den Dateinamen angewendet werden."));
    }
}

bool AutoTagVersuchen(const QString& strDateiname, const QString& strFormat, MedienInfo& udtErgebnis,
                      const MedienInfo& udtAlt, qint16 intZiel, QObject* besitzer)
{
    const AutoTagErgebnis e = AutoTagVersuchen(strDateiname, strFormat, udtAlt, intZiel,
                                               AutoTagOptionenLesen(einstellungen()), hauptIndex());
    if (!e.bolErfolg) {
        MeldungZeigen(e.strMeldung, Knöpfe::OK, Symbol::Information, besitzer);
        return false;
    }
    udtErgebnis = e.udtErgebnis;
    return true;
}

bool FormatLesen(const QString& strFormat, QStringList& strPlatzhalter, QStringList& strTrennzeichen)
{
    strPlatzhalter.clear();
    strTrennzeichen.clear();
    const qsizetype prozente = strFormat.count(QLatin1Char('%'));
    if (prozente == 0 || prozente % 2 != 0)
        return false;
    qsizetype pos = 0;
    for (qsizetype i = 0; i < prozente / 2; ++i) {
        const qsizetype a = strFormat.indexOf(QLatin1Char('%'), pos);
        const qsizetype b = strFormat.indexOf(QLatin1Char('%'), a + 1);
        strPlatzhalter << strFormat.mid(a, b - a + 1).trimmed();
        strTrennzeichen << strFormat.mid(pos, a - pos).trimmed();
        pos = b + 1;
    }
    strTrennzeichen << strFormat.mid(pos).trimmed();
    return true;
}

qint32 LetztesVorkommenSuchen(qint32 lngGrenze, const QString& strText, const QString& strSuchen, qint32 lngVergleich)
{
    if (lngGrenze < 1 || strText.isEmpty())
        return 0;
    const qint32 länge = qint32(strText.size());
    if (strSuchen.isEmpty())
        return qMin(lngGrenze, länge);
    const Qt::CaseSensitivity cs = lngVergleich == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const qsizetype p = strText.lastIndexOf(strSuchen, qMin(lngGrenze, länge) - 1, cs);
    return p < 0 ? 0 : qint32(p + 1);
}

bool DateinamenLesen(const QString& strDateiname, QStringList& strWörter, const QStringList& strAusschluß)
{
    strWörter.clear();
    static const QString trenner = QStringLiteral("-_,\\/");
    const QString& name = strDateiname;
    qsizetype start = 0;
    if (name.size() >= 2 && name[1] == QLatin1Char(':'))
        start = 3; // "X:\"
    else if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        start = 1; // the root
    bool letztesWort = true;
    while (start < name.size()) {
        qsizetype p = -1;
        for (qsizetype i = start; i < name.size(); ++i)
            if (trenner.contains(name[i])) {
                p = i;
                break;
            }
        if (p < 0)
            break;
        const QString wort = name.mid(start, p - start).trimmed();
        if (!Ausgeschlossen(wort, strAusschluß))
            strWörter << wort;
        start = p + 1;
        if (start >= name.size()) {
            letztesWort = false; // the name ends in a separator
            break;
        }
    }
    if (letztesWort) {
        QString wort = name.mid(start).trimmed();
        wort.chop(DateiEndungZurückgeben(wort).size());
        if (!Ausgeschlossen(wort, strAusschluß))
            strWörter << wort;
    }
    return !strWörter.isEmpty();
}

bool DateinamenLesen(const QString& strDateiname, QStringList& strWörter, bool bolIgnorierListe)
{
    return DateinamenLesen(strDateiname, strWörter,
                           bolIgnorierListe ? AutoTagAusschlussliste(einstellungen()) : QStringList());
}

bool IstZiffernfolge(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int ZiffernWert(const QString& ziffern, int grenze)
{
    long long wert = 0;
    for (QChar c : ziffern) {
        wert = wert * 10 + (c.unicode() - u'0');
        if (wert > grenze)
            return grenze + 1;
    }
    return int(wert);
}

qsizetype AutomatikFormatSuchen(const QStringList& formate)
{
    for (qsizetype i = 0; i < formate.size(); ++i)
        if (TextGleich(formate[i], QStringLiteral("%Automatik%")))
            return i;
    return -1;
}

void AutoTagFormateÜbernehmen(Einstellungen& e, const QStringList& formate, const QString& aktuell,
                              bool felderLöschen, bool unterstricheEntfernen)
{
    e.AutoTagAktuell = aktuell;
    e.AutoTagFelderLöschen = felderLöschen ? 1 : 0;
    e.AutoTagUnterstrichEntfernen = unterstricheEntfernen ? 1 : 0;
    e.AutoTagLeer = formate.isEmpty() ? 1 : 0;
    e.AutoTagFormate = formate;
}

void AutoTagAusschlussÜbernehmen(Einstellungen& e, const QStringList& wörter)
{
    e.AutoTagAusschlußLeer = wörter.isEmpty() ? 1 : 0;
    e.AutoTagAusschluß = wörter;
}
