#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk41::script {

// One command line split into its words. TEXT arguments (the last argument of
// `menu`, `text`, `pick` and `snapshot`) are the rest of the line, or one
// double-quoted string with \" and \\ escapes. `snapshot` may end in a
// number, its scale, after its file.
struct Line {
    std::string command;
    std::vector<std::string> args;
};

// Splits a line into its command and arguments. A blank line or a comment
// gives an empty command; `#` starts a comment where a word would start,
// but not inside a TEXT argument. Throws ScriptError on bad quoting.
Line splitLine(std::string_view line);

// A name with an optional array index: `Vis(0)`.
struct Name {
    std::string name;
    std::optional<int> index;
};

// `Window.Name[(i)][.Property]`, split at its dots.
struct Path {
    std::string window;
    std::vector<Name> parts;  // one or two
};

Path parsePath(std::string_view text);
double parseNumber(std::string_view text);
long long parseCount(std::string_view text);

struct ScriptError {
    std::string message;
};

}  // namespace vk41::script
