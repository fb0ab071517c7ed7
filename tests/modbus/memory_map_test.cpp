#include "modbus/memory_map.h"
#include "modbus/controller_image.h"

#include <gtest/gtest.h>

namespace vk41 {
namespace {

namespace map = memory_map;

TEST(MemoryMap, AreasDoNotOverlapAndNameTheirFunctions) {
    const auto& areas = map::areas();
    for (std::size_t i = 0; i < areas.size(); ++i) {
        EXPECT_LE(areas[i].first, areas[i].last);
        EXPECT_TRUE(areas[i].read || areas[i].write) << areas[i].what;
        for (std::size_t j = i + 1; j < areas.size(); ++j)
            EXPECT_TRUE(areas[i].last < areas[j].first || areas[j].last < areas[i].first);
    }
    EXPECT_EQ(map::area(map::kOutputs).last - map::area(map::kOutputs).first + 1, map::kTerminals);
    EXPECT_EQ(map::area(map::kFlags).first, map::flagCoil(1));
    EXPECT_EQ(map::area(map::kFlags).last, map::flagCoil(map::kFlagCount));
    EXPECT_EQ(map::area(map::kInputs).first, map::inputAddress(1));
    EXPECT_EQ(map::area(map::kInputs).last, map::inputAddress(map::kTerminals));
    EXPECT_EQ(map::area(map::kCommand).first, map::kCommandRegister);
}

TEST(MemoryMap, CountersTakeThreeRegistersEachFrom42222) {
    int expected = 42222;
    for (const map::Counter& c : map::counters()) {
        EXPECT_EQ(c.firstRegister, expected);
        EXPECT_EQ(map::counterAt(expected), c.number);
        EXPECT_EQ(map::counterAt(expected + 2), c.number);
        expected += map::kRegistersPerCounter;
    }
    EXPECT_EQ(expected - 1, map::area(map::kCounters).last);
    EXPECT_FALSE(map::counterAt(42221));
    EXPECT_FALSE(map::counterAt(42234));
}

TEST(MemoryMap, ACounterSendsItsLowByteFirst) {
    EXPECT_EQ(map::counterBytes(300), (std::array<std::uint8_t, 6>{44, 1, 0, 0, 0, 0}));
    EXPECT_EQ(map::counterBytes(36), (std::array<std::uint8_t, 6>{36, 0, 0, 0, 0, 0}));
}

TEST(MemoryMap, StatusCodesRaiseTheFlagsOfTheirSituation) {
    EXPECT_EQ(flagsOfStatus(1), 0b0001'0000'0001'0011u);  // 1, 2, 5, 13
    EXPECT_EQ(flagsOfStatus(2), 0b1000'0011u);            // 1, 2, 8
    EXPECT_EQ(flagsOfStatus(3), 0b0100'1000'0000u);       // 8, 11
    for (int code : {0, 4, 497, -1}) EXPECT_EQ(flagsOfStatus(code), 0u) << code;
}

TEST(MemoryMap, NamesWhatTheInstallationWires) {
    for (int k : {4, 5, 6}) EXPECT_NE(map::inputWiring(k), nullptr) << k;
    for (int k : {3, 4, 5, 6}) EXPECT_NE(map::outputWiring(k), nullptr) << k;
    EXPECT_EQ(map::inputWiring(1), nullptr);
    EXPECT_EQ(map::outputWiring(7), nullptr);
    const std::uint32_t raised = flagsOfStatus(1) | flagsOfStatus(2) | flagsOfStatus(3);
    for (int k = 1; k <= 32; ++k) {
        if (raised >> (k - 1) & 1) {
            EXPECT_NE(map::flagMeaning(k), nullptr) << k;
        }
    }
}

}  // namespace
}  // namespace vk41
