#include "player/Exportieren.h"

#include "core/Einstellungen.h"
#include "core/Felder.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/SichereDatei.h"
#include "core/StatusMeldung.h"
#include "player/Abspielen.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

namespace {

constexpr char kZeilenende[] = "\r\n";
// The mark makes spreadsheets read a separated text file as UTF-8; the page
// declares its encoding as well.
constexpr char kBom[] = "\xEF\xBB\xBF";

// Graphical editors, in the order they are tried.
const char* const kTextEditoren[] = {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                                     "xed", "pluma", "featherpad", "leafpad", "geany"};

bool einZeichenWiederholt(const QString& t)
{
    if (t.size() < 2 || !(t[0].isPunct() || t[0].isSymbol()))
        return false;
    for (QChar c : t)
        if (c != t[0])
            return false;
    return true;
}

bool mitMarkup(QChar c)
{
    return c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'';
}

QString htmlText(const QString& text)
{
    if (std::none_of(text.cbegin(), text.cend(), mitMarkup))
        return text;
    QString s;
    s.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': s += QLatin1String("&amp;"); break;
        case '<': s += QLatin1String("&lt;"); break;
        case '>': s += QLatin1String("&gt;"); break;
        case '"': s += QLatin1String("&quot;"); break;
        case '\'': s += QLatin1String("&#39;"); break;
        default: s += c;
        }
    }
    return s;
}

