#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/text_entities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <string_view>

namespace zeran {
namespace {

void expect_near(const Point3D& a, const Point3D& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TEST(Entities, ClassNamesAndDxfTypeNames) {
    Line_ line(ORIGIN, 7, {1, 0, 0});
    Arc_ arc(Z_AXIS, 7, 0, 90, 1, ORIGIN);
    Face3D_ face(7, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    Solid_ solid(Z_AXIS, 0, 7, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    Polygon_mesh_ mesh(7, 0, {{0, 0, 0}, {1, 0, 0}}, 2, 1);
    Polyface_mesh_ face_mesh(7, {}, {});
    Text_ text(Z_AXIS, 0, 7, 1, "a", ORIGIN, ORIGIN);
    EXPECT_EQ(line.class_name(), "Line_");
    EXPECT_EQ(line.dxf_type_name(), "LINE");
    EXPECT_EQ(arc.dxf_type_name(), "ARC");
    EXPECT_EQ(face.dxf_type_name(), "3DFACE");
    EXPECT_EQ(solid.dxf_type_name(), "SOLID");
    EXPECT_EQ(mesh.class_name(), "Polygon_mesh_");
    EXPECT_EQ(mesh.dxf_type_name(), "POLYLINE");
    EXPECT_EQ(face_mesh.dxf_type_name(), "POLYLINE");
    EXPECT_EQ(text.dxf_type_name(), "TEXT");
}

TEST(Entities, EveryKindFilesUnderItsOwnListAndOnlyWordsAreText) {
    std::set<std::string_view> names;
    int text_kinds = 0;
    for (int k = 0; k <= static_cast<int>(EntityKind::Attdef); ++k) {
        const auto kind = static_cast<EntityKind>(k);
        const std::string_view name = entity_list_name(kind);
        EXPECT_TRUE(name.ends_with("_")) << k;
        EXPECT_TRUE(names.insert(name).second) << name;
        if (is_text_kind(kind)) ++text_kinds;
    }
    EXPECT_EQ(text_kinds, 3);
    // A subclass is its own kind, not its base's.
    EXPECT_EQ(Arc_(Z_AXIS, 7, 0, 90, 1, ORIGIN).kind(), EntityKind::Arc);
    EXPECT_EQ(Solid_(Z_AXIS, 0, 7, {}).kind(), EntityKind::Solid);
    EXPECT_TRUE(is_text_kind(Text_(Z_AXIS, 0, 7, 1, "a", ORIGIN, ORIGIN).kind()));
}

TEST(Entities, StartAndEndFollowReversal) {
    Line_ line(ORIGIN, 7, {10, 0, 0});
    EXPECT_EQ(line.start_point(), ORIGIN);
    line.reverse();
    EXPECT_EQ(line.start_point(), (Point3D{10, 0, 0}));
    EXPECT_EQ(line.end_point(), ORIGIN);
    line.reverse();
    EXPECT_EQ(line.start_point(), ORIGIN);

    Arc_ arc(Z_AXIS, 7, 0, 90, 10, ORIGIN);
    EXPECT_DOUBLE_EQ(arc.end_angle, std::numbers::pi / 2);
    expect_near(arc.start_point(), {10, 0, 0});
    expect_near(arc.end_point(), {0, 10, 0});
    arc.reverse();
    expect_near(arc.start_point(), {0, 10, 0});
    expect_near(arc.end_point(), {10, 0, 0});

    Circle_ circle(Z_AXIS, 7, 2, {5, 5, 1});
    EXPECT_EQ(circle.start_point(), (Point3D{5, 3, 1}));
    circle.reverse();
    EXPECT_EQ(circle.start_point(), circle.end_point());
    EXPECT_EQ(circle.end_point(), (Point3D{5, 3, 1}));

    Polyline_ poly(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}});
    EXPECT_EQ(poly.end_point(), (Point3D{2, 1, 0}));
    poly.reverse();
    EXPECT_EQ(poly.start_point(), (Point3D{2, 1, 0}));
    EXPECT_EQ(poly.end_point(), ORIGIN);
}

TEST(Entities, ClosingRule) {
    Polyline_ closes(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {0, 0, 0}});
    EXPECT_TRUE(closes.is_closed());
    EXPECT_FALSE(closes.is_open());
    EXPECT_EQ(closes.vertex_count(), 3);
    EXPECT_EQ(closes.count_lines(), 3);

    Polyline_ open(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {10, 0, 0}});
    EXPECT_TRUE(open.is_open());
    EXPECT_EQ(open.vertex_count(), 2);

