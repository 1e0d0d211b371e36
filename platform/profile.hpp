#pragma once
// Configuration ("ini") file access with the behaviour of the Windows profile functions the
// program was designed around: section and key names compared case-insensitively, a missing key
// read as the caller's default, values cut at the caller's buffer size, and writes that change
// only the line of the key, keeping the rest of the file, its comments and its layout.
//
// A file is read as UTF-8 when it is valid UTF-8, otherwise as Windows-1252, and written back in
// the encoding it was read in.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

enum class TextEncoding { Utf8, Windows1252 };

// The largest configuration file read: a larger one, like a pipe or a device, reads as absent.
inline constexpr long long kMaxProfileBytes = 1024 * 1024;

class ProfileFile {
public:
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // The key's value, or defaultValue when the section or the key is absent, cut to at most
    // bufferChars - 1 characters as a buffer of bufferChars characters holds them.
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                           std::size_t bufferChars) const;
    // The key's value read as a decimal integer, or defaultValue when the key is absent.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    // The "key=value" entries of a section in file order, as many as a buffer of bufferChars
    // characters holds (each entry counting one terminator, the list one more).
    std::vector<std::string> readSection(std::string_view section, std::size_t bufferChars) const;

    // Sets a key, creating the section, the key or the file as needed. False when the file
    // could not be written.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

    // Encoding the file was last read or written in (UTF-8 for a file that does not exist).
    TextEncoding encoding() const;

private:
    std::string path_;
};

}  // namespace zelvo
