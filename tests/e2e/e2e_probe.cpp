// vk41-e2e-probe: what the end-to-end test needs from Qt on the test's own X
// display.
//   menu "A|B|C" I      centre of item I of a menu bar with those items,
//                       relative to the window's client origin, and the bar's height
//   grab FILE           the whole screen as a PNG
//   pixel FILE X Y      the colour at (X, Y) of a PNG, as #RRGGBB
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
        std::printf("%d %d %d\n", r.center().x(), r.center().y(), window.menuBar()->height());
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
    std::fputs("usage: vk41-e2e-probe menu ITEMS I | grab FILE | pixel FILE X Y\n", stderr);
    return 2;
}
