#include "media/TagSchreiben.h"

#include "core/Einstellungen.h"
#include "core/Kodierung.h"
#include "core/Meldungen.h"
#include "core/SichereDatei.h"
#include "media/Id3v2Lesen.h"
#include "media/MedienDatei.h"
#include "platform/Schreibzugriff.h"

#include <QFile>
#include <QUrl>
#include <QtEndian>

#include <memory>
#include <optional>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int g_fehlerNach = 0;
bool g_fehlerSync = false;

constexpr qint64 kMaxTagGröße = (qint64(1) << 28) - 1; // the size field holds 28 bits
constexpr qint64 kMaxPadding = (qint64(256) << 20) - 1;
constexpr qint64 kKopierBlock = 64 << 10;
// The comment's, the link's and the year's places in Id3v2FrameFelder().
constexpr int kKommentarFeld = 8, kLinkFeld = 3, kJahrFeld = 9;

const QString kLF = QStringLiteral("\n");
const QString kZugriffHinweis = QStringLiteral(
    "Stellen Sie sicher, dass diese nicht in einem Programm (z.B. Download-Programm, Musikeditor, Audioplayer) "
    "geöffnet ist und der Zugriff möglich ist.");
const QString kEntfernenHinweis = QStringLiteral(
    "Stellen Sie sicher, daß die Datei verfügbar ist und nicht durch eine andere Anwendung geöffnet wurde.");

// A failure: the system's error number and its description.
struct Fehler {
    int nummer = 0;
    QString beschreibung;
    // The reason is told as it is (another user's file), not as an access failure.
    bool grundNennen = false;
    bool eigen = false; // the program's own sentence, not the system's description
    bool zugriff() const
    {
        return !grundNennen
            && (nummer == EACCES || nummer == EPERM || nummer == EROFS || nummer == EBUSY || nummer == ETXTBSY
                || nummer == EMFILE || nummer == ENFILE);
    }
};
Fehler SystemFehler(int nummer) { return {nummer, SystemfehlerBeschreibung(nummer)}; }
Fehler EigenerFehler(int nummer, const char* text) { return {nummer, QString::fromUtf8(text), false, true}; }
// A failure as a sentence of its own: the program's own texts as they
// stand, the system's with their number.
QString GrundText(const Fehler& f) { return f.eigen ? f.beschreibung : f.beschreibung + QStringLiteral(" (Fehler %1).").arg(f.nummer); }
Fehler NeuFehler(const SichereDatei& neu) { return {neu.FehlerNummer(), neu.Fehler(), neu.FremderBesitzer()}; }

const char* const kKeineDatei = "Die Datei ist keine gewöhnliche Datei.";
const char* const kKopfUngültig = "Der Kopf des vorhandenen ID3v2-TAGs ist ungültig.";
const char* const kÜberDasEnde = "Der vorhandene ID3v2-TAG reicht über das Ende der Datei hinaus.";
const char* const kNichtLesbar = "Die Felder des vorhandenen ID3v2-TAGs können nicht gelesen werden.";
const char* const kNichtÜbertragbar =
    "Der vorhandene ID3v2.2-TAG enthält Felder, die nicht in die Version 2.3 übertragen werden können.";
const char* const kZuGroß = "Der ID3v2-TAG wäre größer als 256 MB.";
// Why the frames cannot be read, behind kNichtLesbar.
const char* const kInDieAudiodaten = "Der ID3v2-TAG reicht in die Audiodaten hinein.";
const char* const kDatenImPadding = "Hinter den Feldern stehen Daten, die kein Feld sind.";
const char* const kGanzKomprimiert = "Der ID3v2.2-TAG ist als Ganzes komprimiert.";
const char* const kErweiterterKopf = "Der erweiterte Kopf des ID3v2-TAGs ist ungültig.";

// --- the file ------------------------------------------------------------------

enum class Zustand { Da, Fehlt, Fehler };

// A regular file the owner may write: refused are missing files, FIFOs,
// devices and files without the owner's write bit (also for root).
Zustand DateiPrüfen(const QString& pfad, Fehler& f)
{
    struct stat st;
    const QByteArray name = QFile::encodeName(pfad);
    if (pfad.isEmpty() || ::stat(name.constData(), &st) != 0) {
        if (pfad.isEmpty() || errno == ENOENT || errno == ENOTDIR)
            return Zustand::Fehlt;
        f = SystemFehler(errno);
        return Zustand::Fehler;
    }
    if (!S_ISREG(st.st_mode)) {
        f = EigenerFehler(EINVAL, kKeineDatei);
        return Zustand::Fehler;
    }
    if (!(st.st_mode & S_IWUSR) || ::access(name.constData(), W_OK) != 0) {
        f = SystemFehler(EACCES);
        return Zustand::Fehler;
    }
    return Zustand::Da;
}

bool StrengerKopf(const Id3v2Kopf& k)
{
    static const quint8 erlaubt[] = {0, 0, 0xC0, 0xE0, 0xF0};
    return (k.flags & ~erlaubt[k.haupt]) == 0;
}

// The old tag as the writer and the removal see it.
struct AlterTag {
    Id3v2Fund fund;            // position -1: none (or one that is not ours to cut)
    QByteArray roh;            // its bytes (the writer's), which the kept frames refer to
    Id3v2Ergebnis inhalt;      // its frames, listed and not gathered
};

// Finds the file's tag and checks it before anything is cut: a file that
// begins with "ID3" needs a strict header there; a tag must end inside the
// file. A tag inside a RIFF or FORM container belongs to the container.
// `lesen`: its frames are read too.
bool AltenTagFinden(MedienDatei& datei, AlterTag& alt, Fehler& f, bool lesen)
{
    const QByteArrayView anfang = datei.Lesen(0, 10);
    const bool beginntMitId3 = anfang.startsWith("ID3");
    const bool behälter = anfang.startsWith("RIFF") || anfang.startsWith("FORM");
    alt.fund = datei.Id3v2Finden(einstellungen().TAGsBytesSuchen);
    if (beginntMitId3 && alt.fund.position != 0) {
        f = EigenerFehler(EINVAL, kKopfUngültig);
        return false;
    }
    if (alt.fund.position > 0 && behälter)
        alt.fund = Id3v2Fund();
    if (alt.fund.position < 0)
        return true;
    if (!StrengerKopf(alt.fund.kopf)) {
        f = EigenerFehler(EINVAL, kKopfUngültig);
        return false;
    }
    if (alt.fund.ende() > datei.Länge()) {
        f = EigenerFehler(EINVAL, kÜberDasEnde);
        return false;
    }
    if (!lesen)
        return true;
    alt.roh = datei.Einlesen(alt.fund.position, alt.fund.kopf.GesamtGröße());
    if (alt.roh.size() != alt.fund.kopf.GesamtGröße()) {
        f = SystemFehler(EIO);
        return false;
    }
    alt.inhalt = Id3v2Lesen(alt.roh, false);
    return true;
}

