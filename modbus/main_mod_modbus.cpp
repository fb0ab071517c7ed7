#include "modbus/main_mod_modbus.h"

#include <algorithm>
#include <limits>

#include "ui/form.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

double fieldNumber(Form& window, const char* field) {
    return textToNumber(window.control(field).caption());
}

}  // namespace

// One byte into the register, bit by bit; the odd test and the halving are
// those of the classic code, defined for any integer.
void CrcRegister::add(int byte) {
    lo ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
        const bool lowOdd = lo % 2 != 0;
        const bool hiOdd = (hi & 1) != 0;
        lo /= 2;
        hi = static_cast<std::uint8_t>(hi / 2);
        if (hiOdd) lo |= 128;
        if (lowOdd) {
            lo ^= 1;
            hi ^= 160;
        }
    }
}

void MainModModBus::CRC_Load(Form& window, std::string_view row) {
    const int n = toInt32(fieldNumber(window, "Req_Len_L"));
    for (int i = 0; i < std::min(n, kBufferCells); ++i) {
        const Control* cell = window.find(row, i);
        CRC_Buf[static_cast<std::size_t>(i)] = cell ? toInt16(textToNumber(cell->caption())) : 0;
    }
}

void MainModModBus::CRC_Calc(Form& window) {
    CRC_Len = toInt16(fieldNumber(window, "Req_Len_L"));
    CrcRegister crc;
    for (int i = 0; i < std::min<int>(CRC_Len, kBufferCells); ++i)
        crc.add(CRC_Buf[static_cast<std::size_t>(i)]);
    CRC_Lo = crc.lo;
    CRC_Hi = crc.hi;
    window.control("C_Byte_H").setCaption(numberToText(CRC_Hi));
    window.control("C_Byte_L").setCaption(numberToText(CRC_Lo));
}

void MainModModBus::CRC_Place(Form& window, std::string_view row) {
    const int n = toInt32(fieldNumber(window, "Req_Len_L"));
    const bool request = window.control("QA").caption() == "Q";
    const std::string& low = window.control(request ? "C_Byte_L_Q" : "C_Byte_L_A").caption();
    const std::string& high = window.control(request ? "C_Byte_H_Q" : "C_Byte_H_A").caption();
    if (Control* cell = window.find(row, n)) cell->setCaption(low);
    if (n < std::numeric_limits<int>::max())
        if (Control* cell = window.find(row, n + 1)) cell->setCaption(high);
}

}  // namespace vk41
