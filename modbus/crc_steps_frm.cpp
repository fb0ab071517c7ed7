#include "modbus/crc_steps_frm.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "modbus/crc_steps.h"
#include "ui/design_text.h"

namespace vk41 {

namespace {

// The shifts that apply the polynomial stand out from those that do not.
constexpr Colour kPolynomialColour = rgb(0xB00000);

std::string hex(unsigned value, int digits) {
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string byteRange(std::size_t count) {
    if (count == 1) return "байт 0";
    return "байты 0–" + std::to_string(count - 1);
}

std::string shiftText(const CrcShift& shift) {
    return hex(shift.reg, 4) + (shift.carry ? ", перенос 1, XOR A001" : ", перенос 0");
}

}  // namespace

const FormDesign& CrcStepsFrm::layout() {
    return embeddedDesign("crc_steps.form");
}

CrcStepsFrm::CrcStepsFrm(App& app) : Form(app, layout()) {}

void CrcStepsFrm::showRow(const std::string& row, std::span<const std::uint8_t> bytes) {
    if (shown_ && shown_->row == row &&
        std::equal(bytes.begin(), bytes.end(), shown_->bytes.begin(), shown_->bytes.end()))
        return;
    shown_ = Shown{row, {bytes.begin(), bytes.end()}};
    const std::vector<CrcByteStep> steps = crcSteps(bytes);
    std::string listed;
    for (const std::uint8_t b : bytes) listed += (listed.empty() ? "" : " ") + std::to_string(b);
    control("Row_Lab").setCaption(bytes.empty()
                                      ? row + ": байтов ещё нет"
                                      : row + ", " + byteRange(bytes.size()) + ": " + listed);
    for (int i = 0; i < kRows; ++i) {
        const bool used = i < static_cast<int>(steps.size());
        for (const char* column : {"Num", "Byte", "Xor", "After"})
            control(column, i).setVisible(used);
        for (int s = 0; s < 8; ++s) control("Shift", 8 * i + s).setVisible(used);
        if (!used) continue;
        const CrcByteStep& step = steps[static_cast<std::size_t>(i)];
        control("Num", i).setCaption(std::to_string(i));
        control("Byte", i).setCaption(std::to_string(step.byte) + " (" + hex(step.byte, 2) + ")");
        control("Xor", i).setCaption(hex(step.afterXor, 4));
        for (int s = 0; s < 8; ++s) {
            const CrcShift& shift = step.shifts[static_cast<std::size_t>(s)];
            Control& cell = control("Shift", 8 * i + s);
            cell.setCaption(shiftText(shift));
            cell.setForeColor(shift.carry ? kPolynomialColour : kBlack);
        }
        control("After", i).setCaption(hex(step.after(), 4));
    }
    // Modbus RTU sends the CRC's low byte first.
    const std::uint16_t crc = crcResult(steps);
    const unsigned low = crc & 0xFFu, high = crc >> 8;
    control("Result").setCaption(bytes.empty()
                                     ? std::string("Кадр ещё не составлен: регистр стоит на FFFF.")
                                     : "CRC-16 = 0x" + hex(crc, 4) +
                                           ". В кадре младший байт идёт первым: " + hex(low, 2) +
                                           " " + hex(high, 2) + " (" + std::to_string(low) + ", " +
                                           std::to_string(high) + ").");
}

}  // namespace vk41
