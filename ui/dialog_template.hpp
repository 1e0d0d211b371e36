#pragma once
// Widgets laid out as the window templates give them: positions and sizes in dialog units of
// the template's font (Arial 8 points; Liberation Sans on Debian, with the same metrics), and
// each control named after its numeric id ("c1200") so that tests and tool tips find it.

#include <QFont>
#include <QSize>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ui/model/dialog_units.hpp"

namespace zelvo::ui {

// The font of the templates: Arial 8 points, or the size of the desktop's font when it is larger
// (setTemplateFontSize), the layouts growing with it.
QFont templateFont();
// The point size of the template font from now on: the given one, at least 8 points.
void setTemplateFontSize(double points);

class DialogTemplate {
public:
    explicit DialogTemplate(const QFont& font);

    QSize size(int width, int height) const;
    // Gives the widget its place and, for a control with an id, its name.
    template <typename Widget>
    Widget* place(Widget* widget, int id, int x, int y, int width, int height) const {
        placeWidget(widget, id, x, y, width, height);
        return widget;
    }

private:
    void placeWidget(QWidget* widget, int id, int x, int y, int width, int height) const;
    DialogBaseUnits base_;
};

// The object name of the control with this id.
QString controlName(int id);

// Gives each control of the window named by these ids the tool tip that the string table holds
// under its id.
void addToolTips(QWidget* window, std::initializer_list<int> ids);

// A text of the core (UTF-8) for Qt.
inline QString qText(const std::string& text) { return QString::fromStdString(text); }
inline QString qText(const char* text) { return QString::fromUtf8(text); }
inline QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zelvo::ui
