#pragma once
// Small grid files written by the tests, and a user interface that records what a grid shows.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "geodesy/grid_open_report.hpp"
#include "grids/grid.hpp"
#include "platform/user_interface.hpp"
#include "support/test_support.hpp"

namespace zelvo::test {

class RecordingUi : public UserInterface {
public:
    void message(const std::string& text, MessageIcon) override { messages.push_back(text); }
    bool question(const std::string&, MessageIcon, bool) override { return false; }
    void write(const std::string& text) override { written += text; }
    void progressBegin(const std::string& status, int) override {
        written += status;
        ++begun;
    }
    void progressStep() override {
        written += "|";
        ++steps;
    }
    void progressEnd() override { ++ended; }
    bool cancelRequested() override { return cancelAfter >= 0 && steps >= cancelAfter; }

    std::vector<std::string> messages;
    std::string written;
    int begun = 0;
    int steps = 0;
    int ended = 0;
    int cancelAfter = -1;  // ask to cancel once this many steps have been made
};

// The XML side file holding the given elements, in the given order.
inline std::string xmlSideFile(const std::vector<std::pair<std::string, std::string>>& elements) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<GRID_HEADER>\r\n";
    for (const auto& [name, value] : elements) xml += "\t<" + name + ">" + value + "</" + name + ">\r\n";
    return xml + "</GRID_HEADER>\r\n";
}

// Writes "<base>.mnt" (the header line, then the data) and, unless elements is empty,
// "<base>.xml"; returns the path of the grid file.
inline std::string writeTextGrid(const TempDir& dir, const std::string& base, const std::string& header,
                                 const std::string& data,
                                 const std::vector<std::pair<std::string, std::string>>& elements = {
                                     {"INTERPOLATION_TYPE", "BILINEAR"}}) {
    writeFile(dir.file(base + ".mnt"), header + "\r\n" + data);
    if (!elements.empty()) writeFile(dir.file(base + ".xml"), xmlSideFile(elements));
    return dir.file(base + ".mnt");
}

// The 3 × 2 grid of one value used throughout: 0, 1, 2 on the first line (y = 0), 10, 11, 12 on
// the second (y = 1), x from 0 to 2.
inline const std::string kSmallHeader = "0 2 0 1 1 1 4 0 1 0 0";
inline const std::string kSmallData = "0 1 2\r\n10 11 12\r\n";

// Opens a grid of the given kind in full, for ui when given; the message is returned through
// message, and how the open ended through condition when asked.
template <typename Grid = CGrille>
Grid openGrid(const std::string& path, std::string& message, int mode = 0, UserInterface* ui = nullptr,
              GridOpenCondition* condition = nullptr) {
    Grid grid;
    grid.header.NAME = path;
    const GridOpenResult result = openGridFor(grid, mode, ui);
    message = result.message;
    if (condition != nullptr) *condition = result.condition;
    return grid;
}

}  // namespace zelvo::test
