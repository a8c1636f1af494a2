#include "mainwindow/Optionen.h"

#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/Standardwerte.h"
#include "core/Verfuegbarkeit.h"
#include "media/MedienInfosLesen.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// A number as the user may type it ("12", " 12.5 ", "1e3"); nothing for
// text, an empty field, infinity or NaN.
std::optional<double> zahl(const QString& text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double d = c.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

int ziffer(const QString& text, int stelle)
{
    if (stelle >= text.size())
        return 0;
    const QChar c = text[stelle];
    return c >= QLatin1Char('1') && c <= QLatin1Char('9') ? 1 : 0;
}

constexpr qint32 kGrößteZahl = std::numeric_limits<qint32>::max();
constexpr qint32 kKleinsteZahl = std::numeric_limits<qint32>::min();

} // namespace

// --- program options ------------------------------------------------------------

LeseFlags LeseFlagsAnzeigen(const QString& t)
{
    if (!zahl(t) || t.size() < 3)
        return {1, 0, 1};
    return {ziffer(t, 0), ziffer(t, 1), ziffer(t, 2)};
}

QString LeseFlagsText(const LeseFlags& f)
{
    QString t;
    for (int v : f)
        t += v ? QLatin1Char('1') : QLatin1Char('0');
    return t;
}

bool LeseFlagsNeuAn(const QString& alt, const LeseFlags& neu)
{
    for (int i = 0; i < 3; ++i)
        if (neu[size_t(i)] > ziffer(alt, i))
            return true;
    return false;
}

QString TagZahlenPrüfen(const QString& prozentText, const QString& bytesText, qint32& prozent, qint32& bytes)
{
    const QString feldProzent = QStringLiteral("'Prozent des neuen TAGs in Bytes hinzufügen'");
    const std::optional<double> p = zahl(prozentText);
    if (!p)
        return QStringLiteral("Bitte geben Sie eine Zahl in das Feld ") + feldProzent + QStringLiteral(" ein.");
    if (*p < 0 || *p > 100)
        return QStringLiteral("Bitte geben Sie eine Zahl zwischen 0 und 100 in das Feld ") + feldProzent
               + QStringLiteral(" ein.");
    // Any number: rounded to a whole one, which the setting must hold (0 and
    // less search the whole file).
    const QString feldBytes = QStringLiteral("'Bytes vom Datei-Anfang an nach TAG suchen'");
    const QString ganzeDatei = QStringLiteral("\nGeben Sie '0' ein, um die gesamte Datei zu durchsuchen.");
    const std::optional<double> b = zahl(bytesText);
    if (!b)
        return QStringLiteral("Bitte geben Sie eine Zahl in das Feld ") + feldBytes + QStringLiteral(" ein.")
               + ganzeDatei;
    const double wert = std::round(*b);
    if (wert > kGrößteZahl)
        return QStringLiteral("Die Zahl im Feld ") + feldBytes + QStringLiteral(" ist zu groß (höchstens ")
               + QString::number(kGrößteZahl) + QStringLiteral(").") + ganzeDatei;
    if (wert < kKleinsteZahl)
        return QStringLiteral("Die Zahl im Feld ") + feldBytes + QStringLiteral(" ist zu klein (mindestens ")
               + QString::number(kKleinsteZahl) + QStringLiteral(").") + ganzeDatei;
    prozent = qint32(std::lround(*p));
    bytes = qint32(wert);
    return QString();
}

qint32 SpeichernMinutenLesen(bool angehakt, const QString& text)
{
    const std::optional<double> m = zahl(text);
    if (!angehakt || !m || *m < 1)
        return 0;
    const double gerundet = std::round(*m);
    return gerundet > kGrößteZahl ? 0 : qint32(gerundet);
}

FarbWerte FarbWerteLesen(const Einstellungen& e)
{
    return {e.FarbeFunktionen, e.FarbeFunktionenHintergrund, e.FarbeListen, e.FarbeListenHintergrund,
            e.FarbeÜberschrift, e.FarbeBeschreibungen, e.FarbeFunktionenBesucht, e.FunktionenUnterstreichen};
}

FarbWerte FarbWerteAusProfil(int nummer)
{
    const auto& profile = standardwerte().FarbProfile;
    const FarbProfil& p = profile[size_t(nummer >= 1 && nummer < int(profile.size()) ? nummer : 1)];
    return {p.Farben[0], p.Farben[1], p.Farben[2], p.Farben[3], p.Farben[4], p.Farben[5], p.Farben[6],
            p.Unterstreichen};
}

