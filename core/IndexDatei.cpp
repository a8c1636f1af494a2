#include "core/IndexDatei.h"

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/IndexZeile.h"
#include "core/Inhaltsabdruck.h"
#include "core/Meldungen.h"
#include "core/Parallel.h"
#include "core/SichereDatei.h"
#include "core/Standardwerte.h"
#include "core/Dateihelfer.h"
#include "core/Verfuegbarkeit.h"
#include "core/IndexEreignisse.h"
#include "platform/Schreibzugriff.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <malloc.h>

#include <atomic>
#include <exception>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int g_sperreWartezeit = 4500;

constexpr qint32 kStartKapazität = 1000;
constexpr qint32 kWachstumBasis = 100;
constexpr qint32 kWachstum = 2000;
constexpr qint32 kFortschrittAlleEinträge = 500;
constexpr qint32 kParallelAb = 20000;
constexpr qint32 kFüllStück = 256;
constexpr size_t kParallelLesenAb = size_t(8) << 20;
constexpr qsizetype kKürzesteZeile = 48;
constexpr int kParallelMax = 8;
constexpr qint32 kSpeichernFortschrittAlle = 100;
constexpr size_t kSchreibPuffer = 256 * 1024;

QString systemFehlerText(int nummer) { return FehlerText(SystemfehlerBeschreibung(nummer), nummer); }

// Hands the buffer to the file in pieces (a huge value is not copied whole
// once more) and empties it; a buffer that grew for such a value gives its
// memory back.
bool ausschreiben(SichereDatei& datei, std::string& puffer, Inhaltsabdruck& abdruck)
{
    abdruck.Hinzufügen(puffer.data(), qint64(puffer.size()));
    for (size_t ab = 0; ab < puffer.size(); ab += kSchreibPuffer) {
        const size_t n = std::min(kSchreibPuffer, puffer.size() - ab);
        if (!datei.Schreiben(puffer.data() + ab, qint64(n)))
            return false;
    }
    puffer.clear();
    if (puffer.capacity() > 4 * kSchreibPuffer) {
        puffer.shrink_to_fit();
        puffer.reserve(kSchreibPuffer + 64 * 1024);
    }
    return true;
}

// --- messages -------------------------------------------------------------------

void meldungSpeichernFehler(const QString& fehler, QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Es ist ein Fehler beim Speichern der Indexdatei aufgetreten.\n") + fehler,
                  Knöpfe::OK, Symbol::Ausruf, besitzer);
}

void meldungLesenFehler(const QString& datei, int nummer, QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Die Indexdatei '") + datei + QStringLiteral("' konnte nicht gelesen werden.\n")
                      + systemFehlerText(nummer),
                  Knöpfe::OK, Symbol::Ausruf, besitzer);
}

bool sperreFrage(QObject* besitzer)
{
    return MeldungZeigen(ProgrammTitel()
                             + QStringLiteral(" wurde entweder nicht korrekt beendet oder speichert gerade Ihre Indexdatei.\n"
                                              "Durch den Ladevorgang dieser Datei würde der Speicher-Vorgang unterbrochen und "
                                              "Datenverlust könnte die Folge sein.\n\n"
                                              "Möchten Sie den Ladevorgang fortsetzen?"),
                         Knöpfe::JaNein, Symbol::Ausruf, besitzer)
           == Antwort::Ja;
}

// The index file is gone and only its temporary file is there: taking it
// may take a save that was cut short, and the format has no end to tell.
bool übernahmeFrage(const QString& datei, QObject* besitzer)
{
    return MeldungZeigen(ProgrammTitel()
                             + QStringLiteral(" wurde entweder nicht korrekt beendet oder speichert gerade Ihre Indexdatei.\n"
                                              "Die Indexdatei '")
                             + datei + QStringLiteral("' fehlt, es gibt nur die temporäre Datei '") + datei
                             + QStringLiteral("~'. Diese stammt möglicherweise von einem abgebrochenen Speicher-Vorgang "
                                              "und könnte unvollständig sein.\n\n"
                                              "Möchten Sie die temporäre Datei als Indexdatei übernehmen und den "
                                              "Ladevorgang fortsetzen?"),
                         Knöpfe::JaNein, Symbol::Ausruf, besitzer)
           == Antwort::Ja;
}

// A Yes/No question with the exclamation icon: "Die Indexdatei '<datei>" + `rest`.
bool dateiFrage(const QString& datei, const QString& rest, QObject* besitzer, std::optional<Antwort> standard = {})
{
    return MeldungZeigen(QStringLiteral("Die Indexdatei '") + datei + rest, Knöpfe::JaNein, Symbol::Ausruf, besitzer,
                         standard)
           == Antwort::Ja;
}

bool wiederholenFrage(const QString& datei, QObject* besitzer)
{
    return dateiFrage(datei,
                      QStringLiteral("' wird gerade von einem anderen Programm geschrieben und kann daher nicht geladen "
                                     "werden.\n"
                                     "Warten Sie, bis das andere Programm damit fertig ist.\n\n"
                                     "Möchten Sie den Ladevorgang erneut versuchen?"),
                      besitzer);
}

bool neuereDateiFrage(const QString& datei, QObject* besitzer)
{
    return dateiFrage(datei,
                      QStringLiteral("' wurde seit dem Laden oder letzten Speichern von einem anderen Programm "
                                     "geändert.\n"
                                     "Beim Speichern gehen diese Änderungen verloren.\n\n"
                                     "Möchten Sie die neuere Datei trotzdem ersetzen?"),
                      besitzer, Antwort::Nein);
}

