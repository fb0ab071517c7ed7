#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/colour.h"

namespace vk41 {

class ChartSource;
class Form;
class TableSource;

enum class ControlKind {
    Line,     // a straight line between two points
    Shape,    // rectangle, rounded rectangle, oval or circle
    Label,    // text, opaque or transparent, with tooltip and mouse moves
    Button,   // command button, caption and optional picture
    Option,   // option button; one selected per container
    Frame,    // container with a caption
    Combo,    // editable drop-down combo box
    TextBox,  // multi-line text box
    Picture,  // picture box showing a stored bitmap
    Timer,    // periodic timer, never drawn
    Chart,    // traces over time, its data given by its window
    Table,    // rows under column headings, one selectable, given by its window
};

enum class ShapeKind { Rectangle, Square, Oval, Circle, RoundedRectangle, RoundedSquare };
enum class Align { Left, Right, Center };
enum class ScrollBars { None, Horizontal, Vertical, Both };

struct Font {
    std::string name{"MS Sans Serif"};
    double size{8.25};  // points at 96 dpi
    bool bold{false};
    friend bool operator==(const Font&, const Font&) = default;
};

// Every property a control can have. One plain struct for all kinds keeps
// load simple: a control returns to its design values by one assignment.
struct Props {
    float left{0}, top{0}, width{0}, height{0};  // twips, relative to the container
    bool visible{true};
    bool enabled{true};
    std::string toolTip;
    float x1{0}, y1{0}, x2{0}, y2{0};  // line ends, twips
    Colour borderColor{kBlack};        // line colour, shape outline
    int borderWidth{1};                // pixels
    bool bordered{true};               // shape outline drawn
    ShapeKind shape{ShapeKind::Rectangle};
    bool filled{false};  // shape interior painted with fillColor
    Colour fillColor{kWhite};
    std::string caption;
    std::string text;                // combo and text box
    std::vector<std::string> items;  // combo list
    Font font;
    Colour backColor{kButtonFace};
    Colour foreColor{kBlack};
    bool opaque{true};  // label background painted
    Align alignment{Align::Left};
    bool value{false};  // option selected
    ScrollBars scrollBars{ScrollBars::None};
    bool followEnd{false};  // text box: shows its last line whenever its text changes
    std::string picture;    // name of an embedded picture
    int interval{0};        // timer period, ms
};

// One row of a window's design table.
struct ControlDesign {
    ControlKind kind{ControlKind::Label};
    std::string name;
    int index{-1};          // element of a control array, -1 for a single control
    std::string container;  // the frame holding it, empty for the window itself
    Props props;
};

struct Handlers;

// A control of a loaded window: its design row and its current properties.
// Setters return early when nothing changed, else mark the window changed.
class Control {
  public:
    Control(Form& form, const ControlDesign& design);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return *form_; }
    const ControlDesign& design() const { return *design_; }
    ControlKind kind() const { return kind_; }
    const std::string& name() const { return design_->name; }
    int index() const { return design_->index; }
    // The control's place in its window's design table, first drawn first.
    int position() const { return position_; }
    Control* container() const { return container_; }
    const Props& props() const { return props_; }

    float left() const { return props_.left; }
    float top() const { return props_.top; }
    float width() const { return props_.width; }
    float height() const { return props_.height; }
    bool visible() const { return props_.visible; }
    bool enabled() const { return props_.enabled; }
    const std::string& toolTip() const { return props_.toolTip; }
    float x1() const { return props_.x1; }
    float y1() const { return props_.y1; }
    float x2() const { return props_.x2; }
    float y2() const { return props_.y2; }
    Colour borderColor() const { return props_.borderColor; }
    int borderWidth() const { return props_.borderWidth; }
    Colour fillColor() const { return props_.fillColor; }
    const std::string& caption() const { return props_.caption; }
    const std::string& text() const { return props_.text; }
    const std::vector<std::string>& items() const { return props_.items; }
    const Font& font() const { return props_.font; }
    Colour backColor() const { return props_.backColor; }
    Colour foreColor() const { return props_.foreColor; }
    bool value() const { return props_.value; }
    int interval() const { return props_.interval; }

    void setLeft(float v) { assign(props_.left, v); }
    void setTop(float v) { assign(props_.top, v); }
    void setWidth(float v) { assign(props_.width, v); }
    void setHeight(float v) { assign(props_.height, v); }
    void setVisible(bool v) { assign(props_.visible, v); }
    void setToolTip(const std::string& v) { assign(props_.toolTip, v); }
    void setX1(float v) { assign(props_.x1, v); }
    void setY1(float v) { assign(props_.y1, v); }
    void setX2(float v) { assign(props_.x2, v); }
    void setY2(float v) { assign(props_.y2, v); }
    void setBorderColor(Colour v) { assign(props_.borderColor, v); }
    void setBorderWidth(int v) { assign(props_.borderWidth, v); }
    void setFillColor(Colour v) { assign(props_.fillColor, v); }
    void setCaption(const std::string& v) { assign(props_.caption, v); }
    void setText(const std::string& v) { assign(props_.text, v); }
    void setItems(const std::vector<std::string>& v) { assign(props_.items, v); }
    void setFontName(const std::string& v) { assign(props_.font.name, v); }
    void setFontSize(double v) { assign(props_.font.size, v); }
    void setFontBold(bool v) { assign(props_.font.bold, v); }
    void setBackColor(Colour v) { assign(props_.backColor, v); }
    void setForeColor(Colour v) { assign(props_.foreColor, v); }

    // These act beyond the control: enabling a timer or changing its period
    // (re)starts its countdown; selecting an option clears the others of its
    // container and fires its click, as a person's click would.
    void setEnabled(bool v);
    void setInterval(int v);
    void setValue(bool v);

    // Visible, and so is every container up to the window.
    bool shownInWindow() const;
    // Enabled, and so is every container.
    bool enabledInWindow() const;
    // Position in the window's client area, twips.
    float windowLeft() const;
    float windowTop() const;

    // Back to the design values (window load).
    void reset();

    // The window's revision at this control's last change: a view repaints
    // only what changed since the revision it last showed.
    std::uint64_t changedAt() const { return changedAt_; }

    // A chart's data, given by the window that owns it (a chart's design
    // holds none). It stays across loads.
    ChartSource* chart() const { return chart_; }
    void setChart(ChartSource* source) { chart_ = source; }
    // The chart's data moved: its view redraws.
    void chartMoved() { changed(); }
    // A table's rows, given by its window as a chart's data is.
    TableSource* table() const { return table_; }
    void setTable(TableSource* source) { table_ = source; }
    // The rows or the selection moved: the view takes them again.
    void tableMoved() { changed(); }

  private:
    friend class Form;
    template <typename T>
    void assign(T& field, const T& v) {
        if (field == v) return;
        field = v;
        changed();
    }
    void changed();

    Form* form_;
    const ControlDesign* design_;
    ControlKind kind_;  // kept here too: a window's end must not need its design
    int position_{0};
    Control* container_{nullptr};
    Handlers* handlers_{nullptr};
    Props props_;
    std::uint64_t changedAt_{0};
    ChartSource* chart_{nullptr};
    TableSource* table_{nullptr};
};

}  // namespace vk41
