#include "modbus/memory_map.h"

#include <cmath>

#include "plant/terminals.h"

namespace vk41::memory_map {
namespace {

// clang-format off
const std::array<Area, 5> kAreas = {{
    //  first   last   read                   write                 what                                   access
    {       0,    31, kReadCoils,             kWriteSingleCoil,     "системные дискретные выходы",         "чтение и запись"},
    {      32,    63, kReadCoils,             Function{},           "флаги логических условий",            "чтение"},
    {   10000, 10031, kReadDiscreteInputs,    Function{},           "системные дискретные входы",          "чтение"},
    {   42222, 42233, kReadHoldingRegisters,  Function{},           "регистры счётчиков импульсов 1–4",    "чтение"},
    {   60000, 60000, Function{},             kWriteSingleRegister, "командный регистр",                   "запись"},
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
};
const std::array<Wiring, 3> kInputWiring = {{
    {terminal::kManometer,   "контакт реле дифманометра (засорение фильтра)"},
    {terminal::kLowerSwitch, "нижний концевой выключатель"},
    {terminal::kUpperSwitch, "верхний концевой выключатель"},
}};
const std::array<Wiring, 4> kOutputWiring = {{
    {terminal::kGreenLamp,   "зелёная лампа «ШТАТНЫЙ РЕЖИМ»"},
    {terminal::kPumpRelay,   "реле насоса"},
    {terminal::kAccident,    "АВАРИЯ, красная лампа"},
    {terminal::kUvLampRelay, "реле УФ-лампы"},
}};

// The flag of each operator of the installation's program that raises one.
const std::array<Wiring, 10> kFlagMeanings = {{
    { 1, "авария не светится: выход 5 разомкнут"},
    { 2, "штатный режим: выход 3 замкнут"},
    { 3, "манометр проверяется (условие 2)"},
    { 5, "насос включён: выход 4 замкнут"},
    { 6, "верхний уровень проверяется (условие 5)"},
    { 8, "насос выключен: выход 4 разомкнут"},
    { 9, "нижний уровень проверяется (условие 8)"},
    {11, "АВАРИЯ: выход 5 замкнут"},
    {12, "насос блокирован (условие 11)"},
    {13, "УФ-лампа следует за насосом"},
}};

// Flags raised per status code 1, 2 and 3: the pump running (1, 2, 5, 13),
// the pump off with water in the tank (1, 2, 8), the accident (8, 11).
constexpr std::array<std::uint32_t, 4> kStatusFlags = {
    0,
    1u << 0 | 1u << 1 | 1u << 4 | 1u << 12,
    1u << 0 | 1u << 1 | 1u << 7,
    1u << 7 | 1u << 10,
};
// clang-format on

template <std::size_t N>
const char* lookUp(const std::array<Wiring, N>& table, int terminal) {
    for (const Wiring& w : table)
        if (w.terminal == terminal) return w.what;
    return nullptr;
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
    return lookUp(kFlagMeanings, k);
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

std::uint32_t flagsOfStatus(int statusCode) {
    if (statusCode < 0 || statusCode >= static_cast<int>(kStatusFlags.size())) return 0;
    return kStatusFlags[static_cast<std::size_t>(statusCode)];
}

}  // namespace vk41::memory_map
