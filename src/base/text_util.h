#pragma once
// Small text helpers shared by every reader of text files.
#include <cstddef>
#include <string>
#include <string_view>

namespace zeran {

// Equal without regard to ASCII case.
bool iequals(std::string_view a, std::string_view b);

// Without leading and trailing blanks, tabs and carriage returns.
std::string_view trim_blanks(std::string_view s);

// A value from a file as a message shows it: in double quotes, bytes outside
// printable ASCII as \xNN, cut after `max` characters with "..." so that a
// damaged file cannot flood the message or the terminal.
std::string quoted_value(std::string_view s, std::size_t max = 80);

} // namespace zeran
