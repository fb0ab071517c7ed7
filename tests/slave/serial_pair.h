#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <utility>

extern char** environ;

namespace vk41::testing {

// A linked pair of serial lines made by socat; its two ends' names are read
// from what socat reports as it makes them.
class SerialPair {
  public:
    SerialPair() {
        int pipe[2];
        if (::pipe(pipe) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
        posix_spawn_file_actions_addclose(&actions, pipe[0]);
        char* argv[] = {const_cast<char*>("socat"),
                        const_cast<char*>("-d"),
                        const_cast<char*>("-d"),
                        const_cast<char*>("pty,raw,echo=0"),
                        const_cast<char*>("pty,raw,echo=0"),
                        nullptr};
        if (posix_spawnp(&pid_, "socat", &actions, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipe[1]);
        reportFd_ = pipe[0];
        std::string report;
        while (pid_ > 0 && ends_.second.empty()) {
            pollfd p{reportFd_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0) break;  // socat says nothing within 5 s
            char chunk[256];
            const ssize_t n = ::read(reportFd_, chunk, sizeof chunk);
            if (n <= 0) break;
            report.append(chunk, static_cast<std::size_t>(n));
            parse(report);
        }
    }
    ~SerialPair() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (reportFd_ >= 0) ::close(reportFd_);
    }
    bool ready() const { return !ends_.second.empty(); }
    const std::string& slaveEnd() const { return ends_.first; }
    const std::string& masterEnd() const { return ends_.second; }

  private:
    void parse(const std::string& report) {
        std::string* next = &ends_.first;
        for (std::size_t at = report.find("PTY is "); at != std::string::npos && next;
             at = report.find("PTY is ", at + 1)) {
            const std::size_t end = report.find('\n', at);
            if (end == std::string::npos) return;
            *next = report.substr(at + 7, end - at - 7);
            next = next == &ends_.first ? &ends_.second : nullptr;
        }
    }

    pid_t pid_{-1};
    int reportFd_{-1};
    std::pair<std::string, std::string> ends_;
};

}  // namespace vk41::testing
