#include "geometry/block_entities.h"
#include "geometry/entity_list.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/text_entities.h"
#include "support/test_doubles.h"
#include "test_mapper.h"

#include <gtest/gtest.h>

namespace zeran {
namespace {

using Pts = std::vector<DevicePoint>;

TEST(EntityDrawing, CrossMarksAndPenColour) {
    RecordingCanvas canvas;
    TestMapper map;
    Point_ p(Z_AXIS, 1, {10, 20, 0});
    p.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 2u);
    EXPECT_EQ(canvas.calls[0].points, (Pts{{8, -22}, {13, -17}}));
    EXPECT_EQ(canvas.calls[1].points, (Pts{{8, -18}, {13, -23}}));
    EXPECT_EQ(canvas.calls[0].colour, 0x0000FFu);

    // Same colour again: the pen is left alone.
    const int changes = canvas.colour_changes;
    Line_ line({0, 0, 0}, 1, {5, 5, 0});
    line.draw(canvas, nullptr, map);
    EXPECT_EQ(canvas.colour_changes, changes);
    EXPECT_EQ(canvas.calls.back().points, (Pts{{0, 0}, {5, -5}}));

    canvas.calls.clear();
    line.draw_vertices(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls.size(), 4u);
    canvas.calls.clear();
    Polyline_ poly(Z_AXIS, Closed::No, 5, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    poly.draw_vertices(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls.size(), 6u);
    EXPECT_EQ(canvas.pen_colour(), 0xFF0000u);
}

TEST(EntityDrawing, CircleAndArcBoxes) {
    RecordingCanvas canvas;
    TestMapper map;
    Circle_ circle(Z_AXIS, 7, 10, {50, 50, 0});
    circle.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].op, "ellipse");
    EXPECT_EQ(canvas.calls[0].points, (Pts{{40, -60}, {60, -40}}));
    EXPECT_EQ(canvas.brush_style(), BrushStyle::Clear);

    canvas.calls.clear();
    Arc_ arc(Z_AXIS, 7, 0, 90, 10, ORIGIN);
    arc.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].op, "arc");
    EXPECT_EQ(canvas.calls[0].points, (Pts{{-10, -10}, {10, 10}, {10, 0}, {0, -10}}));

    // At a zoom where the box is no more than a pixel: one pixel.
    canvas.calls.clear();
    TestMapper tiny{0.01};
    circle.draw(canvas, nullptr, tiny);
    arc.draw(canvas, nullptr, tiny);
    ASSERT_EQ(canvas.calls.size(), 2u);
    EXPECT_EQ(canvas.calls[0].op, "pixel");
    EXPECT_EQ(canvas.calls[1].op, "pixel");
}

TEST(EntityDrawing, PolylinesAndTheVertexCap) {
    RecordingCanvas canvas;
    TestMapper map;
    Polyline_ open(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}});
    Polyline_ closed(Z_AXIS, Closed::Yes, 7, {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}});
    open.draw(canvas, nullptr, map);
    closed.draw(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls[0].op, "polyline");
    EXPECT_EQ(canvas.calls[1].op, "polygon");
    EXPECT_EQ(canvas.calls[1].points, (Pts{{0, 0}, {10, 0}, {10, -5}}));

    std::vector<Point3D> many;
    for (int i = 0; i < 9000; ++i) many.push_back({double(i), 0, 0});
    Polyline_ big(Z_AXIS, Closed::No, 7, many);
    canvas.calls.clear();
    big.draw(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls[0].points.size(), 8192u);
}

TEST(EntityDrawing, Meshes) {
    RecordingCanvas canvas;
    TestMapper map;
    // 2 rows of 3, closed in N: two row outlines, then three columns.
    Polygon_mesh_ mesh(7, 32, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}}, 3,
                       2);
    mesh.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 5u);
    EXPECT_EQ(canvas.calls[0].op, "polygon");
    EXPECT_EQ(canvas.calls[1].points, (Pts{{0, -1}, {1, -1}, {2, -1}}));
    EXPECT_EQ(canvas.calls[2].points, (Pts{{0, 0}, {0, -1}}));

    // Closed in M: each column returns to its first point.
    canvas.calls.clear();
    Polygon_mesh_ ring(7, 1, {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}, 1, 3);
    ring.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 4u);
    EXPECT_EQ(canvas.calls[3].points, (Pts{{0, 0}, {0, -1}, {0, -2}, {0, 0}}));

    // Claims more rows than it holds: only the whole rows are drawn.
    canvas.calls.clear();
    Polygon_mesh_ short_mesh(7, 0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 2, 0}}, 2, 5);
    short_mesh.draw(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls.size(), 2u + 2u);

    canvas.calls.clear();
    Polyface_mesh_ faces(7, {{0, 1, 2, -1}, {0, 1, 2, 3}, {0, 7, 1, 2}},
                         {{0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {4, 4, 0}});
    faces.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 3u);
    EXPECT_EQ(canvas.calls[0].op, "polygon");
    EXPECT_EQ(canvas.calls[0].points, (Pts{{0, 0}, {4, 0}, {0, -4}}));
    EXPECT_EQ(canvas.calls[1].points.size(), 4u);
    EXPECT_EQ(canvas.calls[2].points.size(), 1u); // ends at the index beyond the vertices
}

