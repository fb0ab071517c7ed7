// The catalogue's options stand on bands that tell one request from the next:
// as wide as one another, each beginning where the one above ends, grey and
// the frame's own colour in turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "modbus_fixture.h"
#include "ui/colour.h"

namespace vk41 {
namespace {

using testing::ModbusTest;

constexpr Colour kBandGrey = rgb(0xE0E0E0);

std::vector<const Control*> optionsTopDown(const Form& form) {
    std::vector<const Control*> options;
    for (const Control& c : form.controls())
        if (c.name() == "Count_Length") options.push_back(&c);
    std::ranges::sort(options, {}, &Control::top);
    return options;
}

TEST_F(ModbusTest, CatalogueOptionsStandOnEvenAlternatingBands) {
    const std::vector<const Control*> options = optionsTopDown(window());
    ASSERT_EQ(options.size(), 8u);
    const Colour frame = c("Request").backColor();
    for (std::size_t i = 0; i < options.size(); ++i) {
        const Control& option = *options[i];
        const std::string name = "Count_Length(" + std::to_string(option.index()) + ")";
        EXPECT_EQ(option.backColor().rgb, (i % 2 == 0 ? kBandGrey : frame).rgb)
            << name << std::hex << ": grey is " << kBandGrey.rgb << ", the frame " << frame.rgb;
        EXPECT_EQ(option.left(), options[0]->left()) << name;
        EXPECT_EQ(option.width(), options[0]->width()) << name;
        if (i == 0) continue;
        const Control& above = *options[i - 1];
        EXPECT_EQ(option.top(), above.top() + above.height())
            << name << " and the band above it, Count_Length(" << above.index() << ")";
    }
}

}  // namespace
}  // namespace vk41
