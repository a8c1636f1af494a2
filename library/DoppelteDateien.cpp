#include "library/DoppelteDateien.h"

#include "core/Felder.h"
#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/Verfuegbarkeit.h"
#include "media/MedienInfosLesen.h"

#include <QHash>
#include <utility>

namespace {

using Teilnehmer = std::vector<char>;

// For every position the first later position with the same key (-1: none).
// Only positions that take part are keyed. One pass from the back keeps the
// nearest later position per key.
template <typename Schlüssel, typename F>
std::vector<qint32> NächsteGleiche(const Teilnehmer& teil, F schlüssel)
{
    const size_t n = teil.size();
    std::vector<qint32> nächste(n, -1);
    QHash<Schlüssel, qint32> zuletzt;
    zuletzt.reserve(qsizetype(n));
    for (size_t k = n; k-- > 0;) {
        if (!teil[k])
            continue;
        Schlüssel s = schlüssel(k);
        auto it = zuletzt.find(s);
        if (it != zuletzt.end()) {
            nächste[k] = it.value();
            it.value() = qint32(k);
        } else {
            zuletzt.insert(std::move(s), qint32(k));
        }
    }
    return nächste;
}

QString FundZeile(const Index& index, int m, qint32 e1, qint32 e2)
{
    const auto name = [&](qint32 e) {
        const QString& p = index.strIndexPfad[size_t(e)];
        return m == SuchePfad ? p : DateinameZurückgeben(p);
    };
    const QString a = QLatin1Char('\'') + name(e1) + QLatin1Char('\'');
    switch (m) {
    case SucheNichtVorhanden:
        return a + QStringLiteral(" existiert nicht");
    case SucheOhneID3v1:
    case SucheOhneID3v1NeuLesen:
        return a + QStringLiteral(" enthält keinen ID3v1-TAG");
    case SucheOhneID3v2:
    case SucheOhneID3v2NeuLesen:
        return a + QStringLiteral(" enthält keinen ID3v2-TAG");
    default:
        break;
    }
    const QString ab = a + QStringLiteral(" und '") + name(e2) + QStringLiteral("' ");
    switch (m) {
    case SucheDateiname:
        return ab + QStringLiteral("haben die gleichen Dateinamen");
    case SuchePfad:
        return ab + QStringLiteral("haben die gleichen Pfad- und Dateinamen");
    case SucheID3v1Felder:
        return ab + QStringLiteral("haben gleiche ID3v1-TAG-Felder");
    case SucheID3v2Felder:
        return ab + QStringLiteral("haben gleiche ID3v2-TAG-Felder");
    default:
        return ab + QStringLiteral("haben gleiche Dateigröße");
    }
}

void FundHinzufügen(DoppelteErgebnis& z, const Index& index, int m, qint32 e1, qint32 e2)
{
    z.DoppelteEintrag1.push_back(e1);
    z.DoppelteEintrag2.push_back(e2);
    z.zeilen.append(FundZeile(index, m, e1, e2));
}

bool PaareSuchen(const Index& index, const std::vector<qint32>& e, int m, QObject* besitzer, DoppelteErgebnis& z)
{
    const size_t n = e.size();
    const auto info = [&](size_t k) -> const MedienInfo& { return index.IndexDaten[size_t(e[k])]; };
    Teilnehmer teil(n, 1);
    for (size_t k = 0; k < n; ++k) {
        if (m == SucheID3v1Felder)
            teil[k] = info(k).Mp3_ID3v1_Vorhanden == 1;
        else if (m == SucheID3v2Felder)
            teil[k] = info(k).Mp3_ID3v2_Vorhanden == 1;
        else if (m == SucheGröße)
            teil[k] = info(k).Datei_Größe >= 0;
    }

    std::vector<qint32> nächste;
    using Paar = std::pair<QString, QString>;
    switch (m) {
    case SucheDateiname:
        nächste = NächsteGleiche<QString>(teil, [&](size_t k) {
            return TextSchlüssel(DateinameZurückgeben(index.strIndexPfad[size_t(e[k])]));
        });
        break;
    case SuchePfad:
        // Linux names are case-sensitive: whole paths compare exactly.
        nächste = NächsteGleiche<QString>(teil, [&](size_t k) { return index.strIndexPfad[size_t(e[k])]; });
        break;
    case SucheID3v1Felder:
        nächste = NächsteGleiche<Paar>(teil, [&](size_t k) {
            return Paar(TextSchlüssel(info(k).Mp3_ID3v1_Interpret), TextSchlüssel(info(k).Mp3_ID3v1_Titel));
        });
        break;
    case SucheID3v2Felder:
        nächste = NächsteGleiche<Paar>(teil, [&](size_t k) {
            return Paar(TextSchlüssel(info(k).Mp3_ID3v2_Interpret), TextSchlüssel(info(k).Mp3_ID3v2_Titel));
        });
        break;
    default:
        nächste = NächsteGleiche<qint64>(teil, [&](size_t k) { return info(k).Datei_Größe; });
        break;
    }

    for (size_t k = 0; k < n; ++k) {
        if (!teil[k])
            continue;
        if (nächste[k] >= 0)
            FundHinzufügen(z, index, m, e[k], e[size_t(nächste[k])]);
        if (!FortschrittZeigen(double(k + 1), QString(), besitzer))
            return false;
    }
    return true;
}

// Files that could not be checked go to `unerreichbar`, never to the findings.
bool EinzelneSuchen(Index& index, const std::vector<qint32>& e, int m, QObject* besitzer, DoppelteErgebnis& z,
                    std::vector<NichtErreichbar>& unerreichbar)
{
    bolNichtVerfügbarAlleÜberspringen = false;
    for (size_t k = 0; k < e.size(); ++k) {
        const qint32 ei = e[k];
        MedienInfo& info = index.IndexDaten[size_t(ei)];
        switch (m) {
        case SucheOhneID3v1:
            if (info.Mp3_ID3v1_Vorhanden != 1)
                FundHinzufügen(z, index, m, ei, -1);
            continue; // stored records only: no steps
        case SucheOhneID3v2:
            if (info.Mp3_ID3v2_Vorhanden != 1)
                FundHinzufügen(z, index, m, ei, -1);
            continue;
        case SucheNichtVorhanden: {
            // Asked without skipping missing files, so that they reach the test.
            const int verfügbar = DateiNichtVerfügbarPrüfen(index, ei, besitzer, false);
            if (verfügbar == 2)
                return false;
            if (verfügbar == 0) {
                int fehler = 0;
                const QString& pfad = index.strIndexPfad[size_t(ei)];
                const Existenz da = DateiExistenz(pfad, nullptr, &fehler);
                if (da == Existenz::Fehlt)
                    FundHinzufügen(z, index, m, ei, -1);
                else if (da == Existenz::Unbekannt)
                    unerreichbar.push_back({pfad, fehler});
            }
            break;
        }
        default: {
            const int verfügbar = DateiNichtVerfügbarPrüfen(index, ei, besitzer, true);
            if (verfügbar == 2)
                return false;
            if (verfügbar == 0) {
                const bool v1 = m == SucheOhneID3v1NeuLesen;
                // A fresh reading of one tag; the index is not marked modified.
                info = MedienInfosLesen(index, index.strIndexPfad[size_t(ei)], info,
                                        v1 ? QStringLiteral("10") : QStringLiteral("01"), false,
                                        QStringLiteral("0"), QStringLiteral("0"));
                if ((v1 ? info.Mp3_ID3v1_Vorhanden : info.Mp3_ID3v2_Vorhanden) != 1)
                    FundHinzufügen(z, index, m, ei, -1);
            }
            break;
        }
        }
        if (!FortschrittZeigen(double(k + 1), QString(), besitzer))
            return false;
    }
    return true;
}

} // namespace

