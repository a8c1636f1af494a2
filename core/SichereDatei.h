#pragma once
// Rewriting a file without ever losing it: everything goes to a temporary
// file in the same folder (the target's name plus a suffix such as "~" or
// "-neu", or the first free numbered form of it), created exclusively with
// the target's owner and permission bits before its first byte (where the
// target's group cannot be kept, without the bits that would open it to
// anyone the original kept out); every write
// is checked; on Fertigstellen() the data is flushed and fsynced and the
// temporary file is renamed over the target with rename(2). On any failure,
// or when the object dies unfinished, the temporary file is removed and the
// target is untouched. A file that already has a temporary name (the user's
// own, a link, a killed run's leftover) is never removed or replaced. A
// target reached through symbolic links is rewritten where the links lead:
// the temporary file lies beside the real file and the links stay links.

#include <QByteArray>
#include <QString>

#include <functional>
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
    SichereDatei(const QString& ziel, const QString& tempSuffix);
    ~SichereDatei();
    SichereDatei(const SichereDatei&) = delete;
    SichereDatei& operator=(const SichereDatei&) = delete;

    // Creates the temporary file under a free name. False when it cannot be
    // created.
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
    int m_fd = -1;
    // Whether m_temp is the file this object created (and may remove).
    bool m_angelegt = false;
    bool m_fertig = false;
    int m_original = -1;
    bool m_standPrüfen = false;
    DateiStand m_stand;
    DateiStand m_geschrieben;
    QByteArray m_puffer;
    bool pufferLeeren();
    bool alleSchreiben(const char* p, qsizetype länge);
    void systemFehler();
};
