#pragma once
// What a transformation page asks of the rest of the program: the drivers that transform the
// typed point and the point files, the last single-point result they keep, the report request,
// and the file dialogs of the window. The page model works over these interfaces, so that it
// runs the same over the real application and over a test's script.

#include <optional>
#include <string>

#include "files/drivers.hpp"
#include "geodesy/coordinates.hpp"

namespace zelvo {

class CZelvoApp;

class PageServices {
public:
    virtual ~PageServices() = default;
    // True when arrival holds a result to show.
    virtual bool transformPoint(int transformationType, const CCoor& departure, CCoor& arrival) = 0;
    virtual FileRunOutcome transformFile(int transformationType, bool withConversion, const CCoor& departureTemplate,
                                         const CCoor& arrivalTemplate, const FileRunFiles& files) = 0;
    // The arrival point of the last successful single-point computation, shared by the pages.
    virtual CCoor& lastResult() = 0;
    virtual void setReportRequested(bool requested) = 0;
    // The folder a setting names, as a path ending in '/': a relative one is looked for as the
    // program looks for its data (working folder, configuration folder, default data); an empty
    // one is the working folder.
    virtual std::string folderPath(const std::string& folder) { return folder; }
};

// The services of the running application: its drivers, grids, log and last result.
class ApplicationServices : public PageServices {
public:
    explicit ApplicationServices(CZelvoApp& app) : app_(app) {}
    bool transformPoint(int transformationType, const CCoor& departure, CCoor& arrival) override;
    FileRunOutcome transformFile(int transformationType, bool withConversion, const CCoor& departureTemplate,
                                 const CCoor& arrivalTemplate, const FileRunFiles& files) override;
    CCoor& lastResult() override;
    void setReportRequested(bool requested) override;
    std::string folderPath(const std::string& folder) override;

private:
    CZelvoApp& app_;
};

// A file dialog as the page asks for it.
struct FileDialogRequest {
    enum class Kind {
        Open,  // an existing file
        Save,  // a file to write: an existing one is replaced only after the dialog's own question
    };
    Kind kind = Kind::Open;
    std::string defaultExtension;  // "*.txt", "*.prt;*.rpt"
    std::string fileName;          // the initial name
    std::string folder;            // the initial folder
    // The filter in pairs "label|patterns|", ended by an empty pair: "Texte (*.txt)|*.txt||".
    std::string filter;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The full path the user chose, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};

}  // namespace zelvo
