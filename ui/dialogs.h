#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vk41 {

// What a window asks the person at the screen: a file to open or to save
// to, or one of a few answers. The Qt shell asks with the system's dialogs;
// headless, the answers come from a queue that a script fills beforehand.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The file chosen; nothing when the person cancels. `filter` is written
    // as Qt writes it: "Программа блока условий (*.tsv)".
    virtual std::optional<std::string> openFile(const std::string& title,
                                                const std::string& filter) = 0;
    virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                                const std::string& suggested) = 0;
    // The index of the answer chosen among `answers` (their captions), or -1
    // when the dialog is closed without one.
    virtual int ask(const std::string& title, const std::string& question,
                    const std::vector<std::string>& answers) = 0;
};

// Answers given beforehand, taken in order: a file name for a file dialog
// (an empty text cancels it), an answer's caption for a question (an unknown
// caption closes it). With none left, every dialog is cancelled. Each
// dialog asked is told to `asked`, if set.
class QueuedDialogs : public Dialogs {
  public:
    void answer(std::string text) { answers_.push_back(std::move(text)); }
    std::size_t pending() const { return answers_.size(); }

    std::function<void(const std::string& what)> asked;

    std::optional<std::string> openFile(const std::string& title,
                                        const std::string& filter) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& suggested) override;
    int ask(const std::string& title, const std::string& question,
            const std::vector<std::string>& answers) override;

  private:
    std::optional<std::string> next();
    std::deque<std::string> answers_;
};

}  // namespace vk41
