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
    if (const auto profile = environmentVariable("ALLUSERSPROFILE")) {
        search.candidates.push_back(*profile + "/Zelvo/" + file);
        search.candidates.push_back(*profile + "/Application Data/Zelvo/" + file);
    } else {
        auto configHome = environmentVariable("XDG_CONFIG_HOME");
        if (!configHome || configHome->empty()) {
            if (const auto home = environmentVariable("HOME"); home && !home->empty()) configHome = *home + "/.config";
        }
        if (configHome && !configHome->empty()) search.candidates.push_back(joinPath(*configHome, "Zelvo/" + file));
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
    return search;
}

}  // namespace zelvo
