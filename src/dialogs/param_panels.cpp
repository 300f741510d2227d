#include "dialogs/param_panels.h"

#include "cycles/param_controls.h"

#include <QCoreApplication>

namespace zeran {

namespace {

QString tr_text(const char* s) {
    return QCoreApplication::translate("TParamForm", s);
}

struct Caption {
    ParamField field;
    const char* caption;
    const char* object_name;
};

// The captions differ by kind: RetractX is "Retract Amount" in one panel,
// PeckReturnX "Peck Return Amount in X" in another.
std::vector<Caption> kind_captions(CycleKind kind) {
    using F = ParamField;
    switch (kind) {
    case CycleKind::AlongX:
        return {{F::DepthCutX, "Depth of Cut in X", "XDepthXEdit"},
                {F::RetractX, "Retract Amount", "XRetractEdit"},
                {F::AllowanceX, "Finishing Allowance in X", "XFinishXEdit"},
                {F::AllowanceZ, "Finishing Allowance in Z", "XFinishZEdit"}};
    case CycleKind::AlongZ:
        return {{F::DepthCutZ, "Depth of Cut in Z", "ZDepthZEdit"},
                {F::RetractZ, "Retract Amount", "ZRetractEdit"},
                {F::AllowanceX, "Finishing Allowance in X", "ZFinishXEdit"},
                {F::AllowanceZ, "Finishing Allowance in Z", "ZFinishZEdit"}};
    case CycleKind::PatternRepeat:
        return {{F::DepthCutX, "Depth of Cut in X", "PDepthXEdit"},
                {F::DepthCutZ, "Depth of Cut in Z", "PDepthZEdit"},
                {F::AllowanceX, "Finishing Allowance in X", "PFinishXEdit"},
                {F::AllowanceZ, "Finishing Allowance in Z", "PFinishZEdit"},
                {F::Repeats, "Number of Repeats", "PRepeatsEdit"}};
    case CycleKind::Grooving:
        return {{F::DepthCutZ, "Depth of Cut in Z", "GDepthZEdit"},
                {F::PeckReturnX, "Peck Return Amount in X", "GRetractEdit"},
                {F::DepthCutX, "Max. Peck Depth in X", "GDepthXEdit"},
                {F::AllowanceX, "Finishing Allowance in X", "GFinishXEdit"}};
    case CycleKind::Threading:
        return {{F::DepthThread, "Depth of Thread as Radius", "TDepthTEdit"},
                {F::DepthFirst, "Depth of First Cut as Radius", "TDepthFEdit"},
                {F::AllowanceX, "Finishing Allowance in X", "TFinishXEdit"},
                {F::FinishPass, "Number of Finishing Passes", "TPassesEdit"},
                {F::Chamfer, "Chamfer Amount", "TChamferEdit"},
                {F::TipAngle, "Angle of Tool Tip", "TTipAngleEdit"},
                {F::Pitch, "Thread Pitch", "TPitchEdit"},
                {F::MinCut, "Minimum Cutting Depth", "TMinCutEdit"}};
    case CycleKind::Drilling:
        return {{F::DepthCutZ, "Pecking Depth in Z", "DDepthZEdit"},
                {F::PeckReturnZ, "Peck Return Amount", "DRetractEdit"}};
    case CycleKind::Finishing:
    case CycleKind::Linear:
        return {};
    }
    return {};
}

UnitLabel unit_of(ParamField f) {
    if (is_length_field(f)) return UnitLabel::Length;
    if (f == ParamField::TipAngle) return UnitLabel::Degrees;
    return UnitLabel::None;
}

bool is_common(ParamField f) {
    return f == ParamField::Feed || f == ParamField::Speed || f == ParamField::UseCSS ||
           f == ParamField::UseFPR;
}

} // namespace

std::vector<ParamRow> param_panel_rows(CycleKind kind) {
    const std::vector<Caption> captions = kind_captions(kind);
    std::vector<ParamRow> rows;
    // The order and the fields come from the kind's keys; the captions only
    // name them.
    for (ParamField f : TParamControls(kind).KindFields()) {
        if (is_common(f)) continue;
        for (const Caption& c : captions)
            if (c.field == f)
                rows.push_back({f, tr_text(c.caption), c.object_name,
                                param_value_type(f) == ParamValueType::Integer, unit_of(f)});
    }
    return rows;
}

const char* param_panel_name(CycleKind kind) {
    static const char* const names[] = {"AlongXPanel", "AlongZPanel", "PatternPanel",  "",
                                        "GroovePanel", "ThreadPanel", "DrillingPanel", ""};
    const auto i = static_cast<std::size_t>(kind);
    return i < std::size(names) ? names[i] : "";
}

std::vector<ParamField> required_param_fields(CycleKind kind) {
    std::vector<ParamField> fields;
    std::vector<ParamField> candidates = {ParamField::Feed, ParamField::Speed};
    for (const ParamRow& r : param_panel_rows(kind)) candidates.push_back(r.field);
    // A record with every value set is valid; a field whose zero makes it
    // invalid is one the kind needs.
    TCycleParams full;
    for (ParamField f : candidates) set_param(full, f, 1);
    if (!params_valid(kind, full)) return fields;
    for (ParamField f : candidates) {
        TCycleParams probe = full;
        set_param(probe, f, 0);
        if (!params_valid(kind, probe)) fields.push_back(f);
    }
    return fields;
}

QString unit_label_text(UnitLabel unit, Units units, bool per_rev, bool css) {
    const QString length = tr_text(std::string(unit_text(units)).c_str());
    switch (unit) {
    case UnitLabel::None:
        return {};
    case UnitLabel::Length:
        return length;
    case UnitLabel::Degrees:
        return tr_text("Degrees");
    case UnitLabel::Feed:
        return length + (per_rev ? tr_text("/rev.") : tr_text("/min."));
    case UnitLabel::Speed:
        if (!css) return tr_text("rev/min.");
        return units == Units::Inch ? tr_text("ft/min.") : tr_text("m/min.");
    }
    return {};
}

} // namespace zeran
