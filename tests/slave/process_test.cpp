// vk41-slave as a learner runs it: its own process, its command line, a
// master on the other end of a loopback socket.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <modbus/modbus.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include "modbus/controller_image.h"
#include "slave_process.h"

namespace vk41 {
namespace {

using testing::SlaveProcess;
using Clock = std::chrono::steady_clock;
using testing::connectTo;
using testing::Master;

int rawConnect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Asks the slave again as soon as each answer is in, until `holds` is true of
// the answer or `boundMs` pass: every round waits on the slave's answer, never
// on a clock. A request that gets no answer ends the wait.
template <typename Ask, typename Holds>
bool until(Ask ask, Holds holds, int boundMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
    while (Clock::now() < end) {
        const auto answer = ask();
        if (!answer) return false;
        if (holds(*answer)) return true;
    }
    return false;
}

// A hundred times as fast, the demonstration reaches the accident in about
// two seconds, so the master asks for a short while.
TEST(SlaveProgram, PlaysTheDemonstrationFastAndObeysTheRestartRegister) {
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--speed", "100", "--quiet"});
    const int port = slave.tcpPort();
    ASSERT_GT(port, 0) << slave.readError("");
    Master master = connectTo(port);
    const auto counter = [&]() -> std::optional<int> {
        std::uint16_t r[2] = {};
        if (modbus_read_registers(master.get(), 42222, 2, r) != 2) return std::nullopt;
        return r[0] >> 8 | (r[0] & 0xFF) << 8;  // the low byte comes first
    };
    const auto accident = [&]() -> std::optional<bool> {
        std::uint8_t flags[16] = {};
        if (modbus_read_bits(master.get(), 32, 16, flags) != 16) return std::nullopt;
        return flags[7] == 1 && flags[10] == 1 && flags[0] == 0;
    };
    const auto atLeast = [](int n) { return [n](int count) { return count >= n; }; };
    const auto is = [](bool wanted) { return [wanted](bool now) { return now == wanted; }; };
    EXPECT_TRUE(until(counter, atLeast(5), 20000)) << "the counter does not rise";
    const int early = counter().value_or(-1);
    EXPECT_TRUE(until(accident, is(true), 30000)) << "no accident's flags 8 and 11";
    EXPECT_GE(counter().value_or(-1), 36);
    EXPECT_GT(counter().value_or(-1), early);
    ASSERT_EQ(modbus_write_register(master.get(), 60000, 0xAA55), 1);
    EXPECT_LT(counter().value_or(36), 36);
    // The restarted controller's first cycle clears the accident's flags.
    EXPECT_TRUE(until(accident, is(false), 5000)) << "the accident's flags stay";
    // The slave pressed RUN again: the plant runs on.
    EXPECT_TRUE(until(counter, atLeast(1), 20000)) << "the counter does not rise again";
}

// The condition flags 1-32 of an answer, flag 1 the lowest bit.
std::uint32_t flagWord(const std::uint8_t (&flags)[32]) {
    std::uint32_t word = 0;
    for (int k = 0; k < 32; ++k) word |= static_cast<std::uint32_t>(flags[k] & 1) << k;
    return word;
}

// Whether the flags are those of one of the plant's situations, the only ones
// the demonstration raises.
bool aSituationsFlags(std::uint32_t flags) {
    for (int status = 0; status <= 4; ++status)
        if (flags == flagsOfStatus(status)) return true;
    return false;
}

TEST(SlaveProgram, KeepsAnsweringThroughGarbageHalfOpenConnectionsAndAFlood) {
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--quiet"});
    const int port = slave.tcpPort();
    ASSERT_GT(port, 0);
    // 10,000 random frames, reconnecting whenever the slave closes the line.
    std::mt19937 random(41);
    int garbage = rawConnect(port);
    for (int i = 0; i < 10000; ++i) {
        std::uint8_t frame[16];
        for (auto& b : frame) b = static_cast<std::uint8_t>(random());
        frame[2] = frame[3] = 0;  // mostly Modbus, so that the PDUs are read
        frame[4] = 0;
        frame[5] = static_cast<std::uint8_t>(random() % 12);
        if (::send(garbage, frame, sizeof frame, MSG_NOSIGNAL) < 0) {
            ::close(garbage);
            garbage = rawConnect(port);
        }
    }
    // Half-open masters: half a header, then silence.
    std::vector<int> halfOpen;
    for (int i = 0; i < 8; ++i) {
        halfOpen.push_back(rawConnect(port));
        const std::uint8_t half[] = {0, 1, 0};
        ::send(halfOpen.back(), half, sizeof half, MSG_NOSIGNAL);
    }
    // A flood from one master that never reads its answers. How fast the
    // other master is answered meanwhile is a figure of vk41-bus-bench.
    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        const int fd = rawConnect(port);
        const std::uint8_t request[] = {0, 1, 0, 0, 0, 6, 127, 1, 0, 32, 0, 32};
        while (flooding && ::send(fd, request, sizeof request, MSG_NOSIGNAL) > 0) {
        }
        ::close(fd);
    });
    Master other = connectTo(port);
    for (int i = 0; i < 20; ++i) {
        std::uint8_t flags[32] = {};
        ASSERT_EQ(modbus_read_bits(other.get(), 32, 32, flags), 32)
            << "request " << i << ": " << modbus_strerror(errno);
        EXPECT_TRUE(aSituationsFlags(flagWord(flags)))
            << "request " << i << " answered the flags " << std::hex << flagWord(flags);
    }
    flooding = false;
    flood.join();
    for (int fd : halfOpen) ::close(fd);
    ::close(garbage);
}