// Where the tags that stand one behind the other from `ende` on end (a
// tagger that adds a tag instead of replacing the old one leaves it behind
// the new): whole tags with a strict header only, what is not one stays.
qint64 FolgendeTagsEnde(MedienDatei& datei, qint64 ende)
{
    for (;;) {
        const std::optional<Id3v2Kopf> k = Id3v2KopfLesen(datei.Lesen(ende, 10));
        if (!k || !StrengerKopf(*k) || k->GesamtGröße() > datei.Länge() - ende)
            return ende;
        ende += k->GesamtGröße();
    }
}

// Copies [von, bis) of the file into the new file.
bool Kopieren(MedienDatei& datei, SichereDatei& neu, qint64 von, qint64 bis, Fehler& f)
{
    for (qint64 pos = von; pos < bis; pos += kKopierBlock) {
        const qint64 n = std::min(kKopierBlock, bis - pos);
        const QByteArrayView v = datei.Lesen(pos, n);
        if (v.size() != n) {
            // The file was as long as this when it was opened: another program shortened it.
            f = {ESTALE, VerändertText()};
            return false;
        }
        if (!neu.Schreiben(v.data(), v.size())) {
            f = {neu.FehlerNummer(), neu.Fehler()};
            return false;
        }
    }
    return true;
}

qint64 VollSchreiben(int fd, QByteArrayView d, qint64 pos)
{
    qint64 geschrieben = 0;
    while (geschrieben < d.size()) {
        const ssize_t n = ::pwrite(fd, d.data() + geschrieben, size_t(d.size() - geschrieben), off_t(pos + geschrieben));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        geschrieben += n;
    }
    return geschrieben;
}

Fehler Verändert() { return {ESTALE, VerändertText()}; }

// Why a record read with a failure is no base for a write.
Fehler LeseFehler(int nummer)
{
    if (nummer == ESTALE)
        return {nummer, QStringLiteral("Die Datei wurde beim Lesen verändert und konnte nicht vollständig gelesen werden")};
    return {nummer, QStringLiteral("Die Datei konnte nicht vollständig gelesen werden: ") + SystemfehlerBeschreibung(nummer)};
}
Fehler SeitDemLesen() { return {ESTALE, QStringLiteral("Die Datei wurde seit dem Lesen von einem anderen Programm verändert")}; }

// A kill cannot stop a write inside one page of the file half-way, and an
// aligned page is what a disk writes whole.
constexpr qint64 kBlock = 4096;
bool ImEinenBlock(qint64 von, qint64 bis) { return bis <= von || von / kBlock == (bis - 1) / kBlock; }

// Bytes written over the file at `pos`, all inside one block.
struct Änderung {
    qint64 pos = 0;
    QByteArray neu;
};

bool ÄnderungSchreiben(int fd, const Änderung& ä)
{
    errno = 0;
    if (g_fehlerNach > 0 && --g_fehlerNach == 0) {
        // As a failing disk would: part of the bytes written, then an error.
        const QByteArrayView neu(ä.neu);
        VollSchreiben(fd, neu.first(neu.size() / 2), ä.pos);
        errno = EIO;
        return false;
    }
    const bool ok = VollSchreiben(fd, ä.neu, ä.pos) == ä.neu.size();
    SichereDatei::TestHakenAusführen(SichereDatei::Schritt::MittenImSchreiben);
    return ok;
}

int Synchronisieren(int fd)
{
    if (g_fehlerSync) {
        errno = EIO;
        return -1;
    }
    return ::fsync(fd);
}

enum class AnOrt { Geschrieben, Fehlgeschlagen, Umschreiben };

// Writes the changes through the file's own descriptor, one write each,
// fsyncs and checks that the path still names this file and that its length
// is what these writes make it (its old length, or the end of a change
// beyond it). Meanwhile no other program can open the file (a lease) when
// that can be had; otherwise one that has it open for writing refuses the
// write, and a change that would lengthen the file is left to a rewrite,
// since bytes appended by another program could follow it. On any failure
// the old bytes are written back and the file's own growth is cut away.
AnOrt AnOrtSchreiben(MedienDatei& datei, const QString& pfad, const std::vector<Änderung>& änderungen, Fehler& f)
{
    const int fd = datei.Deskriptor();
    SichereDatei::TestHakenAusführen(SichereDatei::Schritt::VorDemSchreiben);
    const AlleinigerZugriff allein(fd);
    const qint64 längeVorher = datei.Länge();
    qint64 erwartet = längeVorher;
    for (const Änderung& ä : änderungen)
        erwartet = std::max(erwartet, ä.pos + ä.neu.size());
    if (!allein.Gehalten()) {
        if (AndererProzessSchreibt(fd)) {
            f = {EAGAIN, InBenutzungText()};
            return AnOrt::Fehlgeschlagen;
        }
        if (erwartet > längeVorher)
            return AnOrt::Umschreiben;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        f = SystemFehler(errno);
        return AnOrt::Fehlgeschlagen;
    }
    // Changed since its tag was read: the place to write may be wrong.
    if (!(DateiStandVon(st) == datei.Stand())) {
        f = Verändert();
        return AnOrt::Fehlgeschlagen;
    }
    std::vector<Änderung> alt;
    for (const Änderung& ä : änderungen) {
        const qint64 n = std::max<qint64>(0, std::min(längeVorher, ä.pos + ä.neu.size()) - ä.pos);
        alt.push_back({ä.pos, datei.Lesen(ä.pos, n).toByteArray()});
        if (alt.back().neu.size() != n) {
            f = SystemFehler(EIO);
            return AnOrt::Fehlgeschlagen;
        }
    }

    bool ok = true;
    for (const Änderung& ä : änderungen)
        if (!ÄnderungSchreiben(fd, ä)) {
            f = SystemFehler(errno ? errno : EIO);
            ok = false;
            break;
        }
    if (ok && Synchronisieren(fd) != 0) {
        f = SystemFehler(errno);
        ok = false;
    }
    if (ok) {
        SichereDatei::TestHakenAusführen(SichereDatei::Schritt::VorDemAbschluss);
        struct stat amPfad;
        if (::fstat(fd, &st) != 0 || st.st_size != erwartet || ::stat(QFile::encodeName(pfad).constData(), &amPfad) != 0
            || amPfad.st_ino != st.st_ino || amPfad.st_dev != st.st_dev) {
            f = Verändert();
            ok = false;
        }
    }
    if (!ok) {
        for (auto a = alt.rbegin(); a != alt.rend(); ++a)
            VollSchreiben(fd, a->neu, a->pos);
        // Growth is cut only where the file was ours alone: no one else
        // could have appended behind it.
        if (erwartet > längeVorher && ::fstat(fd, &st) == 0 && st.st_size > längeVorher)
            (void)!::ftruncate(fd, off_t(längeVorher));
        ::fsync(fd);
    }
    return ok ? AnOrt::Geschrieben : AnOrt::Fehlgeschlagen;
}

