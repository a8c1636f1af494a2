#include "player/Winamp.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "player/SpielerBackend.h"

#include <QDBusObjectPath>
#include <QUrl>
#include <QVariantMap>
#include <limits>

QString strWinampDienst;

namespace {

// Players known to speak MPRIS under their program's name, also before they run.
const QStringList kMprisSpieler = {QStringLiteral("audacious"), QStringLiteral("vlc")};

// How long a started player is waited for, and the pause between looks.
constexpr qint64 kStartWartezeit = 5000;
constexpr int kSuchPause = 100;

QVariantMap metadaten()
{
    return spielerBackend().Eigenschaft(strWinampDienst, QStringLiteral("Metadata")).toMap();
}

QString spurKennung(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return v.value<QDBusObjectPath>().path();
    return v.toString();
}

} // namespace

namespace {

// The player's name as the program file gives it ("" for none).
QString spielerName(const QString& strProgramm) { return DateinameZurückgeben(strProgramm).toLower(); }

// 2: the bus name is the player's own, 1: an instance of it or a player whose
// desktop entry names it (also as the last part of a reverse-domain name),
// 0: another player.
int passt(SpielerBackend& b, const QString& dienst, const QString& name)
{
    if (name.isEmpty() || !dienst.startsWith(kMprisPräfix))
        return 0;
    const QString eigen = kMprisPräfix + name;
    if (dienst.compare(eigen, Qt::CaseInsensitive) == 0)
        return 2;
    if (dienst.startsWith(eigen + QStringLiteral(".instance"), Qt::CaseInsensitive))
        return 1;
    const QString eintrag = b.Desktopeintrag(dienst).toLower();
    if (!eintrag.isEmpty() && (eintrag == name || eintrag.endsWith(QLatin1Char('.') + name)))
        return 1;
    return 0;
}

// The bus name of the player `strProgramm` names; "" when none is there.
QString dienstSuchen(SpielerBackend& b, const QString& strProgramm)
{
    const QString name = spielerName(strProgramm);
    QString gefunden;
    for (const QString& d : b.Dienste()) {
        const int p = passt(b, d, name);
        if (p == 2)
            return d;
        if (p == 1 && gefunden.isEmpty())
            gefunden = d;
    }
    return gefunden;
}

} // namespace

bool SpielerSteuerbar(const QString& strProgramm)
{
    const QString name = spielerName(strProgramm);
    if (name.isEmpty())
        return false;
    for (const QString& s : kMprisSpieler)
        if (name == s)
            return true;
    return !dienstSuchen(spielerBackend(), strProgramm).isEmpty();
}

QString SpielerDienstname(const QString& strProgramm) { return kMprisPräfix + spielerName(strProgramm); }

void WinAMP_SendCommandMessage(qint32 lngBefehl, bool bolBenutzerNachricht)
{
    if (strWinampDienst.isEmpty() || bolBenutzerNachricht)
        return;
    const char* methode = nullptr;
    switch (lngBefehl) {
    case kWinampVorheriger: methode = "Previous"; break;
    case kWinampSpielen: methode = "Play"; break;
    case kWinampPause: methode = "Pause"; break;
    case kWinampStopp: methode = "Stop"; break;
    case kWinampNächster: methode = "Next"; break;
    default: return;
    }
    spielerBackend().Aufrufen(strWinampDienst, QString::fromLatin1(methode));
}

void WinAMP_SeekToPosition(qint32 lngSekunden)
{
    if (strWinampDienst.isEmpty() || lngSekunden < 0 || lngSekunden > WinAMP_GetTrackLength())
        return;
    const QString spur = spurKennung(metadaten().value(QStringLiteral("mpris:trackid")));
    if (spur.isEmpty())
        return;
    spielerBackend().Aufrufen(strWinampDienst, QStringLiteral("SetPosition"),
                              {QVariant::fromValue(QDBusObjectPath(spur)), qlonglong(lngSekunden) * 1000000});
}

