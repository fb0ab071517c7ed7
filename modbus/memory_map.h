#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vk41 {
struct Program;
}

namespace vk41::memory_map {

// The ВК-41's Modbus memory map and this installation's configuration: the
// one table that the exchange's answers, the Modbus window's pictures and its
// byte tooltips all read. Addresses are the protocol's own (the numbers in
// the request frame), written as the manual writes them.

// Modbus function codes the controller serves.
enum Function : std::uint8_t {
    kReadCoils = 1,
    kReadDiscreteInputs = 2,
    kReadHoldingRegisters = 3,
    kWriteSingleCoil = 5,
    kWriteSingleRegister = 6,
};

// The function's name as the manual gives it.
const char* functionName(int function);

// One address area.
struct Area {
    int first, last;     // addresses, inclusive
    Function read;       // the function that reads it (0: none)
    Function write;      // the function that writes it (0: none)
    const char* what;    // what it holds
    const char* access;  // "чтение", "чтение и запись", "запись"
    const char* called;  // what a sentence calls it: "счётчики начинаются с 42222"
};

enum AreaId { kOutputs, kFlags, kInputs, kCounters, kCommand };
const std::array<Area, 5>& areas();
const Area& area(AreaId id);

// Discrete inputs and outputs: 32 of each; input k is at 10000 + k - 1, output
// k is coil k - 1; condition flag k is coil 31 + k.
inline constexpr int kTerminals = 32;
inline constexpr int kFlagCount = 32;
constexpr int inputAddress(int k) {
    return 10000 + k - 1;
}
constexpr int outputCoil(int k) {
    return k - 1;
}
constexpr int flagCoil(int k) {
    return 31 + k;
}
// The outputs a master may switch: 1 to 6 (coils 0 to 5).
inline constexpr int kWritableOutputs = 6;

// What this installation wires to a terminal; null where nothing is.
const char* inputWiring(int k);
const char* outputWiring(int k);
// What a raised condition flag k says: the condition of operator k of the
// factory program, in the words of the installation's wiring; null for an
// empty row and for the flags past the last operator.
const char* flagMeaning(int k);
// Condition flag k as the texts of the map name it while `program` is
// loaded. The factory program's flags say what their condition means
// ("флаг 2 — штатный режим: выход 3 замкнут"); another program's, whose
// conditions the installation's wiring does not explain, are named by their
// operator and its comment ("флаг 5: условие оператора 5 — …"). Empty where
// nothing is said: an empty row, a flag past the last operator.
std::string flagName(const Program& program, int k);

// The four pulse counters: three holding registers each (six bytes), from
// 42222 + 3 (n - 1). A master reads the low four bytes (two registers) or all
// six from the same start.
struct Counter {
    int number;     // 1..4
    int parameter;  // its row in the configuration's input parameters
    int device;     // address of the slave device that counts
    int input;      // input number on that device
    const char* name;
    int firstRegister;
};
const std::array<Counter, 4>& counters();
inline constexpr int kRegistersPerCounter = 3;
inline constexpr int kLowCounterRegisters = 2;
// The counter (1..4) whose registers hold `address`, if any.
std::optional<int> counterAt(int address);

// The six bytes a counter's registers carry, in the order the controller
// sends them: the value's low byte, then its high byte, then zeros.
std::array<std::uint8_t, 6> counterBytes(double value);

// Register 60000, the command register: a word written with function 6.
inline constexpr int kCommandRegister = 60000;
struct Command {
    std::uint16_t value;
    const char* meaning;
};
inline constexpr std::uint16_t kRestart = 0xAA55;
inline constexpr std::uint16_t kKvartaRestart = 0x55AA;
const std::array<Command, 2>& commands();

// The slave devices on the controller's own line.
struct SlaveDevice {
    int address;  // 1..127
    const char* type;
    const char* parity;
    int baud;
};
std::span<const SlaveDevice> slaveDevices();

// The configuration's lists give the controller's own terminals the device
// address 0. Its input discrete parameters 1 to 20 are the controller's own
// inputs 1 to 20, the pulse counters follow as 21 to 24 (Counter::parameter),
// and the list has room for 32.
inline constexpr int kOwnDevice = 0;
inline constexpr int kOwnInputParameters = 20;
inline constexpr int kInputParameters = 32;

}  // namespace vk41::memory_map
