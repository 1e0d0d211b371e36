#pragma once
// The main window of the window mode: the tabs of the presentation page and of the existing
// transformation pages, "C&alculer" routed to the page on screen, "&Quitter" (and Escape, and
// the close box) saving every page's settings, the geodesic help and the about box. What it
// does is decided by its MainDialogModel; the window shows it and forwards the user's actions.

#include <QDialog>
#include <QUrl>
#include <functional>
#include <memory>

#include "ui/model/main_dialog_model.hpp"

class QPushButton;
class QTabWidget;

namespace zelvo {
class CZelvoApp;
class UserInterface;
}  // namespace zelvo

namespace zelvo::ui {

class CAboutPage;
class CZelvoPage;

class CZelvoDlg : public QDialog {
    Q_OBJECT
public:
    // The settings of the pages are read from the application's configuration file.
    CZelvoDlg(CZelvoApp& app, UserInterface& ui, QWidget* parent = nullptr);
    ~CZelvoDlg() override;

    const MainDialogModel& model() const { return model_; }
    // The page's window, or nullptr for a transformation page that does not exist.
    QWidget* pageWindow(Page page) const;
    CZelvoPage* transformationPage(Page page) const;

public slots:
    // The compute action: the page on screen computes; the presentation page refuses.
    void compute();
    // The quit action: saves the pages' settings (a failure warned once), releases the
    // application's grids and closes.
    void reject() override;
    void accept() override { compute(); }
    // The about box, modal.
    void showAbout();
    // The geodesic help in the desktop's browser; without a browser that opens it, a message names
    // the help file for the user to open. Nothing is said when there is no help file.
    void showHelp();

public:
    // Opens a file in the desktop's browser, true when one did (QDesktopServices by default).
    using UrlOpener = std::function<bool(const QUrl&)>;
    void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

private:
    void showTab(int index);

    CZelvoApp& app_;
    UserInterface& ui_;
    MainDialogModel model_;
    QTabWidget* tabs_;
    QPushButton* computeButton_;
    CAboutPage* presentation_;
    CZelvoPage* standard_ = nullptr;
    CZelvoPage* grid_ = nullptr;
    bool closing_ = false;
    UrlOpener openUrl_;
};

}  // namespace zelvo::ui
