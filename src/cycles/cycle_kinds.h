#pragma once
// The eight cycle kinds and the cycle codes the generators dispatch on. A
// kind's value is the number the project file stores.
#include <cstdint>
#include <string_view>

namespace zeran {

enum class CycleKind : std::uint8_t {
    AlongX = 0,
    AlongZ = 1,
    PatternRepeat = 2,
    Finishing = 3,
    Grooving = 4,
    Threading = 5,
    Drilling = 6,
    Linear = 7,
};

inline constexpr int kCycleKindCount = 8;

inline constexpr int kCodeThreading = 32;
inline constexpr int kCodeFinishing = 70;
inline constexpr int kCodeAlongX = 71;
inline constexpr int kCodeAlongZ = 72;
inline constexpr int kCodePatternRepeat = 73;
inline constexpr int kCodeDrilling = 74;
inline constexpr int kCodeGrooving = 75;
inline constexpr int kCodeLinear = 77;

// Names and code of a kind, read from its description.
std::string_view cycle_short_name(CycleKind kind);
std::string_view cycle_long_name(CycleKind kind);
std::int32_t cycle_code(CycleKind kind);

} // namespace zeran
