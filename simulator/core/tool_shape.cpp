#include "tool_shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace simvo {

namespace {

double degrees(double d) {
    return d * std::numbers::pi / 180;
}

bool along_x(const Motion& m) {
    return m.to.z == m.from.z && m.to.x != m.from.x;
}

struct Votes {
    int side = 0;     // > 0 outside, < 0 inside
    int approach = 0; // likewise, from the approach alone
    double turning = 0, facing = 0, grooving = 0;
    double towards_chuck = 0, away_from_chuck = 0; // feed length along -Z and +Z
    double narrowest = 0;                          // smallest Z step between plunges
    double last_plunge_z = 0;
    bool plunged = false;
};

} // namespace

Polyline insert_outline(const ToolShape& shape, double size) {
    const double up = shape.side == ToolSide::Outside ? size : -size;
    switch (shape.kind) {
    case InsertKind::Turning:
        return {{0, 0}, {up, 0}, {up, size * std::tan(degrees(35))}};
    case InsertKind::Facing:
        return {{0, 0}, {up, 0}, {up * std::sin(degrees(10)), size * std::cos(degrees(10))}};
    case InsertKind::Grooving:
        return {{0, 0}, {up, 0}, {up, shape.width}, {0, shape.width}};
    }
    return {};
}

Polyline thread_outline(ToolSide side, double size) {
    const double up = side == ToolSide::Outside ? size : -size;
    const double half = size * std::tan(degrees(30));
    return {{0, 0}, {up, half}, {up, -half}};
}

std::map<int, ToolShape> infer_tool_shapes(const Program& program, double unit) {
    std::map<int, Votes> votes;
    std::map<int, bool> cutting; // the tool has made its first feed
    const auto& motions = program.motions;
    for (std::size_t i = 0; i < motions.size(); ++i) {
        const Motion& m = motions[i];
        Votes& v = votes[m.tool];
        if (m.kind == MotionKind::Rapid) {
            // The last approach before the first cut comes down onto the work
            // from outside, or up into a bore.
            if (!cutting[m.tool] && along_x(m)) v.approach = m.to.x < m.from.x ? 1 : -1;
            continue;
        }
        cutting[m.tool] = true;
        if (m.kind == MotionKind::Thread) continue;
        const double dz = m.to.z - m.from.z, dx = m.to.x - m.from.x;
        const double len = std::hypot(dz, dx);
        const Motion* next =
            i + 1 < motions.size() && motions[i + 1].tool == m.tool ? &motions[i + 1] : nullptr;
        // Rapids out of a cut lift away from the axis, or drop into the bore.
        if (std::fabs(dz) > std::fabs(dx) && next && next->kind == MotionKind::Rapid &&
            next->to.x != next->from.x)
            v.side += next->to.x > next->from.x ? 1 : -1;
        if (!along_x(m)) {
            v.turning += len;
            (dz < 0 ? v.towards_chuck : v.away_from_chuck) += std::fabs(dz);
            continue;
        }
        if (next && along_x(*next) && (next->to.x - next->from.x) * dx < 0) {
            v.grooving += len;
            if (v.plunged && m.from.z != v.last_plunge_z) {
                const double step = std::fabs(m.from.z - v.last_plunge_z);
                v.narrowest = v.narrowest > 0 ? std::min(v.narrowest, step) : step;
            }
            v.plunged = true;
            v.last_plunge_z = m.from.z;
        } else {
            v.facing += len;
        }
    }
    std::map<int, ToolShape> shapes;
    for (const auto& [tool, v] : votes) {
        ToolShape s;
        s.side = v.side + v.approach < 0 ? ToolSide::Inside : ToolSide::Outside;
        s.left_hand = v.away_from_chuck > v.towards_chuck;
        if (v.grooving > v.turning && v.grooving >= v.facing) {
            s.kind = InsertKind::Grooving;
            s.width = std::clamp(v.narrowest > 0 ? v.narrowest : 2 * unit, 0.2 * unit, 8 * unit);
        } else if (v.facing > v.turning) {
            s.kind = InsertKind::Facing;
        }
        shapes[tool] = s;
    }
    return shapes;
}

} // namespace simvo
