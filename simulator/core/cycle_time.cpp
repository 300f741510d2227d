#include "cycle_time.h"

#include "motion_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace simvo {

namespace {

// Revolutions per minute at radius x; 0 when the spindle stands.
double rpm_at(const Spindle& s, double x, const Machine& machine, bool inch) {
    if (!s.on || s.speed <= 0) return 0;
    double limit = machine.max_rpm;
    if (!s.css) return std::min(s.speed, limit);
    if (s.max_rpm > 0) limit = std::min(limit, s.max_rpm);
    const double per_unit = inch ? 12.0 : 1000.0; // feet or metres of surface, in program units
    const double circumference = 2 * std::numbers::pi * std::fabs(x);
    if (circumference <= 0) return limit;
    return std::min(limit, s.speed * per_unit / circumference);
}

} // namespace

double motion_seconds(const Motion& m, const Machine& machine, bool inch) {
    const double unit = inch ? 1 / 25.4 : 1.0;
    if (m.kind == MotionKind::Rapid) {
        const double minutes = std::max(std::fabs(m.to.x - m.from.x) / (machine.rapid_x * unit),
                                        std::fabs(m.to.z - m.from.z) / (machine.rapid_z * unit));
        return minutes * 60;
    }
    const Polyline path = motion_path(m, 0.001 * unit);
    if (m.feed_mode == FeedMode::PerMinute && m.kind != MotionKind::Thread)
        return m.feed > 0 ? path_length(path) / m.feed * 60 : 0;
    // Per revolution: the speed changes with the radius under constant surface speed.
    double minutes = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Point a = path[i - 1], b = path[i];
        const double len = std::hypot(b.x - a.x, b.z - a.z);
        const int pieces = std::clamp(static_cast<int>(len / unit), 1, 1000);
        for (int k = 0; k < pieces; ++k) {
            const double x = a.x + (b.x - a.x) * (k + 0.5) / pieces;
            const double rpm = rpm_at(m.spindle, x, machine, inch);
            if (rpm > 0 && m.feed > 0) minutes += len / pieces / (m.feed * rpm);
        }
    }
    return minutes * 60;
}

double cycle_seconds(const Program& program, const Machine& machine) {
    double total = 0;
    for (const Motion& m : program.motions) total += motion_seconds(m, machine, program.inch);
    for (const Pause& p : program.pauses)
        total += p.seconds < 0 ? machine.tool_change_seconds : p.seconds;
    return total;
}

} // namespace simvo
