#include "library/Loeschen.h"

#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "library/Besitzer.h"
#include "core/Dateihelfer.h"
#include "library/Hinzufuegen.h"
#include "core/Verfuegbarkeit.h"
#include "core/Liste.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>
#include <sys/stat.h>

namespace {

// Only a real folder that was listed and found empty is offered for removal:
// a link to a folder is no folder that could be removed.
bool EchterLeererOrdner(const QString& ordner)
{
    QString ohneTrenner = ordner;
    while (ohneTrenner.size() > 1 && ohneTrenner.endsWith(QChar(kPfadTrenner)))
        ohneTrenner.chop(1);
    struct stat st;
    return !ohneTrenner.isEmpty() && ::lstat(QFile::encodeName(ohneTrenner).constData(), &st) == 0
        && S_ISDIR(st.st_mode) && OrdnerLeer(ordner);
}

// After the trash run: asks about a folder that is empty now.
void OrdnerNachPapierkorbAnbieten(const QString& ordner)
{
    if (!EchterLeererOrdner(ordner))
        return;
    if (MeldungZeigen(QStringLiteral("Der Ordner '") + ordner
                          + QStringLiteral("' ist (nun) leer.\nMöchten Sie diesen entfernen?"),
                      Knöpfe::JaNein, Symbol::Frage, BibliotheksBesitzer())
        != Antwort::Ja)
        return;
    if (!OrdnerLöschen(ordner))
        MeldungZeigen(QStringLiteral("Der Ordner '") + ordner + QStringLiteral("' konnte nicht gelöscht werden."),
                      Knöpfe::OK, Symbol::Ausruf, BibliotheksBesitzer());
}

// Sends one file to the trash. Where no trash folder can be made, Qt moves
// the file into "files" under the working folder and reports success: such a
// file is moved back, so that it counts as not deleted.
void InDenPapierkorb(const QString& pfad)
{
    QString ziel;
    if (!QFile::moveToTrash(pfad, &ziel) || !QFileInfo(ziel).isRelative())
        return;
    const QFileInfo verirrt(ziel);
    if (!QFile::rename(verirrt.absoluteFilePath(), pfad))
        return;
    const QString info = QDir::cleanPath(verirrt.absolutePath() + QStringLiteral("/../info"));
    QFile::remove(PfadVerbinden(info, verirrt.fileName() + QStringLiteral(".trashinfo")));
    // The two folders it made there go again when nothing else is in them.
    QDir().rmdir(verirrt.absolutePath());
    QDir().rmdir(info);
}

QString PapierkorbFrage(const QStringList& pfade)
{
    if (pfade.size() == 1)
        return QStringLiteral("Möchten Sie die Datei '") + pfade.first()
            + QStringLiteral("' wirklich in den Papierkorb verschieben?");
    return QStringLiteral("Möchten Sie diese ") + QString::number(pfade.size())
        + QStringLiteral(" Elemente wirklich in den Papierkorb verschieben?");
}

} // namespace

void ListeAbNullen(EintragsListe& lngEinträge, size_t ab)
{
    for (size_t k = ab; k < lngEinträge.size(); ++k)
        lngEinträge[k] = 0;
}

int LaufVerfügbarkeit(const Index& index, EintragsListe& lngEinträge, size_t i, QObject* besitzer,
                      bool bolFehlendÜberspringen)
{
    if (!index.GültigerEintrag(lngEinträge[i])) {
        lngEinträge[i] = 0;
        return 1;
    }
    const int verfügbar = DateiNichtVerfügbarPrüfen(index, lngEinträge[i], besitzer, bolFehlendÜberspringen);
    if (verfügbar == 2)
        ListeAbNullen(lngEinträge, i);
    return verfügbar;
}

