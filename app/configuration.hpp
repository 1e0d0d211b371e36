#pragma once
// Where the configuration file programName + ".ini" is looked for.

#include <optional>
#include <string>
#include <vector>

namespace zelvo {

struct ConfigurationSearch {
    std::vector<std::string> candidates;  // in the order they are tried
    std::optional<std::string> found;     // the first candidate that exists
    // Where this user's settings are saved: "$XDG_CONFIG_HOME/Zelvo/<name>.ini" (default
    // ~/.config), or with ALLUSERSPROFILE the file found. Nothing when there is no such place.
    std::optional<std::string> userFile;
};

// With ALLUSERSPROFILE set: "<it>/Zelvo/<name>.ini", then "<it>/Application Data/Zelvo/<name>.ini".
// Without it: "$XDG_CONFIG_HOME/Zelvo/" (default ~/.config), each folder of $XDG_CONFIG_DIRS
// (default /etc/xdg) + "/Zelvo/", then the default data shipped with the program.
ConfigurationSearch locateConfiguration(const std::string& programName);

// The file the window mode saves its settings into, ready to be written: the user's own file,
// made on first save as a copy of the file found, so that a shared file (XDG_CONFIG_DIRS, the
// installed default) is never written. Nothing when there is no user's file or it cannot be made.
std::optional<std::string> settingsFileForSaving(const ConfigurationSearch& search);

// Folder of the default data shipped with the program: share/zelvo beside the executable's bin/.
std::string embeddedDataDirectory();

}  // namespace zelvo
