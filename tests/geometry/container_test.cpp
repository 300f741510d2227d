#include "geometry/block_entities.h"
#include "geometry/drawing_tree.h"
#include "geometry/dxf_object.h"
#include "geometry/polyline.h"
#include "geometry/selection_lists.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

namespace zeran {
namespace {

std::unique_ptr<Line_> line(double x, int colour = 7) {
    return std::make_unique<Line_>(Point3D{x, 0, 0}, colour, Point3D{x + 1, 0, 0});
}

// Counts destructions so ownership mistakes show up as wrong counts.
struct CountedPoint : Point_ {
    explicit CountedPoint(int* counter) : Point_(Z_AXIS, 7, ORIGIN), counter_(counter) {}
    ~CountedPoint() override { ++*counter_; }
    std::unique_ptr<DXF_Entity> clone() const override {
        return std::make_unique<CountedPoint>(counter_);
    }
    int* counter_;
};

TEST(Container, LayerFilesEntitiesByKindInOrderOfAppearance) {
    DXF_Layer layer("0", 3);
    layer.add_entity(line(0));
    layer.add_entity(std::make_unique<Arc_>(Z_AXIS, 7, 0, 90, 1, ORIGIN));
    layer.add_entity(line(5));
    EXPECT_EQ(layer.list_names(), (std::vector<std::string>{"Line_", "Arc_"}));
    ASSERT_EQ(layer.list_count(), 2);
    EXPECT_EQ(layer.entity_lists()[0]->count(), 2);
    EXPECT_EQ(layer.entity_lists()[0]->layer(), &layer);
    EXPECT_EQ(layer.find_list("Arc_"), layer.entity_lists()[1].get());
    EXPECT_EQ(layer.entity_count(), 3);

    // By layer (256) and by block (0) take the layer's colour; others keep theirs.
    DXF_Entity* by_layer = layer.add_entity(line(0, 256));
    DXF_Entity* by_block = layer.add_entity(line(0, 0));
    DXF_Entity* own = layer.add_entity(line(0, 5));
    EXPECT_EQ(by_layer->colour_index(), 3);
    EXPECT_EQ(by_layer->colour(), 0x00FF00u);
    EXPECT_EQ(by_block->colour_index(), 3);
    EXPECT_EQ(own->colour_index(), 5);

    Point3D max{-1e10, -1e10, -1e10}, min{1e10, 1e10, 1e10};
    layer.grow_extents(max, min);
    EXPECT_EQ(max.x, 6);
    EXPECT_EQ(min.x, 0);
}

TEST(Container, EntityListsOwnOrOnlyRefer) {
    int destroyed = 0;
    {
        Entity_List owning("Point_", nullptr);
        auto a = std::make_unique<CountedPoint>(&destroyed);
        const DXF_Entity* a_raw = a.get();
        owning.add(std::move(a));
        owning.add(std::make_unique<CountedPoint>(&destroyed));
        EXPECT_TRUE(owning.remove(a_raw));
        EXPECT_EQ(destroyed, 1);
        EXPECT_FALSE(owning.remove(a_raw));

        Entity_List referring("Point_", nullptr, Ownership::RefersOnly);
        EXPECT_TRUE(referring.add_reference(owning[0]));
        EXPECT_TRUE(referring.remove(owning[0]));
        EXPECT_EQ(destroyed, 1);
        referring.add_reference(owning[0]);
        // A referring list cannot take an entity over.
        EXPECT_FALSE(referring.add(std::make_unique<CountedPoint>(&destroyed)));
        EXPECT_EQ(destroyed, 2);
        auto released = owning.release(owning[0]);
        ASSERT_NE(released, nullptr);
        EXPECT_EQ(owning.count(), 0);
        EXPECT_TRUE(owning.insert(5, std::move(released)));
        EXPECT_EQ(owning.count(), 1);
    }
    // The owning list destroyed its last entity; the referring one did not.
    EXPECT_EQ(destroyed, 3);
}

std::unique_ptr<DXF_Layer> layer_with_lines(const std::string& name, int lines) {
    auto layer = std::make_unique<DXF_Layer>(name, 7);
    for (int i = 0; i < lines; ++i) layer->add_entity(line(i));
    return layer;
}

TEST(Container, RemoveEmptyListsDropsEmptyLayers) {
    LayerList layers;
    layers.push_back(layer_with_lines("A", 1));
    layers.push_back(layer_with_lines("B", 1));
    DXF_Object drawing("part.dxf", std::move(layers), {1, 0, 0}, {0, 0, 0});
    // Empty out B's only list and A's line list, keep an arc on A.
    DXF_Layer& a = *drawing.layers()[0];
    a.add_entity(std::make_unique<Arc_>(Z_AXIS, 7, 0, 90, 1, ORIGIN));
    a.entity_lists()[0]->clear();
    drawing.layers()[1]->entity_lists()[0]->clear();

    ScriptedPrompt prompt;
    drawing.remove_empty_lists(&prompt);
    ASSERT_EQ(drawing.layer_count(), 1);
    EXPECT_EQ(drawing.layers()[0]->name, "A");
    EXPECT_EQ(drawing.layers()[0]->list_names(), (std::vector<std::string>{"Arc_"}));
    EXPECT_TRUE(prompt.told.empty());

    drawing.layers()[0]->entity_lists()[0]->clear();
    drawing.remove_empty_lists();
    EXPECT_EQ(drawing.layer_count(), 0);
    EXPECT_EQ(drawing.max_extent(), (Point3D{1, 0, 0}));
}

TEST(Container, FillTreeCaptionsAndRenamesLayerZero) {
    LayerList layers;
    auto zero = layer_with_lines("0", 2);
    zero->add_entity(std::make_unique<Circle_>(Z_AXIS, 7, 1, ORIGIN));
    zero->add_entity(std::make_unique<Polyline_>(Z_AXIS, Closed::No, 7,
                                                 std::vector<Point3D>{ORIGIN, {1, 1, 0}}));
    zero->add_entity(std::make_unique<Arc_>(Z_AXIS, 7, 0, 90, 1, ORIGIN));
    zero->add_entity(std::make_unique<Text_>(Z_AXIS, 0, 7, 1, "t", ORIGIN, ORIGIN));
    layers.push_back(std::move(zero));
    layers.push_back(layer_with_lines("PART_OUTLINE_2", 1));
    DXF_Object drawing(DXF_Object::name_from_path("/home/u/drawings/shaft.dxf"), std::move(layers),
                       {}, {});

    DrawingTree tree;
    drawing.fill_tree(tree);
    EXPECT_EQ(tree.root.caption, "shaft.dxf");
    EXPECT_EQ(tree.root.state_index, 0);
    ASSERT_EQ(tree.root.children.size(), 2u);
    const DrawingNode& layer1 = tree.root.children[0];
    EXPECT_EQ(layer1.caption, "Layer 1");
    EXPECT_EQ(layer1.level, 1);
    EXPECT_EQ(layer1.layer, drawing.layers()[0].get());
    EXPECT_EQ(drawing.layers()[0]->name, "Layer 1");
    // Circles and texts are held but not shown.
    ASSERT_EQ(layer1.children.size(), 3u);
    EXPECT_EQ(layer1.children[0].caption, "Lines");
    EXPECT_EQ(layer1.children[1].caption, "Polylines");
    EXPECT_EQ(layer1.children[2].caption, "Arcs");
    ASSERT_EQ(layer1.children[0].children.size(), 2u);
    EXPECT_EQ(layer1.children[0].children[1].caption, "Line 2");
    EXPECT_EQ(layer1.children[0].children[1].level, 3);
    EXPECT_EQ(layer1.children[0].children[1].entity, (*drawing.layers()[0]->entity_lists()[0])[1]);
    EXPECT_EQ(layer1.children[1].children[0].caption, "Polyline 1");
    EXPECT_EQ(layer1.children[2].children[0].caption, "Arc 1");
    EXPECT_EQ(tree.root.children[1].caption, "PART OUTLINE_2");

    auto order = tree.nodes_in_order();
    ASSERT_EQ(order.size(), 1u + 1 + 3 + 2 + 1 + 1 + 1 + 1 + 1);
    EXPECT_EQ(order[2]->caption, "Lines");
    EXPECT_EQ(order[5]->caption, "Polylines");

    // Filling again starts afresh.
    drawing.fill_tree(tree);
    EXPECT_EQ(tree.root.children.size(), 2u);

    DXF_Object empty("e.dxf", {}, {}, {});
    empty.fill_tree(tree);
    EXPECT_TRUE(tree.root.children.empty());
}

TEST(Container, FindLayerAndNames) {
    LayerList layers;
    layers.push_back(layer_with_lines("0", 1));
    layers.push_back(layer_with_lines("0", 2));
    DXF_Object drawing("d", std::move(layers), {}, {});
    EXPECT_EQ(drawing.find_layer("0"), drawing.layers()[1].get());
    EXPECT_EQ(drawing.find_layer("X"), nullptr);
    EXPECT_EQ(DXF_Object::name_from_path("C:\\work\\part.DXF"), "part.DXF");
    EXPECT_EQ(DXF_Object::name_from_path(std::string(300, 'a')).size(), 255u);
}

TEST(Container, SelectionListsReferToDrawingEntities) {
    int destroyed = 0;
    DXF_Layer layer("0");
    DXF_Entity* p = layer.add_entity(std::make_unique<CountedPoint>(&destroyed));
    {
        selection_lists selection;
        Entity_List* refs = selection.add_list("Point_");
        refs->add_reference(p);
        Entity_List* copies = selection.add_list("Copies", Ownership::Owns);
        copies->add(p->clone());
        EXPECT_EQ(selection.count(), 2);
        EXPECT_EQ(selection.find("Copies"), copies);
        EXPECT_EQ(refs->layer(), nullptr);
    }
    // Only the copy went with the selection.
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(layer.entity_count(), 1);
}

} // namespace
} // namespace zeran