void neuerFormatHinweis(const QString& datei, const QString& version, QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Die Indexdatei '") + datei + QStringLiteral("' liegt in einem neueren Datei-Format ('")
                      + version
                      + QStringLiteral("') vor.\n"
                                       "Möglicherweise stehen einige Funktionen nicht zur Verfügung oder es können beim "
                                       "Speichern Daten verloren gehen.\n\n"
                                       "Installieren Sie eine neuere Version dieses Programmes, um diesen Hinweis zu verhindern."),
                  Knöpfe::OK, Symbol::Information, besitzer);
}

bool altesFormatFrage(const QString& datei, QObject* besitzer)
{
    return MeldungZeigen(QStringLiteral("Die Indexdatei '") + datei
                             + QStringLiteral("' liegt in einem älteren Dateiformat vor oder ist ungültig.\n"
                                              "Zum Aktualisieren werden nun die Datei-Informationen der enthaltenen Dateien "
                                              "neu eingelesen.\n\n"
                                              "Soll die Datei geladen und Aktualisierung versucht werden?"),
                         Knöpfe::JaNein, Symbol::Frage, besitzer)
           == Antwort::Ja;
}

// The whole huge pages of [anfang, anfang + länge).
std::pair<char*, size_t> großeSeitenIn(void* anfang, size_t länge)
{
    constexpr uintptr_t kSeite = uintptr_t(2) << 20;
    const uintptr_t a = (reinterpret_cast<uintptr_t>(anfang) + kSeite - 1) & ~(kSeite - 1);
    const uintptr_t e = (reinterpret_cast<uintptr_t>(anfang) + länge) & ~(kSeite - 1);
    return {reinterpret_cast<char*>(a), e > a ? size_t(e - a) : 0};
}

// Huge pages for a large array, where the system offers them.
void großeSeiten(void* anfang, size_t länge)
{
    const auto [a, n] = großeSeitenIn(anfang, länge);
    if (n > 0)
        ::madvise(a, n, MADV_HUGEPAGE);
}

// --- reading ------------------------------------------------------------------------

// Whether a line that may be an entry line begins at `p`: "#TAG:" behind a
// line end (as every entry line after the first line begins).
bool eintragBei(const char* p) { return (p[-1] == '\n' || p[-1] == '\r') && std::memcmp(p, "#TAG:", 5) == 0; }

// How many such lines begin at p in [von, bis - 5].
qint64 eintragsanfängeZählen(const char* von, const char* bis)
{
    qint64 anzahl = 0;
    for (const char* p = von; bis - p >= 5; ++p) {
        p = static_cast<const char*>(std::memchr(p, '#', size_t(bis - p - 4)));
        if (!p)
            break;
        anzahl += eintragBei(p);
    }
    return anzahl;
}

// What DateiPuffer::Lesen answers when another program writes the file.
constexpr int kWirdGeschrieben = -1;

// The whole file in memory of its own, given back to the system at once when
// the load ends.
class DateiPuffer {
public:
    DateiPuffer() = default;
    DateiPuffer(const DateiPuffer&) = delete;
    DateiPuffer& operator=(const DateiPuffer&) = delete;
    ~DateiPuffer()
    {
        if (m_daten)
            ::munmap(m_daten, m_kapazität);
    }

    // 0 on success, kWirdGeschrieben, or the system's error number; `stand`
    // is the file as read.
    int Lesen(const QString& pfad, DateiStand& stand)
    {
        // A FIFO or device is refused, never read as an empty index.
        const int fd = ReguläreDateiÖffnen(pfad);
        if (fd < 0)
            return errno;
        const int fehler = lesen(fd, stand);
        ::close(fd);
        return fehler;
    }
    QByteArrayView Daten() const { return QByteArrayView(m_daten, qsizetype(m_größe)); }
    // Whether a zero byte is among them.
    bool MitNull() const { return m_null; }
    // At least as many as the entry lines after the first line.
    qint64 EintragszeilenHöchstens() const { return m_einträge; }

private:
    char* m_daten = nullptr;
    size_t m_größe = 0;
    size_t m_kapazität = 0;
    bool m_null = false;
    qint64 m_einträge = 0;

    int lesen(int fd, DateiStand& stand)
    {
        struct stat st;
        if (::fstat(fd, &st) != 0)
            return errno;
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        // Half a file that is still being copied in would be taken for the
        // whole, and the next save would write the half over it.
        if (AndererProzessSchreibt(fd))
            return kWirdGeschrieben;
        stand = DateiStandVon(st);
        if (const int fehler = inhaltLesen(fd, size_t(std::max<off_t>(st.st_size, 0))))
            return fehler;
        // Changed while it was read: written by someone who has let go of it
        // since, or still writes it.
        if (::fstat(fd, &st) != 0)
            return errno;
        return DateiStandVon(st) == stand ? 0 : kWirdGeschrieben;
    }

