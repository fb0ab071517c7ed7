#pragma once

#include <cstdint>
#include <string>

// Why the controller answered a frame with silence, in the words the bus's
// traffic and the slave's log both show. A real slave says nothing in these
// cases; the trainer says why.
namespace vk41::slave::silence {

// "CRC неверна: получено 12 34, должно быть 56 78": the CRC's two bytes as
// the frame carries them, low byte first, and as they should be.
std::string badCrc(std::uint8_t lowGot, std::uint8_t highGot, std::uint16_t expected);
// "адрес 5 — не этот контроллер (127)"
std::string otherController(int unit, int address);
// "широковещательный запрос: выполнен без ответа"
std::string broadcast();
// "длина кадра не соответствует функции 3"
std::string lengthForFunction(int function);
// "идентификатор протокола 1 ≠ 0"
std::string protocolId(int protocol);

}  // namespace vk41::slave::silence
