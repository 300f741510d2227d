#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "cycles/entity_clip.h"
#include "cycles/picking_geometry.h"
#include "cycles/tool_control.h"
#include "geometry/entity_list.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/selection_lists.h"

namespace zeran {
namespace {

constexpr double kTol = 0.01;

std::unique_ptr<Line_> line(double x1, double y1, double x2, double y2) {
    return std::make_unique<Line_>(Point3D{x1, y1, 0}, 7, Point3D{x2, y2, 0});
}

std::unique_ptr<Arc_> arc(double cx, double cy, double r, double from_deg, double to_deg) {
    return std::make_unique<Arc_>(Z_AXIS, 7, from_deg, to_deg, r, Point3D{cx, cy, 0});
}

void expect_point(const Point3D& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(Picking, EndsMiddleAndExtentsIgnoreTheDirection) {
    auto l = line(0, 0, 10, 4);
    l->reverse();
    auto [s, e] = EntityEnds(*l);
    expect_point(s, 0, 0);
    expect_point(e, 10, 4);
    expect_point(EntityMiddle(*l), 5, 2);

    // An arc through angle 0: its middle is found across the wrap.
    auto a = arc(0, 0, 2, 270, 90);
    expect_point(EntityMiddle(*a), 2, 0);
    Polyline_ poly(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}});
    expect_point(EntityMiddle(poly), 1, 1);

    TEMaxMin box;
    box.Add(*a); // end points only, not the bulge at x 2
    expect_point(box.Max, 0, 2);
    expect_point(box.Min, 0, -2);
    Circle_ circle(Z_AXIS, 7, 1, Point3D{5, 5, 0});
    box.Add(circle);
    expect_point(box.Max, 6, 6);
    box.Reset();
    EXPECT_EQ(box.Max.x, -9e9);
}

TEST(Picking, SnapTakesTheCandidateNearestInBothAxes) {
    auto l = line(0, 0, 10, 0);
    expect_point(SnapPoint(*l, {1, 1, 0}), 0, 0);
    expect_point(SnapPoint(*l, {9, -1, 0}), 10, 0);
    expect_point(SnapPoint(*l, {5.5, 3, 0}), 5, 0);
    // Equally far from both ends: the end wins.
    auto v = line(0, 0, 0, 10);
    expect_point(SnapPoint(*v, {3, 5, 0}), 0, 5);
    auto d = line(0, 0, 10, 10);
    expect_point(SnapPoint(*d, {5, 5, 0}), 5, 5);
    // No candidate is nearest in both x and y: the point stays.
    auto w = line(0, 10, 10, 0);
    expect_point(SnapPoint(*w, {1, 1, 0}), 1, 1);
}

struct Drawing {
    selection_lists lists;
    Entity_List* a;
    Entity_List* b;
    Drawing() {
        a = lists.add_list("Lines", Ownership::Owns);
        b = lists.add_list("Arcs", Ownership::Owns);
    }
    DXF_Entity* add(Entity_List* list, std::unique_ptr<DXF_Entity> e) {
        DXF_Entity* raw = e.get();
        list->add(std::move(e));
        return raw;
    }
};

TEST(Picking, NearestEntityAndChainsBetweenTwoPicks) {
    Drawing d;
    // A profile picked out of order and with mixed directions: 0 -> 10, arc
    // 10 -> 14 (stored backwards), 14 -> 20, and a stray line off to the side.
    DXF_Entity* l1 = d.add(d.a, line(0, 10, 10, 10));
    DXF_Entity* l3 = d.add(d.a, line(20, 14, 14, 14));
    DXF_Entity* stray = d.add(d.a, line(50, 50, 60, 50));
    DXF_Entity* a2 = d.add(d.b, arc(10, 14, 4, 270, 0)); // (10,10) -> (14,14)
    d.add(d.a, line(40, 0, 45, 0));

    EXPECT_EQ(NearestEntity({5, 11, 0}, d.lists), l1);
    EXPECT_EQ(NearestEntity({56, 49, 0}, d.lists), stray);
    // Two at the same distance: the first met wins.
    Drawing twin;
    DXF_Entity* t1 = twin.add(twin.a, line(0, 0, 2, 0));
    twin.add(twin.b, line(0, 2, 2, 2));
    EXPECT_EQ(NearestEntity({1, 1, 0}, twin.lists), t1);

    auto chain = ChainBetween(l1, l3, d.lists, kTol);
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0], l1);
    EXPECT_EQ(chain[1], a2);
    EXPECT_EQ(chain[2], l3);
    auto back = ChainBetween(l3, l1, d.lists, kTol);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2], l1);

    // Not connected: nothing after the rounds run out.
    EXPECT_TRUE(ChainBetween(l1, stray, d.lists, kTol).empty());

    std::vector<DXF_Entity*> found{l1};
    EXPECT_EQ(FindConnected({10, 10, 0}, kNoPoint, found, d.lists, kTol), a2);
    EXPECT_TRUE(EntityInArray(a2, found));
    EXPECT_EQ(FindConnected({10, 10, 0}, kNoPoint, found, d.lists, kTol), nullptr);
}

TEST(Picking, CopyKeepsGeometryAndNamesItsSource) {
    auto l = line(1, 2, 3, 4);
    l->reverse();
    auto copy = CopyEntity(*l);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->source, l.get());
    EXPECT_FALSE(copy->reversed);
    expect_point(copy->start_point(), 1, 2);
    Circle_ circle(Z_AXIS, 7, 1, Point3D{5, 5, 0});
    EXPECT_EQ(CopyEntity(circle), nullptr);
    Face3D_ face(7, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    EXPECT_EQ(CopyEntity(face), nullptr);
}

