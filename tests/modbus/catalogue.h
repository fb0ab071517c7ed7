#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vk41::testing {

// One request of the Modbus window's catalogue: its kind and the texts typed
// into its combos.
struct CatalogueRequest {
    int kind;
    std::vector<std::pair<int, std::string>> combos;
};

// The catalogue: every list entry of every kind whose items stay inside the
// memory area the kind reads.
inline std::vector<CatalogueRequest> catalogue() {
    std::vector<CatalogueRequest> all;
    for (const char* n : {"1", "2", "3", "4"}) {
        all.push_back({0, {{0, n}}});
        all.push_back({1, {{1, n}}});
    }
    for (int start : {10000, 10001, 10002, 10003})
        for (int count : {1, 2, 3, 4, 5, 6, 10, 17, 24, 25})
            all.push_back({2, {{10, std::to_string(start)}, {11, std::to_string(count)}}});
    for (int start : {0, 1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 31})
        for (int count : {1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 32})
            if (start + count <= 32)
                all.push_back({3, {{7, std::to_string(start)}, {8, std::to_string(count)}}});
    for (int output = 1; output <= 6; ++output)
        for (const char* value : {"0", "1"})
            all.push_back({6, {{4, std::to_string(output)}, {9, value}}});
    for (int start : {32, 40, 48, 56})
        for (int count : {1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 32})
            if (start + count <= 64)
                all.push_back({9, {{5, std::to_string(start)}, {6, std::to_string(count)}}});
    all.push_back({7, {}});
    all.push_back({8, {}});
    return all;
}

// The list entries that reach past the kind's area: outputs past 32, which
// on the bus are the flags that follow, and flags past 32, which no area holds.
inline std::vector<CatalogueRequest> pastTheMap() {
    std::vector<CatalogueRequest> all;
    for (int start : {0, 1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 31})
        for (int count : {1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 32})
            if (start + count > 32)
                all.push_back({3, {{7, std::to_string(start)}, {8, std::to_string(count)}}});
    for (int start : {32, 40, 48, 56})
        for (int count : {1, 2, 3, 4, 5, 6, 7, 8, 16, 24, 32})
            if (start + count > 64)
                all.push_back({9, {{5, std::to_string(start)}, {6, std::to_string(count)}}});
    return all;
}

}  // namespace vk41::testing
