#include "ui/transformation_page.hpp"

#include "ui/dialog_template.hpp"

namespace zelvo::ui {

CZelvoPage::CZelvoPage(Page page, PageSettings& settings, QWidget* parent)
    : QWidget(parent), page_(page), settings_(settings) {
    setFont(templateFont());
}

void CZelvoPage::compute() { emit computeRequested(); }

}  // namespace zelvo::ui