QStringList SuchmethodenNamen()
{
    return {
        QStringLiteral("Mehrfacheintrage mit gleichem Dateinamen (Dateinamen)"),
        QStringLiteral("Mehrfacheintrage mit gleichem Dateinamen (Datei- und Pfadnamen)"),
        QStringLiteral("Mehrfacheintrage mit gleichen ID3v1-TAG-Feldern <Titel> und <Interpret>"),
        QStringLiteral("Mehrfacheintrage mit gleichen ID3v2-TAG-Feldern <Titel> und <Interpret>"),
        QStringLiteral("Mehrfacheintrage mit gleicher Dateigröße"),
        QStringLiteral("Nicht existiernde Dateien"),
        QStringLiteral("Dateien ohne ID3v1-TAG (im Index gespeicherte Daten werden verwendet)"),
        QStringLiteral("Dateien ohne ID3v1-TAG (Dateien werden neu gelesen)"),
        QStringLiteral("Dateien ohne ID3v2-TAG (im Index gespeicherte Daten werden verwendet)"),
        QStringLiteral("Dateien ohne ID3v2-TAG (Dateien werden neu gelesen)"),
    };
}

bool PaarMethode(int intMethode)
{
    return intMethode >= SucheDateiname && intMethode <= SucheGröße;
}

