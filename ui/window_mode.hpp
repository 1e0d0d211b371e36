#pragma once
// The program started without arguments: the window mode, when a display can be used.

#include <string>
#include <vector>

namespace zelvo {
class CZelvoApp;
}

class QLocale;

namespace zelvo::ui {

// Qt's own texts (the buttons of message boxes, the file dialogs, the edits' context menus) in the
// language of the locale, from the system's Qt translations; the program's own texts are French
// in any case. True when a translation was installed (none is needed for English).
bool installQtTranslations(const QLocale& locale);

// True when a window can be opened: a display is named (DISPLAY or WAYLAND_DISPLAY), or a Qt
// platform is chosen explicitly (QT_QPA_PLATFORM, such as "offscreen").
bool displayAvailable();

// Start-up in window mode: the main window over the loaded catalogue, the start-up grid check
// with its progress window, then the main window until the user quits. Without a display, or
// when the window system cannot be started, says how to use the console batch instead and
// returns 1. Returns the process exit code.
int runWindowMode(CZelvoApp& app, const std::vector<std::string>& args, int& argc, char** argv);

}  // namespace zelvo::ui
