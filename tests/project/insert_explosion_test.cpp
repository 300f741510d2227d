// Exploded insertions land where the insertion draws them: rotation, scale,
// mirroring and nesting applied to lines, arcs and circles alike.
#include "geometry/block_entities.h"
#include "geometry/dxf_object.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "project/insert_explosion.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

namespace zeran {
namespace {

namespace fs = std::filesystem;

constexpr double kPi = std::numbers::pi;

void expect_near(const Point3D& a, const Point3D& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol) << "x";
    EXPECT_NEAR(a.y, b.y, tol) << "y";
}

Point3D on_arc(const Arc_& a, double angle) {
    return {a.point.x + a.radius * std::cos(angle), a.point.y + a.radius * std::sin(angle), 0};
}

double ccw_sweep(double a, double b) {
    double s = std::fmod(b - a, 2 * kPi);
    if (s <= 0) s += 2 * kPi;
    return s;
}

TEST(InsertExplosion, ArcsFollowRotationScaleAndMirrorWithTheirDirectionKept) {
    // A quarter arc from 0° to 90° around (10, 5), radius 3, under each placing.
    const Arc_ arc(Z_AXIS, 1, 0.0, 90.0, 3.0, {10, 5, 0});
    struct Case {
        const char* name;
        Matrix4 m;
        double radius;
    };
    const std::vector<Case> cases = {
        {"rotated 90", insertion_matrix(kPi / 2, {1, 1, 1}, {100, 50, 0}, Z_AXIS), 3.0},
        {"scaled 2", insertion_matrix(0, {2, 2, 1}, {0, 0, 0}, Z_AXIS), 6.0},
        {"mirrored in x", insertion_matrix(0, {-1, 1, 1}, {20, 0, 0}, Z_AXIS), 3.0},
        {"mirrored and turned", insertion_matrix(kPi / 6, {1.5, -1.5, 1}, {0, 0, 0}, Z_AXIS), 4.5},
        {"upside-down extrusion", insertion_matrix(0, {1, 1, 1}, {4, 0, 0}, {0, 0, -1}), 3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pieces = placed_copies(arc, &c.m);
        ASSERT_EQ(pieces.size(), 1u);
        const auto* placed = dynamic_cast<const Arc_*>(pieces[0].get());
        ASSERT_NE(placed, nullptr);
        EXPECT_EQ(placed->ocs(), nullptr);
        EXPECT_NEAR(placed->radius, c.radius, 1e-9);
        EXPECT_NEAR(ccw_sweep(placed->start_angle, placed->end_angle), kPi / 2, 1e-9);
        const Point3D s = transform_point(c.m, on_arc(arc, 0));
        const Point3D e = transform_point(c.m, on_arc(arc, kPi / 2));
        const Point3D mid = transform_point(c.m, on_arc(arc, kPi / 4));
        const bool mirrored = c.m[0][0] * c.m[1][1] - c.m[0][1] * c.m[1][0] < 0;
        // A mirror runs the arc the other way round, so its ends swap.
        expect_near(on_arc(*placed, placed->start_angle), mirrored ? e : s);
        expect_near(on_arc(*placed, placed->end_angle), mirrored ? s : e);
        // The middle of the arc, not the other three quarters of its circle.
        expect_near(on_arc(*placed, placed->start_angle + kPi / 4), mid);
    }
}

TEST(InsertExplosion, LinesPointsPolylinesAndCirclesArePlacedPointByPoint) {
    const Matrix4 m = insertion_matrix(kPi / 2, {2, 2, 1}, {100, 50, 0}, Z_AXIS);

    const Line_ line({1, 0, 0}, 3, {4, 0, 0});
    auto l = placed_copies(line, &m);
    ASSERT_EQ(l.size(), 1u);
    expect_near(static_cast<Line_&>(*l[0]).point, {100, 52, 0});
    expect_near(static_cast<Line_&>(*l[0]).end, {100, 58, 0});
    EXPECT_EQ(l[0]->colour_index(), 3);

    const Polyline_ poly(Z_AXIS, Closed::No, 1, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    auto p = placed_copies(poly, &m);
    ASSERT_EQ(p.size(), 1u);
    const auto& pv = static_cast<Polyline_&>(*p[0]).vertices;
    ASSERT_EQ(pv.size(), 3u);
    expect_near(pv[2], {98, 52, 0});
    EXPECT_FALSE(static_cast<Polyline_&>(*p[0]).closed);

    // A circle becomes its two half arcs, both on the placed circle.
    const Circle_ circle(Z_AXIS, 1, 1.0, {5, 0, 0});
    auto halves = placed_copies(circle, &m);
    ASSERT_EQ(halves.size(), 2u);
    for (const auto& h : halves) {
        const auto* a = dynamic_cast<const Arc_*>(h.get());
        ASSERT_NE(a, nullptr);
        expect_near(a->point, {100, 60, 0});
        EXPECT_NEAR(a->radius, 2.0, 1e-12);
        EXPECT_NEAR(ccw_sweep(a->start_angle, a->end_angle), kPi, 1e-9);
    }

    // Without a placing the element is copied as it stands; texts give nothing.
    auto same = placed_copies(line, nullptr);
    ASSERT_EQ(same.size(), 1u);
    expect_near(static_cast<Line_&>(*same[0]).end, {4, 0, 0});
    const Text_ text(Z_AXIS, 0, 1, 1.0, "T", ORIGIN, ORIGIN);
    EXPECT_TRUE(placed_copies(text, &m).empty());
}

TEST(InsertExplosion, UnequalScalingTurnsAnArcIntoAPolylineOnTheEllipse) {
    // Scaled (2, 1) and turned 90°: the half arc is half an ellipse with
    // semi-axes 20 and 10.
    const Arc_ arc(Z_AXIS, 2, 0.0, 180.0, 10.0, {0, 0, 0});
    const Matrix4 m = insertion_matrix(kPi / 2, {2, 1, 1}, {50, 0, 0}, Z_AXIS);
    auto pieces = placed_copies(arc, &m);
    ASSERT_EQ(pieces.size(), 1u);
    const auto* poly = dynamic_cast<const Polyline_*>(pieces[0].get());
    ASSERT_NE(poly, nullptr);
    EXPECT_EQ(poly->colour_index(), 2);
    const auto& v = poly->vertices;
    ASSERT_GT(v.size(), 10u);
    ASSERT_LE(static_cast<int>(v.size()), kMaxPolylineVertices);
    expect_near(v.front(), transform_point(m, {10, 0, 0}));
    expect_near(v.back(), transform_point(m, {-10, 0, 0}));
    // Turned first, then stretched along x: the ellipse is
    // ((x - 50)/20)² + (y/10)² = 1. Every vertex lies on it and every chord
    // stays within the tolerance of it.
    auto ellipse_value = [](const Point3D& p) { return std::hypot((p.x - 50) / 20.0, p.y / 10.0); };
    for (const Point3D& p : v) EXPECT_NEAR(ellipse_value(p), 1.0, 1e-9);
    double worst = 0;
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
        const Point3D mid{(v[i].x + v[i + 1].x) / 2, (v[i].y + v[i + 1].y) / 2, 0};
        // Distance from the chord's middle to the ellipse, from the radial
        // value (minor semi-axis 10 makes this an upper bound).
        worst = std::max(worst, (1.0 - ellipse_value(mid)) * 20.0);
    }
    EXPECT_LT(worst, kExplodedChordTolerance);
}

class ExplodeDrawingTest : public ::testing::Test {
protected:
    std::string write_dxf(const std::string& blocks, const std::string& entities) {
        path = fs::temp_directory_path() / ("zeran_explode_" + std::to_string(::getpid()) + ".dxf");
        std::ofstream(path, std::ios::binary)
            << "0\r\nSECTION\r\n2\r\nBLOCKS\r\n"
            << blocks << "0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\nENTITIES\r\n"
            << entities << "0\r\nENDSEC\r\n0\r\nEOF\r\n";
        return path.string();
    }
    void TearDown() override { fs::remove(path); }

    static std::string block(const std::string& name, double bx, double by,
                             const std::string& body) {
        return "0\r\nBLOCK\r\n8\r\n0\r\n2\r\n" + name + "\r\n70\r\n0\r\n10\r\n" + num(bx) +
               "\r\n20\r\n" + num(by) + "\r\n30\r\n0\r\n" + body + "0\r\nENDBLK\r\n8\r\n0\r\n";
    }
    static std::string insert(const std::string& layer, const std::string& name, double x, double y,
                              double sx, double sy, double rot) {
        return "0\r\nINSERT\r\n8\r\n" + layer + "\r\n2\r\n" + name + "\r\n10\r\n" + num(x) +
               "\r\n20\r\n" + num(y) + "\r\n30\r\n0\r\n41\r\n" + num(sx) + "\r\n42\r\n" + num(sy) +
               "\r\n43\r\n1\r\n50\r\n" + num(rot) + "\r\n";
    }
    static std::string line(double x1, double y1, double x2, double y2) {
        return "0\r\nLINE\r\n8\r\n0\r\n10\r\n" + num(x1) + "\r\n20\r\n" + num(y1) + "\r\n11\r\n" +
               num(x2) + "\r\n21\r\n" + num(y2) + "\r\n";
    }
    static std::string num(double v) { return std::to_string(v); }

    std::vector<const Line_*> lines_in(const ProjectModel& m, const std::string& layer) {
        std::vector<const Line_*> out;
        for (const auto& l : m.drawing->layers())
            if (l->name == layer)
                for (const auto& list : l->entity_lists())
                    for (const DXF_Entity* e : *list)
                        if (const auto* ln = dynamic_cast<const Line_*>(e)) out.push_back(ln);
        return out;
    }

    fs::path path;
    ScriptedPrompt prompt;
};

TEST_F(ExplodeDrawingTest, NestedInsertionsComposeBaseRotationAndScale) {
    // Block A: base (10, 0), one line (10, 0)-(20, 0); block B holds A
    // inserted at (0, 0) turned 90°. B goes in at (100, 50) scaled 2 on
    // layer "0", beside the block definitions, and A alone at (0, 0)
    // mirrored on layer "PART".
    const std::string a = block("A", 10, 0, line(10, 0, 20, 0));
    const std::string b = block("B", 0, 0, insert("0", "A", 0, 0, 1, 1, 90));
    const std::string dxf =
        write_dxf(a + b, insert("0", "B", 100, 50, 2, 2, 0) + insert("PART", "A", 0, 0, -1, 1, 0));
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(dxf));

    // Layer "0" (shown as "Layer 1") holds the two definitions as drawn
    // and B's placed line: A turned, then B scaled and moved.
    bool found_nested = false;
    const auto first_layer = lines_in(m, "Layer 1");
    EXPECT_EQ(first_layer.size(), 3u);
    for (const Line_* l : first_layer) {
        if (std::abs(l->point.x - 100) < 1e-9 && std::abs(l->point.y - 50) < 1e-9) {
            expect_near(l->end, {100, 70, 0});
            found_nested = true;
        }
    }
    EXPECT_TRUE(found_nested);
    const auto part = lines_in(m, "PART");
    ASSERT_EQ(part.size(), 1u);
    expect_near(part[0]->point, {0, 0, 0});
    expect_near(part[0]->end, {-10, 0, 0});
    // No insertion or block is left in the cleaned drawing.
    for (const auto& l : m.drawing->layers())
        for (const auto& list : l->entity_lists()) {
            EXPECT_NE(list->name(), "Insert_");
            EXPECT_NE(list->name(), "Block_");
        }
}

TEST_F(ExplodeDrawingTest, ArcsWithAMirroredExtrusionComeInDrawingCoordinates) {
    // Centre (10, 5) in a system whose x runs the other way: drawn at (-10, 5),
    // from 0 to 90 degrees of its own, i.e. from (-13, 5) round to (-10, 8).
    const std::string arc = "0\r\nARC\r\n8\r\nPART\r\n10\r\n10\r\n20\r\n5\r\n40\r\n3\r\n50\r\n0"
                            "\r\n51\r\n90\r\n210\r\n0\r\n220\r\n0\r\n230\r\n-1\r\n";
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(write_dxf("", line(0, 0, 1, 0) + arc)));
    const Arc_* placed = nullptr;
    for (const auto& l : m.drawing->layers())
        for (const auto& list : l->entity_lists())
            for (const DXF_Entity* e : *list)
                if (const auto* a = dynamic_cast<const Arc_*>(e)) placed = a;
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->ocs(), nullptr);
    expect_near(placed->point, {-10, 5, 0});
    // Counter-clockwise in drawing coordinates: from the top round to the left.
    expect_near(on_arc(*placed, placed->start_angle), {-10, 8, 0});
    expect_near(on_arc(*placed, placed->end_angle), {-13, 5, 0});
    EXPECT_NEAR(ccw_sweep(placed->start_angle, placed->end_angle), kPi / 2, 1e-9);
}

} // namespace
} // namespace zeran
