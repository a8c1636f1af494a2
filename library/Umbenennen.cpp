#include "library/Umbenennen.h"

#include "core/Dateihelfer.h"
#include "core/Einstellungen.h"
#include "core/Felder.h"
#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/SichereDatei.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"
#include "core/Verfuegbarkeit.h"
#include "library/Besitzer.h"
#include "library/Verschieben.h"
#include "media/MedienInfosLesen.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QChar kSeparator(kPfadTrenner);

QByteArray Roh(const QString& pfad) { return QFile::encodeName(pfad); }

bool Vorhanden(const QString& pfad)
{
    struct stat st;
    return ::lstat(Roh(pfad).constData(), &st) == 0;
}

// In what the user types, "\" separates folders as "/" does.
QString EingabeTrenner(QString text)
{
    return text.replace(QLatin1Char('\\'), kSeparator);
}

// The same for a path the user edited: only the part he changed is
// converted, so that a "\" in the existing name stays.
QString TrennerInÄnderung(const QString& alt, const QString& neu)
{
    qsizetype vorn = 0;
    while (vorn < alt.size() && vorn < neu.size() && alt[vorn] == neu[vorn])
        ++vorn;
    qsizetype hinten = 0;
    while (hinten < alt.size() - vorn && hinten < neu.size() - vorn
           && alt[alt.size() - 1 - hinten] == neu[neu.size() - 1 - hinten])
        ++hinten;
    return neu.left(vorn) + EingabeTrenner(neu.mid(vorn, neu.size() - vorn - hinten)) + neu.right(hinten);
}

// The folder part of an absolute path without "//", "." and ".."; the name
// stays as it is (the move step cleans it).
QString OrdnerTeilBereinigen(const QString& pfad)
{
    if (!pfad.startsWith(kSeparator))
        return pfad;
    return PfadVerbinden(QDir::cleanPath(PfadZurückgeben(pfad)), DateinameZurückgeben(pfad));
}

