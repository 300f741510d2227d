#pragma once
// The largest magnitudes a machine program may carry. No lathe moves, feeds or
// turns anywhere near them, so a value beyond one is a fault upstream (a
// damaged project, a hand-edited GNC file) and must not reach a machine.
#include <string>
#include <string_view>

namespace zeran {

inline constexpr double kMaxNcCoordinate = 1e5; // millimetres or inches, also depths and pitches
inline constexpr double kMaxNcFeed = 1e5;       // per minute or per revolution
inline constexpr double kMaxNcSpeed = 1e5;      // revolutions or surface speed per minute

// Why `value` cannot be written as `name` ("x = INF is not a finite number",
// "feed = 1E9 is beyond 100000"), or "" when it can.
std::string nc_value_problem(std::string_view name, double value, double limit);

} // namespace zeran