// --- frames ----------------------------------------------------------------------

// Whether encoding 0 holds the text so that it reads back the same: Latin-1
// without U+0080..U+009F, which readers of encoding 0 take as Windows-1252.
bool Einbytig(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() <= 0x9F))
            return false;
    return true;
}

// Encoding byte and the encoded text (without terminator).
QByteArray TextKodieren(const QString& s, char& kodierung)
{
    if (Einbytig(s)) {
        kodierung = 0;
        return s.toLatin1();
    }
    kodierung = 1;
    return Id3v2Utf16(s);
}

QByteArray Frame(QByteArrayView id, const QByteArray& körper)
{
    return Mp3TAGSpeichernV2FrameHeaderZurückgeben(quint32(körper.size()), id) + körper;
}

// PCNT: ASCII digits as a counter of at least four bytes; nothing else.
QByteArray ZählerKörper(const QString& text)
{
    if (text.isEmpty() || text.size() > 20)
        return {};
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    bool ok = false;
    const quint64 wert = text.toULongLong(&ok);
    if (!ok)
        return {};
    QByteArray b(8, '\0');
    qToBigEndian<quint64>(wert, b.data());
    if (wert <= 0xFFFFFFFFu)
        b.remove(0, 4);
    // A zero byte and then only digit bytes is how counters were once
    // written as text; one more zero byte in front keeps this one a number.
    if (b[0] == 0 && std::all_of(b.begin() + 1, b.end(), [](char c) { return c >= '0' && c <= '9'; }))
        b.prepend('\0');
    return b;
}

// A link address is ISO-8859-1; what it cannot hold is percent-encoded.
QByteArray LinkLatin1(const QString& s)
{
    QByteArray b;
    for (QChar c : s) {
        if (c.unicode() <= 0xFF)
            b.append(char(c.unicode()));
        else
            b.append(QUrl::toPercentEncoding(QString(c)));
    }
    return b;
}

// The language a written comment gets: the three bytes of the comment it
// replaces as they stand (blanks, zeros, any letters), else "eng".
QByteArray KommentarSprache(QByteArrayView alt)
{
    return alt.size() == 3 ? alt.toByteArray() : QByteArray("eng");
}

// The frame of one field as written; empty when the field is not written.
QByteArray FeldFrame(const MedienInfo& m, const Id3v2FrameFeld& feld, const QByteArray& sprache)
{
    const QByteArrayView id(feld.id);
    const QString& wert = m.*feld.feld;
    if (wert.isEmpty() && id != "TPE1" && id != "TIT2")
        return {};
    if (id == "PCNT") {
        const QByteArray zähler = ZählerKörper(wert);
        return zähler.isEmpty() ? QByteArray() : Frame(id, zähler);
    }
    if (id == "WXXX")
        return Frame(id, QByteArray(2, '\0') + LinkLatin1(wert));
    // Several values as 2.3 holds them: joined with "/", as the frames of
    // an unchanged field of several values are written.
    if (id != "COMM" && wert.contains(Id3v2WerteFuge()))
        return Id3v2TextFrameBauen(id, {QString(wert).replace(Id3v2WerteFuge(), QStringLiteral("/"))});
    if (id != "COMM")
        return Id3v2TextFrameBauen(id, {wert});
    char kodierung = 0;
    const QByteArray text = TextKodieren(wert, kodierung);
    const QByteArray beschreibung = kodierung ? QByteArray("\xFF\xFE\0\0", 4) : QByteArray(1, '\0');
    return Frame(id, kodierung + sprache + beschreibung + text);
}

// The frames of one field of a 2.2 tag (several of one id) in 2.3 form; empty
// when one of them has none.
QByteArray Frames22Übertragen(QByteArrayView frames)
{
    QByteArray aus;
    for (qsizetype pos = 0; pos + 6 <= frames.size();) {
        const auto* u = reinterpret_cast<const unsigned char*>(frames.data() + pos);
        const qsizetype länge = 6 + ((qsizetype(u[3]) << 16) | (u[4] << 8) | u[5]);
        const std::optional<QByteArray> frame = Id3v2Frame22Für23(frames.sliced(pos, std::min(länge, frames.size() - pos)));
        if (!frame)
            return {};
        aus += *frame;
        pos += länge;
    }
    return aus;
}

// A year typed (or cleared) is the tag's only date: the kept frames of the
// old date (a second year, its day and time) go. `stelle`: the places of comment and
// link among the kept frames with both put back, as they stay.
void AndereDatenEntfernen(std::vector<QByteArray>& weitere, qsizetype (&stelle)[2])
{
    const qsizetype alt[2] = {stelle[0], stelle[1]};
    std::vector<QByteArray> rest;
    qsizetype k = 0;
    for (QByteArray& f : weitere) {
        while (k == alt[0] || k == alt[1])
            ++k;
        if (f.startsWith("TYER") || f.startsWith("TDRC") || f.startsWith("TDAT") || f.startsWith("TIME")) {
            for (int i = 0; i < 2; ++i)
                if (alt[i] > k)
                    --stelle[i];
        } else {
            rest.push_back(std::move(f));
        }
        ++k;
    }
    weitere = std::move(rest);
}

// The new tag behind its header, frame by frame; `gehalten` marks a frame
// kept from the old tag (which the user cannot type again). The kept frames
// come first, in their order (odd and empty ones too: a reader that stops
// at one then stops in front of the program's own frames, not in front of a
// kept one), then the program's own: a text edit changes only the tail of
// the tag.
struct Stück {
    QByteArrayView daten;
    bool gehalten;
};
struct NeuerTag {
    std::vector<Stück> stücke;
    qint64 größe = 0;
    // What the own pieces refer to.
    QByteArray eigene, kommentar, link, platzhalter;
};

