#pragma once
// Rewriting a file without ever losing it: everything goes to a temporary
// file in the same folder (the target's name plus a suffix such as "~" or
// "-neu", or the first free numbered form of it), created exclusively with
// the target's permission bits from its first byte and then given its owner
// and group (where the target's group cannot be kept, the file is without
// the bits that would open it to anyone the original kept out, from the
// first byte too), then its POSIX ACL and extended attributes (an ACL the
// folder would hand down is not taken). A rewrite never takes another
// user's file: where the owner cannot be kept, Öffnen fails with
// FremderBesitzerText(). A chmod or
// chown that fails and leaves other bits fails Öffnen, except on file
// systems without Unix modes (FAT, exFAT, NTFS), whose modes the original
// showed as well. Every write is checked; on Fertigstellen() the data is
// flushed and fsynced, its size checked, and the temporary file is renamed
// over the target with rename(2) and the folder fsynced. On any failure,
// or when the object dies unfinished, the temporary file is removed and the
// target is untouched. A file that already has a temporary name (the user's
// own, a link, a killed run's leftover) is never removed or replaced. A
// target reached through symbolic links is rewritten where the links lead:
// the temporary file lies beside the real file and the links stay links.

#include <QByteArray>
#include <QList>
#include <QString>

#include <ctime>
#include <functional>
#include <utility>
#include <sys/types.h>

struct stat;

// What identifies a file's content as read: the same file (device, inode),
// its size and its modification time.
struct DateiStand {
    dev_t gerät = 0;
    ino_t inode = 0;
    qint64 größe = -1;
    qint64 geändertNs = 0;
    bool operator==(const DateiStand&) const = default;
};
DateiStand DateiStandVon(const struct stat& st);

// The reason given when a file changed while it was rewritten.
QString VerändertText();
// The reason given when another program holds a file open for writing.
QString InBenutzungText();
// The reason given when a file would be taken from its owner.
QString FremderBesitzerText();

// fsyncs a folder, so that a rename, a new or a removed name in it lasts.
void OrdnerSynchronisieren(const QString& ordner);

// rename(2) that never replaces an existing name: 0 or errno.
int UmbenennenOhneErsetzen(const QString& von, const QString& nach);

// The file a path finally names: symbolic links followed (relative ones from
// the link's folder); the path itself when it is no link.
QString SymlinkZielAuflösen(const QString& pfad);

// The path of a temporary file beside `ziel`: its name plus `suffix`, the
// name cut short (at a character's boundary) where both together would pass
// the file system's limit of 255 bytes.
QString TempNameBilden(const QString& ziel, const QString& suffix);

// Makes a temporary entry beside `ziel` with `anlegen` (which answers 0 or
// errno and must refuse an existing name with EEXIST) under the first free
// name of `suffix`, `suffix`1, `suffix`2, … (each cut to the name limit).
// 0 with `temp` set, or the errno.
int TempAnlegen(const QString& ziel, const QString& suffix, const std::function<int(const QString&)>& anlegen,
                QString& temp);

class SichereDatei {
public:
    // `linksFolgen` false: a link at `ziel` is itself replaced (a copy put
    // in a link's place), not the file it leads to.
    SichereDatei(const QString& ziel, const QString& tempSuffix, bool linksFolgen = true);
    ~SichereDatei();
    SichereDatei(const SichereDatei&) = delete;
    SichereDatei& operator=(const SichereDatei&) = delete;

    // The owner, group and bits the new file takes, when they are not the
    // target's own (a copy takes its source's). `besitzerNötig`: where the
    // owner cannot be kept, Öffnen fails (a move must not take the file from
    // its owner); otherwise the file is the process's own.
    void RechteVon(const struct stat& vorlage, bool besitzerNötig);
    // Access and modification times given to the new file (a copy's).
    void ZeitenVon(const struct stat& vorlage);
    // The extended attributes, the POSIX ACL among them, that the new file
    // takes are read from `fd` (a copy's source); a rewrite takes the
    // target's own. A rewrite that cannot set one back fails Öffnen; a copy
    // goes on without what its target cannot hold, and without the ACL its
    // group's bits are those of the ACL's group entry, never the mask.
    void AttributeVon(int fd) { m_attributQuelle = fd; }
    // Fertigstellen never replaces a file: an existing target fails it (EEXIST).
    void OhneErsetzen() { m_ersetzen = false; }
    // Run right before the rename; an errno other than 0 fails Fertigstellen
    // with it (a move checks that its source is still what was copied).
    void VorDemUmbenennen(std::function<int()> prüfung) { m_prüfung = std::move(prüfung); }

