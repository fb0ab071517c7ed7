#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conditions/program.h"

namespace vk41 {

// What the check of a program found in one of its rows. An error (a cell
// that does not read) keeps the program from the controller; a warning
// points at something the controller would run, but to no purpose.
enum class Severity : std::uint8_t {
    Error,    // the cell does not read: nothing is loaded while one is left
    Warning,  // it runs, but does not do what its row seems to say
};

struct Finding {
    int row{0};  // the operator, 1..14
    Severity severity{Severity::Warning};
    std::string text;
    bool operator==(const Finding&) const = default;
};

// The warnings a program earns, row by row:
// - an output that no wire of the installation reaches (only 3..6 are wired);
// - a dependency that can never let the operator run: on its own flag, on
//   the flag of an empty row, or on a flag past the last operator;
// - a condition that always or never holds, whatever the plant does: a
//   discrete input, output or flag is 0 or 1, a counter is 0 or more;
// - an output that a later operator writes in every cycle, because it
//   depends on no flag: what the earlier one wrote never reaches the plant.
std::vector<Finding> checkProgram(const Program& program);

// "Оператор 6, предупреждение: …", as the editor's check list shows it.
std::string findingLine(const Finding& finding);

// The check list: errors and warnings ordered by row, errors first in a row,
// one line each; with none, one line that says so.
std::string checkListText(std::vector<Finding> findings);

bool hasErrors(const std::vector<Finding>& findings);

}  // namespace vk41