void FarbWerteSetzen(Einstellungen& e, const FarbWerte& f)
{
    e.FarbeFunktionen = f.Funktionen;
    e.FarbeFunktionenHintergrund = f.FunktionenHintergrund;
    e.FarbeListen = f.Listen;
    e.FarbeListenHintergrund = f.ListenHintergrund;
    e.FarbeÜberschrift = f.Überschrift;
    e.FarbeBeschreibungen = f.Beschreibungen;
    e.FarbeFunktionenBesucht = f.FunktionenBesucht;
    e.FunktionenUnterstreichen = f.Unterstreichen;
}

bool StatistikLöschen(Index& idx)
{
    if (idx.lngIndexAnzahl < 1)
        return false;
    for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i) {
        MedienInfo& m = idx.IndexDaten[size_t(i)];
        m.Datei_AngefordertAnzahl = 0;
        m.Datei_AngefordertGespieltAm.clear();
    }
    // The cleared values must reach the file: otherwise the next save would
    // be skipped and the old statistics would come back with the next load.
    idx.bolIndexGeändert = true;
    return true;
}

void DateienNeuEinlesen(Index& idx, QObject* aufrufer)
{
    const QString lesen = einstellungen().Mp3TagLesen;
    const QString tags = QStringLiteral("1") + lesen.mid(1, 1);
    const QString kopf = lesen.mid(2, 1);
    // An earlier "skip all" belongs to another run.
    bolNichtVerfügbarAlleÜberspringen = false;
    FortschrittZeigenStarten(idx.lngIndexAnzahl, true, aufrufer, true, true, QStringLiteral("Lese Dateien"));
    for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i) {
        const int verfügbar = DateiNichtVerfügbarPrüfen(idx, i, aufrufer, true);
        if (verfügbar == 2)
            break;
        // Events ran during the question: the index may have shrunk.
        if (i > idx.lngIndexAnzahl)
            break;
        if (verfügbar != 1) {
            idx.bolIndexGeändert = true;
            idx.IndexDaten[size_t(i)] =
                MedienInfosLesen(idx, idx.strIndexPfad[size_t(i)], idx.IndexDaten[size_t(i)], tags, false, kopf, kopf);
        }
        if (!FortschrittZeigen(i, idx.strIndexPfad[size_t(i)], aufrufer))
            break;
    }
    FortschrittZeigenBeenden(aufrufer);
}

// --- option lines -------------------------------------------------------------------

bool OptionsTextErlaubt(const QString& text, bool endung)
{
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return false;
    return !(endung && text.contains(QLatin1Char('=')));
}

QString OptionsTextFehler(bool endung)
{
    return endung ? QStringLiteral("Eine Datei-Endung darf weder die Zeichen ',' und '=' noch einen Zeilenumbruch "
                                   "enthalten.")
                  : QStringLiteral("Ein Ordner darf weder das Zeichen ',' noch einen Zeilenumbruch im Namen "
                                   "enthalten.\nBitte wählen Sie einen anderen Ordner.");
}

// --- index options --------------------------------------------------------------------

IndexOptionenArbeit IndexOptionenLesen(const Index& idx, int beiDoppelklick)
{
    const Standardwerte& s = standardwerte();
    IndexOptionenArbeit a;
    a.beiDoppelklick = beiDoppelklick == 0 || beiDoppelklick == 1 ? 0
                       : beiDoppelklick == 2 || beiDoppelklick == 3 ? beiDoppelklick
                                                                    : 4;

    if (idx.intSyncLeer != 1)
        for (qsizetype k = 0; k < idx.strSyncOrdner.size(); ++k)
            a.sync.push_back({idx.strSyncOrdner[k], idx.intSyncUnterordner.value(k),
                              idx.strSyncKopierenInOrdner.value(k)});
    a.syncDanachEntfernen = idx.intSyncDanachEntfernen;

    if (idx.intDateiTypenLeer != 1)
        for (qsizetype i = 0; i < idx.strDateiTypen.size(); ++i) {
            const QString& t = idx.strDateiTypen[i];
            DateitypEintrag d;
            d.an = t.endsWith(QLatin1Char('1'));
            d.arten = idx.strDateiTypArten.value(i);
            if (t.startsWith(QLatin1String("*="))) {
                d.text = AlleWeiterenText();
                d.eingebaut = d.alleWeiteren = true;
            } else {
                d.text = t.section(QLatin1Char('='), 0, 0);
                // Built in: the default type at the same place.
                d.eingebaut = i < s.strStandardDateiTypen.size()
                              && TextGleich(d.text, s.strStandardDateiTypen[i].section(QLatin1Char('='), 0, 0));
            }
            a.typen.push_back(d);
        }

    for (int n = 1; n <= s.AnzahlSpalten(); ++n)
        a.spalten.push_back({s.strSpaltenNamen[size_t(n)], false, 0, n});
    std::vector<OptionenSpalte> gelesen;
    if (OptionenSpaltenEinsetzen(idx, gelesen))
        for (const OptionenSpalte& sp : gelesen)
            if (sp.nummer >= 1 && sp.nummer <= int(a.spalten.size()))
                a.spalten[size_t(sp.nummer - 1)] = sp;
    a.leiste = idx.intSpaltenLeiste == 1;
    a.gitter = idx.intSpaltenGitter == 1;
    a.nutzerformat = idx.strSpaltenNutzerformat;
    return a;
}

