#include "ui/model/help_file.hpp"

#include "app/application.hpp"
#include "app/configuration.hpp"
#include "platform/paths.hpp"

namespace zelvo {

std::string helpFilePath(const CZelvoApp& app) {
    const std::string name = app.programName + ".html";
    const std::string configured = app.resolvePath(name);
    if (fileExists(configured)) return configured;
    const std::string shipped = joinPath(embeddedDataDirectory(), name);
    return fileExists(shipped) ? shipped : std::string();
}

}  // namespace zelvo
