#pragma once
// How the reader takes the curves of newer drawings, and what it tells about
// the entities it passes over.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeran {

enum class CurveReading {
    // Polyline bulges ignored (their arcs come out as chords); LWPOLYLINE,
    // SPLINE and ELLIPSE passed over. Drawings read before the curves were
    // read resolve their elements only this way.
    Chords,
    // Bulges become arcs; LWPOLYLINE is read; SPLINE and ELLIPSE become
    // chains of arcs within the curve tolerance.
    Arcs,
};

// Entity type names passed over, each with its count, in the order of first meeting.
using SkippedEntities = std::vector<std::pair<std::string, long long>>;

void count_skipped(SkippedEntities& counts, std::string_view type);

// "Skipped: 3 HATCH, 1 MTEXT"; empty when nothing was skipped.
std::string skipped_summary(const SkippedEntities& counts);

} // namespace zeran
