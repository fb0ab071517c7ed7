#include "ui/design_text.h"

#include <map>
#include <utility>
#include <vector>

#include "ui/design_values.h"
#include "ui/properties.h"
#include "ui/resources.h"

namespace vk41 {
namespace {

struct Token {
    std::string key;  // empty for a positional word
    std::string value;
    bool quoted{false};
};

// Splits a line into words, `key=value` pairs and quoted texts.
std::vector<Token> tokenize(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    const auto blank = [&](std::size_t at) {
        return line[at] == ' ' || line[at] == '\t' || line[at] == '\r';
    };
    while (i < line.size()) {
        if (blank(i)) {
            ++i;
            continue;
        }
        Token token;
        std::size_t start = i;
        while (i < line.size() && !blank(i) && line[i] != '=' && line[i] != '"') ++i;
        std::string word(line.substr(start, i - start));
        if (i < line.size() && line[i] == '=') {
            token.key = word;
            ++i;
            word.clear();
        }
        if (i < line.size() && line[i] == '"') {
            token.quoted = true;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
                word += line[i];
            }
            if (i >= line.size()) throw DesignError("quoted text without its closing quote");
            ++i;
        } else {
            start = i;
            while (i < line.size() && !blank(i)) ++i;
            word += std::string(line.substr(start, i - start));
        }
        token.value = word;
        tokens.push_back(token);
    }
    return tokens;
}

template <typename T>
T read(const std::string& text, const char* what) {
    T value{};
    if (!readValue(text, value)) throw DesignError(std::string("not ") + what + ": '" + text + "'");
    return value;
}

float number(const std::string& text) {
    return read<float>(text, "a number");
}

// clang-format off
const std::map<std::string, ControlKind, std::less<>> kKinds = {
    {"line",    ControlKind::Line},    {"shape",   ControlKind::Shape},
    {"label",   ControlKind::Label},   {"button",  ControlKind::Button},
    {"option",  ControlKind::Option},  {"frame",   ControlKind::Frame},
    {"combo",   ControlKind::Combo},   {"textbox", ControlKind::TextBox},
    {"picture", ControlKind::Picture}, {"timer",   ControlKind::Timer},
    {"chart",   ControlKind::Chart},   {"table",   ControlKind::Table},
};
// clang-format on

// `NAME` or `NAME(i)`.
void parseName(const std::string& word, ControlDesign& row) {
    const std::size_t open = word.find('(');
    if (open == std::string::npos) {
        row.name = word;
        return;
    }
    if (word.back() != ')') throw DesignError("bad control name '" + word + "'");
    row.name = word.substr(0, open);
    row.index = static_cast<int>(number(word.substr(open + 1, word.size() - open - 2)));
}

// An option names its property the way the property table spells it.
void applyOption(const Token& t, ControlDesign& row) {
    if (t.key.empty() && t.quoted) throw DesignError("text without a key: \"" + t.value + "\"");
    switch (setFormOption(row, t.key, t.value)) {
        case FormOptionError::None:
            return;
        case FormOptionError::Unknown:
            throw DesignError(t.key.empty() ? "unknown word '" + t.value + "'"
                                            : "unknown key '" + t.key + "'");
        case FormOptionError::BadValue:
            throw DesignError("'" + t.value + "' is no value of " + t.key + "=");
    }
}

ControlDesign parseControl(ControlKind kind, const std::vector<Token>& tokens) {
    if (tokens.size() < 2 || !tokens[1].key.empty()) throw DesignError("a control needs a name");
    ControlDesign row;
    row.kind = kind;
    parseName(tokens[1].value, row);
    std::size_t next = 2;
    const int places = formPositionCount(kind);
    for (int n = 0; n < places; ++n, ++next) {
        if (next >= tokens.size() || !tokens[next].key.empty() || tokens[next].quoted)
            throw DesignError("'" + row.name + "' needs " + std::to_string(places) +
                              " coordinates");
        if (setFormPosition(row, n, tokens[next].value) != FormOptionError::None)
            throw DesignError("not a number: '" + tokens[next].value + "'");
    }
    for (; next < tokens.size(); ++next) applyOption(tokens[next], row);
    return row;
}

void parseInto(std::string_view text, FormDesign& design, int depth);

// clang-format off
// The window's own lines, and how many words follow each.
const std::map<std::string, std::pair<std::size_t, std::size_t>, std::less<>> kWindowLines = {
    {"form",    {1, 1}}, {"caption", {1, 1}}, {"size",    {2, 2}}, {"back", {1, 1}},
    {"border",  {1, 1}}, {"picture", {1, 1}}, {"include", {1, 1}}, {"menu", {2, 3}},
};
// clang-format on

void parseWindowLine(const std::vector<Token>& tokens, FormDesign& design, int depth) {
    const std::string& word = tokens[0].value;
    const auto line = kWindowLines.find(word);
    if (line == kWindowLines.end()) throw DesignError("unknown line '" + word + "'");
    // A menu item may name its key: key=Ctrl+Z.
    std::string key;
    for (const Token& t : tokens) {
        if (t.key.empty()) continue;
        if (word != "menu" || t.key != "key") throw DesignError("unknown key '" + t.key + "'");
        key = t.value;
    }
    std::vector<Token> words;
    for (const Token& t : tokens)
        if (t.key.empty()) words.push_back(t);
    const auto [least, most] = line->second;
    if (words.size() - 1 < least || words.size() - 1 > most)
        throw DesignError("wrong number of words after '" + word + "'");
    const auto arg = [&](std::size_t i) -> const std::string& { return words[i].value; };
    if (word == "form")
        design.name = arg(1);
    else if (word == "caption")
        design.caption = arg(1);
    else if (word == "size")
        design.width = number(arg(1)), design.height = number(arg(2));
    else if (word == "back")
        design.backColor = read<Colour>(arg(1), "a colour");
    else if (word == "border")
        design.border = read<Border>(arg(1), "a border");
    else if (word == "picture")
        design.picture = arg(1);
    else if (word == "include") {
        const std::string_view part = resource(arg(1));
        if (part.empty()) throw DesignError("no design part '" + arg(1) + "'");
        if (depth > 8) throw DesignError("design parts include each other");
        try {
            parseInto(part, design, depth + 1);
        } catch (const DesignError& e) {
            throw DesignError(arg(1) + ": " + e.what());
        }
    } else if (word == "menu")
        design.menu.push_back({arg(1), arg(2), words.size() > 3 ? words[3].value : "", key});
}

void parseInto(std::string_view text, FormDesign& design, int depth) {
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        try {
            const std::size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string_view::npos || line[first] == '#') continue;
            const std::vector<Token> tokens = tokenize(line);
            const auto kind = kKinds.find(tokens[0].value);
            // `picture FILE` alone is the window's background picture.
            const bool background = tokens[0].value == "picture" && tokens.size() == 2;
            if (kind == kKinds.end() || background)
                parseWindowLine(tokens, design, depth);
            else
                design.controls.push_back(parseControl(kind->second, tokens));
        } catch (const DesignError& e) {
            throw DesignError("line " + std::to_string(lineNumber) + ": " + e.what());
        }
    }
}

}  // namespace

FormDesign parseDesign(std::string_view text) {
    FormDesign design;
    parseInto(text, design, 0);
    return design;
}

const FormDesign& embeddedDesign(std::string_view fileName) {
    static std::map<std::string, FormDesign, std::less<>> designs;
    auto it = designs.find(fileName);
    if (it == designs.end()) {
        const std::string_view text = resource(fileName);
        if (text.empty()) throw DesignError(std::string(fileName) + ": no such design");
        try {
            it = designs.emplace(std::string(fileName), parseDesign(text)).first;
        } catch (const DesignError& e) {
            throw DesignError(std::string(fileName) + ": " + e.what());
        }
    }
    return it->second;
}

}  // namespace vk41
