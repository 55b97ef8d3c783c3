// SPDX-License-Identifier: MIT
// Saves the whole X screen as a PNG and prints the centre of the barcode it shows, as "x y",
// so that a script can double-click it. Built and run by qt-designer.sh beside it.
//   grab-screen FILE
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <cstdio>

namespace {

// Bars are runs of black taller than any text: the box around all runs of 30 rows or more.
QRect BarcodeBox(const QImage& screen) {
    constexpr int kBarRows = 30;
    QRect box;
    for (int x = 0; x < screen.width(); ++x) {
        int run = 0;
        for (int y = 0; y < screen.height(); ++y) {
            run = (screen.pixel(x, y) & 0xFFFFFF) == 0 ? run + 1 : 0;
            if (run == kBarRows) box |= QRect(x, y - kBarRows + 1, 1, kBarRows);
        }
    }
    return box;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: grab-screen FILE\n");
        return 2;
    }
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    if (!screen.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "grab-screen: cannot write %s\n", argv[1]);
        return 1;
    }
    const QRect box = BarcodeBox(screen);
    if (!box.isEmpty()) std::printf("%d %d\n", box.center().x(), box.center().y());
    return 0;
}
