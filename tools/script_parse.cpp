#include "tools/script_parse.h"

#include <charconv>
#include <cmath>

namespace vk41::script {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    return s;
}

// Takes the next blank-separated word off the front of s.
std::string_view nextWord(std::string_view& s) {
    s = trimLeft(s);
    std::size_t n = 0;
    while (n < s.size() && !isBlank(s[n])) ++n;
    const std::string_view word = s.substr(0, n);
    s.remove_prefix(n);
    return word;
}

// The TEXT argument: a quoted string (then only a comment may follow, or,
// where `after` takes it, more words) or the rest.
std::string text(std::string_view rest, std::string_view* after = nullptr) {
    rest = trimLeft(rest);
    if (rest.empty() || rest.front() != '"') return std::string(rest);
    std::string out;
    std::size_t i = 1;
    for (; i < rest.size() && rest[i] != '"'; ++i) {
        if (rest[i] == '\\') {
            if (i + 1 >= rest.size() || (rest[i + 1] != '"' && rest[i + 1] != '\\'))
                throw ScriptError{"bad escape in quoted text (only \\\" and \\\\)"};
            ++i;
        }
        out += rest[i];
    }
    if (i >= rest.size()) throw ScriptError{"quoted text without its closing quote"};
    std::string_view tail = trimLeft(rest.substr(i + 1));
    if (!tail.empty() && tail.front() == '#') tail = {};
    if (after)
        *after = tail;
    else if (!tail.empty())
        throw ScriptError{"text after the closing quote"};
    return out;
}

// How many words come before the TEXT argument, -1 when the command has none.
int wordsBeforeText(std::string_view command) {
    if (command == "menu" || command == "text" || command == "pick" || command == "snapshot")
        return 1;
    if (command == "answer") return 0;
    return -1;
}

bool isNumber(std::string_view word) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return !word.empty() && error == std::errc{} && end == word.data() + word.size();
}

// `snapshot WINDOW FILE [SCALE]`: the scale, when given, is the last word; a
// file whose name itself ends in a blank and a number is quoted.
Line snapshotFile(std::string_view rest, Line& line) {
    rest = trimLeft(rest);
    std::string_view after;
    if (rest.front() == '"') {
        line.args.push_back(text(rest, &after));
        const std::string_view scale = nextWord(after);
        if (!scale.empty()) line.args.emplace_back(scale);
        if (!trimLeft(after).empty() && trimLeft(after).front() != '#')
            throw ScriptError{"text after the scale"};
        return line;
    }
    std::string_view file = rest;
    while (!file.empty() && isBlank(file.back())) file.remove_suffix(1);
    const std::size_t blank = file.find_last_of(" \t");
    if (blank != std::string_view::npos && isNumber(file.substr(blank + 1))) {
        const std::string_view scale = file.substr(blank + 1);
        file = file.substr(0, blank);
        while (!file.empty() && isBlank(file.back())) file.remove_suffix(1);
        line.args.emplace_back(file);
        line.args.emplace_back(scale);
        return line;
    }
    line.args.push_back(text(rest));
    return line;
}

}  // namespace

Line splitLine(std::string_view raw) {
    std::string_view s = trimRight(raw);
    Line line;
    const std::string_view command = nextWord(s);
    if (command.empty() || command.front() == '#') return line;
    line.command = std::string(command);
    if (const int before = wordsBeforeText(command); before >= 0) {
        for (int i = 0; i < before; ++i) {
            const std::string_view word = nextWord(s);
            if (word.empty()) return line;
            line.args.emplace_back(word);
        }
        if (trimLeft(s).empty()) return line;
        if (line.command == "snapshot") return snapshotFile(s, line);
        line.args.push_back(text(s));
        return line;
    }
    for (std::string_view word = nextWord(s); !word.empty(); word = nextWord(s)) {
        if (word.front() == '#') break;
        line.args.emplace_back(word);
    }
    return line;
}

namespace {

Name parseName(std::string_view part, std::string_view whole) {
    const auto bad = [&] { return ScriptError{"bad path '" + std::string(whole) + "'"}; };
    Name name;
    const std::size_t open = part.find('(');
    if (open == std::string_view::npos) {
        if (part.empty() || part.find(')') != std::string_view::npos) throw bad();
        name.name = std::string(part);
        return name;
    }
    if (open == 0 || part.back() != ')') throw bad();
    const std::string_view digits = part.substr(open + 1, part.size() - open - 2);
    int index = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || index < 0)
        throw bad();
    name.name = std::string(part.substr(0, open));
    name.index = index;
    return name;
}

}  // namespace

Path parsePath(std::string_view text) {
    Path path;
    std::size_t start = 0;
    std::vector<std::string_view> pieces;
    while (true) {
        const std::size_t dot = text.find('.', start);
        pieces.push_back(text.substr(start, dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    if (pieces.size() < 2 || pieces.size() > 3 || pieces.front().empty())
        throw ScriptError{"bad path '" + std::string(text) + "'"};
    path.window = std::string(pieces.front());
    for (std::size_t i = 1; i < pieces.size(); ++i)
        path.parts.push_back(parseName(pieces[i], text));
    if (path.parts.size() == 2 && path.parts[1].index)
        throw ScriptError{"bad path '" + std::string(text) + "'"};
    return path;
}

double parseNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        !std::isfinite(value))
        throw ScriptError{"not a number: '" + std::string(text) + "'"};
    return value;
}

long long parseCount(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0)
        throw ScriptError{"not a count: '" + std::string(text) + "'"};
    return value;
}

}  // namespace vk41::script
