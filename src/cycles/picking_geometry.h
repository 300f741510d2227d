#pragma once
// The geometry the main window uses to pick a profile from the drawing: entity
// ends and middles, snapping, the entity under the pointer, chaining the
// entities between two picks, and the direction of each picked element.
// Everything is in drawing coordinates (x along the spindle axis, y the
// distance from it); `tolerance` is the project's point tolerance.
#include <utility>
#include <vector>

#include "geometry/point3d.h"

namespace zeran {

class DXF_Entity;
class Arc_;
class selection_lists;

// Stands for "no point" where an end is not to be matched.
inline constexpr Point3D kNoPoint{-99999.0, -99999.0, 0.0};

// Extents of a set of entities: end points only (a circle adds its square).
class TEMaxMin {
public:
    Point3D Max{-9e9, -9e9, 0};
    Point3D Min{9e9, 9e9, 0};

    void Reset() { *this = TEMaxMin{}; }
    void Add(const DXF_Entity& entity);
    void Add(const Point3D& p);
};

// x and y agree within the tolerance each.
bool PointsCoincide(const Point3D& a, const Point3D& b, double tolerance);

// The stored ends, whatever the entity's reversed flag; z = 0.
std::pair<Point3D, Point3D> EntityEnds(const DXF_Entity& entity);
Point3D EntityMiddle(const DXF_Entity& entity);
// The start, end or middle that is nearest to p in both x and y; p itself
// when none is.
Point3D SnapPoint(const DXF_Entity& entity, const Point3D& p);

// The entity whose chord midpoint is nearest to p; the first of equals wins.
DXF_Entity* NearestEntity(const Point3D& p, const selection_lists& lists);
bool EntityInArray(const DXF_Entity* entity, const std::vector<DXF_Entity*>& array);
// The first entity not yet in `array` that touches a or b with one end while
// its other end is not the other point; it is appended to `array`.
DXF_Entity* FindConnected(const Point3D& a, const Point3D& b, std::vector<DXF_Entity*>& array,
                          const selection_lists& lists, double tolerance);
// The entities from `first` to `last` along connected ends, grown from both
// ends of `first`; empty when `last` is not reached within 1000 rounds.
std::vector<DXF_Entity*> ChainBetween(DXF_Entity* first, DXF_Entity* last,
                                      const selection_lists& lists, double tolerance);

// In the arc's current direction.
bool ArcIsClockwise(const Arc_& arc, double tolerance);

// Direction helpers; a zero vector stays zero.
Point3D UnitVector(const Point3D& from, const Point3D& to);
Point3D UnitOf(const Point3D& v);
// (v.y, -v.x) when the flag is true, (-v.y, v.x) when false.
Point3D Perpendicular(const Point3D& v, bool flag);
Point3D UnitSum(const Point3D& a, const Point3D& b);

// Where and which way an element of a profile ends, for its direction arrow.
struct DirectionArrow {
    Point3D at;
    Point3D direction;
};
DirectionArrow ElementDirection(const DXF_Entity& entity, double tolerance);

} // namespace zeran
