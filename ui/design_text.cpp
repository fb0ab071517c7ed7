#include "ui/design_text.h"

#include <charconv>
#include <map>
#include <optional>
#include <vector>

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

float number(const std::string& text) {
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        throw DesignError("not a number: '" + text + "'");
    return value;
}

Colour colour(const std::string& text) {
    if (text == "buttonface") return kButtonFace;
    if (text == "window") return kWindowColour;
    if (text.size() != 7 || text[0] != '#') throw DesignError("not a colour: '" + text + "'");
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
    if (error != std::errc{} || end != text.data() + 7)
        throw DesignError("not a colour: '" + text + "'");
    return rgb(value);
}

const std::map<std::string, ControlKind, std::less<>> kKinds = {
    {"line", ControlKind::Line},       {"shape", ControlKind::Shape},
    {"label", ControlKind::Label},     {"button", ControlKind::Button},
    {"option", ControlKind::Option},   {"frame", ControlKind::Frame},
    {"combo", ControlKind::Combo},     {"textbox", ControlKind::TextBox},
    {"picture", ControlKind::Picture}, {"timer", ControlKind::Timer},
};

const std::map<std::string, ShapeKind, std::less<>> kShapes = {
    {"rect", ShapeKind::Rectangle},
    {"square", ShapeKind::Square},
    {"oval", ShapeKind::Oval},
    {"circle", ShapeKind::Circle},
    {"rrect", ShapeKind::RoundedRectangle},
    {"rsquare", ShapeKind::RoundedSquare},
};

std::vector<std::string> splitItems(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        items.push_back(text.substr(start, bar - start));
        if (bar == std::string::npos) return items;
        start = bar + 1;
    }
}

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

void applyOption(const Token& t, ControlDesign& row) {
    Props& p = row.props;
    const std::string& k = t.key;
    const std::string& v = t.value;
    if (k.empty()) {
        if (v == "hidden")
            p.visible = false;
        else if (v == "disabled")
            p.enabled = false;
        else if (v == "bold")
            p.font.bold = true;
        else if (v == "transparent")
            p.opaque = false;
        else if (v == "selected")
            p.value = true;
        else
            throw DesignError("unknown word '" + v + "'");
        return;
    }
    if (k == "color" || k == "border") {
        if (v == "none")
            p.bordered = false;
        else
            p.borderColor = colour(v);
    } else if (k == "width")
        p.borderWidth = static_cast<int>(number(v));
    else if (k == "fill") {
        p.filled = true;
        p.fillColor = colour(v);
    } else if (k == "kind") {
        const auto it = kShapes.find(v);
        if (it == kShapes.end()) throw DesignError("unknown shape '" + v + "'");
        p.shape = it->second;
    } else if (k == "caption")
        p.caption = v;
    else if (k == "font")
        p.font.name = v;
    else if (k == "size")
        p.font.size = number(v);
    else if (k == "fore")
        p.foreColor = colour(v);
    else if (k == "back")
        p.backColor = colour(v);
    else if (k == "align")
        p.alignment = v == "center" ? Align::Center : v == "right" ? Align::Right : Align::Left;
    else if (k == "tip")
        p.toolTip = v;
    else if (k == "picture")
        p.picture = v;
    else if (k == "text")
        p.text = v;
    else if (k == "items")
        p.items = splitItems(v);
    else if (k == "scroll")
        p.scrollBars = v == "vertical"     ? ScrollBars::Vertical
                       : v == "horizontal" ? ScrollBars::Horizontal
                       : v == "both"       ? ScrollBars::Both
                                           : ScrollBars::None;
    else if (k == "interval")
        p.interval = static_cast<int>(number(v));
    else if (k == "in")
        row.container = v;
    else
        throw DesignError("unknown key '" + k + "'");
}

ControlDesign parseControl(ControlKind kind, const std::vector<Token>& tokens) {
    if (tokens.size() < 2 || !tokens[1].key.empty()) throw DesignError("a control needs a name");
    ControlDesign row;
    row.kind = kind;
    parseName(tokens[1].value, row);
    std::size_t next = 2;
    const std::size_t places = kind == ControlKind::Timer ? 0 : 4;
    float at[4] = {0, 0, 0, 0};
    for (std::size_t n = 0; n < places; ++n, ++next) {
        if (next >= tokens.size() || !tokens[next].key.empty() || tokens[next].quoted)
            throw DesignError("'" + row.name + "' needs four coordinates");
        at[n] = number(tokens[next].value);
    }
    Props& p = row.props;
    if (kind == ControlKind::Line) {
        p.x1 = at[0], p.y1 = at[1], p.x2 = at[2], p.y2 = at[3];
    } else {
        p.left = at[0], p.top = at[1], p.width = at[2], p.height = at[3];
    }
    for (; next < tokens.size(); ++next) applyOption(tokens[next], row);
    return row;
}

void parseInto(std::string_view text, FormDesign& design, int depth);

void parseWindowLine(const std::vector<Token>& tokens, FormDesign& design, int depth) {
    const std::string& word = tokens[0].value;
    const auto arg = [&](std::size_t i) -> const std::string& {
        if (i >= tokens.size()) throw DesignError("'" + word + "' needs more words");
        return tokens[i].value;
    };
    if (word == "form")
        design.name = arg(1);
    else if (word == "caption")
        design.caption = arg(1);
    else if (word == "size")
        design.width = number(arg(1)), design.height = number(arg(2));
    else if (word == "back")
        design.backColor = colour(arg(1));
    else if (word == "border")
        design.border = arg(1) == "dialog" ? Border::FixedDialog : Border::Sizable;
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
        design.menu.push_back({arg(1), arg(2), tokens.size() > 3 ? tokens[3].value : ""});
    else
        throw DesignError("unknown line '" + word + "'");
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
