#pragma once
// A transformation page of the main window, standard (type 1) or grid (type 2): the same page
// specialised only by the transformation it uses. It owns its place on the tab and works on its
// settings record, which the main window loaded and saves when the user quits.
//
// Its controls are laid out from the page's template (378 × 290 dialog units, each control named
// after its id); what they show, and what happens when the user acts on them, is decided by the
// page's model: the widgets only show its state and forward the user's events.

#include <QWidget>
#include <map>
#include <memory>

#include "app/page_settings.hpp"
#include "ui/model/main_dialog_model.hpp"
#include "ui/model/page_model.hpp"

namespace zelvo {
class CZelvoApp;
class UserInterface;
}  // namespace zelvo

namespace zelvo::ui {

class CZelvoPage : public QWidget {
    Q_OBJECT
public:
    CZelvoPage(Page page, PageSettings& settings, CZelvoApp& app, UserInterface& ui, QWidget* parent);
    ~CZelvoPage() override;

    // 1 "Standard", 2 "Grille".
    int transformationType() const { return static_cast<int>(page_); }
    PageSettings& settings() { return settings_; }
    const PageModel& model() const { return *model_; }
    // The dialogs the browse buttons and the file checks open (the window's own by default).
    void setFileDialogs(FileDialogs* dialogs);

    // The compute action of the main window when this page is on screen.
    void compute();

signals:
    // A compute was asked of this page.
    void computeRequested();

private:
    void createControls();
    void connectControls();
    // Copies the model's state into the widgets.
    void refresh();
    void entryChosen(int id, int index);
    void clicked(int id);

    Page page_;
    PageSettings& settings_;
    std::unique_ptr<PageServices> services_;
    std::unique_ptr<FileDialogs> windowDialogs_;
    std::unique_ptr<PageModel> model_;
    std::map<int, QWidget*> controls_;
    bool refreshing_ = false;
};

// The page of the standard transformations.
class CStandardPage : public CZelvoPage {
    Q_OBJECT
public:
    CStandardPage(PageSettings& settings, CZelvoApp& app, UserInterface& ui, QWidget* parent)
        : CZelvoPage(Page::Standard, settings, app, ui, parent) {}
};

// The page of the grid transformations.
class CGrillePage : public CZelvoPage {
    Q_OBJECT
public:
    CGrillePage(PageSettings& settings, CZelvoApp& app, UserInterface& ui, QWidget* parent)
        : CZelvoPage(Page::Grid, settings, app, ui, parent) {}
};

}  // namespace zelvo::ui
