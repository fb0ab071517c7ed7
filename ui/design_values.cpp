#include "ui/design_values.h"

#include <charconv>
#include <cstdint>
#include <utility>

namespace vk41 {
namespace {

template <typename E>
using Choices = std::initializer_list<std::pair<std::string_view, E>>;

template <typename E>
bool choose(std::string_view text, Choices<E> choices, E& value) {
    for (const auto& [word, choice] : choices) {
        if (word != text) continue;
        value = choice;
        return true;
    }
    return false;
}

}  // namespace

bool readValue(std::string_view text, float& value) {
    float read = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, read);
    if (text.empty() || error != std::errc{} || stop != end) return false;
    value = read;
    return true;
}

bool readValue(std::string_view text, int& value) {
    float read = 0;
    if (!readValue(text, read)) return false;
    value = static_cast<int>(read);
    return true;
}

bool readValue(std::string_view text, double& value) {
    float read = 0;
    if (!readValue(text, read)) return false;
    value = read;
    return true;
}

bool readValue(std::string_view text, Colour& value) {
    if (choose<Colour>(text, {{"buttonface", kButtonFace}, {"window", kWindowColour}}, value))
        return true;
    if (text.size() != 7 || text[0] != '#') return false;
    std::uint32_t read = 0;
    const char* end = text.data() + 7;
    const auto [stop, error] = std::from_chars(text.data() + 1, end, read, 16);
    if (error != std::errc{} || stop != end) return false;
    value = rgb(read);
    return true;
}

bool readValue(std::string_view text, std::string& value) {
    value = text;
    return true;
}

bool readValue(std::string_view text, std::vector<std::string>& value) {
    value.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        value.emplace_back(text.substr(start, bar - start));
        if (bar == std::string_view::npos) return true;
        start = bar + 1;
    }
}

// clang-format off
bool readValue(std::string_view text, ShapeKind& value) {
    return choose<ShapeKind>(text, {{"rect",    ShapeKind::Rectangle},
                                    {"square",  ShapeKind::Square},
                                    {"oval",    ShapeKind::Oval},
                                    {"circle",  ShapeKind::Circle},
                                    {"rrect",   ShapeKind::RoundedRectangle},
                                    {"rsquare", ShapeKind::RoundedSquare}}, value);
}

bool readValue(std::string_view text, Align& value) {
    return choose<Align>(text, {{"left",   Align::Left},
                                {"center", Align::Center},
                                {"right",  Align::Right}}, value);
}

bool readValue(std::string_view text, ScrollBars& value) {
    return choose<ScrollBars>(text, {{"none",       ScrollBars::None},
                                     {"horizontal", ScrollBars::Horizontal},
                                     {"vertical",   ScrollBars::Vertical},
                                     {"both",       ScrollBars::Both}}, value);
}

bool readValue(std::string_view text, Border& value) {
    return choose<Border>(text, {{"sizable", Border::Sizable},
                                 {"dialog",  Border::FixedDialog}}, value);
}
// clang-format on

}  // namespace vk41
