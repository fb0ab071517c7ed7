// Every request of the Modbus window's catalogue, answered by the slave, is
// byte for byte the answer the window shows with "Привязано к алгоритму" at
// the same plant state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue.h"
#include "modbus/controller_image.h"
#include "modbus/slave_protocol.h"
#include "modbus_fixture.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

class SlaveAndWindow : public testing::ModbusTest {
  protected:
    std::vector<std::uint8_t> cells(const char* row, int first, int last) {
        std::vector<std::uint8_t> bytes;
        for (int i = first; i <= last; ++i)
            bytes.push_back(static_cast<std::uint8_t>(textToNumber(c(row, i).caption())));
        return bytes;
    }

    // At this plant state, every catalogue request.
    void compareEveryRequest(const std::string& state) {
        select("Branch", 0);
        for (const testing::CatalogueRequest& r : testing::catalogue()) {
            select("Count_Length", r.kind);
            for (const auto& [combo, text] : r.combos) type(combo, text);
            tick();
            const auto request = cells("Qq", 1, 5);
            const auto reply = slave::answer(request, readController(driver.app()));
            ASSERT_TRUE(reply) << state;
            EXPECT_EQ(slave::hex(reply->pdu), slave::hex(cells("Aa", 1, window().Ans_Len - 1)))
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

}  // namespace
}  // namespace vk41
