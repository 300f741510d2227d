#include "project/project_model.h"

#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "geometry/dxf_object.h"
#include "geometry/entity.h"
#include "ncout/gnc_writer.h"
#include "project/display_rounding.h"

#include <ctime>
#include <utility>

namespace zeran {

double today_as_date_time() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // Days from 30 December 1899 to 1 January 1970.
    constexpr double kUnixEpochDay = 25569.0;
    const std::time_t local_seconds = now + local.tm_gmtoff;
    return kUnixEpochDay + static_cast<double>(local_seconds) / 86400.0;
}

ProjectModel::ProjectModel(Prompt& prompt) : prompt_(&prompt) {
    reset_cycle_list();
}

ProjectModel::~ProjectModel() = default;

ProjectModel::ProjectModel(ProjectModel&&) noexcept = default;
ProjectModel& ProjectModel::operator=(ProjectModel&&) noexcept = default;

void ProjectModel::swap_state(ProjectModel& o) {
    std::swap(*this, o);
    // The prompt and the settings belong to the object, not to the project.
    std::swap(prompt_, o.prompt_);
    std::swap(settings, o.settings);
}

void ProjectModel::copy_settings_from(const ProjectModel& other) {
    settings = other.settings;
    // A restored document brings its own material; these are its defaults.
    material_file = other.material_file;
    material_name = other.material_name;
    material = other.material;
    units = other.units;
}

void ProjectModel::reset_cycle_list() {
    cycles.clear();
    header = HeaderNode{};
    header.header = std::make_unique<THeader>();
    header.header->Author.clear();
    header.header->Date = today_as_date_time();
    header.header->Units = stored_units(units);
    footer = FooterNode{};
    footer.footer = std::make_unique<TFooter>();
}

void ProjectModel::free_drawing() {
    selection.reset();
    all_elements.reset();
    element_ids_.clear();
    tree.clear();
    drawing.reset();
    reader_messages.clear();
    skipped_entities.clear();
}

void ProjectModel::ClearProject(KeepTree keep) {
    cycles.clear();
    free_drawing();
    drawing_loaded = false;
    extents_max = {-1e10, -1e10, -1e10};
    extents_min = {1e10, 1e10, 1e10};
    if (keep == KeepTree::No) {
        reset_cycle_list();
        datum_set = false;
        datum_x = datum_y = 0;
        datum_edit_x = datum_edit_y = 0;
        billet_defined = false;
        billet_edit_l = billet_edit_r = 0;
        post_allowed = false;
        last_nc_file.clear();
        skip_next_prepare = false;
    }
}

bool ProjectModel::IsModified() {
    for (const auto& node : cycles) {
        modified_ = modified_ || node->cycle->NeedsGenerate;
        if (node->cycle->NeedsGenerate) break;
    }
    return modified_;
}

void ProjectModel::MarkCycleChanged(CycleNode* node) {
    if (!node || cycle_index(node) < 0) return;
    node->cycle->NeedsGenerate = true;
    set_child_states(*node);
    modified_ = true;
}

void ProjectModel::ClearChangeFlags() {
    for (auto& node : cycles) node->cycle->NeedsGenerate = false;
    modified_ = false;
}

double ProjectModel::DisplayValue(double x) const {
    return zeran::DisplayValue(units, x);
}

void ProjectModel::header_billet(double length, double radius) {
    header.header->BilletLength = length;
    header.header->BilletRadius = radius;
}

void ProjectModel::header_units(Units u) {
    header.header->Units = static_cast<std::uint8_t>(u);
}

} // namespace zeran
