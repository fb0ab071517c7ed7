#pragma once

#include <cstdint>
#include <string>

#include "modbus/memory_map.h"

// Why the controller answered a request with an exception, in the words a
// learner writing a Modbus master needs: what in the request the map does
// not take, and the mistake that most often leads there.
namespace vk41::slave::cause {

// Exception 01: the controller does not serve the function.
std::string unsupported(int function);
// Exception 02: addresses first..last lie (partly) outside the span of
// areas `low`..`high` that the function reaches. One address below the
// span's start is the mark of a master that counts addresses from 1.
std::string outsideMap(int first, int last, const memory_map::Area& low,
                       const memory_map::Area& high);
// Exception 02 of a write: a coil that is no writable output, a register
// that is not the command register.
std::string notWritable(int coil);
std::string notCommandRegister(int address);
// Exception 03: a quantity out of 1..most, a coil value that is neither
// on nor off, a value the command register does not know.
std::string badCount(int function, int count, int most);
std::string badCoilValue(std::uint16_t value);
std::string notACommand(std::uint16_t value);

}  // namespace vk41::slave::cause
