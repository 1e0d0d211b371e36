#pragma once
// A transformation page of the main window, standard (type 1) or grid (type 2): the same page
// specialised only by the transformation it uses. It owns its place on the tab and works on its
// settings record, which the main window loaded and saves when the user quits.
//
// The page's lists, coordinate fields and modes are laid out on it from its template (378 × 290
// dialog units, controls named by id); computing belongs to them.

#include <QWidget>

#include "app/page_settings.hpp"
#include "ui/model/main_dialog_model.hpp"

namespace zelvo::ui {

class CZelvoPage : public QWidget {
    Q_OBJECT
public:
    CZelvoPage(Page page, PageSettings& settings, QWidget* parent);

    // 1 "Standard", 2 "Grille".
    int transformationType() const { return static_cast<int>(page_); }
    PageSettings& settings() { return settings_; }

    // The compute action of the main window when this page is on screen.
    void compute();

signals:
    // A compute was asked of this page.
    void computeRequested();

private:
    Page page_;
    PageSettings& settings_;
};

}  // namespace zelvo::ui
