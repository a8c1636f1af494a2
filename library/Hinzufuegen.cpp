#include "library/Hinzufuegen.h"

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/Kodierung.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"
#include "core/Dateihelfer.h"
#include "library/Dateikennung.h"
#include "library/Besitzer.h"
#include "library/Loeschen.h"
#include "library/Verschieben.h"
#include "core/Liste.h"
#include "media/MedienInfosLesen.h"

#include <QDir>
#include <QUrl>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

QStringList strGefundeneDateien;

namespace {

int g_taktMs = 50;
int g_läuft = 0;

// Marks an adding operation as running for its lifetime.
struct Läuft {
    Läuft() { ++g_läuft; }
    ~Läuft() { --g_läuft; }
};

const QString kAbgebrochen = QStringLiteral("Hinzufügen abgebrochen");

// Files of a folder add passed over for their names, since the last drop began.
qint32 g_namenÜbergangen = 0;

QString HinzugefügtText(qint32 anzahl, qint32 übergangen = 0)
{
    QString text = QString::number(anzahl) + QStringLiteral(" Datei(en) hinzugefügt");
    if (übergangen > 0)
        text += QStringLiteral(", ") + QString::number(übergangen)
                + QStringLiteral(" Datei(en) mit ungültigem Dateinamen übergangen");
    return text;
}

QString MitTrenner(const QString& ordner)
{
    return ordner.endsWith(QChar(kPfadTrenner)) ? ordner : ordner + QChar(kPfadTrenner);
}

// Reports to the progress display no more often than every g_taktMs, so that
// long runs do not spend their time redrawing; a pending cancel is reported
// at once.
class Fortschrittstakt {
public:
    explicit Fortschrittstakt(bool aktiv = true) : m_aktiv(aktiv) {}
    // False once the user has cancelled (the display has then ended itself).
    bool Melden(double position, const QString& text)
    {
        if (!m_aktiv)
            return true;
        if (m_uhr.isValid() && m_uhr.elapsed() < g_taktMs && !bolAbbruch)
            return true;
        m_uhr.start();
        return FortschrittZeigen(position, text, BibliotheksBesitzer());
    }

private:
    bool m_aktiv;
    QElapsedTimer m_uhr;
};

bool FilterPasst(const QString& name, const QStringList& filter)
{
    if (filter.isEmpty() || filter.first().isEmpty())
        return true;
    for (const QString& f : filter) {
        if (name.size() > f.size() && name.indexOf(f, name.size() - f.size() - 1, Qt::CaseInsensitive) >= 0)
            return true;
    }
    return false;
}

bool NamensOrdnung(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

struct Suchlauf {
    const QStringList& filter;
    bool rekursiv;
    Fortschrittstakt& takt;
    QStringList& ziel;
    std::optional<DateiSchlüssel> ohne;
    QSet<DateiSchlüssel> gesehen;
    QStringList* übergangen = nullptr;

    // A file or folder whose name is no valid text (and so cannot be stored
    // in the index file): its files are passed over and named here, as far as
    // their names can be shown. False when cancelled.
    bool Unerreichbar(int ordnerFd, const char* roh, const struct stat& st, const QString& anzeige)
    {
        if (S_ISREG(st.st_mode)) {
            if (FilterPasst(anzeige, filter))
                übergangen->append(anzeige);
            return true;
        }
        if (!S_ISDIR(st.st_mode) || !rekursiv)
            return true;
        const DateiSchlüssel schlüssel(DateiKennungAus(st));
        if ((ohne && *ohne == schlüssel) || gesehen.contains(schlüssel))
            return true;
        gesehen.insert(schlüssel);
        const int fd = ::openat(ordnerFd, roh, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (!d) {
            if (fd >= 0)
                ::close(fd);
            return true;
        }
        bool weiter = true;
        while (const dirent* e = ::readdir(d)) {
            struct stat unter;
            if (e->d_name[0] == '.' || ::fstatat(::dirfd(d), e->d_name, &unter, 0) != 0)
                continue;
            if (!takt.Melden(0, anzeige) || !Unerreichbar(::dirfd(d), e->d_name, unter,
                                                          anzeige + QChar(kPfadTrenner) + QFile::decodeName(e->d_name))) {
                weiter = false;
                break;
            }
        }
        ::closedir(d);
        return weiter;
    }

    // One folder (ending in the separator); false when cancelled.
    bool Ordner(const QString& ordner)
    {
        const QByteArray ordnerBytes = QFile::encodeName(ordner);
        DIR* d = ::opendir(ordnerBytes.constData());
        if (!d)
            return true;
        struct Unterordner {
            QString name;
            DateiSchlüssel schlüssel;
        };
        std::vector<QString> dateien;
        std::vector<Unterordner> unterordner;
        bool weiter = true;
        while (const dirent* e = ::readdir(d)) {
            const char* roh = e->d_name;
            // Hidden entries, "." and "..".
            if (roh[0] == '.' || (e->d_type == DT_DIR && !rekursiv))
                continue;
            const QByteArray bytes(roh);
            const QString name = QFile::decodeName(bytes);
            struct stat st;
            // A name this program could not address again is passed over, and counted.
            if (QFile::encodeName(name) != bytes) {
                if (übergangen && ::fstatat(::dirfd(d), roh, &st, 0) == 0
                    && !Unerreichbar(::dirfd(d), roh, st, ordner + name)) {
                    weiter = false;
                    break;
                }
                continue;
            }
            const bool bekannt = e->d_type == DT_REG;
            if (!bekannt && ::fstatat(::dirfd(d), roh, &st, 0) != 0)
                continue;
            if (bekannt || S_ISREG(st.st_mode)) {
                if (FilterPasst(name, filter))
                    dateien.push_back(name);
            } else if (S_ISDIR(st.st_mode) && rekursiv) {
                unterordner.push_back({name, DateiSchlüssel(DateiKennungAus(st))});
            }
            if (!takt.Melden(0, ordner)) {
                weiter = false;
                break;
            }
        }
        ::closedir(d);
        if (!weiter)
            return false;

        std::sort(dateien.begin(), dateien.end(), NamensOrdnung);
        for (const QString& name : dateien)
            ziel.append(ordner + name);

        std::sort(unterordner.begin(), unterordner.end(),
                  [](const Unterordner& a, const Unterordner& b) { return NamensOrdnung(a.name, b.name); });
        for (const Unterordner& u : unterordner) {
            if (!takt.Melden(0, QString()))
                return false;
            // A folder met before (a symlink loop, or a link to a folder
            // already scanned) and the left-out folder are not entered.
            if ((ohne && *ohne == u.schlüssel) || gesehen.contains(u.schlüssel))
                continue;
            gesehen.insert(u.schlüssel);
            if (!Ordner(ordner + u.name + QChar(kPfadTrenner)))
                return false;
        }
        return true;
    }
};

// Case-folded hash of the file name part of a path.
size_t NamensHash(QStringView pfad)
{
    const QStringView name = pfad.mid(pfad.lastIndexOf(QChar(kPfadTrenner)) + 1);
    size_t h = 1469598103934665603ULL;
    for (QChar c : name) {
        char16_t u = c.unicode();
        if (u < 0x80)
            u = (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u;
        else
            u = QChar::toCaseFolded(u);
        h = (h ^ u) * 1099511628211ULL;
    }
    return h;
}

} // namespace

// The duplicate test of one batch: built once, then one hash lookup per file.
// A file is the same when its path is, or its device and inode are, or its
// directory entry is (a medium that ignores case). Another path to an
// indexed file goes through a folder link or a medium that ignores case, and
// keeps the file name (but for case): only indexed files of that name are
// looked at on disk, each at most once, and a folder's names only for a path
// equal apart from case. A file with more than one name (hard links) makes
// the whole index's identities known once.
class Doppelprüfung {
public:
    explicit Doppelprüfung(const Index& index)
    {
        const qint32 n = std::max<qint32>(std::min<qint32>(index.lngIndexAnzahl, index.Kapazität()), 0);
        // A copy of the paths: the index may be sorted while events run.
        m_pfade.assign(index.strIndexPfad.begin() + 1, index.strIndexPfad.begin() + 1 + n);
        m_namen.resize(size_t(n));
        for (qint32 i = 0; i < n; ++i)
            m_namen[size_t(i)] = {NamensHash(m_pfade[size_t(i)]), quint32(i)};
        std::sort(m_namen.begin(), m_namen.end());
    }

    // Whether the file is known; `kennung` is its identity (nothing when it
    // cannot be read).
    bool Enthält(const QString& pfad, const std::optional<DateiKennung>& kennung)
    {
        const size_t h = NamensHash(pfad);
        const auto von = std::lower_bound(m_namen.begin(), m_namen.end(), std::pair<size_t, quint32>(h, 0));
        auto bis = von;
        while (bis != m_namen.end() && bis->first == h)
            ++bis;
        for (auto it = von; it != bis; ++it) {
            if (m_pfade[it->second] == pfad)
                return true;
        }
        if (!kennung)
            return false;
        const DateiSchlüssel schlüssel(*kennung);
        if (m_neu.contains(schlüssel))
            return true;
        for (auto it = von; it != bis; ++it) {
            if (Kennung(it->second) == schlüssel)
                return true;
        }
        // A medium that ignores case gives each spelling an inode number of
        // its own: a path equal apart from case may find the indexed entry.
        for (auto it = von; it != bis; ++it) {
            if (TextGleich(m_pfade[it->second], pfad) && GleicherEintrag(pfad, m_pfade[it->second]))
                return true;
        }
        if (kennung->verweise > 1) {
            if (!m_alle) {
                m_alle.emplace();
                for (quint32 i = 0; i < m_pfade.size(); ++i) {
                    if (const auto& k = Kennung(i))
                        m_alle->insert(*k);
                }
            }
            return m_alle->contains(schlüssel);
        }
        return false;
    }

    // A file of the batch: later offers of it are duplicates.
    void Merken(const DateiKennung& kennung) { m_neu.insert(DateiSchlüssel(kennung)); }

private:
    // Each indexed file is looked at on disk at most once per batch.
    const std::optional<DateiSchlüssel>& Kennung(quint32 i)
    {
        if (m_kennungen.empty())
            m_kennungen.resize(m_pfade.size());
        auto& k = m_kennungen[i];
        if (!k.first) {
            if (const auto gelesen = DateiKennungLesen(m_pfade[i]))
                k.second = DateiSchlüssel(*gelesen);
            k.first = true;
        }
        return k.second;
    }

    std::vector<QString> m_pfade;
    std::vector<std::pair<size_t, quint32>> m_namen; // name hash, position in m_pfade; sorted
    std::vector<std::pair<bool, std::optional<DateiSchlüssel>>> m_kennungen;
    QSet<DateiSchlüssel> m_neu;
    std::optional<QSet<DateiSchlüssel>> m_alle;
};

// --- the found-file list -----------------------------------------------------

bool GefundeneDateiMerken(const QString& strPfad, int intModus)
{
    if (intModus == 1)
        strGefundeneDateien.clear();
    else
        strGefundeneDateien.append(strPfad);
    return true;
}

void FortschrittTaktSetzen(int ms) { g_taktMs = std::max(ms, 0); }

// --- the folder scan ---------------------------------------------------------

bool DateienSuchenAPI(QString& strOrdner, const QStringList& strFilter, int intUnterordner, bool bolFortschritt,
                      QStringList& ziel, const QString& ohneOrdner, QStringList* übergangen)
{
    strOrdner = MitTrenner(strOrdner);
    Fortschrittstakt takt(bolFortschritt);
    Suchlauf lauf{strFilter, intUnterordner == 1, takt, ziel, std::nullopt, {}, übergangen};
    if (!ohneOrdner.isEmpty()) {
        if (const auto k = DateiKennungLesen(ohneOrdner); k && k->ordner)
            lauf.ohne = DateiSchlüssel(*k);
    }
    if (const auto k = DateiKennungLesen(strOrdner)) {
        lauf.gesehen.insert(DateiSchlüssel(*k));
        // The names found are spelled by the medium; so is the folder they lie in.
        const QString ordner = strOrdner.chopped(1);
        if (!ordner.isEmpty() && SchreibweiseEgal(ordner, k->gerät))
            strOrdner = MitTrenner(WieGeschrieben(ordner, k->gerät));
    }
    return lauf.Ordner(strOrdner);
}

// --- the add batch -----------------------------------------------------------

HinzuStapel::HinzuStapel(Index& index) : m_index(index) {}
HinzuStapel::~HinzuStapel() = default;

Doppelprüfung& HinzuStapel::prüfung()
{
    if (!m_doppelt)
        m_doppelt = std::make_unique<Doppelprüfung>(m_index);
    return *m_doppelt;
}

void HinzuStapel::DateiListeHinzuStarten()
{
    m_neuPfad.clear();
    m_neuDaten.clear();
    m_doppelt.reset();
}

bool HinzuStapel::SchonImIndex(const QString& strDatei)
{
    return prüfung().Enthält(strDatei, DateiKennungLesen(strDatei));
}

bool HinzuStapel::SchonImIndex(const QString& strDatei, const DateiKennung& kennung)
{
    return prüfung().Enthält(strDatei, kennung);
}

bool HinzuStapel::DateienZurListeHinzufügen(const QString& strGegeben, bool bolGefunden)
{
    // A NUL would cut the name short when the file is opened.
    struct stat angaben;
    if (strGegeben.contains(QChar(0)) || !DoesExist(strGegeben, &angaben))
        return false;
    const quint64 gerät = quint64(angaben.st_dev);
    const QString strDatei = bolGefunden || !SchreibweiseEgal(strGegeben, gerät) ? strGegeben
                                                                                 : WieGeschrieben(strGegeben, gerät);
    if (!DateiTypPrüfen(m_index, strDatei, false, false, false, true))
        return false;
    if (einstellungen().HinzufügenKeineDoppelten == 1 || m_doppelt) {
        const DateiKennung kennung = DateiKennungAus(angaben);
        if (einstellungen().HinzufügenKeineDoppelten == 1 && prüfung().Enthält(strDatei, kennung))
            return false;
        prüfung().Merken(kennung);
    }
    m_neuPfad.push_back(strDatei);
    m_neuDaten.push_back(NeuLesen(strDatei));
    return true;
}

MedienInfo WieBeimHinzufügenLesen(const Index& index, const QString& strDatei, const MedienInfo& alt)
{
    const QString& flags = einstellungen().Mp3TagLesen;
    const QString kopfUndDatei = flags.mid(2, 1);
    return MedienInfosLesen(index, strDatei, alt, flags.left(2), false, kopfUndDatei, kopfUndDatei);
}

MedienInfo HinzuStapel::NeuLesen(const QString& strDatei) const
{
    return WieBeimHinzufügenLesen(m_index, strDatei, LeereMedienInfo());
}

qint32 HinzuStapel::ErsetzteEinträgeNeuLesen(const QString& strDatei)
{
    const bool imIndex = prüfung().Enthält(strDatei, std::nullopt);
    const bool imStapel = std::find(m_neuPfad.cbegin(), m_neuPfad.cend(), strDatei) != m_neuPfad.cend();
    if (!imIndex && !imStapel)
        return 0;
    const MedienInfo neu = NeuLesen(strDatei);
    for (size_t i = 0; i < m_neuPfad.size(); ++i)
        if (m_neuPfad[i] == strDatei)
            m_neuDaten[i] = neu;
    qint32 anzahl = 0;
    // Entry numbers are looked up now: the index may have been sorted meanwhile.
    for (qint32 e = 1; imIndex && e <= m_index.lngIndexAnzahl; ++e) {
        if (m_index.strIndexPfad[size_t(e)] == strDatei) {
            m_index.IndexDaten[size_t(e)] = neu;
            ++anzahl;
        }
    }
    if (anzahl > 0)
        m_index.bolIndexGeändert = true;
    return anzahl;
}

qint32 HinzuStapel::DateiListeHinzuBeenden()
{
    const qint32 neu = qint32(m_neuPfad.size());
    if (neu > 0) {
        Index& x = m_index;
        const qint32 basis = x.lngIndexAnzahl;
        if (x.Kapazität() < basis + neu)
            x.IndexDatenDimensionieren(basis + neu, true);
        for (qint32 i = 0; i < neu; ++i) {
            const size_t nr = size_t(basis + 1 + i);
            x.strIndexPfad[nr] = std::move(m_neuPfad[size_t(i)]);
            x.IndexDaten[nr] = std::move(m_neuDaten[size_t(i)]);
            x.intSuchErgebnis[nr] = 0;
        }
        x.lngIndexAnzahl = basis + neu;
        x.bolIndexGeändert = true;
    }
    DateiListeHinzuStarten();
    return neu;
}

void IndexGeändertAnzeigen(Index& index)
{
    index.bolIndexGeändert = true;
    SucheAktualisieren(false);
}

// --- the ways of adding ------------------------------------------------------

bool HinzufügenLäuft() { return g_läuft > 0; }

namespace {

// The end of an adding run: refresh and mark what was added when asked.
// Entries renewed in place (`erneuert`) are shown anew in any case.
void ListeNachHinzufügen(qint32 anzahl, bool bolAktualisieren, bool bolMarkieren, qint32 erneuert = 0)
{
    if (!bolAktualisieren || anzahl <= 0) {
        if (erneuert > 0)
            SucheAktualisieren(false);
        return;
    }
    SucheAktualisieren(false);
    if (bolMarkieren)
        NeueInListeMarkieren(anzahl);
}

} // namespace

bool EinfachOrdnerHinzufügen(Index& index, QString& strOrdner, bool bolMeldung, int intUnterordner,
                             bool bolAktualisieren, const QString& strKopierenInOrdner, bool bolMarkieren,
                             bool bolFortschrittOffen)
{
    Läuft läuft;
    QObject* besitzer = BibliotheksBesitzer();
    FortschrittZeigenStarten(0, true, besitzer, false, true, QStringLiteral("Durchsuche Ordner"));
    FortschrittZeigen(0, QString(), besitzer);

    if (!IstOrdner(strOrdner)) {
        MeldungZeigen(QStringLiteral("Beim Hinzufügen des Ordners '") + strOrdner
                          + QStringLiteral("' ist ein Fehler aufgetreten: \nDer Ordner existiert nicht oder ist kein "
                                           "gültiger Ordnername.\n\nÄndern Sie den Ordner-Namen in den Optionen und "
                                           "stellen sie sicher, daß sich dieser Ordner auf einem Datenträger befindet, "
                                           "auf den Zugriff möglich ist."),
                      Knöpfe::OK, Symbol::Ausruf, besitzer);
        FortschrittZeigenBeenden(besitzer);
        StatusMeldungZeigen(kAbgebrochen, 0);
        return true;
    }

    QStringList gefunden;
    QStringList ungültig;
    const bool durchsucht = DateienSuchenAPI(strOrdner, {QString()}, intUnterordner, true, gefunden,
                                             strKopierenInOrdner, &ungültig);
    // Files the add would have taken but whose names cannot be stored.
    const qint32 übergangen = qint32(std::count_if(ungültig.cbegin(), ungültig.cend(), [&](const QString& d) {
        return DateiTypPrüfen(index, d, false, false, false, true);
    }));
    g_namenÜbergangen += übergangen;
    if (!durchsucht) {
        FortschrittZeigenBeenden(besitzer);
        StatusMeldungZeigen(kAbgebrochen, 0);
        return false;
    }

    qint32 anzahl = 0;
    qint32 erneuert = 0;
    if (!gefunden.isEmpty()) {
        FortschrittZeigenStarten(qint32(gefunden.size()), true, besitzer, true, true,
                                 QStringLiteral("Füge gefundene Dateien hinzu"));
        HinzuStapel stapel(index);
        stapel.DateiListeHinzuStarten();
        Fortschrittstakt takt;
        const QString kopierenIn = strKopierenInOrdner.isEmpty() ? QString() : MitTrenner(strKopierenInOrdner);
        for (qsizetype i = 0; i < gefunden.size(); ++i) {
            QString datei = gefunden[i];
            if (!DateiTypPrüfen(index, datei, false, false, false, true))
                continue;
            qint32 ersetzt = 0;
            if (!kopierenIn.isEmpty()) {
                if (DateinameBereinigen(strKopierenInOrdner, true) != strKopierenInOrdner) {
                    MeldungZeigen(QStringLiteral("Beim Kopieren der Datei '") + datei
                                      + QStringLiteral("' ist ein Fehler aufgetreten: \nDer Zielordner-Name '")
                                      + strKopierenInOrdner
                                      + QStringLiteral("' enthält ungültige Zeichen.\n\nDie Kopieren-Funktion wurde für "
                                                       "diesen Ordner deaktiviert. Ändern Sie den Ordner-Namen in den "
                                                       "Optionen."),
                                  Knöpfe::OK, Symbol::Ausruf, besitzer);
                    break;
                }
                // An indexed file stays where its entry says it is.
                if (!stapel.SchonImIndex(datei)) {
                    QString ziel = kopierenIn + datei.mid(strOrdner.size());
                    int modus = 1;
                    QString fehler;
                    if (DateiVerschieben(datei, ziel, modus, fehler)) {
                        OrdnerLöschenFragen(PfadZurückgeben(datei));
                        datei = ziel;
                        // A replaced indexed file: its entry now tells of the moved one.
                        ersetzt = stapel.ErsetzteEinträgeNeuLesen(datei);
                        erneuert += ersetzt;
                    } else if (MeldungZeigen(QStringLiteral("Beim Verschieben der Datei '") + datei
                                                 + QStringLiteral("' ist ein Fehler aufgetreten: \n") + fehler
                                                 + QStringLiteral("\n\nMöchten Sie mit weiteren Dateien im aktuellen "
                                                                  "Ordner ('")
                                                 + strOrdner + QStringLiteral("') fortfahren?"),
                                             Knöpfe::JaNein, Symbol::Ausruf, besitzer)
                               != Antwort::Ja) {
                        break;
                    }
                }
            }
            const bool angenommen = ersetzt == 0 && stapel.DateienZurListeHinzufügen(datei, true);
            if (angenommen)
                ++anzahl;
            if (!takt.Melden(double(i + 1), angenommen || ersetzt ? datei : QString())) {
                stapel.DateiListeHinzuBeenden();
                ListeNachHinzufügen(anzahl, bolAktualisieren, bolMarkieren, erneuert);
                StatusMeldungZeigen(kAbgebrochen, 0);
                return false;
            }
        }
        stapel.DateiListeHinzuBeenden();
    }

    if (!strKopierenInOrdner.isEmpty())
        OrdnerLöschenFragen(strOrdner);
    if (!bolFortschrittOffen)
        FortschrittZeigenBeenden(besitzer);
    ListeNachHinzufügen(anzahl, bolAktualisieren, bolMarkieren, erneuert);
    if (bolMeldung)
        StatusMeldungZeigen(HinzugefügtText(anzahl, übergangen), 750);
    return true;
}

bool EinfachDateiHinzufügen(Index& index, const QStringList& strDateien, bool bolAktualisieren, bool bolMeldung,
                            bool bolMarkieren)
{
    Läuft läuft;
    QObject* besitzer = BibliotheksBesitzer();
    FortschrittZeigenStarten(qint32(strDateien.size()), true, besitzer, true, true,
                             QStringLiteral("Füge Dateien hinzu"));
    HinzuStapel stapel(index);
    stapel.DateiListeHinzuStarten();
    Fortschrittstakt takt;
    qint32 anzahl = 0;
    for (qsizetype i = 0; i < strDateien.size(); ++i) {
        if (!takt.Melden(double(i + 1), strDateien[i])) {
            stapel.DateiListeHinzuBeenden();
            ListeNachHinzufügen(anzahl, bolAktualisieren, bolMarkieren);
            StatusMeldungZeigen(kAbgebrochen, 0);
            return false;
        }
        if (stapel.DateienZurListeHinzufügen(strDateien[i]))
            ++anzahl;
    }
    stapel.DateiListeHinzuBeenden();
    FortschrittZeigenBeenden(besitzer);
    ListeNachHinzufügen(anzahl, bolAktualisieren, bolMarkieren);
    if (bolMeldung)
        StatusMeldungZeigen(HinzugefügtText(anzahl), 750);
    return true;
}

namespace {

// A playlist's text: UTF-8 when its bytes are valid UTF-8 (a BOM skipped),
// else Windows-1252.
QString PlaylistText(const QByteArray& bytes)
{
    QByteArrayView b(bytes);
    if (b.startsWith("\xEF\xBB\xBF"))
        b = b.sliced(3);
    return Utf8OderCp1252Dekodieren(b);
}

// Playlists larger than this are no playlists.
constexpr qint64 kPlaylistHöchstens = 64LL * 1024 * 1024;

// The file a playlist line names, or "" when it names none that exists.
QString PlaylistZeilenDatei(QString zeile, const QString& ordner, const QString& wurzel, bool pls)
{
    if (pls && zeile.startsWith(QLatin1String("File"), Qt::CaseInsensitive)) {
        const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
        if (gleich > 4)
            zeile = zeile.mid(gleich + 1);
    }
    if (zeile.size() < 5 || zeile.startsWith(QLatin1Char('#')))
        return QString();
    // Many players write local files as file:// addresses.
    if (zeile.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        QUrl url(zeile);
        if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            url.setHost(QString());
        // A file on another host is no local file.
        return url.isLocalFile() && url.host().isEmpty() && DoesExist(url.toLocalFile()) ? url.toLocalFile()
                                                                                          : QString();
    }
    // Absolute: a path from the root, or a drive path of a Windows list.
    if (zeile.startsWith(QChar(kPfadTrenner)) || zeile.at(1) == QLatin1Char(':'))
        return DoesExist(zeile) ? zeile : QString();
    zeile.replace(QLatin1Char('\\'), QChar(kPfadTrenner));
    for (const QString& basis : {ordner, wurzel}) {
        if (basis.isEmpty())
            continue;
        const QString pfad = QDir::cleanPath(basis + QChar(kPfadTrenner) + zeile);
        if (DoesExist(pfad))
            return pfad;
    }
    return QString();
}

} // namespace

void PlaylistLesen(Index& index, const QString& strPlaylist, bool bolAktualisieren, bool bolMarkieren)
{
    Läuft läuft;
    QObject* besitzer = BibliotheksBesitzer();
    const QString ordner = PfadZurückgeben(strPlaylist);
    const QString wurzel = QStorageInfo(ordner.isEmpty() ? QStringLiteral(".") : ordner).rootPath();
    const bool pls = strPlaylist.endsWith(QLatin1String(".pls"), Qt::CaseInsensitive);

    // A FIFO or device is no playlist: it adds nothing and never blocks.
    QByteArray bytes;
    if (const int fd = ReguläreDateiÖffnen(strPlaylist); fd >= 0) {
        QFile datei;
        if (datei.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) && datei.size() <= kPlaylistHöchstens)
            bytes = datei.readAll();
        else if (!datei.isOpen())
            ::close(fd);
    }

    FortschrittZeigenStarten(qint32(std::min<qint64>(bytes.size(), INT32_MAX)), true, besitzer, true, true,
                             QStringLiteral("Playliste einlesen..."));
    HinzuStapel stapel(index);
    stapel.DateiListeHinzuStarten();
    Fortschrittstakt takt;
    const QString text = PlaylistText(bytes);
    double position = 0;
    qint32 anzahl = 0;
    qsizetype anfang = 0;
    while (anfang < text.size()) {
        qsizetype ende = anfang;
        while (ende < text.size() && text.at(ende) != QLatin1Char('\r') && text.at(ende) != QLatin1Char('\n'))
            ++ende;
        const QString zeile = text.mid(anfang, ende - anfang);
        qsizetype weiter = ende;
        if (weiter < text.size())
            weiter += (text.at(weiter) == QLatin1Char('\r') && weiter + 1 < text.size()
                       && text.at(weiter + 1) == QLatin1Char('\n')) ? 2 : 1;
        position += double(weiter - anfang);
        anfang = weiter;

        const QString pfad = PlaylistZeilenDatei(zeile, ordner, wurzel, pls);
        if (pfad.isEmpty())
            continue;
        if (stapel.DateienZurListeHinzufügen(pfad))
            ++anzahl;
        if (!takt.Melden(position, zeile)) {
            stapel.DateiListeHinzuBeenden();
            ListeNachHinzufügen(anzahl, bolAktualisieren, bolMarkieren);
            StatusMeldungZeigen(kAbgebrochen, 0);
            return;
        }
    }
    stapel.DateiListeHinzuBeenden();
    FortschrittZeigenBeenden(besitzer);
    ListeNachHinzufügen(anzahl, bolAktualisieren, bolMarkieren);
    StatusMeldungZeigen(HinzugefügtText(anzahl), 750);
}

void DragDropVerarbeiten(Index& index, const QStringList& strPfade)
{
    Läuft läuft;
    const qint32 vorher = index.lngIndexAnzahl;
    g_namenÜbergangen = 0;
    QStringList dateien;
    for (const QString& pfad : strPfade) {
        if (pfad.endsWith(QLatin1String(".m3u")) || pfad.endsWith(QLatin1String(".pls"))) {
            PlaylistLesen(index, pfad, false, false);
        } else if (IstOrdner(pfad)) {
            QString ordner = pfad;
            EinfachOrdnerHinzufügen(index, ordner, true, einstellungen().HinzufügenUnterordner, false, QString(),
                                    false, false);
        } else if (DoesExist(pfad)) {
            dateien.append(pfad);
        }
    }
    if (!dateien.isEmpty())
        EinfachDateiHinzufügen(index, dateien, false, false, false);
    const qint32 neu = std::max<qint32>(index.lngIndexAnzahl - vorher, 0);
    ListeNachHinzufügen(neu, true, true);
    StatusMeldungZeigen(HinzugefügtText(neu, g_namenÜbergangen), 750);
}
