#pragma once
// DXF_Object: a whole drawing, its file name, layers and extents.
#include "geometry/dxf_layer.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zeran {

class Prompt;
struct DrawingTree;

using LayerList = std::vector<std::unique_ptr<DXF_Layer>>;

class DXF_Object {
public:
    DXF_Object() = default;
    // The reader hands over what it read: the drawing takes the layers over.
    DXF_Object(std::string name, LayerList layers, const Point3D& max_extent,
               const Point3D& min_extent);
    DXF_Object(const DXF_Object&) = delete;
    DXF_Object& operator=(const DXF_Object&) = delete;

    // The file name without its directory, cut to 255 characters.
    static std::string name_from_path(std::string_view path);

    void set_layers(LayerList layers) { layers_ = std::move(layers); }
    void set_extents(const Point3D& max_extent, const Point3D& min_extent);

    int layer_count() const { return static_cast<int>(layers_.size()); }
    LayerList& layers() { return layers_; }
    const LayerList& layers() const { return layers_; }
    // The last layer of that name (as the writer looks up "0"), or none.
    DXF_Layer* find_layer(std::string_view layer_name) const;
    // Appends a layer and returns it.
    DXF_Layer* add_layer(std::unique_ptr<DXF_Layer> layer);

    // Drops entity lists without entities, then layers without lists. A
    // mismatch of list names and lists is told through `prompt` when there
    // is one, and the work goes on.
    void remove_empty_lists(Prompt* prompt = nullptr);

    // Rebuilds `tree` as the main window shows it; renames layer "0" to
    // "Layer 1" on the way.
    void fill_tree(DrawingTree& tree);

    Point3D max_extent() const { return max_extent_; }
    Point3D min_extent() const { return min_extent_; }

    std::string name;

private:
    LayerList layers_;
    Point3D max_extent_;
    Point3D min_extent_;
};

} // namespace zeran
