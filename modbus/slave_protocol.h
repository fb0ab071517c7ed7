#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "modbus/controller_image.h"

namespace vk41::slave {

// Exception codes of the Modbus application protocol.
enum class Exception : std::uint8_t {
    kIllegalFunction = 0x01,
    kIllegalDataAddress = 0x02,
    kIllegalDataValue = 0x03,
};

// What an answer asks of the controller once it is sent.
enum class Command {
    kNone,
    kRestart,      // the command register's restart
    kWriteOutput,  // a master sets or clears `output`
};

struct Reply {
    std::vector<std::uint8_t> pdu;  // function code first, then data
    Command command{Command::kNone};
    int output{0};        // kWriteOutput: the output, 1..6
    bool on{false};       // kWriteOutput: closed (true) or open
    std::string meaning;  // what was asked, in a few Russian words ("FC1 флаги 1–32")
    // For an exception, its likely cause ("адрес 42221 вне карты: счётчики
    // начинаются с 42222 — возможно, ваш мастер считает адреса с 1").
    std::string cause;
};

// The controller's answer to one request PDU (function code and data, no
// address and no CRC), built from the controller's memory image and the
// memory map. A request whose length does not fit its function gets no
// answer: a real slave drops such a frame.
std::optional<Reply> answer(std::span<const std::uint8_t> request, const ControllerImage& image);

// What an exception code says, in a few Russian words ("адрес вне карты памяти").
const char* exceptionMeaning(Exception e);

// Bytes as two-digit hex, separated by blanks ("83 00 00 00").
std::string hex(std::span<const std::uint8_t> bytes);

}  // namespace vk41::slave