TEST(EntityDrawing, TextHeightAlignmentAndVisibility) {
    RecordingCanvas canvas;
    TestMapper map;
    Text_ at_insertion(Z_AXIS, 1, 3, 10, "hello", ORIGIN, {20, 30, 0});
    at_insertion.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].text, "hello");
    EXPECT_EQ(canvas.calls[0].points[0], (DevicePoint{20, -30}));
    EXPECT_EQ(canvas.font_height, 12);
    EXPECT_EQ(canvas.font_colour, 0x00FF00u);
    EXPECT_EQ(canvas.align, TextAlign::Centre);

    canvas.calls.clear();
    Text_ aligned(Z_AXIS, 7, 3, 10, "x", {5, 5, 0}, {20, 30, 0});
    aligned.draw(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls[0].points[0], (DevicePoint{5, -5}));
    EXPECT_EQ(canvas.align, TextAlign::Centre); // unknown justification: left as it was

    // Zoomed out so far that the height maps to nothing: not drawn.
    canvas.calls.clear();
    at_insertion.draw(canvas, nullptr, TestMapper{0.01});
    EXPECT_TRUE(canvas.calls.empty());

    Attrib_ hidden(Z_AXIS, 7, 10, 0, 1, "v", "T", ORIGIN, ORIGIN);
    Attrib_ shown(Z_AXIS, 7, 10, 2, 0, "v", "T", ORIGIN, ORIGIN);
    Attdef_ definition(Z_AXIS, 7, 10, 0, 0, "prompt", "v", "T", ORIGIN, ORIGIN);
    hidden.draw(canvas, nullptr, map);
    definition.draw(canvas, nullptr, map);
    EXPECT_TRUE(canvas.calls.empty());
    shown.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.align, TextAlign::Right);
}

std::unique_ptr<Block_> block_a() {
    auto block = std::make_unique<Block_>("A", Point3D{10, 0, 0});
    block->add(std::make_unique<Line_>(Point3D{10, 0, 0}, 7, Point3D{20, 0, 0}));
    return block;
}

TEST(EntityDrawing, InsertionsPlaceTheirBlock) {
    Entity_List blocks("Block_", nullptr);
    blocks.add(block_a());
    RecordingCanvas canvas;
    TestMapper map;

    Insert_ turned(Z_AXIS, "A", {}, 7, 90, {1, 1, 1}, {100, 50, 0});
    turned.resolve_blocks(&blocks);
    turned.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].points, (Pts{{100, -50}, {100, -60}}));

    // Scaling follows rotation: x stretch of the rotated (vertical) line does nothing,
    // y stretch lengthens it.
    canvas.calls.clear();
    Insert_ stretched_x(Z_AXIS, "A", {}, 7, 90, {2, 1, 1}, {100, 50, 0});
    Insert_ stretched_y(Z_AXIS, "A", {}, 7, 90, {1, 2, 1}, {100, 50, 0});
    stretched_x.resolve_blocks(&blocks);
    stretched_y.resolve_blocks(&blocks);
    stretched_x.draw(canvas, nullptr, map);
    stretched_y.draw(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls[0].points, (Pts{{100, -50}, {100, -60}}));
    EXPECT_EQ(canvas.calls[1].points, (Pts{{100, -50}, {100, -70}}));

    // Nested: an insertion of A inside block B, B placed at (0, 100).
    auto b = std::make_unique<Block_>("B", ORIGIN);
    b->add(std::make_unique<Insert_>(Z_AXIS, "A", std::vector<std::unique_ptr<Attrib_>>{}, 7, 0,
                                     Point3D{1, 1, 1}, Point3D{5, 0, 0}));
    b->resolve_blocks(&blocks);
    blocks.add(std::move(b));
    Insert_ outer(Z_AXIS, "B", {}, 7, 0, {1, 1, 1}, {0, 100, 0});
    outer.resolve_blocks(&blocks);
    canvas.calls.clear();
    outer.draw(canvas, nullptr, map);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].points, (Pts{{5, -100}, {15, -100}}));

    // Vertices of a block are marked with the parent matrix unchanged.
    canvas.calls.clear();
    static_cast<const Block_*>(blocks[0])->draw_vertices(canvas, nullptr, map);
    EXPECT_EQ(canvas.calls[0].points[0], (DevicePoint{8, -2}));
}

TEST(EntityDrawing, SelfInsertingBlockStops) {
    Entity_List blocks("Block_", nullptr);
    auto loop = std::make_unique<Block_>("L", ORIGIN);
    loop->add(std::make_unique<Line_>(ORIGIN, 7, Point3D{1, 0, 0}));
    loop->add(std::make_unique<Insert_>(Z_AXIS, "L", std::vector<std::unique_ptr<Attrib_>>{}, 7, 0,
                                        Point3D{1, 1, 1}, Point3D{1, 0, 0}));
    Block_* raw = loop.get();
    blocks.add(std::move(loop));
    raw->resolve_blocks(&blocks);
    Insert_ top(Z_AXIS, "L", {}, 7, 0, {1, 1, 1}, ORIGIN);
    top.resolve_blocks(&blocks);
    RecordingCanvas canvas;
    top.draw(canvas, nullptr, TestMapper{});
    EXPECT_GT(canvas.calls.size(), 10u);
    EXPECT_LT(canvas.calls.size(), 100u);
    EXPECT_FALSE(top.describe().empty());
}

} // namespace
} // namespace zeran
