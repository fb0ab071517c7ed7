#include "ui/process_status.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "tools/script_driver.h"

namespace vk41 {
namespace {

class ProcessStatusTest : public ::testing::Test {
  protected:
    Control& label() { return driver.app().form("ModB_Frm").control("Status_Lab"); }

    std::ostringstream out;
    ScriptDriver driver{out};
};

TEST_F(ProcessStatusTest, ReadingCreatesTheModbusWindowHiddenWithNoStatusYet) {
    ASSERT_FALSE(driver.app().existing("ModB_Frm"));
    EXPECT_EQ(processStatusCode(driver.app()), 497);
    EXPECT_EQ(processStatus(driver.app()), std::nullopt);
    ASSERT_TRUE(driver.app().existing("ModB_Frm"));
    EXPECT_FALSE(driver.app().form("ModB_Frm").visible());
}

// The windows and the scripts read the caption: one digit per status.
TEST_F(ProcessStatusTest, WritingCreatesTheModbusWindowHiddenAndSetsTheDigit) {
    writeProcessStatus(driver.app(), ProcessStatus::TankDry);
    ASSERT_TRUE(driver.app().existing("ModB_Frm"));
    EXPECT_FALSE(driver.app().form("ModB_Frm").visible());
    EXPECT_EQ(label().caption(), "4");
}

// A caption is read by its leading number, as every number a window keeps as
// text: "02" and "2 " are the pump switched off, a fraction is no status.
TEST_F(ProcessStatusTest, IsReadByTheCaptionsLeadingNumber) {
    const struct {
        const char* caption;
        double code;
        std::optional<ProcessStatus> status;
    } cases[] = {{"02", 2, ProcessStatus::PumpOff},
                 {"3abc", 3, ProcessStatus::Accident},
                 {" 1", 1, ProcessStatus::PumpOn},
                 {"2.5", 2.5, std::nullopt},
                 {"0", 0, std::nullopt},
                 {"", 0, std::nullopt},
                 {"x", 0, std::nullopt}};
    for (const auto& c : cases) {
        label().setCaption(c.caption);
        EXPECT_EQ(processStatusCode(driver.app()), c.code) << '"' << c.caption << '"';
        EXPECT_EQ(processStatus(driver.app()), c.status) << '"' << c.caption << '"';
    }
}

}  // namespace
}  // namespace vk41