TEST(SlaveProgram, MemoryStaysFlatOverAHundredThousandRequests) {
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--quiet"});
    const int port = slave.tcpPort();
    ASSERT_GT(port, 0);
    Master master = connectTo(port);
    std::uint8_t bits[64];
    std::uint16_t words[12];
    const auto requests = [&](int n) {
        for (int i = 0; i < n; ++i) {
            switch (i % 3) {
                case 0:
                    ASSERT_EQ(modbus_read_bits(master.get(), 0, 64, bits), 64);
                    break;
                case 1:
                    ASSERT_EQ(modbus_read_registers(master.get(), 42222, 12, words), 12);
                    break;
                default:
                    ASSERT_EQ(modbus_read_input_bits(master.get(), 10000, 32, bits), 32);
            }
        }
    };
    requests(10000);
    const long before = slave.residentKb();
    requests(100000);
    const long after = slave.residentKb();
#if defined(__SANITIZE_ADDRESS__)
    (void)before, (void)after;  // the sanitizer keeps freed memory aside: nothing to measure
#else
    EXPECT_LT(after - before, 1024) << before << " KiB, then " << after << " KiB";
#endif
}

struct BadCommandLine {
    const char* name;
    std::vector<std::string> args;
    const char* says;
};

class BadOptions : public ::testing::TestWithParam<BadCommandLine> {};

TEST_P(BadOptions, EndWithOneLineAndStatusTwo) {
    SlaveProcess slave(GetParam().args);
    EXPECT_EQ(slave.wait(), 2);
    const std::string said = slave.readError("");
    EXPECT_NE(said.find(GetParam().says), std::string::npos) << said;
    EXPECT_EQ(said.find("vk41-slave: "), 0u) << said;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Slave, BadOptions, ::testing::Values(
    BadCommandLine{"UnknownFlag",    {"--fast"},                          "unknown option --fast"},
    BadCommandLine{"MissingValue",   {"--tcp"},                           "--tcp needs a value"},
    BadCommandLine{"BadParity",      {"--rtu", "/dev/null", "--parity", "X"}, "bad value for --parity"},
    BadCommandLine{"BadPort",        {"--tcp", "127.0.0.1:99999"},        "bad --tcp"},
    BadCommandLine{"NoSuchDevice",   {"--rtu", "/dev/vk41-no-such-line"}, "RTU /dev/vk41-no-such-line"}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(SlaveProgram, APortInUseIsAClearError) {
    SlaveProcess first({"--tcp", "127.0.0.1:0", "--quiet"});
    const int port = first.tcpPort();
    ASSERT_GT(port, 0);
    SlaveProcess second({"--tcp", "127.0.0.1:" + std::to_string(port), "--quiet"});
    EXPECT_EQ(second.wait(), 2);
    EXPECT_NE(second.readError("").find("TCP 127.0.0.1:" + std::to_string(port)),
              std::string::npos);
}

// The capture holds every exchange as tshark reads it, the answered and the
// excepted, with the transaction ids the master sent.
TEST(SlaveProgram, WritesTheExchangesToACaptureWiresharkReads) {
    ASSERT_EQ(std::system("command -v tshark >/dev/null 2>&1"), 0)
        << "tshark is not installed: `make deps` installs it";
    const std::string file =
        ::testing::TempDir() + "vk41-slave-" + std::to_string(::getpid()) + ".pcap";
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--quiet", "--pcap", file});
    const int port = slave.tcpPort();
    ASSERT_GT(port, 0) << slave.readError("");
    Master master = connectTo(port);
    std::uint8_t flags[8] = {};
    std::uint16_t registers[2] = {};
    ASSERT_EQ(modbus_read_bits(master.get(), 32, 8, flags), 8);
    EXPECT_EQ(modbus_read_registers(master.get(), 42221, 2, registers), -1);
    slave.signal(SIGTERM);
    ASSERT_EQ(slave.wait(), 0);

    const auto tshark = [&](const std::string& options) {
        std::string out;
        FILE* pipe = ::popen(("tshark -r " + file + " " + options + " 2>/dev/null").c_str(), "r");
        if (!pipe) return out;
        char buffer[512];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
        return out;
    };
    EXPECT_EQ(tshark("-T fields -e mbtcp.trans_id -e modbus.func_code -e modbus.reference_num "
                     "-e modbus.exception_code"),
              "1\t1\t32\t\n1\t1\t\t\n2\t3\t42221\t\n2\t3\t\t2\n");
    EXPECT_EQ(tshark("-Y 'tcp.srcport == 502' -T fields -e mbtcp.trans_id"), "1\n2\n")
        << "the answers come from port 502";
    std::remove(file.c_str());
}

TEST(SlaveProgram, EndsCleanlyOnSigterm) {
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--quiet"});
    ASSERT_GT(slave.tcpPort(), 0);
    slave.signal(SIGTERM);
    EXPECT_EQ(slave.wait(), 0);
}

}  // namespace
}  // namespace vk41
