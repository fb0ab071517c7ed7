#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "ui/value.h"

namespace vk41 {

// A window's variables by the names the design gives them, readable by the
// driver and the tests: plain members registered once, read on demand.
class Variables {
  public:
    // A scalar member: bool, integer, floating point, text, colour or Value.
    template <typename T>
    void add(const std::string& name, const T& member) {
        entries_[name] = Entry{0, 0, [&member](int) { return toValue(member); }};
    }
    // A value worked out when read, for state a window keeps elsewhere.
    void addComputed(const std::string& name, std::function<Value()> read) {
        entries_[name] = Entry{0, 0, [read = std::move(read)](int) { return read(); }};
    }
    // An array member indexed lo..hi, as the design declares it.
    template <typename T>
    void addArray(const std::string& name, const T* first, int lo, int hi) {
        entries_[name] = Entry{lo, hi, [first, lo](int i) { return toValue(first[i - lo]); }, true};
    }

    bool has(std::string_view name) const { return entries_.find(name) != entries_.end(); }
    bool isArray(std::string_view name) const;
    // Empty optional when the name is unknown or the index out of range.
    std::optional<Value> get(std::string_view name, std::optional<int> index = {}) const;

  private:
    struct Entry {
        int lo{0}, hi{0};
        std::function<Value(int)> read;
        bool array{false};
    };

    template <typename T>
    static Value toValue(const T& v) {
        if constexpr (std::is_same_v<T, Value>) {
            return v;
        } else if constexpr (std::is_same_v<T, bool>) {
            return v;
        } else if constexpr (std::is_arithmetic_v<T>) {
            return static_cast<double>(v);
        } else {
            return Value{v};
        }
    }

    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace vk41
