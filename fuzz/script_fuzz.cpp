// The driver's parser and commands with arbitrary lines: an error is a
// script error, never a crash.
#include <cstdint>
#include <sstream>
#include <string>

#include "tools/script_driver.h"
#include "tools/script_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Made once and never destroyed: the run ends without tearing down the
    // windows after the designs they were made from.
    static std::ostringstream out;
    static vk41::ScriptDriver& driver = *new vk41::ScriptDriver(out);
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(input);
    std::string line;
    while (std::getline(lines, line)) {
        try {
            // Long stretches of virtual time only make the fuzzer slow.
            const auto parsed = vk41::script::splitLine(line);
            if ((parsed.command == "run" || parsed.command == "tick") && parsed.args.size() > 0 &&
                parsed.args.back().size() > 4)
                continue;
            driver.execute(line);
        } catch (const vk41::script::ScriptError&) {
        }
        out.str("");
    }
    return 0;
}