    int inhaltLesen(int fd, size_t größe)
    {
        if (größe == 0)
            return 0;
        m_kapazität = größe;
        void* p = ::mmap(nullptr, m_kapazität, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) {
            m_kapazität = 0;
            return ENOMEM;
        }
        m_daten = static_cast<char*>(p);
        großeSeiten(m_daten, m_kapazität);
        // A large file is read in pieces at once, one huge page of the memory
        // each.
        std::vector<size_t> grenzen{0};
        if (größe >= kParallelLesenAb) {
            constexpr uintptr_t kSeite = uintptr_t(2) << 20;
            const uintptr_t a = reinterpret_cast<uintptr_t>(m_daten);
            for (size_t g = size_t(((a + kSeite - 1) & ~(kSeite - 1)) - a); g < größe; g += kSeite)
                if (g > 0)
                    grenzen.push_back(g);
        }
        grenzen.push_back(größe);
        struct Stück {
            size_t gelesen = 0;
            int fehler = 0;
            bool null = false;
            qint64 einträge = 0;
        };
        std::vector<Stück> stücke(grenzen.size() - 1);
        ParallelStückweise(ParallelTeile(kParallelMax), int(stücke.size()), [&](int t) {
            Stück& s = stücke[size_t(t)];
            const size_t von = grenzen[size_t(t)], länge = grenzen[size_t(t) + 1] - von;
            while (s.gelesen < länge) {
                const ssize_t n = ::pread(fd, m_daten + von + s.gelesen, länge - s.gelesen, off_t(von + s.gelesen));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    s.fehler = errno;
                if (n <= 0)
                    break;
                s.gelesen += size_t(n);
            }
            s.null = s.gelesen > 0 && std::memchr(m_daten + von, 0, s.gelesen);
            // Lines beginning at the edges of the piece are counted below.
            if (s.gelesen > 1)
                s.einträge = eintragsanfängeZählen(m_daten + von + 1, m_daten + von + s.gelesen);
        });
        // A file that shrinks meanwhile ends early; what grows is not read
        // (the check afterwards sees either).
        for (size_t t = 0; t < stücke.size(); ++t) {
            if (stücke[t].fehler != 0)
                return stücke[t].fehler;
            m_größe += stücke[t].gelesen;
            m_null = m_null || stücke[t].null;
            m_einträge += stücke[t].einträge;
            if (stücke[t].gelesen < grenzen[t + 1] - grenzen[t])
                break;
        }
        for (size_t t = 1; t + 1 < grenzen.size() && grenzen[t] < m_größe; ++t)
            for (size_t p = std::max<size_t>(grenzen[t], 5) - 4; p <= grenzen[t] && p + 5 <= m_größe; ++p)
                m_einträge += eintragBei(m_daten + p);
        return 0;
    }
};

// Lines of a list of paths: any of CR LF, CR, LF ends a line.
std::vector<QByteArrayView> pfadzeilenTeilen(QByteArrayView text)
{
    std::vector<QByteArrayView> zeilen;
    qsizetype a = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        if (i > a)
            zeilen.push_back(text.sliced(a, i - a));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
            ++i;
        a = i + 1;
    }
    return zeilen;
}

// Capacity growth of the loader: 1000, then 2100, 4100, 6100, ...
struct Kapazität {
    Index& idx;
    qint32 basis = kWachstumBasis;
    void Platz(qint32 eintrag)
    {
        if (eintrag > idx.Kapazität()) {
            basis += kWachstum;
            idx.IndexDatenDimensionieren(std::max(basis, eintrag), true);
        }
    }
    // The capacity these steps reach for `anzahl` entries.
    static qint32 Für(qint32 anzahl)
    {
        if (anzahl <= kStartKapazität)
            return kStartKapazität;
        return kWachstumBasis + kWachstum * ((anzahl - kWachstumBasis + kWachstum - 1) / kWachstum);
    }
};

void optionenZurücksetzen(Index& idx)
{
    const Standardwerte& s = standardwerte();
    idx.intSyncLeer = 1;
    idx.strSyncOrdner.clear();
    idx.intSyncUnterordner.clear();
    idx.strSyncKopierenInOrdner.clear();
    idx.intDateiTypenLeer = 1;
    idx.strDateiTypen.clear();
    idx.strDateiTypArten.clear();
    idx.strSpaltenNutzerformat = QLatin1Char('%') + s.strSpaltenNamen[4] + QStringLiteral("% - %") + s.strSpaltenNamen[5]
                                 + QLatin1Char('%');
    idx.intSpaltenLeiste = 1;
    idx.strSpalten = QStringLiteral("0");
    idx.intSyncDanachEntfernen = 1;
}

// Waits for a running save to end its temporary file; asks when it stays.
// False when the user declines. When the index file itself is gone, the
// temporary file is its only copy and takes its place.
bool sperreAbwarten(const QString& datei, bool fortschritt, QObject* aufrufer)
{
    const QString temp = datei + QLatin1Char('~');
    if (!DoesExist(temp))
        return true;
    if (fortschritt)
        FortschrittZeigenStarten(0, true, aufrufer, false, true,
                                 QStringLiteral("Warte auf Verfügbarkeit von '") + DateinameZurückgeben(datei)
                                     + QLatin1Char('\''));
    QElapsedTimer uhr;
    uhr.start();
    while (DoesExist(temp) && uhr.elapsed() <= g_sperreWartezeit) {
        if (fortschritt && !FortschrittZeigen(0, QString(), aufrufer))
            break;
        QThread::msleep(20);
    }
    if (!DoesExist(temp))
        return true;
    const bool übernehmen = !QFileInfo::exists(datei) && !QFileInfo(datei).isSymLink();
    if (!(übernehmen ? übernahmeFrage(datei, aufrufer) : sperreFrage(aufrufer)))
        return false;
    if (übernehmen) {
        if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(datei).constData()) != 0) {
            meldungLesenFehler(datei, errno, aufrufer);
            return false;
        }
        return true;
    }
    DateiLöschen(temp);
    return true;
}

