#pragma once
// Every tolerance and marker the core compares with, named once.

namespace zeran {

// Two cycle coordinates agree when they differ by less than this.
inline constexpr double kPointToleranceMetric = 0.01;
// The inch value is the millimetre tolerance converted (0.01 mm), not 0.0254:
// that would be 0.65 mm and would collapse real chamfers and radii.
inline constexpr double kPointToleranceInch = 0.01 / 25.4;

inline constexpr double kUnitToleranceMetric = 0.001;
inline constexpr double kUnitToleranceInch = 0.00003937008;

// Tolerance on one component of a unit vector, in either unit system.
inline constexpr double kDirectionTolerance = 0.001;

// A coordinate that is not set, or a point that was not found.
inline constexpr double kNotSet = 9e9;

inline constexpr double kMillimetresPerInch = 25.4;

enum class Units : unsigned char { Metric = 0, Inch = 1 };

// The units a stored record's byte stands for: anything but 1 is millimetres.
inline constexpr Units units_of(unsigned char stored) {
    return stored == 1 ? Units::Inch : Units::Metric;
}
inline constexpr unsigned char stored_units(Units u) {
    return static_cast<unsigned char>(u);
}

inline constexpr double point_tolerance(Units u) {
    return u == Units::Inch ? kPointToleranceInch : kPointToleranceMetric;
}
inline constexpr double unit_tolerance(Units u) {
    return u == Units::Inch ? kUnitToleranceInch : kUnitToleranceMetric;
}

// True for the 9e9 marker (and anything beyond it), which must never take part in arithmetic.
inline constexpr bool is_not_set(double v) {
    return v >= kNotSet * 0.999 || v <= -kNotSet * 0.999;
}

} // namespace zeran
