#include "ui/properties.h"

#include <array>
#include <functional>

namespace vk41 {
namespace {

using K = ControlKind;

constexpr unsigned bit(K k) {
    return 1u << static_cast<unsigned>(k);
}
constexpr unsigned kAll = 0x3FFu;
constexpr unsigned kPlaced = kAll & ~bit(K::Line) & ~bit(K::Timer);
constexpr unsigned kCaptioned = bit(K::Label) | bit(K::Button) | bit(K::Option) | bit(K::Frame);
constexpr unsigned kTexted = bit(K::Combo) | bit(K::TextBox);

struct Property {
    std::string_view name;
    unsigned kinds;
    std::function<Value(const Control&)> get;
    std::function<bool(Control&, const Value&)> set;  // false: wrong type of value
};

template <typename T>
const T* as(const Value& v) {
    return std::get_if<T>(&v);
}

std::optional<float> twips(const Value& v) {
    if (const Twips* t = as<Twips>(v)) return static_cast<float>(t->value);
    if (const double* d = as<double>(v)) return static_cast<float>(*d);
    return std::nullopt;
}

// Registers a position or size: read as whole twips, written as a number.
Property place(std::string_view name, unsigned kinds, float (Control::*get)() const,
               void (Control::*set)(float)) {
    return {name, kinds, [get](const Control& c) -> Value { return Twips{(c.*get)()}; },
            [set](Control& c, const Value& v) {
                const auto t = twips(v);
                if (t) (c.*set)(*t);
                return t.has_value();
            }};
}

Property flag(std::string_view name, unsigned kinds, bool (Control::*get)() const,
              void (Control::*set)(bool)) {
    return {name, kinds, [get](const Control& c) -> Value { return (c.*get)(); },
            [set](Control& c, const Value& v) {
                const bool* b = as<bool>(v);
                if (b) (c.*set)(*b);
                return b != nullptr;
            }};
}

Property colour(std::string_view name, unsigned kinds, Colour (Control::*get)() const,
                void (Control::*set)(Colour)) {
    return {name, kinds, [get](const Control& c) -> Value { return (c.*get)(); },
            [set](Control& c, const Value& v) {
                const Colour* col = as<Colour>(v);
                if (col) (c.*set)(*col);
                return col != nullptr;
            }};
}

Property text(std::string_view name, unsigned kinds, const std::string& (Control::*get)() const,
              void (Control::*set)(const std::string&)) {
    return {name, kinds, [get](const Control& c) -> Value { return (c.*get)(); },
            [set](Control& c, const Value& v) {
                const std::string* s = as<std::string>(v);
                if (s) (c.*set)(*s);
                return s != nullptr;
            }};
}

Property number(std::string_view name, unsigned kinds, std::function<double(const Control&)> get,
                std::function<void(Control&, double)> set) {
    return {name, kinds, [get](const Control& c) -> Value { return get(c); },
            [set](Control& c, const Value& v) {
                const double* d = as<double>(v);
                if (d) set(c, *d);
                return d != nullptr;
            }};
}

const std::array<Property, 23>& table() {
    static const std::array<Property, 23> properties = {
        flag("Visible", kAll, &Control::visible, &Control::setVisible),
        flag("Enabled", kAll, &Control::enabled, &Control::setEnabled),
        place("Left", kPlaced, &Control::left, &Control::setLeft),
        place("Top", kPlaced, &Control::top, &Control::setTop),
        place("Width", kPlaced, &Control::width, &Control::setWidth),
        place("Height", kPlaced, &Control::height, &Control::setHeight),
        text("ToolTipText", kPlaced, &Control::toolTip, &Control::setToolTip),
        place("X1", bit(K::Line), &Control::x1, &Control::setX1),
        place("Y1", bit(K::Line), &Control::y1, &Control::setY1),
        place("X2", bit(K::Line), &Control::x2, &Control::setX2),
        place("Y2", bit(K::Line), &Control::y2, &Control::setY2),
        colour("BorderColor", bit(K::Line) | bit(K::Shape), &Control::borderColor,
               &Control::setBorderColor),
        number(
            "BorderWidth", bit(K::Line) | bit(K::Shape),
            [](const Control& c) { return c.borderWidth(); },
            [](Control& c, double v) { c.setBorderWidth(static_cast<int>(v)); }),
        colour("FillColor", bit(K::Shape), &Control::fillColor, &Control::setFillColor),
        text("Caption", kCaptioned, &Control::caption, &Control::setCaption),
        colour("BackColor", kCaptioned, &Control::backColor, &Control::setBackColor),
        colour("ForeColor", bit(K::Label), &Control::foreColor, &Control::setForeColor),
        {"FontName", bit(K::Label), [](const Control& c) -> Value { return c.font().name; },
         [](Control& c, const Value& v) {
             const std::string* s = as<std::string>(v);
             if (s) c.setFontName(*s);
             return s != nullptr;
         }},
        number(
            "FontSize", bit(K::Label), [](const Control& c) { return c.font().size; },
            [](Control& c, double v) { c.setFontSize(v); }),
        {"FontBold", bit(K::Label), [](const Control& c) -> Value { return c.font().bold; },
         [](Control& c, const Value& v) {
             const bool* b = as<bool>(v);
             if (b) c.setFontBold(*b);
             return b != nullptr;
         }},
        flag("Value", bit(K::Option), &Control::value, &Control::setValue),
        text("Text", kTexted, &Control::text, &Control::setText),
        number(
            "Interval", bit(K::Timer), [](const Control& c) { return c.interval(); },
            [](Control& c, double v) { c.setInterval(static_cast<int>(v)); }),
    };
    return properties;
}

const Property* find(std::string_view name) {
    for (const Property& p : table())
        if (p.name == name) return &p;
    return nullptr;
}

}  // namespace

PropertyError checkProperty(ControlKind kind, std::string_view name) {
    const Property* p = find(name);
    if (!p) return PropertyError::Unknown;
    return (p->kinds & bit(kind)) ? PropertyError::None : PropertyError::NotOfThisKind;
}

PropertyResult getProperty(const Control& control, std::string_view name) {
    if (const PropertyError e = checkProperty(control.kind(), name); e != PropertyError::None)
        return {Empty{}, e};
    return {find(name)->get(control), PropertyError::None};
}

PropertyError setProperty(Control& control, std::string_view name, const Value& value) {
    if (const PropertyError e = checkProperty(control.kind(), name); e != PropertyError::None)
        return e;
    return find(name)->set(control, value) ? PropertyError::None : PropertyError::WrongType;
}

}  // namespace vk41
