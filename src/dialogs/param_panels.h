#pragma once
// What the parameter dialog shows for a cycle kind: one row per control, in
// the order of the kind's fields in the cycle parameter tables, with the
// control's caption and name. The dialog reads the kind's layout only here.
#include "cycles/cycle_params.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace zeran {

enum class UnitLabel { None, Length, Degrees, Feed, Speed };

struct ParamRow {
    ParamField field;
    QString caption;
    const char* object_name; // the edit's name
    bool integer;
    UnitLabel unit;
};

// The kind's own panel (feed and speed are the common panel's); empty for
// kinds without one.
std::vector<ParamRow> param_panel_rows(CycleKind kind);
// The name of the kind's panel, or "" when it has none.
const char* param_panel_name(CycleKind kind);

// The fields that must be above zero for the kind's values to be valid:
// feed and speed, then the kind's own, found from the kind's validity rule.
std::vector<ParamField> required_param_fields(CycleKind kind);

// The unit text beside a control: "mm" or "inch" for lengths, the feed and
// speed units as their modes say, "Degrees" for the tool tip angle.
QString unit_label_text(UnitLabel unit, Units units, bool per_rev, bool css);

} // namespace zeran
