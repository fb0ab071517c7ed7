// The catalogue's rows against what they must agree with: the controller's
// memory map and the Modbus window's design.
#include "modbus/request_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "modbus_fixture.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

namespace mm = memory_map;

// How often each index of a control array occurs in the window's design.
std::map<int, int> designIndices(const char* name) {
    std::map<int, int> indices;
    for (const ControlDesign& c : ModBFrm::layout().controls)
        if (c.name == name) ++indices[c.index];
    return indices;
}

TEST(RequestCatalogue, HasOneRowForEachOptionOfTheWindow) {
    std::map<int, int> rows;
    for (const Request& r : requestCatalogue()) ++rows[r.option];
    EXPECT_EQ(rows, designIndices("Count_Length"));
}

// Each kind shows its own combos and hides the rest, so every parameter combo
// of the design belongs to exactly one kind.
TEST(RequestCatalogue, GivesEveryParameterComboToOneKind) {
    std::map<int, int> owners;
    for (const Request& r : requestCatalogue())
        for (int combo : r.combos)
            if (combo != kNoCombo) ++owners[combo];
    EXPECT_EQ(owners, designIndices("Комбо1"));
}

class CatalogueRow : public testing::ModbusTest, public ::testing::WithParamInterface<Request> {};

// With the design's first list entries, every request reaches the first item
// of its area: counter 1, input 1, output 1, flag 1, the command register.
TEST_P(CatalogueRow, SendsItsAreasFunctionToTheAreasFirstAddress) {
    const Request& r = GetParam();
    const mm::Area& area = mm::area(r.area);
    EXPECT_TRUE(r.function == area.read || r.function == area.write) << area.what;
    EXPECT_EQ(baseAddress(r), area.first);

    select("Count_Length", r.option);
    tick();
    const auto byte = [this](int cell) { return toInt32(textToNumber(c("Qq", cell).caption())); };
    EXPECT_EQ(byte(1), r.function);
    EXPECT_EQ(byte(2) * 256 + byte(3), area.first) << area.what;
}

INSTANTIATE_TEST_SUITE_P(Kinds, CatalogueRow, ::testing::ValuesIn(requestCatalogue()),
                         [](const auto& p) { return "Option" + std::to_string(p.param.option); });

}  // namespace
}  // namespace vk41
