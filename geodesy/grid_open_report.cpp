#include "geodesy/grid_open_report.hpp"

#include <fmt/printf.h>

#include "platform/user_interface.hpp"
#include "resources/grid_texts.hpp"

namespace zelvo {
namespace {

class ProgressOnUser : public GridOpenObserver {
public:
    explicit ProgressOnUser(UserInterface& ui) : ui_(ui) {}
    void binaryVersionBegun(const std::string& path, int steps) override {
        ui_.progressBegin(fmt::sprintf(texts::kBinaryCreationStatus, texts::kBinaryCreation, path), steps);
    }
    void binaryVersionStep() override { ui_.progressStep(); }
    void binaryVersionEnded() override { ui_.progressEnd(); }
    bool cancelRequested() override { return ui_.cancelRequested(); }

private:
    UserInterface& ui_;
};

}  // namespace

std::string unexpectedKeywordText(const std::string& found, const std::string& path) {
    return fmt::sprintf(texts::kUnexpectedKeyword, found, path);
}

GridOpenResult openGridFor(CGrille& grid, int mode, UserInterface* ui) {
    if (ui == nullptr) return grid.open(mode);
    ProgressOnUser progress(*ui);
    GridOpenResult result = grid.open(mode, &progress);
    // The grid still names the binary file whose header was read.
    if (result.foundKeyword)
        ui->message(unexpectedKeywordText(*result.foundKeyword, grid.header.NAME), MessageIcon::Error);
    return result;
}

}  // namespace zelvo