LaufDatei LaufDateiPrüfen(const Index& index, EintragsListe& lngEinträge, size_t i, QObject* besitzer,
                          qint32& unerreichbar)
{
    const int verfügbar = LaufVerfügbarkeit(index, lngEinträge, i, besitzer, false);
    if (verfügbar == 2)
        return LaufDatei::Ende;
    if (lngEinträge[i] <= 0)
        return LaufDatei::Übersprungen;
    const QString& pfad = index.strIndexPfad[size_t(lngEinträge[i])];
    // A stored path of another system names no file here, whatever the
    // working folder holds.
    if (!pfad.startsWith(QChar(kPfadTrenner)))
        return verfügbar == 1 ? LaufDatei::Übersprungen : LaufDatei::Fehlt;
    int fehler = 0;
    switch (DateiExistenz(pfad, nullptr, &fehler)) {
    case Existenz::Vorhanden:
        return verfügbar == 1 ? LaufDatei::Übersprungen : LaufDatei::Da;
    case Existenz::Fehlt:
        return verfügbar == 1 ? LaufDatei::Übersprungen : LaufDatei::Fehlt;
    case Existenz::Unbekannt:
        break;
    }
    // Not reached is not gone: the entry stays, also after "skip".
    lngEinträge[i] = 0;
    ++unerreichbar;
    const bool letzte = i + 1 == lngEinträge.size();
    const QString text = NichtErreichbarText(pfad, fehler) + QStringLiteral("\nIhr Eintrag bleibt im Index.");
    if (letzte) {
        MeldungZeigen(text, Knöpfe::OK, Symbol::Ausruf, besitzer);
        return LaufDatei::Unerreichbar;
    }
    if (MeldungZeigen(text + QStringLiteral("\n\nMöchten Sie mit der nächsten Datei fortfahren?"), Knöpfe::JaNein,
                      Symbol::Ausruf, besitzer)
        == Antwort::Ja)
        return LaufDatei::Unerreichbar;
    ListeAbNullen(lngEinträge, i + 1);
    return LaufDatei::Ende;
}

qint32 DateienLöschen(Index& index, EintragsListe& lngEinträge, int intModus, bool bolAusIndexEntfernen,
                      bool bolÜbersprungeneBehalten)
{
    bolNichtVerfügbarAlleÜberspringen = false;
    QObject* besitzer = BibliotheksBesitzer();
    // Numbers that name no entry are left alone.
    for (qint32& e : lngEinträge) {
        if (!index.GültigerEintrag(e))
            e = 0;
    }

    qint32 unerreichbar = 0;
    if (intModus == 1) {
        for (size_t i = 0; i < lngEinträge.size(); ++i) {
            const LaufDatei lauf = LaufDateiPrüfen(index, lngEinträge, i, besitzer, unerreichbar);
            if (lauf == LaufDatei::Ende)
                break;
            if (lauf == LaufDatei::Übersprungen && bolÜbersprungeneBehalten)
                lngEinträge[i] = 0;
            // A missing (or skipped) file leaves the index like a deleted one.
            if (lauf != LaufDatei::Da)
                continue;
            const QString pfad = index.strIndexPfad[size_t(lngEinträge[i])];
            if (DateiLöschen(pfad)) {
                OrdnerLöschenFragen(PfadZurückgeben(pfad));
                continue;
            }
            lngEinträge[i] = 0;
            if (!LöschfehlerWeiterFragen(pfad, besitzer)) {
                ListeAbNullen(lngEinträge, i + 1);
                break;
            }
            OrdnerLöschenFragen(PfadZurückgeben(pfad));
        }
    } else if (intModus == 2) {
        unerreichbar = DateiInPapierkorb(index, lngEinträge, bolÜbersprungeneBehalten);
    }

    if (bolAusIndexEntfernen)
        DateienAusListeEntfernenStarten(index, lngEinträge);
    return unerreichbar;
}

