#include "platform/paths.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace zelvo {

std::string currentDirectory() {
    std::error_code ec;
    const auto path = std::filesystem::current_path(ec);
    return ec ? std::string() : path.string();
}

bool setCurrentDirectory(const std::string& path) {
    std::error_code ec;
    std::filesystem::current_path(path, ec);
    return !ec;
}

std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool isRegularFileWithin(const std::string& path, long long maxBytes) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return maxBytes < 0 || static_cast<long long>(info.st_size) <= maxBytes;
}

std::optional<std::string> followSymbolicLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return current.string();
        std::error_code ec;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) return std::nullopt;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return std::nullopt;
}

std::string executableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return currentDirectory();
    return exe.parent_path().string();
}

PathParts splitPath(const std::string& path) {
    PathParts parts;
    const auto slash = path.find_last_of('/');
    std::string file = path;
    if (slash != std::string::npos) {
        parts.directory = path.substr(0, slash + 1);
        file = path.substr(slash + 1);
    }
    const auto dot = file.find_last_of('.');
    if (dot != std::string::npos && dot != 0) {
        parts.baseName = file.substr(0, dot);
        parts.extension = file.substr(dot);
    } else {
        parts.baseName = file;
    }
    return parts;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool isAbsolutePath(const std::string& path) { return !path.empty() && path.front() == '/'; }

std::vector<std::string> projDataFolders() {
    std::vector<std::string> folders;
    const auto add = [&folders](std::string folder) {
        if (folder.empty()) return;
        if (folder.back() != '/') folder += '/';
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    };
    if (const auto list = environmentVariable("PROJ_DATA")) {
        std::size_t start = 0;
        while (start <= list->size()) {
            std::size_t end = list->find(':', start);
            if (end == std::string::npos) end = list->size();
            add(list->substr(start, end - start));
            start = end + 1;
        }
    }
    add("/usr/share/proj");
    return folders;
}

bool inProjDataFolder(const std::string& path) {
    const std::string folder = splitPath(path).directory;
    if (folder.empty()) return false;
    std::error_code ec;
    const auto canonical = std::filesystem::weakly_canonical(folder, ec);
    for (const std::string& candidate : projDataFolders()) {
        std::error_code other;
        if (!ec && canonical == std::filesystem::weakly_canonical(candidate, other) && !other) return true;
    }
    return false;
}

}  // namespace zelvo