// What the fields were read from: each field's frame in 2.3 form (empty
// where there is none to keep), the texts read, and where the comment's and
// the link's frames stood (the reader's places).
struct Herkunft {
    std::array<QByteArray, kId3v2Felder> frames;
    std::array<QString, kId3v2Felder> texte;
    qsizetype stelle[2] = {-1, -1};
};

// Room behind the own frames that a later edit may take and still stay in
// the block they start in.
constexpr qint64 kSpielraum = 1024;

// A field whose text is what was read from its frame keeps that frame as it
// stands. A comment (link) replaces the frame it was read from; it goes
// where that frame stood when another one without a description is kept,
// since readers take the first such frame for the field; otherwise with the
// program's own frames. `kopie`: the tag is written anew at the file's
// start: the old placeholders go, and where the own frames and the room
// behind them would reach over the end of a block, a placeholder in front
// makes them start at the next one.
void TagAufbauen(const MedienInfo& m, const std::vector<QByteArray>& weitere, const Herkunft& herkunft,
                 const QByteArray& sprache, bool kopie, NeuerTag& t)
{
    // Going in front of weitere[vor]; of two there, the one that stood first
    // first.
    struct Einschub {
        qsizetype vor, rang;
        QByteArrayView frame;
    };
    std::vector<Einschub> einschübe;
    const auto& tabelle = Id3v2FrameFelder();
    for (size_t feld = 0; feld < tabelle.size(); ++feld) {
        const QByteArrayView id(tabelle[feld].id);
        const QByteArray& alt = herkunft.frames[feld];
        QByteArray frame = !alt.isEmpty() && m.*tabelle[feld].feld == herkunft.texte[feld]
                             ? alt
                             : FeldFrame(m, tabelle[feld], sprache);
        const int art = id == "COMM" ? 0 : id == "WXXX" ? 1 : -1;
        if (art < 0) {
            t.eigene += frame;
            continue;
        }
        const qsizetype stelle = herkunft.stelle[art];
        qsizetype vor = -1;
        for (qsizetype i = 0; i < qsizetype(weitere.size()) && !frame.isEmpty() && vor < 0; ++i)
            if (weitere[size_t(i)].startsWith(id) && Id3v2OhneBeschreibung(weitere[size_t(i)]))
                vor = i;
        if (vor >= 0 && stelle >= 0) {
            // The reader's place counts the other field's frame when it stood in front.
            const qsizetype andere = herkunft.stelle[1 - art];
            vor = stelle - (andere >= 0 && andere < stelle ? 1 : 0);
        }
        if (vor < 0) {
            t.eigene += frame;
            continue;
        }
        QByteArray& ablage = art == 0 ? t.kommentar : t.link;
        ablage = std::move(frame);
        einschübe.push_back({vor, stelle >= 0 ? stelle : qsizetype(weitere.size()), ablage});
    }
    std::sort(einschübe.begin(), einschübe.end(), [](const Einschub& a, const Einschub& b) {
        return std::pair(a.vor, a.rang) < std::pair(b.vor, b.rang);
    });
    std::vector<Stück> folge;
    for (const QByteArray& f : weitere)
        if (!kopie || !Id3v2IstPlatzhalter(f))
            folge.push_back({f, true});
    qsizetype eingefügt = 0;
    for (const Einschub& e : einschübe)
        folge.insert(folge.begin() + std::min(e.vor + eingefügt++, qsizetype(folge.size())), {e.frame, false});

    t.stücke = std::move(folge);
    qint64 vorn = 10;
    for (const Stück& s : t.stücke)
        vorn += s.daten.size();
    const qint64 eigene = t.eigene.size();
    if (kopie && vorn > 10 && eigene + kSpielraum <= kBlock && vorn % kBlock + eigene + kSpielraum > kBlock) {
        const QByteArray besitzer = Id3v2PlatzhalterBesitzer();
        qint64 lücke = kBlock - vorn % kBlock;
        if (lücke < 10 + besitzer.size())
            lücke += kBlock;
        t.platzhalter = Frame("PRIV", besitzer + QByteArray(qsizetype(lücke - 10 - besitzer.size()), '\0'));
        t.stücke.push_back({t.platzhalter, false});
    }
    t.stücke.push_back({t.eigene, false});
    for (const Stück& s : t.stücke)
        t.größe += s.daten.size();
}

// The change that turns the old tag (its whole extent `alt`, at the file's
// start) into the new one of the same extent: the bytes from the first one
// that differs to the last, which must lie inside one block; nothing to
// write when none differs. None when a kept frame would not stand where it
// stands or the change would reach over the end of a block.
std::optional<Änderung> AnOrtÄndern(const NeuerTag& t, QByteArrayView alt)
{
    const QByteArray kopf = Mp3TAGSpeichernV2TAGHeaderZurückgeben(quint32(alt.size() - 10));
    // Each piece of the new tag at its place; the padding is zeros.
    std::vector<std::pair<qint64, QByteArrayView>> teile{{0, kopf}};
    qint64 pos = kopf.size();
    qint64 erst = -1, letzt = -1;
    const auto vergleichen = [&](qint64 ab, qsizetype n, const auto& neu) {
        const QByteArrayView da = alt.sliced(ab, n);
        qsizetype a = 0, z = n;
        while (a < z && neu(a) == da[a])
            ++a;
        while (z > a && neu(z - 1) == da[z - 1])
            --z;
        if (a < z) {
            erst = erst < 0 ? ab + a : erst;
            letzt = ab + z;
        }
    };
    vergleichen(0, kopf.size(), [&](qsizetype i) { return kopf[i]; });
    for (const Stück& s : t.stücke) {
        if (pos + s.daten.size() > alt.size())
            return std::nullopt;
        const QByteArrayView da = alt.sliced(pos, s.daten.size());
        if (s.gehalten && da.data() != s.daten.data() && da != s.daten)
            return std::nullopt;
        if (!s.gehalten)
            vergleichen(pos, s.daten.size(), [&](qsizetype i) { return s.daten[i]; });
        teile.emplace_back(pos, s.daten);
        pos += s.daten.size();
    }
    vergleichen(pos, alt.size() - pos, [](qsizetype) { return '\0'; });
    if (!ImEinenBlock(erst, letzt))
        return std::nullopt;
    Änderung ä;
    if (erst < 0)
        return ä;
    // The new bytes of [erst, letzt): zeros where no piece lies.
    ä.pos = erst;
    ä.neu = QByteArray(qsizetype(letzt - erst), '\0');
    for (const auto& [ab, daten] : teile) {
        const qint64 von = std::max(ab, erst), bis = std::min(ab + daten.size(), letzt);
        if (von < bis)
            std::memcpy(ä.neu.data() + (von - erst), daten.data() + (von - ab), size_t(bis - von));
    }
    return ä;
}