qint32 DateiInPapierkorb(Index& index, EintragsListe& lngEinträge, bool bolÜbersprungeneBehalten)
{
    bolNichtVerfügbarAlleÜberspringen = false;
    QObject* besitzer = BibliotheksBesitzer();

    // The folders of all listed entries, before anything moves.
    std::vector<QString> ordner;
    ordner.reserve(lngEinträge.size());
    for (qint32 e : lngEinträge)
        ordner.push_back(index.GültigerEintrag(e) ? PfadZurückgeben(index.strIndexPfad[size_t(e)]) : QString());

    // Collect; an abort keeps the rest of the list out of the run.
    std::vector<size_t> gesammelt;
    QStringList pfade;
    qint32 unerreichbar = 0;
    for (size_t i = 0; i < lngEinträge.size(); ++i) {
        const LaufDatei lauf = LaufDateiPrüfen(index, lngEinträge, i, besitzer, unerreichbar);
        if (lauf == LaufDatei::Ende)
            break;
        if (lauf == LaufDatei::Übersprungen && bolÜbersprungeneBehalten)
            lngEinträge[i] = 0;
        if (lauf == LaufDatei::Da) {
            gesammelt.push_back(i);
            pfade.append(index.strIndexPfad[size_t(lngEinträge[i])]);
        }
    }
    if (pfade.isEmpty())
        return unerreichbar;

    if (MeldungZeigen(PapierkorbFrage(pfade), Knöpfe::JaNein, Symbol::Frage, besitzer) != Antwort::Ja) {
        for (size_t i : gesammelt)
            lngEinträge[i] = 0;
        return unerreichbar;
    }
    // The trash folder is made inside the user's data folder, which a fresh
    // account may not have yet.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    for (qsizetype k = 0; k < pfade.size(); ++k) {
        InDenPapierkorb(pfade[k]);
        // Only a file that is gone went: one that cannot be looked at now stays indexed.
        if (DateiExistenz(pfade[k]) == Existenz::Fehlt)
            continue;
        // Whatever is still there keeps its entry, and the user hears of it
        // as of a failed deletion.
        lngEinträge[gesammelt[size_t(k)]] = 0;
        if (LöschfehlerWeiterFragen(pfade[k], besitzer))
            continue;
        for (qsizetype rest = k + 1; rest < pfade.size(); ++rest)
            lngEinträge[gesammelt[size_t(rest)]] = 0;
        break;
    }

    // Offer each folder once the walk leaves it.
    QString vorheriger;
    bool erster = true;
    for (const QString& o : ordner) {
        if (o.isEmpty())
            continue;
        if (!erster && o != vorheriger)
            OrdnerNachPapierkorbAnbieten(vorheriger);
        vorheriger = o;
        erster = false;
    }
    if (!erster)
        OrdnerNachPapierkorbAnbieten(vorheriger);
    return unerreichbar;
}

bool LöschfehlerWeiterFragen(const QString& pfad, QObject* besitzer)
{
    return MeldungZeigen(QStringLiteral("Dei Datei '") + pfad
                             + QStringLiteral("' konnte nicht gelöscht werden.\nMöchten Sie mit der nächsten fortfahren?"),
                         Knöpfe::JaNein, Symbol::Ausruf, besitzer)
        == Antwort::Ja;
}

bool OrdnerLöschenFragen(const QString& strOrdner)
{
    const QString ordner = PfadVerbinden(strOrdner, QString());
    if (strOrdner.isEmpty() || !EchterLeererOrdner(ordner))
        return false;
    if (MeldungZeigen(QStringLiteral("Der Ordner '") + ordner
                          + QStringLiteral("' ist (nun) leer.\nMöchten Sie diesen entfernen?"),
                      Knöpfe::JaNein, Symbol::Ausruf, BibliotheksBesitzer())
        != Antwort::Ja)
        return true;
    if (OrdnerLöschen(ordner))
        return true;
    MeldungZeigen(QStringLiteral("Der Ordner '") + ordner
                      + QStringLiteral("' konnte nicht gelöscht werden.\nMöglicherweise ist dieser schreibgeschützt oder "
                                       "es befinden sich noch (versteckte) Dateien darin."),
                  Knöpfe::OK, Symbol::Ausruf, BibliotheksBesitzer());
    return false;
}

void DateienAusListeEntfernenStarten(Index& index, const EintragsListe& lngEinträge)
{
    const qint32 entfernt = index.EinträgeEntfernen(lngEinträge);
    // Entry numbers above a removed one have changed.
    listenZustand().AuswahlLeeren();
    if (entfernt > 0)
        IndexGeändertAnzeigen(index);
    else
        SucheAktualisieren(false);
}

void EintragsNummernAnpassen(EintragsListe& lngEinträge, const EintragsListe& entfernt)
{
    for (qint32& e : lngEinträge) {
        if (e <= 0)
            continue;
        qint32 davor = 0;
        bool weg = false;
        for (const qint32 r : entfernt) {
            weg = weg || r == e;
            davor += r < e ? 1 : 0;
        }
        e = weg ? 0 : e - davor;
    }
}

