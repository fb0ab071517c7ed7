// The slave's TCP connections: a master that half-closes, one that trickles
// its frame a byte at a time, one that falls silent, and more masters than
// places. Deadlines fall due on the service's clock, which the test moves.
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "bus_fixture.h"
#include "raw_socket.h"

namespace vk41 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::readToClose;
using testing::readWithin;

// Flags 1-8 of unit 127 in transaction `id`, and the answer's length.
Bytes flagsRequest(std::uint8_t id = 1) {
    return {0, id, 0, 0, 0, 6, 127, 1, 0, 32, 0, 8};
}
constexpr ssize_t kFlagsAnswer = 10;  // the header, function, byte count, one byte

class TcpConnections : public testing::BusTest {
  protected:
    void serve(int maxConnections = 16) {
        ModbusService::Limits limits;
        limits.maxConnections = maxConnections;
        limits.idleMs = 60000;
        limits.frameMs = 2000;
        serveTcp(limits);
    }

    // A connection that has been answered once: the service holds it.
    int answeredConnection(const Bytes& andThen = {}) {
        const int fd = testing::rawConnect(service.tcpPort());
        Bytes sent = flagsRequest();
        sent.insert(sent.end(), andThen.begin(), andThen.end());
        EXPECT_TRUE(testing::sendAll(fd, sent));
        EXPECT_EQ(answer(fd), kFlagsAnswer);
        return fd;
    }
    // The length of what comes on `fd`, 0 at its close, kNothingCame.
    ssize_t answer(int fd, int boundMs = 3000) {
        std::uint8_t reply[64];
        return onBus([&] { return readWithin(fd, reply, sizeof reply, boundMs); });
    }
    bool closedBySlave(int fd) {
        bool closed = false;
        onBus([&] { return readToClose(fd, 3000, closed); });
        return closed;
    }
    bool stillOpen(int fd) {
        std::uint8_t byte;
        return onBus([&] { return readWithin(fd, &byte, 1, 0); }) == testing::kNothingCame;
    }
    void after(int ms) {
        clockMs += ms;
        service.checkDeadlines();
    }
};

TEST_F(TcpConnections, ARequestFollowedAtOnceByTheMastersFinIsAnsweredThenClosed) {
    serve();
    for (int i = 0; i < 50; ++i) {
        const int fd = testing::rawConnect(service.tcpPort());
        ASSERT_TRUE(testing::sendAll(fd, flagsRequest(static_cast<std::uint8_t>(i))));
        ::shutdown(fd, SHUT_WR);
        bool closed = false;
        const Bytes got = onBus([&] { return readToClose(fd, 3000, closed); });
        ::close(fd);
        ASSERT_EQ(got.size(), static_cast<std::size_t>(kFlagsAnswer)) << "round " << i;
        EXPECT_EQ(got[1], i) << "round " << i << ": another transaction's answer";
        EXPECT_TRUE(closed) << "round " << i << ": the slave keeps the connection";
    }
}

TEST_F(TcpConnections, HalfAFrameBeforeTheMastersFinIsDroppedAndSaidSo) {
    serve();
    const int fd = testing::rawConnect(service.tcpPort());
    ASSERT_TRUE(testing::sendAll(fd, {0, 1, 0, 0, 0, 6, 127, 1}));
    ::shutdown(fd, SHUT_WR);
    bool closed = false;
    const Bytes got = onBus([&] { return readToClose(fd, 3000, closed); });
    ::close(fd);
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(closed);
    EXPECT_TRUE(
        waitForLog("TCP 00 01 00 00 00 06 7F 01  →  (без ответа)  соединение закрыто "
                   "посреди кадра"));
}

TEST_F(TcpConnections, AFrameMustBeWholeWithinTwoSecondsOfItsFirstByte) {
    serve();
    // Two masters each send a request and the first byte of the next.
    const int slow = answeredConnection({0});
    const int trickling = answeredConnection({0});
    after(1999);
    EXPECT_TRUE(stillOpen(trickling));
    // A frame finished in time is answered, and the next one has its own two seconds.
    ASSERT_TRUE(testing::sendAll(slow, {2, 0, 0, 0, 6, 127, 1, 0, 32, 0, 8, 0}));
    EXPECT_EQ(answer(slow), kFlagsAnswer);
    after(1);
    EXPECT_TRUE(closedBySlave(trickling)) << "a trickling frame holds its place";
    EXPECT_TRUE(logged("TCP 00  →  (без ответа)  кадр не завершён за 2 с от первого байта"))
        << ::testing::PrintToString(log);
    after(1998);  // the slow master's second frame began at 1999
    EXPECT_TRUE(stillOpen(slow));
    after(1);
    EXPECT_TRUE(closedBySlave(slow));
    ::close(slow);
    ::close(trickling);
}

TEST_F(TcpConnections, AConnectionSilentForAMinuteIsClosed) {
    serve();
    const int fd = answeredConnection();
    after(59999);
    EXPECT_TRUE(stillOpen(fd));
    after(1);
    EXPECT_TRUE(closedBySlave(fd));
    EXPECT_TRUE(logged("TCP соединение молчало 60 с: закрыто"));
    ::close(fd);
}

TEST_F(TcpConnections, WhenEveryPlaceIsTakenTheConnectionIdleLongestGivesWay) {
    serve(2);
    const int first = answeredConnection();
    const int second = answeredConnection();
    ASSERT_TRUE(testing::sendAll(first, flagsRequest()));
    ASSERT_EQ(answer(first), kFlagsAnswer);  // the second is now the one idle longest
    const int third = testing::rawConnect(service.tcpPort());
    ASSERT_TRUE(testing::sendAll(third, flagsRequest()));
    EXPECT_EQ(answer(third), kFlagsAnswer) << "the newcomer is not served";
    EXPECT_TRUE(closedBySlave(second));
    ASSERT_TRUE(testing::sendAll(first, flagsRequest()));
    EXPECT_EQ(answer(first), kFlagsAnswer);
    EXPECT_TRUE(logged("TCP все 2 соединений заняты: это молчало дольше всех и уступило место"));
    for (int fd : {first, second, third}) ::close(fd);
}

TEST_F(TcpConnections, SixteenTricklingMastersDoNotKeepAnotherOut) {
    serve();
    std::vector<int> tricklers;
    for (int i = 0; i < 16; ++i) tricklers.push_back(answeredConnection({0}));
    Master master = tcpMaster();
    std::uint8_t flags[8];
    EXPECT_EQ(onBus([&] { return modbus_read_bits(master.get(), 32, 8, flags); }), 8)
        << "a master is kept out";
    // The one idle longest gave way; the others hold on until their deadline.
    EXPECT_TRUE(closedBySlave(tricklers[0]));
    for (std::size_t i = 1; i < tricklers.size(); ++i)
        EXPECT_TRUE(stillOpen(tricklers[i])) << "trickler " << i;
    for (int fd : tricklers) ::close(fd);
}

}  // namespace
}  // namespace vk41