// A missing index file starts as an empty one of version 100. One that
// cannot be written whole (a full disk) goes again: an empty file left
// behind would be taken for the old format at the next start.
bool neueDateiAnlegen(const QString& datei, QObject* aufrufer)
{
    static constexpr char kInhalt[] = "#TAG:kv100\r\n";
    const QByteArray name = QFile::encodeName(datei);
    int nummer = 0;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        nummer = errno;
    } else {
        size_t geschrieben = 0;
        while (nummer == 0 && geschrieben < sizeof kInhalt - 1) {
            const ssize_t n = ::write(fd, kInhalt + geschrieben, sizeof kInhalt - 1 - geschrieben);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                nummer = n < 0 ? errno : EIO;
            else
                geschrieben += size_t(n);
        }
        if (nummer == 0 && ::fsync(fd) != 0)
            nummer = errno;
        if (::close(fd) != 0 && nummer == 0)
            nummer = errno;
        // Created exclusively above: the file is ours to take back.
        if (nummer != 0)
            ::unlink(name.constData());
    }
    if (nummer == 0)
        return true;
    MeldungZeigen(QStringLiteral("Die Indexdatei '") + datei + QStringLiteral("' konnte nicht erstellt werden.\n")
                      + systemFehlerText(nummer),
                  Knöpfe::OK, Symbol::Ausruf, aufrufer);
    return false;
}

// Room for the records of `kapazität` entries, so that making them moves
// none and takes no memory of its own.
void platzReservieren(Index& idx, qint32 kapazität)
{
    idx.strIndexPfad.reserve(size_t(kapazität) + 1);
    idx.IndexDaten.reserve(size_t(kapazität) + 1);
    idx.intSuchErgebnis.reserve(size_t(kapazität) + 1);
    idx.bolAusUmgewandelterDatei.reserve(size_t(kapazität) + 1);
    großeSeiten(idx.IndexDaten.data(), idx.IndexDaten.capacity() * sizeof(MedienInfo));
}

// Makes the records up to `kapazität` (room reserved) in steps, each told in
// `gemacht` to the threads that fill them; -1 there when making failed.
void datensätzeMachen(Index& idx, qint32 kapazität, std::atomic<qint32>& gemacht)
{
    try {
        for (qint32 g = idx.Kapazität(); g < kapazität;) {
            g = std::min(g + kFüllStück, kapazität);
            idx.IndexDatenDimensionieren(g, true);
            gemacht.store(g);
            gemacht.notify_all();
        }
    } catch (...) {
        gemacht.store(-1);
        gemacht.notify_all();
        throw;
    }
}

