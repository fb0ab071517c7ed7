#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "ui/qt/shell.h"

namespace {

bool haveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (!haveDisplay()) {
        std::fputs("vk41-demo: no display to show the windows on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the shell decides when the program ends
    vk41::qt::Shell shell;
    shell.start();
    return QApplication::exec();
}
