#include "project/detached_cycle.h"

#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "project/cycle_nodes.h"
#include "project/project_model.h"

#include <algorithm>

namespace zeran {

namespace {

bool generate_once(const ProjectModel& model, const CycleNode& node, DetachedCycle& out,
                   bool reversed, bool& turned) {
    out.elements.clear();
    out.cycle = std::make_unique<TCanCycle>();
    TCanCycle& cycle = *out.cycle;
    cycle.Kind = node.cycle->Kind;
    cycle.Comment = node.cycle->Comment;
    cycle.Datum = {model.datum_edit_x, model.datum_edit_y};
    std::vector<DXF_Entity*> elements;
    for (const ProfileItem& item : node.points.items) {
        if (!item.element) continue;
        out.elements.push_back(item.element->clone());
        elements.push_back(out.elements.back().get());
    }
    if (reversed) std::reverse(elements.begin(), elements.end());
    cycle.SetElements(std::move(elements));
    cycle.TakeTool(*node.tool);
    TParamControls params = *node.params;
    TCycleDefinition definition;
    definition.Params = params.ReadDefinition();
    definition.Valid = params.Valid;
    definition.StartX = params.StartX;
    definition.StartZ = params.StartZ;
    cycle.SetDefinition(definition);
    cycle.NeedsGenerate = true;
    if (!cycle.CanGenerate()) return false;
    turned = false;
    cycle.OnProfileDirection = [&turned](TCanCycle&) { turned = true; };
    const bool ok = cycle.Generate();
    cycle.OnProfileDirection = nullptr;
    return ok;
}

} // namespace

DetachedCycle generate_detached(const ProjectModel& model, const CycleNode& node) {
    DetachedCycle out;
    if (!node.cycle || !node.tool || !node.params) return out;
    bool turned = false;
    out.generated = generate_once(model, node, out, false, turned);
    if (!out.generated && turned) out.generated = generate_once(model, node, out, true, turned);
    return out;
}

} // namespace zeran