// Reads the entry and option lines of `text` (the file after its first
// line; `höchstens`: at least as many as its entry lines) into `idx`.
void einträgeLesen(Index& idx, QByteArrayView text, qint64 höchstens, TextSpeicher& texte, bool fortschritt,
                   QObject* aufrufer)
{
    const int teile = ParallelTeile(kParallelMax);
    // A large file's records are made by a thread of their own while the
    // text is split into lines: for as many entries as there may be, unless
    // that is more than the bytes hold in lines of a likely length.
    std::atomic<qint32> gemacht{idx.Kapazität()};
    std::exception_ptr machenFehler;
    std::jthread machen;
    qint32 vorab = 0;
    QString* pfade = nullptr;
    MedienInfo* daten = nullptr;
    qint16* treffer = nullptr;
    const auto platz = [&](qint32 kapazität) {
        platzReservieren(idx, kapazität);
        pfade = idx.strIndexPfad.data();
        daten = idx.IndexDaten.data();
        treffer = idx.intSuchErgebnis.data();
    };
    if (höchstens >= kParallelAb && höchstens <= text.size() / kKürzesteZeile) {
        vorab = Kapazität::Für(qint32(höchstens));
        platz(vorab);
        try {
            machen = std::jthread([&idx, &gemacht, &machenFehler, vorab] {
                try {
                    datensätzeMachen(idx, vorab, gemacht);
                } catch (...) {
                    machenFehler = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
        }
    }
    // The arrays of the index are touched here only once that thread has
    // ended.
    const auto gemachtAbwarten = [&] {
        if (machen.joinable())
            machen.join();
        if (machenFehler)
            std::rethrow_exception(std::exchange(machenFehler, nullptr));
    };

    // Entry lines in file order; options as they come (no entry depends on them).
    std::vector<QByteArrayView> zeilen, optionen;
    IndexzeilenTeilen(text, teile, zeilen, optionen);
    for (const QByteArrayView& z : optionen)
        OptionszeileLesen(z, texte, idx);
    const qint32 anzahl = qint32(zeilen.size());
    const qint32 kapazität = Kapazität::Für(anzahl);
    if (anzahl < kParallelAb || kapazität > vorab) {
        gemachtAbwarten();
        // Room for the capacity the growth steps will reach, so that growing
        // never moves the records.
        platz(kapazität);
    }

    if (anzahl < kParallelAb) {
        Kapazität wachsen{idx};
        for (qint32 e = 1; e <= anzahl; ++e) {
            if (fortschritt && e > kFortschrittAlleEinträge && (e - 1) % kFortschrittAlleEinträge == 0) {
                const QByteArrayView& z = zeilen[size_t(e - 1)];
                FortschrittZeigen(double(z.data() + z.size() - text.data()) + 1, QStringLiteral("Lese Datei"), aufrufer);
            }
            wachsen.Platz(e);
            EintragszeileLesen(zeilen[size_t(e - 1)], texte, idx.strIndexPfad[size_t(e)], idx.IndexDaten[size_t(e)]);
            idx.intSuchErgebnis[size_t(e)] = 1;
        }
        idx.lngIndexAnzahl = anzahl;
        return;
    }

    // Large files: the records are filled by several threads as soon as
    // they are made (by a thread of their own). Each thread takes every
    // n-th piece, so that each keeps about as many texts in its heap as the
    // others, load after load, and then helps with the rest. No events run
    // meanwhile.
    if (!machen.joinable()) {
        try {
            machen = std::jthread([&idx, &gemacht, &machenFehler, kapazität] {
                try {
                    datensätzeMachen(idx, kapazität, gemacht);
                } catch (...) {
                    machenFehler = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            datensätzeMachen(idx, kapazität, gemacht);
        }
    }
    // Every filling thread waits for the one that makes the records: that
    // one keeps a processor of its own, and the system one more.
    const int füller = std::max(1, teile - 2);
    const qint32 stücke = (anzahl + kFüllStück - 1) / kFüllStück;
    std::vector<std::atomic<bool>> genommen(static_cast<size_t>(stücke));
    // A thread that waits for records meanwhile makes the pages of those to
    // come present, so that making them does not wait for the system.
    const auto [seiten, seitenLänge] = großeSeitenIn(daten, size_t(kapazität + 1) * sizeof(MedienInfo));
    std::atomic<size_t> angelegt{0};
    const auto anlegen = [&, seiten = seiten, seitenLänge = seitenLänge] {
#ifdef MADV_POPULATE_WRITE
        constexpr size_t kSeite = size_t(2) << 20;
        const size_t ab = angelegt.fetch_add(kSeite);
        if (ab < seitenLänge) {
            ::madvise(seiten + ab, kSeite, MADV_POPULATE_WRITE);
            return true;
        }
#endif
        return false;
    };
    ParallelAusführen(füller, [&](int t) {
        std::optional<TextSpeicher> eigene;
        TextSpeicher& speicher = t == 0 ? texte : eigene.emplace();
        // False when making the records failed.
        const auto füllen = [&](qint32 stück) {
            if (genommen[size_t(stück)].exchange(true))
                return true;
            const qint32 von = stück * kFüllStück + 1, bis = std::min(von + kFüllStück - 1, anzahl);
            for (qint32 g = gemacht.load(); g < bis; g = gemacht.load()) {
                if (g < 0)
                    return false;
                if (!anlegen())
                    gemacht.wait(g);
            }
            for (qint32 e = von; e <= bis; ++e) {
                EintragszeileLesen(zeilen[size_t(e - 1)], speicher, pfade[e], daten[e]);
                treffer[e] = 1;
            }
            return true;
        };
        // Its own pieces first, then from the end what another thread has
        // not come to yet.
        for (qint32 stück = t; stück < stücke; stück += füller)
            if (!füllen(stück))
                return;
        for (qint32 stück = stücke - 1; stück >= 0; --stück)
            if (!füllen(stück))
                return;
    });
    gemachtAbwarten();
    idx.lngIndexAnzahl = anzahl;
}

// A line as it would read without what a damaged file may put before it:
// blanks, byte order marks, zero bytes.
QByteArrayView ohneVorspann(QByteArrayView z)
{
    for (;;) {
        if (z.startsWith("\xEF\xBB\xBF"))
            z = z.sliced(3);
        else if (!z.isEmpty() && (z.front() == ' ' || z.front() == '\t' || z.front() == '\0'))
            z = z.sliced(1);
        else
            return z;
    }
}

// A file taken for the old format: one path per line. Lines that read as
// entry or option lines of the current format are taken as such, whatever
// stands before them, so that a current file with a damaged head keeps its
// entries and options; other "#TAG:" lines are left out.
void altesFormatLesen(Index& idx, QByteArrayView text, TextSpeicher& texte, QObject* aufrufer)
{
    Kapazität kapazität{idx};
    qint32 anzahl = 0;
    auto neuerEintrag = [&] {
        const qint32 e = anzahl + 1;
        kapazität.Platz(e);
        idx.intSuchErgebnis[size_t(e)] = 1;
        anzahl = e;
        return size_t(e);
    };
    // True when the line was one of the current format.
    auto aktuelleZeile = [&](QByteArrayView roh) {
        const QByteArrayView z = ohneVorspann(roh);
        if (IstEintragszeile(z)) {
            const size_t e = neuerEintrag();
            idx.strIndexPfad[e].clear();
            idx.IndexDaten[e] = MedienInfo();
            EintragszeileLesen(z, texte, idx.strIndexPfad[e], idx.IndexDaten[e]);
            return true;
        }
        if (z.startsWith("#OPT:"))
            OptionszeileLesen(z, texte, idx);
        return z.startsWith("#OPT:") || z.startsWith("#TAG:");
    };
    for (const QByteArrayView& block : ZeilenTeilen(text)) {
        if (aktuelleZeile(block))
            continue;
        for (const QByteArrayView& z : pfadzeilenTeilen(block)) {
            if (aktuelleZeile(z))
                continue;
            FortschrittZeigen(0, QString(), aufrufer);
            const size_t e = neuerEintrag();
            idx.strIndexPfad[e] = texte.Text(z);
            idx.IndexDaten[e] = MedienInfo();
        }
    }
    idx.lngIndexAnzahl = anzahl;
}

// Zero bytes at the start or the end are damage; anywhere else, or nothing
// but them, the file is no text and so no index file.
bool ohneNullRänder(QByteArrayView& datei)
{
    const qsizetype vorher = datei.size();
    while (!datei.isEmpty() && datei.front() == '\0')
        datei = datei.sliced(1);
    while (!datei.isEmpty() && datei.back() == '\0')
        datei.chop(1);
    return !(datei.contains('\0') || (vorher > 0 && datei.isEmpty()));
}

void keinIndexMeldung(const QString& datei, QObject* besitzer)
{
    MeldungZeigen(QStringLiteral("Die Datei '") + datei
                      + QStringLiteral("' ist keine Indexdatei: Sie enthält keinen Text (Nullbytes) und wird daher "
                                       "nicht geladen."),
                  Knöpfe::OK, Symbol::Ausruf, besitzer);
}

// Whether `datei` names the file `bekannt` (empty: none).
bool gleicherName(const QString& datei, const QString& bekannt)
{
    return !bekannt.isEmpty() && QFileInfo(datei).absoluteFilePath() == QFileInfo(bekannt).absoluteFilePath();
}

// Whether `datei` names the file the index was converted from.
bool umgewandelteDatei(const Index& idx, const QString& datei) { return gleicherName(datei, idx.strUmgewandelteDatei); }

// The file at the name a save replaces, as it is now; open, so that a writer
// holding it is seen when it is replaced.
struct Ziel {
    int fd = -1;
    DateiStand stand;
    Ziel() = default;
    Ziel(const Ziel&) = delete;
    Ziel& operator=(const Ziel&) = delete;
    ~Ziel()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Whether the file has another inode number than the known one but still
// holds the known bytes: FAT and exFAT through FUSE number a file anew once
// the kernel forgot it.
bool gleicheBytes(const Ziel& ziel, const Index& idx)
{
    return BytesEntscheiden(ziel.stand, idx.BekannterStand) && idx.BekannterInhalt != std::array<quint64, 2>{}
           && Inhaltsabdruck::VonDatei(ziel.fd) == idx.BekannterInhalt;
}

// Whether a save may replace what is at `datei` now: nothing, another file
// than the one this index knows, the known file unchanged, or a newer one
// the user lets go.
bool ersetzenErlaubt(const Index& idx, const QString& datei, Ziel& ziel, QObject* besitzer)
{
    struct stat st;
    ziel.fd = ReguläreDateiÖffnen(datei, &st);
    if (ziel.fd < 0)
        return true;
    ziel.stand = DateiStandVon(st);
    return !gleicherName(datei, idx.strBekannteDatei) || ziel.stand == idx.BekannterStand
           || gleicheBytes(ziel, idx) || neuereDateiFrage(datei, besitzer);
}

// A file loaded from the old format is saved over only while the index still
// holds an entry read from it (under whatever path it has now): an index
// that kept none of them is no conversion.
bool umwandlungSpeichernErlaubt(const Index& idx, const QString& datei, QObject* besitzer)
{
    if (!umgewandelteDatei(idx, datei))
        return true;
    for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i)
        if (idx.bolAusUmgewandelterDatei[size_t(i)])
            return true;
    MeldungZeigen(QStringLiteral("Die Indexdatei '") + datei
                      + QStringLiteral("' wurde nicht gespeichert: Sie wurde aus einem älteren oder ungültigen "
                                       "Dateiformat geladen, und der Index enthält keinen ihrer Einträge mehr.\n"
                                       "Speichern Sie den Index bei Bedarf unter einem anderen Dateinamen."),
                  Knöpfe::OK, Symbol::Ausruf, besitzer);
    return false;
}

// Reads again what the file lacks: every entry of an old-format file, and
// entries without a date added, a size or a valid type.
void einträgeNachlesen(Index& idx, bool altesFormat, QObject* aufrufer)
{
    const QString lesen = einstellungen().Mp3TagLesen;
    const EintragLeserDienst::Typ& leser = Dienst<EintragLeserDienst>();
    if (lesen.left(3) == QLatin1String("000") || !leser)
        return;
    const QString headerLesen = lesen.mid(2, 1);
    bolNichtVerfügbarAlleÜberspringen = false;
    for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i) {
        const MedienInfo& alt = idx.IndexDaten[size_t(i)];
        QString tags;
        if (altesFormat && alt.Mp3_ID3v1_Vorhanden == 0)
            tags = lesen.left(2);
        else if (alt.Datei_HinzugefügtAm.isEmpty() || alt.Datei_Größe == -1 || alt.Datei_Typ < 0)
            tags = QStringLiteral("00");
        else
            continue;
        if (!FortschrittLäuft())
            FortschrittZeigenStarten(idx.lngIndexAnzahl, true, aufrufer, true, true,
                                     QStringLiteral("Datei-Informationen lesen"));
        if (!FortschrittZeigen(i, idx.strIndexPfad[size_t(i)], aufrufer))
            return;
        // Events ran: the index may have changed under us.
        if (i > idx.lngIndexAnzahl)
            return;
        const int verfügbar = DateiNichtVerfügbarPrüfen(idx, i, aufrufer, true);
        if (verfügbar == 2)
            return;
        if (verfügbar != 0)
            continue;
        MedienInfo neu = leser(idx, idx.strIndexPfad[size_t(i)], idx.IndexDaten[size_t(i)], tags, headerLesen);
        // Looking alone marks nothing modified.
        if (!(neu == idx.IndexDaten[size_t(i)])) {
            idx.IndexDaten[size_t(i)] = std::move(neu);
            idx.bolIndexGeändert = true;
        }
    }
}

} // namespace

void IndexZustandGeändert() { IndexEreignisMelden(IndexEreignis::Geladen, hauptIndex()); }
void IndexDateiSperreWartezeitSetzen(int ms) { g_sperreWartezeit = ms; }

// --- writer ---------------------------------------------------------------------------

namespace {

// One save of `idx` over `strDatei`: false when nothing was replaced, with
// `nochmal` set when the file this index knows changed while the copy was
// written (asked about again then).
bool einmalSpeichern(Index& idx, const QString& strDatei, bool bolFortschritt, QObject* aufrufer, bool& nochmal)
{
    nochmal = false;
    Ziel ziel;
    if (!ersetzenErlaubt(idx, strDatei, ziel, aufrufer))
        return false;
    const bool fortschritt = bolFortschritt
                             && FortschrittZeigenStarten(idx.lngIndexAnzahl, true, aufrufer, true, false,
                                                         QStringLiteral("Speichere Indexdatei"));
    auto fehler = [&](const SichereDatei& datei) {
        if (fortschritt)
            FortschrittZeigenBeenden(aufrufer);
        if (datei.UmbenennenFehlgeschlagen() && QFileInfo::exists(strDatei))
            MeldungZeigen(QStringLiteral("Die Datei '") + strDatei
                              + QStringLiteral("' konnte nicht gespeichert werden, da die bestehende Datei nicht "
                                               "überschrieben werden konnte."),
                          Knöpfe::OK, Symbol::Ausruf, aufrufer);
        else
            meldungSpeichernFehler(FehlerText(datei.Fehler(), datei.FehlerNummer()), aufrufer);
        return false;
    };

    // A taken "~" name (a killed run's leftover, a file of the user's) stays;
    // the copy takes a free name beside it.
    SichereDatei datei(strDatei, QStringLiteral("~"));
    if (ziel.fd >= 0)
        datei.UnverändertVerlangen(ziel.stand, ziel.fd);
    if (!datei.Öffnen()) {
        if (datei.FehlerNummer() != EEXIST)
            return fehler(datei);
        if (fortschritt)
            FortschrittZeigenBeenden(aufrufer);
        MeldungZeigen(QStringLiteral("Die Indexdatei '") + strDatei
                          + QStringLiteral("' konnte nicht gespeichert werden, da die temporäre Datei '") + strDatei
                          + QStringLiteral("~' nicht überschrieben werden konnte."),
                      Knöpfe::OK, Symbol::Ausruf, aufrufer);
        return false;
    }
    IndexEreignisMelden(IndexEreignis::VorDemSpeichern, idx);
    std::string puffer;
    puffer.reserve(kSchreibPuffer + 64 * 1024);
    Inhaltsabdruck abdruck;
    KopfzeilenSchreiben(puffer, idx);
    // The count is read anew each time: progress reports let events run.
    for (qint32 i = 1; i <= idx.lngIndexAnzahl; ++i) {
        if (fortschritt && (i == 1 || i % kSpeichernFortschrittAlle == 0 || i == idx.lngIndexAnzahl)
            && !FortschrittZeigen(i, QString(), aufrufer)) {
            datei.Verwerfen();
            return false;
        }
        if (i > idx.lngIndexAnzahl)
            break;
        EintragszeileSchreiben(puffer, idx.strIndexPfad[size_t(i)], idx.IndexDaten[size_t(i)]);
        if (puffer.size() >= kSchreibPuffer && !ausschreiben(datei, puffer, abdruck))
            return fehler(datei);
    }
    if (!ausschreiben(datei, puffer, abdruck))
        return fehler(datei);
    if (fortschritt)
        FortschrittZeigenBeenden(aufrufer);
    if (!datei.Fertigstellen()) {
        nochmal = datei.FehlerNummer() == ESTALE && gleicherName(strDatei, idx.strBekannteDatei);
        return nochmal ? false : fehler(datei);
    }
    // A copy under another name leaves the file the index works on as known.
    if (idx.strBekannteDatei.isEmpty() || gleicherName(strDatei, idx.strBekannteDatei)) {
        idx.strBekannteDatei = strDatei;
        idx.BekannterStand = datei.Geschrieben();
        idx.BekannterInhalt = abdruck.Ergebnis();
    }
    return true;
}

} // namespace

bool DateiSpeichern(Index& idx, const QString& strDateiname, bool bolFortschritt, QObject* aufrufer)
{
    // Without a loaded index the name belongs to a file we never read.
    if (!idx.bolIndexGeladen)
        return false;
    const QString strDatei = strDateiname;
    if (strDatei.isEmpty()) {
        meldungSpeichernFehler(systemFehlerText(ENOENT), aufrufer);
        return false;
    }
    if (!umwandlungSpeichernErlaubt(idx, strDatei, aufrufer))
        return false;
    for (bool nochmal = true; nochmal;)
        if (einmalSpeichern(idx, strDatei, bolFortschritt, aufrufer, nochmal))
            break;
        else if (!nochmal)
            return false;

    idx.datLetzteSpeicherung = JetztSekundengenau();
    idx.bolIndexGeändert = false;
    if (umgewandelteDatei(idx, strDatei)) {
        idx.strUmgewandelteDatei.clear();
        std::fill(idx.bolAusUmgewandelterDatei.begin(), idx.bolAusUmgewandelterDatei.end(), false);
    }
    return true;
}

// --- loader -----------------------------------------------------------------------------

bool DateiLaden(Index& idx, const QString& strDateiname, QObject* aufrufer)
{
    Einstellungen& e = einstellungen();
    const QString strDatei = strDateiname;
    e.Dateiname = strDatei;
    idx.lngIndexAnzahl = 0;
    idx.bolIndexGeändert = false;
    idx.bolIndexGeladen = false;
    idx.strUmgewandelteDatei.clear();
    idx.strBekannteDatei.clear();
    const bool fortschritt = e.StartBildschirm == 1 && e.StartBildschirmNichtBeiLaden != 1;
    auto abgelehnt = [&] {
        FortschrittZeigenBeenden(aufrufer);
        idx.lngIndexAnzahl = 0;
        idx.bolIndexGeändert = false;
        return false;
    };

    if (strDatei.isEmpty()) {
        meldungLesenFehler(strDatei, ENOENT, aufrufer);
        return abgelehnt();
    }
    if (!sperreAbwarten(strDatei, fortschritt, aufrufer))
        return abgelehnt();
    // Only a name that is free is created; anything else there is read (and
    // refused when it is no regular file).
    if (!QFileInfo::exists(strDatei) && !neueDateiAnlegen(strDatei, aufrufer))
        return abgelehnt();

    std::optional<DateiPuffer> puffer;
    DateiStand stand;
    for (;;) {
        puffer.emplace();
        const int fehler = puffer->Lesen(strDatei, stand);
        if (fehler == 0)
            break;
        if (fehler != kWirdGeschrieben) {
            meldungLesenFehler(strDatei, fehler, aufrufer);
            return abgelehnt();
        }
        if (!wiederholenFrage(strDatei, aufrufer))
            return abgelehnt();
    }
    QByteArrayView datei = puffer->Daten();
    // The fingerprint of a large file's whole blocks is worked out beside
    // the load (they need no copy), the rest at its end.
    Inhaltsabdruck abdruck;
    const qint64 länge = datei.size(), blöcke = länge / Inhaltsabdruck::kBlock * Inhaltsabdruck::kBlock;
    const auto abdruckRechnen = [&abdruck, bytes = datei.data()](qint64 von, qint64 bis) {
        abdruck.Hinzufügen(bytes + von, bis - von);
    };
    std::jthread abdruckFaden;
    try {
        if (size_t(datei.size()) >= kParallelLesenAb)
            abdruckFaden = std::jthread(abdruckRechnen, 0, blöcke);
    } catch (const std::system_error&) {
    }
    if (!abdruckFaden.joinable())
        abdruckRechnen(0, blöcke);
    // Zero bytes before the first line leave it no version line: the file
    // is asked about as one of the old format (or damaged).
    const bool nullAmAnfang = datei.startsWith('\0');
    if (puffer->MitNull() && !ohneNullRänder(datei)) {
        keinIndexMeldung(strDatei, aufrufer);
        return abgelehnt();
    }
    if (datei.startsWith("\xEF\xBB\xBF"))
        datei = datei.sliced(3);

    qsizetype weiter = 0;
    const QByteArrayView ersteZeile = datei.first(ZeileAbgrenzen(datei, ÜblichesZeilenende(datei), weiter));
    const QByteArrayView rest = datei.sliced(weiter);

    const IndexVersion version = nullAmAnfang ? IndexVersion() : VersionErkennen(ersteZeile);
    if (version.neuer)
        neuerFormatHinweis(strDatei, version.versionText, aufrufer);
    const bool altesFormat = version.code < 0;
    if (altesFormat) {
        if (!altesFormatFrage(strDatei, aufrufer))
            return abgelehnt();
        idx.bolIndexGeändert = true;
    }

    optionenZurücksetzen(idx);
    const qint32 dateiLänge = qint32(std::min<qsizetype>(datei.size(), std::numeric_limits<qint32>::max()));
    if (fortschritt) {
        FortschrittZeigenStarten(dateiLänge, false, aufrufer, true, true,
                                 QStringLiteral("Lade '") + DateinameZurückgeben(strDatei) + QLatin1Char('\''));
        FortschrittZeigen(0, QStringLiteral("Lese Datei"), aufrufer);
    }
    idx.IndexDatenDimensionieren(kStartKapazität, false);
    {
        TextSpeicher texte;
        if (altesFormat)
            // Line 1 of such a file is already a path.
            altesFormatLesen(idx, datei, texte, aufrufer);
        else
            einträgeLesen(idx, rest, puffer->EintragszeilenHöchstens(), texte, fortschritt, aufrufer);
    }
    // The tables of the load lay among the texts it kept: their pages go back.
    ::malloc_trim(0);
    FortschrittZeigen(dateiLänge, QStringLiteral("Lese Datei"), aufrufer);

    if (idx.lngIndexAnzahl > 0 && idx.Kapazität() != idx.lngIndexAnzahl)
        idx.IndexDatenDimensionieren(idx.lngIndexAnzahl, true);
    // A small index after a large one gives the memory back.
    if (idx.IndexDaten.capacity() > 2 * idx.IndexDaten.size() + kWachstum) {
        idx.strIndexPfad.shrink_to_fit();
        idx.IndexDaten.shrink_to_fit();
        idx.intSuchErgebnis.shrink_to_fit();
        idx.bolAusUmgewandelterDatei.shrink_to_fit();
    }

    if (version.code < 2 && idx.intDateiTypenLeer == 1) {
        const Standardwerte& s = standardwerte();
        idx.strDateiTypen = s.strStandardDateiTypen;
        idx.strDateiTypArten = s.strStandardDateiTypArten;
        idx.intDateiTypenLeer = 0;
        idx.bolIndexGeändert = true;
    }

    // A file that gave no entry has none to lose.
    if (altesFormat && idx.lngIndexAnzahl > 0) {
        idx.strUmgewandelteDatei = strDatei;
        std::fill_n(idx.bolAusUmgewandelterDatei.begin() + 1, idx.lngIndexAnzahl, true);
    }
    einträgeNachlesen(idx, altesFormat, aufrufer);
    FortschrittZeigenBeenden(aufrufer);
    idx.strBekannteDatei = strDatei;
    idx.BekannterStand = stand;
    if (abdruckFaden.joinable())
        abdruckFaden.join();
    abdruckRechnen(blöcke, länge);
    idx.BekannterInhalt = abdruck.Ergebnis();
    idx.bolIndexGeladen = true;
    return true;
}

bool IndexDateiLaden(QObject* aufrufer)
{
    Einstellungen& e = einstellungen();
    if (e.Dateiname.isEmpty())
        e.Dateiname = PfadVerbinden(ProgrammOrdner(), QStringLiteral("Kalvbox.kvx"));
    const bool geladen = DateiLaden(hauptIndex(), QString(e.Dateiname), aufrufer);
    IndexZustandGeändert();
    return geladen;
}
