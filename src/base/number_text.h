#pragma once
// Number texts shared by the DXF writer, the GNC writer and the INI-style files.
#include <optional>
#include <string>
#include <string_view>

namespace zeran {

// 7 significant digits, then fixed with 3 decimals ("12.500"); full stop always.
std::string fixed3_text(double x);

// Rounded to `significant` digits, fixed with `decimals` decimals.
std::string fixed_text(double x, int significant, int decimals, char separator = '.');

// General form: rounded to `significant` digits (15 by default), trailing zeros
// dropped; fixed for 1e-4 <= |x| < 1e15, otherwise "1.5E15" / "5E-5".
std::string general_text(double x, char separator = '.', int significant = 15);

// Plain decimal integer.
std::string int_text(long long v);

// Parses a real written with `separator` (a full stop is also accepted);
// the whole text must be a number, surrounding blanks allowed.
std::optional<double> parse_real(std::string_view text, char separator = '.');
std::optional<long long> parse_int(std::string_view text);

} // namespace zeran
