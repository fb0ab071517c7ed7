#include "ui/properties.h"

#include <functional>
#include <span>
#include <type_traits>

#include "ui/design_values.h"
#include "ui/table.h"

namespace vk41 {
namespace {

using K = ControlKind;

constexpr unsigned bit(K k) {
    return 1u << static_cast<unsigned>(k);
}
constexpr unsigned kAll = (bit(K::Table) << 1) - 1;  // every kind
constexpr unsigned kPlaced = kAll & ~bit(K::Line) & ~bit(K::Timer);
constexpr unsigned kOutlined = bit(K::Line) | bit(K::Shape);
constexpr unsigned kCaptioned = bit(K::Label) | bit(K::Button) | bit(K::Option) | bit(K::Frame);
constexpr unsigned kTexted = bit(K::Combo) | bit(K::TextBox);
constexpr unsigned kDesignOnly = 0;  // read from the design; no name reaches it at run time

// How a `.form` line writes a property.
struct FormSpelling {
    enum class How { Key, Word, Position } how;
    std::string_view word;   // the key before `=`, or the bare word
    std::string_view alias;  // another key for the same property, if any
    bool wordSets{false};    // the value a bare word gives its flag
    int position{-1};        // which of the numbers after the control's name
};

constexpr FormSpelling key(std::string_view k, std::string_view alias = {}) {
    return {FormSpelling::How::Key, k, alias};
}
constexpr FormSpelling word(std::string_view w, bool sets) {
    return {FormSpelling::How::Word, w, {}, sets};
}
constexpr FormSpelling nth(int position) {
    return {FormSpelling::How::Position, {}, {}, false, position};
}

using Reader = std::function<bool(ControlDesign&, std::string_view)>;  // false: not a value

struct Property {
    std::string_view name;
    FormSpelling form;
    unsigned kinds;
    std::function<Value(const Control&)> get;         // null for a design-only property
    std::function<bool(Control&, const Value&)> set;  // false: wrong type of value
    Reader read;                                      // from the text of a `.form` option
};

// A property's value as the name-based interface gives it: positions and
// sizes as twips, whole numbers as numbers.
Value toValue(float v) {
    return Twips{v};
}
Value toValue(int v) {
    return double(v);
}
template <typename T>
Value toValue(const T& v) {
    return v;
}

template <typename T>
bool fromValue(const Value& v, T& out) {
    const T* held = std::get_if<T>(&v);
    if (held) out = *held;
    return held != nullptr;
}
bool fromValue(const Value& v, float& out) {
    double read = 0;
    if (const Twips* t = std::get_if<Twips>(&v))
        read = t->value;
    else if (!fromValue(v, read))
        return false;
    out = static_cast<float>(read);
    return true;
}
bool fromValue(const Value& v, int& out) {
    double read = 0;
    if (!fromValue(v, read)) return false;
    out = static_cast<int>(read);
    return true;
}

// The design reader a row gets unless it names its own: a bare word sets its
// flag, a key's text is read as the field's type.
template <typename Field>
Reader readField(FormSpelling form, Field field) {
    using T = std::remove_cvref_t<std::invoke_result_t<Field, Props&>>;
    if constexpr (std::is_same_v<T, bool>)
        return [field, sets = form.wordSets](ControlDesign& row, std::string_view) {
            field(row.props) = sets;
            return true;
        };
    else
        return [field](ControlDesign& row, std::string_view text) {
            return readValue(text, field(row.props));
        };
}

// One row: `field` picks the property out of a control's properties,
// `setter` changes it at run time with all that this entails.
template <typename Field, typename Setter>
Property property(std::string_view name, FormSpelling form, unsigned kinds, Field field,
                  Setter setter, Reader read = nullptr) {
    using T = std::remove_cvref_t<std::invoke_result_t<Field, Props&>>;
    return {name,
            form,
            kinds,
            [field](const Control& c) { return toValue(field(c.props())); },
            [setter](Control& c, const Value& v) {
                T value{};
                if (!fromValue(v, value)) return false;
                (c.*setter)(value);
                return true;
            },
            read ? read : readField(form, field)};
}

template <typename Field>
Property designOnly(std::string_view name, FormSpelling form, Field field) {
    return {name, form, kDesignOnly, nullptr, nullptr, readField(form, field)};
}

// A fill colour given in the design also paints the shape's interior.
bool readFill(ControlDesign& row, std::string_view text) {
    if (!readValue(text, row.props.fillColor)) return false;
    row.props.filled = true;
    return true;
}

// An outline's colour, or `none` for no outline.
bool readOutline(ControlDesign& row, std::string_view text) {
    if (text != "none") return readValue(text, row.props.borderColor);
    row.props.bordered = false;
    return true;
}

bool readContainer(ControlDesign& row, std::string_view text) {
    row.container = text;
    return true;
}

// A table's selected row and its number of rows live in its source, not in
// the design: a table without a source has no rows and selects none.
Property tableSelection() {
    return {
        "ListIndex",
        key("selected-row"),
        bit(K::Table),
        [](const Control& c) { return Value(double(c.table() ? c.table()->selectedRow() : -1)); },
        [](Control& c, const Value& v) {
            int row = 0;
            if (!fromValue(v, row)) return false;
            if (c.table()) c.table()->selectRow(row);
            return true;
        },
        [](ControlDesign&, std::string_view) { return false; }};
}
Property tableRows() {
    return {"ListCount",
            key("rows"),
            bit(K::Table),
            [](const Control& c) { return Value(double(c.table() ? c.table()->tableRows() : 0)); },
            [](Control&, const Value&) { return false; },
            [](ControlDesign&, std::string_view) { return false; }};
}

// clang-format off
#define FIELD(member) [](auto& props) -> auto& { return props.member; }
// clang-format on

// Every property, once: its designer's name, how a `.form` line writes it,
// the kinds that have it at run time, the field it keeps. The last rows are
// read from the design only: no window changes them, and `get` knows them not.
// clang-format off
std::span<const Property> table() {
    static const Property properties[] = {
        //         design name    in a `.form`               kinds           field               set at run time
        property(  "Visible",     word("hidden", false),     kAll,           FIELD(visible),     &Control::setVisible),
        property(  "Enabled",     word("disabled", false),   kAll,           FIELD(enabled),     &Control::setEnabled),
        property(  "Left",        nth(0),                    kPlaced,        FIELD(left),        &Control::setLeft),
        property(  "Top",         nth(1),                    kPlaced,        FIELD(top),         &Control::setTop),
        property(  "Width",       nth(2),                    kPlaced,        FIELD(width),       &Control::setWidth),
        property(  "Height",      nth(3),                    kPlaced,        FIELD(height),      &Control::setHeight),
        property(  "ToolTipText", key("tip"),                kPlaced,        FIELD(toolTip),     &Control::setToolTip),
        property(  "X1",          nth(0),                    bit(K::Line),   FIELD(x1),          &Control::setX1),
        property(  "Y1",          nth(1),                    bit(K::Line),   FIELD(y1),          &Control::setY1),
        property(  "X2",          nth(2),                    bit(K::Line),   FIELD(x2),          &Control::setX2),
        property(  "Y2",          nth(3),                    bit(K::Line),   FIELD(y2),          &Control::setY2),
        property(  "BorderColor", key("color", "border"),    kOutlined,      FIELD(borderColor), &Control::setBorderColor, readOutline),
        property(  "BorderWidth", key("width"),              kOutlined,      FIELD(borderWidth), &Control::setBorderWidth),
        property(  "FillColor",   key("fill"),               bit(K::Shape),  FIELD(fillColor),   &Control::setFillColor,   readFill),
        property(  "Caption",     key("caption"),            kCaptioned,     FIELD(caption),     &Control::setCaption),
        property(  "BackColor",   key("back"),               kCaptioned,     FIELD(backColor),   &Control::setBackColor),
        property(  "ForeColor",   key("fore"),               bit(K::Label),  FIELD(foreColor),   &Control::setForeColor),
        property(  "FontName",    key("font"),               bit(K::Label),  FIELD(font.name),   &Control::setFontName),
        property(  "FontSize",    key("size"),               bit(K::Label),  FIELD(font.size),   &Control::setFontSize),
        property(  "FontBold",    word("bold", true),        bit(K::Label),  FIELD(font.bold),   &Control::setFontBold),
        property(  "Value",       word("selected", true),    bit(K::Option), FIELD(value),       &Control::setValue),
        property(  "Text",        key("text"),               kTexted,        FIELD(text),        &Control::setText),
        property(  "Interval",    key("interval"),           bit(K::Timer),  FIELD(interval),    &Control::setInterval),
        tableSelection(),
        tableRows(),
        designOnly("BackStyle",   word("transparent", false),                FIELD(opaque)),
        designOnly("Shape",       key("kind"),                               FIELD(shape)),
        designOnly("Alignment",   key("align"),                              FIELD(alignment)),
        designOnly("Picture",     key("picture"),                            FIELD(picture)),
        designOnly("List",        key("items"),                              FIELD(items)),
        designOnly("ScrollBars",  key("scroll"),                             FIELD(scrollBars)),
        designOnly("FollowEnd",   word("follow", true),                      FIELD(followEnd)),
        Property{  "Container",   key("in"),                 kDesignOnly,    nullptr, nullptr,   readContainer},
    };
    return properties;
}
// clang-format on

#undef FIELD

const Property* find(std::string_view name) {
    for (const Property& p : table())
        if (p.name == name) return &p;
    return nullptr;
}

const Property* findSpelling(FormSpelling::How how, std::string_view spelt) {
    for (const Property& p : table())
        if (p.form.how == how &&
            (p.form.word == spelt || (!p.form.alias.empty() && p.form.alias == spelt)))
            return &p;
    return nullptr;
}

const Property* findPosition(ControlKind kind, int position) {
    for (const Property& p : table())
        if (p.form.how == FormSpelling::How::Position && p.form.position == position &&
            (p.kinds & bit(kind)))
            return &p;
    return nullptr;
}

FormOptionError read(const Property* p, ControlDesign& row, std::string_view text) {
    if (!p) return FormOptionError::Unknown;
    return p->read(row, text) ? FormOptionError::None : FormOptionError::BadValue;
}

}  // namespace

PropertyError checkProperty(ControlKind kind, std::string_view name) {
    const Property* p = find(name);
    if (!p || !p->get) return PropertyError::Unknown;
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

FormOptionError setFormOption(ControlDesign& row, std::string_view key, std::string_view text) {
    using How = FormSpelling::How;
    const bool bare = key.empty();
    return read(findSpelling(bare ? How::Word : How::Key, bare ? text : key), row, text);
}

int formPositionCount(ControlKind kind) {
    int count = 0;
    while (findPosition(kind, count)) ++count;
    return count;
}

FormOptionError setFormPosition(ControlDesign& row, int position, std::string_view text) {
    return read(findPosition(row.kind, position), row, text);
}

}  // namespace vk41