QString IndexOptionenPrüfen(const IndexOptionenArbeit& a)
{
    if (std::none_of(a.spalten.begin(), a.spalten.end(), [](const OptionenSpalte& s) { return s.an; }))
        return QStringLiteral("Bitte wählen Sie mindestens eine Spalte zur Anzeige aus.");
    if (a.nutzerformat.isEmpty())
        return QStringLiteral("Bitte geben Sie einen Text in das Feld 'Format der benutzerdefinierten Spalte' ein.");
    for (const DateitypEintrag& d : a.typen)
        if (d.text.isEmpty())
            return QStringLiteral("Bitte geben Sie in jedes Feld in der Liste 'Dateitypen verwalten' eine "
                                  "Datei-Endung ein.");
    for (const DateitypEintrag& d : a.typen)
        if (!d.alleWeiteren && !OptionsTextErlaubt(d.text, true))
            return OptionsTextFehler(true);
    for (const SyncOrdnerEintrag& o : a.sync)
        if (!OptionsTextErlaubt(o.ordner, false) || !OptionsTextErlaubt(o.kopierenInOrdner, false))
            return OptionsTextFehler(false);
    return QString();
}

bool IndexOptionenÜbernehmen(const IndexOptionenArbeit& a, Index& idx, int& beiDoppelklick)
{
    const Standardwerte& s = standardwerte();
    beiDoppelklick = a.beiDoppelklick;

    idx.strDateiTypen.clear();
    idx.strDateiTypArten.clear();
    idx.intDateiTypenLeer = a.typen.empty() ? 1 : 0;
    for (const DateitypEintrag& d : a.typen) {
        const QString haken = d.an ? QStringLiteral("1") : QStringLiteral("0");
        idx.strDateiTypen << (d.alleWeiteren ? QStringLiteral("*=") : d.text + QLatin1Char('=')) + haken;
        idx.strDateiTypArten << (d.arten.isEmpty() ? QStringLiteral("000") : d.arten);
    }

    idx.strSyncOrdner.clear();
    idx.intSyncUnterordner.clear();
    idx.strSyncKopierenInOrdner.clear();
    idx.intSyncLeer = a.sync.empty() ? 1 : 0;
    for (const SyncOrdnerEintrag& o : a.sync) {
        idx.strSyncOrdner << o.ordner;
        idx.intSyncUnterordner << o.unterordner;
        idx.strSyncKopierenInOrdner << o.kopierenInOrdner;
    }
    idx.intSyncDanachEntfernen = a.syncDanachEntfernen;

    QStringList items;
    for (size_t i = 0; i < a.spalten.size(); ++i) {
        const OptionenSpalte& sp = a.spalten[i];
        const qint32 standard = i + 1 < s.lngSpaltenBreiten.size() ? s.lngSpaltenBreiten[i + 1] : 0;
        const qint32 breite = !sp.an ? 0 : sp.breite > 0 ? sp.breite : standard > 0 ? standard : 1400;
        items << QString::number(i + 1) + QLatin1Char('=') + QString::number(breite);
    }
    idx.strSpalten = items.join(QLatin1Char(','));
    idx.intSpaltenLeiste = a.leiste ? 1 : 0;
    idx.intSpaltenGitter = a.gitter ? 1 : 0;
    const bool formatGeändert = a.nutzerformat != idx.strSpaltenNutzerformat;
    idx.strSpaltenNutzerformat = a.nutzerformat;
    idx.bolIndexGeändert = true;
    return formatGeändert;
}
