#include "platform/profile.hpp"

#include <SimpleIni.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/number_text.hpp"
#include "platform/paths.hpp"
#include "platform/text_encoding.hpp"

namespace zelvo {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct DecodedFile {
    bool exists = false;
    TextEncoding encoding = TextEncoding::Utf8;
    bool bom = false;
    std::string text;  // UTF-8, without the byte-order mark
};

DecodedFile readDecoded(const std::string& path) {
    DecodedFile file;
    // A pipe or a device may never end, and no configuration is that large: neither is read.
    if (!isRegularFileWithin(path, kMaxProfileBytes)) return file;
    std::ifstream in(path, std::ios::binary);
    if (!in) return file;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string raw = bytes.str();
    file.exists = true;
    if (raw.starts_with(kUtf8Bom)) {
        file.bom = true;
        raw.erase(0, kUtf8Bom.size());
    }
    if (isValidUtf8(raw)) {
        file.text = std::move(raw);
    } else {
        file.encoding = TextEncoding::Windows1252;
        file.text = cp1252ToUtf8(raw);
    }
    return file;
}

// SimpleIni, in its multi-key mode so that the first of two equal keys wins, as it does for
// the profile functions.
std::unique_ptr<CSimpleIniA> parse(const DecodedFile& file) {
    if (!file.exists) return nullptr;
    auto ini = std::make_unique<CSimpleIniA>(/*isUtf8=*/true, /*multiKey=*/true, /*multiLine=*/false);
    if (ini->LoadData(file.text.data(), file.text.size()) < 0) return nullptr;
    return ini;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// The profile functions return a value without one pair of enclosing double quotes.
std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
    return value;
}

bool isComment(std::string_view trimmed) { return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#'); }

// Section name of a "[name]" line, or nothing.
std::optional<std::string_view> sectionName(std::string_view trimmed) {
    if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(trimmed.substr(1, close - 1));
}

std::optional<std::string_view> keyName(std::string_view trimmed) {
    if (trimmed.empty() || isComment(trimmed) || trimmed.front() == '[') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return trim(trimmed.substr(0, eq));
}

bool writeAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

// Empties the file and writes it again where it is (a file with other names keeps them).
bool rewriteInPlace(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

// Writes the file under a temporary name beside it, then moves it into place, so that a
// failed write never leaves a half-written configuration file. The rules of the arrival files
// hold: a symbolic link is followed and stays; a file this user may not write is refused; the
// new file keeps the owner, group and mode of the one it replaces; a file with other hard links,
// or one in a folder that takes no new file, is written in place.
bool replaceFile(const std::string& path, const std::string& bytes) {
    const std::optional<std::string> target = followSymbolicLinks(path);
    if (!target) return false;
    struct stat existing {};
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists) {
        if (!S_ISREG(existing.st_mode)) return false;
        const int probe = ::open(target->c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (probe < 0) return false;
        ::close(probe);
        if (existing.st_nlink > 1) return rewriteInPlace(*target, bytes);
    }
    const std::string temporary = *target + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          exists ? (existing.st_mode & 07777) : 0666);
    if (fd < 0) {
        if (exists && (errno == EACCES || errno == EPERM || errno == EROFS)) return rewriteInPlace(*target, bytes);
        return false;
    }
    // A new file that cannot take the owner and group of the one it replaces gives way to the
    // writing in place, which keeps them.
    if (exists && (::fchown(fd, existing.st_uid, existing.st_gid) != 0 || ::fchmod(fd, existing.st_mode & 07777) != 0)) {
        ::close(fd);
        std::remove(temporary.c_str());
        return rewriteInPlace(*target, bytes);
    }
    const bool written = writeAll(fd, bytes);
    if (::close(fd) != 0 || !written || std::rename(temporary.c_str(), target->c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string ProfileFile::readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferChars) const {
    const std::size_t maxChars = bufferChars == 0 ? 0 : bufferChars - 1;
    const auto ini = parse(readDecoded(path_));
    const std::string sectionText(section);
    const std::string keyText(key);
    const char* value = ini ? ini->GetValue(sectionText.c_str(), keyText.c_str(), nullptr) : nullptr;
    if (value == nullptr) return utf8Prefix(defaultValue, maxChars);
    return utf8Prefix(unquote(value), maxChars);
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto ini = parse(readDecoded(path_));
    const std::string sectionText(section);
    const std::string keyText(key);
    const char* value = ini ? ini->GetValue(sectionText.c_str(), keyText.c_str(), nullptr) : nullptr;
    if (value == nullptr) return defaultValue;
    return leadingInt(unquote(value));
}

std::vector<std::string> ProfileFile::readSection(std::string_view section, std::size_t bufferChars) const {
    std::vector<std::string> entries;
    const auto ini = parse(readDecoded(path_));
    if (!ini) return entries;
    const std::string sectionText(section);
    CSimpleIniA::TNamesDepend keys;
    if (!ini->GetAllKeys(sectionText.c_str(), keys)) return entries;
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    std::size_t used = 1;  // the list's final terminator
    for (const auto& k : keys) {
        CSimpleIniA::TNamesDepend values;
        ini->GetAllValues(sectionText.c_str(), k.pItem, values);
        values.sort(CSimpleIniA::Entry::LoadOrder());
        for (const auto& v : values) {
            std::string entry = std::string(k.pItem) + "=" + v.pItem;
            const std::size_t chars = utf8Length(entry) + 1;
            if (used + chars > bufferChars) {
                if (bufferChars > used + 1) entries.push_back(utf8Prefix(entry, bufferChars - used - 1));
                return entries;
            }
            used += chars;
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

bool ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    DecodedFile file = readDecoded(path_);
    // Something there that could not be read (a pipe, a device, a file too large or unreadable)
    // is never replaced by a file holding only this key.
    struct stat there {};
    if (!file.exists && ::stat(path_.c_str(), &there) == 0) return false;
    const std::string& text = file.text;
    const std::string eol = (!file.exists || text.find("\r\n") != std::string::npos ||
                             text.find('\n') == std::string::npos)
                                ? "\r\n"
                                : "\n";

    // Lines with their end-of-line characters, so that untouched lines are written back as read.
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto nl = text.find('\n', start);
        const std::size_t end = nl == std::string::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    auto content = [](const std::string& line) {
        std::string_view v(line);
        while (!v.empty() && (v.back() == '\n' || v.back() == '\r')) v.remove_suffix(1);
        return v;
    };

    const std::string newLine = std::string(key) + "=" + std::string(value) + eol;
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> lastEntry;  // last non-blank line of the section
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        const auto trimmed = trim(content(lines[i]));
        if (const auto name = sectionName(trimmed)) {
            if (sectionLine) break;  // the next section: the key is not in ours
            if (equalsNoCase(*name, section)) {
                sectionLine = i;
                lastEntry = i;
            }
            continue;
        }
        if (!sectionLine) continue;
        if (!trimmed.empty()) lastEntry = i;
        if (const auto name = keyName(trimmed); name && equalsNoCase(*name, key)) {
            // Keep the key as spelled in the file, and the line's own end.
            const auto eqPos = lines[i].find('=');
            const std::string_view lineEnd(lines[i].data() + content(lines[i]).size(),
                                           lines[i].size() - content(lines[i]).size());
            lines[i] = lines[i].substr(0, eqPos + 1) + std::string(value) + std::string(lineEnd);
            done = true;
        }
    }
    if (!done) {
        if (sectionLine) {
            auto& previous = lines[*lastEntry];
            if (!previous.ends_with('\n')) previous += eol;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastEntry + 1), newLine);
        } else {
            if (!lines.empty() && !lines.back().ends_with('\n')) lines.back() += eol;
            lines.push_back("[" + std::string(section) + "]" + eol);
            lines.push_back(newLine);
        }
    }

    std::string updated;
    for (const auto& line : lines) updated += line;
    std::string bytes = file.bom ? std::string(kUtf8Bom) : std::string();
    bytes += file.encoding == TextEncoding::Utf8 ? updated : utf8ToCp1252(updated);
    return replaceFile(path_, bytes);
}

TextEncoding ProfileFile::encoding() const { return readDecoded(path_).encoding; }

}  // namespace zelvo
