// The request catalogue: the request frame of each kind and the controls
// that go with it.
#include <array>
#include <map>
#include <vector>

#include "modbus/modb_frm.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

// The register of counter 1, 2, 3 or 4: 42222 + 3 (n - 1), low byte.
const std::map<std::string, const char*> kCounterRegisters = {
    {"1", "238"}, {"2", "241"}, {"3", "244"}, {"4", "247"}};

// Each kind's own combos.
const std::map<int, std::vector<int>> kKindCombos = {
    {0, {0}}, {1, {1}}, {2, {10, 11}}, {3, {7, 8}}, {6, {4, 9}}, {7, {}}, {8, {}}, {9, {5, 6}}};
constexpr std::array<int, 10> kAllCombos = {0, 1, 4, 5, 6, 7, 8, 9, 10, 11};

// Visibility per kind 0, 1, 2, 3, 6, 7, 8, 9: 'V' shown, 'H' hidden, '-' unchanged.
struct KindVisibility {
    const char* control;
    const char* states;
};
constexpr std::array<KindVisibility, 13> kVisibility = {{
    {"Commn", "VVHHHHHH"},
    {"ConfCount", "VVHHHHHH"},
    {"CountPict", "VVHHHHHH"},
    {"Comonnnn", "HHVVVHHV"},
    {"AdrInputs", "HHVHHHH-"},
    {"AdrOuts", "HHHVVHHH"},
    {"Inputs", "HH-HHHHH"},
    {"Outputs", "HH-VVHHH"},
    {"Restart", "HHHHHVVH"},
    {"Cond_Fr", "VVVVHHHV"},
    {"Cond_Lab", "HHHHHHHV"},
    {"Mask", "HHHHHHHV"},
    {"Cond_N_Lab_L", "HHHHHHHV"},
}};
constexpr std::array<const char*, 3> kOtherFlagNumbers = {"Cond_N_Lab_Ml", "Cond_N_Lab_Mh",
                                                          "Cond_N_Lab_H"};

struct KindCaptions {
    const char* frame;   // Cond_Fr, nullptr: unchanged
    const char* second;  // Метка1(4)
};
const std::map<int, KindCaptions> kCaptions = {
    {0, {"4 байта счетчика", "Количество регистров"}},
    {1, {"6 байт счетчика", "Количество регистров"}},
    {2, {"дискретные входы", "    Количество входов"}},
    {3, {"дискретные вЫходы", "    Количество вЫходов"}},
    {6, {nullptr, "          Данные    "}},
    {7, {nullptr, "            Данные"}},
    {8, {nullptr, "            Данные"}},
    {9, {"Флаги условий", "Количество флагов"}},
};

// The column of a kind in the visibility table.
int column(int kind) {
    static constexpr std::array<int, 8> kOrder = {0, 1, 2, 3, 6, 7, 8, 9};
    for (std::size_t i = 0; i < kOrder.size(); ++i)
        if (kOrder[i] == kind) return static_cast<int>(i);
    return -1;
}

}  // namespace

void ModBFrm::composeRequest(int kind) {
    const auto set = [this](int cell, const std::string& text) {
        control("Qq", cell).setCaption(text);
    };
    const auto comboNumber = [this](int i) { return textToNumber(control("Комбо1", i).text()); };
    switch (kind) {
        case 0:
        case 1: {
            set(1, "3");
            set(2, "164");
            const auto reg = kCounterRegisters.find(control("Комбо1", kind).text());
            if (reg != kCounterRegisters.end()) set(3, reg->second);
            set(4, "0");
            set(5, kind == 0 ? "2" : "3");
            break;
        }
        case 2:
            set(1, "2");
            set(2, "39");
            set(3, numberToText(comboNumber(10) - 10000 + 16));
            set(4, "0");
            set(5, numberToText(comboNumber(11)));
            break;
        case 3:
            set(1, "1");
            set(2, "0");
            set(3, numberToText(comboNumber(7)));
            set(4, "0");
            set(5, numberToText(comboNumber(8)));
            break;
        case 6:
            set(1, "5");
            set(2, "0");
            set(3, numberToText(comboNumber(4) - 1));
            set(4, control("Комбо1", 9).text() == "1" ? "255" : "0");
            set(5, "0");
            break;
        case 7:
        case 8:
            set(1, "6");
            set(2, "234");
            set(3, "96");
            set(4, kind == 7 ? "170" : "85");
            set(5, kind == 7 ? "85" : "170");
            break;
        case 9:
            set(1, "1");
            set(2, "0");
            set(3, control("Комбо1", 5).text());
            set(4, "0");
            set(5, control("Комбо1", 6).text());
            break;
        default:
            return;
    }
    showKindControls(kind);
    control("Qq", 0).setCaption(control("ContNum").text());
}

void ModBFrm::showKindControls(int kind) {
    const std::vector<int>& own = kKindCombos.at(kind);
    for (int combo : kAllCombos)
        control("Комбо1", combo).setVisible(std::find(own.begin(), own.end(), combo) != own.end());
    const int col = column(kind);
    for (const KindVisibility& row : kVisibility) {
        const char state = row.states[col];
        if (state != '-') control(row.control).setVisible(state == 'V');
    }
    for (const char* label : kOtherFlagNumbers) control(label).setVisible(kind == 9);

    const KindCaptions& captions = kCaptions.at(kind);
    if (captions.frame) control("Cond_Fr").setCaption(captions.frame);
    control("Метка1", 4).setCaption(captions.second);
    if (kind == 9) control("Branch", 4).setCaption("Произвольное число от 0 до 65535");
}

}  // namespace vk41
