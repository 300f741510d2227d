#include "simulation.h"

#include "nose_compensation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace simvo {

namespace {

constexpr double kInsertSize = 8;         // mm: deeper than any roughing pass
constexpr double kInsideTolerance = 0.01; // mm a path may graze the stock
// A rapid to the start of a finishing profile may clip the finishing
// allowance left on a face; it crashes only when it goes deeper than that.
constexpr double kRapidGraze = 0.25;    // mm
constexpr double kLeastCut = 0.005;     // mm of path inside the stock that counts
constexpr double kArcTolerance = 0.001; // mm between start and end radius
constexpr double kChordError = 0.0005;  // mm

std::string at(Point p) {
    std::ostringstream s;
    s << "X" << p.x * 2 << " Z" << p.z;
    return s.str();
}

bool cuts(MotionKind k) {
    return k != MotionKind::Rapid;
}

} // namespace

std::string_view finding_key(FindingKind kind) {
    switch (kind) {
    case FindingKind::RapidThroughStock:
        return "rapid_through_stock";
    case FindingKind::HolderIntoStock:
        return "holder_into_stock";
    case FindingKind::ArcRadiusMismatch:
        return "arc_radius_mismatch";
    case FindingKind::BeyondTravel:
        return "beyond_travel";
    case FindingKind::SpindleOffCutting:
        return "spindle_off_cutting";
    }
    return "unknown";
}

StockSize stock_from_program(const Program& program) {
    StockSize s;
    s.from_program = true;
    // Feeds often start in the air ahead of the face, threads run in from
    // further out still, and pecks and retracts go back out at feed: the face
    // lies where the cuts that do not back away end.
    constexpr double none = std::numeric_limits<double>::infinity();
    double min_z = none, max_z = -none;
    for (const Motion& m : program.motions) {
        if (!cuts(m.kind) || m.kind == MotionKind::Thread) continue;
        for (Point p : motion_path(m, 0.01)) {
            s.radius = std::max(s.radius, p.x);
            min_z = std::min(min_z, p.z);
        }
        if (m.to.z <= m.from.z) max_z = std::max(max_z, m.to.z);
    }
    if (min_z == none || max_z == -none) return {0, 0, 0, true};
    s.front = max_z;
    s.length = max_z - min_z;
    return s;
}

Simulation::Simulation(const Program& program, const Machine& machine, StockSize stock,
                       const NoseRadii& nose_radii)
    : program_(program), machine_(machine), unit_(program_unit(program)) {
    shapes_ = infer_tool_shapes(program, unit_);
    stock_ = StockModel(stock.length, stock.radius, unit_, stock.front);
    compensate(nose_radii);
}

void Simulation::compensate(const NoseRadii& nose_radii) {
    const auto& motions = program_.motions;
    for (std::size_t i = 0; i < motions.size(); ++i) {
        if (motions[i].compensation == Compensation::Off) continue;
        auto r = nose_radii.find(motions[i].tool);
        if (r == nose_radii.end() || !(r->second > 0)) continue;
        i = compensated_run(i, r->second * unit_);
    }
}

// From the lead-in through the move that cancels: the lead-in runs onto the
// first centre point, the moves under compensation follow the centre path
// as one (so their corners join), the cancelling move leaves from its end.
// Returns the index of the last motion taken.
std::size_t Simulation::compensated_run(std::size_t lead_in, double radius) {
    const auto& motions = program_.motions;
    const Motion& first = motions[lead_in];
    std::size_t end = lead_in + 1;
    Polyline programmed;
    for (; end < motions.size() && motions[end].compensation == first.compensation &&
           motions[end].tool == first.tool;
         ++end) {
        const Polyline piece = motion_path(motions[end], kChordError * unit_);
        programmed.insert(programmed.end(), piece.begin() + (programmed.empty() ? 0 : 1),
                          piece.end());
    }
    if (programmed.empty()) programmed = {first.from, first.to};
    const Polyline centre = nose_centre_path(programmed, radius, first.compensation);
    const bool lead_in_only = end == lead_in + 1;
    centre_paths_[lead_in] =
        lead_in_only ? Polyline{first.from, centre.back()} : Polyline{first.from, centre.front()};
    round_radius_[lead_in] = radius;
    for (std::size_t j = lead_in + 1; j < end; ++j) {
        centre_paths_[j] = j == lead_in + 1 ? centre : Polyline{};
        round_radius_[j] = radius;
    }
    if (end < motions.size() && motions[end].tool == first.tool &&
        motions[end].kind != MotionKind::Thread) {
        centre_paths_[end] = {centre.back(), motions[end].to};
        round_radius_[end] = radius;
        return end;
    }
    return end - 1;
}

ToolShape Simulation::shape_of(int tool) const {
    auto it = shapes_.find(tool);
    return it == shapes_.end() ? ToolShape{} : it->second;
}

