#pragma once
// What start-up needs from the window mode, which lives in its own library over this core: the
// main window, created before the start-up grid check (whose progress shows over it), then run
// until the user quits.

namespace zelvo {

class CZelvoApp;

class WindowMode {
public:
    virtual ~WindowMode() = default;
    // Creates the main window over the application's loaded catalogue and configuration.
    virtual void createMainWindow(CZelvoApp& app) = 0;
    // Shows the main window and returns when the user has quit (the pages' settings saved).
    virtual void runMainWindow() = 0;
};

}  // namespace zelvo
