#include "media/Mp3TagStapel.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "media/AutoTag.h"

#include <utility>

namespace {

const QString kWeiter = QStringLiteral("\nMöchten Sie mit der nächsten Datei fortfahren?");

QString TagName(bool v2) { return v2 ? QStringLiteral("ID3v2") : QStringLiteral("ID3v1"); }

void Tauschen(TagFelder& f, int a, int b) { std::swap(f[a], f[b]); }

void ZahlAusKommentar(TagFelder& f, bool v2, QObject* besitzer)
{
    const QString tag = TagName(v2);
    if (f[TagFelder::Kommentar].isEmpty()) {
        MeldungZeigen(QStringLiteral("Das Kommentar-Feld des %1-TAGs ist leer.").arg(tag), Knöpfe::OK,
                      Symbol::Information, besitzer);
        return;
    }
    const QString zahl = LetzteZiffernfolge(f[TagFelder::Kommentar]);
    if (zahl.isEmpty())
        MeldungZeigen(QStringLiteral("Es wurde keine Zahl im Kommentar-Feld des %1-TAGs gefunden.").arg(tag),
                      Knöpfe::OK, Symbol::Information, besitzer);
    else if (ZiffernWert(zahl, 255) > 255)
        MeldungZeigen(QStringLiteral("Die gefundene Zahl im Kommentar-Feld des %1-TAGs '%2' ist zu groß.").arg(tag, zahl),
                      Knöpfe::OK, Symbol::Information, besitzer);
    else
        f[TagFelder::Titelnummer] = zahl;
}

QString Schreibweise(int funktion, const QString& text)
{
    switch (funktion) {
    case FunktionErsterGroß: return WortanfängeGroßSchreiben(text, true);
    case FunktionWörterGroß: return WortanfängeGroßSchreiben(text, false);
    case FunktionKlein: return ZeichenweiseKlein(text);
    default: return ZeichenweiseGroß(text);
    }
}

// Asks after a failed save whether to go on; false ends the run.
bool SpeichernPrüfen(const StapelGespeichert& g, const StapelZiel& ziel, QObject* besitzer)
{
    const std::pair<bool, const char*> teile[] = {
        {ziel.v1 && !g.v1, "Es ist ein Fehler beim Speichern des ID3v1-TAGs aufgetreten."},
        {ziel.v2 && !g.v2, "Es ist ein Fehler beim Speichern des ID3v2-TAGs aufgetreten."},
        {!g.felder, "Es ist ein Fehler beim Speichern der Index-Felder aufgetreten."},
    };
    for (const auto& [fehler, text] : teile)
        if (fehler && MeldungZeigen(QString::fromUtf8(text) + kWeiter, Knöpfe::JaNein, Symbol::Ausruf, besitzer)
                          != Antwort::Ja)
            return false;
    return true;
}

// The function on the file shown; false ends the run.
bool Anwenden(StapelEditor& ed, int funktion, const StapelZiel& ziel, bool erste,
              std::optional<std::array<bool, TagFelder::Anzahl>>& gewählt, std::array<TagFelder, 2>& kopie)
{
    QObject* besitzer = ed.Besitzer();
    switch (funktion) {
    case FunktionAutoTag: {
        const MedienInfo quelle = ed.FormularLesen();
        MedienInfo ergebnis;
        if (AutoTagVersuchen(ed.Pfad(), einstellungen().AutoTagAktuell, ergebnis, quelle, ziel.tagCode, besitzer)
            && ed.Anzeigen(ergebnis))
            return true;
        return MeldungZeigen(QStringLiteral("Es ist ein Fehler in der Funktion 'AutoTAG' aufgetreten.") + kWeiter,
                             Knöpfe::JaNein, Symbol::Frage, besitzer)
            == Antwort::Ja;
    }
    case FunktionAutoTagEinstellen:
        ed.AutoTagEinstellen();
        return false;
    case FunktionFelderKopieren: {
        if (erste) {
            gewählt = ed.FelderWählen();
            if (!gewählt)
                return false;
            kopie = {ed.Felder(false), ed.Felder(true)};
        }
        // The tags the target names only: the other page keeps the file's
        // own fields, whatever the run.
        for (bool v2 : {false, true}) {
            if (!(v2 ? ziel.v2 : ziel.v1))
                continue;
            TagFelder f = ed.Felder(v2);
            for (int i = 0; i < TagFelder::Anzahl; ++i)
                if ((*gewählt)[size_t(i)])
                    f[i] = kopie[v2][i];
            ed.FelderSetzen(v2, f);
        }
        return true;
    }
    default:
        if (funktion < FunktionTitelInterpret || funktion > FunktionGroß)
            return false;
        for (bool v2 : {false, true}) {
            if (!(v2 ? ziel.v2 : ziel.v1))
                continue;
            TagFelder f = ed.Felder(v2);
            StapelFeldFunktion(funktion, f, v2, besitzer);
            ed.FelderSetzen(v2, f);
        }
        return true;
    }
}

} // namespace

