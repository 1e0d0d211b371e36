#include "ui/dialog_template.hpp"

#include <QFontMetrics>
#include <algorithm>

#include "resources/string_table.hpp"

namespace zelvo::ui {

namespace {

constexpr double kTemplatePoints = 8;
double templatePoints = kTemplatePoints;

}  // namespace

QFont templateFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(templatePoints);
    return font;
}

void setTemplateFontSize(double points) { templatePoints = std::max(kTemplatePoints, points); }

DialogTemplate::DialogTemplate(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    base_ = {averageCharWidth(letters), metrics.height()};
}

QSize DialogTemplate::size(int width, int height) const {
    const PixelRect r = toPixels(base_, 0, 0, width, height);
    return {r.width, r.height};
}

void DialogTemplate::placeWidget(QWidget* widget, int id, int x, int y, int width, int height) const {
    const PixelRect r = toPixels(base_, x, y, width, height);
    widget->setGeometry(r.x, r.y, r.width, r.height);
    if (id != 0) widget->setObjectName(controlName(id));
}

void addToolTips(QWidget* window, std::initializer_list<int> ids) {
    for (int id : ids) {
        QWidget* control = window->findChild<QWidget*>(controlName(id));
        if (control != nullptr) control->setToolTip(qText(loadString(id)));
    }
}

QString controlName(int id) { return QStringLiteral("c%1").arg(id); }

}  // namespace zelvo::ui
