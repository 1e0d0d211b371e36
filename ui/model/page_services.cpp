#include "ui/model/page_services.hpp"

#include "app/application.hpp"

namespace zelvo {

void ApplicationServices::transformPoint(int transformationType, const CCoor& departure, CCoor& arrival) {
    app_.transformPoint(transformationType, departure, arrival);
}

void ApplicationServices::transformFile(int transformationType, bool withConversion, const CCoor& departureTemplate,
                                        const CCoor& arrivalTemplate, const FileRunFiles& files) {
    app_.transformFile(transformationType, withConversion, departureTemplate, arrivalTemplate, files);
}

CCoor& ApplicationServices::lastResult() { return app_.lastResult; }

void ApplicationServices::setReportRequested(bool requested) { app_.reportRequested = requested ? 1 : 0; }

}  // namespace zelvo
