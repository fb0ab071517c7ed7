#include "ui/qt/system_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <utility>

#include "ui/qt/convert.h"

namespace vk41::qt {
namespace {

// Runs a modal dialog with the program's time standing still.
template <typename Run>
auto standingStill(const std::function<void()>& pause, const std::function<void()>& resume,
                   Run run) {
    pause();
    auto result = run();
    resume();
    return result;
}

std::optional<std::string> chosen(const QString& file) {
    if (file.isEmpty()) return std::nullopt;
    return QFile::encodeName(file).toStdString();
}

// The suffix a filter names ("*.tsv" in "… (*.tsv)"), with its dot.
QString suffixOf(const QString& filter) {
    const QRegularExpressionMatch m = QRegularExpression(R"(\*(\.\w+))").match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

std::optional<std::string> SystemDialogs::openFile(const std::string& title,
                                                   const std::string& filter) {
    return standingStill(pause_, resume_, [&] {
        return chosen(QFileDialog::getOpenFileName(QApplication::activeWindow(), toQString(title),
                                                   QString(), toQString(filter)));
    });
}

std::optional<std::string> SystemDialogs::saveFile(const std::string& title,
                                                   const std::string& filter,
                                                   const std::string& suggested) {
    return standingStill(pause_, resume_, [&]() -> std::optional<std::string> {
        QString file = QFileDialog::getSaveFileName(QApplication::activeWindow(), toQString(title),
                                                    toQString(suggested), toQString(filter));
        // A name typed without the filter's suffix gets it, as the filter promises.
        const QString suffix = suffixOf(toQString(filter));
        if (!file.isEmpty() && !suffix.isEmpty() && QFileInfo(file).suffix().isEmpty())
            file += suffix;
        return chosen(file);
    });
}

int SystemDialogs::ask(const std::string& title, const std::string& question,
                       const std::vector<std::string>& answers) {
    return standingStill(pause_, resume_, [&] {
        QMessageBox box(QMessageBox::Question, toQString(title), toQString(question),
                        QMessageBox::NoButton, QApplication::activeWindow());
        std::vector<QPushButton*> buttons;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            // The first answer is the one Enter gives; the last one Escape gives.
            const auto role = i == 0                    ? QMessageBox::AcceptRole
                              : i + 1 == answers.size() ? QMessageBox::RejectRole
                                                        : QMessageBox::DestructiveRole;
            buttons.push_back(box.addButton(toQString(answers[i]), role));
        }
        if (!buttons.empty()) {
            box.setDefaultButton(buttons.front());
            box.setEscapeButton(buttons.back());
        }
        box.exec();
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
        return -1;
    });
}

}  // namespace vk41::qt
