#include "ui/qt/pictures.h"

#include <map>
#include <tuple>

#include "ui/resources.h"

namespace vk41::qt {

const QPixmap& embeddedPixmap(const std::string& name) {
    static std::map<std::string, QPixmap> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        QPixmap pixmap;
        const std::string_view bytes = resource(name);
        if (!bytes.empty())
            pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                                static_cast<uint>(bytes.size()));
        it = cache.emplace(name, pixmap).first;
    }
    return it->second;
}

const QPixmap& boxPixmap(const std::string& name, QSize box) {
    const QPixmap& original = embeddedPixmap(name);
    const bool detailed = box.width() > 0 && original.width() >= 2 * box.width() - 2 &&
                          original.height() >= 2 * box.height() - 2;
    if (!detailed) return original;
    static std::map<std::string, QPixmap> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        QPixmap twice = original;
        twice.setDevicePixelRatio(2);
        it = cache.emplace(name, twice).first;
    }
    return it->second;
}

const QPixmap& scaledPixmap(const std::string& name, double scale, double ratio) {
    const QPixmap& original = embeddedPixmap(name);
    if (scale == 1.0 || original.isNull()) return original;
    static std::map<std::tuple<std::string, double, double>, QPixmap> cache;
    auto it = cache.find({name, scale, ratio});
    if (it == cache.end()) {
        if (cache.size() > 64) cache.clear();  // a window resized again and again
        QPixmap scaled = original.scaled((QSizeF(original.size()) * scale * ratio).toSize(),
                                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        it = cache.emplace(std::make_tuple(name, scale, ratio), scaled).first;
    }
    return it->second;
}

}  // namespace vk41::qt
