// Nose radius compensation in the simulator: the round's centre path keeps
// its distance from the programmed path, and removal under G41/G42 leaves
// the programmed profile, neither cut into nor left proud.
#include "simulator/core/gcode_reader.h"
#include "simulator/core/nose_compensation.h"
#include "simulator/core/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace simvo {
namespace {

double distance_to_segment(Point p, Point a, Point b) {
    const double dz = b.z - a.z, dx = b.x - a.x, len2 = dz * dz + dx * dx;
    const double t =
        len2 == 0 ? 0 : std::clamp(((p.z - a.z) * dz + (p.x - a.x) * dx) / len2, 0.0, 1.0);
    return std::hypot(p.z - a.z - t * dz, p.x - a.x - t * dx);
}

double distance_to_path(Point p, const Polyline& path) {
    double best = 1e9;
    for (std::size_t i = 1; i < path.size(); ++i)
        best = std::min(best, distance_to_segment(p, path[i - 1], path[i]));
    return best;
}

TEST(NoseCompensation, CentrePathKeepsTheRadiusRoundCornersAndMeetsInCorners) {
    // Outside profile towards the chuck: chamfer, diameter, shoulder, diameter.
    const Polyline profile = {{10, 0}, {12, -2}, {12, -28}, {17, -28}, {17, -40}};
    const double r = 0.8;
    const Polyline centre = nose_centre_path(profile, r, Compensation::Right);
    for (Point c : centre) EXPECT_GT(distance_to_path(c, profile), r - 1e-9);
    // It touches every element: points of the profile sit at r from the centre path.
    for (Point p : {Point{11, -1}, Point{12, -15}, Point{14.5, -28}, Point{17, -35}})
        EXPECT_NEAR(distance_to_path(p, centre), r, 1e-9);
    // In the shoulder's corner the two offsets meet, at r from both.
    EXPECT_NE(std::find_if(centre.begin(), centre.end(),
                           [&](Point c) {
                               return std::fabs(c.x - (12 + r)) < 1e-9 &&
                                      std::fabs(c.z - (-28 + r)) < 1e-9;
                           }),
              centre.end());
    // Left of the same path is the other side.
    EXPECT_NEAR(nose_centre_path(profile, r, Compensation::Left)[2].x, 12 - r, 1e-9);
    EXPECT_EQ(nose_centre_path(profile, 0, Compensation::Right).size(), profile.size());
}

// Radius of stock left at `z`, measured along a line up from the axis.
double stock_radius_at(const Simulation& sim, double z) {
    double length = 0;
    for (const Polyline& piece : sim.stock().inside({{0, z}, {30, z}}, 0))
        length += path_length(piece);
    return length;
}

TEST(NoseCompensation, RemovalUnderCompensationLeavesTheProgrammedProfile) {
    const Machine machine = *find_machine("Fanuc Lathe");
    ReaderOptions options;
    options.home = {machine.home_x / 2, machine.home_z};
    const Program p = read_program("G21\nG18 G40 G80 G97 G99\nT0101\nG97 S800 M03\n"
                                   "G00 X52. Z2.\nX20.\nG42 G01 Z0. F0.1\nX24. Z-2.\nZ-28.\n"
                                   "X34.\nZ-45.\nG40 X52.\nG00 Z2.\nM30\n",
                                   options);
    ASSERT_EQ(p.motions[2].compensation, Compensation::Right);
    ASSERT_EQ(p.motions.back().compensation, Compensation::Off);
    for (const NoseRadii& radii : {NoseRadii{}, NoseRadii{{1, 0.8}}}) {
        SCOPED_TRACE(radii.empty() ? "programmed path" : "compensated path");
        Simulation rounded(p, machine, {50, 20}, radii);
        rounded.run_to_end();
        EXPECT_TRUE(rounded.findings().empty()) << rounded.findings().front().message;
        EXPECT_NEAR(stock_radius_at(rounded, -10), 12, 0.002);
        EXPECT_NEAR(stock_radius_at(rounded, -40), 17, 0.002);
    }
    // The round cannot reach into the shoulder's corner; the sharp tip can.
    Simulation rounded(p, machine, {50, 20}, {{1, 0.8}});
    rounded.run_to_end();
    EXPECT_GT(stock_radius_at(rounded, -27.95), 12.3);
}

} // namespace
} // namespace simvo
