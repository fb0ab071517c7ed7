#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vk41 {

class Form;

// The CRC-16/MODBUS register: reflected polynomial 0xA001, start 0xFFFF, no
// final xor. Lo is kept as a plain integer, as the byte rows may hold any
// number; Hi is one byte.
struct CrcRegister {
    int lo{0xFF};
    std::uint8_t hi{0xFF};

    void add(int byte);
};

// The checksum module shared by the Modbus window: it loads a byte row of the
// window, computes its CRC and places it after the frame. Its state lives for
// the whole run and each computation overwrites it.
struct MainModModBus {
    static constexpr int kBufferCells = 17;

    std::int16_t CRC_Len{0};
    std::array<std::int16_t, kBufferCells> CRC_Buf{};
    int CRC_Lo{0};
    std::uint8_t CRC_Hi{0};

    // Reads Req_Len_L bytes of the row (Qq or Aa) into the buffer; a frame
    // longer than the buffer keeps only what fits.
    void CRC_Load(Form& window, std::string_view row);
    // The CRC of the buffer into C_Byte_L and C_Byte_H.
    void CRC_Calc(Form& window);
    // The request's or the answer's CRC into cells N and N + 1 of the row,
    // low byte first; cells the row does not have are skipped.
    void CRC_Place(Form& window, std::string_view row);
};

}  // namespace vk41
