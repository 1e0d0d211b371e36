// Writes a PNG picture of a window of the X display, given its id: the screenshots script uses
// it on the windows of the real program running under Xvfb.
//   window_capture WINDOW-ID FILE.png

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: window_capture WINDOW-ID FILE.png\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const WId id = static_cast<WId>(QByteArray(argv[1]).toULongLong(nullptr, 0));
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(id);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "window_capture: no picture of window %s\n", argv[1]);
        return 1;
    }
    return 0;
}
