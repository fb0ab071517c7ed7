// The fixed situations of the Modbus window answer what the controller holds
// in them: its inputs, outputs and flags, read from every start address the
// catalogue offers, with every count that stays inside the map.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "modbus_fixture.h"

namespace vk41 {
namespace {

using testing::Bytes;

// What is closed or raised in a situation, by number.
struct SituationCase {
    const char* name;
    int branch;  // its option of Branch
    std::set<int> inputs, outputs, flags;
};

// clang-format off
const SituationCase kSituations[] = {
    //             name        branch inputs outputs     flags
    SituationCase{"TankFull",  1,     {6},   {3},        {1, 2, 8}},
    SituationCase{"Filling",   2,     {},    {3, 4, 6},  {1, 2, 5, 13}},
    SituationCase{"Accident",  3,     {4},   {5},        {8, 11}},
};
// clang-format on

void PrintTo(const SituationCase& s, std::ostream* os) {
    *os << s.name;
}

const std::vector<int> kCounts = {1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 32};

// The data bytes of a bit read: item k from the start is bit (k - 1) % 8 of
// byte (k - 1) / 8, as `closed` says of the item's address.
template <typename Closed>
Bytes dataBytes(int start, int count, Closed closed) {
    std::vector<int> bytes(static_cast<std::size_t>((count + 7) / 8), 0);
    for (int k = 0; k < count; ++k)
        if (closed(start + k)) bytes[static_cast<std::size_t>(k / 8)] |= 1 << (k % 8);
    Bytes text;
    for (int b : bytes) text.push_back(std::to_string(b));
    return text;
}

class SituationAnswers : public testing::ModbusTest,
                         public ::testing::WithParamInterface<SituationCase> {
  protected:
    // Asks kind `kind` from `start` for `count` items; every answer must be `expected`.
    void expectAnswer(int kind, int startCombo, int countCombo, int start, int count,
                      const Bytes& expected) {
        select("Count_Length", kind);
        select("Branch", GetParam().branch);
        type(startCombo, std::to_string(start));
        type(countCombo, std::to_string(count));
        tick();
        const int n = static_cast<int>(expected.size());
        EXPECT_EQ(c("Aa", 2).caption(), std::to_string(n)) << "from " << start << ", " << count;
        EXPECT_EQ(row("Aa", 3, 2 + n), expected) << "from " << start << ", " << count;
    }

    // Coil a: output a + 1 up to 31, then flag a - 31.
    bool coil(int address) const {
        if (address < 32) return GetParam().outputs.count(address + 1) > 0;
        return GetParam().flags.count(address - 31) > 0;
    }
};

TEST_P(SituationAnswers, ReadTheInputsFromEveryStart) {
    for (int start = 10000; start <= 10003; ++start)
        for (int count : {1, 2, 3, 4, 5, 6, 10, 17, 24, 25})
            expectAnswer(2, 10, 11, start, count, dataBytes(start, count, [&](int address) {
                             return GetParam().inputs.count(address - 10000 + 1) > 0;
                         }));
}

// Outputs past 32 are the flags that follow them on the bus.
TEST_P(SituationAnswers, ReadTheOutputsFromEveryStart) {
    for (int start : {0, 1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 31})
        for (int count : kCounts)
            expectAnswer(3, 7, 8, start, count,
                         dataBytes(start, count, [&](int address) { return coil(address); }));
}

TEST_P(SituationAnswers, ReadTheFlagsFromEveryStart) {
    for (int start : {32, 40, 48, 56})
        for (int count : kCounts)
            if (start + count <= 64)
                expectAnswer(9, 5, 6, start, count,
                             dataBytes(start, count, [&](int address) { return coil(address); }));
}

INSTANTIATE_TEST_SUITE_P(Situations, SituationAnswers, ::testing::ValuesIn(kSituations),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace vk41
