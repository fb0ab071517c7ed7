#include "modbus/memory_map.h"

#include <cmath>
#include <string>

#include "conditions/notation.h"
#include "plant/terminals.h"

namespace vk41::memory_map {
namespace {

// clang-format off
const std::array<Area, 5> kAreas = {{
    //  first   last   read                   write                 what                                   access             called
    {       0,    31, kReadCoils,             kWriteSingleCoil,     "системные дискретные выходы",         "чтение и запись", "выходы"},
    {      32,    63, kReadCoils,             Function{},           "флаги логических условий",            "чтение",          "флаги"},
    {   10000, 10031, kReadDiscreteInputs,    Function{},           "системные дискретные входы",          "чтение",          "входы"},
    {   42222, 42233, kReadHoldingRegisters,  Function{},           "регистры счётчиков импульсов 1–4",    "чтение",          "счётчики"},
    {   60000, 60000, Function{},             kWriteSingleRegister, "командный регистр",                   "запись",          "командный регистр"},
}};

const std::array<Counter, 4> kCounterTable = {{
    // number  parameter  device  input  name                                   first register
    {       1,       21,      8,     1, "счётчик расхода воды (ИМ-9)",              42222},
    {       2,       22,      8,     2, "счётчик импульсов №2 (не подключён)",      42225},
    {       3,       23,      8,     3, "счётчик импульсов №3 (не подключён)",      42228},
    {       4,       24,      8,     4, "счётчик импульсов №4 (не подключён)",      42231},
}};

const std::array<Command, 2> kCommands = {{
    {kRestart,       "перезапуск контроллера"},
    {kKvartaRestart, "переход на протокол «Кварта» и перезапуск"},
}};

const std::array<SlaveDevice, 1> kSlaveDevices = {{
    // address  type                          parity   baud
    {        8, "ВК-12 (контроллер линии)",   "нет",   9600},
}};

struct Wiring {
    int terminal;
    const char* what;
    // How the program's conditions speak of it: what it is, and what it
    // means closed and open.
    const char* subject;
    const char* closed;
    const char* open;
};
const std::array<Wiring, 3> kInputWiring = {{
    {terminal::kManometer,   "контакт реле дифманометра (засорение фильтра)", "манометр",        "фильтр засорён",     "фильтр чист"},
    {terminal::kLowerSwitch, "нижний концевой выключатель",                   "нижний уровень",  "резервуар опустел",  "вода выше нижнего уровня"},
    {terminal::kUpperSwitch, "верхний концевой выключатель",                  "верхний уровень", "резервуар заполнен", "резервуар не заполнен"},
}};
const std::array<Wiring, 4> kOutputWiring = {{
    {terminal::kGreenLamp,   "зелёная лампа «ШТАТНЫЙ РЕЖИМ»", "штатный режим", "штатный режим",     "штатный режим не светится"},
    {terminal::kPumpRelay,   "реле насоса",                   "насос",         "насос включён",     "насос выключен"},
    {terminal::kAccident,    "АВАРИЯ, красная лампа",         "авария",        "АВАРИЯ",            "авария не светится"},
    {terminal::kUvLampRelay, "реле УФ-лампы",                 "УФ-лампа",      "УФ-лампа включена", "УФ-лампа выключена"},
}};
// clang-format on

template <std::size_t N>
const Wiring* wiringOf(const std::array<Wiring, N>& table, int terminal) {
    for (const Wiring& w : table)
        if (w.terminal == terminal) return &w;
    return nullptr;
}

template <std::size_t N>
const char* lookUp(const std::array<Wiring, N>& table, int terminal) {
    const Wiring* w = wiringOf(table, terminal);
    return w ? w->what : nullptr;
}

// What a raised flag k says, from the condition of operator k: a wired
// terminal compared with 0 or 1 in the words of its wiring, anything else in
// the table's notation. A dependent operator's flag is its check under the
// flag it waits for.
std::string meaningOf(const Operator& op) {
    const Operand& a = op.first;
    const Operand& b = op.second;
    const Wiring* wiring = a.kind == OperandKind::Input    ? wiringOf(kInputWiring, a.number)
                           : a.kind == OperandKind::Output ? wiringOf(kOutputWiring, a.number)
                                                           : nullptr;
    const bool twoState = b.kind == OperandKind::Constant && (b.number == 0 || b.number == 1) &&
                          (op.kind == Comparison::Equal || op.kind == Comparison::NotEqual);
    const std::string under =
        op.dependsOn ? " (условие " + std::to_string(op.dependsOn) + ")" : std::string();
    if (wiring && twoState) {
        if (op.dependsOn) return std::string(wiring->subject) + " проверяется" + under;
        const bool closed = (b.number == 1) == (op.kind == Comparison::Equal);
        return std::string(closed ? wiring->closed : wiring->open) + ": " +
               (a.kind == OperandKind::Input ? "вход " : "выход ") + std::to_string(a.number) +
               (closed ? " замкнут" : " разомкнут");
    }
    return notation::operandText(a) + " " + notation::comparisonText(op.kind) + " " +
           notation::operandText(b) + under;
}

}  // namespace

const char* functionName(int function) {
    switch (function) {
        case kReadCoils:
            return "чтение дискретных выходов (Read Coils)";
        case kReadDiscreteInputs:
            return "чтение дискретных входов (Read Discrete Inputs)";
        case kReadHoldingRegisters:
            return "чтение регистров хранения (Read Holding Registers)";
        case kWriteSingleCoil:
            return "запись одного выхода (Write Single Coil)";
        case kWriteSingleRegister:
            return "запись одного регистра (Write Single Register)";
        default:
            return "функция не поддерживается";
    }
}

const std::array<Area, 5>& areas() {
    return kAreas;
}

const Area& area(AreaId id) {
    return kAreas[static_cast<std::size_t>(id)];
}

const char* inputWiring(int k) {
    return lookUp(kInputWiring, k);
}

const char* outputWiring(int k) {
    return lookUp(kOutputWiring, k);
}

const char* flagMeaning(int k) {
    static const auto meanings = [] {
        std::array<std::string, kOperators> texts;
        for (int op = 1; op <= kOperators; ++op)
            if (factoryProgram().at(op).kind != Comparison::None)
                texts[static_cast<std::size_t>(op - 1)] = meaningOf(factoryProgram().at(op));
        return texts;
    }();
    if (k < 1 || k > kOperators) return nullptr;
    const std::string& text = meanings[static_cast<std::size_t>(k - 1)];
    return text.empty() ? nullptr : text.c_str();
}

std::string flagName(const Program& program, int k) {
    const std::string flag = "флаг " + std::to_string(k);
    if (program == factoryProgram()) {
        const char* meaning = flagMeaning(k);
        return meaning ? flag + " — " + meaning : std::string();
    }
    if (k < 1 || k > kOperators || program.at(k).kind == Comparison::None) return {};
    const std::string& comment = program.at(k).comment;
    return flag + ": условие оператора " + std::to_string(k) +
           (comment.empty() ? std::string() : " — " + comment);
}

const std::array<Counter, 4>& counters() {
    return kCounterTable;
}

std::optional<int> counterAt(int address) {
    for (const Counter& c : kCounterTable)
        if (address >= c.firstRegister && address < c.firstRegister + kRegistersPerCounter)
            return c.number;
    return std::nullopt;
}

std::array<std::uint8_t, 6> counterBytes(double value) {
    // The value's high part is its whole 256s, the low part the rest; a value
    // past two bytes keeps only what fits.
    const double whole = std::trunc(value);
    const auto high = static_cast<std::uint8_t>(static_cast<long long>(whole / 256) & 0xFF);
    const auto low = static_cast<std::uint8_t>(static_cast<long long>(whole) & 0xFF);
    return {low, high, 0, 0, 0, 0};
}

const std::array<Command, 2>& commands() {
    return kCommands;
}

std::span<const SlaveDevice> slaveDevices() {
    return kSlaveDevices;
}

}  // namespace vk41::memory_map
