// vk41-script [FILE]: drives the program's windows headless, in virtual time,
// with the commands of FILE or of standard input.
#include <QApplication>
#include <fstream>
#include <iostream>
#include <memory>

#include "tools/script_driver.h"
#include "ui/qt/snapshot.h"

namespace {

// Qt's chatter about the offscreen platform is no part of the driver's output;
// only real failures reach standard error.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "vk41-script: " << message.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: vk41-script [FILE]\n";
        return 2;
    }
    std::ifstream file;
    if (argc == 2) {
        file.open(argv[1]);
        if (!file) {
            std::cerr << "vk41-script: cannot read " << argv[1] << '\n';
            return 2;
        }
    }
    // Qt is started only when a snapshot needs it, on the offscreen platform.
    int qtArgc = 1;
    std::unique_ptr<QApplication> qt;
    auto snapshot = [&](vk41::Form& form, const std::string& path, double scale) {
        if (!qt) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            qInstallMessageHandler(quietMessages);
            qt = std::make_unique<QApplication>(qtArgc, argv);
        }
        return vk41::qt::saveSnapshot(form, path, scale);
    };
    vk41::ScriptDriver driver(std::cout, snapshot);
    return driver.run(argc == 2 ? static_cast<std::istream&>(file) : std::cin, std::cerr);
}
