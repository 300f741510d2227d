#pragma once
// Plane geometry for auditing tool paths, kept apart from the cycle code on
// purpose: a closed region bounded by lines and true arcs, exact distances,
// an exact inside test, and the deepest point of a move inside a region.
// Coordinates are those of a lathe cycle: x a radius, z along the axis.
#include <string>
#include <vector>

namespace zeran::verify {

struct Pt {
    double x = 0;
    double z = 0;
};

// A line, or an arc about `centre` that turns counter-clockwise (z to the
// right, x up) when `ccw`. An arc whose ends coincide is a point.
struct Piece {
    Pt a;
    Pt b;
    bool arc = false;
    Pt centre{};
    bool ccw = true;
};

Piece line_piece(Pt a, Pt b);
Piece arc_piece(Pt a, Pt b, Pt centre, bool ccw);

double dist(Pt p, Pt q);
// Angle of p about c, from +z towards +x, in [0, 2 pi).
double angle_about(Pt p, Pt c);
double radius_of(const Piece& arc);
// Sweep of an arc in radians, in [0, 2 pi).
double sweep_of(const Piece& arc);
double length_of(const Piece& p);
// The point at arc-length fraction t in [0, 1].
Pt point_at(const Piece& p, double t);
double distance_to(Pt p, const Piece& piece);
Piece shifted(const Piece& p, Pt by);
Piece reversed(const Piece& p);

// A closed chain of pieces; the region is its inside.
class Region {
public:
    explicit Region(std::vector<Piece> boundary);
    bool contains(Pt p) const;
    double boundary_distance(Pt p) const;
    // Signed: how deep p lies inside (negative outside).
    double depth(Pt p) const;
    double min_x() const { return lo_.x; }
    double min_z() const { return lo_.z; }
    double max_x() const { return hi_.x; }
    double max_z() const { return hi_.z; }
    const std::vector<Piece>& boundary() const { return pieces_; }

private:
    std::vector<Piece> pieces_;
    std::vector<Piece> monotone_; // arcs split where x turns, for the ray test
    Pt lo_{1e300, 1e300};
    Pt hi_{-1e300, -1e300};
};

struct Penetration {
    double depth = 0; // deepest point found, 0 when the piece stays out
    Pt at{};
};

// The deepest point of a moving point along `path` inside `region`. Steps
// along the piece by what the distance to the boundary allows, never less
// than `min_step`, so a dip deeper than the reporting tolerance plus
// `min_step` is never missed.
Penetration deepest_inside(const Piece& path, const Region& region, double min_step);

std::string text(Pt p);

} // namespace zeran::verify
