#include "player/Spielerabfrage.h"

#include "core/Funktionen.h"
#include "player/Statistik.h"
#include "player/Winamp.h"

namespace {

QString positionText(qint32 position, qint32 maximum)
{
    return QStringLiteral("Titelposition - ") + ZeitFormatieren(position, false) + QLatin1Char('/')
        + ZeitFormatieren(maximum, false);
}

SpielerAnzeige leerlauf(const QString& titel, bool bolZiehen)
{
    SpielerAnzeige a;
    a.titel = titel;
    a.knopfText = QStringLiteral("Spielen");
    a.positionText = QStringLiteral("Titelposition");
    if (!bolZiehen) {
        a.balkenSetzen = true;
        a.balkenMaximum = 100;
        a.balkenWert = 1;
    }
    return a;
}

} // namespace

bool RegelmäßigSpeichernFällig(const QDateTime& datLetzte, const QDateTime& datJetzt, qint32 lngMinuten)
{
    if (lngMinuten <= 0 || !datLetzte.isValid())
        return false;
    const qint64 minuten = datJetzt.toSecsSinceEpoch() / 60 - datLetzte.toSecsSinceEpoch() / 60;
    return minuten >= lngMinuten;
}

SpielerAnzeige SpielerAbfragen(Index& index, qint32 balkenMaximum, bool bolZiehen, const QDateTime& datJetzt)
{
    if (!Winamp_Check(false))
        return leerlauf(QStringLiteral("Audio-Player (Winamp nicht aktiv)"), bolZiehen);
    const QString status = WinAMP_GetStatus();
    const bool spielt = status == QLatin1String("PLAYING");
    if (!spielt && status != QLatin1String("PAUSED"))
        return leerlauf(status == QLatin1String("STOPPED") ? QStringLiteral("Audio-Player")
                                                           : QStringLiteral("Audio-Player (Status unbenannt)"),
                        bolZiehen);

    SpielerAnzeige a;
    a.zustand = spielt ? SpielerAnzeige::Zustand::Spielt : SpielerAnzeige::Zustand::Pausiert;
    a.leisteSichtbar = true;
    const qint32 p = WinAMP_GetTrackPosition();
    const qint32 l = WinAMP_GetTrackLength();
    if ((spielt ? l : balkenMaximum) <= 0) {
        a.einzelheiten = false;
        return a;
    }
    qint32 maximum = balkenMaximum;
    if (!bolZiehen) {
        a.balkenSetzen = true;
        // Paused on a title of unknown length the bar keeps its range.
        if (l > 0)
            maximum = l;
        a.balkenMaximum = maximum;
        if (spielt)
            a.balkenWert = (p >= 0 && p < l) ? p : 0;
        else
            a.balkenWert = qBound(0, p, maximum);
    }
    a.positionText = positionText(p, maximum);
    a.knopfText = spielt ? QStringLiteral("Pause") : QStringLiteral("Spielen");
    // Looked up before the text is made, so that a new title never shows
    // the mark of the one before.
    const QString titel = WinampTitelLesen(strWinampDienst);
    WinampDateiErkennen(index, titel, datJetzt, p);
    a.titel = QStringLiteral("Audio-Player - '") + titel
        + (bolWinampDateiErkannt ? QStringLiteral("' - [Erkannt]") : QStringLiteral("'"));
    return a;
}
