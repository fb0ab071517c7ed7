#pragma once

#include <ostream>

#include "conditions/program.h"
#include "conditions/program_file.h"

namespace vk41 {

// A program in a failure message reads as its table.
inline void PrintTo(const Program& program, std::ostream* out) {
    *out << '\n' << programText(program);
}

}  // namespace vk41
