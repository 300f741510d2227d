#include "geometry/dxf_object.h"

#include "base/prompt.h"
#include "geometry/drawing_tree.h"

#include <cctype>

namespace zeran {

DXF_Object::DXF_Object(std::string n, LayerList layers, const Point3D& max_extent,
                       const Point3D& min_extent)
    : name(std::move(n)), layers_(std::move(layers)), max_extent_(max_extent),
      min_extent_(min_extent) {}

std::string DXF_Object::name_from_path(std::string_view path) {
    if (path.size() > 255) path = path.substr(0, 255);
    const auto slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    return std::string(path);
}

void DXF_Object::set_extents(const Point3D& max_extent, const Point3D& min_extent) {
    max_extent_ = max_extent;
    min_extent_ = min_extent;
}

DXF_Layer* DXF_Object::find_layer(std::string_view layer_name) const {
    DXF_Layer* found = nullptr;
    for (const auto& layer : layers_)
        if (layer->name == layer_name) found = layer.get();
    return found;
}

DXF_Layer* DXF_Object::add_layer(std::unique_ptr<DXF_Layer> layer) {
    if (!layer) return nullptr;
    layers_.push_back(std::move(layer));
    return layers_.back().get();
}

void DXF_Object::remove_empty_lists(Prompt* prompt) {
    for (std::size_t l = layers_.size(); l-- > 0;) {
        DXF_Layer& layer = *layers_[l];
        for (std::size_t k = layer.entity_lists().size(); k-- > 0;) {
            if (!layer.entity_lists()[k]->empty()) continue;
            if (!layer.remove_list(k) && prompt)
                prompt->tell(MessageKind::Error, "Internal error : Layer lists and names mismatch");
        }
        if (layer.list_count() == 0)
            layers_.erase(layers_.begin() + static_cast<std::ptrdiff_t>(l));
    }
}

namespace {

std::string replace_first_underscore(std::string s, std::string_view with) {
    // Built by appending: GCC 12 at -O3 warns falsely on string::replace here.
    const auto pos = s.find('_');
    if (pos == std::string::npos) return s;
    std::string out = s.substr(0, pos);
    out += with;
    out += s.substr(pos + 1);
    return out;
}

bool shown_in_tree(const std::string& list_name) {
    return list_name == entity_list_name(EntityKind::Line) ||
           list_name == entity_list_name(EntityKind::Polyline) ||
           list_name == entity_list_name(EntityKind::Arc);
}

std::string entity_caption(const DXF_Entity& e, int number) {
    std::string s = e.dxf_type_name();
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    s += ' ';
    s += std::to_string(number);
    s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
}

} // namespace

void DXF_Object::fill_tree(DrawingTree& tree) {
    tree.clear();
    tree.filled = true;
    DrawingNode& root = tree.root;
    root.caption = name;
    root.level = 0;
    root.state_index = 0;
    root.kind = DrawingNodeKind::Drawing;
    for (const auto& layer : layers_) {
        if (layer->name == "0") layer->name = "Layer 1";
        DrawingNode layer_node;
        layer_node.caption = replace_first_underscore(layer->name, " ");
        layer_node.level = 1;
        layer_node.kind = DrawingNodeKind::Layer;
        layer_node.layer = layer.get();
        for (const auto& list : layer->entity_lists()) {
            if (!shown_in_tree(list->name())) continue;
            DrawingNode list_node;
            list_node.caption = replace_first_underscore(list->name(), "s");
            list_node.level = 2;
            list_node.kind = DrawingNodeKind::List;
            list_node.list = list.get();
            int number = 0;
            for (DXF_Entity* e : *list) {
                DrawingNode entity_node;
                entity_node.caption = entity_caption(*e, ++number);
                entity_node.level = 3;
                entity_node.kind = DrawingNodeKind::Entity;
                entity_node.entity = e;
                list_node.children.push_back(std::move(entity_node));
            }
            layer_node.children.push_back(std::move(list_node));
        }
        root.children.push_back(std::move(layer_node));
    }
}

} // namespace zeran