Polyline Simulation::insert_for(const Motion& m) const {
    const ToolShape shape = shape_of(m.tool);
    return m.kind == MotionKind::Thread ? thread_outline(shape.side, kInsertSize * unit_)
                                        : insert_outline(shape, kInsertSize * unit_);
}

Polyline Simulation::cut_outline(std::size_t index) const {
    const Polyline sharp = insert_for(program_.motions[index]);
    auto r = round_radius_.find(index);
    return r == round_radius_.end() ? sharp : rounded_insert(sharp, r->second);
}

void Simulation::note(FindingKind kind, int line, std::string message) {
    for (const Finding& f : findings_)
        if (f.kind == kind && f.line == line) return;
    findings_.push_back({kind, line, std::move(message)});
}

void Simulation::check_travel(const Motion& m, const Polyline& path) {
    const double u = unit_;
    for (Point p : path) {
        const double d = 2 * p.x;
        if (d < machine_.x_min * u - 1e-9 || d > machine_.x_max * u + 1e-9 ||
            p.z < machine_.z_min * u - 1e-9 || p.z > machine_.z_max * u + 1e-9) {
            std::ostringstream s;
            s << "move to " << at(p) << " is beyond the machine's travel (X " << machine_.x_min * u
              << " to " << machine_.x_max * u << ", Z " << machine_.z_min * u << " to "
              << machine_.z_max * u << ")";
            note(FindingKind::BeyondTravel, m.line, s.str());
            return;
        }
    }
}

void Simulation::check_cut(const Motion& m, const Polyline& path) {
    const double tolerance = kInsideTolerance * unit_;
    const bool rapid = m.kind == MotionKind::Rapid;
    double inside = 0;
    for (const Polyline& piece :
         stock_.inside(path, (rapid ? kRapidGraze : kInsideTolerance) * unit_))
        inside += path_length(piece);
    // The holder trails the tip (towards +Z on a right-hand tool): a cut that
    // way drives it into the stock. Clipper may hand pieces back reversed, so the runs of the path
    // that go that way are clipped on their own.
    double backwards = 0;
    const ToolShape shape = shape_of(m.tool);
    const double back = holder_z(shape);
    Polyline run;
    auto flush = [&] {
        if (run.size() > 1)
            for (const Polyline& piece : stock_.inside(run, tolerance))
                backwards += path_length(piece);
        run.clear();
    };
    for (std::size_t i = 1; i < path.size(); ++i) {
        const double dz = (path[i].z - path[i - 1].z) * back;
        const double len = std::hypot(path[i].x - path[i - 1].x, dz);
        if (dz > 0.02 * len) {
            if (run.empty()) run.push_back(path[i - 1]);
            run.push_back(path[i]);
        } else {
            flush();
        }
    }
    flush();
    const double least = kLeastCut * unit_;
    if (inside <= least) return;
    if (rapid) {
        note(FindingKind::RapidThroughStock, m.line,
             "rapid move to " + at(m.to) + " runs through uncut stock");
        return;
    }
    if (!m.spindle.on)
        note(FindingKind::SpindleOffCutting, m.line,
             "the spindle is off while the move to " + at(m.to) + " cuts");
    // A grooving blade cuts sideways both ways.
    if (m.kind != MotionKind::Thread && shape.kind != InsertKind::Grooving && backwards > least)
        note(FindingKind::HolderIntoStock, m.line,
             "feed move to " + at(m.to) + " drives the holder side of the insert into stock");
}

void Simulation::step() {
    if (done()) return;
    const std::size_t index = next_++;
    const Motion& m = program_.motions[index];
    const Polyline programmed = motion_path(m, kChordError * unit_);
    check_travel(m, programmed);
    auto centre = centre_paths_.find(index);
    const Polyline& path = centre == centre_paths_.end() ? programmed : centre->second;
    if ((m.kind == MotionKind::ArcCW || m.kind == MotionKind::ArcCCW) &&
        m.end_radius_error > kArcTolerance * unit_ + 1e-12) {
        std::ostringstream s;
        s << "arc to " << at(m.to) << ": start and end radius differ by " << m.end_radius_error;
        note(FindingKind::ArcRadiusMismatch, m.line, s.str());
    }
    if (stock_.empty() || path.size() < 2) return;
    check_cut(m, path);
    const Polyline shape = cut_outline(index);
    std::vector<Polyline> swept;
    for (std::size_t i = 1; i < path.size(); ++i)
        swept.push_back(StockModel::sweep(shape, path[i - 1], path[i]));
    stock_.remove(swept);
}

void Simulation::run_to_end() {
    while (!done()) step();
}

std::vector<Finding> simulate(const Program& program, const Machine& machine, StockSize stock,
                              const NoseRadii& nose_radii) {
    Simulation sim(program, machine, stock, nose_radii);
    sim.run_to_end();
    return sim.findings();
}

} // namespace simvo
