#include "view/param_hint_text.h"

#include "base/number_text.h"
#include "cycles/cycle_params.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"

#include <QObject>

namespace zeran {

namespace {

std::string tr_text(const char* s) {
    return QObject::tr(s).toStdString();
}

// The line end of the hint: a blank, then the break.
constexpr const char* kLineEnd = " \n";

std::string value_text(const TCycleParams& p, ParamField f, char separator) {
    const double v = get_param(p, f);
    if (param_value_type(f) == ParamValueType::Real) return general_text(v, separator, 15);
    return int_text(static_cast<long long>(v));
}

} // namespace

ParamHintText build_param_hint(TParamControls& node, char separator) {
    const TCycleParams p = node.ReadRecord();
    const Units units = units_of(p.Units);
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
    auto met = [&](const KindField& f) {
        return requirement_met(f.required, get_param(p, f.field));
    };
    // Feed and speed; the two choices have no line.
    std::vector<KindField> common;
    for (const KindField& f : common_kind_fields())
        if (find_param_description(f.field)) common.push_back(f);
    for (std::size_t i = 0; i < common.size(); ++i)
        param_line(common[i].field, met(common[i]), i + 1 < common.size());

    const std::vector<KindField> lines = hint_kind_fields(node.Kind);
    if (!lines.empty()) {
        h.text += kLineEnd;
        h.lines.push_back({" ", true});
        h.text += " \n";
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        param_line(lines[i].field, met(lines[i]), i + 1 < lines.size());
    if (!node.PathReport.empty()) {
        h.text += kLineEnd;
        add(tr_text("Path") + ": " + node.PathReport, false, false);
    }
    return h;
}

void add_hint_trouble(ParamHintText& hint, const std::string& reason) {
    if (reason.empty()) return;
    hint.ready = false;
    if (hint.lines.size() > 1) hint.lines[1] = {" " + tr_text("Not Ready"), false};
    hint.text += kLineEnd;
    const std::string shown = " " + tr_text("No tool path") + ": " + reason;
    hint.lines.push_back({shown, false});
    hint.text += shown;
}

} // namespace zeran
