#include "media/MedienInfosLesen.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Dateihelfer.h"
#include "core/Verfuegbarkeit.h"
#include "media/Id3v1Lesen.h"
#include "media/MedienDatei.h"

#include <QDateTime>
#include <QFileInfo>
#include <unistd.h>

namespace {

qint16 DateiTypErmitteln(const Index& index, const QString& datei, qint16 alt)
{
    if (DateiTypPrüfen(index, datei, true, false, false, false))
        return 1;
    if (DateiTypPrüfen(index, datei, false, false, true, false)) {
        const QString endung = DateiEndungZurückgeben(datei);
        const auto enthält = [&](const char* e) { return endung.contains(QLatin1String(e), Qt::CaseInsensitive); };
        if (enthält(".wma") || enthält(".wmf"))
            return 2;
        if (enthält(".wav"))
            return 3;
        return alt;
    }
    return DateiTypPrüfen(index, datei, false, true, false, false) ? 4 : 0;
}

std::function<void()>& testHaken()
{
    static std::function<void()> haken;
    return haken;
}

QString DatumText(const QDate& d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

MedienInfo MedienInfosLesen(const Index& index, const QString& strDatei, const MedienInfo& udtAlt,
                            const QString& strTAGsLesen, bool bolZeilenumbrücheBehalten,
                            const QString& strHeaderLesen, const QString& strDateiInfosLesen,
                            MedienLesung* lesung)
{
    MedienInfo m = udtAlt;
    // A flag is off only when its character is "0".
    const auto tagLesen = [&](int i) { return strTAGsLesen.size() <= i || strTAGsLesen[i] != QLatin1Char('0'); };
    const bool headerLesen = strHeaderLesen == QLatin1String("1");
    const bool dateiInfosLesen = strDateiInfosLesen == QLatin1String("1");

    MedienDatei datei(strDatei);
    // For a writer, a fingerprint of just the bytes read (tags, first frames):
    // showing reads nothing more, not even of a large file, and a save reads
    // them again only where the file's number alone changed.
    if (lesung)
        datei.AbdruckFühren();
    // An opened regular file exists; only a failed open needs the test.
    const Existenz da = datei.Offen() ? Existenz::Vorhanden : DateiExistenz(strDatei);
    const bool vorhanden = da == Existenz::Vorhanden;
    // A file that cannot be read keeps everything it had: no empty record
    // for a medium that is merely absent.
    if (datei.Offen()) {
        if (tagLesen(0))
            Id3v1Übernehmen(Id3v1Lesen(datei.Id3v1Block(), bolZeilenumbrücheBehalten), m);
        if (tagLesen(1) || headerLesen) {
            const Id3v2Fund fund = datei.Id3v2Finden(einstellungen().TAGsBytesSuchen);
            if (tagLesen(1)) {
                if (fund.position >= 0)
                    Id3v2Übernehmen(Id3v2Lesen(datei.Lesen(fund.position, fund.kopf.GesamtGröße())), fund.position, m);
                else
                    Id3v2Zurücksetzen(m);
            }
            if (headerLesen) {
                const qint64 audioEnde = datei.AudioEnde();
                MpegKopfÜbernehmen(datei.ErstenFrameSuchen(fund.ende(), audioEnde), audioEnde, m);
            }
        }
    }

    // For a writer: a file cut or written while it was read gave no whole
    // record. Filling the index passes failed steps over and needs no look.
    if (lesung) {
        if (testHaken())
            testHaken()();
        if (datei.Offen())
            datei.Unverändert();
        *lesung = {datei.LeseFehler(), datei.Stand(), datei.GeleseneBereiche(), datei.Abdruck()};
    }

    m.Datei_Typ = DateiTypErmitteln(index, strDatei, m.Datei_Typ);

    // A file that cannot be reached keeps the size it had.
    if (dateiInfosLesen && da != Existenz::Unbekannt) {
        if (!vorhanden) {
            m.Datei_Größe = -1;
        } else if (datei.Offen()) {
            m.Datei_Größe = datei.Länge();
            m.Datei_Datenträger = DatenträgerNameDerDatei(strDatei, datei.Gerät());
        } else {
            m.Datei_Größe = QFileInfo(strDatei).size();
            m.Datei_Datenträger = DatenträgerNameZurückgeben(LaufwerkZurückgeben(strDatei));
        }
    }

    if (m.Datei_HinzugefügtAm.isEmpty()) {
        QDate datum;
        if (datei.Offen())
            datum = QDateTime::fromSecsSinceEpoch(datei.GeändertAm()).date();
        else if (vorhanden)
            datum = QFileInfo(strDatei).lastModified().date();
        m.Datei_HinzugefügtAm = DatumText(datum.isValid() ? datum : QDate::currentDate());
    }
    return m;
}

bool MedienLesung::WieGelesen(const DateiStand& jetzt, int fd) const
{
    if (jetzt == stand)
        return true;
    return fd >= 0 && BytesEntscheiden(jetzt, stand) && inhalt != std::array<quint64, 2>{}
           && Inhaltsabdruck::VonBereichen(fd, bereiche) == inhalt;
}

bool MedienLesung::WieGelesen(const DateiStand& jetzt, const QString& pfad) const
{
    if (!BytesEntscheiden(jetzt, stand))
        return jetzt == stand;
    const int fd = ReguläreDateiÖffnen(pfad);
    const bool gleich = WieGelesen(jetzt, fd);
    if (fd >= 0)
        ::close(fd);
    return gleich;
}

void MedienInfosLesenTestHaken(std::function<void()> haken) { testHaken() = std::move(haken); }

MedienInfo MedienInfosNachlesen(const Index& index, const QString& strDatei, const MedienInfo& udtAlt,
                                const QString& strTAGsLesen, const QString& strHeaderLesen)
{
    return MedienInfosLesen(index, strDatei, udtAlt, strTAGsLesen, false, strHeaderLesen, strHeaderLesen);
}
