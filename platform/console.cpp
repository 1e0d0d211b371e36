#include "platform/console.hpp"

#include <cerrno>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace zelvo {

void ConsoleUserInterface::message(const std::string& text, MessageIcon icon) {
    std::fflush(stdout);
    std::FILE* stream = icon == MessageIcon::Information ? stdout : stderr;
    std::fputs(text.c_str(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

bool ConsoleUserInterface::question(const std::string& text, MessageIcon, bool) {
    // The batch asks nothing; should a question arise, its text is shown and the answer is No,
    // so that an unattended run never waits.
    message(text, MessageIcon::Warning);
    return false;
}

void ConsoleUserInterface::write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

namespace {

// Progress goes to standard error, apart from the results on standard output.
void writeProgress(const char* text) {
    std::fflush(stdout);
    std::fputs(text, stderr);
    std::fflush(stderr);
}

}  // namespace

void ConsoleUserInterface::progressBegin(const std::string& status, int) { writeProgress(status.c_str()); }

void ConsoleUserInterface::progressStep() { writeProgress("|"); }

// The marks of a progress end their line.
void ConsoleUserInterface::progressEnd() { writeProgress("\n"); }

void setConsoleTitle(const std::string& title) {
    if (!isatty(STDOUT_FILENO)) return;
    std::printf("\033]0;%s\007", title.c_str());
    std::fflush(stdout);
}

bool canWaitForKey() { return isatty(STDIN_FILENO) != 0; }

void waitForKey() {
    if (!canWaitForKey()) return;
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    char key = 0;
    ssize_t got = 0;
    do {
        got = read(STDIN_FILENO, &key, 1);
    } while (got < 0 && errno == EINTR);
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace zelvo
