#include "library/Verschieben.h"

#include "core/Funktionen.h"
#include "core/SichereDatei.h"
#include "core/Meldungen.h"
#include "library/Besitzer.h"
#include "core/Dateihelfer.h"
#include "library/Dateikennung.h"
#include "platform/Schreibzugriff.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {


using Fehler = Laufzeitfehler;

// Failures that mean "the file cannot be reached now".
bool IstZugriffsfehler(int nummer)
{
    return nummer == 55 || (nummer >= 67 && nummer <= 70) || nummer == 75;
}

} // namespace

Laufzeitfehler FehlerAusErrno(int e)
{
    // The failures the messages know by their own numbers; every other one
    // is described by the one German table of system failures.
    switch (e) {
    case EACCES:
    case EPERM:
    case EROFS:
        return {70, QStringLiteral("Zugriff verweigert")};
    case EBUSY:
    case ETXTBSY:
        return {55, QStringLiteral("Datei bereits geöffnet")};
    case EMFILE:
    case ENFILE:
        return {67, QStringLiteral("Zu viele Dateien")};
    case ENODEV:
    case ENXIO:
        return {68, QStringLiteral("Gerät nicht verfügbar")};
    case ENOSPC:
        return {61, QStringLiteral("Datenträger voll")};
    case ENOENT:
        return {53, QStringLiteral("Datei nicht gefunden")};
    case EEXIST:
        return {58, QStringLiteral("Datei existiert bereits")};
    case EINVAL:
        return {52, QStringLiteral("Dateiname oder -nummer falsch")};
    default:
        return {e, SystemfehlerBeschreibung(e)};
    }
}

QString SystemfehlerText(int e)
{
    const Laufzeitfehler f = FehlerAusErrno(e);
    return FehlerText(f.beschreibung, f.nummer);
}

QString QuelleFehltMeldung(const QString& strQuelle)
{
    return QStringLiteral("Die Datei '") + strQuelle
        + QStringLiteral("' (Quelldatei) kann nicht verschoben oder umbenannt werden.\nDiese '") + strQuelle
        + QStringLiteral("' existiert nicht.");
}

