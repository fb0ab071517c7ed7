// vk41-slave under what stops a careless server: a standard output nobody
// reads, and masters that trickle their frames to hold every place.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <modbus/modbus.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "raw_socket.h"
#include "slave_process.h"

namespace vk41 {
namespace {

using testing::connectTo;
using testing::Master;
using testing::SlaveProcess;

// What the pipe's read end holds, waiting at most `boundMs` for more.
std::string readFor(int fd, int boundMs) {
    std::string got;
    char chunk[4096];
    for (pollfd p{fd, POLLIN, 0}; ::poll(&p, 1, boundMs) == 1;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0) break;
        got.append(chunk, static_cast<std::size_t>(n));
    }
    return got;
}

std::uint64_t linesIn(const std::string& text, const std::string& what) {
    std::uint64_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::uint64_t droppedIn(const std::string& text) {
    const std::string note = "… пропущено ";
    std::uint64_t n = 0;
    for (std::size_t at = text.find(note); at != std::string::npos; at = text.find(note, at + 1))
        n += std::stoull(text.substr(at + note.size()));
    return n;
}

TEST(SlaveProgram, AStandardOutputNobodyReadsNeverStopsTheAnswers) {
    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    SlaveProcess slave({"--tcp", "127.0.0.1:0"}, out[1]);
    ::close(out[1]);
    const int port = slave.tcpPort();
    ASSERT_GT(port, 0) << slave.readError("");
    Master master = connectTo(port);
    // About 100 bytes of log each: 300 KB, far past the 64 KiB a pipe holds.
    constexpr std::uint64_t kRequests = 3000;
    std::uint8_t flags[32];
    for (std::uint64_t i = 0; i < kRequests; ++i)
        ASSERT_EQ(modbus_read_bits(master.get(), 32, 32, flags), 32)
            << "request " << i << ": " << modbus_strerror(errno);
    // The reader comes back: every exchange was logged or counted as dropped.
    std::string log;
    for (int round = 0; round < 50 && droppedIn(log) == 0; ++round) log += readFor(out[0], 100);
    const std::uint64_t logged = linesIn(log, "  FC1 флаги 1–32 → ");
    EXPECT_GT(droppedIn(log), 0u) << "no count of dropped lines";
    EXPECT_EQ(logged + droppedIn(log), kRequests) << logged << " logged";
    ::close(out[0]);
}

TEST(SlaveProgram, SixteenTricklingConnectionsDoNotKeepAMasterOut) {
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--quiet"});
    const int port = slave.tcpPort();
    ASSERT_GT(port, 0) << slave.readError("");
    // Each sends the first byte of a frame, then would send one every 40 s.
    std::vector<int> tricklers;
    for (int i = 0; i < 16; ++i) {
        tricklers.push_back(testing::rawConnect(static_cast<std::uint16_t>(port)));
        ASSERT_TRUE(testing::sendAll(tricklers.back(), {0}));
    }
    Master master = connectTo(port);
    std::uint8_t flags[16];
    EXPECT_EQ(modbus_read_bits(master.get(), 32, 16, flags), 16) << modbus_strerror(errno);
    for (int fd : tricklers) ::close(fd);
}

}  // namespace
}  // namespace vk41
