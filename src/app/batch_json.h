#pragma once
// The little JSON the batch options print: strings and numbers.
#include <string>
#include <string_view>

namespace zeran {

// Quoted and escaped. Bytes that are not valid UTF-8 (old drawings carry
// single-byte code pages) are taken as Latin-1, so the output always is.
std::string json_string(std::string_view s);
// Shortest text that reads back to the same double; null when not finite.
std::string json_number(double x);

} // namespace zeran
