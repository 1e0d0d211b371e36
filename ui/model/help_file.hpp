#pragma once
// The geodesic help: an HTML file named after the program ("zelvo.html"), looked for like the
// configured files (the working directory, then beside the configuration file), then in the
// default data shipped with the program.

#include <string>

namespace zelvo {

class CZelvoApp;

// The help file's path, or the empty text when there is none (nothing is then reported).
std::string helpFilePath(const CZelvoApp& app);

}  // namespace zelvo