// Header, frames and `padding` zero bytes into the new file.
bool TagSchreiben(SichereDatei& neu, const NeuerTag& t, qint64 padding)
{
    if (!neu.Schreiben(Mp3TAGSpeichernV2TAGHeaderZurückgeben(quint32(t.größe + padding))))
        return false;
    for (const Stück& s : t.stücke)
        if (!neu.Schreiben(s.daten.data(), s.daten.size()))
            return false;
    static const QByteArray nullen(kKopierBlock, '\0');
    for (qint64 rest = padding; rest > 0; rest -= kKopierBlock)
        if (!neu.Schreiben(nullen.constData(), std::min(rest, kKopierBlock)))
            return false;
    return true;
}

qint64 PaddingBerechnen(qint64 tagGröße)
{
    const double p = double(tagGröße) * double(einstellungen().TAGsProzentHinzufügen) / 100.0;
    // Halves to the even number; clamped before the conversion can overflow.
    return qint64(std::nearbyint(std::clamp(p, 0.0, double(kMaxPadding))));
}

QString PfadText(const QString& pfad) { return QLatin1Char('\'') + pfad + QLatin1Char('\''); }

QString SpeichernMeldung(const char* tag, const QString& pfad, const Fehler& f)
{
    const QString t = QLatin1String(tag);
    if (f.zugriff())
        return QStringLiteral("Die %1-TAG der Datei ").arg(t) + PfadText(pfad) + QStringLiteral(" konnte nicht gespeichert werden.") + kLF
             + QStringLiteral("Auf die Datei kann nicht zugegriffen werden (Fehler %1).").arg(f.nummer) + kLF + kLF
             + kZugriffHinweis;
    return QStringLiteral("Der %1-TAG der Datei ").arg(t) + PfadText(pfad) + QStringLiteral(" konnte nicht gespeichert werden.") + kLF
         + f.beschreibung + QStringLiteral(" (Fehler %1).").arg(f.nummer);
}
QString V2Meldung(const QString& pfad, const Fehler& f) { return SpeichernMeldung("ID3v2", pfad, f); }
QString V1Meldung(const QString& pfad, const Fehler& f) { return SpeichernMeldung("ID3v1", pfad, f); }

QString FehltMeldung(const char* tag, const QString& pfad, const char* tun)
{
    return QStringLiteral("Die %1-TAG der Datei ").arg(QLatin1String(tag)) + PfadText(pfad) + QLatin1Char(' ')
         + QString::fromUtf8(tun) + kLF + QStringLiteral("Die Datei existiert nicht.");
}

QString NichtAbgeschlossen(const char* tag, const QString& pfad, const Fehler& f)
{
    return QStringLiteral("Die Entfernung des %1-TAGs der Datei ").arg(QLatin1String(tag)) + PfadText(pfad)
         + QStringLiteral(" konnte nicht abgeschlossen werden.") + kLF + f.beschreibung + kLF + kLF + kEntfernenHinweis;
}

QString KannNicht(const char* tag, const QString& pfad)
{
    return QStringLiteral("Der %1-TAG der Datei ").arg(QLatin1String(tag)) + PfadText(pfad)
         + QStringLiteral(" kann nicht entfernt werden.") + kLF;
}

