#include "stock_model.h"

#include "clipper.hpp"

#include <algorithm>
#include <cmath>

namespace simvo {

namespace cl = ClipperLib;

namespace {

using Raw = std::vector<std::vector<std::pair<long long, long long>>>;

cl::IntPoint to_int(Point p, double scale) {
    return {static_cast<cl::cInt>(std::llround(p.z * scale)),
            static_cast<cl::cInt>(std::llround(p.x * scale))};
}

Point to_point(const cl::IntPoint& p, double scale) {
    return {static_cast<double>(p.Y) / scale, static_cast<double>(p.X) / scale};
}

cl::Paths to_paths(const Raw& raw) {
    cl::Paths out;
    for (const auto& path : raw) {
        cl::Path p;
        for (auto [z, x] : path) p.push_back({z, x});
        out.push_back(std::move(p));
    }
    return out;
}

Raw to_raw(const cl::Paths& paths) {
    Raw out;
    for (const cl::Path& p : paths) {
        std::vector<std::pair<long long, long long>> r;
        for (const cl::IntPoint& q : p) r.emplace_back(q.X, q.Y);
        out.push_back(std::move(r));
    }
    return out;
}

double cross(Point o, Point a, Point b) {
    return (a.z - o.z) * (b.x - o.x) - (a.x - o.x) * (b.z - o.z);
}

} // namespace

StockModel::StockModel(double length, double radius, double unit, double front)
    : scale_(1e4 / unit) {
    if (!(length > 0) || !(radius > 0)) return;
    const double back = front - length;
    cl::Path box{to_int({0, front}, scale_), to_int({0, back}, scale_),
                 to_int({radius, back}, scale_), to_int({radius, front}, scale_)};
    if (!cl::Orientation(box)) cl::ReversePath(box);
    paths_ = to_raw({box});
}

double StockModel::area() const {
    double sum = 0;
    for (const cl::Path& p : to_paths(paths_)) sum += cl::Area(p);
    return sum / (scale_ * scale_);
}

void StockModel::remove(const std::vector<Polyline>& polygons) {
    if (paths_.empty() || polygons.empty()) return;
    cl::Paths clip;
    for (const Polyline& poly : polygons) {
        cl::Path p;
        for (Point q : poly) p.push_back(to_int(q, scale_));
        if (p.size() < 3) continue;
        if (!cl::Orientation(p)) cl::ReversePath(p);
        clip.push_back(std::move(p));
    }
    cl::Clipper c;
    c.AddPaths(to_paths(paths_), cl::ptSubject, true);
    c.AddPaths(clip, cl::ptClip, true);
    cl::Paths result;
    c.Execute(cl::ctDifference, result, cl::pftEvenOdd, cl::pftNonZero);
    // Slivers of less than a ten-thousandth of a square millimetre are no material.
    constexpr double least = 1e4; // in model units: scale_ resolves 1e-4 mm
    cl::Paths kept;
    for (cl::Path& p : result)
        if (std::fabs(cl::Area(p)) > least) kept.push_back(std::move(p));
    paths_ = to_raw(kept);
}

std::vector<Polyline> StockModel::inside(const Polyline& path, double tolerance) const {
    if (paths_.empty() || path.size() < 2) return {};
    cl::Paths shrunk;
    cl::ClipperOffset offset;
    offset.AddPaths(to_paths(paths_), cl::jtMiter, cl::etClosedPolygon);
    offset.Execute(shrunk, -tolerance * scale_);
    if (shrunk.empty()) return {};
    cl::Path open;
    for (Point q : path) open.push_back(to_int(q, scale_));
    cl::Clipper c;
    c.AddPath(open, cl::ptSubject, false);
    c.AddPaths(shrunk, cl::ptClip, true);
    cl::PolyTree tree;
    c.Execute(cl::ctIntersection, tree, cl::pftNonZero, cl::pftNonZero);
    cl::Paths pieces;
    cl::OpenPathsFromPolyTree(tree, pieces);
    std::vector<Polyline> out;
    for (const cl::Path& p : pieces) {
        Polyline line;
        for (const cl::IntPoint& q : p) line.push_back(to_point(q, scale_));
        out.push_back(std::move(line));
    }
    return out;
}

std::vector<Polyline> StockModel::outlines() const {
    std::vector<Polyline> out;
    for (const cl::Path& p : to_paths(paths_)) {
        Polyline line;
        for (const cl::IntPoint& q : p) line.push_back(to_point(q, scale_));
        out.push_back(std::move(line));
    }
    return out;
}

Polyline StockModel::sweep(const Polyline& shape, Point a, Point b) {
    std::vector<Point> pts;
    for (Point s : shape) {
        pts.push_back({s.x + a.x, s.z + a.z});
        pts.push_back({s.x + b.x, s.z + b.z});
    }
    std::sort(pts.begin(), pts.end(),
              [](Point p, Point q) { return p.z < q.z || (p.z == q.z && p.x < q.x); });
    // Andrew's monotone chain, counter-clockwise with Z right and X up.
    Polyline hull(2 * pts.size());
    std::size_t k = 0;
    for (Point p : pts) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
        hull[k++] = p;
    }
    for (std::size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    hull.resize(k > 1 ? k - 1 : k);
    return hull;
}

} // namespace simvo
