#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "conditions/controller.h"
#include "plant/objectt.h"
#include "tools/script_driver.h"

namespace vk41::testing {

// The scheme in "Работа по программе", running with the valve open two
// steps, so that the tank fills and drains again and again, with the
// conditions block open.
class RunningProgram : public ::testing::Test {
  protected:
    RunningProgram() {
        driver.execute("menu Texttt Имитация");
        driver.execute("menu Objectt Блок Условий");
        driver.execute("click Objectt.Radix(3)");
        driver.execute("click Objectt.Hand_Upp");
        driver.execute("click Objectt.Hand_Upp");
        driver.execute("click Objectt.Vis(0)");
    }

    Objectt& scheme() { return driver.app().form<Objectt>("Objectt"); }
    const ControllerState& cycle() { return scheme().controller().state(); }

    std::ostringstream out;
    ScriptDriver driver{out};
};

}  // namespace vk41::testing