// A line of a separated text file is one record: without quotes a line
// break inside a value would start a new one.
QString textWert(const QString& wert, const QString& anführung)
{
    if (!anführung.isEmpty() || (!wert.contains(QLatin1Char('\n')) && !wert.contains(QLatin1Char('\r'))))
        return wert;
    QString s = wert;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

struct Spalte {
    QString name;
    Feld feld;
};

std::vector<Spalte> spaltenAuflösen(const QStringList& namen)
{
    std::vector<Spalte> v;
    v.reserve(size_t(namen.size()));
    for (const QString& n : namen)
        v.push_back({n, FeldErmitteln(n)});
    return v;
}

// The display text of a column ("" for a field name that is unknown).
QString spaltenWert(const Index& idx, qint32 e, const Spalte& s)
{
    QString wert;
    if (s.feld != Feld::Unbekannt)
        FeldWert(idx, e, s.feld, FeldModus::Anzeige, wert, s.name);
    return wert;
}

void zeile(QByteArray& aus, const QString& text)
{
    aus += text.toUtf8();
    aus += kZeilenende;
}

void textSchreiben(QByteArray& aus, const Index& idx, const std::vector<qint32>& einträge, const QString& anführung,
                   const QString& trenner, const std::vector<Spalte>& spalten)
{
    aus += kBom;
    QString z;
    for (size_t k = 0; k < spalten.size(); ++k) {
        z += WertEinfassen(textWert(spalten[k].name, anführung), anführung);
        if (k + 1 < spalten.size())
            z += trenner;
    }
    zeile(aus, z);
    for (qint32 e : einträge) {
        if (!idx.GültigerEintrag(e))
            continue;
        z.resize(0);
        for (size_t k = 0; k < spalten.size(); ++k) {
            z += WertEinfassen(textWert(spaltenWert(idx, e, spalten[k]), anführung), anführung);
            if (k + 1 < spalten.size())
                z += trenner;
        }
        zeile(aus, z);
    }
}

void htmlSchreiben(QByteArray& aus, const Index& idx, const std::vector<qint32>& einträge,
                   const std::vector<Spalte>& spalten)
{
    const QString titel = htmlText(ProgrammTitel());
    aus += kBom;
    zeile(aus, QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + titel
                   + QStringLiteral("-HTML-Export</title></head><body>"));
    zeile(aus, QStringLiteral("<center><font face=\"Arial\"><h2><a href=\"") + htmlText(Webadresse())
                   + QStringLiteral("\">") + titel + QStringLiteral("</a>-HTML-Export</h2></font></center>"));
    zeile(aus, QStringLiteral("<table border=\"0\" cellpadding=\"3\" cellspacing=\"1\" width=\"100%\" "
                              "style=\"font-size: 9pt; font-family: Verdana; font-weight: bold\">"));
    zeile(aus, QStringLiteral("<tr bgcolor=#dddddd>"));
    if (!spalten.empty()) {
        const QString breite = QString::number(qint64(std::floor(100.0 / double(spalten.size()) + 0.5)));
        for (const Spalte& s : spalten)
            zeile(aus, QStringLiteral("<td width=\"") + breite + QStringLiteral("%\">") + htmlText(s.name)
                           + QStringLiteral("</td>"));
    }
    zeile(aus, QStringLiteral("</tr>"));
    bool weiß = true;
    QString z;
    z.reserve(1024); // one row's text, reused
    for (qint32 e : einträge) {
        if (!idx.GültigerEintrag(e))
            continue;
        z.resize(0);
        z += weiß ? QLatin1String("<tr bgcolor=#ffffff>\r\n") : QLatin1String("<tr bgcolor=#dddddd>\r\n");
        weiß = !weiß;
        for (const Spalte& s : spalten) {
            z += QLatin1String("<td>");
            z += htmlText(spaltenWert(idx, e, s));
            z += QLatin1String("</td>\r\n");
        }
        z += QLatin1String("</tr>");
        zeile(aus, z);
    }
    zeile(aus, QStringLiteral("</table></body></html>"));
}

QString extinfText(const MedienInfo& m)
{
    return SteuerzeichenEntfernen(m.Mp3_ID3v1_Interpret, false) + QStringLiteral(" - ")
        + SteuerzeichenEntfernen(m.Mp3_ID3v1_Titel, false);
}

void playlistSchreiben(QByteArray& aus, const Index& idx, const std::vector<qint32>& einträge, const QString& pfad)
{
    const bool erweitert = einstellungen().PlaylistFürWinamp == 1;
    const bool pls = DateiEndungZurückgeben(pfad).compare(QLatin1String(".pls"), Qt::CaseInsensitive) == 0;
    if (pls)
        zeile(aus, QStringLiteral("[playlist]"));
    else if (erweitert)
        zeile(aus, QStringLiteral("#EXTM3U"));
    qint32 nr = 0;
    for (qint32 e : einträge) {
        if (!idx.GültigerEintrag(e))
            continue;
        const MedienInfo& m = idx.IndexDaten[size_t(e)];
        const bool mitTitel = erweitert && m.Mp3_ID3v1_Vorhanden == 1;
        const QByteArray pfadZeile = PlaylistPfad(idx.strIndexPfad[size_t(e)]);
        if (pls) {
            const QByteArray n = QByteArray::number(++nr);
            aus += "File" + n + '=' + pfadZeile + kZeilenende;
            if (mitTitel)
                zeile(aus, QStringLiteral("Title%1=").arg(nr) + extinfText(m));
            aus += "Length" + n + '=' + QByteArray::number(m.Header_Dauer) + kZeilenende;
        } else {
            if (mitTitel)
                zeile(aus, QStringLiteral("#EXTINF:%1,").arg(m.Header_Dauer) + extinfText(m));
            aus += pfadZeile + kZeilenende;
        }
    }
}

void exportFehlerMelden(int nummer, const QString& beschreibung, QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Ein Fehler (Fehler ") + QString::number(nummer) + QStringLiteral(", Beschreibung:")
                      + beschreibung + QStringLiteral(") ist beim Exportieren aufgeteten."),
                  Knöpfe::OK, Symbol::Ausruf, besitzer);
}

void nichtErsetzbarMelden(const QString& pfad, QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Die Datei '") + pfad
                      + QStringLiteral("' konnte nicht gespeichert werden, da die Datei nicht gelöscht werden kann."),
                  Knöpfe::OK, Symbol::Ausruf, besitzer);
}

