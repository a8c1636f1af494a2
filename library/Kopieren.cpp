#include "library/Kopieren.h"

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/Verfuegbarkeit.h"
#include "library/Besitzer.h"
#include "library/Verschieben.h"
#include "media/AutoTag.h"

#include <QSet>

QString KopierenOrdnerPrüfen(const QString& strOrdner, QString& strMeldung)
{
    strMeldung.clear();
    // A relative folder would be taken from wherever the program runs.
    if (strOrdner.isEmpty() || !strOrdner.startsWith(QChar(kPfadTrenner))) {
        strMeldung = QStringLiteral("Bitte geben Sie einen Zielordner ein.");
        return QString();
    }
    return strOrdner.endsWith(QChar(kPfadTrenner)) ? strOrdner : strOrdner + QChar(kPfadTrenner);
}

void DateienKopieren(Index& index, const EintragsListe& einträge, const QString& strOrdner, bool bolVerschieben,
                     std::vector<EintragsErgebnis>* ergebnis)
{
    QObject* besitzer = BibliotheksBesitzer();
    einstellungen().KopierenOrdner = strOrdner;
    einstellungen().KopierenModus = bolVerschieben ? 1 : 0;
    bolNichtVerfügbarAlleÜberspringen = false;
    const EintragsListe& liste = einträge;
    ErgebnisseVorbereiten(ergebnis, index, liste);
    // Entries that named a replaced file leave the index when the run ends;
    // until then every number stays what it was.
    ZielEinträgeLauf ziele(index);
    const qint32 anzahl = qint32(liste.size());
    FortschrittZeigenStarten(anzahl, true, besitzer, true, true, QStringLiteral("Dateien kopieren/verschieben"));
    for (qint32 i = 0; i < anzahl; ++i) {
        const qint32 eintrag = liste[size_t(i)];
        if (!index.GültigerEintrag(eintrag) || ziele.Entfernt(eintrag))
            continue;
        const int verfügbar = DateiNichtVerfügbarPrüfen(index, eintrag, besitzer, false);
        if (verfügbar == 1)
            continue;
        if (verfügbar == 2)
            break;
        const QString pfad = index.strIndexPfad[size_t(eintrag)];
        if (!FortschrittZeigen(i + 1, DateinameZurückgeben(pfad), besitzer))
            return; // cancelled: the list stays as it is
        QString ziel = strOrdner + DateinameZurückgeben(pfad);
        int modus = bolVerschieben ? 1 : 0;
        QString meldung;
        if (!DateiVerschieben(pfad, ziel, modus, meldung)) {
            const QString text = QStringLiteral("Beim Kopieren ist ein Fehler aufgetreten: \n") + meldung;
            if (i + 1 < anzahl) {
                if (MeldungZeigen(text + QStringLiteral("\n\nMöchten Sie mit der nächsten Datei fortfahren?"),
                                  Knöpfe::JaNein, Symbol::Ausruf, besitzer)
                    != Antwort::Ja)
                    break;
            } else {
                MeldungZeigen(text, Knöpfe::OK, Symbol::Ausruf, besitzer);
            }
            continue;
        }
        if (ergebnis)
            (*ergebnis)[size_t(i)] = {true, ziel};
        MedienInfo& info = index.IndexDaten[size_t(eintrag)];
        if (modus == 1) {
            index.bolIndexGeändert = true;
            ziele.PfadSetzen(eintrag, ziel);
        }
        info.Datei_Datenträger = DatenträgerNameZurückgeben(LaufwerkZurückgeben(index.strIndexPfad[size_t(eintrag)]));
        if (ziel != pfad)
            ziele.ZielErneuern(ziel, modus == 1 ? eintrag : 0);
        OrdnerLöschenFragen(PfadZurückgeben(pfad));
    }
    ziele.Abschließen();
    FortschrittZeigenBeenden(besitzer);
    BeschreibungAktualisieren();
    SucheAktualisieren(false);
}

QStringList ZielordnerFinden(const Index& index, qint32 lngEintrag, const QStringList& wörter)
{
    QStringList liste;
    if (!index.GültigerEintrag(lngEintrag))
        return liste;
    const QString eigener = PfadZurückgeben(index.strIndexPfad[size_t(lngEintrag)]);
    liste.append(eigener);
    QStringList suche;
    for (const QString& w : wörter) {
        // An empty word is in every path: it says nothing.
        if (!w.trimmed().isEmpty())
            suche.append(w);
    }
    if (suche.isEmpty())
        return liste;
    // Each folder is looked at once, however many entries it holds; a
    // candidate is known by its case-folded form.
    QSet<QString> gesehen;
    QSet<QString> kandidaten;
    for (qint32 i = 1; i <= index.lngIndexAnzahl; ++i) {
        const QString ordner = PfadZurückgeben(index.strIndexPfad[size_t(i)]);
        if (gesehen.contains(ordner))
            continue;
        gesehen.insert(ordner);
        bool passt = false;
        for (const QString& w : suche) {
            if (ordner.contains(w, Qt::CaseInsensitive)) {
                passt = true;
                break;
            }
        }
        if (!passt)
            continue;
        const QString schlüssel = ordner.toCaseFolded();
        if (kandidaten.contains(schlüssel))
            continue;
        kandidaten.insert(schlüssel);
        if (ordner != eigener)
            liste.append(ordner);
    }
    return liste;
}

QStringList ZielordnerVorschlagen(const Index& index, qint32 lngEintrag)
{
    if (!index.GültigerEintrag(lngEintrag))
        return {};
    const MedienInfo& m = index.IndexDaten[size_t(lngEintrag)];
    QStringList wörter;
    if (m.Mp3_ID3v1_Vorhanden == 1) {
        for (const QString& w : {m.Mp3_ID3v1_Interpret, m.Mp3_ID3v1_Album})
            if (!w.isEmpty())
                wörter.append(w);
    } else {
        DateinamenLesen(DateinameZurückgeben(index.strIndexPfad[size_t(lngEintrag)]), wörter, false);
    }
    return ZielordnerFinden(index, lngEintrag, wörter);
}
