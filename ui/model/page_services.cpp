#include "ui/model/page_services.hpp"

#include "app/application.hpp"

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
    std::string path = app_.resolvePath(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

}  // namespace zelvo
