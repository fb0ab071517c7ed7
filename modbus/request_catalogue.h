#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "modbus/memory_map.h"

namespace vk41 {

// The requests the Modbus window offers, one option of its catalogue each,
// in the catalogue's order.
enum class RequestKind {
    CounterLow,     // the low four bytes of a pulse counter
    CounterAll,     // all six bytes of a pulse counter
    Inputs,         // discrete inputs from an address
    Outputs,        // discrete outputs from an address
    WriteOutput,    // switch one discrete output on or off
    Restart,        // the command register: restart
    KvartaRestart,  // the command register: switch to «Кварта» and restart
    Flags,          // condition flags from an address
};

// What the controller's answer to a kind carries.
enum class AnswerShape {
    Counter,    // the counter's value, low byte first, then zeros
    Terminals,  // a byte count, then the plant's inputs or outputs as bits
    Flags,      // a byte count, then the condition flags as bits
    Echo,       // the request repeated: the answer to a write
};

// A combo slot a kind does not use.
inline constexpr int kNoCombo = -1;

// One request of the catalogue.
struct Request {
    RequestKind kind;
    int option;                     // its index in the option array Count_Length
    memory_map::Function function;  // the Modbus function code it sends
    std::array<int, 2> combos;      // the Комбо1 of its first and second parameter
    memory_map::AreaId area;        // the area its addresses lie in
    int fixedField;                 // request bytes 4 and 5 where the kind fixes them
    AnswerShape answer;
};

// A table with a row per kind keeps the catalogue's order, so that a kind's
// row is found by its value; each such table asserts it.
template <typename Row, std::size_t N>
constexpr bool inKindOrder(const std::array<Row, N>& rows) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].kind) != i) return false;
    return true;
}
template <typename Row, std::size_t N>
constexpr const Row& rowOf(const std::array<Row, N>& rows, RequestKind kind) {
    return rows[static_cast<std::size_t>(kind)];
}

std::span<const Request> requestCatalogue();
const Request& catalogueRow(RequestKind kind);

// The address the kind's items count from: the first of its area.
int baseAddress(const Request& r);

}  // namespace vk41
