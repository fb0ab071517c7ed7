// Any bytes read as a program file: either an error that names the file, or
// a program that is written and read back as it was. The writer keeps a
// comment on its line and in its column, tabs and line breaks made spaces,
// so the comments are compared as written.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "conditions/program_file.h"

namespace {

constexpr std::string_view kFile = "fuzz.tsv";

vk41::Program asWritten(vk41::Program p) {
    for (vk41::Operator& op : p.operators)
        for (char& c : op.comment)
            if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vk41::ProgramRead read = vk41::parseProgram(text, kFile);
    if (read.program.has_value() != read.error.empty()) std::abort();
    if (!read.program) {
        if (!read.error.starts_with(std::string(kFile) + ": ")) std::abort();
        return 0;
    }
    const vk41::ProgramRead again = vk41::parseProgram(vk41::programText(*read.program), kFile);
    if (!again.program || !(*again.program == asWritten(*read.program))) std::abort();
    return 0;
}
