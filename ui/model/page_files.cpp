// The transformation page's file mode: the browse dialogs, the arrival name typed, and the checks
// that run before a file is transformed.

#include <fmt/printf.h>

#include <filesystem>

#include "files/data_formats.hpp"
#include "files/file_identity.hpp"
#include "platform/paths.hpp"
#include "platform/user_interface.hpp"
#include "resources/file_texts.hpp"
#include "resources/page_texts.hpp"
#include "ui/model/page_model.hpp"

namespace zelvo {
namespace {

bool existsAt(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

std::string PageModel::folderPath(const std::string& folder) const {
    return services_ != nullptr ? services_->folderPath(folder) : folder;
}

std::string PageModel::pathIn(const std::string& folder, const std::string& name) const {
    return isAbsolutePath(name) ? name : folderPath(folder) + name;
}

void PageModel::filesComment() {
    // The files the next run reads and writes, also while their names are being typed.
    const std::string departure =
        departurePath_.empty() ? pathIn(settings_.departureFolder, text(page::kDepartureFileName)) : departurePath_;
    comment_ = fmt::sprintf(texts::kFilesComment, departure, arrivalPath_);
}

bool PageModel::browse(FileDialogRequest::Kind kind, std::string& fileName, std::string& folder, std::string& path) {
    if (dialogs_ == nullptr) return false;
    const auto chosen =
        dialogs_->choose({kind, texts::kPointFileExtension, fileName, folderPath(folder), texts::kPointFileFilter});
    if (!chosen) return false;
    store();
    path = *chosen;
    const PathParts parts = splitPath(*chosen);
    fileName = parts.baseName + parts.extension;
    folder = parts.directory;
    filesComment();
    show();
    return true;
}

void PageModel::browseDeparture() {
    browse(FileDialogRequest::Kind::Open, settings_.departureFileName, settings_.departureFolder, departurePath_);
}

void PageModel::browseArrival() {
    browse(FileDialogRequest::Kind::Save, settings_.arrivalFileName, settings_.arrivalFolder, arrivalPath_);
    // A name chosen in the dialog is not a typed one: the dialog asked about replacing its file.
    arrivalNameTyped_ = false;
}

void PageModel::arrivalNameChanged(const std::string& text) {
    arrivalNameTyped_ = true;
    settings_.arrivalFileName = text;
    arrivalPath_ = pathIn(settings_.arrivalFolder, text);
}

bool PageModel::fileChecks() {
    // A file needs a name; its path is made from its folder and that name when none is known yet.
    const auto named = [this](const std::string& name, const std::string& folder, std::string& path,
                              const char* noName) {
        if (name.empty()) {
            ui_.message(noName, MessageIcon::None);
            path.clear();
            return false;
        }
        if (path.empty()) {
            path = pathIn(folder, name);
            filesComment();
        }
        return true;
    };
    if (!named(settings_.departureFileName, settings_.departureFolder, departurePath_, texts::kNoDepartureFileName) ||
        !named(settings_.arrivalFileName, settings_.arrivalFolder, arrivalPath_, texts::kNoArrivalFileName))
        return false;
    if (arrivalPath_ == lastArrivalPath_ && !ui_.question(texts::kSameArrivalFile, MessageIcon::Warning, true))
        return false;
    lastArrivalPath_ = arrivalPath_;
    if (sameFile(departurePath_, arrivalPath_)) {
        ui_.message(fmt::sprintf("%s !", texts::kSameFiles), MessageIcon::Error);
        return false;
    }
    show();
    if (storedOrZero(page::kDepartureFormats) == 0) {
        ui_.message(texts::kNoDepartureFormat, MessageIcon::None);
        return false;
    }
    if (storedOrZero(page::kArrivalFormats) == 0) {
        ui_.message(texts::kNoArrivalFormat, MessageIcon::None);
        return false;
    }
    if (arrivalNameTyped_ && existsAt(arrivalPath_) &&
        !ui_.question(arrivalPath_ + texts::kArrivalExists, MessageIcon::Warning, false)) {
        browseArrival();
        return false;
    }

    reportRequested_ = false;
    if (ui_.question(texts::kReportQuestion, MessageIcon::None, true) && dialogs_ != nullptr) {
        const auto chosen = dialogs_->choose({FileDialogRequest::Kind::Save, texts::kReportFileExtension,
                                              settings_.reportFileName, folderPath(settings_.reportFolder),
                                              texts::kReportFileFilter});
        if (chosen) {
            reportPath_ = *chosen;
            const PathParts parts = splitPath(*chosen);
            settings_.reportFolder = parts.directory;
            settings_.reportFileName = parts.baseName + parts.extension;
            reportRequested_ = true;
        }
    }
    if (services_ != nullptr) services_->setReportRequested(reportRequested_);
    if (reportRequested_ && (sameFile(reportPath_, departurePath_) || sameFile(reportPath_, arrivalPath_))) {
        ui_.message(fmt::sprintf(texts::kReportIsDataFile, reportPath_), MessageIcon::Error);
        return false;
    }
    return true;
}

}  // namespace zelvo
