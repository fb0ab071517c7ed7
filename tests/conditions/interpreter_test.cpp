#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>

#include "case_name.h"
#include "conditions/controller.h"

namespace vk41 {
namespace {

// Operands as the table writes them: Self / k, Self / 128 + k, У/Ф Nk, 8 / n, a number.
constexpr Operand in(int k) {
    return {OperandKind::Input, k};
}
constexpr Operand out(int k) {
    return {OperandKind::Output, k};
}
constexpr Operand flag(int k) {
    return {OperandKind::Flag, k};
}
constexpr Operand counter(int n) {
    return {OperandKind::Counter, n};
}
constexpr Operand num(int value) {
    return {OperandKind::Constant, value};
}

constexpr Comparison kEq = Comparison::Equal;
constexpr Comparison kNe = Comparison::NotEqual;
constexpr Comparison kGt = Comparison::Greater;
constexpr Comparison kLt = Comparison::Less;

// One row of a program: a comparison, the output it sets with its two values
// (0 "нет"), and the flag it depends on (0 "нет").
Operator row(Comparison kind, Operand first, Operand second, int output = 0, int valueIf = 0,
             int valueElse = 0, int dependsOn = 0) {
    return {kind, first, second, output, valueIf, valueElse, dependsOn, {}};
}

// A program of the rows given, every other row empty.
Program programOf(std::initializer_list<std::pair<int, Operator>> rows) {
    Program p;
    for (const auto& [k, op] : rows) p.at(k) = op;
    return p;
}

// Bits k - 1 for each k of `numbers`.
std::uint32_t bits(std::initializer_list<int> numbers) {
    std::uint32_t b = 0;
    for (int k : numbers) setBit(b, k, true);
    return b;
}

// Bits k - 1 for k from `first` to `last`.
std::uint32_t range(int first, int last) {
    std::uint32_t b = 0;
    for (int k = first; k <= last; ++k) setBit(b, k, true);
    return b;
}

// The numbers whose bits are set, for messages that read as the table does.
std::string numbers(std::uint32_t b) {
    std::string text = "{";
    for (int k = 1; k <= 32; ++k)
        if (bitOf(b, k)) text += (text.size() > 1 ? ", " : "") + std::to_string(k);
    return text + "}";
}

using testing::caseName;

// ---------------------------------------------------------------------------
// One operator on a state where inputs 3 and 32, outputs 2 and 32 and flag 7
// are set, and the counters 8 / 1 .. 8 / 4 stand at 11, 22, 33 and 70000.

ControllerState comparedState() {
    ControllerState s;
    s.inputs = bits({3, 32});
    s.outputs = bits({2, 32});
    s.flags = bits({7});
    s.counters = {11, 22, 33, 70000};
    return s;
}

struct CompareCase {
    const char* name;
    Comparison kind;
    Operand first;
    Operand second;
    std::int64_t a;  // the operands' values
    std::int64_t b;
    bool holds;
};

void PrintTo(const CompareCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const CompareCase kCompares[] = {
    // name                       kind  first       second      a      b      holds
    {"EqualHolds",                kEq,  num(5),     num(5),     5,     5,     true},
    {"EqualFails",                kEq,  num(5),     num(6),     5,     6,     false},
    {"NotEqualHolds",             kNe,  num(5),     num(6),     5,     6,     true},
    {"NotEqualFails",             kNe,  num(5),     num(5),     5,     5,     false},
    {"GreaterHolds",              kGt,  num(6),     num(5),     6,     5,     true},
    {"GreaterFailsWhenEqual",     kGt,  num(5),     num(5),     5,     5,     false},
    {"GreaterFailsWhenLess",      kGt,  num(4),     num(5),     4,     5,     false},
    {"LessHolds",                 kLt,  num(4),     num(5),     4,     5,     true},
    {"LessFailsWhenEqual",        kLt,  num(5),     num(5),     5,     5,     false},
    {"LessFailsWhenGreater",      kLt,  num(6),     num(5),     6,     5,     false},
    {"InputClosedIsOne",          kEq,  in(3),      num(1),     1,     1,     true},
    {"InputOpenIsZero",           kEq,  in(4),      num(1),     0,     1,     false},
    {"Input32",                   kEq,  in(32),     num(1),     1,     1,     true},
    {"Input1Open",                kEq,  in(1),      num(0),     0,     0,     true},
    {"OutputClosedIsOne",         kEq,  out(2),     num(1),     1,     1,     true},
    {"OutputOpenIsZero",          kEq,  out(3),     num(1),     0,     1,     false},
    {"Output32",                  kEq,  out(32),    num(1),     1,     1,     true},
    {"InputAndOutputOfOneNumber", kNe,  in(2),      out(2),     0,     1,     true},
    {"FlagRaisedIsOne",           kEq,  flag(7),    num(1),     1,     1,     true},
    {"FlagLoweredIsZero",         kEq,  flag(6),    num(0),     0,     0,     true},
    {"Flag32",                    kEq,  flag(32),   num(0),     0,     0,     true},
    {"Counter1",                  kEq,  counter(1), num(11),    11,    11,    true},
    {"Counter2",                  kEq,  counter(2), num(22),    22,    22,    true},
    {"Counter3",                  kEq,  counter(3), num(33),    33,    33,    true},
    {"Counter4PastAnyConstant",   kGt,  counter(4), num(65535), 70000, 65535, true},
    {"CounterAgainstCounter",     kLt,  counter(2), counter(3), 22,    33,    true},
    {"ConstantZero",              kLt,  num(0),     in(3),      0,     1,     true},
    {"ConstantLargest",           kGt,  num(65535), counter(1), 65535, 11,    true},
};
// clang-format on

class InterpreterComparison : public ::testing::TestWithParam<CompareCase> {};

TEST_P(InterpreterComparison, RaisesTheOperatorsFlagWhenItHolds) {
    const CompareCase& c = GetParam();
    // Operator 4, whose flag and activity bits stand clear of the flags set.
    const Program p = programOf({{4, row(c.kind, c.first, c.second)}});
    ControllerState state = comparedState();
    const OperatorStep step = runOperator(p, 4, state);
    EXPECT_EQ(step.number, 4);
    EXPECT_TRUE(step.active);
    EXPECT_EQ(step.first, c.a);
    EXPECT_EQ(step.second, c.b);
    EXPECT_EQ(step.holds, c.holds);
    EXPECT_EQ(step.output, 0);
    ControllerState want = comparedState();
    setBit(want.flags, 4, c.holds);
    want.active = bits({4});
    EXPECT_EQ(numbers(state.flags), numbers(want.flags));
    EXPECT_EQ(numbers(state.active), numbers(want.active));
    EXPECT_TRUE(state == want) << "outputs " << numbers(state.outputs);
}

INSTANTIATE_TEST_SUITE_P(Operands, InterpreterComparison, ::testing::ValuesIn(kCompares),
                         caseName<CompareCase>);

// ---------------------------------------------------------------------------
// Whole cycles of small programs: what each leaves in the flags, the outputs
// and the operators' activity.

// Operator 2 depends on the flag operator 1 raises in the same cycle.
const Program kDependsOnEarlier = programOf({
    {1, row(kEq, in(1), num(1))},
    {2, row(kEq, num(0), num(0), 2, 1, 0, 1)},
});
// Operator 1 depends on the flag operator 2 raises: a cycle late.
const Program kDependsOnLater = programOf({
    {1, row(kEq, num(0), num(0), 1, 1, 0, 2)},
    {2, row(kEq, in(1), num(1))},
});
// Operator 2 reads the output operator 1 sets.
const Program kReadsEarlierOutput = programOf({
    {1, row(kEq, in(1), num(1), 3, 1, 0)},
    {2, row(kEq, out(3), num(1), 4, 1, 0)},
});
// Operator 1 reads the output operator 2 sets.
const Program kReadsLaterOutput = programOf({
    {1, row(kEq, out(3), num(1), 4, 1, 0)},
    {2, row(kEq, in(1), num(1), 3, 1, 0)},
});
// Output 5 takes 0 when input 1 is closed, 1 when it is open.
const Program kValues = programOf({{1, row(kEq, in(1), num(1), 5, 0, 1)}});
// An empty row that still names operands, an output and its values.
const Program kEmptyRowWithFields =
    programOf({{1, {Comparison::None, in(1), num(1), 5, 1, 1, 0, {}}}});
// Operator 2 depends on flag 1, which operator 1 leaves lowered while input 1 is open.
const Program kInactive = programOf({
    {1, row(kEq, in(1), num(1))},
    {2, row(kEq, num(0), num(0), 6, 1, 1, 1)},
});
// Every operator holds, but operator 1 only while flag 20 is lowered, and
// operator 14 runs only while it is raised.
const Program kAllHold = [] {
    Program p;
    for (int k = 1; k <= kOperators; ++k) p.at(k) = row(kEq, num(0), num(0));
    p.at(1) = row(kEq, flag(20), num(0), 1, 1, 0);
    p.at(14) = row(kEq, num(0), num(0), 2, 1, 0, 20);
    return p;
}();
// Counter 8 / 3 past 100 closes output 7.
const Program kCounter = programOf({{1, row(kGt, counter(3), num(100), 7, 1, 0)}});

struct CycleCase {
    const char* name;
    const Program* program;
    std::uint32_t flagsBefore;
    std::uint32_t outputsBefore;
    std::uint32_t inputs;
    std::uint32_t thirdCounter;
    int cycles;
    std::uint32_t flags;
    std::uint32_t outputs;
    std::uint32_t active;
};

void PrintTo(const CycleCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const CycleCase kCycles[] = {
    // name                                 program               flags before  outputs before  inputs     8 / 3  cycles  flags                      outputs       active
    {"EarlierFlagSeenInTheSameCycle",       &kDependsOnEarlier,   0,            0,              bits({1}), 0,     1,      bits({1, 2}),              bits({2}),    bits({1, 2})},
    {"EarlierFlagLoweredInTheSameCycle",    &kDependsOnEarlier,   bits({1, 2}), bits({2}),      0,         0,     1,      0,                         bits({2}),    bits({1})},
    {"LaterFlagNotSeenInTheFirstCycle",     &kDependsOnLater,     0,            0,              bits({1}), 0,     1,      bits({2}),                 0,            bits({2})},
    {"LaterFlagSeenInTheSecondCycle",       &kDependsOnLater,     0,            0,              bits({1}), 0,     2,      bits({1, 2}),              bits({1}),    bits({1, 2})},
    {"LaterFlagFromTheLastCycle",           &kDependsOnLater,     bits({2}),    0,              0,         0,     1,      bits({1}),                 bits({1}),    bits({1, 2})},
    {"EarlierOutputReadWithItsNewValue",    &kReadsEarlierOutput, 0,            0,              bits({1}), 0,     1,      bits({1, 2}),              bits({3, 4}), bits({1, 2})},
    {"EarlierOutputOpenedIsReadOpen",       &kReadsEarlierOutput, 0,            bits({3, 4}),   0,         0,     1,      0,                         0,            bits({1, 2})},
    {"LaterOutputReadAsItWas",              &kReadsLaterOutput,   0,            0,              bits({1}), 0,     1,      bits({2}),                 bits({3}),    bits({1, 2})},
    {"LaterOutputReadNextCycle",            &kReadsLaterOutput,   0,            0,              bits({1}), 0,     2,      bits({1, 2}),              bits({3, 4}), bits({1, 2})},
    {"ValueIfWhenTheConditionHolds",        &kValues,             0,            bits({5}),      bits({1}), 0,     1,      bits({1}),                 0,            bits({1})},
    {"ValueElseWhenItFails",                &kValues,             0,            0,              0,         0,     1,      0,                         bits({5}),    bits({1})},
    {"EmptyRowLowersItsFlagWritesNothing",  &kEmptyRowWithFields, bits({1}),    0,              bits({1}), 0,     1,      0,                         0,            0},
    {"EmptyRowKeepsAnOutputAsItStands",     &kEmptyRowWithFields, 0,            bits({5}),      0,         0,     1,      0,                         bits({5}),    0},
    {"InactiveLowersItsFlagWritesNoOutput", &kInactive,           bits({1, 2}), bits({6}),      0,         0,     1,      0,                         bits({6}),    bits({1})},
    {"InactiveDoesNotCloseItsOutput",       &kInactive,           bits({2}),    0,              0,         0,     1,      0,                         0,            bits({1})},
    {"ActiveOnceItsFlagIsRaised",           &kInactive,           0,            0,              bits({1}), 0,     1,      bits({1, 2}),              bits({6}),    bits({1, 2})},
    {"FlagsPast14NeverRaised",              &kAllHold,            0,            0,              0,         0,     5,      range(1, 13),              bits({1}),    range(1, 13)},
    {"FlagsPast14StandAsTheyAre",           &kAllHold,            bits({20}),   0,              0,         0,     1,      range(2, 14) | bits({20}), bits({2}),    range(1, 14)},
    {"CounterTakenEachCycle",               &kCounter,            0,            0,              0,         101,   1,      bits({1}),                 bits({7}),    bits({1})},
    {"CounterAtTheLimit",                   &kCounter,            0,            bits({7}),      0,         100,   1,      0,                         0,            bits({1})},
};
// clang-format on

class InterpreterCycle : public ::testing::TestWithParam<CycleCase> {};

TEST_P(InterpreterCycle, LeavesTheFlagsOutputsAndActivity) {
    const CycleCase& c = GetParam();
    ControllerState state;
    state.flags = c.flagsBefore;
    state.outputs = c.outputsBefore;
    // What the last cycle took stands until this one takes its own.
    state.inputs = ~c.inputs;
    state.counters = {1, 2, 3, 4};
    for (int i = 0; i < c.cycles; ++i)
        state = runCycle(*c.program, state, c.inputs, {0, 0, c.thirdCounter, 0});
    EXPECT_EQ(numbers(state.flags), numbers(c.flags));
    EXPECT_EQ(numbers(state.outputs), numbers(c.outputs));
    EXPECT_EQ(numbers(state.active), numbers(c.active));
    EXPECT_EQ(state.inputs, c.inputs);
    EXPECT_EQ(state.counters[2], c.thirdCounter);
}

INSTANTIATE_TEST_SUITE_P(Programs, InterpreterCycle, ::testing::ValuesIn(kCycles),
                         caseName<CycleCase>);

// ---------------------------------------------------------------------------
// The controller over its cycles.

constexpr std::array<std::uint32_t, kLineCounters> kNoCounts{};

TEST(InterpreterController, StartsWithTheFactoryProgramAndNothingSet) {
    const Controller c;
    EXPECT_TRUE(c.program() == factoryProgram());
    EXPECT_TRUE(c.state() == ControllerState{});
    EXPECT_EQ(c.cycles(), 0u);
}

TEST(InterpreterController, RestartLowersEveryFlagAndOpensEveryOutput) {
    Controller c;
    c.load(kAllHold);
    c.cycle(bits({5}), {1, 2, 3, 4});
    c.writeOutput(20, true);
    ASSERT_NE(c.state().flags, 0u);
    ASSERT_TRUE(bitOf(c.state().outputs, 20));
    EXPECT_EQ(c.cycles(), 1u);
    c.restart();
    EXPECT_EQ(numbers(c.state().flags), "{}");
    EXPECT_EQ(numbers(c.state().outputs), "{}");
    EXPECT_TRUE(c.state() == ControllerState{});
    EXPECT_EQ(c.cycles(), 0u);
    EXPECT_TRUE(c.program() == kAllHold);
}

TEST(InterpreterController, LoadKeepsOutputsAndFlagsAsTheyStand) {
    Controller c;
    c.cycle(bits({5}), kNoCounts);
    const ControllerState before = c.state();
    ASSERT_TRUE(bitOf(before.outputs, 4));
    ASSERT_TRUE(bitOf(before.flags, 9));
    // Output 7 follows the pump's output and flag 9, as the factory program left them.
    const Program follower = programOf({{1, row(kEq, out(4), num(1), 7, 1, 0, 9)}});
    c.load(follower);
    EXPECT_TRUE(c.state() == before);
    EXPECT_TRUE(c.program() == follower);
    c.cycle(bits({5}), kNoCounts);
    EXPECT_EQ(numbers(c.state().outputs), numbers(before.outputs | bits({7})));
    EXPECT_EQ(numbers(c.state().flags), numbers(bits({1})));
}

TEST(InterpreterController, WrittenOutputHoldsUntilAnOperatorSetsIt) {
    Controller c;
    // Operator 1 opens output 2 once flag 2 stands raised from the last cycle.
    c.load(programOf({
        {1, row(kEq, num(0), num(1), 2, 1, 0, 2)},
        {2, row(kEq, in(1), num(1))},
    }));
    c.writeOutput(2, true);
    c.writeOutput(9, true);
    for (int i = 0; i < 3; ++i) c.cycle(0, kNoCounts);
    EXPECT_EQ(numbers(c.state().outputs), "{2, 9}");
    c.cycle(bits({1}), kNoCounts);
    EXPECT_EQ(numbers(c.state().outputs), "{2, 9}") << "operator 1 not active yet";
    c.cycle(bits({1}), kNoCounts);
    EXPECT_EQ(numbers(c.state().outputs), "{9}");
    c.writeOutput(9, false);
    EXPECT_EQ(numbers(c.state().outputs), "{}");
}

TEST(InterpreterController, WritingAnOutputPast32ChangesNothing) {
    Controller c;
    c.writeOutput(0, true);
    c.writeOutput(33, true);
    EXPECT_TRUE(c.state() == ControllerState{});
}

TEST(InterpreterController, EveryChangeAViewShowsMovesTheRevision) {
    Controller c;
    const std::function<void()> changes[] = {
        [&] { c.cycle(bits({5}), kNoCounts); },
        [&] { c.pause(); },
        [&] { c.stepOperator(0, kNoCounts); },
        [&] { c.resume(); },
        [&] {
            c.setBreakpoint({Watch::Flag, 3, true});
        },
        [&] { c.removeBreakpoint(Watch::Flag, 3); },
        [&] { c.forceInput(6, true); },
        [&] { c.unforceInput(6); },
        [&] { c.forceOutput(4, false); },
        [&] { c.unforceOutput(4); },
        [&] { c.unforceAll(); },
        [&] { c.writeOutput(9, true); },
        [&] { c.clearTrace(); },
        [&] { c.load(kAllHold); },
        [&] { c.restart(); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        const std::uint64_t before = c.revision();
        changes[i]();
        EXPECT_GT(c.revision(), before) << "change " << i;
    }
    const std::uint64_t standing = c.revision();
    c.pause();
    const std::uint64_t paused = c.revision();
    c.cycle(bits({5}), kNoCounts);
    EXPECT_EQ(c.revision(), paused) << "a paused controller stands";
    EXPECT_GT(paused, standing);
}

TEST(InterpreterController, ReleasingOneForcedItemLeavesTheOthersForced) {
    Controller c;
    c.forceInput(5, true);
    c.forceInput(6, true);
    c.forceOutput(4, false);
    c.forceOutput(3, true);
    c.unforceInput(6);
    c.unforceOutput(3);
    EXPECT_EQ(numbers(c.forcedInputs().mask), "{5}");
    EXPECT_EQ(numbers(c.forcedOutputs().mask), "{4}");
    c.cycle(bits({6}), kNoCounts);
    EXPECT_EQ(numbers(c.state().inputs), "{5, 6}") << "input 6 follows the plant again";
    EXPECT_FALSE(bitOf(c.state().outputs, 4));
}

// ---------------------------------------------------------------------------
// The factory program's first cycle after a restart, the tank empty: input 5
// (the lower limit switch) closed, every other input open, every output open
// and every flag lowered. By hand, operator by operator:
//
//   1  Self / 133 (output 5, accident) = 0: 0 = 0 holds, flag 1; output 3 (green lamp) ← 1
//   2  Self / 131 (output 3) = 1: 1 = 1, output 3 just closed, holds; flag 2
//   3  on flag 2, active; Self / 4 (manometer) = 1: 0 = 1 fails; output 5 ← ELSE 0
//   4  empty
//   5  Self / 132 (output 4, pump) = 1: 0 = 1 fails
//   6  on flag 5, lowered: not active, output 4 left alone
//   7  empty
//   8  Self / 132 = 0: 0 = 0 holds, flag 8
//   9  on flag 8, active; Self / 5 (lower switch) = 1: 1 = 1 holds, flag 9; output 4 (pump) ← 1
//  10  empty
//  11  Self / 133 = 1: 0 = 1 fails
//  12  on flag 11, lowered: not active
//  13  Self / 132 = 1: output 4 was closed by operator 9 in this very cycle, 1 = 1
//      holds, flag 13; output 6 (UV lamp) ← 1
//  14  empty
//
// So the pump and the UV lamp start together, on the first cycle: flags 1, 2,
// 8, 9 and 13; outputs 3, 4 and 6.

struct StepCase {
    int number;
    bool active;
    std::int64_t first;
    std::int64_t second;
    bool holds;
    int output;
    int value;
};

// clang-format off
const StepCase kFirstFactoryCycle[] = {
    // op active  first  second  holds  output  value
    {1,   true,   0,     0,      true,  3,      1},
    {2,   true,   1,     1,      true,  0,      0},
    {3,   true,   0,     1,      false, 5,      0},
    {4,   false,  0,     0,      false, 0,      0},
    {5,   true,   0,     1,      false, 0,      0},
    {6,   false,  0,     0,      false, 0,      0},
    {7,   false,  0,     0,      false, 0,      0},
    {8,   true,   0,     0,      true,  0,      0},
    {9,   true,   1,     1,      true,  4,      1},
    {10,  false,  0,     0,      false, 0,      0},
    {11,  true,   0,     1,      false, 0,      0},
    {12,  false,  0,     0,      false, 0,      0},
    {13,  true,   1,     1,      true,  6,      1},
    {14,  false,  0,     0,      false, 0,      0},
};
// clang-format on

TEST(InterpreterFactoryProgram, FirstCycleWithTheTankEmptyStepByStep) {
    ControllerState state;
    state.inputs = bits({5});
    for (const StepCase& want : kFirstFactoryCycle) {
        const OperatorStep step = runOperator(factoryProgram(), want.number, state);
        SCOPED_TRACE("operator " + std::to_string(want.number));
        EXPECT_EQ(step.number, want.number);
        EXPECT_EQ(step.active, want.active);
        EXPECT_EQ(step.first, want.first);
        EXPECT_EQ(step.second, want.second);
        EXPECT_EQ(step.holds, want.holds);
        EXPECT_EQ(step.output, want.output);
        EXPECT_EQ(step.value, want.value);
    }
}

TEST(InterpreterFactoryProgram, FirstCycleWithTheTankEmptyStartsThePumpAndTheLamp) {
    Controller c;
    c.restart();
    c.cycle(bits({5}), kNoCounts);
    EXPECT_EQ(numbers(c.state().outputs), "{3, 4, 6}");
    EXPECT_EQ(numbers(c.state().flags), "{1, 2, 8, 9, 13}");
    EXPECT_EQ(numbers(c.state().active), "{1, 2, 3, 5, 8, 9, 11, 13}");
    EXPECT_EQ(c.cycles(), 1u);
}

// From the second cycle on the pump runs: operator 5 sees it and 6 watches the
// upper switch, while 8 and 9 stand aside.
TEST(InterpreterFactoryProgram, SecondCycleKeepsThePumpRunning) {
    Controller c;
    c.cycle(bits({5}), kNoCounts);
    c.cycle(0, kNoCounts);
    EXPECT_EQ(numbers(c.state().outputs), "{3, 4, 6}");
    EXPECT_EQ(numbers(c.state().flags), "{1, 2, 5, 13}");
    EXPECT_EQ(numbers(c.state().active), "{1, 2, 3, 5, 6, 8, 11, 13}");
}

TEST(InterpreterFactoryProgram, UpperSwitchStopsThePumpAndTheLamp) {
    Controller c;
    c.cycle(bits({5}), kNoCounts);
    c.cycle(0, kNoCounts);
    c.cycle(bits({6}), kNoCounts);
    EXPECT_EQ(numbers(c.state().outputs), "{3}");
    EXPECT_EQ(numbers(c.state().flags), "{1, 2, 5, 6, 8}");
}

TEST(InterpreterFactoryProgram, ManometerTripsTheAccidentAndStopsThePump) {
    Controller c;
    c.cycle(bits({5}), kNoCounts);
    c.cycle(bits({4}), kNoCounts);
    // Operator 3 closes output 5; 11 sees it and 12 opens the pump, 13 the lamp.
    EXPECT_EQ(numbers(c.state().outputs), "{3, 5}");
    c.cycle(bits({4}), kNoCounts);
    // Operator 1 now sees the accident and puts the green lamp out.
    EXPECT_EQ(numbers(c.state().outputs), "{5}");
}

}  // namespace
}  // namespace vk41
