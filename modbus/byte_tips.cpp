// The tooltips of the byte cells: the frames the rows hold, explained byte by
// byte as the bus window explains the frames of the bus. They are written
// only when asked for, never during the exchange tick.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "modbus/controller_image.h"
#include "modbus/frame_bytes.h"
#include "modbus/modb_frm.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

// The request's cells Q(6), Q(7) and the answer's Ans(10), Ans(11) show the
// CRC, whatever the length of the frame in front of it.
constexpr int kRequestCells = 8;
constexpr int kAnswerCrcCell = 10;
constexpr int kAnswerCells = 12;
constexpr const char* kCrcClick = "Щелчок открывает окно «Расчёт CRC-16» с расчётом по шагам";

std::uint8_t byteOf(double value) {
    return static_cast<std::uint8_t>(std::clamp(toInt32(value), 0, 255));
}

}  // namespace

double ModBFrm::cellByte(const char* row, int index) {
    return textToNumber(control(row, index).caption());
}

// A request field, high byte first.
int ModBFrm::requestWord(int highCell) {
    return toInt32(cellByte("Qq", highCell)) * 256 + toInt32(cellByte("Qq", highCell + 1));
}

// The first tick writes the request's function; until then no cell holds a byte.
bool ModBFrm::framed() {
    return !control("Qq", 1).caption().empty();
}

// A row's `length` bytes in front of the CRC, then the CRC the window computed.
std::vector<std::uint8_t> ModBFrm::rowFrame(const char* row, int length, const char* crcLow,
                                            const char* crcHigh) {
    std::vector<std::uint8_t> frame;
    for (int i = 0; i < length; ++i) frame.push_back(byteOf(cellByte(row, i)));
    frame.push_back(byteOf(cellByte(crcLow, -1)));
    frame.push_back(byteOf(cellByte(crcHigh, -1)));
    return frame;
}

std::string ModBFrm::requestTip(int index) {
    if (!framed() || index < 0 || index >= kRequestCells) return "";
    const std::vector<std::uint8_t> request = rowFrame("Qq", Req_Len, "C_Byte_L_Q", "C_Byte_H_Q");
    const auto at = static_cast<std::size_t>(index);
    if (at >= request.size()) return "";
    const std::string tip = requestBytes(request, Framing::Rtu, loadedProgram(app()))[at];
    return at + 2 >= request.size() ? tip + "\n" + kCrcClick : tip;
}

std::string ModBFrm::answerTip(int index) {
    if (!framed() || index < 0 || index >= kAnswerCells) return "";
    // Ans(Ans_Len) repeats the CRC's low byte; the cells past it show nothing.
    if (index < kAnswerCrcCell && index >= Ans_Len) return "";
    const std::vector<std::uint8_t> request = rowFrame("Qq", Req_Len, "C_Byte_L_Q", "C_Byte_H_Q");
    const std::vector<std::uint8_t> answer = rowFrame("Aa", Ans_Len, "C_Byte_L_A", "C_Byte_H_A");
    const bool crc = index >= kAnswerCrcCell;
    const auto at = static_cast<std::size_t>(crc ? Ans_Len + index - kAnswerCrcCell : index);
    const std::string tip = answerBytes(request, answer, Framing::Rtu, loadedProgram(app()))[at];
    return crc ? tip + "\n" + kCrcClick : tip;
}

}  // namespace vk41
