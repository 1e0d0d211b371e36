#pragma once
// What the drivers need from whoever runs them: messages, yes/no questions, console text and
// progress. The console, the window mode and the tests each provide one.

#include <string>

namespace zelvo {

// The icon of a message; None is a plain message.
enum class MessageIcon { None, Error, Warning, Information };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A message box in window mode; in console mode a line on the console.
    virtual void message(const std::string& text, MessageIcon icon) = 0;
    // A Yes/No question with its icon and its default button; true for Yes.
    virtual bool question(const std::string& text, MessageIcon icon, bool yesIsDefault) = 0;
    // Text written to the console as it stands (no line break added).
    virtual void write(const std::string& text) = 0;

    // Progress of a long operation: a status text and a number of steps, then one call per step.
    virtual void progressBegin(const std::string& status, int steps) = 0;
    virtual void progressStep() = 0;
    virtual void progressEnd() = 0;
    // True when the user asked to stop the operation in progress.
    virtual bool cancelRequested() = 0;
};

}  // namespace zelvo
