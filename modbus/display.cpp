// Showing both frames byte by byte, and the answer's layout, headings,
// pictures and condition-flag headings for each request kind.
#include <array>

#include "modbus/modb_frm.h"
#include "modbus/request_catalogue.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

using K = RequestKind;

// The headings the answer step sets; nullptr leaves a heading as it is.
struct AnswerHeadings {
    RequestKind kind;
    const char* second;  // Метка1(4), over the request's second field
    const char* third;   // Метка1(8), over the answer's third byte
};
constexpr const char* kByteCountHeading = "    Количество байт";
// Over an exception's third byte, its code.
constexpr const char* kExceptionHeading = "    Код исключения";
// clang-format off
constexpr std::array<AnswerHeadings, 8> kHeadings = {{
    {K::CounterLow,    nullptr,                 nullptr},
    {K::CounterAll,    nullptr,                 nullptr},
    {K::Inputs,        "   Количество входов",  "    Количество байт"},
    {K::Outputs,       "   Количество вЫходов", "    Количество байт"},
    {K::WriteOutput,   nullptr,                 "   Начальный адрес"},
    {K::Restart,       nullptr,                 "    Начальный адрес"},
    {K::KvartaRestart, nullptr,                 "    Начальный адрес"},
    {K::Flags,         nullptr,                 "    Количество байт"},
}};
// clang-format on
static_assert(inKindOrder(kHeadings));

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

// The answer's bytes before its CRC are shown; Ans(Ans_Len), which repeats
// the CRC's low byte, and the cells past it are hidden. Every answer but an
// exception has a fourth byte.
void ModBFrm::setAnswerVisibility() {
    for (int i = 3; i <= 9; ++i) control("Ans", i).setVisible(i < Ans_Len);
}

void ModBFrm::layOutAnswer(const Request* r) {
    if (r) placeFirstDataBytes(*r);
    for (int k = 5; k <= 9; ++k) {
        const Control& before = control("Ans", k - 1);
        control("Ans", k).setLeft(before.left() + before.width());
    }
}

// Ans(3) and Ans(4) per kind; where they are not placed they stay where the
// previous kind left them.
void ModBFrm::placeFirstDataBytes(const Request& r) {
    const Control& reper = control("ReperAns");
    Control& third = control("Ans", 3);
    Control& fourth = control("Ans", 4);
    switch (r.kind) {
        case K::CounterLow:
        case K::CounterAll:
        case K::Flags:
            third.setLeft(reper.x2());
            fourth.setLeft(third.left() + third.width());
            break;
        case K::WriteOutput:
            third.setLeft(reper.x1());
            break;
        case K::Restart:
        case K::KvartaRestart:
            third.setLeft(reper.x1());
            fourth.setLeft(reper.x2());
            break;
        case K::Inputs:
        case K::Outputs:
            break;
    }
}

void ModBFrm::answerHeadings(const Request& r) {
    const AnswerHeadings& h = rowOf(kHeadings, r.kind);
    if (h.second) control("Метка1", 4).setCaption(h.second);
    Control& third = control("Метка1", 8);
    if (answersException())
        third.setCaption(kExceptionHeading);
    else if (h.third)
        third.setCaption(h.third);
    else if (third.caption() == kExceptionHeading)
        // A counter's answer leaves the heading, but not over its byte count.
        third.setCaption(kByteCountHeading);
}

// The configuration program's list of the area read or written, and the two
// fixed situations of the plant's bits: a counter has none, a write leaves them.
void ModBFrm::answerPictures(const Request& r) {
    control("Inputs").setVisible(r.area == memory_map::kInputs);
    control("Outputs").setVisible(r.area == memory_map::kOutputs);
    if (r.answer == AnswerShape::Echo) return;
    const bool plantStates = r.answer != AnswerShape::Counter;
    control("Branch", 1).setVisible(plantStates);
    control("Branch", 2).setVisible(plantStates);
}

// The flag-number headings over the bytes of the strip.
void ModBFrm::flagHeadings(const Request& r) {
    const int n = dataByteCount();
    std::array<bool, 4> shown{};
    switch (r.kind) {
        case K::Flags:
            for (int k = 0; k < 4; ++k) shown[static_cast<std::size_t>(k)] = k < n;
            break;
        case K::Inputs:
            shown = {false, false, n >= 2, n == 4};
            break;
        case K::Outputs:
            break;
        default:
            return;
    }
    for (std::size_t k = 0; k < kFlagNumberLabels.size(); ++k)
        control(kFlagNumberLabels[k]).setVisible(shown[k]);
}

}  // namespace vk41
