// Every generator of this family over a family of profiles: no move enters
// the part, arcs are whole circles' arcs, the path is framed by the start point.
#include "cycle_builder.h"
#include "path_checks.h"

#include <gtest/gtest.h>

namespace zeran::testing {
namespace {

struct Family {
    std::string name;
    std::vector<Seg> profile;
    CyclePoint start;
    double close_x;              // the region's closing X (0: the axis)
    std::vector<Seg> extra = {}; // closes a profile that ends on the axis
    bool arcs = false;
};

std::vector<Seg> scaled(const std::vector<Seg>& in, double f) {
    std::vector<Seg> out = in;
    for (Seg& s : out) {
        s.from = {s.from.X * f, s.from.Z * f};
        s.to = {s.to.X * f, s.to.Z * f};
        s.centre = {s.centre.X * f, s.centre.Z * f};
    }
    return out;
}

std::vector<Family> families() {
    std::vector<Family> f;
    f.push_back({"stepped shaft",
                 {line_seg({0, 0}, {10, 0}), line_seg({10, 0}, {10, -20}),
                  line_seg({10, -20}, {20, -20}), line_seg({20, -20}, {20, -40})},
                 {25, 5},
                 0});
    f.push_back(
        {"chamfer, fillet and round",
         {line_seg({0, 0}, {8, 0}), line_seg({8, 0}, {10, -2}), line_seg({10, -2}, {10, -15}),
          arc_seg({10, -15}, {12, -17}, {12, -15}, false), line_seg({12, -17}, {14, -17}),
          arc_seg({14, -17}, {16, -19}, {14, -19}, true), line_seg({16, -19}, {16, -40})},
         {22, 3},
         0,
         {},
         true});
    f.push_back({"groove",
                 {line_seg({0, 0}, {10, 0}), line_seg({10, 0}, {10, -10}),
                  line_seg({10, -10}, {7, -10}), line_seg({7, -10}, {7, -14}),
                  line_seg({7, -14}, {10, -14}), line_seg({10, -14}, {10, -30}),
                  line_seg({10, -30}, {15, -30}), line_seg({15, -30}, {15, -40})},
                 {20, 4},
                 0});
    f.push_back({"cove",
                 {line_seg({0, 0}, {16, 0}), line_seg({16, 0}, {16, -40}),
                  arc_seg({16, -40}, {16, -46}, {16, -43}, false), line_seg({16, -46}, {16, -60})},
                 {20, 2},
                 0,
                 {},
                 true});
    f.push_back({"ball end",
                 {arc_seg({0, 0}, {10, -10}, {0, -10}, true), line_seg({10, -10}, {10, -30})},
                 {15, 3},
                 0,
                 {},
                 true});
    f.push_back(
        {"bore",
         {line_seg({30, 0}, {20, 0}), line_seg({20, 0}, {20, -10}), line_seg({20, -10}, {15, -10}),
          arc_seg({15, -10}, {12, -13}, {12, -10}, true), line_seg({12, -13}, {12, -30})},
         {8, 5},
         40,
         {},
         true});
    f.push_back({"blind bore to the axis",
                 {line_seg({20, 0}, {20, -20}), line_seg({20, -20}, {0, -20})},
                 {10, 5},
                 40,
                 {line_seg({0, -20}, {0, -30})}});
    f.push_back({"shaft from the chuck side",
                 {line_seg({0, -40}, {10, -40}), line_seg({10, -40}, {10, -20}),
                  arc_seg({10, -20}, {12, -18}, {12, -20}, true), line_seg({12, -18}, {20, -18}),
                  line_seg({20, -18}, {20, 0})},
                 {25, -45},
                 0,
                 {},
                 true});
    f.push_back(
        {"stepped face",
         {line_seg({0, 0}, {20, 0}), line_seg({20, 0}, {20, -3}), line_seg({20, -3}, {30, -3}),
          line_seg({30, -3}, {30, -6}), line_seg({30, -6}, {40, -6})},
         {45, 10},
         0});
    return f;
}

Region region_of(const Family& f, double scale) {
    std::vector<Seg> all = scaled(f.profile, scale);
    for (const Seg& s : scaled(f.extra, scale)) all.push_back(s);
    return part_region(all, f.close_x * scale);
}

void check_family(CycleKind kind, std::uint8_t units) {
    const double scale = units == 1 ? 1 / 25.4 : 1.0;
    const double tol = units == 1 ? 0.002 / 25.4 : 0.002;
    for (const Family& f : families()) {
        if (kind == CycleKind::Linear && f.arcs) continue; // cuts chords, as documented
        SCOPED_TRACE(f.name + (units == 1 ? " (inch)" : " (mm)") + " kind " +
                     std::to_string(static_cast<int>(kind)));
        TCycleParams p = default_params(units);
        p.DepthCutX *= scale * 1.5;
        p.DepthCutZ *= scale * 1.5;
        p.RetractX *= scale;
        p.RetractZ *= scale;
        p.AllowanceX = 0.2 * scale;
        p.AllowanceZ = 0.1 * scale;
        if (kind == CycleKind::Finishing || kind == CycleKind::Linear)
            p.AllowanceX = p.AllowanceZ = 0;
        const CyclePoint start{f.start.X * scale, f.start.Z * scale};
        BuiltCycle b = build_cycle(kind, scaled(f.profile, scale), start, p);
        TCanCycle& c = *b.cycle;
        ASSERT_TRUE(c.Generate()) << c.LastError();
        ASSERT_FALSE(c.Moves.empty());
        const Region part = region_of(f, scale);
        for (const std::string& v : moves_inside_part(c, part, tol, 0.02 * scale))
            ADD_FAILURE() << v;
        for (const std::string& v : inconsistent_arcs(c, tol)) ADD_FAILURE() << v;
        for (const std::string& v : absurd_moves(c)) ADD_FAILURE() << v;
        if (kind != CycleKind::Linear) {
            EXPECT_TRUE(near(end_of(*c.Moves.back()), c.GetStartPoint(), 1e-9));
        }
        EXPECT_TRUE(near(end_of(*c.Moves.front()), c.GetStartPoint(), 1e-9) ||
                    kind == CycleKind::AlongX || kind == CycleKind::AlongZ);
    }
}

TEST(CycleProperties, RoughingAlongXKeepsOutOfThePart) {
    check_family(CycleKind::AlongX, 0);
    check_family(CycleKind::AlongX, 1);
}

TEST(CycleProperties, RoughingAlongZKeepsOutOfThePart) {
    check_family(CycleKind::AlongZ, 0);
    check_family(CycleKind::AlongZ, 1);
}

TEST(CycleProperties, PatternRepeatKeepsOutOfThePart) {
    check_family(CycleKind::PatternRepeat, 0);
    check_family(CycleKind::PatternRepeat, 1);
}

TEST(CycleProperties, FinishingKeepsOutOfThePart) {
    check_family(CycleKind::Finishing, 0);
    check_family(CycleKind::Finishing, 1);
}

TEST(CycleProperties, LinearKeepsOutOfThePart) {
    check_family(CycleKind::Linear, 0);
    check_family(CycleKind::Linear, 1);
}

} // namespace
} // namespace zeran::testing