// A folder name made with field text, cleaned as a file name is, and
// without the trailing dots and blanks that FAT, exFAT and NTFS refuse or
// Windows cannot open; "" when nothing stays (or "." or "..": no tag leads
// a file out of its folder).
QString FeldOrdnerBereinigen(const QString& teil)
{
    QString name = DateinameBereinigen(teil, false);
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

// The target of the field format for the entry: the format filled as the
// list shows the fields, below `ordner` unless it begins with a separator,
// followed by `endung`. A field text never makes a separator, and a folder
// that a field made part of is cleaned (and dropped when nothing stays).
// `feldText` tells whether any field gave text.
QString FeldFormatZiel(const Index& index, qint32 eintrag, const QString& strFormat, const QString& ordner,
                       const QString& endung, bool& feldText)
{
    const QString format = EingabeTrenner(strFormat);
    const bool absolut = format.startsWith(kSeparator);
    feldText = false;
    // Path parts, each with whether a field made part of it.
    QStringList pfad;
    QString teil;
    bool ausFeld = false;
    const auto teilEnde = [&](bool letzter) {
        if (ausFeld && !letzter)
            teil = FeldOrdnerBereinigen(teil);
        else if (ausFeld && (teil == QLatin1String(".") || teil == QLatin1String("..")))
            teil.clear();
        if (!teil.isEmpty() || letzter)
            pfad.append(teil);
        teil.clear();
        ausFeld = false;
    };
    for (const FormatTeil& t : DateinamenFormatTeile(index, format, eintrag, FeldModus::Anzeige)) {
        if (t.feld) {
            // Neither separator: in a pattern "\" separates folders too.
            const QString text = QString(t.text).remove(kSeparator).remove(QLatin1Char('\\'));
            feldText = feldText || !DateinameBereinigen(text, false).trimmed().isEmpty();
            teil += text;
            ausFeld = true;
            continue;
        }
        const QStringList stücke = t.text.split(kSeparator);
        for (qsizetype i = 0; i < stücke.size(); ++i) {
            if (i > 0)
                teilEnde(false);
            teil += stücke[i];
        }
    }
    teilEnde(true);
    const QString relativ = pfad.join(kSeparator) + endung;
    return absolut ? kSeparator + relativ : PfadVerbinden(ordner, relativ);
}

// A whole number that a counter can start from (leading zeros allowed).
bool IstGanzeZahl(const QString& text)
{
    static const QRegularExpression muster(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    bool ok = false;
    t.toInt(&ok);
    return ok && muster.match(t).hasMatch();
}

QString Fortlaufend(const QString& pfad, const UmbenennenEingaben& e, UmbenennenLauf& lauf)
{
    const QString ordner = PfadZurückgeben(pfad);
    const QString endung = DateiEndungZurückgeben(pfad);
    const QString anfang = EingabeTrenner(e.strAnfang);
    const QString ende = EingabeTrenner(e.strEnde);
    // The counter goes on where the last file of this run went to, so that
    // each file tries few names.
    const QString schlüssel =
        PfadZurückgeben(PfadVerbinden(ordner, anfang + QLatin1Char('0') + ende + endung)) + QChar(0) + endung;
    const auto gemerkt = lauf.nächsterZähler.constFind(schlüssel);
    const QString start = gemerkt != lauf.nächsterZähler.cend() ? *gemerkt : e.strStartZahl;
    const QString frei = FortlaufendenDateinamen(pfad, anfang, start, ende);
    if (!frei.isEmpty()) {
        const qsizetype vorn = PfadVerbinden(ordner, anfang).size();
        const QString zähler = frei.mid(vorn, frei.size() - vorn - ende.size() - endung.size());
        lauf.nächsterZähler.insert(schlüssel, ZählerErhöhen(zähler));
    }
    return frei;
}

QString NameInSchreibweise(const QString& name, int modus)
{
    switch (modus) {
    case 1:
        return ZeichenweiseKlein(name);
    case 2:
        return ZeichenweiseGroß(name);
    case 3:
        return WortanfängeGroßSchreiben(name, true);
    case 4:
        return WortanfängeGroßSchreiben(name, false);
    default:
        return name;
    }
}

// Creates an empty file; 0 or errno. Never opens an existing one.
int LeerExklusivErstellen(const QString& pfad)
{
    const int fd = ::open(Roh(pfad).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    ::fsync(fd);
    return ::close(fd) == 0 ? 0 : errno;
}

void NichtVorhandenMelden(const QString& pfad, QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Die angegebene Datei '") + pfad
                      + QStringLiteral("' existiert nicht.\nBitte ändern Sie den Listeneintrag nochmals, um einen "
                                       "gültigen Namen zu hinterlegen."),
                  Knöpfe::OK, Symbol::Information, besitzer);
}

QString Mp3TagLesenZeichen(int stelle)
{
    const QString& s = einstellungen().Mp3TagLesen;
    return stelle < s.size() ? s.mid(stelle, 1) : QStringLiteral("0");
}

bool Listeneintrag(Index& index, qint32 eintrag, QObject* besitzer)
{
    const DateinameAbfrage& frage = Dienst<DateinameAbfrageDienst>();
    const QString alt = index.strIndexPfad[size_t(eintrag)];
    QString neu = alt;
    if (!frage || !frage(alt, neu, true))
        return false;
    // The index keeps absolute paths only.
    if (!neu.startsWith(kSeparator)) {
        NichtVorhandenMelden(neu, besitzer);
        return false;
    }
    index.strIndexPfad[size_t(eintrag)] = neu;
    int unerreichbar = 0;
    const Existenz da = DateiExistenz(neu, nullptr, &unerreichbar);
    if (da == Existenz::Vorhanden) {
        MedienInfo info = LeereMedienInfo();
        const QString lesen = Mp3TagLesenZeichen(0) + Mp3TagLesenZeichen(1) + Mp3TagLesenZeichen(2);
        if (lesen != QLatin1String("000"))
            info = MedienInfosLesen(index, neu, LeereMedienInfo(), lesen.left(2), false, lesen.mid(2, 1),
                                    lesen.mid(2, 1));
        index.IndexDaten[size_t(eintrag)] = info;
    } else if (da == Existenz::Unbekannt) {
        // The record stays, and the file is not called missing.
        MeldungZeigen(NichtErreichbarText(neu, unerreichbar), Knöpfe::OK, Symbol::Information, besitzer);
    } else {
        // The record (tags, play statistics) stays for when the file appears.
        NichtVorhandenMelden(neu, besitzer);
    }
    index.bolIndexGeändert = true;
    return true;
}

bool LeereDatei(Index& index, qint32 eintrag, const QString& endung, QObject* besitzer)
{
    const QString pfad = index.strIndexPfad[size_t(eintrag)];
    // A missing file has nothing to replace, and its record stays for when
    // it appears; a stored path of another system names no file here.
    int unerreichbar = 0;
    if (!pfad.startsWith(kSeparator) || DateiExistenz(pfad, nullptr, &unerreichbar) != Existenz::Vorhanden) {
        MeldungZeigen(unerreichbar ? NichtErreichbarText(pfad, unerreichbar) : QuelleFehltMeldung(pfad), Knöpfe::OK,
                      Symbol::Ausruf, besitzer);
        return false;
    }
    QString fehlerPfad;
    int fehler = 0;
    if (!LeereDateiMitEndungErstellen(pfad, endung, true, &fehlerPfad, &fehler)) {
        if (fehlerPfad == pfad)
            MeldungZeigen(QStringLiteral("Die Datei '") + pfad + QStringLiteral("' konnte nicht gelöscht werden."),
                          Knöpfe::OK, Symbol::Ausruf, besitzer);
        else if (!fehlerPfad.isEmpty())
            MeldungZeigen(QStringLiteral("Die Datei '") + fehlerPfad + QStringLiteral("' konnte nicht erstellt werden.")
                              + (fehler ? QLatin1Char('\n') + SystemfehlerText(fehler) : QString()),
                          Knöpfe::OK, Symbol::Ausruf, besitzer);
        return false;
    }
    index.IndexDaten[size_t(eintrag)] = LeereMedienInfo();
    index.bolIndexGeändert = true;
    return true;
}

// An extension the user typed that would lead elsewhere or name nothing.
bool EndungUnbrauchbar(const QString& endung)
{
    return endung.isEmpty() || endung.contains(kSeparator) || endung.contains(QLatin1Char('\\'));
}

// A pattern may leave nothing of a name: no name at all, "." or "..", or an
// extension alone (a hidden file). `ziel` as the move step will clean it.
bool NameUnbrauchbar(const QString& ziel)
{
    const QString name = DateinameBereinigen(DateinameZurückgeben(ziel), false);
    return name.isEmpty() || name.size() == DateiEndungZurückgeben(name).size();
}

} // namespace

const QStringList& UmbenennenFunktionsTexte()
{
    static const QStringList texte = {
        QStringLiteral("Nach Index-Feldern umbenennen"),
        QStringLiteral("Zeichen im Dateinamen ersetzen"),
        QStringLiteral("Fortlaufende Dateinamen erstellen"),
        QStringLiteral("Manuell per Eingabefeld umbenennen"),
        QStringLiteral("Listeneintrag ändern - nicht umbenennen"),
        QStringLiteral("Schreibweise des Dateinamens ändern"),
        QStringLiteral("Datei-Endung ändern"),
        QStringLiteral("Datei-Attribute ändern"),
        QStringLiteral("Datei durch leere Datei mit anderer Endung ersetzen"),
    };
    return texte;
}

int UmbenennenFunktionAusPosition(int position)
{
    static const int codes[] = {0, 1, 2, 3, 5, 4, 6, 7, 8};
    return position >= 0 && position < 9 ? codes[position] : -1;
}

QString UmbenennenEingabenPrüfen(const UmbenennenEingaben& e)
{
    switch (e.intFunktion) {
    case UmbenennenFelder:
        if (e.strFormat.isEmpty())
            return QStringLiteral("Es wurde kein Format bei der ID3-Umbenennung angegeben.");
        return QString();
    case UmbenennenErsetzen:
        if (e.strErsetzen.isEmpty())
            return QStringLiteral("Das Feld für die Ersetzen-Formatierung ist leer.");
        return QString();
    case UmbenennenFortlaufend:
        if (e.strStartZahl.isEmpty())
            return QStringLiteral("Es wurde keine Start-Zeichenfolge bei der fortlaufenden Umbenennung angegeben.");
        if (!IstGanzeZahl(e.strStartZahl))
            return QStringLiteral("Die Start-Zeichenfolge bei der fortlaufenden Umbenennung muß eine Zahl sein.");
        return QString();
    case UmbenennenSchreibweise:
        if (e.intSchreibweise < 1 || e.intSchreibweise > 4)
            return QStringLiteral(
                "Bitte markieren Sie, ob Sie den Dateinamen in Groß- oder in Kleinschreibung ändern wollen.");
        return QString();
    case UmbenennenEndung:
    case UmbenennenLeereDatei:
        // The renamed or empty file must lie where the old one was.
        if (EndungUnbrauchbar(e.intFunktion == UmbenennenEndung ? e.strEndung : e.strLeereEndung))
            return QStringLiteral("Bitte geben Sie eine neue Datei-Endung ein.");
        return QString();
    case UmbenennenManuell:
    case UmbenennenListeneintrag:
    case UmbenennenAttribute:
        return QString();
    default:
        return QStringLiteral("Bitte wählen Sie eine Methode aus der Liste.");
    }
}

UmbenennenEingaben UmbenennenEinstellungenLesen()
{
    const Einstellungen& s = einstellungen();
    UmbenennenEingaben e;
    e.strFormat = s.UmbenennenEingabeID3;
    e.strAnfang = s.UmbenennenEingabeNeuAnfang;
    e.strStartZahl = s.UmbenennenEingabeNeuZahl;
    e.strEnde = s.UmbenennenEingabeNeuEnde;
    e.strErsetzen = s.UmbenennenEingabeErsetzenText;
    e.strErsetzenDurch = s.UmbenennenEingabeErsetzenDurch;
    e.intSchreibweise = s.UmbenennenEingabeSchreibweise;
    e.strEndung = s.UmbenennenEingabeDateiEndung;
    e.intSchreibschutz = s.UmbenennenAttributeR;
    e.intArchiv = s.UmbenennenAttributeA;
    e.intSystem = s.UmbenennenAttributeS;
    e.intVersteckt = s.UmbenennenAttributeH;
    return e;
}

void UmbenennenEinstellungenSpeichern(const UmbenennenEingaben& e)
{
    Einstellungen& s = einstellungen();
    s.UmbenennenEingabeID3 = e.strFormat;
    s.UmbenennenEingabeNeuAnfang = e.strAnfang;
    s.UmbenennenEingabeNeuZahl = e.strStartZahl;
    s.UmbenennenEingabeNeuEnde = e.strEnde;
    s.UmbenennenEingabeErsetzenText = e.strErsetzen;
    s.UmbenennenEingabeErsetzenDurch = e.strErsetzenDurch;
    s.UmbenennenEingabeSchreibweise = e.intSchreibweise;
    s.UmbenennenEingabeDateiEndung = e.strEndung;
    s.UmbenennenAttributeR = e.intSchreibschutz;
    s.UmbenennenAttributeA = e.intArchiv;
    s.UmbenennenAttributeS = e.intSystem;
    s.UmbenennenAttributeH = e.intVersteckt;
}

QString UmbenennenPlatzhalter()
{
    QString text;
    const auto& namen = standardwerte().strSpaltenNamen;
    for (size_t i = 1; i < namen.size(); ++i) {
        if (QStringLiteral("Benutzerdefiniert").contains(namen[i]))
            continue; // the user column, and empty names
        text += QLatin1Char('%') + namen[i] + QStringLiteral("% ");
    }
    return text;
}

bool DateiNachKriterienUmbenennen(Index& index, qint32 lngEintrag, const UmbenennenEingaben& e,
                                  UmbenennenLauf& lauf)
{
    if (!index.GültigerEintrag(lngEintrag))
        return false;
    QObject* besitzer = BibliotheksBesitzer();
    if (const QString hinweis = UmbenennenEingabenPrüfen(e); !hinweis.isEmpty()) {
        MeldungZeigen(hinweis, Knöpfe::OK, Symbol::Information, besitzer);
        return false;
    }
    const QString pfad = index.strIndexPfad[size_t(lngEintrag)];
    const QString ordner = PfadZurückgeben(pfad);
    const QString name = DateinameZurückgeben(pfad);
    const QString endung = DateiEndungZurückgeben(pfad);
    const QString bloß = name.left(name.size() - endung.size());

    QString ziel;
    switch (e.intFunktion) {
    case UmbenennenFelder: {
        bool feldText = false;
        ziel = FeldFormatZiel(index, lngEintrag, e.strFormat, ordner, endung, feldText);
        // Nothing of the file's own: its name, maybe the only place its
        // title stands, stays.
        if (!feldText) {
            ++lauf.ohneFelder;
            return true;
        }
        break;
    }
    case UmbenennenErsetzen:
        ziel = PfadVerbinden(ordner, TextErsetzen(bloß, e.strErsetzen, EingabeTrenner(e.strErsetzenDurch)) + endung);
        break;
    case UmbenennenFortlaufend:
        ziel = Fortlaufend(pfad, e, lauf);
        break;
    case UmbenennenManuell: {
        const DateinameAbfrage& frage = Dienst<DateinameAbfrageDienst>();
        QString neu = pfad;
        if (!frage || !frage(pfad, neu, false))
            return false;
        ziel = TrennerInÄnderung(pfad, neu);
        break;
    }
    case UmbenennenSchreibweise:
        ziel = PfadVerbinden(ordner, NameInSchreibweise(bloß, e.intSchreibweise) + endung);
        break;
    case UmbenennenEndung:
        ziel = pfad.left(pfad.size() - endung.size()) + QLatin1Char('.') + e.strEndung;
        break;
    case UmbenennenListeneintrag:
        return Listeneintrag(index, lngEintrag, besitzer);
    case UmbenennenAttribute: {
        QString meldung;
        if (!DateiAttributeSetzen(pfad, e.intSchreibschutz, e.intArchiv, e.intSystem, e.intVersteckt, meldung)) {
            MeldungZeigen(meldung, Knöpfe::OK, Symbol::Ausruf, besitzer);
            return false;
        }
        index.bolIndexGeändert = true;
        return true;
    }
    case UmbenennenLeereDatei:
        return LeereDatei(index, lngEintrag, e.strLeereEndung, besitzer);
    default:
        return false;
    }

    // The move step: conflicts, folders and the final name are DateiVerschieben's.
    if (ziel != pfad) {
        ziel = OrdnerTeilBereinigen(ziel);
        if (!ziel.isEmpty() && NameUnbrauchbar(ziel)) {
            MeldungZeigen(QStringLiteral("Die Datei '") + pfad + QStringLiteral("' wurde nicht umbenannt: Der neue Name '")
                              + DateinameZurückgeben(ziel)
                              + QStringLiteral("' ist leer, besteht nur aus der Datei-Endung oder ist '.' oder '..'."),
                          Knöpfe::OK, Symbol::Ausruf, besitzer);
            return false;
        }
    }
    int modus = 1;
    QString meldung;
    if (!DateiVerschieben(pfad, ziel, modus, meldung)) {
        if (!meldung.isEmpty())
            MeldungZeigen(meldung, Knöpfe::OK, Symbol::Ausruf, besitzer);
        return false;
    }
    OrdnerLöschenFragen(ordner);
    index.strIndexPfad[size_t(lngEintrag)] = ziel;
    if (Mp3TagLesenZeichen(2) == QLatin1String("1"))
        index.IndexDaten[size_t(lngEintrag)].Datei_Datenträger = DatenträgerNameZurückgeben(LaufwerkZurückgeben(ziel));
    index.bolIndexGeändert = true;
    if (ziel != pfad)
        lauf.entfernt = ZielEinträgeErneuern(index, ziel, lngEintrag);
    return true;
}

qint32 DateienUmbenennen(Index& index, const EintragsListe& einträge, const UmbenennenEingaben& e,
                         std::vector<EintragsErgebnis>* ergebnis)
{
    // The run's own numbers, which follow entries that leave the index.
    EintragsListe liste = einträge;
    ErgebnisseVorbereiten(ergebnis, index, liste);
    QObject* besitzer = BibliotheksBesitzer();
    const qint32 anzahl = qint32(liste.size());
    FortschrittZeigenStarten(anzahl, true, besitzer, true, false, QStringLiteral("Benenne Dateien um"));
    bolNichtVerfügbarAlleÜberspringen = false;
    UmbenennenLauf lauf;
    qint32 behandelt = 0;
    bool ganz = true;
    for (qint32 i = 0; i < anzahl; ++i) {
        const qint32 eintrag = liste[size_t(i)];
        if (!index.GültigerEintrag(eintrag))
            continue;
        if (e.intFunktion != UmbenennenListeneintrag) {
            // A missing file is never replaced by an empty one: it is passed
            // over. The other functions meet it in the move step, which says so.
            const int verfügbar =
                DateiNichtVerfügbarPrüfen(index, eintrag, besitzer, e.intFunktion == UmbenennenLeereDatei);
            if (verfügbar == 1)
                continue;
            if (verfügbar == 2) {
                ganz = false;
                break;
            }
        }
        lauf.entfernt.clear();
        const qint32 ohneFelder = lauf.ohneFelder;
        const bool erledigt = DateiNachKriterienUmbenennen(index, eintrag, e, lauf);
        if (erledigt && lauf.ohneFelder != ohneFelder) {
            // Left as it is, and said so at the end.
        } else if (erledigt) {
            ++behandelt;
            EintragsNummernAnpassen(liste, lauf.entfernt);
            if (ergebnis)
                (*ergebnis)[size_t(i)] = {true, index.strIndexPfad[size_t(liste[size_t(i)])]};
        } else if (i + 1 < anzahl
                   && MeldungZeigen(QStringLiteral("Möchten Sie mit der nächsten Datei fortfahren?"), Knöpfe::JaNein,
                                    Symbol::Frage, besitzer)
                       != Antwort::Ja) {
            ganz = false;
            break;
        }
        if (!FortschrittZeigen(i + 1, QString(), besitzer)) {
            ganz = false;
            break;
        }
    }
    UmbenennenEinstellungenSpeichern(e);
    if (ganz)
        StatusMeldungZeigen(QString::number(behandelt) + QStringLiteral(" Dateien wurden umbenannt/geändert.")
                                + (lauf.ohneFelder ? QLatin1Char(' ') + QString::number(lauf.ohneFelder)
                                                         + QStringLiteral(" Dateien wurden nicht umbenannt, da alle "
                                                                          "Felder des Formats für sie leer sind.")
                                                   : QString()),
                            750);
    FortschrittZeigenBeenden(besitzer);
    SucheAktualisieren(false);
    return behandelt;
}

bool DateiAttributeSetzen(const QString& strPfad, int intSchreibschutz, int intArchiv, int intSystem,
                          int intVersteckt, QString& strMeldung)
{
    strMeldung.clear();
    const auto fehler = [&](const Laufzeitfehler& f) {
        strMeldung = QStringLiteral("Die Datei-Attribute der Datei '") + strPfad
            + QStringLiteral("' konnten nicht gesetzt werden.\n") + f.beschreibung + QStringLiteral(" (Fehlernummer ")
            + QString::number(f.nummer) + QLatin1Char(')');
        return false;
    };
    // Hidden, system and archive have no counterpart on these file systems.
    if (intArchiv || intSystem || intVersteckt)
        return fehler({5, QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument")});
    const QByteArray roh = Roh(strPfad);
    struct stat st;
    // A stored path of another system names no file here.
    if (!strPfad.startsWith(kSeparator) || ::stat(roh.constData(), &st) != 0)
        return fehler(FehlerAusErrno(strPfad.startsWith(kSeparator) ? errno : ENOENT));
    // Writable again means writable for the owner, as deleting does it.
    const mode_t alle = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t neu = intSchreibschutz ? (st.st_mode & ~alle) : (st.st_mode | S_IWUSR);
    if (neu != st.st_mode && ::chmod(roh.constData(), neu & 07777) != 0)
        return fehler(FehlerAusErrno(errno));
    return true;
}

bool LeereDateiMitEndungErstellen(const QString& strPfad, const QString& strEndung, bool bolLöschen,
                                  QString* strFehlerPfad, int* intFehler)
{
    QString fehlerPfad;
    int fehler = 0;
    const auto fertig = [&](bool erfolg) {
        if (strFehlerPfad)
            *strFehlerPfad = erfolg ? QString() : fehlerPfad;
        if (intFehler)
            *intFehler = erfolg ? 0 : fehler;
        return erfolg;
    };
    // Only an absolute path: a stored path of another system would put the
    // empty file wherever the program runs.
    if (!strPfad.startsWith(kSeparator) || EndungUnbrauchbar(strEndung))
        return fertig(false);
    const QString alteEndung = DateiEndungZurückgeben(strPfad);
    QString ziel = strPfad.left(strPfad.size() - alteEndung.size()) + QLatin1Char('.') + strEndung;

    // Replacing goes through a temporary file; otherwise the new name is made
    // exclusively, so that no other file is ever emptied by accident.
    bool ersetzen = bolLöschen && ziel == strPfad;
    if (!ersetzen && Vorhanden(ziel)) {
        switch (DateiExistiertFragen(strPfad, ziel)) {
        case DateiExistiert::Umbenennen: {
            const QString n = DateinameZurückgeben(ziel);
            ziel = FortlaufendenDateinamen(ziel, n.left(n.size() - DateiEndungZurückgeben(ziel).size())
                                                     + QLatin1Char('-'),
                                           QStringLiteral("0"), QString());
            if (ziel.isEmpty()) {
                fehlerPfad = strPfad.left(strPfad.size() - alteEndung.size()) + QLatin1Char('.') + strEndung;
                fehler = EEXIST;
                return fertig(false);
            }
            break;
        }
        case DateiExistiert::Ersetzen:
            ersetzen = true;
            break;
        default:
            return fertig(false);
        }
    }

    QString neu = ziel;
    fehler = ersetzen ? TempAnlegen(ziel, QStringLiteral("-neu"), LeerExklusivErstellen, neu)
                      : LeerExklusivErstellen(ziel);
    if (fehler != 0) {
        fehlerPfad = ziel;
        return fertig(false);
    }

    if (bolLöschen && ziel != strPfad && !DateiLöschen(strPfad)) {
        ::unlink(Roh(neu).constData());
        fehlerPfad = strPfad;
        return fertig(false);
    }
    if (ersetzen && ::rename(Roh(neu).constData(), Roh(ziel).constData()) != 0) {
        fehler = errno;
        ::unlink(Roh(neu).constData());
        fehlerPfad = ziel == strPfad ? strPfad : ziel;
        return fertig(false);
    }
    // The new name lasts before the index records it.
    OrdnerSynchronisieren(PfadZurückgeben(ziel));
    return fertig(true);
}
