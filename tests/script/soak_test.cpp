// Fifty whole demonstrations back to back, with every window opened, closed
// and opened again between them: nothing may drift.
#include <gtest/gtest.h>

#include <malloc.h>

#include <sstream>

#include "tools/script_driver.h"

namespace vk41 {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapMeasurable = false;  // the sanitizer keeps freed memory aside
#else
constexpr bool kHeapMeasurable = true;
#endif

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

std::size_t controlCount(App& app) {
    std::size_t n = 0;
    for (const std::string& name : app.formNames())
        if (Form* f = app.existing(name)) n += f->controls().size();
    return n;
}

TEST(Soak, FiftyDemonstrationsLeaveNothingBehind) {
    std::ostringstream out, err;
    ScriptDriver driver(out);
    const auto run = [&](const std::string& lines) {
        std::istringstream in(lines);
        ASSERT_EQ(driver.run(in, err), 0) << err.str();
    };
    run("menu Texttt Имитация\nmenu Objectt Блок Условий\nmenu Objectt ModBus\n"
        "menu Objectt Блок Условий\n");
    std::size_t controls = 0, heap = 0;
    for (int round = 0; round < 50; ++round) {
        run("click Objectt.Radix(0)\nclick Objectt.Vis(0)\nrun 264100\n");
        Form& scheme = driver.app().form("Objectt");
        ASSERT_EQ(scheme.control("Time").caption(), "0") << "round " << round;
        ASSERT_TRUE(scheme.control("Vis", 0).enabled()) << "round " << round;
        ASSERT_TRUE(scheme.control("Radix", 1).value()) << "round " << round;
        ASSERT_EQ(scheme.control("Itog").caption(), "0") << "round " << round;
        ASSERT_FALSE(scheme.control("Часы2").enabled()) << "round " << round;
        run("close Bl_Usl\nclose ModB_Frm\nmenu Objectt ModBus\nmenu Objectt Блок Условий\nrun "
            "300\n");
        if (round == 0) {
            controls = controlCount(driver.app());
            heap = heapInUse();
            continue;
        }
        ASSERT_EQ(controlCount(driver.app()), controls) << "round " << round;
        // A little slack for the allocator's own bookkeeping, none for growth.
        if (kHeapMeasurable) {
            ASSERT_LE(heapInUse(), heap + 64 * 1024) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace vk41