TEST(Picking, ClipAtAxisKeepsWhatIsAboveTheAxis) {
    auto on_axis = line(0, 5, 10, 5);
    EXPECT_EQ(ClipAtAxis(*on_axis, 5).status, ClipStatus::NothingLeft);
    auto below = line(0, 1, 10, 2);
    EXPECT_EQ(ClipAtAxis(*below, 5).status, ClipStatus::NothingLeft);
    auto whole = line(0, 5, 10, 8);
    EXPECT_EQ(ClipAtAxis(*whole, 5).status, ClipStatus::Whole);

    auto rising = line(0, 0, 10, 10);
    auto r = ClipAtAxis(*rising, 5);
    EXPECT_EQ(r.status, ClipStatus::StartCut);
    expect_point(r.copy->start_point(), 5, 5);
    auto falling = line(0, 10, 10, 0);
    r = ClipAtAxis(*falling, 5);
    EXPECT_EQ(r.status, ClipStatus::EndCut);
    expect_point(r.copy->end_point(), 5, 5);

    // A semicircle standing on the axis stays whole.
    auto dome = arc(0, 5, 3, 0, 180);
    EXPECT_EQ(ClipAtAxis(*dome, 5).status, ClipStatus::Whole);
    // Hanging under it, it is gone: rounding in sin(pi) must not turn it
    // into a full circle, whichever way its angles are written.
    auto bowl = arc(0, 0, 5, 180, 360);
    EXPECT_EQ(ClipAtAxis(*bowl, 0).status, ClipStatus::NothingLeft);
    auto bowl2 = arc(0, 0, 5, -180, 0);
    EXPECT_EQ(ClipAtAxis(*bowl2, 0).status, ClipStatus::NothingLeft);
    // Crossing the axis twice from below: cut at both ends, the top kept.
    auto big = arc(0, 0, 10, 200, 340);
    EXPECT_EQ(ClipAtAxis(*big, 5).status, ClipStatus::NothingLeft); // its bottom half
    auto high = arc(0, 0, 10, 340, 200);
    r = ClipAtAxis(*high, 5);
    EXPECT_EQ(r.status, ClipStatus::EndCut);
    auto [s, e] = EntityEnds(*r.copy);
    expect_point(s, std::sqrt(75.0), 5);
    expect_point(e, -std::sqrt(75.0), 5);
    expect_point(EntityMiddle(*r.copy), 0, 10);
    // Only the start below.
    auto quarter = arc(0, 0, 10, 300, 90);
    r = ClipAtAxis(*quarter, 5);
    EXPECT_EQ(r.status, ClipStatus::StartCut);
    expect_point(r.copy->start_point(), std::sqrt(75.0), 5);

    Polyline_ zigzag(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {2, 10, 0}, {4, 0, 0}, {6, 10, 0}});
    r = ClipAtAxis(zigzag, 5);
    EXPECT_EQ(r.status, ClipStatus::StartCut);
    const auto& v = static_cast<Polyline_&>(*r.copy).vertices;
    ASSERT_EQ(v.size(), 5u);
    expect_point(v[0], 1, 5);
    expect_point(v[1], 2, 10);
    expect_point(v[2], 3, 5);
    expect_point(v[3], 5, 5);
    expect_point(v[4], 6, 10);
    Polyline_ low(Z_AXIS, Closed::Yes, 7, {{0, 0, 0}, {2, 1, 0}, {4, 0, 0}});
    EXPECT_EQ(ClipAtAxis(low, 5).status, ClipStatus::NothingLeft);
}

TEST(Picking, ArcDirectionAndArrows) {
    auto ccw = arc(0, 0, 1, 0, 90);
    EXPECT_FALSE(ArcIsClockwise(*ccw, kTol));
    ccw->reverse();
    EXPECT_TRUE(ArcIsClockwise(*ccw, kTol));
    auto large = arc(0, 0, 1, 0, 270);
    EXPECT_FALSE(ArcIsClockwise(*large, kTol));
    large->reverse();
    EXPECT_TRUE(ArcIsClockwise(*large, kTol));
    // Half circles are decided on a shortened copy.
    auto half = arc(0, 0, 5, 0, 180);
    EXPECT_FALSE(ArcIsClockwise(*half, kTol));
    half->reverse();
    EXPECT_TRUE(ArcIsClockwise(*half, kTol));

    auto forwards = arc(0, 0, 1, 0, 90);
    DirectionArrow a = ElementDirection(*forwards, kTol);
    expect_point(a.at, 0, 1);
    expect_point(a.direction, -1, 0);
    forwards->reverse();
    a = ElementDirection(*forwards, kTol);
    expect_point(a.at, 1, 0);
    expect_point(a.direction, 0, -1);
    auto l = line(0, 0, 3, 4);
    a = ElementDirection(*l, kTol);
    expect_point(a.direction, 0.6, 0.8);
    expect_point(UnitVector({1, 1, 0}, {1, 1, 0}), 0, 0);
    expect_point(Perpendicular({1, 0, 0}, true), 0, -1);
    expect_point(Perpendicular({1, 0, 0}, false), 0, 1);
}

} // namespace
} // namespace zeran