    // Created closed, every vertex is kept, even a repeated one.
    Polyline_ kept(Z_AXIS, Closed::Yes, 7, {{0, 0, 0}, {10, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(kept.vertex_count(), 3);

    // A single vertex is not thrown away as its own repeat.
    Polyline_ single(Z_AXIS, Closed::No, 7, {{1, 1, 0}});
    EXPECT_EQ(single.vertex_count(), 1);
    Polyline_ empty(Z_AXIS, Closed::No, 7, {});
    EXPECT_EQ(empty.start_point(), ORIGIN);
    EXPECT_EQ(empty.end_point(), ORIGIN);

    // Mesh vertices are never dropped: rows and faces index them.
    Polygon_mesh_ mesh(7, 0, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}, 2, 2);
    EXPECT_EQ(mesh.vertex_count(), 4);
    EXPECT_FALSE(mesh.is_closed());
}

TEST(Entities, ColourTableAndColourNumbers) {
    Point_ p(Z_AXIS, 1, ORIGIN);
    EXPECT_EQ(p.colour(), 0x0000FFu);
    p.set_colour_index(256);
    EXPECT_EQ(p.colour_index(), 256);
    EXPECT_EQ(p.colour(), 0xFF00FFu); // 256 mod 13 = 9
    p.set_colour(0x808080);
    EXPECT_EQ(p.colour_index(), 12);
    p.set_colour(0x000000);
    EXPECT_EQ(p.colour_index(), 7);
    p.set_colour(0x123456);
    EXPECT_EQ(p.colour_index(), 0);
    EXPECT_EQ(p.colour(), 0x123456u);

    // A switched-off layer: the colour of the absolute value, number kept.
    p.set_colour_index(-3);
    EXPECT_EQ(p.colour_index(), -3);
    EXPECT_EQ(p.colour(), 0x00FF00u);
    p.set_colour_index(-256);
    EXPECT_EQ(p.colour(), 0xFF00FFu);
    p.set_colour_index(std::numeric_limits<int>::min());
    EXPECT_EQ(p.colour(), colour_table[2147483648LL % 13]);
}

TEST(Entities, ExtrusionBuildsObjectCoordinateSystem) {
    Circle_ flat(Z_AXIS, 7, 1, ORIGIN);
    EXPECT_EQ(flat.ocs(), nullptr);
    Circle_ flipped({0, 0, -1}, 7, 1, {5, 0, 0});
    ASSERT_NE(flipped.ocs(), nullptr);
    expect_near(transform_point(*flipped.ocs(), flipped.point), {-5, 0, 0});
    // A line has no coordinate system whatever it is given.
    Line_ line(ORIGIN, 7, {1, 0, 0});
    EXPECT_EQ(line.ocs(), nullptr);
    EXPECT_EQ(line.extrusion(), Z_AXIS);
    EXPECT_THROW(Circle_(ORIGIN, 7, 1, ORIGIN), std::domain_error);

    // Copies own their own matrix.
    auto copy = flipped.clone();
    ASSERT_NE(copy->ocs(), nullptr);
    EXPECT_NE(copy->ocs(), flipped.ocs());
    EXPECT_EQ(*copy->ocs(), *flipped.ocs());
}

Point3D kMax0{-1e10, -1e10, -1e10};
Point3D kMin0{1e10, 1e10, 1e10};

void arc_extents(double start, double end, Point3D& max, Point3D& min) {
    Arc_ arc(Z_AXIS, 7, start, end, 10, ORIGIN);
    max = kMax0;
    min = kMin0;
    arc.grow_extents(max, min);
}

TEST(Entities, ArcExtentsAcrossQuadrants) {
    Point3D max, min;
    arc_extents(0, 90, max, min);
    expect_near(max, {10, 10, 0});
    expect_near(min, {0, 0, 0});

    // 270 to 90 passes 0 but not 180.
    arc_extents(270, 90, max, min);
    expect_near(max, {10, 10, 0});
    expect_near(min, {0, -10, 0});

    arc_extents(10, 100, max, min);
    EXPECT_NEAR(max.y, 10, 1e-9);
    arc_extents(300, 30, max, min);
    EXPECT_NEAR(max.x, 10, 1e-9);

    // Ending in the quadrant it starts in, the long way round: all four.
    arc_extents(80, 10, max, min);
    expect_near(max, {10, 10, 0});
    expect_near(min, {-10, -10, 0});

    // Passing an axis by half a degree still reaches it.
    arc_extents(100, 180.5, max, min);
    EXPECT_NEAR(min.x, -10, 1e-9);
}

TEST(Entities, ArcExtentsForAnglesOutsideOneTurn) {
    Point3D max, min;
    // These used to walk forever; they must give the same box as in one turn.
    arc_extents(360, 450, max, min);
    expect_near(max, {10, 10, 0});
    expect_near(min, {0, 0, 0});
    arc_extents(-90, 0, max, min);
    expect_near(max, {10, 0, 0});
    expect_near(min, {0, -10, 0});
    arc_extents(-450, 720 + 180, max, min);
    expect_near(max, {10, 10, 0});
    expect_near(min, {-10, -10, 0});
    // Equal angles are a full circle.
    arc_extents(45, 45, max, min);
    expect_near(max, {10, 10, 0});
    expect_near(min, {-10, -10, 0});
    // Broken angles end too, with the ends alone.
    Arc_ nan_arc(Z_AXIS, 7, std::nan(""), 90, 10, ORIGIN);
    max = kMax0;
    min = kMin0;
    nan_arc.grow_extents(max, min);
    SUCCEED();
}

TEST(Entities, OtherExtents) {
    Point3D max = kMax0, min = kMin0;
    Circle_(Z_AXIS, 7, 2, {1, 1, 5}).grow_extents(max, min);
    EXPECT_EQ(max, (Point3D{3, 3, 5}));
    EXPECT_EQ(min, (Point3D{-1, -1, 5}));
    max = kMax0;
    min = kMin0;
    Text_ text(Z_AXIS, 0, 7, 1, "x", {50, 50, 0}, {2, 3, 0});
    text.grow_extents(max, min);
    EXPECT_EQ(max, (Point3D{2, 3, 0}));
}

TEST(Entities, DescribeTexts) {
    Line_ line({0, 0, 0}, 7, {10, 5.5, 0});
    EXPECT_EQ(line.describe(), "Line_\r\nWCS\r\n(0.00, 0.00, 0.00)\r\n(10.00, 5.50, 0.00)");

    Arc_ arc({0, 0, -1}, 7, 0, 90, 2.5, {1, 2, 3});
    EXPECT_EQ(arc.describe(), "Arc_\r\nOCS Axis (0.00, 0.00, -1.00)\r\n(1.00, 2.00, 3.00)\r\n"
                              "Radius = 2.500\r\nAngle 1 = 0.000\r\nAngle 2 = 1.571");

    Polyline_ poly(Z_AXIS, Closed::Yes, 7, {{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(poly.describe(), "Polyline_\r\nWCS\r\nClosed\r\n(0.00, 0.00, 0.00)\r\n"
                               "(1.00, 0.00, 0.00)");

    Solid_ solid(Z_AXIS, 1.5, 7, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    EXPECT_NE(solid.describe().find("Solid_\r\nWCS\r\nClosed\r\n"), std::string::npos);
    EXPECT_TRUE(solid.describe().ends_with("\r\nThickness\t1.500"));

    Polygon_mesh_ mesh(7, 33, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, 2, 2);
    EXPECT_EQ(mesh.describe(), "Polyline_ (polygon mesh)\r\nWCS\r\nVertices\t4\r\nM\t2\r\n"
                               "N\t2\r\nClosed M\tTRUE\r\nClosed N\tTRUE");
    Polyface_mesh_ faces(7, {{0, 1, 2, -1}}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    EXPECT_EQ(faces.describe(), "Polyline_ (polyface mesh)\r\nWCS\r\nVertices\t3\r\nFaces\t1");

    Attrib_ attrib(Z_AXIS, 7, 2, 0, 1, "42", "PART", ORIGIN, {1, 1, 0});
    EXPECT_EQ(attrib.describe(), "Attrib_\r\nWCS\r\n(1.00, 1.00, 0.00)\r\nText \t42\r\n"
                                 "TextHeight = 2.000\r\nTag \tPART\r\nInvisible");
}

TEST(Entities, TranslateQuantiseAndMoveVertex) {
    Line_ line({0, 0, 0}, 7, {1, 1, 0});
    line.translate({1, 2, 3});
    EXPECT_EQ(line.point, (Point3D{1, 2, 3}));
    EXPECT_EQ(line.end, (Point3D{2, 3, 3}));

    Arc_ arc(Z_AXIS, 7, 0, 90, 1.26, {0.26, 0.74, 0.25});
    arc.quantise(1 | 4, 2);                        // x and z to halves
    EXPECT_EQ(arc.point, (Point3D{0.5, 0.74, 0})); // 0.25·2 = 0.5, a half: to even 0
    EXPECT_EQ(arc.radius, 1.26);
    Polyline_ poly(Z_AXIS, Closed::No, 7, {{0.4, 0.6, 0}, {1.5, 2.5, 0}});
    poly.quantise(3, 1);
    EXPECT_EQ(poly.vertices[0], (Point3D{0, 1, 0}));
    EXPECT_EQ(poly.vertices[1], (Point3D{2, 2, 0}));
    poly.quantise(3, 0); // no factor: nothing moves, nothing becomes NaN
    EXPECT_EQ(poly.vertices[1], (Point3D{2, 2, 0}));

    Line_ same({1, 1, 0}, 7, {1, 1, 0});
    EXPECT_TRUE(same.move_vertex({1, 1, 0}, {5, 5, 0}));
    EXPECT_EQ(same.point, (Point3D{5, 5, 0}));
    EXPECT_EQ(same.end, (Point3D{1, 1, 0}));
    EXPECT_FALSE(same.move_vertex({9, 9, 0}, ORIGIN));
    Polyline_ p2(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}});
    EXPECT_TRUE(p2.move_vertex({1, 0, 0}, {2, 0, 0}));
    EXPECT_EQ(p2.vertices[1], (Point3D{2, 0, 0}));
    EXPECT_EQ(p2.vertices[2], (Point3D{1, 0, 0}));
}

TEST(Entities, DistancesNearestVertexAndContainment) {
    Line_ line({0, 0, 0}, 7, {10, 0, 0});
    EXPECT_DOUBLE_EQ(line.squared_distance({9, 1, 0}), 2.0);
    Point3D v{99, 99, 99};
    line.nearest_vertex({5, 3, 0}, v); // equally near: the end
    EXPECT_EQ(v, (Point3D{10, 0, 0}));
    line.nearest_vertex({1, 0, 0}, v);
    EXPECT_EQ(v, ORIGIN);

    Polyline_ triangle(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {0, 0, 0}});
    EXPECT_TRUE(triangle.contains_point({5, 1, 0}));
    EXPECT_FALSE(triangle.contains_point({5, -1, 0}));
    EXPECT_FALSE(triangle.contains_point({5, 4, 0}));
    Polyline_ open(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}});
    EXPECT_FALSE(open.contains_point({9, 1, 0}));

    v = {7, 7, 7};
    Polyline_ far(Z_AXIS, Closed::No, 7, {{1e6, 0, 0}, {2e6, 0, 0}});
    far.nearest_vertex(ORIGIN, v); // nothing below 1e10: untouched
    EXPECT_EQ(v, (Point3D{7, 7, 7}));
    far.nearest_vertex({1.95e6, 0, 0}, v);
    EXPECT_EQ(v, (Point3D{2e6, 0, 0}));
    EXPECT_DOUBLE_EQ(Polyline_(Z_AXIS, Closed::No, 7, {}).squared_distance(ORIGIN), 1e10);

    Circle_ circle(Z_AXIS, 7, 5, ORIGIN);
    EXPECT_TRUE(circle.contains_point({3, 4, 0}));
    EXPECT_FALSE(circle.contains_point({3, 4.1, 0}));
    EXPECT_FALSE(Arc_(Z_AXIS, 7, 0, 360, 5, ORIGIN).contains_point(ORIGIN));
}

TEST(Entities, ClonesAreIndependentAndKeepTheirKind) {
    Arc_ arc(Z_AXIS, 3, 0, 90, 1, ORIGIN);
    arc.reverse();
    std::unique_ptr<DXF_Entity> copy = arc.clone();
    auto* copied = dynamic_cast<Arc_*>(copy.get());
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->reversed);
    EXPECT_EQ(copied->colour_index(), 3);
    copied->translate({1, 0, 0});
    EXPECT_EQ(arc.point, ORIGIN);

    Polyface_mesh_ faces(7, {{0, 1, 2, -1}}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    auto face_copy = faces.clone();
    EXPECT_EQ(dynamic_cast<Polyface_mesh_&>(*face_copy).faces, faces.faces);
}

} // namespace
} // namespace zeran
