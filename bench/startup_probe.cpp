// vk41-startup-probe bare|program: starts a bare Qt window or the program's
// first window, and exits as soon as it has been painted once. The startup
// benchmark times whole runs of it.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstring>
#include <memory>

#include "app/windows.h"
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
    std::unique_ptr<vk41::Trainer> windows;
    std::unique_ptr<vk41::qt::Shell> shell;
    if (program) {
        windows = std::make_unique<vk41::Trainer>();
        shell = std::make_unique<vk41::qt::Shell>(windows->app);
        shell->start();
    } else {
        bare.resize(921, 801);
        bare.show();
    }
    const int status = QApplication::exec();
    shell.reset();
    return status;
}
