#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vk41::slave {

// The scheme's mode options that the slave plays: "Описание и демонстрация",
// "Демонстрация", "Работа по программе".
inline constexpr int kFullMode = 0;
inline constexpr int kDemoMode = 2;
inline constexpr int kProgramMode = 3;

// The command line of vk41-slave.
struct Options {
    std::string tcp;  // [HOST:]PORT; empty with rtu empty means 127.0.0.1:1502
    std::string rtu;  // serial device
    int baud{19200};
    char parity{'N'};
    int stopBits{1};
    int address{127};
    double speed{1};
    int mode{kDemoMode};
    int valve{5};         // the draw-off valve in "Работа по программе", 0..10
    std::string program;  // a program file the controller runs there
    std::string pcap;     // a capture file every exchange is written to
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
