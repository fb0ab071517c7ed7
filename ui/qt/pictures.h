#pragma once

#include <QPixmap>
#include <string>

namespace vk41::qt {

// An embedded picture, decoded once; a null pixmap when there is none.
const QPixmap& embeddedPixmap(const std::string& name);

}  // namespace vk41::qt
