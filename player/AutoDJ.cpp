#include "player/AutoDJ.h"

#include "core/Felder.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Whole part of random x n, plus one: 1..n, also when the generator (or
// rounding) comes up with 1.0 or anything outside [0, 1).
qint64 würfeln(const Zufallszahl& zufall, qint64 n)
{
    const double r = zufall ? zufall() : 0.0;
    if (!(r > 0.0)) // also NaN
        return 1;
    const qint64 j = qint64(std::floor(std::min(r, 1.0) * double(n))) + 1;
    return std::min(j, n);
}

// Sum / count, rounded to the nearest whole number, halves to the even one.
qint64 durchschnittBerechnen(qint64 summe, qint64 anzahl)
{
    qint64 q = summe / anzahl;
    const qint64 rest2 = 2 * (summe % anzahl);
    if (rest2 > anzahl || (rest2 == anzahl && (q & 1)))
        ++q;
    return std::max<qint64>(q, 1);
}

// A wall-clock time; kept apart from QDateTime, whose time-zone work would
// cost more than the whole search.
struct Zeitpunkt {
    QDate datum;
    QTime zeit;
};

bool zuletztGespielt(const MedienInfo& m, Zeitpunkt& wann)
{
    return DatumLesen(m.Datei_AngefordertGespieltAm, true, wann.datum, wann.zeit);
}

qint64 grenzen(QChar einheit, const Zeitpunkt& von, const Zeitpunkt& bis)
{
    const QDate &d1 = von.datum, &d2 = bis.datum;
    const QTime &z1 = von.zeit, &z2 = bis.zeit;
    const qint64 tage = d1.daysTo(d2);
    switch (einheit.unicode()) {
    case 'n':
        return tage * 1440 + (z2.hour() * 60 + z2.minute()) - (z1.hour() * 60 + z1.minute());
    case 'h':
        return tage * 24 + z2.hour() - z1.hour();
    case 'm':
        return (qint64(d2.year()) * 12 + d2.month()) - (qint64(d1.year()) * 12 + d1.month());
    default:
        return tage;
    }
}

// Whether an entry's genre texts ("Genre", "Genre-ID3v2") hold a chosen
// name. Both come from few distinct values, so each value is folded and
// looked up once and the answer kept.
class GenreFilter {
public:
    GenreFilter(const Index& idx, const QStringList& genres) : m_idx(idx)
    {
        for (const QString& g : genres)
            m_gewählt.insert(g.toCaseFolded());
        m_v1.fill(-1);
    }
    bool passt(qint32 i)
    {
        const MedienInfo& m = m_idx.IndexDaten[size_t(i)];
        // -2: no ID3v1 tag; -1: no genre byte.
        const int v1 = m.Mp3_ID3v1_Vorhanden == 1 ? GenreByte(m) : -2;
        qint8& a = m_v1[size_t(v1 + 2)];
        if (a < 0)
            a = gewählt(i, Feld::Genre);
        if (a)
            return true;
        if (m.Mp3_ID3v2_Vorhanden != 1) {
            if (m_ohneV2 < 0)
                m_ohneV2 = gewählt(i, Feld::GenreV2);
            return m_ohneV2;
        }
        const auto it = m_v2.constFind(m.Mp3_ID3v2_Musikrichtung);
        if (it != m_v2.constEnd())
            return it.value();
        const bool b = gewählt(i, Feld::GenreV2);
        m_v2.insert(m.Mp3_ID3v2_Musikrichtung, b);
        return b;
    }

private:
    const Index& m_idx;
    QSet<QString> m_gewählt;
    std::array<qint8, 258> m_v1;
    qint8 m_ohneV2 = -1;
    QHash<QString, bool> m_v2;
    QString m_wert;

    bool gewählt(qint32 i, Feld f)
    {
        FeldWert(m_idx, i, f, FeldModus::Anzeige, m_wert);
        return m_gewählt.contains(m_wert.toCaseFolded());
    }
};

} // namespace

qint64 GrenzenZählen(QChar einheit, const QDateTime& von, const QDateTime& bis)
{
    return grenzen(einheit, {von.date(), von.time()}, {bis.date(), bis.time()});
}

