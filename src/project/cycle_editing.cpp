// Adding, removing, ordering and preparing the cycles of the cycle list.
#include "base/prompt.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "geometry/entity.h"
#include "project/project_model.h"

#include <algorithm>
#include <cstdio>

namespace zeran {

std::string new_cycle_caption(CycleKind kind) {
    std::string caption = describe(kind).roughing ? "Roughing " : "";
    caption += cycle_short_name(kind);
    return caption;
}

int ProjectModel::cycle_index(const CycleNode* node) const {
    for (std::size_t i = 0; i < cycles.size(); ++i)
        if (cycles[i].get() == node) return static_cast<int>(i);
    return -1;
}

CycleNode& ProjectModel::AddCycle(CycleKind kind) {
    auto node = std::make_unique<CycleNode>();
    node->caption = new_cycle_caption(kind);
    node->cycle = std::make_unique<TCanCycle>();
    node->cycle->Kind = kind;
    node->cycle->CycleNode = node.get();
    node->state_index = kStateChecked;

    node->profile_node = {"Profile", kStateIncomplete};
    node->tool = std::make_unique<TToolControl>();
    node->tool_node = {"Tool", kStateIncomplete};
    if (!settings.tool_library.empty()) {
        node->tool->ToolWidth = settings.tool_library.front().width;
        node->tool->ToolLength = settings.tool_library.front().length;
        node->tool->NoseRadius = settings.tool_library.front().nose_radius;
        node->tool->NoseOrientation = settings.tool_library.front().nose_orientation;
    }
    SetToolCaption(*node);
    node->params = std::make_unique<TParamControls>(kind);
    // The new dialog starts in the material's units, so the material's values
    // are taken as they are rather than converted from millimetres.
    TCycleParams units_only;
    units_only.Units = material.Units;
    node->params->LoadRecord(units_only);
    node->params->LoadRecord(material);
    node->params_node = {"Parameters", kStateIncomplete};
    set_child_states(*node);

    cycles.push_back(std::move(node));
    return *cycles.back();
}

void ProjectModel::DeleteCycle(CycleNode& node) {
    const int i = cycle_index(&node);
    if (i < 0) return;
    cycles.erase(cycles.begin() + i);
    modified_ = true;
}

bool ProjectModel::CanMoveUp(const CycleNode& node) const {
    return cycle_index(&node) > 0;
}

bool ProjectModel::CanMoveDown(const CycleNode& node) const {
    const int i = cycle_index(&node);
    return i >= 0 && i + 1 < static_cast<int>(cycles.size());
}

void ProjectModel::DropBefore(CycleNode& node, CycleNode* before) {
    const int from = cycle_index(&node);
    if (from < 0 || before == &node) return;
    auto owned = std::move(cycles[static_cast<std::size_t>(from)]);
    cycles.erase(cycles.begin() + from);
    int to = before ? cycle_index(before) : static_cast<int>(cycles.size());
    if (to < 0) to = static_cast<int>(cycles.size());
    cycles.insert(cycles.begin() + to, std::move(owned));
    // The target is marked changed; a drop on the footer only sets modified.
    if (before) MarkCycleChanged(before);
    modified_ = true;
}

void ProjectModel::MoveUp(CycleNode& node) {
    const int i = cycle_index(&node);
    if (i <= 0) return;
    DropBefore(node, cycles[static_cast<std::size_t>(i - 1)].get());
}

void ProjectModel::MoveDown(CycleNode& node) {
    const int i = cycle_index(&node);
    if (i < 0 || i + 1 >= static_cast<int>(cycles.size())) return;
    CycleNode* after_next = i + 2 < static_cast<int>(cycles.size())
                                ? cycles[static_cast<std::size_t>(i + 2)].get()
                                : nullptr;
    DropBefore(node, after_next);
}

void ProjectModel::set_caption_from_comment(CycleNode& node) {
    node.caption = std::string(cycle_short_name(node.kind()));
    if (!node.cycle->Comment.empty()) node.caption += " (" + node.cycle->Comment + ")";
}

void ProjectModel::SetComment(CycleNode& node, const std::string& comment) {
    // The edit holds at most 80 characters.
    node.cycle->Comment = comment.substr(0, 80);
    set_caption_from_comment(node);
}

void ProjectModel::SetToolCaption(CycleNode& node) {
    const int number = node.tool->ToolNumber;
    if (!settings.tool_library.empty() && number >= 1 &&
        number <= static_cast<int>(settings.tool_library.size())) {
        node.tool_node.caption =
            "Tool (" + settings.tool_library[static_cast<std::size_t>(number - 1)].text + ")";
    } else {
        node.tool_node.caption = "Tool (#" + std::to_string(number) + ")";
    }
}

void ProjectModel::SetToolNumber(CycleNode& node, int number) {
    // The spin edit runs from 1 to 32.
    node.tool->ToolNumber = std::clamp(number, 1, 32);
    SetToolCaption(node);
    MarkCycleChanged(&node);
}

void ProjectModel::SetToolFromLibrary(CycleNode& node, int entry) {
    if (entry < 0 || entry >= static_cast<int>(settings.tool_library.size())) return;
    node.tool->ToolNumber = entry + 1;
    node.tool->ToolWidth = settings.tool_library[static_cast<std::size_t>(entry)].width;
    node.tool->ToolLength = settings.tool_library[static_cast<std::size_t>(entry)].length;
    node.tool->NoseRadius = settings.tool_library[static_cast<std::size_t>(entry)].nose_radius;
    node.tool->NoseOrientation =
        settings.tool_library[static_cast<std::size_t>(entry)].nose_orientation;
    SetToolCaption(node);
    MarkCycleChanged(&node);
}

void ProjectModel::SetToolSize(CycleNode& node, double width, double length) {
    node.tool->ToolWidth = std::max(0.0, width);
    node.tool->ToolLength = std::max(0.0, length);
    MarkCycleChanged(&node);
}

void ProjectModel::set_child_states(CycleNode& node) {
    node.profile_node.state_index = node.points.empty() ? kStateIncomplete : kStateComplete;
    node.tool_node.state_index = node.tool->ToolWidth > 0 ? kStateComplete : kStateIncomplete;
    node.params_node.state_index = kStateIncomplete + (node.params->Valid ? 1 : 0);
}

void ProjectModel::on_profile_direction(TCanCycle& cycle) {
    auto* node = static_cast<CycleNode*>(cycle.CycleNode);
    if (node && cycle_index(node) >= 0) ReverseProfile(*node);
}

TCanCycle& ProjectModel::PrepareCycle(CycleNode& node, bool force) {
    TCanCycle& cycle = *node.cycle;
    if (skip_next_prepare) {
        skip_next_prepare = false;
        return cycle;
    }
    cycle.NeedsGenerate = cycle.NeedsGenerate || force;
    if (!cycle.NeedsGenerate) return cycle;

    cycle.Datum = {datum_edit_x, datum_edit_y};
    node.generation_elements.clear();
    std::vector<DXF_Entity*> elements;
    for (const ProfileItem& item : node.points.items) {
        if (!item.element) continue;
        node.generation_elements.push_back(item.element->clone());
        elements.push_back(node.generation_elements.back().get());
    }
    cycle.SetElements(std::move(elements));
    cycle.TakeTool(*node.tool);
    TCycleDefinition definition;
    definition.Params = node.params->ReadDefinition();
    definition.Valid = node.params->Valid;
    definition.StartX = node.params->StartX;
    definition.StartZ = node.params->StartZ;
    cycle.SetDefinition(definition);

    bool generated = false;
    if (cycle.CanGenerate()) {
        cycle.OnProfileDirection = [this](TCanCycle& c) { on_profile_direction(c); };
        generated = cycle.Generate();
        cycle.OnProfileDirection = nullptr;
        if (!generated && cycle.ProfileChecked) {
            post_allowed = false;
            return cycle;
        }
    } else {
        cycle.FailReason.clear();
    }
    node.params->ProfileChecked = cycle.ProfileChecked;
    node.params_node.state_index =
        kStateIncomplete + ((node.params->Valid && cycle.ProfileChecked) ? 1 : 0);
    post_allowed = generated;
    return cycle;
}

void ProjectModel::SetStartPoint(CycleNode& node, double x, double z) {
    node.params->StartX = x;
    node.params->StartZ = z;
    MarkCycleChanged(&node);
}

void ProjectModel::SetParameters(CycleNode& node, const TParamControls& values) {
    *node.params = values;
    // Validity and the changed flag follow the new values before the tree shows them.
    node.params->ReadDefinition();
    MarkCycleChanged(&node);
}

void ProjectModel::ApplyUseBillet(CycleNode& node, bool use_billet) {
    node.params->UseBillet = use_billet;
    if (!use_billet) return;
    const bool changed = set_billet_start(node, Sides::Known);
    node.cycle->NeedsGenerate = changed;
    modified_ = modified_ || changed;
    if (modified_) MarkCycleChanged(&node);
}

bool ProjectModel::set_billet_start(CycleNode& node, Sides sides) {
    const TCanCycle& cycle = *node.cycle;
    // A billet or datum change keeps a generated cycle on its side of the
    // part: a bore starts on the axis, a cycle cut from the chuck end behind
    // the billet. One that has no side yet starts at the outside front corner.
    const bool outside = sides == Sides::Unknown || cycle.XSide;
    const bool front = sides == Sides::Unknown || cycle.ZSide;
    const double x = outside ? billet_edit_r : 0.0;
    const double z = front ? 0.0 : -billet_edit_l;
    const bool changed = x != node.params->StartX || z != node.params->StartZ;
    node.params->StartX = x;
    node.params->StartZ = z;
    return changed;
}

void ProjectModel::SetBillet(double length, double radius) {
    billet_edit_l = length;
    billet_edit_r = radius;
    header_billet(length, radius);
    billet_defined = length != 0 && radius != 0;
    // Setting the datum again regenerates every cycle and moves the start
    // points of every cycle that uses the billet.
    SetDatumFromEdits(datum_edit_x, datum_edit_y);
    modified_ = true;
}

void ProjectModel::SetUnits(Units new_units, UnitsQuestion ask) {
    const Units old_units = units;
    units = new_units;
    if (ask == UnitsQuestion::Ask && old_units != new_units && !cycles.empty()) {
        const Answer a = prompt_->ask_titled(
            "Convert Parameters", MessageKind::Confirmation,
            "Convert existing cycle parameters values to new measurement units?",
            {Answer::Yes, Answer::No});
        if (a == Answer::Yes) {
            const auto u = stored_units(new_units);
            for (auto& node : cycles) {
                // Loading a record of other units converts the dialog's lengths into them.
                TCycleParams record = node->params->ReadRecord();
                record.Units = u;
                node->params->LoadRecord(record);
                // Tool sizes follow too, so that no stale size in the old unit survives.
                const double f =
                    new_units == Units::Inch ? 1.0 / kMillimetresPerInch : kMillimetresPerInch;
                node->tool->ToolWidth = DisplayValue(node->tool->ToolWidth * f);
                node->tool->ToolLength = DisplayValue(node->tool->ToolLength * f);
                node->tool->NoseRadius = DisplayValue(node->tool->NoseRadius * f);
                MarkCycleChanged(node.get());
            }
        }
    }
}

bool ProjectModel::SelectMaterial() {
    if (!settings.choose_material) return false;
    std::string file = material_file;
    std::string name = material_name;
    TCycleParams record = material;
    if (!settings.choose_material(file, name, record)) return false;
    material_file = file;
    material_name = name;
    material = record;
    if (!cycles.empty()) {
        const Answer a =
            prompt_->ask_titled("Update Parameters", MessageKind::Confirmation,
                                "Update existing cycle parameters with new material parameters?",
                                {Answer::Yes, Answer::No});
        if (a == Answer::Yes) UpdateCyclesFromMaterial();
    }
    modified_ = true;
    return true;
}

void ProjectModel::UpdateCyclesFromMaterial() {
    for (auto& node : cycles) {
        TCycleParams record = node->params->ReadRecord();
        record.Units = material.Units;
        node->params->LoadRecord(record);
        node->params->LoadRecord(material);
        MarkCycleChanged(node.get());
    }
    header_units(units_of(material.Units));
    SetUnits(material.Units == 1 ? Units::Inch : Units::Metric, UnitsQuestion::DontAsk);
}

} // namespace zeran
