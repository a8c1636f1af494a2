#include "player/Statistik.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/StatusMeldung.h"
#include "core/Felder.h"

#include <exception>
#include <limits>

QString strWinampTitel;
QDateTime datWinampTitelSeit;
bool bolWinampTitelBearbeitet = false;
bool bolWinampDateiErkannt = false;

namespace {

// A title counts once it has been shown for more than this.
constexpr qint64 kMindestSekunden = 30;

const QString kZeitformat = QStringLiteral("dd.MM.yyyy hh:mm:ss");

// The program was restarted while the playback it counted last went on: the
// title is the one counted, and it has played since before that count.
bool schonGezählt(const QString& titel, const QDateTime& jetzt, qint32 position)
{
    const Einstellungen& e = einstellungen();
    if (position < 0 || titel.isEmpty() || titel != e.AbspielStatistikTitel)
        return false;
    const QDateTime gezählt = QDateTime::fromString(e.AbspielStatistikGezählt, kZeitformat);
    if (!gezählt.isValid())
        return false;
    const qint64 seitDerZählung = gezählt.secsTo(jetzt);
    return seitDerZählung >= 0 && seitDerZählung <= position;
}

// An empty field contains nothing; the parts handed in are never empty.
bool enthält(const QString& feld, const QString& teil)
{
    return !feld.isEmpty() && feld.contains(teil, Qt::CaseInsensitive);
}

QString feld(const Index& index, qint32 e, Feld f)
{
    QString wert;
    FeldWert(index, e, f, FeldModus::Sortform, wert);
    return wert;
}

} // namespace

void AbspielenZählen(Index& index, qint32 lngEintrag, const QDateTime& datJetzt)
{
    if (!index.GültigerEintrag(lngEintrag))
        return;
    MedienInfo& m = index.IndexDaten[size_t(lngEintrag)];
    m.Datei_AngefordertGespieltAm = datJetzt.toString(kZeitformat);
    if (m.Datei_AngefordertAnzahl < std::numeric_limits<qint32>::max())
        ++m.Datei_AngefordertAnzahl;
    index.bolIndexGeändert = true;
}

bool WinampDateiErkennen(Index& index, const QString& strTitel, const QDateTime& datJetzt, qint32 lngPosition)
{
    try {
        Einstellungen& e = einstellungen();
        if (e.AbspielStatistikSpeichern == 0) {
            bolWinampDateiErkannt = false;
            return true;
        }
        if (strTitel != strWinampTitel) {
            const bool ersterTitel = !datWinampTitelSeit.isValid();
            strWinampTitel = strTitel;
            datWinampTitelSeit = datJetzt;
            bolWinampTitelBearbeitet = ersterTitel && schonGezählt(strTitel, datJetzt, lngPosition);
            bolWinampDateiErkannt = bolWinampTitelBearbeitet;
        }
        if (bolWinampTitelBearbeitet)
            return true;
        if (datJetzt.toSecsSinceEpoch() - datWinampTitelSeit.toSecsSinceEpoch() <= kMindestSekunden)
            return true;

        // Nothing to look for in a blank title, and "X - " has no song part:
        // an empty text is contained in every field and would count them all.
        const bool leer = strTitel.trimmed().isEmpty();
        QString künstler, lied;
        const qsizetype trenner = strTitel.indexOf(QStringLiteral(" - "));
        if (trenner >= 0) {
            künstler = strTitel.left(trenner).trimmed();
            lied = strTitel.mid(trenner + 3).trimmed();
        }
        const bool teile = !künstler.isEmpty() && !lied.isEmpty();

        qint32 anzahl = 0;
        if (teile) {
            for (qint32 e = 1; e <= index.lngIndexAnzahl; ++e) {
                const MedienInfo& m = index.IndexDaten[size_t(e)];
                if (m.Mp3_ID3v1_Vorhanden != 1 && m.Mp3_ID3v2_Vorhanden != 1)
                    continue;
                if ((enthält(feld(index, e, Feld::Titel), lied) && enthält(feld(index, e, Feld::Interpret), künstler))
                    || (enthält(feld(index, e, Feld::TitelV2), lied)
                        && enthält(feld(index, e, Feld::InterpretV2), künstler))) {
                    AbspielenZählen(index, e, datJetzt);
                    ++anzahl;
                }
            }
        }

        if (anzahl == 0 && !leer) {
            bool ganzerTitel = false;
            for (qint32 e = 1; e <= index.lngIndexAnzahl; ++e) {
                QString name = feld(index, e, Feld::Dateiname);
                name.chop(DateiEndungZurückgeben(name).size());
                if (enthält(name, strTitel)) {
                    AbspielenZählen(index, e, datJetzt);
                    ++anzahl;
                    ganzerTitel = true;
                } else if (teile && anzahl == 0 && !ganzerTitel && enthält(name, lied) && enthält(name, künstler)) {
                    // Only the first entry named by both parts; later ones
                    // count only by the whole title.
                    AbspielenZählen(index, e, datJetzt);
                    anzahl = 1;
                }
            }
        }

        bolWinampDateiErkannt = anzahl > 0;
        if (anzahl > 0) {
            e.AbspielStatistikTitel = strTitel;
            e.AbspielStatistikGezählt = datJetzt.toString(kZeitformat);
        }
        StatusMeldungZeigen(anzahl > 0 ? QStringLiteral("Die derzeit abgespielte Datei wurde ") + QString::number(anzahl)
                                             + QStringLiteral(" Mal erkannt")
                                       : QStringLiteral("Die derzeit abgespielte Datei wurde nicht erkannt"),
                            0);
        bolWinampTitelBearbeitet = true;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
