#pragma once

#include <QImage>
#include <string>

#include "ui/form.h"

namespace vk41::qt {

// The window's client area as the screen would show it, at one pixel per 15
// twips times `scale`. Needs a QApplication.
QImage renderClientArea(Form& form, double scale = 1.0);

// Writes that picture as a PNG; returns an error message or "".
std::string saveSnapshot(Form& form, const std::string& file, double scale = 1.0);

}  // namespace vk41::qt
