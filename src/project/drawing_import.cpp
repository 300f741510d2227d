// Reading a drawing into the project: cleaning, unit conversion, the drawing
// tree and the element lists made from it.
#include "base/progress.h"
#include "base/prompt.h"
#include "cycles/entity_clip.h"
#include "dxf/dxf_object_reader.h"
#include "geometry/block_entities.h"
#include "geometry/dxf_object.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "ncout/machine_data.h"
#include "project/element_lists.h"
#include "project/insert_explosion.h"
#include "project/project_model.h"

#include <algorithm>

namespace zeran {

namespace {

// A circle as the two half arcs the profile tools can pick.
std::pair<std::unique_ptr<DXF_Entity>, std::unique_ptr<DXF_Entity>> arc_pair(const Circle_& c) {
    auto a =
        std::make_unique<Arc_>(c.extrusion(), c.colour_index(), -90.0, 90.0, c.radius, c.point);
    auto b =
        std::make_unique<Arc_>(c.extrusion(), c.colour_index(), 90.0, -90.0, c.radius, c.point);
    return {std::move(a), std::move(b)};
}

Point3D scaled(Point3D p, double f) {
    return {p.x * f, p.y * f, 0.0};
}

} // namespace

void ProjectModel::clean_layers() {
    // Insertions remember their block, so block definitions are freed only
    // once every insertion of every layer has been exploded.
    std::vector<std::pair<Entity_List*, DXF_Entity*>> definitions;
    for (auto& layer_ptr : drawing->layers()) {
        DXF_Layer& layer = *layer_ptr;
        std::vector<Entity_List*> insert_groups;
        // Lists are added to while blocks explode, so walk by index over the lists there now.
        const std::size_t list_count = layer.entity_lists().size();
        for (std::size_t g = 0; g < list_count; ++g) {
            Entity_List& group = *layer.entity_lists()[g];
            if (group.name() == entity_list_name(EntityKind::Insert)) {
                insert_groups.push_back(&group);
                continue;
            }
            std::vector<DXF_Entity*> blocks;
            std::vector<DXF_Entity*> texts;
            std::vector<DXF_Entity*> circles;
            for (DXF_Entity* e : group) {
                if (e->kind() == EntityKind::Block)
                    blocks.push_back(e);
                else if (is_text_kind(e->kind()))
                    texts.push_back(e);
                else if (e->kind() == EntityKind::Circle)
                    circles.push_back(e);
            }
            for (DXF_Entity* c : circles) {
                const int at = group.index_of(c);
                auto [a, b] = arc_pair(static_cast<const Circle_&>(*c));
                group.remove(c);
                // The arcs take the circle's slot and the layer's rules for colour.
                if (a->colour_index() == 0 || a->colour_index() == 256)
                    a->set_colour_index(layer.colour);
                if (b->colour_index() == 0 || b->colour_index() == 256)
                    b->set_colour_index(layer.colour);
                group.insert(static_cast<std::size_t>(at), std::move(b));
                group.insert(static_cast<std::size_t>(at), std::move(a));
            }
            // Arcs and polylines drawn in a coordinate system of their own (a
            // mirrored extrusion, say) are brought into drawing coordinates in
            // their slot: profiles and tool paths read the stored coordinates.
            std::vector<DXF_Entity*> in_own_system;
            for (DXF_Entity* e : group)
                if (e->ocs() && (e->kind() == EntityKind::Arc || e->kind() == EntityKind::Polyline))
                    in_own_system.push_back(e);
            for (DXF_Entity* e : in_own_system) {
                auto copies = placed_copies(*e, &IDENTITY);
                if (copies.size() != 1) continue;
                const int at = group.index_of(e);
                group.remove(e);
                group.insert(static_cast<std::size_t>(at), std::move(copies.front()));
            }
            // A block definition in a layer is not placed anywhere: its
            // elements stay where the block holds them.
            for (DXF_Entity* b : blocks) {
                explode_block(layer, static_cast<const Block_&>(*b), nullptr, reader_messages);
                definitions.emplace_back(&group, b);
            }
            for (DXF_Entity* t : texts) group.remove(t);
        }
        for (Entity_List* group : insert_groups) {
            std::vector<DXF_Entity*> inserts(group->begin(), group->end());
            for (DXF_Entity* e : inserts) {
                if (const auto* insert = dynamic_cast<const Insert_*>(e)) {
                    try {
                        const Block_& block = insert->block();
                        const Matrix4 placed = insertion_placement(*insert, block, nullptr);
                        explode_block(layer, block, &placed, reader_messages);
                    } catch (const std::exception& ex) {
                        reader_messages.push_back(ex.what());
                    }
                }
                group->remove(e);
            }
        }
    }
    for (auto [group, block] : definitions) group->remove(block);
}

bool ProjectModel::LoadDrawing(const std::string& file_name, CurveReading curves) {
    ClearProject();
    NullProgress progress;
    std::vector<std::string> skipped;
    DxfReadReport report;
    drawing = read_dxf_object(file_name, curves, &skipped, *prompt_, progress, report);
    reader_messages = std::move(skipped);
    skipped_entities = std::move(report.skipped_entities);
    drawing_curves = curves;
    if (!drawing || drawing->layer_count() == 0) {
        drawing.reset();
        return false;
    }
    extents_max = drawing->max_extent();
    extents_min = drawing->min_extent();
    drawing_loaded = true;
    clean_layers();
    BuildDrawingTree(true);
    return drawing != nullptr;
}

bool ProjectModel::ImportDxf(const std::string& file_name) {
    if (!LoadDrawing(file_name, settings.import_curves)) return false;
    tdx_file_name = replace_extension(file_name, "TDX");
    if (!file_exists(tdx_file_name)) tdx_file_name = replace_extension(file_name, "DXF");

    const bool small =
        !(extents_max.x - extents_min.x >= 10 && extents_max.y - extents_min.y >= 10);
    if (material_name.empty()) material_name = small ? "Inch" : "Metric";
    if (settings.choose_material) {
        std::string file = material_file;
        std::string name = material_name;
        TCycleParams record = material;
        if (settings.choose_material(file, name, record)) {
            material_file = file;
            material_name = name;
            material = record;
        }
    }
    header_units(material.Units == 1 ? Units::Inch : Units::Metric);
    SetUnits(material.Units == 1 ? Units::Inch : Units::Metric, UnitsQuestion::DontAsk);
    if (small && units == Units::Metric)
        ConvertDrawingUnits(Units::Metric);
    else if (!small && units == Units::Inch)
        ConvertDrawingUnits(Units::Inch);
    return true;
}

void ProjectModel::ConvertDrawingUnits(Units to) {
    if (!drawing) return;
    const std::string text = std::string("Convert imported elements to ") +
                             (to == Units::Metric ? "Metric" : "Inch") + " units";
    if (prompt_->ask(MessageKind::Confirmation, text, {Answer::Yes, Answer::No}) != Answer::Yes)
        return;
    const double f = to == Units::Metric ? kMillimetresPerInch : 1.0 / kMillimetresPerInch;
    for (auto& layer : drawing->layers()) {
        for (const auto& list : layer->entity_lists()) {
            for (DXF_Entity* e : *list) {
                if (auto* line = dynamic_cast<Line_*>(e)) {
                    line->point = scaled(line->point, f);
                    line->end = scaled(line->end, f);
                } else if (auto* circle = dynamic_cast<Circle_*>(e)) {
                    circle->point = scaled(circle->point, f);
                    circle->radius *= f;
                } else if (auto* poly = dynamic_cast<Polyline_*>(e);
                           poly && e->kind() == EntityKind::Polyline) {
                    for (Point3D& v : poly->vertices) v = scaled(v, f);
                } else if (auto* point = dynamic_cast<Point_*>(e);
                           point && e->kind() == EntityKind::Point) {
                    point->point = scaled(point->point, f);
                }
            }
        }
    }
    // New extents from the converted elements.
    Point3D max{-1e10, -1e10, -1e10};
    Point3D min{1e10, 1e10, 1e10};
    for (const auto& layer : drawing->layers()) layer->grow_extents(max, min);
    drawing->set_extents(max, min);
    extents_max = max;
    extents_min = min;
    BuildDrawingTree(true);
    SetDatumFromPoint({min.x, min.y, 0.0});
}

void ProjectModel::AdoptDrawing(ProjectModel& from) {
    drawing = std::move(from.drawing);
    drawing_curves = from.drawing_curves;
    drawing_loaded = from.drawing_loaded;
    extents_max = from.extents_max;
    extents_min = from.extents_min;
    tdx_file_name = from.tdx_file_name;
    reader_messages = from.reader_messages;
    skipped_entities = from.skipped_entities;
    BuildDrawingTree(true);
}

void ProjectModel::BuildDrawingTree(bool reset_states) {
    tree.clear();
    if (drawing) {
        drawing->remove_empty_lists(prompt_);
        if (drawing->layer_count() > 0)
            drawing->fill_tree(tree);
        else
            drawing.reset();
    }
    std::vector<DrawingNode*> nodes = tree_nodes(tree);
    if (reset_states) {
        for (DrawingNode* node : nodes) {
            node->state_index = node->level == 0 ? 0 : kStateChecked;
            node->user_unchecked = false;
        }
    }
    all_elements = std::make_unique<selection_lists>();
    element_ids_.clear();
    for (DrawingNode* node : nodes) {
        if (node->level != 2 || !node->list) continue;
        const int group = all_elements->count();
        Entity_List* list = all_elements->add_list(node->list->name(), Ownership::RefersOnly);
        for (DXF_Entity* e : *node->list) {
            element_ids_.try_emplace(e, ElementId{group, list->count()});
            list->add_reference(e);
        }
    }
    BuildSelectionLists();
}

ElementId ProjectModel::IdOf(const DXF_Entity* element) const {
    if (!element) return {};
    const auto it = element_ids_.find(element->source ? element->source : element);
    return it == element_ids_.end() ? ElementId{} : it->second;
}

DXF_Entity* ProjectModel::CopyOf(ElementId id) const {
    return copy_of(selection.get(), element_at(all_elements.get(), id.group, id.position));
}

void ProjectModel::update_profiles_with_copy(DXF_Entity* copy, ElementId id, bool unchecked) {
    if (!id.valid()) return;
    for (auto& node : cycles) {
        PointsList& list = node->points;
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            if (!(list.items[i].id == id)) continue;
            if (unchecked || !copy) {
                list.items.erase(list.items.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                list.items[i].element = copy;
                list.items[i].text = DescribeElement(*copy);
            }
            MarkCycleChanged(node.get());
            break;
        }
    }
}

void ProjectModel::BuildSelectionLists() {
    auto fresh = std::make_unique<selection_lists>();
    std::vector<DrawingNode*> nodes = tree_nodes(tree);
    for (std::size_t g = 0; g < nodes.size(); ++g) {
        DrawingNode& group_node = *nodes[g];
        if (group_node.level != 2 || !group_node.list) continue;
        Entity_List* list = nullptr;
        if (group_node.state_index == kStateChecked)
            list = fresh->add_list(group_node.list->name(), Ownership::Owns);
        for (std::size_t e = g + 1; e < nodes.size() && nodes[e]->level > 2; ++e) {
            DrawingNode& node = *nodes[e];
            if (!node.entity) continue;
            ClipResult clip = ClipAtAxis(*node.entity, datum_edit_y);
            if (datum_set && clip.status == ClipStatus::NothingLeft)
                node.state_index = kStateUnchecked;
            if (!node.user_unchecked && datum_set && clip.status != ClipStatus::NothingLeft)
                node.state_index = kStateChecked;
            const bool unchecked = node.state_index != kStateChecked;
            DXF_Entity* copy = clip.copy.get();
            if (list && !unchecked && copy) {
                list->add(std::move(clip.copy));
                update_profiles_with_copy(copy, IdOf(node.entity), false);
            } else {
                update_profiles_with_copy(nullptr, IdOf(node.entity), true);
            }
        }
    }
    // Profiles now refer to the new copies; the old ones can go.
    selection = std::move(fresh);
}

void ProjectModel::ToggleTreeNode(int index) {
    std::vector<DrawingNode*> nodes = tree_nodes(tree);
    if (index <= 0 || index >= static_cast<int>(nodes.size())) return;
    DrawingNode& node = *nodes[static_cast<std::size_t>(index)];
    const int state = node.state_index == kStateChecked ? kStateUnchecked : kStateChecked;
    const int end = subtree_end(nodes, index);
    for (int i = index; i < end; ++i) {
        nodes[static_cast<std::size_t>(i)]->state_index = state;
        nodes[static_cast<std::size_t>(i)]->user_unchecked = state == kStateUnchecked;
    }
    modified_ = true;
    BuildSelectionLists();
}

void ProjectModel::ResetLayerTree(int index) {
    std::vector<DrawingNode*> nodes = tree_nodes(tree);
    if (index <= 0 || index >= static_cast<int>(nodes.size())) return;
    if (nodes[static_cast<std::size_t>(index)]->level != 1 ||
        nodes[static_cast<std::size_t>(index)]->state_index != kStateChecked)
        return;
    BuildDrawingTree(true);
}

void ProjectModel::ToggleElement(const DXF_Entity* element) {
    std::vector<DrawingNode*> nodes = tree_nodes(tree);
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        if (nodes[i]->entity != element) continue;
        DrawingNode& node = *nodes[i];
        node.state_index = node.state_index == kStateChecked ? kStateUnchecked : kStateChecked;
        node.user_unchecked = node.state_index == kStateUnchecked;
        modified_ = true;
        BuildSelectionLists();
        return;
    }
}

} // namespace zeran
