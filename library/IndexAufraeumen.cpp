#include "library/IndexAufraeumen.h"

#include "core/Dateihelfer.h"
#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "core/Verfuegbarkeit.h"
#include "library/Verschieben.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Ersetzt { Ja, NichtErstellt, NichtGelöscht };

// 0 or errno; only a regular file is emptied, and O_NONBLOCK keeps a FIFO
// from holding us.
int LeerenAnOrt(const QString& pfad)
{
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    int fehler = 0;
    if (::fstat(fd, &st) != 0)
        fehler = errno;
    else if (!S_ISREG(st.st_mode))
        fehler = EINVAL;
    else if (::ftruncate(fd, 0) != 0)
        fehler = errno;
    if (::close(fd) != 0 && fehler == 0)
        fehler = errno;
    return fehler;
}

// `fehler` gets the system's error number when the new file was not made.
Ersetzt LeereDateiErsetzen(const QString& pfad, const QString& neu, int& fehler)
{
    fehler = 0;
    if (neu == pfad) {
        fehler = LeerenAnOrt(pfad);
        return fehler == 0 ? Ersetzt::Ja : Ersetzt::NichtErstellt;
    }
    const QByteArray neuName = QFile::encodeName(neu);
    // Exclusively: a file that already has the new name is never overwritten.
    const int fd = ::open(neuName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        fehler = errno;
        return Ersetzt::NichtErstellt;
    }
    if (::close(fd) != 0) {
        fehler = errno;
        ::unlink(neuName.constData());
        return Ersetzt::NichtErstellt;
    }
    if (DateiLöschen(pfad))
        return Ersetzt::Ja;
    ::unlink(neuName.constData());
    return Ersetzt::NichtGelöscht;
}

} // namespace

AktionsAnzahl AktionenZählen(const std::vector<qint32>& doppelteAktion)
{
    AktionsAnzahl anzahl{};
    for (size_t e = 1; e < doppelteAktion.size(); ++e) {
        const qint32 a = doppelteAktion[e];
        if (a >= AktionLöschen && a <= AktionLeereDatei)
            ++anzahl[size_t(a)];
    }
    return anzahl;
}

QString AktionenFrage(const AktionsAnzahl& anzahl)
{
    return QStringLiteral("Sie haben folgende Aktionen gewählt:\n - ") + QString::number(anzahl[1])
        + QStringLiteral(" Datei(en) löschen und aus dem Index entfernen\n - ") + QString::number(anzahl[2])
        + QStringLiteral(" Datei(en) in den Papierkob verschieben und aus dem Index entfernen\n - ")
        + QString::number(anzahl[3]) + QStringLiteral(" Datei(en) aus dem Index entfernen, ohne diese zu löschen\n - ")
        + QString::number(anzahl[4])
        + QStringLiteral(" Datei(en) durch eine leere Datei mit anderer Datei-Endung ersetzen und aus dem Index "
                         "entfernen\n\nMöchten Sie diese Aktionen durchführen?");
}

bool AktionenBestätigen(const std::vector<qint32>& doppelteAktion, QObject* besitzer)
{
    const AktionsAnzahl anzahl = AktionenZählen(doppelteAktion);
    if (AktionenGesamt(anzahl) == 0) {
        MeldungZeigen(QStringLiteral("Bitte wählen Sie eine Aktion für mindestens eine gefundene Datei."),
                      Knöpfe::OK, Symbol::Information, besitzer);
        return false;
    }
    return MeldungZeigen(AktionenFrage(anzahl), Knöpfe::JaNein, Symbol::Ausruf, besitzer) == Antwort::Ja;
}

QString LeererDateiName(const QString& pfad, const QString& endung)
{
    const QString alt = DateiEndungZurückgeben(pfad);
    return pfad.left(pfad.size() - alt.size()) + QLatin1Char('.') + endung;
}

qint32 DurchLeereDateienErsetzen(Index& index, EintragsListe& lngEinträge, const QString& endung, QObject* besitzer)
{
    bolNichtVerfügbarAlleÜberspringen = false;
    qint32 unerreichbar = 0;
    for (size_t i = 0; i < lngEinträge.size(); ++i) {
        const LaufDatei lauf = LaufDateiPrüfen(index, lngEinträge, i, besitzer, unerreichbar);
        if (lauf == LaufDatei::Ende)
            break;
        if (lauf == LaufDatei::Übersprungen) {
            // Not reached (an absent medium): nothing was replaced, the entry stays.
            lngEinträge[i] = 0;
            continue;
        }
        // A file that is gone has nothing to replace: its entry leaves the
        // index as a deleted one's does, and no empty file takes a place
        // that no file held.
        if (lauf != LaufDatei::Da)
            continue;
        const QString pfad = index.strIndexPfad[size_t(lngEinträge[i])];
        const QString neu = LeererDateiName(pfad, endung);
        int fehler = 0;
        const Ersetzt ergebnis = LeereDateiErsetzen(pfad, neu, fehler);
        if (ergebnis == Ersetzt::Ja)
            continue;
        lngEinträge[i] = 0;
        bool weiter;
        if (ergebnis == Ersetzt::NichtGelöscht) {
            weiter = LöschfehlerWeiterFragen(pfad, besitzer);
        } else {
            const bool letzte = i + 1 == lngEinträge.size();
            const QString text = QStringLiteral("Die Datei '") + neu + QStringLiteral("' konnte nicht erstellt werden.\n")
                + SystemfehlerText(fehler);
            // After the last one there is nothing to go on with.
            if (letzte) {
                MeldungZeigen(text, Knöpfe::OK, Symbol::Ausruf, besitzer);
                weiter = false;
            } else {
                weiter = MeldungZeigen(text + QStringLiteral("\nMöchten Sie mit der nächsten Datei fortfahren?"),
                                       Knöpfe::JaNein, Symbol::Ausruf, besitzer)
                    == Antwort::Ja;
            }
        }
        if (!weiter) {
            ListeAbNullen(lngEinträge, i + 1);
            break;
        }
    }
    return unerreichbar;
}

