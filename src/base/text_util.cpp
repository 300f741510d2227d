#include "base/text_util.h"

#include <cctype>

namespace zeran {

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trim_blanks(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string quoted_value(std::string_view s, std::size_t max) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    std::size_t shown = 0;
    for (const char c : s) {
        if (shown == max) {
            out += "...";
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u >= 127 || c == '\\' || c == '"') {
            if (c == '\\' || c == '"') {
                out += '\\';
                out += c;
            } else {
                out += "\\x";
                out += kHex[u >> 4];
                out += kHex[u & 15];
            }
        } else {
            out += c;
        }
        ++shown;
    }
    return out + "\"";
}

} // namespace zeran
