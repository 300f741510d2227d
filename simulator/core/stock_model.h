#pragma once
// The turned part's half section (Z along, X a radius up from the axis) as
// the material left, with the booleans done by Clipper.
#include "motion_path.h"

#include <vector>

namespace simvo {

class StockModel {
public:
    StockModel() = default;
    // A billet from Z `front` back over `length`, from the axis up to
    // `radius`; empty when either is not positive. `unit` is one millimetre in
    // program units; the model resolves a ten-thousandth of it.
    StockModel(double length, double radius, double unit = 1.0, double front = 0);

    bool empty() const { return paths_.empty(); }
    double area() const;
    // Takes away the union of convex polygons.
    void remove(const std::vector<Polyline>& polygons);
    // The parts of `path` that lie deeper than `tolerance` inside the stock.
    std::vector<Polyline> inside(const Polyline& path, double tolerance) const;
    // Outlines of the material left, outer ones and holes, closed implicitly.
    std::vector<Polyline> outlines() const;

    // Convex hull of a polygon placed at a and at b: what it sweeps moving from a to b.
    static Polyline sweep(const Polyline& shape, Point a, Point b);

private:
    double scale_ = 1e4;
    std::vector<std::vector<std::pair<long long, long long>>> paths_;
};

} // namespace simvo
