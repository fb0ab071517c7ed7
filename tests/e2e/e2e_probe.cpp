// vk41-e2e-probe: what the end-to-end test needs from Qt on the test's own X
// display.
//   menu "A|B|C" I      centre of item I of a menu bar with those items,
//                       relative to the window's client origin, and the bar's
//                       height, in the screen's pixels (QT_SCALE_FACTOR counted)
//   grab FILE           the whole screen as a PNG
//   pixel FILE X Y      the colour at (X, Y) of a PNG, as #RRGGBB
//   ink FILE X Y W H    how many pixel columns of that rectangle hold other than white
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "menu") == 0) {
        QMainWindow window;
        const QStringList items = QString::fromUtf8(argv[2]).split('|');
        for (const QString& item : items) window.menuBar()->addAction(item);
        window.setCentralWidget(new QWidget);
        window.resize(900, 600);
        window.show();
        QApplication::processEvents();
        const int index = std::atoi(argv[3]);
        const QRect r = window.menuBar()->actionGeometry(window.menuBar()->actions().at(index));
        const double ratio = window.devicePixelRatio();
        std::printf("%d %d %d\n", qRound(r.center().x() * ratio), qRound(r.center().y() * ratio),
                    qRound(window.menuBar()->height() * ratio));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0)
        return QApplication::primaryScreen()->grabWindow(0).save(argv[2], "PNG") ? 0 : 1;
    if (argc == 5 && std::strcmp(argv[1], "pixel") == 0) {
        const QImage image(argv[2]);
        if (image.isNull()) return 1;
        const QColor c = image.pixelColor(std::atoi(argv[3]), std::atoi(argv[4]));
        std::printf("#%02X%02X%02X\n", c.red(), c.green(), c.blue());
        return 0;
    }
    if (argc == 7 && std::strcmp(argv[1], "ink") == 0) {
        const QImage image(argv[2]);
        if (image.isNull()) return 1;
        const QRect area(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                         std::atoi(argv[6]));
        int columns = 0;
        for (int x = area.left(); x <= area.right(); ++x) {
            bool ink = false;
            for (int y = area.top(); y <= area.bottom() && !ink; ++y)
                ink = (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            columns += ink;
        }
        std::printf("%d\n", columns);
        return 0;
    }
    std::fputs(
        "usage: vk41-e2e-probe menu ITEMS I | grab FILE | pixel FILE X Y | ink FILE X Y W H\n",
        stderr);
    return 2;
}
