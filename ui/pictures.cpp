#include "ui/pictures.hpp"

namespace zelvo::ui {

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256}) icon.addFile(QStringLiteral(":/zelvo/icons/zelvo-%1.png").arg(size));
    return icon;
}

QPixmap programPicture(const QSize& size) {
    return QPixmap(QStringLiteral(":/zelvo/icons/zelvo-256.png"))
        .scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace zelvo::ui
