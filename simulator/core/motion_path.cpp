#include "motion_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace simvo {

double arc_sweep(const Motion& m) {
    const double a0 = std::atan2(m.from.x - m.centre.x, m.from.z - m.centre.z);
    const double a1 = std::atan2(m.to.x - m.centre.x, m.to.z - m.centre.z);
    const double turn = 2 * std::numbers::pi;
    double sweep = a1 - a0;
    const bool closed = m.from.x == m.to.x && m.from.z == m.to.z;
    if (m.kind == MotionKind::ArcCCW) {
        while (sweep <= 1e-12) sweep += turn;
        if (closed) sweep = turn;
    } else {
        while (sweep >= -1e-12) sweep -= turn;
        if (closed) sweep = -turn;
    }
    return sweep;
}

Polyline motion_path(const Motion& m, double chord_error) {
    if (m.kind != MotionKind::ArcCW && m.kind != MotionKind::ArcCCW) return {m.from, m.to};
    const double r0 = std::hypot(m.from.x - m.centre.x, m.from.z - m.centre.z);
    const double r1 = std::hypot(m.to.x - m.centre.x, m.to.z - m.centre.z);
    const double sweep = arc_sweep(m);
    const double r = std::max(r0, r1);
    double step = std::numbers::pi / 8;
    if (r > chord_error) step = std::min(step, 2 * std::acos(1 - chord_error / r));
    const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / step)), 1, 4096);
    const double a0 = std::atan2(m.from.x - m.centre.x, m.from.z - m.centre.z);
    Polyline out;
    out.reserve(static_cast<std::size_t>(n) + 1);
    out.push_back(m.from);
    for (int k = 1; k < n; ++k) {
        const double t = static_cast<double>(k) / n;
        const double a = a0 + sweep * t;
        const double rr = r0 + (r1 - r0) * t;
        out.push_back({m.centre.x + rr * std::sin(a), m.centre.z + rr * std::cos(a)});
    }
    out.push_back(m.to);
    return out;
}

double path_length(const Polyline& path) {
    double sum = 0;
    for (std::size_t i = 1; i < path.size(); ++i)
        sum += std::hypot(path[i].x - path[i - 1].x, path[i].z - path[i - 1].z);
    return sum;
}

} // namespace simvo
