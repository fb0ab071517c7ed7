// Every caption of every window fits where the design puts it: each line
// of it, as the window wraps it, lies inside its control and clear of the
// combos, buttons and boxes beside it; and every flag number of the Modbus
// window stands over its digit of the condition-flag strip. The suites run
// again at device pixel ratio 2 (QT_SCALE_FACTOR=2), where fonts are laid out
// without hinting.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QTextLayout>
#include <sstream>

#include "modbus/modb_frm.h"
#include "tools/script_driver.h"
#include "ui/qt/canvas.h"
#include "ui/qt/convert.h"
#include "ui/qt/form_window.h"
#include "ui/qt/option_button.h"

namespace vk41 {
namespace {

// A window rectangle, in pixels of the client area.
QRectF windowRect(const Control& c) {
    return QRectF(qt::px(c.windowLeft()), qt::px(c.windowTop()), qt::px(c.width()),
                  qt::px(c.height()));
}

bool isWindowed(const Control& c) {
    return !qt::isLightweight(c) && c.kind() != ControlKind::Timer;
}

bool contains(const Control* container, const Control& c) {
    for (const Control* k = c.container(); k; k = k->container())
        if (k == container) return true;
    return false;
}

// One line of a caption: the room its text takes, and the ink of its glyphs.
struct Line {
    QRectF text;
    QRectF ink;
};

struct Caption {
    QRectF box;  // where it may stand
    std::vector<Line> lines;
};

// Where each line of a word-wrapped caption falls, window pixels.
std::vector<Line> lines(const QString& caption, const QFont& font, QRectF box,
                        Qt::Alignment align) {
    QTextLayout layout(caption, font);
    QTextOption option(align);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    const QFontMetricsF metrics(font);
    std::vector<Line> rects;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const QRectF text = line.naturalTextRect().translated(box.topLeft());
        const QString words = caption.mid(line.textStart(), line.textLength()).trimmed();
        const QRectF ink = metrics.tightBoundingRect(words).translated(
            text.left(), box.top() + line.y() + line.ascent());
        rects.push_back({text, ink});
    }
    return rects;
}

Qt::Alignment alignmentOf(const Control& label) {
    switch (label.props().alignment) {
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

// The caption of a control as its widget or canvas draws it.
std::optional<Caption> captionOf(const Control& c, const qt::FormWindow& window) {
    const QString text = QString::fromStdString(c.caption());
    if (text.trimmed().isEmpty()) return std::nullopt;
    const QFont font = qt::toQFont(c.font());
    const QFontMetricsF metrics(font);
    const QRectF box = windowRect(c);
    switch (c.kind()) {
        case ControlKind::Label:
            return Caption{box, lines(text, font, box, alignmentOf(c))};
        case ControlKind::Option: {
            const auto* option = window.findChild<qt::OptionButton*>(
                c.index() < 0
                    ? QString::fromStdString(c.name())
                    : QString("%1(%2)").arg(QString::fromStdString(c.name())).arg(c.index()));
            if (!option) return std::nullopt;
            QRectF inner = QRectF(option->captionRect()).translated(box.topLeft());
            // A caption of one line stands centred in a low option.
            const double lineHeight = QFontMetrics(font).height();
            if (inner.height() <= lineHeight + 2)
                inner.adjust(0, (inner.height() - lineHeight) / 2, 0, 0);
            return Caption{QRectF(option->captionRect()).translated(box.topLeft()),
                           lines(text, font, inner, Qt::AlignLeft)};
        }
        case ControlKind::Button:
        case ControlKind::Frame: {
            // One line: a button's centred in it, a frame's breaking its top border at 8 pixels.
            const QString words = text.trimmed();
            const double width = metrics.horizontalAdvance(words);
            const bool frame = c.kind() == ControlKind::Frame;
            const QRectF inner = frame ? box.adjusted(8, 0, -8, 0) : box.adjusted(3, 0, -3, 0);
            const double left = frame ? inner.left() : inner.center().x() - width / 2;
            const QRectF line(left, box.top(), width, metrics.height());
            return Caption{inner, {{line, line}}};
        }
        default:
            return std::nullopt;
    }
}

struct WindowCase {
    const char* name;
    const char* script;  // brings the window up
    const char* window;
};

void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.window;
}

class Captions : public ::testing::TestWithParam<WindowCase> {};

TEST_P(Captions, FitTheirControlsAndKeepClearOfTheControlsBeside) {
    const WindowCase& w = GetParam();
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream script(w.script);
    ASSERT_EQ(driver.run(script, err), 0) << err.str();
    Form& form = driver.app().form(w.window);
    qt::FormWindow window(form, {});
    window.show();
    int captions = 0;
    for (const Control& c : form.controls()) {
        if (!c.shownInWindow()) continue;
        const auto caption = captionOf(c, window);
        if (!caption) continue;
        ++captions;
        const std::string name =
            c.name() + (c.index() < 0 ? "" : "(" + std::to_string(c.index()) + ")");
        for (std::size_t i = 0; i < caption->lines.size(); ++i) {
            const QRectF& line = caption->lines[i].text;
            const std::string where = name + " line " + std::to_string(i + 1) + " (" +
                                      std::to_string(line.width()) + " px wide)";
            // A pixel of anti-aliased edge may spill over.
            const QRectF room = caption->box.adjusted(-1, -1, 1, 1);
            EXPECT_TRUE(room.left() <= line.left() && line.right() <= room.right())
                << where << " runs past the sides of its control, " << caption->box.width()
                << " px";
            EXPECT_LE(line.bottom(), room.bottom() + 2)
                << where << " falls below its control, " << caption->box.height() << " px high";
            for (const Control& other : form.controls()) {
                if (&other == &c || !other.shownInWindow() || !isWindowed(other)) continue;
                if (contains(&other, c) || contains(&c, other)) continue;
                // Windowed controls cover the painted ones, and later ones earlier ones.
                if (isWindowed(c) && other.position() < c.position()) continue;
                // Not a letter lies under another control: half a pixel of
                // anti-aliased edge at most.
                const QRectF covered = windowRect(other).intersected(caption->lines[i].ink);
                EXPECT_TRUE(covered.width() < 0.5 || covered.height() < 0.5)
                    << where << " runs under " << other.name() << "(" << other.index() << ") by "
                    << covered.width() << " x " << covered.height() << " px";
            }
        }
    }
    EXPECT_GT(captions, 0);
}

// clang-format off
#define VK41_MODBUS "menu Texttt Имитация\nmenu Objectt ModBus\n"
#define VK41_PROGRAM "menu Texttt Имитация\nclick Objectt.Radix(3)\nclick Objectt.Vis(0)\nrun 1000\nmenu Objectt Блок Условий\n"
INSTANTIATE_TEST_SUITE_P(EveryWindow, Captions, ::testing::Values(
    //         name              script that brings it up                              window
    WindowCase{"Scheme",         "menu Texttt Имитация\n",                              "Objectt"},
    WindowCase{"Conditions",     "menu Texttt Имитация\nmenu Objectt Блок Условий\n",  "Bl_Usl"},
    // The Modbus window shows the combos and headings of the request chosen.
    WindowCase{"ModbusCounter4", VK41_MODBUS "click ModB_Frm.Count_Length(0)\nrun 300\n", "ModB_Frm"},
    WindowCase{"ModbusCounter6", VK41_MODBUS "click ModB_Frm.Count_Length(1)\nrun 300\n", "ModB_Frm"},
    WindowCase{"ModbusInputs",   VK41_MODBUS "click ModB_Frm.Count_Length(2)\nrun 300\n", "ModB_Frm"},
    WindowCase{"ModbusOutputs",  VK41_MODBUS "click ModB_Frm.Count_Length(3)\nrun 300\n", "ModB_Frm"},
    WindowCase{"ModbusWrite",    VK41_MODBUS "click ModB_Frm.Count_Length(6)\nrun 300\n", "ModB_Frm"},
    WindowCase{"ModbusFlags",    VK41_MODBUS "run 300\n",                                  "ModB_Frm"},
    WindowCase{"ModbusReset",    VK41_MODBUS "click ModB_Frm.Count_Length(7)\nrun 300\n", "ModB_Frm"},
    WindowCase{"CrcSteps",       VK41_MODBUS "run 300\nclick ModB_Frm.Q(6)\nrun 300\n",     "CRC_Steps"},
    WindowCase{"ModbusKvarta",   VK41_MODBUS "click ModB_Frm.Count_Length(8)\nrun 300\n", "ModB_Frm"},
    // The debugging windows with the controller stopped at a breakpoint.
    WindowCase{"Editor",         VK41_PROGRAM "menu Objectt Программа\nbreak operator 6\nrun 2000\n", "Usl_Edit"},
    WindowCase{"Debugging",      VK41_PROGRAM "menu Bl_Usl Трасса и точки останова…\nbreak output 4\nbreak operator 6\nrun 2000\n", "Debug_Frm"},
    WindowCase{"Terminals",      VK41_PROGRAM "menu Bl_Usl Входы и выходы…\nforce input 6 0\nforce output 4 0\nrun 300\n", "Io_Frm"}),
    [](const ::testing::TestParamInfo<WindowCase>& row) { return std::string(row.param.name); });
#undef VK41_MODBUS
#undef VK41_PROGRAM
// clang-format on

// A flag number over the condition-flag strip, or a digit of the strip,
// where the canvas lays it out; window pixels.
struct Placed {
    std::string text;
    double left;
    double right;
    bool wrapped;  // onto a line below the first
    double centre() const { return (left + right) / 2; }
};

// The words of a label's caption (each digit on its own when `eachCharacter`),
// where the label's alignment and width put them on its first line.
std::vector<Placed> runsOf(const Control& label, bool eachCharacter) {
    const QString caption = QString::fromStdString(label.caption());
    QTextLayout layout(caption, qt::toQFont(label.font()));
    QTextOption option(alignmentOf(label));
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(qt::px(label.width()));
    layout.endLayout();
    const QTextLine first = layout.lineAt(0);
    const double left = windowRect(label).left();
    std::vector<Placed> runs;
    for (int i = 0; i < caption.size();) {
        if (caption[i] == ' ') {
            ++i;
            continue;
        }
        int end = i + 1;
        while (!eachCharacter && end < caption.size() && caption[end] != ' ') ++end;
        runs.push_back({caption.mid(i, end - i).toStdString(), left + first.cursorToX(i),
                        left + first.cursorToX(end), i >= first.textStart() + first.textLength()});
        i = end;
    }
    return runs;
}

struct StripCase {
    const char* name;
    const char* script;  // run in the Modbus window as it opens, on the flags request
};

void PrintTo(const StripCase& c, std::ostream* os) {
    *os << c.name;
}

class FlagNumberCaptions : public ::testing::TestWithParam<StripCase> {};

TEST_P(FlagNumberCaptions, StandOverTheirDigitsOfTheStrip) {
    std::ostringstream out, err;
    ScriptDriver driver(out);
    std::istringstream script(std::string("menu Texttt Имитация\nmenu Objectt ModBus\n") +
                              GetParam().script + "run 300\n");
    ASSERT_EQ(driver.run(script, err), 0) << err.str();
    Form& form = driver.app().form("ModB_Frm");
    const Control& mask = form.control("Mask");
    ASSERT_TRUE(mask.shownInWindow());
    const std::vector<Placed> digits = runsOf(mask, true);
    int headings = 0;
    for (std::size_t byte = 0; byte < ModBFrm::kFlagNumberLabels.size(); ++byte) {
        const Control& heading = form.control(ModBFrm::kFlagNumberLabels[byte]);
        if (!heading.shownInWindow()) continue;
        ++headings;
        const std::vector<Placed> numbers = runsOf(heading, false);
        ASSERT_EQ(numbers.size(), 8u) << heading.name() << " \"" << heading.caption() << "\"";
        ASSERT_GE(digits.size(), 8 * (byte + 1)) << "the strip \"" << mask.caption() << "\"";
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const Placed& digit = digits[8 * byte + i];
            EXPECT_FALSE(numbers[i].wrapped)
                << heading.name() << " wraps \"" << heading.caption() << "\"";
            ASSERT_FALSE(digit.wrapped)
                << "the strip wraps before byte " << byte + 1 << ": \"" << mask.caption() << "\"";
            EXPECT_TRUE(digit.left <= numbers[i].centre() && numbers[i].centre() <= digit.right)
                << "flag " << numbers[i].text << " of " << heading.name() << " stands at "
                << numbers[i].centre() << " px, its digit of byte " << byte + 1 << " at "
                << digit.left << " to " << digit.right << " px";
        }
    }
    EXPECT_GT(headings, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Strips, FlagNumberCaptions, ::testing::Values(
    //        name               what the strip shows: its numbers and the source of its bits
    StripCase{"AsDesigned",      ""},
    StripCase{"Renumbered",      "text ModB_Frm.Комбо1(6) 32\n"},
    StripCase{"FromFlag25",      "text ModB_Frm.Комбо1(5) 56\n"},
    StripCase{"TwoBytes",        "text ModB_Frm.Комбо1(6) 16\n"},
    StripCase{"OneByteFrom17",   "text ModB_Frm.Комбо1(5) 48\ntext ModB_Frm.Комбо1(6) 8\n"},
    StripCase{"TankFull",        "click ModB_Frm.Branch(1)\n"},
    StripCase{"Filling",         "click ModB_Frm.Branch(2)\n"},
    StripCase{"Accident",        "click ModB_Frm.Branch(3)\n"}),
    [](const ::testing::TestParamInfo<StripCase>& row) { return std::string(row.param.name); });
// clang-format on

}  // namespace
}  // namespace vk41
