#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <modbus/modbus.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace vk41::testing {

// vk41-slave run as its own process, as a learner runs it.
class SlaveProcess {
  public:
    // Its standard output goes to `output`, or to /dev/null.
    explicit SlaveProcess(std::vector<std::string> args, int output = -1) {
        const char* path = std::getenv("VK41_SLAVE");
        args.insert(args.begin(), path ? path : "./vk41-slave");
        int err[2];
        if (::pipe(err) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        if (output >= 0)
            posix_spawn_file_actions_adddup2(&actions, output, 1);
        else
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(err[1]);
        stderr_ = err[0];
    }
    ~SlaveProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stderr_ >= 0) ::close(stderr_);
    }

    // What it has said on standard error until a line containing `until`
    // arrives, it ends, or `boundMs` pass.
    std::string readError(const std::string& until, int boundMs = 5000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
        while (said_.find(until) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd p{stderr_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char chunk[512];
            const ssize_t n = ::read(stderr_, chunk, sizeof chunk);
            ended_ = n == 0;
            if (n <= 0) break;
            said_.append(chunk, static_cast<std::size_t>(n));
        }
        return said_;
    }

    // The TCP port it reports listening on, or 0.
    int tcpPort() {
        const std::string said = readError("\n");
        const std::size_t colon = said.find("127.0.0.1:");
        return colon == std::string::npos ? 0 : std::atoi(said.c_str() + colon + 10);
    }

    // Waits for its end, for at most `boundMs`; its exit status, or -1. Its
    // end closes its standard error, so that is the event waited on; the
    // process is collected after it.
    int wait(int boundMs = 5000) {
        readError("\x01", boundMs);  // a text it never writes: reads up to its end
        if (!ended_) return -1;
        int status = 0;
        if (::waitpid(pid_, &status, 0) != pid_) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    void signal(int number) { ::kill(pid_, number); }

    // Resident memory in KiB.
    long residentKb() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string key;
        long value = 0;
        while (status >> key) {
            if (key == "VmRSS:") {
                status >> value;
                return value;
            }
        }
        return -1;
    }

  private:
    pid_t pid_{-1};
    int stderr_{-1};
    std::string said_;
    bool ended_{false};  // its standard error reached its end
};

// A libmodbus master connected over TCP to the slave's `port` on the
// loopback, speaking to unit 127.
using Master = std::unique_ptr<modbus_t, void (*)(modbus_t*)>;
inline Master connectTo(int port, int timeoutSeconds = 1) {
    Master m(modbus_new_tcp("127.0.0.1", port), [](modbus_t* c) {
        modbus_close(c);
        modbus_free(c);
    });
    modbus_set_slave(m.get(), 127);
    modbus_set_response_timeout(m.get(), static_cast<std::uint32_t>(timeoutSeconds), 0);
    EXPECT_EQ(modbus_connect(m.get()), 0) << modbus_strerror(errno);
    return m;
}

}  // namespace vk41::testing
