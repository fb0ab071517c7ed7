#pragma once

#include <QProxyStyle>

namespace vk41::qt {

// The style of the windows' combos: the application's, with the drop-down
// button and the edit field laid out at the design size and scaled to the
// combo's, so that a combo shown at a small scale keeps room for its text.
// A combo states its scale in its "designScale" property.
class ComboStyle : public QProxyStyle {
  public:
    static ComboStyle* instance();

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
};

}  // namespace vk41::qt
