#pragma once
// The parameter record of a cycle and the tables that name its fields.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/tolerances.h"
#include "cycles/cycle_kinds.h"

namespace zeran {

class IniDocument;

// How a contour cycle allows for the insert's nose radius: not at all, by a
// path already offset by the radius, or by the control (G41/G42) on the
// profile's own path.
enum class NoseCompensation : std::int32_t { None = 0, InProgram = 1, InControl = 2 };

// Lengths are in the project's unit (Units: 0 millimetres, 1 inches).
struct TCycleParams {
    std::uint8_t Units = 0;
    double Feed = 0;
    double Speed = 0;
    bool UseCSS = false;
    bool UseFPR = false;
    double DepthCutX = 0;
    double DepthCutZ = 0;
    double AllowanceX = 0;
    double AllowanceZ = 0;
    double RetractX = 0;
    double RetractZ = 0;
    std::int32_t Repeats = 1;
    double PeckReturnX = 0;
    double DepthThread = 0;
    double DepthFirst = 0;
    double Pitch = 0;
    double MinCut = 0;
    std::int32_t FinishPass = 0;
    std::int32_t TipAngle = 0;
    std::int32_t Chamfer = 0;
    double PeckReturnZ = 0;
    std::int32_t Compensation = 0; // a NoseCompensation

    NoseCompensation NoseCompensationMode() const {
        return Compensation == 1   ? NoseCompensation::InProgram
               : Compensation == 2 ? NoseCompensation::InControl
                                   : NoseCompensation::None;
    }

    friend bool operator==(const TCycleParams&, const TCycleParams&) = default;
};

// The record's fields in declaration order.
enum class ParamField : std::uint8_t {
    Units,
    Feed,
    Speed,
    UseCSS,
    UseFPR,
    DepthCutX,
    DepthCutZ,
    AllowanceX,
    AllowanceZ,
    RetractX,
    RetractZ,
    Repeats,
    PeckReturnX,
    DepthThread,
    DepthFirst,
    Pitch,
    MinCut,
    FinishPass,
    TipAngle,
    Chamfer,
    PeckReturnZ,
    Compensation,
};

enum class ParamValueType : std::uint8_t { Real, Integer, Choice };
// What a field measures: it decides the unit text, the range and whether a
// change of units converts the value.
enum class UnitKind : std::uint8_t { Length, Feed, Speed, Count, Angle, Flag };

ParamValueType param_value_type(ParamField field);
UnitKind param_unit_kind(ParamField field);
// The twelve fields that hold a length and follow a change of units.
bool is_length_field(ParamField field);

// Any field as a double (choices 0 or 1); set_param rounds for integer fields
// and takes non-zero as true for choices.
double get_param(const TCycleParams& params, ParamField field);
void set_param(TCycleParams& params, ParamField field, double value);

// One row of the description table that the hint window and the material
// database show: every field but UseCSS and UseFPR, in record order.
struct ParamDescription {
    ParamField field;
    std::string_view name;
    std::string_view description;
    std::string_view unit_mm;
    std::string_view unit_inch;
};

inline constexpr std::size_t kParamDescriptionCount = 19;
const std::array<ParamDescription, kParamDescriptionCount>& param_descriptions();
// The row of a field, or nullptr for UseCSS and UseFPR.
const ParamDescription* find_param_description(ParamField field);
std::string_view param_unit_text(const ParamDescription& row, Units units);

inline constexpr std::array<std::string_view, 2> kUnitNames = {"Metric", "Inch"};
inline constexpr std::array<std::string_view, 2> kUnitTexts = {"mm", "inch"};
inline constexpr std::string_view kProfileNodeName = "Profile";
inline constexpr std::string_view kToolNodeName = "Tool";
inline constexpr std::string_view kParametersNodeName = "Parameters";

// "Metric" or "Inch", and "mm" or "inch".
std::string_view unit_name(Units units);
std::string_view unit_text(Units units);

// Every field the kind requires holds what it needs (Feed > 0 and Speed > 0 for all).
bool params_valid(CycleKind kind, const TCycleParams& params);

// Millimetres to inches rounded to 4 decimals, inches to millimetres rounded
// to 3 decimals; halves go to the even neighbour.
double mm_to_inch_rounded(double mm);
double inch_to_mm_rounded(double inch);
// Converts the twelve length fields from `from_units` into `to_units` and sets
// Units; Feed, Speed and the integers stay.
TCycleParams convert_params(const TCycleParams& params, Units from_units, Units to_units);

// The values a field can sensibly hold in the given units: never negative
// (the dialog takes none), and nothing a lathe could not do. A value beyond
// them comes from a damaged or hand-edited file and would reach the machine.
struct ParamRange {
    double low = 0;
    double high = 0;
};
ParamRange param_range(ParamField field, Units units);

// Why `value` cannot be held by the field, naming `key` and the range
// ("Param_Pitch = 1E20 is outside 0 to 1000 mm"), or "" when it can.
std::string param_value_problem(std::string_view key, ParamField field, double value, Units units);

// The key of the compensation choice. It is written only when not None, so
// files of tools without a nose radius stay as they were.
inline constexpr std::string_view kCompensationKey = "Compensation";

// One project key of a kind: the key and the record field its control edits.
struct ParamKey {
    std::string_view key;
    ParamField field;
};

// The common keys, then the kind's rows, in writing order. Note "Param_RetractX"
// holds RetractX, RetractZ or PeckReturnX depending on the kind.
std::vector<ParamKey> param_keys(CycleKind kind);

// `controls` holds the dialog's control values laid out as a record (see
// TParamControls). Lines are key, comma, value; reals in the general form with
// the given decimal separator, integers and choices as integer text.
void write_param_keys(CycleKind kind, const TCycleParams& controls, std::vector<std::string>& lines,
                      char separator = '.');
// Missing or unreadable values read as 0 (false for choices); non-finite
// values as 0 too, since no control could hold them. A compensation outside
// its three choices reads as None.
void read_param_keys(CycleKind kind, const IniDocument& ini, std::string_view section,
                     TCycleParams& controls, char separator = '.');

} // namespace zeran
