// The controller's inputs as the scheme draws them: each is read off its
// contact, the manometer's relay as much as the limit switches.
#include <gtest/gtest.h>

#include "plant/terminals.h"
#include "scheme_fixture.h"

namespace vk41 {
namespace {

using testing::SchemeTest;

constexpr std::uint32_t kManometerInput = 1u << (terminal::kManometer - 1);

TEST_F(SchemeTest, InputFourIsOpenWhileTheManometerContactIsOnItsClosedSide) {
    EXPECT_EQ(plantInputs(scheme()) & kManometerInput, 0u);
}

TEST_F(SchemeTest, InputFourIsClosedWhileTheManometerContactTouchesNo) {
    c("Kont_F_Com").setY1(c("Kont_F_NO").y2());
    EXPECT_EQ(plantInputs(scheme()) & kManometerInput, kManometerInput);
}

// The drawing is the one source: a count past the threshold that the alarm
// has not drawn yet leaves the input open.
TEST_F(SchemeTest, InputFourFollowsTheDrawnContactNotTheCount) {
    c("Itog").setCaption("36");
    EXPECT_EQ(plantInputs(scheme()) & kManometerInput, 0u);
    c("Kont_F_Com").setY1(c("Kont_F_NO").y2());
    c("Itog").setCaption("0");
    EXPECT_EQ(plantInputs(scheme()) & kManometerInput, kManometerInput);
}

}  // namespace
}  // namespace vk41
