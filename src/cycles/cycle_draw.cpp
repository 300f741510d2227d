#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"

#include <cmath>
#include <cstdlib>

namespace zeran {

namespace {

int rounded(double v) {
    return static_cast<int>(std::lround(v));
}

} // namespace

void TCanCycle::Draw(Canvas& canvas, const CycleColours& colours,
                     const DrawingProjection& project) {
    const auto to_screen = [&](double x_cycle, double z_cycle) {
        return project(z_cycle + Datum.x, x_cycle + Datum.y);
    };
    DevicePoint prev = to_screen(StartPoint.X, StartPoint.Z);
    if (OnProgress) OnProgress(*this, static_cast<int>(Moves.size()) - 1, 0);

    for (std::size_t index = 0; index < Moves.size(); ++index) {
        const TCNC_Groups& m = *Moves[index];
        const DevicePoint end = to_screen(m.X(), m.Z());
        const DevicePoint centre = to_screen(m.CentreX(), m.CentreZ());
        const DevicePoint datum = project(Datum.x, Datum.y);
        const int r = rounded(m.Radius() * DrawScale);
        const DevicePoint box_a{centre.x - r, centre.y - r};
        const DevicePoint box_b{centre.x + r, centre.y + r};

        switch (m.Motion()) {
        case kMotionRapid:
            canvas.set_pen_colour(colours[0]);
            canvas.line(prev, end);
            break;
        case kMotionLinear:
            canvas.set_pen_colour(colours[1]);
            canvas.line(prev, end);
            if (Kind == CycleKind::Drilling) {
                // The drill's body along the feed, half its diameter above the axis.
                const int h = rounded(ToolWidth / 2 * DrawScale);
                const DevicePoint end_up{end.x, end.y - h};
                const DevicePoint prev_up{prev.x, prev.y - h};
                canvas.line(end, end_up);
                canvas.line(end_up, prev_up);
                canvas.line(prev_up, prev);
            }
            break;
        case kMotionClockwise:
            canvas.set_pen_colour(colours[2]);
            canvas.arc(box_a, box_b, end, prev);
            break;
        case kMotionCounterClockwise:
            canvas.set_pen_colour(colours[3]);
            canvas.arc(box_a, box_b, prev, end);
            break;
        case kMotionThread: {
            canvas.set_pen_colour(colours[4]);
            canvas.line(prev, end);
            if (m.Words[kWordFeed] > 0) {
                const int p = rounded(m.Words[kWordFeed] * DrawScale);
                const int d = rounded(m.Words[kWordThread7] * DrawScale);
                if (p <= 0) break;
                const int n = std::abs(prev.x - end.x) / p;
                for (int i = 0; i <= n; ++i) {
                    const int x = prev.x - i * p;
                    canvas.line({x, prev.y}, {x, datum.y});
                    if (i < n) {
                        canvas.line({x, prev.y}, {x - p / 2, prev.y + d});
                        canvas.line({x - p / 2, prev.y + d}, {x - p, prev.y});
                    }
                }
            }
            break;
        }
        default:
            break;
        }
        prev = end;
        if (OnProgress) OnProgress(*this, -1, static_cast<int>(index));
    }
}

} // namespace zeran
