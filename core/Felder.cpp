#include "core/Felder.h"

#include "core/Funktionen.h"
#include "core/Standardwerte.h"

#include <QHash>
#include <QLocale>

namespace {

struct FeldName {
    const char* name;
    Feld feld;
};

const FeldName kFelder[] = {
    {"(Standardsuche)", Feld::Standardsuche}, {"Nummer", Feld::Nummer}, {"Pfad", Feld::Pfad},
    {"Dateiname", Feld::Dateiname}, {"Interpret", Feld::Interpret}, {"Titel", Feld::Titel},
    {"Album", Feld::Album}, {"Jahr", Feld::Jahr}, {"Track", Feld::Track}, {"Titelnummer", Feld::Track},
    {"Genre", Feld::Genre}, {"Kommentar", Feld::Kommentar}, {"Größe", Feld::Größe},
    {"Bitrate", Feld::Bitrate}, {"Dauer", Feld::Dauer}, {"Frequenz", Feld::Frequenz},
    {"Frames", Feld::Frames}, {"Wechselmedium", Feld::Wechselmedium},
    {"Hinzufüge-Datum", Feld::HinzufügeDatum}, {"Datei-Endung", Feld::DateiEndung},
    {"Abspiel-Datum", Feld::AbspielDatum}, {"Abspiel-Häufigkeit", Feld::AbspielHäufigkeit},
    {"Pfad+Dateiname", Feld::PfadDateiname}, {"Benutzerdefiniert", Feld::Benutzerdefiniert},
    {"Interpret-ID3v2", Feld::InterpretV2}, {"Titel-ID3v2", Feld::TitelV2}, {"Album-ID3v2", Feld::AlbumV2},
    {"Jahr-ID3v2", Feld::JahrV2}, {"Track-ID3v2", Feld::TrackV2}, {"Genre-ID3v2", Feld::GenreV2},
    {"Kommentar-ID3v2", Feld::KommentarV2}, {"ID3v2-TAG-Version", Feld::ID3v2Version},
    {"ID3v2-TAG-Größe", Feld::ID3v2Größe},
};

// The fields that are one tag text, given when their tag is present.
struct TagFeld {
    Feld feld;
    QString MedienInfo::*text;
    bool v2;
};
const TagFeld kTagFelder[] = {
    {Feld::Interpret, &MedienInfo::Mp3_ID3v1_Interpret, false}, {Feld::Titel, &MedienInfo::Mp3_ID3v1_Titel, false},
    {Feld::Album, &MedienInfo::Mp3_ID3v1_Album, false},         {Feld::Jahr, &MedienInfo::Mp3_ID3v1_Jahr, false},
    {Feld::Kommentar, &MedienInfo::Mp3_ID3v1_Kommentar, false}, {Feld::InterpretV2, &MedienInfo::Mp3_ID3v2_Interpret, true},
    {Feld::TitelV2, &MedienInfo::Mp3_ID3v2_Titel, true},        {Feld::AlbumV2, &MedienInfo::Mp3_ID3v2_Album, true},
    {Feld::JahrV2, &MedienInfo::Mp3_ID3v2_Jahr, true},          {Feld::KommentarV2, &MedienInfo::Mp3_ID3v2_Kommentar, true},
};

const QHash<QString, Feld>& feldTabelle()
{
    static const QHash<QString, Feld> t = [] {
        QHash<QString, Feld> h;
        for (const FeldName& f : kFelder)
            h.insert(QString::fromUtf8(f.name), f.feld);
        return h;
    }();
    return t;
}

// "##,##0": thousands grouped by the user's locale, no decimals.
QString Gruppiert(qint64 zahl) { return QLocale().toString(zahl); }

QString TrackForm(const QString& t) { return t.size() <= 2 ? MitNullenAuffüllen(t, 2) : t; }

// Reads 1..maxZiffern digits at `pos`; -1 when there are none.
int ZahlLesen(QStringView t, qsizetype& pos, int maxZiffern)
{
    int wert = 0, n = 0;
    while (pos < t.size() && n < maxZiffern && t[pos].isDigit() && t[pos].unicode() < 128) {
        wert = wert * 10 + (t[pos].unicode() - '0');
        ++pos;
        ++n;
    }
    return n == 0 ? -1 : wert;
}

bool ZeichenLesen(QStringView t, qsizetype& pos, char c)
{
    if (pos < t.size() && t[pos] == QLatin1Char(c)) {
        ++pos;
        return true;
    }
    return false;
}

QString DatumForm(const QString& text, bool mitZeit, FeldModus modus)
{
    if (modus == FeldModus::Keiner)
        return QString();
    QDate d;
    QTime z;
    if (!DatumLesen(text, mitZeit, d, z))
        return text;
    const bool anzeige = modus == FeldModus::Anzeige;
    QString s = anzeige ? d.toString(QStringLiteral("dd.MM.yyyy")) : d.toString(QStringLiteral("yyyy|MM|dd"));
    if (mitZeit)
        s += QLatin1Char(' ') + z.toString(QStringLiteral("HH:mm:ss"));
    return s;
}

} // namespace

