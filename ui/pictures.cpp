#include "ui/pictures.hpp"

namespace zelvo::ui {

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256}) icon.addFile(QStringLiteral(":/zelvo/%1x%1/apps/zelvo.png").arg(size));
    return icon;
}

QPixmap programPicture(const QSize& size) {
    return QPixmap(QStringLiteral(":/zelvo/256x256/apps/zelvo.png"))
        .scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace zelvo::ui