const QStringList& StapelFunktionen()
{
    static const QStringList f = {
        QStringLiteral("AutoTAG ausführen"),
        QStringLiteral("AutoTAG einstellen..."),
        QStringLiteral("Vertauschen: Titel <-> Interpret"),
        QStringLiteral("Vertauschen: Titel <-> Album"),
        QStringLiteral("Vertauschen: Interpret <-> Album"),
        QStringLiteral("Zahl aus Kommentar in Titelnummer"),
        QStringLiteral("Schreibweise: Klein, Erster groß"),
        QStringLiteral("Schreibweise: Klein, Wörter groß"),
        QStringLiteral("Schreibweise: Klein"),
        QStringLiteral("Schreibweise: Groß"),
        QStringLiteral("Felder kopieren..."),
    };
    return f;
}

const QStringList& StapelZiele()
{
    static const QStringList z = {
        QStringLiteral("Diesen ID3v1-TAG"),         QStringLiteral("Diesen ID3v2-TAG"),
        QStringLiteral("Diesen ID3v1- und ID3v2-TAG"), QStringLiteral("Alle ID3v1-TAGs"),
        QStringLiteral("Alle ID3v2-TAGs"),          QStringLiteral("Alle ID3v1- und ID3v2-TAGs"),
    };
    return z;
}

const QStringList& KopierFelder()
{
    static const QStringList f = {QStringLiteral("Titel"), QStringLiteral("Interpret"), QStringLiteral("Album"),
                                  QStringLiteral("Jahr"), QStringLiteral("Titelnummer"), QStringLiteral("Genre"),
                                  QStringLiteral("Kommentar")};
    return f;
}

StapelZiel StapelZielErmitteln(int position)
{
    switch (position) {
    case 0: return {true, false, false, 1};
    case 1: return {false, true, false, 2};
    case 2: return {true, true, false, 0};
    case 3: return {true, false, true, 1};
    case 4: return {false, true, true, 2};
    case 5: return {true, true, true, 0};
    default: return {};
    }
}

QString LetzteZiffernfolge(const QString& text)
{
    qsizetype ende = text.size() - 1;
    while (ende >= 0 && !IstZiffernfolge(text.at(ende)))
        --ende;
    qsizetype anfang = ende;
    while (anfang > 0 && IstZiffernfolge(text.at(anfang - 1)))
        --anfang;
    return ende < 0 ? QString() : text.mid(anfang, ende - anfang + 1);
}

void StapelFeldFunktion(int funktion, TagFelder& f, bool v2, QObject* besitzer)
{
    switch (funktion) {
    case FunktionTitelInterpret: Tauschen(f, TagFelder::Titel, TagFelder::Interpret); break;
    case FunktionAlbumTitel: Tauschen(f, TagFelder::Album, TagFelder::Titel); break;
    case FunktionInterpretAlbum: Tauschen(f, TagFelder::Album, TagFelder::Interpret); break;
    case FunktionZahlAusKommentar: ZahlAusKommentar(f, v2, besitzer); break;
    case FunktionErsterGroß:
    case FunktionWörterGroß:
    case FunktionKlein:
    case FunktionGroß:
        for (int i : {TagFelder::Album, TagFelder::Interpret, TagFelder::Kommentar, TagFelder::Titel})
            f[i] = Schreibweise(funktion, f[i]);
        break;
    default: break;
    }
}

void StapelAusführen(StapelEditor& ed, int funktion, int zielPosition)
{
    QObject* besitzer = ed.Besitzer();
    if (funktion < 0 || funktion >= StapelFunktionen().size()
        || ((zielPosition < 0 || zielPosition >= StapelZiele().size()) && funktion != FunktionAutoTagEinstellen)) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie eine Funktion."), Knöpfe::OK, Symbol::Information, besitzer);
        return;
    }
    const StapelZiel ziel = StapelZielErmitteln(zielPosition);
    int von = ed.DateiGezeigt(), bis = von;
    if (ziel.alle) {
        if (MeldungZeigen(QStringLiteral("Möchten Sie die Funktion '") + StapelFunktionen()[funktion]
                              + QStringLiteral("' tatsächlich für '") + StapelZiele()[zielPosition]
                              + QStringLiteral("' anwenden?"),
                          Knöpfe::JaNein, Symbol::Ausruf, besitzer)
            != Antwort::Ja)
            return;
        von = 1;
        bis = ed.DateiAnzahl();
    }
    const QString lesen = QString(ziel.v1 ? u'1' : u'0') + QString(ziel.v2 ? u'1' : u'0') + QLatin1Char('1');
    std::optional<std::array<bool, TagFelder::Anzahl>> gewählt;
    std::array<TagFelder, 2> kopie;
    for (int k = von; k <= bis; ++k) {
        // One file: the one shown is worked on; nothing is loaded or saved.
        if (von != bis) {
            if (k != von && !SpeichernPrüfen(ed.Speichern(ziel.v1, ziel.v2), ziel, besitzer))
                return;
            if (ed.DateiLaden(k, lesen) != 0)
                return;
            ed.EreignisseLaufenLassen();
        }
        if (!Anwenden(ed, funktion, ziel, k == von, gewählt, kopie))
            return;
    }
}