QString TextSchlüssel(const QString& text)
{
    // The same folding as the case-insensitive comparison of TextGleich; it
    // maps each character to one character, so lengths stay comparable.
    return text.toCaseFolded();
}

bool DoppelteDateienSuchen(Index& index, const std::vector<qint32>& einträge, int intMethode,
                           qint32 lngFortschrittZiel, QObject* besitzer, DoppelteErgebnis& z)
{
    z = DoppelteErgebnis();
    z.DoppelteAktion.assign(size_t(std::max<qint32>(index.lngIndexAnzahl, 0)) + 1, 0);
    z.lngSuchmethode = intMethode;
    if (intMethode < SucheDateiname || intMethode > SucheOhneID3v2NeuLesen)
        return true;

    std::vector<qint32> e;
    e.reserve(einträge.size());
    for (qint32 x : einträge) {
        if (index.GültigerEintrag(x))
            e.push_back(x);
    }
    FortschrittZeigenStarten(lngFortschrittZiel, true, besitzer, true, true, QStringLiteral("Durchsuche Index"));
    std::vector<NichtErreichbar> unerreichbar;
    const bool fertig = PaarMethode(intMethode) ? PaareSuchen(index, e, intMethode, besitzer, z)
                                                : EinzelneSuchen(index, e, intMethode, besitzer, z, unerreichbar);
    FortschrittZeigenBeenden(besitzer);
    NichtErreichbareMelden(unerreichbar, besitzer);
    return fertig;
}

QString GleicheDatenText(const Index& index, int intMethode, qint32 lngEintrag)
{
    if (!index.GültigerEintrag(lngEintrag))
        return QString();
    const QString& pfad = index.strIndexPfad[size_t(lngEintrag)];
    const MedienInfo& m = index.IndexDaten[size_t(lngEintrag)];
    switch (intMethode) {
    case SucheDateiname:
        return DateinameZurückgeben(pfad);
    case SuchePfad:
        return pfad;
    case SucheID3v1Felder:
        return m.Mp3_ID3v1_Titel + QLatin1Char('/') + m.Mp3_ID3v1_Interpret;
    case SucheID3v2Felder:
        return m.Mp3_ID3v2_Titel + QLatin1Char('/') + m.Mp3_ID3v2_Interpret;
    case SucheGröße: {
        QString wert;
        FeldWert(index, lngEintrag, Feld::Größe, FeldModus::Anzeige, wert);
        return wert;
    }
    default:
        return QString();
    }
}
