#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conditions/program.h"

namespace vk41 {

// The program as a file: UTF-8 text, one operator a line, its columns
// separated by tabs, under a header line of the column titles:
//
//   №  Вид  Операнд 1  Операнд 2  Выход  Знач. IF  Знач. ELSE  Зависит от  Комментарий
//   1  если О1 Равен О2  Self / 133  0  self / D3  1 р3  0 р3  нет  Если …
//
// The comment is the rest of the line. Lines starting with '#' and empty
// lines are skipped; operators not given are empty rows ("Нет").

// The largest file that is read.
inline constexpr std::size_t kLargestProgramFile = 1024 * 1024;

// A program read, or why not: the file, the line and the column, and what
// was expected there, in the reader's words.
struct ProgramRead {
    std::optional<Program> program;
    std::string error;
};

ProgramRead parseProgram(std::string_view text, std::string_view fileName);
ProgramRead readProgramFile(const std::string& path);

std::string programText(const Program& program);
// Writes the file whole or not at all; returns the reason it failed, or
// an empty text.
std::string writeProgramFile(const std::string& path, const Program& program);

}  // namespace vk41