bool DatumLesen(const QString& text, bool mitZeit, QDate& datum, QTime& zeit)
{
    const QStringView t = QStringView(text).trimmed();
    qsizetype pos = 0;
    const int tag = ZahlLesen(t, pos, 2);
    if (tag < 0 || !ZeichenLesen(t, pos, '.'))
        return false;
    const int monat = ZahlLesen(t, pos, 2);
    if (monat < 0 || !ZeichenLesen(t, pos, '.'))
        return false;
    const qsizetype jahrStart = pos;
    const int jahr = ZahlLesen(t, pos, 4);
    if (jahr < 0 || pos - jahrStart != 4)
        return false;
    datum = QDate(jahr, monat, tag);
    if (!datum.isValid())
        return false;
    zeit = QTime(0, 0, 0);
    if (pos == t.size())
        return true;
    if (!mitZeit || !ZeichenLesen(t, pos, ' '))
        return false;
    while (ZeichenLesen(t, pos, ' ')) {
    }
    const int h = ZahlLesen(t, pos, 2);
    if (h < 0 || !ZeichenLesen(t, pos, ':'))
        return false;
    const int m = ZahlLesen(t, pos, 2);
    if (m < 0)
        return false;
    int s = 0;
    if (ZeichenLesen(t, pos, ':') && (s = ZahlLesen(t, pos, 2)) < 0)
        return false;
    zeit = QTime(h, m, s);
    return pos == t.size() && zeit.isValid();
}

Feld FeldErmitteln(const QString& name)
{
    const auto it = feldTabelle().constFind(name);
    if (it != feldTabelle().constEnd())
        return it.value();
    return name.startsWith(QLatin1Char('%')) ? Feld::Format : Feld::Unbekannt;
}

FeldModus FeldModusErmitteln(const QString& strModus)
{
    if (strModus.isEmpty())
        return FeldModus::Sortform;
    return strModus == QLatin1String("1") ? FeldModus::Anzeige : FeldModus::Keiner;
}

qint16 FeldWertArt(Feld f)
{
    switch (f) {
    case Feld::Nummer:
    case Feld::Jahr:
    case Feld::Track:
    case Feld::Größe:
    case Feld::Frames:
    case Feld::AbspielHäufigkeit:
    case Feld::TrackV2:
        return WertZahl;
    case Feld::HinzufügeDatum:
        return WertDatum;
    case Feld::AbspielDatum:
        return WertDatumZeit;
    case Feld::Dauer:
        return WertDauer;
    default:
        return WertText;
    }
}

