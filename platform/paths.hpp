#pragma once
// Process environment: current directory, environment variables, file tests and path splitting.

#include <optional>
#include <string>
#include <vector>

namespace zelvo {

// The process's current directory, without a trailing separator; empty when it cannot be read.
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);

std::optional<std::string> environmentVariable(const char* name);

// True when something that is not a directory exists at path.
bool fileExists(const std::string& path);

// True when path names a regular file (through links) of at most maxBytes bytes (any size when
// negative): a file that can be read as a whole input, unlike a pipe or a device, which may never
// end, or a folder.
bool isRegularFileWithin(const std::string& path, long long maxBytes = -1);

// The file a chain of symbolic links leads to (the path itself when it is no link); nothing when
// the chain loops or cannot be read.
std::optional<std::string> followSymbolicLinks(const std::string& path);

// Folder of the running executable, without a trailing separator.
std::string executableDirectory();

struct PathParts {
    std::string directory;  // with its trailing separator, empty when the path has none
    std::string baseName;   // no directory, no extension
    std::string extension;  // with its dot, empty when there is none
};
PathParts splitPath(const std::string& path);

// Joins a folder and a relative name with exactly one separator between them.
std::string joinPath(const std::string& folder, const std::string& name);

bool isAbsolutePath(const std::string& path);

// The folders where PROJ keeps its grids, in the order PROJ searches them: each folder of
// PROJ_DATA (separated by ':'), then Debian's /usr/share/proj. Each ends with '/'.
std::vector<std::string> projDataFolders();
// Whether path names a file directly inside one of projDataFolders().
bool inProjDataFolder(const std::string& path);

}  // namespace zelvo
