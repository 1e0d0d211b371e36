#pragma once
// The window-mode drivers: a whole point file into another (with a report on request), and the
// one point typed on the page. Both talk to the user through the context's UserInterface only.

#include <string>

#include "geodesy/coordinates.hpp"

namespace zelvo {

struct RunContext;

// The file paths and data formats of a file run.
struct FileRunFiles {
    int departureFormat = 0;
    std::string departurePath;
    int arrivalFormat = 0;
    std::string arrivalPath;
    std::string reportPath;  // read only when the context asks for a report
};

// How a file run ended: its files written, refused or failed (the reason shown), or interrupted
// by the user (the previous arrival file and report kept as they were, nothing said); with the
// points transformed.
struct FileRunOutcome {
    enum class End { Written, Failed, Interrupted };
    End end = End::Failed;
    int transformed = 0;
};

// Transforms every point of the departure file into the arrival file, with the arrival's
// linear alteration when withConversion is set; the summary or the reason of a failure is shown
// in a message. The templates give the systems, types and units of every point. The user may
// stop the run through the progress window.
FileRunOutcome transformFile(RunContext& context, int transformationType, bool withConversion, const CCoor& departureTemplate,
                   const CCoor& arrivalTemplate, const FileRunFiles& files);

// Transforms the departure point into arrival; the user is asked whether to go on when the point
// lies outside an extent. A result is copied to the context's last result and logged. True when
// arrival holds a result to show: false when the point lies outside the transformation grid, the
// chain failed or the user declined to go on.
bool transformPoint(RunContext& context, int transformationType, const CCoor& departure, CCoor& arrival);

}  // namespace zelvo
