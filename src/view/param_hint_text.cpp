#include "view/param_hint_text.h"

#include "base/number_text.h"
#include "cycles/cycle_params.h"
#include "cycles/param_controls.h"

#include <QObject>

namespace zeran {

namespace {

std::string tr_text(const char* s) {
    return QObject::tr(s).toStdString();
}

// The line end of the hint: a blank, then the break.
constexpr const char* kLineEnd = " \n";

struct KindLine {
    ParamField field;
    bool must_be_set; // red while zero (repeats: while not above zero)
};

std::vector<KindLine> kind_lines(int kind) {
    using F = ParamField;
    switch (kind) {
    case 0:
        return {{F::DepthCutX, true},
                {F::RetractX, true},
                {F::AllowanceX, false},
                {F::AllowanceZ, false}};
    case 1:
        return {{F::DepthCutZ, true},
                {F::RetractZ, true},
                {F::AllowanceX, false},
                {F::AllowanceZ, false}};
    case 2:
        return {{F::DepthCutX, true},
                {F::DepthCutZ, true},
                {F::Repeats, true},
                {F::AllowanceX, false},
                {F::AllowanceZ, false}};
    case 4:
        return {{F::DepthCutX, true},
                {F::DepthCutZ, true},
                {F::AllowanceX, false},
                {F::PeckReturnX, false}};
    case 5:
        return {{F::AllowanceX, false}, {F::DepthThread, true}, {F::DepthFirst, true},
                {F::MinCut, true},      {F::Pitch, true},       {F::Chamfer, false},
                {F::FinishPass, false}, {F::TipAngle, false}};
    case 6:
        return {{F::DepthCutZ, true}, {F::PeckReturnZ, false}};
    default:
        return {};
    }
}

std::string value_text(const TCycleParams& p, ParamField f, char separator) {
    const double v = get_param(p, f);
    if (param_value_type(f) == ParamValueType::Real) return general_text(v, separator, 15);
    return int_text(static_cast<long long>(v));
}

} // namespace

ParamHintText build_param_hint(TParamControls& node, char separator) {
    const TCycleParams p = node.ReadRecord();
    const std::uint8_t units = p.Units;
    ParamHintText h;
    h.ready = node.Valid && node.ProfileChecked && node.PathReport.empty();
    auto add = [&](std::string shown, bool ok, bool line_end) {
        h.lines.push_back({" " + shown, ok});
        h.text += " " + shown;
        if (line_end) h.text += kLineEnd;
    };
    auto param_line = [&](ParamField f, bool ok, bool line_end) {
        const ParamDescription* d = find_param_description(f);
        std::string s = std::string(d->name) + ": " + value_text(p, f, separator) + " " +
                        std::string(param_unit_text(*d, units));
        add(s, ok, line_end);
    };

    add(tr_text("Status") + ": ", true, true);
    h.lines.push_back({" " + (h.ready ? tr_text("Ready") : tr_text("Not Ready")), h.ready});
    add(tr_text("Start Position") + ": " +
            (node.ProfileChecked ? tr_text("Correct") : tr_text("Incorrect")),
        node.ProfileChecked, true);
    add(tr_text("Units") + ": " + tr_text(std::string(unit_name(units)).c_str()), true, true);
    param_line(ParamField::Feed, p.Feed != 0, true);
    param_line(ParamField::Speed, p.Speed != 0, false);

    const std::vector<KindLine> lines = kind_lines(node.Kind);
    if (node.Kind != 3 && node.Kind != 7) {
        h.text += kLineEnd;
        h.lines.push_back({" ", true});
        h.text += " \n";
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const KindLine& k = lines[i];
        const double v = get_param(p, k.field);
        const bool ok = !k.must_be_set || (k.field == ParamField::Repeats ? v > 0 : v != 0);
        param_line(k.field, ok, i + 1 < lines.size());
    }
    if (!node.PathReport.empty()) {
        h.text += kLineEnd;
        add(tr_text("Path") + ": " + node.PathReport, false, false);
    }
    return h;
}

} // namespace zeran
