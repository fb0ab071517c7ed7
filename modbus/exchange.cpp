// The exchange cycle: every 300 ms the request of the selected kind and the
// answer the controller would give now, both with their CRC.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "modbus/byte_text.h"
#include "modbus/controller_image.h"
#include "modbus/modb_frm.h"
#include "modbus/request_catalogue.h"
#include "modbus/slave_protocol.h"
#include "ui/app.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {

namespace {

constexpr const char* kZeroByte = "00000000";
// A read's count is the request's second field: bytes 4 and 5.
constexpr int kCountHigh = 4;

// Where the answer's data comes from: the options of `Branch`.
constexpr int kLinkedToProgram = 0;  // "Привязано к алгоритму": the running plant
constexpr int kArbitrary = 4;  // "Произвольное число": no data of the controller's
// Options 1 to 3 fix a situation, whatever the plant does.
constexpr std::array<Situation, 3> kSituations = {Situation::TankFull, Situation::Filling,
                                                  Situation::Accident};

// The arbitrary number is a whole number that fits two bytes.
constexpr double kMostArbitrary = 65535;
constexpr const char* kArbitraryHint = "целое число от 0 до 65535";
constexpr Colour kMarked = rgb(0xFF0000);

double number(const Control& c) {
    return textToNumber(c.kind() == ControlKind::Combo ? c.text() : c.caption());
}

// A byte's bits are most significant first; byte k + 1 of the data is Bits_B(k + 1).
std::string bitsOf(std::span<const std::uint8_t> data, std::size_t k) {
    return k < data.size() ? bitText(data[k]) : kZeroByte;
}

// The digits of a whole number, blanks around them allowed; nothing else.
std::optional<double> wholeNumber(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = text.find_last_not_of(' ');
    const std::string digits = text.substr(first, last - first + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return textToNumber(digits);
}

// A frame cell holds one byte. What was typed into a combo and copied into a
// frame keeps its form when it is a byte written in digits ("01" stays "01");
// anything else (a number beyond a byte, a sign, letters) is brought to the
// nearest byte, so no frame ever carries a corrupt cell.
void keepByte(Control& cell) {
    const std::string& text = cell.caption();
    const bool digits = !text.empty() && text.size() <= 3 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    if (digits && textToNumber(text) <= 255) return;
    const double value = std::clamp(roundHalfEven(textToNumber(text)), 0.0, 255.0);
    cell.setCaption(numberToText(value));
}

}  // namespace

void ModBFrm::keepBytes(const char* row, int count) {
    for (int i = 0; i < count; ++i) keepByte(control(row, i));
}

const Request* ModBFrm::selectedRequest() {
    for (const Request& r : requestCatalogue())
        if (control("Count_Length", r.option).value()) return &r;
    return nullptr;
}

void ModBFrm::exchangeTick() {
    const Request* selected = selectedRequest();
    if (selected) composeRequest(*selected);
    advanceCounter();
    if (control("Dec").value()) Hex_Mode = false;
    const std::string& address = control("ContNum").text();
    control("Qq", 0).setCaption(address);
    control("Aa", 0).setCaption(address);
    Req_Len = 6;
    keepBytes("Qq", Req_Len);
    control("Req_Len_L").setCaption(numberToText(Req_Len));
    CRC_Click();
    showRequest();
    control("Aa", 1).setCaption(control("Qq", 1).caption());
    if (selected) composeAnswer(*selected);
    keepBytes("Aa", Ans_Len);
    control("Req_Len_L").setCaption(numberToText(Ans_Len));
    CRC_ANSW_Click();
    showAnswer();
    layOutAnswer(selected);
}

// Counts by itself, one step every six ticks: 1, 2, ... 16, then from 3 again.
void ModBFrm::advanceCounter() {
    if (++Tick_Cnt >= 3) {
        Tick_Cnt = 0;
        ++Step_Cnt;
    }
    if (Step_Cnt < 2) return;
    Step_Cnt = 0;
    Control& counter = control("Countr");
    const double next = number(counter) + 1;
    counter.setCaption(next >= 17 ? "3" : numberToText(next));
}

int ModBFrm::dataSource() {
    for (int i = 0; i <= kArbitrary; ++i)
        if (control("Branch", i).value()) return i;
    return kLinkedToProgram;
}

// What the controller holds for the source chosen: the running plant, or a
// fixed situation. A situation that fixes no flow count answers the
// counter's self-running value.
ControllerImage ModBFrm::sourceImage() {
    const int source = dataSource();
    if (source < 1 || source > static_cast<int>(kSituations.size())) return readController(app());
    return situationImage(kSituations[static_cast<std::size_t>(source - 1)],
                          number(control("Countr")));
}

// The arbitrary number typed, when it is a whole number 0 to 65535; any
// other text marks the combo, and the answers keep the last number it held.
double ModBFrm::arbitraryNumber() {
    Control& combo = control("Cond_Val");
    const std::optional<double> typed = wholeNumber(combo.text());
    const bool valid = typed && *typed <= kMostArbitrary;
    const Props& design = combo.design().props;
    combo.setBackColor(valid ? design.backColor : kMarked);
    combo.setToolTip(valid ? design.toolTip : kArbitraryHint);
    if (valid) arbitrary_ = *typed;
    return arbitrary_;
}

// The arbitrary number's two bytes as the strings of items 1-8 and 9-16,
// aligned with the requested start.
void ModBFrm::arbitraryBits(const Request& r) {
    const double v = arbitraryNumber();
    const double high = std::trunc(toInt32(v) / 256.0);
    const auto bits = [this](double byte) {
        Value a = byte;
        int b[8];
        Convert_Int_To_Bin(a, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
        std::string text;
        for (int k = 7; k >= 0; --k) text += static_cast<char>('0' + b[k]);
        return text;
    };
    Bits_B1 = bits(v - 256 * high);
    Bits_B2 = bits(high);
    Bits_B3 = kZeroByte;
    Bits_B4 = kZeroByte;
    alignBits(r);
}

// Shifts the 32-bit chain right so that item 1 is the requested first one.
void ModBFrm::alignBits(const Request& r) {
    const double start = number(control("Комбо1", r.combos[0]));
    Shift_N = toInt16(start - baseAddress(r));
    // Past 32 shifts the chain holds only zeros; more steps change nothing.
    Shift_N = std::min<std::int16_t>(Shift_N, 32);
    for (; Shift_N > 0; --Shift_N) {
        std::string out4, out3, out2, dropped;
        int k = 1;
        String_Shift(k, Bits_B4, "0", out4);
        k = 1;
        String_Shift(k, Bits_B3, out4, out3);
        k = 1;
        String_Shift(k, Bits_B2, out3, out2);
        k = 1;
        String_Shift(k, Bits_B1, out2, dropped);
    }
}

// How many data bytes the requested items take, and the valid bits of each.
void ModBFrm::byteCount(const Request& r) {
    double count = number(control("Комбо1", r.combos[1]));
    // A count above 32 has no byte count of its own: it reads as all 32.
    count = std::min(count, 32.0);
    int n = 1;
    if (count >= 1) n = static_cast<int>(std::ceil(count / 8));
    const int lastValid = count >= 1 ? toInt32(count - 8 * (n - 1)) : 8;
    int* valid[] = {&Valid_B1, &Valid_B2, &Valid_B3, &Valid_B4};
    for (int k = 1; k <= 4; ++k) *valid[k - 1] = k < n ? 8 : k == n ? lastValid : 0;
    control("Aa", 2).setCaption(numberToText(n));
    Ans_Len = 3 + n;
}

int ModBFrm::dataByteCount() {
    return Ans_Len - 3;
}

void ModBFrm::dataBytes() {
    const std::string* bits[] = {&Bits_B1, &Bits_B2, &Bits_B3, &Bits_B4};
    const int valid[] = {Valid_B1, Valid_B2, Valid_B3, Valid_B4};
    std::string mask;
    for (int k = 1; k <= 4; ++k) {
        std::string y;
        Byte_Masker(*bits[k - 1], valid[k - 1], y);
        double value = 0;
        String_Bin_To_Int(y, value);
        control("Aa", 2 + k).setCaption(numberToText(value));
        mask += (k > 1 ? "  " : "") + y;
    }
    control("Mask").setCaption(mask);
}

// A counter read answers with the flow counter, or with what the source says.
void ModBFrm::counterValue() {
    Control& counter = control("Countr");
    if (control("Branch", 0).value())
        counter.setCaption(app().form(kObjectt).control("Itog").caption());
    else if (control("Branch", 3).value())
        counter.setCaption(numberToText(situationImage(Situation::Accident).flowCount));
    else if (control("Branch", 4).value())
        counter.setCaption(numberToText(arbitraryNumber()));
    const double value = number(counter);
    const double high = std::trunc(toInt32(value) / 256.0);
    control("Countr_H_h").setCaption(numberToText(high));
    control("Countr_H_l").setCaption(numberToText(value - 256 * high));
}

void ModBFrm::composeAnswer(const Request& r) {
    if (r.answer == AnswerShape::Counter) counterValue();
    if (dataSource() == kArbitrary)
        composeArbitraryAnswer(r);
    else
        composeControllerAnswer(r);
    setAnswerVisibility();
    answerHeadings(r);
    answerPictures(r);
    flagHeadings(r);
}

// The arbitrary number is not the controller's data: the window answers it
// as a counter value or as bits, whatever the map holds at the address.
void ModBFrm::composeArbitraryAnswer(const Request& r) {
    const auto set = [this](int cell, const std::string& text) {
        control("Aa", cell).setCaption(text);
    };
    switch (r.answer) {
        case AnswerShape::Counter: {
            // Only counter 1 counts; the others answer zeros.
            const bool first = control("Комбо1", r.combos[0]).text() == "1";
            const int bytes = 2 * r.fixedField;
            set(2, std::to_string(bytes));
            set(3, first ? control("Countr_H_l").caption() : "0");
            set(4, first ? control("Countr_H_h").caption() : "0");
            for (int cell = 5; cell <= 2 + bytes; ++cell) set(cell, "0");
            Ans_Len = 3 + bytes;
            break;
        }
        case AnswerShape::Terminals:
        case AnswerShape::Flags:
            arbitraryBits(r);
            byteCount(r);
            dataBytes();
            break;
        case AnswerShape::Echo:
            // A write is answered by its echo: the function and the four field bytes.
            for (int cell = 2; cell <= 5; ++cell) set(cell, control("Qq", cell).caption());
            Ans_Len = 6;
            break;
    }
}

// The controller's own answer, built as it answers a master on the bus:
// data, an echo or an exception. Building it changes nothing: a write is
// only shown, never carried out.
void ModBFrm::composeControllerAnswer(const Request& r) {
    std::array<std::uint8_t, 5> request{};
    for (std::size_t i = 0; i < request.size(); ++i)
        request[i] = static_cast<std::uint8_t>(
            textToNumber(control("Qq", static_cast<int>(i) + 1).caption()));
    // The request always carries its four field bytes, so the controller answers it.
    const std::vector<std::uint8_t> pdu = slave::answer(request, sourceImage()).value().pdu;
    for (std::size_t i = 0; i < pdu.size(); ++i)
        control("Aa", static_cast<int>(i) + 1).setCaption(std::to_string(pdu[i]));
    Ans_Len = 1 + static_cast<int>(pdu.size());
    if (answersException()) {
        control("Mask").setCaption("");
        return;
    }
    if (r.answer == AnswerShape::Terminals || r.answer == AnswerShape::Flags)
        answerBits(std::span(pdu).subspan(2), requestWord(kCountHigh));
}

// The bits of a read's data bytes, as the strip and the bit strings show them.
void ModBFrm::answerBits(std::span<const std::uint8_t> data, int count) {
    std::string* bits[] = {&Bits_B1, &Bits_B2, &Bits_B3, &Bits_B4};
    int* valid[] = {&Valid_B1, &Valid_B2, &Valid_B3, &Valid_B4};
    std::string mask;
    for (std::size_t k = 0; k < 4; ++k) {
        *bits[k] = bitsOf(data, k);
        *valid[k] = std::clamp(count - 8 * static_cast<int>(k), 0, 8);
        mask += (k > 0 ? "  " : "") + *bits[k];
    }
    control("Mask").setCaption(mask);
}

// An exception answer carries the request's function with its high bit set.
bool ModBFrm::answersException() {
    return (toInt32(cellByte("Aa", 1)) & 0x80) != 0;
}

}  // namespace vk41
