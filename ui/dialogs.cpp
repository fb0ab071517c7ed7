#include "ui/dialogs.h"

#include <algorithm>

namespace vk41 {

std::optional<std::string> QueuedDialogs::next() {
    if (answers_.empty()) return std::nullopt;
    std::string text = std::move(answers_.front());
    answers_.pop_front();
    return text;
}

std::optional<std::string> QueuedDialogs::openFile(const std::string& title, const std::string&) {
    if (asked) asked(title);
    std::optional<std::string> file = next();
    if (file && file->empty()) return std::nullopt;
    return file;
}

std::optional<std::string> QueuedDialogs::saveFile(const std::string& title, const std::string&,
                                                   const std::string&) {
    if (asked) asked(title);
    std::optional<std::string> file = next();
    if (file && file->empty()) return std::nullopt;
    return file;
}

int QueuedDialogs::ask(const std::string& title, const std::string& question,
                       const std::vector<std::string>& answers) {
    if (asked) asked(title + ": " + question);
    const std::optional<std::string> given = next();
    if (!given) return -1;
    const auto it = std::find(answers.begin(), answers.end(), *given);
    return it == answers.end() ? -1 : static_cast<int>(it - answers.begin());
}

}  // namespace vk41