// The new file without [von, bis), renamed over the original.
TagEntfernenErgebnis OhneBereichSpeichern(MedienDatei& datei, const QString& pfad, qint64 von, qint64 bis,
                                          const char* tag, const char* neuNichtText, QString& meldung)
{
    SichereDatei neu(pfad, QStringLiteral("-neu"));
    neu.UnverändertVerlangen(datei.Stand(), datei.Deskriptor());
    if (!neu.ZielFrei()) {
        meldung = NichtAbgeschlossen(tag, pfad, {neu.FehlerNummer(), neu.Fehler()});
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    const QString kopf = QStringLiteral("Der %1-TAG konnte nicht entfernt werden.").arg(QLatin1String(tag)) + kLF;
    if (!neu.Öffnen()) {
        meldung = neu.FremderBesitzer() ? NichtAbgeschlossen(tag, pfad, NeuFehler(neu))
                                        : kopf + QStringLiteral("Die Datei ") + PfadText(neu.TempName()) + QLatin1Char(' ')
                                              + QString::fromUtf8(neuNichtText);
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    Fehler f;
    if (!Kopieren(datei, neu, 0, von, f) || !Kopieren(datei, neu, bis, datei.Länge(), f)) {
        meldung = NichtAbgeschlossen(tag, pfad, f);
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    if (!neu.Fertigstellen()) {
        meldung = neu.UmbenennenFehlgeschlagen()
                    ? kopf + QStringLiteral("Die Datei ") + PfadText(pfad) + QStringLiteral(" konnte nicht ersetzt werden.")
                    : NichtAbgeschlossen(tag, pfad, {neu.FehlerNummer(), neu.Fehler()});
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    return TagEntfernenErgebnis::Entfernt;
}

// A frame's id for a message, what cannot be shown as "?".
QString FrameName(QByteArrayView id)
{
    QString name;
    for (char c : id)
        name += c >= 0x20 && c < 0x7F ? QLatin1Char(c) : QLatin1Char('?');
    return name;
}

Fehler NichtÜbertragbar(int haupt, QByteArrayView id)
{
    return {EINVAL, QStringLiteral("Der vorhandene ID3v2.%1-TAG enthält das Feld '%2', das nicht in die Version 2.3 "
                                   "übertragen werden kann.")
                        .arg(haupt)
                        .arg(FrameName(id))};
}

// Why the old tag's frames could not all be read. Audio frames inside the
// extent its header declares (where the walk went wrong, or behind) mean
// that size is wrong.
Fehler Unlesbar(MedienDatei& datei, const AlterTag& alt)
{
    const Id3v2Ergebnis& e = alt.inhalt;
    const auto grund = [](const QString& text) {
        return Fehler{EINVAL, QString::fromUtf8(kNichtLesbar) + QLatin1Char(' ') + text, false, true};
    };
    const auto beschädigt = [&](QByteArrayView id) {
        return grund(QStringLiteral("Das Feld '%1' ist beschädigt.").arg(FrameName(id)));
    };
    if (e.unlesbarAb < 0) {
        if (!e.unlesbarerFrame.isEmpty())
            return beschädigt(e.unlesbarerFrame);
        if (e.kopf.haupt == 2 && (e.kopf.flags & 0x40))
            return grund(QString::fromUtf8(kGanzKomprimiert));
        if (e.kopf.ErweiterterKopf())
            return grund(QString::fromUtf8(kErweiterterKopf));
        return EigenerFehler(EINVAL, kNichtLesbar);
    }
    const qint64 von = alt.fund.position + e.unlesbarAb, bis = alt.fund.ende();
    // A frame is confirmed by the next header, which may lie behind the tag.
    const qint64 bisMitNächstem = std::min(datei.Länge(), bis + 8192);
    if (von < bis
        && MpegRahmenSuchen(datei.Lesen(von, bisMitNächstem - von), von, von, bis, datei.Länge()).status
               == MpegErgebnis::Gefunden)
        return grund(QString::fromUtf8(kInDieAudiodaten));
    if (!e.unlesbarId.isEmpty())
        return beschädigt(e.unlesbarId);
    return grund(QString::fromUtf8(kDatenImPadding));
}

// The ID3v2 part of a save: the old tag read and checked, the new one built
// as it would stand in place. Its pieces refer to what it holds: it is
// filled where it stays.
struct V2Plan {
    const MedienInfo* m = nullptr;
    AlterTag alt;
    std::vector<QByteArray> weitere; // the kept frames in 2.3 form
    Herkunft herkunft;
    QByteArray sprache;
    NeuerTag neu;
};

// False with the message when the tag must not be written: every reason to
// refuse it is found here, before anything is written.
bool V2Planen(MedienDatei& datei, const QString& pfad, V2Plan& p, QString& fehler)
{
    Fehler f;
    AlterTag& alt = p.alt;
    if (!AltenTagFinden(datei, alt, f, true)) {
        fehler = QStringLiteral("Der ID3v2-TAG konnte nicht gespeichert werden.") + kLF + QStringLiteral("Der ID3v2-TAG der Datei ")
               + PfadText(pfad) + QStringLiteral(" konnte nicht entfernt werden.") + kLF + GrundText(f);
        return false;
    }
    const int haupt = alt.fund.kopf.haupt;
    if (alt.fund.position >= 0) {
        if (!alt.inhalt.framesGelesen) {
            fehler = V2Meldung(pfad, Unlesbar(datei, alt));
            return false;
        }
        if (!alt.inhalt.nichtÜbertragbar.isEmpty()) {
            fehler = V2Meldung(pfad, NichtÜbertragbar(haupt, alt.inhalt.nichtÜbertragbar));
            return false;
        }
        if (haupt == 2) {
            for (const QByteArray& frame22 : alt.inhalt.weitere) {
                std::optional<QByteArray> frame = Id3v2Frame22Für23(frame22);
                if (!frame) {
                    fehler = V2Meldung(pfad, NichtÜbertragbar(haupt, QByteArrayView(frame22).first(3)));
                    return false;
                }
                p.weitere.push_back(std::move(*frame));
            }
        } else {
            p.weitere = alt.inhalt.weitere;
        }
        for (size_t i = 0; i < size_t(kId3v2Felder); ++i) {
            const QByteArray& frame = alt.inhalt.feldFrames[i];
            p.herkunft.frames[i] = haupt == 2 && !frame.isEmpty() ? Frames22Übertragen(frame) : frame;
            p.herkunft.texte[i] = alt.inhalt.felder[i];
        }
        p.herkunft.stelle[0] = alt.inhalt.kommentarStelle;
        p.herkunft.stelle[1] = alt.inhalt.linkStelle;
        if (p.m->Mp3_ID3v2_Jahr != p.herkunft.texte[kJahrFeld])
            AndereDatenEntfernen(p.weitere, p.herkunft.stelle);
    }
    p.sprache = KommentarSprache(alt.inhalt.kommentarSprache);
    TagAufbauen(*p.m, p.weitere, p.herkunft, p.sprache, false, p.neu);
    if (p.neu.größe > kMaxTagGröße) {
        fehler = V2Meldung(pfad, EigenerFehler(EFBIG, kZuGroß));
        return false;
    }
    return true;
}

// The write in place of the planned tag; none when it must go through a
// copy. In place only at the start (a tag further in is found by no other
// reader, so it moves to the front by a rewrite), only when the new tag fits
// the old one, no kept frame moves and the change lies inside one block.
std::optional<Änderung> V2AnOrt(const V2Plan& p)
{
    const qint64 altGröße = p.alt.fund.position >= 0 ? p.alt.fund.kopf.GesamtGröße() : -1;
    if (p.alt.fund.position != 0 || p.neu.größe + 10 > altGröße || altGröße - 10 > kMaxTagGröße)
        return std::nullopt;
    return AnOrtÄndern(p.neu, p.alt.roh);
}

// The ID3v1 block's change at `position` (over the old block, or at the
// end): the bytes that differ, all inside one block; none otherwise.
std::optional<Änderung> V1AnOrt(MedienDatei& datei, qint64 position, const QByteArray& block)
{
    const QByteArrayView alt = position < datei.Länge() ? datei.Id3v1Block() : QByteArrayView();
    qsizetype a = 0, z = block.size();
    if (alt.size() == block.size()) {
        while (a < z && block[a] == alt[a])
            ++a;
        while (z > a && block[z - 1] == alt[z - 1])
            --z;
    }
    if (!ImEinenBlock(position + a, position + z))
        return std::nullopt;
    return Änderung{position + a, block.sliced(a, z - a)};
}

// The whole file written anew through a copy: the new ID3v2 tag (with
// `v2`) at the start, the file without its old tag (and without its old
// ID3v1 block, with `v1`), the new block at the end; renamed over the file
// only when it is still as it was read and no other program writes it.
bool Umschreiben(MedienDatei& datei, const QString& pfad, const V2Plan* v2, const QByteArray* v1, qint64 v1Position,
                 const char* tag, QString& fehler)
{
    NeuerTag kopie;
    qint64 padding = 0;
    if (v2) {
        TagAufbauen(*v2->m, v2->weitere, v2->herkunft, v2->sprache, true, kopie);
        if (kopie.größe > kMaxTagGröße) {
            fehler = V2Meldung(pfad, EigenerFehler(EFBIG, kZuGroß));
            return false;
        }
        padding = std::min(PaddingBerechnen(kopie.größe + 10), kMaxTagGröße - kopie.größe);
    }
    SichereDatei neu(pfad, QStringLiteral("-neu"));
    neu.UnverändertVerlangen(datei.Stand(), datei.Deskriptor());
    if (!neu.ZielFrei() || !neu.Öffnen()) {
        fehler = SpeichernMeldung(tag, pfad, NeuFehler(neu));
        return false;
    }
    const qint64 bis = v1 ? v1Position : datei.Länge();
    Fehler f;
    bool ok = true;
    if (v2 && !TagSchreiben(neu, kopie, padding)) {
        f = {neu.FehlerNummer(), neu.Fehler()};
        ok = false;
    } else if (v2 && v2->alt.fund.position >= 0) {
        ok = Kopieren(datei, neu, 0, v2->alt.fund.position, f) && Kopieren(datei, neu, v2->alt.fund.ende(), bis, f);
    } else {
        ok = Kopieren(datei, neu, 0, bis, f);
    }
    if (ok && v1 && !neu.Schreiben(*v1)) {
        f = {neu.FehlerNummer(), neu.Fehler()};
        ok = false;
    }
    if (!ok) {
        fehler = SpeichernMeldung(tag, pfad, f);
        return false;
    }
    if (!neu.Fertigstellen()) {
        fehler = v2 && neu.UmbenennenFehlgeschlagen()
                   ? QStringLiteral("Der ID3v2-TAG konnte nicht gespeichert werden.") + kLF + QStringLiteral("Die Datei ")
                         + PfadText(pfad) + QStringLiteral(" konnte nicht gelöscht werden.")
                   : SpeichernMeldung(tag, pfad, {neu.FehlerNummer(), neu.Fehler()});
        return false;
    }
    return true;
}

// One save of the ID3v2 tag of `v2`, the ID3v1 block `v1`, or both. Every
// check that can refuse either is made before the first byte of either is
// written. In place when each change lies inside one block (one write
// each), else both go into one copy that takes the file's place at once.
// A failure that is not one tag's is told as the ID3v2 tag's when it is
// written.
bool TagsSpeichern(const QString& pfad, const MedienInfo* v2, const QByteArray* v1, const MedienLesung* gelesen,
                   QString& fehler)
{
    fehler.clear();
    const char* tag = v2 ? "ID3v2" : "ID3v1";
    // One descriptor for all that follows: a file put in this one's place
    // meanwhile is never written. Only a regular file is opened; one
    // without the owner's write bit is refused also for root.
    errno = 0;
    MedienDatei datei(pfad, true);
    const int e = pfad.isEmpty() ? ENOENT : datei.Offen() ? (datei.Modus() & S_IWUSR ? 0 : EACCES) : errno;
    if (e == ENOENT || e == ENOTDIR) {
        fehler = FehltMeldung(tag, pfad, "konnte nicht gespeichert werden.");
        return false;
    }
    if (e != 0) {
        fehler = SpeichernMeldung(tag, pfad, e == EISDIR || e == EINVAL ? EigenerFehler(EINVAL, kKeineDatei) : SystemFehler(e));
        return false;
    }
    // The record stands for the file only when it was read whole, from the
    // file as it is now.
    if (gelesen && !gelesen->Vollständig()) {
        fehler = SpeichernMeldung(tag, pfad, LeseFehler(gelesen->fehler == ENOENT ? ESTALE : gelesen->fehler));
        return false;
    }
    if (gelesen && !gelesen->WieGelesen(datei.Stand(), datei.Deskriptor())) {
        fehler = SpeichernMeldung(tag, pfad, SeitDemLesen());
        return false;
    }
    if (v1 && (v1->size() != 128 || !v1->startsWith("TAG"))) {
        fehler = V1Meldung(pfad, SystemFehler(EINVAL));
        return false;
    }
    V2Plan plan;
    plan.m = v2;
    if (v2 && !V2Planen(datei, pfad, plan, fehler))
        return false;
    // The old block counts only behind the ID3v2 tag.
    const bool hatV1 = v1 && !datei.Id3v1Block().isEmpty() && datei.Länge() - 128 >= plan.alt.fund.ende();
    // What the old tags are was read here too: a failed read is no answer.
    if (datei.LeseFehler() != 0) {
        fehler = SpeichernMeldung(tag, pfad, LeseFehler(datei.LeseFehler()));
        return false;
    }
    const qint64 v1Position = datei.Länge() - (hatV1 ? 128 : 0);

    std::vector<Änderung> änderungen;
    bool anOrt = true;
    for (const std::optional<Änderung>& ä : {v2 ? V2AnOrt(plan) : std::optional<Änderung>(Änderung()),
                                              v1 ? V1AnOrt(datei, v1Position, *v1) : std::optional<Änderung>(Änderung())}) {
        anOrt = anOrt && ä.has_value();
        if (ä && !ä->neu.isEmpty())
            änderungen.push_back(*ä);
    }
    if (anOrt) {
        Fehler f;
        switch (AnOrtSchreiben(datei, pfad, änderungen, f)) {
        case AnOrt::Geschrieben:
            return true;
        case AnOrt::Fehlgeschlagen:
            fehler = SpeichernMeldung(tag, pfad, f);
            return false;
        case AnOrt::Umschreiben:
            break;
        }
    }
    return Umschreiben(datei, pfad, v2 ? &plan : nullptr, v1, v1Position, tag, fehler);
}

} // namespace

void TagSchreibenFehlerBeiSchreibvorgang(int n) { g_fehlerNach = n; }
void TagSchreibenFehlerBeimSynchronisieren(bool an) { g_fehlerSync = an; }

QByteArray Mp3TAGSpeichernV2TAGHeaderZurückgeben(quint32 lngGröße)
{
    QByteArray k("ID3\x03\x00\x00", 6);
    for (int i = 3; i >= 0; --i)
        k.append(char((lngGröße >> (7 * i)) & 0x7F));
    return k;
}

QByteArray Mp3TAGSpeichernV2FrameHeaderZurückgeben(quint32 lngGröße, QByteArrayView strFrameID)
{
    QByteArray k(strFrameID.data(), 4);
    k.resize(10);
    qToBigEndian<quint32>(lngGröße, k.data() + 4);
    k[8] = k[9] = 0;
    return k;
}

QByteArray Id3v2TextFrameBauen(QByteArrayView id, const QStringList& texte)
{
    const bool einbytig = std::all_of(texte.begin(), texte.end(), [](const QString& t) { return Einbytig(t); });
    QByteArray körper(1, char(einbytig ? 0 : 1));
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (i > 0)
            körper.append(einbytig ? 1 : 2, '\0');
        körper.append(einbytig ? texte[i].toLatin1() : Id3v2Utf16(texte[i]));
    }
    return Frame(id, körper);
}

QByteArray Id3v2FramesBauen(const MedienInfo& m, QByteArrayView spracheAlt)
{
    const QByteArray sprache = KommentarSprache(spracheAlt);
    QByteArray frames;
    for (const Id3v2FrameFeld& feld : Id3v2FrameFelder())
        frames += FeldFrame(m, feld, sprache);
    return frames;
}

QByteArray TagV1TextZurückgeben(const MedienInfo& m, bool* titelnummerGültig)
{
    QByteArray b(128, '\0');
    const auto feld = [&](int pos, int breite, const QString& text) {
        const QByteArray k = Cp1252Kodieren(text).left(breite);
        b.replace(pos, k.size(), k);
    };
    b.replace(0, 3, "TAG");
    feld(3, 30, m.Mp3_ID3v1_Titel);
    feld(33, 30, m.Mp3_ID3v1_Interpret);
    feld(63, 30, m.Mp3_ID3v1_Album);
    feld(93, 4, m.Mp3_ID3v1_Jahr);
    const QString spur = m.Mp3_ID3v1_Titelnummer.trimmed();
    bool ok = true;
    int nummer = -1;
    if (!spur.isEmpty()) {
        const double wert = spur.toDouble(&ok);
        ok = ok && wert >= 0 && wert <= 255;
        if (ok)
            nummer = int(std::lround(wert));
    }
    if (titelnummerGültig)
        *titelnummerGültig = ok;
    if (spur.isEmpty()) {
        feld(97, 30, m.Mp3_ID3v1_Kommentar);
    } else {
        feld(97, 28, m.Mp3_ID3v1_Kommentar);
        b[126] = char(std::max(nummer, 0));
    }
    const int genre = GenreByte(m);
    b[127] = char(genre < 0 ? 255 : genre);
    return b;
}

bool Mp3TAGSpeichernV2(const QString& strDatei, const MedienInfo& udtInfo, QString& strFehler, const MedienLesung* gelesen)
{
    return TagsSpeichern(strDatei, &udtInfo, nullptr, gelesen, strFehler);
}

bool Mp3TAGSpeichernV1(const QString& strDatei, const QByteArray& strTAG, QString& strFehler, const MedienLesung* gelesen)
{
    return TagsSpeichern(strDatei, nullptr, &strTAG, gelesen, strFehler);
}

bool Mp3TAGSpeichernBeide(const QString& strDatei, const MedienInfo& udtInfo, const QByteArray& strTAG, QString& strFehler,
                          const MedienLesung* gelesen)
{
    return TagsSpeichern(strDatei, &udtInfo, &strTAG, gelesen, strFehler);
}

bool SeitDemLesenVerändert(const QString& strDatei, const MedienLesung& gelesen, DateiStand* jetzt)
{
    struct stat st;
    if (::stat(QFile::encodeName(strDatei).constData(), &st) != 0)
        return false;
    if (jetzt)
        *jetzt = DateiStandVon(st);
    return gelesen.Vollständig() && !gelesen.WieGelesen(DateiStandVon(st), strDatei);
}

namespace {

// The steps both removals share before the tag is looked for: a missing file
// is refused, one that may not be written fails.
std::optional<TagEntfernenErgebnis> EntfernenPrüfen(const QString& pfad, const char* tag,
                                                    std::unique_ptr<MedienDatei>& datei, QString& meldung)
{
    Fehler f;
    switch (DateiPrüfen(pfad, f)) {
    case Zustand::Fehlt:
        meldung = KannNicht(tag, pfad) + QStringLiteral("Die Datei existiert nicht.");
        return TagEntfernenErgebnis::Abgelehnt;
    case Zustand::Fehler:
        meldung = NichtAbgeschlossen(tag, pfad, f);
        return TagEntfernenErgebnis::Fehlgeschlagen;
    case Zustand::Da:
        break;
    }
    // Opened only once it is known to be a regular file.
    datei = std::make_unique<MedienDatei>(pfad);
    if (!datei->Offen()) {
        meldung = NichtAbgeschlossen(tag, pfad, SystemFehler(EACCES));
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    return std::nullopt;
}

} // namespace

TagEntfernenErgebnis TAGEntfernen(const QString& strDatei, QString& strMeldung)
{
    strMeldung.clear();
    std::unique_ptr<MedienDatei> offen;
    if (const auto e = EntfernenPrüfen(strDatei, "ID3v1", offen, strMeldung))
        return *e;
    MedienDatei& datei = *offen;
    if (datei.Id3v1Block().isEmpty() && datei.LeseFehler() != 0) {
        strMeldung = NichtAbgeschlossen("ID3v1", strDatei, LeseFehler(datei.LeseFehler()));
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    if (datei.Id3v1Block().isEmpty()) {
        strMeldung = KannNicht("ID3v1", strDatei) + QStringLiteral("Diese enthält keinen ID3v1-TAG.");
        return TagEntfernenErgebnis::Abgelehnt;
    }
    return OhneBereichSpeichern(datei, strDatei, datei.Länge() - 128, datei.Länge(), "ID3v1",
                                "konnte nicht gespeichert werden.", strMeldung);
}

TagEntfernenErgebnis TAGEntfernenV2(const QString& strDatei, QString& strMeldung)
{
    strMeldung.clear();
    std::unique_ptr<MedienDatei> offen;
    if (const auto e = EntfernenPrüfen(strDatei, "ID3v2", offen, strMeldung))
        return *e;
    MedienDatei& datei = *offen;
    AlterTag alt;
    Fehler f;
    if (!AltenTagFinden(datei, alt, f, false)) {
        strMeldung = NichtAbgeschlossen("ID3v2", strDatei, f);
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    if (datei.LeseFehler() != 0) {
        strMeldung = NichtAbgeschlossen("ID3v2", strDatei, LeseFehler(datei.LeseFehler()));
        return TagEntfernenErgebnis::Fehlgeschlagen;
    }
    if (alt.fund.position < 0) {
        strMeldung = KannNicht("ID3v2", strDatei) + QStringLiteral("Diese enthält keinen ID3v2-TAG.");
        return TagEntfernenErgebnis::Abgelehnt;
    }
    return OhneBereichSpeichern(datei, strDatei, alt.fund.position, FolgendeTagsEnde(datei, alt.fund.ende()), "ID3v2",
                                "konnte nicht erstellt werden.", strMeldung);
}