void anzeigenAnbieten(const QString& pfad, QObject* besitzer)
{
    const Antwort a = MeldungZeigen(
        QStringLiteral("Sie können diese Datei mit dem Programm 'Notepad' oder dem verknüpften Programm anzeigen.\n\n"
                       "Möchten Sie diese Datei mit 'Notepad' anzeigen?\n"
                       " - Klicken Sie auf 'Ja', um die Datei mit Notepad anzuzeigen\n"
                       " - Klicken Sie auf 'Nein', um sie mit dem verknüpften Programm anzuzeigen."),
        Knöpfe::JaNeinAbbrechen, Symbol::Frage, besitzer);
    if (a == Antwort::Ja || a == Antwort::Nein) {
        // Without a text editor "Ja" opens the associated program too. Only a
        // program that has started shows the file.
        // A text editor that did not start says so itself, as does the associated program.
        const QString editor = a == Antwort::Ja ? TextEditorFinden() : QString();
        const bool gestartet = editor.isEmpty()
                                 ? MitStandardprogrammÖffnen(pfad, besitzer,
                                                             a == Antwort::Ja ? QStringLiteral("Es wurde kein Texteditor gefunden, und das")
                                                                              : QStringLiteral("Das"))
                                 : ProgrammStartenArgumente(editor, {pfad}) != 0;
        StatusMeldungZeigen(gestartet ? QStringLiteral("Die Datei wird angezeigt...")
                                      : QStringLiteral("Die Datei konnte nicht angezeigt werden."),
                            0);
        return;
    }
    StatusMeldungZeigen(QStringLiteral("Die Datei wurde gespeichert unter dem Dateinamen ") + pfad
                            + QLatin1Char('.'),
                        0);
}

} // namespace

QString WertEinfassen(const QString& wert, const QString& begrenzer)
{
    const QString t = wert.trimmed();
    if (t.isEmpty() || einZeichenWiederholt(t))
        return QString();
    if (begrenzer.isEmpty())
        return t;
    QString innen = t;
    innen.replace(begrenzer, begrenzer + begrenzer);
    return begrenzer + innen + begrenzer;
}

QByteArray ExportInhalt(const Index& idx, const std::vector<qint32>& einträge, const QString& pfad, qint16 format,
                        const QString& anführung, const QString& trenner, const QStringList& spalten)
{
    QByteArray aus;
    aus.reserve(qsizetype(einträge.size()) * (spalten.size() + 1) * 40 + 1024);
    switch (format) {
    case ExportText:
        textSchreiben(aus, idx, einträge, anführung, trenner, spaltenAuflösen(spalten));
        break;
    case ExportHtml:
        htmlSchreiben(aus, idx, einträge, spaltenAuflösen(spalten));
        break;
    default:
        playlistSchreiben(aus, idx, einträge, pfad);
        break;
    }
    return aus;
}

bool ListeExportieren(const Index& idx, const std::vector<qint32>& einträge, const QString& pfad, qint16 format,
                      const QString& anführung, const QString& trenner, const QStringList& spalten,
                      QObject* besitzer)
{
    const QFileInfo info(pfad);
    // Only a regular file is ever replaced; a link is followed to it.
    if (info.exists() && !info.isFile()) {
        nichtErsetzbarMelden(pfad, besitzer);
        return false;
    }
    const QString ziel = info.isSymLink() && info.exists() ? info.canonicalFilePath() : pfad;
    const QByteArray inhalt = ExportInhalt(idx, einträge, pfad, format, anführung, trenner, spalten);
    SichereDatei datei(ziel, QStringLiteral("~"));
    if (!datei.Öffnen() || !datei.Schreiben(inhalt) || !datei.Fertigstellen()) {
        if (datei.UmbenennenFehlgeschlagen())
            nichtErsetzbarMelden(pfad, besitzer);
        else
            exportFehlerMelden(datei.FehlerNummer(), datei.Fehler(), besitzer);
        return false;
    }
    anzeigenAnbieten(pfad, besitzer);
    return true;
}

bool ListeExportieren(const std::vector<qint32>& einträge, const QString& pfad, qint16 format,
                      const QString& anführung, const QString& trenner, const QStringList& spalten,
                      QObject* besitzer)
{
    return ListeExportieren(hauptIndex(), einträge, pfad, format, anführung, trenner, spalten, besitzer);
}

QString TextEditorFinden()
{
    for (const char* name : kTextEditoren) {
        const QString p = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!p.isEmpty())
            return p;
    }
    return QString();
}
