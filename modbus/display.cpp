// Showing both frames byte by byte, and the answer's layout, headings,
// pictures and condition-flag headings for each request kind.
#include <array>
#include <map>

#include "modbus/modb_frm.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

const std::map<int, const char*> kThirdByteHeadings = {
    {2, "    Количество байт"}, {3, "    Количество байт"}, {6, "   Начальный адрес"},
    {7, "    Начальный адрес"}, {8, "    Начальный адрес"}, {9, "    Количество байт"}};
const std::map<int, const char*> kSecondFieldHeadings = {{2, "   Количество входов"},
                                                         {3, "   Количество вЫходов"}};

}  // namespace

// A byte as two upper-case hexadecimal digits, or in decimal with a leading
// "0" below 10.
void ModBFrm::showByte(Control& target, const std::string& decimal) {
    if (!control("Hex").value()) {
        target.setCaption(textToNumber(decimal) > 9 ? decimal : "0" + decimal);
        return;
    }
    Hex_Mode = true;
    target.setCaption("");
    Value num = decimal.empty() ? Value{decimal} : Value{textToNumber(decimal)};
    Redix_Recount(num);
    Control& high = control("Temp_H");
    Control& low = control("Temp_L");
    Hexer(high, Hi_Digit);
    Hexer(low, Lo_Digit);
    target.setCaption(high.caption() + low.caption());
}

void ModBFrm::showRequest() {
    for (int i = 0; i <= 5; ++i) showByte(control("Q", i), control("Qq", i).caption());
    showByte(control("Q", 6), control("C_Byte_L_Q").caption());
    showByte(control("Q", 7), control("C_Byte_H_Q").caption());
}

void ModBFrm::showAnswer() {
    for (int i = 0; i <= Ans_Len && i <= 11; ++i)
        showByte(control("Ans", i), control("Aa", i).caption());
    showByte(control("Ans", 11), control("C_Byte_H_A").caption());
    showByte(control("Ans", 10), control("C_Byte_L_A").caption());
    control("Ans", 10).setVisible(true);
    control("Ans", 11).setVisible(true);
}

// Which of Ans(4)..Ans(9) end the tick shown.
void ModBFrm::setAnswerVisibility(int kind) {
    int shown = 0;  // how many of Ans(4), Ans(5), ... are shown
    switch (kind) {
        case 0:
            shown = 3;
            break;
        case 1:
            shown = 5;
            break;
        case 2:
        case 3:
        case 9:
            shown = dataByteCount() - 1;
            break;
        case 6:
        case 7:
        case 8:
            shown = 2;
            break;
        default:
            return;
    }
    for (int i = 4; i <= 9; ++i) control("Ans", i).setVisible(i - 4 < shown);
}

void ModBFrm::layOutAnswer(int kind) {
    const Control& reper = control("ReperAns");
    Control& third = control("Ans", 3);
    Control& fourth = control("Ans", 4);
    if (kind == 0 || kind == 1 || kind == 9) {
        third.setLeft(reper.x2());
        fourth.setLeft(third.left() + third.width());
    } else if (kind == 7 || kind == 8) {
        third.setLeft(reper.x1());
        fourth.setLeft(reper.x2());
    }
    for (int k = 5; k <= 9; ++k) {
        const Control& before = control("Ans", k - 1);
        control("Ans", k).setLeft(before.left() + before.width());
    }
}

void ModBFrm::answerHeadings(int kind) {
    if (const auto it = kSecondFieldHeadings.find(kind); it != kSecondFieldHeadings.end())
        control("Метка1", 4).setCaption(it->second);
    if (const auto it = kThirdByteHeadings.find(kind); it != kThirdByteHeadings.end())
        control("Метка1", 8).setCaption(it->second);
}

void ModBFrm::answerPictures(int kind) {
    control("Inputs").setVisible(kind == 2);
    control("Outputs").setVisible(kind == 3 || kind == 6);
    const bool plantStates = kind == 2 || kind == 3 || kind == 9;
    if (kind == 0 || kind == 1 || plantStates) {
        control("Branch", 1).setVisible(plantStates);
        control("Branch", 2).setVisible(plantStates);
    }
}

// The flag-number headings over the bytes of the strip.
void ModBFrm::flagHeadings(int kind) {
    const int n = dataByteCount();
    std::array<bool, 4> shown{};
    if (kind == 9) {
        for (int k = 0; k < 4; ++k) shown[static_cast<std::size_t>(k)] = k < n;
    } else if (kind == 2) {
        shown = {false, false, n >= 2, n == 4};
    } else if (kind != 3) {
        return;
    }
    for (std::size_t k = 0; k < kFlagNumberLabels.size(); ++k)
        control(kFlagNumberLabels[k]).setVisible(shown[k]);
}

}  // namespace vk41
