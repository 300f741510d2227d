#include "cycles/cycle_params.h"

#include <cmath>

#include "base/ini_document.h"
#include "base/number_text.h"
#include "cycles/kind_description.h"

namespace zeran {

namespace {

using F = ParamField;
using T = ParamValueType;
using U = UnitKind;

// What each field holds and the most a lathe could use of it, in millimetres
// for lengths. Listed in record order.
struct FieldInfo {
    ParamField field;
    ParamValueType type;
    UnitKind unit;
    double high;
};

// A metre of depth, allowance, retract or pitch is far beyond any lathe.
constexpr double kLongestLength = 1000.0;

constexpr std::array<FieldInfo, static_cast<std::size_t>(F::Compensation) + 1> kFieldInfo = {{
    {F::Units, T::Integer, U::Flag, 1},
    {F::Feed, T::Real, U::Feed, 100000},
    {F::Speed, T::Real, U::Speed, 100000},
    {F::UseCSS, T::Choice, U::Flag, 1},
    {F::UseFPR, T::Choice, U::Flag, 1},
    {F::DepthCutX, T::Real, U::Length, kLongestLength},
    {F::DepthCutZ, T::Real, U::Length, kLongestLength},
    {F::AllowanceX, T::Real, U::Length, kLongestLength},
    {F::AllowanceZ, T::Real, U::Length, kLongestLength},
    {F::RetractX, T::Real, U::Length, kLongestLength},
    {F::RetractZ, T::Real, U::Length, kLongestLength},
    {F::Repeats, T::Integer, U::Count, 1000},
    {F::PeckReturnX, T::Real, U::Length, kLongestLength},
    {F::DepthThread, T::Real, U::Length, kLongestLength},
    {F::DepthFirst, T::Real, U::Length, kLongestLength},
    {F::Pitch, T::Real, U::Length, kLongestLength},
    {F::MinCut, T::Real, U::Length, kLongestLength},
    {F::FinishPass, T::Integer, U::Count, 100},
    {F::TipAngle, T::Integer, U::Angle, 180},
    {F::Chamfer, T::Integer, U::Count, 100},
    {F::PeckReturnZ, T::Real, U::Length, kLongestLength},
    {F::Compensation, T::Integer, U::Count, 2},
}};

constexpr bool in_record_order() {
    for (std::size_t i = 0; i < kFieldInfo.size(); ++i)
        if (static_cast<std::size_t>(kFieldInfo[i].field) != i) return false;
    return true;
}
static_assert(in_record_order(), "the field table follows the record");

constexpr const FieldInfo& field_info(ParamField field) {
    return kFieldInfo[static_cast<std::size_t>(field)];
}

// The unit a field's value is shown in, by what it measures.
constexpr std::string_view unit_shown(UnitKind unit, bool inch) {
    switch (unit) {
    case U::Length:
        return inch ? "inch" : "mm";
    case U::Feed:
        return inch ? "inch/min." : "mm/min.";
    case U::Speed:
        return "rev/min.";
    case U::Angle:
        return "\xC2\xB0";
    case U::Count:
    case U::Flag:
        return "";
    }
    return "";
}

constexpr ParamDescription described(ParamField field, std::string_view name,
                                     std::string_view description) {
    const UnitKind unit = field_info(field).unit;
    return {field, name, description, unit_shown(unit, false), unit_shown(unit, true)};
}

const std::array<ParamDescription, kParamDescriptionCount> kDescriptions = {{
    described(F::Units, "Units", "Units used either Metric or Inch."),
    described(F::Feed, "Feed rate", "Feed rate defined as feed per revolution of spindle speed."),
    described(F::Speed, "Spindle Speed", "Spindle speed defined as revolutions per minute."),
    described(F::DepthCutX, "Depth of cut in X", "Default depth of cut in X for a cycle."),
    described(F::DepthCutZ, "Depth of cut in Z", "Default depth of cut in Z for a cycle."),
    described(F::AllowanceX, "Finishing allowance in X",
              "Default offset from the profile in X for a cycle."),
    described(F::AllowanceZ, "Finishing allowance in Z",
              "Default offset from the profile in Z for a cycle."),
    described(F::RetractX, "Retract amount in X", "Default retract amount in X for a cycle."),
    described(F::RetractZ, "Retract amount in Z", "Default retract amount in Z for a cycle."),
    described(F::Repeats, "Number of repeats",
              "Default number of repeats for a Pattern Repeat cycle"),
    described(F::PeckReturnX, "Grooving retract amount in X",
              "Default retract amount in X for a Grooving Cycle"),
    described(F::DepthThread, "Depth of thread", "Default depth of cut for a Thread Cycle."),
    described(F::DepthFirst, "Depth of first thread cut",
              "Default depth of first cut for a Thread Cycle."),
    described(F::Pitch, "Thread pitch", "Default pitch for a Thread Cycle"),
    described(F::MinCut, "Minimum thread cut", "Default minimum cut for a Thread Cycle."),
    described(F::FinishPass, "Number of thread finishing passes",
              "Default number of finishing passes for a Thread Cycle."),
    described(F::TipAngle, "Thread tip angle", "Default tip angle for a Thread Cycle."),
    described(F::Chamfer, "Thread chamfer", "Default chamfer for a Thread Cycle."),
    described(F::PeckReturnZ, "Drill retract amount in Z",
              "Default retract amount in Z for a Drill Cycle."),
}};

// Nearest integer with halves to even, whatever the current rounding mode.
double round_half_even(double v) {
    double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
    return r;
}

std::int32_t to_int32(double v) {
    if (!std::isfinite(v)) return 0;
    double r = std::round(v);
    if (r > 2147483647.0) return 2147483647;
    if (r < -2147483648.0) return -2147483647 - 1;
    return static_cast<std::int32_t>(r);
}

} // namespace

ParamValueType param_value_type(ParamField field) {
    return field_info(field).type;
}

UnitKind param_unit_kind(ParamField field) {
    return field_info(field).unit;
}

bool is_length_field(ParamField field) {
    return param_unit_kind(field) == UnitKind::Length;
}

double get_param(const TCycleParams& p, ParamField field) {
    switch (field) {
    case F::Units:
        return p.Units;
    case F::Feed:
        return p.Feed;
    case F::Speed:
        return p.Speed;
    case F::UseCSS:
        return p.UseCSS ? 1 : 0;
    case F::UseFPR:
        return p.UseFPR ? 1 : 0;
    case F::DepthCutX:
        return p.DepthCutX;
    case F::DepthCutZ:
        return p.DepthCutZ;
    case F::AllowanceX:
        return p.AllowanceX;
    case F::AllowanceZ:
        return p.AllowanceZ;
    case F::RetractX:
        return p.RetractX;
    case F::RetractZ:
        return p.RetractZ;
    case F::Repeats:
        return p.Repeats;
    case F::PeckReturnX:
        return p.PeckReturnX;
    case F::DepthThread:
        return p.DepthThread;
    case F::DepthFirst:
        return p.DepthFirst;
    case F::Pitch:
        return p.Pitch;
    case F::MinCut:
        return p.MinCut;
    case F::FinishPass:
        return p.FinishPass;
    case F::TipAngle:
        return p.TipAngle;
    case F::Chamfer:
        return p.Chamfer;
    case F::PeckReturnZ:
        return p.PeckReturnZ;
    case F::Compensation:
        return p.Compensation;
    }
    return 0;
}

void set_param(TCycleParams& p, ParamField field, double v) {
    switch (field) {
    case F::Units:
        p.Units = v == 1 ? 1 : 0;
        break;
    case F::Feed:
        p.Feed = v;
        break;
    case F::Speed:
        p.Speed = v;
        break;
    case F::UseCSS:
        p.UseCSS = v != 0;
        break;
    case F::UseFPR:
        p.UseFPR = v != 0;
        break;
    case F::DepthCutX:
        p.DepthCutX = v;
        break;
    case F::DepthCutZ:
        p.DepthCutZ = v;
        break;
    case F::AllowanceX:
        p.AllowanceX = v;
        break;
    case F::AllowanceZ:
        p.AllowanceZ = v;
        break;
    case F::RetractX:
        p.RetractX = v;
        break;
    case F::RetractZ:
        p.RetractZ = v;
        break;
    case F::Repeats:
        p.Repeats = to_int32(v);
        break;
    case F::PeckReturnX:
        p.PeckReturnX = v;
        break;
    case F::DepthThread:
        p.DepthThread = v;
        break;
    case F::DepthFirst:
        p.DepthFirst = v;
        break;
    case F::Pitch:
        p.Pitch = v;
        break;
    case F::MinCut:
        p.MinCut = v;
        break;
    case F::FinishPass:
        p.FinishPass = to_int32(v);
        break;
    case F::TipAngle:
        p.TipAngle = to_int32(v);
        break;
    case F::Chamfer:
        p.Chamfer = to_int32(v);
        break;
    case F::PeckReturnZ:
        p.PeckReturnZ = v;
        break;
    case F::Compensation: {
        const std::int32_t choice = to_int32(v);
        p.Compensation = choice >= 0 && choice <= 2 ? choice : 0;
        break;
    }
    }
}

const std::array<ParamDescription, kParamDescriptionCount>& param_descriptions() {
    return kDescriptions;
}

const ParamDescription* find_param_description(ParamField field) {
    for (const auto& row : kDescriptions)
        if (row.field == field) return &row;
    return nullptr;
}

std::string_view param_unit_text(const ParamDescription& row, Units units) {
    return units == Units::Inch ? row.unit_inch : row.unit_mm;
}

std::string_view unit_name(Units units) {
    return kUnitNames[units == Units::Inch ? 1 : 0];
}
std::string_view unit_text(Units units) {
    return kUnitTexts[units == Units::Inch ? 1 : 0];
}

bool params_valid(CycleKind kind, const TCycleParams& p) {
    for (const KindField& f : all_kind_fields(kind))
        if (!requirement_met(f.required, get_param(p, f.field))) return false;
    return true;
}

double mm_to_inch_rounded(double mm) {
    return round_half_even(mm / kMillimetresPerInch * 10000.0) / 10000.0;
}

double inch_to_mm_rounded(double inch) {
    return round_half_even(inch * kMillimetresPerInch * 1000.0) / 1000.0;
}

TCycleParams convert_params(const TCycleParams& params, Units from_units, Units to_units) {
    TCycleParams out = params;
    out.Units = stored_units(to_units);
    const bool to_inch = to_units == Units::Inch;
    if (from_units == to_units) return out;
    for (int i = 0; i <= static_cast<int>(F::PeckReturnZ); ++i) {
        auto field = static_cast<ParamField>(i);
        if (!is_length_field(field)) continue;
        double v = get_param(params, field);
        set_param(out, field, to_inch ? mm_to_inch_rounded(v) : inch_to_mm_rounded(v));
    }
    return out;
}

ParamRange param_range(ParamField field, Units units) {
    const FieldInfo& info = field_info(field);
    if (info.unit == UnitKind::Length && units == Units::Inch)
        return {0, info.high / kMillimetresPerInch};
    return {0, info.high};
}

std::string param_value_problem(std::string_view key, ParamField field, double value, Units units) {
    const ParamRange r = param_range(field, units);
    if (std::isfinite(value) && value >= r.low && value <= r.high) return {};
    std::string unit;
    if (const ParamDescription* row = find_param_description(field))
        unit = std::string(param_unit_text(*row, units));
    return std::string(key) + " = " + general_text(value) + " is outside " + general_text(r.low) +
           " to " + general_text(r.high, '.', 6) + (unit.empty() ? "" : " " + unit);
}

std::vector<ParamKey> param_keys(CycleKind kind) {
    std::vector<ParamKey> keys;
    for (const KindField& f : all_kind_fields(kind)) keys.push_back({f.key, f.field});
    return keys;
}

void write_param_keys(CycleKind kind, const TCycleParams& controls, std::vector<std::string>& lines,
                      char separator) {
    for (const ParamKey& k : param_keys(kind)) {
        double v = get_param(controls, k.field);
        std::string text = param_value_type(k.field) == ParamValueType::Real
                               ? general_text(v, separator)
                               : int_text(static_cast<long long>(v));
        lines.push_back(std::string(k.key) + "," + text);
    }
    if (takes_nose_compensation(kind) && controls.Compensation != 0)
        lines.push_back(std::string(kCompensationKey) + "," + int_text(controls.Compensation));
}

void read_param_keys(CycleKind kind, const IniDocument& ini, std::string_view section,
                     TCycleParams& controls, char separator) {
    for (const ParamKey& k : param_keys(kind)) {
        switch (param_value_type(k.field)) {
        case ParamValueType::Real: {
            double v = ini.read_real(section, k.key, 0, separator);
            set_param(controls, k.field, std::isfinite(v) ? v : 0);
            break;
        }
        case ParamValueType::Integer: {
            long long v = ini.read_int(section, k.key, 0);
            if (v > 2147483647LL || v < -2147483647LL) v = 0;
            set_param(controls, k.field, static_cast<double>(v));
            break;
        }
        case ParamValueType::Choice:
            set_param(controls, k.field, ini.read_bool(section, k.key, false) ? 1 : 0);
            break;
        }
    }
    if (takes_nose_compensation(kind))
        set_param(controls, F::Compensation,
                  static_cast<double>(ini.read_int(section, kCompensationKey, 0)));
}

} // namespace zeran
