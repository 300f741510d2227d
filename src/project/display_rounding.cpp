#include "project/display_rounding.h"

#include <cfenv>
#include <cmath>

namespace zeran {

double RoundTo(double c, double x) {
    if (!std::isfinite(x)) return x;
    // nearbyint honours the rounding mode, which is to-nearest-even by default.
    const int old_mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(x * c) / c;
    std::fesetround(old_mode);
    return r;
}

double DisplayValue(Units u, double x) {
    return RoundTo(edit_rounding_factor(u), x);
}

} // namespace zeran
