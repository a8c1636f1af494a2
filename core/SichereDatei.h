#pragma once
// Rewriting a file without ever losing it: everything goes to a temporary
// file in the same folder (the target's name plus a suffix such as "~" or
// "-neu"); every write is checked; on Fertigstellen() the data is flushed and
// fsynced, the target's permissions are copied and the temporary file is
// renamed over the target with rename(2). On any failure, or when the object
// dies unfinished, the temporary file is removed and the target is untouched.
// A target reached through symbolic links is rewritten where the links lead:
// the temporary file lies beside the real file and the links stay links.

#include <QByteArray>
#include <QString>

// The file a path finally names: symbolic links followed (relative ones from
// the link's folder); the path itself when it is no link.
QString SymlinkZielAuflösen(const QString& pfad);

// The path of a temporary file beside `ziel`: its name plus `suffix`, the
// name cut short (at a character's boundary) where both together would pass
// the file system's limit of 255 bytes.
QString TempNameBilden(const QString& ziel, const QString& suffix);

class SichereDatei {
public:
    SichereDatei(const QString& ziel, const QString& tempSuffix);
    ~SichereDatei();
    SichereDatei(const SichereDatei&) = delete;
    SichereDatei& operator=(const SichereDatei&) = delete;

    // Creates the temporary file (an old leftover of it, even a read-only
    // one, is replaced). False when it cannot be created.
    bool Öffnen();
    bool Schreiben(const char* daten, qint64 länge);
    bool Schreiben(const QByteArray& daten) { return Schreiben(daten.constData(), daten.size()); }
    // Flush, fsync, permissions, rename. False (and the target untouched)
    // when any step fails.
    bool Fertigstellen();
    // Drops the temporary file; the target stays as it was.
    void Verwerfen();

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

private:
    QString m_ziel;
    QString m_temp;
    QString m_fehler;
    int m_fehlerNummer = 0;
    bool m_umbenennenFehlgeschlagen = false;
    int m_fd = -1;
    bool m_fertig = false;
    QByteArray m_puffer;
    bool pufferLeeren();
    bool alleSchreiben(const char* p, qsizetype länge);
    void systemFehler();
};
