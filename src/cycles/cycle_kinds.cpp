#include "cycles/cycle_kinds.h"

#include "cycles/kind_description.h"

namespace zeran {

std::string_view cycle_short_name(CycleKind kind) {
    return describe(kind).short_name;
}
std::string_view cycle_long_name(CycleKind kind) {
    return describe(kind).long_name;
}
std::int32_t cycle_code(CycleKind kind) {
    return describe(kind).code;
}

} // namespace zeran
