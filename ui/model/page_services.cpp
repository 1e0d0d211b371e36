#include "ui/model/page_services.hpp"

#include <filesystem>

#include "app/application.hpp"
#include "app/configuration.hpp"
#include "platform/paths.hpp"

namespace zelvo {

bool ApplicationServices::transformPoint(int transformationType, const CCoor& departure, CCoor& arrival) {
    return app_.transformPoint(transformationType, departure, arrival);
}

FileRunOutcome ApplicationServices::transformFile(int transformationType, bool withConversion,
                                                  const CCoor& departureTemplate, const CCoor& arrivalTemplate,
                                                  const FileRunFiles& files) {
    return app_.transformFile(transformationType, withConversion, departureTemplate, arrivalTemplate, files);
}

CCoor& ApplicationServices::lastResult() { return app_.lastResult; }

void ApplicationServices::setReportRequested(bool requested) { app_.reportRequested = requested ? 1 : 0; }

}  // namespace zelvo

namespace zelvo {

std::string ApplicationServices::folderPath(const std::string& folder) {
    const auto withSlash = [](std::string path) {
        if (!path.empty() && path.back() != '/') path += '/';
        return path;
    };
    if (folder.empty()) return withSlash(app_.workingDirectory);
    if (isAbsolutePath(folder)) return withSlash(folder);
    // Looked for as the configured files are: the working folder, the configuration's, the
    // default data.
    for (const std::string& candidate : {app_.workingDirectory + folder, app_.configurationDirectory() + folder,
                                         joinPath(embeddedDataDirectory(), folder)}) {
        std::error_code error;
        if (std::filesystem::is_directory(candidate, error)) return withSlash(candidate);
    }
    return withSlash(app_.workingDirectory + folder);
}

}  // namespace zelvo
