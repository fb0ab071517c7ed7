#include "ui/qt/combo_box.h"

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
    if (currentText().toStdString() != c.text()) {
        const QSignalBlocker block(this);
        setEditText(toQString(c.text()));
    }
}

}  // namespace vk41::qt
