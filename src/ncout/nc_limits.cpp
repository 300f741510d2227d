#include "ncout/nc_limits.h"

#include "base/number_text.h"

#include <cmath>

namespace zeran {

std::string nc_value_problem(std::string_view name, double value, double limit) {
    const std::string shown = std::string(name) + " = " + general_text(value);
    if (!std::isfinite(value)) return shown + " is not a finite number";
    if (std::fabs(value) > limit) return shown + " is beyond " + general_text(limit);
    return {};
}

} // namespace zeran
