#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vk41::slave {

// The command line of vk41-slave.
struct Options {
    std::string tcp;  // [HOST:]PORT; empty with rtu empty means 127.0.0.1:1502
    std::string rtu;  // serial device
    int baud{19200};
    char parity{'N'};
    int stopBits{1};
    int address{127};
    double speed{1};
    int mode{2};  // the scheme's mode option: 2 "Демонстрация", 0 "Описание и демонстрация"
    int maxConnections{16};
    bool quiet{false};
    bool help{false};
};

inline constexpr const char* kDefaultTcp = "127.0.0.1:1502";

// The options, or the one-line reason they are not valid.
struct Parsed {
    std::optional<Options> options;
    std::string error;
};
Parsed parseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;
// Follows the one line that says what is wrong with the command line.
inline constexpr const char* kHelpHint = " (vk41-slave --help lists the options)";

}  // namespace vk41::slave
