#include "ui/resources.h"

namespace vk41 {

std::string_view resource(std::string_view fileName) {
    const auto& all = embeddedResources();
    const auto it = all.find(fileName);
    return it == all.end() ? std::string_view{} : it->second;
}

std::string pageText(std::string_view fileName) {
    std::string text;
    for (char c : resource(fileName))
        if (c != '\r') text += c;
    // The file's final line break ends its last line; the text box holds none.
    if (text.ends_with('\n')) text.pop_back();
    return text;
}

}  // namespace vk41
