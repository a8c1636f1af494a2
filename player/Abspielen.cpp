#include "player/Abspielen.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "core/Dateihelfer.h"
#include "core/Verfuegbarkeit.h"
#include "player/SpielerBackend.h"
#include "player/Statistik.h"
#include "player/Winamp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

namespace {

// The playlist file of the last hand-over: the player may still be reading it.
QString g_letzteÜbergabe;


// A failure inside the action, in the form of its run-time error message.
void fehlerMelden(const QString& beschreibung, int nummer)
{
    MeldungZeigen(QStringLiteral("Eine Datei konnte nicht angezeigt werden.\n") + beschreibung
                      + QStringLiteral(" (Fehler: ") + QString::number(nummer) + QStringLiteral(")."),
                  Knöpfe::OK, Symbol::Ausruf);
}

void zugriffsfehlerMelden(const QString& datei)
{
    fehlerMelden(QStringLiteral("Fehler beim Zugriff auf Pfad/Datei '") + datei + QLatin1Char('\''), 75);
}

QString playlistName()
{
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("kalvero") : name;
}

// A playlist line is one line: control characters would split it.
QByteArray zeilentext(const QString& text)
{
    return SteuerzeichenEntfernen(text, false).toUtf8();
}

} // namespace


QString PlaylistOrdner()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : PfadVerbinden(cache, QStringLiteral("Kalvero"));
}

void AltePlaylistsEntfernen()
{
    const QString ordner = PlaylistOrdner();
    if (ordner.isEmpty())
        return;
    const QFileInfoList dateien = QDir(ordner).entryInfoList({playlistName() + QStringLiteral("-*.m3u")}, QDir::Files,
                                                             QDir::Time);
    // Kept: the last hand-over's file, or, before this run handed anything
    // over, the newest one there is (an earlier run's last).
    QString behalten = dateien.isEmpty() ? QString() : dateien.first().absoluteFilePath();
    for (const QFileInfo& f : dateien)
        if (f.absoluteFilePath() == QFileInfo(g_letzteÜbergabe).absoluteFilePath())
            behalten = f.absoluteFilePath();
    for (const QFileInfo& f : dateien)
        if (f.absoluteFilePath() != behalten)
            QFile::remove(f.absoluteFilePath());
}

QByteArray PlaylistZeilen(const Index& index, qint32 lngEintrag, bool bolErweitert)
{
    if (!index.GültigerEintrag(lngEintrag))
        return QByteArray();
    const MedienInfo& m = index.IndexDaten[size_t(lngEintrag)];
    const QString& pfad = index.strIndexPfad[size_t(lngEintrag)];
    QByteArray zeilen;
    if (bolErweitert && m.Header_Dauer >= 1 && m.Mp3_ID3v1_Vorhanden == 1)
        zeilen += "#EXTINF:" + QByteArray::number(m.Header_Dauer) + ',' + zeilentext(m.Mp3_ID3v1_Interpret) + " - "
            + zeilentext(m.Mp3_ID3v1_Titel) + '\n';
    zeilen += PlaylistPfad(pfad) + '\n';
    return zeilen;
}

QByteArray PlaylistPfad(const QString& pfad)
{
    // A name holding a line break can only be written as a file URL.
    if (pfad.contains(QLatin1Char('\n')) || pfad.contains(QLatin1Char('\r')))
        return QUrl::fromLocalFile(pfad).toEncoded();
    return pfad.toUtf8();
}

bool SpielerPlaylist::Öffnen()
{
    m_datei.clear();
    m_inhalt.clear();
    m_einträge.clear();
    if (!DoesExist(einstellungen().WinampPfad)) {
        MeldungZeigen(QStringLiteral("Sie benötigen einen Audioplayer für diese Funktion.\n")
                          + QStringLiteral("Bitte installieren Sie z.B. 'Winamp' von ")
                          + QStringLiteral("https://audacious-media-player.org/download")
                          + QStringLiteral(" und geben Sie den Pfad unter 'Optionen' an."),
                      Knöpfe::OK, Symbol::Information);
        return false;
    }
    const QString ordner = PlaylistOrdner();
    if (ordner.isEmpty() || !QDir().mkpath(ordner)) {
        zugriffsfehlerMelden(ordner);
        return false;
    }
    AltePlaylistsEntfernen();
    QTemporaryFile datei(PfadVerbinden(ordner, playlistName() + QStringLiteral("-XXXXXX.m3u")));
    datei.setAutoRemove(false);
    if (!datei.open()) {
        zugriffsfehlerMelden(ordner);
        return false;
    }
    m_datei = datei.fileName();
    if (einstellungen().PlaylistFürWinamp == 1)
        m_inhalt = "#EXTM3U\n";
    return true;
}

void SpielerPlaylist::Hinzufügen(const Index& index, qint32 lngEintrag)
{
    if (m_datei.isEmpty() || !index.GültigerEintrag(lngEintrag))
        return;
    m_inhalt += PlaylistZeilen(index, lngEintrag, einstellungen().PlaylistFürWinamp == 1);
    m_einträge.push_back(lngEintrag);
}

