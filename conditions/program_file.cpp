#include "conditions/program_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <vector>

#include "conditions/notation.h"

namespace vk41 {
namespace {

using notation::Column;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The length of the well-formed UTF-8 sequence that starts `s`, or 0: no
// overlong form, no surrogate, nothing past U+10FFFF.
std::size_t sequenceLength(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned lead = byte(0);
    const std::size_t n = lead < 0x80                    ? 1
                          : lead >= 0xC2 && lead <= 0xDF ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 0;
    if (n == 0 || n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    // The second byte's range that the lead allows.
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;
    if (lead == 0xED && byte(1) > 0x9F) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;
    if (lead == 0xF4 && byte(1) > 0x8F) return 0;
    return n;
}

// A cell as an error quotes it: a long one is cut, at a character's end.
std::string quotedCell(std::string_view cell) {
    constexpr std::size_t kLongest = 60;
    if (cell.size() <= kLongest) return std::string(cell);
    std::size_t end = 0;
    while (end < cell.size()) {
        const std::size_t n = std::max<std::size_t>(sequenceLength(cell.substr(end)), 1);
        if (end + n > kLongest) break;
        end += n;
    }
    return std::string(cell.substr(0, end)) + "…";
}

bool isUtf8(std::string_view s) {
    while (!s.empty()) {
        const std::size_t n = sequenceLength(s);
        if (n == 0) return false;
        s.remove_prefix(n);
    }
    return true;
}

struct Line {
    int number;
    std::string_view text;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    int number = 1;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back({number++, line});
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The columns of a line: the first eight end at a tab, the comment is the rest.
std::vector<std::string_view> splitColumns(std::string_view line) {
    std::vector<std::string_view> cells;
    while (cells.size() + 1 < static_cast<std::size_t>(notation::kColumns)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) break;
        cells.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    cells.push_back(line);
    return cells;
}

bool skipped(std::string_view line) {
    const std::string_view t = trimmed(line);
    return t.empty() || t.front() == '#';
}

std::string headerText() {
    std::string text;
    for (int c = 0; c < notation::kColumns; ++c) {
        if (c > 0) text += '\t';
        text += notation::title(static_cast<Column>(c));
    }
    return text;
}

bool isHeader(std::string_view line) {
    const std::vector<std::string_view> cells = splitColumns(line);
    // The comment's title may be left off; every other one is needed.
    if (cells.size() + 1 < static_cast<std::size_t>(notation::kColumns)) return false;
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (trimmed(cells[c]) != notation::title(static_cast<Column>(c))) return false;
    return true;
}

class Reader {
  public:
    explicit Reader(std::string_view fileName) : file_(fileName) {}

    ProgramRead fail(const std::string& what) const { return {std::nullopt, file_ + ": " + what}; }
    ProgramRead failAt(const Line& line, Column column, std::string_view cell,
                       const std::string& why) const {
        return fail("строка " + std::to_string(line.number) + ", столбец «" +
                    notation::title(column) + "»: «" + quotedCell(trimmed(cell)) + "» — " + why);
    }

    ProgramRead read(std::string_view text) {
        if (text.size() > kLargestProgramFile)
            return fail("файл больше 1 МБ — это не программа блока условий");
        if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
        if (!isUtf8(text)) return fail("это не текст в кодировке UTF-8");
        const std::vector<Line> lines = splitLines(text);
        bool header = false;
        for (const Line& line : lines) {
            if (skipped(line.text)) continue;
            if (!header) {
                if (!isHeader(line.text))
                    return fail("строка " + std::to_string(line.number) +
                                ": это не программа блока условий — первой должна идти строка "
                                "заголовка «" +
                                spokenHeader() + "» со столбцами через табуляцию");
                header = true;
                continue;
            }
            if (ProgramRead failed = readOperator(line); !failed.error.empty()) return failed;
        }
        if (!header) return fail("файл пуст — в нём нет заголовка программы блока условий");
        return {program_, {}};
    }

  private:
    static std::string spokenHeader() {
        std::string text;
        for (int c = 0; c < notation::kColumns; ++c) {
            if (c > 0) text += ", ";
            text += notation::title(static_cast<Column>(c));
        }
        return text;
    }

    ProgramRead readOperator(const Line& line) {
        const std::vector<std::string_view> cells = splitColumns(line.text);
        const std::string_view numberCell = trimmed(cells[0]);
        int k = 0;
        for (char c : numberCell) {
            if (c < '0' || c > '9' || k > kOperators) {
                k = 0;
                break;
            }
            k = k * 10 + (c - '0');
        }
        if (k < 1 || k > kOperators)
            return failAt(line, Column::Number, numberCell, "номер оператора от 1 до 14");
        const auto index = static_cast<std::size_t>(k - 1);
        if (seenAt_[index] != 0)
            return failAt(line, Column::Number, numberCell,
                          "оператор " + std::to_string(k) + " уже задан в строке " +
                              std::to_string(seenAt_[index]));
        seenAt_[index] = line.number;
        Operator op;
        for (int c = 1; c < notation::kColumns; ++c) {
            const auto column = static_cast<Column>(c);
            const auto at = static_cast<std::size_t>(c);
            if (at >= cells.size()) {
                if (op.kind == Comparison::None || column == Column::Comment) break;
                return failAt(line, column, "",
                              "столбца нет: в строке оператора 9 столбцов через табуляцию");
            }
            const std::string_view cell =
                column == Column::Comment ? cells[at] : trimmed(cells[at]);
            if (auto why = notation::readCell(op, column, cell))
                return failAt(line, column, cell, *why);
        }
        program_.at(k) = op;
        return {};
    }

    std::string file_;
    Program program_;
    std::array<int, kOperators> seenAt_{};
};

// A comment stays on its line and in its column.
std::string oneLine(std::string_view comment) {
    std::string out(comment);
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return out;
}

}  // namespace

ProgramRead parseProgram(std::string_view text, std::string_view fileName) {
    return Reader(fileName).read(text);
}

ProgramRead readProgramFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {std::nullopt, path + ": файл не открывается"};
    std::string text;
    std::array<char, 64 * 1024> chunk{};
    while (in) {
        in.read(chunk.data(), chunk.size());
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > kLargestProgramFile)
            return {std::nullopt, path + ": файл больше 1 МБ — это не программа блока условий"};
    }
    if (in.bad()) return {std::nullopt, path + ": файл не читается"};
    return parseProgram(text, path);
}

std::string programText(const Program& program) {
    std::string text = headerText() + '\n';
    for (int k = 1; k <= kOperators; ++k) {
        const Operator& op = program.at(k);
        text += std::to_string(k);
        for (int c = 1; c < notation::kColumns; ++c) {
            const auto column = static_cast<Column>(c);
            text += '\t';
            text += column == Column::Comment ? oneLine(op.comment) : notation::cell(op, column);
        }
        text += '\n';
    }
    return text;
}

std::string writeProgramFile(const std::string& path, const Program& program) {
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) return path + ": файл не создаётся";
        out << programText(program);
        out.close();
        if (!out) {
            std::remove(partial.c_str());
            return path + ": файл не записан полностью";
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return path + ": файл не записан";
    }
    return {};
}

}  // namespace vk41
