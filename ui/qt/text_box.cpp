#include "ui/qt/text_box.h"

#include <QFontMetricsF>
#include <QTextCursor>

#include "ui/qt/convert.h"

namespace vk41::qt {
namespace {

Qt::ScrollBarPolicy policy(ScrollBars bars, bool vertical) {
    const bool on = bars == ScrollBars::Both ||
                    bars == (vertical ? ScrollBars::Vertical : ScrollBars::Horizontal);
    return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

}  // namespace

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
}

void TextBox::showControl(const Control& c, double scale) {
    const QFont font = toQFont(c.font(), scale, logicalDpiY());
    showCommon(*this, c, scale, font);
    if (toPlainText().toStdString() != c.text()) {
        setPlainText(toQString(c.text()));
        // A log's newest line is its last: show it.
        if (c.props().followEnd) {
            moveCursor(QTextCursor::End);
            ensureCursorVisible();
        }
    }
    // A classic text box sets its tab stops eight average characters apart.
    setTabStopDistance(8.0 * QFontMetricsF(font).averageCharWidth());
    const ScrollBars bars = c.props().scrollBars;
    setVerticalScrollBarPolicy(policy(bars, true));
    setHorizontalScrollBarPolicy(policy(bars, false));
    setLineWrapMode(policy(bars, false) == Qt::ScrollBarAlwaysOn ? QPlainTextEdit::NoWrap
                                                                 : QPlainTextEdit::WidgetWidth);
}

}  // namespace vk41::qt