qint16 FeldWert(const Index& idx, qint32 i, Feld f, FeldModus modus, QString& wert, const QString& formatName)
{
    wert.clear();
    const qint16 art = f == Feld::Unbekannt ? qint16(WertText) : FeldWertArt(f);
    if (!idx.GültigerEintrag(i))
        return art;
    const MedienInfo& m = idx.IndexDaten[size_t(i)];
    const QString& pfad = idx.strIndexPfad[size_t(i)];
    const bool v1 = m.Mp3_ID3v1_Vorhanden == 1;
    const bool v2 = m.Mp3_ID3v2_Vorhanden == 1;
    for (const TagFeld& t : kTagFelder) {
        if (t.feld == f) {
            if (t.v2 ? v2 : v1)
                wert = m.*t.text;
            return art;
        }
    }
    switch (f) {
    case Feld::Unbekannt:
    default:
        break;
    case Feld::Standardsuche:
        wert = m.Mp3_ID3v2_Interpret + QLatin1Char(' ') + m.Mp3_ID3v2_Titel + QLatin1Char(' ')
            + m.Mp3_ID3v1_Interpret + QLatin1Char(' ') + m.Mp3_ID3v1_Titel + QLatin1Char(' ')
            + m.Mp3_ID3v1_Album + QLatin1Char(' ') + pfad;
        break;
    case Feld::Nummer:
        wert = QString::number(i);
        break;
    case Feld::Pfad:
        wert = PfadZurückgeben(pfad);
        break;
    case Feld::Dateiname:
        wert = DateinameZurückgeben(pfad);
        break;
    case Feld::Track:
        if (v1 && !m.Mp3_ID3v1_Titelnummer.isEmpty())
            wert = TrackForm(m.Mp3_ID3v1_Titelnummer);
        break;
    case Feld::Genre:
        if (v1)
            wert = standardwerte().GenreName(GenreByte(m));
        break;
    case Feld::Größe:
        if (m.Datei_Größe > 0)
            wert = Gruppiert(m.Datei_Größe);
        break;
    case Feld::Bitrate:
        if (m.Header_Bitrate >= 1)
            wert = QString::number(m.Header_Bitrate) + (m.Header_VBR ? QStringLiteral(" VBR") : QStringLiteral(" CBR"));
        break;
    case Feld::Dauer:
        if (m.Header_Dauer >= 0)
            wert = ZeitFormatieren(m.Header_Dauer, true);
        break;
    case Feld::Frequenz:
        if (m.Header_Frequenz >= 1) {
            wert = QString::number(m.Header_Frequenz) + QStringLiteral(" Hz");
            if (!m.Header_Modus.isEmpty())
                wert += QStringLiteral(", ") + m.Header_Modus;
        }
        break;
    case Feld::Frames:
        if (m.Header_Frames >= 1)
            wert = QString::number(m.Header_Frames);
        break;
    case Feld::Wechselmedium:
        wert = m.Datei_Datenträger;
        break;
    case Feld::HinzufügeDatum:
        wert = DatumForm(m.Datei_HinzugefügtAm, false, modus);
        break;
    case Feld::DateiEndung:
        wert = DateiEndungZurückgeben(pfad);
        break;
    case Feld::AbspielDatum:
        wert = DatumForm(m.Datei_AngefordertGespieltAm, true, modus);
        break;
    case Feld::AbspielHäufigkeit:
        wert = QString::number(m.Datei_AngefordertAnzahl);
        break;
    case Feld::PfadDateiname:
        wert = pfad;
        break;
    case Feld::Benutzerdefiniert:
        if (!idx.strSpaltenNutzerformat.isEmpty())
            wert = DateinamenFormatieren(idx, idx.strSpaltenNutzerformat, i, modus);
        break;
    case Feld::TrackV2:
        if (v2 && !m.Mp3_ID3v2_Titelnummer.isEmpty())
            wert = TrackForm(m.Mp3_ID3v2_Titelnummer);
        break;
    case Feld::GenreV2:
        if (v2 && !m.Mp3_ID3v2_Musikrichtung.isEmpty()) {
            const qsizetype k = m.Mp3_ID3v2_Musikrichtung.indexOf(QLatin1Char(')'));
            wert = k < 0 ? m.Mp3_ID3v2_Musikrichtung : m.Mp3_ID3v2_Musikrichtung.mid(k + 1);
        }
        break;
    case Feld::ID3v2Version:
        if (v2)
            wert = m.Mp3_ID3v2_Version.startsWith(QLatin1Char('.')) ? QLatin1Char('2') + m.Mp3_ID3v2_Version
                                                                     : m.Mp3_ID3v2_Version;
        break;
    case Feld::ID3v2Größe:
        if (v2)
            wert = Gruppiert(m.Mp3_ID3v2_TAGGröße);
        break;
    case Feld::Format:
        wert = DateinamenFormatieren(idx, formatName, i, modus);
        break;
    }
    return art;
}

bool IndexFeldZurückgeben(const Index& idx, qint32 lngEintrag, const QString& strFeld, const QString& strModus,
                          QString& varWert, qint16& intWertArt)
{
    const Feld f = FeldErmitteln(strFeld);
    intWertArt = FeldWert(idx, lngEintrag, f, FeldModusErmitteln(strModus), varWert, strFeld);
    return f != Feld::Unbekannt;
}

bool IndexFeldZurückgeben(qint32 lngEintrag, const QString& strFeld, const QString& strModus, QString& varWert,
                          qint16& intWertArt)
{
    return IndexFeldZurückgeben(hauptIndex(), lngEintrag, strFeld, strModus, varWert, intWertArt);
}

std::vector<FormatTeil> DateinamenFormatTeile(const Index& idx, const QString& format, qint32 lngEintrag,
                                              FeldModus modus)
{
    std::vector<FormatTeil> teile;
    const auto text = [&](qsizetype von, qsizetype bis) {
        if (bis <= von)
            return;
        if (teile.empty() || teile.back().feld)
            teile.push_back({});
        teile.back().text += QStringView(format).mid(von, bis - von);
    };
    qsizetype pos = 0;
    for (;;) {
        const qsizetype a = format.indexOf(QLatin1Char('%'), pos);
        const qsizetype b = a < 0 ? -1 : format.indexOf(QLatin1Char('%'), a + 1);
        if (b < 0) {
            text(pos, format.size());
            return teile;
        }
        const Feld f = FeldErmitteln(format.mid(a + 1, b - a - 1));
        if (f == Feld::Unbekannt || f == Feld::Benutzerdefiniert || f == Feld::Format) {
            // Not a reference: keep the first "%"; the second may open one.
            text(pos, b);
            pos = b;
            continue;
        }
        text(pos, a);
        FormatTeil feld{QString(), true};
        FeldWert(idx, lngEintrag, f, modus, feld.text);
        teile.push_back(std::move(feld));
        pos = b + 1;
    }
}

QString DateinamenFormatieren(const Index& idx, const QString& format, qint32 lngEintrag, FeldModus modus,
                              const std::function<QString(const QString&)>& feldFilter)
{
    QString aus;
    for (const FormatTeil& t : DateinamenFormatTeile(idx, format, lngEintrag, modus))
        aus += t.feld && feldFilter ? feldFilter(t.text) : t.text;
    return aus;
}

QString NutzerformatTitel(const QString& format)
{
    QString t = format;
    return t.remove(QLatin1Char('%'));
}
