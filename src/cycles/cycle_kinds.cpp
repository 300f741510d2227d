#include "cycles/cycle_kinds.h"

namespace zeran {

namespace {
bool in_range(int kind) {
    return kind >= 0 && kind < kCycleKindCount;
}
} // namespace

std::string_view cycle_short_name(int kind) {
    return in_range(kind) ? kCycleShortNames[kind] : "";
}
std::string_view cycle_long_name(int kind) {
    return in_range(kind) ? kCycleLongNames[kind] : "";
}
std::int32_t cycle_code(int kind) {
    return in_range(kind) ? kCycleCodes[kind] : 0;
}

} // namespace zeran
