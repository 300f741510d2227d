#pragma once
// The rounding the numeric edits apply: values placed with the mouse and
// stored lengths shown in an edit.
#include "base/tolerances.h"

namespace zeran {

// round(x * c) / c with halves going to the even neighbour.
double RoundTo(double c, double x);

// Rounding factor of the edits: 10 for metric, 10000 for inch.
constexpr double edit_rounding_factor(Units u) {
    return u == Units::Inch ? 10000.0 : 10.0;
}

// A stored length as an edit shows it. Inch projects hold their lengths in
// inches already, so they are rounded to four decimals without conversion.
double DisplayValue(Units u, double x);

} // namespace zeran
