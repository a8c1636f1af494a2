#pragma once
// Another process that holds a file open as long as the object lives, as a
// running download (for writing) or a player (for reading) would; it closes
// the file and ends when the object dies.

#include <QString>
#include <sys/types.h>

class FremderProzess {
public:
    enum class Art { Lesen, Schreiben, Anhängen, LesenSchreiben };
    // `benutzer` >= 0: the process first becomes that user (needs root), a
    // process of that user as any other it starts.
    FremderProzess(const QString& pfad, Art art, int benutzer = -1);
    ~FremderProzess();
    FremderProzess(const FremderProzess&) = delete;
    FremderProzess& operator=(const FremderProzess&) = delete;

    // Whether the file is open in the other process.
    bool Offen() const { return m_offen; }

private:
    pid_t m_pid = -1;
    int m_halt = -1;
    bool m_offen = false;
};

// Runs `f` in a child process that has become user `benutzer` (needs root)
// and gives back its answer: 0 false, 1 true, -1 when the child could not
// run it.
int AlsBenutzer(int benutzer, bool (*f)(const QString&), const QString& pfad);

// The user id of "nobody", or -1 when it is not there or this process is no
// root (and so cannot become it).
int NiemandsBenutzer();
