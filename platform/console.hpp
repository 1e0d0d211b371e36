#pragma once
// The console of the batch mode: UTF-8 text on standard output, error boxes and progress as lines
// on standard error, and the final key wait, which happens only when standard input is a terminal.

#include "platform/user_interface.hpp"

namespace zelvo {

class ConsoleUserInterface : public UserInterface {
public:
    void message(const std::string& text, MessageIcon icon) override;
    bool question(const std::string& text, MessageIcon icon, bool yesIsDefault) override;
    void write(const std::string& text) override;
    // Progress is its status text, one '|' per step and a line break at the end, on standard
    // error so that standard output holds only results; a console run is never cancelled from
    // here.
    void progressBegin(const std::string& status, int steps) override;
    void progressStep() override;
    void progressEnd() override;
    bool cancelRequested() override { return false; }
};

// Sets the terminal title when standard output is a terminal; does nothing otherwise.
void setConsoleTitle(const std::string& title);
// True when standard input is a terminal, where a key can be waited for.
bool canWaitForKey();
// Reads one key without echo when standard input is a terminal; returns at once otherwise.
void waitForKey();

}  // namespace zelvo
