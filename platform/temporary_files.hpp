#pragma once
// The temporary files being written (an arrival file or a report under its temporary name, a
// grid's binary version), removed when the process is ended by SIGINT, SIGTERM or SIGHUP: an
// interrupted run leaves the previous files as they were and no debris beside them.

#include <string>

namespace zelvo {

// Notes a temporary file; returns its ticket for forgetTemporaryFile, or -1 when too many are
// noted at once (the file is then only left behind by a signal, as by SIGKILL).
int noteTemporaryFile(const std::string& path);
// Forgets a noted file once it was put in place or removed; -1 is ignored.
void forgetTemporaryFile(int ticket);

// Installs the handlers of SIGINT, SIGTERM and SIGHUP: they remove the noted files and end the
// process with exit code 128 + the signal's number.
void removeTemporaryFilesOnSignals();

}  // namespace zelvo
