#pragma once
// Whether two names lead to one file: the check that keeps a run from writing over what it reads
// (the departure file, the arrival file and the report), made before anything is opened for
// writing, by the batch, the window's file driver and the page alike.

#include <string>

namespace zelvo {

// True when both names reach the same file: the same device and inode when both exist (through
// symbolic links, hard links, relative or absolute names), the same normalised absolute path
// otherwise. Empty names reach no file.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace zelvo
