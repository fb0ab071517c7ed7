#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "plant/objectt.h"
#include "tools/script_driver.h"

namespace vk41::testing {

// The program as the driver starts it, with the scheme window opened.
class SchemeTest : public ::testing::Test {
  protected:
    SchemeTest() { driver.app().open("Objectt"); }

    Objectt& scheme() { return driver.app().form<Objectt>("Objectt"); }
    Control& c(const char* name, int index = -1) { return scheme().control(name, index); }
    // Runs driver lines and returns what they printed.
    std::string run(const std::string& lines) {
        std::istringstream in(lines);
        std::ostringstream err;
        out.str("");
        EXPECT_EQ(driver.run(in, err), 0) << err.str();
        return out.str();
    }

    std::ostringstream out;
    ScriptDriver driver{out};
};

inline double distance(double x1, double y1, double x2, double y2) {
    return std::hypot(x2 - x1, y2 - y1);
}

}  // namespace vk41::testing
