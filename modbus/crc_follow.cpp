// The window CRC_Steps, opened from a CRC cell, follows its row tick by tick.
#include <algorithm>
#include <vector>

#include "modbus/crc_steps_frm.h"
#include "modbus/modb_frm.h"
#include "ui/app.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {

void ModBFrm::openCrcSteps(CrcRow row) {
    crcRow_ = row;
    app().open(kCrcSteps);
    followCrcSteps();
}

// The bytes in front of the row's CRC, as the last tick left them.
void ModBFrm::followCrcSteps() {
    Form* steps = app().existing(kCrcSteps);
    if (!steps || !steps->loaded()) {
        crcRow_ = CrcRow::None;  // closed: nothing to follow until a CRC cell is clicked
        return;
    }
    const bool request = crcRow_ == CrcRow::Request;
    const int count = std::max(0, request ? int{Req_Len} : Ans_Len);
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        const Control* cell = find(request ? "Qq" : "Aa", i);
        const double value = cell ? textToNumber(cell->caption()) : 0;
        bytes.push_back(static_cast<std::uint8_t>(std::clamp(toInt32(value), 0, 255)));
    }
    static_cast<CrcStepsFrm*>(steps)->showRow(
        request ? "Запрос ведущего" : "Ответ контроллера ВК-41", bytes);
}

}  // namespace vk41
