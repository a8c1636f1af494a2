#pragma once
// Whether another program still writes a file (a download appending, a rip
// in progress): such a file must be neither replaced by a rewritten copy nor
// deleted after a copy, or what that program writes afterwards is lost.

// `fd` is this process's own open descriptor of the file, in any mode. True
// only when another process is seen holding the file open for writing; a
// reader (a player) is no reason. One write lease answers for every process
// when nobody else has the file open; only when it is refused are the open
// descriptors of the user's processes looked at (other users' processes
// cannot be looked into).
bool AndererProzessSchreibt(int fd);

// Tests: answer without the lease, as where it is refused.
void SchreibzugriffOhneLease(bool an);
