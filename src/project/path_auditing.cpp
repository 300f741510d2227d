// The path audit over the cycle list: each cycle meets the part and the
// stock that the cycles before it left.
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/param_controls.h"
#include "cycles/path_audit.h"
#include "project/project_model.h"

#include <algorithm>
#include <cmath>

namespace zeran {

namespace {

StockMap stock_for(const PartOutline& part, bool billet, double length, double radius) {
    if (billet) {
        // The bar reaches from the datum back along minus Z, up from the axis.
        return StockMap(part, std::min(-length, 0.0), std::max(-length, 0.0), std::fabs(radius));
    }
    const TMaxMin& e = part.extents();
    return StockMap(part, e.MinZ, e.MaxZ, e.MaxX);
}

} // namespace

std::vector<CycleFailure> ProjectModel::AuditPaths() {
    std::vector<CycleFailure> found;
    for (auto& node : cycles) node->params->PathReport.clear();
    if (!selection || !datum_set) return found;
    // A drill's line marks the hole it makes, not the part's outline.
    std::vector<const DXF_Entity*> drill_lines;
    for (const auto& node : cycles)
        if (node->kind() == CycleKind::Drilling)
            for (const ProfileItem& item : node->points.items) drill_lines.push_back(item.element);
    const PartOutline part = outline_of(*selection, {datum_edit_x, datum_edit_y}, drill_lines);
    if (part.empty()) return found;
    StockMap stock = stock_for(part, billet_defined, billet_edit_l, billet_edit_r);
    int number = 0;
    for (auto& node : cycles) {
        ++number;
        TCanCycle& cycle = *node->cycle;
        if (cycle.NeedsGenerate) continue; // its next generation sets its state
        const bool ready = node->params->Valid && cycle.ProfileChecked;
        node->params_node.state_index = ready ? kStateComplete : kStateIncomplete;
        if (!node->checked() || cycle.Moves.empty()) continue;
        const PathAudit audit = audit_cycle(cycle, part, &stock, unit_tolerance(units));
        if (audit.clean()) continue;
        node->params->PathReport = audit.summary(units);
        node->params_node.state_index = kStateIncomplete;
        found.push_back({number, node->caption, node->params->PathReport});
    }
    return found;
}

} // namespace zeran
