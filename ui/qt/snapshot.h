#pragma once

#include <QImage>
#include <string>

#include "ui/form.h"

namespace vk41::qt {

// The window's client area as the screen would show it, at one pixel per 15
// twips. Needs a QApplication.
QImage renderClientArea(Form& form);

// Writes that picture as a PNG; returns an error message or "".
std::string saveSnapshot(Form& form, const std::string& file);

}  // namespace vk41::qt
