#include "ui/qt/snapshot.h"

#include <QApplication>

#include "ui/qt/form_window.h"

namespace vk41::qt {

QImage renderClientArea(Form& form, double scale) {
    FormWindow window(form, {});
    window.fitWindowTo(scale);
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QApplication::processEvents();
    return window.clientArea()->grab().toImage();
}

std::string saveSnapshot(Form& form, const std::string& file, double scale) {
    const QImage image = renderClientArea(form, scale);
    if (image.isNull()) return "could not render " + form.name();
    if (!image.save(QString::fromStdString(file), "PNG")) return "could not write " + file;
    return "";
}

}  // namespace vk41::qt
