#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "modbus/modb_frm.h"
#include "tools/script_driver.h"

namespace vk41::testing {

// The Modbus window as the scheme window's menu opens it.
class ModbusTest : public ::testing::Test {
  protected:
    ModbusTest() {
        driver.app().open("Objectt");
        driver.app().open("ModB_Frm");
    }

    ModBFrm& window() { return driver.app().form<ModBFrm>("ModB_Frm"); }
    Control& c(const char* name, int index = -1) { return window().control(name, index); }
    void tick() { window().fireTimer(c("Часы1")); }
    void select(const char* option, int index = -1) { c(option, index).setValue(true); }
    void type(int combo, const std::string& text) { window().typeText(c("Комбо1", combo), text); }

    // The captions of cells first..last of a label array.
    std::vector<std::string> row(const char* name, int first, int last) {
        std::vector<std::string> cells;
        for (int i = first; i <= last; ++i) cells.push_back(c(name, i).caption());
        return cells;
    }

    std::ostringstream out;
    ScriptDriver driver{out};
};

using Bytes = std::vector<std::string>;

}  // namespace vk41::testing
