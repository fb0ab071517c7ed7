// vk41-startup-probe bare|program: starts a bare Qt window or the program's
// first window, and exits as soon as it has been painted once. The startup
// benchmark times whole runs of it.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstring>

#include "ui/qt/shell.h"

namespace {

// Ends the run at the first paint of any top-level window.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            QTimer::singleShot(0, [] { QApplication::exit(0); });
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FirstPaint probe;
    application.installEventFilter(&probe);
    const bool program = argc > 1 && std::strcmp(argv[1], "program") == 0;
    QMainWindow bare;
    vk41::qt::Shell* shell = nullptr;
    if (program) {
        shell = new vk41::qt::Shell;
        shell->start();
    } else {
        bare.resize(921, 801);
        bare.show();
    }
    const int status = QApplication::exec();
    delete shell;
    return status;
}