bool SpielerPlaylist::Abspielen(bool bolSofort)
{
    if (m_datei.isEmpty())
        return false;
    QFile f(m_datei);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(m_inhalt) != m_inhalt.size() || !f.flush()) {
        f.close();
        QFile::remove(m_datei);
        zugriffsfehlerMelden(m_datei);
        return false;
    }
    f.close();
    const Einstellungen& e = einstellungen();
    QStringList argumente = QProcess::splitCommand(bolSofort ? e.WinampParameterAbspielen : e.WinampParameterHinzufügen);
    argumente << m_datei;
    if (!spielerBackend().Starten(e.WinampPfad, argumente)) {
        QFile::remove(m_datei);
        return false;
    }
    g_letzteÜbergabe = m_datei;
    StatusMeldungZeigen(QStringLiteral("Dateien in Playlist bei '") + DateinameZurückgeben(e.WinampPfad)
                            + QLatin1Char('\''),
                        0);
    return true;
}

namespace {

// Types the index manages (whatever their active mark), restricted as asked.
bool verwalteterTyp(const Index& index, const QString& pfad, bool bolKeinAudio, bool bolKeineBilder)
{
    return DateiTypPrüfen(index, pfad, false, bolKeinAudio, bolKeineBilder, false);
}

} // namespace

bool AbspielenMediaPlayer(Index& index, std::vector<qint32> einträge, bool bolAnhängen, bool bolAusführenMit,
                          bool bolPlaylistLeeren, const QString& strProgramm, QObject* besitzer)
{
    bolNichtVerfügbarAlleÜberspringen = false;
    qint32 zähler = -1;
    QString letztesBild;
    SpielerPlaylist liste;
    bool erfolg = true;

    // Plays handed to a player that reports what it plays are counted from
    // its reports instead, so that none is counted twice.
    auto zählen = [&index](const std::vector<qint32>& übergeben) {
        if (einstellungen().AbspielStatistikSpeichern == 0 || SpielerSteuerbar(einstellungen().WinampPfad))
            return;
        const QDateTime jetzt = JetztSekundengenau();
        for (qint32 e : übergeben)
            AbspielenZählen(index, e, jetzt);
    };

    for (const qint32 e : einträge) {
        if (!index.GültigerEintrag(e))
            continue;
        const int verfügbar = DateiNichtVerfügbarPrüfen(index, e, besitzer, true);
        if (verfügbar == 1)
            continue;
        if (verfügbar == 2)
            break;
        const QString pfad = index.strIndexPfad[size_t(e)];

        if (!verwalteterTyp(index, pfad, false, false)) {
            if (MeldungZeigen(QStringLiteral("Das Dateiformat der Datei '") + pfad
                                  + QStringLiteral("' wird z.Zt. nicht unterstützt.\n")
                                  + QStringLiteral("Möchten Sie die Datei mit dem Standard-Programm anzeigen?"),
                              Knöpfe::JaNein, Symbol::Frage, besitzer)
                == Antwort::Ja)
                MitStandardprogrammÖffnen(pfad, besitzer);
            continue;
        }

        if (bolAusführenMit) {
            if (strProgramm.isEmpty())
                MitStandardprogrammÖffnen(pfad, besitzer);
            else
                spielerBackend().Starten(strProgramm, {pfad});
            continue;
        }

        if (verwalteterTyp(index, pfad, false, true)) {
            if (bolPlaylistLeeren && zähler == -1)
                WinAMP_SendCommandMessage(kWinampPlaylistLeeren, true);
            if (!bolAnhängen && zähler == -1) {
                SpielerPlaylist erste;
                if (!erste.Öffnen()) {
                    erfolg = false;
                    break;
                }
                erste.Hinzufügen(index, e);
                if (!erste.Abspielen(true)) {
                    erfolg = false;
                    break;
                }
                zählen(erste.Einträge());
                // The hand-over has started the player if it was not running:
                // wait for it instead of starting a second one.
                if (SpielerSteuerbar(einstellungen().WinampPfad) && WinAMP_FensterSuchen(true)) {
                    WinAMP_SendCommandMessage(kWinampZumEnde, false);
                    WinAMP_SendCommandMessage(kWinampSpielen, false);
                }
                zähler = 0;
            } else {
                if (zähler < 1 && !liste.Öffnen()) {
                    erfolg = false;
                    break;
                }
                liste.Hinzufügen(index, e);
                if (zähler == -1)
                    zähler = 0;
                ++zähler;
            }
        } else if (verwalteterTyp(index, pfad, true, false)) {
            letztesBild = pfad;
        }
    }

    if (erfolg && zähler > 0) {
        if (liste.Abspielen(false))
            zählen(liste.Einträge());
        else
            erfolg = false;
    }
    if (!letztesBild.isEmpty() && Dienst<BildAnzeigeDienst>())
        Dienst<BildAnzeigeDienst>()(letztesBild);
    return erfolg;
}

bool AbspielenMediaPlayer(std::vector<qint32> einträge, bool bolAnhängen, bool bolAusführenMit,
                          bool bolPlaylistLeeren, const QString& strProgramm, QObject* besitzer)
{
    return AbspielenMediaPlayer(hauptIndex(), std::move(einträge), bolAnhängen, bolAusführenMit, bolPlaylistLeeren,
                                strProgramm, besitzer);
}
