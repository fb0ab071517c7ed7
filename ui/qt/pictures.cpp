#include "ui/qt/pictures.h"

#include <map>

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

}  // namespace vk41::qt