AutoDJVorschlag AutoDJErstellen(const Index& idx, const AutoDJKriterien& k, const Zufallszahl& zufall,
                                const QDateTime& jetzt)
{
    AutoDJVorschlag v;
    const qint32 n = idx.lngIndexAnzahl;

    GenreFilter filter(idx, k.genres);
    std::vector<quint8> passt(size_t(n) + 1, 0);
    for (qint32 i = 1; i <= n; ++i) {
        const bool treffer = filter.passt(i);
        passt[size_t(i)] = treffer;
        const qint32 anzahl = idx.IndexDaten[size_t(i)].Datei_AngefordertAnzahl;
        if (treffer && anzahl > 0) {
            ++v.gezählt;
            v.summe += anzahl;
        }
    }
    if (v.gezählt == 0)
        return v;
    v.datenVorhanden = true;
    v.durchschnitt = durchschnittBerechnen(v.summe, v.gezählt);

    const QChar einheit = k.zeiteinheit == 0 ? QLatin1Char('n') : k.zeiteinheit == 1 ? QLatin1Char('h')
                                                                                      : QLatin1Char('d');
    const Zeitpunkt nun{jetzt.date(), jetzt.time()};
    std::vector<qint32> platz(size_t(n) + 1, 0);
    Zeitpunkt wann;
    for (qint32 i = 1; i <= n; ++i) {
        const MedienInfo& m = idx.IndexDaten[size_t(i)];
        if (!passt[size_t(i)] || m.Datei_AngefordertAnzahl < v.durchschnitt)
            continue;
        if (k.auslassen && (!zuletztGespielt(m, wann) || grenzen(einheit, wann, nun) <= *k.auslassen))
            continue;
        platz[size_t(i)] = i;
    }

    for (qint32 i = 1; i <= n; ++i)
        std::swap(platz[size_t(i)], platz[size_t(würfeln(zufall, n))]);

    std::vector<quint8> bewegt(size_t(n) + 1, 0);
    for (qint32 i = 1; i <= n; ++i) {
        const qint32 e = platz[size_t(i)];
        if (e == 0 || bewegt[size_t(i)])
            continue;
        const MedienInfo& m = idx.IndexDaten[size_t(e)];
        qint64 ziel = i;
        if ((k.alteSeltener || k.sehrAlteHäufiger) && m.Datei_AngefordertAnzahl > v.durchschnitt
            && zuletztGespielt(m, wann)) {
            const qint64 monate = grenzen(QLatin1Char('m'), wann, nun);
            if (k.alteSeltener && monate >= 1 && monate <= 6) {
                ziel = würfeln(zufall, 4) * ziel;
                if (2 * ziel > n)
                    ziel = n;
            }
            if (k.sehrAlteHäufiger && monate > 6) {
                ziel = qint64(std::floor(double(ziel) / double(würfeln(zufall, 4)) + 0.5));
                if (ziel < 1)
                    ziel = 1;
            }
        }
        if (ziel != i) {
            std::swap(platz[size_t(i)], platz[size_t(ziel)]);
            bewegt[size_t(i)] = bewegt[size_t(ziel)];
            bewegt[size_t(ziel)] = 1;
        }
    }

    const QString format = QStringLiteral("%Interpret% - %Titel%");
    QString text;
    for (qint32 i = 1; i <= n; ++i) {
        const qint32 e = platz[size_t(i)];
        if (e == 0)
            continue;
        FeldWert(idx, e, Feld::Format, FeldModus::Anzeige, text, format);
        v.einträge.push_back(e);
        v.texte << text;
        if (double(v.einträge.size()) >= k.maximum)
            break;
    }
    return v;
}

QString OhneGenreEintrag() { return QStringLiteral("(Dateien ohne Genre)"); }

QString AutoDJKeineDatenText(bool statistikAn)
{
    return QStringLiteral("Die Funktion 'AutoDJ' kann nicht ausgeführt werden.\n\n"
                          "Es liegen z.Zt. keine Nutzungsdaten für Dateien der gewählten Genre vor.\n")
        + (statistikAn ? QStringLiteral("Lassen Sie dieses Programm einfach einige Tage im Hintergrund neben Winamp "
                                        "laufen, um Nutzungsdaten zu speichern.")
                       : QStringLiteral("Aktivieren Sie in den 'Optionen' die 'Speicherung von Abspiel-Statitsiken', "
                                        "um Nutzungsdaten zu speichern."));
}

std::optional<double> AutoDJZahl(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double d = t.toDouble(&ok);
    if (!ok)
        d = QLocale(QLocale::German).toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}
