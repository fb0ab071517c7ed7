// What the trainer shows of the program comes from the one program table and
// the controller's last cycle: the fixed situations, the flag meanings, the
// conditions block's markers, the Modbus answers and the driver's readings.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "case_name.h"
#include "conditions/controller.h"
#include "conditions/program_file.h"
#include "modbus/controller_image.h"
#include "modbus/memory_map.h"
#include "plant/objectt.h"
#include "program_print.h"
#include "running_program.h"
#include "tools/script_driver.h"
#include "tools/script_parse.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

struct SituationCase {
    const char* name;
    Situation situation;
};

class FixedSituation : public ::testing::TestWithParam<SituationCase> {};

// One cycle of the factory program on a situation's inputs, from its outputs
// and flags, gives back the same outputs and flags: the situation is a state
// the program holds.
TEST_P(FixedSituation, IsAFixedPointOfTheFactoryProgram) {
    const ControllerImage image = situationImage(GetParam().situation);
    ControllerState state;
    state.outputs = image.outputs;
    state.flags = image.flags;
    const auto count = static_cast<std::uint32_t>(image.flowCount);
    const ControllerState next = runCycle(factoryProgram(), state, image.inputs, {count, 0, 0, 0});
    EXPECT_EQ(next.outputs, image.outputs);
    EXPECT_EQ(next.flags, image.flags);
    EXPECT_EQ(next.active, image.active);
    EXPECT_NE(image.flags, 0u);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Situation, FixedSituation, ::testing::Values(
    SituationCase{"TankFull", Situation::TankFull},
    SituationCase{"Filling",  Situation::Filling},
    SituationCase{"Accident", Situation::Accident}),
    [](const auto& c) { return std::string(c.param.name); });
// clang-format on

TEST(FlagMeanings, FollowTheOperatorsOfTheFactoryProgram) {
    for (int k = 1; k <= kConditionFlags; ++k) {
        const char* meaning = memory_map::flagMeaning(k);
        if (k > kOperators || factoryProgram().at(k).kind == Comparison::None) {
            EXPECT_EQ(meaning, nullptr) << "flag " << k;
            continue;
        }
        ASSERT_NE(meaning, nullptr) << "flag " << k;
        const Operator& op = factoryProgram().at(k);
        const std::string text = meaning;
        if (op.dependsOn != 0) {
            EXPECT_NE(text.find("(условие " + std::to_string(op.dependsOn) + ")"),
                      std::string::npos)
                << "flag " << k << ": " << text;
        } else {
            const std::string terminal =
                (op.first.kind == OperandKind::Input ? "вход " : "выход ") +
                std::to_string(op.first.number);
            EXPECT_NE(text.find(terminal), std::string::npos) << "flag " << k << ": " << text;
        }
    }
}

// A program the trainer did not come with: operator 1 with a comment of the
// learner's, operator 2 without one, operator 4 still an empty row.
Program learnersProgram() {
    Program p = factoryProgram();
    p.at(1).comment = "штатный режим без аварии";
    p.at(2).comment = "";
    return p;
}

struct FlagNameCase {
    const char* name;
    Program (*program)();
    int flag;
    const char* text;
};

Program factory() {
    return factoryProgram();
}

// clang-format off
const FlagNameCase kFlagNames[] = {
    // name                 program            flag  text
    {"FactoryWiring",       &factory,           1,   "флаг 1 — авария не светится: выход 5 разомкнут"},
    {"FactoryDependent",    &factory,           9,   "флаг 9 — нижний уровень проверяется (условие 8)"},
    {"FactoryEmptyRow",     &factory,           4,   ""},
    {"FactoryPastTheRows",  &factory,          15,   ""},
    {"LearnerComment",      &learnersProgram,   1,   "флаг 1: условие оператора 1 — штатный режим без аварии"},
    {"LearnerNoComment",    &learnersProgram,   2,   "флаг 2: условие оператора 2"},
    {"LearnerKeptComment",  &learnersProgram,  11,   "флаг 11: условие оператора 11 — Проверяем собственный дискретный выход №5 (АВАРИЯ). Если он замкнут, то взводится флажок выполнения условия №11"},
    {"LearnerEmptyRow",     &learnersProgram,   4,   ""},
    {"LearnerPastTheRows",  &learnersProgram,  15,   ""},
    {"LearnerNoFlagZero",   &learnersProgram,   0,   ""},
};
// clang-format on

class FlagNames : public ::testing::TestWithParam<FlagNameCase> {};

// The factory program's flags say what they mean in the installation's
// wiring; a learner's are named by their operators and comments.
TEST_P(FlagNames, FollowTheLoadedProgram) {
    const FlagNameCase& c = GetParam();
    EXPECT_EQ(memory_map::flagName(c.program(), c.flag), c.text);
}

INSTANTIATE_TEST_SUITE_P(Programs, FlagNames, ::testing::ValuesIn(kFlagNames),
                         testing::caseName<FlagNameCase>);

