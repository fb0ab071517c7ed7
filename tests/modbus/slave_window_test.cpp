// Every request of the Modbus window's catalogue, answered by the slave, is
// byte for byte the answer the window shows with "Привязано к алгоритму" at
// the same plant state, and in each fixed situation: data, an echo or an
// exception, CRC included.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "catalogue.h"
#include "modbus/controller_image.h"
#include "modbus/crc_steps.h"
#include "modbus/slave_protocol.h"
#include "modbus_fixture.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

// The options Branch(1) to Branch(3).
constexpr std::array<Situation, 3> kSituations = {Situation::TankFull, Situation::Filling,
                                                  Situation::Accident};

class SlaveAndWindow : public testing::ModbusTest {
  protected:
    std::vector<std::uint8_t> cells(const char* row, int first, int last) {
        std::vector<std::uint8_t> bytes;
        for (int i = first; i <= last; ++i)
            bytes.push_back(static_cast<std::uint8_t>(textToNumber(c(row, i).caption())));
        return bytes;
    }

    void ask(const testing::CatalogueRequest& r) {
        select("Count_Length", r.kind);
        for (const auto& [combo, text] : r.combos) type(combo, text);
        tick();
    }

    // What the controller holds for the source chosen: the plant, or a
    // situation with the counter's self-running value where it fixes no count.
    ControllerImage imageOf(int branch) {
        if (branch == 0) return readController(driver.app());
        return situationImage(kSituations[static_cast<std::size_t>(branch - 1)],
                              textToNumber(c("Countr").caption()));
    }

    // The whole answer frame as the slave sends it: address, PDU, CRC low byte first.
    std::vector<std::uint8_t> slaveFrame(const slave::Reply& reply) {
        std::vector<std::uint8_t> frame = {cells("Aa", 0, 0)[0]};
        frame.insert(frame.end(), reply.pdu.begin(), reply.pdu.end());
        const std::uint16_t crc = crcResult(crcSteps(frame));
        frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        frame.push_back(static_cast<std::uint8_t>(crc >> 8));
        return frame;
    }

    // At this plant state, every catalogue request, those past the map too.
    void compareEveryRequest(const std::string& state, int branch = 0) {
        select("Branch", branch);
        std::vector<testing::CatalogueRequest> all = testing::catalogue();
        for (const testing::CatalogueRequest& r : testing::pastTheMap()) all.push_back(r);
        for (const testing::CatalogueRequest& r : all) {
            ask(r);
            const auto request = cells("Qq", 1, 5);
            const auto reply = slave::answer(request, imageOf(branch));
            ASSERT_TRUE(reply) << state;
            EXPECT_EQ(slave::hex(slaveFrame(*reply)),
                      slave::hex(cells("Aa", 0, window().Ans_Len + 1)))
                << state << ": " << reply->meaning;
            if (HasFailure()) return;
        }
    }

    void runTo(int ms) { driver.scheduler().advanceBy(ms - driver.scheduler().now()); }
    void stop() {
        driver.app().form("Objectt").click(driver.app().form("Objectt").control("Vis", 1));
    }
};

TEST_F(SlaveAndWindow, AnswerEveryCatalogueRequestAlikeThroughADemonstration) {
    compareEveryRequest("before the start");
    Form& scheme = driver.app().form("Objectt");
    scheme.click(scheme.control("Radix", 2));
    scheme.click(scheme.control("Vis", 0));
    // Filling, tank full and draining, filling again, the accident, the dry tank.
    for (int at : {5000, 75000, 95000, 130000, 190000, 205000}) {
        runTo(at);
        stop();
        compareEveryRequest("at " + std::to_string(at) + " ms");
        scheme.click(scheme.control("Vis", 0));
    }
}

TEST_F(SlaveAndWindow, AnswerEveryCatalogueRequestAlikeInTheFixedSituations) {
    for (int branch = 1; branch <= 3; ++branch)
        compareEveryRequest("situation " + std::to_string(branch), branch);
}

// The flags end at 32: a read past them is refused with exception 02, and the
// window shows that frame, its code explained, and no flag strip.
TEST_F(SlaveAndWindow, FlagsPastThirtyTwoAnswerTheExceptionFrame) {
    for (int branch = 0; branch <= 3; ++branch) {
        select("Branch", branch);
        for (const testing::CatalogueRequest& r : testing::pastTheMap()) {
            if (r.kind != 9) continue;
            ask(r);
            const std::string which = "Branch(" + std::to_string(branch) + "), from " +
                                      r.combos[0].second + ", count " + r.combos[1].second;
            EXPECT_EQ(row("Aa", 1, 2), (testing::Bytes{"129", "2"})) << which;
            EXPECT_EQ(window().Ans_Len, 3) << which;
            for (int i : {0, 1, 2, 10, 11}) EXPECT_TRUE(c("Ans", i).visible()) << which << " " << i;
            for (int i = 3; i <= 9; ++i) EXPECT_FALSE(c("Ans", i).visible()) << which << " " << i;
            EXPECT_EQ(c("Mask").caption(), "") << which;
            for (const char* heading : ModBFrm::kFlagNumberLabels)
                EXPECT_FALSE(c(heading).visible()) << which << " " << heading;
            EXPECT_EQ(c("Метка1", 8).caption(), "    Код исключения") << which;
            const Control& code = c("Ans", 2);
            const std::string tip = window().toolTipAt(code.windowLeft() + code.width() / 2,
                                                       code.windowTop() + code.height() / 2);
            EXPECT_NE(tip.find("исключение 02: адрес вне карты памяти — флаги условий занимают "
                               "адреса 32–63"),
                      std::string::npos)
                << which << ":\n"
                << tip;
            if (HasFailure()) return;
        }
    }
}

TEST_F(SlaveAndWindow, TheArbitraryNumberPastTheFlagsKeepsItsBitAnswer) {
    select("Branch", 4);
    ask({9, {{5, "56"}, {6, "32"}}});
    EXPECT_EQ(row("Aa", 1, 2), (testing::Bytes{"1", "4"}));
    EXPECT_EQ(window().Ans_Len, 7);
}

// The answer to a write is shown: the controller's outputs and the plant are
// left as they are.
TEST_F(SlaveAndWindow, AWriteIsAnsweredNeverCarriedOut) {
    select("Branch", 0);
    Form& scheme = driver.app().form("Objectt");
    const int loads = scheme.loads();
    ask({6, {{4, "1"}, {9, "1"}}});
    EXPECT_EQ(row("Aa", 1, 5), (testing::Bytes{"5", "0", "0", "255", "0"}));
    EXPECT_EQ(readController(driver.app()).outputs & 1u, 0u) << "output 1 was switched on";
    ask({7, {}});
    EXPECT_EQ(row("Aa", 1, 5), (testing::Bytes{"6", "234", "96", "170", "85"}));
    ask({8, {}});
    EXPECT_EQ(scheme.loads(), loads) << "the scheme was restarted";
}

}  // namespace
}  // namespace vk41
