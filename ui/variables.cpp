#include "ui/variables.h"

namespace vk41 {

bool Variables::isArray(std::string_view name) const {
    const auto it = entries_.find(name);
    return it != entries_.end() && it->second.array;
}

std::optional<Value> Variables::get(std::string_view name, std::optional<int> index) const {
    const auto it = entries_.find(name);
    if (it == entries_.end()) return std::nullopt;
    const Entry& e = it->second;
    if (e.array != index.has_value()) return std::nullopt;
    if (!e.array) return e.read(0);
    if (*index < e.lo || *index > e.hi) return std::nullopt;
    return e.read(*index);
}

}  // namespace vk41
