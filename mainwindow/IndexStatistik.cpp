#include "mainwindow/IndexStatistik.h"

#include "core/Felder.h"
#include "core/Funktionen.h"

#include <cmath>

namespace {

// A whole number grouped by the locale, at least three digits ("0,00").
QString gruppiert(double wert, const QLocale& gebietsschema)
{
    const qlonglong zahl = qlonglong(Runden(wert, 0));
    QString text = gebietsschema.toString(zahl);
    if (zahl >= 0 && zahl < 100)
        text = QStringLiteral("%1").arg(zahl, 3, 10, QLatin1Char('0'));
    return text;
}

QString ganzzahl(double wert) { return QString::number(qlonglong(Runden(wert, 0))); }

QDate datumLesen(const QString& text)
{
    QDate datum;
    QTime zeit;
    if (DatumLesen(text, true, datum, zeit))
        return datum;
    return QDate();
}

} // namespace

IndexStatistikTexte IndexStatistikBerechnen(const Index& idx, const QDate& heute, const QLocale& gebietsschema)
{
    qint64 wechsel = 0, größenAnzahl = 0, dauerAnzahl = 0, datumAnzahl = 0;
    double größe = 0, dauer = 0, alterTage = 0;
    QDate neueste, älteste;
    for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i) {
        const MedienInfo& m = idx.IndexDaten[size_t(i)];
        if (!m.Datei_Datenträger.isEmpty())
            ++wechsel;
        if (m.Datei_Größe >= 0) {
            ++größenAnzahl;
            größe += double(m.Datei_Größe);
        }
        if (m.Header_Dauer >= 0) {
            ++dauerAnzahl;
            dauer += m.Header_Dauer;
        }
        if (m.Datei_HinzugefügtAm.isEmpty())
            continue;
        const QDate d = datumLesen(m.Datei_HinzugefügtAm);
        if (!d.isValid())
            continue;
        if (datumAnzahl == 0 || d > neueste)
            neueste = d;
        if (datumAnzahl == 0 || d < älteste)
            älteste = d;
        ++datumAnzahl;
        alterTage += double(d.daysTo(heute));
    }

    IndexStatistikTexte t;
    t.anzahl = QString::number(idx.lngIndexAnzahl) + QStringLiteral(", davon ") + QString::number(wechsel)
               + QStringLiteral(" auf austauschbaren Datenträgern");

    if (größenAnzahl == 0) {
        t.größen = QStringLiteral("(keine Dateien mit Dateigröße gefunden)");
    } else {
        t.größen = gruppiert(größe, gebietsschema) + QStringLiteral(" Bytes (") + ganzzahl(größe / 1024 / 1024)
                   + QStringLiteral(" MB), durchschnittlich ")
                   + gruppiert(Runden(größe / double(größenAnzahl), 0), gebietsschema) + QStringLiteral(" Bytes");
    }

    if (dauerAnzahl == 0)
        t.spieldauer = QStringLiteral("(keine Dateien mit Spieldauer gefunden)");
    else
        t.spieldauer = ZeitFormatieren(dauer, false) + QStringLiteral(", durchschnittlich ")
                       + ZeitFormatieren(Runden(dauer / double(dauerAnzahl), 0), false);

    if (datumAnzahl == 0) {
        t.verwaltung = QStringLiteral("(keine Dateien mit Datumsangabe gefunden)");
    } else {
        const QString format = QStringLiteral("dd.MM.yyyy");
        t.verwaltung = QStringLiteral("Die neueste Datei im Index ist vom ") + neueste.toString(format)
                       + QStringLiteral(", die älteste vom ") + älteste.toString(format)
                       + QStringLiteral(". Die Dateien befinden sich durchschnittlich seit ")
                       + ganzzahl(alterTage / double(datumAnzahl)) + QStringLiteral(" Tagen im Index. ");
        // Only across at least one day: entries of a single day give no rate.
        const qint64 tage = älteste.daysTo(neueste);
        if (tage >= 1) {
            QLocale ohneGruppen = gebietsschema;
            ohneGruppen.setNumberOptions(QLocale::OmitGroupSeparator);
            t.verwaltung += QStringLiteral("Jeden Tag werden durchschnittlich ")
                            + ohneGruppen.toString(Runden(double(datumAnzahl) / double(tage), 2), 'g', 15)
                            + QStringLiteral(" Datei(en) hinzugefügt.");
        }
    }
    return t;
}