qint32 WinAMP_GetTrackLength()
{
    if (strWinampDienst.isEmpty())
        return 0;
    bool ok = false;
    const qlonglong mikro = metadaten().value(QStringLiteral("mpris:length")).toLongLong(&ok);
    if (!ok || mikro < 0)
        return -1;
    return qint32(qMin<qlonglong>(mikro / 1000000, std::numeric_limits<qint32>::max()));
}

qint32 WinAMP_GetTrackPosition()
{
    if (strWinampDienst.isEmpty())
        return 0;
    const QVariant v = spielerBackend().Eigenschaft(strWinampDienst, QStringLiteral("Position"));
    if (!v.isValid())
        return 0;
    bool ok = false;
    const qlonglong mikro = v.toLongLong(&ok);
    if (!ok || mikro < 0)
        return -1;
    return qint32(qMin<qlonglong>(mikro / 1000000, std::numeric_limits<qint32>::max()));
}

QString WinAMP_GetStatus()
{
    if (strWinampDienst.isEmpty())
        return QString();
    const QString s = spielerBackend().Eigenschaft(strWinampDienst, QStringLiteral("PlaybackStatus")).toString();
    if (s == QLatin1String("Playing"))
        return QStringLiteral("PLAYING");
    if (s == QLatin1String("Paused"))
        return QStringLiteral("PAUSED");
    return QStringLiteral("STOPPED");
}

void WinAMP_SetVolume(qint32 lngLautstärke)
{
    if (strWinampDienst.isEmpty() || lngLautstärke < 0 || lngLautstärke > 255)
        return;
    spielerBackend().EigenschaftSetzen(strWinampDienst, QStringLiteral("Volume"), lngLautstärke / 255.0);
}

void WinAMP_SetBalance(qint32)
{
}

bool Winamp_Check(bool bolStarten)
{
    // Any MPRIS player can be the one the setting names.
    if (spielerName(einstellungen().WinampPfad).isEmpty())
        return false;
    if (WinAMP_FensterSuchen(false))
        return true;
    return bolStarten && WinAMP_Start() && WinAMP_FensterSuchen(true);
}

bool WinAMP_FensterSuchen(bool bolWarten)
{
    SpielerBackend& b = spielerBackend();
    const QString programm = einstellungen().WinampPfad;
    const qint64 beginn = b.Uhr();
    for (;;) {
        strWinampDienst = dienstSuchen(b, programm);
        if (!strWinampDienst.isEmpty()) {
            // What the player plays is read on every look, so the values
            // the poll uses are never older than one tick.
            b.Auffrischen(strWinampDienst);
            return true;
        }
        if (!bolWarten || b.Uhr() - beginn >= kStartWartezeit)
            return false;
        b.Warten(kSuchPause);
    }
}

bool WinAMP_Start()
{
    const QString& programm = einstellungen().WinampPfad;
    if (spielerName(programm).isEmpty())
        return false;
    return spielerBackend().Starten(programm, {});
}

QString WinampTitelLesen(const QString& strDienst)
{
    if (strDienst.isEmpty())
        return QString();
    const QVariantMap m = spielerBackend().Eigenschaft(strDienst, QStringLiteral("Metadata")).toMap();
    const QVariant künstlerWert = m.value(QStringLiteral("xesam:artist"));
    const QString künstler = (künstlerWert.metaType() == QMetaType::fromType<QStringList>()
                                  ? künstlerWert.toStringList().join(QStringLiteral(", "))
                                  : künstlerWert.toString()).trimmed();
    QString titel = m.value(QStringLiteral("xesam:title")).toString().trimmed();
    if (titel.isEmpty()) {
        const QString datei = QUrl(m.value(QStringLiteral("xesam:url")).toString()).fileName();
        titel = datei.left(datei.size() - DateiEndungZurückgeben(datei).size());
    } else if (!künstler.isEmpty()) {
        titel = künstler + QStringLiteral(" - ") + titel;
    }
    // A tag may hold line breaks; the title goes into labels and status texts.
    return SteuerzeichenEntfernen(titel, false).trimmed();
}
