#pragma once

#include <map>
#include <string>
#include <string_view>

namespace vk41 {

// Files of resources/ compiled into the program, by file name.
const std::map<std::string_view, std::string_view>& embeddedResources();

// The bytes of one embedded file; empty when there is none of that name.
std::string_view resource(std::string_view fileName);

// A page text as its text box holds it: lines separated by LF.
std::string pageText(std::string_view fileName);

}  // namespace vk41
