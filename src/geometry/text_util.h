#pragma once
// Small text helpers shared by every reader of text files.
#include <string_view>

namespace zeran {

// Equal without regard to ASCII case.
bool iequals(std::string_view a, std::string_view b);

// Without leading and trailing blanks, tabs and carriage returns.
std::string_view trim_blanks(std::string_view s);

} // namespace zeran