void IndexAufräumen(Index& index, const std::vector<qint32>& doppelteAktion, QObject* besitzer,
                    std::vector<bool>* erledigt)
{
    bolNichtVerfügbarAlleÜberspringen = false;
    FortschrittZeigenStarten(6, false, besitzer, true, true, QStringLiteral("Vorgänge werden ausgeführt"));
    FortschrittZeigen(1, QStringLiteral("Dateien prüfen"), besitzer);
    // One list per action, in ascending entry numbers.
    std::array<EintragsListe, 5> liste;
    const size_t bis = std::min(doppelteAktion.size(), size_t(std::max<qint32>(index.lngIndexAnzahl, 0)) + 1);
    for (size_t e = 1; e < bis; ++e) {
        const qint32 a = doppelteAktion[e];
        if (a >= AktionLöschen && a <= AktionLeereDatei)
            liste[size_t(a)].push_back(qint32(e));
    }
    // The lists keep only the entries whose files went; the others stay
    // indexed, also those skipped for an absent medium: their files are there.
    std::array<qint32, 5> unerreichbar{};
    if (!liste[AktionLöschen].empty()) {
        FortschrittZeigen(2, QStringLiteral("Dateien löschen"), besitzer);
        unerreichbar[AktionLöschen] = DateienLöschen(index, liste[AktionLöschen], 1, false, true);
    }
    if (!liste[AktionPapierkorb].empty()) {
        FortschrittZeigen(3, QStringLiteral("Dateien in Papierkorb verschieben"), besitzer);
        unerreichbar[AktionPapierkorb] = DateienLöschen(index, liste[AktionPapierkorb], 2, false, true);
    }
    if (!liste[AktionLeereDatei].empty()) {
        FortschrittZeigen(4, QStringLiteral("Dateien ersetzen"), besitzer);
        unerreichbar[AktionLeereDatei] = DurchLeereDateienErsetzen(index, liste[AktionLeereDatei],
                                                                   QString::fromLatin1(kLeereDateiEndung), besitzer);
        FortschrittZeigen(5, QStringLiteral("Dateien ersetzen"), besitzer);
    }
    FortschrittZeigen(6, QStringLiteral("Index anpassen"), besitzer);
    if (erledigt)
        erledigt->assign(bis, false);
    EintragsListe entfernen;
    for (const Aktion a : {AktionAusIndexEntfernen, AktionLöschen, AktionPapierkorb, AktionLeereDatei}) {
        for (const qint32 e : liste[size_t(a)]) {
            if (e <= 0)
                continue;
            entfernen.push_back(e);
            if (erledigt)
                (*erledigt)[size_t(e)] = true;
        }
    }
    const auto geblieben = [&](Aktion a) {
        return qint32(std::count(liste[size_t(a)].cbegin(), liste[size_t(a)].cend(), 0)) - unerreichbar[size_t(a)];
    };
    const qint32 nichtGelöscht = geblieben(AktionLöschen) + geblieben(AktionPapierkorb);
    const qint32 nichtErsetzt = geblieben(AktionLeereDatei);
    const qint32 nichtErreichbar =
        unerreichbar[AktionLöschen] + unerreichbar[AktionPapierkorb] + unerreichbar[AktionLeereDatei];
    DateienLöschen(index, entfernen, 0, true);
    FortschrittZeigenBeenden(besitzer);
    AuswahlErmitteln();
    BeschreibungAktualisieren();
    // Entries kept for files that are still there are no tidy index.
    QStringList teile;
    if (nichtGelöscht > 0)
        teile.append(QString::number(nichtGelöscht) + QStringLiteral(" Datei(en) nicht gelöscht"));
    if (nichtErsetzt > 0)
        teile.append(QString::number(nichtErsetzt) + QStringLiteral(" Datei(en) nicht ersetzt"));
    if (nichtErreichbar > 0)
        teile.append(QString::number(nichtErreichbar) + QStringLiteral(" Datei(en) nicht erreichbar"));
    if (teile.isEmpty()) {
        StatusMeldungZeigen(QStringLiteral("Der Index wurde aufgeräumt"), 0);
        return;
    }
    const QString letzter = teile.takeLast();
    const QString aufzählung =
        teile.isEmpty() ? letzter : teile.join(QStringLiteral(", ")) + QStringLiteral(" und ") + letzter;
    StatusMeldungZeigen(QStringLiteral("Der Index wurde nicht vollständig aufgeräumt: ") + aufzählung
                            + QStringLiteral(", ihre Einträge bleiben im Index"),
                        0);
}
