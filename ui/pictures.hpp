#pragma once
// The program's pictures, drawn for it (ui/icons/zelvo.svg, rendered to PNG sizes): the
// window icon and the picture of the presentation page and the about box.

#include <QIcon>
#include <QPixmap>

namespace zelvo::ui {

QIcon programIcon();
// The picture fitted into the given size, keeping its proportions.
QPixmap programPicture(const QSize& size);

}  // namespace zelvo::ui
