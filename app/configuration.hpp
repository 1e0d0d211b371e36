#pragma once
// Where the configuration file programName + ".ini" is looked for.

#include <optional>
#include <string>
#include <vector>

namespace zelvo {

struct ConfigurationSearch {
    std::vector<std::string> candidates;  // in the order they are tried
    std::optional<std::string> found;     // the first candidate that exists
};

// With ALLUSERSPROFILE set: "<it>/Zelvo/<name>.ini", then "<it>/Application Data/Zelvo/<name>.ini".
// Without it: "$XDG_CONFIG_HOME/Zelvo/" (default ~/.config), each folder of $XDG_CONFIG_DIRS
// (default /etc/xdg) + "/Zelvo/", then the default data shipped with the program.
ConfigurationSearch locateConfiguration(const std::string& programName);

// Folder of the default data shipped with the program: share/zelvo beside the executable's bin/.
std::string embeddedDataDirectory();

}  // namespace zelvo
