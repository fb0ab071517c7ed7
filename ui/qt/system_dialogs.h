#pragma once

#include <functional>

#include "ui/dialogs.h"

namespace vk41::qt {

// The dialogs a window asks with, as the system shows them: Qt's standard
// file dialogs and a message box. While one is open the program's time
// stands still (`pause` and `resume` around it), so no timer's handler runs
// inside the handler that asked.
class SystemDialogs : public Dialogs {
  public:
    SystemDialogs(std::function<void()> pause, std::function<void()> resume)
        : pause_(std::move(pause)), resume_(std::move(resume)) {}

    std::optional<std::string> openFile(const std::string& title,
                                        const std::string& filter) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& suggested) override;
    int ask(const std::string& title, const std::string& question,
            const std::vector<std::string>& answers) override;

  private:
    std::function<void()> pause_;
    std::function<void()> resume_;
};

}  // namespace vk41::qt