    // Creates the temporary file under a free name. False when it cannot be
    // created or cannot get its owner, group and bits.
    bool Öffnen();
    bool Schreiben(const char* daten, qint64 länge);
    bool Schreiben(const QByteArray& daten) { return Schreiben(daten.constData(), daten.size()); }
    // The target is replaced only when it is still as `stand` says (the
    // content was read from it); otherwise Fertigstellen fails with
    // VerändertText() and ESTALE. With `fd`, this process's open descriptor
    // of the target, also only while no other process holds it open for
    // writing; otherwise ZielFrei() and Fertigstellen fail with
    // InBenutzungText() and EAGAIN.
    void UnverändertVerlangen(const DateiStand& stand, int fd = -1);
    // False (with the failure set) when another process holds the target
    // open for writing: asked before anything is copied.
    bool ZielFrei();
    // Flush, fsync, the check above, rename. False (and the target untouched)
    // when any step fails.
    bool Fertigstellen();
    // Drops the temporary file; the target stays as it was.
    void Verwerfen();

    // The new file as written, once Fertigstellen succeeded: what a later
    // rewrite finds the file to be while nobody else changed it.
    DateiStand Geschrieben() const { return m_geschrieben; }

    QString TempName() const { return m_temp; }
    // The file that is replaced (links resolved).
    QString Ziel() const { return m_ziel; }
    QString Fehler() const { return m_fehler; }
    // The system's error number of the failure (0 when it had none).
    int FehlerNummer() const { return m_fehlerNummer; }
    // Whether the failure was the final rename over the target.
    bool UmbenennenFehlgeschlagen() const { return m_umbenennenFehlgeschlagen; }
    // Whether Öffnen failed since the owner could not be kept.
    bool FremderBesitzer() const { return m_fremderBesitzer; }

    // Tests: make the n-th write from now on fail (0 = none), or the rename.
    static void FehlerBeiSchreibvorgang(int n);
    static void FehlerBeimUmbenennen(bool an);
    // Tests: make the fsync before the rename fail (EIO).
    static void FehlerBeimSynchronisieren(bool an);
    // Tests: a function run where another program's change must not slip
    // through: before a write in place (its old bytes read), and once the
    // new content is complete, right before it is checked against the
    // original and takes its place; and where a kill may stop a write in
    // place, behind each of its writes, before the fsync. An empty function
    // clears it.
    enum class Schritt { VorDemSchreiben, VorDemAbschluss, MittenImSchreiben };
    static void TestHaken(std::function<void(Schritt)> haken);
    static void TestHakenAusführen(Schritt schritt);

private:
    QString m_ziel;
    QString m_suffix;
    QString m_temp;
    QString m_fehler;
    int m_fehlerNummer = 0;
    bool m_umbenennenFehlgeschlagen = false;
    bool m_fremderBesitzer = false;
    bool m_ersetzen = true;
    bool m_eigeneVorlage = false;
    bool m_besitzerNötig = true;
    bool m_zeiten = false;
    struct timespec m_zeitenWerte[2] = {};
    qint64 m_anzahl = 0;
    std::function<int()> m_prüfung;
    int m_fd = -1;
    // Whether m_temp is the file this object created (and may remove).
    bool m_angelegt = false;
    bool m_fertig = false;
    int m_original = -1;
    bool m_standPrüfen = false;
    DateiStand m_stand;
    DateiStand m_geschrieben;
    // The owner, group and bits to take (valid with m_eigeneVorlage).
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    mode_t m_modus = 0;
    int m_attributQuelle = -1;
    // The original's extended attributes as read (name, value), and its ACL.
    QList<std::pair<QByteArray, QByteArray>> m_attribute;
    QByteArray m_acl;
    QByteArray m_puffer;
    mode_t grundModus() const;
    bool rechteSetzen();
    bool attributeSetzen(struct stat& neu);
    bool aclSetzen(bool gruppeBehalten, mode_t soll);
    bool pufferLeeren();
    bool alleSchreiben(const char* p, qsizetype länge);
    void systemFehler();
};

// The one copy of a file: the regular file `quelle` read completely into a
// SichereDatei beside `ziel` ("-neu"), which takes the source's owner, group,
// bits, times, ACL and extended attributes as far as the process may set them, checks the size,
// fsyncs and puts it at `ziel`, replacing an existing file only with
// `ersetzen`. `verschieben`: for a move, which must not take another user's
// file, and whose copy takes its place only while the source is still what
// was copied and no other program writes it (else EAGAIN).
struct Kopiervorgang {
    int fehler = 0; // 0 or errno
    bool umbenennenFehler = false;
    bool fremderBesitzer = false;
    QString text;        // the failure's description
    DateiStand kopiert;  // the source as it was read
};
Kopiervorgang DateiKopieren(const QString& quelle, const QString& ziel, bool ersetzen, bool verschieben);

// Tests: a copy's write fails (ENOSPC) once this many bytes are written (-1 =
// never), as a full medium would; a function run right before each rename
// that must not replace a file (empty = none).
void DateiKopierenFehlerNachBytes(qint64 bytes);
void VorDemUmbenennenOhneErsetzen(std::function<void()> f);
