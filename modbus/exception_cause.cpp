#include "modbus/exception_cause.h"

#include "modbus/byte_text.h"

namespace vk41::slave::cause {
namespace {

namespace map = memory_map;

std::string addresses(int first, int last) {
    if (first == last) return "адрес " + std::to_string(first);
    return "адреса " + std::to_string(first) + "–" + std::to_string(last);
}

}  // namespace

std::string unsupported(int function) {
    return "функция " + std::to_string(function) +
           " не поддерживается: контроллер отвечает на функции 1, 2, 3, 5 и 6";
}

std::string outsideMap(int first, int last, const map::Area& low, const map::Area& high) {
    if (first == low.first - 1)
        return "адрес " + std::to_string(first) + " вне карты: " + low.called + " начинаются с " +
               std::to_string(low.first) + " — возможно, ваш мастер считает адреса с 1";
    if (first < low.first || first > high.last) {
        const std::string span =
            &low == &high ? low.called : std::string(low.called) + " и " + high.called;
        return addresses(first, last) + " вне карты: " + span + " — адреса " +
               std::to_string(low.first) + "–" + std::to_string(high.last);
    }
    return "адрес " + std::to_string(high.last + 1) + " вне карты: " + high.called +
           " кончаются на " + std::to_string(high.last) + ", запрос просит " +
           std::to_string(last - high.last) + " лишних";
}

std::string notWritable(int coil) {
    const int writable = map::kWritableOutputs;
    return "адрес " + std::to_string(coil) + ": мастер записывает только выходы 1–" +
           std::to_string(writable) + " (адреса 0–" + std::to_string(writable - 1) + ")";
}

std::string notCommandRegister(int address) {
    std::string text = "регистр " + std::to_string(address) +
                       " не записывается: запись принимает только командный регистр " +
                       std::to_string(map::kCommandRegister);
    if (address == map::kCommandRegister - 1) text += " — возможно, ваш мастер считает адреса с 1";
    return text;
}

std::string badCount(int function, int count, int most) {
    return "количество " + std::to_string(count) + ": функция " + std::to_string(function) +
           " берёт за запрос от 1 до " + std::to_string(most);
}

std::string badCoilValue(std::uint16_t value) {
    return "значение " + hexText(value, 4) + ": выход включает FF 00 и выключает 00 00";
}

std::string notACommand(std::uint16_t value) {
    std::string known;
    for (const map::Command& command : map::commands()) {
        if (!known.empty()) known += ", ";
        known += hexText(command.value, 4) + " (" + command.meaning + ")";
    }
    return "значение " + hexText(value, 4) + " — не команда: регистр принимает " + known;
}

}  // namespace vk41::slave::cause