namespace {

// Of the entries `andere` (ascending) that name `strZiel` besides the moved
// one, the one that names it afterwards takes the file's record; returns
// those that leave the index.
EintragsListe ZielEintragErneuern(Index& index, const QString& strZiel, qint32 lngVerschoben, EintragsListe andere)
{
    if (andere.empty())
        return andere;
    const bool verschoben = index.GültigerEintrag(lngVerschoben);
    const qint32 bleibt = verschoben ? lngVerschoben : andere.front();
    if (!verschoben)
        andere.erase(andere.begin());
    MedienInfo& info = index.IndexDaten[size_t(bleibt)];
    info = WieBeimHinzufügenLesen(index, strZiel, verschoben ? info : LeereMedienInfo());
    index.bolIndexGeändert = true;
    return andere;
}

} // namespace

EintragsListe ZielEinträgeErneuern(Index& index, const QString& strZiel, qint32 lngVerschoben)
{
    EintragsListe andere;
    for (qint32 e = 1; e <= index.lngIndexAnzahl; ++e) {
        if (e != lngVerschoben && index.strIndexPfad[size_t(e)] == strZiel)
            andere.push_back(e);
    }
    andere = ZielEintragErneuern(index, strZiel, lngVerschoben, std::move(andere));
    if (!andere.empty())
        DateienAusListeEntfernenStarten(index, andere);
    return andere;
}

void ZielEinträgeLauf::nachschlagenBauen()
{
    m_gebaut = true;
    m_anfang.clear();
    m_anfang.reserve(size_t(m_index.lngIndexAnzahl));
    for (qint32 e = 1; e <= m_index.lngIndexAnzahl; ++e)
        m_anfang.emplace_back(qHash(m_index.strIndexPfad[size_t(e)]), e);
    std::sort(m_anfang.begin(), m_anfang.end());
    m_gesetzt.clear();
    m_weg.assign(size_t(m_index.lngIndexAnzahl) + 1, 0);
}

void ZielEinträgeLauf::PfadSetzen(qint32 eintrag, const QString& pfad)
{
    if (!m_index.GültigerEintrag(eintrag))
        return;
    m_index.strIndexPfad[size_t(eintrag)] = pfad;
    if (m_gebaut)
        m_gesetzt.emplace(qHash(pfad), eintrag);
}

void ZielEinträgeLauf::ZielErneuern(const QString& strZiel, qint32 lngVerschoben)
{
    if (!m_gebaut)
        nachschlagenBauen();
    const size_t h = qHash(strZiel);
    EintragsListe andere;
    const auto nehmen = [&](qint32 e) {
        if (e != lngVerschoben && !Entfernt(e) && m_index.GültigerEintrag(e)
            && m_index.strIndexPfad[size_t(e)] == strZiel)
            andere.push_back(e);
    };
    for (auto it = std::lower_bound(m_anfang.cbegin(), m_anfang.cend(), std::pair<size_t, qint32>(h, 0));
         it != m_anfang.cend() && it->first == h; ++it)
        nehmen(it->second);
    const auto [von, bis] = m_gesetzt.equal_range(h);
    for (auto it = von; it != bis; ++it)
        nehmen(it->second);
    // In index order, each once, as a walk over the index finds them.
    std::sort(andere.begin(), andere.end());
    andere.erase(std::unique(andere.begin(), andere.end()), andere.end());
    for (const qint32 e : ZielEintragErneuern(m_index, strZiel, lngVerschoben, std::move(andere))) {
        m_weg[size_t(e)] = 1;
        m_entfernt.push_back(e);
    }
}

EintragsListe ZielEinträgeLauf::Abschließen()
{
    EintragsListe entfernt;
    entfernt.swap(m_entfernt);
    if (!entfernt.empty()) {
        DateienAusListeEntfernenStarten(m_index, entfernt);
        m_gebaut = false;
        m_anfang.clear();
        m_gesetzt.clear();
        m_weg.clear();
    }
    return entfernt;
}

void ErgebnisseVorbereiten(std::vector<EintragsErgebnis>* ergebnis, const Index& index,
                           const EintragsListe& lngEinträge)
{
    if (!ergebnis)
        return;
    ergebnis->assign(lngEinträge.size(), {});
    for (size_t i = 0; i < lngEinträge.size(); ++i)
        if (index.GültigerEintrag(lngEinträge[i]))
            (*ergebnis)[i].pfad = index.strIndexPfad[size_t(lngEinträge[i])];
}