namespace {

QString FehlerMeldung(const QString& quelle, const Fehler& f)
{
    QString text = QStringLiteral("Es ist ein Fehler beim Ändern des Dateinamens '") + quelle
        + QStringLiteral("' aufgetreten.\n");
    if (IstZugriffsfehler(f.nummer))
        return text + QStringLiteral("Auf die Datei kann nicht zugegriffen werden (Fehler ") + QString::number(f.nummer)
            + QStringLiteral(").\nStellen Sie sicher, dass diese nicht in einem Programm (z.B. Download-Programm, "
                             "Musikeditor, Audioplayer) geöffnet ist und der Zugriff möglich ist (z.B. "
                             "schreibgeschütztes Laufwerk).");
    return text + FehlerText(f.beschreibung, f.nummer) + QLatin1Char('.');
}

QByteArray Roh(const QString& pfad) { return QFile::encodeName(pfad); }

// Whether another program still writes the file (a download appending):
// asked through a read-only descriptor of our own.
bool WirdGeschrieben(const QString& pfad)
{
    const int fd = ReguläreDateiÖffnen(pfad);
    if (fd < 0)
        return false;
    const bool ja = AndererProzessSchreibt(fd);
    ::close(fd);
    return ja;
}

QString WirdGeschriebenMeldung(const QString& quelle) { return FehlerMeldung(quelle, {EAGAIN, InBenutzungText()}); }

bool Vorhanden(const QString& pfad)
{
    struct stat st;
    return ::lstat(Roh(pfad).constData(), &st) == 0;
}

bool IstLink(const QString& pfad)
{
    struct stat st;
    return ::lstat(Roh(pfad).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

int Umbenennen(const QString& von, const QString& nach, bool ersetzen)
{
    if (!ersetzen)
        return UmbenennenOhneErsetzen(von, nach);
    return ::rename(Roh(von).constData(), Roh(nach).constData()) == 0 ? 0 : errno;
}

// The target as the medium spells it: where the file system ignores case,
// a folder asked for in other letter case is the existing one, and the
// entry takes that folder's spelling. `angaben`: the target's, when known.
void WieAufDemMedium(QString& ziel, const struct stat* angaben = nullptr)
{
    struct stat st;
    if (!angaben) {
        if (::stat(Roh(ziel).constData(), &st) != 0)
            return;
        angaben = &st;
    }
    if (SchreibweiseEgal(ziel, quint64(angaben->st_dev)))
        ziel = WieGeschrieben(ziel, quint64(angaben->st_dev));
}

// Gives the entry of `quelle` the name `name`, equal apart from letter case,
// in its folder. Where the system keeps the old spelling (it finds the one
// entry under both names and takes the rename as done), through a temporary
// name. 0 or errno; on failure the file keeps its name.
int SchreibweiseÄndern(const QString& quelle, const QString& name)
{
    const QString ordner = PfadZurückgeben(quelle);
    const QString ziel = PfadVerbinden(ordner, name);
    const bool direkt = ::rename(Roh(quelle).constData(), Roh(ziel).constData()) == 0;
    if (!direkt || NamenOhneSchreibweise(ordner, name) != QStringList(name)) {
        QString temp;
        if (const int e = TempAnlegen(ziel, QStringLiteral("-neu"),
                                      [&](const QString& t) { return UmbenennenOhneErsetzen(quelle, t); }, temp);
            e != 0)
            return e;
        if (const int e = UmbenennenOhneErsetzen(temp, ziel); e != 0) {
            UmbenennenOhneErsetzen(temp, quelle);
            OrdnerSynchronisieren(ordner);
            return e;
        }
    }
    OrdnerSynchronisieren(ordner);
    return 0;
}

// Creates the folder and its missing parents: 0 or errno, with `gescheitert`
// the folder that could not be made.
int OrdnerAnlegen(const QString& ordner, QString& gescheitert)
{
    QStringList fehlend;
    for (QString o = ordner; !o.isEmpty() && o != QLatin1String("/") && !IstOrdner(o); o = PfadZurückgeben(o))
        fehlend.prepend(o);
    for (const QString& o : fehlend)
        if (::mkdir(Roh(o).constData(), 0777) != 0 && !(errno == EEXIST && IstOrdner(o))) {
            gescheitert = o;
            return errno == EEXIST ? ENOTDIR : errno;
        }
    return 0;
}

QString GrößeText(const QString& pfad)
{
    const auto k = DateiKennungLesen(pfad);
    return QString::number(k ? k->größe : 0);
}

QString KonfliktBeschreibung(const QString& quelle, const QString& ziel)
{
    return QStringLiteral("Die Datei '") + quelle + QStringLiteral("' (Größe: ") + GrößeText(quelle)
        + QStringLiteral(" Bytes) kann nicht umbenannt werden.\nDie Zieldatei '") + ziel + QStringLiteral("' (Größe: ")
        + GrößeText(ziel)
        + QStringLiteral(" Bytes) existiert bereits.\n\nBenennen Sie die Quelldatei mit der Funktion 'Umbenennen' in "
                         "einen einmaligen Dateinamen um (z.B. 'Datei-0.mp3', 'Datei-1.mp3',...) oder wählen Sie "
                         "'Abbrechen', um den Kopiervorgang abzubrechen. Mit der Funktion 'Ersetzen' wird die bereits "
                         "existierende Datei vom Datenträger gelöscht und durch die neue Datei ersetzt.");
}

// Whether a character may stay in a name: only the control characters go
// (below U+0020 all but backspace, tab, line feed and carriage return, and
// U+007F to U+009F) and lone surrogates. Every other character stays, the
// Windows-1252 letters (Š, Ž, €, –) as much as format characters (the
// joiners of emoji sequences and Persian words), private-use characters and
// those newer than Qt's tables.
bool ZeichenErlaubt(char32_t c)
{
    if (c < 0x20)
        return c == 8 || c == 9 || c == 10 || c == 13;
    if (c >= 0x7F && c <= 0x9F)
        return false;
    return !QChar::isSurrogate(c);
}

// Where a symbolic link points, as a path that holds from any folder: a
// relative target is put behind the link's own folder (the system resolves
// both alike), tidied where the tidy form names the same file.
int LinkZielAbsolut(const QString& link, QByteArray& ziel)
{
    QByteArray puffer(PATH_MAX, Qt::Uninitialized);
    const ssize_t n = ::readlink(Roh(link).constData(), puffer.data(), size_t(puffer.size()));
    if (n < 0)
        return errno;
    if (n >= puffer.size())
        return ENAMETOOLONG;
    ziel = puffer.left(n);
    if (ziel.startsWith('/'))
        return 0;
    ziel = Roh(PfadZurückgeben(link)) + '/' + ziel;
    const QString sauber = QDir::cleanPath(QFile::decodeName(ziel));
    if (GleicheDatei(sauber, QFile::decodeName(ziel)))
        ziel = Roh(sauber);
    return 0;
}

// Puts a symbolic link at `ziel` in another folder that leads where the link
// `quelle` leads (the old link stays; the data behind it is never touched).
// Replacing goes through a temporary link. 0 or errno; `umbenennenFehler`
// tells whether the rename over the replaced target failed.
int LinkNeuAnlegen(const QString& quelle, const QString& ziel, bool ersetzen, bool& umbenennenFehler)
{
    umbenennenFehler = false;
    QByteArray inhalt;
    if (const int e = LinkZielAbsolut(quelle, inhalt); e != 0)
        return e;
    const auto anlegen = [&inhalt](const QString& pfad) {
        return ::symlink(inhalt.constData(), Roh(pfad).constData()) == 0 ? 0 : errno;
    };
    if (!ersetzen)
        return anlegen(ziel); // refuses an existing name by itself
    QString temp;
    if (const int e = TempAnlegen(ziel, QStringLiteral("-neu"), anlegen, temp); e != 0)
        return e;
    if (::rename(Roh(temp).constData(), Roh(ziel).constData()) != 0) {
        const int e = errno;
        ::unlink(Roh(temp).constData());
        umbenennenFehler = true;
        return e;
    }
    return 0;
}

} // namespace


void KopierFehlerNachBytesSetzen(qint64 bytes) { DateiKopierenFehlerNachBytes(bytes); }
void VorDemUmbenennenSetzen(std::function<void()> f) { VorDemUmbenennenOhneErsetzen(std::move(f)); }

QString DateinameBereinigen(const QString& strText, bool bolPfadeErlaubt)
{
    for (const char* doppelt : {"//", "/\\", "\\\\", "\\/"}) {
        if (strText.contains(QLatin1String(doppelt)))
            return QString();
    }
    if (!bolPfadeErlaubt && (strText.endsWith(QLatin1Char('\\')) || strText.endsWith(QLatin1Char('/'))))
        return QString();
    QString ergebnis;
    ergebnis.reserve(strText.size());
    for (qsizetype i = 0; i < strText.size(); ++i) {
        char32_t c = strText.at(i).unicode();
        const bool paar = QChar::isHighSurrogate(c) && i + 1 < strText.size() && strText.at(i + 1).isLowSurrogate();
        if (paar)
            c = QChar::surrogateToUcs4(strText.at(i), strText.at(i + 1));
        bool weg;
        switch (c) {
        case U'*': case U'?': case U'"': case U'<': case U'>': case U'|':
            weg = true;
            break;
        case U'/': case U'\\': case U':':
            weg = !bolPfadeErlaubt;
            break;
        default:
            weg = !ZeichenErlaubt(c);
        }
        if (!weg) {
            ergebnis.append(strText.at(i));
            if (paar)
                ergebnis.append(strText.at(i + 1));
        }
        if (paar)
            ++i;
    }
    if (!bolPfadeErlaubt && (ergebnis == QLatin1String(".") || ergebnis == QLatin1String("..")))
        return QString();
    return ergebnis;
}

bool DateiVerschieben(const QString& strQuelle, QString& strZiel, int& intModus, QString& strMeldung)
{
    strMeldung.clear();
    if (intModus == 1 && strZiel == strQuelle)
        return true;
    // A stored path of another system (a drive letter, backslashes) names no
    // file here, whatever the working folder holds.
    int unerreichbar = 0;
    if (!strQuelle.startsWith(QChar(kPfadTrenner))
        || DateiExistenz(strQuelle, nullptr, &unerreichbar) != Existenz::Vorhanden) {
        // A source that cannot be reached is not said to be missing.
        strMeldung = unerreichbar ? FehlerMeldung(strQuelle, FehlerAusErrno(unerreichbar)) : QuelleFehltMeldung(strQuelle);
        return false;
    }
    // A relative target would land wherever the program happens to run.
    if (!strZiel.startsWith(QChar(kPfadTrenner))) {
        strMeldung = FehlerMeldung(strQuelle, FehlerAusErrno(EINVAL));
        return false;
    }

    // The final name first: every later test is about the name that will be used.
    const QString ordner = PfadZurückgeben(strZiel);
    const QString name = DateinameBereinigen(DateinameZurückgeben(strZiel), false);
    if (name.isEmpty()) {
        strMeldung = FehlerMeldung(strQuelle, FehlerAusErrno(EINVAL));
        return false;
    }
    strZiel = PfadVerbinden(ordner, name);
    if (intModus == 1 && strZiel == strQuelle)
        return true;

    // A target that is the source itself (another name for the same file:
    // a case change on a medium that ignores case, or a link) is no conflict
    // for a move; which it is, device and inode tell.
    bool ersetzen = false;
    if (Vorhanden(strZiel)) {
        // The one entry under another spelling: a move renames it (no
        // second file, nothing replaced), and the entry takes the name as
        // asked for, in the folder as the medium spells it.
        if (intModus == 1 && GleicherEintrag(strQuelle, strZiel)) {
            const QString name = DateinameZurückgeben(strZiel);
            if (name != DateinameZurückgeben(strQuelle)) {
                if (const int e = SchreibweiseÄndern(strQuelle, name); e != 0) {
                    strMeldung = FehlerMeldung(strQuelle, FehlerAusErrno(e));
                    return false;
                }
            }
            WieAufDemMedium(strZiel);
            return true;
        }
        const bool selbe = GleicheDatei(strQuelle, strZiel) || GleicherEintrag(strQuelle, strZiel);
        if (selbe && intModus == 1) {
            if (!TextGleich(strQuelle, strZiel)) {
                WieAufDemMedium(strZiel);
                return true; // a second name of the file already holds it
            }
            ersetzen = true; // the case change renames the file onto itself
        } else {
            const DateiExistiert antwort = DateiExistiertFragen(strQuelle, strZiel);
            switch (antwort) {
            case DateiExistiert::Umbenennen: {
                const QString endung = DateiEndungZurückgeben(strZiel);
                const QString dateiname = DateinameZurückgeben(strZiel);
                const QString frei = FortlaufendenDateinamen(
                    strZiel, dateiname.left(dateiname.size() - endung.size()) + QLatin1Char('-'),
                    QStringLiteral("0"), QString());
                if (frei.isEmpty()) {
                    strMeldung = FehlerMeldung(strQuelle, FehlerAusErrno(EEXIST));
                    return false;
                }
                strZiel = frei;
                break;
            }
            case DateiExistiert::Ersetzen:
                if (selbe) {
                    // A copy onto itself becomes a rename onto itself.
                    intModus = 1;
                    if (!TextGleich(strQuelle, strZiel)) {
                        WieAufDemMedium(strZiel);
                        return true;
                    }
                }
                ersetzen = true;
                break;
            default:
                strMeldung = QStringLiteral("Die Datei '") + strQuelle
                    + QStringLiteral("' kann nicht verschoben oder umbenannt werden.\nDie Zieldatei existiert '")
                    + strZiel + QStringLiteral("' bereits und Umbenennen wurde nicht gewünscht.");
                return false;
            }
        }
    }

    QString ohneOrdner;
    if (const int e = OrdnerAnlegen(PfadZurückgeben(strZiel), ohneOrdner); e != 0) {
        strMeldung = QStringLiteral("Es ist ein Fehler beim Ändern des Dateinamens '") + strQuelle
            + QStringLiteral("' aufgetreten.\nDer Ordner '") + ohneOrdner
            + QStringLiteral("' kann nicht angelegt werden: ") + SystemfehlerText(e) + QLatin1Char('.');
        return false;
    }

    int fehler = 0;
    bool ersetzenFehlgeschlagen = false;
    bool kopieren = intModus != 1;
    // What a move leaves at the source once the target is complete.
    bool quelleLöschen = false;
    if (!kopieren) {
        if (IstLink(strQuelle) && !GleicheDatei(PfadZurückgeben(strQuelle), PfadZurückgeben(strZiel))) {
            // A link renamed in its folder still leads where it led; one that
            // changes folders is made anew to lead there from the new one.
            bool umbenennenFehler = false;
            fehler = LinkNeuAnlegen(strQuelle, strZiel, ersetzen, umbenennenFehler);
            ersetzenFehlgeschlagen = ersetzen && umbenennenFehler;
            if (fehler != 0 && !ersetzenFehlgeschlagen) {
                strMeldung = QStringLiteral("Es ist ein Fehler beim Ändern des Dateinamens '") + strQuelle
                    + QStringLiteral("' aufgetreten.\nDie Datei ist eine symbolische Verknüpfung, die in '")
                    + PfadZurückgeben(strZiel) + QStringLiteral("' nicht angelegt werden kann: ")
                    + SystemfehlerText(fehler) + QLatin1Char('.');
                return false;
            }
            quelleLöschen = fehler == 0;
        } else {
            fehler = Umbenennen(strQuelle, strZiel, ersetzen);
            if (fehler == EXDEV) {
                kopieren = true;
                fehler = 0;
            } else {
                ersetzenFehlgeschlagen = ersetzen && fehler != 0;
            }
        }
        // The new name lasts before the index records it.
        if (!kopieren && fehler == 0) {
            OrdnerSynchronisieren(PfadZurückgeben(strZiel));
            if (PfadZurückgeben(strZiel) != PfadZurückgeben(strQuelle))
                OrdnerSynchronisieren(PfadZurückgeben(strQuelle));
        }
    }
    // Across file systems the source goes after the copy: not while another
    // program still writes it, or what it writes later is lost.
    if (kopieren && intModus == 1 && WirdGeschrieben(strQuelle)) {
        strMeldung = WirdGeschriebenMeldung(strQuelle);
        return false;
    }
    Kopiervorgang kopie;
    if (kopieren) {
        kopie = DateiKopieren(strQuelle, strZiel, ersetzen, intModus == 1);
        fehler = kopie.fehler;
        ersetzenFehlgeschlagen = ersetzen && kopie.umbenennenFehler;
        // A move across file systems: the source goes only once the copy is
        // complete and on the disk.
        quelleLöschen = fehler == 0 && intModus == 1 && !GleicheDatei(strQuelle, strZiel);
    }
    if (ersetzenFehlgeschlagen) {
        MeldungZeigen(QStringLiteral("Die Datei '") + strZiel
                          + QStringLiteral("' konnte nicht überschieben werden, da die Datei nicht gelöscht werden kann."),
                      Knöpfe::OK, Symbol::Ausruf, BibliotheksBesitzer());
        return false;
    }
    if (fehler != 0) {
        strMeldung = fehler == EAGAIN && kopieren ? WirdGeschriebenMeldung(strQuelle)
                     : kopie.fremderBesitzer      ? FehlerMeldung(strQuelle, {fehler, kopie.text})
                                                  : FehlerMeldung(strQuelle, FehlerAusErrno(fehler));
        return false;
    }
    if (quelleLöschen) {
        struct stat jetzt;
        if (kopieren && (::stat(Roh(strQuelle).constData(), &jetzt) != 0 || DateiStandVon(jetzt) != kopie.kopiert
                         || WirdGeschrieben(strQuelle))) {
            // The copy goes again; the source, still written, keeps its entry.
            ::unlink(Roh(strZiel).constData());
            OrdnerSynchronisieren(PfadZurückgeben(strZiel));
            strMeldung = WirdGeschriebenMeldung(strQuelle);
            return false;
        }
        // A link goes itself (never a permission of what it leads to).
        const bool weg = IstLink(strQuelle) ? ::unlink(Roh(strQuelle).constData()) == 0 : DateiLöschen(strQuelle);
        if (!weg) {
            // The source stays as it was, the copy goes again: the move
            // failed, and the entry keeps naming the source.
            ::unlink(Roh(strZiel).constData());
            OrdnerSynchronisieren(PfadZurückgeben(strZiel));
            strMeldung = QStringLiteral("Die Datei '") + strQuelle
                + QStringLiteral("' konnte nicht verschoben werden, da sie nicht gelöscht werden kann. Die Kopie '")
                + strZiel + QStringLiteral("' wurde wieder entfernt.");
            return false;
        }
        OrdnerSynchronisieren(PfadZurückgeben(strQuelle));
    }
    struct stat angekommen;
    if (!DoesExist(strZiel, &angekommen)) {
        strMeldung = FehlerMeldung(strQuelle, FehlerAusErrno(ENOENT));
        return false;
    }
    WieAufDemMedium(strZiel, &angekommen);
    return true;
}

DateiExistiert DateiExistiertFragen(const QString& strQuelle, const QString& strZiel)
{
    const DateiExistiertFrage& frage = Dienst<DateiExistiertDienst>();
    return frage ? frage(KonfliktBeschreibung(strQuelle, strZiel)) : DateiExistiert::Abbrechen;
}
