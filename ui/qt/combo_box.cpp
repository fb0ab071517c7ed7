#include "ui/qt/combo_box.h"

#include <QLineEdit>
#include <QPalette>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/qt/combo_style.h"
#include "ui/qt/convert.h"

namespace vk41::qt {

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    setStyle(ComboStyle::instance());
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
}

// The list and the text change without a signal: the model already holds them.
void ComboBox::showControl(const Control& c, double scale) {
    // Before the resize, which lays the edit field out at this scale.
    setProperty("designScale", scale);
    showCommon(*this, c, scale, toQFont(c.font(), scale, logicalDpiY()));
    QStringList items;
    for (const std::string& item : c.items()) items << toQString(item);
    if (count() != items.size() ||
        std::any_of(items.begin(), items.end(),
                    [&, i = 0](const QString& s) mutable { return itemText(i++) != s; })) {
        const QSignalBlocker block(this);
        clear();
        addItems(items);
    }
    showMark(c);
    if (currentText().toStdString() != c.text()) {
        const QSignalBlocker block(this);
        setEditText(toQString(c.text()));
        // A text longer than the field shows its start, as a table cell does.
        if (lineEdit() && !hasFocus()) lineEdit()->setCursorPosition(0);
    }
}

// A combo's field keeps the style's colour; a back colour other than its
// design's is the program marking it (a value it does not take).
void ComboBox::showMark(const Control& c) {
    const bool marked = c.backColor() != c.design().props.backColor;
    const QColor field = marked ? toQColor(c.backColor()) : QPalette().color(QPalette::Base);
    if (palette().color(QPalette::Base) == field) return;
    QPalette p = palette();
    p.setColor(QPalette::Base, field);
    setPalette(p);
}

}  // namespace vk41::qt
