// The slave over Modbus RTU at 19200 baud on a pseudo-terminal pair, polled
// by libmodbus on the other end.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

#include "bus_fixture.h"

extern char** environ;

namespace vk41 {
namespace {

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

class Rtu : public testing::BusTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(line.ready()) << "socat made no serial pair";
        const QString error = service.openRtu(QString::fromStdString(line.slaveEnd()), {});
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }

    Master rtuMaster(int unit) {
        Master m(modbus_new_rtu(line.masterEnd().c_str(), 19200, 'N', 8, 1), [](modbus_t* c) {
            modbus_close(c);
            modbus_free(c);
        });
        modbus_set_slave(m.get(), unit);
        modbus_set_response_timeout(m.get(), 0, 500000);
        EXPECT_EQ(modbus_connect(m.get()), 0);
        return m;
    }

    SerialPair line;
};

TEST_F(Rtu, AnswersItsAddressWithCorrectFraming) {
    window("ModB_Frm").control("Status_Lab").setCaption("3");
    window("Objectt").control("Itog").setCaption("36");
    Master master = rtuMaster(127);
    std::uint8_t flags[16] = {};
    const auto [n, error] = onBus([&] {
        const int r = modbus_read_bits(master.get(), 32, 16, flags);
        return std::pair(r, errno);
    });
    ASSERT_EQ(n, 16) << modbus_strerror(error);
    for (int k = 1; k <= 16; ++k) EXPECT_EQ(flags[k - 1], k == 8 || k == 11) << "flag " << k;
    std::uint16_t counter[2] = {};
    EXPECT_EQ(onBus([&] { return modbus_read_registers(master.get(), 42222, 2, counter); }), 2);
    EXPECT_EQ(counter[0], 36 << 8);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("RTU 7F 01 00 20 00 10"), std::string::npos) << log[0];
}

TEST_F(Rtu, AWrongAddressIsAnsweredBySilence) {
    Master master = rtuMaster(5);
    std::uint8_t flags[8];
    const auto [n, error] = onBus([&] {
        const int r = modbus_read_bits(master.get(), 32, 8, flags);
        return std::pair(r, errno);
    });
    EXPECT_EQ(n, -1);
    EXPECT_EQ(error, ETIMEDOUT);
    EXPECT_TRUE(log.empty());
}

TEST_F(Rtu, ABroadcastRestartTakesEffectWithoutAnAnswer) {
    Form& scheme = window("Objectt");
    scheme.click(scheme.control("Radix", 2));
    scheme.click(scheme.control("Vis", 0));
    driver.scheduler().advanceBy(60000);
    ASSERT_NE(scheme.control("Itog").caption(), "0");
    Master master = rtuMaster(0);
    onBus([&] { return modbus_write_register(master.get(), 60000, 0xAA55); });
    // The restart lands when the slave has read the frame; wait for it.
    QElapsedTimer waited;
    waited.start();
    while (scheme.control("Itog").caption() != "0" && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(scheme.control("Itog").caption(), "0");
    // Nothing came back on the line.
    Master listener = rtuMaster(127);
    std::uint8_t stray[16];
    modbus_set_response_timeout(listener.get(), 0, 200000);
    EXPECT_EQ(onBus([&] { return modbus_receive_confirmation(listener.get(), stray); }), -1);
}

TEST_F(Rtu, AFrameWithABadCrcIsDropped) {
    const int fd = ::open(line.masterEnd().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::cfsetspeed(&t, B19200);
    ::tcsetattr(fd, TCSANOW, &t);
    const std::uint8_t bad[] = {127, 1, 0, 32, 0, 8, 0x00, 0x00};  // the CRC is 0x5B 0x12... not 0
    ASSERT_EQ(::write(fd, bad, sizeof bad), static_cast<ssize_t>(sizeof bad));
    const auto got = onBus([&] {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 400);
    });
    EXPECT_EQ(got, 0) << "a frame with a bad CRC got an answer";
    EXPECT_TRUE(log.empty());
    ::close(fd);
}

}  // namespace
}  // namespace vk41
