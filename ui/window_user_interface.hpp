#pragma once
// The user interface of the window mode: message boxes with their icons, Yes/No questions with
// the default button each names, and the progress window over the main window for long work.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/user_interface.hpp"

namespace zelvo::ui {

class CProgressDlg;

class WindowUserInterface : public UserInterface {
public:
    WindowUserInterface();
    ~WindowUserInterface() override;

    // The window the boxes belong to and the progress windows disable while they are open.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    // Caption of the progress windows (the application's title); the product name when empty.
    void setProgressCaption(const std::string& caption) { progressCaption_ = caption; }

    void message(const std::string& text, MessageIcon icon) override;
    bool question(const std::string& text, MessageIcon icon, bool yesIsDefault) override;
    // The window mode has no console: such text goes to standard output, for a terminal that
    // started the program.
    void write(const std::string& text) override;
    void progressBegin(const std::string& status, int steps) override;
    void progressStep() override;
    void progressEnd() override;
    bool cancelRequested() override;

    // The progress window open at the moment, if any.
    CProgressDlg* progressWindow() const { return progress_.get(); }

private:
    QPointer<QWidget> mainWindow_;
    std::string progressCaption_;
    std::unique_ptr<CProgressDlg> progress_;
};

}  // namespace zelvo::ui
