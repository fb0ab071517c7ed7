// The request catalogue: the request frame of each kind and the controls
// that go with it.
#include <algorithm>
#include <array>
#include <string>

#include "modbus/modb_frm.h"
#include "modbus/request_catalogue.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

namespace mm = memory_map;
using K = RequestKind;

int highByte(int word) {
    return word >> 8 & 0xFF;
}
int lowByte(int word) {
    return word & 0xFF;
}

// The counter whose number is exactly this text, if any.
const mm::Counter* counterNumbered(const std::string& text) {
    for (const mm::Counter& c : mm::counters())
        if (text == std::to_string(c.number)) return &c;
    return nullptr;
}

// Each control's visibility per kind, in the catalogue's order: 'V' shown,
// 'H' hidden, '-' unchanged.
struct KindVisibility {
    const char* control;
    const char* states;
};
// clang-format off
constexpr std::array<KindVisibility, 16> kVisibility = {{
    //                 CounterLow, CounterAll, Inputs, Outputs, WriteOutput, Restart, KvartaRestart, Flags
    {"Commn",         "VVHHHHHH"},
    {"ConfCount",     "VVHHHHHH"},
    {"CountPict",     "VVHHHHHH"},
    {"Comonnnn",      "HHVVVHHV"},
    {"AdrInputs",     "HHVHHHH-"},
    {"AdrOuts",       "HHHVVHHH"},
    {"Inputs",        "HH-HHHHH"},
    {"Outputs",       "HH-VVHHH"},
    {"Restart",       "HHHHHVVH"},
    {"Cond_Fr",       "VVVVHHHV"},
    {"Cond_Lab",      "HHHHHHHV"},
    {"Mask",          "HHHHHHHV"},
    {"Cond_N_Lab_L",  "HHHHHHHV"},
    {"Cond_N_Lab_Ml", "HHHHHHHV"},
    {"Cond_N_Lab_Mh", "HHHHHHHV"},
    {"Cond_N_Lab_H",  "HHHHHHHV"},
}};

// The captions a kind sets; nullptr leaves a caption as it is.
struct KindCaptions {
    RequestKind kind;
    const char* frame;      // Cond_Fr
    const char* second;     // Метка1(4), over the request's second field
    const char* arbitrary;  // Branch(4), the arbitrary number
};
constexpr std::array<KindCaptions, 8> kCaptions = {{
    {K::CounterLow,    "4 байта счетчика",  "Количество регистров",   nullptr},
    {K::CounterAll,    "6 байт счетчика",   "Количество регистров",   nullptr},
    {K::Inputs,        "дискретные входы",  "    Количество входов",  nullptr},
    {K::Outputs,       "дискретные вЫходы", "    Количество вЫходов", nullptr},
    {K::WriteOutput,   nullptr,             "          Данные    ",   nullptr},
    {K::Restart,       nullptr,             "            Данные",     nullptr},
    {K::KvartaRestart, nullptr,             "            Данные",     nullptr},
    {K::Flags,         "Флаги условий",     "Количество флагов",      "Произвольное число от 0 до 65535"},
}};
// clang-format on

static_assert(inKindOrder(kCaptions));

}  // namespace

void ModBFrm::composeRequest(const Request& r) {
    const auto set = [this](int cell, const std::string& text) {
        control("Qq", cell).setCaption(text);
    };
    const auto text = [this, &r](int slot) -> const std::string& {
        return control("Комбо1", r.combos[static_cast<std::size_t>(slot)]).text();
    };
    const auto number = [&text](int slot) { return textToNumber(text(slot)); };
    const int base = baseAddress(r);
    set(1, std::to_string(r.function));
    set(2, std::to_string(highByte(base)));
    switch (r.kind) {
        case K::CounterLow:
        case K::CounterAll:
            // An unknown counter number leaves the register as it was.
            if (const mm::Counter* counter = counterNumbered(text(0)))
                set(3, std::to_string(lowByte(counter->firstRegister)));
            set(4, "0");
            set(5, std::to_string(r.fixedField));
            break;
        case K::Inputs:
        case K::Outputs:
            set(3, numberToText(number(0) - base + lowByte(base)));
            set(4, "0");
            set(5, numberToText(number(1)));
            break;
        case K::WriteOutput:
            // Output n is the n-th coil; on is 0xFF00, off 0x0000.
            set(3, numberToText(number(0) - 1 + base));
            set(4, text(1) == "1" ? "255" : "0");
            set(5, "0");
            break;
        case K::Restart:
        case K::KvartaRestart:
            set(3, std::to_string(lowByte(base)));
            set(4, std::to_string(highByte(r.fixedField)));
            set(5, std::to_string(lowByte(r.fixedField)));
            break;
        case K::Flags:
            // The flag addresses go into the frame as they were typed.
            set(3, text(0));
            set(4, "0");
            set(5, text(1));
            break;
    }
    showKindControls(r);
    control("Qq", 0).setCaption(control("ContNum").text());
}

void ModBFrm::showKindControls(const Request& r) {
    for (const Request& any : requestCatalogue())
        for (int combo : any.combos)
            if (combo != kNoCombo)
                control("Комбо1", combo).setVisible(std::ranges::count(r.combos, combo) > 0);
    const auto column = static_cast<std::size_t>(r.kind);
    for (const KindVisibility& row : kVisibility) {
        const char state = row.states[column];
        if (state != '-') control(row.control).setVisible(state == 'V');
    }
    const KindCaptions& captions = rowOf(kCaptions, r.kind);
    if (captions.frame) control("Cond_Fr").setCaption(captions.frame);
    control("Метка1", 4).setCaption(captions.second);
    if (captions.arbitrary) control("Branch", 4).setCaption(captions.arbitrary);
}

}  // namespace vk41
