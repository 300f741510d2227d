#include "cycles/kind_description.h"

#include <algorithm>
#include <array>

namespace zeran {

namespace {

using F = ParamField;
using R = Requirement;

constexpr KindField kCommon[] = {
    {"Param_Feed", F::Feed, R::Positive, 0},
    {"Param_Speed", F::Speed, R::Positive, 1},
    {"Param_UseCSS", F::UseCSS, R::None, 2},
    {"Param_UseFPR", F::UseFPR, R::None, 3},
};

constexpr KindField kAlongX[] = {
    {"Param_DepthCutX", F::DepthCutX, R::NonZero, 0},
    {"Param_RetractX", F::RetractX, R::NonZero, 1},
    {"Param_AllowanceX", F::AllowanceX, R::None, 2},
    {"Param_AllowanceZ", F::AllowanceZ, R::None, 3},
};

// Along Z keeps its retract under the X key.
constexpr KindField kAlongZ[] = {
    {"Param_DepthCutZ", F::DepthCutZ, R::NonZero, 0},
    {"Param_RetractX", F::RetractZ, R::NonZero, 1},
    {"Param_AllowanceX", F::AllowanceX, R::None, 2},
    {"Param_AllowanceZ", F::AllowanceZ, R::None, 3},
};

constexpr KindField kPatternRepeat[] = {
    {"Param_DepthCutX", F::DepthCutX, R::NonZero, 0},
    {"Param_DepthCutZ", F::DepthCutZ, R::NonZero, 1},
    {"Param_AllowanceX", F::AllowanceX, R::None, 3},
    {"Param_AllowanceZ", F::AllowanceZ, R::None, 4},
    {"Param_Repeats", F::Repeats, R::Positive, 2},
};

// Grooving keeps its peck return under the X retract key.
constexpr KindField kGrooving[] = {
    {"Param_DepthCutZ", F::DepthCutZ, R::NonZero, 1},
    {"Param_RetractX", F::PeckReturnX, R::None, 3},
    {"Param_DepthCutX", F::DepthCutX, R::NonZero, 0},
    {"Param_AllowanceX", F::AllowanceX, R::None, 2},
};

constexpr KindField kThreading[] = {
    {"Param_DepthThread", F::DepthThread, R::NonZero, 1},
    {"Param_DepthFirst", F::DepthFirst, R::NonZero, 2},
    {"Param_AllowanceX", F::AllowanceX, R::None, 0},
    {"Param_FinishPass", F::FinishPass, R::None, 6},
    {"Param_Chamfer", F::Chamfer, R::None, 5},
    {"Param_TipAngle", F::TipAngle, R::None, 7},
    {"Param_Pitch", F::Pitch, R::NonZero, 4},
    {"Param_MinCut", F::MinCut, R::NonZero, 3},
};

constexpr KindField kDrilling[] = {
    {"Param_DepthCutZ", F::DepthCutZ, R::NonZero, 0},
    {"Param_PeckReturnZ", F::PeckReturnZ, R::None, 1},
};

constexpr std::span<const KindField> kNoFields{};

constexpr std::array<CycleKindDescription, kCycleKindCount> kKinds = {{
    {CycleKind::AlongX, "Along X", "Stock Removal Along X Axis", kCodeAlongX, true,
     ProfileRule::AnyElements, kAlongX, FieldCopy{F::DepthCutX, F::DepthCutZ}},
    {CycleKind::AlongZ, "Along Z", "Stock Removal Along Z Axis", kCodeAlongZ, true,
     ProfileRule::AnyElements, kAlongZ, FieldCopy{F::DepthCutZ, F::DepthCutX}},
    {CycleKind::PatternRepeat, "Pattern Repeat", "Stock Removal Pattern Repeating",
     kCodePatternRepeat, true, ProfileRule::AnyElements, kPatternRepeat, std::nullopt},
    {CycleKind::Finishing, "Finishing", "Finishing Cycle", kCodeFinishing, false,
     ProfileRule::AnyElements, kNoFields, std::nullopt},
    {CycleKind::Grooving, "Grooving", "Grooving Cycle in X", kCodeGrooving, false,
     ProfileRule::NoArcs, kGrooving, std::nullopt},
    {CycleKind::Threading, "Threading", "Threading Cycle", kCodeThreading, false,
     ProfileRule::OneElement, kThreading, std::nullopt},
    {CycleKind::Drilling, "Drilling", "Drilling Cycle", kCodeDrilling, false,
     ProfileRule::OneElement, kDrilling, std::nullopt},
    {CycleKind::Linear, "Linear", "Linear Cycle", kCodeLinear, false, ProfileRule::AnyElements,
     kNoFields, std::nullopt},
}};

} // namespace

bool requirement_met(Requirement requirement, double value) {
    switch (requirement) {
    case R::None:
        return true;
    case R::NonZero:
        return value != 0;
    case R::Positive:
        return value > 0;
    }
    return false;
}

std::span<const KindField> common_kind_fields() {
    return kCommon;
}

const CycleKindDescription& describe(CycleKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

std::span<const CycleKindDescription> cycle_kind_descriptions() {
    return kKinds;
}

std::optional<CycleKind> cycle_kind_from_number(long long number) {
    if (number < 0 || number >= kCycleKindCount) return std::nullopt;
    return static_cast<CycleKind>(number);
}

bool takes_nose_compensation(CycleKind kind) {
    switch (kind) {
    case CycleKind::AlongX:
    case CycleKind::AlongZ:
    case CycleKind::PatternRepeat:
    case CycleKind::Finishing:
    case CycleKind::Linear:
        return true;
    case CycleKind::Grooving:
    case CycleKind::Threading:
    case CycleKind::Drilling:
        return false;
    }
    return false;
}

std::vector<KindField> all_kind_fields(CycleKind kind) {
    std::vector<KindField> fields(kCommon, kCommon + std::size(kCommon));
    const auto own = describe(kind).fields;
    fields.insert(fields.end(), own.begin(), own.end());
    return fields;
}

std::vector<KindField> hint_kind_fields(CycleKind kind) {
    const auto own = describe(kind).fields;
    std::vector<KindField> fields(own.begin(), own.end());
    std::sort(fields.begin(), fields.end(),
              [](const KindField& a, const KindField& b) { return a.hint_place < b.hint_place; });
    return fields;
}

} // namespace zeran
