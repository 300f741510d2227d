#pragma once
// What each cycle kind is made of: its names and code, and the parameter
// fields its dialog edits, with the key each is saved under, whether the
// cycle is valid without it and where the hint lists it. Validity, the project
// file, the hint and the job sheet all read this one table.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "cycles/cycle_kinds.h"
#include "cycles/cycle_params.h"

namespace zeran {

// What a cycle needs of a field to be valid.
enum class Requirement : std::uint8_t {
    None,
    NonZero,
    Positive,
};

bool requirement_met(Requirement requirement, double value);

// One field a kind's dialog edits and the project file holds.
struct KindField {
    std::string_view key; // project file key; fields are listed in writing order
    ParamField field;     // the record field the control edits
    Requirement required;
    std::uint8_t hint_place; // position among the kind's lines of the hint
};

// A field whose value the dialog also copies into another one.
struct FieldCopy {
    ParamField from;
    ParamField to;
};

// What a kind's profile may be made of.
enum class ProfileRule : std::uint8_t {
    AnyElements,
    OneElement, // the thread's or the hole's line
    NoArcs,     // a groove is cut straight in
};

struct CycleKindDescription {
    CycleKind kind;
    std::string_view short_name;
    std::string_view long_name;
    std::int32_t code;
    bool roughing; // a stock removal kind: the cycle list names it "Roughing ..."
    ProfileRule profile;
    // The kind's own fields, after the common ones, in writing order.
    std::span<const KindField> fields;
    // The roughing kinds have one depth edit that serves both directions.
    std::optional<FieldCopy> depth_copy;
};

// Feed, speed and the two choices: every kind's panel starts with them.
std::span<const KindField> common_kind_fields();

const CycleKindDescription& describe(CycleKind kind);
// All kinds in the order of their values.
std::span<const CycleKindDescription> cycle_kind_descriptions();

// The kind a stored number stands for, or nothing outside 0..7.
std::optional<CycleKind> cycle_kind_from_number(long long number);
inline int cycle_kind_number(CycleKind kind) {
    return static_cast<int>(kind);
}

// The contour kinds, whose path can allow for the insert's nose radius.
bool takes_nose_compensation(CycleKind kind);

// The common fields, then the kind's own, in writing order.
std::vector<KindField> all_kind_fields(CycleKind kind);
// The kind's own fields in the order the hint lists them.
std::vector<KindField> hint_kind_fields(CycleKind kind);

} // namespace zeran
