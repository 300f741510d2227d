#pragma once
// Runs a program motion by motion against the billet and the machine: takes
// away what the insert sweeps and notes what a machinist must not let happen.
#include "machine_table.h"
#include "stock_model.h"
#include "tool_shape.h"

#include <string>
#include <string_view>
#include <vector>

namespace simvo {

enum class FindingKind {
    RapidThroughStock,
    HolderIntoStock,
    ArcRadiusMismatch,
    BeyondTravel,
    SpindleOffCutting,
};
// A stable key for reports ("rapid_through_stock").
std::string_view finding_key(FindingKind kind);

struct Finding {
    FindingKind kind = FindingKind::RapidThroughStock;
    int line = 0;
    std::string message;
};

struct StockSize {
    double length = 0;
    double radius = 0;
    double front = 0;          // Z of the face
    bool from_program = false; // guessed from the cuts rather than given
};

// The billet when none is given: what the cuts reach, up to their largest
// radius, back to their smallest Z, from the largest Z where a cut ends.
StockSize stock_from_program(const Program& program);

// One millimetre in the program's units.
inline double program_unit(const Program& p) {
    return p.inch ? 1 / 25.4 : 1.0;
}

// Nose radius in millimetres per tool number, from the tool table.
using NoseRadii = std::map<int, double>;

class Simulation {
public:
    // Moves under nose radius compensation cut with the insert's round
    // along the compensated path when `nose_radii` knows their tool, and
    // with the sharp tip along the programmed path otherwise.
    Simulation(const Program& program, const Machine& machine, StockSize stock,
               const NoseRadii& nose_radii = {});

    bool done() const { return next_ >= program_.motions.size(); }
    // Index of the motion the next step runs.
    std::size_t next() const { return next_; }
    void step();
    void run_to_end();

    const StockModel& stock() const { return stock_; }
    const std::vector<Finding>& findings() const { return findings_; }
    const Program& program() const { return program_; }
    // The shape judged for a tool, and the insert outline of a motion's tool
    // relative to its tip.
    ToolShape shape_of(int tool) const;
    Polyline insert_for(const Motion& m) const;
    // What cuts on the motion at `index`: the insert, rounded by its nose
    // radius under compensation, about the point its path gives.
    Polyline cut_outline(std::size_t index) const;

private:
    void note(FindingKind kind, int line, std::string message);
    void check_travel(const Motion& m, const Polyline& path);
    void check_cut(const Motion& m, const Polyline& path);
    void compensate(const NoseRadii& nose_radii);
    std::size_t compensated_run(std::size_t lead_in, double radius);

    const Program& program_;
    Machine machine_;
    StockModel stock_;
    std::map<int, ToolShape> shapes_;
    std::vector<Finding> findings_;
    std::size_t next_ = 0;
    double unit_ = 1;
    // Per motion under compensation: the path of the round's centre (empty
    // when an earlier motion's path covers it) and the round's radius.
    std::map<std::size_t, Polyline> centre_paths_;
    std::map<std::size_t, double> round_radius_;
};

// Every finding of the whole program.
std::vector<Finding> simulate(const Program& program, const Machine& machine, StockSize stock,
                              const NoseRadii& nose_radii = {});

} // namespace simvo
