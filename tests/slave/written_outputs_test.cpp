// A master's write of an output (function 5): the controller sets it, its
// LED on the scheme shows it, a read answers it; the program drives its own
// outputs again at its next cycle, and the others keep the write until a
// restart. Register 60000's two commands restart alike.
#include <algorithm>
#include <initializer_list>

#include "bus_fixture.h"
#include "plant/leds.h"
#include "plant/terminals.h"

namespace vk41 {
namespace {

class WrittenOutputs : public testing::BusTest {
  protected:
    void SetUp() override {
        serveTcp();
        master = tcpMaster();
    }

    // Output k as a master reads it.
    int readOutput(int k) {
        std::uint8_t outputs[8] = {};
        if (onBus([&] { return modbus_read_bits(master.get(), 0, 8, outputs); }) != 8) return -1;
        return outputs[k - 1];
    }
    bool write(int k, bool on) {
        return onBus([&] { return modbus_write_bit(master.get(), k - 1, on ? 1 : 0); }) == 1;
    }
    bool ledLit(int k) { return outputLed(window("Objectt"), k)->fillColor() == kLit; }
    bool logSays(const std::string& text) const {
        return std::any_of(log.begin(), log.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }
    void run() {
        Form& scheme = window("Objectt");
        scheme.click(scheme.control("Radix", 2));
        scheme.click(scheme.control("Vis", 0));
    }

    Master master{nullptr, nullptr};
};

TEST_F(WrittenOutputs, AnOutputTheProgramNeverDrivesKeepsTheWriteUntilARestart) {
    for (int k : {1, 2}) {
        ASSERT_EQ(readOutput(k), 0) << "output " << k;
        ASSERT_TRUE(write(k, true)) << "output " << k;
        EXPECT_TRUE(ledLit(k)) << "output " << k;
        EXPECT_EQ(readOutput(k), 1) << "output " << k;
    }
    EXPECT_TRUE(logSays("FC5 выход 1 ← вкл; программа выход не использует"));
    run();
    driver.scheduler().advanceBy(20000);
    EXPECT_EQ(readOutput(1), 1) << "the running program cleared output 1";
    EXPECT_EQ(readOutput(2), 1) << "the running program cleared output 2";
    ASSERT_TRUE(write(2, false));
    EXPECT_EQ(readOutput(2), 0);
    EXPECT_FALSE(ledLit(2));
    ASSERT_EQ(onBus([&] { return modbus_write_register(master.get(), 60000, 0xAA55); }), 1);
    EXPECT_EQ(readOutput(1), 0) << "a restart leaves output 1 as written";
    EXPECT_FALSE(ledLit(1));
}

TEST_F(WrittenOutputs, AnOutputTheProgramDrivesShowsTheWriteUntilItsNextCycle) {
    run();
    driver.scheduler().advanceBy(5000);  // the pump runs: outputs 4 and 6 closed
    for (int k : {4, 6}) {
        const int driven = readOutput(k);
        ASSERT_EQ(driven, 1) << "output " << k;
        ASSERT_TRUE(write(k, false)) << "output " << k;
        EXPECT_FALSE(ledLit(k)) << "output " << k;
        EXPECT_EQ(readOutput(k), 0) << "output " << k;
        driver.scheduler().advanceBy(100);  // one cycle of the program
        EXPECT_EQ(readOutput(k), driven) << "output " << k << " is not driven again";
        EXPECT_TRUE(ledLit(k)) << "output " << k;
    }
    EXPECT_TRUE(logSays(
        "FC5 выход 4 ← выкл; программа контроллера перезапишет выход в следующем цикле → эхо"));
}

TEST_F(WrittenOutputs, TheSwitchToKvartaRestartsAsTheRestartDoesAndSaysSo) {
    Form& scheme = window("Objectt");
    for (const std::uint16_t command : std::initializer_list<std::uint16_t>{0xAA55, 0x55AA}) {
        run();
        driver.scheduler().advanceBy(60000);
        ASSERT_NE(scheme.control("Itog").caption(), "0");
        EXPECT_EQ(onBus([&] { return modbus_write_register(master.get(), 60000, command); }), 1);
        EXPECT_EQ(scheme.control("Itog").caption(), "0") << std::hex << command;
        EXPECT_EQ(scheme.control("Time").caption(), "0") << std::hex << command;
    }
    EXPECT_TRUE(
        logSays("FC6 регистр 60000 ← 55AA (переход на «Кварта» не моделируется: "
                "контроллер перезапущен и остаётся на ModBus) → эхо"))
        << log.back();
}

}  // namespace
}  // namespace vk41
