#pragma once
// The object on a cycle's Parameters node: the values of the parameter dialog's
// controls between showings, the dialog's units, the start point and the flags.
// The dialog window only edits this object.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/tolerances.h"
#include "cycles/cycle_params.h"

namespace zeran {

class IniDocument;

class TParamControls {
public:
    explicit TParamControls(CycleKind kind);

    CycleKind Kind = CycleKind::AlongX;
    bool Valid = false;   // dialog values valid and start point set
    bool Changed = false; // the dialog was edited since it was last shown
    double StartX = kNotSet;
    double StartZ = kNotSet;
    bool UseBillet = false;
    bool ProfileChecked = false; // copy of the cycle's flag, for the tree and the hint
    // What the path audit found in the last generated path; empty when nothing.
    std::string PathReport;

    // The values of the dialog's controls, laid out as a record: each control
    // sits in the field it edits (Along Z's retract in RetractZ, grooving's peck
    // return in PeckReturnX). Reals are kept as the edits show them.
    const TCycleParams& Controls() const { return controls_; }
    double Control(ParamField field) const { return get_param(controls_, field); }
    // An edit by the user: the control takes the value and the dialog is changed.
    void SetControl(ParamField field, double value);
    // Why a value the user typed cannot go into a control ("Threading:
    // Param_Pitch = 5000 is outside 0 to 1000 mm"), or "" when it can.
    std::string EntryProblem(ParamField field, double value) const;
    // The record fields the kind's controls edit (the common panel first).
    std::vector<ParamField> KindFields() const;

    // "Parameters (<long name of the kind>)" and the dialog's help context.
    std::string Title() const;
    int HelpContext() const { return 57 + static_cast<int>(Kind); }
    // "mm" or "inch", for the unit labels.
    std::string_view UnitLabel() const { return unit_text(units_); }

    Units DialogUnits() const { return units_; }
    bool DialogValid() const { return dialog_valid_; }
    bool DialogChanged() const { return dialog_changed_; }
    // Showing the dialog starts a new round of changes.
    void Shown() { dialog_changed_ = false; }

    // The record the controls describe, starting from the default record;
    // also keeps its validity as the dialog's.
    TCycleParams ReadRecord();
    // ReadRecord, then Valid (also needs both start coordinates) and Changed.
    TCycleParams ReadDefinition();
    // Converts the lengths when the record's units differ from the dialog's,
    // then fills the common and the kind's controls; the dialog takes the
    // record's units. The compensation choice stays: it belongs to the cycle,
    // not to a material's record.
    void LoadRecord(const TCycleParams& record);

    bool StartPointSet() const { return !is_not_set(StartX) && !is_not_set(StartZ); }

    void WriteKeys(std::vector<std::string>& lines, char separator = '.') const;
    void ReadKeys(const IniDocument& ini, std::string_view section, char separator = '.');

private:
    void set_shown_value(ParamField field, double value);

    TCycleParams controls_;
    Units units_ = Units::Metric;
    bool dialog_valid_ = false;
    bool dialog_changed_ = false;
};

// A real as a numeric edit shows it (6 significant digits).
double edit_shown_value(double value);

} // namespace zeran
