#include "cycles/param_controls.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "cycles/cycle_kinds.h"
#include "cycles/kind_description.h"

namespace zeran {

double edit_shown_value(double value) {
    if (value == 0.0 || !std::isfinite(value)) return std::isfinite(value) ? value : 0.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.5e", value);
    return std::strtod(buf, nullptr);
}

TParamControls::TParamControls(CycleKind kind) : Kind(kind) {
    // A control's initial value, not the default record: the repeats edit
    // starts empty (0), the thread's passes and chamfer at 1.
    controls_.Repeats = 0;
    controls_.FinishPass = 1;
    controls_.Chamfer = 1;
}

std::string TParamControls::Title() const {
    return "Parameters (" + std::string(cycle_long_name(Kind)) + ")";
}

std::vector<ParamField> TParamControls::KindFields() const {
    std::vector<ParamField> fields;
    for (const ParamKey& k : param_keys(Kind)) fields.push_back(k.field);
    return fields;
}

void TParamControls::set_shown_value(ParamField field, double value) {
    if (!std::isfinite(value)) value = 0;
    if (param_value_type(field) == ParamValueType::Real) value = edit_shown_value(value);
    set_param(controls_, field, value);
}

void TParamControls::SetControl(ParamField field, double value) {
    set_shown_value(field, value);
    dialog_changed_ = true;
}

std::string TParamControls::EntryProblem(ParamField field, double value) const {
    std::string_view key = find_param_description(field) ? find_param_description(field)->name
                                                         : std::string_view("value");
    for (const ParamKey& k : param_keys(Kind))
        if (k.field == field) key = k.key;
    if (field == ParamField::Compensation) key = kCompensationKey;
    std::string problem = param_value_problem(key, field, value, units_);
    return problem.empty() ? problem : std::string(cycle_long_name(Kind)) + ": " + problem;
}

TCycleParams TParamControls::ReadRecord() {
    TCycleParams record; // the default record
    for (const ParamKey& k : param_keys(Kind))
        set_param(record, k.field, get_param(controls_, k.field));
    if (const auto copy = describe(Kind).depth_copy)
        set_param(record, copy->to, get_param(record, copy->from));
    if (takes_nose_compensation(Kind)) record.Compensation = controls_.Compensation;
    record.Units = stored_units(units_);
    dialog_valid_ = params_valid(Kind, record);
    return record;
}

TCycleParams TParamControls::ReadDefinition() {
    TCycleParams record = ReadRecord();
    Valid = dialog_valid_ && StartPointSet();
    Changed = dialog_changed_;
    return record;
}

void TParamControls::LoadRecord(const TCycleParams& record) {
    TCycleParams converted = record;
    const Units units = units_of(record.Units);
    if (units != units_) converted = convert_params(record, units_, units);
    for (const ParamKey& k : param_keys(Kind))
        set_shown_value(k.field, get_param(converted, k.field));
    units_ = units;
}

void TParamControls::WriteKeys(std::vector<std::string>& lines, char separator) const {
    write_param_keys(Kind, controls_, lines, separator);
}

void TParamControls::ReadKeys(const IniDocument& ini, std::string_view section, char separator) {
    TCycleParams read = controls_;
    read_param_keys(Kind, ini, section, read, separator);
    for (const ParamKey& k : param_keys(Kind)) set_shown_value(k.field, get_param(read, k.field));
    controls_.Compensation = read.Compensation;
}

} // namespace zeran
