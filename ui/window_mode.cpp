#include "ui/window_mode.hpp"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/application.hpp"
#include "app/window_mode.hpp"
#include "platform/paths.hpp"
#include "resources/window_texts.hpp"
#include "ui/dialog_template.hpp"
#include "ui/main_dialog.hpp"
#include "ui/pictures.hpp"
#include "ui/window_user_interface.hpp"

namespace zelvo::ui {
namespace {

void explainConsoleUse() {
    std::fputs(texts::kNoDisplay, stderr);
    std::fflush(stderr);
}

// While the window system starts, a fatal message from Qt (no display reachable, no platform
// plugin that loads) ends the program with the explanation rather than with an abort.
bool startingWindowSystem = false;
QtMessageHandler defaultHandler = nullptr;

void startupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && startingWindowSystem) {
        explainConsoleUse();
        std::_Exit(1);
    }
    if (defaultHandler != nullptr) defaultHandler(type, context, message);
}

class QtWindowMode : public WindowMode {
public:
    explicit QtWindowMode(WindowUserInterface& ui) : ui_(ui) {}
    void createMainWindow(CZelvoApp& app) override {
        ui_.setProgressCaption(app.title);
        dialog_ = std::make_unique<CZelvoDlg>(app, ui_);
        ui_.setMainWindow(dialog_.get());
    }
    void runMainWindow() override { dialog_->exec(); }

private:
    WindowUserInterface& ui_;
    std::unique_ptr<CZelvoDlg> dialog_;
};

}  // namespace

bool installQtTranslations(const QLocale& locale) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

bool displayAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const auto value = environmentVariable(name);
        if (value && !value->empty()) return true;
    }
    return false;
}

int runWindowMode(CZelvoApp& app, const std::vector<std::string>& args, int& argc, char** argv) {
    if (!displayAvailable()) {
        explainConsoleUse();
        return 1;
    }
    defaultHandler = qInstallMessageHandler(startupMessageHandler);
    startingWindowSystem = true;
    QApplication application(argc, argv);
    startingWindowSystem = false;
    QApplication::setWindowIcon(programIcon());
    // A desktop that asks for a larger font gets the window laid out in it.
    setTemplateFontSize(QApplication::font().pointSizeF());
    QApplication::setFont(templateFont());
    installQtTranslations(QLocale());
    WindowUserInterface ui;
    QtWindowMode window(ui);
    return startup(app, args, ui, &window);
}

}  // namespace zelvo::ui
