#pragma once
// Another process that holds a file open as long as the object lives, as a
// running download (for writing) or a player (for reading) would; it closes
// the file and ends when the object dies. It is wholly a process of the real
// user (under NormalerBenutzer, of "nobody"), one that user may look into.

#include <QString>
#include <sys/types.h>

class FremderProzess {
public:
    // Herunterladen: appends a thousand bytes "d" every millisecond while
    // the object lives, as a running download does. Abbilden: maps the file
    // shared and writable and closes its descriptor, as a program writing
    // through a mapping may; AbbildenLesen the same for reading.
    // Überschreiben: opens it for writing anew, truncated (as a shell's ">").
    enum class Art {
        Lesen,
        Schreiben,
        Anhängen,
        LesenSchreiben,
        Herunterladen,
        Abbilden,
        AbbildenLesen,
        Überschreiben
    };
    // Sofort: returns at once, while the other process is still opening the
    // file; Gemeldet() tells when it has.
    enum class Start { Warten, Sofort };
    FremderProzess(const QString& pfad, Art art, Start start = Start::Warten);
    ~FremderProzess();
    FremderProzess(const FremderProzess&) = delete;
    FremderProzess& operator=(const FremderProzess&) = delete;

    // Whether the file is open in the other process (waits until it says).
    bool Offen();
    // Whether the other process has said yet whether it holds the file.
    bool Gemeldet();

private:
    void Antwort(bool warten);

    pid_t m_pid = -1;
    int m_halt = -1;
    bool m_gemeldet = false;
    bool m_offen = false;
};
