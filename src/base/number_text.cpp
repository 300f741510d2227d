#include "base/number_text.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zeran {

namespace {

// Rounds to `significant` digits the way a decimal formatter does, so that
// 1234.56789 at 7 digits becomes 1234.568 before fixed formatting.
double round_significant(double x, int significant) {
    if (x == 0.0 || !std::isfinite(x)) return x;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, x);
    return std::strtod(buf, nullptr);
}

void replace_point(std::string& s, char separator) {
    if (separator == '.') return;
    for (char& c : s)
        if (c == '.') c = separator;
}

} // namespace

std::string fixed_text(double x, int significant, int decimals, char separator) {
    double r = round_significant(x, significant);
    if (r == 0.0) r = 0.0; // no "-0.000"
    char buf[400];
    if (std::fabs(r) >= 1e15)
        std::snprintf(buf, sizeof buf, "%.*E", significant - 1, r);
    else
        std::snprintf(buf, sizeof buf, "%.*f", decimals, r);
    std::string s(buf);
    if (s.size() > 1 && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    replace_point(s, separator);
    return s;
}

std::string fixed3_text(double x) {
    return fixed_text(x, 7, 3);
}

std::string general_text(double x, char separator, int significant) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    if (x == 0.0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, x);
    // buf: [-]d.ddddde[+-]xx
    std::string s(buf);
    bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    auto epos = s.find('e');
    int exponent = std::atoi(s.c_str() + epos + 1);
    std::string digits;
    for (std::size_t i = 0; i < epos; ++i)
        if (s[i] != '.') digits += s[i];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    double magnitude = std::fabs(std::strtod(buf, nullptr));
    if (magnitude >= 1e-4 && magnitude < 1e15) {
        if (exponent >= 0) {
            std::size_t int_len = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= int_len) {
                out = digits + std::string(int_len - digits.size(), '0');
            } else {
                out = digits.substr(0, int_len) + separator + digits.substr(int_len);
            }
        } else {
            out = std::string("0") + separator +
                  std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
    } else {
        out = digits.substr(0, 1);
        if (digits.size() > 1) out += separator + digits.substr(1);
        out += 'E';
        if (exponent < 0) out += '-';
        out += std::to_string(std::abs(exponent));
    }
    return negative ? "-" + out : out;
}

std::string int_text(long long v) {
    return std::to_string(v);
}

std::optional<double> parse_real(std::string_view text, char separator) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r')) --e;
    if (b == e) return std::nullopt;
    std::string s(text.substr(b, e - b));
    if (separator != '.')
        for (char& c : s)
            if (c == separator) c = '.';
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Denormal or overflowing texts: take what strtod makes of them.
        errno = 0;
        char* end = nullptr;
        value = std::strtod(s.c_str(), &end);
        if (end != s.c_str() + s.size()) return std::nullopt;
        return value;
    }
    if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
    return value;
}

std::optional<long long> parse_int(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r')) --e;
    if (b < e && text[b] == '+') ++b;
    if (b == e) return std::nullopt;
    long long value = 0;
    auto [ptr, ec] = std::from_chars(text.data() + b, text.data() + e, value);
    if (ec != std::errc() || ptr != text.data() + e) return std::nullopt;
    return value;
}

} // namespace zeran
