#include "core/IndexOeffnen.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/IndexDatei.h"
#include "core/IndexEreignisse.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"

#include <QFileInfo>
#include <sys/stat.h>

namespace {

void gespeichertMelden(QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Die Indexdatei wurde gespeichert."), Knöpfe::OK, Symbol::Information, besitzer);
}

} // namespace

QString IndexDateinameVervollständigen(const QString& text)
{
    if (text.isEmpty())
        return text;
    // absoluteFilePath keeps the name as typed (no symlinks resolved, no
    // trailing separator dropped): a wrong path still reaches the loader.
    return QFileInfo(text).absoluteFilePath();
}

QStringList IndexDateienAuswählen(const QStringList& pfade)
{
    QStringList aus;
    for (const QString& p : pfade)
        if (p.endsWith(QLatin1String(".kvx"), Qt::CaseInsensitive))
            aus << p;
    return aus;
}

bool GleicheIndexDatei(const QString& a, const QString& b)
{
    struct stat sa, sb;
    return DoesExist(a, &sa) && DoesExist(b, &sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool IndexDateiSpeichern(QObject* besitzer)
{
    if (!DateiSpeichern(hauptIndex(), einstellungen().Dateiname, false, besitzer))
        return false;
    gespeichertMelden(besitzer);
    return true;
}

bool IndexKopieErlaubt(const QString& ziel, QObject* besitzer)
{
    const QFileInfo info(ziel);
    if (!(info.exists() || info.isSymLink()) || info.isDir() || GleicheIndexDatei(ziel, einstellungen().Dateiname))
        return true;
    return MeldungZeigen(QStringLiteral("Die Datei '") + ziel + QStringLiteral("' existiert bereits.\n\n")
                             + QStringLiteral("Möchten Sie diese ersetzen?"),
                         Knöpfe::JaNein, Symbol::Ausruf, besitzer)
           == Antwort::Ja;
}

bool IndexDateiSpeichernUnter(const QString& ziel, QObject* besitzer)
{
    Index& idx = hauptIndex();
    if (GleicheIndexDatei(ziel, einstellungen().Dateiname))
        return IndexDateiSpeichern(besitzer);
    // The columns first: a changed layout marks the working file modified,
    // and that mark must survive the copy.
    IndexEreignisMelden(IndexEreignis::VorDemSpeichern, idx);
    const bool geändert = idx.bolIndexGeändert;
    const QDateTime gespeichert = idx.datLetzteSpeicherung;
    const bool ok = DateiSpeichern(idx, ziel, false, besitzer);
    idx.bolIndexGeändert = geändert;
    idx.datLetzteSpeicherung = gespeichert;
    if (ok)
        gespeichertMelden(besitzer);
    return ok;
}

IndexWechsel IndexDateiWechseln(const QString& neueDatei, QObject* besitzer)
{
    Index& idx = hauptIndex();
    Einstellungen& e = einstellungen();
    IndexEreignisMelden(IndexEreignis::VorDemSpeichern, idx);
    // Without a loaded index there is nothing of its own to save.
    if (idx.bolIndexGeladen && idx.bolIndexGeändert) {
        if (e.DateiAutomatischSpeichern == 1) {
            if (!DateiSpeichern(idx, e.Dateiname, false, besitzer))
                return IndexWechsel::Abgebrochen;
        } else {
            switch (MeldungZeigen(QStringLiteral("Die Indexdatei wurde geändert.\nMöchten Sie diese speichern?"),
                                  Knöpfe::JaNeinAbbrechen, Symbol::Frage, besitzer)) {
            case Antwort::Ja:
                if (!DateiSpeichern(idx, e.Dateiname, false, besitzer))
                    return IndexWechsel::Abgebrochen;
                break;
            case Antwort::Nein:
                break;
            default:
                return IndexWechsel::Abgebrochen;
            }
        }
    }
    e.Dateiname = IndexDateinameVervollständigen(neueDatei);
    if (!IndexDateiLaden(besitzer))
        return IndexWechsel::NichtGeladen;
    StatusMeldungZeigen(QStringLiteral("Die Indexdatei wurde geladen"), 0);
    return IndexWechsel::Geladen;
}