class ProgramViews : public testing::RunningProgram {
  protected:
    Control& blUsl(const char* name, int index) {
        return driver.app().form("Bl_Usl").control(name, index);
    }
    std::string get(const std::string& path) {
        out.str("");
        driver.execute("get " + path);
        return out.str();
    }
};

// The markers of "Деморежим" show the flags and active operators of the
// controller's last cycle, on every tick, through filling, the full tank,
// draining and the accident.
TEST_F(ProgramViews, TheConditionsBlockShowsTheLastCycle) {
    int checked = 0;
    for (int n = 0; n < 6000; n += 7) {
        driver.execute("run 700");
        for (int k = 1; k <= kOperators; ++k) {
            Form& window = driver.app().form("Bl_Usl");
            if (Control* flag = window.find("Flag", k - 1)) {
                EXPECT_EQ(flag->visible(), bitOf(cycle().flags, k)) << "flag " << k << " at " << n;
                ++checked;
            }
            if (Control* bar = window.find("Usl", k - 1)) {
                EXPECT_EQ(bar->visible(), bitOf(cycle().active, k)) << "bar " << k << " at " << n;
            }
        }
    }
    EXPECT_GT(checked, 0);
    EXPECT_TRUE(bitOf(cycle().outputs, 5)) << "ten minutes at valve 2 reach the accident";
}

// The Modbus window's "Привязано к алгоритму" answers the flags of the
// controller's last cycle: the flags and the outputs of one answer agree.
TEST_F(ProgramViews, TheModbusWindowAnswersTheLastCycle) {
    driver.execute("menu Objectt ModBus");
    driver.execute("click ModB_Frm.Branch(0)");
    int unlikeTheStatus = 0;
    for (int n = 0; n < 2000; ++n) {
        driver.execute("run 300");
        Form& modbus = driver.app().form("ModB_Frm");
        // The design's request reads the flags 1..32 with function 1.
        EXPECT_EQ(textToNumber(modbus.control("Aa", 3).caption()), cycle().flags & 0xFF) << n;
        EXPECT_EQ(textToNumber(modbus.control("Aa", 4).caption()), cycle().flags >> 8 & 0xFF) << n;
        EXPECT_EQ(readController(driver.app()).outputs, cycle().outputs);
        const double status = textToNumber(modbus.control("Status_Lab").caption());
        if (flagsOfStatus(status) != cycle().flags) ++unlikeTheStatus;
    }
    // The cycle raises flags that no status stands for (3, 6, 9, 12 as
    // their checks hold), so the answers are the cycle's own.
    EXPECT_GT(unlikeTheStatus, 0);
}

TEST_F(ProgramViews, TheDriverPrintsTheCycleAndLoadsPrograms) {
    driver.execute("run 1000");
    EXPECT_EQ(get("Objectt.Ctl_Outputs"),
              "Objectt.Ctl_Outputs = " + std::to_string(cycle().outputs) + "\n");
    EXPECT_EQ(get("Objectt.Ctl_Flags"),
              "Objectt.Ctl_Flags = " + std::to_string(cycle().flags) + "\n");
    EXPECT_EQ(get("Objectt.Ctl_Active"),
              "Objectt.Ctl_Active = " + std::to_string(cycle().active) + "\n");
    EXPECT_EQ(get("Objectt.Ctl_Inputs"),
              "Objectt.Ctl_Inputs = " + std::to_string(cycle().inputs) + "\n");
    // Filling with the green lamp, the pump and the UV lamp: outputs 3, 4, 6.
    EXPECT_EQ(cycle().outputs, 0b10'1100u);

    char folder[] = "/tmp/vk41-program-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string good = std::string(folder) + "/good.tsv";
    const std::string bad = std::string(folder) + "/bad.tsv";
    Program learner = factoryProgram();
    learner.at(13) = {Comparison::Equal,
                      {OperandKind::Output, 4},
                      {OperandKind::Constant, 1},
                      0,
                      0,
                      0,
                      0,
                      "насос проверяется, лампа не трогается"};
    ASSERT_EQ(writeProgramFile(good, learner), "");
    std::ofstream(bad) << programText(factoryProgram())
                              .replace(programText(factoryProgram()).find("Self / 4"), 8,
                                       "Self / 200");

    driver.execute("program " + good);
    EXPECT_EQ(scheme().controller().program(), learner);
    try {
        driver.execute("program " + bad);
        ADD_FAILURE() << "a program that does not read is an error";
    } catch (const script::ScriptError& e) {
        EXPECT_NE(e.message.find("строка 4, столбец «Операнд 1»: «Self / 200»"), std::string::npos)
            << e.message;
    }
    EXPECT_EQ(scheme().controller().program(), learner) << "the loaded program stays";
    driver.execute("program factory");
    EXPECT_EQ(scheme().controller().program(), factoryProgram());
    unlink(good.c_str());
    unlink(bad.c_str());
    rmdir(folder);
}

}  // namespace
}  // namespace vk41
