// "[HOST:]PORT" as vk41-slave --tcp and vk41-demo --modbus-tcp take it.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "app/host_port.h"

namespace vk41 {
namespace {

struct HostPortCase {
    const char* name;
    const char* text;
    std::optional<HostPort> expected;
};

void PrintTo(const HostPortCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class HostPorts : public ::testing::TestWithParam<HostPortCase> {};

TEST_P(HostPorts, SplitAsNetworkToolsWriteThem) {
    const auto parsed = splitHostPort(GetParam().text);
    const auto& expected = GetParam().expected;
    ASSERT_EQ(parsed.has_value(), expected.has_value()) << GetParam().text;
    if (!expected) return;
    EXPECT_EQ(parsed->host, expected->host);
    EXPECT_EQ(parsed->port, expected->port);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Slave, HostPorts, ::testing::Values(
    HostPortCase{"PortAlone",         "1502",                HostPort{"127.0.0.1", 1502}},
    HostPortCase{"V4",                "127.0.0.1:1502",      HostPort{"127.0.0.1", 1502}},
    HostPortCase{"Name",              "localhost:0",         HostPort{"localhost", 0}},
    HostPortCase{"V6InBrackets",      "[::1]:1502",          HostPort{"::1", 1502}},
    HostPortCase{"V6Any",             "[::]:65535",          HostPort{"::", 65535}},
    HostPortCase{"V6Long",            "[fe80::1:2]:502",     HostPort{"fe80::1:2", 502}},
    HostPortCase{"V6WithoutPort",     "[::1]",               std::nullopt},
    HostPortCase{"V6EmptyPort",       "[::1]:",              std::nullopt},
    HostPortCase{"V6Unclosed",        "[::1:1502",           std::nullopt},
    HostPortCase{"V6NoColon",         "[::1]1502",           std::nullopt},
    HostPortCase{"EmptyBrackets",     "[]:1502",             std::nullopt},
    HostPortCase{"StrayBracket",      "::1]:1502",           std::nullopt},
    HostPortCase{"PortTooLarge",      "127.0.0.1:65536",     std::nullopt},
    HostPortCase{"PortSigned",        "127.0.0.1:+5",        std::nullopt},
    HostPortCase{"PortNotANumber",    "127.0.0.1:http",      std::nullopt},
    HostPortCase{"EmptyHost",         ":1502",               std::nullopt},
    HostPortCase{"Empty",             "",                    std::nullopt}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(HostPort, IsWrittenBackWithAnIpv6AddressInBrackets) {
    EXPECT_EQ(joinHostPort("127.0.0.1", 1502), "127.0.0.1:1502");
    EXPECT_EQ(joinHostPort("::1", 1502), "[::1]:1502");
    const auto again = splitHostPort(joinHostPort("::1", 40000));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->host, "::1");
    EXPECT_EQ(again->port, 40000);
}

}  // namespace
}  // namespace vk41
