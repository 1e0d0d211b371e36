#include "app/configuration.hpp"

#include <filesystem>

#include "platform/paths.hpp"

namespace zelvo {

std::string embeddedDataDirectory() {
    std::filesystem::path exe(executableDirectory());
    return (exe.parent_path() / ZELVO_DATA_RELATIVE_DIR).lexically_normal().string();
}

ConfigurationSearch locateConfiguration(const std::string& programName) {
    ConfigurationSearch search;
    const std::string file = programName + ".ini";
    const auto profile = environmentVariable("ALLUSERSPROFILE");
    if (profile) {
        search.candidates.push_back(*profile + "/Zelvo/" + file);
        search.candidates.push_back(*profile + "/Application Data/Zelvo/" + file);
    } else {
        auto configHome = environmentVariable("XDG_CONFIG_HOME");
        if (!configHome || configHome->empty()) {
            if (const auto home = environmentVariable("HOME"); home && !home->empty()) configHome = *home + "/.config";
        }
        if (configHome && !configHome->empty()) {
            search.userFile = joinPath(*configHome, "Zelvo/" + file);
            search.candidates.push_back(*search.userFile);
        }
        auto configDirs = environmentVariable("XDG_CONFIG_DIRS");
        if (!configDirs || configDirs->empty()) configDirs = "/etc/xdg";
        for (std::size_t start = 0; start <= configDirs->size();) {
            const auto colon = configDirs->find(':', start);
            const auto end = colon == std::string::npos ? configDirs->size() : colon;
            const std::string dir = configDirs->substr(start, end - start);
            if (!dir.empty()) search.candidates.push_back(joinPath(dir, "Zelvo/" + file));
            start = end + 1;
        }
        search.candidates.push_back(joinPath(embeddedDataDirectory(), file));
    }
    for (const auto& candidate : search.candidates) {
        if (fileExists(candidate)) {
            search.found = candidate;
            break;
        }
    }
    // The Windows layout keeps one file for everything: the one found.
    if (profile) search.userFile = search.found;
    return search;
}

std::optional<std::string> settingsFileForSaving(const ConfigurationSearch& search) {
    if (!search.userFile) return std::nullopt;
    const std::string& user = *search.userFile;
    if (fileExists(user) || !search.found) return user;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(user).parent_path(), ec);
    if (!fs::copy_file(*search.found, user, ec) || ec) return std::nullopt;
    // The copy is the user's to write, whatever the mode of the shared file.
    fs::permissions(user, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    if (ec) {
        fs::remove(user, ec);
        return std::nullopt;
    }
    return user;
}

}  // namespace zelvo
