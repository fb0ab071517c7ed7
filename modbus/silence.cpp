#include "modbus/silence.h"

#include "modbus/byte_text.h"

namespace vk41::slave::silence {

std::string badCrc(std::uint8_t lowGot, std::uint8_t highGot, std::uint16_t expected) {
    return "CRC неверна: получено " + hexText(lowGot, 2) + " " + hexText(highGot, 2) +
           ", должно быть " + hexText(expected & 0xFFu, 2) + " " + hexText(expected >> 8u, 2);
}

std::string otherController(int unit, int address) {
    return "адрес " + std::to_string(unit) + " — не этот контроллер (" + std::to_string(address) +
           ")";
}

std::string broadcast() {
    return "широковещательный запрос: выполнен без ответа";
}

std::string lengthForFunction(int function) {
    return "длина кадра не соответствует функции " + std::to_string(function);
}

std::string protocolId(int protocol) {
    return "идентификатор протокола " + std::to_string(protocol) + " ≠ 0";
}

}  // namespace vk41::slave::silence
