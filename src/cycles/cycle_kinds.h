#pragma once
// The eight cycle kinds: their short and long names and the cycle code each
// dispatches on. Every part that shows or writes a kind reads these tables.
#include <array>
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

inline constexpr std::array<std::string_view, kCycleKindCount> kCycleShortNames = {
    "Along X",  "Along Z",   "Pattern Repeat", "Finishing",
    "Grooving", "Threading", "Drilling",       "Linear"};

inline constexpr std::array<std::string_view, kCycleKindCount> kCycleLongNames = {
    "Stock Removal Along X Axis",
    "Stock Removal Along Z Axis",
    "Stock Removal Pattern Repeating",
    "Finishing Cycle",
    "Grooving Cycle in X",
    "Threading Cycle",
    "Drilling Cycle",
    "Linear Cycle"};

inline constexpr std::array<std::int32_t, kCycleKindCount> kCycleCodes = {
    kCodeAlongX,   kCodeAlongZ,    kCodePatternRepeat, kCodeFinishing,
    kCodeGrooving, kCodeThreading, kCodeDrilling,      kCodeLinear};

// Table lookups by kind index; an index outside 0..7 gives "" or 0.
std::string_view cycle_short_name(int kind);
std::string_view cycle_long_name(int kind);
std::int32_t cycle_code(int kind);

} // namespace zeran
