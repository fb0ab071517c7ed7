// The exchange cycle fed with arbitrary combo texts and option choices: every
// frame cell stays a byte and each frame's CRC matches.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "modbus/main_mod_modbus.h"
#include "modbus/modb_frm.h"
#include "tools/script_driver.h"
#include "ui/numbers.h"

namespace {

void checkFrame(vk41::Form& m, const char* row, int n) {
    vk41::CrcRegister crc;
    for (int i = 0; i < n + 2; ++i) {
        const double v = vk41::textToNumber(m.control(row, i).caption());
        if (v < 0 || v > 255 || v != static_cast<int>(v)) std::abort();
        if (i < n) crc.add(static_cast<int>(v));
    }
    if (vk41::textToNumber(m.control(row, n).caption()) != crc.lo) std::abort();
    if (vk41::textToNumber(m.control(row, n + 1).caption()) != crc.hi) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Made once and never destroyed: the run ends without tearing down the
    // windows after the designs they were made from.
    static std::ostringstream out;
    static vk41::ScriptDriver& driver = *new vk41::ScriptDriver(out);
    static vk41::ModBFrm& window = []() -> vk41::ModBFrm& {
        driver.app().open("Objectt");
        driver.app().open("ModB_Frm");
        return driver.app().form<vk41::ModBFrm>("ModB_Frm");
    }();
    if (size < 3) return 0;
    static const int kinds[] = {0, 1, 2, 3, 6, 7, 8, 9};
    window.control("Count_Length", kinds[data[0] % 8]).setValue(true);
    window.control("Branch", data[1] % 5).setValue(true);
    window.control(data[2] % 2 ? "Hex" : "Dec").setValue(true);
    // The rest: texts separated by newlines, typed into the combos in turn.
    static const int combos[] = {0, 1, 4, 5, 6, 7, 8, 9, 10, 11};
    const std::string rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    std::istringstream texts(rest);
    std::string text;
    for (int i = 0; std::getline(texts, text); ++i) {
        if (i < 10)
            window.typeText(window.control("Комбо1", combos[i]), text);
        else if (i == 10)
            window.typeText(window.control("ContNum"), text);
        else if (i == 11)
            window.typeText(window.control("Cond_Val"), text);
    }
    window.fireTimer(window.control("Часы1"));
    checkFrame(window, "Qq", 6);
    checkFrame(window, "Aa", window.Ans_Len);
    return 0;
}
