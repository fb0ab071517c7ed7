// vk41-slave's command line, as a learner types it.
#include <gtest/gtest.h>
#include <modbus/modbus.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "slave_process.h"

namespace vk41 {
namespace {

using testing::SlaveProcess;

TEST(SlaveCommandLine, ABadOptionIsOneLineWithAHintToHelp) {
    for (const auto& args :
         {std::vector<std::string>{"--fast"}, {"--tcp"}, {"--speed", "fast"}, {"--tcp", "[::1]"}}) {
        SlaveProcess slave(args);
        EXPECT_EQ(slave.wait(), 2) << args[0];
        const std::string said = slave.readError("");
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find("vk41-slave --help"), std::string::npos) << said;
        EXPECT_EQ(said.find("usage"), std::string::npos) << "the whole usage: " << said;
    }
}

TEST(SlaveCommandLine, HelpPrintsTheUsageAndEnds) {
    SlaveProcess slave({"--help"});
    EXPECT_EQ(slave.wait(), 0);
}

// The port it reports for `[::1]`, or 0.
int ipv6Port(SlaveProcess& slave) {
    const std::string said = slave.readError("\n");
    const std::size_t at = said.find("[::1]:");
    return at == std::string::npos ? 0 : std::atoi(said.c_str() + at + 6);
}

TEST(SlaveCommandLine, ListensOnABracketedIpv6Address) {
    SlaveProcess slave({"--tcp", "[::1]:0", "--quiet"});
    const int port = ipv6Port(slave);
    ASSERT_GT(port, 0) << slave.readError("");
    std::unique_ptr<modbus_t, void (*)(modbus_t*)> master(
        modbus_new_tcp_pi("::1", std::to_string(port).c_str()), [](modbus_t* m) {
            modbus_close(m);
            modbus_free(m);
        });
    modbus_set_slave(master.get(), 127);
    modbus_set_response_timeout(master.get(), 2, 0);
    ASSERT_EQ(modbus_connect(master.get()), 0) << modbus_strerror(errno);
    std::uint8_t flags[16];
    EXPECT_EQ(modbus_read_bits(master.get(), 32, 16, flags), 16) << modbus_strerror(errno);
}

}  // namespace
}  // namespace vk41
