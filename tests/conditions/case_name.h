#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace vk41::testing {

// A parameterised case's name fit for the ctest list: the letters and digits
// of its `name`.
template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (char c : std::string(info.param.name))
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    return name;
}

}  // namespace vk41::testing
