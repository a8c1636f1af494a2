#pragma once
// Whether another program still writes a file (a download appending, a rip
// in progress): such a file must be neither replaced by a rewritten copy nor
// deleted after a copy, or what that program writes afterwards is lost.

// `fd` is this process's own open descriptor of the file, in any mode. True
// only when another process is seen holding the file open for writing or
// mapped shared and writable (also after it closed its descriptor); a
// reader (a player) is no reason. One write lease answers for every process
// when nobody else has the file open; only when it is refused are the open
// descriptors and mappings of the user's processes looked at (other users'
// processes cannot be looked into). A batch asks thousands of times, so a
// look is kept: it answers for the files of the folders watched since before
// it, until another process moves a file in or out there (a file with a
// second name is looked at each time); a process that opened the file since
// is read again at each check of it, whatever it did since, and one still
// opening it (its descriptor comes a moment after the open shows) is waited
// for, up to a limit after which it counts as a writer. A new look reads
// again only the processes that ran since the last.
bool AndererProzessSchreibt(int fd);

// While it lives, no other process can open the file behind `fd`: a write
// lease, held only when nobody else has the file open and the process may
// take one (the file is its user's, or it is root). Another program's open
// then waits until the lease is given back, so nothing it writes can come
// between the writes made meanwhile.
class AlleinigerZugriff {
public:
    explicit AlleinigerZugriff(int fd);
    ~AlleinigerZugriff();
    AlleinigerZugriff(const AlleinigerZugriff&) = delete;
    AlleinigerZugriff& operator=(const AlleinigerZugriff&) = delete;
    bool Gehalten() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// Tests: answer without the lease, as where it is refused.
void SchreibzugriffOhneLease(bool an);
// Tests: how many opens of a file by another process the checks have been
// told of so far.
long long SchreibzugriffFremdeÖffnungen();
