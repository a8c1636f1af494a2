#include "library/Synchronisieren.h"

#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "library/Hinzufuegen.h"
#include "library/Loeschen.h"
#include "core/Verfuegbarkeit.h"
#include "core/Liste.h"

namespace {
QString Zähler(qint32 entfernt, qint32 hinzugefügt)
{
    return QString::number(entfernt) + QStringLiteral(" Datei(en) entfernt, ") + QString::number(hinzugefügt)
        + QStringLiteral(" Datei(en) hinzugefügt");
}

void abbruchMelden(SyncErgebnis& e)
{
    e.bolAbgebrochen = true;
    e.lngEntfernt = 0;
    StatusMeldungZeigen(QStringLiteral("Synchronisation abgebrochen: ") + Zähler(0, e.lngHinzugefügt), 0);
}

// Entries whose files are gone, or nothing when the run was cancelled. A
// file that cannot be reached is not gone: it goes to `unerreichbar`.
bool fehlendeSuchen(Index& index, QObject* aufrufer, EintragsListe& fehlend, std::vector<NichtErreichbar>& unerreichbar)
{
    // The count may change only through this loop's own removal, but events
    // run at every report: never read past what the index holds now.
    const qint32 anzahl = index.lngIndexAnzahl;
    if (!FortschrittZeigenStarten(anzahl, true, aufrufer, true, false, QStringLiteral("Datei-Existenzen prüfen")))
        return false;
    bolNichtVerfügbarAlleÜberspringen = false;
    for (qint32 i = 1; i <= anzahl; ++i) {
        if (!FortschrittZeigen(i, QString(), aufrufer))
            return false;
        if (i > index.lngIndexAnzahl)
            return false;
        switch (DateiNichtVerfügbarPrüfen(index, i, aufrufer, false)) {
        case 0: {
            int fehler = 0;
            const QString& pfad = index.strIndexPfad[size_t(i)];
            switch (DateiExistenz(pfad, nullptr, &fehler)) {
            case Existenz::Fehlt:
                fehlend.push_back(i);
                break;
            case Existenz::Unbekannt:
                unerreichbar.push_back({pfad, fehler});
                break;
            case Existenz::Vorhanden:
                break;
            }
            break;
        }
        case 1:
            break;
        default:
            return false;
        }
    }
    return true;
}
} // namespace

SyncErgebnis IndexSynchronisieren(Index& index, QObject* aufrufer)
{
    SyncErgebnis e;
    const qint32 vorher = index.lngIndexAnzahl;

    if (index.intSyncLeer != 1 && !index.strSyncOrdner.isEmpty()) {
        // Own copies: the options may be edited while events run.
        const QStringList ordner = index.strSyncOrdner;
        const QList<int> unterordner = index.intSyncUnterordner;
        const QStringList kopierenIn = index.strSyncKopierenInOrdner;
        for (qsizetype i = 0; i < ordner.size(); ++i) {
            QString pfad = ordner[i];
            const bool fertig = EinfachOrdnerHinzufügen(index, pfad, false, unterordner.value(i, 0), false,
                                                        kopierenIn.value(i), true, false);
            if (!fertig) {
                e.lngHinzugefügt = index.lngIndexAnzahl - vorher;
                abbruchMelden(e);
                break;
            }
        }
    } else {
        MeldungZeigen(QStringLiteral("Diese Funktion synchronisiert Ordner mit dem Index und entfernt nicht mehr vorhandene Dateien.\n\n"
                                     "Sie haben jedoch noch keine Ordner zum Synchronisieren angegeben.\n"
                                     "Klicken Sie dazu einfach in den 'Optionen' auf 'Index-Optionen'."),
                      Knöpfe::OK, Symbol::Information, aufrufer);
    }

    if (!e.bolAbgebrochen) {
        e.lngHinzugefügt = index.lngIndexAnzahl - vorher;
        const qint32 nachOrdnern = index.lngIndexAnzahl;
        if (index.lngIndexAnzahl > 0 && index.intSyncDanachEntfernen == 1) {
            EintragsListe fehlend;
            std::vector<NichtErreichbar> unerreichbar;
            if (!fehlendeSuchen(index, aufrufer, fehlend, unerreichbar)) {
                abbruchMelden(e);
            } else if (!fehlend.empty()) {
                DateienAusListeEntfernenStarten(index, fehlend);
            }
            if (!e.bolAbgebrochen) {
                FortschrittZeigenBeenden(aufrufer);
                NichtErreichbareMelden(unerreichbar, aufrufer);
            }
        }
        if (!e.bolAbgebrochen) {
            e.lngEntfernt = nachOrdnern - index.lngIndexAnzahl;
            FortschrittZeigenBeenden(aufrufer);
            StatusMeldungZeigen(QStringLiteral("Syncronisation fertig: ") + Zähler(e.lngEntfernt, e.lngHinzugefügt), 0);
        }
    }

    FortschrittZeigenBeenden(aufrufer);
    if (e.lngEntfernt == 0 && e.lngHinzugefügt == 0)
        return e;
    SucheAktualisieren(false);
    if (e.lngHinzugefügt > 0)
        NeueInListeMarkieren(e.lngHinzugefügt);
    return e;
}
