#include "modbus/modb_frm.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "modbus/memory_map.h"
#include "modbus/request_catalogue.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {

namespace {

// Labels beyond this many numbers would only grow without end on a typed count.
constexpr int kMostFlagNumbers = 1024;

const Request& flagsRequest() {
    return catalogueRow(RequestKind::Flags);
}

}  // namespace

const FormDesign& ModBFrm::layout() {
    return embeddedDesign("modb_frm.form");
}

ModBFrm::ModBFrm(App& app) : Form(app, layout()) {
    onClick("CRC", [this](int) { CRC_Click(); });
    onClick("CRC_ANSW", [this](int) { CRC_ANSW_Click(); });
    onClick("Clear", [this](int) { Clear_Click(); });
    onMenu("Bus", [this] { this->app().open(kBusFrm); });
    onClick("Count_Length", [this](int index) { Count_Length_Click(index); });
    // The flag strip's numbers follow the flags' first address and count.
    const auto renumber = [this](int index) {
        if (std::ranges::count(flagsRequest().combos, index) > 0) Label_Drow();
    };
    onChange("Комбо1", renumber);
    onPick("Комбо1", renumber);
    // A text that is no arbitrary number shows at once.
    onChange("Cond_Val", [this](int) { arbitraryNumber(); });
    onPick("Cond_Val", [this](int) { arbitraryNumber(); });
    onTimer("Часы1", [this] {
        exchangeTick();
        if (crcRow_ != CrcRow::None) followCrcSteps();
    });
    // The CRC cells open the CRC worked out step by step.
    onClick("Q", [this](int index) {
        if (index == 6 || index == 7) openCrcSteps(CrcRow::Request);
    });
    onClick("Ans", [this](int index) {
        if (index == 10 || index == 11) openCrcSteps(CrcRow::Answer);
    });
    onToolTip("Q", [this](int index) { return requestTip(index); });
    onToolTip("Ans", [this](int index) { return answerTip(index); });
    registerVariables();
}

void ModBFrm::registerVariables() {
    Variables& v = variables_;
    v.add("Hex_Mode", Hex_Mode);
    v.add("Hi_Digit", Hi_Digit);
    v.add("Lo_Digit", Lo_Digit);
    v.add("Req_Len", Req_Len);
    v.add("Ans_Len", Ans_Len);
    v.add("Valid_B1", Valid_B1);
    v.add("Valid_B2", Valid_B2);
    v.add("Valid_B3", Valid_B3);
    v.add("Valid_B4", Valid_B4);
    v.add("Shift_N", Shift_N);
    v.add("Tick_Cnt", Tick_Cnt);
    v.add("Step_Cnt", Step_Cnt);
    v.add("Bits_B1", Bits_B1);
    v.add("Bits_B2", Bits_B2);
    v.add("Bits_B3", Bits_B3);
    v.add("Bits_B4", Bits_B4);
    v.add("CRC_Len", Main_Mod_ModBus.CRC_Len);
    v.add("CRC_Lo", Main_Mod_ModBus.CRC_Lo);
    v.add("CRC_Hi", Main_Mod_ModBus.CRC_Hi);
    v.addArray("CRC_Buf", Main_Mod_ModBus.CRC_Buf.data(), 0, MainModModBus::kBufferCells - 1);
}

void ModBFrm::onLoad() {
    Clear_Click();
    arbitraryNumber();
}

void ModBFrm::CRC_Click() {
    checksum("Q", "Qq", "C_Byte_L_Q", "C_Byte_H_Q");
}

void ModBFrm::CRC_ANSW_Click() {
    checksum("A", "Aa", "C_Byte_L_A", "C_Byte_H_A");
}

// The CRC of a row, kept in the row's own CRC fields and placed after it.
void ModBFrm::checksum(const char* qa, const char* row, const char* low, const char* high) {
    control("QA").setCaption(qa);
    Main_Mod_ModBus.CRC_Load(*this, row);
    Main_Mod_ModBus.CRC_Calc(*this);
    control(low).setCaption(control("C_Byte_L").caption());
    control(high).setCaption(control("C_Byte_H").caption());
    Main_Mod_ModBus.CRC_Place(*this, row);
}

void ModBFrm::Clear_Click() {
    for (const char* frame : {"Novis_Q", "Novis_Ans"}) control(frame).setVisible(false);
    for (int i = 0; i <= 10; ++i) control("Qq", i).setVisible(false);
    for (int i = 0; i <= 15; ++i) control("Aa", i).setVisible(false);
    for (const char* field :
         {"Req_Len_L", "QA", "C_Byte_L", "C_Byte_H", "C_Byte_L_Q", "C_Byte_H_Q", "C_Byte_L_A",
          "C_Byte_H_A", "Status_Lab", "Countr", "Countr_H_h", "Countr_H_l", "Flags_L_Label",
          "Flags_H_Label", "Temp_H", "Temp_L", "CRC", "CRC_ANSW", "Clear"})
        control(field).setVisible(false);
}

void ModBFrm::Count_Length_Click(int index) {
    control("Cond_N_Lab_L").setVisible(index == flagsRequest().option);
}

void ModBFrm::Label_Drow() {
    const auto [firstCombo, countCombo] = flagsRequest().combos;
    const double first = textToNumber(control("Комбо1", firstCombo).text());
    double count = textToNumber(control("Комбо1", countCombo).text());
    for (const char* label : kFlagNumberLabels) control(label).setCaption("");

    // The count comes up to whole bytes and the strip is as wide as they are.
    Control& mask = control("Mask");
    const struct {
        double upTo;
        float edge;
    } bytes[] = {{8, control("Board1").x1()},
                 {16, control("Board1").x2()},
                 {24, control("Board2").x1()},
                 {32, control("Board2").x2()}};
    for (const auto& b : bytes) {
        if (count > b.upTo) continue;
        count = b.upTo;
        mask.setWidth(b.edge - mask.left());
        break;
    }

    // The numbers descend from left to right: each new one goes in front.
    constexpr int beforeFlag1 = memory_map::flagCoil(1) - 1;
    std::size_t label = 0;
    const int numbers = std::min(toInt32(std::max(0.0, std::ceil(count))), kMostFlagNumbers);
    for (int done = 0; done < numbers;) {
        const double n = first + done - beforeFlag1;
        const std::string text = (n < 10 ? "  " : "") + numberToText(n);
        Control& target = control(kFlagNumberLabels[label]);
        target.setCaption(text + " " + target.caption());
        ++done;
        if ((done == 8 || done == 16 || done == 24) && label + 1 < kFlagNumberLabels.size())
            ++label;
    }
}

}  // namespace vk41
