#include "tools/slave/slave_options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace vk41::slave {

const char* const kUsage =
    "usage: vk41-slave [--tcp [HOST:]PORT] [--rtu DEVICE] [--baud N] [--parity N|E|O]\n"
    "                  [--stop 1|2] [--address N] [--speed X] [--mode demo|full|program]\n"
    "                  [--valve N] [--program FILE] [--max-connections N] [--pcap FILE]\n"
    "                  [--quiet]\n";

namespace {

bool toInt(const std::string& text, int low, int high, int& out) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool toDouble(const std::string& text, double& out) {
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        if (used != text.size() || !std::isfinite(value) || value <= 0 || value > 1000)
            return false;
        out = value;
        return true;
    } catch (...) {
        return false;
    }
}

using Setter = std::function<bool(Options&, const std::string&)>;

// clang-format off
const std::map<std::string, Setter, std::less<>> kValued = {
    {"--tcp",             [](Options& o, const std::string& v) { o.tcp = v; return !v.empty(); }},
    {"--rtu",             [](Options& o, const std::string& v) { o.rtu = v; return !v.empty(); }},
    {"--baud",            [](Options& o, const std::string& v) { return toInt(v, 50, 4000000, o.baud); }},
    {"--stop",            [](Options& o, const std::string& v) { return toInt(v, 1, 2, o.stopBits); }},
    {"--address",         [](Options& o, const std::string& v) { return toInt(v, 1, 247, o.address); }},
    {"--max-connections", [](Options& o, const std::string& v) { return toInt(v, 1, 1000, o.maxConnections); }},
    {"--speed",           [](Options& o, const std::string& v) { return toDouble(v, o.speed); }},
    {"--parity",          [](Options& o, const std::string& v) {
                              if (v != "N" && v != "E" && v != "O") return false;
                              o.parity = v[0];
                              return true; }},
    {"--mode",            [](Options& o, const std::string& v) {
                              if (v != "demo" && v != "full" && v != "program") return false;
                              o.mode = v == "full" ? kFullMode : v == "program" ? kProgramMode : kDemoMode;
                              return true; }},
    {"--valve",           [](Options& o, const std::string& v) { return toInt(v, 0, 10, o.valve); }},
    {"--program",         [](Options& o, const std::string& v) { o.program = v; return !v.empty(); }},
    {"--pcap",            [](Options& o, const std::string& v) { o.pcap = v; return !v.empty(); }},
};
// clang-format on

}  // namespace

Parsed parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--quiet") {
            options.quiet = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        const auto setter = kValued.find(arg);
        if (setter == kValued.end()) return {std::nullopt, "unknown option " + arg};
        if (i + 1 == args.size()) return {std::nullopt, arg + " needs a value"};
        const std::string& value = args[++i];
        if (!setter->second(options, value))
            return {std::nullopt, "bad value for " + arg + ": " + value};
    }
    if (options.tcp.empty() && options.rtu.empty()) options.tcp = kDefaultTcp;
    return {options, ""};
}

}  // namespace vk41::slave
